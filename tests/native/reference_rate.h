// The 64-bit steps of the tests' plainly written searches. Where the x87 exists they
// are its long double, the arithmetic that defines every listing; elsewhere the general
// integer division and rounding of extended_float.h, which the search's per-prescaler
// reciprocal path does not take.
#pragma once

#include "calc/extended_float.h"
#include "calc/search_arithmetic.h"

#include <cstdint>

// clockKHz / quanta / prescaler, each quotient to 64 bits, then to double and to float.
inline float ReferenceRate(int32_t clockKHz, int32_t quanta, int32_t prescaler) {
#if QUILLMERE_HAS_X87
  const long double rate = static_cast<long double>(clockKHz) / static_cast<double>(quanta) / prescaler;
  return static_cast<float>(static_cast<double>(rate));
#else
  const ExtendedFloat perBit = ExtendedQuotient(clockKHz, static_cast<uint32_t>(quanta));
  return static_cast<float>(ExtendedToDouble(ExtendedDivide(perBit, static_cast<uint32_t>(prescaler))));
#endif
}

// difference - allowed, to 64 bits, above the double nearest 1e-7.
inline bool ReferenceExceedsSlack(double difference, double allowed) {
#if QUILLMERE_HAS_X87
  return static_cast<long double>(difference) - allowed > static_cast<long double>(1e-7);
#else
  return ExtendedGreater(ExtendedDifference(difference, allowed), 1e-7);
#endif
}
