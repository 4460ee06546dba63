// The bxCAN bit-timing search: the shared search over bxCAN's ranges, into the store.
#include "calc/timing.h"

#include "calc/bit_timing_search.h"

#include <cstddef>
#include <limits>

namespace {

constexpr std::size_t kSettingCount = std::size_t{1024} * 16 * 8;

bool TakeIntoStore(void* context, const TimingCandidate* records, int32_t count) {
  std::vector<TimingCandidate>& out = static_cast<CandidateList*>(context)->records;
  out.insert(out.end(), records, records + count);
  return true;
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
  // Every one of the 131 072 settings is tried: the list is whatever the tests
  // accept, in enumeration order.
  // The window's whole percent in the search's hundredths.
  const TimingRequest request{clockKHz, targetRate, int64_t{tolerancePercent} * 100, minSamplePoint, 1, ToleranceTest::kWindowFloat};
  ListSettings(kBxCanRanges, request, PrescalerScan::kEvery, AppendToStore(store));
}

TimingSink AppendToStore(CandidateList& store) { return TimingSink{TakeIntoStore, &store}; }

TimingCandidate ComputedSetting(int32_t clockKHz, int32_t seg1, int32_t seg2, int32_t prescaler, float targetRate) {
  // An infinite target lets the setting through the rate test (the difference is not
  // a number) and a minimum of 0 any sample point.
  const TimingRanges one{{prescaler, prescaler}, {seg1, seg1}, {seg2, seg2}, {1, 1}, 1, PairFilter{}};
  const TimingRequest request{clockKHz, std::numeric_limits<float>::infinity(), 0, 0.0f, 1, ToleranceTest::kWindowFloat};
  CandidateList found;
  ListSettings(one, request, PrescalerScan::kEvery, AppendToStore(found));
  TimingCandidate setting = found.records.front();
  // The error against the rate asked for, by the search's own step.
  setting.errorPercent = ErrorPercent(setting.actualRate, static_cast<double>(targetRate));
  return setting;
}
