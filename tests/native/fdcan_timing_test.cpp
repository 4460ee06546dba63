#include "calc/bit_timing_search.h"
#include "calc/fdcan_timing.h"
#include "calc/controllers.h"
#include "calc/fp_environment.h"
#include "calc/timing.h"
#include "tests/native/reference_rate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The plain enumeration written out on its own, one seg1/seg2 pair at a time, so that
// a listing of millions of rows is compared without holding it: every prescaler of
// the pair, rate test first, with the arithmetic of the search.
class PlainListing {
 public:
  PlainListing(const TimingRanges& ranges, const TimingRequest& request)
      : ranges_(ranges), request_(request), seg2_(std::max(ranges.seg2.first, request.minSeg2)),
        seg1_(ranges.seg1.first - 1) {}

  bool Next(TimingCandidate& record) {
    while (index_ == pair_.size()) {
      if (!NextPair()) return false;
    }
    record = pair_[index_++];
    return true;
  }

 private:
  bool NextPair() {
    if (++seg1_ > ranges_.seg1.last) {
      seg1_ = ranges_.seg1.first;
      ++seg2_;
    }
    if (seg2_ > ranges_.seg2.last) return false;
    pair_.clear();
    index_ = 0;
    const double quanta = seg1_ + seg2_ + 1.0;
    const double target = request_.targetRate;
    const double allowed = target * request_.toleranceHundredths / 10000.0;
    // Every prescaler by the exact test itself, without the float sieve the search puts
    // before it, where the request asks for it and the target is a positive number.
    const bool exact = request_.toleranceTest == ToleranceTest::kExact && std::isfinite(request_.targetRate) &&
                       request_.targetRate > 0.0f;
    for (int32_t p = ranges_.prescaler.first; p <= ranges_.prescaler.last; ++p) {
      const float actualRate = ReferenceRate(request_.clockKHz, seg1_ + seg2_ + 1, p);
      const double d = std::fabs(static_cast<double>(actualRate) - target);
      if (exact ? !RateWithinTolerance(request_.clockKHz, int64_t{seg1_ + seg2_ + 1} * p, request_.targetRate,
                                       request_.toleranceHundredths)
                : ReferenceExceedsSlack(d, allowed))
        continue;
      const float errorPercent = static_cast<float>(std::fabs(1.0 - static_cast<double>(actualRate) / target) * 100.0);
      const float samplePoint = static_cast<float>((seg1_ + 1.0) / quanta);
      if (!(samplePoint >= request_.minSamplePoint)) continue;
      pair_.push_back({seg1_ - 1, seg2_ - 1, p, samplePoint, errorPercent, actualRate});
    }
    return true;
  }

  TimingRanges ranges_;
  TimingRequest request_;
  int32_t seg2_;
  int32_t seg1_;
  std::vector<TimingCandidate> pair_;
  std::size_t index_ = 0;
};

std::string Describe(const TimingRequest& r) {
  std::ostringstream text;
  text.precision(9);
  text << r.clockKHz << " kHz, " << r.targetRate << " Kbps, " << r.toleranceHundredths << " hundredths of a percent, sample point "
       << r.minSamplePoint << ", seg2 >= " << r.minSeg2;
  return text.str();
}

std::string Describe(const TimingCandidate& r) {
  std::ostringstream text;
  text.precision(9);
  text << "{" << r.bs1Code << ", " << r.bs2Code << ", " << r.prescaler << ", " << r.samplePoint << ", "
       << r.errorPercent << ", " << r.actualRate << "}";
  return text.str();
}

// A sink that checks each record against the plain listing as it arrives and stops at
// the first difference.
struct Comparison {
  PlainListing* plain;
  long rows = 0;
  std::string difference;
};

bool CompareChunk(void* context, const TimingCandidate* records, int32_t count) {
  Comparison& c = *static_cast<Comparison*>(context);
  for (int32_t i = 0; i < count; ++i, ++c.rows) {
    TimingCandidate expected;
    if (!c.plain->Next(expected)) {
      c.difference = "row " + std::to_string(c.rows) + " " + Describe(records[i]) + " is not in the plain listing";
    } else if (std::memcmp(&expected, &records[i], sizeof expected) != 0) {
      c.difference = "row " + std::to_string(c.rows) + " is " + Describe(records[i]) + ", plain " + Describe(expected);
    }
    if (!c.difference.empty()) return false;
  }
  return true;
}

// An FDCAN phase's listing as the companion runs it (ControllerPhase,
// answers/rows/phase_search.h): the entry's limits and pair filter, scanned as its traits say.
bool FdcanListing(bool dataPhase, const TimingRequest& request, const TimingSink& sink) {
  const ControllerEntry& fdcan = *FindController("fdcan");
  const PhaseQuestion question{&PhaseLimitsOf(fdcan, dataPhase), 0};
  return ListSettings(SearchRanges(question), request, fdcan.traits.scan, sink);
}

// The FDCAN listing (what the companion calls) against the plain loop, row for row.
void ExpectPlainListing(bool dataPhase, const TimingRequest& request) {
  SetFloatEnvironment();
  const TimingRanges& ranges = dataPhase ? kFdcanDataRanges : kFdcanNominalRanges;
  PlainListing plain(ranges, request);
  Comparison comparison{&plain};
  const TimingSink sink{CompareChunk, &comparison};
  const bool completed = FdcanListing(dataPhase, request, sink);
  TimingCandidate extra;
  if (comparison.difference.empty() && plain.Next(extra))
    comparison.difference = "the listing ends at row " + std::to_string(comparison.rows) + ", plain goes on with " +
                            Describe(extra);
  EXPECT_EQ(comparison.difference, "") << (dataPhase ? "data phase, " : "nominal, ") << Describe(request);
  EXPECT_EQ(completed, comparison.difference.empty());
}

const float kInfinity = std::numeric_limits<float>::infinity();
const float kNaN = std::numeric_limits<float>::quiet_NaN();

// Inputs at the edges of the arithmetic: rate 0, clock 0, tolerance 100% and beyond,
// fractional and extreme rates, signs, and the SJW's shortest seg2.
const TimingRequest kOddInputs[] = {
    {80000, 500.0f, 100, 0.4f, 1},         {80000, 500.0f, 0, 0.875f, 1},     {80000, 0.0f, 0, 0.0f, 1},
    {80000, 0.0f, 1000, 0.5f, 1},          {0, 0.0f, 0, 0.3f, 1},             {0, 0.0f, 10000, 0.0f, 40},
    {0, 500.0f, 1000, 0.0f, 1},            {80000, 500.0f, 10000, 0.0f, 1},     {8000, 1.0f, 10000, 0.5f, 1},
    {170000, 83.333f, 100, 0.8f, 1},       {125, 0.1f, 0, 0.0f, 1},           {1000, 1.0f / 3.0f, 100, 0.0f, 1},
    {42000, 1.640625f, 0, 0.0f, 1},      {1, 1e-45f, 10000, 0.0f, 1},         {1, 0.0001f, 10000, 0.0f, 1},
    {2147483647, 500.0f, 1000, 0.3f, 1},   {2147483647, 3.4e38f, 1000, 0.0f, 1}, {-80000, 500.0f, 0, 0.0f, 1},
    {-80000, -500.0f, 500, 0.0f, 1},       {-2147483647 - 1, 500.0f, 30000, 0.3f, 1}, {80000, -500.0f, 1000, 0.0f, 1},
    {80000, 500.0f, -500, 0.0f, 1},        {80000, 500.0f, 25000, 0.0f, 64},    {80000, 500.0f, 2147483647, 0.5f, 1},
    {80000, kInfinity, 0, 0.3f, 1},      {80000, -kInfinity, 300, 0.0f, 1},   {80000, kNaN, 0, 0.9f, 1},
    {80000, 500.0f, 1000, kNaN, 1},        {80000, 500.0f, 1000, 1.0f, 1},      {80000, 500.0f, 1000, 0.0f, 128},
    {80000, 500.0f, 1000, 0.0f, 129},      {160000, 1000.0f, 200, 0.75f, 16},   {40000, 125.0f, 0, 0.875f, 2},
    {80000, 5000.0f, 1000, 0.7f, 1},       {80000, 8000.0f, 10000, 0.0f, 1},    {48000, 2000.0f, 0, 0.0f, 3},
    {32967, 33.3f, 100, 0.5f, 1},          {170000, 33.3333f, 11, 0.0f, 1},     {80000, 83.333f, 1, 0.0f, 1},
};

TEST(FdcanNominalListing, EqualsThePlainLoopOnOddInputs) {
  for (const TimingRequest& request : kOddInputs) ExpectPlainListing(false, request);
}

TEST(FdcanDataListing, EqualsThePlainLoopOnOddInputs) {
  for (const TimingRequest& request : kOddInputs) ExpectPlainListing(true, request);
}

// Targets drawn from a setting's own rate, nudged by a few floats: where a slip in the
// windows or the skipped prescalers would drop or add a record. Clocks of real parts
// and odd ones, tolerances mostly 0 to 10% (some with decimals) with some 100%, minimum sample points and
// SJWs across their ranges.
std::vector<TimingRequest> RandomInputs(uint32_t randomStart, int count, const TimingRanges& ranges) {
  std::mt19937 random(randomStart);
  const int32_t realClocks[] = {8000, 16000, 20000, 40000, 48000, 64000, 80000, 100000, 120000, 160000, 170000};
  std::uniform_int_distribution<int32_t> anyClock(1, 500000);
  std::uniform_int_distribution<int32_t> pick(0, 10);
  std::uniform_int_distribution<int32_t> quanta(3, ranges.seg1.last + ranges.seg2.last + 1);
  std::uniform_int_distribution<int32_t> prescaler(ranges.prescaler.first, ranges.prescaler.last);
  std::uniform_int_distribution<int32_t> nudge(-3, 3);
  std::uniform_real_distribution<float> fraction(0.0f, 0.95f);
  std::vector<TimingRequest> inputs;
  for (int i = 0; i < count; ++i) {
    const int32_t clockKHz = i % 2 == 0 ? realClocks[pick(random)] : anyClock(random);
    float target = static_cast<float>(static_cast<double>(clockKHz) / quanta(random) / prescaler(random));
    for (int n = nudge(random); n != 0; n += n > 0 ? -1 : 1) target = std::nextafter(target, n > 0 ? 1e30f : 0.0f);
    // Hundredths of a percent: whole percents, and every fifth a decimal one below 10%.
    const int32_t tolerance = i % 25 == 0   ? 10000
                              : i % 3 == 0  ? 0
                              : i % 5 == 0  ? static_cast<int32_t>(random() % 1001)
                                            : pick(random) * 100;
    const int32_t minSeg2 = i % 4 == 0 ? 1 + static_cast<int32_t>(random() % ranges.sjw.last) : 1;
    inputs.push_back({clockKHz, target, tolerance, fraction(random), minSeg2});
  }
  return inputs;
}

TEST(FdcanNominalListing, EqualsThePlainLoopOnRandomInputsA) {
  for (const TimingRequest& request : RandomInputs(20261208, 60, kFdcanNominalRanges))
    ExpectPlainListing(false, request);
}

TEST(FdcanNominalListing, EqualsThePlainLoopOnRandomInputsB) {
  for (const TimingRequest& request : RandomInputs(12, 60, kFdcanNominalRanges)) ExpectPlainListing(false, request);
}

TEST(FdcanNominalListing, EqualsThePlainLoopOnRandomInputsC) {
  for (const TimingRequest& request : RandomInputs(1208, 60, kFdcanNominalRanges)) ExpectPlainListing(false, request);
}

TEST(FdcanDataListing, EqualsThePlainLoopOnRandomInputs) {
  for (const TimingRequest& request : RandomInputs(2026, 400, kFdcanDataRanges)) ExpectPlainListing(true, request);
}

}  // namespace

namespace {

std::vector<TimingCandidate> Listing(bool dataPhase, const TimingRequest& request) {
  SetFloatEnvironment();
  CandidateList store;
  const TimingSink sink = AppendToStore(store);
  EXPECT_TRUE(FdcanListing(dataPhase, request, sink));
  return store.records;
}

// 80 MHz at 500 Kbps is 160 quanta of the clock per bit: prescaler x quanta = 160, and
// a sample point of at least 7/8 leaves seg2 from 2 to quanta / 8. Over the divisors
// of 160 from 8 up that is 0+0+1+1+3+4+9+19 = 37 settings.
TEST(FdcanNominalListing, ExactRatesAt80MHzCountedByHand) {
  const std::vector<TimingCandidate> rows = Listing(false, {80000, 500.0f, 0, 0.875f, 1});
  ASSERT_EQ(rows.size(), 37u);
  for (const TimingCandidate& r : rows) {
    EXPECT_EQ(r.prescaler * (r.bs1Code + r.bs2Code + 3), 160);
    EXPECT_EQ(r.actualRate, 500.0f);
    EXPECT_EQ(r.errorPercent, 0.0f);
    EXPECT_GE(r.samplePoint, 0.875f);
  }
  const TimingCandidate first{12, 1, 10, 0.875f, 0.0f, 500.0f};  // seg1 13, seg2 2
  const TimingCandidate last{138, 19, 1, 0.875f, 0.0f, 500.0f};  // seg1 139, seg2 20
  EXPECT_EQ(std::memcmp(&rows.front(), &first, sizeof first), 0) << Describe(rows.front());
  EXPECT_EQ(std::memcmp(&rows.back(), &last, sizeof last), 0) << Describe(rows.back());
}

// 80 MHz at 2000 Kbps is 40 clocks per bit; at least 3/4 leaves seg2 at most quanta / 4,
// and seg1 at most 32 cuts quanta 40 to seg2 7 to 10: 1+1+2+2+5+4 = 15 settings. An SJW
// of 5 keeps those with seg2 from 5: 1 at quanta 20 and 4 at 40.
TEST(FdcanDataListing, ExactRatesAt80MHzCountedByHand) {
  const struct {
    int32_t minSeg2;
    std::size_t count;
  } cases[] = {{1, 15}, {5, 5}, {11, 0}};
  for (const auto& c : cases) {
    const std::vector<TimingCandidate> rows = Listing(true, {80000, 2000.0f, 0, 0.75f, c.minSeg2});
    ASSERT_EQ(rows.size(), c.count) << "SJW " << c.minSeg2;
    for (const TimingCandidate& r : rows) {
      EXPECT_EQ(r.prescaler * (r.bs1Code + r.bs2Code + 3), 40);
      EXPECT_GE(r.bs2Code + 1, c.minSeg2);
      EXPECT_LE(r.bs1Code + 1, 32);
    }
  }
}

struct RegisterCase {
  FdcanBitTiming timing;
  uint32_t nbtp;
  uint32_t dbtp;
};

TEST(FdcanRegisters, PackTheLengthsLessOne) {
  const RegisterCase cases[] = {
      {{1, 1, 1, 1}, 0x00000000u, 0x00000000u},
      {{1, 139, 20, 20}, 0x26008A13u, 0x00000A33u},  // DBTP cuts seg1 and SJW to their widths
      {{2, 63, 16, 16}, 0x1E013E0Fu, 0x00011EFFu},
      {{4, 5, 4, 4}, 0x06030403u, 0x00030433u},
      {{1, 13, 2, 2}, 0x02000C01u, 0x00000C11u},
      {{32, 32, 16, 16}, 0x1E1F1F0Fu, 0x001F1FFFu},
      {{512, 256, 128, 128}, 0xFFFFFF7Fu, 0x001F1FFFu},
      {{513, 257, 129, 129}, 0x00000000u, 0x00000000u},  // one past the top wraps to the field's 0
      {{0, 0, 0, 0}, 0xFFFFFF7Fu, 0x001F1FFFu},          // never a reserved bit
  };
  for (const RegisterCase& c : cases) {
    SCOPED_TRACE(c.timing.prescaler * 1000 + c.timing.seg1);
    EXPECT_EQ(EncodeLengths(c.timing, kNbtp), c.nbtp);
    EXPECT_EQ(EncodeLengths(c.timing, kDbtp), c.dbtp);
  }
}

struct DecodeCase {
  uint32_t value;
  FdcanBitTiming timing;
  uint32_t reservedBits;
  bool delayCompensation;
};

TEST(FdcanRegisters, DecodeNamesTheReservedBits) {
  const DecodeCase nominal[] = {
      {0x00000000u, {1, 1, 1, 1}, 0, false},
      {0x26008A13u, {1, 139, 20, 20}, 0, false},
      {0x00000080u, {1, 1, 1, 1}, 0x80u, false},
      {0xFFFFFFFFu, {512, 256, 128, 128}, 0x80u, false},
      {0x00800000u, {129, 1, 1, 1}, 0, false},  // bit 23 is NBRP's top bit here
  };
  for (const DecodeCase& c : nominal) {
    const DecodedBitTiming d = DecodeNominalBitTiming(c.value);
    EXPECT_EQ(d.reservedBits, c.reservedBits) << std::hex << c.value;
    EXPECT_EQ(d.transceiverDelayCompensation, c.delayCompensation) << std::hex << c.value;
    EXPECT_EQ(std::memcmp(&d.timing, &c.timing, sizeof c.timing), 0) << std::hex << c.value;
  }
  const DecodeCase data[] = {
      {0x00000000u, {1, 1, 1, 1}, 0, false},
      {0x00030433u, {4, 5, 4, 4}, 0, false},
      {0x00800000u, {1, 1, 1, 1}, 0, true},
      {0x00002000u, {1, 1, 1, 1}, 0x2000u, false},
      {0x00600000u, {1, 1, 1, 1}, 0x600000u, false},
      {0x01000000u, {1, 1, 1, 1}, 0x1000000u, false},
      {0xFFFFFFFFu, {32, 32, 16, 16}, 0xFF60E000u, true},
  };
  for (const DecodeCase& c : data) {
    const DecodedBitTiming d = DecodeDataBitTiming(c.value);
    EXPECT_EQ(d.reservedBits, c.reservedBits) << std::hex << c.value;
    EXPECT_EQ(d.transceiverDelayCompensation, c.delayCompensation) << std::hex << c.value;
    EXPECT_EQ(std::memcmp(&d.timing, &c.timing, sizeof c.timing), 0) << std::hex << c.value;
  }
}

// Every DBTP setting, and every value of each NBTP field beside a few of the others,
// comes back from its register value; and any value without reserved bits is the
// register of what it decodes to.
TEST(FdcanRegisters, DecodeUndoesEncode) {
  for (int32_t p = 1; p <= 32; ++p)
    for (int32_t s1 = 1; s1 <= 32; ++s1)
      for (int32_t s2 = 1; s2 <= 16; ++s2)
        for (int32_t sjw = 1; sjw <= 16; ++sjw) {
          const DecodedBitTiming d = DecodeDataBitTiming(EncodeLengths({p, s1, s2, sjw}, kDbtp));
          ASSERT_EQ(d.reservedBits, 0u);
          ASSERT_TRUE(d.timing.prescaler == p && d.timing.seg1 == s1 && d.timing.seg2 == s2 && d.timing.sjw == sjw);
        }
  for (int32_t v = 1; v <= 512; ++v) {
    const FdcanBitTiming settings[] = {{v, 1 + v % 256, 1 + v % 128, 1 + v / 4 % 128},
                                       {1 + v % 512, 1 + (v - 1) % 256, 128, 1 + (v - 1) % 128},
                                       {512, 256, 1 + (v - 1) % 128, 1 + (v * 7) % 128}};
    for (const FdcanBitTiming& t : settings) {
      const DecodedBitTiming d = DecodeNominalBitTiming(EncodeLengths(t, kNbtp));
      ASSERT_EQ(d.reservedBits, 0u);
      ASSERT_EQ(std::memcmp(&d.timing, &t, sizeof t), 0) << v;
    }
  }
  std::mt19937 random(7);
  for (int i = 0; i < 100000; ++i) {
    const uint32_t value = static_cast<uint32_t>(random());
    const DecodedBitTiming nominal = DecodeNominalBitTiming(value);
    EXPECT_EQ(EncodeLengths(nominal.timing, kNbtp) | nominal.reservedBits, value);
    const DecodedBitTiming data = DecodeDataBitTiming(value);
    const uint32_t tdc = data.transceiverDelayCompensation ? 0x00800000u : 0u;
    EXPECT_EQ(EncodeLengths(data.timing, kDbtp) | data.reservedBits | tdc, value);
  }
}

// The jump may exceed neither phase segment: the shorter of seg1 and seg2, within the
// range's SJW.
TEST(FdcanRegisters, DefaultSyncJumpWidthIsTheShorterSegmentWithinTheRange) {
  const struct {
    int32_t bs1Code;
    int32_t bs2Code;
    const TimingRanges* ranges;
    int32_t sjw;
  } cases[] = {{10, 0, &kFdcanNominalRanges, 1},   {138, 19, &kFdcanNominalRanges, 20},
               {255, 127, &kFdcanNominalRanges, 128}, {10, 19, &kFdcanNominalRanges, 11},
               {0, 1, &kFdcanNominalRanges, 1},    {1, 2, &kFdcanNominalRanges, 2},
               {31, 15, &kFdcanDataRanges, 16},    {1, 15, &kFdcanDataRanges, 2},
               {10, 1, &kFdcanDataRanges, 2},      {15, 7, &kBxCanRanges, 4},
               {10, 2, &kBxCanRanges, 3},          {2, 7, &kBxCanRanges, 3}};
  for (const auto& c : cases) {
    const TimingCandidate record{c.bs1Code, c.bs2Code, 3, 0.5f, 0.0f, 500.0f};
    EXPECT_EQ(DefaultSyncJumpWidth(record, *c.ranges), c.sjw) << c.bs1Code << " " << c.bs2Code;
  }
  const FdcanBitTiming t = ControllerLengths(FindController("fdcan")->nominal, {138, 19, 1, 0.875f, 0.0f, 500.0f}, 20);
  EXPECT_TRUE(t.prescaler == 1 && t.seg1 == 139 && t.seg2 == 20 && t.sjw == 20);
  EXPECT_EQ(EncodeLengths(t, kNbtp), 0x26008A13u);
}

}  // namespace
