// The result table's rows as the page holds and copies them: the six cells of a row,
// as the window shows them, joined by tabs, and every row ended by CR LF. A run of
// whole rows is then the window's clipboard text once its last CR LF is dropped.
#pragma once

#include <cstdint>
#include <vector>

#include "calc/candidate_cells.h"
#include "calc/timing_setting.h"

// The longest row: six cells of at most kCellTextSize - 1 bytes, five tabs, CR LF.
constexpr int kMaxRowTextBytes = kResultColumnCount * (kCellTextSize - 1) + (kResultColumnCount - 1) + 2;

// Rows in listing order: bytes holds their texts back to back, rowEnds[i] the offset
// just past row i's CR LF (so row i runs from rowEnds[i - 1], or 0, to rowEnds[i]).
struct RowTextBlock {
  std::vector<char> bytes;
  std::vector<uint32_t> rowEnds;
};

// Carries the cells from one record to the next, so that a listing's rows remake only
// the cells whose fields changed (UpdateCandidateCells).
struct RowTextWriter {
  SegmentNames names = kBxCanSegmentNames;
  bool started = false;
  TimingCandidate previous{};
  CandidateCells cells{};
};

// Appends the rows of count records to block, with the texts MakeCandidateCells and
// FormatRateCell give for each (the window's cells). Never fails; grows block.
void AppendRowTexts(RowTextWriter& writer, const TimingCandidate* records, int32_t count, RowTextBlock& block);

// Empties block, keeping its storage.
void ClearRowTexts(RowTextBlock& block);
