// The bxCAN bit-timing register CAN_BTR (its fields: kCanBtr in can_registers.h): the
// value of a setting, the setting of a value, and its mode bits.
#pragma once

#include "calc/can_registers.h"

#include <cstdint>

// Loop-back and silent mode.
constexpr uint32_t kLoopBackBit = FlagMask(kCanBtr, "LBKM");
constexpr uint32_t kSilentBit = FlagMask(kCanBtr, "SILM");
// The bits that hold no field.
constexpr uint32_t kCanBtrReservedBits = ReservedBits(kCanBtr);

// The CAN_BTR value of a setting within kBxCanRanges, the mode bits 0.
uint32_t BxCanBitTimingRegister(const BitTimingLengths& lengths);
// The lengths, the mode bits (kLoopBackBit, kSilentBit) and reserved bits of a value.
DecodedLengths DecodeBxCanBitTiming(uint32_t value);
