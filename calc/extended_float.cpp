// Extended precision in integers: each operation forms its exact result as a wide
// integer times a power of two, with a flag for any nonzero bits beyond it, and
// rounds that once.
#include "calc/extended_float.h"

namespace {

// 128 bits as two halves, so no compiler extension is needed.
struct Wide {
  uint64_t high;
  uint64_t low;
};

constexpr int32_t LeadingZeros(uint64_t value) {
  int32_t count = 0;
  for (uint64_t bit = uint64_t{1} << 63; bit != 0 && (value & bit) == 0; bit >>= 1) ++count;
  return count;
}

constexpr int32_t LeadingZeros(const Wide& value) {
  return value.high != 0 ? LeadingZeros(value.high) : 64 + LeadingZeros(value.low);
}

// value << count for count from 0 to 127.
constexpr Wide ShiftLeft(const Wide& value, int32_t count) {
  if (count == 0) return value;
  if (count >= 64) return Wide{value.low << (count - 64), 0};
  return Wide{(value.high << count) | (value.low >> (64 - count)), value.low << count};
}

// value >> count for count from 0 to 127; *lost is set when a nonzero bit falls off.
constexpr Wide ShiftRight(const Wide& value, int32_t count, bool* lost) {
  if (count == 0) return value;
  if (count >= 64) {
    *lost = *lost || value.low != 0 || (count > 64 && (value.high << (128 - count)) != 0);
    return Wide{0, value.high >> (count - 64)};
  }
  *lost = *lost || (value.low << (64 - count)) != 0;
  return Wide{value.high >> count, (value.low >> count) | (value.high << (64 - count))};
}

constexpr bool Less(const Wide& a, const Wide& b) { return a.high != b.high ? a.high < b.high : a.low < b.low; }

constexpr Wide Add(const Wide& a, const Wide& b) {
  const uint64_t low = a.low + b.low;
  return Wide{a.high + b.high + (low < a.low ? 1 : 0), low};
}

// a - b for a >= b.
constexpr Wide Subtract(const Wide& a, const Wide& b) {
  return Wide{a.high - b.high - (a.low < b.low ? 1 : 0), a.low - b.low};
}

// numerator / divisor by schoolbook division in 32-bit digits: each partial
// remainder is below the divisor, so remainder * 2^32 + digit fits in 64 bits.
constexpr Wide Divide(const Wide& numerator, uint32_t divisor, uint64_t* remainder) {
  const uint64_t digits[4] = {numerator.high >> 32, numerator.high & 0xFFFFFFFFu, numerator.low >> 32,
                              numerator.low & 0xFFFFFFFFu};
  uint64_t quotient[4] = {0, 0, 0, 0};
  uint64_t rest = 0;
  for (int i = 0; i < 4; ++i) {
    const uint64_t current = (rest << 32) | digits[i];
    quotient[i] = current / divisor;
    rest = current % divisor;
  }
  *remainder = rest;
  return Wide{(quotient[0] << 32) | quotient[1], (quotient[2] << 32) | quotient[3]};
}

ExtendedFloat Zero(bool negative) { return ExtendedFloat{0, 0, negative, ExtendedKind::kFinite}; }

ExtendedFloat NotANumber() {
  // The x87's default not-a-number, "indefinite", has its sign bit set.
  return ExtendedFloat{uint64_t{3} << 62, 0, true, ExtendedKind::kNotANumber};
}

ExtendedFloat Infinity(bool negative) { return ExtendedFloat{uint64_t{1} << 63, 0, negative, ExtendedKind::kInfinity}; }

// (magnitude + a bit of sticky) * 2^exponent, magnitude not 0, rounded to 64 bits:
// normalised to bit 127, the top 64 bits stay; the next bit and everything below it
// (sticky included) decide, ties to even.
ExtendedFloat Round(const Wide& magnitude, int32_t exponent, bool sticky, bool negative) {
  const int32_t zeros = LeadingZeros(magnitude);
  const Wide top = ShiftLeft(magnitude, zeros);
  uint64_t significand = top.high;
  int32_t resultExponent = exponent - zeros + 64;
  const bool half = (top.low >> 63) != 0;
  const bool rest = (top.low << 1) != 0 || sticky;
  if (half && (rest || (significand & 1) != 0)) {
    if (++significand == 0) {
      significand = uint64_t{1} << 63;
      ++resultExponent;
    }
  }
  return ExtendedFloat{significand, resultExponent, negative, ExtendedKind::kFinite};
}

// A double as sign, integer mantissa (below 2^53) and exponent: value = mantissa * 2^exponent.
struct DoubleParts {
  bool negative;
  bool infinite;
  bool notANumber;
  uint64_t mantissa;
  int32_t exponent;
};

DoubleParts PartsOf(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const int32_t field = static_cast<int32_t>((bits >> 52) & 0x7FF);
  const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
  DoubleParts parts{(bits >> 63) != 0, field == 0x7FF && fraction == 0, field == 0x7FF && fraction != 0, 0, 0};
  if (field == 0) {
    parts.mantissa = fraction;  // subnormal or zero
    parts.exponent = -1074;
  } else if (field != 0x7FF) {
    parts.mantissa = fraction | (uint64_t{1} << 52);
    parts.exponent = field - 1075;
  }
  return parts;
}

ExtendedFloat FromDouble(double value) {
  const DoubleParts parts = PartsOf(value);
  if (parts.notANumber) return ExtendedFloat{uint64_t{3} << 62, 0, parts.negative, ExtendedKind::kNotANumber};
  if (parts.infinite) return Infinity(parts.negative);
  if (parts.mantissa == 0) return Zero(parts.negative);
  const int32_t zeros = LeadingZeros(parts.mantissa);
  return ExtendedFloat{parts.mantissa << zeros, parts.exponent - zeros, parts.negative, ExtendedKind::kFinite};
}

// -1, 0 or +1 for two finite values.
int32_t CompareFinite(const ExtendedFloat& a, const ExtendedFloat& b) {
  const bool aZero = a.significand == 0;
  const bool bZero = b.significand == 0;
  if (aZero && bZero) return 0;
  if (aZero) return b.negative ? 1 : -1;
  if (bZero) return a.negative ? -1 : 1;
  if (a.negative != b.negative) return a.negative ? -1 : 1;
  int32_t magnitude = 0;
  if (a.exponent != b.exponent) {
    magnitude = a.exponent > b.exponent ? 1 : -1;  // both significands have their top bit set
  } else if (a.significand != b.significand) {
    magnitude = a.significand > b.significand ? 1 : -1;
  }
  return a.negative ? -magnitude : magnitude;
}

// value >> count, rounded to nearest, ties to even; count from 1 to 64.
uint64_t RoundShiftRight(uint64_t value, int32_t count) {
  const uint64_t kept = count == 64 ? 0 : value >> count;
  const uint64_t dropped = count == 64 ? value : value & ((uint64_t{1} << count) - 1);
  const uint64_t half = uint64_t{1} << (count - 1);
  if (dropped > half || (dropped == half && (kept & 1) != 0)) return kept + 1;
  return kept;
}

constexpr Reciprocal ReciprocalOf(uint32_t divisor) {
  const int32_t length = 64 - LeadingZeros(uint64_t{divisor});
  if ((divisor & (divisor - 1)) == 0) return Reciprocal{~uint64_t{0}, length - 1};
  uint64_t remainder = 0;
  const Wide power = ShiftLeft(Wide{0, 1}, 63 + length);
  return Reciprocal{Divide(power, divisor, &remainder).low, length - 1};
}

constexpr ReciprocalTable MakeReciprocals() {
  ReciprocalTable table{};
  table.entries[0] = Reciprocal{0, 0};  // no divisor 0
  for (uint32_t divisor = 1; divisor <= kReciprocalCount; ++divisor) table.entries[divisor] = ReciprocalOf(divisor);
  return table;
}

constexpr InverseTable MakeInverses() {
  InverseTable table{};
  for (uint32_t divisor = 1; divisor <= kReciprocalCount; ++divisor) table.entries[divisor] = 1.0 / divisor;
  return table;
}

}  // namespace

// Worked out by the compiler: no code runs for them at start-up.
constexpr ReciprocalTable kReciprocals = MakeReciprocals();
constexpr InverseTable kInverses = MakeInverses();

ExtendedFloat ExtendedQuotient(int64_t numerator, uint32_t denominator) {
  if (numerator == 0) return Zero(false);
  const bool negative = numerator < 0;
  const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(numerator) : static_cast<uint64_t>(numerator);
  // The numerator at the top of 128 bits leaves a quotient of at least 96 bits.
  const int32_t zeros = LeadingZeros(magnitude);
  uint64_t remainder = 0;
  const Wide quotient = Divide(Wide{magnitude << zeros, 0}, denominator, &remainder);
  return Round(quotient, -64 - zeros, remainder != 0, negative);
}

ExtendedFloat ExtendedDivide(const ExtendedFloat& value, uint32_t divisor) {
  if (value.kind != ExtendedKind::kFinite || value.significand == 0) return value;
  uint64_t remainder = 0;
  const Wide quotient = Divide(Wide{value.significand, 0}, divisor, &remainder);
  return Round(quotient, value.exponent - 64, remainder != 0, value.negative);
}

ExtendedFloat ExtendedDifference(double a, double b) {
  const DoubleParts x = PartsOf(a);
  DoubleParts y = PartsOf(b);
  y.negative = !y.negative;  // a - b = a + (-b)
  if (x.notANumber || y.notANumber) return NotANumber();
  if (x.infinite && y.infinite) return x.negative == y.negative ? Infinity(x.negative) : NotANumber();
  if (x.infinite) return Infinity(x.negative);
  if (y.infinite) return Infinity(y.negative);
  if (x.mantissa == 0 && y.mantissa == 0) return Zero(x.negative && y.negative);
  if (x.mantissa == 0) return FromDouble(-b);
  if (y.mantissa == 0) return FromDouble(a);
  // 1. The operand of the larger exponent goes to bits 64 to 116, the other below it,
  //    shifted by the difference of exponents; bits that fall off the bottom are
  //    jammed into the lowest bit, which keeps the rounding right: they fall off only
  //    for a shift beyond 64, and then the result has more than 100 bits.
  const bool xLarger = x.exponent >= y.exponent;
  const DoubleParts& large = xLarger ? x : y;
  const DoubleParts& small = xLarger ? y : x;
  const Wide largeBits{large.mantissa, 0};
  bool lost = false;
  const int32_t shift = large.exponent - small.exponent;
  Wide smallBits{0, 0};
  if (shift < 128) {
    smallBits = ShiftRight(Wide{small.mantissa, 0}, shift, &lost);
  } else {
    lost = true;
  }
  if (lost) smallBits.low |= 1;
  const int32_t exponent = large.exponent - 64;
  // 2. Add or subtract the magnitudes; an exact zero is +0.
  if (large.negative == small.negative) return Round(Add(largeBits, smallBits), exponent, false, large.negative);
  if (!Less(largeBits, smallBits) && !Less(smallBits, largeBits)) return Zero(false);
  if (Less(largeBits, smallBits)) return Round(Subtract(smallBits, largeBits), exponent, false, small.negative);
  return Round(Subtract(largeBits, smallBits), exponent, false, large.negative);
}

bool ExtendedGreater(const ExtendedFloat& value, double limit) {
  const ExtendedFloat other = FromDouble(limit);
  if (value.kind == ExtendedKind::kNotANumber || other.kind == ExtendedKind::kNotANumber) return false;
  if (value.kind == ExtendedKind::kInfinity) {
    return !value.negative && !(other.kind == ExtendedKind::kInfinity && !other.negative);
  }
  if (other.kind == ExtendedKind::kInfinity) return other.negative;
  return CompareFinite(value, other) > 0;
}

double ExtendedToDouble(const ExtendedFloat& value) {
  uint64_t bits = uint64_t{value.negative} << 63;
  if (value.kind == ExtendedKind::kNotANumber) {
    bits |= uint64_t{0x7FF8} << 48;
  } else if (value.kind == ExtendedKind::kInfinity) {
    bits |= uint64_t{0x7FF} << 52;
  } else if (value.significand != 0) {
    // The top bit stands for 2^(exponent + 63); a normal double keeps 53 bits, a
    // subnormal one fewer, down to 2^-1074.
    const int32_t top = value.exponent + 63;
    if (top > 1023) {
      bits |= uint64_t{0x7FF} << 52;
    } else if (top >= -1022) {
      uint64_t mantissa = RoundShiftRight(value.significand, 11);
      int32_t biased = top + 1023;
      if (mantissa == uint64_t{1} << 53) {
        mantissa >>= 1;
        ++biased;
      }
      bits |= biased >= 2047 ? uint64_t{0x7FF} << 52
                             : (static_cast<uint64_t>(biased) << 52) | (mantissa & ((uint64_t{1} << 52) - 1));
    } else {
      // Subnormal: the value in units of 2^-1074; a mantissa rounded up to 2^52 is the
      // smallest normal double, which the same bits encode.
      const int32_t count = -1074 - value.exponent;
      if (count <= 64) bits |= RoundShiftRight(value.significand, count);
    }
  }
  double result;
  std::memcpy(&result, &bits, sizeof result);
  return result;
}

ExtendedDividend PrepareDividend(const ExtendedFloat& value) {
  ExtendedDividend dividend{value, value.significand, 0, ExtendedToDouble(value), false, false};
  // A zero divides to a zero of its sign; otherwise the quotients by 1 to 1024 lie
  // within [2^(top - 10), 2^(top + 1)), where 2^top is the value's top bit: normal
  // floats for top from -116 to 126.
  const int32_t top = value.exponent + 63;
  dividend.estimable = value.kind == ExtendedKind::kFinite && (value.significand == 0 || (top >= -116 && top <= 126));
  // Divided by 1 to kReciprocalCount, the double's biased exponent is that of the
  // value less 0 to 11: within the normal doubles for these exponents.
  if (value.kind != ExtendedKind::kFinite || value.significand == 0 || value.exponent < -1074 ||
      value.exponent > 959) {
    return dividend;
  }
  dividend.signAndBias =
      (uint64_t{value.negative} << 63) | (static_cast<uint64_t>(value.exponent + 1085) << 52);
  dividend.fast = true;
  return dividend;
}
