// What the page's worker calls in the WebAssembly module: the module's hooks into the
// page (rows in blocks, their settings, tsv chunks) and what the page learns once (the
// grid's columns and the controller table). A plain C interface (emscripten's
// exported functions); the page's field texts cross it as GBK bytes, as the window
// reads them, and come back as ASCII rows or in the module's one reply
// (web/page_reply.h). The answers themselves: page_answers.cpp, page_code.cpp and
// page_plan.cpp.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <string>

#include "answers/writers/controller_list.h"
#include "web/page_fields.h"
#include "answers/columns/row_columns.h"
#include "answers/request/request_check.h"
#include "web/page_facts.h"
#include "web/page_hooks.h"
#include "web/page_reply.h"
#include "web/row_text.h"

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

PageFieldTexts PageTextsAt(const char* const* texts, int samplePointIndex) {
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
    fields.clockAccuracy = texts[11];
    fields.targetSamplePoint = texts[12];
    fields.dataTargetSamplePoint = texts[13];
    fields.tolerance = texts[14];
  }
  fields.samplePointIndex = samplePointIndex;
  return fields;
}

extern "C" {

// What the page learns from the module once, as it starts: replies (web/page_reply.h)
// ready with
//   "columns"      every controller's grid columns, from the column table
//                  (answers/columns/row_columns.h): {"bxcan": [...], "fdcan": [...], ...} by
//                  --controller name, each column {key, zh, en, align, zhHelp, enHelp},
//                  those of its whole listing (an FD controller's with its data phase);
//   "controllers"  the controller table as the page's selectors read it
//                  (answers/writers/controller_list.h, PageControllersJson);
//   "faces"        how the form shows each controller, by --controller name: the SJW
//                  of an empty field, a bare decode value or pairs, a bare field's
//                  example (web/page_facts.h, PageControllerFacesJson);
//   "planForms"    the code forms of a plan's selector, in its order;
//   "maxPlanNodes" the most nodes a plan takes (more are refused, kMaxPlanNodes);
//   "defaults", "advice", "referenceLengths"   the fields' defaults, the sample-point
//                  advice and the reference bus lengths (web/page_facts.h);
//   "windowMessages"  the window's messages for an empty clock or rate, by the names
//                  of their refusals (web/page_facts.h).
EMSCRIPTEN_KEEPALIVE void QuillmereStart() {
  PageReply reply;
  AddMember(reply, "columns", PageColumnsJson());
  AddMember(reply, "controllers", PageControllersJson());
  AddMember(reply, "faces", PageControllerFacesJson());
  AddMember(reply, "planForms", PagePlanFormsJson());
  AddMember(reply, "maxPlanNodes", std::to_string(kMaxPlanNodes));
  AddMember(reply, "defaults", PageDefaultsJson());
  AddMember(reply, "advice", PageAdviceJson());
  AddMember(reply, "referenceLengths", PageReferenceLengthsJson());
  AddMember(reply, "windowMessages", PageWindowMessagesJson());
  KeepReply(reply);
}

}  // extern "C"
