// Holt's bit-timing registers: the HI-3110's BTR0 and BTR1.
// "Not checked against the manual": the layout is the Linux driver's, the vendor's own
// section was not read.
#pragma once

#include "calc/register_layout.h"

// ---- Holt HI-3110: BTR0, BTR1 ----
// Linux hi311x.c: HI3110_BTR0_SJW_SHIFT 6, HI3110_BTR0_BRP_SHIFT 0, HI3110_BTR1_SAMP_3PERBIT
// (1 << 7), HI3110_BTR1_TSEG2_SHIFT 4, HI3110_BTR1_TSEG1_SHIFT 0; hi3110_do_set_bittiming
// writes sjw - 1, brp - 1, prop_seg + phase_seg1 - 1 and phase_seg2 - 1, the kernel's
// clock at half the oscillator (clock.freq = freq / 2): BRP holds divider / 2 - 1.
// HI-3110 datasheet: not checked against the manual.
inline constexpr RegisterField kHi3110Btr0Fields[] = {
    {"BRP", 0, 6, FieldRole::kPrescaler, Stored::kHalfLessOne},
    {"SJW", 6, 2, FieldRole::kSjw, Stored::kLessOne},
};
inline constexpr Register kHi3110Btr0 = MakeRegister("BTR0", 8, kHi3110Btr0Fields);
inline constexpr RegisterField kHi3110Btr1Fields[] = {
    {"TSEG1", 0, 4, FieldRole::kSeg1, Stored::kLessOne},
    {"TSEG2", 4, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"SAMP", 7, 1, FieldRole::kFlag, Stored::kValue},  // three samples
};
inline constexpr Register kHi3110Btr1 = MakeRegister("BTR1", 8, kHi3110Btr1Fields);
