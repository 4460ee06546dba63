// Allwinner's bit-timing register: the A10/A20/R40/D1 CAN's BTIME.
// "Not checked against the manual": the layout is the Linux driver's, the vendor's own
// section was not read.
#pragma once

#include "calc/register_layout.h"

// ---- Allwinner sun4i CAN: BTIME ----
// Linux sun4i_can.c sun4ican_set_bittiming: "cfg = ((bt->brp - 1) & 0x3FF) | (((bt->sjw -
// 1) & 0x3) << 14) | (((bt->prop_seg + bt->phase_seg1 - 1) & 0xf) << 16) |
// (((bt->phase_seg2 - 1) & 0x7) << 20)", 0x800000 for three samples, written to
// SUN4I_REG_BTIME_ADDR. A20 user manual "CAN_BUS_TIME": not checked against the manual.
inline constexpr RegisterField kSun4iBtimeFields[] = {
    {"BRP", 0, 10, FieldRole::kPrescaler, Stored::kLessOne},
    {"SJW", 14, 2, FieldRole::kSjw, Stored::kLessOne},
    {"TSEG1", 16, 4, FieldRole::kSeg1, Stored::kLessOne},
    {"TSEG2", 20, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"SAM", 23, 1, FieldRole::kFlag, Stored::kValue},  // three samples
};
inline constexpr Register kSun4iBtime = MakeRegister("BTIME", 32, kSun4iBtimeFields);
