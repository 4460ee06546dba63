#include "calc/bit_timing_search.h"
#include "calc/extended_float.h"
#include "calc/fdcan_timing.h"
#include "calc/fp_environment.h"
#include "calc/rate_window.h"
#include "calc/timing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

// A sink that keeps every chunk's size and records, and ends the search after a given
// number of chunks (never when stopAfter is 0).
struct ChunkLog {
  std::vector<int32_t> sizes;
  std::vector<TimingCandidate> records;
  std::size_t stopAfter = 0;
};

bool LogChunk(void* context, const TimingCandidate* records, int32_t count) {
  ChunkLog& log = *static_cast<ChunkLog*>(context);
  log.sizes.push_back(count);
  log.records.insert(log.records.end(), records, records + count);
  return log.stopAfter == 0 || log.sizes.size() < log.stopAfter;
}

bool Search(const TimingRanges& ranges, const TimingRequest& request, PrescalerScan scan, ChunkLog& log) {
  SetFloatEnvironment();
  return ListSettings(ranges, request, scan, TimingSink{LogChunk, &log});
}

bool SameRecords(const std::vector<TimingCandidate>& a, const std::vector<TimingCandidate>& b) {
  return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof a[0]) == 0);
}

// 42 MHz, 500 Kbps, 100%, no minimum: 130 683 bxCAN records, 127 full chunks and 635.
const TimingRequest kLarge{42000, 500.0f, 10000, 0.0f, 1};

TEST(ListSettings, HandsOverFullChunksInListingOrder) {
  ChunkLog log;
  EXPECT_TRUE(Search(kBxCanRanges, kLarge, PrescalerScan::kEvery, log));
  ASSERT_EQ(log.sizes.size(), 128u);
  for (std::size_t i = 0; i + 1 < log.sizes.size(); ++i) ASSERT_EQ(log.sizes[i], kTimingChunk) << i;
  EXPECT_EQ(log.sizes.back(), 635);
  SetFloatEnvironment();
  CandidateList store;
  BitTimingSearch(store, 42000, 500.0f, 100, 0.0f);
  EXPECT_TRUE(SameRecords(log.records, store.records));
}

TEST(ListSettings, ASinkThatRefusesEndsTheSearch) {
  const struct {
    std::size_t stopAfter;
    std::size_t chunks;
  } cases[] = {{1, 1}, {2, 2}, {128, 128}};
  for (const auto& c : cases) {
    ChunkLog log;
    log.stopAfter = c.stopAfter;
    EXPECT_FALSE(Search(kBxCanRanges, kLarge, PrescalerScan::kEvery, log)) << c.stopAfter;
    EXPECT_EQ(log.sizes.size(), c.chunks) << c.stopAfter;
  }
  ChunkLog fdcan;
  fdcan.stopAfter = 3;
  EXPECT_FALSE(Search(kFdcanNominalRanges, {80000, 500.0f, 10000, 0.0f, 1}, PrescalerScan::kRateWindow, fdcan));
  EXPECT_EQ(fdcan.records.size(), 3u * kTimingChunk);
}

TEST(ListSettings, NothingAcceptedCallsNoSink) {
  ChunkLog log;
  log.stopAfter = 1;  // would end the search, were it called
  EXPECT_TRUE(Search(kBxCanRanges, {36000, 333.0f, 0, 0.3f, 1}, PrescalerScan::kEvery, log));
  EXPECT_TRUE(log.sizes.empty());
}

// The SJW's shortest seg2 leaves out exactly the rows whose seg2 is shorter; below 1
// it leaves out nothing.
TEST(ListSettings, MinimumSeg2LeavesOutShorterRows) {
  SetFloatEnvironment();
  CandidateList all;
  BitTimingSearch(all, 42000, 500.0f, 100, 0.0f);
  for (int32_t minSeg2 : {-3, 0, 1, 2, 4, 8, 9}) {
    std::vector<TimingCandidate> expected;
    for (const TimingCandidate& r : all.records)
      if (r.bs2Code + 1 >= minSeg2) expected.push_back(r);
    TimingRequest request = kLarge;
    request.minSeg2 = minSeg2;
    for (PrescalerScan scan : {PrescalerScan::kEvery, PrescalerScan::kRateWindow}) {
      ChunkLog log;
      Search(kBxCanRanges, request, scan, log);
      EXPECT_TRUE(SameRecords(log.records, expected)) << minSeg2;
    }
  }
}

// The benchmark's plain loop is the every-prescaler scan: it lists what the skipping
// scan lists.
TEST(ListSettings, BothScansListTheSameFdcanRows) {
  for (const TimingRequest& request : {TimingRequest{80000, 500.0f, 100, 0.4f, 1}, TimingRequest{8000, 10.0f, 1000, 0.0f, 3}}) {
    ChunkLog every;
    ChunkLog skipping;
    Search(kFdcanNominalRanges, request, PrescalerScan::kEvery, every);
    Search(kFdcanNominalRanges, request, PrescalerScan::kRateWindow, skipping);
    EXPECT_FALSE(every.records.empty());
    EXPECT_TRUE(SameRecords(every.records, skipping.records)) << request.clockKHz;
  }
}

// The work the skipping scan leaves: at 80 MHz and 500 Kbps, 659 of the 16 777 216
// nominal settings at 1% and 7 088 at 10%; with an untrusted window (an infinite
// target) every one.
TEST(PassablePrescalers, LeaveFewSettingsToTry) {
  SetFloatEnvironment();
  const float infinity = std::numeric_limits<float>::infinity();
  const struct {
    float target;
    int32_t tolerance;
    long least;
    long most;
  } cases[] = {{500.0f, 1, 463, 1000}, {500.0f, 10, 3000, 10000}, {500.0f, 100, 16000000, 16777216},
               {infinity, 1, 16777216, 16777216}, {-infinity, 0, 16777216, 16777216}};
  for (const auto& c : cases) {
    const double target = c.target;
    const RateWindow window = MakeRateWindow(target, target * c.tolerance / 100.0, BuildArithmetic::RatePasses);
    long tried = 0;
    for (int32_t quanta = 3; quanta <= 385; ++quanta) {
      const double clockPerBit = ExtendedToDouble(ExtendedQuotient(80000, static_cast<uint32_t>(quanta)));
      const FieldRange range = PassablePrescalers(clockPerBit, window, kFdcanNominalRanges.prescaler);
      const long pairs = std::min(quanta - 2, 256) - std::max(quanta - 129, 1) + 1;  // seg1 + seg2 = quanta - 1
      if (range.last >= range.first) tried += pairs * (range.last - range.first + 1);
    }
    EXPECT_GE(tried, c.least) << c.target << " " << c.tolerance;
    EXPECT_LE(tried, c.most) << c.target << " " << c.tolerance;
  }
}

// Every prescaler left out has a rate outside the window, so it cannot pass.
TEST(PassablePrescalers, LeaveOutOnlyRatesOutsideTheWindow) {
  SetFloatEnvironment();
  // The clock per bit as the search forms it, and one far below any clock's (exact).
  const ExtendedFloat tiny = ExtendedDifference(1e-30, 0.0);
  const struct {
    ExtendedFloat clockPerBit;
    float target;
    int32_t tolerance;
  } cases[] = {{ExtendedQuotient(80000, 16), 500.0f, 1},  {ExtendedQuotient(80000, 16), 500.0f, 0},
               {ExtendedQuotient(80000, 7), 0.1f, 10},    {ExtendedQuotient(1, 385), 1e-45f, 100},
               {ExtendedQuotient(2147483647, 3), 5e5f, 0}, {ExtendedQuotient(80000, 3), 0.0f, 0},
               {ExtendedQuotient(80000, 3), -500.0f, 10}, {ExtendedQuotient(80000, 3), 1e30f, 10},
               {tiny, 1e-30f, 0}};
  for (const auto& c : cases) {
    const double target = c.target;
    const RateWindow window = MakeRateWindow(target, target * c.tolerance / 100.0, BuildArithmetic::RatePasses);
    const FieldRange range = PassablePrescalers(ExtendedToDouble(c.clockPerBit), window, {1, 512});
    for (uint32_t p = 1; p <= 512; ++p) {
      if (static_cast<int32_t>(p) >= range.first && static_cast<int32_t>(p) <= range.last) continue;
      const double rate = ExtendedDivideToDouble(c.clockPerBit, p);
      ASSERT_TRUE(rate < window.rateLow || rate > window.rateHigh) << c.target << " p " << p;
    }
  }
}

float Next(float value, int steps) {
  const float towards = steps > 0 ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::infinity();
  for (int i = 0; i < std::abs(steps); ++i) value = std::nextafter(value, towards);
  return value;
}

// The pass interval is exactly the passing floats next to its edges; the turn-away
// window holds every passing float, and a rate beyond its rate bounds rounds to a
// float beyond it.
TEST(RateWindow, EdgesAreWhereTheRateTestSaysSo) {
  const struct {
    float target;
    int32_t tolerance;
  } cases[] = {{500.0f, 1},   {500.0f, 0},       {0.1f, 0},    {1.0f / 3.0f, 1}, {0.0f, 0},      {0.0f, 10},
               {1e-45f, 100}, {3.4e38f, 10},     {-500.0f, -5}, {83.333f, 100},   {1000.0f, 100}, {1e-3f, 0},
               {125.0f, 3},   {2147483.0f, 10}};
  SetFloatEnvironment();
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.target << " " << c.tolerance << "%");
    const double target = c.target;
    const double allowed = target * c.tolerance / 100.0;
    const RateWindow w = MakeRateWindow(target, allowed, BuildArithmetic::RatePasses);
    ASSERT_TRUE(w.trusted);
    ASSERT_LE(w.passLow, w.passHigh);
    EXPECT_TRUE(BuildArithmetic::RatePasses(w.passLow, target, allowed));
    EXPECT_TRUE(BuildArithmetic::RatePasses(w.passHigh, target, allowed));
    EXPECT_FALSE(BuildArithmetic::RatePasses(Next(w.passLow, -1), target, allowed));
    EXPECT_FALSE(BuildArithmetic::RatePasses(Next(w.passHigh, 1), target, allowed));
    EXPECT_LT(w.floatLow, w.passLow);
    EXPECT_GT(w.floatHigh, w.passHigh);
    // From the pass interval out to the window's edges and some way beyond: no pass.
    for (float f = Next(w.passHigh, 1), n = 0; f <= w.floatHigh && n < 100000; f = Next(f, 1), ++n)
      ASSERT_FALSE(BuildArithmetic::RatePasses(f, target, allowed)) << f;
    for (float f = Next(w.passLow, -1), n = 0; f >= w.floatLow && n < 100000; f = Next(f, -1), ++n)
      ASSERT_FALSE(BuildArithmetic::RatePasses(f, target, allowed)) << f;
    for (int steps = 1; steps <= 1000; steps *= 10) {
      EXPECT_FALSE(BuildArithmetic::RatePasses(Next(w.floatHigh, steps), target, allowed));
      EXPECT_FALSE(BuildArithmetic::RatePasses(Next(w.floatLow, -steps), target, allowed));
    }
    const double above = std::nextafter(w.rateHigh, std::numeric_limits<double>::infinity());
    const double below = std::nextafter(w.rateLow, -std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isinf(w.floatHigh) || static_cast<float>(above) > w.floatHigh);
    EXPECT_TRUE(std::isinf(w.floatLow) || static_cast<float>(below) < w.floatLow);
  }
}

TEST(RateWindow, UntrustedOrEmptyWhereTheTestIsNotAnInterval) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    double target;
    double allowed;
    bool trusted;
  } cases[] = {{inf, inf, false}, {inf, 0.0, false}, {-inf, -inf, false}, {nan, nan, false},
               {500.0, inf, false}, {500.0, nan, false}, {500.0, -25.0, true}, {-500.0, -25.0, true},
               {0.0, -1e-6, true}};
  SetFloatEnvironment();
  for (const auto& c : cases) {
    const RateWindow w = MakeRateWindow(c.target, c.allowed, BuildArithmetic::RatePasses);
    EXPECT_EQ(w.trusted, c.trusted) << c.target << " " << c.allowed;
    EXPECT_GT(w.passLow, w.passHigh) << c.target << " " << c.allowed;  // nothing is taken unseen
    if (!c.trusted) {
      EXPECT_EQ(w.floatLow, -std::numeric_limits<float>::infinity());
      EXPECT_EQ(w.floatHigh, std::numeric_limits<float>::infinity());
      const FieldRange all = PassablePrescalers(1000.0, w, {1, 512});
      EXPECT_TRUE(all.first == 1 && all.last == 512);
    }
  }
}

// clockKHz / perBit against the float target, exactly, the tolerance in hundredths of a
// percent: each edge from both sides.
TEST(RateWithinTolerance, ASettingAtTheToleranceIsIn) {
  const struct {
    const char* name;
    int32_t clockKHz;
    int64_t perBit;
    float target;
    int32_t tolerance;  // hundredths of a percent
    bool in;
  } cases[] = {
      // 0.99999977% below the float 33.3; the window's float test drops it at 1%.
      {"33.3 at 1%", 32967, 1000, 33.3f, 100, true},
      {"33.3 at 0%", 32967, 1000, 33.3f, 0, false},
      {"1% below", 99000, 1000, 100.0f, 100, true},
      {"beyond 1% below", 98999, 1000, 100.0f, 100, false},
      {"1% above", 101000, 1000, 100.0f, 100, true},
      {"beyond 1% above", 101001, 1000, 100.0f, 100, false},
      {"exact at 0%", 8000, 16, 500.0f, 0, true},
      {"1/3 is not its float", 1, 3, 1.0f / 3.0f, 0, false},
      {"clock 0 at 100%", 0, 16, 500.0f, 10000, true},
      {"clock 0 at 99%", 0, 16, 500.0f, 9900, false},
      {"a negative rate at 300%", -1000, 1, 500.0f, 30000, true},
      {"a negative rate at 299%", -1000, 1, 500.0f, 29900, false},
      {"the smallest target", 1, 1, std::numeric_limits<float>::denorm_min(), 10000, false},
      {"the largest target", 2147483647, 1, std::numeric_limits<float>::max(), 1000, false},
      {"a negative tolerance", 8000, 16, 500.0f, -500, false},
      {"0.11% above", 100110, 1000, 100.0f, 11, true},
      {"0.11% above at 0.1%", 100110, 1000, 100.0f, 10, false},
      {"beyond 0.11% above", 100111, 1000, 100.0f, 11, false},
      {"0.11% below", 99890, 1000, 100.0f, 11, true},
      {"beyond 0.11% below", 99889, 1000, 100.0f, 11, false},
      {"0.01% above", 100010, 1000, 100.0f, 1, true},
      {"100%", 0, 1000, 100.0f, 10000, true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(RateWithinTolerance(c.clockKHz, c.perBit, c.target, c.tolerance), c.in) << c.name;
}

}  // namespace
