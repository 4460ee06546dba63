// The one JSON string writer (answers/text/json_string.h): every control byte escaped, the
// quote and the backslash escaped, everything else as it is.
#include "answers/text/json_string.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(JsonString, EveryControlByteIsEscaped) {
  const char* const kExpected[32] = {
      "\\u0000", "\\u0001", "\\u0002", "\\u0003", "\\u0004", "\\u0005", "\\u0006", "\\u0007",
      "\\u0008", "\\t",     "\\n",     "\\u000b", "\\u000c", "\\r",     "\\u000e", "\\u000f",
      "\\u0010", "\\u0011", "\\u0012", "\\u0013", "\\u0014", "\\u0015", "\\u0016", "\\u0017",
      "\\u0018", "\\u0019", "\\u001a", "\\u001b", "\\u001c", "\\u001d", "\\u001e", "\\u001f",
  };
  for (int byte = 0; byte < 0x20; ++byte) {
    const std::string text = "a" + std::string(1, static_cast<char>(byte)) + "b";
    EXPECT_EQ(JsonString(text), std::string("\"a") + kExpected[byte] + "b\"") << "byte " << byte;
  }
}

TEST(JsonString, QuoteAndBackslashAreEscapedTheRestStays) {
  const struct {
    std::string text;
    const char* json;
  } cases[] = {
      {"", "\"\""},
      {"CAN_BTR", "\"CAN_BTR\""},
      {"say \"hi\"", "\"say \\\"hi\\\"\""},
      {"C:\\bxcan", "\"C:\\\\bxcan\""},
      {"\\\"", "\"\\\\\\\"\""},
      {" ~\x7F", "\" ~\x7F\""},                                                   // the printable ends and DEL
      {"\xE9\x87\x87\xE9\x9B\x86\xE7\x82\xB9 \xC2\xA7", "\"\xE9\x87\x87\xE9\x9B\x86\xE7\x82\xB9 \xC2\xA7\""},  // 采集点 §
      {"\xFF\x80", "\"\xFF\x80\""},                                               // no UTF-8: still as it is
      {"a\r\nb\tc", "\"a\\r\\nb\\tc\""},
  };
  for (const auto& c : cases) EXPECT_EQ(JsonString(c.text), c.json) << c.json;
}

TEST(JsonString, PutAppendsAndAZeroByteIsText) {
  std::string out = "{\"key\": ";
  PutJsonString(out, std::string("x\0y", 3));
  EXPECT_EQ(out, "{\"key\": \"x\\u0000y\"");
}

}  // namespace
