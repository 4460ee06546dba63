#include "answers/request_check.h"

#include "answers/code_forms.h"
#include "answers/register_text.h"
#include "calc/bxcan_register.h"
#include "calc/fdcan_timing.h"

namespace {

RequestCheck Refused(RequestStatus status, const char* option = nullptr, const char* decodeOption = nullptr) {
  RequestCheck check;
  check.status = status;
  check.option = option;
  check.decodeOption = decodeOption;
  return check;
}

RequestCheck ReservedBitsSet(RequestStatus status, uint32_t bits) {
  RequestCheck check;
  check.status = status;
  check.bits = bits;
  return check;
}

// The options that cannot stand together. The first refusals are the older ones, in
// their order: a request that meets several keeps the line it always had.
RequestCheck CheckCombination(const Request& request) {
  const bool decoding = request.decode || request.decodeData;
  const char* decodeName = request.decode ? "--decode" : "--decode-data";
  if (decoding && request.best) return Refused(RequestStatus::kBestWithDecode, "--best", decodeName);
  if (decoding && (request.sjwGiven || request.dataSjwGiven))
    return Refused(RequestStatus::kSjwWithDecode, request.sjwGiven ? "--sjw" : "--data-sjw", decodeName);
  // A rate given with a decode is the error's reference of its phase, or refused.
  if (decoding && request.dataPhase && !request.decodeData)
    return Refused(RequestStatus::kDataRateWithoutDecodeData, "--data-rate");
  if (decoding && request.rateGiven && !request.decode) return Refused(RequestStatus::kRateWithoutDecode, "--rate");
  if (request.controller == &FdcanController() && request.format == OutputFormat::kSpl)
    return Refused(RequestStatus::kSplWithFdcan, "--format");
  if (!request.dataPhase && !decoding) {
    const char* alone = request.dataSamplePointGiven ? "--data-sample-point"
                        : request.dataToleranceGiven ? "--data-tolerance"
                        : request.dataSjwGiven       ? "--data-sjw"
                                                     : nullptr;
    if (alone != nullptr) return Refused(RequestStatus::kDataOptionWithoutDataRate, alone);
  }
  // A decoded row uses the clock, the rates as the error's reference, the bus options
  // for its tolerance and longest bus, and the format: what only narrows a search is
  // refused rather than silently dropped.
  if (decoding) {
    const char* unused = request.samplePointGiven       ? "--sample-point"
                         : request.toleranceGiven       ? "--tolerance"
                         : request.minTolerance >= 0    ? "--min-tolerance"
                         : request.dataSamplePointGiven ? "--data-sample-point"
                         : request.dataToleranceGiven   ? "--data-tolerance"
                                                        : nullptr;
    if (unused != nullptr) return Refused(RequestStatus::kSearchOptionWithDecode, unused, decodeName);
  }
  return RequestCheck{};
}

}  // namespace

namespace {
const char* decodeName(const Request& request) { return request.decode ? "--decode" : "--decode-data"; }
}  // namespace

uint32_t ReservedBitsOf(const ControllerEntry* controller, bool data, uint32_t value) {
  if (controller == &BxCanController()) return DecodeBxCanBitTiming(value).reservedBits;
  return data ? DecodeDataBitTiming(value).reservedBits : DecodeNominalBitTiming(value).reservedBits;
}

std::string ReservedBitsText(uint32_t bits) {
  const bool one = (bits & (bits - 1)) == 0;
  return (one ? "reserved bit " : "reserved bits ") + BitList(bits) + (one ? " is set" : " are set");
}

RequestCheck CheckRequest(Request& request, MissingInput missing) {
  if (request.listControllers) return RequestCheck{};
  const bool decoding = request.decode || request.decodeData;
  if (missing == MissingInput::kRefuse) {
    // The clock first: with both fields empty only its message shows, as in the window.
    if (!request.clockGiven) return Refused(RequestStatus::kClockMissing);
    // A decode without a rate shows "-" for the error; a search cannot do without one.
    if (!request.rateGiven && !decoding) return Refused(RequestStatus::kRateMissing);
  }
  if (request.decode) {
    const uint32_t bits = ReservedBitsOf(request.controller, false, request.decodeValue);
    if (bits != 0) return ReservedBitsSet(RequestStatus::kReservedBits, bits);
  }
  if (request.decodeData) {
    const uint32_t bits = ReservedBitsOf(&FdcanController(), true, request.decodeDataValue);
    if (bits != 0) return ReservedBitsSet(RequestStatus::kDataReservedBits, bits);
  }
  const RequestCheck combination = CheckCombination(request);
  if (combination.status != RequestStatus::kReady) return combination;
  if (!HasForm(*request.controller, request.format)) {
    RequestCheck check = Refused(RequestStatus::kFormNotForController, "--format");
    check.controller = request.controller;
    check.format = request.format;
    return check;
  }
  if (!KeepsOlderForm(*request.controller)) {
    if (decoding) return Refused(RequestStatus::kDecodeWithController, decodeName(request));
    if (!request.clockGiven && request.controller->fixedClockKHz != 0) request.clockKHz = request.controller->fixedClockKHz;
  }
  if (request.dataPhase && !request.dataSamplePointGiven) request.dataMinSamplePoint = request.minSamplePoint;
  if (request.dataPhase && !request.dataToleranceGiven) request.dataTolerancePercent = request.tolerancePercent;
  return RequestCheck{};
}

std::string RefusalLine(const RequestCheck& check) {
  const std::string option = check.option != nullptr ? check.option : "";
  const std::string decode = check.decodeOption != nullptr ? check.decodeOption : "";
  switch (check.status) {
    case RequestStatus::kReady: return "";
    case RequestStatus::kClockMissing: return "the clock is missing";
    case RequestStatus::kRateMissing: return "the rate is missing";
    case RequestStatus::kReservedBits:
    case RequestStatus::kDataReservedBits: return ReservedBitsText(check.bits);
    case RequestStatus::kBestWithDecode:
      return option + " and " + decode + " do not go together: a decoded value is one setting already";
    case RequestStatus::kSjwWithDecode:
      return option + " and " + decode + " do not go together: the decoded value holds its own SJW";
    case RequestStatus::kDataRateWithoutDecodeData:
      return "--data-rate needs --decode-data: the error of --decode is against --rate";
    case RequestStatus::kRateWithoutDecode:
      return "--rate needs --decode: the error of --decode-data is against --data-rate";
    case RequestStatus::kSplWithFdcan:
      return "--format spl has no FDCAN form: the Standard Peripheral Library predates FDCAN (use hal)";
    case RequestStatus::kDataOptionWithoutDataRate: return option + " needs --data-rate";
    case RequestStatus::kSearchOptionWithDecode:
      return option + " and " + decode + " do not go together: a decode searches nothing, so nothing is left out";
    case RequestStatus::kSettingOutsideRanges: return "the setting lies outside the controller's ranges";
    case RequestStatus::kFormNotForController:
      return "--format " + std::string(FormatName(check.format)) + " is no form of " + check.controller->name +
             ": its forms are " + FormNames(*check.controller);
    case RequestStatus::kDecodeWithController: return option + " reads bxCAN and FDCAN values only, not yet this controller's";
  }
  return "";
}

const char* StatusName(int status) {
  static const char* const kNames[] = {
      "ready",
      "clock-missing",
      "rate-missing",
      "reserved-bits",
      "data-reserved-bits",
      "best-with-decode",
      "sjw-with-decode",
      "data-rate-without-decode-data",
      "rate-without-decode",
      "spl-with-fdcan",
      "data-option-without-data-rate",
      "search-option-with-decode",
      "setting-outside-ranges",
      "form-not-for-controller",
      "decode-with-controller",
  };
  static_assert(sizeof kNames / sizeof kNames[0] ==
                    static_cast<int>(RequestStatus::kDecodeWithController) + 1,
                "a name for every status");
  if (status < 0 || status >= static_cast<int>(sizeof kNames / sizeof kNames[0])) return "unknown";
  return kNames[status];
}

RequestStatus StatusOf(InputCheck check) {
  switch (check) {
    case InputCheck::kReady: return RequestStatus::kReady;
    case InputCheck::kClockMissing: return RequestStatus::kClockMissing;
    case InputCheck::kRateMissing: return RequestStatus::kRateMissing;
  }
  return RequestStatus::kReady;
}
