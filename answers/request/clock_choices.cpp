#include "answers/request/clock_choices.h"

#include "calc/text.h"

namespace {

// A clock in kHz as MHz, the digits it has: 33333 "33.333", 40000 "40".
std::string MHzText(int32_t clockKHz) { return ToFixedText(clockKHz, 3, 0).get(); }

}  // namespace

std::string ClockChoiceWarning(const ControllerEntry& entry, int32_t clockKHz) {
  // An adapter's fixed clock is the one the kernel's driver uses whatever is typed: the
  // arithmetic at another clock holds, the adapter will not run it.
  if (entry.fixedClockKHz != 0) {
    if (clockKHz == entry.fixedClockKHz) return "";
    std::string text = std::string(entry.name) + " runs at " + MHzText(entry.fixedClockKHz) + " MHz";
    if (entry.fixedClockSource != nullptr) text += std::string(" (") + entry.fixedClockSource + ")";
    return text + ", not " + MHzText(clockKHz) + " MHz";
  }
  if (entry.clockChoiceCount == 0) return "";
  for (int32_t i = 0; i < entry.clockChoiceCount; ++i)
    if (entry.clockChoicesKHz[i] == clockKHz) return "";
  // "20, 24, 30, 40, 60 or 80": every choice, the last after "or".
  std::string choices;
  for (int32_t i = 0; i < entry.clockChoiceCount; ++i) {
    if (i > 0) choices += i + 1 == entry.clockChoiceCount ? " or " : ", ";
    choices += MHzText(entry.clockChoicesKHz[i]);
  }
  return std::string(entry.name) + " runs at " + choices + " MHz, not " + MHzText(clockKHz) + " MHz";
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
