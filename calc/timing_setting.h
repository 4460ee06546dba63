// What every bit-timing search deals in: one accepted setting, and the bounds of a
// setting's fields.
#pragma once

#include <cstdint>

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

// Inclusive bounds of one field: quanta for seg1, seg2 and SJW, the divisor itself for
// the prescaler. Every first is at least 1.
struct FieldRange {
  int32_t first;
  int32_t last;
};
