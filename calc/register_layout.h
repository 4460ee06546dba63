// A register described as data, the way a vendor's SVD file describes one: its name,
// its width and its fields (name, first bit, width, what the field holds and whether
// it stores the number itself or one less). Encoding, decoding, the reserved bits and
// the ranges a field can hold all follow from that description; the registers
// themselves are rows of calc/can_registers.h.
#pragma once

#include <cstdint>

#include "calc/timing_setting.h"

// One setting by its lengths: the prescaler divisor, seg1 (BS1), seg2 (BS2) and SJW,
// in quanta.
struct BitTimingLengths {
  int32_t prescaler;
  int32_t seg1;
  int32_t seg2;
  int32_t sjw;
};

// What a field holds: one of the setting's lengths, or a one-bit setting beside them
// (a mode, TDC) that the register keeps and the lengths do not.
enum class FieldRole { kPrescaler, kSeg1, kSeg2, kSjw, kFlag };

// How a field holds its number: as it is, or one less (a length of n quanta as n - 1,
// the way most controllers save a value that is never 0).
enum class Stored { kValue, kLessOne };

struct RegisterField {
  const char* name;  // the reference manual's: "BRP", "NTSEG1", "LBKM"
  int firstBit;      // the lowest bit
  int width;         // in bits
  FieldRole role;
  Stored stored;
};

struct Register {
  const char* name;  // "CAN_BTR"
  int bits;          // the register's width: 32, or 8 for a byte-wide controller
  const RegisterField* fields;
  int fieldCount;
};

constexpr uint32_t FieldMask(const RegisterField& field) {
  return static_cast<uint32_t>(((uint64_t{1} << field.width) - 1) << field.firstBit);
}

// The bits that belong to no field: a value with one of them set is no value the
// peripheral takes.
constexpr uint32_t ReservedBits(const Register& reg) {
  uint32_t used = 0;
  for (int i = 0; i < reg.fieldCount; ++i) used |= FieldMask(reg.fields[i]);
  const uint32_t all = static_cast<uint32_t>((uint64_t{1} << reg.bits) - 1);
  return all & ~used;
}

// The field that holds role's length; null for kFlag or a role the register lacks.
constexpr const RegisterField* LengthField(const Register& reg, FieldRole role) {
  if (role == FieldRole::kFlag) return nullptr;
  for (int i = 0; i < reg.fieldCount; ++i)
    if (reg.fields[i].role == role) return &reg.fields[i];
  return nullptr;
}

// The mask of the flag named name ("LBKM"); 0 when the register has none by that name.
constexpr uint32_t FlagMask(const Register& reg, const char* name) {
  for (int i = 0; i < reg.fieldCount; ++i) {
    const RegisterField& field = reg.fields[i];
    if (field.role != FieldRole::kFlag) continue;
    const char* a = field.name;
    const char* b = name;
    while (*a != 0 && *a == *b) ++a, ++b;
    if (*a == *b) return FieldMask(field);
  }
  return 0;
}

// Every flag's mask together.
constexpr uint32_t FlagBits(const Register& reg) {
  uint32_t flags = 0;
  for (int i = 0; i < reg.fieldCount; ++i)
    if (reg.fields[i].role == FieldRole::kFlag) flags |= FieldMask(reg.fields[i]);
  return flags;
}

// The numbers a field can hold: 1 to 2^width for one stored less one, 0 to
// 2^width - 1 for one stored as it is.
constexpr FieldRange FieldValues(const RegisterField& field) {
  const int32_t count = static_cast<int32_t>(int64_t{1} << field.width);
  return field.stored == Stored::kLessOne ? FieldRange{1, count} : FieldRange{0, count - 1};
}

// The lengths role can take in reg (its field's values); {0, -1} when reg has no
// such field.
constexpr FieldRange LengthRange(const Register& reg, FieldRole role) {
  const RegisterField* field = LengthField(reg, role);
  return field != nullptr ? FieldValues(*field) : FieldRange{0, -1};
}

// The value of lengths: each length in its field, stored as the field says; a length
// outside the field is cut to the field's width. No flag is set.
uint32_t EncodeLengths(const BitTimingLengths& lengths, const Register& reg);

// What a value sets, whatever its other bits hold: every value decodes. A length the
// register has no field for reads 0.
struct DecodedLengths {
  BitTimingLengths lengths;
  uint32_t flagBits;      // the register's flags that are set
  uint32_t reservedBits;  // the set bits that belong to no field; 0 for a valid value
};
DecodedLengths DecodeLengths(uint32_t value, const Register& reg);
