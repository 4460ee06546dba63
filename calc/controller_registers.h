// The bit-timing registers of the controllers beyond bxCAN and FDCAN (those are in
// can_registers.h), as data: one row per field, named as the vendor names it. Each
// group says where its layout is written down. "Not checked against the manual": the
// layout is the Linux driver's (or a quotation of the vendor's), the vendor's own
// section was not read.
#pragma once

#include "calc/can_registers.h"

#define QUILLMERE_REGISTER(id, name, bits, fields) \
  inline constexpr Register id { name, bits, fields, sizeof fields / sizeof fields[0] }

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
QUILLMERE_REGISTER(kMcan30Btp, "BTP", 32, kMcan30BtpFields);
inline constexpr RegisterField kMcan30FbtpFields[] = {
    {"FSJW", 0, 2, FieldRole::kSjw, Stored::kLessOne},
    {"FTSEG2", 4, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"FTSEG1", 8, 4, FieldRole::kSeg1, Stored::kLessOne},
    {"FBRP", 16, 5, FieldRole::kPrescaler, Stored::kLessOne},
    {"TDC", 23, 1, FieldRole::kFlag, Stored::kValue},
    {"TDCO", 24, 5, FieldRole::kTdcOffset, Stored::kValue},
};
QUILLMERE_REGISTER(kMcan30Fbtp, "FBTP", 32, kMcan30FbtpFields);

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
QUILLMERE_REGISTER(kCcanBtr, "BTR", 16, kCcanBtrFields);
inline constexpr RegisterField kCcanBrprFields[] = {
    {"BRPE", 0, 4, FieldRole::kPrescaler, Stored::kLessOne, 6},
};
QUILLMERE_REGISTER(kCcanBrpr, "BRPR", 16, kCcanBrprFields);

// ---- NXP SJA1000: BTR0, BTR1 ----
// Linux sja1000.c: "btr0 = ((bt->brp - 1) & 0x3f) | (((bt->sjw - 1) & 0x3) << 6)",
// "btr1 = ((prop_seg + phase_seg1 - 1) & 0xf) | (((phase_seg2 - 1) & 0x7) << 4)",
// 0x80 for three samples, with the kernel's clock at half the oscillator: BRP holds
// divider / 2 - 1. SJA1000 datasheet §6.5.1/§6.5.2: not checked against the manual.
inline constexpr RegisterField kSja1000Btr0Fields[] = {
    {"BRP", 0, 6, FieldRole::kPrescaler, Stored::kHalfLessOne},
    {"SJW", 6, 2, FieldRole::kSjw, Stored::kLessOne},
};
QUILLMERE_REGISTER(kSja1000Btr0, "BTR0", 8, kSja1000Btr0Fields);
inline constexpr RegisterField kSja1000Btr1Fields[] = {
    {"TSEG1", 0, 4, FieldRole::kSeg1, Stored::kLessOne},
    {"TSEG2", 4, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"SAM", 7, 1, FieldRole::kFlag, Stored::kValue},  // three samples
};
QUILLMERE_REGISTER(kSja1000Btr1, "BTR1", 8, kSja1000Btr1Fields);

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
QUILLMERE_REGISTER(kFlexcanCtrl1, "CTRL1", 32, kFlexcanCtrl1Fields);

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
QUILLMERE_REGISTER(kFlexcanCbt, "CBT", 32, kFlexcanCbtFields);
inline constexpr RegisterField kFlexcanFdcbtFields[] = {
    {"FPSEG2", 0, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"FPSEG1", 5, 3, FieldRole::kPhase1, Stored::kLessOne},
    {"FPROPSEG", 10, 5, FieldRole::kProp, Stored::kValue},
    {"FRJW", 16, 3, FieldRole::kSjw, Stored::kLessOne},
    {"FPRESDIV", 20, 10, FieldRole::kPrescaler, Stored::kLessOne},
};
QUILLMERE_REGISTER(kFlexcanFdcbt, "FDCBT", 32, kFlexcanFdcbtFields);

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
QUILLMERE_REGISTER(kLpcBtr, "CANxBTR", 32, kLpcBtrFields);

// ---- Microchip MCP2515: CNF1, CNF2, CNF3 ----
// Linux mcp251x.c: CNF1 "((sjw - 1) << 6) | (brp - 1)" with the kernel's clock at half
// the oscillator (TQ = 2 x (BRP + 1) / FOSC, DS21801F Register 5-1), CNF2_BTLMODE 0x80,
// CNF2_SAM 0x40, CNF2_PS1_SHIFT 3; CNF3's PHSEG2 2:0, WAKFIL bit 6, SOF bit 7 and the
// unimplemented bits 5:3 as the datasheet's Register 5-3 (quoted by dotnet/iot). The
// driver's CNF3_SOF 0x08 / CNF3_WAKFIL 0x04 disagree with the datasheet and are unused.
inline constexpr RegisterField kMcp2515Cnf1Fields[] = {
    {"BRP", 0, 6, FieldRole::kPrescaler, Stored::kHalfLessOne},
    {"SJW", 6, 2, FieldRole::kSjw, Stored::kLessOne},
};
QUILLMERE_REGISTER(kMcp2515Cnf1, "CNF1", 8, kMcp2515Cnf1Fields);
inline constexpr RegisterField kMcp2515Cnf2Fields[] = {
    {"PRSEG", 0, 3, FieldRole::kProp, Stored::kLessOne},
    {"PHSEG1", 3, 3, FieldRole::kPhase1, Stored::kLessOne},
    {"SAM", 6, 1, FieldRole::kFlag, Stored::kValue},
    // With BTLMODE 0 the MCP2515 ignores PHSEG2 and takes the greater of PS1 and 2 TQ.
    {"BTLMODE", 7, 1, FieldRole::kFixed, Stored::kValue, 0, 1},
};
QUILLMERE_REGISTER(kMcp2515Cnf2, "CNF2", 8, kMcp2515Cnf2Fields);
inline constexpr RegisterField kMcp2515Cnf3Fields[] = {
    {"PHSEG2", 0, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"WAKFIL", 6, 1, FieldRole::kFlag, Stored::kValue},
    {"SOF", 7, 1, FieldRole::kFlag, Stored::kValue},
};
QUILLMERE_REGISTER(kMcp2515Cnf3, "CNF3", 8, kMcp2515Cnf3Fields);

// ---- Microchip MCP2517FD/MCP2518FD: CiNBTCFG, CiDBTCFG ----
// Linux mcp251xfd.h MCP251XFD_REG_NBTCFG_* and _DBTCFG_* masks; every length less one.
// DS20006027B: not checked against the manual.
inline constexpr RegisterField kMcp2518NbtcfgFields[] = {
    {"SJW", 0, 7, FieldRole::kSjw, Stored::kLessOne},
    {"TSEG2", 8, 7, FieldRole::kSeg2, Stored::kLessOne},
    {"TSEG1", 16, 8, FieldRole::kSeg1, Stored::kLessOne},
    {"BRP", 24, 8, FieldRole::kPrescaler, Stored::kLessOne},
};
QUILLMERE_REGISTER(kMcp2518Nbtcfg, "CiNBTCFG", 32, kMcp2518NbtcfgFields);
inline constexpr RegisterField kMcp2518DbtcfgFields[] = {
    {"SJW", 0, 4, FieldRole::kSjw, Stored::kLessOne},
    {"TSEG2", 8, 4, FieldRole::kSeg2, Stored::kLessOne},
    {"TSEG1", 16, 5, FieldRole::kSeg1, Stored::kLessOne},
    {"BRP", 24, 8, FieldRole::kPrescaler, Stored::kLessOne},
};
QUILLMERE_REGISTER(kMcp2518Dbtcfg, "CiDBTCFG", 32, kMcp2518DbtcfgFields);

// ---- Microchip (Atmel) AT91: CAN_BR ----
// Linux at91_can.c AT91_BR_PHASE2_MASK GENMASK(2, 0), _PHASE1_ GENMASK(6, 4), _PROPAG_
// GENMASK(10, 8), _SJW_ GENMASK(13, 12), _BRP_ GENMASK(22, 16), AT91_BR_SMP BIT(24).
inline constexpr RegisterField kAt91BrFields[] = {
    {"PHASE2", 0, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"PHASE1", 4, 3, FieldRole::kPhase1, Stored::kLessOne},
    {"PROPAG", 8, 3, FieldRole::kProp, Stored::kLessOne},
    {"SJW", 12, 2, FieldRole::kSjw, Stored::kLessOne},
    {"BRP", 16, 7, FieldRole::kPrescaler, Stored::kLessOne},
    {"SMP", 24, 1, FieldRole::kFlag, Stored::kValue},
};
QUILLMERE_REGISTER(kAt91Br, "CAN_BR", 32, kAt91BrFields);

// ---- Espressif TWAI: TWAI_BUS_TIMING_0_REG, TWAI_BUS_TIMING_1_REG ----
// ESP-IDF twai_ll.h twai_ll_set_bus_timing: "brp = (brp / 2) - 1", sjw - 1, tseg1 - 1,
// tseg2 - 1, sam; one SJA1000 byte per 32-bit word. The S3/C3 twai_struct.h: "brp: 13;
// /* BTR0[12:0] */ reserved13: 1; sjw: 2; /* BTR0[15:14] */". The S2/C6 BRP width of
// 14 bits follows from SOC_TWAI_BRP_MAX 32768, not checked against the manual.
inline constexpr RegisterField kEsp32Btr0Fields[] = {
    {"BRP", 0, 6, FieldRole::kPrescaler, Stored::kHalfLessOne},
    {"SJW", 6, 2, FieldRole::kSjw, Stored::kLessOne},
};
QUILLMERE_REGISTER(kEsp32Btr0, "TWAI_BUS_TIMING_0_REG", 32, kEsp32Btr0Fields);
inline constexpr RegisterField kEsp32s3Btr0Fields[] = {
    {"BRP", 0, 13, FieldRole::kPrescaler, Stored::kHalfLessOne},
    {"SJW", 14, 2, FieldRole::kSjw, Stored::kLessOne},
};
QUILLMERE_REGISTER(kEsp32s3Btr0, "TWAI_BUS_TIMING_0_REG", 32, kEsp32s3Btr0Fields);
inline constexpr RegisterField kEsp32s2Btr0Fields[] = {
    {"BRP", 0, 14, FieldRole::kPrescaler, Stored::kHalfLessOne},
    {"SJW", 14, 2, FieldRole::kSjw, Stored::kLessOne},
};
QUILLMERE_REGISTER(kEsp32s2Btr0, "TWAI_BUS_TIMING_0_REG", 32, kEsp32s2Btr0Fields);
inline constexpr RegisterField kEsp32Btr1Fields[] = {
    {"TSEG1", 0, 4, FieldRole::kSeg1, Stored::kLessOne},
    {"TSEG2", 4, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"SAM", 7, 1, FieldRole::kFlag, Stored::kValue},
};
QUILLMERE_REGISTER(kEsp32Btr1, "TWAI_BUS_TIMING_1_REG", 32, kEsp32Btr1Fields);

// ---- TI HECC / eCAN: CANBTC ----
// Linux ti_hecc.c ti_hecc_set_btc: TSEG2 2:0, TSEG1 6:3 (prop + phase1), SJW 9:8,
// ERM 10, BRP 23:16, every length less one. SAM at bit 7 is not checked against the
// manual (TI SPRUEU1).
inline constexpr RegisterField kHeccCanbtcFields[] = {
    {"TSEG2", 0, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"TSEG1", 3, 4, FieldRole::kSeg1, Stored::kLessOne},
    {"SAM", 7, 1, FieldRole::kFlag, Stored::kValue},
    {"SJW", 8, 2, FieldRole::kSjw, Stored::kLessOne},
    {"ERM", 10, 1, FieldRole::kFlag, Stored::kValue},
    {"BRP", 16, 8, FieldRole::kPrescaler, Stored::kLessOne},
};
QUILLMERE_REGISTER(kHeccCanbtc, "CANBTC", 32, kHeccCanbtcFields);

// ---- Renesas R-Car CAN: BCR (24 bits) ----
// Linux rcar_can.c RCAR_CAN_BCR_TSEG1 GENMASK(23, 20), _BRP GENMASK(17, 8), _SJW
// GENMASK(5, 4), _TSEG2 GENMASK(2, 0); every length less one.
inline constexpr RegisterField kRcarBcrFields[] = {
    {"TSEG2", 0, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"SJW", 4, 2, FieldRole::kSjw, Stored::kLessOne},
    {"BRP", 8, 10, FieldRole::kPrescaler, Stored::kLessOne},
    {"TSEG1", 20, 4, FieldRole::kSeg1, Stored::kLessOne},
};
QUILLMERE_REGISTER(kRcarBcr, "BCR", 24, kRcarBcrFields);

// ---- Renesas R-Car CAN FD, Gen3 and Gen4: RSCFDnCFDCmNCFG, RSCFDnCFDCmDCFG ----
// Linux rcar_canfd.c shift tables rcar_gen3_shift_data {ntseg2 24, ntseg1 16, nsjw
// 11, dtseg2 20, dtseg1 16} and rcar_gen4_shift_data {ntseg2 25, ntseg1 17, nsjw 10,
// dtseg2 16, dtseg1 8}, DSJW at 24, DBRP 7:0; the field widths from the limits. NBRP
// at 9:0 is not checked against the manual.
inline constexpr RegisterField kRcarfdGen3NcfgFields[] = {
    {"NBRP", 0, 10, FieldRole::kPrescaler, Stored::kLessOne},
    {"NSJW", 11, 5, FieldRole::kSjw, Stored::kLessOne},
    {"NTSEG1", 16, 7, FieldRole::kSeg1, Stored::kLessOne},
    {"NTSEG2", 24, 5, FieldRole::kSeg2, Stored::kLessOne},
};
QUILLMERE_REGISTER(kRcarfdGen3Ncfg, "RSCFDnCFDCmNCFG", 32, kRcarfdGen3NcfgFields);
inline constexpr RegisterField kRcarfdGen3DcfgFields[] = {
    {"DBRP", 0, 8, FieldRole::kPrescaler, Stored::kLessOne},
    {"DTSEG1", 16, 4, FieldRole::kSeg1, Stored::kLessOne},
    {"DTSEG2", 20, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"DSJW", 24, 3, FieldRole::kSjw, Stored::kLessOne},
};
QUILLMERE_REGISTER(kRcarfdGen3Dcfg, "RSCFDnCFDCmDCFG", 32, kRcarfdGen3DcfgFields);
inline constexpr RegisterField kRcarfdGen4NcfgFields[] = {
    {"NBRP", 0, 10, FieldRole::kPrescaler, Stored::kLessOne},
    {"NSJW", 10, 7, FieldRole::kSjw, Stored::kLessOne},
    {"NTSEG1", 17, 8, FieldRole::kSeg1, Stored::kLessOne},
    {"NTSEG2", 25, 7, FieldRole::kSeg2, Stored::kLessOne},
};
QUILLMERE_REGISTER(kRcarfdGen4Ncfg, "RSCFDnCFDCmNCFG", 32, kRcarfdGen4NcfgFields);
inline constexpr RegisterField kRcarfdGen4DcfgFields[] = {
    {"DBRP", 0, 8, FieldRole::kPrescaler, Stored::kLessOne},
    {"DTSEG1", 8, 5, FieldRole::kSeg1, Stored::kLessOne},
    {"DTSEG2", 16, 4, FieldRole::kSeg2, Stored::kLessOne},
    {"DSJW", 24, 4, FieldRole::kSjw, Stored::kLessOne},
};
QUILLMERE_REGISTER(kRcarfdGen4Dcfg, "RSCFDnCFDCmDCFG", 32, kRcarfdGen4DcfgFields);

// ---- Xilinx AXI CAN / Zynq CANPS: BRPR, BTR ----
// Linux xilinx_can.c XCAN_BTR_SJW_SHIFT 7, XCAN_BTR_TS2_SHIFT 4; the BRPR and BTR
// offsets (0x08, 0x0C) and widths are not checked against the manual (PG096).
inline constexpr RegisterField kXcanBrprFields[] = {
    {"BRP", 0, 8, FieldRole::kPrescaler, Stored::kLessOne},
};
QUILLMERE_REGISTER(kXcanBrpr, "BRPR", 32, kXcanBrprFields);
inline constexpr RegisterField kXcanBtrFields[] = {
    {"TS1", 0, 4, FieldRole::kSeg1, Stored::kLessOne},
    {"TS2", 4, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"SJW", 7, 2, FieldRole::kSjw, Stored::kLessOne},
};
QUILLMERE_REGISTER(kXcanBtr, "BTR", 32, kXcanBtrFields);

// ---- Xilinx AXI CAN FD 2.0 (Versal): BRPR, BTR, F_BRPR, F_BTR ----
// Linux xilinx_can.c XCAN_BTR_TS2_SHIFT_CANFD 8, XCAN_BTR_SJW_SHIFT_CANFD 16,
// XCAN_BRPR_TDC_ENABLE BIT(16), TDCO at bit 8; widths from the CANFD 2.0 limits. Not
// checked against the manual (PG223).
inline constexpr RegisterField kXcanfdBtrFields[] = {
    {"TS1", 0, 8, FieldRole::kSeg1, Stored::kLessOne},
    {"TS2", 8, 7, FieldRole::kSeg2, Stored::kLessOne},
    {"SJW", 16, 7, FieldRole::kSjw, Stored::kLessOne},
};
QUILLMERE_REGISTER(kXcanfdBtr, "BTR", 32, kXcanfdBtrFields);
inline constexpr RegisterField kXcanfdFbrprFields[] = {
    {"BRP", 0, 8, FieldRole::kPrescaler, Stored::kLessOne},
    {"TDCOFF", 8, 6, FieldRole::kTdcOffset, Stored::kValue},
    {"TDC_EN", 16, 1, FieldRole::kFlag, Stored::kValue},
};
QUILLMERE_REGISTER(kXcanfdFbrpr, "F_BRPR", 32, kXcanfdFbrprFields);
inline constexpr RegisterField kXcanfdFbtrFields[] = {
    {"TS1", 0, 5, FieldRole::kSeg1, Stored::kLessOne},
    {"TS2", 8, 4, FieldRole::kSeg2, Stored::kLessOne},
    {"SJW", 16, 4, FieldRole::kSjw, Stored::kLessOne},
};
QUILLMERE_REGISTER(kXcanfdFbtr, "F_BTR", 32, kXcanfdFbtrFields);

// ---- Infineon MultiCAN (XMC4000): NBTRx ----
// Recalled, not checked against the manual (XMC4500 reference manual, "NBTRx"): BRP
// 5:0, SJW 7:6, TSEG1 11:8, TSEG2 14:12, DIV8 15. DIV8 is kept 0 (the prescaler counts
// single periods); its multiples of 8 are not listed yet.
inline constexpr RegisterField kMulticanNbtrFields[] = {
    {"BRP", 0, 6, FieldRole::kPrescaler, Stored::kLessOne},
    {"SJW", 6, 2, FieldRole::kSjw, Stored::kLessOne},
    {"TSEG1", 8, 4, FieldRole::kSeg1, Stored::kLessOne},
    {"TSEG2", 12, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"DIV8", 15, 1, FieldRole::kFixed, Stored::kValue, 0, 0},
};
QUILLMERE_REGISTER(kMulticanNbtr, "NBTR", 32, kMulticanNbtrFields);

#undef QUILLMERE_REGISTER
