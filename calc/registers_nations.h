// Nations' bit-timing register: the N32 CAN's CAN_BTIM.
#pragma once

#include "calc/register_layout.h"

// Nations N32G45x register description (CAN_BTIM at 0x4000641C): BRTP bits 0-9, TBS1
// 16-19, TBS2 20-22, RSJW 24-25, LBM 30, SLM 31; n32g45x_can.h's constants store each
// length one less (CAN_TBS1_1tq is 0x00).
inline constexpr RegisterField kN32CanBtimFields[] = {
    {"BRTP", 0, 10, FieldRole::kPrescaler, Stored::kLessOne},
    {"TBS1", 16, 4, FieldRole::kSeg1, Stored::kLessOne},
    {"TBS2", 20, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"RSJW", 24, 2, FieldRole::kSjw, Stored::kLessOne},
    {"LBM", 30, 1, FieldRole::kFlag, Stored::kValue},  // loop back mode
    {"SLM", 31, 1, FieldRole::kFlag, Stored::kValue},  // silent mode
};
inline constexpr Register kN32CanBtim = MakeRegister("CAN_BTIM", 32, kN32CanBtimFields);
