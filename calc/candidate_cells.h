// The cells of one result-table row, made from one search record. The window's
// compute command, the companion's output and the page's rows all go through
// MakeCandidateCells, so what they show cannot drift apart; the columns themselves
// (titles, order, which face shows which) are answers/columns/row_columns.h.
#pragma once

#include <cstdint>

#include "calc/text.h"
#include "calc/timing.h"

// The window's result table has six columns (answers/columns/row_columns.h names them).
constexpr int kResultColumnCount = 6;

// The sample point's text is cut to this many bytes before its "%".
constexpr int32_t kSamplePointBytes = 4;

// Room for the longest cell ("CAN_BS1_" + a number's text + "tq" and the terminator)
// and for the longest text a column writes: a row's registers, at most four names of
// up to 21 bytes with their values, in json.
constexpr int kCellTextSize = 192;

// One cell's text: GBK bytes (ASCII in practice), zero-terminated, length without it.
struct CandidateText {
  int32_t length;
  char bytes[kCellTextSize];
};

struct CandidateCells {
  CandidateText bs1;           // column 0: "CAN_BS1_" + (bs1Code + 1.0 as a double) + "tq"
  CandidateText bs2;           // column 1: "CAN_BS2_" + (bs2Code + 1.0 as a double) + "tq"
                               // (bxCAN's names; FDCAN's write the length alone)
  CandidateText prescaler;     // column 2: the prescaler as an integer
  CandidateText samplePoint;   // column 3: the first 4 bytes of samplePoint * 100.0 (a double), "%"
  float actualRate;       // column 4: the number itself; the table writes it by the float rule
  CandidateText errorPercent;  // column 5: errorPercent as a float, "%"
};

// How the two segment cells name their lengths: bxCAN's library constants, or
// FDCAN's bare number of quanta ("139"), which its registers and HAL take as they are.
struct SegmentNames {
  const char* seg1Prefix;
  const char* seg2Prefix;
  const char* suffix;
};
constexpr SegmentNames kBxCanSegmentNames{"CAN_BS1_", "CAN_BS2_", "tq"};
constexpr SegmentNames kFdcanSegmentNames{"", "", ""};

// Fills the five texts and the number of one row; the texts are those that ToText,
// LeftBytes and JoinTexts give (a null text as empty), made by their non-allocating
// forms (FormatInt, FormatFloat, FormatDouble, WriteLeftBytes, WriteJoinedTexts).
// The segments are named by names (the window's: bxCAN's).
void MakeCandidateCells(const TimingCandidate& record, CandidateCells& cells,
                        const SegmentNames& names = kBxCanSegmentNames);

// The cells of record, given cells made (or updated) for previous with the same names:
// only the cells whose inputs differ are remade, so the texts equal MakeCandidateCells'
// for less work along a listing, whose neighbouring rows mostly share their segments,
// sample point and error.
void UpdateCandidateCells(const TimingCandidate& previous, const TimingCandidate& record, CandidateCells& cells,
                          const SegmentNames& names = kBxCanSegmentNames);

// Column 4 as text: the rate written by the float rule, as the table shows it.
void FormatRateCell(float actualRate, CandidateText& cell);
