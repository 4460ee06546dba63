#include "answers/request_check.h"

#include "answers/register_text.h"
#include "calc/bxcan_register.h"
#include "calc/fdcan_timing.h"

#include <cstring>

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

// data: the line names the data phase's registers ("mcan's data phase").
RequestCheck RegisterRefused(RequestStatus status, const char* option, const ControllerEntry& controller,
                             const std::string& subject, const std::string& detail, bool data = false) {
  RequestCheck check = Refused(status, option);
  check.controller = std::string(controller.name) + (data ? "'s data phase" : "");
  check.subject = subject;
  check.detail = detail;
  return check;
}

// "CNF1, CNF2, CNF3": the phase's registers.
std::string RegisterNames(const PhaseLimits& limits) {
  std::string names;
  for (int32_t i = 0; i < limits.registerCount; ++i) names += (i > 0 ? ", " : "") + std::string(limits.registers[i]->name);
  return names;
}

// The fields that hold role's length in the phase's registers ("TSEG1", "BRP and BRPE")
// and the index of the register that holds its lowest part; -1 when none does.
int32_t HolderOf(const PhaseLimits& limits, FieldRole role, std::string& fields) {
  int32_t holder = -1;
  for (int32_t i = 0; i < limits.registerCount; ++i) {
    const Register& reg = *limits.registers[i];
    for (int k = 0; k < reg.fieldCount; ++k) {
      if (reg.fields[k].role != role) continue;
      fields += (fields.empty() ? "" : " and ") + std::string(reg.fields[k].name);
      if (holder < 0 || reg.fields[k].valueShift == 0) holder = i;
    }
  }
  return holder;
}

// The lengths that the phase's registers hold, each within the controller's limits,
// and every fixed field holding its value. entries[i] is the entry of registers[i].
RequestCheck CheckDecodedFields(const ControllerEntry& controller, const PhaseLimits& limits, const char* option,
                                const uint32_t* values, const RegisterEntry* const* entries) {
  for (int32_t i = 0; i < limits.registerCount; ++i) {
    const Register& reg = *limits.registers[i];
    for (int k = 0; k < reg.fieldCount; ++k) {
      const RegisterField& field = reg.fields[k];
      const uint32_t held = (values[i] & FieldMask(field)) >> field.firstBit;
      if (field.role != FieldRole::kFixed || held == field.fixedValue) continue;
      return RegisterRefused(RequestStatus::kFieldOutOfRange, option, controller, entries[i]->text,
                             std::string(field.name) + " is " + std::to_string(held) + ": " + controller.name +
                                 " needs " + std::to_string(field.fixedValue));
    }
  }
  const BitTimingLengths lengths = DecodeRegisterSet(values, limits.registers, limits.registerCount);
  const bool split = limits.prop.first <= limits.prop.last;
  // Where seg1 is kept in two fields, prop and phase1 name it and are checked too.
  const struct {
    FieldRole role;
    FieldRole alsoRole;  // the second field that gives the length: seg1 split
    const char* what;
    int32_t length;
    FieldRange range;
    int32_t step;
    bool splitOnly;
  } checks[] = {
      {FieldRole::kPrescaler, FieldRole::kPrescaler, "prescaler", lengths.prescaler, limits.prescaler, limits.prescalerStep, false},
      {split ? FieldRole::kProp : FieldRole::kSeg1, split ? FieldRole::kPhase1 : FieldRole::kSeg1, "seg1", lengths.seg1,
       limits.seg1, 1, false},
      {FieldRole::kSeg2, FieldRole::kSeg2, "seg2", lengths.seg2, limits.seg2, 1, false},
      {FieldRole::kSjw, FieldRole::kSjw, "SJW", lengths.sjw, limits.sjw, 1, false},
      {FieldRole::kProp, FieldRole::kProp, "prop", lengths.prop, limits.prop, 1, true},
      {FieldRole::kPhase1, FieldRole::kPhase1, "phase1", lengths.phase1, limits.phase1, 1, true},
  };
  for (const auto& c : checks) {
    if (c.splitOnly && !split) continue;
    if (c.length >= c.range.first && c.length <= c.range.last && (c.length - c.range.first) % c.step == 0) continue;
    std::string fields;
    int32_t holder = HolderOf(limits, c.role, fields);
    if (c.alsoRole != c.role) HolderOf(limits, c.alsoRole, fields);
    if (holder < 0) holder = 0;
    std::string range = std::to_string(c.range.first) + " to " + std::to_string(c.range.last);
    if (c.step > 1) range += " in steps of " + std::to_string(c.step);
    const bool several = fields.find(" and ") != std::string::npos;
    const std::string length = std::string(c.what) + " " + std::to_string(c.length) +
                               (c.role == FieldRole::kPrescaler ? "" : " tq");
    return RegisterRefused(RequestStatus::kFieldOutOfRange, option, controller, entries[holder]->text,
                           fields + (several ? " give " : " gives ") + length + ", outside " + controller.name +
                               "'s " + range);
  }
  return RequestCheck{};
}

// One phase's register values as given: each named register of the phase once, within
// its bits and without reserved bits, then all of them there; a bare value stands for
// the phase's one register. Fills values[] in the order of limits.registers. The
// fields are checked against the limits only for the table controllers (fieldsToo):
// bxCAN's and FDCAN's values decode as they always have, warnings and all.
RequestCheck ReadRegisterEntries(const ControllerEntry& controller, const PhaseLimits& limits, const char* option,
                                 const std::vector<RegisterEntry>& entries, bool fieldsToo, uint32_t* values) {
  const bool data = &limits == &controller.data;
  const int32_t count = limits.registers == nullptr ? 0 : limits.registerCount;
  if (count == 0) {
    const bool custom = std::strncmp(controller.name, "custom:", 7) == 0;
    return RegisterRefused(RequestStatus::kDecodeWithoutRegisters, option, controller,
                           custom ? "a custom: controller" : controller.name,
                           custom ? "" : " (the Linux driver sets its timing)");
  }
  const RegisterEntry* given[kMaxPhaseRegisters] = {};
  for (const RegisterEntry& entry : entries) {
    int32_t index = -1;
    if (entry.name.empty() && entries.size() == 1) {
      if (count > 1)
        return RegisterRefused(RequestStatus::kBareValueWithRegisters, option, controller, entry.text,
                               RegisterNames(limits));
      index = 0;
    }
    for (int32_t i = 0; i < count && index < 0; ++i)
      if (entry.name == limits.registers[i]->name) index = i;
    // The name is letters, digits and "_" (the reader's), but of any length: the line
    // shows its first 40, as values are echoed.
    if (index < 0)
      return RegisterRefused(RequestStatus::kUnknownRegister, option, controller,
                             entry.name.size() <= 40 ? entry.name : entry.name.substr(0, 40) + "\xE2\x80\xA6",
                             RegisterNames(limits), data);
    const Register& reg = *limits.registers[index];
    if (given[index] != nullptr) return RegisterRefused(RequestStatus::kRegisterTwice, option, controller, reg.name, "");
    given[index] = &entry;
    if (reg.bits < 32 && (entry.value >> reg.bits) != 0)
      return RegisterRefused(RequestStatus::kRegisterTooWide, option, controller, entry.text,
                             std::string(reg.name) + " has " + std::to_string(reg.bits) + " bits");
    const uint32_t reserved = entry.value & ReservedBits(reg);
    if (reserved != 0)
      return RegisterRefused(RequestStatus::kRegisterReservedBits, option, controller, entry.text,
                             ReservedBitsText(reserved));
    values[index] = entry.value;
  }
  for (int32_t i = 0; i < count; ++i)
    if (given[i] == nullptr)
      return RegisterRefused(RequestStatus::kMissingRegister, option, controller, limits.registers[i]->name,
                             RegisterNames(limits), data);
  if (!fieldsToo) return RequestCheck{};
  return CheckDecodedFields(controller, limits, option, values, given);
}

// The decoded registers of both phases, where they were given by name or for a table
// controller; bxCAN's and FDCAN's values given by name then stand in decodeValue and
// decodeDataValue as a bare value would.
RequestCheck CheckDecodedRegisters(Request& request) {
  const ControllerEntry& controller = *request.controller;
  const bool older = KeepsOlderForm(controller);
  const struct {
    bool given;
    const char* option;
    const PhaseLimits* limits;
    const std::vector<RegisterEntry>* entries;
    uint32_t* values;
    uint32_t* olderValue;
  } phases[] = {
      {request.decode && !request.decodeEntries.empty(), "--decode", &controller.nominal, &request.decodeEntries,
       request.decodeValues, &request.decodeValue},
      {request.decodeData && !request.decodeDataEntries.empty(), "--decode-data", &controller.data,
       &request.decodeDataEntries, request.decodeDataValues, &request.decodeDataValue},
  };
  for (const auto& phase : phases) {
    if (!phase.given) continue;
    const RequestCheck check =
        ReadRegisterEntries(controller, *phase.limits, phase.option, *phase.entries, !older, phase.values);
    if (check.status != RequestStatus::kReady) return check;
    if (older) *phase.olderValue = phase.values[0];
  }
  return RequestCheck{};
}

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
  const RequestCheck registers = CheckDecodedRegisters(request);
  if (registers.status != RequestStatus::kReady) return registers;
  if (request.decode && KeepsOlderForm(*request.controller)) {
    const uint32_t bits = ReservedBitsOf(request.controller, false, request.decodeValue);
    if (bits != 0) return ReservedBitsSet(RequestStatus::kReservedBits, bits);
  }
  if (request.decodeData && KeepsOlderForm(*request.controller)) {
    const uint32_t bits = ReservedBitsOf(&FdcanController(), true, request.decodeDataValue);
    if (bits != 0) return ReservedBitsSet(RequestStatus::kDataReservedBits, bits);
  }
  const RequestCheck combination = CheckCombination(request);
  if (combination.status != RequestStatus::kReady) return combination;
  if (!KeepsOlderForm(*request.controller)) {
    if (request.format == OutputFormat::kHal || request.format == OutputFormat::kSpl)
      return Refused(RequestStatus::kFormWithController, "--format");
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
    case RequestStatus::kFormWithController:
      return "--format hal and spl are ST's forms: for this controller use table, tsv, csv or json";
    case RequestStatus::kDecodeWithoutRegisters:
      return option + " reads a controller's registers: " + check.subject + " has none" + check.detail;
    case RequestStatus::kUnknownRegister:
      return option + ": " + check.subject + " is no register of " + check.controller + " (it has " + check.detail + ")";
    case RequestStatus::kRegisterTwice: return option + " gives " + check.subject + " twice";
    case RequestStatus::kMissingRegister:
      return option + " needs " + check.subject + " too: " + check.controller + " keeps its setting in " + check.detail;
    case RequestStatus::kBareValueWithRegisters:
      return "invalid value " + check.subject + " for " + option + ": " + check.controller + " keeps its setting in " +
             check.detail + ", given as NAME=VALUE pairs joined by commas";
    case RequestStatus::kRegisterTooWide:
    case RequestStatus::kRegisterReservedBits:
    case RequestStatus::kFieldOutOfRange: return "invalid value " + check.subject + " for " + option + ": " + check.detail;
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
      "form-with-controller",
      "decode-without-registers",
      "unknown-register",
      "register-twice",
      "missing-register",
      "bare-value-with-registers",
      "register-too-wide",
      "register-reserved-bits",
      "field-out-of-range",
  };
  static_assert(sizeof kNames / sizeof kNames[0] == static_cast<int>(RequestStatus::kFieldOutOfRange) + 1,
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
