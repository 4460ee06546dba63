// TI's HECC / eCAN bit-timing register CANBTC.
// Each group says where its layout is written down. "Not checked against the manual":
// the layout is the Linux driver's (or a quotation of the vendor's), the vendor's own
// section was not read.
#pragma once

#include "calc/register_layout.h"

// ---- TI HECC / eCAN: CANBTC ----
// Linux ti_hecc.c ti_hecc_set_btc: TSEG2 2:0, TSEG1 6:3 (prop + phase1), SJW 9:8,
// ERM 10, BRP 23:16, every length less one; SAM at bit 7 is ti_hecc.c's
// HECC_CANBTC_SAM BIT(7) ("sample points"). TI's SPRUEU1 itself not read.
inline constexpr RegisterField kHeccCanbtcFields[] = {
    {"TSEG2", 0, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"TSEG1", 3, 4, FieldRole::kSeg1, Stored::kLessOne},
    {"SAM", 7, 1, FieldRole::kFlag, Stored::kValue},
    {"SJW", 8, 2, FieldRole::kSjw, Stored::kLessOne},
    {"ERM", 10, 1, FieldRole::kFlag, Stored::kValue},
    {"BRP", 16, 8, FieldRole::kPrescaler, Stored::kLessOne},
};
inline constexpr Register kHeccCanbtc = MakeRegister("CANBTC", 32, kHeccCanbtcFields);
