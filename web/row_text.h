// The result grid's rows as the page holds them: a run of lines, each ended by CR LF
// (answers' WriteGridRows writes them), cut into blocks of whole rows for the page,
// each block with the settings of its rows, so that code for a row is made from the
// row itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "answers/rows/output_options.h"

// A row's setting as the page keeps it beside the row's text: kSettingFields numbers,
// the row's face (FaceIndex: 0 the window's bxCAN, 1 nominal, 2 data), prescaler,
// seg1, seg2 and SJW in quanta, the SJW the row is written with.
constexpr int kSettingFields = 5;
// Appends the setting of record, written with options, to settings.
void PutSetting(std::vector<uint16_t>& settings, const TimingCandidate& record, const OutputOptions& options);
// A source of the same rows as rows (written with options) that puts each row's
// setting to settings before the row is written. settings must outlive the source.
RowSource NotingSettings(const RowSource& rows, const OutputOptions& options, std::vector<uint16_t>& settings);

// Rows in listing order: bytes holds their texts back to back, rowEnds[i] the offset
// just past row i's CR LF (so row i runs from rowEnds[i - 1], or 0, to rowEnds[i]);
// settings holds kSettingFields numbers a row, those of the rows noted (below).
struct RowTextBlock {
  std::vector<char> bytes;
  std::vector<uint32_t> rowEnds;
  std::vector<uint16_t> settings;
};

// Gathers written bytes into blocks of whole rows and hands each block of rowsPerBlock
// rows to hand, then empties it; the bytes of a row not yet ended stay for the next.
// Rows whose source notes their settings into noted (NotingSettings) have them in the
// block: a row is noted before its bytes come, so a block's rows are the first noted.
struct RowBlocks {
  int32_t rowsPerBlock;
  void (*hand)(void* context, const RowTextBlock& block);
  void* context;
  RowTextBlock block;
  std::vector<uint16_t> noted;  // settings of rows noted and not yet handed
};

// An OutputSink's write function (answers/writers/output_sink.h) for a RowBlocks: a row ends
// at each line feed. Never fails.
int TakeRowBytes(void* rowBlocks, const char* bytes, std::size_t length);
// Hands the rows gathered and not yet handed, if any.
void HandLastRows(RowBlocks& blocks);
