// A register described as data, the way a vendor's SVD file describes one: its name,
// its width and its fields (name, first bit, width, what the field holds and whether
// it stores the number itself or one less). Encoding, decoding, the reserved bits and
// the ranges a field can hold all follow from that description; the registers
// themselves are rows of the vendors' files that calc/registers.h gathers.
#pragma once

#include <cstdint>

#include "calc/timing_setting.h"

// One setting by its lengths: the prescaler divisor, seg1 (BS1), seg2 (BS2) and SJW,
// in quanta. Where a controller keeps seg1 in two fields, prop + phase1 = seg1 (the
// split of calc/controllers.h); elsewhere both are 0 and nothing reads them.
struct BitTimingLengths {
  int32_t prescaler;
  int32_t seg1;
  int32_t seg2;
  int32_t sjw;
  int32_t prop = 0;    // the propagation segment's field
  int32_t phase1 = 0;  // phase segment 1's field
};

// What a field holds: one of the setting's lengths, a one-bit setting beside them
// (a mode, TDC) that the register keeps and the lengths do not, or a field that must
// hold one value for the lengths to mean what they say (the MCP2515's BTLMODE = 1:
// with 0 its PHSEG2 is ignored).
// kTdcOffset: a transmitter delay compensation offset kept beside the lengths; the
// lengths neither write nor read it.
enum class FieldRole { kPrescaler, kSeg1, kSeg2, kSjw, kProp, kPhase1, kFlag, kFixed, kTdcOffset };

// How a field holds its number: as it is, one less (a length of n quanta as n - 1,
// the way most controllers save a value that is never 0), or, for a prescaler that
// counts pairs of oscillator periods (MCP2515, SJA1000, ESP32), divider / 2 - 1.
enum class Stored { kValue, kLessOne, kHalfLessOne };

struct RegisterField {
  const char* name;  // the reference manual's: "BRP", "NTSEG1", "LBKM"
  int firstBit;      // the lowest bit
  int width;         // in bits
  FieldRole role;
  Stored stored;
  // The field holds bits valueShift and up of the stored number: a number split
  // across two fields (C_CAN's BRP holds bits 0-5 of prescaler - 1, BRPE bits 6-9).
  int valueShift = 0;
  uint32_t fixedValue = 0;  // kFixed: what the field must hold
};

struct Register {
  const char* name;  // "CAN_BTR"
  int bits;          // the register's width: 32, or 8 for a byte-wide controller
  const RegisterField* fields;
  int fieldCount;
};

// A register row of its name, width and field array, the count taken from the array.
template <int kCount>
constexpr Register MakeRegister(const char* name, int bits, const RegisterField (&fields)[kCount]) {
  return Register{name, bits, fields, kCount};
}

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

// The field that holds role's length (its lowest part where it is split); null for
// kFlag, kFixed or a role the register lacks.
constexpr const RegisterField* LengthField(const Register& reg, FieldRole role) {
  if (role == FieldRole::kFlag || role == FieldRole::kFixed || role == FieldRole::kTdcOffset) return nullptr;
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
// 2^width - 1 for one stored as it is, 2 to 2^(width+1) (even) for a halved divider.
constexpr FieldRange FieldValues(const RegisterField& field) {
  const int32_t count = static_cast<int32_t>(int64_t{1} << field.width);
  if (field.stored == Stored::kHalfLessOne) return FieldRange{2, 2 * count};
  return field.stored == Stored::kLessOne ? FieldRange{1, count} : FieldRange{0, count - 1};
}

// The bits of reg's kFixed fields, each holding its fixedValue.
constexpr uint32_t FixedBits(const Register& reg) {
  uint32_t bits = 0;
  for (int i = 0; i < reg.fieldCount; ++i)
    if (reg.fields[i].role == FieldRole::kFixed) bits |= (reg.fields[i].fixedValue << reg.fields[i].firstBit) & FieldMask(reg.fields[i]);
  return bits;
}

// The lengths role can take in reg (its field's values); {0, -1} when reg has no
// such field.
constexpr FieldRange LengthRange(const Register& reg, FieldRole role) {
  const RegisterField* field = LengthField(reg, role);
  return field != nullptr ? FieldValues(*field) : FieldRange{0, -1};
}

// The value of lengths: each length in its field (or its part of it), stored as the
// field says, and each kFixed field's value; a length outside the field is cut to the
// field's width. No flag is set.
uint32_t EncodeLengths(const BitTimingLengths& lengths, const Register& reg);

// The value of a TDC offset in reg's kTdcOffset field, stored as the field says and
// cut to its width, with reg's kFixed fields; 0 in the offset's place where reg has
// no such field. No flag is set.
uint32_t EncodeTdcOffset(int32_t offset, const Register& reg);

// What a value sets, whatever its other bits hold: every value decodes. A length the
// register has no field for reads 0; where the register has prop and phase1 fields
// and no seg1 field, seg1 is their sum.
struct DecodedLengths {
  BitTimingLengths lengths;
  uint32_t flagBits;      // the register's flags that are set
  uint32_t reservedBits;  // the set bits that belong to no field; 0 for a valid value
};
DecodedLengths DecodeLengths(uint32_t value, const Register& reg);

// The lengths that count registers hold together, values[i] being registers[i]'s: a
// number split across registers (C_CAN's BRP and BRPE) is put together before it is
// read. No register's reserved bits or kFixed fields are checked here (ReservedBits,
// FixedBits).
BitTimingLengths DecodeRegisterSet(const uint32_t* values, const Register* const* registers, int count);
