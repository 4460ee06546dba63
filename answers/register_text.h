// Register values and their bits as the answers write them.
#pragma once

#include <cstdint>
#include <string>

// "0x" and eight hex digits, upper case: "0x001A0005".
std::string RegisterText(uint32_t value);
// CAN_BTR's mode bits by name: "normal", "loop-back", "silent" or "loop-back+silent".
const char* ModeName(uint32_t modeBits);
// The numbers of the set bits, ascending, as "10, 11, 23"; empty when none.
std::string BitList(uint32_t bits);
