// Xilinx's bit-timing registers: AXI CAN / Zynq CANPS BRPR and BTR, AXI CAN FD 2.0's
// BTR, F_BRPR and F_BTR.
// Each group says where its layout is written down. "Not checked against the manual":
// the layout is the Linux driver's (or a quotation of the vendor's), the vendor's own
// section was not read.
#pragma once

#include "calc/register_layout.h"

// ---- Xilinx AXI CAN / Zynq CANPS: BRPR, BTR ----
// Linux xilinx_can.c XCAN_BTR_SJW_SHIFT 7, XCAN_BTR_TS2_SHIFT 4; the BRPR and BTR
// offsets (0x08, 0x0C) and widths are not checked against the manual (PG096).
inline constexpr RegisterField kXcanBrprFields[] = {
    {"BRP", 0, 8, FieldRole::kPrescaler, Stored::kLessOne},
};
inline constexpr Register kXcanBrpr = MakeRegister("BRPR", 32, kXcanBrprFields);
inline constexpr RegisterField kXcanBtrFields[] = {
    {"TS1", 0, 4, FieldRole::kSeg1, Stored::kLessOne},
    {"TS2", 4, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"SJW", 7, 2, FieldRole::kSjw, Stored::kLessOne},
};
inline constexpr Register kXcanBtr = MakeRegister("BTR", 32, kXcanBtrFields);

// ---- Xilinx AXI CAN FD 2.0 (Versal): BRPR, BTR, F_BRPR, F_BTR ----
// Linux xilinx_can.c XCAN_BTR_TS2_SHIFT_CANFD 8, XCAN_BTR_SJW_SHIFT_CANFD 16,
// XCAN_BRPR_TDC_ENABLE BIT(16), TDCO at bit 8; widths from the CANFD 2.0 limits. Not
// checked against the manual (PG223).
inline constexpr RegisterField kXcanfdBtrFields[] = {
    {"TS1", 0, 8, FieldRole::kSeg1, Stored::kLessOne},
    {"TS2", 8, 7, FieldRole::kSeg2, Stored::kLessOne},
    {"SJW", 16, 7, FieldRole::kSjw, Stored::kLessOne},
};
inline constexpr Register kXcanfdBtr = MakeRegister("BTR", 32, kXcanfdBtrFields);
inline constexpr RegisterField kXcanfdFbrprFields[] = {
    {"BRP", 0, 8, FieldRole::kPrescaler, Stored::kLessOne},
    {"TDCOFF", 8, 6, FieldRole::kTdcOffset, Stored::kValue},
    {"TDC_EN", 16, 1, FieldRole::kFlag, Stored::kValue},
};
inline constexpr Register kXcanfdFbrpr = MakeRegister("F_BRPR", 32, kXcanfdFbrprFields);
inline constexpr RegisterField kXcanfdFbtrFields[] = {
    {"TS1", 0, 5, FieldRole::kSeg1, Stored::kLessOne},
    {"TS2", 8, 4, FieldRole::kSeg2, Stored::kLessOne},
    {"SJW", 16, 4, FieldRole::kSjw, Stored::kLessOne},
};
inline constexpr Register kXcanfdFbtr = MakeRegister("F_BTR", 32, kXcanfdFbtrFields);
