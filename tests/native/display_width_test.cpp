// The one display-width rule (answers/text/display_width.h) the aligned tables pad by.
#include "answers/text/display_width.h"

#include "answers/columns/row_columns.h"
#include "answers/text/gbk_to_utf8.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(DisplayWidth, ByTheLengthOfEachCharacter) {
  const struct {
    std::string text;
    std::size_t width;
  } cases[] = {
      {"", 0},
      {"CAN_BS1_4tq", 11},
      {"\xC2\xA7" "32.7.7", 7},                      // "§": two bytes, one column
      {"\xE9\x87\x87\xE9\x9B\x86\xE7\x82\xB9", 6},   // 采集点: three characters, two columns each
      {"Tq (ns) \xE8\xAF\xAF\xE5\xB7\xAE", 12},      // ASCII and Chinese together
      {"\xEF\xBC\x85", 2},                           // a full-width "%"
      {"\xF0\x9F\x98\x80", 2},                       // four bytes: two columns
      {"\x80" "a", 2},                               // a stray continuation byte: a character of its own
      {"a\xE9\x87", 3},                              // a cut character at the end: counted once
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DisplayWidth(c.text), c.width) << c.text;
    EXPECT_EQ(DisplayWidth(c.text.data(), c.text.size()), c.width) << c.text;
  }
}

// The table form's titles are the window's GBK titles in UTF-8: the rule gives each
// the width the window's text has, two columns for each GBK double-byte character.
TEST(DisplayWidth, EveryTitleIsAsWideAsItsGbkBytes) {
  int titles = 0;
  for (int c = 0; c < kColumnCount; ++c) {
    const Column& column = kColumns[c];
    for (const ColumnFace& face : column.faces) {
      if (face.title == nullptr) continue;
      ++titles;
      EXPECT_EQ(DisplayWidth(GbkToUtf8(face.title)), std::strlen(face.title)) << column.key;
    }
    if (column.sharedTitle != nullptr)
      EXPECT_EQ(DisplayWidth(GbkToUtf8(column.sharedTitle)), std::strlen(column.sharedTitle)) << column.key;
  }
  EXPECT_GT(titles, 20);
}

}  // namespace
