// Geehy's bit-timing register: the APM32 CAN's CAN_BITTIM.
#pragma once

#include "calc/register_layout.h"

// Geehy's APM32 device headers, "CAN Bit Time register" BITTIM_B: BRPSC : 10, TIMSEG1 : 4 (bit 16),
// TIMSEG2 : 3 (bit 20), RSYNJW : 2 (bit 24), LBKMEN (bit 30), SILMEN (bit 31); each
// length one less (CAN_TIME_SEGMENT1_1 is 0x00).
inline constexpr RegisterField kApm32CanBittimFields[] = {
    {"BRPSC", 0, 10, FieldRole::kPrescaler, Stored::kLessOne},
    {"TIMSEG1", 16, 4, FieldRole::kSeg1, Stored::kLessOne},
    {"TIMSEG2", 20, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"RSYNJW", 24, 2, FieldRole::kSjw, Stored::kLessOne},
    {"LBKMEN", 30, 1, FieldRole::kFlag, Stored::kValue},  // loop-back mode
    {"SILMEN", 31, 1, FieldRole::kFlag, Stored::kValue},  // silent mode
};
inline constexpr Register kApm32CanBittim = MakeRegister("CAN_BITTIM", 32, kApm32CanBittimFields);
