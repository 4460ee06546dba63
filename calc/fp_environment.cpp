#include "calc/fp_environment.h"

#include <cstdint>

#if defined(__i386__) || defined(__x86_64__)

namespace {

// x87: all six exceptions masked (bits 0-5), precision control 11 = 64-bit
// significand (bits 8-9), rounding control 00 = to nearest (bits 10-11).
constexpr uint16_t kX87ControlWord = 0x037F;
constexpr uint16_t kX87Mask = 0x0F3F;
// SSE: all six exceptions masked (bits 7-12), round to nearest, no flush to zero and
// no denormals-are-zero, so single and double results are the IEEE ones.
constexpr uint32_t kMxcsr = 0x1F80;
constexpr uint32_t kMxcsrMask = 0xFFC0;

uint16_t ReadX87() {
  uint16_t word;
  __asm__ volatile("fnstcw %0" : "=m"(word));
  return word;
}

uint32_t ReadMxcsr() {
  uint32_t word;
  __asm__ volatile("stmxcsr %0" : "=m"(word));
  return word;
}

}  // namespace

void SetFloatEnvironment() {
  uint16_t x87 = kX87ControlWord;
  __asm__ volatile("fnclex\n\tfldcw %0" : : "m"(x87));
  uint32_t mxcsr = kMxcsr;
  __asm__ volatile("ldmxcsr %0" : : "m"(mxcsr));
}

bool FloatEnvironmentIsSet() {
  return (ReadX87() & kX87Mask) == (kX87ControlWord & kX87Mask) && (ReadMxcsr() & kMxcsrMask) == kMxcsr;
}

#else

// Elsewhere only the double and float units are used (the 64-bit steps are done in
// integers), and their default is the environment wanted: round to nearest, every
// exception masked. Set the rounding all the same; an arm64 or WebAssembly processor
// does not trap unless a program enables it, and on arm64 flush-to-zero stays off.
#include <cfenv>

void SetFloatEnvironment() { std::fesetround(FE_TONEAREST); }

bool FloatEnvironmentIsSet() { return std::fegetround() == FE_TONEAREST; }

#endif
