#include "calc/register_layout.h"

namespace {

// The number a length is stored as, before it is cut into its fields.
uint32_t StoredNumber(int32_t length, Stored stored) {
  const uint32_t value = static_cast<uint32_t>(length);
  switch (stored) {
    case Stored::kValue: return value;
    case Stored::kLessOne: return value - 1u;
    case Stored::kHalfLessOne: return value / 2u - 1u;
  }
  return value;
}

int32_t LengthOfStored(uint32_t number, Stored stored) {
  switch (stored) {
    case Stored::kValue: return static_cast<int32_t>(number);
    case Stored::kLessOne: return static_cast<int32_t>(number) + 1;
    case Stored::kHalfLessOne: return 2 * (static_cast<int32_t>(number) + 1);
  }
  return static_cast<int32_t>(number);
}

uint32_t Put(int32_t length, const RegisterField& field) {
  const uint32_t stored = StoredNumber(length, field.stored) >> field.valueShift;
  return (stored << field.firstBit) & FieldMask(field);
}

int32_t* LengthOf(BitTimingLengths& lengths, FieldRole role) {
  switch (role) {
    case FieldRole::kPrescaler: return &lengths.prescaler;
    case FieldRole::kSeg1: return &lengths.seg1;
    case FieldRole::kSeg2: return &lengths.seg2;
    case FieldRole::kSjw: return &lengths.sjw;
    case FieldRole::kProp: return &lengths.prop;
    case FieldRole::kPhase1: return &lengths.phase1;
    default: return nullptr;
  }
}

// The stored numbers of every length role, gathered from their parts, and how each is
// stored; a role no field holds stays absent.
struct Gathered {
  uint32_t number[6] = {};
  Stored stored[6] = {};
  bool present[6] = {};
};

void Gather(Gathered& gathered, uint32_t value, const Register& reg) {
  for (int i = 0; i < reg.fieldCount; ++i) {
    const RegisterField& field = reg.fields[i];
    if (field.role == FieldRole::kFlag || field.role == FieldRole::kFixed || field.role == FieldRole::kTdcOffset) continue;
    const int k = static_cast<int>(field.role);
    gathered.number[k] |= ((value & FieldMask(field)) >> field.firstBit) << field.valueShift;
    gathered.stored[k] = field.stored;
    gathered.present[k] = true;
  }
}

BitTimingLengths GatheredLengths(const Gathered& gathered) {
  BitTimingLengths lengths{0, 0, 0, 0};
  for (int k = 0; k < 6; ++k) {
    if (!gathered.present[k]) continue;
    *LengthOf(lengths, static_cast<FieldRole>(k)) = LengthOfStored(gathered.number[k], gathered.stored[k]);
  }
  const int seg1 = static_cast<int>(FieldRole::kSeg1);
  const int prop = static_cast<int>(FieldRole::kProp);
  const int phase1 = static_cast<int>(FieldRole::kPhase1);
  if (!gathered.present[seg1] && (gathered.present[prop] || gathered.present[phase1]))
    lengths.seg1 = lengths.prop + lengths.phase1;
  return lengths;
}

}  // namespace

uint32_t EncodeLengths(const BitTimingLengths& lengths, const Register& reg) {
  BitTimingLengths copy = lengths;
  uint32_t value = FixedBits(reg);
  for (int i = 0; i < reg.fieldCount; ++i) {
    const int32_t* length = LengthOf(copy, reg.fields[i].role);
    if (length != nullptr) value |= Put(*length, reg.fields[i]);
  }
  return value;
}

uint32_t EncodeTdcOffset(int32_t offset, const Register& reg) {
  uint32_t value = FixedBits(reg);
  for (int i = 0; i < reg.fieldCount; ++i)
    if (reg.fields[i].role == FieldRole::kTdcOffset) value |= Put(offset, reg.fields[i]);
  return value;
}

DecodedLengths DecodeLengths(uint32_t value, const Register& reg) {
  Gathered gathered;
  Gather(gathered, value, reg);
  return DecodedLengths{GatheredLengths(gathered), value & FlagBits(reg), value & ReservedBits(reg)};
}

BitTimingLengths DecodeRegisterSet(const uint32_t* values, const Register* const* registers, int count) {
  Gathered gathered;
  for (int i = 0; i < count; ++i) Gather(gathered, values[i], *registers[i]);
  return GatheredLengths(gathered);
}
