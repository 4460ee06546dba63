// The rate test of the bit-timing search, and the windows that spare most settings
// from it without changing its verdict on any.
//
// The test looks only at the float actualRate: it passes when |actualRate - target|,
// taken in double, less the allowed error, in long double, is at most 1e-7 Kbps, or
// is not a number. Every rounding on the way is monotonic, so for a finite target the
// passing floats form one interval around the target (or none).
#pragma once

#include "calc/timing_setting.h"

#include <cmath>
#include <cstdint>

// The rate test's absolute slack in Kbps: the double nearest 1e-7, compared with the
// long double d - allowed.
constexpr long double kRateSlack = 1e-7;

// The rate test itself. allowed = target * tolerancePercent / 100 in double. It is
// !(excess > slack), not excess <= slack: a not-a-number excess (an infinite target)
// passes. Inline, as a call in the search's loop would make the compiler keep the
// loop's long double values in memory.
inline bool RatePasses(float actualRate, double target, double allowed) {
  const double difference = std::fabs(static_cast<double>(actualRate) - target);
  const long double excess = static_cast<long double>(difference) - static_cast<long double>(allowed);
  return !(excess > kRateSlack);
}

struct RateWindow {
  // Every float outside [floatLow, floatHigh] fails the test. Derived from a bound
  // on |actualRate - target| with wide margins, not from the interval property.
  float floatLow;
  float floatHigh;
  // Every float inside [passLow, passHigh] passes: two passing floats, found by
  // bisection, with the interval property between them. Empty when passLow > passHigh.
  float passLow;
  float passHigh;
  // Every long double rate outside [rateLow, rateHigh] rounds to a float outside
  // [floatLow, floatHigh].
  long double rateLow;
  long double rateHigh;
  // For PassablePrescalers: 1 / rateHigh and 1 / rateLow (infinite when rateLow is not
  // above 0), widened by a factor 1 -+ 1e-9.
  double fewestPerClock;
  double mostPerClock;
  // False when the target or the allowed error is not finite: then the windows are
  // the whole line, the pass interval is empty, and every setting gets the full test.
  bool trusted;
};

RateWindow MakeRateWindow(double target, double allowed);

// The prescalers of range whose rate clockPerBit / p (long double) can lie within
// [rateLow, rateHigh]: the rate falls as p grows, so they form one run. The whole
// range unless the window is trusted and clockPerBit above 0. Empty: first > last.
FieldRange PassablePrescalers(long double clockPerBit, const RateWindow& window, FieldRange range);
