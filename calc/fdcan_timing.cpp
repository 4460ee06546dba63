// FDCAN bit timing: the shared search over the FDCAN ranges, and the NBTP and DBTP
// registers described as data (register_layout.h).
#include "calc/fdcan_timing.h"

namespace {

// NBTP: NSJW 31:25, NBRP 24:16, NTSEG1 15:8, bit 7 reserved, NTSEG2 6:0.
constexpr RegisterLayout kNbtpLayout{{16, 9}, {8, 8}, {0, 7}, {25, 7}, 0};
// DBTP: bits 31:24 reserved, TDC 23, 22:21 reserved, DBRP 20:16, 15:13 reserved,
// DTSEG1 12:8, DTSEG2 7:4, DSJW 3:0.
constexpr RegisterLayout kDbtpLayout{{16, 5}, {8, 5}, {4, 4}, {0, 4}, uint32_t{1} << 23};

DecodedBitTiming Decode(uint32_t value, const RegisterLayout& layout) {
  const DecodedLengths fields = DecodeLengths(value, layout);
  return DecodedBitTiming{fields.lengths, fields.reservedBits, fields.flagBits != 0};
}

}  // namespace

bool FdcanNominalSearch(const TimingRequest& request, const TimingSink& sink) {
  return SearchBitTimings(kFdcanNominalRanges, request, PrescalerScan::kRateWindow, sink);
}

bool FdcanDataSearch(const TimingRequest& request, const TimingSink& sink) {
  return SearchBitTimings(kFdcanDataRanges, request, PrescalerScan::kRateWindow, sink);
}

int32_t DefaultSyncJumpWidth(const TimingCandidate& record, const TimingRanges& ranges) {
  const int32_t seg1 = record.bs1Code + 1;
  const int32_t seg2 = record.bs2Code + 1;
  const int32_t shorter = seg1 < seg2 ? seg1 : seg2;
  return shorter < ranges.sjw.last ? shorter : ranges.sjw.last;
}

FdcanBitTiming FdcanTimingOf(const TimingCandidate& record, int32_t sjw) {
  return FdcanBitTiming{record.prescaler, record.bs1Code + 1, record.bs2Code + 1, sjw};
}

uint32_t NominalBitTimingRegister(const FdcanBitTiming& timing) { return EncodeLengths(timing, kNbtpLayout); }

uint32_t DataBitTimingRegister(const FdcanBitTiming& timing) { return EncodeLengths(timing, kDbtpLayout); }

DecodedBitTiming DecodeNominalBitTiming(uint32_t nbtp) { return Decode(nbtp, kNbtpLayout); }

DecodedBitTiming DecodeDataBitTiming(uint32_t dbtp) { return Decode(dbtp, kDbtpLayout); }
