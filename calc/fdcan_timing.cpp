// FDCAN bit timing: the NBTP and DBTP registers read from their rows in can_registers.h.
#include "calc/fdcan_timing.h"

static_assert(kFdcanNominalRanges.prescaler.last == 512 && kFdcanNominalRanges.seg1.last == 256 &&
                  kFdcanNominalRanges.seg2.last == 128 && kFdcanNominalRanges.sjw.last == 128,
              "NBTP holds prescalers to 512, seg1 to 256, seg2 and SJW to 128");
static_assert(kFdcanDataRanges.prescaler.last == 32 && kFdcanDataRanges.seg1.last == 32 &&
                  kFdcanDataRanges.seg2.last == 16 && kFdcanDataRanges.sjw.last == 16,
              "DBTP holds prescalers and seg1 to 32, seg2 and SJW to 16");
static_assert(kTdcBit == 1u << 23, "DBTP's TDC is bit 23");

namespace {

DecodedBitTiming Decode(uint32_t value, const Register& layout) {
  const DecodedLengths fields = DecodeLengths(value, layout);
  return DecodedBitTiming{fields.lengths, fields.reservedBits, fields.flagBits != 0};
}

}  // namespace

uint32_t NominalBitTimingRegister(const FdcanBitTiming& timing) { return EncodeLengths(timing, kNbtp); }

uint32_t DataBitTimingRegister(const FdcanBitTiming& timing) { return EncodeLengths(timing, kDbtp); }

DecodedBitTiming DecodeNominalBitTiming(uint32_t nbtp) { return Decode(nbtp, kNbtp); }

DecodedBitTiming DecodeDataBitTiming(uint32_t dbtp) { return Decode(dbtp, kDbtp); }
