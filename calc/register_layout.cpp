#include "calc/register_layout.h"

namespace {

uint32_t Put(int32_t length, const RegisterField& field) {
  const uint32_t stored = static_cast<uint32_t>(length) - (field.stored == Stored::kLessOne ? 1u : 0u);
  return (stored << field.firstBit) & FieldMask(field);
}

int32_t Get(uint32_t value, const RegisterField& field) {
  return static_cast<int32_t>((value & FieldMask(field)) >> field.firstBit) + (field.stored == Stored::kLessOne ? 1 : 0);
}

int32_t* LengthOf(BitTimingLengths& lengths, FieldRole role) {
  switch (role) {
    case FieldRole::kPrescaler: return &lengths.prescaler;
    case FieldRole::kSeg1: return &lengths.seg1;
    case FieldRole::kSeg2: return &lengths.seg2;
    case FieldRole::kSjw: return &lengths.sjw;
    default: return nullptr;
  }
}

}  // namespace

uint32_t EncodeLengths(const BitTimingLengths& lengths, const Register& reg) {
  BitTimingLengths copy = lengths;
  uint32_t value = 0;
  for (int i = 0; i < reg.fieldCount; ++i) {
    const int32_t* length = LengthOf(copy, reg.fields[i].role);
    if (length != nullptr) value |= Put(*length, reg.fields[i]);
  }
  return value;
}

DecodedLengths DecodeLengths(uint32_t value, const Register& reg) {
  DecodedLengths decoded{{0, 0, 0, 0}, value & FlagBits(reg), value & ReservedBits(reg)};
  for (int i = 0; i < reg.fieldCount; ++i) {
    int32_t* length = LengthOf(decoded.lengths, reg.fields[i].role);
    if (length != nullptr) *length = Get(value, reg.fields[i]);
  }
  return decoded;
}
