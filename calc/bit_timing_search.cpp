// The bit-timing search, for any controller's ranges.
//
// Which settings pass the rate test depends on the exact rounding of every
// intermediate, so the arithmetic below is written out step by step:
//   - the clock divided by the quanta per bit is divided by the prescaler with a
//     64-bit significand, with no rounding to double in between;
//   - that rate is rounded to double, then to float (the stored actualRate);
//   - the difference d - allowed of the rate test is taken with a 64-bit significand;
//   - every other intermediate is a double, rounded as it is formed (g++ and clang
//     evaluate double expressions in SSE, NEON or WebAssembly registers, so plain
//     expressions do that).
// The 64-bit steps are the x87's long double or the same roundings in integers
// (search_arithmetic.h); a 53-bit or a 113-bit long double would round some rates to
// a different float and change the list.
//
// Speed without changing a single record: the windows of rate_window.h turn away
// most settings after two comparisons of the float rate, and take most passing ones
// without the full test. The rate-window scan also skips, per seg1/seg2 pair, the
// prescalers at both ends of the range whose rate cannot pass.
#include "calc/bit_timing_search.h"

#include "calc/rate_window.h"
#include "calc/search_arithmetic.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

namespace {

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

// What every setting of one seg1/seg2 pair shares, and what the tests need.
template <typename Arithmetic>
struct PairTerms {
  int32_t bs1Code;
  int32_t bs2Code;
  typename Arithmetic::PerBit clockPerBit;  // clockKHz / quanta per bit, rounded to 64 bits only
  int32_t quanta;           // 1 + seg1 + seg2
  float samplePoint;
  bool samplePointPasses;   // samplePoint >= the minimum, both floats
};

// What every setting shares.
struct SearchTerms {
  double target;   // targetRate widened
  double allowed;  // targetRate * toleranceHundredths / 10000, widened for the exact test
  RateWindow window;
  bool exact;      // each float-passing setting is held to RateWithinTolerance too
  int32_t clockKHz;
  float targetRate;
  int32_t toleranceHundredths;
};

// The exact test's float sieve. A setting that passes exactly, |r - T| <= A with r its
// exact rate, has a float rate f with |f - r| < r x 2^-23 (the 64-bit quotient, then
// double, then float) and r <= T + A; the double difference and the allowed error
// each add less than 2^-50 of themselves. Widening A by (T + A) x 2^-20, eight times
// the float's error, lets every such setting through the float test and its windows;
// the few it lets through beyond A are then turned away by the exact test.
constexpr double kExactSieveWidening = 1.0 / (1 << 20);

// The error depends only on the float rate; consecutive accepted settings often share
// it (always with clock 0), so the last one is kept, with the rate, as the record's
// last eight bytes.
struct LastError {
  uint32_t rateBits;
  uint64_t errorAndRate;
};

uint32_t BitsOf(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// Two 32-bit halves as the eight bytes they fill in memory on a little-endian target:
// x86, arm64 and WebAssembly all are (checked at compile time below).
uint64_t Pair64(uint32_t first, uint32_t second) { return first | (uint64_t{second} << 32); }

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "Pair64 lays out two fields as a little-endian target does");

// A record is written in three 8-byte stores rather than six 4-byte ones: the
// busiest path of the search, when nearly every setting passes, is bound by stores.
static_assert(sizeof(TimingCandidate) == 24 && offsetof(TimingCandidate, bs2Code) == 4 &&
                  offsetof(TimingCandidate, prescaler) == 8 && offsetof(TimingCandidate, samplePoint) == 12 &&
                  offsetof(TimingCandidate, errorPercent) == 16 && offsetof(TimingCandidate, actualRate) == 20,
              "the record is six packed 32-bit fields");

inline void StoreRecord(TimingCandidate* out, uint64_t codes, uint64_t prescalerAndSamplePoint,
                        uint64_t errorAndRate) {
  char* bytes = reinterpret_cast<char*>(out);
  std::memcpy(bytes, &codes, 8);
  std::memcpy(bytes + 8, &prescalerAndSamplePoint, 8);
  std::memcpy(bytes + 16, &errorAndRate, 8);
}

// Every prescaler of one pair within prescalers; false when the sink ended the search.
// The rate test is sped up by the windows, with the same verdict for every float: most
// rates are taken or turned away by the pass interval and one more comparison. The
// chunk's fill and the last error live in locals: the records written through the
// chunk could alias them, which would cost a memory round trip per record.
template <typename Arithmetic>
bool ScanPair(const PairTerms<Arithmetic>& pair, FieldRange prescalers, int32_t step, const SearchTerms& terms,
              LastError& last, ChunkBuffer& chunk) {
  const RateWindow& window = terms.window;
  TimingCandidate* out = chunk.records + chunk.count;
  TimingCandidate* const full = chunk.records + kTimingChunk;
  const uint64_t codes = Pair64(static_cast<uint32_t>(pair.bs1Code), static_cast<uint32_t>(pair.bs2Code));
  const uint64_t samplePointHigh = Pair64(0, BitsOf(pair.samplePoint));
  uint32_t lastBits = last.rateBits;
  uint64_t errorAndRate = last.errorAndRate;
  bool going = true;
  // A local copy stays in registers: the records written below could alias the pair.
  const typename Arithmetic::PerBit clockPerBit = pair.clockPerBit;
  typename Arithmetic::Divisor divisor = Arithmetic::FirstDivisor(prescalers.first);
  const typename Arithmetic::Divisor stepDivisor = Arithmetic::FirstDivisor(step);
  for (int32_t prescaler = prescalers.first; prescaler <= prescalers.last;
       prescaler += step, Arithmetic::StepDivisor(divisor, stepDivisor)) {
    const float actualRate = Arithmetic::Rate(clockPerBit, divisor);
    if (!(actualRate >= window.passLow && actualRate <= window.passHigh)) {
      if (actualRate < window.floatLow || actualRate > window.floatHigh) continue;
      if (!Arithmetic::RatePasses(actualRate, terms.target, terms.allowed)) continue;
    }
    if (!pair.samplePointPasses) continue;
    if (terms.exact && !RateWithinTolerance(terms.clockKHz, int64_t{pair.quanta} * prescaler, terms.targetRate,
                                            terms.toleranceHundredths))
      continue;
    const uint32_t rateBits = BitsOf(actualRate);
    if (rateBits != lastBits) {
      lastBits = rateBits;
      errorAndRate = Pair64(BitsOf(ErrorPercent(actualRate, terms.target)), rateBits);
    }
    StoreRecord(out++, codes, samplePointHigh | static_cast<uint32_t>(prescaler), errorAndRate);
    if (out != full) continue;
    chunk.count = kTimingChunk;
    out = chunk.records;
    going = Flush(chunk);
    if (!going) break;
  }
  chunk.count = static_cast<int32_t>(out - chunk.records);
  last = LastError{lastBits, errorAndRate};
  return going;
}

// The prescalers of range that lie on the grid first, first + step, ... of the
// controller's whole range: range's ends rounded inward onto it.
FieldRange OnStepGrid(FieldRange range, const TimingRanges& ranges) {
  const int32_t step = ranges.prescalerStep;
  if (step == 1 || range.first > range.last) return range;
  const int32_t origin = ranges.prescaler.first;
  const int32_t first = origin + (range.first - origin + step - 1) / step * step;
  const int32_t last = origin + (range.last - origin) / step * step;
  return FieldRange{first, last};
}

// What a search forms once per number of quanta: the pair's quotient and, on its step
// grid, the prescalers whose rate can pass.
template <typename Arithmetic>
struct QuantaTerms {
  typename Arithmetic::PerBit clockPerBit;
  FieldRange prescalers;
};
// The counts a search tables, on the heap (the record chunk already fills much of a
// WebAssembly stack); a wider range (a custom controller's) forms the rest per pair.
constexpr int32_t kMaxTabledQuanta = 4096;

template <typename Arithmetic>
bool Search(const TimingRanges& ranges, const TimingRequest& request, PrescalerScan scan, const TimingSink& sink) {
  ChunkBuffer chunk;
  chunk.count = 0;
  chunk.sink = &sink;
  SearchTerms terms;
  terms.target = static_cast<double>(request.targetRate);
  // A whole percent p is the window's target x p / 100, computed as the window always
  // has, so its table keeps every bit; hundredths are target x h / 10000.
  const int64_t hundredths = request.toleranceHundredths;
  terms.allowed = hundredths % 100 == 0 ? terms.target * static_cast<double>(hundredths / 100) / 100.0
                                        : terms.target * static_cast<double>(hundredths) / 10000.0;
  terms.exact = request.toleranceTest == ToleranceTest::kExact && std::isfinite(request.targetRate) &&
                request.targetRate > 0.0f;
  if (terms.exact) terms.allowed += (terms.target + terms.allowed) * kExactSieveWidening;
  terms.clockKHz = request.clockKHz;
  terms.targetRate = request.targetRate;
  // The exact test is asked only by the companion's and the page's tolerances (0 to
  // 10000); beyond int32_t it takes the nearest end, still far past every rate.
  terms.toleranceHundredths = static_cast<int32_t>(
      hundredths > INT32_MAX ? INT32_MAX : hundredths < INT32_MIN ? INT32_MIN : hundredths);
  terms.window = MakeRateWindow(terms.target, terms.allowed, Arithmetic::RatePasses);
  LastError last{BitsOf(0.0f), Pair64(BitsOf(ErrorPercent(0.0f, terms.target)), BitsOf(0.0f))};
  const int32_t firstSeg2 = request.minSeg2 > ranges.seg2.first ? request.minSeg2 : ranges.seg2.first;

  // The quotient and the prescalers a pair may try depend on its quanta alone, which
  // many pairs share (a controller with seg1 to 256 and seg2 to 256 has 65 536 pairs and
  // 511 quanta counts): each is formed once per count, the same value as per pair.
  const int64_t firstQuanta = int64_t{ranges.seg1.first} + firstSeg2 + 1;
  const int64_t quantaCount = int64_t{ranges.seg1.last} + ranges.seg2.last + 1 - firstQuanta + 1;
  std::vector<QuantaTerms<Arithmetic>> table(quantaCount > 0 && quantaCount <= kMaxTabledQuanta
                                                 ? static_cast<std::size_t>(quantaCount)
                                                 : 0);
  const int32_t tableCount = static_cast<int32_t>(table.size());
  for (int32_t i = 0; i < tableCount; ++i) {
    QuantaTerms<Arithmetic>& row = table[static_cast<std::size_t>(i)];
    row.clockPerBit = Arithmetic::ClockPerBit(request.clockKHz, static_cast<int32_t>(firstQuanta) + i);
    row.prescalers = OnStepGrid(
        scan == PrescalerScan::kRateWindow
            ? PassablePrescalers(Arithmetic::PerBitToDouble(row.clockPerBit), terms.window, ranges.prescaler)
            : ranges.prescaler,
        ranges);
  }

  for (int32_t seg2 = firstSeg2; seg2 <= ranges.seg2.last; ++seg2) {
    for (int32_t seg1 = ranges.seg1.first; seg1 <= ranges.seg1.last; ++seg1) {
      const double quanta = static_cast<double>(seg1) + static_cast<double>(seg2) + 1.0;
      PairTerms<Arithmetic> pair;
      pair.bs1Code = seg1 - 1;
      pair.bs2Code = seg2 - 1;
      pair.quanta = seg1 + seg2 + 1;
      FieldRange prescalers;
      const int64_t row = pair.quanta - firstQuanta;
      if (row >= 0 && row < tableCount) {
        pair.clockPerBit = table[static_cast<std::size_t>(row)].clockPerBit;
        prescalers = table[static_cast<std::size_t>(row)].prescalers;
      } else {
        // The same quotient for every prescaler of the pair, so it is formed once.
        pair.clockPerBit = Arithmetic::ClockPerBit(request.clockKHz, pair.quanta);
        prescalers = OnStepGrid(
            scan == PrescalerScan::kRateWindow
                ? PassablePrescalers(Arithmetic::PerBitToDouble(pair.clockPerBit), terms.window, ranges.prescaler)
                : ranges.prescaler,
            ranges);
      }
      if (prescalers.first > prescalers.last) continue;
      // The controller's filter after the cheaper test: most pairs have no prescaler to try.
      if (ranges.filter.fits != nullptr && !ranges.filter.fits(ranges.filter.context, seg1, seg2)) continue;
      pair.samplePoint = static_cast<float>(static_cast<double>(seg1 + 1) / quanta);
      pair.samplePointPasses = pair.samplePoint >= request.minSamplePoint;
      if (!ScanPair(pair, prescalers, ranges.prescalerStep, terms, last, chunk)) return false;
    }
  }
  return Flush(chunk);
}

}  // namespace

bool ListSettings(const TimingRanges& ranges, const TimingRequest& request, PrescalerScan scan,
                  const TimingSink& sink) {
  return Search<BuildArithmetic>(ranges, request, scan, sink);
}

bool ListSettingsPortable(const TimingRanges& ranges, const TimingRequest& request, PrescalerScan scan,
                          const TimingSink& sink) {
  return Search<PortableArithmetic>(ranges, request, scan, sink);
}

#if QUILLMERE_HAS_X87
bool ListSettingsX87(const TimingRanges& ranges, const TimingRequest& request, PrescalerScan scan,
                     const TimingSink& sink) {
  return Search<X87Arithmetic>(ranges, request, scan, sink);
}
#endif

namespace {

int BitLength128(unsigned __int128 x) {
  int bits = 0;
  while (x != 0) {
    ++bits;
    x >>= 1;
  }
  return bits;
}

unsigned __int128 Magnitude(__int128 x) { return x < 0 ? 0 - static_cast<unsigned __int128>(x) : x; }

int Sign(__int128 x) { return (x > 0) - (x < 0); }

// The sign of x * 2^e - y, for |x| < 2^120 and |y| < 2^46: where a shift would pass
// 2^125, the shifted side alone decides.
int CompareScaled(__int128 x, int e, __int128 y) {
  if (e >= 0) {
    if (x == 0) return -Sign(y);
    if (BitLength128(Magnitude(x)) + e > 125) return Sign(x);
    return Sign(x * (static_cast<__int128>(1) << e) - y);
  }
  if (y == 0) return Sign(x);
  if (BitLength128(Magnitude(y)) - e > 125) return -Sign(y);
  return Sign(x - y * (static_cast<__int128>(1) << -e));
}

}  // namespace

// The target is m x 2^e exactly (m below 2^24); with k = 10000 -+ toleranceHundredths
// (below 2^32 in magnitude) and perBit below 2^62, k x m x perBit stays below 2^118 and
// 10000 x clockKHz below 2^45: both sides of each comparison are whole numbers.
bool RateWithinTolerance(int32_t clockKHz, int64_t perBit, float target, int32_t toleranceHundredths) {
  uint32_t bits;
  std::memcpy(&bits, &target, sizeof bits);
  const int biased = static_cast<int>(bits >> 23) & 0xFF;
  const int64_t m = biased == 0 ? (bits & 0x7FFFFF) : (bits & 0x7FFFFF) | 0x800000;
  const int e = (biased == 0 ? 1 : biased) - 150;
  const __int128 rate = static_cast<__int128>(clockKHz) * 10000;
  const __int128 least = static_cast<__int128>(10000 - int64_t{toleranceHundredths}) * m * perBit;
  const __int128 most = static_cast<__int128>(10000 + int64_t{toleranceHundredths}) * m * perBit;
  return CompareScaled(least, e, rate) <= 0 && CompareScaled(most, e, rate) >= 0;
}

const char* SearchArithmeticName() { return BuildArithmetic::kName; }

float ErrorPercent(float actualRate, double target) {
  const double ratio = static_cast<double>(actualRate) / target;
  const double deviation = std::fabs(1.0 - ratio);
  // The last fabs changes nothing but the sign of a not-a-number (0 / 0), which
  // WebAssembly leaves open: the record's bits are then the same on every engine.
  return std::fabs(static_cast<float>(deviation * 100.0));
}

int32_t DefaultSyncJumpWidth(const TimingCandidate& record, const TimingRanges& ranges) {
  const int32_t seg1 = record.bs1Code + 1;
  const int32_t seg2 = record.bs2Code + 1;
  const int32_t shorter = seg1 < seg2 ? seg1 : seg2;
  return shorter < ranges.sjw.last ? shorter : ranges.sjw.last;
}
