// What the page's worker calls in the WebAssembly module: the module's hooks into the
// page (rows in blocks, their settings, tsv chunks), what the page learns once (the
// grid's columns and the controller table), and the window's messages. A plain C
// interface (emscripten's exported functions); the page's field texts cross it as GBK
// bytes, as the window reads them, and come back as ASCII rows, UTF-8 texts or the
// window's GBK message. The answers themselves: page_answers.cpp and page_code.cpp.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <string>

#include "answers/controller_list.h"
#include "answers/page_fields.h"
#include "answers/request_check.h"
#include "answers/row_columns.h"
#include "calc/window_inputs.h"
#include "web/page_hooks.h"
#include "web/row_text.h"

namespace {

// What QuillmereColumns and QuillmereControllers return, made on the first call.
const std::string& ColumnsJson() {
  static const std::string json = PageColumnsJson();
  return json;
}

const std::string& ControllersJson() {
  static const std::string json = PageControllersJson();
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

PageFieldTexts PageTextsAt(const char* const* texts, int samplePointIndex, int toleranceIndex) {
  PageFieldTexts fields;
  if (texts != nullptr) {
    fields.controller = texts[0];
    fields.clock = texts[1];
    fields.rate = texts[2];
    fields.dataRate = texts[3];
    fields.sjw = texts[4];
    fields.dataSjw = texts[5];
    fields.nodeDelay = texts[6];
    fields.busLength = texts[7];
    fields.minTolerance = texts[8];
    fields.spread = texts[9];
    fields.nodes = texts[10];
  }
  fields.samplePointIndex = samplePointIndex;
  fields.toleranceIndex = toleranceIndex;
  return fields;
}

extern "C" {

// Every controller's grid columns, from the column table (answers/row_columns.h):
// UTF-8 JSON, {"bxcan": [...], "fdcan": [...], ...} by --controller name, each column
// {key, zh, en, align, zhHelp, enHelp}, those of its whole listing (an FD
// controller's with its data phase). The text is static: the caller neither frees
// nor keeps it past the module's life.
EMSCRIPTEN_KEEPALIVE const char* QuillmereColumns() { return ColumnsJson().c_str(); }

// The controller table as the page's selector reads it (answers/controller_list.h,
// PageControllersJson): UTF-8 JSON, static as QuillmereColumns'.
EMSCRIPTEN_KEEPALIVE const char* QuillmereControllers() { return ControllersJson().c_str(); }

// The page passes its refusal's status below: the request check's two missing fields
// carry the window's input checks' numbers.
static_assert(static_cast<int>(RequestStatus::kClockMissing) == static_cast<int>(InputCheck::kClockMissing) &&
                  static_cast<int>(RequestStatus::kRateMissing) == static_cast<int>(InputCheck::kRateMissing),
              "a missing field's status is the window's input check");

// The window's message for an input check (1 or 2), GBK, zero-terminated; null for 0.
// The text is static: the caller neither frees nor keeps it past the module's life.
EMSCRIPTEN_KEEPALIVE const char* QuillmereMissingInputMessage(int check) {
  if (check != static_cast<int>(InputCheck::kClockMissing) && check != static_cast<int>(InputCheck::kRateMissing))
    return nullptr;
  return MissingInputMessage(static_cast<InputCheck>(check));
}

}  // extern "C"
