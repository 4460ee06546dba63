#include "calc/candidate_cells.h"

namespace {

// "CAN_BS1_" + the segment length + "tq". The length is formed as a double, bsCode
// + 1.0, and written by the double rule (a whole number: its plain digits).
void SegmentCell(const char* prefix, int32_t bsCode, const char* suffix, CandidateText& cell) {
  char length[kMaxNumberText];
  FormatDouble(static_cast<double>(bsCode) + 1.0, length);
  cell.length = WriteJoinedTexts({prefix, length, suffix}, cell.bytes);
}

}  // namespace

void MakeCandidateCells(const TimingCandidate& record, CandidateCells& cells, const SegmentNames& names) {
  SegmentCell(names.seg1Prefix, record.bs1Code, names.suffix, cells.bs1);
  SegmentCell(names.seg2Prefix, record.bs2Code, names.suffix, cells.bs2);

  cells.prescaler.length = FormatInt(record.prescaler, cells.prescaler.bytes);

  // The percent text is cut to four bytes, not rounded: 5/6 shows 83.3%, 11/12 91.6%,
  // and 4/5, whose float lies just above 0.8, 80.0% (its text is 80.00000119209).
  char percent[kMaxNumberText];
  FormatDouble(static_cast<double>(record.samplePoint) * 100.0, percent);
  char cut[kSamplePointBytes + 1];
  WriteLeftBytes(percent, kSamplePointBytes, cut);
  cells.samplePoint.length = WriteJoinedTexts({cut, "%"}, cells.samplePoint.bytes);

  cells.actualRate = record.actualRate;

  char error[kMaxNumberText];
  FormatFloat(record.errorPercent, error);
  cells.errorPercent.length = WriteJoinedTexts({error, "%"}, cells.errorPercent.bytes);
}

void FormatRateCell(float actualRate, CandidateText& cell) { cell.length = FormatFloat(actualRate, cell.bytes); }
