// Code to paste for one setting of the rows the page shows (answers/setting_code.h):
// the page sends the setting itself with the inputs of its listing, so the code
// describes the row on screen whatever the module listed since.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <string>

#include "answers/setting_code.h"
#include "answers/request_check.h"
#include "calc/fdcan_timing.h"

namespace {

// What QuillmereCodeText() returns: the last code written.
std::string& CodeText() {
  static std::string text;
  return text;
}

int WriteToText(void* context, const char* bytes, std::size_t length) {
  static_cast<std::string*>(context)->append(bytes, length);
  return 0;
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
  const SearchArguments arguments = SearchArgumentsFor(clockText, rateText, 0, 0);
  if (arguments.check != InputCheck::kReady) return StatusOf(arguments.check);
  Request request;
  request.controller = PhaseOf(phase) == Phase::kBxCan ? &BxCanController() : &FdcanController();
  request.clockKHz = arguments.clockKHz;
  request.rateGiven = true;
  request.targetRate = arguments.targetRate;
  if (PhaseOf(phase) == Phase::kData) {
    request.dataPhase = true;
    request.dataRate = arguments.targetRate;
  }
  request.format = form == 1 ? OutputFormat::kSpl : OutputFormat::kHal;
  std::string text;
  OutputSink sink;
  sink.write = WriteToText;
  sink.context = &text;
  if (!WriteSettingCode(request, PhaseOf(phase), setting, sink)) return RequestStatus::kSettingOutsideRanges;
  FlushOutput(sink);
  CodeText() = text;
  return RequestStatus::kReady;
}

}  // namespace

extern "C" {

// The text of the last QuillmereSettingCode or QuillmereRegisterCode: UTF-8,
// zero-terminated, valid until the next of those calls.
EMSCRIPTEN_KEEPALIVE const char* QuillmereCodeText() { return CodeText().c_str(); }

// Code to paste (form 0: hal, 1: spl; FDCAN's phases always HAL's) for the setting
// prescaler, seg1, seg2 (quanta; sjw 0: as the listing gives it) of phase (0 bxCAN,
// 1 FDCAN nominal, 2 FDCAN data), listed at clockText with the phase's rate rateText.
// Returns a status: ready (the code in QuillmereCodeText()), clock-missing,
// rate-missing or setting-outside-ranges.
EMSCRIPTEN_KEEPALIVE int QuillmereSettingCode(int phase, const char* clockText, const char* rateText,
                                              int32_t prescaler, int32_t seg1, int32_t seg2, int32_t sjw, int form) {
  return static_cast<int>(WritePageCode(phase, clockText, rateText, BitTimingLengths{prescaler, seg1, seg2, sjw}, form));
}

// The same for an FDCAN row given by its register value, NBTP (phase 1) or DBTP
// (phase 2), as the listing wrote it; reserved-bits or data-reserved-bits when the
// value sets bits that hold no field.
EMSCRIPTEN_KEEPALIVE int QuillmereRegisterCode(int phase, const char* clockText, const char* rateText,
                                               uint32_t value, int form) {
  CodeText().clear();
  const bool data = phase == 2;
  const DecodedBitTiming decoded = data ? DecodeDataBitTiming(value) : DecodeNominalBitTiming(value);
  if (decoded.reservedBits != 0)
    return static_cast<int>(data ? RequestStatus::kDataReservedBits : RequestStatus::kReservedBits);
  return static_cast<int>(WritePageCode(data ? 2 : 1, clockText, rateText, decoded.timing, form));
}

}  // extern "C"
