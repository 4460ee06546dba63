// FDCAN bit timing: the shared search over the FDCAN ranges, and the NBTP and DBTP
// registers described as data (where each field sits and how wide it is).
#include "calc/fdcan_timing.h"

namespace {

struct FieldSlot {
  int shift;
  int width;
};

struct RegisterLayout {
  FieldSlot prescaler;
  FieldSlot seg1;
  FieldSlot seg2;
  FieldSlot sjw;
  uint32_t flag;  // a one-bit setting that is not a length (DBTP's TDC), or 0
};

// NBTP: NSJW 31:25, NBRP 24:16, NTSEG1 15:8, bit 7 reserved, NTSEG2 6:0.
constexpr RegisterLayout kNbtpLayout{{16, 9}, {8, 8}, {0, 7}, {25, 7}, 0};
// DBTP: bits 31:24 reserved, TDC 23, 22:21 reserved, DBRP 20:16, 15:13 reserved,
// DTSEG1 12:8, DTSEG2 7:4, DSJW 3:0.
constexpr RegisterLayout kDbtpLayout{{16, 5}, {8, 5}, {4, 4}, {0, 4}, uint32_t{1} << 23};

constexpr uint32_t FieldMask(FieldSlot slot) { return ((uint32_t{1} << slot.width) - 1) << slot.shift; }

// A length is stored as length - 1.
uint32_t Put(int32_t length, FieldSlot slot) {
  return ((static_cast<uint32_t>(length) - 1) << slot.shift) & FieldMask(slot);
}

int32_t Get(uint32_t value, FieldSlot slot) { return static_cast<int32_t>((value & FieldMask(slot)) >> slot.shift) + 1; }

uint32_t Encode(const FdcanBitTiming& timing, const RegisterLayout& layout) {
  return Put(timing.prescaler, layout.prescaler) | Put(timing.seg1, layout.seg1) | Put(timing.seg2, layout.seg2) |
         Put(timing.sjw, layout.sjw);
}

DecodedBitTiming Decode(uint32_t value, const RegisterLayout& layout) {
  DecodedBitTiming decoded;
  decoded.timing = FdcanBitTiming{Get(value, layout.prescaler), Get(value, layout.seg1), Get(value, layout.seg2),
                                  Get(value, layout.sjw)};
  const uint32_t used = FieldMask(layout.prescaler) | FieldMask(layout.seg1) | FieldMask(layout.seg2) |
                        FieldMask(layout.sjw) | layout.flag;
  decoded.reservedBits = value & ~used;
  decoded.transceiverDelayCompensation = (value & layout.flag) != 0;
  return decoded;
}

}  // namespace

bool FdcanNominalSearch(const TimingRequest& request, const TimingSink& sink) {
  return SearchBitTimings(kFdcanNominalRanges, request, PrescalerScan::kRateWindow, sink);
}

bool FdcanDataSearch(const TimingRequest& request, const TimingSink& sink) {
  return SearchBitTimings(kFdcanDataRanges, request, PrescalerScan::kRateWindow, sink);
}

int32_t DefaultSyncJumpWidth(const TimingCandidate& record, const TimingRanges& ranges) {
  const int32_t seg2 = record.bs2Code + 1;
  return seg2 < ranges.sjw.last ? seg2 : ranges.sjw.last;
}

FdcanBitTiming FdcanTimingOf(const TimingCandidate& record, int32_t sjw) {
  return FdcanBitTiming{record.prescaler, record.bs1Code + 1, record.bs2Code + 1, sjw};
}

uint32_t NominalBitTimingRegister(const FdcanBitTiming& timing) { return Encode(timing, kNbtpLayout); }

uint32_t DataBitTimingRegister(const FdcanBitTiming& timing) { return Encode(timing, kDbtpLayout); }

DecodedBitTiming DecodeNominalBitTiming(uint32_t nbtp) { return Decode(nbtp, kNbtpLayout); }

DecodedBitTiming DecodeDataBitTiming(uint32_t dbtp) { return Decode(dbtp, kDbtpLayout); }
