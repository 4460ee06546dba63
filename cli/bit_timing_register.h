// The bxCAN bit-timing register CAN_BTR: the value of a setting, and the setting of a
// value.
#pragma once

#include <cstdint>
#include <string>

#include "calc/timing.h"

// Bit 30 (LBKM) and bit 31 (SILM): loop-back and silent mode.
constexpr uint32_t kLoopBackBit = 1u << 30;
constexpr uint32_t kSilentBit = 1u << 31;
// Bits 10 to 15, 23 and 26 to 29 hold no field.
constexpr uint32_t kReservedBits = 0x3C80FC00u;

// (SJW - 1) << 24 | (BS2 - 1) << 20 | (BS1 - 1) << 16 | (prescaler - 1), each in its
// field; sjw is 1 to 4 quanta. The mode bits stay 0.
uint32_t BitTimingRegister(const TimingCandidate& record, int32_t sjw = 1);

// "0x" and eight hex digits, upper case: "0x001A0005".
std::string RegisterText(uint32_t value);
// The mode bits by name: "normal", "loop-back", "silent" or "loop-back+silent".
const char* ModeName(uint32_t modeBits);

// The numbers of the set bits, ascending, as "10, 11, 23"; empty when none.
std::string BitList(uint32_t bits);

// What a value without reserved bits sets.
struct DecodedRegister {
  TimingCandidate setting;  // the codes and prescaler, and the rate and sample point at
                            // the clock; errorPercent against the rate when one is given
  int32_t sjw;              // 1 to 4 quanta
  uint32_t modeBits;        // kLoopBackBit and kSilentBit as set
};

// Reads the fields of value at clockKHz. The rate and the sample point are those the
// search computes for that setting, the error is the search's error against
// targetRate (pass any rate when there is none, and ignore the error).
DecodedRegister DecodeRegister(uint32_t value, int32_t clockKHz, float targetRate);
