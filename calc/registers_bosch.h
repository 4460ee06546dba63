// The bit-timing registers of Bosch's CAN cores, which many vendors' chips carry under
// Bosch's names: M_CAN 3.1+ (ST's FDCAN too) NBTP, DBTP and TDCR, M_CAN 3.0's BTP and
// FBTP, C_CAN/D_CAN's BTR and BRPR.
// Each group says where its layout is written down. "Not checked against the manual":
// the layout is the Linux driver's (or a quotation of the vendor's), the vendor's own
// section was not read.
#pragma once

#include "calc/register_layout.h"

// ---- Bosch M_CAN 3.1+ (ST's FDCAN, Microchip SAM, TI TCAN4x5x...): NBTP, DBTP, TDCR ----
// The nominal bit timing and prescaler register NBTP.
inline constexpr RegisterField kNbtpFields[] = {
    {"NTSEG2", 0, 7, FieldRole::kSeg2, Stored::kLessOne},
    {"NTSEG1", 8, 8, FieldRole::kSeg1, Stored::kLessOne},
    {"NBRP", 16, 9, FieldRole::kPrescaler, Stored::kLessOne},
    {"NSJW", 25, 7, FieldRole::kSjw, Stored::kLessOne},
};
inline constexpr Register kNbtp = MakeRegister("NBTP", 32, kNbtpFields);

// The data bit timing and prescaler register DBTP.
inline constexpr RegisterField kDbtpFields[] = {
    {"DSJW", 0, 4, FieldRole::kSjw, Stored::kLessOne},
    {"DTSEG2", 4, 4, FieldRole::kSeg2, Stored::kLessOne},
    {"DTSEG1", 8, 5, FieldRole::kSeg1, Stored::kLessOne},
    {"DBRP", 16, 5, FieldRole::kPrescaler, Stored::kLessOne},
    {"TDC", 23, 1, FieldRole::kFlag, Stored::kValue},  // transmitter delay compensation
};
inline constexpr Register kDbtp = MakeRegister("DBTP", 32, kDbtpFields);

// The transmitter delay compensation register TDCR: the offset TDCO in bits 14:8 and the
// filter window TDCF in 6:0, which stays 0 (no filter) as ST's advice writes it.
inline constexpr RegisterField kTdcrFields[] = {
    {"TDCF", 0, 7, FieldRole::kFixed, Stored::kValue, 0, 0},
    {"TDCO", 8, 7, FieldRole::kTdcOffset, Stored::kValue},
};
inline constexpr Register kTdcr = MakeRegister("TDCR", 32, kTdcrFields);

// ---- Bosch M_CAN 3.0.x: BTP and FBTP ----
// The 2014 Linux m_can.c (for 3.0.1): BTR_BRP_MASK 0x3ff << 16, BTR_TSEG1_MASK
// 0x3f << 8, BTR_TSEG2_MASK 0xf << 4, BTR_SJW_MASK 0xf; FBTR_FBRP_MASK 0x1f << 16,
// FBTR_FTSEG1_MASK 0xf << 8, FBTR_FTSEG2_MASK 0x7 << 4, FBTR_FSJW_MASK 0x3. FBTP's
// TDC bit 23 and TDCO 28:24 are recalled from the M_CAN 3.0.1 manual, not checked
// against it.
inline constexpr RegisterField kMcan30BtpFields[] = {
    {"SJW", 0, 4, FieldRole::kSjw, Stored::kLessOne},
    {"TSEG2", 4, 4, FieldRole::kSeg2, Stored::kLessOne},
    {"TSEG1", 8, 6, FieldRole::kSeg1, Stored::kLessOne},
    {"BRP", 16, 10, FieldRole::kPrescaler, Stored::kLessOne},
};
inline constexpr Register kMcan30Btp = MakeRegister("BTP", 32, kMcan30BtpFields);
inline constexpr RegisterField kMcan30FbtpFields[] = {
    {"FSJW", 0, 2, FieldRole::kSjw, Stored::kLessOne},
    {"FTSEG2", 4, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"FTSEG1", 8, 4, FieldRole::kSeg1, Stored::kLessOne},
    {"FBRP", 16, 5, FieldRole::kPrescaler, Stored::kLessOne},
    {"TDC", 23, 1, FieldRole::kFlag, Stored::kValue},
    {"TDCO", 24, 5, FieldRole::kTdcOffset, Stored::kValue},
};
inline constexpr Register kMcan30Fbtp = MakeRegister("FBTP", 32, kMcan30FbtpFields);

// ---- Bosch C_CAN / D_CAN (TI AM335x, NXP LPC11C): BTR and the BRP extension ----
// Linux c_can.c: BTR_BRP_MASK 0x3f, BTR_SJW_SHIFT 6, BTR_TSEG1_SHIFT 8,
// BTR_TSEG2_SHIFT 12; c_can_set_bittiming: "ten_bit_brp = brp - 1; ... BRP =
// ten_bit_brp & 0x3F; BRPE = ten_bit_brp >> 6". C_CAN's BRPR at 0x0C holds BRPE in
// bits 3:0 (reg_map_c_can). Bosch C_CAN manual §3.4: not checked against the manual.
inline constexpr RegisterField kCcanBtrFields[] = {
    {"BRP", 0, 6, FieldRole::kPrescaler, Stored::kLessOne},
    {"SJW", 6, 2, FieldRole::kSjw, Stored::kLessOne},
    {"TSEG1", 8, 4, FieldRole::kSeg1, Stored::kLessOne},
    {"TSEG2", 12, 3, FieldRole::kSeg2, Stored::kLessOne},
};
inline constexpr Register kCcanBtr = MakeRegister("BTR", 16, kCcanBtrFields);
inline constexpr RegisterField kCcanBrprFields[] = {
    {"BRPE", 0, 4, FieldRole::kPrescaler, Stored::kLessOne, 6},
};
inline constexpr Register kCcanBrpr = MakeRegister("BRPR", 16, kCcanBrprFields);

// ---- Bosch CC770 / Intel AN82527: Bit Timing Registers 0 and 1 ----
// Linux cc770.c cc770_set_bittiming: "btr0 = ((bt->brp - 1) & 0x3f) | (((bt->sjw - 1) &
// 0x3) << 6)", "btr1 = ((bt->prop_seg + bt->phase_seg1 - 1) & 0xf) | (((bt->phase_seg2 -
// 1) & 0x7) << 4)", 0x80 for three samples, on the kernel's clock SCLK itself (BRP holds
// divider - 1, unlike the SJA1000's pairs). CC770 / 82527 manuals: not checked against
// the manual.
inline constexpr RegisterField kCc770Btr0Fields[] = {
    {"BRP", 0, 6, FieldRole::kPrescaler, Stored::kLessOne},
    {"SJW", 6, 2, FieldRole::kSjw, Stored::kLessOne},
};
inline constexpr Register kCc770Btr0 = MakeRegister("BTR0", 8, kCc770Btr0Fields);
inline constexpr RegisterField kCc770Btr1Fields[] = {
    {"TSEG1", 0, 4, FieldRole::kSeg1, Stored::kLessOne},
    {"TSEG2", 4, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"SPL", 7, 1, FieldRole::kFlag, Stored::kValue},  // three samples (the driver's 0x80)
};
inline constexpr Register kCc770Btr1 = MakeRegister("BTR1", 8, kCc770Btr1Fields);
