// The companion's GBK texts in UTF-8, without the system's iconv.
#include "answers/text/gbk_to_utf8.h"

#include "answers/columns/row_columns.h"
#include "calc/candidate_cells.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(GbkToUtf8, Table) {
  const struct {
    const char* gbk;
    const char* utf8;
  } cases[] = {
      {"", ""},
      {"CAN_BTR", "CAN_BTR"},
      {"BS1\xB7\xD6", u8"BS1分"},
      {"\xCE\xF3\xB2\xEE", u8"误差"},
      // Not a character of the program's own texts (你): the text as it is.
      {"A\xB7\xD6\xC4\xE3", "A\xB7\xD6\xC4\xE3"},
      // A lead byte without its trail byte.
      {"\xB7\xD6\xB7", "\xB7\xD6\xB7"},
  };
  for (const auto& c : cases) EXPECT_EQ(GbkToUtf8(c.gbk), c.utf8) << c.gbk;
}

TEST(GbkToUtf8, EveryColumnTitle) {
  const char* const utf8[kResultColumnCount] = {"BS1", "BS2", u8"分频系数", u8"采集点", u8"实际波特率", u8"误差"};
  for (int i = 0; i < kResultColumnCount; ++i) EXPECT_EQ(GbkToUtf8(WindowColumnTitle(i)), utf8[i]) << i;
}

}  // namespace
