// The warnings below a best setting that meets the request but puts a bus at risk,
// and --strict, which turns them into exit code 4 for scripts. The program itself is
// run; its exact standard error and exit code are compared.
#include "tests/native/companion_run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr char kWarning[] = "quillmere-cli: warning: ";

struct WarningCase {
  std::vector<std::string> arguments;
  int exitCode;
  std::vector<std::string> warnings;  // without kWarning
};

TEST(BestWarnings, EachRiskIsALineAndStrictFailsOnIt) {
  const WarningCase cases[] = {
      // A sound setting: nothing, with or without --strict.
      {{"--clock", "42", "--rate", "125", "--best", "--strict"}, 0, {}},
      {{"--clock", "8", "--rate", "1000", "--tolerance", "5", "--best"},
       0,
       {"the oscillator tolerance is 0.00%: the nodes' clocks may not differ at all",
        "the longest bus is 0 m, shorter than the 10 m --bus-length asks for"}},
      {{"--clock", "8", "--rate", "1000", "--tolerance", "5", "--best", "--strict", "--format", "json"},
       4,
       {"the oscillator tolerance is 0.00%: the nodes' clocks may not differ at all",
        "the longest bus is 0 m, shorter than the 10 m --bus-length asks for"}},
      // 800 Kbps at 17 MHz: 809.524 Kbps, 1.19% off, with 0.74% left for the clocks.
      {{"--clock", "17", "--rate", "800", "--tolerance", "5", "--best", "--strict"},
       4,
       {"the rate error 1.19048% is larger than the oscillator tolerance it leaves, 0.74%"}},
      // A node delay the bit cannot hold: no bus at all.
      {{"--clock", "42", "--rate", "1000", "--node-delay", "900", "--tolerance", "1", "--best"},
       0,
       {"the oscillator tolerance is 0.00%: the nodes' clocks may not differ at all",
        "the setting reaches no bus at all (its propagation segment leaves no phase 1); --bus-length asks for 10 m"}},
      {{"--controller", "fdcan", "--clock", "20", "--rate", "1000", "--data-rate", "5000", "--tolerance", "2",
        "--data-tolerance", "5", "--best"},
       0,
       {"the data phase's bit has 4 quanta, fewer than 8: resynchronisation is coarse"}},
      // The pair's tolerance (json's oscillatorTolerance), though each row's is above 0.
      {{"--controller", "fdcan", "--clock", "160", "--rate", "500", "--data-rate", "5000", "--data-sample-point", "95",
        "--data-tolerance", "3", "--best", "--strict"},
       4,
       {"the oscillator tolerance of both phases together is 0.00%: the nodes' clocks may not differ at all"}},
      {{"--controller", "peak-canfd", "--rate", "500", "--data-rate", "5000", "--node-delay", "300",
        "--data-tolerance", "1", "--best"},
       0,
       {"the data phase at 5000 Kbps cannot check its own bits: peak-canfd has no TDC, and at a 300 ns node delay "
        "its sample point comes before its bits return"}},
      // 2000 Kbps at 170 MHz: data prescaler 5, no TDC, sampled at 382 ns (12 + 1 of
      // 5 / 170 MHz); a bit that returns before that needs none.
      {{"--controller", "fdcan", "--clock", "170", "--rate", "500", "--data-rate", "2000", "--best"}, 0, {}},
      {{"--controller", "fdcan", "--clock", "170", "--rate", "500", "--data-rate", "2000", "--node-delay", "400",
        "--best"},
       0,
       {"the data phase at 2000 Kbps cannot check its own bits: at a 400 ns node delay its sample point comes before "
        "its bits return, and it cannot use fdcan's TDC: its data prescaler is above 2"}},
      // A plan holds every other risk as a condition; a bit of few quanta it warns of.
      {{"--plan", "--node", "a=fdcan@40", "--node", "b=mcp2518fd@40", "--rate", "500", "--data-rate", "8000",
        "--data-tolerance", "1", "--strict"},
       4,
       {"a (fdcan at 40 MHz) has 5 quanta per data bit, fewer than 8: resynchronisation is coarse",
        "b (mcp2518fd at 40 MHz) has 5 quanta per data bit, fewer than 8: resynchronisation is coarse"}},
      {{"--plan", "--node", "a=fdcan@40", "--node", "b=mcp2518fd@40", "--rate", "500", "--strict"}, 0, {}},
      // A listing has no best to warn of, and --strict goes with --best or --plan alone.
      {{"--clock", "8", "--rate", "1000", "--tolerance", "5"}, 0, {}},
  };
  for (const WarningCase& c : cases) {
    std::string context;
    for (const std::string& a : c.arguments) context += a + " ";
    const CompanionRun run = RunCompanion(c.arguments);
    std::string expected;
    for (const std::string& line : c.warnings) expected += kWarning + line + "\n";
    EXPECT_EQ(run.exitCode, c.exitCode) << context;
    EXPECT_EQ(run.err, expected) << context;
    EXPECT_FALSE(run.out.empty()) << context;
  }
}

TEST(BestWarnings, StrictWithoutBestIsRefused) {
  const CompanionRun run = RunCompanion({"--clock", "8", "--rate", "1000", "--strict"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err, "quillmere-cli: --strict needs --best or --plan: it fails the run when their answer has a warning\n");
  EXPECT_EQ(run.out, "");
}

// A target sample point moves --best's step 2 from the advice to it, and where no
// setting of the smallest error meets it, a line says the nearest one found.
TEST(BestTarget, TheBestNearestTheTargetAndTheNearestSaid) {
  const struct {
    std::vector<std::string> arguments;
    int exitCode;
    std::string out;
    std::string err;
  } cases[] = {
      // The CANopen 87.5% at 42 MHz: 85.7% is the nearest at 0% error.
      {{"--best", "--target-sample-point", "87.5", "--format", "tsv"},
       0,
       "CAN_BS1_11tq\tCAN_BS2_2tq\t6\t85.7%\t500\t0%\n",
       "quillmere-cli: the sample point nearest --target-sample-point 87.5 among the settings with the smallest error "
       "is 85.7%\n"},
      // Met exactly: nothing said; the advice (87.5%) would pick 85.7% instead.
      {{"--best", "--target-sample-point", "75", "--format", "tsv"}, 0, "CAN_BS1_8tq\tCAN_BS2_3tq\t7\t75%\t500\t0%\n", ""},
      {{"--controller", "fdcan", "--clock", "40", "--rate", "500", "--data-rate", "2000", "--best",
        "--target-sample-point", "80", "--data-target-sample-point", "70.5", "--format", "tsv"},
       0,
       "nominal\t63\t16\t1\t80.0%\t500\t0%\t0x1E003E0F\ndata\t13\t6\t1\t70.0%\t2000\t0%\t0x00000C55\n",
       "quillmere-cli: the sample point nearest --data-target-sample-point 70.5 among the settings with the smallest "
       "error is 70.0%\n"},
      // A listing shows every sample point: a target has nothing to choose.
      {{"--target-sample-point", "80"},
       2,
       "",
       "quillmere-cli: --target-sample-point needs --best or --plan: a listing shows every setting, whatever its "
       "sample point\n"},
      {{"--best", "--target-sample-point", "49.9"},
       2,
       "",
       "quillmere-cli: invalid value \"49.9\" for --target-sample-point: a target sample point is from 50 to 100%\n"},
  };
  for (const auto& c : cases) {
    std::string context;
    for (const std::string& a : c.arguments) context += a + " ";
    const CompanionRun run = RunCompanion(c.arguments);
    EXPECT_EQ(run.exitCode, c.exitCode) << context;
    EXPECT_EQ(run.out, c.out) << context;
    EXPECT_EQ(run.err, c.err) << context;
  }
}

}  // namespace
