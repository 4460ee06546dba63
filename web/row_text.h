// The result grid's rows as the page holds them: a run of lines, each ended by CR LF
// (answers' WriteGridRows writes them), cut into blocks of whole rows for the page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Rows in listing order: bytes holds their texts back to back, rowEnds[i] the offset
// just past row i's CR LF (so row i runs from rowEnds[i - 1], or 0, to rowEnds[i]).
struct RowTextBlock {
  std::vector<char> bytes;
  std::vector<uint32_t> rowEnds;
};

// Gathers written bytes into blocks of whole rows and hands each block of rowsPerBlock
// rows to hand, then empties it; the bytes of a row not yet ended stay for the next.
struct RowBlocks {
  int32_t rowsPerBlock;
  void (*hand)(void* context, const RowTextBlock& block);
  void* context;
  RowTextBlock block;
};

// An OutputSink's write function (answers/output_sink.h) for a RowBlocks: a row ends
// at each line feed. Never fails.
int TakeRowBytes(void* rowBlocks, const char* bytes, std::size_t length);
// Hands the rows gathered and not yet handed, if any.
void HandLastRows(RowBlocks& blocks);
