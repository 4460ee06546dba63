// The bxCAN bit-timing search and its result store.
//
// The search needs GCC's x87 80-bit long double (64-bit significand) for two of its
// intermediates; the build refuses any other compiler (cmake/ExtendedPrecision.cmake).
// Call it under the floating-point environment of fp_environment.h.
#pragma once

#include <cstdint>
#include <vector>

// One accepted setting. BS1 lasts bs1Code + 1 quanta, BS2 bs2Code + 1 quanta. The
// FDCAN searches (fdcan_timing.h) give the same record: seg1 - 1 and seg2 - 1 there.
struct TimingCandidate {
  int32_t bs1Code;      // 0 to 15 (FDCAN: 0 to 255)
  int32_t bs2Code;      // 0 to 7 (FDCAN: 0 to 127)
  int32_t prescaler;    // 1 to 1024 (FDCAN: 1 to 512), the divisor itself
  float samplePoint;    // fraction of the bit, above 0 and below 1
  float errorPercent;   // |1 - actualRate / targetRate| * 100, never negative
  float actualRate;     // Kbps
};

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
// SearchBitTimings (bit_timing_search.h) over kBxCanRanges, every prescaler scanned.
void BitTimingSearch(CandidateList& store, int32_t clockKHz, float targetRate,
                     int32_t tolerancePercent, float minSamplePoint);
