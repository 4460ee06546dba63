// The two ways the search forms its extended intermediates, with the same bits:
//   - X87Arithmetic: GCC's long double on x86, the x87 80-bit format with its
//     precision control at 64 bits (fp_environment.h);
//   - PortableArithmetic: ExtendedFloat (extended_float.h), integers only, for every
//     processor.
// The build picks one with QUILLMERE_PORTABLE_ARITHMETIC (cmake/ExtendedPrecision.cmake):
// 0 needs the x87 and is refused at compile time without it; nothing falls back to
// another precision. On x86 both are compiled, so the tests can run them side by side.
//
// The intermediates: the clock divided by the quanta per bit (rounded to 64 bits only),
// that divided by the prescaler (rounded to 64 bits, then to double), and the rate
// test's d - allowed (rounded to 64 bits, compared with the slack).
#pragma once

#include "calc/extended_float.h"

#include <cmath>
#include <cstdint>

#if !defined(QUILLMERE_PORTABLE_ARITHMETIC)
#error "the build sets QUILLMERE_PORTABLE_ARITHMETIC to 0 or 1"
#endif

#if (defined(__i386__) || defined(__x86_64__)) && defined(__LDBL_MANT_DIG__) && __LDBL_MANT_DIG__ == 64
#define QUILLMERE_HAS_X87 1
#else
#define QUILLMERE_HAS_X87 0
#endif

#if !QUILLMERE_PORTABLE_ARITHMETIC && !QUILLMERE_HAS_X87
#error "this target has no x87 80-bit long double: build with QUILLMERE_PORTABLE_ARITHMETIC=ON"
#endif

// The rate test's absolute slack in Kbps: the double nearest 1e-7.
constexpr double kRateSlack = 1e-7;

// Each arithmetic gives:
//   PerBit ClockPerBit(clockKHz, quanta)      clockKHz / quanta, rounded to 64 bits
//   double PerBitToDouble(perBit)              rounded to double
//   Divisor FirstDivisor(prescaler), NextDivisor(divisor), StepDivisor(divisor, step):
//     the prescaler as it counts
//   float Rate(perBit, divisor)                perBit / prescaler to 64 bits, to double, to float
//   bool RatePasses(actualRate, target, allowed): !(|actualRate - target| - allowed > slack),
//     the difference in double, the subtraction in 64 bits; a not-a-number passes.
struct PortableArithmetic {
  using PerBit = ExtendedDividend;
  using Divisor = uint32_t;
  static constexpr const char* kName = "portable";

  static PerBit ClockPerBit(int32_t clockKHz, int32_t quanta) {
    return PrepareDividend(ExtendedQuotient(clockKHz, static_cast<uint32_t>(quanta)));
  }
  static double PerBitToDouble(const PerBit& perBit) { return ExtendedToDouble(perBit.value); }
  static Divisor FirstDivisor(int32_t prescaler) { return static_cast<uint32_t>(prescaler); }
  static void NextDivisor(Divisor& divisor) { ++divisor; }
  static void StepDivisor(Divisor& divisor, Divisor step) { divisor += step; }
  static float Rate(const PerBit& perBit, Divisor divisor) {
    return ExtendedDivideToFloat(perBit, divisor);
  }
  static bool RatePasses(float actualRate, double target, double allowed) {
    const double difference = std::fabs(static_cast<double>(actualRate) - target);
    return !ExtendedGreater(ExtendedDifference(difference, allowed), kRateSlack);
  }
};

#if QUILLMERE_HAS_X87
struct X87Arithmetic {
  using PerBit = long double;
  using Divisor = long double;  // counting in long double spares a conversion per setting
  static constexpr const char* kName = "x87";

  static PerBit ClockPerBit(int32_t clockKHz, int32_t quanta) {
    return static_cast<long double>(clockKHz) / static_cast<long double>(quanta);
  }
  static double PerBitToDouble(PerBit perBit) { return static_cast<double>(perBit); }
  static Divisor FirstDivisor(int32_t prescaler) { return static_cast<long double>(prescaler); }
  static void NextDivisor(Divisor& divisor) { divisor += 1.0L; }
  // Exact: a whole number below 2^64 plus a small one.
  static void StepDivisor(Divisor& divisor, Divisor step) { divisor += step; }
  static float Rate(PerBit perBit, Divisor divisor) {
    return static_cast<float>(static_cast<double>(perBit / divisor));
  }
  static bool RatePasses(float actualRate, double target, double allowed) {
    const double difference = std::fabs(static_cast<double>(actualRate) - target);
    const long double excess = static_cast<long double>(difference) - static_cast<long double>(allowed);
    return !(excess > static_cast<long double>(kRateSlack));
  }
};
#endif

#if QUILLMERE_PORTABLE_ARITHMETIC
using BuildArithmetic = PortableArithmetic;
#else
using BuildArithmetic = X87Arithmetic;
#endif
