// The column table (answers/row_columns.h) as the window and the page read it: the
// window's six columns with its titles, and the page's columns with their keys, both
// languages' titles and alignment.
#include "answers/gbk_to_utf8.h"
#include "answers/row_columns.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(RowColumns, TheWindowsSixInItsOrder) {
  const struct {
    const char* key;
    const char* title;  // UTF-8
    bool number;        // handed to the table as a number, not a text
  } expected[kResultColumnCount] = {
      {"seg1", "BS1", false},           {"seg2", "BS2", false},
      {"prescaler", u8"分频系数", false}, {"samplePoint", u8"采集点", false},
      {"actualRate", u8"实际波特率", true}, {"errorPercent", u8"误差", false},
  };
  for (int32_t k = 0; k < kResultColumnCount; ++k) {
    EXPECT_STREQ(WindowColumn(k).key, expected[k].key) << k;
    EXPECT_EQ(GbkToUtf8(WindowColumnTitle(k)), expected[k].title) << k;
    EXPECT_EQ(WindowColumn(k).number != nullptr, expected[k].number) << k;
  }
}

TEST(RowColumns, ThePagesColumnsByKeyInBothLanguages) {
  EXPECT_EQ(PageColumnsJson(),
            "{\n"
            "  \"bxcan\": [\n"
            "    {\"key\": \"seg1\", \"zh\": \"BS1\", \"en\": \"BS1\", \"align\": \"left\"},\n"
            "    {\"key\": \"seg2\", \"zh\": \"BS2\", \"en\": \"BS2\", \"align\": \"left\"},\n"
            "    {\"key\": \"prescaler\", \"zh\": \"" u8"分频系数" "\", \"en\": \"Prescaler\", \"align\": \"right\"},\n"
            "    {\"key\": \"samplePoint\", \"zh\": \"" u8"采集点" "\", \"en\": \"Sample point\", \"align\": \"right\"},\n"
            "    {\"key\": \"actualRate\", \"zh\": \"" u8"实际波特率" "\", \"en\": \"Actual rate\", \"align\": \"right\"},\n"
            "    {\"key\": \"errorPercent\", \"zh\": \"" u8"误差" "\", \"en\": \"Error\", \"align\": \"right\"}\n"
            "  ],\n"
            "  \"fdcan\": [\n"
            "    {\"key\": \"phase\", \"zh\": \"Phase\", \"en\": \"Phase\", \"align\": \"left\"},\n"
            "    {\"key\": \"seg1\", \"zh\": \"Seg1\", \"en\": \"Seg1\", \"align\": \"right\"},\n"
            "    {\"key\": \"seg2\", \"zh\": \"Seg2\", \"en\": \"Seg2\", \"align\": \"right\"},\n"
            "    {\"key\": \"prescaler\", \"zh\": \"" u8"分频系数" "\", \"en\": \"Prescaler\", \"align\": \"right\"},\n"
            "    {\"key\": \"samplePoint\", \"zh\": \"" u8"采集点" "\", \"en\": \"Sample point\", \"align\": \"right\"},\n"
            "    {\"key\": \"actualRate\", \"zh\": \"" u8"实际波特率" "\", \"en\": \"Actual rate\", \"align\": \"right\"},\n"
            "    {\"key\": \"errorPercent\", \"zh\": \"" u8"误差" "\", \"en\": \"Error\", \"align\": \"right\"},\n"
            "    {\"key\": \"register\", \"zh\": \"Register\", \"en\": \"Register\", \"align\": \"left\"}\n"
            "  ]\n"
            "}\n");
}

}  // namespace
