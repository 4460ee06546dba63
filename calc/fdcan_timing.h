// The FDCAN peripheral's two bit timings: the nominal phase (arbitration, and every
// bit of a classic frame) and the CAN FD data phase. Their ranges (the fdcan entry's
// limits, calc/controllers.cpp, which one search lists), and the decoding of an NBTP
// or DBTP value.
#pragma once

#include "calc/bit_timing_search.h"
#include "calc/registers_bosch.h"

#include <cstdint>

// The ranges the searches list: what NBTP and DBTP can hold (registers_bosch.h), but
// for the nominal segments, which start at 2 quanta: the M_CAN manual gives 1 to 255
// and 1 to 127 as NTSEG1's and NTSEG2's valid field values, and ISO 11898-1 wants
// phase segment 2 of at least 2 quanta in a CAN FD controller. ST allows the field
// value 0, so a decoded NBTP may still hold one.
constexpr TimingRanges kFdcanNominalRanges{LengthRange(kNbtp, FieldRole::kPrescaler),
                                           {2, LengthRange(kNbtp, FieldRole::kSeg1).last},
                                           {2, LengthRange(kNbtp, FieldRole::kSeg2).last},
                                           LengthRange(kNbtp, FieldRole::kSjw), 1, PairFilter{}};
constexpr TimingRanges kFdcanDataRanges{LengthRange(kDbtp, FieldRole::kPrescaler), LengthRange(kDbtp, FieldRole::kSeg1),
                                        LengthRange(kDbtp, FieldRole::kSeg2), LengthRange(kDbtp, FieldRole::kSjw), 1, PairFilter{}};

// DBTP's transmitter delay compensation bit.
constexpr uint32_t kTdcBit = FlagMask(kDbtp, "TDC");

// One setting by its lengths: the prescaler divisor, seg1, seg2 and SJW in quanta.
using FdcanBitTiming = BitTimingLengths;

// A setting's NBTP or DBTP value is EncodeLengths(lengths, kNbtp or kDbtp).

struct DecodedBitTiming {
  FdcanBitTiming timing;
  uint32_t reservedBits;           // the set bits that belong to no field; 0 for a valid value
  bool transceiverDelayCompensation;  // DBTP's TDC bit; always false for NBTP
};

// The fields of an NBTP or DBTP value, whatever its other bits hold. Every 32-bit
// value decodes; reservedBits says whether the peripheral would take it.
DecodedBitTiming DecodeNominalBitTiming(uint32_t nbtp);
DecodedBitTiming DecodeDataBitTiming(uint32_t dbtp);
