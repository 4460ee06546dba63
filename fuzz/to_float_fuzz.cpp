// ToFloat on arbitrary bytes: it must equal glibc's correctly rounded strtod, cast to
// float, of the longest number prefix of the folded text (with "d" read as "e"), and
// must read the folded text the same as the raw one.
#include "calc/text.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The number prefix of a folded text, blanks skipped, in strtod's own grammar.
std::string NumberPrefix(const char* p) {
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  std::string number;
  if (*p == '+' || *p == '-') number += *p++;
  int digits = 0;
  while (IsDigit(*p)) number += *p++, ++digits;
  if (*p == '.') {
    number += *p++;
    while (IsDigit(*p)) number += *p++, ++digits;
  }
  if (digits == 0) return "0";
  if (*p == 'e' || *p == 'E' || *p == 'd' || *p == 'D') {
    std::string exponent = "e";
    const char* q = p + 1;
    if (*q == '+' || *q == '-') exponent += *q++;
    if (IsDigit(*q)) {
      while (IsDigit(*q)) exponent += *q++;
      number += exponent;
    }
  }
  return number;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  text = text.c_str();
  float value = ToFloat(text.c_str());
  if (value != value) std::abort();  // never a not-a-number

  Text folded = FoldFullWidth(text.c_str());
  float again = ToFloat(folded.get());
  if (std::memcmp(&value, &again, sizeof value) != 0) std::abort();

  std::string number = NumberPrefix(folded.get());
  float expected = static_cast<float>(std::strtod(number.c_str(), nullptr));
  if (number == "0") expected = 0.0f;  // no number at all gives +0
  if (std::memcmp(&value, &expected, sizeof value) != 0) std::abort();
  return 0;
}
