// When nothing meets a request: the setting nearest to it and what would list it, or
// why no tolerance can (the rate is beyond the controller at that clock, or looks like
// bit/s typed as Kbps), as lines for standard error.
#pragma once

#include <string>
#include <vector>

#include "answers/request/request.h"
#include "answers/rows/phase_search.h"

// The setting of a phase whose rate lies nearest the target among those its rules and
// the minimum sample point allow (ties: the first in listing order), and the least
// tolerance, in hundredths, under which the phase's own rate test lists it (above
// 10000: none). fastestKbps is the phase's fastest rate at the clock, any sample point.
// Bounded by design: one pass over the seg1/seg2 pairs (at most 1024 x 1024, a
// custom: controller's widest) trying two prescalers each, never the prescaler range,
// so even a full-range custom: controller answers in well under a second.
struct NearestSetting {
  bool found = false;
  TimingCandidate row{};
  int64_t toleranceHundredths = 0;
  double fastestKbps = 0.0;
};
NearestSetting NearestOfPhase(const PhaseSearch& phase);

// Whether the phase lists at least one row (the search stops at the first).
bool PhaseHasRows(const PhaseSearch& phase);

// The lines (without the program's name) that say, for a phase with no row, the
// nearest setting and the tolerance that lists it ("the nearest: 33.3333 Kbps, +0.1%,
// prescaler 90, seg1 7, seg2 2, sample point 80.0%: --tolerance 0.11 lists it"), or
// that no tolerance can help ("an 8 MHz mcp2515 reaches at most 800 Kbps"), and a
// "did you mean --rate 500?" where the rate reads as bit/s typed as Kbps. Empty where
// --min-tolerance alone removed the rows (its own message says so).
std::vector<std::string> NoSettingLines(const Request& request, const PhaseSearch& phase);

// Whether a tolerance could help the phase: false when its rate is beyond the phase's
// fastest at the clock, or its nearest setting is more than 100% off (a rate below
// the slowest); the hint "a larger --tolerance may find one" is then left out.
bool ToleranceCanHelp(const PhaseSearch& phase);
