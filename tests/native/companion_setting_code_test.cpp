// The code the page copies for one listed setting or a nominal/data pair
// (web/setting_code.h): what the companion writes for the same setting, with
// --best or with --decode of the setting's register value, in every form the
// controller has; and nothing for a setting outside the phase's ranges or a form the
// controller has not.
#include "web/setting_code.h"

#include "answers/request/code_forms.h"
#include "answers/rows/phase_search.h"
#include "calc/fp_environment.h"

#include "tests/native/companion_run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// What WriteSettingCode writes, and whether it wrote.
struct Written {
  bool wrote;
  std::string text;
};

Written PairCode(const Request& request, const BitTimingLengths& nominal, const BitTimingLengths* data,
                 RequestStatus* status = nullptr) {
  Written out{false, ""};
  OutputSink sink = TextOutput(out.text);
  const RequestStatus written = WriteSettingCode(request, nominal, data, sink);
  out.wrote = written == RequestStatus::kReady;
  if (status != nullptr) *status = written;
  FlushOutput(sink);
  return out;
}

// Which setting a case gives: bxCAN's, FDCAN's nominal phase alone, or FDCAN's data
// phase after a nominal setting that holds.
enum class Which { kBxCan, kNominal, kData };
Written SettingCode(Request request, Which phase, const BitTimingLengths& setting) {
  if (phase == Which::kBxCan) return PairCode(request, setting, nullptr);
  request.controller = FindController("fdcan");
  if (phase == Which::kNominal) return PairCode(request, setting, nullptr);
  request.dataPhase = true;
  request.dataRate = 2000.0f;
  const BitTimingLengths nominal{1, 10, 5, 0};
  return PairCode(request, nominal, &setting);
}

// The blocks of the companion's code, split at the blank lines, each with its last
// line feed.
std::vector<std::string> CodeBlocks(const std::string& out) {
  std::vector<std::string> blocks;
  std::size_t start = 0;
  while (start < out.size()) {
    std::size_t end = out.find("\n\n", start);
    end = end == std::string::npos ? out.size() : end + 1;
    blocks.push_back(out.substr(start, end - start));
    start = end + 1;
  }
  return blocks;
}

BitTimingLengths LengthsOf(const TimingCandidate& record) {
  return BitTimingLengths{record.prescaler, record.bs1Code + 1, record.bs2Code + 1, 0};
}

struct BestCase {
  const ControllerEntry* controller;
  int32_t clockMHz;
  float rate;
  float minSamplePoint;
  int32_t tolerancePercent;
  float dataRate;  // 0: no data phase
  OutputFormat format;
  std::vector<std::string> arguments;  // the companion's, without --best and --format
};

const ControllerEntry& Named(const char* name) { return *FindController(name); }

const BestCase kBestCases[] = {
    {FindController("bxcan"), 42, 500.0f, 0.4f, 0, 0.0f, OutputFormat::kHal, {}},
    {FindController("bxcan"), 42, 500.0f, 0.4f, 0, 0.0f, OutputFormat::kSpl, {}},
    {FindController("bxcan"), 36, 125.0f, 0.8f, 0, 0.0f, OutputFormat::kHal, {"--clock", "36", "--rate", "125", "--sample-point", "80"}},
    {FindController("bxcan"), 8, 33.3f, 0.5f, 5, 0.0f, OutputFormat::kSpl,
     {"--clock", "8", "--rate", "33.3", "--sample-point", "50", "--tolerance", "5"}},
    {FindController("bxcan"), 16, 83.333f, 0.6f, 3, 0.0f, OutputFormat::kHal,
     {"--clock", "16", "--rate", "83.333", "--sample-point", "60", "--tolerance", "3"}},
    {FindController("fdcan"), 80, 500.0f, 0.7f, 0, 0.0f, OutputFormat::kHal,
     {"--controller", "fdcan", "--clock", "80", "--sample-point", "70"}},
    // Both phases: the data block ends in the TDC advice, as the companion's does.
    {FindController("fdcan"), 80, 500.0f, 0.7f, 0, 2000.0f, OutputFormat::kHal,
     {"--controller", "fdcan", "--clock", "80", "--sample-point", "70", "--data-rate", "2000"}},
    {FindController("fdcan"), 40, 1000.0f, 0.8f, 1, 5000.0f, OutputFormat::kHal,
     {"--controller", "fdcan", "--clock", "40", "--rate", "1000", "--sample-point", "80", "--tolerance", "1",
      "--data-rate", "5000"}},
    // Every form of the other controllers, classic and FD pairs.
    {FindController("fdcan"), 80, 500.0f, 0.7f, 0, 2000.0f, OutputFormat::kLinux,
     {"--controller", "fdcan", "--clock", "80", "--sample-point", "70", "--data-rate", "2000"}},
    {FindController("fdcan"), 80, 500.0f, 0.7f, 0, 2000.0f, OutputFormat::kPythonCan,
     {"--controller", "fdcan", "--clock", "80", "--sample-point", "70", "--data-rate", "2000"}},
    {FindController("bxcan"), 36, 500.0f, 0.8f, 0, 0.0f, OutputFormat::kZephyr,
     {"--clock", "36", "--rate", "500", "--sample-point", "80"}},
    {&Named("mcp2515"), 16, 500.0f, 0.8f, 0, 0.0f, OutputFormat::kLinux,
     {"--controller", "mcp2515", "--clock", "16", "--sample-point", "80"}},
    {&Named("mcp2515"), 16, 125.0f, 0.7f, 0, 0.0f, OutputFormat::kRegisters,
     {"--controller", "mcp2515", "--clock", "16", "--rate", "125", "--sample-point", "70"}},
    {&Named("sja1000"), 24, 250.0f, 0.8f, 1, 0.0f, OutputFormat::kZephyr,
     {"--controller", "sja1000", "--clock", "24", "--rate", "250", "--sample-point", "80", "--tolerance", "1"}},
    {&Named("esp32-twai"), 80, 500.0f, 0.8f, 0, 0.0f, OutputFormat::kEspIdf,
     {"--controller", "esp32-twai", "--clock", "80", "--sample-point", "80"}},
    {&Named("mcp2518fd"), 40, 500.0f, 0.8f, 0, 2000.0f, OutputFormat::kRegisters,
     {"--controller", "mcp2518fd", "--clock", "40", "--sample-point", "80", "--data-rate", "2000"}},
    {&Named("mcp2518fd"), 40, 500.0f, 0.8f, 0, 2000.0f, OutputFormat::kPythonCan,
     {"--controller", "mcp2518fd", "--clock", "40", "--sample-point", "80", "--data-rate", "2000"}},
    {&Named("mcan"), 80, 1000.0f, 0.75f, 0, 5000.0f, OutputFormat::kLinux,
     {"--controller", "mcan", "--clock", "80", "--rate", "1000", "--sample-point", "75", "--data-rate", "5000"}},
    {&Named("flexcan-fd"), 40, 500.0f, 0.8f, 0, 4000.0f, OutputFormat::kZephyr,
     {"--controller", "flexcan-fd", "--clock", "40", "--sample-point", "80", "--data-rate", "4000"}},
};

Request RequestOf(const BestCase& c) {
  Request request;
  request.controller = c.controller;
  request.clockKHz = c.clockMHz * 1000;
  request.targetRate = c.rate;
  request.rateGiven = true;
  request.minSamplePoint = c.minSamplePoint;
  request.toleranceHundredths = c.tolerancePercent * 100;
  request.dataPhase = c.dataRate != 0.0f;
  request.dataRate = c.dataRate;
  request.dataMinSamplePoint = c.minSamplePoint;
  request.dataToleranceHundredths = c.tolerancePercent * 100;
  request.format = c.format;
  return request;
}

TEST(SettingCode, TheBestSettingAsTheCompanionsBestWritesIt) {
  SetFloatEnvironment();
  for (const BestCase& c : kBestCases) {
    std::vector<std::string> arguments = c.arguments;
    arguments.insert(arguments.end(), {"--best", "--format", FormatName(c.format)});
    const CompanionRun run = RunCompanion(arguments);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const Request request = RequestOf(c);
    const ControllerEntry& entry = *c.controller;
    const PhaseSearch nominalPhase = ControllerPhase(request, entry, Phase::kNominal);
    const BestSetting nominal = BestOfPhase(nominalPhase, 0);
    ASSERT_TRUE(nominal.found) << c.arguments[1];
    if (c.dataRate == 0.0f) {
      EXPECT_EQ(PairCode(request, LengthsOf(nominal.best), nullptr).text, run.out) << c.arguments[1];
      continue;
    }
    const PhaseSearch dataPhase = ControllerPhase(request, entry, Phase::kData);
    const BestSetting data = BestOfPhase(dataPhase, nominal.best.prescaler);
    ASSERT_TRUE(data.found);
    const BitTimingLengths dataLengths = LengthsOf(data.best);
    const Written pair = PairCode(request, LengthsOf(nominal.best), &dataLengths);
    EXPECT_EQ(pair.text, run.out) << c.arguments[1] << " " << FormatName(c.format);
    if (c.format == OutputFormat::kHal) {
      // Nominal, data (ending in the TDC calls), the pair's tolerance.
      EXPECT_EQ(CodeBlocks(run.out).size(), 3u) << run.out;
      EXPECT_NE(pair.text.find("HAL_FDCAN_ConfigTxDelayCompensation"), std::string::npos) << pair.text;
    }
  }
}

// Listed settings that are not the best: the block of their register decoded at the
// same clock and rate (registers written out by hand from their fields, bxCAN's with
// the widest SJW the row allows: 2 for BS2 2, 4 for BS2 8).
TEST(SettingCode, AListedSettingAsItsDecodedRegister) {
  SetFloatEnvironment();
  struct Case {
    const ControllerEntry* controller;
    Which phase;
    BitTimingLengths setting;
    OutputFormat format;
    std::vector<std::string> arguments;
  } const cases[] = {
      {FindController("bxcan"), Which::kBxCan, {2, 13, 2, 0}, OutputFormat::kHal, {"--decode", "0x011C0001", "--format", "hal"}},
      {FindController("bxcan"), Which::kBxCan, {6, 11, 2, 0}, OutputFormat::kSpl, {"--decode", "0x011A0005", "--format", "spl"}},
      {FindController("bxcan"), Which::kBxCan, {1024, 16, 8, 0}, OutputFormat::kHal, {"--decode", "0x037F03FF", "--format", "hal"}},
      {FindController("bxcan"), Which::kBxCan, {1, 1, 1, 0}, OutputFormat::kSpl, {"--decode", "0x00000000", "--format", "spl"}},
      // FDCAN's listed SJW is the shorter segment: 20 here, in NBTP's bits 25 and up.
      {FindController("fdcan"), Which::kNominal, {1, 139, 20, 0}, OutputFormat::kHal,
       {"--controller", "fdcan", "--decode", "0x26008A13", "--format", "hal"}},
      {FindController("fdcan"), Which::kNominal, {4, 30, 9, 3}, OutputFormat::kHal,
       {"--controller", "fdcan", "--decode", "0x04031D08", "--format", "hal"}},
  };
  for (const Case& c : cases) {
    Request request;
    request.controller = c.controller;
    request.targetRate = 500.0f;
    request.rateGiven = true;
    request.format = c.format;
    std::vector<std::string> arguments = c.arguments;
    arguments.insert(arguments.end(), {"--clock", "42", "--rate", "500"});
    const CompanionRun run = RunCompanion(arguments);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const Written code = SettingCode(request, c.phase, c.setting);
    EXPECT_TRUE(code.wrote);
    EXPECT_EQ(code.text, run.out) << c.arguments[c.arguments.size() - 3];
  }
}

TEST(SettingCode, NothingForASettingOutsideItsPhasesRanges) {
  SetFloatEnvironment();
  const struct {
    Which phase;
    BitTimingLengths setting;
  } cases[] = {
      {Which::kBxCan, {0, 13, 2, 0}},    {Which::kBxCan, {1025, 13, 2, 0}}, {Which::kBxCan, {2, 17, 2, 0}},
      {Which::kBxCan, {2, 13, 9, 0}},    {Which::kBxCan, {2, 13, 2, 5}},    {Which::kBxCan, {2, 13, 2, 3}},
      {Which::kNominal, {513, 10, 5, 0}}, {Which::kNominal, {1, 1, 5, 0}},   {Which::kNominal, {1, 10, 129, 0}},
      {Which::kNominal, {1, 10, 5, 6}},  {Which::kData, {33, 10, 5, 0}},    {Which::kData, {1, 10, 17, 0}},
      {Which::kData, {1, 20, 16, 17}},   {Which::kData, {1, 0, 5, 0}},      {Which::kData, {1, 10, 5, -1}},
  };
  Request request;
  request.format = OutputFormat::kHal;
  for (const auto& c : cases) {
    const Written code = SettingCode(request, c.phase, c.setting);
    EXPECT_FALSE(code.wrote) << c.setting.prescaler << " " << c.setting.seg1 << " " << c.setting.seg2;
    EXPECT_EQ(code.text, "");
  }
  // A form the controller has not; a data setting without a data rate.
  RequestStatus status = RequestStatus::kReady;
  Request fdcan = request;
  fdcan.controller = FindController("fdcan");
  fdcan.format = OutputFormat::kSpl;
  EXPECT_FALSE(PairCode(fdcan, {1, 10, 5, 0}, nullptr, &status).wrote);
  EXPECT_EQ(status, RequestStatus::kFormNotForController);
  fdcan.format = OutputFormat::kHal;
  const BitTimingLengths data{1, 10, 5, 0};
  EXPECT_FALSE(PairCode(fdcan, {1, 10, 5, 0}, &data, &status).wrote);
  EXPECT_EQ(status, RequestStatus::kDataOptionWithoutDataRate);
  EXPECT_FALSE(PairCode(request, {2, 13, 2, 0}, &data, &status).wrote);  // bxCAN has no data phase
  EXPECT_EQ(status, RequestStatus::kSettingOutsideRanges);
  // A table controller's limits: the MCP2515's prescaler counts in twos, its seg2
  // must be above the SJW.
  Request mcp = request;
  mcp.controller = &Named("mcp2515");
  mcp.format = OutputFormat::kLinux;
  EXPECT_FALSE(PairCode(mcp, {3, 10, 5, 0}, nullptr, &status).wrote);
  EXPECT_EQ(status, RequestStatus::kSettingOutsideRanges);
  EXPECT_FALSE(PairCode(mcp, {2, 10, 3, 3}, nullptr).wrote);
  EXPECT_TRUE(PairCode(mcp, {2, 10, 3, 2}, nullptr).wrote);
  // The edges themselves are settings.
  EXPECT_TRUE(SettingCode(request, Which::kBxCan, {1024, 16, 8, 4}).wrote);
  EXPECT_TRUE(SettingCode(request, Which::kData, {32, 32, 16, 16}).wrote);
}

}  // namespace
