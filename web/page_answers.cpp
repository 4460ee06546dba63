// What the page asks of the companion's answers (answers/): every controller's
// listing, its best setting with what the page says beside it, and the decode of
// register values (a row's code: page_code.cpp). The inputs are the form's fields,
// read by one reader as the companion reads its options (web/page_fields.h) into
// a Request that CheckRequest checks, as the companion's is; what the answers write
// (UTF-8) comes back in the module's one reply (web/page_reply.h) or, for a listing,
// as table rows with their settings.
// Nothing of the command line is here.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <string>
#include <vector>

#include "answers/answer.h"
#include "web/best_facts.h"
#include "answers/request/clock_choices.h"
#include "answers/request/option_text.h"
#include "answers/rows/best_warnings.h"
#include "answers/rows/decode_warnings.h"
#include "answers/text/json_string.h"
#include "web/page_fields.h"
#include "answers/columns/row_columns.h"
#include "answers/request/request_check.h"
#include "answers/text/register_text.h"
#include "answers/writers/text_forms.h"
#include "web/page_hooks.h"
#include "web/page_reply.h"
#include "web/row_text.h"

namespace {

// Rows per block handed to the page: large enough that the calls cost nothing beside
// the formatting, small enough that a block stays a few hundred kilobytes.
constexpr int32_t kRowsPerBlock = 8192;

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
RequestCheck ListingRequest(const char* const* texts, int samplePointIndex, bool best, Request& request) {
  const RequestCheck read = ReadAllPageFields(PageTextsAt(texts, samplePointIndex), request);
  if (read.status != RequestStatus::kReady) return read;
  request.best = best;
  // The targets steer the best setting only; a listing shows every setting (the
  // fields are still read, so a bad one is refused whatever is asked). A data target
  // without a data rate is refused for the listing as for its best, with the line of
  // the companion's --best: the listing's refusal is the one shown beside the field.
  if (!best) {
    if (!request.dataPhase && request.dataTargetSamplePoint >= 0) {
      RequestCheck alone;
      alone.status = RequestStatus::kDataOptionWithoutDataRate;
      alone.option = "--data-target-sample-point";
      return alone;
    }
    request.targetSamplePoint = -1;
    request.dataTargetSamplePoint = -1;
  }
  return CheckRequest(request, MissingInput::kRefuse);
}

}  // namespace

extern "C" {

// Any controller's listing, as the companion's --format tsv --wide lines for the
// form's fields (texts: kPageFieldCount of them, web/page_hooks.h; the selectors by
// index): as table rows (the same lines, each ended by CR LF) through Module.takeRows,
// each block followed by its rows' settings through Module.takeSettings; or with
// forDownload as the tsv itself through Module.takeTsv. Replies (web/page_reply.h)
// ready with text "" and, for the table, "columns": the columns of its rows
// (PageColumnsJson); or the refusal.
EMSCRIPTEN_KEEPALIVE void QuillmereListing(const char* const* texts, int samplePointIndex, int forDownload) {
  Request request;
  const RequestCheck check = ListingRequest(texts, samplePointIndex, false, request);
  if (check.status != RequestStatus::kReady) return KeepRefusal(check);
  OutputSink sink;
  PageReply reply;
  if (forDownload) {
    sink.write = WriteTsvChunk;
    WriteAnswer(request, sink);
    FlushOutput(sink);
    return KeepReply(reply);
  }
  RowBlocks blocks{kRowsPerBlock, HandBlockToPage, nullptr, {}, {}};
  sink.write = TakeRowBytes;
  sink.context = &blocks;
  AnswerRows rows = RowsOfAnswer(request);
  AddMember(reply, "columns", ColumnsOf(rows));
  for (int i = 0; i < rows.count; ++i)
    rows.phases[i].rows = NotingSettings(rows.phases[i].rows, rows.phases[i].options, blocks.noted);
  WriteGridRows(rows.phases, rows.count, sink);
  FlushOutput(sink);
  HandLastRows(blocks);
  KeepReply(reply);
}

// A clock the controller's chips do not run at, as the companion warns of it:
// {"controller", "range": whether runsAt is a range's ends, "runsAt": ["20", ..., "80"],
// "source": where a fixed clock or range comes from or null, "typed": "33.333"}, or null.
std::string ClockWarningJson(const Request& request) {
  const ClockChoiceFacts facts = ClockChoiceFactsOf(*request.controller, request.clockKHz);
  if (!facts.warned) return "null";
  std::string runsAt = "[";
  for (const std::string& mhz : facts.runsAtMHz) runsAt += (runsAt.size() > 1 ? ", " : "") + JsonString(mhz);
  return "{\"controller\": " + JsonString(request.controller->name) + ", \"range\": " +
         (facts.range ? "true" : "false") + ", \"runsAt\": " + runsAt +
         "], \"source\": " + (facts.source != nullptr ? JsonString(facts.source) : std::string("null")) +
         ", \"typed\": " + JsonString(facts.typedMHz) + "}";
}

// The best setting (the companion's --best, honouring the least tolerance): replies
// ready with text its --format tsv --wide line or lines (an FD controller with a data
// rate: nominal, then data), their settings, one a line, through Module.takeSettings,
// and "tolerance" ("0.35%"), "longestBus" (m) and "warnings" ([{"name", "longest",
// "limit"}...], web/best_facts.h) and "targetNotes" ([{"phase": "nominal" or "data",
// "target": "87.5", "nearest": "85.7"}...]: a target the best does not meet exactly,
// TargetSamplePointNoteFacts), and "clockWarning" (ClockWarningJson) even where no
// setting meets the request; text "" and no call when none meets it; or the refusal.
EMSCRIPTEN_KEEPALIVE void QuillmereBest(const char* const* texts, int samplePointIndex) {
  Request request;
  const RequestCheck check = ListingRequest(texts, samplePointIndex, true, request);
  if (check.status != RequestStatus::kReady) return KeepRefusal(check);
  AnswerRows rows = RowsOfAnswer(request);
  PageReply reply;
  AddMember(reply, "clockWarning", ClockWarningJson(request));
  // No setting, or none for the data phase: nothing is kept, so the page shows none.
  if (rows.answer != Answer::kWritten) return KeepReply(reply);
  const BestFacts facts = FactsOfBest(request, rows);
  std::vector<uint16_t> settings;
  for (int i = 0; i < rows.count; ++i)
    rows.phases[i].rows = NotingSettings(rows.phases[i].rows, rows.phases[i].options, settings);
  std::string text;
  OutputSink sink = TextOutput(text);
  WriteAnswerRows(rows, sink);
  if (!FlushOutput(sink)) return KeepReply(reply);
  reply.text = text;
  AddMember(reply, "tolerance", JsonString(PercentText(facts.tolerance)));
  AddMember(reply, "longestBus", std::to_string(facts.longestBusM));
  std::string warnings = "[";
  for (std::size_t i = 0; i < facts.warnings.size(); ++i)
    warnings += (i > 0 ? ", " : "") + BestWarningJson(facts.warnings[i]);
  AddMember(reply, "warnings", warnings + "]");
  std::string notes = "[";
  for (const TargetSamplePointNote& note : TargetSamplePointNoteFacts(request, rows.phases, rows.count))
    notes += std::string(notes.size() > 1 ? ", " : "") + "{\"phase\": " + JsonString(note.data ? "data" : "nominal") +
             ", \"target\": " + JsonString(note.targetText) + ", \"nearest\": " + JsonString(note.nearestText) + "}";
  AddMember(reply, "targetNotes", notes + "]");
  KeepReply(reply);
  HandSettingsToPage(settings.data(), rows.count);
}

// The setting of register values at the page's clock, as the companion's --decode
// (--decode-data) with --format tsv --wide: replies ready with text the lines,
// "columns" their columns and "warnings" the companion's warning texts. nominalText
// and dataText (an FD controller's data registers) are read as the companion reads
// its options: bxCAN's CAN_BTR, FDCAN's NBTP and DBTP as bare values, every other
// controller's as NAME=VALUE pairs (or a bare value for one register); empty: not
// decoded. The error is against the phase's rate when that field is filled; the bus
// fields count as in a listing; the SJWs, the tolerances and the targets go unread, as a
// decode has none. Refusals: the companion's (reserved-bits with "bits",
// unknown-register, ..., field "decode-value" where no other), decode-unreadable or
// decode-data-unreadable for a text that holds no value (or nothing to decode).
EMSCRIPTEN_KEEPALIVE void QuillmereDecode(const char* const* texts, const char* nominalText, const char* dataText) {
  PageFieldTexts fields = PageTextsAt(texts, 0);
  const ControllerEntry* entry = fields.controller != nullptr ? FindController(fields.controller) : nullptr;
  const bool fd = entry != nullptr && entry->fd;
  const bool decodeNominal = nominalText != nullptr && *nominalText != 0;
  const bool decodeData = fd && dataText != nullptr && *dataText != 0;
  // A rate is the error's reference of its own phase only: a field of a phase that is
  // not decoded goes unused (unread), where the companion would refuse its option.
  if (!decodeNominal) fields.rate = nullptr;
  if (!decodeData) fields.dataRate = nullptr;
  fields.sjw = fields.dataSjw = fields.minTolerance = fields.tolerance = nullptr;
  fields.targetSamplePoint = fields.dataTargetSamplePoint = nullptr;
  Request request;
  RequestCheck check = ReadAllPageFields(fields, request);
  if (check.status != RequestStatus::kReady) return KeepRefusal(check);
  if (!decodeNominal && !decodeData) {
    check.status = RequestStatus::kDecodeUnreadable;
    check.detail = "no register value";
    return KeepRefusal(check);
  }
  if (decodeNominal) {
    check.detail = DecodeTextProblem(nominalText, false, request, false);
    if (!check.detail.empty()) {
      check.status = RequestStatus::kDecodeUnreadable;
      return KeepRefusal(check);
    }
  }
  if (decodeData) {
    check.detail = DecodeTextProblem(dataText, true, request, false);
    if (!check.detail.empty()) {
      check.status = RequestStatus::kDecodeDataUnreadable;
      return KeepRefusal(check);
    }
  }
  check = CheckRequest(request, MissingInput::kRefuse);
  if (check.status != RequestStatus::kReady) {
    PageReply refusal = RefusalReply(check);
    // A refusal of the values themselves (a register unknown, missing, too wide...).
    if (refusal.field.empty()) refusal.field = "decode-value";
    return KeepReply(refusal);
  }
  const AnswerRows rows = RowsOfAnswer(request);
  std::string text;
  OutputSink sink = TextOutput(text);
  WriteAnswerRows(rows, sink);
  PageReply reply;
  if (!FlushOutput(sink)) return KeepReply(reply);
  reply.text = text;
  AddMember(reply, "columns", ColumnsOf(rows));
  std::string warnings = "[";
  for (const std::string& warning : DecodeWarningTexts(request)) warnings += (warnings.size() > 1 ? ", " : "") + JsonString(warning);
  AddMember(reply, "warnings", warnings + "]");
  KeepReply(reply);
}

}  // extern "C"
