// Espressif's TWAI bit-timing registers, one SJA1000 byte per 32-bit word, in the
// widths of the ESP32, the ESP32-S3/C3 and the ESP32-S2/C6.
// Each group says where its layout is written down. "Not checked against the manual":
// the layout is the Linux driver's (or a quotation of the vendor's), the vendor's own
// section was not read.
#pragma once

#include "calc/register_layout.h"

// ---- Espressif TWAI: TWAI_BUS_TIMING_0_REG, TWAI_BUS_TIMING_1_REG ----
// ESP-IDF twai_ll.h twai_ll_set_bus_timing: "brp = (brp / 2) - 1", sjw - 1, tseg1 - 1,
// tseg2 - 1, sam; one SJA1000 byte per 32-bit word. The S3/C3 twai_struct.h: "brp: 13;
// /* BTR0[12:0] */ reserved13: 1; sjw: 2; /* BTR0[15:14] */". The S2/C6 BRP width of
// 14 bits follows from SOC_TWAI_BRP_MAX 32768, not checked against the manual.
inline constexpr RegisterField kEsp32Btr0Fields[] = {
    {"BRP", 0, 6, FieldRole::kPrescaler, Stored::kHalfLessOne},
    {"SJW", 6, 2, FieldRole::kSjw, Stored::kLessOne},
};
inline constexpr Register kEsp32Btr0 = MakeRegister("TWAI_BUS_TIMING_0_REG", 32, kEsp32Btr0Fields);
inline constexpr RegisterField kEsp32s3Btr0Fields[] = {
    {"BRP", 0, 13, FieldRole::kPrescaler, Stored::kHalfLessOne},
    {"SJW", 14, 2, FieldRole::kSjw, Stored::kLessOne},
};
inline constexpr Register kEsp32s3Btr0 = MakeRegister("TWAI_BUS_TIMING_0_REG", 32, kEsp32s3Btr0Fields);
inline constexpr RegisterField kEsp32s2Btr0Fields[] = {
    {"BRP", 0, 14, FieldRole::kPrescaler, Stored::kHalfLessOne},
    {"SJW", 14, 2, FieldRole::kSjw, Stored::kLessOne},
};
inline constexpr Register kEsp32s2Btr0 = MakeRegister("TWAI_BUS_TIMING_0_REG", 32, kEsp32s2Btr0Fields);
inline constexpr RegisterField kEsp32Btr1Fields[] = {
    {"TSEG1", 0, 4, FieldRole::kSeg1, Stored::kLessOne},
    {"TSEG2", 4, 3, FieldRole::kSeg2, Stored::kLessOne},
    {"SAM", 7, 1, FieldRole::kFlag, Stored::kValue},
};
inline constexpr Register kEsp32Btr1 = MakeRegister("TWAI_BUS_TIMING_1_REG", 32, kEsp32Btr1Fields);
