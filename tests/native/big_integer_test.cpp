// The exact paths' big integer at the edge of its capacity: the last bit still holds,
// one more stops the program with its reason instead of giving a wrong number.
#include "calc/big_integer.h"

#include <gtest/gtest.h>

namespace {

constexpr int kBits = kBigWords * 32;

TEST(BigInteger, HoldsUpToItsLastBit) {
  BigInteger a;
  BigSet(a, 1);
  BigShiftLeft(a, kBits - 1);
  EXPECT_EQ(BigBitLength(a), kBits);
  BigShiftRight(a, kBits - 1);
  EXPECT_EQ(BigLow64(a), 1u);

  // 10^1386 < 2^4605, 10^1387 > 2^4607.4: the largest power of ten that fits.
  BigSet(a, 1);
  BigMultiplyPow10(a, 1386);
  EXPECT_EQ(BigBitLength(a), 4605);
}

// A death test needs a process of its own, which a WebAssembly program under node lacks.
#if GTEST_HAS_DEATH_TEST
TEST(BigIntegerDeathTest, StopsPastItsCapacity) {
  const char* reason = "big integer grew past its 4608 bits";
  EXPECT_DEATH(
      {
        BigInteger a;
        BigSet(a, 1);
        BigShiftLeft(a, kBits);
      },
      reason);
  EXPECT_DEATH(
      {
        BigInteger a;
        BigSet(a, 3);
        BigShiftLeft(a, kBits - 1);
      },
      reason);
  EXPECT_DEATH(
      {
        BigInteger a;
        BigSet(a, 1);
        BigMultiplyPow10(a, 1388);
      },
      reason);
}
#endif

}  // namespace
