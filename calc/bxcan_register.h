// The bxCAN bit-timing register CAN_BTR (its fields: kCanBtr in registers_st.h): the
// setting of a value and its mode bits. A setting's value is EncodeLengths(lengths, kCanBtr).
#pragma once

#include "calc/registers_st.h"

#include <cstdint>

// Loop-back and silent mode.
constexpr uint32_t kLoopBackBit = FlagMask(kCanBtr, "LBKM");
constexpr uint32_t kSilentBit = FlagMask(kCanBtr, "SILM");
// The lengths, the mode bits (kLoopBackBit, kSilentBit) and reserved bits of a value.
DecodedLengths DecodeBxCanBitTiming(uint32_t value);
