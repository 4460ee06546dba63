// A setting exactly at the tolerance is listed, by every controller but bxCAN, whose
// listing is the window's table and keeps the window's float test.
#include "tests/native/companion_run.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// 32.967 Kbps is 0.99999977% off the float 33.3.
TEST(CompanionNumbers, ASettingAtTheToleranceIsListed) {
  const struct {
    const char* controller;
    const char* tolerance;
    int rows;
  } cases[] = {
      {"gs-usb", "1", 20}, {"gs-usb", "0", 0}, {"fdcan", "1", 404}, {"bxcan", "1", 0}, {"bxcan", "2", 20},
  };
  for (const auto& c : cases) {
    const CompanionRun run = RunCompanion({"--controller", c.controller, "--clock", "32.967", "--rate", "33.3",
                                           "--sample-point", "50", "--tolerance", c.tolerance, "--format", "tsv"});
    EXPECT_EQ(run.exitCode, 0) << c.controller << " " << c.tolerance;
    int rows = 0;
    for (std::size_t at = run.out.find("\t32.967\t"); at != std::string::npos; at = run.out.find("\t32.967\t", at + 1))
      ++rows;
    EXPECT_EQ(rows, c.rows) << c.controller << " " << c.tolerance;
  }
}

}  // namespace
