// ToInt on arbitrary bytes: it must equal a plain reading of FoldFullWidth's text
// (blanks, one sign, digits wrapping modulo 2^32), whatever the bytes.
#include "calc/text.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  text = text.c_str();  // up to the first zero byte, as the program sees a text
  int32_t value = ToInt(text.c_str());

  Text folded = FoldFullWidth(text.c_str());
  const char* p = folded.get();
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  bool negative = *p == '-';
  if (*p == '+' || *p == '-') ++p;
  uint64_t wrapped = 0;
  for (; *p >= '0' && *p <= '9'; ++p) wrapped = (wrapped * 10 + static_cast<uint64_t>(*p - '0')) % 4294967296u;
  if (negative) wrapped = (4294967296u - wrapped) % 4294967296u;
  int64_t expected = wrapped >= 2147483648u ? static_cast<int64_t>(wrapped) - 4294967296 : static_cast<int64_t>(wrapped);
  if (value != expected) std::abort();
  if (ToInt(folded.get()) != value) std::abort();
  return 0;
}
