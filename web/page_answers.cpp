// What the page asks of the companion's answers (answers/): every controller's
// listing, its best setting with what the page says beside it, and the decode of
// register values (a row's code: page_code.cpp). The inputs are the form's fields,
// read by one reader as the companion reads its options (answers/page_fields.h) into
// a Request that CheckRequest checks, as the companion's is; what the answers write
// (UTF-8) comes back as text or, for a listing, as table rows with their settings.
// Nothing of the command line is here.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <string>
#include <vector>

#include "answers/answer.h"
#include "answers/best_facts.h"
#include "answers/decode_warnings.h"
#include "answers/json_string.h"
#include "answers/option_text.h"
#include "answers/page_fields.h"
#include "answers/register_text.h"
#include "answers/request_check.h"
#include "answers/result_output.h"
#include "answers/row_columns.h"
#include "web/page_hooks.h"
#include "web/row_text.h"

namespace {

// Rows per block handed to the page: large enough that the calls cost nothing beside
// the formatting, small enough that a block stays a few hundred kilobytes.
constexpr int32_t kRowsPerBlock = 8192;

// What QuillmereText() returns: the text of the last answer, or why it was refused.
std::string& LastText() {
  static std::string text;
  return text;
}

// What QuillmereDetails() returns: the last answer's JSON beside its text.
std::string& LastDetails() {
  static std::string text;
  return text;
}

// The last refusal's field and reserved bits.
std::string& LastField() {
  static std::string text;
  return text;
}

std::string& LastBits() {
  static std::string text;
  return text;
}

void Clear() {
  LastText().clear();
  LastDetails().clear();
  LastField().clear();
  LastBits().clear();
}

int WriteTsvChunk(void*, const char* bytes, std::size_t length) {
  HandTsvToPage(bytes, static_cast<int32_t>(length));
  return 0;
}

// The columns of the rows' phases.
std::string ColumnsOf(const AnswerRows& rows) {
  OutputOptions phases[2];
  for (int i = 0; i < rows.count && i < 2; ++i) phases[i] = rows.phases[i].options;
  return PageColumnsJson(phases, rows.count < 2 ? rows.count : 2);
}

// The form's fields read and checked for a listing or a best setting.
RequestCheck ListingRequest(const char* const* texts, int samplePointIndex, int toleranceIndex, bool best,
                            Request& request) {
  const RequestCheck read = ReadAllPageFields(PageTextsAt(texts, samplePointIndex, toleranceIndex), request);
  if (read.status != RequestStatus::kReady) return read;
  request.best = best;
  return CheckRequest(request, MissingInput::kRefuse);
}

}  // namespace

int Refuse(const RequestCheck& check) {
  // The companion's line where it has one (a field's refusal: why its text is none).
  const std::string line = RefusalLine(check);
  LastText() = line.empty() ? check.detail : line;
  const char* field = PageFieldOf(check);
  LastField() = field != nullptr ? field : "";
  LastBits() = check.bits != 0 ? BitList(check.bits) : "";
  return static_cast<int>(check.status);
}

extern "C" {

// The name of a status that the functions here and page_code.cpp's return
// (RequestStatus, answers/refusals.h): "ready", "clock-missing", "rate-missing",
// "reserved-bits", "sjw-unreadable", ...; "unknown" for a number that is no status.
// The text is static.
EMSCRIPTEN_KEEPALIVE const char* QuillmereStatusName(int status) { return StatusName(status); }

// The text of the last answer of QuillmereListing, QuillmereBest or QuillmereDecode,
// or why the last call was refused: UTF-8, zero-terminated, valid until the next call.
EMSCRIPTEN_KEEPALIVE const char* QuillmereText() { return LastText().c_str(); }

// The last answer's JSON beside its text (UTF-8, valid until the next call):
//   listing  {"columns": [...]}   the columns of its rows (PageColumnsJson)
//   best     {"tolerance": "0.36%", "longestBus": 92, "warnings": [{"name", "longest",
//            "limit"}...]}   (answers/best_facts.h); "" when no setting meets it
//   decode   {"columns": [...], "warnings": ["CAN_BTR 0x...: ...", ...]}
EMSCRIPTEN_KEEPALIVE const char* QuillmereDetails() { return LastDetails().c_str(); }

// The page's field the last refusal concerns ("clock", "sjw", ..., "decode-value",
// "decode-data"), or "".
EMSCRIPTEN_KEEPALIVE const char* QuillmereRefusalField() { return LastField().c_str(); }

// The reserved bits of the last refusal that names them ("10, 11"), or "".
EMSCRIPTEN_KEEPALIVE const char* QuillmereRefusalBits() { return LastBits().c_str(); }

// Any controller's listing, as the companion's --format tsv --wide lines for the
// form's fields (texts: kPageFieldCount of them, web/page_hooks.h; the selectors by
// index): as table rows (the same lines, each ended by CR LF) through Module.takeRows,
// each block followed by its rows' settings through Module.takeSettings, their columns
// in QuillmereDetails(); or with forDownload as the tsv itself through Module.takeTsv.
// Returns a RequestStatus (0: listed; else why in QuillmereText(), the field in
// QuillmereRefusalField()).
EMSCRIPTEN_KEEPALIVE int QuillmereListing(const char* const* texts, int samplePointIndex, int toleranceIndex,
                                          int forDownload) {
  Clear();
  Request request;
  const RequestCheck check = ListingRequest(texts, samplePointIndex, toleranceIndex, false, request);
  if (check.status != RequestStatus::kReady) return Refuse(check);
  OutputSink sink;
  if (forDownload) {
    sink.write = WriteTsvChunk;
    WriteAnswer(request, sink);
    FlushOutput(sink);
    return 0;
  }
  RowBlocks blocks{kRowsPerBlock, HandBlockToPage, nullptr, {}, {}};
  sink.write = TakeRowBytes;
  sink.context = &blocks;
  AnswerRows rows = RowsOfAnswer(request);
  LastDetails() = "{\"columns\": " + ColumnsOf(rows) + "}";
  for (int i = 0; i < rows.count; ++i)
    rows.phases[i].rows = NotingSettings(rows.phases[i].rows, rows.phases[i].options, blocks.noted);
  WriteGridRows(rows.phases, rows.count, sink);
  FlushOutput(sink);
  HandLastRows(blocks);
  return 0;
}

// The best setting (the companion's --best, honouring the least tolerance) as its
// --format tsv --wide line or lines (an FD controller with a data rate: nominal, then
// data), in QuillmereText(), their settings, one a line, through Module.takeSettings,
// and its tolerance, longest bus and warnings in QuillmereDetails(); "" and no call
// when none meets the request. Returns a RequestStatus, as QuillmereListing.
EMSCRIPTEN_KEEPALIVE int QuillmereBest(const char* const* texts, int samplePointIndex, int toleranceIndex) {
  Clear();
  Request request;
  const RequestCheck check = ListingRequest(texts, samplePointIndex, toleranceIndex, true, request);
  if (check.status != RequestStatus::kReady) return Refuse(check);
  AnswerRows rows = RowsOfAnswer(request);
  // No setting, or none for the data phase: nothing is kept, so the page shows none.
  if (rows.answer != Answer::kWritten) return 0;
  const BestFacts facts = FactsOfBest(request, rows);
  std::vector<uint16_t> settings;
  for (int i = 0; i < rows.count; ++i)
    rows.phases[i].rows = NotingSettings(rows.phases[i].rows, rows.phases[i].options, settings);
  std::string text;
  OutputSink sink = TextOutput(text);
  WriteAnswerRows(rows, sink);
  if (!FlushOutput(sink)) return 0;
  LastText() = text;
  std::string details = "{\"tolerance\": ";
  PutJsonString(details, PercentText(facts.tolerance));
  details += ", \"longestBus\": " + std::to_string(facts.longestBusM) + ", \"warnings\": [";
  for (std::size_t i = 0; i < facts.warnings.size(); ++i) {
    const BestWarning& warning = facts.warnings[i];
    details += i > 0 ? ", {\"name\": " : "{\"name\": ";
    PutJsonString(details, BestWarningName(warning.kind));
    details += ", \"longest\": " + std::to_string(warning.longestM) + ", \"limit\": " + std::to_string(warning.limitM) + "}";
  }
  LastDetails() = details + "]}";
  HandSettingsToPage(settings.data(), rows.count);
  return 0;
}

// The setting of register values at the page's clock, as the companion's --decode
// (--decode-data) with --format tsv --wide: the lines in QuillmereText(), their
// columns and the companion's warnings in QuillmereDetails(). nominalText and
// dataText (an FD controller's data registers) are read as the companion reads its
// options: bxCAN's CAN_BTR, FDCAN's NBTP and DBTP as bare values, every other
// controller's as NAME=VALUE pairs (or a bare value for one register); empty: not
// decoded. The error is against the phase's rate when that field is filled; the bus
// fields count as in a listing; the SJWs and the least tolerance go unread, as a
// decode has none. Returns a RequestStatus: the companion's refusals (reserved-bits
// with the bits in QuillmereRefusalBits(), unknown-register, ...), decode-unreadable
// or decode-data-unreadable for a text that holds no value (or nothing to decode).
EMSCRIPTEN_KEEPALIVE int QuillmereDecode(const char* const* texts, const char* nominalText, const char* dataText) {
  Clear();
  PageFieldTexts fields = PageTextsAt(texts, 0, 0);
  const ControllerEntry* entry = fields.controller != nullptr ? FindController(fields.controller) : nullptr;
  const bool fd = entry != nullptr && entry->fd;
  const bool decodeNominal = nominalText != nullptr && *nominalText != 0;
  const bool decodeData = fd && dataText != nullptr && *dataText != 0;
  // A rate is the error's reference of its own phase only: a field of a phase that is
  // not decoded goes unused (unread), where the companion would refuse its option.
  if (!decodeNominal) fields.rate = nullptr;
  if (!decodeData) fields.dataRate = nullptr;
  fields.sjw = fields.dataSjw = fields.minTolerance = nullptr;
  Request request;
  RequestCheck check = ReadAllPageFields(fields, request);
  if (check.status != RequestStatus::kReady) return Refuse(check);
  if (!decodeNominal && !decodeData) {
    check.status = RequestStatus::kDecodeUnreadable;
    check.detail = "no register value";
    return Refuse(check);
  }
  if (decodeNominal) {
    check.detail = DecodeTextProblem(nominalText, false, request, false);
    if (!check.detail.empty()) {
      check.status = RequestStatus::kDecodeUnreadable;
      return Refuse(check);
    }
  }
  if (decodeData) {
    check.detail = DecodeTextProblem(dataText, true, request, false);
    if (!check.detail.empty()) {
      check.status = RequestStatus::kDecodeDataUnreadable;
      return Refuse(check);
    }
  }
  check = CheckRequest(request, MissingInput::kRefuse);
  if (check.status != RequestStatus::kReady) {
    const int status = Refuse(check);
    // A refusal of the values themselves (a register unknown, missing, too wide...).
    if (LastField().empty()) LastField() = "decode-value";
    return status;
  }
  const AnswerRows rows = RowsOfAnswer(request);
  std::string text;
  OutputSink sink = TextOutput(text);
  WriteAnswerRows(rows, sink);
  if (!FlushOutput(sink)) return 0;
  LastText() = text;
  std::string details = "{\"columns\": " + ColumnsOf(rows) + ", \"warnings\": [";
  const std::vector<std::string> warnings = DecodeWarningTexts(request);
  for (std::size_t i = 0; i < warnings.size(); ++i) {
    if (i > 0) details += ", ";
    PutJsonString(details, warnings[i]);
  }
  LastDetails() = details + "]}";
  return 0;
}

}  // extern "C"
