// Extended precision without the x87: a 64-bit significand and a wide exponent, every
// result rounded to nearest, ties to even, as the x87 rounds with its precision
// control at 64 bits. Only integer arithmetic is used, so every processor gives the
// same bits: the search's long double intermediates, formed this way, equal the x87's
// on every input the search can meet (tests/native/extended_float_test.cpp compares
// them on x86).
//
// Only what the search needs is here: the quotient of two integers, its division by a
// prescaler, the difference of two doubles, a comparison with a double and the
// rounding to double. (The float the search stores is the double rounded to float,
// which every IEEE processor does alike.) No value the search forms leaves the
// exponent range of the x87 format, so this type keeps no bounds of its own.
#pragma once

#include <cstdint>
#include <cstring>

enum class ExtendedKind : uint8_t { kFinite, kInfinity, kNotANumber };

// value = (negative ? -1 : 1) * significand * 2^exponent. A finite value other than
// zero has the significand's top bit set; zero has significand 0.
struct ExtendedFloat {
  uint64_t significand;
  int32_t exponent;
  bool negative;
  ExtendedKind kind;
};

// numerator / denominator, rounded once to 64 bits. denominator >= 1. Zero is +0.
ExtendedFloat ExtendedQuotient(int64_t numerator, uint32_t denominator);

// value / divisor, rounded once to 64 bits. divisor >= 1; a zero keeps its sign, an
// infinity or a not-a-number stays what it is.
ExtendedFloat ExtendedDivide(const ExtendedFloat& value, uint32_t divisor);

// a - b, rounded once to 64 bits, with IEEE's infinities and not-a-numbers (inf - inf
// is a not-a-number) and signed zeros (an exact zero is +0, but -0 - +0 is -0).
ExtendedFloat ExtendedDifference(double a, double b);

// value > limit; false when either is a not-a-number. -0 and +0 are equal.
bool ExtendedGreater(const ExtendedFloat& value, double limit);

// The double nearest value, ties to even; subnormal or infinite where it must be. A
// not-a-number gives a quiet not-a-number with value's sign.
double ExtendedToDouble(const ExtendedFloat& value);

// The divisors up to kReciprocalCount divide by a multiplication (below).
constexpr uint32_t kReciprocalCount = 1024;

// For a divisor p of bit length L: shift = L - 1 and multiplier = floor(2^(63+L) / p),
// which is below 2^64; for a power of two, whose exact value would be 2^64, it is
// 2^64 - 1, which the correction step below brings right.
struct Reciprocal {
  uint64_t multiplier;
  int32_t shift;
};
struct ReciprocalTable {
  Reciprocal entries[kReciprocalCount + 1];  // entry 0 unused
};
extern const ReciprocalTable kReciprocals;

// A value made ready for many divisions: its parts in the form the division takes,
// and whether every divisor up to kReciprocalCount gives a normal double (true for
// every rate of the search; otherwise the general rounding is taken).
struct ExtendedDividend {
  ExtendedFloat value;
  uint64_t significand;
  uint64_t signAndBias;  // the sign bit, and the double's biased exponent less one at bit 52
  double approximation;  // value rounded to double
  bool fast;
  bool estimable;  // zero, or every quotient by 1 to kReciprocalCount a normal float
};

// 1 / p rounded to double, for p from 1 to kReciprocalCount (entry 0 unused).
struct InverseTable {
  double entries[kReciprocalCount + 1];
};
extern const InverseTable kInverses;

ExtendedDividend PrepareDividend(const ExtendedFloat& value);

namespace extended_detail {

inline uint64_t MultiplyHigh(uint64_t a, uint64_t b) {
#if defined(__SIZEOF_INT128__)
  return static_cast<uint64_t>((static_cast<unsigned __int128>(a) * b) >> 64);
#else
  const uint64_t aLow = a & 0xFFFFFFFFu, aHigh = a >> 32, bLow = b & 0xFFFFFFFFu, bHigh = b >> 32;
  const uint64_t lowLow = aLow * bLow, lowHigh = aLow * bHigh, highLow = aHigh * bLow;
  const uint64_t middle = (lowLow >> 32) + (lowHigh & 0xFFFFFFFFu) + (highLow & 0xFFFFFFFFu);
  return aHigh * bHigh + (lowHigh >> 32) + (highLow >> 32) + (middle >> 32);
#endif
}

}  // namespace extended_detail

// ExtendedToDouble(ExtendedDivide(dividend.value, divisor)) without a division: the
// search's rate of one prescaler. Inline and free of data-dependent branches, as the
// search calls it for every setting.
inline double ExtendedDivideToDouble(const ExtendedDividend& dividend, uint32_t divisor) {
  if (!dividend.fast || divisor > kReciprocalCount) {
    return ExtendedToDouble(ExtendedDivide(dividend.value, divisor));
  }
  const Reciprocal reciprocal = kReciprocals.entries[divisor];
  const uint64_t significand = dividend.significand;
  // 1. quotient = floor(significand * 2^shift / divisor), which lies in [2^62, 2^64):
  //    the product with the multiplier (below the exact reciprocal by at most one) is
  //    at most one short of it, and then the remainder, below 2 * divisor, says so.
  //    Both products wrap alike, so their low 64 bits give the remainder exactly.
  //    Each comparison below is the top bit of a difference of numbers below 2^62,
  //    so compilers cannot turn it into a branch that a random bit would mispredict.
  uint64_t quotient = extended_detail::MultiplyHigh(significand, reciprocal.multiplier);
  uint64_t remainder = (significand << reciprocal.shift) - quotient * divisor;
  const uint64_t short1 = ((divisor - 1) - remainder) >> 63;  // remainder >= divisor
  quotient += short1;
  remainder -= divisor & (0 - short1);
  // 2. A quotient of 63 bits takes one more bit from the remainder.
  const uint64_t narrow = (quotient >> 63) ^ 1;
  quotient <<= narrow;
  remainder <<= narrow;
  const uint64_t bit = narrow & (((divisor - 1) - remainder) >> 63);
  quotient |= bit;
  remainder -= divisor & (0 - bit);
  // 3. Round to 64 bits by the remainder: above half, or half and odd, goes up; that
  //    is 2 * remainder + (quotient odd) > divisor. A carry out of the top leaves 0,
  //    which stands for 2^64 (the quotient is at least 2^63 otherwise).
  quotient += (uint64_t{divisor} - ((remainder << 1) + (quotient & 1))) >> 63;
  const uint64_t carried = quotient == 0 ? 1 : 0;
  // 4. Round those 64 bits to the double's 53 by the 11 dropped, ties to even, the
  //    same way: dropped + (mantissa odd) > 0x400.
  uint64_t mantissa = (quotient >> 11) | (carried << 53);
  mantissa += (uint64_t{0x400} - ((quotient & 0x7FF) + (mantissa & 1))) >> 63;
  // 5. The mantissa, 2^52 to 2^53, added to the exponent field less one: its top bit
  //    makes the field whole, and a mantissa rounded up to 2^53 raises it by one.
  const uint64_t exponentStep = static_cast<uint64_t>(reciprocal.shift + static_cast<int32_t>(narrow)) << 52;
  const uint64_t bits = dividend.signAndBias - exponentStep + mantissa;
  double result;
  std::memcpy(&result, &bits, sizeof result);
  return result;
}

// The same for one division.
inline double ExtendedDivideToDouble(const ExtendedFloat& value, uint32_t divisor) {
  return ExtendedDivideToDouble(PrepareDividend(value), divisor);
}

// The float nearest ExtendedDivideToDouble(dividend, divisor): the value the search
// stores. Most quotients need less: the exact quotient's 64-bit rounding T lies within
// 3 units of the double's last place of estimate = approximation * (1 / divisor) (three
// roundings to double, each within half a unit of 2^-52 relative). Rounding to float
// drops 29 of the double's bits; unless those bits of estimate lie within 16 units of
// the pattern 1000...0 (a float midpoint), no midpoint lies between estimate and T, and
// T cannot round to double onto one, so estimate rounds to the same float as the exact
// path. Near a midpoint the exact path decides.
inline float ExtendedDivideToFloat(const ExtendedDividend& dividend, uint32_t divisor) {
  if (dividend.estimable && divisor <= kReciprocalCount) {
    const double estimate = dividend.approximation * kInverses.entries[divisor];
    uint64_t bits;
    std::memcpy(&bits, &estimate, sizeof bits);
    const uint64_t fromMidpoint = (bits & 0x1FFFFFFF) - (0x10000000 - 16);  // wraps below
    if (fromMidpoint > 32) return static_cast<float>(estimate);
  }
  return static_cast<float>(ExtendedDivideToDouble(dividend, divisor));
}
