// The arguments' bytes from a /proc/<pid>/cmdline text, as the WebAssembly companion
// reads them under node.
#include "cli/command_line_bytes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Cmdline(const char* bytes, std::size_t length) { return std::string(bytes, length); }

TEST(LastCommandLineEntries, Table) {
  const std::string node = Cmdline("node\0--stack-size=900\0/x/quillmere-cli.js\0--rate\0\xFF\xFE" "500\0", 55);
  const struct {
    std::string cmdline;
    int count;
    bool found;
    std::vector<std::string> entries;
  } cases[] = {
      {node, 2, true, {"--rate", "\xFF\xFE" "500"}},
      {node, 0, true, {}},
      {node, 5, true, {"node", "--stack-size=900", "/x/quillmere-cli.js", "--rate", "\xFF\xFE" "500"}},
      {node, 6, false, {}},                                                  // fewer than asked
      {Cmdline("node\0a.js\0\0--clock\0", 19), 2, true, {"", "--clock"}},    // an empty argument
      {Cmdline("node\0a.js\0--rate", 16), 1, false, {}},                     // no closing zero
      {"", 0, true, {}},
      {"", 1, false, {}},
      {node, -1, false, {}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> entries{"left over"};
    EXPECT_EQ(LastCommandLineEntries(c.cmdline, c.count, entries), c.found) << c.count;
    EXPECT_EQ(entries, c.entries) << c.count;
  }
}

// This test program's own command line has at least its name and at most a few thousand
// entries.
TEST(ReadLastArguments, ReadsThisProcess) {
  std::vector<std::string> arguments;
  EXPECT_TRUE(ReadLastArguments(1, arguments));
  EXPECT_EQ(arguments.size(), 1u);
  EXPECT_FALSE(ReadLastArguments(100000, arguments));
  EXPECT_TRUE(arguments.empty());
}

}  // namespace
