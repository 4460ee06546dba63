// The result store of the bit-timing search: the one global of the program. It exists
// from start-up, before the main window, until the shut-down routine releases it.
#pragma once

#include "calc/timing.h"

// Null before CreateCandidateList and after ReleaseCandidateList.
extern CandidateList* candidateList;

// Creates the store with no records (releasing any earlier one first).
void CreateCandidateList();
// Releases every record and the store; candidateList is null afterwards. The program's
// shut-down routine.
void ReleaseCandidateList();
