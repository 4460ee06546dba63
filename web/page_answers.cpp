// What the page asks of the companion's answers (answers/): FDCAN's listings, the best
// setting and the decode of a register value (a row's code: page_code.cpp). The inputs
// are the window's fields, read as the companion reads its options (answers/page_fields.h) into a
// Request that CheckRequest checks, as the companion's is; what the answers write
// (UTF-8) comes back as text or, for a listing, as table rows, and the rows of a
// listing or a best setting come with their settings. Nothing of the command line is
// here.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <string>
#include <vector>

#include "answers/answer.h"
#include "answers/page_fields.h"
#include "answers/register_text.h"
#include "answers/result_output.h"
#include "answers/request_check.h"
#include "calc/bxcan_register.h"
#include "calc/window_inputs.h"
#include "calc/text.h"
#include "web/page_hooks.h"
#include "web/page_store.h"
#include "web/row_text.h"

namespace {

// Rows per block handed to the page, as QuillmereCompute's.
constexpr int32_t kRowsPerBlock = 8192;

// What QuillmereText() returns: the text of the last answer.
std::string& LastText() {
  static std::string text;
  return text;
}

int WriteTsvChunk(void*, const char* bytes, std::size_t length) {
  HandTsvToPage(bytes, static_cast<int32_t>(length));
  return 0;
}

// The request for the page's inputs: the clock and the rates read as the companion
// reads them (answers/page_fields.h), the selectors by index as the window reads them;
// an empty field is not given. FDCAN's data phase is asked for when its rate is given.
// A field that holds no value is refused here, the rest by CheckRequest.
RequestCheck PageRequest(int fdcan, const char* clockText, const char* rateText, int samplePointIndex,
                         int toleranceIndex, const char* dataRateText, Request& request) {
  request.controller = fdcan ? &FdcanController() : &BxCanController();
  request.minSamplePoint = MinSamplePointForIndex(samplePointIndex);
  request.tolerancePercent = toleranceIndex;
  request.format = OutputFormat::kTsv;
  return ReadPageFields(clockText, rateText, fdcan ? dataRateText : nullptr, request);
}

// The page's status for a refusal: an unreadable field's name, with why in
// QuillmereText().
int Refusal(const RequestCheck& check) {
  LastText() = check.detail;
  return static_cast<int>(check.status);
}

}  // namespace

CandidateList& PageStore() {
  static CandidateList store;
  return store;
}

extern "C" {

// The name of a status that the functions here, page_code.cpp's and QuillmereCompute
// return (RequestStatus, answers/request_check.h): "ready", "clock-missing",
// "rate-missing", "reserved-bits", "data-reserved-bits", ...; "unknown" for a number
// that is no status. The text is static.
EMSCRIPTEN_KEEPALIVE const char* QuillmereStatusName(int status) { return StatusName(status); }

// The text of the last QuillmereBest or QuillmereDecode: UTF-8,
// zero-terminated, valid until the next of those calls.
EMSCRIPTEN_KEEPALIVE const char* QuillmereText() { return LastText().c_str(); }

// FDCAN's listing, nominal phase then (with a data rate) data phase, as the companion's
// tsv lines: as table rows (the same lines, each ended by CR LF) through Module.takeRows,
// each block followed by its rows' settings through Module.takeSettings, as
// QuillmereCompute hands bxCAN's; or with forDownload as the tsv itself through
// Module.takeTsv. Returns a RequestStatus (0: listed).
EMSCRIPTEN_KEEPALIVE int QuillmereFdcanListing(const char* clockText, const char* rateText, int samplePointIndex,
                                               int toleranceIndex, const char* dataRateText, int forDownload) {
  LastText().clear();
  Request request;
  const RequestCheck read = PageRequest(1, clockText, rateText, samplePointIndex, toleranceIndex, dataRateText, request);
  if (read.status != RequestStatus::kReady) return Refusal(read);
  const RequestStatus status = CheckRequest(request, MissingInput::kRefuse).status;
  if (status != RequestStatus::kReady) return static_cast<int>(status);
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
  for (int i = 0; i < rows.count; ++i)
    rows.phases[i].rows = NotingSettings(rows.phases[i].rows, rows.phases[i].options, blocks.noted);
  WriteGridRows(rows.phases, rows.count, sink);
  FlushOutput(sink);
  HandLastRows(blocks);
  return 0;
}

// The best setting (the companion's --best) as its tsv line or lines (FDCAN with a
// data rate: nominal, then data), in QuillmereText(), and their settings, one a line,
// through Module.takeSettings; "" and no call when none meets the request. Returns a
// RequestStatus, as QuillmereFdcanListing.
EMSCRIPTEN_KEEPALIVE int QuillmereBest(int fdcan, const char* clockText, const char* rateText, int samplePointIndex,
                                       int toleranceIndex, const char* dataRateText) {
  LastText().clear();
  Request request;
  const RequestCheck read = PageRequest(fdcan, clockText, rateText, samplePointIndex, toleranceIndex, dataRateText, request);
  if (read.status != RequestStatus::kReady) return Refusal(read);
  request.best = true;
  const RequestStatus status = CheckRequest(request, MissingInput::kRefuse).status;
  if (status != RequestStatus::kReady) return static_cast<int>(status);
  AnswerRows rows = RowsOfAnswer(request);
  // No setting, or none for the data phase: nothing is kept, so the page shows none.
  if (rows.answer != Answer::kWritten) return 0;
  std::vector<uint16_t> settings;
  for (int i = 0; i < rows.count; ++i)
    rows.phases[i].rows = NotingSettings(rows.phases[i].rows, rows.phases[i].options, settings);
  std::string text;
  OutputSink sink = TextOutput(text);
  WriteAnswerRows(rows, sink);
  if (!FlushOutput(sink)) return 0;
  LastText() = text;
  HandSettingsToPage(settings.data(), rows.count);
  return 0;
}

// The setting of a register value at the page's clock, in QuillmereText(), as the
// companion's table. fdcan 0 reads CAN_BTR; fdcan 1 reads NBTP (hasNominal) and DBTP
// (hasData). The error is against the rate (and data rate) when that field is filled.
// Returns a RequestStatus: kClockMissing when the clock is empty, an unreadable
// field's (why in QuillmereText()), kReservedBits when
// the first value sets reserved bits, kDataReservedBits when DBTP does; for those two
// QuillmereText() lists the bits ("10, 11").
EMSCRIPTEN_KEEPALIVE int QuillmereDecode(int fdcan, const char* clockText, const char* rateText,
                                         const char* dataRateText, int hasNominal, uint32_t nominalValue,
                                         int hasData, uint32_t dataValue) {
  LastText().clear();
  Request request;
  // A rate is the error's reference of its own phase only: a field of a phase that is
  // not decoded goes unused (unread), where the companion would refuse its option.
  const bool decodeNominal = !fdcan || hasNominal;
  const bool decodeData = fdcan && hasData;
  const RequestCheck read = PageRequest(fdcan, clockText, decodeNominal ? rateText : nullptr, 0, 0,
                                        decodeData ? dataRateText : nullptr, request);
  if (read.status != RequestStatus::kReady) return Refusal(read);
  request.format = OutputFormat::kTable;
  request.decode = decodeNominal;
  request.decodeValue = nominalValue;
  request.decodeData = decodeData;
  request.decodeDataValue = dataValue;
  const RequestCheck check = CheckRequest(request, MissingInput::kRefuse);
  if (check.status != RequestStatus::kReady) {
    if (check.bits != 0) LastText() = BitList(check.bits);
    return static_cast<int>(check.status);
  }
  std::string text;
  OutputSink sink = TextOutput(text);
  WriteAnswer(request, sink);
  if (FlushOutput(sink)) LastText() = text;
  return 0;
}

}  // extern "C"
