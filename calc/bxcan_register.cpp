#include "calc/bxcan_register.h"

static_assert(ReservedBits(kCanBtr) == 0x3C80FC00u, "CAN_BTR reserves bits 10 to 15, 23 and 26 to 29");
static_assert(kLoopBackBit == 0x40000000u && kSilentBit == 0x80000000u, "LBKM is bit 30, SILM bit 31");

DecodedLengths DecodeBxCanBitTiming(uint32_t value) { return DecodeLengths(value, kCanBtr); }
