// Infineon's MultiCAN (XMC4000) bit-timing register NBTR.
// Each group says where its layout is written down. "Not checked against the manual":
// the layout is the Linux driver's (or a quotation of the vendor's), the vendor's own
// section was not read.
#pragma once

#include "calc/register_layout.h"

// ---- Infineon MultiCAN (XMC4000): NBTRx ----
// XMCLib xmc_can.c writes NBTR from brp - 1, sjw - 1, tseg1 - 1 and tseg2 - 1 at
// CAN_NODE_NBTR_BRP_Pos 0, _SJW_Pos 6, _TSEG1_Pos 8, _TSEG2_Pos 12 and _DIV8_Pos 15
// (Zephyr's can_xmc4xxx.c the same through the _Msk constants); the XMC4500 reference
// manual's own NBTRx section not read. DIV8 is kept 0 (the prescaler counts single
// periods); its multiples of 8 are not listed yet.
inline constexpr RegisterField kMulticanNbtrFields[] = {
    {"BRP", 0, 6, FieldRole::kPrescaler, Stored::kLessOne},
    {"SJW", 6, 2, FieldRole::kSjw, Stored::kLessOne},
    {"TSEG1", 8, 4, FieldRole::kSeg1, Stored::kLessOne},
    {"TSEG2", 12, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"DIV8", 15, 1, FieldRole::kFixed, Stored::kValue, 0, 0},
};
inline constexpr Register kMulticanNbtr = MakeRegister("NBTR", 32, kMulticanNbtrFields);
