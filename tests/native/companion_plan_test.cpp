// The companion's --plan: each refusal's one line (exit 2, nothing on stdout), the
// lines when no plan exists (exit 3), and a plan worked by hand.
#include "answers/plan/bus_plan.h"
#include "tests/native/companion_run.h"

#include <gtest/gtest.h>

namespace {

struct Refusal {
  std::vector<std::string> arguments;
  int exitCode;
  std::string line;
};

const Refusal kRefusals[] = {
    {{"--plan", "--node", "a=bxcan@42"}, 2, "--plan needs at least two nodes, each --node NAME=CONTROLLER@MHZ"},
    {{"--node", "a=bxcan@42"}, 2, "--node needs --plan"},
    {{"--sample-point-spread", "3"}, 2, "--sample-point-spread needs --plan"},
    {{"--plan", "--node", "a=bxcan@42", "--node", "bxcan@8"}, 2,
     "invalid value \"bxcan@8\" for --node: not NAME=CONTROLLER@MHZ"},
    {{"--plan", "--node", "a=bxcan@42", "--node", "b=bxcan"}, 2,
     "invalid value \"b=bxcan\" for --node: not NAME=CONTROLLER@MHZ"},
    {{"--plan", "--node", "a=bxcan@42", "--node", "b=nosuch@8"}, 2,
     "invalid value \"b=nosuch@8\" for --node: unknown controller \"nosuch\" (--controller list shows the names)"},
    // The controller is echoed like any typed value: bytes that are no UTF-8 escaped.
    {{"--plan", "--node", "a=bxcan@42", "--node", "b=no\xff@8"}, 2,
     "invalid value \"b=no\\xff@8\" for --node: unknown controller \"no\\xff\" (--controller list shows the names)"},
    {{"--plan", "--node", "a=bxcan@42", "--node", "a=mcp2515@16"}, 2,
     "invalid value \"a=mcp2515@16\" for --node: another node is named a"},
    {{"--plan", "--node", "a=bxcan@42", "--node", "b=mcp2515@0"}, 2,
     "invalid value \"b=mcp2515@0\" for --node: the clock must be above 0 MHz"},
    {{"--plan", "--node", "a=bxcan@42", "--node", "b=mcp2515@2147483.648"}, 2,
     "invalid value \"b=mcp2515@2147483.648\" for --node: the clock must be below 2147483.648 MHz"},
    {{"--plan", "--node", "a=bxcan@42", "--node", "b.1=mcp2515@16"}, 2,
     "invalid value \"b.1=mcp2515@16\" for --node: a name holds letters, digits, - and _ only"},
    {{"--plan", "--node", "a=fdcan@80", "--node", "b=mcp2515@16", "--data-rate", "2000"}, 2,
     "node b (mcp2515) is a classic CAN controller: on a bus with --data-rate it would destroy every FD frame"},
    // A name of any length is cut at 40 characters, as every echoed value is.
    {{"--plan", "--node", std::string(41, 'n') + "=bxcan@42", "--node", std::string(41, 'n') + "=mcp2515@16"}, 2,
     "invalid value \"" + std::string(40, 'n') + "\u2026\" for --node: another node is named " +
         std::string(40, 'n') + "\u2026"},
    {{"--plan", "--node", "a=fdcan@80", "--node", std::string(50, 'b') + "=mcp2515@16", "--data-rate", "2000"}, 2,
     "node " + std::string(40, 'b') +
         "\u2026 (mcp2515) is a classic CAN controller: on a bus with --data-rate it would destroy every FD frame"},
    {{"--plan", "--node", "a=bxcan@42", "--node", std::string(45, 'b') + "=mcp2515@7", "--rate", "1000"}, 3,
     std::string(40, 'b') + "\u2026 (mcp2515 at 7 MHz) reaches at most 700 Kbps"},
    {{"--plan", "--node", "a=bxcan@42", "--node", "b=mcp2515@16", "--format", "tsv"}, 2,
     "--format tsv and csv hold one listing, not a bus: a plan is written as table, json or a code form"},
    {{"--plan", "--node", "a=bxcan@42", "--node", "b=mcp2515@16", "--format", "csv"}, 2,
     "--format tsv and csv hold one listing, not a bus: a plan is written as table, json or a code form"},
    {{"--plan", "--node", "a=bxcan@42", "--node", "b=mcp2515@16", "--clock", "8"}, 2,
     "--clock and --plan do not go together: each node gives its controller and clock, and the plan its setting"},
    {{"--plan", "--node", "a=bxcan@42", "--node", "b=mcp2515@16", "--rate", "1000", "--sample-point-spread", "0.1"}, 3,
     "b (mcp2515 at 16 MHz) reaches at most 0 m at 1000 Kbps with a 250 ns node delay; --bus-length is 10"},
    {{"--plan", "--node", "a=bxcan@42", "--node", "b=mcp2515@16", "--rate", "1000", "--sample-point-spread", "0.1",
      "--bus-length", "0"},
     3,
     "the closest plan spreads the sample points over 1.2 points; --sample-point-spread is 0.1"},
    // Past the planner's bounds (answers/plan/bus_plan.h): refused as input, in a tenth
    // of a second and a few MB, where the FD bus grew to 11 GB and aborted and the
    // classic one ran for minutes.
    {{"--plan", "--node", "a=mcan@80", "--node", "b=mcan@80", "--rate", "10", "--data-rate", "1000", "--tolerance",
      "10", "--sample-point", "0"},
     2,
     "the request is too large to answer: the nodes' listings hold more than 250000 settings to weigh (a smaller "
     "--tolerance or a higher --sample-point leaves fewer)"},
    {{"--plan", "--node", "a=mcan@80", "--node", "b=mcan@80", "--rate", "10", "--tolerance", "10", "--sample-point",
      "0"},
     2,
     "the request is too large to answer: the nodes' listings hold more than 250000 settings to weigh (a smaller "
     "--tolerance or a higher --sample-point leaves fewer)"},
    {{"--plan", "--node", "a=bxcan@42", "--node", "b=mcp2515@7", "--rate", "1000"}, 3,
     "b (mcp2515 at 7 MHz) reaches at most 700 Kbps"},
};

TEST(CompanionPlan, RefusalLines) {
  for (const Refusal& refusal : kRefusals) {
    const CompanionRun run = RunCompanion(refusal.arguments);
    EXPECT_EQ(run.exitCode, refusal.exitCode) << refusal.line;
    EXPECT_EQ(run.out, "") << refusal.line;
    EXPECT_EQ(run.err, std::string("quillmere-cli: ") + refusal.line + "\n");
  }
}

// bxCAN at 42 MHz and an MCP2515 at 16 MHz, 500 Kbps exact (84 and 32 clocks a bit).
// The MCP2515 reaches the advice, 87.5%, at 16 quanta (seg1 13, seg2 2, prescaler 2; its
// SJW stays below seg2: 1, so 1/320 = 0.3125%). bxCAN's nearest is 85.7% (12/14 at
// prescaler 6, or 6/7 at 12; 11/12 is 91.7%), 1.79 points off, within the spread: the
// two 85.7% settings both leave 0.5556% (14 quanta, SJW 2: ps1 6 after a 5-quantum
// propagation segment, ps2 2, 2/360; 7 quanta: 1/180), so the most quanta take 14.
// The margin is the MCP2515's 0.3125% rounded down; bxCAN limits the sample point and
// the longest bus (92 m).
TEST(CompanionPlan, TwoNodesWorkedByHand) {
  const CompanionRun run =
      RunCompanion({"--plan", "--node", "stm32=bxcan@42", "--node", "pi=mcp2515@16", "--format", "json"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out,
            "{\"nodes\": [\n"
            "  {\"name\": \"stm32\", \"controller\": \"bxcan\", \"clock\": 42,\n"
            "   \"nominal\": {\"bs1\": 11, \"bs2\": 2, \"prescaler\": 6, \"samplePoint\": 85.71, \"actualRate\": 500, \"errorPercent\": 0, \"signedErrorPercent\": 0, \"btr\": 18481157, \"oscillatorTolerance\": 0.5555555555555556, \"maxBusLength\": 92}},\n"
            "  {\"name\": \"pi\", \"controller\": \"mcp2515\", \"clock\": 16,\n"
            "   \"nominal\": {\"seg1\": 13, \"seg2\": 2, \"prop\": 6, \"phase1\": 7, \"prescaler\": 2, \"sjw\": 1, \"tqNs\": 125, \"samplePoint\": 87.5, \"actualRate\": 500, \"errorPercent\": 0, \"signedErrorPercent\": 0, \"registers\": {\"CNF1\": 0, \"CNF2\": 181, \"CNF3\": 1}, \"oscillatorTolerance\": 0.3125, \"maxBusLength\": 100}}\n"
            "], \"samplePointSpread\": 1.79, \"dataSamplePointSpread\": null, \"margin\": 0.31, \"maxBusLength\": 92, \"limits\": {\"samplePoint\": \"stm32 (bxcan at 42 MHz) cannot sample nearer to 87.5% than 85.7%\", \"margin\": \"pi (mcp2515 at 16 MHz) has the smallest tolerance, 0.31%\", \"longestBus\": \"stm32 (bxcan at 42 MHz) reaches the shortest bus, 92 m\"}}\n");
}

// The plan of the three nodes at tolerance 1 in hal: bxCAN has the form (SJW 2, the
// widest its BS2 of 2 allows); the MCP2515 has not, so its registers form follows (CNF1
// 0x00: SJW 1, prescaler 2; CNF2 0xB5: BTLMODE, SAM off, phase1 7, prop 6; CNF3 0x01:
// phase2 2); the PEAK adapter has no registers either, so its linux line (tq 12.5 ns,
// kernel's whole ns).
TEST(CompanionPlan, CodeFormOneBlockPerNode) {
  const CompanionRun run = RunCompanion({"--plan", "--node", "stm32=bxcan@42", "--node", "pi=mcp2515@16", "--node",
                                         "pc=peak-canfd@80", "--rate", "500", "--tolerance", "1", "--format", "hal"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            "/* stm32: bxcan at 42 MHz */\n"
            "/* 500 Kbps, sample point 85.7%, error 0%, CAN_BTR 0x011A0005, oscillator tolerance 0.55% */\n"
            "hcan.Init.Prescaler = 6;\n"
            "hcan.Init.SyncJumpWidth = CAN_SJW_2TQ;\n"
            "hcan.Init.TimeSeg1 = CAN_BS1_11TQ;\n"
            "hcan.Init.TimeSeg2 = CAN_BS2_2TQ;\n"
            "\n"
            "/* pi: mcp2515 at 16 MHz; mcp2515 has no hal form: its registers form instead */\n"
            "/* 500 Kbps, sample point 87.5%, error 0%, oscillator tolerance 0.31% */\n"
            "CNF1 = 0x00;\n"
            "CNF2 = 0xB5;\n"
            "CNF3 = 0x01;\n"
            "\n"
            "# pc: peak-canfd at 80 MHz; peak-canfd has no hal form: its linux form instead\n"
            "# 500 Kbps, sample point 87.5%, error 0%, oscillator tolerance 0.48%\n"
            "ip link set can0 type can tq 12 prop-seg 69 phase-seg1 70 phase-seg2 20 sjw 20\n"
            "# shorter: bitrate 500000 sample-point 0.875 (the kernel then picks prescaler and segments itself, maybe others)\n");
}

// Where every node has the form, no heading says otherwise; an FD bus writes each
// node's pair as one python-can line with the pair's tolerance after it.
TEST(CompanionPlan, CodeFormFdPairs) {
  const CompanionRun run =
      RunCompanion({"--plan", "--node", "a=fdcan@80", "--node", "b=mcp2518fd@40", "--rate", "500", "--data-rate",
                    "2000", "--tolerance", "1", "--format", "python-can"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out,
            "# a: fdcan at 80 MHz\n"
            "# nominal: 500 Kbps, sample point 87.5%, error 0%, oscillator tolerance 0.48%\n"
            "# data: 2000 Kbps, sample point 75%, error 0%, oscillator tolerance 1.25%\n"
            "timing = can.BitTimingFd(f_clock=80000000, nom_brp=1, nom_tseg1=139, nom_tseg2=20, nom_sjw=20, data_brp=1, data_tseg1=29, data_tseg2=10, data_sjw=10)\n"
            "\n"
            "# both phases together: oscillator tolerance 0.48%\n"
            "\n"
            "# b: mcp2518fd at 40 MHz\n"
            "# nominal: 500 Kbps, sample point 87.5%, error 0%, oscillator tolerance 0.48%\n"
            "# data: 2000 Kbps, sample point 75%, error 0%, oscillator tolerance 1.25%\n"
            "timing = can.BitTimingFd(f_clock=40000000, nom_brp=1, nom_tseg1=69, nom_tseg2=10, nom_sjw=10, data_brp=1, data_tseg1=14, data_tseg2=5, data_sjw=5)\n"
            "\n"
            "# both phases together: oscillator tolerance 0.48%\n");
}

// A form no node has: each node's registers form, headed so; not a refusal naming the
// default --controller (bxcan has no esp-idf form, and is no node here).
TEST(CompanionPlan, FormOfNoNodeGivesEachItsRegisters) {
  const CompanionRun run = RunCompanion({"--plan", "--node", "stm32=bxcan@42", "--node", "pi=mcp2515@16",
                                         "--format", "esp-idf"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            "/* stm32: bxcan at 42 MHz; bxcan has no esp-idf form: its registers form instead */\n"
            "/* 500 Kbps, sample point 85.7%, error 0%, oscillator tolerance 0.55% */\n"
            "CAN1->BTR = 0x011A0005;\n"
            "\n"
            "/* pi: mcp2515 at 16 MHz; mcp2515 has no esp-idf form: its registers form instead */\n"
            "/* 500 Kbps, sample point 87.5%, error 0%, oscillator tolerance 0.31% */\n"
            "CNF1 = 0x00;\n"
            "CNF2 = 0xB5;\n"
            "CNF3 = 0x01;\n");
}

// 64 nodes are planned; the 65th is refused before any node is read (2 000 of them
// once took a minute).
TEST(CompanionPlan, NodeLimit) {
  for (const int count : {64, 65, 2000}) {
    std::vector<std::string> arguments{"--plan", "--rate", "125"};
    for (int i = 0; i < count; ++i) arguments.push_back("--node=n" + std::to_string(i) + "=mcp2515@16");
    const CompanionRun run = RunCompanion(arguments);
    if (count == 64) {
      EXPECT_EQ(run.exitCode, 0);
      EXPECT_EQ(run.err, "");
      continue;
    }
    EXPECT_EQ(run.exitCode, 2) << count;
    EXPECT_EQ(run.out, "") << count;
    EXPECT_EQ(run.err, "quillmere-cli: --plan takes at most 64 nodes: " + std::to_string(count) + " were given\n");
  }
}

// The rule the planner follows is said word for word in --help, the man page and
// docs/companion.md: the header's text (answers/plan/bus_plan.h), its lines joined.
TEST(CompanionPlan, RuleSaidAlikeWhereverItIsWritten) {
  const auto oneLine = [](const std::string& text) {
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text.compare(i, 2, "\\-") == 0) continue;  // roff's escaped hyphen: its "-" follows
      const char c = text[i] == '\n' ? ' ' : text[i];
      if (c == ' ' && !line.empty() && line.back() == ' ') continue;
      line += c;
    }
    return line;
  };
  std::string header = ReadWholeFile(std::string(QUILLMERE_SOURCE_DIR) + "/answers/plan/bus_plan.h");
  const std::size_t first = header.find("// A combination of the nodes' settings");
  const std::size_t last = header.find("\n//\n", first);  // the paragraph's end
  ASSERT_NE(first, std::string::npos);
  ASSERT_NE(last, std::string::npos);
  std::string rule;
  for (std::size_t i = first; i < last; ++i) {
    if (header.compare(i, 3, "// ") == 0 && (i == first || header[i - 1] == '\n')) i += 2;
    else rule += header[i];
  }
  rule = oneLine(rule);
  EXPECT_NE(oneLine(RunCompanion({"--help"}).out).find(rule), std::string::npos) << rule;
  for (const char* document : {"/docs/quillmere-cli.1", "/docs/companion.md"})
    EXPECT_NE(oneLine(ReadWholeFile(std::string(QUILLMERE_SOURCE_DIR) + document)).find(rule), std::string::npos)
        << document;
}

// The buses a new user set up, each of which printed a plan that could not work (exit 0):
// each now answers with what stands in the way, a line per obstacle naming its node, or
// with a plan an engineer would sign.
TEST(CompanionPlan, NewUsersBuses) {
  const std::vector<std::string> five = {"--plan", "--node", "pi16=mcp2515@16", "--node", "stm32=bxcan@42", "--node",
                                         "esp32=esp32-twai@80", "--node", "pcan=peak-canfd@80"};
  const struct {
    std::vector<std::string> extra;
    bool withPi8;
    std::string err;
  } refusals[] = {
      // Nodes at 800, 1050 and 1000 Kbps on one bus, margin -20%, no bus: now the 8 MHz
      // MCP2515's 800 Kbps sits 20% off and reaches no bus at 250 ns.
      {{"--rate", "1000", "--tolerance", "20"}, true,
       "pi8 (mcp2515 at 8 MHz) reaches no bus at 1000 Kbps with a 250 ns node delay: its propagation segment leaves "
       "no phase 1\n"},
      {{"--rate", "1000", "--tolerance", "1"}, true,
       "pi16 (mcp2515 at 16 MHz) reaches at most 0 m at 1000 Kbps with a 250 ns node delay; --bus-length is 10\n"
       "pi8 (mcp2515 at 8 MHz) reaches at most 800 Kbps\n"},
      // Without it, at 40 m: every tolerance 0.00% and "Longest bus: -" before.
      {{"--rate", "1000", "--tolerance", "20", "--bus-length", "40"}, false,
       "pi16 (mcp2515 at 16 MHz) reaches at most 25 m at 1000 Kbps with a 250 ns node delay; --bus-length is 40\n"},
      // With no loop delay and no length the 20% is what stands in the way.
      {{"--rate", "1000", "--tolerance", "20", "--bus-length", "0", "--node-delay", "0"}, true,
       "pi8 is 20% off the rate: its tolerance leaves -19.00% for the oscillators, below the 0.01% clock accuracy\n"},
  };
  for (const auto& c : refusals) {
    std::vector<std::string> arguments = five;
    if (c.withPi8) arguments.insert(arguments.end(), {"--node", "pi8=mcp2515@8"});
    arguments.insert(arguments.end(), c.extra.begin(), c.extra.end());
    const CompanionRun run = RunCompanion(arguments);
    EXPECT_EQ(run.exitCode, 3) << c.err;
    EXPECT_EQ(run.out, "") << c.err;
    std::string err;
    for (std::size_t at = 0; at < c.err.size();) {
      const std::size_t end = c.err.find('\n', at) + 1;
      err += "quillmere-cli: " + c.err.substr(at, end - at);
      at = end;
    }
    EXPECT_EQ(run.err, err);
  }
  // The FD bus whose margin was -0.05%: the PCAN adapter has no TDC, and at 4000 Kbps
  // its loop delay outlasts every data sample point.
  const CompanionRun fd = RunCompanion({"--plan", "--node", "g4=fdcan@170", "--node", "mcp=mcp2518fd@40", "--node",
                                        "pcan=peak-canfd@80", "--rate", "500", "--data-rate", "4000", "--tolerance", "2"});
  EXPECT_EQ(fd.exitCode, 3);
  EXPECT_EQ(fd.err, "quillmere-cli: pcan (peak-canfd at 80 MHz) has no TDC, and at 4000 Kbps with a 250 ns node delay "
                    "none of its data settings samples after its own bits return\n");
  // 125 Kbps: the STM32 gets 16 quanta at 87.5%, not a 4-quantum bit.
  const CompanionRun slow = RunCompanion({"--plan", "--node", "stm32=bxcan@42", "--node", "pi=mcp2515@16", "--node",
                                          "pc=peak-canfd@80", "--rate", "125", "--tolerance", "1", "--format", "hal"});
  EXPECT_EQ(slow.exitCode, 0);
  EXPECT_NE(slow.out.find("/* 125 Kbps, sample point 87.5%, error 0%, CAN_BTR 0x011C0014, oscillator tolerance 0.48% */\n"
                          "hcan.Init.Prescaler = 21;\n"),
            std::string::npos)
      << slow.out;
  // FD at 170 MHz: the nominal phase is exact (500 Kbps is 340 clocks).
  const CompanionRun exact = RunCompanion({"--plan", "--node", "g4=fdcan@170", "--node", "mcp=mcp2518fd@40", "--rate",
                                           "500", "--data-rate", "2000", "--tolerance", "2", "--format", "json"});
  EXPECT_EQ(exact.exitCode, 0) << exact.err;
  EXPECT_NE(exact.out.find("\"name\": \"g4\", \"controller\": \"fdcan\", \"clock\": 170,\n   \"nominal\": {"),
            std::string::npos);
  EXPECT_NE(exact.out.find("\"actualRate\": 500, \"errorPercent\": 0,"), std::string::npos) << exact.out;
}

// Each node option and the plan's own options are refused with one line (exit 2).
TEST(CompanionPlan, OptionRefusals) {
  const std::vector<std::string> bus = {"--plan", "--node", "b=mcp2515@16"};
  const struct {
    std::vector<std::string> arguments;
    std::string line;
  } cases[] = {
      {{"--clock-accuracy", "50"}, "--clock-accuracy needs --plan"},
      {{"--target-sample-point", "80"},
       "--target-sample-point needs --best or --plan: a listing shows every setting, whatever its sample point"},
      {{"--node", "a=bxcan@42", "--clock-accuracy", "100001"},
       "invalid value \"100001\" for --clock-accuracy: not a whole number of ppm from 0 to 100000"},
      {{"--node", "a=bxcan@42", "--clock-accuracy", "1.5"},
       "invalid value \"1.5\" for --clock-accuracy: not a whole number of ppm from 0 to 100000"},
      {{"--node", "a=bxcan@42", "--target-sample-point", "49.999999"},
       "invalid value \"49.999999\" for --target-sample-point: a target sample point is from 50 to 100%"},
      {{"--node", "a=bxcan@42", "--target-sample-point", "100.5"},
       "invalid value \"100.5\" for --target-sample-point: not a percent from 0 to 100 with at most six decimals"},
      {{"--node", "a=bxcan@42", "--data-target-sample-point", "80"}, "--data-target-sample-point needs --data-rate"},
      {{"--node", "a=bxcan@42,sjw=5"}, "invalid value \"a=bxcan@42,sjw=5\" for --node: sjw= is not a whole number of "
                                       "quanta from 1 to 4"},
      {{"--node", "a=bxcan@42,sjw=0"}, "invalid value \"a=bxcan@42,sjw=0\" for --node: sjw= is not a whole number of "
                                       "quanta from 1 to 4"},
      {{"--node", "a=bxcan@42,dsjw=1"},
       "invalid value \"a=bxcan@42,dsjw=1\" for --node: dsjw= is for an FD controller's data phase"},
      {{"--node", "a=bxcan@42,ppm=x"},
       "invalid value \"a=bxcan@42,ppm=x\" for --node: ppm= is not a whole number of ppm from 0 to 100000"},
      {{"--node", "a=bxcan@42,ppm=1,ppm=2"}, "invalid value \"a=bxcan@42,ppm=1,ppm=2\" for --node: ppm= is given twice"},
      {{"--node", "a=bxcan@42,foo=1"},
       "invalid value \"a=bxcan@42,foo=1\" for --node: unknown node option \"foo\" (a node takes sjw=, dsjw=, ppm=, "
       "form=, setting=, dsetting=, registers= and dregisters=)"},
      {{"--node", "a=bxcan@42,"},
       "invalid value \"a=bxcan@42,\" for --node: unknown node option \"\" (a node takes sjw=, dsjw=, ppm=, form=, "
       "setting=, dsetting=, registers= and dregisters=)"},
      {{"--node", "a=bxcan@42,form=json"}, "invalid value \"a=bxcan@42,form=json\" for --node: form= is not a code form "
                                           "(registers, linux, zephyr, python-can, hal, spl, esp-idf or sdk)"},
      {{"--node", "a=bxcan@42,form=esp-idf"},
       "invalid value \"a=bxcan@42,form=esp-idf\" for --node: form= esp-idf is no form of bxcan (it has table, tsv, "
       "csv, json, hal, spl, registers, linux, zephyr, python-can)"},
      {{"--node", "a=bxcan@42,form=hal,form=spl"},
       "invalid value \"a=bxcan@42,form=hal,form=spl\" for --node: form= is given twice"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> arguments = c.arguments;
    if (c.arguments[0] == "--node") arguments.insert(arguments.begin(), bus.begin(), bus.end());
    const CompanionRun run = RunCompanion(arguments);
    EXPECT_EQ(run.exitCode, 2) << c.line;
    EXPECT_EQ(run.out, "") << c.line;
    EXPECT_EQ(run.err, "quillmere-cli: " + c.line + "\n");
  }
}

// A node's own options count: the STM32 held at SJW 1 (as the window's register keeps
// it) has 0.35% where the widest, 2, gives 0.55%; a node's 5000 ppm oscillator asks a
// margin of 0.5%, which only 81% sample points leave.
TEST(CompanionPlan, NodeOptionsCount) {
  const CompanionRun held = RunCompanion({"--plan", "--node", "stm32=bxcan@42,sjw=1", "--node", "pi=mcp2515@16",
                                          "--format", "registers"});
  EXPECT_EQ(held.exitCode, 0) << held.err;
  EXPECT_NE(held.out.find("sample point 85.7%, error 0%, oscillator tolerance 0.35% */\nCAN1->BTR = 0x001A0005;"),
            std::string::npos)
      << held.out;
  const CompanionRun drifting = RunCompanion({"--plan", "--node", "stm32=bxcan@42,ppm=5000", "--node", "pi=mcp2515@16"});
  EXPECT_EQ(drifting.exitCode, 0) << drifting.err;
  EXPECT_NE(drifting.out.find("Sample points: 81.0% to 81.3% (spread 0.3 points)\nMargin: 0.62%"), std::string::npos)
      << drifting.out;
  const CompanionRun target = RunCompanion({"--plan", "--node", "stm32=bxcan@42", "--node", "pi=mcp2515@16",
                                            "--target-sample-point", "75"});
  EXPECT_NE(target.out.find("Limit: every node samples at the target 75%\n"), std::string::npos) << target.out;
}

// Each node in its own form where it gives one: the STM32 the HAL, the Pi an ip link
// line; a node without form= keeps --format's (the PCAN adapter, which has no registers
// form, its linux one).
TEST(CompanionPlan, EachNodeInItsOwnForm) {
  const CompanionRun run = RunCompanion({"--plan", "--node", "stm32=bxcan@42,form=hal", "--node",
                                         "pi=mcp2515@16,form=linux", "--node", "pc=peak-canfd@80", "--format",
                                         "registers"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out,
            "/* stm32: bxcan at 42 MHz */\n"
            "/* 500 Kbps, sample point 85.7%, error 0%, CAN_BTR 0x011A0005, oscillator tolerance 0.55% */\n"
            "hcan.Init.Prescaler = 6;\n"
            "hcan.Init.SyncJumpWidth = CAN_SJW_2TQ;\n"
            "hcan.Init.TimeSeg1 = CAN_BS1_11TQ;\n"
            "hcan.Init.TimeSeg2 = CAN_BS2_2TQ;\n"
            "\n"
            "# pi: mcp2515 at 16 MHz\n"
            "# 500 Kbps, sample point 87.5%, error 0%, oscillator tolerance 0.31%\n"
            "# the kernel counts tq in its clock, half the typed one: 8000000 Hz\n"
            "# on a Raspberry Pi, config.txt: dtoverlay=mcp2515-can0,oscillator=16000000,interrupt=25 (interrupt: the "
            "GPIO its INT pin is wired to)\n"
            "ip link set can0 type can tq 125 prop-seg 6 phase-seg1 7 phase-seg2 2 sjw 1\n"
            "# shorter: bitrate 500000 sample-point 0.875 (the kernel then picks prescaler and segments itself, maybe "
            "others)\n"
            "ip link set can0 up\n"
            "\n"
            "# pc: peak-canfd at 80 MHz; peak-canfd has no registers form: its linux form instead\n"
            "# 500 Kbps, sample point 87.5%, error 0%, oscillator tolerance 0.48%\n"
            "ip link set can0 type can tq 12 prop-seg 69 phase-seg1 70 phase-seg2 20 sjw 20\n"
            "# shorter: bitrate 500000 sample-point 0.875 (the kernel then picks prescaler and segments itself, maybe "
            "others)\n");
}

TEST(CompanionPlan, HelpHasThePlan) {
  const CompanionRun run = RunCompanion({"--help"});
  EXPECT_NE(run.out.find("quillmere-cli --plan --node NAME=CONTROLLER@MHZ"), std::string::npos);
  EXPECT_NE(run.out.find("Bus plan: each node's setting is a row of its own listing"), std::string::npos);
}

// The bounds are said alike in --help, the man page and docs/companion.md, with the
// numbers the code keeps.
TEST(CompanionPlan, BoundsSaidAlikeWithTheCodesNumbers) {
  const std::string sentence = "A plan takes at most " + std::to_string(kMaxPlanNodes) +
                               " nodes. A request whose nodes hold more than " + std::to_string(kMaxPlanSettings) +
                               " settings to weigh (an FD node's: its nominal/data pairs), or whose plans take more "
                               "than " + std::to_string(kMaxPlanWork) +
                               " steps to weigh, is refused as too large to answer (exit code 2).";
  const auto oneLine = [](std::string text) {
    for (char& c : text)
      if (c == '\n') c = ' ';
    return text;
  };
  EXPECT_NE(oneLine(RunCompanion({"--help"}).out).find(sentence), std::string::npos);
  for (const char* document : {"/docs/quillmere-cli.1", "/docs/companion.md"})
    EXPECT_NE(oneLine(ReadWholeFile(std::string(QUILLMERE_SOURCE_DIR) + document)).find(sentence), std::string::npos)
        << document;
}

}  // namespace
