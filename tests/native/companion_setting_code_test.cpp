// The code the page copies for one listed setting (answers/setting_code.h): the block
// the companion writes for the same setting, with --best or with --decode of the
// setting's register value, and nothing for a setting outside the phase's ranges.
#include "answers/setting_code.h"

#include "answers/phase_search.h"
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

Written SettingCode(const Request& request, Phase phase, const BitTimingLengths& setting) {
  Written out{false, ""};
  OutputSink sink = TextOutput(out.text);
  out.wrote = WriteSettingCode(request, phase, setting, sink);
  FlushOutput(sink);
  return out;
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

const BestCase kBestCases[] = {
    {&BxCanController(), 42, 500.0f, 0.4f, 0, 0.0f, OutputFormat::kHal, {}},
    {&BxCanController(), 42, 500.0f, 0.4f, 0, 0.0f, OutputFormat::kSpl, {}},
    {&BxCanController(), 36, 125.0f, 0.8f, 0, 0.0f, OutputFormat::kHal, {"--clock", "36", "--rate", "125", "--sample-point", "80"}},
    {&BxCanController(), 8, 33.3f, 0.5f, 5, 0.0f, OutputFormat::kSpl,
     {"--clock", "8", "--rate", "33.3", "--sample-point", "50", "--tolerance", "5"}},
    {&BxCanController(), 16, 83.333f, 0.6f, 3, 0.0f, OutputFormat::kHal,
     {"--clock", "16", "--rate", "83.333", "--sample-point", "60", "--tolerance", "3"}},
    {&FdcanController(), 80, 500.0f, 0.7f, 0, 0.0f, OutputFormat::kHal,
     {"--controller", "fdcan", "--clock", "80", "--sample-point", "70"}},
    // Both phases: the data block ends in the TDC advice, as the companion's does.
    {&FdcanController(), 80, 500.0f, 0.7f, 0, 2000.0f, OutputFormat::kHal,
     {"--controller", "fdcan", "--clock", "80", "--sample-point", "70", "--data-rate", "2000"}},
    {&FdcanController(), 40, 1000.0f, 0.8f, 1, 5000.0f, OutputFormat::kHal,
     {"--controller", "fdcan", "--clock", "40", "--rate", "1000", "--sample-point", "80", "--tolerance", "1",
      "--data-rate", "5000"}},
};

Request RequestOf(const BestCase& c) {
  Request request;
  request.controller = c.controller;
  request.clockKHz = c.clockMHz * 1000;
  request.targetRate = c.rate;
  request.rateGiven = true;
  request.minSamplePoint = c.minSamplePoint;
  request.tolerancePercent = c.tolerancePercent;
  request.dataPhase = c.dataRate != 0.0f;
  request.dataRate = c.dataRate;
  request.dataMinSamplePoint = c.minSamplePoint;
  request.dataTolerancePercent = c.tolerancePercent;
  request.format = c.format;
  return request;
}

TEST(SettingCode, TheBestSettingAsTheCompanionsBestWritesIt) {
  SetFloatEnvironment();
  for (const BestCase& c : kBestCases) {
    std::vector<std::string> arguments = c.arguments;
    arguments.insert(arguments.end(), {"--best", "--format", c.format == OutputFormat::kSpl ? "spl" : "hal"});
    const CompanionRun run = RunCompanion(arguments);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> blocks = CodeBlocks(run.out);
    const Request request = RequestOf(c);
    const bool fdcan = c.controller == &FdcanController();
    const BestSetting nominal = BestOfPhase(fdcan ? NominalPhase(request) : BxCanPhase(request), 0);
    ASSERT_TRUE(nominal.found);
    const Written first = SettingCode(request, fdcan ? Phase::kNominal : Phase::kBxCan, LengthsOf(nominal.best));
    EXPECT_TRUE(first.wrote);
    ASSERT_FALSE(blocks.empty());
    EXPECT_EQ(first.text, blocks[0]) << run.out;
    if (c.dataRate == 0.0f) {
      EXPECT_EQ(blocks.size(), 1u) << run.out;
      continue;
    }
    const BestSetting data = BestOfPhase(DataPhase(request), nominal.best.prescaler);
    ASSERT_TRUE(data.found);
    ASSERT_EQ(blocks.size(), 3u) << run.out;  // nominal, data, the pair's tolerance
    const Written second = SettingCode(request, Phase::kData, LengthsOf(data.best));
    EXPECT_EQ(second.text, blocks[1]) << run.out;
    EXPECT_NE(second.text.find("HAL_FDCAN_ConfigTxDelayCompensation"), std::string::npos) << second.text;
  }
}

// Listed settings that are not the best: the block of their register decoded at the
// same clock and rate (registers written out by hand from their fields).
TEST(SettingCode, AListedSettingAsItsDecodedRegister) {
  SetFloatEnvironment();
  struct Case {
    const ControllerEntry* controller;
    Phase phase;
    BitTimingLengths setting;
    OutputFormat format;
    std::vector<std::string> arguments;
  } const cases[] = {
      {&BxCanController(), Phase::kBxCan, {2, 13, 2, 0}, OutputFormat::kHal, {"--decode", "0x001C0001", "--format", "hal"}},
      {&BxCanController(), Phase::kBxCan, {6, 11, 2, 0}, OutputFormat::kSpl, {"--decode", "0x001A0005", "--format", "spl"}},
      {&BxCanController(), Phase::kBxCan, {1024, 16, 8, 0}, OutputFormat::kHal, {"--decode", "0x007F03FF", "--format", "hal"}},
      {&BxCanController(), Phase::kBxCan, {1, 1, 1, 0}, OutputFormat::kSpl, {"--decode", "0x00000000", "--format", "spl"}},
      // FDCAN's listed SJW is the shorter segment: 20 here, in NBTP's bits 25 and up.
      {&FdcanController(), Phase::kNominal, {1, 139, 20, 0}, OutputFormat::kHal,
       {"--controller", "fdcan", "--decode", "0x26008A13", "--format", "hal"}},
      {&FdcanController(), Phase::kNominal, {4, 30, 9, 3}, OutputFormat::kSpl,
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
    Phase phase;
    BitTimingLengths setting;
  } cases[] = {
      {Phase::kBxCan, {0, 13, 2, 0}},    {Phase::kBxCan, {1025, 13, 2, 0}}, {Phase::kBxCan, {2, 17, 2, 0}},
      {Phase::kBxCan, {2, 13, 9, 0}},    {Phase::kBxCan, {2, 13, 2, 5}},    {Phase::kBxCan, {2, 13, 2, 3}},
      {Phase::kNominal, {513, 10, 5, 0}}, {Phase::kNominal, {1, 1, 5, 0}},   {Phase::kNominal, {1, 10, 129, 0}},
      {Phase::kNominal, {1, 10, 5, 6}},  {Phase::kData, {33, 10, 5, 0}},    {Phase::kData, {1, 10, 17, 0}},
      {Phase::kData, {1, 20, 16, 17}},   {Phase::kData, {1, 0, 5, 0}},      {Phase::kData, {1, 10, 5, -1}},
  };
  Request request;
  request.format = OutputFormat::kHal;
  for (const auto& c : cases) {
    const Written code = SettingCode(request, c.phase, c.setting);
    EXPECT_FALSE(code.wrote) << c.setting.prescaler << " " << c.setting.seg1 << " " << c.setting.seg2;
    EXPECT_EQ(code.text, "");
  }
  // The edges themselves are settings.
  EXPECT_TRUE(SettingCode(request, Phase::kBxCan, {1024, 16, 8, 4}).wrote);
  EXPECT_TRUE(SettingCode(request, Phase::kData, {32, 32, 16, 16}).wrote);
}

}  // namespace
