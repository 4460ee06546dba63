// Rockchip's bit-timing register: the RK3568 CAN FD controller's nominal one.
// "Not checked against the manual": the layout is the Linux driver's, the vendor's own
// section was not read.
#pragma once

#include "calc/register_layout.h"

// ---- Rockchip RK3568 CAN FD: FD_NOMINAL_BITTIMING ----
// Linux rockchip_canfd.h: RKCANFD_REG_FD_NOMINAL_BITTIMING 0x100, _SAMPLE_MODE BIT(31),
// _SJW GENMASK(30, 24), _BRP GENMASK(23, 16), _TSEG2 GENMASK(14, 8), _TSEG1 GENMASK(7, 0);
// rockchip_canfd-core.c rkcanfd_set_bittiming writes sjw - 1, (brp / 2) - 1 ("Tsclk = 2 x
// Tclk x (brp + 1)"), phase_seg2 - 1 and prop_seg + phase_seg1 - 1. RK3568 TRM: not
// checked against the manual.
inline constexpr RegisterField kRk3568NominalFields[] = {
    {"TSEG1", 0, 8, FieldRole::kSeg1, Stored::kLessOne},
    {"TSEG2", 8, 7, FieldRole::kSeg2, Stored::kLessOne},
    {"BRP", 16, 8, FieldRole::kPrescaler, Stored::kHalfLessOne},
    {"SJW", 24, 7, FieldRole::kSjw, Stored::kLessOne},
    {"SAMPLE_MODE", 31, 1, FieldRole::kFlag, Stored::kValue},
};
inline constexpr Register kRk3568Nominal = MakeRegister("FD_NOMINAL_BITTIMING", 32, kRk3568NominalFields);
