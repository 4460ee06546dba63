// CAN_BTR as layout data: the fields where the reference manual puts them, every
// setting back from its value, and the reserved bits.
#include "calc/bxcan_register.h"

#include <gtest/gtest.h>

namespace {

TEST(CanBtr, FieldsWhereTheManualPutsThem) {
  const struct {
    BitTimingLengths lengths;
    uint32_t value;
  } cases[] = {
      {{6, 11, 2, 1}, 0x001A0005u},    {{28, 7, 1, 4}, 0x0306001Bu},   {{1, 1, 1, 1}, 0x00000000u},
      {{1024, 16, 8, 4}, 0x037F03FFu}, {{4, 16, 4, 3}, 0x023F0003u},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EncodeLengths(c.lengths, kCanBtr), c.value) << std::hex << c.value;
    const DecodedLengths back = DecodeBxCanBitTiming(c.value);
    EXPECT_EQ(back.lengths.prescaler, c.lengths.prescaler);
    EXPECT_EQ(back.lengths.seg1, c.lengths.seg1);
    EXPECT_EQ(back.lengths.seg2, c.lengths.seg2);
    EXPECT_EQ(back.lengths.sjw, c.lengths.sjw);
    EXPECT_EQ(back.flagBits, 0u);
    EXPECT_EQ(back.reservedBits, 0u);
  }
}

TEST(CanBtr, ModesAndReservedBitsApart) {
  const DecodedLengths all = DecodeBxCanBitTiming(0xFFFFFFFFu);
  EXPECT_EQ(all.flagBits, kLoopBackBit | kSilentBit);
  EXPECT_EQ(all.reservedBits, 0x3C80FC00u);
  EXPECT_EQ(EncodeLengths(all.lengths, kCanBtr) | all.flagBits | all.reservedBits, 0xFFFFFFFFu);
  EXPECT_EQ(DecodeBxCanBitTiming(0x40000000u).flagBits, kLoopBackBit);
  EXPECT_EQ(DecodeBxCanBitTiming(0x00800000u).reservedBits, 0x00800000u);
}

// Every setting bxCAN can take comes back from its value.
TEST(CanBtr, EverySettingRoundTrips) {
  for (int32_t prescaler = 1; prescaler <= 1024; ++prescaler)
    for (int32_t seg1 = 1; seg1 <= 16; ++seg1)
      for (int32_t seg2 = 1; seg2 <= 8; ++seg2)
        for (int32_t sjw = 1; sjw <= 4; ++sjw) {
          const DecodedLengths back = DecodeBxCanBitTiming(EncodeLengths({prescaler, seg1, seg2, sjw}, kCanBtr));
          ASSERT_EQ(back.lengths.prescaler * 10000 + back.lengths.seg1 * 100 + back.lengths.seg2 * 10 + back.lengths.sjw,
                    prescaler * 10000 + seg1 * 100 + seg2 * 10 + sjw);
          ASSERT_EQ(back.reservedBits | back.flagBits, 0u);
        }
}

}  // namespace
