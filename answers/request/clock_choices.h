// A clock the controller's chips cannot run at: PEAK's PCIe FD cards select one of six
// (ControllerEntry::clockChoicesKHz), a USB adapter has its one (fixedClockKHz), the
// MCP2515 runs from 1 to 25 MHz (clockRangeKHz). Such a clock is answered as typed and
// warned of, never refused: the arithmetic holds, the hardware will not run it.
#pragma once

#include <string>
#include <vector>

#include "answers/request/request.h"

// What a warning of the clock says, for a face that words it itself (the page): the
// clocks the chips run at as MHz texts ("20", ..., "80"; the fixed one alone), where the
// fixed one comes from (null: nowhere named), and the clock typed. warned is false where
// the clock is one of them, or the entry has neither.
struct ClockChoiceFacts {
  bool warned = false;
  bool range = false;  // runsAtMHz is the least and the greatest of a range
  std::vector<std::string> runsAtMHz;
  const char* source = nullptr;
  std::string typedMHz;
};
ClockChoiceFacts ClockChoiceFactsOf(const ControllerEntry& entry, int32_t clockKHz);

// "peak-pciefd runs at 20, 24, 30, 40, 60 or 80 MHz, not 33.333 MHz" where clockKHz is
// none of entry's clock choices, "peak-canfd runs at 80 MHz (PCAN-USB FD's crystal), not
// 40 MHz" where it is not entry's fixed clock; "" where it is, or the entry has neither.
std::string ClockChoiceWarning(const ControllerEntry& entry, int32_t clockKHz);
// The warnings of a checked request, one text each (no line feed): its controller's
// clock, or with --plan each node's, "<node>: " before it.
std::vector<std::string> ClockChoiceWarnings(const Request& request);
