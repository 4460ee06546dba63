// What the page's worker calls in the WebAssembly module: the window's compute command
// on the texts of the two fields and the indexes of the two selectors, its rows handed
// to the page in blocks, and the grid's columns. A plain C interface (emscripten's exported functions); texts
// cross it as GBK bytes, as the window reads them, and come back as ASCII rows or as
// the window's GBK message.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <string>

#include "answers/page_fields.h"
#include "answers/request_check.h"
#include "answers/result_output.h"
#include "answers/row_columns.h"
#include "calc/window_inputs.h"
#include "calc/timing.h"
#include "web/page_hooks.h"
#include "web/page_store.h"
#include "web/row_text.h"

namespace {

// Rows per block handed to the page: large enough that the calls cost nothing beside
// the formatting, small enough that a block stays a few hundred kilobytes.
constexpr int32_t kRowsPerBlock = 8192;

// What QuillmereColumns returns, made on the first call.
const std::string& ColumnsJson() {
  static const std::string json = PageColumnsJson();
  return json;
}

}  // namespace

EM_JS(void, HandRowsToPage, (const char* bytes, int32_t byteCount, const uint32_t* rowEnds, int32_t rowCount), {
  Module["takeRows"](bytes, byteCount, rowEnds, rowCount);
});

EM_JS(void, HandSettingsToPage, (const uint16_t* settings, int32_t rowCount), {
  Module["takeSettings"](settings, rowCount);
});

void HandBlockToPage(void*, const RowTextBlock& block) {
  const int32_t rows = static_cast<int32_t>(block.rowEnds.size());
  HandRowsToPage(block.bytes.data(), static_cast<int32_t>(block.bytes.size()), block.rowEnds.data(), rows);
  HandSettingsToPage(block.settings.data(), rows);
}

EM_JS(void, HandTsvToPage, (const char* bytes, int32_t byteCount), { Module["takeTsv"](bytes, byteCount); });

extern "C" {

// Runs the compute command: clockText and rateText are the fields' GBK texts (null
// counts as empty), the indexes those of the sample-point and tolerance selectors (-1:
// none selected). Returns a RequestStatus (0 ready, 1 the clock is missing, 2 the rate
// is missing, or a field that holds no value; QuillmereStatusName names them). When ready, the window's search runs and every row, in the window's
// order and texts, reaches Module.takeRows before the call returns (a listing without
// rows calls it never), each block followed by its rows' settings (Module.takeSettings),
// so that code for a row is made from the row itself.
EMSCRIPTEN_KEEPALIVE int QuillmereCompute(const char* clockText, const char* rateText, int samplePointIndex,
                                          int toleranceIndex) {
  // The fields read as the companion reads --clock and --rate; the selectors as the
  // window reads them. A whole number of MHz gives the window's own search inputs.
  Request request;
  const RequestCheck read = ReadPageFields(clockText, rateText, nullptr, request);
  if (read.status != RequestStatus::kReady) return static_cast<int>(read.status);
  if (!request.rateGiven) return static_cast<int>(RequestStatus::kRateMissing);

  CandidateList& store = PageStore();
  BitTimingSearch(store, request.clockKHz, request.targetRate, toleranceIndex, MinSamplePointForIndex(samplePointIndex));

  // The rows as the companion's tsv writes them, with the window's CR LF.
  RowBlocks blocks{kRowsPerBlock, HandBlockToPage, nullptr, {}, {}};
  OutputSink sink;
  sink.write = TakeRowBytes;
  sink.context = &blocks;
  const OutputOptions window;  // bxCAN's: the window's six columns
  const RowSource rows = [&store](const RowVisitor& visit) {
    for (const TimingCandidate& record : store.records)
      if (!visit(record)) return;
  };
  WriteGridRows(NotingSettings(rows, window, blocks.noted), window, sink);
  FlushOutput(sink);
  HandLastRows(blocks);
  return static_cast<int>(RequestStatus::kReady);
}

// The grid's columns for bxCAN and FDCAN, from the column table (answers/row_columns.h):
// UTF-8 JSON, {"bxcan": [...], "fdcan": [...]}, each column {key, zh, en, align}.
// The text is static: the caller neither frees nor keeps it past the module's life.
EMSCRIPTEN_KEEPALIVE const char* QuillmereColumns() { return ColumnsJson().c_str(); }

// The window's message for an input check (1 or 2), GBK, zero-terminated; null for 0.
// The text is static: the caller neither frees nor keeps it past the module's life.
EMSCRIPTEN_KEEPALIVE const char* QuillmereMissingInputMessage(int check) {
  if (check != static_cast<int>(InputCheck::kClockMissing) && check != static_cast<int>(InputCheck::kRateMissing))
    return nullptr;
  return MissingInputMessage(static_cast<InputCheck>(check));
}

}  // extern "C"
