// The bxCAN bit-timing search.
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
#include "calc/timing.h"

#include <cmath>
#include <cstddef>
#include <limits>

static_assert(std::numeric_limits<long double>::digits == 64,
              "the search needs the x87 80-bit long double (64-bit significand)");

namespace {

constexpr int32_t kBs2Lengths = 8;
constexpr int32_t kBs1Lengths = 16;
constexpr int32_t kPrescalers = 1024;
constexpr std::size_t kSettingCount = std::size_t{kBs2Lengths} * kBs1Lengths * kPrescalers;

// The rate test's absolute slack in Kbps: the double nearest 1e-7, compared with the
// long double d - allowed.
constexpr long double kRateSlack = 1e-7;

// What every setting of one BS1/BS2 pair shares, and what the rate test needs.
struct PairTerms {
  int32_t bs1Code;
  int32_t bs2Code;
  long double clockPerBit;  // clockKHz / quanta per bit, rounded to 64 bits only
  float samplePoint;
  double target;            // targetRate widened
  double allowed;           // targetRate * tolerancePercent / 100
};

// Rate test, error, sample-point test and append for one prescaler. The rate test is
// !(excess > slack), not excess <= slack: a not-a-number excess (an infinite target)
// passes.
inline void TrySetting(const PairTerms& pair, int32_t prescaler, long double prescalerLong, float minSamplePoint,
                       std::vector<TimingCandidate>& out) {
  const long double rateLong = pair.clockPerBit / prescalerLong;
  const float actualRate = static_cast<float>(static_cast<double>(rateLong));
  const double difference = std::fabs(static_cast<double>(actualRate) - pair.target);
  const long double excess = static_cast<long double>(difference) - static_cast<long double>(pair.allowed);
  if (excess > kRateSlack) return;
  const double ratio = static_cast<double>(actualRate) / pair.target;
  const double deviation = std::fabs(1.0 - ratio);
  const float errorPercent = static_cast<float>(deviation * 100.0);
  if (!(pair.samplePoint >= minSamplePoint)) return;
  out.push_back(TimingCandidate{pair.bs1Code, pair.bs2Code, prescaler, pair.samplePoint, errorPercent, actualRate});
}

}  // namespace

int32_t CandidateCount(const CandidateList& store) { return static_cast<int32_t>(store.records.size()); }

const TimingCandidate& CandidateAt(const CandidateList& store, int32_t position) {
  return store.records[static_cast<std::size_t>(position - 1)];
}

void BitTimingSearch(CandidateList& store, int32_t clockKHz, float targetRate, int32_t tolerancePercent,
                     float minSamplePoint) {
  std::vector<TimingCandidate>& out = store.records;
  out.clear();
  // One allocation for the largest possible result; later searches reuse it.
  if (out.capacity() < kSettingCount) out.reserve(kSettingCount);

  const double target = static_cast<double>(targetRate);
  const double allowed = target * static_cast<double>(tolerancePercent) / 100.0;

  // Every one of the 131 072 settings is tried, with no pruning: the list is whatever
  // the tests accept, in enumeration order.
  for (int32_t bs2Code = 0; bs2Code < kBs2Lengths; ++bs2Code) {
    for (int32_t bs1Code = 0; bs1Code < kBs1Lengths; ++bs1Code) {
      const double quanta = static_cast<double>(bs1Code + bs2Code) + 3.0;  // 1 + BS1 + BS2
      PairTerms pair;
      pair.bs1Code = bs1Code;
      pair.bs2Code = bs2Code;
      // The same quotient for every prescaler of the pair, so it is formed once.
      pair.clockPerBit = static_cast<long double>(clockKHz) / static_cast<long double>(quanta);
      pair.samplePoint = static_cast<float>(static_cast<double>(bs1Code + 2) / quanta);
      pair.target = target;
      pair.allowed = allowed;
      // The prescaler also counts in long double, sparing a conversion per setting.
      long double prescalerLong = 1.0L;
      for (int32_t prescaler = 1; prescaler <= kPrescalers; ++prescaler, prescalerLong += 1.0L)
        TrySetting(pair, prescaler, prescalerLong, minSamplePoint, out);
    }
  }
}
