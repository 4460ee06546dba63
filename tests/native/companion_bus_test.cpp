// The bus answers through the program and through the answers library: the tolerance
// filter, --wide, TDC in the code, the nominal ranges, and the new options' refusals.
#include "answers/rows/phase_search.h"
#include "calc/fp_environment.h"

#include "tests/native/companion_run.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields(1);
  for (char c : line) {
    if (c == '\t')
      fields.emplace_back();
    else
      fields.back().push_back(c);
  }
  return fields;
}

// The preset's answers at SJW 1 and 2: 1/280 (0.357%) and 2/360 (0.556%), shown rounded
// down, 0.35% and 0.55%. Without --sjw the best takes the widest its BS2 allows, 2.
TEST(BusAnswers, ThePresetsBestAtSjwOneAndTwo) {
  const std::string head = "CAN_BS1_11tq\tCAN_BS2_2tq\t6\t85.7%\t500\t0%\t";
  EXPECT_EQ(RunCompanion({"--best", "--format", "tsv", "--wide", "--sjw", "1"}).out, head + "0x001A0005\t0.35%\t92 m\n");
  EXPECT_EQ(RunCompanion({"--best", "--format", "tsv", "--wide"}).out, head + "0x011A0005\t0.55%\t92 m\n");
  EXPECT_EQ(RunCompanion({"--best", "--format", "tsv", "--wide", "--sjw", "2"}).out, head + "0x011A0005\t0.55%\t92 m\n");
  // Without --wide tsv keeps the window's six columns.
  EXPECT_EQ(RunCompanion({"--best", "--format", "tsv"}).out, "CAN_BS1_11tq\tCAN_BS2_2tq\t6\t85.7%\t500\t0%\n");
  // A longer delay or bus: prop = ceil(2 × (1000 + 5 × 10) / 142.857) = 15 > 11.
  EXPECT_EQ(RunCompanion({"--best", "--format", "tsv", "--wide", "--node-delay", "1000"}).out,
            head + "0x011A0005\t0.00%\t-\n");
  // 92 m: ceil(2 × (250 + 460) / 142.857) = 10 = BS1 − 1, the last that fits.
  EXPECT_EQ(RunCompanion({"--best", "--format", "csv", "--wide", "--bus-length", "92", "--sjw", "2"}).out,
            "BS1,BS2,分频系数,采集点,实际波特率,误差,CAN_BTR,Tolerance,Max bus\r\n"
            "CAN_BS1_11tq,CAN_BS2_2tq,6,85.7%,500,0%,0x011A0005,0.27%,92 m\r\n");
}

// The tolerance of a json row, the full double.
double JsonTolerance(const std::string& line) {
  const std::size_t at = line.find("\"oscillatorTolerance\": ");
  return at == std::string::npos ? -1.0 : std::strtod(line.c_str() + at + 23, nullptr);
}

// The rows of a json answer, each led by its phase, without their commas.
std::vector<std::string> JsonRows(const std::vector<std::string>& lines) {
  std::vector<std::string> rows;
  std::string phase;
  for (std::string line : lines) {
    if (line.find("\"nominal\": [") != std::string::npos) phase = "nominal ";
    if (line.find("\"data\": [") != std::string::npos) phase = "data ";
    if (JsonTolerance(line) < 0.0) continue;
    if (line.back() == ',') line.pop_back();
    rows.push_back(phase + line);
  }
  return rows;
}

// --min-tolerance keeps exactly the rows of the unfiltered listing at or above it, in
// every phase, and --best then picks among those.
TEST(BusAnswers, MinToleranceFiltersTheListing) {
  const std::vector<std::vector<std::string>> requests = {
      {"--tolerance", "5", "--sample-point", "50"},
      {"--clock", "8", "--rate", "125", "--tolerance", "3", "--sjw", "2"},
      {"--controller", "fdcan", "--clock", "80", "--rate", "500", "--sample-point", "80", "--data-rate", "2000",
       "--data-tolerance", "2"},
  };
  int kept = 0;
  int left = 0;
  for (std::vector<std::string> request : requests) {
    request.insert(request.end(), {"--format", "json"});
    const std::vector<std::string> all = Lines(RunCompanion(request).out);
    ASSERT_GT(all.size(), 10u);
    for (const char* threshold : {"0", "0.4", "0.5", "1", "2.5"}) {
      std::vector<std::string> expected;
      for (const std::string& row : JsonRows(all)) {
        if (JsonTolerance(row) >= std::atof(threshold)) expected.push_back(row);
      }
      std::vector<std::string> filtered = request;
      filtered.insert(filtered.end(), {"--min-tolerance", threshold});
      const CompanionRun run = RunCompanion(filtered);
      EXPECT_EQ(run.exitCode, 0);
      EXPECT_EQ(JsonRows(Lines(run.out)), expected) << request[1] << " " << threshold;
      kept += static_cast<int>(expected.size());
      left += static_cast<int>(JsonRows(all).size() - expected.size());
    }
  }
  EXPECT_GT(kept, 100);
  EXPECT_GT(left, 100);
  // --best runs over what is left, each row with the widest SJW: at 0.4% the preset's
  // best (0.55% with SJW 2) stays.
  EXPECT_EQ(RunCompanion({"--best", "--format", "tsv", "--wide", "--min-tolerance", "0.4"}).out,
            "CAN_BS1_11tq\tCAN_BS2_2tq\t6\t85.7%\t500\t0%\t0x011A0005\t0.55%\t92 m\n");
  const CompanionRun none = RunCompanion({"--best", "--min-tolerance", "5"});
  EXPECT_EQ(none.exitCode, 3);
  EXPECT_EQ(none.out, "");
}

// Where --min-tolerance alone leaves no setting, the line names it, not --tolerance;
// where the rest of the request leaves none, the line stays as it was.
TEST(BusAnswers, NoSettingNamesWhatLeftNone) {
  const std::string minTolerance = "meets --min-tolerance: every one that meets the rest of the request has a smaller "
                                   "oscillator tolerance (a lower --min-tolerance finds one)";
  const struct {
    std::vector<std::string> arguments;
    std::string line;
  } cases[] = {
      {{"--best", "--min-tolerance", "5"}, "no setting " + minTolerance},
      {{"--controller", "mcp2515", "--clock", "16", "--best", "--min-tolerance", "2"}, "no setting " + minTolerance},
      {{"--best", "--rate", "500000", "--min-tolerance", "1"},
       "no setting meets the request"},
      // A plan says it of every node it holds for, a line each.
      {{"--plan", "--node", "a=bxcan@42", "--node", "b=mcp2515@16", "--min-tolerance", "2"},
       "a (bxcan at 42 MHz) has no setting that meets --min-tolerance (a lower --min-tolerance finds one)\n"
       "quillmere-cli: b (mcp2515 at 16 MHz) has no setting that meets --min-tolerance (a lower --min-tolerance "
       "finds one)"},
      // A node whose fastest bit is slower than the rate: no option could help but another clock.
      {{"--plan", "--node", "a=bxcan@42", "--node", "b=mcp2515@7", "--rate", "1000", "--min-tolerance", "0.1"},
       "b (mcp2515 at 7 MHz) reaches at most 700 Kbps"},
  };
  for (const auto& c : cases) {
    const CompanionRun run = RunCompanion(c.arguments);
    EXPECT_EQ(run.exitCode, 3) << c.line;
    EXPECT_EQ(run.out, "") << c.line;
    EXPECT_EQ(run.err, "quillmere-cli: " + c.line + "\n");
  }
}

TEST(BusAnswers, TdcInTheHalFormWhereItApplies) {
  const std::string enable =
      "HAL_FDCAN_ConfigTxDelayCompensation(&hfdcan, 29, 0);\nHAL_FDCAN_EnableTxDelayCompensation(&hfdcan);\n";
  // 80 MHz, 2 Mbit/s, prescaler 1, seg1 29: offset 29.
  const std::string best = RunCompanion({"--controller", "fdcan", "--clock", "80", "--data-rate", "2000", "--best",
                                         "--format", "hal"}).out;
  EXPECT_NE(best.find("hfdcan.Init.DataTimeSeg2 = 10;\n" + enable), std::string::npos) << best;
  // Prescaler 16: no TDC, and why.
  const std::string decoded16 = RunCompanion({"--controller", "fdcan", "--clock", "80", "--decode-data", "0x008F0200",
                                              "--format", "hal"}).out;
  EXPECT_NE(decoded16.find("/* no TDC: ISO 11898-1 allows it only with a data prescaler of 1 or 2, this one is 16 */\n"),
            std::string::npos)
      << decoded16;
  EXPECT_EQ(decoded16.find("HAL_FDCAN_EnableTxDelayCompensation"), std::string::npos);
  // A decoded DBTP: TDC set where its bit is, nothing where it is not.
  EXPECT_NE(RunCompanion({"--controller", "fdcan", "--decode-data", "0x00801C99", "--format", "hal"}).out.find(enable),
            std::string::npos);
  EXPECT_EQ(RunCompanion({"--controller", "fdcan", "--decode-data", "0x00001C99", "--format", "hal"}).out.find("TDC"),
            std::string::npos);
  // The TDC offset column: json's tdcOffset, null at prescaler 16.
  const std::string json = RunCompanion({"--controller", "fdcan", "--clock", "80", "--decode-data", "0x000F0200",
                                         "--format", "json"}).out;
  EXPECT_NE(json.find("\"tdc\": false, \"oscillatorTolerance\": 1, \"maxBusLength\": null, \"tdcOffset\": null}"),
            std::string::npos)
      << json;
}

// The nominal listing, with every setting passing (an infinite rate), is the plain
// loop over prescaler 1-512, seg1 2-256, seg2 2-128 in listing order.
TEST(BusAnswers, NominalRangesAreThePlainLoop) {
  SetFloatEnvironment();
  Request request;
  request.controller = FindController("fdcan");
  request.clockKHz = 80000;
  request.targetRate = std::numeric_limits<float>::infinity();
  request.minSamplePoint = 0.0f;
  int32_t seg1 = 2, seg2 = 2, prescaler = 1;
  bool same = true;
  int64_t rows = 0;
  SearchRows(ControllerPhase(request, *FindController("fdcan"), Phase::kNominal))([&](const TimingCandidate& r) {
    same = r.bs1Code + 1 == seg1 && r.bs2Code + 1 == seg2 && r.prescaler == prescaler;
    ++rows;
    if (++prescaler > 512) prescaler = 1, ++seg1;
    if (seg1 > 256) seg1 = 2, ++seg2;
    return same;
  });
  EXPECT_TRUE(same) << rows;
  EXPECT_EQ(rows, int64_t{255} * 127 * 512);
}

// Each refusal: exit code 2, nothing on standard output, one line naming the option.
TEST(BusAnswers, NewOptionsRefuseBadValues) {
  const struct {
    std::vector<std::string> arguments;
    const char* message;
  } cases[] = {
      {{"--node-delay", "-1"}, "invalid value \"-1\" for --node-delay: not a whole number of nanoseconds from 0 to 10000"},
      {{"--node-delay", "10001"},
       "invalid value \"10001\" for --node-delay: not a whole number of nanoseconds from 0 to 10000"},
      {{"--node-delay", "2.5"}, "invalid value \"2.5\" for --node-delay: not a whole number of nanoseconds from 0 to 10000"},
      {{"--node-delay", ""}, "invalid value \"\" for --node-delay: not a whole number of nanoseconds from 0 to 10000"},
      {{"--node-delay"}, "missing value for --node-delay"},
      {{"--bus-length", "x"}, "invalid value \"x\" for --bus-length: not a whole number of metres from 0 to 100000"},
      {{"--bus-length", "100001"},
       "invalid value \"100001\" for --bus-length: not a whole number of metres from 0 to 100000"},
      {{"--bus-length=-5"}, "invalid value \"-5\" for --bus-length: not a whole number of metres from 0 to 100000"},
      {{"--bus-length", "99999999999999999999"},
       "invalid value \"99999999999999999999\" for --bus-length: not a whole number of metres from 0 to 100000"},
      {{"--min-tolerance", "-1"},
       "invalid value \"-1\" for --min-tolerance: not a percent from 0 to 100 with at most six decimals"},
      {{"--min-tolerance", "100.5"},
       "invalid value \"100.5\" for --min-tolerance: not a percent from 0 to 100 with at most six decimals"},
      {{"--min-tolerance", "0.0000001"},
       "invalid value \"0.0000001\" for --min-tolerance: not a percent from 0 to 100 with at most six decimals"},
      {{"--min-tolerance", "1e-1"},
       "invalid value \"1e-1\" for --min-tolerance: not a percent from 0 to 100 with at most six decimals"},
      {{"--min-tolerance", ""}, "invalid value \"\" for --min-tolerance: not a percent from 0 to 100 with at most six decimals"},
      {{"--min-tolerance", "."}, "invalid value \".\" for --min-tolerance: not a percent from 0 to 100 with at most six decimals"},
      {{"--wide=1"}, "--wide takes no value"},
  };
  for (const auto& c : cases) {
    const CompanionRun run = RunCompanion(c.arguments);
    EXPECT_EQ(run.exitCode, 2) << c.message;
    EXPECT_EQ(run.out, "") << c.message;
    EXPECT_EQ(run.err, std::string("quillmere-cli: ") + c.message + "\n");
  }
  for (const char* accepted : {"0", "100", "100.000000", "0.5", ".5", "5."})
    EXPECT_EQ(RunCompanion({"--min-tolerance", accepted}).exitCode, 0) << accepted;
}

}  // namespace
