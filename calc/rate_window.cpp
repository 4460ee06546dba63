// The rate test and its windows.
//
// Rounding margins: every rounding the windows must cover is below 2^-23 of the value
// (to float) or 2^-149 absolute (a float below the normal range). The margins below
// are far wider; a window that is too wide costs a few full tests, never a record.
#include "calc/rate_window.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr double kRelativeMargin = 1e-6;
constexpr double kAbsoluteMargin = 1e-30;

// Floats in the order of their values, as integers (-0 and +0 both give 0), and back.
int64_t FloatOrder(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const int64_t magnitude = bits & 0x7FFFFFFFu;
  return (bits >> 31) != 0 ? -magnitude : magnitude;
}

float FloatAt(int64_t order) {
  const uint32_t bits = order >= 0 ? static_cast<uint32_t>(order) : (0x80000000u | static_cast<uint32_t>(-order));
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// The float nearest value on its lower (down) or upper side, infinite beyond the floats.
float FloatBelow(double value) {
  float f = static_cast<float>(value);
  if (static_cast<double>(f) > value) f = std::nextafter(f, -std::numeric_limits<float>::infinity());
  return f;
}

float FloatAbove(double value) {
  float f = static_cast<float>(value);
  if (static_cast<double>(f) < value) f = std::nextafter(f, std::numeric_limits<float>::infinity());
  return f;
}

// The last passing float from start (which passes) towards limit, by bisection over
// the floats in between; exact because the passing floats form one interval.
float PassEdge(float start, float limit, double target, double allowed, RateTest passes) {
  if (passes(limit, target, allowed)) return limit;
  int64_t good = FloatOrder(start);
  int64_t bad = FloatOrder(limit);
  while (good - bad > 1 || bad - good > 1) {
    const int64_t middle = good + (bad - good) / 2;
    if (passes(FloatAt(middle), target, allowed)) {
      good = middle;
    } else {
      bad = middle;
    }
  }
  return FloatAt(good);
}

}  // namespace

RateWindow MakeRateWindow(double target, double allowed, RateTest passes) {
  constexpr float kFloatInfinity = std::numeric_limits<float>::infinity();
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  const RateWindow untrusted{-kFloatInfinity, kFloatInfinity, kFloatInfinity, -kFloatInfinity, -kInfinity,
                             kInfinity,       0.0,            0.0,            false};
  if (!std::isfinite(target) || !std::isfinite(allowed)) return untrusted;
  // 1. A passing float lies within allowed + 1e-7 (and some 2^-52 of rounding) of
  //    the target; the margins hold the slack ten times over.
  const double width = std::fabs(allowed) * (1.0 + kRelativeMargin) + kRelativeMargin * (1.0 + std::fabs(target));
  const double low = target - width;
  const double high = target + width;
  // 2. Rounding the 64-bit rate to double and then to float moves it by less
  //    than 2^-23 of itself, or less than 2^-149 near zero.
  const double rateLow = low - std::fabs(low) * kRelativeMargin - kAbsoluteMargin;
  const double rateHigh = high + std::fabs(high) * kRelativeMargin + kAbsoluteMargin;
  if (!std::isfinite(rateLow) || !std::isfinite(rateHigh)) return untrusted;
  // 3. The prescaler bounds' factors, for rates above 0 (see PassablePrescalers).
  const double fewestPerClock = 1.0 / rateHigh * (1.0 - 1e-9);
  const double mostPerClock = rateLow > 0.0 ? 1.0 / rateLow * (1.0 + 1e-9) : kInfinity;
  RateWindow window{FloatBelow(low), FloatAbove(high), kFloatInfinity, -kFloatInfinity, rateLow,
                    rateHigh,        fewestPerClock,   mostPerClock,   true};
  // 4. The pass interval, out from the target to the edges of step 1.
  const float targetFloat = static_cast<float>(target);
  if (static_cast<double>(targetFloat) == target && passes(targetFloat, target, allowed)) {
    window.passLow = PassEdge(targetFloat, window.floatLow, target, allowed, passes);
    window.passHigh = PassEdge(targetFloat, window.floatHigh, target, allowed, passes);
  }
  return window;
}

FieldRange PassablePrescalers(double clockPerBit, const RateWindow& window, FieldRange range) {
  if (!window.trusted || !(clockPerBit > 0.0)) return range;
  const FieldRange none{range.first, range.first - 1};
  if (!(window.rateHigh > 0.0)) return none;  // every rate here is above zero
  // p below perBit / rateHigh gives a rate above rateHigh, p above perBit / rateLow one
  // below rateLow. The products stand for those quotients; the factors 1 -+ 1e-9 in
  // them cover their roundings (some 2^-51) many times over.
  const double perBit = clockPerBit;
  const double fewest = perBit * window.fewestPerClock;
  if (!(fewest <= static_cast<double>(range.last))) return none;
  const double most = perBit * window.mostPerClock;
  if (most < static_cast<double>(range.first)) return none;
  FieldRange passable = range;
  if (fewest > static_cast<double>(range.first)) {
    passable.first = static_cast<int32_t>(fewest);  // rounded up below, without a call to ceil
    if (static_cast<double>(passable.first) < fewest) ++passable.first;
  }
  if (most < static_cast<double>(range.last)) passable.last = static_cast<int32_t>(most);
  return passable;
}
