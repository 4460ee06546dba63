// The conversions' tables and edge cases, byte for byte.
#include "calc/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

std::string Str(const Text& text) { return text ? std::string(text.get()) : std::string("<null>"); }

double DoubleFromBits(uint64_t bits) {
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

float FloatFromBits(uint32_t bits) {
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

struct DoubleCase {
  double value;
  const char* text;
};

TEST(DoubleText, Table) {
  const DoubleCase cases[] = {
      {6.0, "6"},
      {16.0, "16"},
      {100.0, "100"},
      {87.5, "87.5"},
      {0.3125, "0.3125"},
      {600.0 / 7.0, "85.71428571429"},
      {1.0 / 3.0, "0.3333333333333"},
      {2.0 / 3.0, "0.6666666666667"},
      {0.1 + 0.2, "0.3"},
      {0.0001, "0.0001"},
      {0.00001, "1e-005"},
      {1e15, "1e+015"},
      {123456789.0, "123456789"},
      {9.99999999999995, "10"},
      {9999999999999.5, "1e+013"},
      {-2.5, "-2.5"},
      {static_cast<double>(0.8f) * 100.0, "80.00000119209"},
      {static_cast<double>(0.7f) * 100.0, "69.99999880791"},
      {static_cast<double>(5.0f / 6.0f) * 100.0, "83.33333134651"},
      {static_cast<double>(0.875f) * 100.0, "87.5"},
      {static_cast<double>(0.75f) * 100.0, "75"},
      {static_cast<double>(ToFloat("0.1")), "0.1000000014901"},
  };
  for (const DoubleCase& c : cases) EXPECT_EQ(Str(ToText(c.value)), c.text) << c.text;
}

TEST(DoubleText, RoundsTwiceHalfUp) {
  const DoubleCase cases[] = {
      // One rounding of the exact value would give ...187: the 17-digit string is
      // 3.3815112311875000, whose 14th digit 5 raises the 13th.
      {3.3815112311875, "3.381511231188"},
      // 2^-20 is exactly 9.5367431640625e-07: a tie, and ties go up.
      {std::ldexp(1.0, -20), "9.536743164063e-007"},
      {0.5, "0.5"},
      {2.5e-5, "2.5e-005"},
      // 0.1 + 0.7 is 0.79999999999999993338661852249060757458209991455078125: the
      // 17-digit string 0.79999999999999993 rounds up at its 14th digit to 0.8.
      {0.1 + 0.7, "0.8"},
      // 1.0000000000000022 (1 + 10 * 2^-52): the 14th digit is 0, nothing rises.
      {1.0 + 10 * std::ldexp(1.0, -52), "1"},
  };
  for (const DoubleCase& c : cases) EXPECT_EQ(Str(ToText(c.value)), c.text) << c.text;
}

TEST(DoubleText, FixedAndExponentBoundaries) {
  const DoubleCase cases[] = {
      {1e-4, "0.0001"},
      {0.00012345, "0.00012345"},
      {9.999999999999e-5, "9.999999999999e-005"},
      {1e-5, "1e-005"},
      {999999999999.9, "999999999999.9"},
      {1e12, "1000000000000"},
      {9999999999999.0, "9999999999999"},
      {1e13, "1e+013"},
      {1234567890123456.0, "1.234567890123e+015"},
      {1e100, "1e+100"},
      {1e-100, "1e-100"},
      {-1e-7, "-1e-007"},
      {1.7976931348623157e308, "1.797693134862e+308"},
      {2.2250738585072014e-308, "2.225073858507e-308"},
      {DoubleFromBits(1), "4.940656458412e-324"},
      {DoubleFromBits(0x000FFFFFFFFFFFFFull), "2.225073858507e-308"},
      {0.1, "0.1"},
      {1.0 / 7.0, "0.1428571428571"},
      {-123.456, "-123.456"},
  };
  for (const DoubleCase& c : cases) EXPECT_EQ(Str(ToText(c.value)), c.text) << c.text;
}

// Whole numbers below 10^13 are written as their digits directly; from 10^13 on, and
// for any fraction, by the two roundings.
TEST(DoubleText, WholeNumbers) {
  const DoubleCase cases[] = {
      {1.0, "1"},
      {-7.0, "-7"},
      {2147483648.0, "2147483648"},
      {-2147483648.0, "-2147483648"},
      {4294967296.0, "4294967296"},
      {123456789012.0, "123456789012"},
      {9999999999998.0, "9999999999998"},
      {9999999999999.0, "9999999999999"},
      {1e13, "1e+013"},
      {10000000000001.0, "1e+013"},
      {4503599627370496.0, "4.50359962737e+015"},
      {9007199254740993.0, "9.007199254741e+015"},
      {18446744073709551616.0, "1.844674407371e+019"},
      {0.5, "0.5"},
      {1.5, "1.5"},
      {-2.000000000000001, "-2"},
      {2147483647.5, "2147483647.5"},
  };
  for (const DoubleCase& c : cases) EXPECT_EQ(Str(ToText(c.value)), c.text) << c.text;
}

TEST(DoubleText, ZeroAndNonFinite) {
  const DoubleCase cases[] = {
      {0.0, "0"},
      {-0.0, "0"},
      {std::numeric_limits<double>::infinity(), "1.#INF"},
      {-std::numeric_limits<double>::infinity(), "-1.#INF"},
      {DoubleFromBits(0xFFF8000000000000ull), "-1.#IND"},
      {DoubleFromBits(0x7FF8000000000000ull), "1.#QNAN"},
      {DoubleFromBits(0xFFF8000000000001ull), "-1.#QNAN"},
      {DoubleFromBits(0x7FFC000000000000ull), "1.#QNAN"},
      {DoubleFromBits(0x7FF0000000000001ull), "1.#SNAN"},
      {DoubleFromBits(0x7FF4000000000000ull), "1.#SNAN"},
      {DoubleFromBits(0xFFF0000000000001ull), "-1.#SNAN"},
  };
  for (const DoubleCase& c : cases) EXPECT_EQ(Str(ToText(c.value)), c.text) << c.text;
#if defined(__i386__) || defined(__x86_64__)
  // The default not-a-number of 0.0 / 0.0 on x86 (ARM's has its sign bit clear).
  volatile double zero = 0.0;
  EXPECT_EQ(Str(ToText(zero / zero)), "-1.#IND");
#endif
}

struct FloatCase {
  float value;
  const char* text;
};

TEST(FloatText, Table) {
  const FloatCase cases[] = {
      {87.5f, "87.5"},
      {0.3125f, "0.3125"},
      {0.1f, "0.1"},
      {1.0f / 3.0f, "0.333333"},
      {600.0f / 7.0f, "85.7143"},
      {0.01953125f, "0.0195313"},
      {99.99996f, "100"},
      {500000.0f, "500000"},
      {1000000.0f, "1e+006"},
      {1234567.0f, "1.23457e+006"},
      {0.00001f, "1e-005"},
      {-1.25f, "-1.25"},
      {0.0f, "0"},
      {-0.0f, "0"},
      {999999.0f, "999999"},
      {999999.5f, "1e+006"},
      {0.0001f, "0.0001"},
      {FloatFromBits(1), "1.4013e-045"},
      {std::numeric_limits<float>::max(), "3.40282e+038"},
      {std::numeric_limits<float>::infinity(), "1.#INF"},
      {-std::numeric_limits<float>::infinity(), "-1.#INF"},
      {FloatFromBits(0x7FC00000u), "1.#QNAN"},
      {FloatFromBits(0xFFC00000u), "1.#QNAN"},
      {FloatFromBits(0x7F800001u), "1.#QNAN"},
      {FloatFromBits(0xFF800001u), "1.#QNAN"},
  };
  for (const FloatCase& c : cases) EXPECT_EQ(Str(ToText(c.value)), c.text) << c.text;
}

TEST(IntText, Table) {
  const struct {
    int32_t value;
    const char* text;
  } cases[] = {{0, "0"}, {-8, "-8"}, {7, "7"}, {500, "500"}, {-10, "-10"},
               {2147483647, "2147483647"}, {INT32_MIN, "-2147483648"}};
  for (const auto& c : cases) EXPECT_EQ(Str(ToText(c.value)), c.text) << c.text;
}

TEST(NumberText, LongestFormsFitTheBuffer) {
  char buffer[kMaxNumberText];
  EXPECT_EQ(FormatDouble(-9.999999999999e-5, buffer), 20);
  EXPECT_STREQ(buffer, "-9.999999999999e-005");
  EXPECT_EQ(FormatDouble(-1.234567890123e-100, buffer), 20);
  EXPECT_STREQ(buffer, "-1.234567890123e-100");
  EXPECT_EQ(FormatDouble(-0.00012345678901234, buffer), 19);
  EXPECT_STREQ(buffer, "-0.0001234567890123");
  EXPECT_EQ(FormatFloat(-1.234567e-30f, buffer), 13);
  EXPECT_STREQ(buffer, "-1.23457e-030");
  EXPECT_EQ(FormatInt(INT32_MIN, buffer), 11);
  EXPECT_STREQ(buffer, "-2147483648");
}

TEST(FoldFullWidth, Table) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"\xA3\xB0\xA3\xB1\xA3\xB2\xA3\xB3\xA3\xB4\xA3\xB5\xA3\xB6\xA3\xB7\xA3\xB8\xA3\xB9", "0123456789"},
      {"\xA3\xAE\xA3\xAD\xA3\xAB\xA3\xE5", ".-+e"},
      {"\xA3\xA1\xA3\xFE", "!~"},   // both ends of the printable range
      {"\xA1\xA1" "72", " 72"},     // ideographic space
      {"\xA1\xAB\xA1\xEE\xA1\xEF", "~**"},
      {"\xA3\xA0\xA3\xFF", "\xA3\xA0\xA3\xFF"},  // just outside the range: unchanged
      {"\xD6\xD0\xCE\xC4", "\xD6\xD0\xCE\xC4"},  // ordinary characters stay
      {"\xB0" "A", "\xB0" "A"},                  // a pair whatever its second byte
      {"12\xA3", "12"},                          // a lead byte at the end is dropped
      {"\xA3\xB1\xA3", "1"},
      {"A\xA3\xA3\xA3\xB1", "A#1"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Str(FoldFullWidth(c.in)), c.out) << c.out;
  EXPECT_EQ(Str(FoldFullWidth(nullptr)), "");
}

TEST(ToInt, Table) {
  const struct {
    const char* text;
    int32_t value;
  } cases[] = {
      {"  72MHz", 72},
      {"72.9", 72},
      {"\xA3\xB7\xA3\xB2", 72},
      {"\xA1\xA1" "72", 72},
      {"+5", 5},
      {"-8", -8},
      {"", 0},
      {"abc", 0},
      {"4294967368", 72},
      {"2147483648", INT32_MIN},
      {"-2147483648", INT32_MIN},
      {"99999999999", 1215752191},
      {" \t\n\v\f\r42", 42},
      {"\xA3\xAD\xA3\xB8", -8},  // full-width minus
      {"--8", 0},
      {"+-8", 0},
      {"- 8", 0},
      {"0042", 42},
      {"4\xA3" "2", 4},  // a stray pair ends the digits
      {"\xA3\xB4\xA3", 4},
  };
  for (const auto& c : cases) EXPECT_EQ(ToInt(c.text), c.value) << c.text;
  EXPECT_EQ(ToInt(nullptr), 0);
}

TEST(ToFloat, Table) {
  const struct {
    const char* text;
    float value;
  } cases[] = {
      {"500", 500.0f},
      {" 500kbps", 500.0f},
      {"\xA3\xB1\xA3\xB2\xA3\xB5", 125.0f},
      {"\xA3\xB1\xA3\xB2\xA3\xB5\xA3\xAE\xA3\xB5", 125.5f},
      {"0.1", 0.1f},
      {"1e3", 1000.0f},
      {"1d3", 1000.0f},
      {"1E3", 1000.0f},
      {"1D+3", 1000.0f},
      {"1e-3", 0.001f},
      {".", 0.0f},
      {"", 0.0f},
      {"abc", 0.0f},
      {".5", 0.5f},
      {"5.", 5.0f},
      {"-2.5", -2.5f},
      {"+2.5", 2.5f},
      {"1e", 1.0f},     // no exponent digits: the mark is not read
      {"1e+", 1.0f},
      {"1ex5", 1.0f},
      {"1.5.5", 1.5f},
      {"\xA1\xA1" "\xA3\xB1\xA3\xE5\xA3\xB2", 100.0f},
      {"1e999999999999", std::numeric_limits<float>::infinity()},
      {"-1e999999999999", -std::numeric_limits<float>::infinity()},
      {"1e-999999999999", 0.0f},
      {"1e39", std::numeric_limits<float>::infinity()},
      {"3.4028235e38", std::numeric_limits<float>::max()},
      {"1e-46", 0.0f},
      {"1.4e-45", FloatFromBits(1)},
      {"0.000000000000000000000000000000000000000000000000001e51", 1.0f},
      {"100000000000000000000000000000000000000000000000000e-49", 10.0f},
  };
  for (const auto& c : cases) EXPECT_EQ(ToFloat(c.text), c.value) << c.text;
  EXPECT_EQ(ToFloat(nullptr), 0.0f);
}

// Rounded once, to double: the companion's sample point. Ties between two doubles go
// to the even one, and a digit far behind a tie decides it.
TEST(ToDouble, Table) {
  const struct {
    const char* text;
    uint64_t bits;
  } cases[] = {
      {"0.1", 0x3FB999999999999Aull},
      {"87.5", 0x4055E00000000000ull},
      {"+40", 0x4044000000000000ull},
      {"-0", 0x8000000000000000ull},
      {"1e23", 0x44B52D02C7E14AF6ull},
      // 2^53 + 1 is a tie between 2^53 and 2^53 + 2: to even, down; any digit behind
      // it, up.
      {"9007199254740993", 0x4340000000000000ull},
      {"9007199254740993.00000000000000000000000000001", 0x4340000000000001ull},
      // 2^53 + 3 is a tie between 2^53 + 2 and 2^53 + 4: to even, up.
      {"9007199254740995", 0x4340000000000002ull},
      {"4.9406564584124654e-324", 0x0000000000000001ull},  // the smallest subnormal
      {"2.4703282292062327e-324", 0x0000000000000000ull},  // below half of it
      {"2.4703282292062328e-324", 0x0000000000000001ull},  // above half of it
      {"1.7976931348623157e308", 0x7FEFFFFFFFFFFFFFull},
      {"1.7976931348623159e308", 0x7FF0000000000000ull},  // rounds beyond the largest
      {"1e400", 0x7FF0000000000000ull},
      {"1e-400", 0x0000000000000000ull},
      {"abc", 0x0000000000000000ull},
  };
  for (const auto& c : cases) {
    const double value = ToDouble(c.text);
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    EXPECT_EQ(bits, c.bits) << c.text;
  }
}

TEST(ToFloat, ReturnsSinglePrecision) {
  float f = ToFloat("0.1");
  EXPECT_EQ(static_cast<double>(f), 0.100000001490116119384765625);
  EXPECT_EQ(Str(ToText(static_cast<double>(f))), "0.1000000014901");
  EXPECT_TRUE(std::signbit(ToFloat("-0")));
  EXPECT_FALSE(std::signbit(ToFloat("-abc")));
}

TEST(ToFloat, RoundsToDoubleThenToFloat) {
  // 1 + 2^-24 + 2^-60 is nearest to a float of 1 + 2^-23 directly, but the nearest
  // double is 1 + 2^-24 exactly, a float tie that goes to the even 1.
  EXPECT_EQ(ToFloat("1.00000005960464477539930798"), 1.0f);
  // 1 + 2^-24 + 2^-53, halfway between two doubles: ties to the even 1 + 2^-24, a
  // float tie in turn that goes to 1. Rounding the double tie up would give 1 + 2^-23.
  EXPECT_EQ(ToFloat("1.00000005960464488641292746251565404236316680908203125"), 1.0f);
  EXPECT_EQ(ToFloat("1.00000005960464488641292746251565404236316680908203126"), 1.00000011920928955078125f);
  // Halfway between the doubles 1 and 1 + 2^-52: ties to even.
  EXPECT_EQ(ToFloat("1.00000000000000011102230246251565404236316680908203125"), 1.0f);
}

TEST(ToFloat, LongDigitStrings) {
  std::string longOne = "0." + std::string(5000, '0') + "1e5000";
  EXPECT_EQ(ToFloat(longOne.c_str()), 0.1f);
  std::string manyNines = "9." + std::string(3000, '9');
  EXPECT_EQ(ToFloat(manyNines.c_str()), 10.0f);
  std::string wide = std::string(400, '1') + "e-399";
  EXPECT_EQ(ToFloat(wide.c_str()), ToFloat("1.1111111111111111111111"));
}

TEST(LeftBytes, Table) {
  const struct {
    const char* text;
    int32_t count;
    const char* out;
  } cases[] = {
      {"87.5", 4, "87.5"},
      {"80.00000119209", 4, "80.0"},
      {"69.99999880791", 4, "69.9"},
      {"75", 4, "75"},
      {"", 4, "<null>"},
      {nullptr, 4, "<null>"},
      {"abc", 0, "<null>"},
      {"abc", -1, "<null>"},
      {"abc", INT32_MIN, "<null>"},
      {"abc", INT32_MAX, "abc"},
      {"a\xD6\xD0", 2, "a\xD6"},  // a double-byte character split by the cut
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Str(LeftBytes(c.text, c.count)), c.out) << c.out;
    char written[16];
    const int32_t length = WriteLeftBytes(c.text, c.count, written);
    EXPECT_EQ(length, static_cast<int32_t>(std::strlen(written))) << c.out;
    EXPECT_EQ(std::string(written), Str(LeftBytes(c.text, c.count)) == "<null>" ? "" : c.out) << c.out;
  }
}

TEST(JoinTexts, Table) {
  Text ten = ToText(int32_t{10});
  EXPECT_EQ(Str(JoinTexts({"<=", ten.get(), "%"})), "<=10%");
  EXPECT_EQ(Str(JoinTexts({"<=", nullptr, "%"})), "<=%");
  Text empty = JoinTexts({nullptr, ""});
  ASSERT_NE(empty, nullptr);
  EXPECT_STREQ(empty.get(), "");
  EXPECT_EQ(Str(JoinTexts({"CAN_BS1_", "16", "tq"})), "CAN_BS1_16tq");
  char written[16];
  EXPECT_EQ(WriteJoinedTexts({"80.0", nullptr, "", "%"}, written), 5);
  EXPECT_STREQ(written, "80.0%");
  EXPECT_EQ(WriteJoinedTexts({nullptr}, written), 0);
  EXPECT_STREQ(written, "");
}

TEST(CompareTexts, Table) {
  const struct {
    const char* a;
    const char* b;
    int result;
  } cases[] = {
      {nullptr, "", 0}, {"", nullptr, 0}, {nullptr, nullptr, 0}, {"a", nullptr, 1},
      {nullptr, "a", -1}, {"abc", "abd", -1}, {"abd", "abc", 1}, {"ab", "abc", -1},
      {"abc", "abc", 0}, {"\xD6\xD0", "z", 1},  // bytes compare unsigned
  };
  for (const auto& c : cases) EXPECT_EQ(CompareTexts(c.a, c.b), c.result);
}

// ---- fixed point: scaled whole numbers as the answers write them ----

TEST(FixedText, Table) {
  const struct {
    int64_t scaled;
    int decimals;
    int kept;
    const char* text;
  } cases[] = {
      // Trailing zeros drop down to the kept count, the point with the last of them.
      {8750, 2, 0, "87.5"}, {9000, 2, 0, "90"}, {8705, 2, 0, "87.05"}, {36, 2, 2, "0.36"},
      {3600, 2, 2, "36.00"}, {5, 2, 2, "0.05"}, {875, 3, 1, "0.875"}, {800, 3, 1, "0.8"},
      {1000, 3, 1, "1.0"}, {0, 3, 1, "0.0"}, {0, 2, 0, "0"}, {0, 2, 2, "0.00"},
      {23810, 3, 0, "23.81"}, {25000, 3, 0, "25"}, {42000, 3, 0, "42"}, {42195, 3, 0, "42.195"},
      {2500000, 6, 0, "2.5"}, {1, 6, 0, "0.000001"}, {100, 6, 3, "0.0001"}, {120, 6, 3, "0.00012"},
      // No decimals: the whole number.
      {0, 0, 0, "0"}, {123, 0, 0, "123"}, {-7, 0, 0, "-7"},
      // Negative values: "-" before the magnitude's text, below 1 too.
      {-5, 2, 2, "-0.05"}, {-1234, 2, 2, "-12.34"}, {-1230, 2, 0, "-12.3"}, {-100, 2, 0, "-1"},
      // The ends of int64_t, with every decimal the writer takes.
      {INT64_MAX, 0, 0, "9223372036854775807"}, {INT64_MIN, 0, 0, "-9223372036854775808"},
      {INT64_MAX, 18, 0, "9.223372036854775807"}, {INT64_MIN, 18, 18, "-9.223372036854775808"},
      {1, 18, 0, "0.000000000000000001"}, {-1, 18, 18, "-0.000000000000000001"},
      {1000000000000000000, 18, 0, "1"}, {1000000000000000000, 18, 1, "1.0"},
      // Out-of-range counts are clamped: decimals to 0..18, kept to 0..decimals.
      {5, -1, 0, "5"}, {1, 19, 0, "0.000000000000000001"}, {150, 2, 5, "1.50"}, {150, 2, -3, "1.5"},
  };
  for (const auto& c : cases) {
    char out[kMaxNumberText];
    const int length = FormatFixed(c.scaled, c.decimals, c.kept, out);
    EXPECT_STREQ(out, c.text) << c.scaled << " " << c.decimals << " " << c.kept;
    EXPECT_EQ(length, static_cast<int>(std::strlen(c.text)));
    EXPECT_STREQ(ToFixedText(c.scaled, c.decimals, c.kept).get(), c.text);
  }
}

// Against a plainly written twin over a sweep: the integer part by division, the
// fraction digits by their own powers of ten, the zeros cut one by one.
TEST(FixedText, EqualsThePlainRecipe) {
  for (int decimals = 0; decimals <= 6; ++decimals)
    for (int kept = 0; kept <= decimals; ++kept)
      for (int64_t scaled = -2100000; scaled <= 2100000; scaled += 997) {
        int64_t power = 1;
        for (int i = 0; i < decimals; ++i) power *= 10;
        const int64_t magnitude = scaled < 0 ? -scaled : scaled;
        std::string fraction;
        for (int64_t p = power / 10, rest = magnitude % power; p >= 1; p /= 10) fraction += static_cast<char>('0' + rest / p % 10);
        while (static_cast<int>(fraction.size()) > kept && fraction.back() == '0') fraction.pop_back();
        const std::string plain =
            (scaled < 0 ? "-" : "") + std::to_string(magnitude / power) + (fraction.empty() ? "" : "." + fraction);
        char out[kMaxNumberText];
        FormatFixed(scaled, decimals, kept, out);
        ASSERT_EQ(std::string(out), plain) << scaled << " " << decimals << " " << kept;
      }
}

// Where the cut read a digit too low the rounding reads it right, ties up; the
// decimals stay those of the window's texts: one, none for a whole number of quarters.
TEST(TenthsPercent, RoundedWithTheWindowsDecimals) {
  const struct {
    int64_t part, whole;
    const char* text;
  } cases[] = {
      {9, 10, "90.0"},   {7, 10, "70.0"},  {11, 12, "91.7"}, {15, 16, "93.8"},  {13, 16, "81.3"},
      {4, 5, "80.0"},    {5, 6, "83.3"},   {2, 130, "1.5"},  {1, 2000, "0.1"},  {1, 2001, "0.0"},
      {1, 4, "25"},      {6, 8, "75"},     {7, 8, "87.5"},   {0, 7, "0"},       {9, 9, "100"},
      {751, 1000, "75.1"}, {1, 0, "-"},    {-1, 2, "-"},     {3, 2, "-"},       {1, (int64_t{1} << 53) + 1, "-"},
  };
  for (const auto& c : cases) {
    char out[kMaxNumberText];
    const int length = FormatTenthsPercent(c.part, c.whole, out);
    EXPECT_EQ(std::string(out, static_cast<std::size_t>(length)), c.text) << c.part << "/" << c.whole;
  }
}

}  // namespace
