// The bxCAN bit-timing register CAN_BTR, as layout data like NBTP and DBTP: the value
// of a setting, and the setting of a value.
#pragma once

#include "calc/register_layout.h"

#include <cstdint>

// CAN_BTR: SILM 31, LBKM 30, bits 29:26 reserved, SJW 25:24, bit 23 reserved, TS2
// 22:20, TS1 19:16, bits 15:10 reserved, BRP 9:0.
constexpr RegisterLayout kCanBtrLayout{{0, 10}, {16, 4}, {20, 3}, {24, 2}, (uint32_t{1} << 30) | (uint32_t{1} << 31)};

// Bit 30 (LBKM) and bit 31 (SILM): loop-back and silent mode.
constexpr uint32_t kLoopBackBit = uint32_t{1} << 30;
constexpr uint32_t kSilentBit = uint32_t{1} << 31;
// Bits 10 to 15, 23 and 26 to 29 hold no field.
constexpr uint32_t kCanBtrReservedBits = ReservedBits(kCanBtrLayout);

// The CAN_BTR value of a setting (prescaler 1 to 1024, BS1 1 to 16, BS2 1 to 8, SJW
// 1 to 4 quanta), the mode bits 0.
uint32_t BxCanBitTimingRegister(const BitTimingLengths& lengths);
// The lengths, the mode bits (kLoopBackBit, kSilentBit) and reserved bits of a value.
DecodedLengths DecodeBxCanBitTiming(uint32_t value);
