#include "web/row_text.h"

#include <cstring>

namespace {

void HandBlock(RowBlocks& blocks) {
  RowTextBlock& block = blocks.block;
  if (block.rowEnds.empty()) return;
  const uint32_t used = block.rowEnds.back();
  // What follows the last row (a row cut between two chunks) stays behind, at the front.
  std::vector<char> rest(block.bytes.begin() + used, block.bytes.end());
  block.bytes.resize(used);
  blocks.hand(blocks.context, block);
  block.bytes.swap(rest);
  block.rowEnds.clear();
}

}  // namespace

int TakeRowBytes(void* rowBlocks, const char* bytes, std::size_t length) {
  RowBlocks& blocks = *static_cast<RowBlocks*>(rowBlocks);
  RowTextBlock& block = blocks.block;
  const char* end = bytes + length;
  while (bytes < end) {
    const char* feed = static_cast<const char*>(std::memchr(bytes, '\n', static_cast<std::size_t>(end - bytes)));
    const char* stop = feed != nullptr ? feed + 1 : end;
    block.bytes.insert(block.bytes.end(), bytes, stop);
    bytes = stop;
    if (feed == nullptr) break;
    block.rowEnds.push_back(static_cast<uint32_t>(block.bytes.size()));
    if (static_cast<int32_t>(block.rowEnds.size()) == blocks.rowsPerBlock) HandBlock(blocks);
  }
  return 0;
}

void HandLastRows(RowBlocks& blocks) { HandBlock(blocks); }
