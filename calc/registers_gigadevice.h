// GigaDevice's bit-timing register: the GD32 CAN's CAN_BT, bxCAN's layout under
// GigaDevice's names.
#pragma once

#include "calc/register_layout.h"

// GD32F30x firmware library V2.1.0, gd32f30x_can.h "CAN_BT": BAUDPSC BITS(0,9), BS1
// BITS(16,19), BS2 BITS(20,22), SJW BITS(24,25), LCMOD BIT(30), SCMOD BIT(31); each
// length one less (CAN_BT_BS1_1TQ is 0x00).
inline constexpr RegisterField kGd32CanBtFields[] = {
    {"BAUDPSC", 0, 10, FieldRole::kPrescaler, Stored::kLessOne},
    {"BS1", 16, 4, FieldRole::kSeg1, Stored::kLessOne},
    {"BS2", 20, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"SJW", 24, 2, FieldRole::kSjw, Stored::kLessOne},
    {"LCMOD", 30, 1, FieldRole::kFlag, Stored::kValue},  // loop-back communication mode
    {"SCMOD", 31, 1, FieldRole::kFlag, Stored::kValue},  // silent communication mode
};
inline constexpr Register kGd32CanBt = MakeRegister("CAN_BT", 32, kGd32CanBtFields);

// The GD32E508's CAN FD (GD32E50x firmware library, gd32e50x_can.h, under GD32E508):
// CAN_BT keeps bxCAN's places and adds the upper bits of each segment beside them,
// BS1[6:4] in BITS(10,12) and BS2[4:3] in BITS(13,14), and a 5-bit SJW in BITS(24,28);
// the data phase's CAN_DBT has DBAUDPSC BITS(0,9), DBS1 BITS(16,19), DBS2 BITS(20,22),
// DSJW BITS(24,26). Each length one less.
inline constexpr RegisterField kGd32FdCanBtFields[] = {
    {"BAUDPSC", 0, 10, FieldRole::kPrescaler, Stored::kLessOne},
    {"BS1_6_4", 10, 3, FieldRole::kSeg1, Stored::kLessOne, 4},
    {"BS2_4_3", 13, 2, FieldRole::kSeg2, Stored::kLessOne, 3},
    {"BS1_3_0", 16, 4, FieldRole::kSeg1, Stored::kLessOne},
    {"BS2_2_0", 20, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"SJW", 24, 5, FieldRole::kSjw, Stored::kLessOne},
    {"LCMOD", 30, 1, FieldRole::kFlag, Stored::kValue},
    {"SCMOD", 31, 1, FieldRole::kFlag, Stored::kValue},
};
inline constexpr Register kGd32FdCanBt = MakeRegister("CAN_BT", 32, kGd32FdCanBtFields);
inline constexpr RegisterField kGd32FdCanDbtFields[] = {
    {"DBAUDPSC", 0, 10, FieldRole::kPrescaler, Stored::kLessOne},
    {"DBS1", 16, 4, FieldRole::kSeg1, Stored::kLessOne},
    {"DBS2", 20, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"DSJW", 24, 3, FieldRole::kSjw, Stored::kLessOne},
};
inline constexpr Register kGd32FdCanDbt = MakeRegister("CAN_DBT", 32, kGd32FdCanDbtFields);

// The GD32H7's CAN, a FlexCAN-like core (gd32h7xx_can.h, GD32H7xx firmware V1.2.0):
// CAN_BT PBS2 BITS(0,4), PBS1 BITS(5,9), PTS BITS(10,15), SJW BITS(16,20), BAUDPSC
// BITS(21,30), each one less (gd32h7xx_can.c can_init: "prop_time_segment: 1~64");
// CAN_FDBT DPBS2 BITS(0,2), DPBS1 BITS(5,7), DPTS BITS(10,14), DSJW BITS(16,18),
// DBAUDPSC BITS(20,29), each one less but DPTS, which can_fd_config writes as it is
// ("prop_time_segment: 0~31", FDBT_DPTS(prop_time_segment)).
inline constexpr RegisterField kGd32h7CanBtFields[] = {
    {"PBS2", 0, 5, FieldRole::kSeg2, Stored::kLessOne},
    {"PBS1", 5, 5, FieldRole::kPhase1, Stored::kLessOne},
    {"PTS", 10, 6, FieldRole::kProp, Stored::kLessOne},
    {"SJW", 16, 5, FieldRole::kSjw, Stored::kLessOne},
    {"BAUDPSC", 21, 10, FieldRole::kPrescaler, Stored::kLessOne},
};
inline constexpr Register kGd32h7CanBt = MakeRegister("CAN_BT", 32, kGd32h7CanBtFields);
inline constexpr RegisterField kGd32h7CanFdbtFields[] = {
    {"DPBS2", 0, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"DPBS1", 5, 3, FieldRole::kPhase1, Stored::kLessOne},
    {"DPTS", 10, 5, FieldRole::kProp, Stored::kValue},
    {"DSJW", 16, 3, FieldRole::kSjw, Stored::kLessOne},
    {"DBAUDPSC", 20, 10, FieldRole::kPrescaler, Stored::kLessOne},
};
inline constexpr Register kGd32h7CanFdbt = MakeRegister("CAN_FDBT", 32, kGd32h7CanFdbtFields);
