// The CTU CAN FD core's bit-timing registers (Czech Technical University's open IP):
// BTR and BTR_FD, every field holding its number as it is.
#pragma once

#include "calc/register_layout.h"

// ---- CTU CAN FD: BTR, BTR_FD ----
// Linux ctucanfd_kregs.h: REG_BTR_PROP GENMASK(6, 0), REG_BTR_PH1 GENMASK(12, 7),
// REG_BTR_PH2 GENMASK(18, 13), REG_BTR_BRP GENMASK(26, 19), REG_BTR_SJW GENMASK(31, 27);
// REG_BTR_FD_PROP_FD GENMASK(5, 0), REG_BTR_FD_PH1_FD GENMASK(11, 7), REG_BTR_FD_PH2_FD
// GENMASK(17, 13), REG_BTR_FD_BRP_FD GENMASK(26, 19), REG_BTR_FD_SJW_FD GENMASK(31, 27).
// ctucanfd_base.c ctucan_set_btr writes bt->prop_seg, phase_seg1, phase_seg2, brp and
// sjw through FIELD_PREP, none less one ("PROP is 7 bits wide but PH1 only 6": a
// phase_seg1 above 63, 31 in the data phase, gives its excess to prop).
inline constexpr RegisterField kCtucanBtrFields[] = {
    {"PROP", 0, 7, FieldRole::kProp, Stored::kValue},
    {"PH1", 7, 6, FieldRole::kPhase1, Stored::kValue},
    {"PH2", 13, 6, FieldRole::kSeg2, Stored::kValue},
    {"BRP", 19, 8, FieldRole::kPrescaler, Stored::kValue},
    {"SJW", 27, 5, FieldRole::kSjw, Stored::kValue},
};
inline constexpr Register kCtucanBtr = MakeRegister("BTR", 32, kCtucanBtrFields);
inline constexpr RegisterField kCtucanBtrFdFields[] = {
    {"PROP_FD", 0, 6, FieldRole::kProp, Stored::kValue},
    {"PH1_FD", 7, 5, FieldRole::kPhase1, Stored::kValue},
    {"PH2_FD", 13, 5, FieldRole::kSeg2, Stored::kValue},
    {"BRP_FD", 19, 8, FieldRole::kPrescaler, Stored::kValue},
    {"SJW_FD", 27, 5, FieldRole::kSjw, Stored::kValue},
};
inline constexpr Register kCtucanBtrFd = MakeRegister("BTR_FD", 32, kCtucanBtrFdFields);
