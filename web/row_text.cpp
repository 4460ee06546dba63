#include "web/row_text.h"

#include <algorithm>
#include <cstring>

namespace {

void HandBlock(RowBlocks& blocks) {
  RowTextBlock& block = blocks.block;
  if (block.rowEnds.empty()) return;
  const uint32_t used = block.rowEnds.back();
  // What follows the last row (a row cut between two chunks) stays behind, at the front.
  std::vector<char> rest(block.bytes.begin() + used, block.bytes.end());
  block.bytes.resize(used);
  // The block's rows are the first rows noted; those noted after them wait for the
  // next block. Rows nobody noted have no settings.
  const std::size_t fields = std::min(blocks.noted.size(), block.rowEnds.size() * kSettingFields);
  block.settings.assign(blocks.noted.begin(), blocks.noted.begin() + static_cast<std::ptrdiff_t>(fields));
  blocks.noted.erase(blocks.noted.begin(), blocks.noted.begin() + static_cast<std::ptrdiff_t>(fields));
  blocks.hand(blocks.context, block);
  block.bytes.swap(rest);
  block.rowEnds.clear();
  block.settings.clear();
}

}  // namespace

void PutSetting(std::vector<uint16_t>& settings, const TimingCandidate& record, const OutputOptions& options) {
  const BitTimingLengths lengths = RowLengths(record, options);
  settings.insert(settings.end(), {static_cast<uint16_t>(FaceIndex(options)), static_cast<uint16_t>(lengths.prescaler),
                                   static_cast<uint16_t>(lengths.seg1), static_cast<uint16_t>(lengths.seg2),
                                   static_cast<uint16_t>(lengths.sjw)});
}

RowSource NotingSettings(const RowSource& rows, const OutputOptions& options, std::vector<uint16_t>& settings) {
  return [rows, options, &settings](const RowVisitor& visit) {
    rows([&](const TimingCandidate& record) {
      PutSetting(settings, record, options);
      return visit(record);
    });
  };
}

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
