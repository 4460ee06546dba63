// Renesas' bit-timing registers: R-Car CAN's BCR, R-Car CAN FD's nominal and data
// configuration registers in their Gen3 and Gen4 layouts.
// Each group says where its layout is written down. "Not checked against the manual":
// the layout is the Linux driver's (or a quotation of the vendor's), the vendor's own
// section was not read.
#pragma once

#include "calc/register_layout.h"

// ---- Renesas R-Car CAN: BCR (24 bits) ----
// Linux rcar_can.c RCAR_CAN_BCR_TSEG1 GENMASK(23, 20), _BRP GENMASK(17, 8), _SJW
// GENMASK(5, 4), _TSEG2 GENMASK(2, 0); every length less one.
inline constexpr RegisterField kRcarBcrFields[] = {
    {"TSEG2", 0, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"SJW", 4, 2, FieldRole::kSjw, Stored::kLessOne},
    {"BRP", 8, 10, FieldRole::kPrescaler, Stored::kLessOne},
    {"TSEG1", 20, 4, FieldRole::kSeg1, Stored::kLessOne},
};
inline constexpr Register kRcarBcr = MakeRegister("BCR", 24, kRcarBcrFields);

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
inline constexpr Register kRcarfdGen3Ncfg = MakeRegister("RSCFDnCFDCmNCFG", 32, kRcarfdGen3NcfgFields);
inline constexpr RegisterField kRcarfdGen3DcfgFields[] = {
    {"DBRP", 0, 8, FieldRole::kPrescaler, Stored::kLessOne},
    {"DTSEG1", 16, 4, FieldRole::kSeg1, Stored::kLessOne},
    {"DTSEG2", 20, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"DSJW", 24, 3, FieldRole::kSjw, Stored::kLessOne},
};
inline constexpr Register kRcarfdGen3Dcfg = MakeRegister("RSCFDnCFDCmDCFG", 32, kRcarfdGen3DcfgFields);
inline constexpr RegisterField kRcarfdGen4NcfgFields[] = {
    {"NBRP", 0, 10, FieldRole::kPrescaler, Stored::kLessOne},
    {"NSJW", 10, 7, FieldRole::kSjw, Stored::kLessOne},
    {"NTSEG1", 17, 8, FieldRole::kSeg1, Stored::kLessOne},
    {"NTSEG2", 25, 7, FieldRole::kSeg2, Stored::kLessOne},
};
inline constexpr Register kRcarfdGen4Ncfg = MakeRegister("RSCFDnCFDCmNCFG", 32, kRcarfdGen4NcfgFields);
inline constexpr RegisterField kRcarfdGen4DcfgFields[] = {
    {"DBRP", 0, 8, FieldRole::kPrescaler, Stored::kLessOne},
    {"DTSEG1", 8, 5, FieldRole::kSeg1, Stored::kLessOne},
    {"DTSEG2", 16, 4, FieldRole::kSeg2, Stored::kLessOne},
    {"DSJW", 24, 4, FieldRole::kSjw, Stored::kLessOne},
};
inline constexpr Register kRcarfdGen4Dcfg = MakeRegister("RSCFDnCFDCmDCFG", 32, kRcarfdGen4DcfgFields);
