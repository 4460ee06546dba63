// Numbers to decimal text: FormatInt, FormatFloat, FormatDouble.
//
// Every digit comes from the exact value. A double (or a float widened to one, which
// is exact) is m * 2^e with integers m and e. The steps:
//   1. E0 = floor(log10 2 * floor(log2 |v|)), so 10^E0 <= |v| < 2 * 10^(E0 + 1).
//   2. T = floor(|v| * 10^(17 - E0)), computed exactly: one 128-bit product for the
//      usual magnitudes, a big integer otherwise. T has 18 or 19 digits; with 19 the
//      exponent was one short, so T = T / 10 and E0 + 1 is the exponent.
//   3. Round T to 17 digits half up: only its last (the 18th) digit decides.
//   4. Round those 17 digits half up to 13 (double) or 6 (float), looking only at the
//      next digit of the 17-digit string. This second rounding is deliberate: the
//      double nearest 3.3815112311875 shows 3.381511231188, where one rounding of the
//      exact value would give 3.381511231187.
//   5. A carry out of the first digit (999.. to 1000..) raises the exponent; the
//      choice between fixed and exponent form is made afterwards, so 9999999999999.5
//      shows 1e+013.
//
// Longest outputs, terminator excluded (kMaxNumberText is 32):
//   exponent form  "-d.dddddddddddde-308"   1 + 1 + 1 + 12 + 5 = 20
//   fixed, E < 0   "-0.000ddddddddddddd"    1 + 2 + 3 + 13     = 19
//   fixed, E >= 0  "-dddddddddddd.d"        1 + 13 + 1         = 15
//   non-finite     "-1.#QNAN", "-1.#SNAN"   8;  integer "-2147483648" 11.
#include "calc/big_integer.h"
#include "calc/text.h"

#include <cstring>

namespace {

constexpr uint64_t kPow10[20] = {1ull,
                                 10ull,
                                 100ull,
                                 1000ull,
                                 10000ull,
                                 100000ull,
                                 1000000ull,
                                 10000000ull,
                                 100000000ull,
                                 1000000000ull,
                                 10000000000ull,
                                 100000000000ull,
                                 1000000000000ull,
                                 10000000000000ull,
                                 100000000000000ull,
                                 1000000000000000ull,
                                 10000000000000000ull,
                                 100000000000000000ull,
                                 1000000000000000000ull,
                                 10000000000000000000ull};

int BitLength64(uint64_t x) {
  int bits = 0;
  while (x != 0) {
    ++bits;
    x >>= 1;
  }
  return bits;
}

// floor(p * log10 2) for |p| <= 1100. 1292913986 / 2^32 is log10 2 within 2e-11, and
// no p * log10 2 in that range comes nearer than 4e-4 to an integer except at p = 0
// (checked for every p in [-1100, 1100]).
int FloorLog10Pow2(int p) {
  int64_t scaled = static_cast<int64_t>(p) * 1292913986;
  if (scaled >= 0) return static_cast<int>(scaled >> 32);
  return -static_cast<int>((-scaled + 0xFFFFFFFFll) >> 32);
}

// floor(m * 2^e * 10^k) by big integers, always exact. The largest intermediate is
// m * 10^342 < 2^53 * 2^1137 (the smallest subnormal), 38 words.
uint64_t ScaledFloorExact(uint64_t m, int e, int k) {
  BigInteger b;
  BigSet(b, m);
  if (k > 0) BigMultiplyPow10(b, k);
  if (e > 0) BigShiftLeft(b, e);
  if (e < 0) BigShiftRight(b, -e);
  for (int n = -k; n > 0; n -= 9) BigDivideSmall(b, static_cast<uint32_t>(kPow10[n >= 9 ? 9 : n]));
  return BigLow64(b);
}

// floor(m * 2^e * 10^k) for m < 2^53 where the result is below 2 * 10^18.
uint64_t ScaledFloor(uint64_t m, int e, int k) {
  if (e >= 0 && e <= 10) {
    // An integer below 2^63; k is -1 at the least since the result has 18 digits.
    uint64_t v = m << e;
    if (k >= 0) return v * kPow10[k];
    if (k == -1) return v / 10;
  } else if (e < 0 && k >= 0 && k <= 22 && -e < 128) {
    // m * 10^22 < 2^53 * 2^73.1 fits in 128 bits.
    unsigned __int128 product = static_cast<unsigned __int128>(m) * kPow10[k <= 19 ? k : 19];
    if (k > 19) product *= kPow10[k - 19];
    return static_cast<uint64_t>(product >> -e);
  }
  return ScaledFloorExact(m, e, k);
}

struct RoundedDecimal {
  uint64_t digits;  // exactly `precision` digits
  int exponent;     // the value is d.ddd... * 10^exponent
};

// Steps 1 to 5 above for m * 2^e, m > 0.
RoundedDecimal RoundTwice(uint64_t m, int e, int precision) {
  int exponent = FloorLog10Pow2(e + BitLength64(m) - 1);
  uint64_t t = ScaledFloor(m, e, 17 - exponent);
  if (t >= kPow10[18]) {
    t /= 10;
    ++exponent;
  }
  uint64_t seventeen = (t + 5) / 10;
  if (seventeen == kPow10[17]) {
    seventeen = kPow10[16];
    ++exponent;
  }
  uint64_t unit = kPow10[17 - precision];
  uint64_t rounded = (seventeen + unit / 2) / unit;
  if (rounded == kPow10[precision]) {
    rounded = kPow10[precision - 1];
    ++exponent;
  }
  return {rounded, exponent};
}

int WriteWord(const char* word, char* out) {
  int n = static_cast<int>(std::strlen(word));
  std::memcpy(out, word, static_cast<size_t>(n) + 1);
  return n;
}

// Lays out `precision` digits with decimal exponent `exponent`: exponent form when
// exponent < -4 or exponent >= precision, fixed otherwise; trailing zeros of the
// fraction and a bare point dropped.
int WriteDecimal(bool negative, RoundedDecimal value, int precision, char* out) {
  char digits[20];
  uint64_t rest = value.digits;
  for (int i = precision - 1; i >= 0; --i) {
    digits[i] = static_cast<char>('0' + rest % 10);
    rest /= 10;
  }
  int significant = precision;
  while (significant > 1 && digits[significant - 1] == '0') --significant;

  char* o = out;
  if (negative) *o++ = '-';
  int exponent = value.exponent;
  if (exponent < -4 || exponent >= precision) {
    *o++ = digits[0];
    if (significant > 1) {
      *o++ = '.';
      for (int i = 1; i < significant; ++i) *o++ = digits[i];
    }
    *o++ = 'e';
    *o++ = exponent < 0 ? '-' : '+';
    int magnitude = exponent < 0 ? -exponent : exponent;  // at most 324
    *o++ = static_cast<char>('0' + magnitude / 100);
    *o++ = static_cast<char>('0' + magnitude / 10 % 10);
    *o++ = static_cast<char>('0' + magnitude % 10);
  } else if (exponent >= 0) {
    for (int i = 0; i <= exponent; ++i) *o++ = digits[i];
    if (significant > exponent + 1) {
      *o++ = '.';
      for (int i = exponent + 1; i < significant; ++i) *o++ = digits[i];
    }
  } else {
    *o++ = '0';
    *o++ = '.';
    for (int i = 0; i < -exponent - 1; ++i) *o++ = '0';
    for (int i = 0; i < significant; ++i) *o++ = digits[i];
  }
  *o = 0;
  return static_cast<int>(o - out);
}

// Plain decimal digits of a whole number, "-" first when negative.
int WriteWhole(bool negative, uint64_t magnitude, char* out) {
  char reversed[20];
  int n = 0;
  do {
    reversed[n++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  char* o = out;
  if (negative) *o++ = '-';
  while (n > 0) *o++ = reversed[--n];
  *o = 0;
  return static_cast<int>(o - out);
}

// A finite non-zero double by the two roundings, `precision` digits.
int WriteFinite(double value, int precision, char* out) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  bool negative = (bits >> 63) != 0;
  int biased = static_cast<int>(bits >> 52) & 0x7FF;
  uint64_t fraction = bits & ((1ull << 52) - 1);
  uint64_t m = biased == 0 ? fraction : fraction | (1ull << 52);
  int e = biased == 0 ? -1074 : biased - 1075;
  return WriteDecimal(negative, RoundTwice(m, e, precision), precision, out);
}

}  // namespace

int FormatInt(int32_t value, char* out) {
  // The magnitude in unsigned arithmetic, so -2147483648 needs no special case.
  const uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  return WriteWhole(value < 0, magnitude, out);
}

// Signalling not-a-numbers keep their sign like the quiet ones: "-1.#SNAN" when the
// sign bit is set (the CPU never makes one; only a bit pattern can).
int FormatDouble(double value, char* out) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  bool negative = (bits >> 63) != 0;
  uint64_t magnitudeBits = bits & ~(1ull << 63);
  if (magnitudeBits == 0) return WriteWord("0", out);
  if (magnitudeBits >= 0x7FF0000000000000ull) {
    if (magnitudeBits == 0x7FF0000000000000ull) return WriteWord(negative ? "-1.#INF" : "1.#INF", out);
    if (bits == 0xFFF8000000000000ull) return WriteWord("-1.#IND", out);
    bool quiet = (bits & (1ull << 51)) != 0;
    if (quiet) return WriteWord(negative ? "-1.#QNAN" : "1.#QNAN", out);
    return WriteWord(negative ? "-1.#SNAN" : "1.#SNAN", out);
  }
  // A whole number below 10^13 has at most 13 digits, which both roundings keep and
  // the fixed form writes plainly: its integer digits are the text. The segment
  // lengths of every result row take this path.
  const double magnitude = negative ? -value : value;
  if (magnitude < 1e13 && magnitude == static_cast<double>(static_cast<uint64_t>(magnitude)))
    return WriteWhole(negative, static_cast<uint64_t>(magnitude), out);
  return WriteFinite(value, 13, out);
}

int FormatFloat(float value, char* out) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  bool negative = (bits >> 31) != 0;
  uint32_t magnitudeBits = bits & 0x7FFFFFFFu;
  if (magnitudeBits == 0) return WriteWord("0", out);
  if (magnitudeBits > 0x7F800000u) return WriteWord("1.#QNAN", out);
  if (magnitudeBits == 0x7F800000u) return WriteWord(negative ? "-1.#INF" : "1.#INF", out);
  return WriteFinite(static_cast<double>(value), 6, out);
}

int FormatFixed(int64_t scaled, int decimals, int keptDecimals, char* out) {
  decimals = decimals < 0 ? 0 : decimals > 18 ? 18 : decimals;
  keptDecimals = keptDecimals < 0 ? 0 : keptDecimals > decimals ? decimals : keptDecimals;
  // 1. The magnitude in unsigned arithmetic, so INT64_MIN needs no special case; its
  //    digits from the last, at least decimals + 1 of them (zeros before a fraction
  //    below 1), so the integer part has one digit at least. 19 digits at most: the
  //    magnitude is below 10^19, and decimals + 1 <= 19.
  uint64_t magnitude = scaled < 0 ? 0u - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
  char reversed[20];
  int n = 0;
  do {
    reversed[n++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0 || n <= decimals);
  // 2. The fraction's trailing zeros that go: reversed[0..dropped) while above kept.
  int dropped = 0;
  while (dropped < decimals - keptDecimals && reversed[dropped] == '0') ++dropped;
  // 3. Sign, integer digits, and the point with the fraction digits left.
  char* o = out;
  if (scaled < 0) *o++ = '-';
  while (n > decimals) *o++ = reversed[--n];
  if (n > dropped) *o++ = '.';
  while (n > dropped) *o++ = reversed[--n];
  *o = 0;
  return static_cast<int>(o - out);
}


int FormatTenthsPercent(int64_t part, int64_t whole, char* out) {
  // part and whole are a bit's quanta in practice; anything up to 2^53 stays exact
  // below (1000 x part + whole fits in 63 bits).
  constexpr int64_t kLargest = int64_t{1} << 53;
  if (whole <= 0 || part < 0 || part > whole || whole > kLargest) return WriteWord("-", out);
  // 1. Tenths of a point, ties up: floor((2000 x part + whole) / (2 x whole)).
  const int64_t tenths = (2000 * part + whole) / (2 * whole);
  // 2. A whole number of quarters of the bit (4 x part a multiple of whole) keeps the
  //    bare whole percent; every other text keeps its tenths digit, zero or not.
  const bool quarter = (4 * part) % whole == 0;
  return FormatFixed(tenths, 1, quarter ? 0 : 1, out);
}
