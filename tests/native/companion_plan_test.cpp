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
     "node " + std::string(40, 'b') +
         "\u2026 (mcp2515 at 7 MHz) has no setting for the rate (a larger --tolerance or a lower --sample-point may "
         "find one)"},
    {{"--plan", "--node", "a=bxcan@42", "--node", "b=mcp2515@16", "--format", "tsv"}, 2,
     "--format tsv and csv hold one listing, not a bus: a plan is written as table, json or a code form"},
    {{"--plan", "--node", "a=bxcan@42", "--node", "b=mcp2515@16", "--format", "csv"}, 2,
     "--format tsv and csv hold one listing, not a bus: a plan is written as table, json or a code form"},
    {{"--plan", "--node", "a=bxcan@42", "--node", "b=mcp2515@16", "--clock", "8"}, 2,
     "--clock and --plan do not go together: each node gives its controller and clock, and the plan its setting"},
    {{"--plan", "--node", "a=bxcan@42", "--node", "b=mcp2515@16", "--rate", "1000", "--sample-point-spread", "0.1"}, 3,
     "the closest plan spreads the sample points over 0.6 points; --sample-point-spread is 0.1"},
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
     "node b (mcp2515 at 7 MHz) has no setting for the rate (a larger --tolerance or a lower --sample-point may "
     "find one)"},
};

TEST(CompanionPlan, RefusalLines) {
  for (const Refusal& refusal : kRefusals) {
    const CompanionRun run = RunCompanion(refusal.arguments);
    EXPECT_EQ(run.exitCode, refusal.exitCode) << refusal.line;
    EXPECT_EQ(run.out, "") << refusal.line;
    EXPECT_EQ(run.err, std::string("quillmere-cli: ") + refusal.line + "\n");
  }
}

// bxCAN at 42 MHz and an MCP2515 at 16 MHz, 500 Kbps exact: both can reach 75%, and
// the plan with the largest margin puts both there: bxCAN BS1 8, BS2 3, prescaler 7
// (12 quanta, SJW 1: 1/240 = 0.42%, the smaller one), the MCP2515 11 + 4 at prescaler
// 2 (16 quanta, SJW 3: 0.94%); no error, so the margin is bxCAN's 0.41% rounded down.
TEST(CompanionPlan, TwoNodesWorkedByHand) {
  const CompanionRun run =
      RunCompanion({"--plan", "--node", "stm32=bxcan@42", "--node", "pi=mcp2515@16", "--format", "json"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out,
            "{\"nodes\": [\n"
            "  {\"name\": \"stm32\", \"controller\": \"bxcan\", \"clock\": 42,\n"
            "   \"nominal\": {\"bs1\": 8, \"bs2\": 3, \"prescaler\": 7, \"samplePoint\": 75, \"actualRate\": 500, "
            "\"errorPercent\": 0, \"signedErrorPercent\": 0, \"btr\": 2555910, \"oscillatorTolerance\": "
            "0.4166666666666667, \"maxBusLength\": 66}},\n"
            "  {\"name\": \"pi\", \"controller\": \"mcp2515\", \"clock\": 16,\n"
            "   \"nominal\": {\"seg1\": 11, \"seg2\": 4, \"prop\": 5, \"phase1\": 6, \"prescaler\": 2, \"sjw\": 3, "
            "\"tqNs\": 125, \"samplePoint\": 75, \"actualRate\": 500, \"errorPercent\": 0, \"signedErrorPercent\": 0, "
            "\"registers\": {\"CNF1\": 128, \"CNF2\": 172, \"CNF3\": 3}, \"oscillatorTolerance\": 0.9375, "
            "\"maxBusLength\": 75}}\n"
            "], \"samplePointSpread\": 0, \"dataSamplePointSpread\": null, \"margin\": 0.41, \"maxBusLength\": 66}\n");
}

// The plan of the three nodes at tolerance 1 in hal: bxCAN has the form; the MCP2515
// has not, so its registers form follows (CNF1 0x80: SJW 3, prescaler 2; CNF2 0xAC:
// BTLMODE, phase1 6, prop 5; CNF3 0x03: phase2 4); the PEAK adapter has no registers
// either, so its linux line (tq 12.5 ns, kernel's whole ns).
TEST(CompanionPlan, CodeFormOneBlockPerNode) {
  const CompanionRun run = RunCompanion({"--plan", "--node", "stm32=bxcan@42", "--node", "pi=mcp2515@16", "--node",
                                         "pc=peak-canfd@80", "--rate", "500", "--tolerance", "1", "--format", "hal"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out,
            "/* stm32: bxcan at 42 MHz */\n"
            "/* 500 Kbps, sample point 75%, error 0%, CAN_BTR 0x00270006, oscillator tolerance 0.41% */\n"
            "hcan.Init.Prescaler = 7;\n"
            "hcan.Init.SyncJumpWidth = CAN_SJW_1TQ;\n"
            "hcan.Init.TimeSeg1 = CAN_BS1_8TQ;\n"
            "hcan.Init.TimeSeg2 = CAN_BS2_3TQ;\n"
            "\n"
            "/* pi: mcp2515 at 16 MHz; mcp2515 has no hal form: its registers form instead */\n"
            "/* 500 Kbps, sample point 75%, error 0%, oscillator tolerance 0.93% */\n"
            "CNF1 = 0x80;\n"
            "CNF2 = 0xAC;\n"
            "CNF3 = 0x03;\n"
            "\n"
            "# pc: peak-canfd at 80 MHz; peak-canfd has no hal form: its linux form instead\n"
            "# 500 Kbps, sample point 75%, error 0%, oscillator tolerance 0.98%\n"
            "ip link set can0 type can tq 12 prop-seg 59 phase-seg1 60 phase-seg2 40 sjw 40\n"
            "# shorter: bitrate 500000 sample-point 0.75 (the kernel then picks prescaler and segments itself, maybe "
            "others)\n");
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
            "# nominal: 500 Kbps, sample point 65.0%, error 0%, oscillator tolerance 1.35%\n"
            "# data: 2000 Kbps, sample point 70.0%, error 0%, oscillator tolerance 1.50%\n"
            "timing = can.BitTimingFd(f_clock=80000000, nom_brp=1, nom_tseg1=103, nom_tseg2=56, nom_sjw=56, "
            "data_brp=1, data_tseg1=27, data_tseg2=12, data_sjw=12)\n"
            "\n"
            "# both phases together: oscillator tolerance 1.35%\n"
            "\n"
            "# b: mcp2518fd at 40 MHz\n"
            "# nominal: 500 Kbps, sample point 65.0%, error 0%, oscillator tolerance 1.33%\n"
            "# data: 2000 Kbps, sample point 70.0%, error 0%, oscillator tolerance 1.50%\n"
            "timing = can.BitTimingFd(f_clock=40000000, nom_brp=1, nom_tseg1=51, nom_tseg2=28, nom_sjw=28, "
            "data_brp=1, data_tseg1=13, data_tseg2=6, data_sjw=6)\n"
            "\n"
            "# both phases together: oscillator tolerance 1.33%\n");
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
            "/* 500 Kbps, sample point 75%, error 0%, oscillator tolerance 0.41% */\n"
            "CAN1->BTR = 0x00270006;\n"
            "\n"
            "/* pi: mcp2515 at 16 MHz; mcp2515 has no esp-idf form: its registers form instead */\n"
            "/* 500 Kbps, sample point 75%, error 0%, oscillator tolerance 0.93% */\n"
            "CNF1 = 0x80;\n"
            "CNF2 = 0xAC;\n"
            "CNF3 = 0x03;\n");
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
