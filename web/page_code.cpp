// Code to paste for one setting of the rows the page shows (answers/setting_code.h):
// the page sends the setting itself with the inputs of its listing, so the code
// describes the row on screen whatever the module listed since.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <string>

#include "answers/page_fields.h"
#include "answers/setting_code.h"
#include "answers/request_check.h"

namespace {

// What QuillmereCodeText() returns: the last code written.
std::string& CodeText() {
  static std::string text;
  return text;
}

// phase 0: bxCAN, 1: FDCAN's nominal phase, 2: its data phase.
Phase PhaseOf(int phase) {
  if (phase == 1) return Phase::kNominal;
  return phase == 2 ? Phase::kData : Phase::kBxCan;
}

// The code for setting at the clock and rate texts (GBK, read as the window reads its
// fields), into CodeText().
RequestStatus WritePageCode(int phase, const char* clockText, const char* rateText, const BitTimingLengths& setting,
                         int form) {
  CodeText().clear();
  Request request;
  const RequestCheck read = ReadPageFields(clockText, rateText, nullptr, request);
  if (read.status != RequestStatus::kReady) return read.status;
  if (!request.rateGiven) return RequestStatus::kRateMissing;
  request.controller = PhaseOf(phase) == Phase::kBxCan ? &BxCanController() : &FdcanController();
  if (PhaseOf(phase) == Phase::kData) {
    request.dataPhase = true;
    request.dataRate = request.targetRate;
  }
  request.format = form == 1 ? OutputFormat::kSpl : OutputFormat::kHal;
  std::string text;
  OutputSink sink = TextOutput(text);
  if (!WriteSettingCode(request, PhaseOf(phase), setting, sink)) return RequestStatus::kSettingOutsideRanges;
  FlushOutput(sink);
  CodeText() = text;
  return RequestStatus::kReady;
}

}  // namespace

extern "C" {

// The text of the last QuillmereSettingCode: UTF-8, zero-terminated, valid until the
// next call.
EMSCRIPTEN_KEEPALIVE const char* QuillmereCodeText() { return CodeText().c_str(); }

// Code to paste (form 0: hal, 1: spl; FDCAN's phases always HAL's) for the setting
// prescaler, seg1, seg2 (quanta; sjw 0: as the listing gives it) of phase (0 bxCAN,
// 1 FDCAN nominal, 2 FDCAN data), listed at clockText with the phase's rate rateText:
// the numbers of a row's setting as the listing handed them (web/row_text.h).
// Returns a status: ready (the code in QuillmereCodeText()), clock-missing,
// rate-missing or setting-outside-ranges.
EMSCRIPTEN_KEEPALIVE int QuillmereSettingCode(int phase, const char* clockText, const char* rateText,
                                              int32_t prescaler, int32_t seg1, int32_t seg2, int32_t sjw, int form) {
  return static_cast<int>(WritePageCode(phase, clockText, rateText, BitTimingLengths{prescaler, seg1, seg2, sjw}, form));
}

}  // extern "C"
