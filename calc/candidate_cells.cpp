#include "calc/candidate_cells.h"

#include <cstring>

namespace {

void Append(CellText& cell, const char* bytes, int32_t length) {
  std::memcpy(cell.bytes + cell.length, bytes, static_cast<std::size_t>(length));
  cell.length += length;
  cell.bytes[cell.length] = 0;
}

// "CAN_BS1_" + the segment length + "tq". The length is formed as a double, bsCode
// + 1.0, and written by the double rule: a whole number, so no decimal point.
void SegmentCell(const char* prefix, int32_t bsCode, CellText& cell) {
  cell.length = 0;
  Append(cell, prefix, 8);
  cell.length += FormatDouble(static_cast<double>(bsCode) + 1.0, cell.bytes + cell.length);
  Append(cell, "tq", 2);
}

}  // namespace

void MakeCandidateCells(const TimingCandidate& record, CandidateCells& cells) {
  SegmentCell("CAN_BS1_", record.bs1Code, cells.bs1);
  SegmentCell("CAN_BS2_", record.bs2Code, cells.bs2);

  cells.prescaler.length = FormatInt(record.prescaler, cells.prescaler.bytes);

  // The percent text is cut to four bytes, not rounded: 5/6 shows 83.3%, 11/12 91.6%,
  // and 4/5, whose float lies just above 0.8, 80.0% (its text is 80.00000119209).
  char percent[kMaxNumberText];
  const int32_t percentLength = FormatDouble(static_cast<double>(record.samplePoint) * 100.0, percent);
  cells.samplePoint.length = 0;
  Append(cells.samplePoint, percent, percentLength < 4 ? percentLength : 4);
  Append(cells.samplePoint, "%", 1);

  cells.actualRate = record.actualRate;

  cells.errorPercent.length = FormatFloat(record.errorPercent, cells.errorPercent.bytes);
  Append(cells.errorPercent, "%", 1);
}

void FormatRateCell(float actualRate, CellText& cell) { cell.length = FormatFloat(actualRate, cell.bytes); }
