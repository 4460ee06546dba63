// Register values and their bits as the answers write them.
#pragma once

#include <cstdint>
#include <string>

// "0x" and eight hex digits, upper case: "0x001A0005".
std::string RegisterText(uint32_t value);
// "0x" and as many hex digits as a register of bits has: "0xC4" (8), "0x001A0005" (32).
std::string RegisterText(uint32_t value, int bits);
// CAN_BTR's mode bits by name: "normal", "loop-back", "silent" or "loop-back+silent".
const char* ModeName(uint32_t modeBits);
// The numbers of the set bits, ascending, as "10, 11, 23"; empty when none.
std::string BitList(uint32_t bits);
