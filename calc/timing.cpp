// The bxCAN bit-timing search: the shared search over bxCAN's ranges, into the store.
#include "calc/timing.h"

#include "calc/bit_timing_search.h"

#include <cstddef>

namespace {

constexpr std::size_t kSettingCount = std::size_t{1024} * 16 * 8;

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
  const TimingRequest request{clockKHz, targetRate, tolerancePercent, minSamplePoint, 1};
  SearchBitTimings(kBxCanRanges, request, PrescalerScan::kEvery, AppendToStore(store));
}
