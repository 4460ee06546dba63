#include "calc/fp_environment.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// 1 + 2^-60 is lost in a double but kept in a 64-bit significand.
long double AddTiny(long double one) {
  volatile long double tiny = std::ldexp(1.0L, -60);
  return one + tiny;
}

TEST(FloatEnvironment, MasksTrapsAndKeepsExtendedPrecision) {
  SetFloatEnvironment();
  EXPECT_TRUE(FloatEnvironmentIsSet());
  EXPECT_NE(AddTiny(1.0L), 1.0L);

  volatile double zero = 0.0;
  EXPECT_EQ(1.0 / zero, std::numeric_limits<double>::infinity());
  EXPECT_TRUE(std::isnan(zero / zero));
  volatile long double zeroLong = 0.0L;
  EXPECT_TRUE(std::isinf(1.0L / zeroLong));
}

}  // namespace
