#include "calc/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

namespace {

// Where each reader stops and why, on plain ASCII: no blanks, no folding.
TEST(NumberRead, ReadDoubleStopsWhereTheNumberEnds) {
  const struct {
    const char* text;
    double value;
    int end;
    NumberError error;
  } cases[] = {
      {"500", 500.0, 3, NumberError::kNone},
      {"500kbps", 500.0, 3, NumberError::kNone},
      {"1e3", 1000.0, 3, NumberError::kNone},
      {"1e", 1.0, 1, NumberError::kNone},     // a mark without digits is not read
      {"1e+", 1.0, 1, NumberError::kNone},
      {"1d3", 1.0, 1, NumberError::kNone},    // the window's d is not the companion's
      {".5", 0.5, 2, NumberError::kNone},
      {"-0", -0.0, 2, NumberError::kNone},
      {"1e-400", 0.0, 6, NumberError::kOutOfRange},
      {"0e-400", 0.0, 6, NumberError::kNone},  // zero digits are zero, not too small
      {"1e400", INFINITY, 5, NumberError::kOutOfRange},
      {" 5", 0.0, 0, NumberError::kNoNumber},
      {".", 0.0, 0, NumberError::kNoNumber},
      {"", 0.0, 0, NumberError::kNoNumber},
  };
  for (const auto& c : cases) {
    double value = 0.0;
    const NumberRead read = ReadDouble(c.text, c.text + std::strlen(c.text), value);
    EXPECT_EQ(read.end - c.text, c.end) << c.text;
    EXPECT_EQ(read.error, c.error) << c.text;
    if (c.error != NumberError::kNoNumber) EXPECT_EQ(value, c.value) << c.text;
  }
  // The same digits as ToDouble, so the same nearest double.
  double value = 0.0;
  const char* text = "0.1000000000000000055511151231257827021181583404541015625";
  ReadDouble(text, text + std::strlen(text), value);
  EXPECT_EQ(value, ToDouble(text));
}

TEST(NumberRead, ReadScaledIsExactAndCountsEveryDecimal) {
  const struct {
    const char* text;
    int decimals;
    int64_t scaled;
    int end;
    NumberError error;
  } cases[] = {
      {"36", 3, 36000, 2, NumberError::kNone},
      {"0.125", 3, 125, 5, NumberError::kNone},
      {"-2.5", 3, -2500, 4, NumberError::kNone},
      {"1.000", 3, 1000, 5, NumberError::kNone},
      {"1.0000", 3, 0, 6, NumberError::kTooManyDecimals},
      {"0.0000001", 6, 0, 9, NumberError::kTooManyDecimals},
      {"100.000000", 6, 100000000, 10, NumberError::kNone},
      {"999999999999999", 3, 999999999999999000, 15, NumberError::kNone},
      {"9999999999999999", 3, INT64_MAX, 16, NumberError::kOutOfRange},
      {"1e3", 3, 1000, 1, NumberError::kNone},  // no exponent here
      {"x", 3, 0, 0, NumberError::kNoNumber},
  };
  for (const auto& c : cases) {
    int64_t scaled = 0;
    const NumberRead read = ReadScaled(c.text, c.text + std::strlen(c.text), c.decimals, scaled);
    EXPECT_EQ(read.end - c.text, c.end) << c.text;
    EXPECT_EQ(read.error, c.error) << c.text;
    if (c.error == NumberError::kNone || c.error == NumberError::kOutOfRange) EXPECT_EQ(scaled, c.scaled) << c.text;
  }
}

TEST(NumberRead, ReadUnsignedSaturatesAndReadsEveryDigit) {
  const struct {
    const char* text;
    int base;
    uint64_t limit, value;
    int end;
    NumberError error;
  } cases[] = {
      {"001C0001", 16, 0xFFFFFFFF, 0x001C0001, 8, NumberError::kNone},
      {"ffffFFFF", 16, 0xFFFFFFFF, 0xFFFFFFFF, 8, NumberError::kNone},
      {"100000000", 16, 0xFFFFFFFF, 0xFFFFFFFF, 9, NumberError::kOutOfRange},
      {"4294967295", 10, 0xFFFFFFFF, 4294967295u, 10, NumberError::kNone},
      {"4294967296", 10, 0xFFFFFFFF, 0xFFFFFFFF, 10, NumberError::kOutOfRange},
      {"1A", 10, 100, 1, 1, NumberError::kNone},
      {"+5", 10, 100, 0, 0, NumberError::kNoNumber},
  };
  for (const auto& c : cases) {
    uint64_t value = 0;
    const NumberRead read = ReadUnsigned(c.text, c.text + std::strlen(c.text), c.base, c.limit, value);
    EXPECT_EQ(read.end - c.text, c.end) << c.text;
    EXPECT_EQ(read.error, c.error) << c.text;
    if (c.error != NumberError::kNoNumber) EXPECT_EQ(value, c.value) << c.text;
  }
  // Ten million digits in linear time, still saturated.
  const std::string digits(10000000, '9');
  uint64_t value = 0;
  const NumberRead read = ReadUnsigned(digits.data(), digits.data() + digits.size(), 10, 10000, value);
  EXPECT_EQ(read.end, digits.data() + digits.size());
  EXPECT_EQ(read.error, NumberError::kOutOfRange);
  EXPECT_EQ(value, 10000u);
}

}  // namespace
