// Typed text to numbers: ToInt, ToFloat and ToDouble. Both read the folded text (full-width
// forms as ASCII) through FoldedReader, so nothing is allocated.
#include "calc/big_integer.h"
#include "calc/full_width.h"
#include "calc/text.h"

#include <cstdint>
#include <cstring>

namespace {

// Significant digits kept of a decimal. A midpoint between two adjacent doubles has at
// most 767 significant digits, so cutting after 800 and standing in a single 1 for
// any non-zero digits beyond keeps the decimal on the same side of every midpoint.
constexpr int kKeptDigits = 800;

// A decimal read from text: 0.d1 d2 ... dn * 10^pointExponent.
struct ParsedDecimal {
  bool negative = false;
  bool anyDigit = false;  // a number was read at all
  int count = 0;          // significant digits kept, the first non-zero
  unsigned char digits[kKeptDigits + 1];
  int64_t pointExponent = 0;
  int64_t fractionDigits = 0;  // every digit after the point, zeros too
};

// Reads plain ASCII bytes from first to last, as FoldedReader reads a folded text:
// Current() is 0 at the end. The companion's values go through it.
class PlainReader {
 public:
  PlainReader(const char* first, const char* last) : at_(first), last_(last) {}
  unsigned char Current() const { return at_ != last_ ? static_cast<unsigned char>(*at_) : 0; }
  void Next() {
    if (at_ != last_) ++at_;
  }
  const char* Position() const { return at_; }

 private:
  const char* at_;
  const char* last_;
};

// Reads [+-] digits [. digits] [mark [+-] digits] from in, leaving it after the
// number (before a mark that no digit follows); the marks are e and E, and d and D
// with markD. Positions are counted in 64 bits and the exponent saturates, so no text
// can overflow them. ToDouble and the companion's ReadDouble and ReadScaled share it.
template <typename Reader>
ParsedDecimal ScanDecimal(Reader& in, bool markD, bool exponentAllowed) {
  ParsedDecimal d;
  if (in.Current() == '+' || in.Current() == '-') {
    d.negative = in.Current() == '-';
    in.Next();
  }
  bool dropped = false;        // a non-zero digit beyond kKeptDigits
  int64_t integerDigits = 0;   // significant digits before the point
  int64_t leadingZeros = 0;    // zeros after the point before the first significant digit
  bool pointSeen = false;
  for (;;) {
    unsigned char c = in.Current();
    if (c == '.' && !pointSeen) {
      pointSeen = true;
      in.Next();
      continue;
    }
    if (!IsDigit(c)) break;
    d.anyDigit = true;
    if (pointSeen) ++d.fractionDigits;
    int digit = c - '0';
    if (d.count == 0 && !dropped && digit == 0) {
      if (pointSeen) ++leadingZeros;
    } else {
      if (d.count < kKeptDigits) {
        d.digits[d.count++] = static_cast<unsigned char>(digit);
      } else if (digit != 0) {
        dropped = true;
      }
      if (!pointSeen) ++integerDigits;
    }
    in.Next();
  }
  if (!d.anyDigit) return d;

  int64_t exponent = 0;
  unsigned char mark = in.Current();
  if (exponentAllowed && (mark == 'e' || mark == 'E' || (markD && (mark == 'd' || mark == 'D')))) {
    const Reader beforeMark = in;
    in.Next();
    bool exponentNegative = false;
    if (in.Current() == '+' || in.Current() == '-') {
      exponentNegative = in.Current() == '-';
      in.Next();
    }
    // Without digits the mark is not part of the number and the exponent stays 0.
    if (!IsDigit(in.Current())) in = beforeMark;
    while (IsDigit(in.Current())) {
      if (exponent < 1000000000) exponent = exponent * 10 + (in.Current() - '0');
      in.Next();
    }
    if (exponentNegative) exponent = -exponent;
  }
  if (dropped) d.digits[d.count++] = 1;
  while (d.count > 0 && d.digits[d.count - 1] == 0) --d.count;
  d.pointExponent = (integerDigits > 0 ? integerDigits : -leadingZeros) + exponent;
  return d;
}

// The window's reading: the folded text after leading blanks, all four marks.
ParsedDecimal ReadDecimal(const char* text) {
  FoldedReader in(text);
  while (IsBlank(in.Current())) in.Next();
  return ScanDecimal(in, true, true);
}

double DoubleFromBits(uint64_t bits) {
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

constexpr double kPow10Double[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                     1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                     1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The double nearest to digits * 10^scale (ties to even), by exact big-integer
// division. With scale in [-1125, 309] and at most 801 digits, every operand stays
// below 2^3800 (the numerator 10^801 * 2^1075, the divisor 10^1125 * 2^53), within
// the 4608 bits of a BigInteger.
double NearestDoubleExact(const unsigned char* digits, int count, int scale) {
  BigInteger numerator;
  BigSet(numerator, 0);
  for (int i = 0; i < count; i += 9) {
    uint32_t chunk = 0;
    uint32_t factor = 1;
    for (int j = i; j < count && j < i + 9; ++j) {
      chunk = chunk * 10 + digits[j];
      factor *= 10;
    }
    BigMultiplyAdd(numerator, factor, chunk);
  }
  BigInteger denominator;
  BigSet(denominator, 1);
  if (scale >= 0) {
    BigMultiplyPow10(numerator, scale);
  } else {
    BigMultiplyPow10(denominator, -scale);
  }

  // t = floor(log2(numerator / denominator)): the bit lengths give t or t + 1.
  int t = BigBitLength(numerator) - BigBitLength(denominator);
  {
    BigInteger scaledNumerator = numerator;
    BigInteger scaledDenominator = denominator;
    if (t >= 0) {
      BigShiftLeft(scaledDenominator, t);
    } else {
      BigShiftLeft(scaledNumerator, -t);
    }
    if (BigCompare(scaledNumerator, scaledDenominator) < 0) --t;
  }
  if (t > 1023) return DoubleFromBits(0x7FF0000000000000ull);
  if (t < -1075) return 0.0;

  // The last kept bit is worth 2^lsb (53 bits, fewer for subnormals). The quotient q
  // = floor(value / 2^(lsb - 1)) holds those bits and one more, below 2^54.
  int lsb = t - 52 > -1074 ? t - 52 : -1074;
  int shift = lsb - 1;
  if (shift < 0) {
    BigShiftLeft(numerator, -shift);
  } else {
    BigShiftLeft(denominator, shift);
  }
  BigShiftLeft(denominator, 53);
  uint64_t q = 0;
  for (int bit = 53; bit >= 0; --bit) {
    if (BigCompare(numerator, denominator) >= 0) {
      BigSubtract(numerator, denominator);
      q |= 1ull << bit;
    }
    BigShiftRight(denominator, 1);
  }
  bool sticky = numerator.size != 0;
  uint64_t mantissa = q >> 1;
  bool half = (q & 1) != 0;
  if (half && (sticky || (mantissa & 1) != 0)) ++mantissa;
  if (mantissa == 1ull << 53) {
    mantissa >>= 1;
    ++lsb;
  }
  if (mantissa < 1ull << 52) return DoubleFromBits(mantissa);  // subnormal or zero, lsb -1074
  int biased = lsb + 1075;
  if (biased >= 2047) return DoubleFromBits(0x7FF0000000000000ull);
  return DoubleFromBits((static_cast<uint64_t>(biased) << 52) | (mantissa & ((1ull << 52) - 1)));
}

// The double nearest to the decimal's magnitude.
double NearestDouble(const ParsedDecimal& d) {
  if (d.count == 0) return 0.0;
  // value < 10^-324 is below half the smallest subnormal; value >= 10^309 is beyond
  // the largest double.
  if (d.pointExponent < -324) return 0.0;
  if (d.pointExponent > 310) return DoubleFromBits(0x7FF0000000000000ull);
  int scale = static_cast<int>(d.pointExponent) - d.count;
#if defined(__FLT_EVAL_METHOD__) && __FLT_EVAL_METHOD__ == 0
  // Both operands exact doubles (below 2^53, powers of ten up to 10^22), so one IEEE
  // multiplication or division rounds once, correctly (SSE, round to nearest).
  if (d.count <= 15 && scale >= -22 && scale <= 22) {
    uint64_t whole = 0;
    for (int i = 0; i < d.count; ++i) whole = whole * 10 + d.digits[i];
    double value = static_cast<double>(whole);
    return scale >= 0 ? value * kPow10Double[scale] : value / kPow10Double[-scale];
  }
#endif
  return NearestDoubleExact(d.digits, d.count, scale);
}

}  // namespace

int32_t ToInt(const char* text) {
  FoldedReader in(text);
  while (IsBlank(in.Current())) in.Next();
  bool negative = false;
  if (in.Current() == '+' || in.Current() == '-') {
    negative = in.Current() == '-';
    in.Next();
  }
  // Unsigned arithmetic wraps modulo 2^32 by definition: "4294967368" gives 72.
  uint32_t value = 0;
  while (IsDigit(in.Current())) {
    value = value * 10u + static_cast<uint32_t>(in.Current() - '0');
    in.Next();
  }
  if (negative) value = 0u - value;
  int32_t result;
  std::memcpy(&result, &value, sizeof result);
  return result;
}

double ToDouble(const char* text) {
  ParsedDecimal d = ReadDecimal(text);
  if (!d.anyDigit) return 0.0;
  const double magnitude = NearestDouble(d);
  return d.negative ? -magnitude : magnitude;
}

NumberRead ReadDouble(const char* first, const char* last, double& value) {
  PlainReader in(first, last);
  const ParsedDecimal d = ScanDecimal(in, false, true);
  if (!d.anyDigit) return {first, NumberError::kNoNumber};
  const double magnitude = NearestDouble(d);
  value = d.negative ? -magnitude : magnitude;
  // Digits that are not all zeros, read as 0 or as infinity: beyond a double's range.
  const bool outOfRange = d.count > 0 && (magnitude == 0.0 || magnitude > 1.7976931348623157e308);
  return {in.Position(), outOfRange ? NumberError::kOutOfRange : NumberError::kNone};
}

NumberRead ReadScaled(const char* first, const char* last, int decimals, int64_t& scaled) {
  PlainReader in(first, last);
  const ParsedDecimal d = ScanDecimal(in, false, false);
  if (!d.anyDigit) return {first, NumberError::kNoNumber};
  if (d.fractionDigits > decimals) return {in.Position(), NumberError::kTooManyDecimals};
  // value * 10^decimals = 0.d1...dn * 10^(pointExponent + decimals), a whole number
  // here; 10^18 and more does not fit in 63 bits.
  int64_t magnitude = 0;
  bool outOfRange = false;
  if (d.count > 0) {
    const int64_t digitsBeforePoint = d.pointExponent + decimals;
    if (digitsBeforePoint > 18) {
      outOfRange = true;
      magnitude = INT64_MAX;
    } else {
      for (int64_t i = 0; i < digitsBeforePoint; ++i) magnitude = magnitude * 10 + (i < d.count ? d.digits[i] : 0);
    }
  }
  scaled = d.negative ? -magnitude : magnitude;
  return {in.Position(), outOfRange ? NumberError::kOutOfRange : NumberError::kNone};
}

NumberRead ReadUnsigned(const char* first, const char* last, int base, uint64_t limit, uint64_t& value) {
  uint64_t number = 0;
  bool outOfRange = false;
  const char* p = first;
  for (; p != last; ++p) {
    const unsigned char c = static_cast<unsigned char>(*p);
    int digit = IsDigit(c) ? c - '0' : -1;
    if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0 || digit >= base) break;
    // Past limit the number stays at it, so a text of any length reads in linear time.
    if (!outOfRange && number > (limit - static_cast<uint64_t>(digit)) / static_cast<uint64_t>(base)) outOfRange = true;
    if (!outOfRange) number = number * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
  }
  if (p == first) return {first, NumberError::kNoNumber};
  value = outOfRange ? limit : number;
  return {p, outOfRange ? NumberError::kOutOfRange : NumberError::kNone};
}

// Rounded twice by design: to the nearest double, then to the nearest float (rounding
// to nearest is symmetric, so the sign may come first).
float ToFloat(const char* text) { return static_cast<float>(ToDouble(text)); }
