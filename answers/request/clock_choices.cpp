#include "answers/request/clock_choices.h"

#include "calc/text.h"

namespace {

// A clock in kHz as MHz, the digits it has: 33333 "33.333", 40000 "40".
std::string MHzText(int32_t clockKHz) { return ToFixedText(clockKHz, 3, 0).get(); }

}  // namespace

ClockChoiceFacts ClockChoiceFactsOf(const ControllerEntry& entry, int32_t clockKHz) {
  ClockChoiceFacts facts;
  // An adapter's fixed clock is the one the kernel's driver uses whatever is typed: the
  // arithmetic at another clock holds, the adapter will not run it.
  if (entry.fixedClockKHz != 0) {
    if (clockKHz == entry.fixedClockKHz) return facts;
    facts.runsAtMHz.push_back(MHzText(entry.fixedClockKHz));
    facts.source = entry.fixedClockSource;
  } else if (entry.clockRangeKHz.first <= entry.clockRangeKHz.last) {
    if (clockKHz >= entry.clockRangeKHz.first && clockKHz <= entry.clockRangeKHz.last) return facts;
    facts.range = true;
    facts.runsAtMHz = {MHzText(entry.clockRangeKHz.first), MHzText(entry.clockRangeKHz.last)};
    facts.source = entry.clockRangeSource;
  } else {
    if (entry.clockChoiceCount == 0) return facts;
    for (int32_t i = 0; i < entry.clockChoiceCount; ++i)
      if (entry.clockChoicesKHz[i] == clockKHz) return facts;
    for (int32_t i = 0; i < entry.clockChoiceCount; ++i) facts.runsAtMHz.push_back(MHzText(entry.clockChoicesKHz[i]));
  }
  facts.warned = true;
  facts.typedMHz = MHzText(clockKHz);
  return facts;
}

std::string ClockChoiceWarning(const ControllerEntry& entry, int32_t clockKHz) {
  const ClockChoiceFacts facts = ClockChoiceFactsOf(entry, clockKHz);
  if (!facts.warned) return "";
  // "20, 24, 30, 40, 60 or 80": every choice, the last after "or"; "1 to 25": a range.
  std::string choices;
  for (std::size_t i = 0; i < facts.runsAtMHz.size(); ++i) {
    if (i > 0) choices += facts.range ? " to " : i + 1 == facts.runsAtMHz.size() ? " or " : ", ";
    choices += facts.runsAtMHz[i];
  }
  std::string text = std::string(entry.name) + " runs at " + choices + " MHz";
  if (facts.source != nullptr) text += std::string(" (") + facts.source + ")";
  return text + ", not " + facts.typedMHz + " MHz";
}

std::vector<std::string> ClockChoiceWarnings(const Request& request) {
  std::vector<std::string> lines;
  if (request.plan) {
    for (const PlanNode& node : request.nodes) {
      const std::string text = ClockChoiceWarning(*node.controller, node.clockKHz);
      if (!text.empty()) lines.push_back(node.name + ": " + text);
    }
    return lines;
  }
  if (request.listControllers || request.controller == nullptr) return lines;
  const std::string text = ClockChoiceWarning(*request.controller, request.clockKHz);
  if (!text.empty()) lines.push_back(text);
  return lines;
}
