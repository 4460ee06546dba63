// The one register hex writer (answers/text/register_text.h) the listings, the decode and
// the registers code form all write their values with.
#include "answers/text/register_text.h"

#include <gtest/gtest.h>

namespace {

TEST(RegisterText, AsManyUpperCaseDigitsAsTheRegisterHas) {
  const struct {
    uint32_t value;
    int bits;
    const char* text;
  } cases[] = {
      {0x001A0005u, 32, "0x001A0005"}, {0u, 32, "0x00000000"},   {0xFFFFFFFFu, 32, "0xFFFFFFFF"},
      {0xC4u, 8, "0xC4"},              {0u, 8, "0x00"},           {0xABCDu, 16, "0xABCD"},
      {0x123456u, 24, "0x123456"},     {0x7F00u, 32, "0x00007F00"},
      // A value wider than its register shows only the register's digits.
      {0x1C4u, 8, "0xC4"},             {0xFF123456u, 24, "0x123456"},
      // A width that is no multiple of 4 takes the digit its top bits need.
      {0x3FFu, 10, "0x3FF"},           {0x1u, 1, "0x1"},
  };
  for (const auto& c : cases) EXPECT_EQ(RegisterText(c.value, c.bits), c.text) << c.text;
  EXPECT_EQ(RegisterText(0x001A0005u), "0x001A0005");
}

}  // namespace
