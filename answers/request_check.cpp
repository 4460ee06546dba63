#include "answers/request_check.h"

#include "answers/code_forms.h"
#include "answers/register_text.h"
#include "calc/bxcan_register.h"
#include "calc/custom_controller.h"
#include "calc/fdcan_timing.h"
#include "calc/text.h"

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

// The clock is whole kHz in a signed 32-bit integer: below 2147483.648 MHz.
constexpr int64_t kClockLimitKHz = int64_t{2147483647} + 1;

RequestCheck NodeRefused(RequestStatus status, int index, const std::string& detail) {
  RequestCheck check = Refused(status);
  check.nodeIndex = index;
  check.detail = detail;
  return check;
}

bool IsNameCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
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
    ControllerEntry custom{};
    const CustomParse parse = ParseCustomController(controller.c_str(), custom);
    if (parse.problem != CustomProblem::kNone)
      return NodeRefused(RequestStatus::kNodeController, index,
                         std::string(parse.part, static_cast<std::size_t>(parse.partLength)) + ": " +
                             CustomProblemText(parse.problem));
    node.customController = std::make_shared<const ControllerEntry>(custom);
    node.controller = node.customController.get();
  } else {
    node.controller = FindController(controller.c_str());
    if (node.controller == nullptr)
      return NodeRefused(RequestStatus::kNodeController, index,
                         "unknown controller " + controller + " (--controller list shows the names)");
  }
  const std::string clock = text.substr(at + 1);
  if (const char* problem = ClockProblem(clock.c_str(), node.clockKHz))
    return NodeRefused(RequestStatus::kNodeClock, index, problem);
  return RequestCheck{};
}

// What a plan does not take: the bus gives each node its controller and clock, and
// the plan is one setting per node, each with its controller's widest SJW.
const char* OptionOutsidePlan(const Request& request) {
  if (request.controller != &BxCanController() || request.customController != nullptr) return "--controller";
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
    return RequestCheck{};
  }
  if (const char* option = OptionOutsidePlan(request)) return Refused(RequestStatus::kPlanOption, option);
  if (request.format != OutputFormat::kTable && request.format != OutputFormat::kJson)
    return Refused(RequestStatus::kPlanFormat, "--format");
  std::vector<PlanNode> nodes(request.nodeTexts.size());
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    const RequestCheck node = ReadNode(request.nodeTexts[i], static_cast<int>(i), nodes[i]);
    if (node.status != RequestStatus::kReady) return node;
    for (std::size_t j = 0; j < i; ++j) {
      if (nodes[j].name == nodes[i].name) return NodeRefused(RequestStatus::kNodeRepeated, static_cast<int>(i), nodes[i].name);
    }
  }
  if (nodes.size() < 2) return Refused(RequestStatus::kPlanFewNodes);
  // A classic controller answers an FD frame's bit-rate switch with an error frame.
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    if (request.dataPhase && !nodes[i].controller->fd)
      return NodeRefused(RequestStatus::kPlanClassicNode, static_cast<int>(i),
                         nodes[i].name + " (" + nodes[i].controller->name + ")");
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
  const RequestCheck plan = CheckPlan(request);
  if (plan.status != RequestStatus::kReady) return plan;
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
    case RequestStatus::kPlanFewNodes: return "--plan needs at least two nodes, each --node NAME=CONTROLLER@MHZ";
    case RequestStatus::kNodeWithoutPlan: return option + " needs --plan";
    case RequestStatus::kPlanOption:
      return option + " and --plan do not go together: each node gives its controller and clock, and the plan its setting";
    case RequestStatus::kPlanFormat:
      return "--format: a plan is written as table or json (its code forms are not made yet)";
    case RequestStatus::kPlanClassicNode:
      return "node " + check.detail + " is a classic CAN controller: on a bus with --data-rate it would destroy every FD frame";
    case RequestStatus::kNodeMalformed:
    case RequestStatus::kNodeName:
    case RequestStatus::kNodeRepeated:
    case RequestStatus::kNodeController:
    case RequestStatus::kNodeClock: {
      const std::string value = "invalid value " + check.echoedValue + " for --node: ";
      if (check.status == RequestStatus::kNodeMalformed) return value + "not NAME=CONTROLLER@MHZ";
      if (check.status == RequestStatus::kNodeName) return value + "a name holds letters, digits, - and _ only";
      if (check.status == RequestStatus::kNodeRepeated) return value + "another node is named " + check.detail;
      return value + check.detail;
    }
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
      "plan-few-nodes",
      "node-without-plan",
      "node-malformed",
      "node-name",
      "node-repeated",
      "node-controller",
      "node-clock",
      "plan-classic-node",
      "plan-option",
      "plan-format",
  };
  static_assert(sizeof kNames / sizeof kNames[0] ==
                    static_cast<int>(RequestStatus::kPlanFormat) + 1,
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
