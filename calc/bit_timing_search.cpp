// The bit-timing search, for any controller's ranges.
//
// Which settings pass the rate test depends on the exact rounding of every
// intermediate, so the arithmetic below is written out step by step:
//   - the clock divided by the quanta per bit is divided by the prescaler in the x87
//     80-bit long double, with no rounding to double in between;
//   - that rate is rounded to double, then to float (the stored actualRate);
//   - the difference d - allowed of the rate test stays in long double;
//   - every other intermediate is a double, rounded as it is formed (on x86-64 g++
//     evaluates double expressions in SSE registers, so plain expressions do that).
// With a 53-bit or a 113-bit long double some rates would round to a different float
// and the result list would change, hence the assertion below.
//
// Speed without changing a single record: the rate test accepts a float actualRate
// only within a window around the target (|actualRate - target| is at most about
// allowed + 1e-7). RateWindow widens that window generously and carries it back to
// the unrounded rate, so a setting whose long double rate lies outside it cannot pass,
// and costs two comparisons instead of the full test. The rate-window scan also skips
// the prescalers whose rate lies outside it: the rate falls as the prescaler grows, so
// they form the two ends of the prescaler range.
#include "calc/bit_timing_search.h"

#include <cmath>
#include <cstring>
#include <limits>

static_assert(std::numeric_limits<long double>::digits == 64,
              "the search needs the x87 80-bit long double (64-bit significand)");

namespace {

// The rate test's absolute slack in Kbps: the double nearest 1e-7, compared with the
// long double d - allowed.
constexpr long double kRateSlack = 1e-7;

// Margins of the rate window. Every rounding they must cover is below 2^-23 relative
// (float) or 2^-149 absolute (a float below the normal range); they are far wider.
constexpr double kRelativeMargin = 1e-6;
constexpr double kAbsoluteMargin = 1e-30;

// Bounds on the unrounded long double rate of any setting that can pass the rate test.
// Not trusted (every setting gets the full test) when the target or the allowed error
// is not finite: there a not-a-number comparison may pass anything.
struct RateWindow {
  long double low;
  long double high;
  bool trusted;
};

RateWindow MakeRateWindow(double target, double allowed) {
  constexpr long double kInfinity = std::numeric_limits<long double>::infinity();
  const RateWindow untrusted{-kInfinity, kInfinity, false};
  if (!std::isfinite(target) || !std::isfinite(allowed)) return untrusted;
  // 1. A passing float rate lies within allowed + 1e-7 (and some 2^-52 of
  //    rounding) of the target; the margins include the slack ten times over.
  const double width = std::fabs(allowed) * (1.0 + kRelativeMargin) + kRelativeMargin * (1.0 + std::fabs(target));
  const double low = target - width;
  const double high = target + width;
  // 2. Rounding the long double rate to double and then to float moves it by less
  //    than 2^-23 of itself, or less than 2^-149 near zero.
  const double rateLow = low - std::fabs(low) * kRelativeMargin - kAbsoluteMargin;
  const double rateHigh = high + std::fabs(high) * kRelativeMargin + kAbsoluteMargin;
  if (!std::isfinite(rateLow) || !std::isfinite(rateHigh)) return untrusted;
  return RateWindow{rateLow, rateHigh, true};
}

// The prescalers of range whose rate clockPerBit / p can lie in window; the full range
// unless the window is trusted and the rate positive, so that it falls as p grows. An
// empty result has first > last.
FieldRange PassablePrescalers(long double clockPerBit, const RateWindow& window, FieldRange range) {
  if (!window.trusted || !(clockPerBit > 0.0L)) return range;
  const FieldRange none{range.first, range.first - 1};
  if (!(window.high > 0.0L)) return none;  // every rate here is above zero
  const double perBit = static_cast<double>(clockPerBit);
  // p < perBit / high gives a rate above high, p > perBit / low one below low. The
  // quotients are taken in double; the factor and the extra prescaler on each side
  // cover their rounding many times over.
  const double fewest = perBit / static_cast<double>(window.high) * (1.0 - 1e-9) - 1.0;
  if (fewest > static_cast<double>(range.last)) return none;
  FieldRange passable = range;
  if (fewest > static_cast<double>(range.first)) passable.first = static_cast<int32_t>(fewest);
  if (window.low > 0.0L) {
    const double most = perBit / static_cast<double>(window.low) * (1.0 + 1e-9) + 1.0;
    if (most < static_cast<double>(range.first)) return none;
    if (most < static_cast<double>(range.last)) passable.last = static_cast<int32_t>(most) + 1;
  }
  return passable;
}

// Accepted records wait here until a chunk is full.
struct ChunkBuffer {
  TimingCandidate records[kTimingChunk];
  int32_t count;
  const TimingSink* sink;
};

bool Flush(ChunkBuffer& chunk) {
  if (chunk.count == 0) return true;
  const int32_t count = chunk.count;
  chunk.count = 0;
  return chunk.sink->take(chunk.sink->context, chunk.records, count);
}

// What every setting of one seg1/seg2 pair shares, and what the rate test needs.
struct PairTerms {
  int32_t bs1Code;
  int32_t bs2Code;
  long double clockPerBit;  // clockKHz / quanta per bit, rounded to 64 bits only
  float samplePoint;
  double target;            // targetRate widened
  double allowed;           // targetRate * tolerancePercent / 100
  float minSamplePoint;
};

// Rate test, error, sample-point test and append for one prescaler whose rate the
// caller has formed. The rate test is !(excess > slack), not excess <= slack: a
// not-a-number excess (an infinite target) passes. False when the sink ended the search.
inline bool TrySetting(const PairTerms& pair, int32_t prescaler, long double rateLong, ChunkBuffer& chunk) {
  const float actualRate = static_cast<float>(static_cast<double>(rateLong));
  const double difference = std::fabs(static_cast<double>(actualRate) - pair.target);
  const long double excess = static_cast<long double>(difference) - static_cast<long double>(pair.allowed);
  if (excess > kRateSlack) return true;
  const double ratio = static_cast<double>(actualRate) / pair.target;
  const double deviation = std::fabs(1.0 - ratio);
  const float errorPercent = static_cast<float>(deviation * 100.0);
  if (!(pair.samplePoint >= pair.minSamplePoint)) return true;
  chunk.records[chunk.count++] =
      TimingCandidate{pair.bs1Code, pair.bs2Code, prescaler, pair.samplePoint, errorPercent, actualRate};
  return chunk.count < kTimingChunk || Flush(chunk);
}

// Every prescaler of one pair within prescalers; false when the sink ended the search.
bool ScanPair(const PairTerms& pair, FieldRange prescalers, const RateWindow& window, ChunkBuffer& chunk) {
  // The prescaler also counts in long double, sparing a conversion per setting.
  long double prescalerLong = static_cast<long double>(prescalers.first);
  for (int32_t prescaler = prescalers.first; prescaler <= prescalers.last; ++prescaler, prescalerLong += 1.0L) {
    const long double rateLong = pair.clockPerBit / prescalerLong;
    if (rateLong < window.low || rateLong > window.high) continue;
    if (!TrySetting(pair, prescaler, rateLong, chunk)) return false;
  }
  return true;
}

bool TakeIntoStore(void* context, const TimingCandidate* records, int32_t count) {
  std::vector<TimingCandidate>& out = static_cast<CandidateList*>(context)->records;
  out.insert(out.end(), records, records + count);
  return true;
}

}  // namespace

bool SearchBitTimings(const TimingRanges& ranges, const TimingRequest& request, PrescalerScan scan,
                      const TimingSink& sink) {
  ChunkBuffer chunk;
  chunk.count = 0;
  chunk.sink = &sink;
  PairTerms pair;
  pair.target = static_cast<double>(request.targetRate);
  pair.allowed = pair.target * static_cast<double>(request.tolerancePercent) / 100.0;
  pair.minSamplePoint = request.minSamplePoint;
  const RateWindow window = MakeRateWindow(pair.target, pair.allowed);
  const int32_t firstSeg2 = request.minSeg2 > ranges.seg2.first ? request.minSeg2 : ranges.seg2.first;

  for (int32_t seg2 = firstSeg2; seg2 <= ranges.seg2.last; ++seg2) {
    for (int32_t seg1 = ranges.seg1.first; seg1 <= ranges.seg1.last; ++seg1) {
      const double quanta = static_cast<double>(seg1) + static_cast<double>(seg2) + 1.0;
      pair.bs1Code = seg1 - 1;
      pair.bs2Code = seg2 - 1;
      // The same quotient for every prescaler of the pair, so it is formed once.
      pair.clockPerBit = static_cast<long double>(request.clockKHz) / static_cast<long double>(quanta);
      pair.samplePoint = static_cast<float>(static_cast<double>(seg1 + 1) / quanta);
      const FieldRange prescalers = scan == PrescalerScan::kRateWindow
                                        ? PassablePrescalers(pair.clockPerBit, window, ranges.prescaler)
                                        : ranges.prescaler;
      if (!ScanPair(pair, prescalers, window, chunk)) return false;
    }
  }
  return Flush(chunk);
}

TimingSink AppendToStore(CandidateList& store) { return TimingSink{TakeIntoStore, &store}; }
