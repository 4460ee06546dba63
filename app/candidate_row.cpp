#include "app/candidate_row.h"

#include <cstring>

#include "calc/candidate_cells.h"

static_assert(kCellTextSize <= kRowTextSize, "a cell text must fit a row text");

namespace {
void Copy(const CandidateText& cell, char* out) {
  std::memcpy(out, cell.bytes, static_cast<size_t>(cell.length));
  out[cell.length] = 0;
}
}  // namespace

void MakeCandidateRow(const TimingCandidate& record, CandidateRow& row) {
  CandidateCells cells;
  MakeCandidateCells(record, cells);
  Copy(cells.bs1, row.text[0]);
  Copy(cells.bs2, row.text[1]);
  Copy(cells.prescaler, row.text[2]);
  Copy(cells.samplePoint, row.text[3]);
  CandidateText rate;
  FormatRateCell(cells.actualRate, rate);
  Copy(rate, row.text[4]);
  Copy(cells.errorPercent, row.text[5]);
  row.actualRate = cells.actualRate;
}
