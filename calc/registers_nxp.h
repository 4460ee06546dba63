// NXP's bit-timing registers: the SJA1000's BTR0/BTR1, FlexCAN's CTRL1, CBT and FDCBT,
// the LPC17xx/40xx CANxBTR.
// Each group says where its layout is written down. "Not checked against the manual":
// the layout is the Linux driver's (or a quotation of the vendor's), the vendor's own
// section was not read.
#pragma once

#include "calc/register_layout.h"

// ---- NXP SJA1000: BTR0, BTR1 ----
// Linux sja1000.c: "btr0 = ((bt->brp - 1) & 0x3f) | (((bt->sjw - 1) & 0x3) << 6)",
// "btr1 = ((prop_seg + phase_seg1 - 1) & 0xf) | (((phase_seg2 - 1) & 0x7) << 4)",
// 0x80 for three samples, with the kernel's clock at half the oscillator: BRP holds
// divider / 2 - 1. SJA1000 datasheet §6.5.1/§6.5.2: not checked against the manual.
inline constexpr RegisterField kSja1000Btr0Fields[] = {
    {"BRP", 0, 6, FieldRole::kPrescaler, Stored::kHalfLessOne},
    {"SJW", 6, 2, FieldRole::kSjw, Stored::kLessOne},
};
inline constexpr Register kSja1000Btr0 = MakeRegister("BTR0", 8, kSja1000Btr0Fields);
inline constexpr RegisterField kSja1000Btr1Fields[] = {
    {"TSEG1", 0, 4, FieldRole::kSeg1, Stored::kLessOne},
    {"TSEG2", 4, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"SAM", 7, 1, FieldRole::kFlag, Stored::kValue},  // three samples
};
inline constexpr Register kSja1000Btr1 = MakeRegister("BTR1", 8, kSja1000Btr1Fields);

// ---- NXP FlexCAN, classic: CTRL1 ----
// Linux flexcan-core.c FLEXCAN_CTRL_* macros and flexcan_set_bittiming_ctrl (every
// length written less one). i.MX / S32K reference manual "CTRL1": not checked against
// the manual.
inline constexpr RegisterField kFlexcanCtrl1Fields[] = {
    {"PROPSEG", 0, 3, FieldRole::kProp, Stored::kLessOne},
    {"LOM", 3, 1, FieldRole::kFlag, Stored::kValue},
    {"LBUF", 4, 1, FieldRole::kFlag, Stored::kValue},
    {"TSYN", 5, 1, FieldRole::kFlag, Stored::kValue},
    {"BOFFREC", 6, 1, FieldRole::kFlag, Stored::kValue},
    {"SMP", 7, 1, FieldRole::kFlag, Stored::kValue},
    {"RWRNMSK", 10, 1, FieldRole::kFlag, Stored::kValue},
    {"TWRNMSK", 11, 1, FieldRole::kFlag, Stored::kValue},
    {"LPB", 12, 1, FieldRole::kFlag, Stored::kValue},
    {"CLKSRC", 13, 1, FieldRole::kFlag, Stored::kValue},
    {"ERRMSK", 14, 1, FieldRole::kFlag, Stored::kValue},
    {"BOFFMSK", 15, 1, FieldRole::kFlag, Stored::kValue},
    {"PSEG2", 16, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"PSEG1", 19, 3, FieldRole::kPhase1, Stored::kLessOne},
    {"RJW", 22, 2, FieldRole::kSjw, Stored::kLessOne},
    {"PRESDIV", 24, 8, FieldRole::kPrescaler, Stored::kLessOne},
};
inline constexpr Register kFlexcanCtrl1 = MakeRegister("CTRL1", 32, kFlexcanCtrl1Fields);

// ---- NXP FlexCAN with FD: CBT, FDCBT ----
// Linux flexcan-core.c FLEXCAN_CBT_* and FLEXCAN_FDCBT_* masks, flexcan_set_bittiming_cbt
// (BTF always set; FPROPSEG takes dbt->prop_seg itself, no - 1). i.MX 8 reference
// manual "CBT"/"FDCBT": not checked against the manual.
inline constexpr RegisterField kFlexcanCbtFields[] = {
    {"EPSEG2", 0, 5, FieldRole::kSeg2, Stored::kLessOne},
    {"EPSEG1", 5, 5, FieldRole::kPhase1, Stored::kLessOne},
    {"EPROPSEG", 10, 6, FieldRole::kProp, Stored::kLessOne},
    {"ERJW", 16, 5, FieldRole::kSjw, Stored::kLessOne},
    {"EPRESDIV", 21, 10, FieldRole::kPrescaler, Stored::kLessOne},
    {"BTF", 31, 1, FieldRole::kFixed, Stored::kValue, 0, 1},  // 1: CBT, not CTRL1, sets the timing
};
inline constexpr Register kFlexcanCbt = MakeRegister("CBT", 32, kFlexcanCbtFields);
inline constexpr RegisterField kFlexcanFdcbtFields[] = {
    {"FPSEG2", 0, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"FPSEG1", 5, 3, FieldRole::kPhase1, Stored::kLessOne},
    {"FPROPSEG", 10, 5, FieldRole::kProp, Stored::kValue},
    {"FRJW", 16, 3, FieldRole::kSjw, Stored::kLessOne},
    {"FPRESDIV", 20, 10, FieldRole::kPrescaler, Stored::kLessOne},
};
inline constexpr Register kFlexcanFdcbt = MakeRegister("FDCBT", 32, kFlexcanFdcbtFields);

// ---- NXP LPC17xx/40xx: CANxBTR ----
// The Emcraft lpc17xx_can driver's masks (an out-of-tree Linux driver); NXP UM10360
// §16.7.4 "CAN Bus Timing Register": not checked against the manual.
inline constexpr RegisterField kLpcBtrFields[] = {
    {"BRP", 0, 10, FieldRole::kPrescaler, Stored::kLessOne},
    {"SJW", 14, 2, FieldRole::kSjw, Stored::kLessOne},
    {"TESG1", 16, 4, FieldRole::kSeg1, Stored::kLessOne},
    {"TESG2", 20, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"SAM", 23, 1, FieldRole::kFlag, Stored::kValue},
};
inline constexpr Register kLpcBtr = MakeRegister("CANxBTR", 32, kLpcBtrFields);

// ---- Freescale (NXP) MSCAN: CANBTR0, CANBTR1 ----
// Linux mscan.h: BTR0_BRP_MASK 0x3f, BTR0_SJW_SHIFT 6, BTR1_TSEG1_MASK 0xf,
// BTR1_TSEG2_SHIFT 4, BTR1_SAM_SHIFT 7; mscan.c mscan_do_set_bittiming writes brp - 1,
// sjw - 1, prop_seg + phase_seg1 - 1 and phase_seg2 - 1 to canbtr0/canbtr1. MPC5200B /
// MPC5121e reference manuals "CANBTR0"/"CANBTR1": not checked against the manual.
inline constexpr RegisterField kMscanBtr0Fields[] = {
    {"BRP", 0, 6, FieldRole::kPrescaler, Stored::kLessOne},
    {"SJW", 6, 2, FieldRole::kSjw, Stored::kLessOne},
};
inline constexpr Register kMscanBtr0 = MakeRegister("CANBTR0", 8, kMscanBtr0Fields);
inline constexpr RegisterField kMscanBtr1Fields[] = {
    {"TSEG1", 0, 4, FieldRole::kSeg1, Stored::kLessOne},
    {"TSEG2", 4, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"SAMP", 7, 1, FieldRole::kFlag, Stored::kValue},  // three samples
};
inline constexpr Register kMscanBtr1 = MakeRegister("CANBTR1", 8, kMscanBtr1Fields);
