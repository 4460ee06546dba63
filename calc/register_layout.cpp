#include "calc/register_layout.h"

namespace {

uint32_t Put(int32_t length, RegisterField field) {
  return ((static_cast<uint32_t>(length) - 1) << field.shift) & FieldMask(field);
}

int32_t Get(uint32_t value, RegisterField field) {
  return static_cast<int32_t>((value & FieldMask(field)) >> field.shift) + 1;
}

}  // namespace

uint32_t EncodeLengths(const BitTimingLengths& lengths, const RegisterLayout& layout) {
  return Put(lengths.prescaler, layout.prescaler) | Put(lengths.seg1, layout.seg1) | Put(lengths.seg2, layout.seg2) |
         Put(lengths.sjw, layout.sjw);
}

DecodedLengths DecodeLengths(uint32_t value, const RegisterLayout& layout) {
  DecodedLengths decoded;
  decoded.lengths = BitTimingLengths{Get(value, layout.prescaler), Get(value, layout.seg1), Get(value, layout.seg2),
                                     Get(value, layout.sjw)};
  decoded.flagBits = value & layout.flags;
  decoded.reservedBits = value & ReservedBits(layout);
  return decoded;
}
