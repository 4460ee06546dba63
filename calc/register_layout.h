// A bit-timing register described as data: where each length field sits and how wide
// it is, and the one-bit settings beside them. CAN_BTR (bxcan_register.h), NBTP and
// DBTP (fdcan_timing.h) are each one such layout; encoding, decoding and the reserved
// bits all follow from it.
#pragma once

#include <cstdint>

// One setting by its lengths: the prescaler divisor, seg1 (BS1), seg2 (BS2) and SJW,
// in quanta.
struct BitTimingLengths {
  int32_t prescaler;
  int32_t seg1;
  int32_t seg2;
  int32_t sjw;
};

struct RegisterField {
  int shift;
  int width;
};

struct RegisterLayout {
  RegisterField prescaler;
  RegisterField seg1;
  RegisterField seg2;
  RegisterField sjw;
  uint32_t flags;  // the one-bit settings that are not lengths (modes, TDC), or 0
};

constexpr uint32_t FieldMask(RegisterField field) { return ((uint32_t{1} << field.width) - 1) << field.shift; }

// The bits that belong to no field and no flag.
constexpr uint32_t ReservedBits(const RegisterLayout& layout) {
  return ~(FieldMask(layout.prescaler) | FieldMask(layout.seg1) | FieldMask(layout.seg2) | FieldMask(layout.sjw) |
           layout.flags);
}

// Each length stored as length - 1 in its field; a length outside the field is cut to
// the field's width. No flag is set.
uint32_t EncodeLengths(const BitTimingLengths& lengths, const RegisterLayout& layout);

// What a value sets, whatever its other bits hold: every 32-bit value decodes.
struct DecodedLengths {
  BitTimingLengths lengths;
  uint32_t flagBits;      // the layout's flags that are set
  uint32_t reservedBits;  // the set bits that belong to nothing; 0 for a valid value
};
DecodedLengths DecodeLengths(uint32_t value, const RegisterLayout& layout);
