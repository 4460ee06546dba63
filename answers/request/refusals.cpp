#include "answers/request/refusals.h"

#include <cstring>

#include "answers/request/code_forms.h"
#include "answers/text/register_text.h"

namespace {

// Each refusal's row, in the order of the statuses. The lines of a request that meets
// several refusals are CheckRequest's to choose; a row only says how its own is made.
constexpr Refusal kRefusals[] = {
    {RequestStatus::kReady, "ready", nullptr, nullptr, FieldText::kNotRead, ""},
    {RequestStatus::kClockMissing, "clock-missing", "clock", "--clock", FieldText::kEmpty, "the clock is missing"},
    {RequestStatus::kRateMissing, "rate-missing", "rate", "--rate", FieldText::kEmpty, "the rate is missing"},
    {RequestStatus::kReservedBits, "reserved-bits", "decode-value", "--decode", FieldText::kNotRead, "{bits}"},
    {RequestStatus::kDataReservedBits, "data-reserved-bits", "decode-data", "--decode-data", FieldText::kNotRead,
     "{bits}"},
    {RequestStatus::kBestWithDecode, "best-with-decode", nullptr, "--best", FieldText::kNotRead,
     "{option} and {decodeOption} do not go together: a decoded value is one setting already"},
    {RequestStatus::kSjwWithDecode, "sjw-with-decode", nullptr, nullptr, FieldText::kNotRead,
     "{option} and {decodeOption} do not go together: the decoded value holds its own SJW"},
    {RequestStatus::kDataRateWithoutDecodeData, "data-rate-without-decode-data", "data-rate", "--data-rate",
     FieldText::kNotRead, "--data-rate needs --decode-data: the error of --decode is against --rate"},
    {RequestStatus::kRateWithoutDecode, "rate-without-decode", "rate", "--rate", FieldText::kNotRead,
     "--rate needs --decode: the error of --decode-data is against --data-rate"},
    // FDCAN's spl had this line before every controller had its forms; the request
    // check keeps it in its old place, ahead of the form check's "is no form of" line.
    {RequestStatus::kSplWithFdcan, "spl-with-fdcan", nullptr, "--format", FieldText::kNotRead,
     "--format spl has no FDCAN form: the Standard Peripheral Library predates FDCAN (use hal)"},
    {RequestStatus::kDataOptionWithoutDataRate, "data-option-without-data-rate", nullptr, nullptr,
     FieldText::kNotRead, "{option} needs --data-rate"},
    {RequestStatus::kSearchOptionWithDecode, "search-option-with-decode", nullptr, nullptr, FieldText::kNotRead,
     "{option} and {decodeOption} do not go together: a decode searches nothing, so nothing is left out"},
    {RequestStatus::kSettingOutsideRanges, "setting-outside-ranges", nullptr, nullptr, FieldText::kNotRead,
     "the setting lies outside the controller's ranges"},
    {RequestStatus::kFormNotForController, "form-not-for-controller", nullptr, "--format", FieldText::kNotRead,
     "--format {format} is no form of {controller}: its forms are {controllerForms}"},
    {RequestStatus::kDecodeWithoutRegisters, "decode-without-registers", nullptr, nullptr, FieldText::kNotRead,
     "{option} reads a controller's registers: {subject} has none{detail}"},
    {RequestStatus::kUnknownRegister, "unknown-register", nullptr, nullptr, FieldText::kNotRead,
     "{option}: {subject} is no register of {controllerName} (it has {detail})"},
    {RequestStatus::kRegisterTwice, "register-twice", nullptr, nullptr, FieldText::kNotRead,
     "{option} gives {subject} twice"},
    {RequestStatus::kMissingRegister, "missing-register", nullptr, nullptr, FieldText::kNotRead,
     "{option} needs {subject} too: {controllerName} keeps its setting in {detail}"},
    {RequestStatus::kBareValueWithRegisters, "bare-value-with-registers", nullptr, nullptr, FieldText::kNotRead,
     "invalid value {subject} for {option}: {controllerName} keeps its setting in {detail}, given as NAME=VALUE "
     "pairs joined by commas"},
    {RequestStatus::kRegisterTooWide, "register-too-wide", nullptr, nullptr, FieldText::kNotRead,
     "invalid value {subject} for {option}: {detail}"},
    {RequestStatus::kRegisterReservedBits, "register-reserved-bits", nullptr, nullptr, FieldText::kNotRead,
     "invalid value {subject} for {option}: {detail}"},
    {RequestStatus::kFieldOutOfRange, "field-out-of-range", nullptr, nullptr, FieldText::kNotRead,
     "invalid value {subject} for {option}: {detail}"},
    {RequestStatus::kPlanFewNodes, "plan-few-nodes", "nodes", "--node", FieldText::kNotRead,
     "--plan needs at least two nodes, each --node NAME=CONTROLLER@MHZ"},
    {RequestStatus::kPlanManyNodes, "plan-many-nodes", "nodes", "--node", FieldText::kNotRead,
     "--plan takes at most 64 nodes: {detail} were given"},
    {RequestStatus::kNodeWithoutPlan, "node-without-plan", nullptr, nullptr, FieldText::kNotRead,
     "{option} needs --plan"},
    {RequestStatus::kNodeMalformed, "node-malformed", "nodes", "--node", FieldText::kNotRead,
     "invalid value {echoedValue} for --node: not NAME=CONTROLLER@MHZ"},
    {RequestStatus::kNodeName, "node-name", "nodes", "--node", FieldText::kNotRead,
     "invalid value {echoedValue} for --node: a name holds letters, digits, - and _ only"},
    {RequestStatus::kNodeRepeated, "node-repeated", "nodes", "--node", FieldText::kNotRead,
     "invalid value {echoedValue} for --node: another node is named {detail}"},
    {RequestStatus::kNodeController, "node-controller", "nodes", "--node", FieldText::kNotRead,
     "invalid value {echoedValue} for --node: {detailLead}{nodePart}{detail}"},
    {RequestStatus::kNodeClock, "node-clock", "nodes", "--node", FieldText::kNotRead,
     "invalid value {echoedValue} for --node: {detail}"},
    {RequestStatus::kPlanClassicNode, "plan-classic-node", "nodes", "--node", FieldText::kNotRead,
     "node {detail} is a classic CAN controller: on a bus with --data-rate it would destroy every FD frame"},
    {RequestStatus::kPlanOption, "plan-option", nullptr, nullptr, FieldText::kNotRead,
     "{option} and --plan do not go together: each node gives its controller and clock, and the plan its setting"},
    {RequestStatus::kPlanFormat, "plan-format", nullptr, "--format", FieldText::kNotRead,
     "--format tsv and csv hold one listing, not a bus: a plan is written as table, json or a code form"},
    {RequestStatus::kTargetWithoutBest, "target-without-best", nullptr, nullptr, FieldText::kNotRead,
     "{option} needs --best or --plan: a listing shows every setting, whatever its sample point"},
    {RequestStatus::kStrictWithoutBest, "strict-without-best", nullptr, "--strict", FieldText::kNotRead,
     "--strict needs --best or --plan: it fails the run when their answer has a warning"},
    {RequestStatus::kClockUnreadable, "clock-unreadable", "clock", "--clock", FieldText::kNoValue, "{detail}"},
    {RequestStatus::kRateUnreadable, "rate-unreadable", "rate", "--rate", FieldText::kNoValue, "{detail}"},
    {RequestStatus::kDataRateUnreadable, "data-rate-unreadable", "data-rate", "--data-rate", FieldText::kNoValue,
     "{detail}"},
    {RequestStatus::kSjwUnreadable, "sjw-unreadable", "sjw", "--sjw", FieldText::kNoValue, "{detail}"},
    {RequestStatus::kDataSjwUnreadable, "data-sjw-unreadable", "data-sjw", "--data-sjw", FieldText::kNoValue,
     "{detail}"},
    {RequestStatus::kNodeDelayUnreadable, "node-delay-unreadable", "node-delay", "--node-delay",
     FieldText::kNoValue, "{detail}"},
    {RequestStatus::kBusLengthUnreadable, "bus-length-unreadable", "bus-length", "--bus-length",
     FieldText::kNoValue, "{detail}"},
    {RequestStatus::kMinToleranceUnreadable, "min-tolerance-unreadable", "min-tolerance", "--min-tolerance",
     FieldText::kNoValue, "{detail}"},
    {RequestStatus::kDecodeUnreadable, "decode-unreadable", "decode-value", "--decode", FieldText::kNoValue,
     "{detail}"},
    {RequestStatus::kDecodeDataUnreadable, "decode-data-unreadable", "decode-data", "--decode-data",
     FieldText::kNoValue, "{detail}"},
    {RequestStatus::kSpreadUnreadable, "spread-unreadable", "spread", "--sample-point-spread", FieldText::kNoValue,
     "{detail}"},
    {RequestStatus::kClockAccuracyUnreadable, "clock-accuracy-unreadable", "clock-accuracy", "--clock-accuracy",
     FieldText::kNoValue, "{detail}"},
    {RequestStatus::kTargetSamplePointUnreadable, "target-sample-point-unreadable", "target-sample-point",
     "--target-sample-point", FieldText::kNoValue, "{detail}"},
    {RequestStatus::kDataTargetSamplePointUnreadable, "data-target-sample-point-unreadable",
     "data-target-sample-point", "--data-target-sample-point", FieldText::kNoValue, "{detail}"},
    {RequestStatus::kToleranceUnreadable, "tolerance-unreadable", "tolerance", "--tolerance", FieldText::kNoValue,
     "{detail}"},
    {RequestStatus::kListWithOption, "list-with-option", nullptr, "--controller", FieldText::kNotRead,
     "--controller list and {detail} do not go together: the list is the controller table alone, written as table "
     "or json"},
};
constexpr int kRefusalCount = static_cast<int>(sizeof kRefusals / sizeof kRefusals[0]);

std::string TextOf(const char* text) { return text != nullptr ? text : ""; }

// The pieces a row's line may name, each the check's text.
constexpr struct {
  const char* name;
  std::string (*text)(const RequestCheck& check);
} kPieces[] = {
    {"option", [](const RequestCheck& c) { return TextOf(c.option); }},
    {"decodeOption", [](const RequestCheck& c) { return TextOf(c.decodeOption); }},
    {"detail", [](const RequestCheck& c) { return c.detail; }},
    {"subject", [](const RequestCheck& c) { return c.subject; }},
    {"controllerName", [](const RequestCheck& c) { return c.controllerName; }},
    {"detailLead", [](const RequestCheck& c) { return c.detailLead; }},
    {"echoedValue", [](const RequestCheck& c) { return c.echoedValue; }},
    {"nodePart", [](const RequestCheck& c) { return c.echoedPart.empty() ? c.nodePart : c.echoedPart; }},
    {"bits", [](const RequestCheck& c) { return ReservedBitsText(c.bits); }},
    {"format", [](const RequestCheck& c) { return TextOf(FormatName(c.format)); }},
    {"controller", [](const RequestCheck& c) { return TextOf(c.controller != nullptr ? c.controller->name : nullptr); }},
    {"controllerForms",
     [](const RequestCheck& c) { return c.controller != nullptr ? FormNames(*c.controller) : std::string(); }},
};

}  // namespace

const Refusal* Refusals(int& count) {
  count = kRefusalCount;
  return kRefusals;
}

const Refusal* RefusalOf(RequestStatus status) {
  for (const Refusal& refusal : kRefusals)
    if (refusal.status == status) return &refusal;
  return nullptr;
}

const char* StatusName(int status) {
  const Refusal* refusal = RefusalOf(static_cast<RequestStatus>(status));
  return refusal != nullptr ? refusal->name : "unknown";
}

const char* FieldOfOption(const char* option) {
  for (const Refusal& refusal : kRefusals)
    if (refusal.field != nullptr && refusal.option != nullptr && std::strcmp(refusal.option, option) == 0)
      return refusal.field;
  return nullptr;
}

std::string RefusalLine(const RequestCheck& check) {
  const Refusal* refusal = RefusalOf(check.status);
  if (refusal == nullptr) return "";
  std::string line;
  for (const char* at = refusal->line; *at != 0;) {
    // A {name} that is no piece stays as written, so a misspelt one shows in the line.
    const char* close = *at == '{' ? std::strchr(at, '}') : nullptr;
    bool filled = false;
    for (const auto& piece : kPieces) {
      if (close == nullptr || filled) break;
      const std::size_t length = static_cast<std::size_t>(close - at - 1);
      if (std::strlen(piece.name) != length || std::strncmp(piece.name, at + 1, length) != 0) continue;
      line += piece.text(check);
      at = close + 1;
      filled = true;
    }
    if (!filled) line += *at++;
  }
  return line;
}

std::string ReservedBitsText(uint32_t bits) {
  const bool one = (bits & (bits - 1)) == 0;
  return (one ? "reserved bit " : "reserved bits ") + BitList(bits) + (one ? " is set" : " are set");
}
