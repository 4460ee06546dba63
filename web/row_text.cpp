#include "web/row_text.h"

#include <cstring>

namespace {

char* PutCell(char* out, const CandidateText& cell) {
  std::memcpy(out, cell.bytes, static_cast<size_t>(cell.length));
  return out + cell.length;
}

}  // namespace

void AppendRowTexts(RowTextWriter& writer, const TimingCandidate* records, int32_t count, RowTextBlock& block) {
  for (int32_t i = 0; i < count; ++i) {
    const TimingCandidate& record = records[i];
    if (writer.started) {
      UpdateCandidateCells(writer.previous, record, writer.cells, writer.names);
    } else {
      MakeCandidateCells(record, writer.cells, writer.names);
      writer.started = true;
    }
    writer.previous = record;
    CandidateText rate;
    FormatRateCell(writer.cells.actualRate, rate);

    char row[kMaxRowTextBytes];
    char* out = row;
    out = PutCell(out, writer.cells.bs1);
    *out++ = '\t';
    out = PutCell(out, writer.cells.bs2);
    *out++ = '\t';
    out = PutCell(out, writer.cells.prescaler);
    *out++ = '\t';
    out = PutCell(out, writer.cells.samplePoint);
    *out++ = '\t';
    out = PutCell(out, rate);
    *out++ = '\t';
    out = PutCell(out, writer.cells.errorPercent);
    *out++ = '\r';
    *out++ = '\n';
    block.bytes.insert(block.bytes.end(), row, out);
    block.rowEnds.push_back(static_cast<uint32_t>(block.bytes.size()));
  }
}

void ClearRowTexts(RowTextBlock& block) {
  block.bytes.clear();
  block.rowEnds.clear();
}
