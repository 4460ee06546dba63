// The companion's lines for the controller table: its one-line refusals, a table
// controller's json row and --controller list.
#include "answers/text/display_width.h"
#include "calc/controllers.h"
#include "tests/native/companion_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

TEST(CompanionControllers, LinesForBadControllers) {
  const struct {
    std::vector<std::string> arguments;
    const char* line;
  } cases[] = {
      {{"--controller", "mcp2516"},
       "invalid value \"mcp2516\" for --controller: unknown controller (--controller list shows the names)"},
      {{"--controller", "custom:seg1=1-16,seg2=8-1,sjw=4,prescaler=1"},
       "invalid value \"custom:seg1=1-16,seg2=8-1,sjw=4,prescale…\" for --controller: \"seg2=8-1\": the first value "
       "is above the last"},
      // The part is echoed as the value is: bytes that are no UTF-8 escaped, cut at its length.
      {{"--controller", "custom:seg1=1-16,seg2=1-8,sjw=4,prescaler=2-12\xA1\xA1"},
       "invalid value \"custom:seg1=1-16,seg2=1-8,sjw=4,prescale…\" for --controller: \"prescaler=2-12\\xa1\\xa1\": "
       "not a range N, N-M (prescaler also N-M/STEP) in decimal digits"},
      {{"--controller", "custom:"},
       "invalid value \"custom:\" for --controller: an empty part (custom: takes "
       "seg1=A-B,seg2=A-B,sjw=N,prescaler=A-B[/STEP])"},
      {{"--controller", "mcp2515", "--data-rate", "2000"}, "--data-rate needs an FD controller: mcp2515 has no data phase"},
      {{"--controller", "mcp2515", "--format", "hal"},
       "--format hal is no form of mcp2515: its forms are table, tsv, csv, json, registers, linux, zephyr, python-can"},
      {{"--controller", "sja1000", "--decode", "0x1C"},
       "invalid value \"0x1C\" for --decode: sja1000 keeps its setting in BTR0, BTR1, given as NAME=VALUE pairs "
       "joined by commas"},
  };
  for (const auto& c : cases) {
    const CompanionRun run = RunCompanion(c.arguments);
    EXPECT_EQ(run.exitCode, 2) << c.line;
    EXPECT_EQ(run.out, "") << c.line;
    EXPECT_EQ(run.err, std::string("quillmere-cli: ") + c.line + "\n");
  }
}

// --controller list answers no request: anything that asks for another answer is
// refused with one line naming both, before the list is written, whatever follows it.
TEST(CompanionControllers, ListTakesItsFormatAlone) {
  const char* kWhy = " do not go together: the list is the controller table alone, written as table or json";
  const struct {
    std::vector<std::string> arguments;
    const char* other;
  } cases[] = {
      {{"--controller", "list", "--plan"}, "--plan"},
      {{"--controller", "list", "--plan", "--node", "garbage"}, "--plan"},
      {{"--controller", "list", "--node", "a=nosuch@8", "--plan"}, "--node"},
      {{"--plan", "--controller", "list", "--node", "a=bxcan@42", "--node", "b=mcp2515@16"}, "--plan"},
      {{"--controller", "list", "--best"}, "--best"},
      {{"--controller", "list", "--decode", "0x1C"}, "--decode"},
      {{"--controller", "list", "--decode-data", "0x1C"}, "--decode-data"},
      {{"--controller", "list", "--data-rate", "2000"}, "--data-rate"},
      {{"--controller", "list", "--clock", "16"}, "--clock"},
      {{"--controller", "list", "--format", "json", "--rate=500"}, "--rate"},
      {{"--controller", "list", "--wide", "--sjw", "2"}, "--sjw"},
      {{"--controller", "list", "--min-tolerance", "1"}, "--min-tolerance"},
      {{"--controller", "list", "--format", "tsv"}, "--format tsv"},
      {{"--controller", "list", "--format", "registers", "--best"}, "--format registers"},
  };
  for (const auto& c : cases) {
    const CompanionRun run = RunCompanion(c.arguments);
    EXPECT_EQ(run.exitCode, 2) << c.other;
    EXPECT_EQ(run.out, "") << c.other;
    EXPECT_EQ(run.err, std::string("quillmere-cli: --controller list and ") + c.other + kWhy + "\n");
  }
}

// The datasheet's 20 MHz / 125 kbit/s row as the companion prints it, and json keys.
TEST(CompanionControllers, Rows) {
  const CompanionRun best = RunCompanion({"--controller", "mcp2515", "--clock", "20", "--rate", "125", "--best",
                                          "--format", "json"});
  EXPECT_EQ(best.exitCode, 0);
  EXPECT_EQ(best.out,
            "[\n  {\"seg1\": 13, \"seg2\": 2, \"prop\": 6, \"phase1\": 7, \"prescaler\": 10, \"sjw\": 1, \"tqNs\": 500, "
            "\"samplePoint\": 87.5, \"actualRate\": 125, \"errorPercent\": 0, \"registers\": {\"CNF1\": 4, \"CNF2\": "
            "181, \"CNF3\": 1}, \"oscillatorTolerance\": 0.3125, \"maxBusLength\": 550}\n]\n");
  const CompanionRun list = RunCompanion({"--controller", "list", "--format", "json"});
  EXPECT_EQ(list.exitCode, 0);
  EXPECT_NE(list.out.find("{\"name\": \"mcp2515\""), std::string::npos);
  // Every fact of an entry on its line: the titles and one line per entry.
  const CompanionRun wide = RunCompanion({"--controller", "list", "--wide"});
  EXPECT_EQ(wide.exitCode, 0);
  EXPECT_EQ(wide.out.substr(0, 4), "Name");
  EXPECT_EQ(std::count(wide.out.begin(), wide.out.end(), '\n'), ControllerCount() + 1);
  EXPECT_NE(wide.out.find("CNF1 CNF2 CNF3"), std::string::npos);
}

// The list a person reads fits a terminal of 100 columns: an entry's chips that do not
// fit go on under their column, every word kept; then where the rest is.
TEST(CompanionControllers, ListFitsAHundredColumns) {
  const CompanionRun table = RunCompanion({"--controller", "list"});
  ASSERT_EQ(table.exitCode, 0);
  std::istringstream lines(table.out);
  std::string line;
  std::getline(lines, line);
  const std::size_t column = line.find("Chips");
  ASSERT_NE(column, std::string::npos);
  EXPECT_EQ(line.substr(0, 4), "Name");
  EXPECT_EQ(line.substr(column - 4), "FD  Chips");
  std::string chips;  // the entries' chips, their lines joined again
  int32_t entries = 0;
  while (std::getline(lines, line) && !line.empty()) {
    EXPECT_LE(DisplayWidth(line), 100u) << line;
    if (line[0] != ' ') ++entries, chips += "\n";
    chips += (line[0] == ' ' ? " " : "") + line.substr(column);
  }
  chips += "\n";
  EXPECT_EQ(entries, ControllerCount());
  for (int32_t i = 0; i < ControllerCount(); ++i)
    EXPECT_NE(chips.find("\n" + std::string(ControllerAt(i).chips) + "\n"), std::string::npos) << ControllerAt(i).name;
  EXPECT_NE(table.out.find("  FlexCAN classic (CTRL1): i.MX 25/28/35/53/6/7, Vybrid, LS1021A,\n" +
                           std::string(column, ' ') + "Kinetis, S32K1\n"),
            std::string::npos)
      << table.out;
  std::getline(lines, line);
  EXPECT_EQ(line, "Each one's clock, limits, registers and source: --controller list --wide (one line");
}

// --help opens on every controller: the count it gives is the table's, and its
// --controller line names each entry.
TEST(CompanionControllers, HelpNamesEveryController) {
  const CompanionRun help = RunCompanion({"--help"});
  ASSERT_EQ(help.exitCode, 0);
  std::string text = help.out;
  std::replace(text.begin(), text.end(), '\n', ' ');
  EXPECT_NE(text.find("one of the " + std::to_string(ControllerCount()) + " in the table"), std::string::npos);
  for (int32_t i = 0; i < ControllerCount(); ++i) {
    const std::string name = ControllerAt(i).name;
    bool named = false;
    for (const char* after : {",", ";", " "}) named = named || text.find(" " + name + after) != std::string::npos;
    EXPECT_TRUE(named) << name;
  }
}

// PEAK's PCIe FD cards run at one of six clocks (peak_pciefd_main.c CANFD_CLK_SEL_*), the
// Microchip SPI controllers within a range: any other is answered and warned of, naming
// them, with exit code 0; the USB adapters keep their fixed 80 MHz (PCAN_UFD_CRYSTAL_HZ).
TEST(CompanionControllers, PcieFdClockOutsideItsChoicesIsWarnedOf) {
  const struct {
    std::vector<std::string> arguments;
    std::string err;
  } cases[] = {
      {{"--controller", "peak-pciefd", "--clock", "40", "--rate", "500", "--best"}, ""},
      {{"--controller", "peak-pciefd", "--clock", "24", "--rate", "500", "--data-rate", "2000", "--best"}, ""},
      {{"--controller", "peak-pciefd", "--clock", "33.333", "--rate", "125", "--best", "--tolerance", "1"},
       "quillmere-cli: warning: peak-pciefd runs at 20, 24, 30, 40, 60 or 80 MHz, not 33.333 MHz\n"},
      {{"--controller", "peak-pciefd", "--clock", "16", "--rate", "500", "--format", "linux", "--best"},
       "quillmere-cli: warning: peak-pciefd runs at 20, 24, 30, 40, 60 or 80 MHz, not 16 MHz\n"},
      {{"--plan", "--node", "a=peak-pciefd@50", "--node", "b=peak-pciefd@60", "--rate", "500"},
       "quillmere-cli: warning: a: peak-pciefd runs at 20, 24, 30, 40, 60 or 80 MHz, not 50 MHz\n"},
      // The MCP2515's oscillator from 1 to 25 MHz (mcp251x.c's probe refuses the device
      // otherwise), the MCP2518FD's SYSCLK from 1 to 40 MHz (mcp251xfd.h): the ends pass.
      {{"--controller", "mcp2515", "--clock", "25", "--rate", "500", "--best"}, ""},
      {{"--controller", "mcp2515", "--clock", "1", "--rate", "10", "--best"}, ""},
      {{"--controller", "mcp2515", "--clock", "42", "--rate", "500", "--best"},
       "quillmere-cli: warning: mcp2515 runs at 1 to 25 MHz (Linux's mcp251x.c refuses any other), not 42 MHz\n"},
      {{"--controller", "mcp2515", "--clock", "0.5", "--rate", "10", "--best", "--tolerance", "5"},
       "quillmere-cli: warning: mcp2515 runs at 1 to 25 MHz (Linux's mcp251x.c refuses any other), not 0.5 MHz\n"},
      {{"--controller", "mcp2518fd", "--clock", "40", "--rate", "500", "--best"}, ""},
      {{"--plan", "--node", "pi=mcp2515@32", "--node", "fd=mcp2518fd@80", "--rate", "500"},
       "quillmere-cli: warning: pi: mcp2515 runs at 1 to 25 MHz (Linux's mcp251x.c refuses any other), not 32 MHz\n"
       "quillmere-cli: warning: fd: mcp2518fd runs at 1 to 40 MHz (mcp251xfd.h's SYSCLK range), not 80 MHz\n"},
  };
  for (const auto& c : cases) {
    const CompanionRun run = RunCompanion(c.arguments);
    EXPECT_EQ(run.exitCode, 0) << c.arguments[3];
    EXPECT_FALSE(run.out.empty()) << c.arguments[3];
    EXPECT_EQ(run.err, c.err) << c.arguments[3];
  }
  EXPECT_EQ(FindController("peak-pciefd")->fixedClockKHz, 0);
  EXPECT_EQ(FindController("peak-canfd")->fixedClockKHz, 80000);
  EXPECT_EQ(std::string(FindController("peak-canfd")->chips).find("PCIe"), std::string::npos);
}

// A USB adapter runs at its one clock whatever is typed (pcan_usb_fd.c PCAN_UFD_CRYSTAL_HZ;
// candleLight's 48 MHz): another --clock is answered and warned of, naming the clock and
// where it comes from, once per listing, --best and --plan node (these adapters have no registers to decode); the fixed clock,
// typed or not, is silent. Standard output is the answer at the typed clock.
TEST(CompanionControllers, FixedClockAdapterAtAnotherClockIsWarnedOf) {
  const std::string canfd40 = "quillmere-cli: warning: peak-canfd runs at 80 MHz (PCAN-USB FD's crystal), not 40 MHz\n";
  const struct {
    std::vector<std::string> arguments;
    std::string err;
  } cases[] = {
      {{"--controller", "peak-canfd", "--rate", "500", "--best"}, ""},
      {{"--controller", "peak-canfd", "--clock", "80", "--rate", "500", "--data-rate", "2000", "--best"}, ""},
      {{"--controller", "gs-usb", "--clock", "48", "--rate", "500"}, ""},
      {{"--controller", "peak-canfd", "--clock", "40", "--rate", "500", "--best"}, canfd40},
      {{"--controller", "peak-canfd", "--clock", "40", "--rate", "500", "--data-rate", "2000"}, canfd40},
      {{"--controller", "gs-usb", "--clock", "16", "--rate", "500", "--format", "linux", "--best"},
       "quillmere-cli: warning: gs-usb runs at 48 MHz (candleLight's STM32 bxCAN clock), not 16 MHz\n"},
      {{"--plan", "--node", "a=peak-canfd@40", "--node", "b=gs-usb@50", "--node", "c=gs-usb@48", "--rate", "500"},
       "quillmere-cli: warning: a: peak-canfd runs at 80 MHz (PCAN-USB FD's crystal), not 40 MHz\n"
       "quillmere-cli: warning: b: gs-usb runs at 48 MHz (candleLight's STM32 bxCAN clock), not 50 MHz\n"},
  };
  for (const auto& c : cases) {
    const CompanionRun run = RunCompanion(c.arguments);
    std::string line;
    for (const std::string& argument : c.arguments) line += argument + " ";
    EXPECT_EQ(run.exitCode, 0) << line;
    EXPECT_FALSE(run.out.empty()) << line;
    EXPECT_EQ(run.err, c.err) << line;
  }
}
