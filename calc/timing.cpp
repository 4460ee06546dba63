// Placeholder until the search lands.
#include "calc/timing.h"

#include <cstddef>

int32_t CandidateCount(const CandidateList& store) { return static_cast<int32_t>(store.records.size()); }
const TimingCandidate& CandidateAt(const CandidateList& store, int32_t position) {
  return store.records[static_cast<std::size_t>(position - 1)];
}
void BitTimingSearch(CandidateList& store, int32_t, float, int32_t, float) { store.records.clear(); }
