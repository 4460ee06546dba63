#include "answers/rows/phase_search.h"
#include "calc/best_setting.h"
#include "calc/fdcan_timing.h"
#include "calc/fp_environment.h"
#include "calc/timing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

TimingCandidate Best(float targetRate, int32_t preferredPrescaler, const std::vector<TimingCandidate>& records) {
  BestSetting state = StartBestSetting(targetRate, preferredPrescaler);
  for (const TimingCandidate& r : records) OfferBestSetting(state, r);
  EXPECT_TRUE(state.found);
  return state.best;
}

struct BxCanCase {
  int32_t clockKHz;
  float rate;
  float minSamplePoint;
  int32_t bs1;
  int32_t bs2;
  int32_t prescaler;
};

// The window's preset inputs, and 36 MHz at 1000 Kbps; both exact (0%), from 40%.
TEST(BestSetting, BxCanAnswers) {
  const BxCanCase cases[] = {{42000, 500.0f, 0.4f, 11, 2, 6}, {36000, 1000.0f, 0.4f, 8, 3, 3}};
  SetFloatEnvironment();
  for (const BxCanCase& c : cases) {
    CandidateList store;
    BitTimingSearch(store, c.clockKHz, c.rate, 0, c.minSamplePoint);
    const TimingCandidate best = Best(c.rate, 0, store.records);
    EXPECT_EQ(best.bs1Code + 1, c.bs1) << c.clockKHz;
    EXPECT_EQ(best.bs2Code + 1, c.bs2) << c.clockKHz;
    EXPECT_EQ(best.prescaler, c.prescaler) << c.clockKHz;
  }
}

// 80 MHz at 500 Kbps: exact rates with a sample point of exactly 7/8 exist for every
// divisor of 160 from 8 up; the most quanta is 160, at prescaler 1.
TEST(BestSetting, FdcanNominalStreamedFromTheSearch) {
  SetFloatEnvironment();
  Request request;
  request.controller = FindController("fdcan");
  request.clockKHz = 80000;
  request.toleranceHundredths = 100;
  request.minSamplePoint = 0.0f;
  const BestSetting state = BestOfPhase(ControllerPhase(request, *FindController("fdcan"), Phase::kNominal), 0);
  ASSERT_TRUE(state.found);
  EXPECT_EQ(state.best.bs1Code + 1, 139);
  EXPECT_EQ(state.best.bs2Code + 1, 20);
  EXPECT_EQ(state.best.prescaler, 1);
  EXPECT_EQ(state.best.errorPercent, 0.0f);
}

TEST(BestSetting, NothingOfferedNothingFound) {
  SetFloatEnvironment();
  Request request;
  request.controller = FindController("fdcan");
  request.clockKHz = 36000;
  request.dataPhase = true;
  request.dataRate = 333.0f;
  request.dataMinSamplePoint = 0.99f;
  EXPECT_FALSE(BestOfPhase(ControllerPhase(request, *FindController("fdcan"), Phase::kData), 0).found);
}

TEST(BestSetting, AdviceByWantedRate) {
  const struct {
    float rate;
    double advice;
    int64_t numerator;
    int64_t denominator;
  } cases[] = {{0.0f, 0.875, 7, 8},
               {125.0f, 0.875, 7, 8},
               {500.0f, 0.875, 7, 8},
               {std::nextafter(500.0f, 1e9f), 0.8, 4, 5},
               {800.0f, 0.8, 4, 5},
               {std::nextafter(800.0f, 1e9f), 0.75, 3, 4},
               {1000.0f, 0.75, 3, 4},
               {8000.0f, 0.75, 3, 4}};
  for (const auto& c : cases) {
    EXPECT_EQ(AdvisedSamplePoint(c.rate), c.advice) << c.rate;
    EXPECT_EQ(SamplePointAdviceFor(c.rate).numerator, c.numerator) << c.rate;
    EXPECT_EQ(SamplePointAdviceFor(c.rate).denominator, c.denominator) << c.rate;
  }
}

TimingCandidate Row(int32_t bs1Code, int32_t bs2Code, int32_t prescaler, float samplePoint, float error) {
  return TimingCandidate{bs1Code, bs2Code, prescaler, samplePoint, error, 500.0f};
}

struct RuleCase {
  const char* name;
  float rate;
  int32_t preferredPrescaler;
  std::vector<TimingCandidate> records;
  std::size_t winner;  // index into records
};

// Each case is decided by one step of the rule; the records are offered in order.
TEST(BestSetting, EachStepOfTheRule) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const RuleCase cases[] = {
      {"smaller error first", 500.0f, 0, {Row(5, 0, 20, 0.875f, 0.5f), Row(2, 0, 3, 0.75f, 0.25f)}, 1},
      {"error before sample point", 500.0f, 0, {Row(2, 0, 3, 0.75f, 0.0f), Row(5, 0, 20, 0.875f, 1e-6f)}, 0},
      {"a number before an unknown error", 500.0f, 0, {Row(5, 0, 20, 0.875f, nan), Row(2, 0, 3, 0.5f, 90.0f)}, 1},
      {"unknown errors tie", 500.0f, 0, {Row(2, 0, 3, 0.75f, nan), Row(5, 0, 20, 0.875f, nan)}, 1},
      {"closer to 7/8 up to 500", 500.0f, 0, {Row(2, 0, 3, 0.8f, 0.0f), Row(13, 1, 9, 0.9f, 0.0f)}, 1},
      {"closer to 0.8 above 500", 800.0f, 0, {Row(13, 1, 9, 0.9f, 0.0f), Row(2, 0, 3, 0.8f, 0.0f)}, 1},
      {"closer to 3/4 above 800", 1000.0f, 0, {Row(5, 0, 20, 0.875f, 0.0f), Row(2, 0, 3, 0.75f, 0.0f)}, 1},
      // 0.8f and 0.7f lie equally far from 0.75 once widened: the quanta decide.
      {"equal distance, more quanta", 1000.0f, 0, {Row(6, 1, 4, 0.8f, 0.0f), Row(12, 5, 2, 0.7f, 0.0f)}, 1},
      {"equal distance, more quanta, either order", 1000.0f, 0,
       {Row(12, 5, 2, 0.7f, 0.0f), Row(6, 1, 4, 0.8f, 0.0f)}, 0},
      {"same sample point, more quanta", 500.0f, 0, {Row(5, 0, 20, 0.875f, 0.0f), Row(12, 1, 10, 0.875f, 0.0f)}, 1},
      {"a full tie keeps the first", 500.0f, 0, {Row(5, 0, 20, 0.875f, 0.0f), Row(5, 0, 21, 0.875f, 0.0f)}, 0},
      {"error before the preferred prescaler", 500.0f, 20,
       {Row(2, 0, 3, 0.875f, 0.0f), Row(5, 0, 20, 0.5f, 3.0f), Row(12, 1, 10, 0.875f, 0.0f)}, 2},
      {"preferred prescaler among equal errors, before the sample point", 500.0f, 20,
       {Row(2, 0, 3, 0.875f, 0.0f), Row(5, 0, 20, 0.5f, 0.0f), Row(12, 1, 10, 0.875f, 0.0f)}, 1},
      {"among preferred, the rule", 500.0f, 20, {Row(5, 0, 20, 0.5f, 3.0f), Row(9, 3, 20, 0.75f, 2.0f)}, 1},
      {"no preferred one, the rule", 500.0f, 7, {Row(5, 0, 20, 0.5f, 3.0f), Row(9, 3, 21, 0.75f, 2.0f)}, 1},
  };
  for (const RuleCase& c : cases) {
    const TimingCandidate best = Best(c.rate, c.preferredPrescaler, c.records);
    const TimingCandidate& expected = c.records[c.winner];
    EXPECT_TRUE(best.bs1Code == expected.bs1Code && best.bs2Code == expected.bs2Code &&
                best.prescaler == expected.prescaler)
        << c.name;
  }
}

}  // namespace
