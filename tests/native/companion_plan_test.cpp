// The companion's --plan: each refusal's one line (exit 2, nothing on stdout), the
// lines when no plan exists (exit 3), and a plan worked by hand.
#include "tests/native/companion_run.h"

#include <gtest/gtest.h>

namespace {

struct Refusal {
  std::vector<std::string> arguments;
  int exitCode;
  const char* line;
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
     "invalid value \"b=nosuch@8\" for --node: unknown controller nosuch (--controller list shows the names)"},
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
    {{"--plan", "--node", "a=bxcan@42", "--node", "b=mcp2515@16", "--format", "hal"}, 2,
     "--format: a plan is written as table or json (its code forms are not made yet)"},
    {{"--plan", "--node", "a=bxcan@42", "--node", "b=mcp2515@16", "--clock", "8"}, 2,
     "--clock and --plan do not go together: each node gives its controller and clock, and the plan its setting"},
    {{"--plan", "--node", "a=bxcan@42", "--node", "b=mcp2515@16", "--rate", "1000", "--sample-point-spread", "0.1"}, 3,
     "the closest plan spreads the sample points over 0.6 points; --sample-point-spread is 0.1"},
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

TEST(CompanionPlan, HelpHasThePlan) {
  const CompanionRun run = RunCompanion({"--help"});
  EXPECT_NE(run.out.find("quillmere-cli --plan --node NAME=CONTROLLER@MHZ"), std::string::npos);
  EXPECT_NE(run.out.find("Bus plan: each node's setting is a row of its own listing"), std::string::npos);
}

}  // namespace
