// ToText and FormatDouble/FormatFloat/FormatInt of arbitrary bit patterns: the same
// bytes both ways, shorter than kMaxNumberText, only the characters a number text
// uses, and read back by ToFloat/ToInt to within the digits written.
#include "calc/text.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckCharacters(const char* text, int length) {
  Check(length > 0 && length < kMaxNumberText && static_cast<int>(std::strlen(text)) == length);
  for (const char* p = text; *p != 0; ++p) Check(std::strchr("0123456789.-+e#INFDQAS", *p) != nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 16) return 0;
  uint64_t doubleBits;
  uint32_t floatBits;
  int32_t integer;
  std::memcpy(&doubleBits, data, 8);
  std::memcpy(&floatBits, data + 8, 4);
  std::memcpy(&integer, data + 12, 4);
  double d;
  float f;
  std::memcpy(&d, &doubleBits, 8);
  std::memcpy(&f, &floatBits, 4);
  char buffer[kMaxNumberText];

  int length = FormatDouble(d, buffer);
  CheckCharacters(buffer, length);
  Check(std::strcmp(ToText(d).get(), buffer) == 0);
  double magnitude = std::fabs(d);
  if (std::isfinite(d) && magnitude > 1e-37 && magnitude < 1e38) {
    // 13 digits, then the nearest float: one float step of the value at most.
    double back = ToFloat(buffer);
    Check(std::fabs(back - d) <= magnitude * 0x1p-23);
  }

  length = FormatFloat(f, buffer);
  CheckCharacters(buffer, length);
  Check(std::strcmp(ToText(f).get(), buffer) == 0);
  if (std::isfinite(f)) {
    // Six digits: within half a unit of the sixth digit (and a hair for the double
    // rounding), plus one float step for reading back.
    double back = ToFloat(buffer);
    double value = f;
    double step = std::fabs(value) * 0x1p-23 + 0x1p-149;
    Check(std::fabs(back - value) <= std::fabs(value) * 5.0001e-6 + step);
  }

  length = FormatInt(integer, buffer);
  CheckCharacters(buffer, length);
  Check(std::strcmp(ToText(integer).get(), buffer) == 0);
  Check(ToInt(buffer) == integer);
  return 0;
}
