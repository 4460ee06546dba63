// WCH's bit-timing register: the CH32 CAN's CAN_BTIMR, bxCAN's layout under WCH's name.
#pragma once

#include "calc/register_layout.h"

// WCH's CH32 device headers, "Bit definition for CAN_BTIMR register": BRP 0x000003FF, TS1
// 0x000F0000, TS2 0x00700000, SJW 0x03000000, LBKM 0x40000000, SILM 0x80000000.
inline constexpr RegisterField kCh32CanBtimrFields[] = {
    {"BRP", 0, 10, FieldRole::kPrescaler, Stored::kLessOne},
    {"TS1", 16, 4, FieldRole::kSeg1, Stored::kLessOne},
    {"TS2", 20, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"SJW", 24, 2, FieldRole::kSjw, Stored::kLessOne},
    {"LBKM", 30, 1, FieldRole::kFlag, Stored::kValue},  // loop back mode
    {"SILM", 31, 1, FieldRole::kFlag, Stored::kValue},  // silent mode
};
inline constexpr Register kCh32CanBtimr = MakeRegister("CAN_BTIMR", 32, kCh32CanBtimrFields);
