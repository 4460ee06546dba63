// A node's fixed setting in --plan (setting=, dsetting=, registers=, dregisters=): its refusals (exit 2), a bus
// fitted around a fixed node, the lines when the fixed node itself stands in the way
// (exit 3), and a fixed row that is the listing's own to the digit.
#include "tests/native/companion_run.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// Each refusal is one line, nothing on standard output.
TEST(CompanionPlanFixed, Refusals) {
  const struct {
    std::vector<std::string> arguments;
    std::string line;
  } cases[] = {
      // Malformed.
      {{"--node", "a=bxcan@42,setting=6/11"},
       "invalid value \"a=bxcan@42,setting=6/11\" for --node: setting= is not PRESCALER/SEG1/SEG2, three whole "
       "numbers (e.g. 6/11/2)"},
      {{"--node", "a=bxcan@42,setting=6/11/2/1"},
       "invalid value \"a=bxcan@42,setting=6/11/2/1\" for --node: setting= is not PRESCALER/SEG1/SEG2, three whole "
       "numbers (e.g. 6/11/2)"},
      {{"--node", "a=bxcan@42,setting=6//2"},
       "invalid value \"a=bxcan@42,setting=6//2\" for --node: setting= is not PRESCALER/SEG1/SEG2, three whole "
       "numbers (e.g. 6/11/2)"},
      {{"--node", "a=bxcan@42,setting="},
       "invalid value \"a=bxcan@42,setting=\" for --node: setting= is not PRESCALER/SEG1/SEG2, three whole numbers "
       "(e.g. 6/11/2)"},
      {{"--node", "a=bxcan@42,setting=+6/11/-2"},
       "invalid value \"a=bxcan@42,setting=+6/11/-2\" for --node: setting= is not PRESCALER/SEG1/SEG2, three whole "
       "numbers (e.g. 6/11/2)"},
      {{"--node", "a=bxcan@42,setting=2147483648/11/2"},
       "invalid value \"a=bxcan@42,setting=2147483648/11/2\" for --node: setting= is not PRESCALER/SEG1/SEG2, three "
       "whole numbers (e.g. 6/11/2)"},
      // Outside the controller's limits, or off its prescaler step.
      {{"--node", "a=bxcan@42,setting=1025/11/2"},
       "invalid value \"a=bxcan@42,setting=1025/11/2\" for --node: setting= prescaler 1025 is outside bxcan's 1 to "
       "1024"},
      {{"--node", "a=bxcan@42,setting=0/11/2"},
       "invalid value \"a=bxcan@42,setting=0/11/2\" for --node: setting= prescaler 0 is outside bxcan's 1 to 1024"},
      {{"--node", "a=mcp2515@16,setting=3/11/2"},
       "invalid value \"a=mcp2515@16,setting=3/11/2\" for --node: setting= prescaler 3 is outside mcp2515's 2 to 128 "
       "in steps of 2"},
      {{"--node", "a=bxcan@42,setting=6/17/2"},
       "invalid value \"a=bxcan@42,setting=6/17/2\" for --node: setting= seg1 17 is outside bxcan's 1 to 16"},
      {{"--node", "a=mcp2515@16,setting=4/3/1"},
       "invalid value \"a=mcp2515@16,setting=4/3/1\" for --node: setting= seg2 1 is outside mcp2515's 2 to 8"},
      // A custom: controller's own step, its name cut as every echoed value.
      {{"--node", "a=custom:seg1=1-16,seg2=1-8,sjw=4,prescaler=2-64/4@40,setting=4/11/2"},
       "invalid value \"a=custom:seg1=1-16,seg2=1-8,sjw=4,presca\u2026\" for --node: setting= prescaler 4 is outside "
       "custom:seg1=1-16,seg2=1-8,sjw=4,prescale\u2026's 2 to 62 in steps of 4"},
      // The pair's rules: the MCP2515's seg1 >= seg2.
      {{"--node", "a=mcp2515@16,setting=4/3/4"},
       "invalid value \"a=mcp2515@16,setting=4/3/4\" for --node: setting= seg1 3 with seg2 4 breaks mcp2515's rules "
       "(--controller list gives them)"},
      // MultiCAN's bit of at least 8 quanta: 1 + 4 + 2 is 7.
      {{"--node", "a=multican@16,setting=2/4/2"},
       "invalid value \"a=multican@16,setting=2/4/2\" for --node: setting= seg1 4 with seg2 2 breaks multican's rules "
       "(--controller list gives them)"},
      // The node's own SJW must fit, whichever option comes first.
      {{"--node", "a=bxcan@42,setting=6/11/1,sjw=2"},
       "invalid value \"a=bxcan@42,setting=6/11/1,sjw=2\" for --node: setting= seg1 11 with seg2 1 takes an SJW of at "
       "most 1, below sjw=2"},
      {{"--node", "a=bxcan@42,sjw=2,setting=6/11/1"},
       "invalid value \"a=bxcan@42,sjw=2,setting=6/11/1\" for --node: setting= seg1 11 with seg2 1 takes an SJW of at "
       "most 1, below sjw=2"},
      // The data phase's.
      {{"--node", "a=bxcan@42,dsetting=1/15/4"},
       "invalid value \"a=bxcan@42,dsetting=1/15/4\" for --node: dsetting= is for an FD controller's data phase"},
      {{"--node", "a=fdcan@80,dsetting=1/15/4"},
       "invalid value \"a=fdcan@80,dsetting=1/15/4\" for --node: dsetting= needs --data-rate: without it the bus has "
       "no data phase"},
      {{"--node", "a=fdcan@80,dsetting=1/60/3", "--data-rate", "2000"},
       "invalid value \"a=fdcan@80,dsetting=1/60/3\" for --node: dsetting= seg1 60 is outside fdcan's data-phase 1 to "
       "32"},
      {{"--node", "a=mcp2518fd@40,dsetting=1/15/1,dsjw=2", "--data-rate", "2000"},
       "invalid value \"a=mcp2518fd@40,dsetting=1/15/1,dsjw=2\" for --node: dsetting= seg1 15 with seg2 1 takes an SJW "
       "of at most 1, below dsjw=2"},
      // Fixed by registers: read as --decode reads them, pairs joined by "/".
      {{"--node", "a=bxcan@42,registers=zz"},
       "invalid value \"a=bxcan@42,registers=zz\" for --node: registers= is not a register value in hex (0x...) or "
       "decimal, nor NAME=VALUE pairs joined by /"},
      {{"--node", "a=bxcan@42,registers=0x1FFFFFFFF"},
       "invalid value \"a=bxcan@42,registers=0x1FFFFFFFF\" for --node: registers=: more than 32 bits"},
      {{"--node", "a=bxcan@42,registers=0x001A0405"},
       "invalid value \"a=bxcan@42,registers=0x001A0405\" for --node: invalid value \"0x001A0405\" for registers=: "
       "reserved bit 10 is set"},
      {{"--node", "a=mcp2515@16,registers=0x01"},
       "invalid value \"a=mcp2515@16,registers=0x01\" for --node: registers= mcp2515 keeps its setting in CNF1, CNF2, "
       "CNF3, given as NAME=VALUE pairs joined by /"},
      {{"--node", "a=mcp2515@16,registers=CNF1=0/CNF2=0xB5"},
       "invalid value \"a=mcp2515@16,registers=CNF1=0/CNF2=0xB5\" for --node: registers= needs CNF3 too: mcp2515 "
       "keeps its setting in CNF1, CNF2, CNF3"},
      {{"--node", "a=mcp2515@16,registers=CNF1=0/CNF2=0x35/CNF3=1"},
       "invalid value \"a=mcp2515@16,registers=CNF1=0/CNF2=0x35/\u2026\" for --node: invalid value \"CNF2=0x35\" for "
       "registers=: BTLMODE is 0: mcp2515 needs 1"},
      {{"--node", "a=mcp2515@16,registers=CNF4=1"},
       "invalid value \"a=mcp2515@16,registers=CNF4=1\" for --node: registers=: CNF4 is no register of mcp2515 (it "
       "has CNF1, CNF2, CNF3)"},
      {{"--node", "a=mcp2515@16,registers=CNF1=0x40/CNF2=0xB5/CNF3=1"},
       "invalid value \"a=mcp2515@16,registers=CNF1=0x40/CNF2=0x\u2026\" for --node: registers= seg1 13 with seg2 2 "
       "takes an SJW of at most 1; the registers hold 2"},
      {{"--node", "a=peak-canfd@80,registers=1"},
       "invalid value \"a=peak-canfd@80,registers=1\" for --node: registers= reads a controller's registers: "
       "peak-canfd has none (the Linux driver sets its timing)"},
      {{"--node", "a=bxcan@42,dregisters=1"},
       "invalid value \"a=bxcan@42,dregisters=1\" for --node: dregisters= is for an FD controller's data phase"},
      // The registers' SJW is the node's: sjw= may only repeat it.
      {{"--node", "a=bxcan@42,registers=0x001A0005,sjw=2"},
       "invalid value \"a=bxcan@42,registers=0x001A0005,sjw=2\" for --node: sjw=2 is not the SJW 1 that registers= "
       "holds"},
      {{"--node", "a=bxcan@42,setting=6/11/2,registers=0x001A0005"},
       "invalid value \"a=bxcan@42,setting=6/11/2,registers=0x00\u2026\" for --node: setting= and registers= both "
       "fix the setting: give one"},
      {{"--node", "a=bxcan@42,registers=0x001A0005,setting=6/11/2"},
       "invalid value \"a=bxcan@42,registers=0x001A0005,setting=\u2026\" for --node: setting= and registers= both "
       "fix the setting: give one"},
      // Given twice; the value echoed and cut at 40 characters like every echoed value.
      {{"--node", "stm32=bxcan@42,setting=6/11/2,setting=6/11/2"},
       "invalid value \"stm32=bxcan@42,setting=6/11/2,setting=6/\u2026\" for --node: setting= is given twice"},
      {{"--node", "a=fdcan@80,dsetting=3/20/3,dsetting=1/2/3", "--data-rate", "2000"},
       "invalid value \"a=fdcan@80,dsetting=3/20/3,dsetting=1/2/\u2026\" for --node: dsetting= is given twice"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> arguments = {"--plan", "--node", "z=fdcan@40"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const CompanionRun run = RunCompanion(arguments);
    EXPECT_EQ(run.exitCode, 2) << c.line;
    EXPECT_EQ(run.out, "") << c.line;
    EXPECT_EQ(run.err, "quillmere-cli: " + c.line + "\n");
  }
}

// The STM32 fixed at a 75% setting of 500 Kbps: the MCP2515 and the ESP32, which sit at
// 87.5% on their own, move to 75% to keep within the spread; the fixed node says so.
TEST(CompanionPlanFixed, OthersFitAroundAFixedNode) {
  const CompanionRun run = RunCompanion({"--plan", "--node", "stm32=bxcan@42,setting=7/8/3", "--node",
                                         "mcp=mcp2515@16", "--node", "esp32=esp32-twai@80", "--rate", "500"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            "Node   Controller  Clock (MHz)  Seg1  Seg2  \u5206\u9891\u7cfb\u6570  SJW  Tq (ns)  \u91c7\u96c6\u70b9  "
            "\u5b9e\u9645\u6ce2\u7279\u7387  \u8bef\u5dee  Registers                                                  "
            "        Tolerance\n"
            "stm32  bxcan                42     8     3         7    3  166.667     75%         500    0%  0x02270006     "
            "                                                        0.98%\n"
            "mcp    mcp2515              16    11     4         2    3      125     75%         500    0%  CNF1=0x80 "
            "CNF2=0xAC CNF3=0x03                                          0.93%\n"
            "esp32  esp32-twai           80    14     5         8    4      100     75%         500    0%  "
            "TWAI_BUS_TIMING_0_REG=0x000000C3 TWAI_BUS_TIMING_1_REG=0x0000004D      0.98%\n"
            "\n"
            "Sample points: 75% to 75% (spread 0 points)\n"
            "Margin: 0.93% (the smallest node tolerance less the largest rate error, left for the oscillators)\n"
            "Longest bus: 66 m\n"
            "Limit: stm32 (bxcan at 42 MHz, setting fixed) cannot sample nearer to 87.5% than 75%\n"
            "Limit: mcp (mcp2515 at 16 MHz) has the smallest tolerance, 0.93%\n"
            "Limit: stm32 (bxcan at 42 MHz, setting fixed) reaches the shortest bus, 66 m\n"
            "Fixed: stm32 (bxcan at 42 MHz) keeps setting=7/8/3 as given\n");
  const CompanionRun free = RunCompanion({"--plan", "--node", "stm32=bxcan@42", "--node", "mcp=mcp2515@16", "--node",
                                          "esp32=esp32-twai@80", "--rate", "500"});
  EXPECT_NE(free.out.find("\nmcp    mcp2515              16    13     2         2    1      125   87.5%"),
            std::string::npos)
      << free.out;
  EXPECT_EQ(free.out.find("Fixed:"), std::string::npos) << free.out;
}

// An FD node's data phase fixed at 80%: the other's data phase, 75% on its own, follows;
// json marks the phases the node keeps, and only on that node.
TEST(CompanionPlanFixed, FixedDataSetting) {
  const std::vector<std::string> bus = {"--plan", "--node", "g4=fdcan@160,dsetting=2/31/8", "--node",
                                        "mcp=mcp2518fd@40", "--rate", "500", "--data-rate", "2000"};
  const CompanionRun table = RunCompanion(bus);
  EXPECT_EQ(table.exitCode, 0) << table.err;
  const char* lines[] = {
      "g4      31     8         2    8     12.5   80.0%        2000    0%  0x00011E77                   62\n",
      "mcp     15     4         1    4       25   80.0%        2000    0%  CiDBTCFG=0x000E0303          16\n",
      "Limit: g4 (fdcan at 160 MHz, data setting fixed) cannot sample its data bits nearer to 75% than 80.0%\n",
      "Fixed: g4 (fdcan at 160 MHz) keeps dsetting=2/31/8 as given\n",
  };
  for (const char* line : lines) EXPECT_NE(table.out.find(line), std::string::npos) << line << table.out;
  std::vector<std::string> json = bus;
  json.insert(json.end(), {"--format", "json"});
  const CompanionRun asJson = RunCompanion(json);
  EXPECT_EQ(asJson.exitCode, 0) << asJson.err;
  EXPECT_NE(asJson.out.find("\"oscillatorTolerance\": 0.4854368932038835,\n   \"fixed\": [\"data\"]},\n  {\"name\": "
                            "\"mcp\""),
            std::string::npos)
      << asJson.out;
  EXPECT_EQ(asJson.out.find("\"fixed\"", asJson.out.find("\"name\": \"mcp\"")), std::string::npos) << asJson.out;
  // Both phases fixed: one line names both.
  const CompanionRun both = RunCompanion({"--plan", "--node", "g4=fdcan@160,setting=2/139/20,dsetting=2/31/8",
                                          "--node", "mcp=mcp2518fd@40", "--rate", "500", "--data-rate", "2000"});
  EXPECT_EQ(both.exitCode, 0) << both.err;
  EXPECT_NE(both.out.find("Fixed: g4 (fdcan at 160 MHz) keeps setting=2/139/20, dsetting=2/31/8 as given\n"),
            std::string::npos)
      << both.out;
  // The same node given by its NBTP and DBTP: the same plan, the registers named with
  // what they hold (DBTP's data SJW 8, as the widest the setting allows).
  const CompanionRun registers =
      RunCompanion({"--plan", "--node", "g4=fdcan@160,registers=0x26018A13,dregisters=0x00011E77", "--node",
                    "mcp=mcp2518fd@40", "--rate", "500", "--data-rate", "2000"});
  EXPECT_EQ(registers.exitCode, 0) << registers.err;
  const std::string fixedLine = "Fixed: g4 (fdcan at 160 MHz) keeps registers=0x26018A13 (setting=2/139/20, sjw=20), "
                                "dregisters=0x00011E77 (dsetting=2/31/8, dsjw=8) as given\n";
  EXPECT_EQ(registers.out, both.out.substr(0, both.out.find("Fixed: ")) + fixedLine);
}

// A fixed node that breaks a hard condition stops the plan (exit 3) with a line that
// names it and what its one setting does, not what a larger tolerance might find.
TEST(CompanionPlanFixed, FixedNodeInTheWay) {
  const std::vector<std::string> classic = {"--plan", "--node", "mcp=mcp2515@16", "--node", "esp32=esp32-twai@80",
                                            "--rate", "500", "--node"};
  const std::vector<std::string> fd = {"--plan", "--node", "mcp=mcp2518fd@40", "--node", "pcan=peak-canfd@80",
                                       "--rate", "500", "--data-rate", "2000", "--node"};
  const struct {
    const std::vector<std::string>* bus;
    std::vector<std::string> extra;
    std::string err;
  } cases[] = {
      {&classic, {"stm32=bxcan@42,setting=7/11/2"},
       "stm32 (bxcan at 42 MHz, setting fixed) runs at 428.571 Kbps, 14.29% off the rate; --tolerance is 0\n"},
      {&classic, {"stm32=bxcan@42,setting=6/11/2", "--tolerance", "0.5", "--sample-point", "87"},
       "stm32 (bxcan at 42 MHz, setting fixed) samples at 85.7%, below --sample-point\n"},
      {&classic, {"stm32=bxcan@42,setting=6/11/2", "--min-tolerance", "0.6"},
       "stm32 (bxcan at 42 MHz, setting fixed) has a tolerance below --min-tolerance\n"},
      {&classic, {"stm32=bxcan@42,setting=6/11/2", "--bus-length", "100"},
       "stm32 (bxcan at 42 MHz, setting fixed) reaches at most 92 m at 500 Kbps with a 250 ns node delay; "
       "--bus-length is 100\n"},
      // Its oscillator asks more margin than its one setting leaves.
      {&classic, {"stm32=bxcan@42,setting=6/11/2,ppm=6000"},
       "stm32 leaves at most 0.55% for the oscillators, below the 0.6% clock accuracy\n"},
      {&fd, {"g4=fdcan@160,dsetting=2/31/8", "--data-rate", "2100", "--data-tolerance", "1"},
       "g4 (fdcan at 160 MHz, data setting fixed) runs its data bits at 2000 Kbps, 4.76% off the data rate; "
       "--data-tolerance is 1\n"},
      {&fd, {"g4=fdcan@170,dsetting=5/13/3", "--data-tolerance", "2"},
       "g4 (fdcan at 170 MHz, data setting fixed) has TDC, which a data phase at 1000 Kbps and above needs, but its "
       "fixed data setting at 2000 Kbps cannot use it (data prescaler 1 or 2, offset within range)\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> arguments = *c.bus;
    arguments.insert(arguments.end(), c.extra.begin(), c.extra.end());
    const CompanionRun run = RunCompanion(arguments);
    EXPECT_EQ(run.exitCode, 3) << c.err;
    EXPECT_EQ(run.out, "") << c.err;
    EXPECT_EQ(run.err, "quillmere-cli: " + c.err);
  }
}

// The node table's rows, each split at its blanks.
std::vector<std::vector<std::string>> NodeRows(const std::string& out) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(out.substr(0, out.find("\n\n")));
  std::string line;
  std::getline(lines, line);  // the titles
  while (std::getline(lines, line)) {
    std::istringstream cells(line);
    std::vector<std::string> row;
    for (std::string cell; cells >> cell;) row.push_back(cell);
    rows.push_back(row);
  }
  return rows;
}

// Fixing any node at the setting the plan gives it leaves the plan's table as it was:
// the fixed row is the listing's own (the same search over one setting), with the same
// SJW, and the others' choice does not move.
TEST(CompanionPlanFixed, FixedAtItsOwnChoiceChangesNothing) {
  const std::vector<std::vector<std::string>> buses = {
      {"a=bxcan@42", "b=mcp2515@16", "c=esp32-twai@80", "--rate", "500"},
      {"a=bxcan@42", "b=mcp2515@16", "c=sja1000@16", "--rate", "125", "--tolerance", "1"},
      {"a=flexcan@40", "b=mcan@80", "c=gs-usb@48", "--rate", "250", "--tolerance", "0.5"},
  };
  for (const std::vector<std::string>& bus : buses) {
    std::vector<std::string> arguments = {"--plan"};
    int nodes = 0;
    for (const std::string& part : bus) {
      if (part.find('@') != std::string::npos) arguments.push_back("--node"), ++nodes;
      arguments.push_back(part);
    }
    const CompanionRun free = RunCompanion(arguments);
    ASSERT_EQ(free.exitCode, 0) << free.err;
    const std::vector<std::vector<std::string>> rows = NodeRows(free.out);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(nodes));
    for (int n = 0; n < nodes; ++n) {
      // Name, controller, clock, seg1, seg2, prescaler.
      const std::vector<std::string>& row = rows[static_cast<std::size_t>(n)];
      std::vector<std::string> fixed = arguments;
      fixed[static_cast<std::size_t>(2 + 2 * n)] += ",setting=" + row[5] + "/" + row[3] + "/" + row[4];
      const CompanionRun run = RunCompanion(fixed);
      EXPECT_EQ(run.exitCode, 0) << fixed[static_cast<std::size_t>(2 + 2 * n)] << run.err;
      EXPECT_EQ(NodeRows(run.out), rows) << fixed[static_cast<std::size_t>(2 + 2 * n)];
      EXPECT_NE(run.out.find("Fixed: " + row[0] + " (" + row[1] + " at " + row[2] + " MHz) keeps setting=" + row[5] +
                             "/" + row[3] + "/" + row[4] + " as given\n"),
                std::string::npos)
          << run.out;
      // The same node fixed by the registers its row shows ("CNF1=0x00 CNF2=0xB5
      // CNF3=0x01": the pairs joined by "/"), SJW and all; a controller whose
      // registers the driver keeps shows "-".
      if (row[11] == "-") continue;
      std::string registers;
      for (std::size_t cell = 11; cell + 1 < row.size(); ++cell) registers += (cell > 11 ? "/" : "") + row[cell];
      std::vector<std::string> byRegisters = arguments;
      byRegisters[static_cast<std::size_t>(2 + 2 * n)] += ",registers=" + registers;
      const CompanionRun read = RunCompanion(byRegisters);
      EXPECT_EQ(read.exitCode, 0) << byRegisters[static_cast<std::size_t>(2 + 2 * n)] << read.err;
      EXPECT_EQ(NodeRows(read.out), rows) << byRegisters[static_cast<std::size_t>(2 + 2 * n)];
      EXPECT_NE(read.out.find("keeps registers=" + registers.substr(0, 40)), std::string::npos) << read.out;
    }
  }
}

}  // namespace
