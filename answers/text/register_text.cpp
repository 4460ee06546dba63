#include "answers/text/register_text.h"

#include "calc/bxcan_register.h"

std::string RegisterText(uint32_t value) { return RegisterText(value, 32); }

std::string RegisterText(uint32_t value, int bits) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text = "0x";
  for (int shift = (bits + 3) / 4 * 4 - 4; shift >= 0; shift -= 4) text += kDigits[(value >> shift) & 15];
  return text;
}

const char* ModeName(uint32_t modeBits) {
  const bool loopBack = (modeBits & kLoopBackBit) != 0;
  const bool silent = (modeBits & kSilentBit) != 0;
  if (loopBack && silent) return "loop-back+silent";
  if (loopBack) return "loop-back";
  return silent ? "silent" : "normal";
}

std::string BitList(uint32_t bits) {
  std::string list;
  for (int bit = 0; bit < 32; ++bit) {
    if ((bits & (1u << bit)) == 0) continue;
    if (!list.empty()) list += ", ";
    list += std::to_string(bit);
  }
  return list;
}
