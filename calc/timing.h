// The bxCAN bit-timing search and its result store.
//
// Two of the search's intermediates carry a 64-bit significand: GCC's x87 long double
// on x86, or the same roundings in integers elsewhere (search_arithmetic.h; the build
// picks one in cmake/ExtendedPrecision.cmake and never falls back silently). Call it under the floating-point environment of fp_environment.h.
#pragma once

#include "calc/bit_timing_search.h"
#include "calc/timing_setting.h"

#include <cstdint>
#include <vector>

// The result store: owns its records, in search order; positions run 1..count.
struct CandidateList {
  std::vector<TimingCandidate> records;
};

int32_t CandidateCount(const CandidateList& store);
// The record at a position from 1 to CandidateCount(store).
const TimingCandidate& CandidateAt(const CandidateList& store, int32_t position);

// Empties the store, then tries all 8 x 16 x 1024 settings, BS2 outermost, then BS1,
// then the prescaler, each ascending, and appends every setting whose rate is within
// tolerancePercent of targetRate (plus 1e-7 Kbps; a not-a-number difference passes)
// and whose sample point is at least minSamplePoint. Cannot fail. The first call
// reserves room for every setting; no call allocates per record. The same search as
// ListSettings (bit_timing_search.h) over kBxCanRanges, every prescaler scanned.
void BitTimingSearch(CandidateList& store, int32_t clockKHz, float targetRate,
                     int32_t tolerancePercent, float minSamplePoint);

// A sink that appends to store (which it does not empty).
TimingSink AppendToStore(CandidateList& store);

// The record the search makes for one setting (seg1, seg2 in quanta, the prescaler)
// at clockKHz, with its error against targetRate: the search run over that one
// setting, so every digit is the listing's.
TimingCandidate ComputedSetting(int32_t clockKHz, int32_t seg1, int32_t seg2, int32_t prescaler, float targetRate);
