#include "calc/candidate_cells.h"

#include <cstring>

namespace {

void Append(CandidateText& cell, const char* bytes, int32_t length) {
  std::memcpy(cell.bytes + cell.length, bytes, static_cast<std::size_t>(length));
  cell.length += length;
  cell.bytes[cell.length] = 0;
}

// "CAN_BS1_" + the segment length + "tq". The length is formed as a double, bsCode
// + 1.0, and written by the double rule. That double is a whole number of at most ten
// digits, which the rule writes as its plain decimal digits (no point, no exponent
// below 1e13), so the digits are written here directly: FormatDouble would give the
// same bytes at many times the cost.
void SegmentCell(const char* prefix, int32_t bsCode, CandidateText& cell) {
  cell.length = 0;
  Append(cell, prefix, 8);
  int64_t length = static_cast<int64_t>(bsCode) + 1;
  if (length < 0) {
    cell.bytes[cell.length++] = '-';
    length = -length;
  }
  char digits[20];
  int32_t count = 0;
  do {
    digits[count++] = static_cast<char>('0' + length % 10);
    length /= 10;
  } while (length != 0);
  while (count > 0) cell.bytes[cell.length++] = digits[--count];
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

void FormatRateCell(float actualRate, CandidateText& cell) { cell.length = FormatFloat(actualRate, cell.bytes); }
