// The rate test of the bit-timing search, and the windows that spare most settings
// from it without changing its verdict on any.
//
// The test looks only at the float actualRate: it passes when |actualRate - target|,
// taken in double, less the allowed error, taken to 64 bits, is at most 1e-7 Kbps, or
// is not a number. Every rounding on the way is monotonic, so for a finite target the
// passing floats form one interval around the target (or none).
#pragma once

#include "calc/timing_setting.h"

#include <cmath>
#include <cstdint>

// A rate test: one arithmetic's RatePasses (search_arithmetic.h).
using RateTest = bool (*)(float actualRate, double target, double allowed);

struct RateWindow {
  // Every float outside [floatLow, floatHigh] fails the test. Derived from a bound
  // on |actualRate - target| with wide margins, not from the interval property.
  float floatLow;
  float floatHigh;
  // Every float inside [passLow, passHigh] passes: two passing floats, found by
  // bisection, with the interval property between them. Empty when passLow > passHigh.
  float passLow;
  float passHigh;
  // Every rate outside [rateLow, rateHigh], before its roundings to double and float,
  // rounds to a float outside [floatLow, floatHigh].
  double rateLow;
  double rateHigh;
  // For PassablePrescalers: 1 / rateHigh and 1 / rateLow (infinite when rateLow is not
  // above 0), widened by a factor 1 -+ 1e-9.
  double fewestPerClock;
  double mostPerClock;
  // False when the target or the allowed error is not finite: then the windows are
  // the whole line, the pass interval is empty, and every setting gets the full test.
  bool trusted;
};

// The windows of passes, the search's rate test.
RateWindow MakeRateWindow(double target, double allowed, RateTest passes);

// The prescalers of range whose rate clockPerBit / p can lie within [rateLow,
// rateHigh]; clockPerBit is the search's 64-bit quotient rounded to double. The rate
// falls as p grows, so they form one run. The whole range unless the window is
// trusted and clockPerBit above 0. Empty: first > last.
FieldRange PassablePrescalers(double clockPerBit, const RateWindow& window, FieldRange range);
