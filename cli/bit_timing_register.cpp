#include "cli/bit_timing_register.h"

uint32_t BitTimingRegister(const TimingCandidate& record, int32_t sjw) {
  // SJW is bits 25:24, TS2 bits 22:20, TS1 bits 19:16, BRP bits 9:0.
  return (static_cast<uint32_t>(sjw - 1) & 0x3u) << 24 | (static_cast<uint32_t>(record.bs2Code) & 0x7u) << 20 |
         (static_cast<uint32_t>(record.bs1Code) & 0xFu) << 16 | (static_cast<uint32_t>(record.prescaler - 1) & 0x3FFu);
}

std::string RegisterText(uint32_t value) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text = "0x";
  for (int i = 0; i < 8; ++i) text += kDigits[(value >> (28 - 4 * i)) & 15];
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

DecodedRegister DecodeRegister(uint32_t value, int32_t clockKHz, float targetRate) {
  DecodedRegister decoded{};
  const int32_t bs1Code = static_cast<int32_t>(value >> 16 & 0xFu);
  const int32_t bs2Code = static_cast<int32_t>(value >> 20 & 0x7u);
  const int32_t prescaler = static_cast<int32_t>(value & 0x3FFu) + 1;
  decoded.sjw = static_cast<int32_t>(value >> 24 & 0x3u) + 1;
  decoded.modeBits = value & (kLoopBackBit | kSilentBit);

  decoded.setting = ComputedSetting(clockKHz, bs1Code + 1, bs2Code + 1, prescaler, targetRate);
  return decoded;
}
