// What a setting allows on a real bus: the oscillator tolerance by the conditions of
// ISO 11898-1 as CiA 601-3 states them, the longest bus, and the transmitter delay
// compensation (TDC) offset of an FDCAN data phase. Exact: every condition is a
// fraction of whole numbers, compared by cross-multiplying; nothing is rounded until
// a figure is shown.
//
// For a setting of nbt = 1 + seg1 + seg2 quanta of tq = prescaler / clock:
//   prop = ceil(2 × (node delay + 5 ns/m × bus length) / tq), the propagation
//   segment; ps1 = seg1 − prop and ps2 = seg2, the phase segments;
//   condition 1: SJW / (2 × 10 × nbt)              (resynchronisation over 10 bits)
//   condition 2: min(ps1, ps2) / (2 × (13 × nbt − ps2))  (sampling after 13 bits)
// and for an FDCAN nominal/data pair (dbt, dSJW, dps2 the data phase's, nbrp and
// dbrp the two prescalers):
//   condition 3: dSJW / (2 × 10 × dbt)
//   condition 4: min(ps1, ps2) / (2 × ((6 × dbt − dps2) × dbrp / nbrp + 7 × nbt))
//   condition 5: (dSJW − max(0, nbrp / dbrp − 1)) /
//                (2 × ((2 × nbt − ps2) × nbrp / dbrp + dps2 + 4 × dbt))
// The tolerance is the smallest of them, never below 0.
#pragma once

#include "calc/register_layout.h"

#include <cstdint>

// The bus a setting must serve.
struct BusConditions {
  int32_t nodeDelayNs = 250;  // transceiver and controller loop delay, 0 to 10 000
  int32_t busLengthM = 10;    // 0 to 100 000
};

// A tolerance as the fraction numerator / denominator of the clock (not percent);
// denominator > 0, numerator >= 0.
struct Tolerance {
  int64_t numerator;
  int64_t denominator;
};

// The propagation segment in quanta: ceil(2 × (delay + 5 × length) / tq), with tq =
// prescaler / clockKHz ms. clockKHz and prescaler above 0.
int64_t PropagationQuanta(int32_t clockKHz, int32_t prescaler, const BusConditions& bus);

// Conditions 1 and 2 for one setting (bxCAN's, or FDCAN's nominal phase).
Tolerance SettingTolerance(const BitTimingLengths& setting, int32_t clockKHz, const BusConditions& bus);
// Condition 3 alone: an FDCAN data setting by itself. The data phase has no
// propagation segment to keep (one node sends; TDC covers its own loop delay), so
// the bus does not enter; the pair's conditions 4 and 5 join it in PairTolerance.
Tolerance DataSettingTolerance(const BitTimingLengths& data);
// All five conditions for a nominal and a data setting at one clock.
Tolerance PairTolerance(const BitTimingLengths& nominal, const BitTimingLengths& data, int32_t clockKHz,
                        const BusConditions& bus);

// The tolerance in percent: numerator × 100 / denominator in one rounding.
double TolerancePercent(const Tolerance& tolerance);
// The tolerance in whole hundredths of a percent, rounded down, since a person relies
// on it as a limit: it never shows above what the setting allows. 1/280 (0.357…%)
// gives 35.
int64_t ToleranceHundredths(const Tolerance& tolerance);
// Whether the tolerance is at least millionths / 10^6 percent.
bool ToleranceAtLeast(const Tolerance& tolerance, int64_t millionthsOfAPercent);

// The longest whole number of metres for which prop <= seg1 − 1 at the node delay
// (phase segment 1 keeps a quantum at least); -1 when not even 0 m fits.
int64_t LongestBus(const BitTimingLengths& setting, int32_t clockKHz, int32_t nodeDelayNs);

