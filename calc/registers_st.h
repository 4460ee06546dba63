// ST's own bit-timing register: bxCAN's CAN_BTR. (The FDCAN peripheral is Bosch's M_CAN
// core: its NBTP, DBTP and TDCR are in registers_bosch.h.)
#pragma once

#include "calc/register_layout.h"

// bxCAN's CAN_BTR (STM32 reference manuals, "CAN bit timing register").
inline constexpr RegisterField kCanBtrFields[] = {
    {"BRP", 0, 10, FieldRole::kPrescaler, Stored::kLessOne},
    {"TS1", 16, 4, FieldRole::kSeg1, Stored::kLessOne},
    {"TS2", 20, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"SJW", 24, 2, FieldRole::kSjw, Stored::kLessOne},
    {"LBKM", 30, 1, FieldRole::kFlag, Stored::kValue},  // loop-back mode
    {"SILM", 31, 1, FieldRole::kFlag, Stored::kValue},  // silent mode
};
inline constexpr Register kCanBtr = MakeRegister("CAN_BTR", 32, kCanBtrFields);
