// One result-table row of a search record, in the form the table's cells take. A thin
// wrapper over MakeCandidateCells (calc/candidate_cells.h), the step the companion's
// output shares, giving the texts as zero-terminated strings the table's SetCell takes.
#pragma once

#include "calc/timing.h"

// Room for any cell text MakeCandidateCells writes, terminator included.
constexpr int kRowTextSize = 64;

struct CandidateRow {
  char text[6][kRowTextSize];  // columns 0 to 5, GBK, zero-terminated; text[4] is the
                               // rate as the table shows it, for reading only
  float actualRate;            // column 4: the table is given the number itself
};

// Fills row from record through MakeCandidateCells. Allocates nothing.
void MakeCandidateRow(const TimingCandidate& record, CandidateRow& row);
