// Artery's bit-timing register: the AT32 CAN's CAN_BTMG.
#pragma once

#include "calc/register_layout.h"

// AT32F403A/407 and AT32F435/437 firmware libraries, at32f4xx_can.h "can btmg register":
// brdiv [11:0], bts1 [19:16], bts2 [22:20], rsaw [25:24], lben [30], loen [31]; each
// length one less (CAN_BTS1_1TQ is 0x00). BRDIV's 12 bits hold dividers to 4096, which
// the AT32F435/437 library takes ("0x001~0x1000") and the AT32F403A/407 one does not
// ("0x001~0x400"): each entry's limits say which.
inline constexpr RegisterField kAt32CanBtmgFields[] = {
    {"BRDIV", 0, 12, FieldRole::kPrescaler, Stored::kLessOne},
    {"BTS1", 16, 4, FieldRole::kSeg1, Stored::kLessOne},
    {"BTS2", 20, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"RSAW", 24, 2, FieldRole::kSjw, Stored::kLessOne},
    {"LBEN", 30, 1, FieldRole::kFlag, Stored::kValue},  // loop back mode
    {"LOEN", 31, 1, FieldRole::kFlag, Stored::kValue},  // listen-only mode
};
inline constexpr Register kAt32CanBtmg = MakeRegister("CAN_BTMG", 32, kAt32CanBtmgFields);
