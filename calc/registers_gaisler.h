// Frontgrade Gaisler's bit-timing register: GRLIB GRCAN's CONF, whose timing fields sit
// beside the core's operating bits.
// "Not checked against the manual": the layout is the Linux driver's, the vendor's own
// section was not read.
#pragma once

#include "calc/register_layout.h"

// ---- Gaisler GRCAN: CONF ----
// Linux grcan.c: GRCAN_CONF_ABORT 0x1, _ENABLE0 0x2, _ENABLE1 0x4, _SELECT 0x8, _SILENT
// 0x10, _SAM 0x20, _BPR 0x300, _RSJ 0x7000, _PS2 0xf0000, _PS1 0xf00000, _SCALER
// 0xff000000; grcan_set_bittiming writes bpr 0, rsj = sjw, ps1 = prop_seg + phase_seg1 - 1,
// ps2 = phase_seg2 and scaler = brp - 1, masked with GRCAN_CONF_TIMING so the operating
// bits stay. GRLIB IP core manual "GRCAN": not checked against the manual.
inline constexpr RegisterField kGrcanConfFields[] = {
    {"ABORT", 0, 1, FieldRole::kFlag, Stored::kValue},
    {"ENABLE0", 1, 1, FieldRole::kFlag, Stored::kValue},
    {"ENABLE1", 2, 1, FieldRole::kFlag, Stored::kValue},
    {"SELECT", 3, 1, FieldRole::kFlag, Stored::kValue},
    {"SILENT", 4, 1, FieldRole::kFlag, Stored::kValue},
    {"SAM", 5, 1, FieldRole::kFlag, Stored::kValue},
    {"BPR", 8, 2, FieldRole::kFixed, Stored::kValue, 0, 0},  // the driver's 0: the scaler alone divides
    {"RSJ", 12, 3, FieldRole::kSjw, Stored::kValue},
    {"PS2", 16, 4, FieldRole::kSeg2, Stored::kValue},
    {"PS1", 20, 4, FieldRole::kSeg1, Stored::kLessOne},
    {"SCALER", 24, 8, FieldRole::kPrescaler, Stored::kLessOne},
};
inline constexpr Register kGrcanConf = MakeRegister("CONF", 32, kGrcanConfFields);
