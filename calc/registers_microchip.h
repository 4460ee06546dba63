// Microchip's bit-timing registers: the MCP2515's CNF1-CNF3, the MCP2517FD/MCP2518FD's
// CiNBTCFG and CiDBTCFG, the (Atmel) AT91's CAN_BR, the SAM E70/S70/V70/V71 rev B
// MCAN's DBTP.
// Each group says where its layout is written down. "Not checked against the manual":
// the layout is the Linux driver's (or a quotation of the vendor's), the vendor's own
// section was not read.
#pragma once

#include "calc/register_layout.h"

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
inline constexpr Register kMcp2515Cnf1 = MakeRegister("CNF1", 8, kMcp2515Cnf1Fields);
inline constexpr RegisterField kMcp2515Cnf2Fields[] = {
    {"PRSEG", 0, 3, FieldRole::kProp, Stored::kLessOne},
    {"PHSEG1", 3, 3, FieldRole::kPhase1, Stored::kLessOne},
    {"SAM", 6, 1, FieldRole::kFlag, Stored::kValue},
    // With BTLMODE 0 the MCP2515 ignores PHSEG2 and takes the greater of PS1 and 2 TQ.
    {"BTLMODE", 7, 1, FieldRole::kFixed, Stored::kValue, 0, 1},
};
inline constexpr Register kMcp2515Cnf2 = MakeRegister("CNF2", 8, kMcp2515Cnf2Fields);
inline constexpr RegisterField kMcp2515Cnf3Fields[] = {
    {"PHSEG2", 0, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"WAKFIL", 6, 1, FieldRole::kFlag, Stored::kValue},
    {"SOF", 7, 1, FieldRole::kFlag, Stored::kValue},
};
inline constexpr Register kMcp2515Cnf3 = MakeRegister("CNF3", 8, kMcp2515Cnf3Fields);

// ---- Microchip MCP2517FD/MCP2518FD: CiNBTCFG, CiDBTCFG ----
// Linux mcp251xfd.h MCP251XFD_REG_NBTCFG_* and _DBTCFG_* masks; every length less one.
// DS20006027B: not checked against the manual.
inline constexpr RegisterField kMcp2518NbtcfgFields[] = {
    {"SJW", 0, 7, FieldRole::kSjw, Stored::kLessOne},
    {"TSEG2", 8, 7, FieldRole::kSeg2, Stored::kLessOne},
    {"TSEG1", 16, 8, FieldRole::kSeg1, Stored::kLessOne},
    {"BRP", 24, 8, FieldRole::kPrescaler, Stored::kLessOne},
};
inline constexpr Register kMcp2518Nbtcfg = MakeRegister("CiNBTCFG", 32, kMcp2518NbtcfgFields);
inline constexpr RegisterField kMcp2518DbtcfgFields[] = {
    {"SJW", 0, 4, FieldRole::kSjw, Stored::kLessOne},
    {"TSEG2", 8, 4, FieldRole::kSeg2, Stored::kLessOne},
    {"TSEG1", 16, 5, FieldRole::kSeg1, Stored::kLessOne},
    {"BRP", 24, 8, FieldRole::kPrescaler, Stored::kLessOne},
};
inline constexpr Register kMcp2518Dbtcfg = MakeRegister("CiDBTCFG", 32, kMcp2518DbtcfgFields);

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
inline constexpr Register kAt91Br = MakeRegister("CAN_BR", 32, kAt91BrFields);

// ---- Microchip SAM E70/S70/V70/V71 rev B (and SAMA5D2) MCAN: DBTP ----
// Microchip's component header mcan.h (__SAM_M7_REVB): MCAN_DBTP_DSJW_Msk (0x7u << 0),
// MCAN_DBTP_DTSEG2_Msk (0xfu << 4), MCAN_DBTP_DTSEG1_Msk (0x1fu << 8),
// MCAN_DBTP_DBRP_Msk (0x1fu << 16), MCAN_DBTP_TDC (0x1u << 23): Bosch's DBTP with a data
// SJW of three bits, so bit 3 is reserved. NBTP and TDCR are Bosch's (kNbtp, kTdcr).
inline constexpr RegisterField kSamRevBDbtpFields[] = {
    {"DSJW", 0, 3, FieldRole::kSjw, Stored::kLessOne},
    {"DTSEG2", 4, 4, FieldRole::kSeg2, Stored::kLessOne},
    {"DTSEG1", 8, 5, FieldRole::kSeg1, Stored::kLessOne},
    {"DBRP", 16, 5, FieldRole::kPrescaler, Stored::kLessOne},
    {"TDC", 23, 1, FieldRole::kFlag, Stored::kValue},  // transmitter delay compensation
};
inline constexpr Register kSamRevBDbtp = MakeRegister("DBTP", 32, kSamRevBDbtpFields);

// ---- Microchip MCP2517FD/MCP2518FD: CiTDC ----
// Linux mcp251xfd.h: MCP251XFD_REG_TDC_TDCMOD_MASK GENMASK(17, 16) with
// MCP251XFD_REG_TDC_TDCMOD_AUTO 2 (measure the delay, add TDCO), TDCO_MASK GENMASK(14, 8)
// (two's complement, TDCO_MIN -64, TDCO_MAX 63), TDCV_MASK GENMASK(5, 0) (the measured
// value, read only, written 0), SID11EN BIT(24) and EDGFLTEN BIT(25) left 0.
inline constexpr RegisterField kMcp2518CitdcFields[] = {
    {"TDCV", 0, 6, FieldRole::kFixed, Stored::kValue, 0, 0},
    {"TDCO", 8, 7, FieldRole::kTdcOffset, Stored::kValue},
    {"TDCMOD", 16, 2, FieldRole::kFixed, Stored::kValue, 0, 2},
    {"SID11EN", 24, 1, FieldRole::kFixed, Stored::kValue, 0, 0},
    {"EDGFLTEN", 25, 1, FieldRole::kFixed, Stored::kValue, 0, 0},
};
inline constexpr Register kMcp2518Citdc = MakeRegister("CiTDC", 32, kMcp2518CitdcFields);
