// The page's result store, as the window's candidateList: refilled by every bxCAN
// listing (QuillmereCompute), read by the register of a listed row.
#pragma once

#include "calc/timing.h"

CandidateList& PageStore();
