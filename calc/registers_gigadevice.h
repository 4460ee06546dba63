// GigaDevice's bit-timing register: the GD32 CAN's CAN_BT, bxCAN's layout under
// GigaDevice's names.
#pragma once

#include "calc/register_layout.h"

// GD32F30x firmware library V2.1.0, gd32f30x_can.h "CAN_BT": BAUDPSC BITS(0,9), BS1
// BITS(16,19), BS2 BITS(20,22), SJW BITS(24,25), LCMOD BIT(30), SCMOD BIT(31); each
// length one less (CAN_BT_BS1_1TQ is 0x00).
inline constexpr RegisterField kGd32CanBtFields[] = {
    {"BAUDPSC", 0, 10, FieldRole::kPrescaler, Stored::kLessOne},
    {"BS1", 16, 4, FieldRole::kSeg1, Stored::kLessOne},
    {"BS2", 20, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"SJW", 24, 2, FieldRole::kSjw, Stored::kLessOne},
    {"LCMOD", 30, 1, FieldRole::kFlag, Stored::kValue},  // loop-back communication mode
    {"SCMOD", 31, 1, FieldRole::kFlag, Stored::kValue},  // silent communication mode
};
inline constexpr Register kGd32CanBt = MakeRegister("CAN_BT", 32, kGd32CanBtFields);
