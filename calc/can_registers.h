// Every bit-timing register Quillmere writes, as data: the one place their fields are
// written down. Encoding, decoding, the reserved-bit refusal, the mode and TDC bits and
// the largest length a search may list all read these rows; a test checks that the
// layouts the help text and the manuals print agree with them.
#pragma once

#include "calc/register_layout.h"

// bxCAN's CAN_BTR (STM32 reference manuals, "CAN bit timing register").
inline constexpr RegisterField kCanBtrFields[] = {
    {"BRP", 0, 10, FieldRole::kPrescaler, Stored::kLessOne},
    {"TS1", 16, 4, FieldRole::kSeg1, Stored::kLessOne},
    {"TS2", 20, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"SJW", 24, 2, FieldRole::kSjw, Stored::kLessOne},
    {"LBKM", 30, 1, FieldRole::kFlag, Stored::kValue},  // loop-back mode
    {"SILM", 31, 1, FieldRole::kFlag, Stored::kValue},  // silent mode
};
inline constexpr Register kCanBtr{"CAN_BTR", 32, kCanBtrFields, sizeof kCanBtrFields / sizeof kCanBtrFields[0]};

// FDCAN's nominal bit timing and prescaler register NBTP.
inline constexpr RegisterField kNbtpFields[] = {
    {"NTSEG2", 0, 7, FieldRole::kSeg2, Stored::kLessOne},
    {"NTSEG1", 8, 8, FieldRole::kSeg1, Stored::kLessOne},
    {"NBRP", 16, 9, FieldRole::kPrescaler, Stored::kLessOne},
    {"NSJW", 25, 7, FieldRole::kSjw, Stored::kLessOne},
};
inline constexpr Register kNbtp{"NBTP", 32, kNbtpFields, sizeof kNbtpFields / sizeof kNbtpFields[0]};

// FDCAN's data bit timing and prescaler register DBTP.
inline constexpr RegisterField kDbtpFields[] = {
    {"DSJW", 0, 4, FieldRole::kSjw, Stored::kLessOne},
    {"DTSEG2", 4, 4, FieldRole::kSeg2, Stored::kLessOne},
    {"DTSEG1", 8, 5, FieldRole::kSeg1, Stored::kLessOne},
    {"DBRP", 16, 5, FieldRole::kPrescaler, Stored::kLessOne},
    {"TDC", 23, 1, FieldRole::kFlag, Stored::kValue},  // transmitter delay compensation
};
inline constexpr Register kDbtp{"DBTP", 32, kDbtpFields, sizeof kDbtpFields / sizeof kDbtpFields[0]};

// The rows above, for whatever walks them all (the layout test, a controller list).
inline constexpr const Register* kCanRegisters[] = {&kCanBtr, &kNbtp, &kDbtp};
