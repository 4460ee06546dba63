// The bus conditions, with values worked by hand.
#include "calc/bus_tolerance.h"
#include "calc/controllers.h"

#include <gtest/gtest.h>

namespace {

// Each case: the setting, the bus, and the tolerance in hundredths of a percent and
// as its exact fraction, the longest bus.
TEST(BusTolerance, SettingsWorkedByHand) {
  const struct {
    const char* name;
    BitTimingLengths setting;
    int32_t clockKHz;
    BusConditions bus;
    int64_t numerator;
    int64_t denominator;
    int64_t hundredths;
    int64_t longestBus;
  } cases[] = {
      // 42 MHz, prescaler 6: 142.857 ns quanta, prop = ceil(600 / 142.857) = 5, ps1 6.
      // SJW 1: condition 1, 1 / 280, is below condition 2, 2 / 360.
      {"preset best, SJW 1", {6, 11, 2, 1}, 42000, {250, 10}, 1, 280, 35, 92},
      // SJW 2, the most BS2 allows: condition 2 decides, 2 / (2 × (13 × 14 − 2)).
      {"preset best, SJW 2", {6, 11, 2, 2}, 42000, {250, 10}, 2, 360, 55, 92},
      // 42 MHz, prescaler 28, BS1 1: prop = ceil(600 / 666.67) = 1 = seg1, ps1 0.
      {"prop takes all of seg1", {28, 1, 1, 1}, 42000, {250, 10}, 0, 1, 0, -1},
      // Prescaler 1: prop = 26 quanta, far beyond seg1.
      {"prop beyond seg1", {1, 1, 1, 1}, 42000, {250, 10}, 0, 1, 0, -1},
      // No delay, no cable: prop 0, ps1 = seg1 = 15; condition 1 is 4 / 400, condition
      // 2 min(15, 4) / (2 × (13 × 20 − 4)) = 4 / 512 is smaller. Longest bus:
      // 14 × 4 × 10^6 / (10 × 40000) = 140 m.
      {"no delay, SJW 4", {4, 15, 4, 4}, 40000, {0, 0}, 4, 512, 78, 140},
      // 80 MHz, prescaler 1: prop 48, ps1 91; condition 2 = 20 / 4120.
      {"FDCAN nominal at 80 MHz", {1, 139, 20, 20}, 80000, {250, 10}, 20, 4120, 48, 122},
      // 1 km at 250 ns: prop = ceil(2 × 5250 / 125) = 84 at 8 MHz; nothing left.
      {"a long bus", {1, 16, 3, 2}, 8000, {250, 1000}, 0, 1, 0, 137},
  };
  for (const auto& c : cases) {
    const Tolerance t = SettingTolerance(c.setting, c.clockKHz, c.bus);
    EXPECT_EQ(t.numerator * c.denominator, c.numerator * t.denominator) << c.name;
    EXPECT_EQ(ToleranceHundredths(t), c.hundredths) << c.name;
    EXPECT_EQ(LongestBus(c.setting, c.clockKHz, c.bus.nodeDelayNs), c.longestBus) << c.name;
  }
}

// The longest bus is the last length whose propagation segment leaves a quantum.
TEST(BusTolerance, LongestBusIsTheEdgeOfTheRule) {
  for (int32_t clockKHz : {8000, 42000, 80000, 170000, 36001}) {
    for (int32_t prescaler : {1, 3, 7, 40}) {
      for (int32_t seg1 : {2, 5, 16, 139}) {
        for (int32_t delay : {0, 250, 999}) {
          const BitTimingLengths s{prescaler, seg1, 4, 1};
          const int64_t longest = LongestBus(s, clockKHz, delay);
          auto fits = [&](int64_t metres) {
            return PropagationQuanta(clockKHz, prescaler, {delay, static_cast<int32_t>(metres)}) <= seg1 - 1;
          };
          if (longest < 0) {
            EXPECT_FALSE(fits(0));
            continue;
          }
          if (longest > 100000) continue;  // beyond what the option takes
          EXPECT_TRUE(fits(longest)) << clockKHz << " " << prescaler << " " << seg1;
          EXPECT_FALSE(fits(longest + 1)) << clockKHz << " " << prescaler << " " << seg1;
        }
      }
    }
  }
}

// 80 MHz, 500 Kbps nominal (1, 139, 20, SJW 20) and 2 Mbit/s data (1, 29, 10, SJW
// 10): conditions 1 to 5 are 1/160, 20/4120, 10/800, 20/2700, 10/940; the second is
// the smallest. At data prescaler 2 (2, 14, 5, SJW 5) condition 5 loses nothing
// (nbrp < dbrp): 5 × 2 / (2 × (300 + 2 × 85)) = 10/940 again.
TEST(BusTolerance, PairAt80MHzWorkedByHand) {
  const Tolerance pair = PairTolerance({1, 139, 20, 20}, {1, 29, 10, 10}, 80000, {250, 10});
  EXPECT_EQ(pair.numerator * 4120, 20 * pair.denominator);
  EXPECT_EQ(TolerancePercent(pair), 2000.0 / 4120.0);
  // A nominal prescaler of 4 against a data prescaler of 1: condition 5 loses
  // nbrp / dbrp − 1 = 3 quanta of SJW: (2 − 3) < 0, so the pair has no tolerance.
  const Tolerance slipped = PairTolerance({4, 34, 5, 5}, {1, 29, 10, 2}, 80000, {0, 0});
  EXPECT_EQ(slipped.numerator, 0);
  // A data SJW of 1: condition 3 falls to 1 / 800, condition 5 further, to
  // 1 / (2 × (300 + 170)) = 1 / 940.
  const Tolerance five = PairTolerance({1, 139, 20, 20}, {1, 29, 10, 1}, 80000, {0, 0});
  EXPECT_EQ(five.numerator * 940, five.denominator);
  EXPECT_EQ(ToleranceHundredths(five), 10);
}

// FDCAN's TDC as ST advises it: DataPrescaler x DataTimeSeg1, with a data prescaler of
// 1 or 2 and an offset TDCR.TDCO holds (0 to 127).
TEST(TdcOffsetRule, FdcanWhereItApplies) {
  const ControllerEntry& fdcan = *FindController("fdcan");
  const struct {
    BitTimingLengths data;
    TdcVerdict verdict;
    int32_t offset;
  } cases[] = {{{1, 29, 10, 10}, TdcVerdict::kApplies, 29},
               {{2, 7, 2, 2}, TdcVerdict::kApplies, 14},
               {{2, 32, 16, 16}, TdcVerdict::kApplies, 64},
               {{3, 5, 2, 2}, TdcVerdict::kPrescalerAboveTwo, 15},
               {{32, 32, 16, 16}, TdcVerdict::kPrescalerAboveTwo, 1024}};
  for (const auto& c : cases) {
    const TdcOffset tdc = TdcOffsetRule(fdcan, c.data);
    EXPECT_EQ(tdc.verdict, c.verdict) << c.offset;
    EXPECT_EQ(tdc.offset, c.offset);
    EXPECT_EQ(TdcOffsetOf(fdcan, c.data), c.verdict == TdcVerdict::kApplies ? c.offset : -1);
  }
  // No data setting within DBTP's ranges reaches 128 at prescaler 2 (2 x 32 = 64),
  // but the rule holds for any lengths.
  EXPECT_EQ(TdcOffsetRule(fdcan, {2, 64, 1, 1}).verdict, TdcVerdict::kOffsetOutOfRange);
  EXPECT_EQ(TdcOffsetRule(fdcan, {1, 127, 1, 1}).verdict, TdcVerdict::kApplies);
  // A controller without TDC has no offset at all.
  EXPECT_EQ(TdcOffsetRule(*FindController("bxcan"), {1, 29, 10, 10}).verdict, TdcVerdict::kNoTdc);
  EXPECT_EQ(TdcOffsetOf(*FindController("peak-canfd"), {1, 29, 10, 10}), -1);
}

// Every FDCAN data setting (DBRP 1 to 32 by DTSEG1 1 to 32: 1 024 of them) against
// ST's advice as its manual words it, the offset the rows, the registers form and HAL
// code all take from the one rule.
TEST(TdcOffsetRule, FdcanAgreesWithSTsAdviceOnEveryDataSetting) {
  const ControllerEntry& fdcan = *FindController("fdcan");
  int applies = 0;
  for (int32_t prescaler = 1; prescaler <= 32; ++prescaler) {
    for (int32_t seg1 = 1; seg1 <= 32; ++seg1) {
      const BitTimingLengths data{prescaler, seg1, 4, 1};
      const int32_t advised = prescaler <= 2 && prescaler * seg1 <= 127 ? prescaler * seg1 : -1;
      EXPECT_EQ(TdcOffsetOf(fdcan, data), advised) << prescaler << " " << seg1;
      applies += advised >= 0 ? 1 : 0;
    }
  }
  EXPECT_EQ(applies, 64);
}

TEST(BusTolerance, ThresholdsInMillionthsOfAPercent) {
  const Tolerance t{1, 280};  // 0.357142...%
  EXPECT_TRUE(ToleranceAtLeast(t, 357142));
  EXPECT_FALSE(ToleranceAtLeast(t, 357143));
  EXPECT_TRUE(ToleranceAtLeast({0, 1}, 0));
  EXPECT_FALSE(ToleranceAtLeast({0, 1}, 1));
  EXPECT_TRUE(ToleranceAtLeast({1, 100}, 1000000));  // exactly 1%
}

}  // namespace
