#include "answers/request/request_check.h"

#include "answers/request/code_forms.h"
#include "answers/request/echoed_value.h"
#include "answers/request/register_entries.h"
#include "answers/text/register_text.h"
#include "calc/bxcan_register.h"
#include "calc/custom_controller.h"
#include "calc/fdcan_timing.h"
#include "calc/text.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// ASCII letters compared without their case; a register's name has no other letters.
bool SameIgnoringCase(const std::string& given, const char* name) {
  const std::size_t length = std::strlen(name);
  if (given.size() != length) return false;
  for (std::size_t k = 0; k < length; ++k) {
    const char a = given[k] >= 'a' && given[k] <= 'z' ? static_cast<char>(given[k] - 'a' + 'A') : given[k];
    const char b = name[k] >= 'a' && name[k] <= 'z' ? static_cast<char>(name[k] - 'a' + 'A') : name[k];
    if (a != b) return false;
  }
  return true;
}

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
  // A controller with ST's HAL form but not SPL (FDCAN): the line says which library.
  if (request.format == OutputFormat::kSpl && HasForm(*request.controller, OutputFormat::kHal) &&
      !HasForm(*request.controller, OutputFormat::kSpl))
    return Refused(RequestStatus::kSplWithFdcan, "--format");
  if (!request.dataPhase && !decoding) {
    const char* alone = request.dataSamplePointGiven ? "--data-sample-point"
                        : request.dataTargetSamplePoint >= 0 ? "--data-target-sample-point"
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

// The clock is whole kHz in a signed 32-bit integer: below 2147483.648 MHz.
constexpr int64_t kClockLimitKHz = int64_t{2147483647} + 1;

RequestCheck NodeRefused(RequestStatus status, int index, const std::string& detail) {
  RequestCheck check = Refused(status);
  check.nodeIndex = index;
  check.detail = detail;
  return check;
}

// A node's controller refused: the piece of its text that does not read goes between
// lead and detail, echoed by the face (it may hold any bytes, at any length).
RequestCheck NodePartRefused(int index, const std::string& lead, const std::string& part, const std::string& detail) {
  RequestCheck check = NodeRefused(RequestStatus::kNodeController, index, detail);
  check.detailLead = lead;
  check.nodePart = part;
  return check;
}

// A node option's whole number from first to last, as the options' own are read
// (answers/request/option_text.h reads them, and reads through this file).
bool ReadNodeNumber(const std::string& text, int32_t first, int32_t last, int32_t& number) {
  uint64_t n = 0;
  const char* begin = text.c_str();
  const NumberRead read = ReadUnsigned(begin, begin + text.size(), 10, static_cast<uint64_t>(last) + 1, n);
  if (text.empty() || read.error != NumberError::kNone || *read.end != 0 || n > static_cast<uint64_t>(last) ||
      n < static_cast<uint64_t>(first))
    return false;
  number = static_cast<int32_t>(n);
  return true;
}

bool IsNameCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

// A range as the refusals say it: "1 to 16", "2 to 128 in steps of 2".
std::string RangeWords(FieldRange range, int32_t step) {
  std::string words = std::to_string(range.first) + " to " + std::to_string(range.last);
  if (step > 1) words += " in steps of " + std::to_string(step);
  return words;
}

// PRESCALER/SEG1/SEG2, three whole numbers, into setting; whether they read.
bool ReadFixedSetting(const std::string& text, FixedSetting& setting) {
  int32_t* const parts[] = {&setting.prescaler, &setting.seg1, &setting.seg2};
  std::size_t start = 0;
  for (int i = 0; i < 3; ++i) {
    const std::size_t slash = text.find('/', start);
    if ((slash == std::string::npos) != (i == 2)) return false;
    const std::string part = text.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
    if (!ReadNodeNumber(part, 0, INT32_MAX, *parts[i])) return false;
    start = slash + 1;
  }
  setting.fixed = true;
  return true;
}

// A node fixed by its registers reads them as --decode does, through these (below).
RequestCheck ReadRegisterEntries(const ControllerEntry& controller, const PhaseLimits& limits, const char* option,
                                 const std::vector<RegisterEntry>& entries, bool fieldsToo, uint32_t* values);
std::string RegisterNames(const PhaseLimits& limits);

// A node's registers= (data: dregisters=), the phase's register values as --decode
// takes them but with "/" between the NAME=VALUE pairs (commas part the node's
// options), into setting and sjw (the registers' own); why not, or "" when they read.
// The registers are held to what a decode is held to: every register of the phase,
// no reserved bit, each field's length within the controller's limits.
std::string FixedRegistersProblem(const ControllerEntry& controller, bool data, const std::string& text,
                                  FixedSetting& setting, int32_t& sjw) {
  const std::string key = data ? "dregisters=" : "registers=";
  const PhaseLimits& limits = PhaseLimitsOf(controller, data);
  std::string pairs = text;
  std::replace(pairs.begin(), pairs.end(), '/', ',');
  std::vector<RegisterEntry> entries;
  const std::string problem = RegisterEntriesProblem(pairs.c_str(), entries);
  if (problem.compare(0, 4, "not ") == 0)
    return key + " is not a register value in hex (0x...) or decimal, nor NAME=VALUE pairs joined by /";
  if (!problem.empty()) return key + ": " + problem;
  if (entries.size() == 1 && entries[0].name.empty() && limits.registers != nullptr && limits.registerCount > 1)
    return key + " " + ShortenedName(controller.name) + (data ? "'s data phase" : "") + " keeps its setting in " +
           RegisterNames(limits) + ", given as NAME=VALUE pairs joined by /";
  uint32_t values[kMaxPhaseRegisters] = {};
  const RequestCheck check = ReadRegisterEntries(controller, limits, key.c_str(), entries, true, values);
  if (check.status != RequestStatus::kReady) return RefusalLine(check);
  const BitTimingLengths lengths = DecodeRegisterSet(values, limits.registers, limits.registerCount);
  setting.fixed = true;
  setting.prescaler = lengths.prescaler;
  setting.seg1 = lengths.seg1;
  setting.seg2 = lengths.seg2;
  setting.registers = text;
  sjw = lengths.sjw;
  return "";
}

// Why a node's fixed setting of a phase is none its controller's search would walk
// (FitOfSetting: the same ranges, step and pair filter), or "" when it is one: the
// node's own SJW, where it gives one, must fit the setting as it must fit a listed row
// (given by registers, the SJW is theirs).
std::string FixedSettingProblem(const PlanNode& node, bool data) {
  const FixedSetting& setting = data ? node.dataSetting : node.setting;
  if (!setting.fixed) return "";
  const PhaseLimits& limits = PhaseLimitsOf(*node.controller, data);
  const int32_t sjw = data ? node.dataSjw : node.sjw;
  const bool byRegisters = !setting.registers.empty();
  const std::string key = byRegisters ? (data ? "dregisters=" : "registers=") : (data ? "dsetting=" : "setting=");
  const std::string owner = ShortenedName(node.controller->name) + (data ? "'s data-phase " : "'s ");
  const std::string pair = " seg1 " + std::to_string(setting.seg1) + " with seg2 " + std::to_string(setting.seg2);
  switch (FitOfSetting(PhaseQuestion{&limits, sjw}, setting.prescaler, setting.seg1, setting.seg2)) {
    case SettingFit::kFits:
      return "";
    case SettingFit::kPrescaler:
      return key + " prescaler " + std::to_string(setting.prescaler) + " is outside " + owner +
             RangeWords(limits.prescaler, limits.prescalerStep);
    case SettingFit::kSeg1:
      return key + " seg1 " + std::to_string(setting.seg1) + " is outside " + owner + RangeWords(limits.seg1, 1);
    case SettingFit::kSeg2:
      return key + " seg2 " + std::to_string(setting.seg2) + " is outside " + owner + RangeWords(limits.seg2, 1);
    case SettingFit::kRules:
      return key + pair + " breaks " + owner + "rules (--controller list gives them)";
    case SettingFit::kSjw:
      if (byRegisters)
        return key + pair + " takes an SJW of at most " +
               std::to_string(WidestSjw(limits, setting.seg1, setting.seg2)) + "; the registers hold " +
               std::to_string(sjw);
      return key + pair + " takes an SJW of at most " + std::to_string(WidestSjw(limits, setting.seg1, setting.seg2)) +
             ", below " + (data ? "dsjw=" : "sjw=") + std::to_string(sjw);
  }
  return "";
}

// A phase fixed twice over: by its setting and by its registers.
std::string BothFixed(bool data) {
  return data ? "dsetting= and dregisters= both fix the data setting: give one"
              : "setting= and registers= both fix the setting: give one";
}

// One --node text, NAME=CONTROLLER@MHZ, into node. The name ends at the first "=" (a
// name holds none) and the clock starts after the last "@" (a custom: controller's
// ranges hold "=" but no "@").
RequestCheck ReadNode(const std::string& text, int index, PlanNode& node) {
  const std::size_t equals = text.find('=');
  const std::size_t at = text.rfind('@');
  if (equals == std::string::npos || at == std::string::npos || at < equals || equals == 0 || at == equals + 1 ||
      at + 1 == text.size())
    return NodeRefused(RequestStatus::kNodeMalformed, index, "");
  node.name = text.substr(0, equals);
  for (char c : node.name) {
    if (!IsNameCharacter(c)) return NodeRefused(RequestStatus::kNodeName, index, "");
  }
  const std::string controller = text.substr(equals + 1, at - equals - 1);
  if (controller.compare(0, 7, "custom:") == 0) {
    // The entry's name points into the text it was read from, so the two live together:
    // the node's pointer shares the pair (a copy of the text alone would leave the name
    // pointing into a freed string).
    struct CustomNode {
      std::string text;
      ControllerEntry entry{};
    };
    const auto custom = std::make_shared<CustomNode>();
    custom->text = controller;
    const CustomParse parse = ParseCustomController(custom->text.c_str(), custom->entry);
    if (parse.problem != CustomProblem::kNone)
      return NodePartRefused(index, "", std::string(parse.part, static_cast<std::size_t>(parse.partLength)),
                             std::string(": ") + CustomProblemText(parse.problem));
    node.customController = std::shared_ptr<const ControllerEntry>(custom, &custom->entry);
    node.controller = node.customController.get();
  } else {
    node.controller = FindController(controller.c_str());
    if (node.controller == nullptr)
      return NodePartRefused(index, "unknown controller ", controller, " (--controller list shows the names)");
  }
  // The clock, then the node's own options: ",sjw=N", ",dsjw=N", ",ppm=N", ",form=FORM",
  // ",setting=P/S1/S2", ",dsetting=P/S1/S2", ",registers=VALUES", ",dregisters=VALUES",
  // each once, a phase fixed by one of its two.
  int32_t registerSjw[2] = {0, 0};
  const std::string rest = text.substr(at + 1);
  const std::size_t comma = rest.find(',');
  const std::string clock = rest.substr(0, comma);
  if (const char* problem = ClockProblem(clock.c_str(), node.clockKHz))
    return NodeRefused(RequestStatus::kNodeClock, index, problem);
  std::size_t start = comma;
  while (start != std::string::npos) {
    const std::size_t end = rest.find(',', start + 1);
    const std::string option = rest.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
    start = end;
    const std::size_t equals = option.find('=');
    const std::string key = option.substr(0, equals);
    const std::string value = equals == std::string::npos ? std::string() : option.substr(equals + 1);
    if (key == "sjw" || key == "dsjw") {
      const bool data = key == "dsjw";
      if (data && !node.controller->fd)
        return NodeRefused(RequestStatus::kNodeClock, index, "dsjw= is for an FD controller's data phase");
      int32_t& sjw = data ? node.dataSjw : node.sjw;
      const FieldRange range = PhaseLimitsOf(*node.controller, data).sjw;
      if (sjw != 0) return NodeRefused(RequestStatus::kNodeClock, index, key + "= is given twice");
      if (!ReadNodeNumber(value, range.first, range.last, sjw))
        return NodeRefused(RequestStatus::kNodeClock, index,
                           key + "= is not a whole number of quanta from " + std::to_string(range.first) + " to " +
                               std::to_string(range.last));
    } else if (key == "ppm") {
      if (node.ppm >= 0) return NodeRefused(RequestStatus::kNodeClock, index, "ppm= is given twice");
      if (!ReadNodeNumber(value, 0, kMaxClockAccuracyPpm, node.ppm))
        return NodeRefused(RequestStatus::kNodeClock, index,
                           "ppm= is not a whole number of ppm from 0 to " + std::to_string(kMaxClockAccuracyPpm));
    } else if (key == "form") {
      if (node.formGiven) return NodeRefused(RequestStatus::kNodeClock, index, "form= is given twice");
      if (!FormatNamed(value.c_str(), node.form) || !IsCodeFormat(node.form))
        return NodeRefused(RequestStatus::kNodeClock, index,
                           "form= is not a code form (registers, linux, zephyr, python-can, hal, spl, esp-idf or sdk)");
      if (!HasForm(*node.controller, node.form))
        return NodeRefused(RequestStatus::kNodeClock, index,
                           "form= " + value + " is no form of " + ShortenedName(node.controller->name) + " (it has " +
                               FormNames(*node.controller) + ")");
      node.formGiven = true;
    } else if (key == "setting" || key == "dsetting") {
      const bool data = key == "dsetting";
      if (data && !node.controller->fd)
        return NodeRefused(RequestStatus::kNodeClock, index, "dsetting= is for an FD controller's data phase");
      FixedSetting& setting = data ? node.dataSetting : node.setting;
      if (!setting.registers.empty()) return NodeRefused(RequestStatus::kNodeClock, index, BothFixed(data));
      if (setting.fixed) return NodeRefused(RequestStatus::kNodeClock, index, key + "= is given twice");
      if (!ReadFixedSetting(value, setting))
        return NodeRefused(RequestStatus::kNodeClock, index,
                           key + "= is not PRESCALER/SEG1/SEG2, three whole numbers (e.g. 6/11/2)");
    } else if (key == "registers" || key == "dregisters") {
      const bool data = key == "dregisters";
      if (data && !node.controller->fd)
        return NodeRefused(RequestStatus::kNodeClock, index, "dregisters= is for an FD controller's data phase");
      FixedSetting& setting = data ? node.dataSetting : node.setting;
      if (!setting.registers.empty()) return NodeRefused(RequestStatus::kNodeClock, index, key + "= is given twice");
      if (setting.fixed) return NodeRefused(RequestStatus::kNodeClock, index, BothFixed(data));
      const std::string problem = FixedRegistersProblem(*node.controller, data, value, setting, registerSjw[data]);
      if (!problem.empty()) return NodeRefused(RequestStatus::kNodeClock, index, problem);
    } else {
      return NodeRefused(RequestStatus::kNodeClock, index,
                         "unknown node option " + EchoedValue(key.c_str()) +
                             " (a node takes sjw=, dsjw=, ppm=, form=, setting=, dsetting=, registers= and "
                             "dregisters=)");
    }
  }
  // Registers hold their SJW: a node's sjw= (dsjw=) beside them must say the same.
  for (const bool data : {false, true}) {
    if ((data ? node.dataSetting : node.setting).registers.empty()) continue;
    int32_t& sjw = data ? node.dataSjw : node.sjw;
    const int32_t held = registerSjw[data];
    if (sjw != 0 && sjw != held)
      return NodeRefused(RequestStatus::kNodeClock, index,
                         std::string(data ? "dsjw=" : "sjw=") + std::to_string(sjw) + " is not the SJW " +
                             std::to_string(held) + " that " + (data ? "dregisters=" : "registers=") + " holds");
    sjw = held;
  }
  // A fixed setting is checked once every option is read: sjw= may come after it.
  for (const bool data : {false, true}) {
    const std::string problem = FixedSettingProblem(node, data);
    if (!problem.empty()) return NodeRefused(RequestStatus::kNodeClock, index, problem);
  }
  return RequestCheck{};
}

// What a plan does not take: the bus gives each node its controller and clock, and
// the plan is one setting per node, each with its controller's widest SJW.
const char* OptionOutsidePlan(const Request& request) {
  if (!request.controller->traits.isDefault || request.customController != nullptr) return "--controller";
  if (request.clockGiven) return "--clock";
  if (request.sjwGiven) return "--sjw";
  if (request.dataSjwGiven) return "--data-sjw";
  if (request.best) return "--best";
  if (request.decode) return "--decode";
  if (request.decodeData) return "--decode-data";
  if (request.wide) return "--wide";
  return nullptr;
}

// The plan's request: its nodes read, what does not go with it refused.
RequestCheck CheckPlan(Request& request) {
  if (!request.plan) {
    if (!request.nodeTexts.empty()) return Refused(RequestStatus::kNodeWithoutPlan, "--node");
    if (request.spreadGiven) return Refused(RequestStatus::kNodeWithoutPlan, "--sample-point-spread");
    if (request.clockAccuracyGiven) return Refused(RequestStatus::kNodeWithoutPlan, "--clock-accuracy");
    // A best setting is the nearest its target among equal errors; a listing has no use for one.
    if (request.targetSamplePoint >= 0 && !request.best)
      return Refused(RequestStatus::kTargetWithoutBest, "--target-sample-point");
    if (request.dataTargetSamplePoint >= 0 && !request.best)
      return Refused(RequestStatus::kTargetWithoutBest, "--data-target-sample-point");
    return RequestCheck{};
  }
  if (const char* option = OptionOutsidePlan(request)) return Refused(RequestStatus::kPlanOption, option);
  // tsv and csv are one row a line under one header: a plan's node table, its data
  // table and its bus figures do not fit that.
  if (request.format == OutputFormat::kTsv || request.format == OutputFormat::kCsv)
    return Refused(RequestStatus::kPlanFormat, "--format");
  // The limit is counted before a node is read, so that a request of thousands costs
  // nothing more than this line (the planner's work grows with the nodes' settings).
  if (request.nodeTexts.size() > static_cast<std::size_t>(kMaxPlanNodes))
    return NodeRefused(RequestStatus::kPlanManyNodes, -1, std::to_string(request.nodeTexts.size()));
  std::vector<PlanNode> nodes(request.nodeTexts.size());
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    const RequestCheck node = ReadNode(request.nodeTexts[i], static_cast<int>(i), nodes[i]);
    if (node.status != RequestStatus::kReady) return node;
    for (std::size_t j = 0; j < i; ++j) {
      if (nodes[j].name == nodes[i].name)
        return NodeRefused(RequestStatus::kNodeRepeated, static_cast<int>(i), ShortenedName(nodes[i].name));
    }
  }
  if (nodes.size() < 2) return Refused(RequestStatus::kPlanFewNodes);
  // A classic controller answers an FD frame's bit-rate switch with an error frame.
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    if (!request.dataPhase && nodes[i].dataSetting.fixed)
      return NodeRefused(RequestStatus::kNodeClock, static_cast<int>(i),
                         "dsetting= needs --data-rate: without it the bus has no data phase");
    if (request.dataPhase && !nodes[i].controller->fd)
      return NodeRefused(RequestStatus::kPlanClassicNode, static_cast<int>(i),
                         ShortenedName(nodes[i].name) + " (" + ShortenedName(nodes[i].controller->name) + ")");
  }
  request.nodes = nodes;
  return RequestCheck{};
}

}  // namespace

const char* ClockProblem(const char* text, int32_t& kHz) {
  int64_t scaled = 0;
  const NumberRead read = ReadScaled(text, text + std::strlen(text), 3, scaled);
  if (read.error == NumberError::kNoNumber || *read.end != 0) return "not a decimal number";
  if (read.error == NumberError::kTooManyDecimals) return "more than three decimals";
  if (*text == '-' || scaled == 0) return "the clock must be above 0 MHz";
  if (read.error == NumberError::kOutOfRange || scaled >= kClockLimitKHz) return "the clock must be below 2147483.648 MHz";
  kHz = static_cast<int32_t>(scaled);
  return nullptr;
}

const char* RateProblem(const char* text, float& rate) {
  double exact = 0.0;
  const NumberRead read = ReadDouble(text, text + std::strlen(text), exact);
  if (read.error == NumberError::kNoNumber || *read.end != 0) return "not a number";
  const float rounded = static_cast<float>(exact);
  // Digits that are not all zeros but read as 0 were too small to store, not zero.
  const bool nonZero = exact != 0.0 || read.error == NumberError::kOutOfRange;
  if (rounded == 0.0f && nonZero && !std::signbit(exact))
    return "too small to store as a float (the smallest rate is 1.4e-45 Kbps)";
  if (!(rounded > 0.0f)) return "the rate must be above 0 Kbps";
  if (std::isinf(rounded)) return "the rate is too large for a float";
  rate = rounded;
  return nullptr;
}

namespace {

// data: the line names the data phase's registers ("mcan's data phase").
RequestCheck RegisterRefused(RequestStatus status, const char* option, const ControllerEntry& controller,
                             const std::string& subject, const std::string& detail, bool data = false) {
  RequestCheck check = Refused(status, option);
  check.controllerName = std::string(controller.name) + (data ? "'s data phase" : "");
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
  const bool split = IsSplit(limits);
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
    const std::string range = RangeWords(c.range, c.step);
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
    // A register's name in any case: cnf1 is CNF1.
    for (int32_t i = 0; i < count && index < 0; ++i)
      if (SameIgnoringCase(entry.name, limits.registers[i]->name)) index = i;
    // The name is letters, digits and "_" (the reader's), but of any length: the line
    // shows its first 40, as values are echoed.
    if (index < 0)
      return RegisterRefused(RequestStatus::kUnknownRegister, option, controller,
                             ShortenedName(entry.name),
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

// The decoded registers of both phases, where they were given by name or for a
// controller in the plain form; an older form's values given by name are checked for
// their reserved bits after this, as a bare value is.
RequestCheck CheckDecodedRegisters(Request& request) {
  const ControllerEntry& controller = *request.controller;
  const bool older = controller.traits.olderForm;
  const struct {
    bool given;
    const char* option;
    const PhaseLimits* limits;
    const std::vector<RegisterEntry>* entries;
    uint32_t* values;
  } phases[] = {
      {request.decode && !request.decodeEntries.empty(), "--decode", &controller.nominal, &request.decodeEntries,
       request.decodeValues},
      {request.decodeData && !request.decodeDataEntries.empty(), "--decode-data", &controller.data,
       &request.decodeDataEntries, request.decodeDataValues},
  };
  for (const auto& phase : phases) {
    if (!phase.given) continue;
    const RequestCheck check =
        ReadRegisterEntries(controller, *phase.limits, phase.option, *phase.entries, !older, phase.values);
    if (check.status != RequestStatus::kReady) return check;
  }
  return RequestCheck{};
}

}  // namespace

uint32_t ReservedBitsOf(const ControllerEntry* controller, bool data, uint32_t value) {
  return DecodeLengths(value, *PhaseLimitsOf(*controller, data).registers[0]).reservedBits;
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
  if (request.decode && request.controller->traits.olderForm) {
    const uint32_t bits = ReservedBitsOf(request.controller, false, request.decodeValues[0]);
    if (bits != 0) return ReservedBitsSet(RequestStatus::kReservedBits, bits);
  }
  if (request.decodeData && request.controller->traits.olderForm && request.controller->fd) {
    const uint32_t bits = ReservedBitsOf(request.controller, true, request.decodeDataValues[0]);
    if (bits != 0) return ReservedBitsSet(RequestStatus::kDataReservedBits, bits);
  }
  const RequestCheck plan = CheckPlan(request);
  if (plan.status != RequestStatus::kReady) return plan;
  if (request.strict && !request.best && !request.plan) return Refused(RequestStatus::kStrictWithoutBest, "--strict");
  const RequestCheck combination = CheckCombination(request);
  if (combination.status != RequestStatus::kReady) return combination;
  // A plan's form is each node's: a node without it gets its registers form, so the
  // default --controller has no say in it.
  if (!request.plan && !HasForm(*request.controller, request.format)) {
    RequestCheck check = Refused(RequestStatus::kFormNotForController, "--format");
    check.controller = request.controller;
    check.format = request.format;
    return check;
  }
  if (!request.clockGiven && request.controller->fixedClockKHz != 0) request.clockKHz = request.controller->fixedClockKHz;
  if (request.dataPhase && !request.dataSamplePointGiven) request.dataMinSamplePoint = request.minSamplePoint;
  if (request.dataPhase && !request.dataToleranceGiven) request.dataToleranceHundredths = request.toleranceHundredths;
  return RequestCheck{};
}
