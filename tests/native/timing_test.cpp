#include "calc/fp_environment.h"
#include "calc/timing.h"
#include "tests/native/reference_rate.h"
#include "tests/native/window_search.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

// The search written out independently: every setting, rate test first.
// The real search must give the same records, bit for bit.
std::vector<TimingCandidate> ReferenceSearch(int32_t clockKHz, float targetRate, int32_t tolerancePercent,
                                             float minSamplePoint) {
  std::vector<TimingCandidate> out;
  for (int32_t bs2Code = 0; bs2Code <= 7; ++bs2Code) {
    for (int32_t bs1Code = 0; bs1Code <= 15; ++bs1Code) {
      for (int32_t p = 1; p <= 1024; ++p) {
        const double quanta = bs1Code + bs2Code + 3.0;
        const float actualRate = ReferenceRate(clockKHz, bs1Code + bs2Code + 3, p);
        const double d = std::fabs(static_cast<double>(actualRate) - static_cast<double>(targetRate));
        const double allowed = static_cast<double>(targetRate) * tolerancePercent / 100.0;
        if (ReferenceExceedsSlack(d, allowed)) continue;
        const float errorPercent =
            static_cast<float>(std::fabs(1.0 - static_cast<double>(actualRate) / targetRate) * 100.0);
        const float samplePoint = static_cast<float>((bs1Code + 2.0) / quanta);
        if (!(samplePoint >= minSamplePoint)) continue;
        out.push_back({bs1Code, bs2Code, p, samplePoint, errorPercent, actualRate});
      }
    }
  }
  return out;
}

float Fraction(int numerator, int denominator) {
  return static_cast<float>(static_cast<double>(numerator) / denominator);
}

// BS1 length, BS2 length, prescaler, sample point numerator and denominator.
struct Setting {
  int bs1;
  int bs2;
  int prescaler;
  int spNumerator;
  int spDenominator;
};

void ExpectSetting(const TimingCandidate& r, const Setting& s, float rate, float error) {
  EXPECT_EQ(r.bs1Code, s.bs1 - 1);
  EXPECT_EQ(r.bs2Code, s.bs2 - 1);
  EXPECT_EQ(r.prescaler, s.prescaler);
  EXPECT_EQ(r.samplePoint, Fraction(s.spNumerator, s.spDenominator));
  EXPECT_EQ(r.actualRate, rate);
  EXPECT_EQ(r.errorPercent, error);
}

TEST(BitTimingSearch, PresetInputsGiveThirtyExactSettings) {
  const CandidateList store = Search(42000, 500.0f, 0, 0.4f);
  ASSERT_EQ(CandidateCount(store), 30);
  for (int32_t i = 1; i <= 30; ++i) {
    EXPECT_EQ(CandidateAt(store, i).actualRate, 500.0f) << i;
    EXPECT_EQ(CandidateAt(store, i).errorPercent, 0.0f) << i;
  }
  ExpectSetting(CandidateAt(store, 1), {1, 1, 28, 2, 3}, 500.0f, 0.0f);
  ExpectSetting(CandidateAt(store, 30), {12, 8, 4, 13, 21}, 500.0f, 0.0f);
}

TEST(BitTimingSearch, Clock36AtEightyPercentInSearchOrder) {
  const CandidateList store = Search(36000, 500.0f, 0, 0.8f);
  const Setting expected[] = {{4, 1, 12, 5, 6},  {6, 1, 9, 7, 8},  {7, 1, 8, 8, 9},   {10, 1, 6, 11, 12},
                              {16, 1, 4, 17, 18}, {9, 2, 6, 10, 12}, {15, 2, 4, 16, 18}, {14, 3, 4, 15, 18}};
  ASSERT_EQ(CandidateCount(store), 8);
  for (int32_t i = 0; i < 8; ++i) {
    SCOPED_TRACE(i + 1);
    ExpectSetting(CandidateAt(store, i + 1), expected[i], 500.0f, 0.0f);
  }
}

TEST(BitTimingSearch, SamplePointEqualToTheMinimumPasses) {
  const CandidateList store = Search(8000, 400.0f, 0, 0.8f);
  ASSERT_EQ(CandidateCount(store), 5);
  std::vector<Setting> atMinimum;
  for (const TimingCandidate& r : store.records) {
    if (r.samplePoint == 0.8f) atMinimum.push_back({r.bs1Code + 1, r.bs2Code + 1, r.prescaler, 4, 5});
    EXPECT_GE(r.samplePoint, 0.8f);
  }
  ASSERT_EQ(atMinimum.size(), 3u);
  const Setting expected[] = {{3, 1, 4, 4, 5}, {7, 2, 2, 4, 5}, {15, 4, 1, 4, 5}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(atMinimum[i].bs1, expected[i].bs1);
    EXPECT_EQ(atMinimum[i].bs2, expected[i].bs2);
    EXPECT_EQ(atMinimum[i].prescaler, expected[i].prescaler);
  }
}

TEST(BitTimingSearch, RateOffByExactlyTheTolerancePasses) {
  const CandidateList store = Search(101000, 1000.0f, 1, 0.8f);
  bool found = false;
  for (const TimingCandidate& r : store.records) {
    if (r.bs1Code == 2 && r.bs2Code == 0 && r.prescaler == 20) {
      found = true;
      ExpectSetting(r, {3, 1, 20, 4, 5}, 1010.0f, 1.0f);
    }
  }
  EXPECT_TRUE(found);
}

struct EmptyCase {
  const char* name;
  int32_t clockKHz;
  float targetRate;
  int32_t tolerancePercent;
  float minSamplePoint;
};

TEST(BitTimingSearch, InputsWithoutAnswerGiveNothing) {
  const EmptyCase cases[] = {
      {"333 Kbps missed, minimum 0.3", 36000, 333.0f, 0, 0.3f},
      {"333 Kbps missed, minimum 0.4", 36000, 333.0f, 0, 0.4f},
      {"333 Kbps missed, minimum 0.8", 36000, 333.0f, 0, 0.8f},
      {"333 Kbps missed, no minimum", 36000, 333.0f, 0, 0.0f},
      {"rate 0 with a clock", 42000, 0.0f, 0, 0.3f},
      {"rate 0 with a clock, 10%", 42000, 0.0f, 10, 0.3f},
      {"no sample point reaches 1", 42000, 500.0f, 10, 1.0f},
      {"minimum not a number", 42000, 500.0f, 10, std::numeric_limits<float>::quiet_NaN()},
      {"clock 0, rate 500", 0, 500.0f, 10, 0.3f},
  };
  for (const EmptyCase& c : cases) {
    const CandidateList store = Search(c.clockKHz, c.targetRate, c.tolerancePercent, c.minSamplePoint);
    EXPECT_EQ(CandidateCount(store), 0) << c.name;
  }
}

TEST(BitTimingSearch, EmptiesTheStoreEvenWhenNothingPasses) {
  SetFloatEnvironment();
  CandidateList store;
  BitTimingSearch(store, 42000, 500.0f, 0, 0.4f);
  ASSERT_EQ(CandidateCount(store), 30);
  BitTimingSearch(store, 42000, 500.0f, 0, 0.4f);
  EXPECT_EQ(CandidateCount(store), 30);  // replaced, not doubled
  BitTimingSearch(store, 36000, 333.0f, 0, 0.4f);
  EXPECT_EQ(CandidateCount(store), 0);
}

TEST(BitTimingSearch, ZeroClockAndZeroRatePassEverySettingWithUnknownError) {
  const struct {
    float minSamplePoint;
    int32_t count;
  } cases[] = {{0.3f, 125952}, {0.4f, 118784}};
  for (const auto& c : cases) {
    const CandidateList store = Search(0, 0.0f, 0, c.minSamplePoint);
    ASSERT_EQ(CandidateCount(store), c.count);
    for (const TimingCandidate& r : store.records) {
      ASSERT_TRUE(std::isnan(r.errorPercent));
      ASSERT_EQ(r.actualRate, 0.0f);
      ASSERT_GE(r.samplePoint, c.minSamplePoint);
    }
  }
}

TEST(BitTimingSearch, InfiniteTargetPassesEverySettingWithFullError) {
  const float infinity = std::numeric_limits<float>::infinity();
  for (int32_t tolerance : {0, 5}) {
    const CandidateList store = Search(42000, infinity, tolerance, 0.3f);
    ASSERT_EQ(CandidateCount(store), 125952);
    for (const TimingCandidate& r : store.records) ASSERT_EQ(r.errorPercent, 100.0f);
  }
}

// Ascending by BS2, then BS1, then prescaler, with no repeats.
bool InSearchOrder(const std::vector<TimingCandidate>& records) {
  for (std::size_t i = 1; i < records.size(); ++i) {
    const TimingCandidate& a = records[i - 1];
    const TimingCandidate& b = records[i];
    const long keyA = (a.bs2Code * 16L + a.bs1Code) * 1024 + a.prescaler;
    const long keyB = (b.bs2Code * 16L + b.bs1Code) * 1024 + b.prescaler;
    if (keyA >= keyB) return false;
  }
  return true;
}

TEST(BitTimingSearch, RecordsFollowTheEnumerationOrder) {
  const CandidateList all = Search(42000, 500.0f, 100, 0.0f);
  EXPECT_GT(CandidateCount(all), 130000);
  EXPECT_TRUE(InSearchOrder(all.records));
  const CandidateList wide = Search(0, 0.0f, 0, 0.3f);
  EXPECT_TRUE(InSearchOrder(wide.records));
  for (const TimingCandidate& r : all.records) {
    ASSERT_GE(r.bs1Code, 0);
    ASSERT_LE(r.bs1Code, 15);
    ASSERT_GE(r.bs2Code, 0);
    ASSERT_LE(r.bs2Code, 7);
    ASSERT_GE(r.prescaler, 1);
    ASSERT_LE(r.prescaler, 1024);
  }
}

void ExpectSameAsReference(int32_t clockKHz, float targetRate, int32_t tolerancePercent, float minSamplePoint) {
  const CandidateList store = Search(clockKHz, targetRate, tolerancePercent, minSamplePoint);
  const std::vector<TimingCandidate> expected = ReferenceSearch(clockKHz, targetRate, tolerancePercent, minSamplePoint);
  ASSERT_EQ(store.records.size(), expected.size())
      << clockKHz << " kHz, " << targetRate << " Kbps, " << tolerancePercent << "%, " << minSamplePoint;
  if (expected.empty()) return;
  ASSERT_EQ(std::memcmp(store.records.data(), expected.data(), expected.size() * sizeof(TimingCandidate)), 0)
      << clockKHz << " kHz, " << targetRate << " Kbps, " << tolerancePercent << "%, " << minSamplePoint;
}

TEST(BitTimingSearch, MatchesThePlainSearchOnOddInputs) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const struct {
    int32_t clockKHz;
    float targetRate;
    int32_t tolerancePercent;
    float minSamplePoint;
  } cases[] = {
      {42000, 500.0f, 0, 0.4f},      {36000, 500.0f, 0, 0.8f},      {101000, 1000.0f, 1, 0.8f},
      {8000, 400.0f, 0, 0.8f},       {72000, 1000.0f, 10, 0.3f},    {72000, 125.0f, 3, 0.5f},
      {42000, 500.0f, 100, 0.0f},    {42000, 500.0f, 250, 0.0f},    {42000, 500.0f, -5, 0.0f},
      {-42000, 500.0f, 0, 0.0f},     {-42000, -500.0f, 0, 0.0f},    {-42000, 500.0f, 300, 0.0f},
      {42000, -500.0f, 10, 0.0f},    {42000, inf, 0, 0.0f},         {42000, -inf, 3, 0.0f},
      {42000, nan, 0, 0.0f},         {0, 0.0f, 0, 0.3f},            {0, 0.0f, 10, 0.4f},
      {2147483647, 500.0f, 10, 0.3f}, {-2147483647 - 1, 500.0f, 10, 0.3f}, {1, 0.0001f, 100, 0.0f},
      {1, 1e-45f, 100, 0.0f},        {2147483647, 3.4e38f, 10, 0.0f}, {42000, 500.0f, 2147483647, 0.5f},
      {125, 0.1f, 0, 0.0f},          {42000, 1.6406250f, 0, 0.0f},  {1000, 1.0f / 3.0f, 1, 0.0f},
  };
  for (const auto& c : cases) ExpectSameAsReference(c.clockKHz, c.targetRate, c.tolerancePercent, c.minSamplePoint);
}

// Rates that some setting hits, or nearly hits, are where a rounding slip in the rate
// test would drop or add a record: draw the target from a setting's own rate.
TEST(BitTimingSearch, MatchesThePlainSearchOnRandomInputs) {
  std::mt19937 random(20261208);
  std::uniform_int_distribution<int32_t> clock(1, 200000);
  std::uniform_int_distribution<int32_t> quanta(3, 25);
  std::uniform_int_distribution<int32_t> prescaler(1, 1024);
  std::uniform_int_distribution<int32_t> tolerance(0, 10);
  std::uniform_int_distribution<int32_t> nudge(-2, 2);
  for (int i = 0; i < 60; ++i) {
    const int32_t clockKHz = clock(random);
    float target = static_cast<float>(static_cast<double>(clockKHz) / quanta(random) / prescaler(random));
    for (int n = nudge(random); n != 0; n += n > 0 ? -1 : 1) target = std::nextafter(target, n > 0 ? 1e30f : 0.0f);
    ExpectSameAsReference(clockKHz, target, i % 3 == 0 ? 0 : tolerance(random), 0.3f + 0.1f * (i % 5));
  }
}

}  // namespace
