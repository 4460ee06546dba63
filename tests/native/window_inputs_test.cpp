#include "calc/window_inputs.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

// "请输入AHB1时钟频率", "请输入CAN波特率"
const char* const kClockMissingText = "\xC7\xEB\xCA\xE4\xC8\xEB" "AHB1" "\xCA\xB1\xD6\xD3\xC6\xB5\xC2\xCA";
const char* const kRateMissingText = "\xC7\xEB\xCA\xE4\xC8\xEB" "CAN" "\xB2\xA8\xCC\xD8\xC2\xCA";

TEST(SearchArgumentsFor, FromFieldTextsAndSelectorIndexes) {
  struct Case {
    const char* name;
    const char* clock;
    const char* rate;
    int samplePointIndex;
    int toleranceIndex;
    InputCheck check;
    int32_t clockKHz;
    float targetRate;
    int32_t tolerancePercent;
    float minSamplePoint;
  };
  const Case cases[] = {
      {"preset", "42", "500", 0, 0, InputCheck::kReady, 42000, 500.0f, 0, 0.4f},
      {"clock 36, >=80%, <=3%", "36", "500", 4, 3, InputCheck::kReady, 36000, 500.0f, 3, 0.8f},
      {"no sample point item", "36", "500", -1, 10, InputCheck::kReady, 36000, 500.0f, 10, 0.3f},
      {"blanks are text", " ", "500", 0, 0, InputCheck::kReady, 0, 500.0f, 0, 0.4f},
      {"a fraction of a rate", "8", "83.33333", 1, 2, InputCheck::kReady, 8000, 83.33333f, 2, 0.5f},
      {"no number", "abc", "x", 2, 1, InputCheck::kReady, 0, 0.0f, 1, 0.6f},
      {"the clock wraps", "2147484", "1000", 3, 0, InputCheck::kReady, -2147483296, 1000.0f, 0, 0.7f},
      {"clock empty", "", "500", 0, 0, InputCheck::kClockMissing, 0, 0, 0, 0},
      {"clock null", nullptr, "500", 0, 0, InputCheck::kClockMissing, 0, 0, 0, 0},
      {"both empty: the clock first", "", "", 0, 0, InputCheck::kClockMissing, 0, 0, 0, 0},
      {"rate empty", "42", "", 0, 0, InputCheck::kRateMissing, 0, 0, 0, 0},
      {"rate null", "42", nullptr, 0, 0, InputCheck::kRateMissing, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SearchArguments got = SearchArgumentsFor(c.clock, c.rate, c.samplePointIndex, c.toleranceIndex);
    EXPECT_EQ(got.check, c.check);
    if (c.check != InputCheck::kReady) continue;
    EXPECT_EQ(got.clockKHz, c.clockKHz);
    EXPECT_EQ(got.targetRate, c.targetRate);
    EXPECT_EQ(got.tolerancePercent, c.tolerancePercent);
    EXPECT_EQ(got.minSamplePoint, c.minSamplePoint);
  }
}

TEST(MissingInputMessage, NamesTheEmptyField) {
  EXPECT_EQ(std::string(MissingInputMessage(InputCheck::kClockMissing)), kClockMissingText);
  EXPECT_EQ(std::string(MissingInputMessage(InputCheck::kRateMissing)), kRateMissingText);
  EXPECT_EQ(MissingInputMessage(InputCheck::kReady), nullptr);
}

TEST(ClockConversion, TimesAThousandKeepingTheLow32Bits) {
  struct Case {
    int32_t mhz;
    int32_t khz;
  };
  const Case cases[] = {
      {42, 42000},         {0, 0},
      {-8, -8000},         {2147483, 2147483000},
      {2147484, -2147483296},  // 2147484000 wraps past 2^31
      {INT32_MAX, -1000},  // 2147483647000 mod 2^32
      {INT32_MIN, 0},      // -500 * 2^32
  };
  for (const Case& c : cases) EXPECT_EQ(ClockKHzFromMHz(c.mhz), c.khz) << c.mhz;
}

TEST(MinSamplePoint, FromTheSelectorIndex) {
  // Formed in double and rounded once to float: index 1 gives the float nearest 0.5.
  const float expected[] = {0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f};
  for (int index = -1; index <= 4; ++index) {
    EXPECT_EQ(MinSamplePointForIndex(index), expected[index + 1]) << index;
  }
}

}  // namespace
