#include "calc/candidate_cells.h"

#include <cstring>

namespace {

// "CAN_BS1_" + the segment length + "tq". The length is formed as a double, bsCode
// + 1.0, and written by the double rule (a whole number: its plain digits).
void SegmentCell(const char* prefix, int32_t bsCode, const char* suffix, CandidateText& cell) {
  char length[kMaxNumberText];
  FormatDouble(static_cast<double>(bsCode) + 1.0, length);
  cell.length = WriteJoinedTexts({prefix, length, suffix}, cell.bytes);
}

void PrescalerCell(int32_t prescaler, CandidateText& cell) { cell.length = FormatInt(prescaler, cell.bytes); }

// The percent text is cut to four bytes, not rounded: 5/6 shows 83.3%, 11/12 91.6%,
// and 4/5, whose float lies just above 0.8, 80.0% (its text is 80.00000119209).
void SamplePointCell(float samplePoint, CandidateText& cell) {
  char percent[kMaxNumberText];
  FormatDouble(static_cast<double>(samplePoint) * 100.0, percent);
  char cut[kSamplePointBytes + 1];
  WriteLeftBytes(percent, kSamplePointBytes, cut);
  cell.length = WriteJoinedTexts({cut, "%"}, cell.bytes);
}

void ErrorCell(float errorPercent, CandidateText& cell) {
  char error[kMaxNumberText];
  FormatFloat(errorPercent, error);
  cell.length = WriteJoinedTexts({error, "%"}, cell.bytes);
}

// Bit for bit, so that a not-a-number error (clock 0 and rate 0) counts as unchanged
// from one row to the next.
bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

void MakeCandidateCells(const TimingCandidate& record, CandidateCells& cells, const SegmentNames& names) {
  SegmentCell(names.seg1Prefix, record.bs1Code, names.suffix, cells.bs1);
  SegmentCell(names.seg2Prefix, record.bs2Code, names.suffix, cells.bs2);
  PrescalerCell(record.prescaler, cells.prescaler);
  SamplePointCell(record.samplePoint, cells.samplePoint);
  cells.actualRate = record.actualRate;
  ErrorCell(record.errorPercent, cells.errorPercent);
}

void UpdateCandidateCells(const TimingCandidate& previous, const TimingCandidate& record, CandidateCells& cells,
                          const SegmentNames& names) {
  if (record.bs1Code != previous.bs1Code) SegmentCell(names.seg1Prefix, record.bs1Code, names.suffix, cells.bs1);
  if (record.bs2Code != previous.bs2Code) SegmentCell(names.seg2Prefix, record.bs2Code, names.suffix, cells.bs2);
  if (record.prescaler != previous.prescaler) PrescalerCell(record.prescaler, cells.prescaler);
  if (!SameBits(record.samplePoint, previous.samplePoint)) SamplePointCell(record.samplePoint, cells.samplePoint);
  cells.actualRate = record.actualRate;
  if (!SameBits(record.errorPercent, previous.errorPercent)) ErrorCell(record.errorPercent, cells.errorPercent);
}

void FormatRateCell(float actualRate, CandidateText& cell) { cell.length = FormatFloat(actualRate, cell.bytes); }
