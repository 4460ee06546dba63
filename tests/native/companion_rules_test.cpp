// The companion's honesty about what it reads: decoded values that break a rule warn,
// a rate given with a decode is used or refused, whole numbers read one way
// everywhere, numbers of any length read in linear time, and json tells a value that
// is not finite from one that is absent.
#include "answers/request/request.h"
#include "cli/command_line.h"
#include "cli/option_values.h"

#include "tests/native/companion_run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Joined(const std::vector<std::string>& arguments) {
  std::string text;
  for (const std::string& a : arguments) text += a + " ";
  return text;
}

// Each broken rule: the row as without it, one warning line each, exit code 0.
TEST(DecodeWarnings, EachBrokenRuleOneLineTheRowStillPrinted) {
  const struct {
    std::vector<std::string> arguments;
    std::string row;  // the tsv line
    std::string err;
  } cases[] = {
      // SJW 4 over BS2 1 (and BS1 2): the example.
      {{"--decode", "0x03010000", "--clock", "8"},
       "CAN_BS1_2tq\tCAN_BS2_1tq\t1\t75%\t2000\t-\tCAN_SJW_4tq\tnormal\n",
       "quillmere-cli: warning: CAN_BTR 0x03010000: SJW 4 tq exceeds BS1 2 tq: the SJW is at most the shorter phase "
       "segment (--sjw leaves such settings out)\n"
       "quillmere-cli: warning: CAN_BTR 0x03010000: SJW 4 tq exceeds BS2 1 tq: the SJW is at most the shorter phase "
       "segment (--sjw leaves such settings out)\n"},
      // SJW equal to both segments breaks nothing; one more than BS1 alone does.
      {{"--decode", "0x01110000", "--clock", "8"}, "CAN_BS1_2tq\tCAN_BS2_2tq\t1\t60.0%\t1600\t-\tCAN_SJW_2tq\tnormal\n",
       ""},
      {{"--decode", "0x02220000", "--clock", "8"}, "CAN_BS1_3tq\tCAN_BS2_3tq\t1\t57.1%\t1142.86\t-\tCAN_SJW_3tq\tnormal\n",
       ""},
      {{"--decode", "0x01300000", "--clock", "8"}, "CAN_BS1_1tq\tCAN_BS2_4tq\t1\t33.3%\t1333.33\t-\tCAN_SJW_2tq\tnormal\n",
       "quillmere-cli: warning: CAN_BTR 0x01300000: SJW 2 tq exceeds BS1 1 tq: the SJW is at most the shorter phase "
       "segment (--sjw leaves such settings out)\n"},
      // NBTP: NTSEG1 0 and NTSEG2 0 each named; 1 in both is a valid value.
      {{"--controller", "fdcan", "--decode", "0x00000001", "--clock", "8"},
       "nominal\t1\t2\t1\t50%\t2000\t-\t0x00000001\t1\n",
       "quillmere-cli: warning: NBTP 0x00000001: NTSEG1 is 0 (seg1 1 tq): the M_CAN takes 1 to 255 (seg1 2 to 256 tq)\n"},
      {{"--controller", "fdcan", "--decode", "0x00000100", "--clock", "8"},
       "nominal\t2\t1\t1\t75%\t2000\t-\t0x00000100\t1\n",
       "quillmere-cli: warning: NBTP 0x00000100: NTSEG2 is 0 (seg2 1 tq): the M_CAN takes 1 to 127 (seg2 2 to 128 tq)\n"},
      {{"--controller", "fdcan", "--decode", "0x00000101", "--clock", "8"},
       "nominal\t2\t2\t1\t60.0%\t1600\t-\t0x00000101\t1\n", ""},
      // NBTP SJW 3 over seg1 2 and seg2 2.
      {{"--controller", "fdcan", "--decode", "0x04000101", "--clock", "8"},
       "nominal\t2\t2\t1\t60.0%\t1600\t-\t0x04000101\t3\n",
       "quillmere-cli: warning: NBTP 0x04000101: SJW 3 tq exceeds seg1 2 tq: the SJW is at most the shorter phase "
       "segment\n"
       "quillmere-cli: warning: NBTP 0x04000101: SJW 3 tq exceeds seg2 2 tq: the SJW is at most the shorter phase "
       "segment\n"},
      // GRCAN's PS1 > PS2 (grcan.c: "PS1 > PS2 must hold"): PS1 2 holds seg1 3, PS2 2 is seg2.
      {{"--controller", "grcan", "--decode", "CONF=0x00221000", "--clock", "8"},
       "3\t2\t1\t1\t125\t66.7%\t1333.33\t-\t-\n",
       "quillmere-cli: warning: CONF=0x00221000: PS1 2 (seg1 - 1) is not above PS2 2 (seg2): grcan needs PS1 > PS2\n"},
      // MultiCAN's bit of at least 8 quanta: TSEG1 3 (seg1 4) + TSEG2 1 (seg2 2) is 7
      // (XMCLib's "Bit Time >= 8 Tq"); one more quantum of seg1 breaks nothing.
      {{"--controller", "multican", "--decode", "NBTR=0x1300", "--clock", "8"},
       "4\t2\t1\t1\t125\t71.4%\t1142.86\t-\t-\n",
       "quillmere-cli: warning: NBTR=0x00001300: a bit of 7 tq is below 8 tq: multican needs at least 8 quanta a bit\n"},
      {{"--controller", "multican", "--decode", "NBTR=0x1400", "--clock", "8"},
       "5\t2\t1\t1\t125\t75%\t1000\t-\t-\n", ""},
      // DBTP: seg1 1 is valid there; SJW 4 over seg1 1 is not.
      {{"--controller", "fdcan", "--decode-data", "0x00000033", "--clock", "8"},
       "data\t1\t4\t1\t33.3%\t1333.33\t-\t0x00000033\t4\toff\n",
       "quillmere-cli: warning: DBTP 0x00000033: SJW 4 tq exceeds seg1 1 tq: the SJW is at most the shorter phase "
       "segment\n"},
      {{"--controller", "fdcan", "--decode-data", "0x00000323", "--clock", "8"},
       "data\t4\t3\t1\t62.5%\t1000\t-\t0x00000323\t4\toff\n",
       "quillmere-cli: warning: DBTP 0x00000323: SJW 4 tq exceeds seg2 3 tq: the SJW is at most the shorter phase "
       "segment\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> arguments = c.arguments;
    arguments.insert(arguments.end(), {"--format", "tsv"});
    const CompanionRun run = RunCompanion(arguments);
    EXPECT_EQ(run.exitCode, 0) << Joined(arguments);
    EXPECT_EQ(run.out, c.row) << Joined(arguments);
    EXPECT_EQ(run.err, c.err) << Joined(arguments);
  }
}

// A rate given with a decode is the error's reference of its own phase, or refused.
TEST(DecodeWarnings, ARateWithADecodeIsUsedOrRefused) {
  const CompanionRun used = RunCompanion({"--controller", "fdcan", "--decode", "0x00000101", "--decode-data",
                                          "0x00000323", "--clock", "8", "--rate", "1000", "--data-rate", "500",
                                          "--format", "tsv"});
  EXPECT_EQ(used.exitCode, 0);
  EXPECT_EQ(Lines(used.out), (std::vector<std::string>{"nominal\t2\t2\t1\t60.0%\t1600\t60%\t0x00000101\t1\t-",
                                                        "data\t4\t3\t1\t62.5%\t1000\t100%\t0x00000323\t4\toff"}));
  const struct {
    std::vector<std::string> arguments;
    const char* err;
  } refused[] = {
      {{"--decode", "0x101", "--data-rate", "2000"},
       "quillmere-cli: --data-rate needs --decode-data: the error of --decode is against --rate\n"},
      {{"--decode-data", "0x33", "--rate", "500"},
       "quillmere-cli: --rate needs --decode: the error of --decode-data is against --data-rate\n"},
  };
  for (const auto& c : refused) {
    std::vector<std::string> arguments = {"--controller", "fdcan"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const CompanionRun run = RunCompanion(arguments);
    EXPECT_EQ(run.exitCode, 2) << Joined(arguments);
    EXPECT_EQ(run.out, "") << Joined(arguments);
    EXPECT_EQ(run.err, c.err) << Joined(arguments);
  }
}

// json: a number, a string for the window's text of a value that is not finite, and
// null only where there is no rate to take an error against.
TEST(JsonValues, NotFiniteIsAStringAndNoRateIsNull) {
  const CompanionRun infinite = RunCompanion({"--decode", "0", "--rate", "1e-40", "--format", "json"});
  EXPECT_EQ(infinite.exitCode, 0);
  EXPECT_NE(infinite.out.find("\"errorPercent\": \"1.#INF\","), std::string::npos) << infinite.out;
  const CompanionRun table = RunCompanion({"--decode", "0", "--rate", "1e-40", "--format", "tsv"});
  EXPECT_EQ(table.out, "CAN_BS1_1tq\tCAN_BS2_1tq\t1\t66.6%\t14000\t1.#INF%\tCAN_SJW_1tq\tnormal\n");
  const CompanionRun none = RunCompanion({"--decode", "0", "--format", "json"});
  EXPECT_NE(none.out.find("\"errorPercent\": null,"), std::string::npos) << none.out;
}

CliAction ParseArguments(std::vector<const char*> arguments, Request& request, std::string& error) {
  arguments.insert(arguments.begin(), "quillmere-cli");
  return ParseCommandLine(static_cast<int>(arguments.size()), arguments.data(), request, error);
}

// A tolerance is a percent with at most two decimals, read to hundredths exactly: no
// float lies between the text and the test (0.29 is 29, not 28.999...).
TEST(OptionForms, TolerancesTakeTwoDecimals) {
  const struct {
    std::vector<const char*> arguments;
    int32_t tolerance, dataTolerance;
  } cases[] = {
      {{"--tolerance", "0.11"}, 11, 0},
      {{"--tolerance", "0.29"}, 29, 0},
      {{"--tolerance", "+1.5"}, 150, 0},
      {{"--tolerance", "100.00"}, 10000, 0},
      {{"--tolerance", "0.01"}, 1, 0},
      {{"--controller", "fdcan", "--tolerance", "2.25", "--data-rate", "2000"}, 225, 225},
      {{"--controller", "fdcan", "--data-rate", "2000", "--data-tolerance", "0.07"}, 0, 7},
  };
  for (const auto& c : cases) {
    Request request;
    std::string error;
    ASSERT_EQ(ParseArguments(c.arguments, request, error), CliAction::kRun) << error;
    EXPECT_EQ(request.toleranceHundredths, c.tolerance) << c.arguments[1];
    EXPECT_EQ(request.dataToleranceHundredths, c.dataTolerance) << c.arguments[1];
  }
}

// Every whole-number option takes a leading plus and leading zeros alike.
TEST(OptionForms, WholeNumbersTakeAPlusAndLeadingZerosAlike) {
  const struct {
    std::vector<const char*> arguments;
    int32_t tolerance, sjw, dataTolerance, dataSjw;
  } cases[] = {
      {{"--tolerance", "+5", "--sjw", "+2"}, 5, 2, 0, 1},
      {{"--tolerance", "036", "--sjw", "02"}, 36, 2, 0, 1},
      {{"--tolerance", "+0100", "--sjw", "+0004"}, 100, 4, 0, 1},
      {{"--controller", "fdcan", "--sjw", "0128", "--data-rate", "2000", "--data-tolerance", "+07", "--data-sjw",
        "+016"},
       0, 128, 7, 16},
  };
  for (const auto& c : cases) {
    Request request;
    std::string error;
    ASSERT_EQ(ParseArguments(c.arguments, request, error), CliAction::kRun) << error;
    EXPECT_EQ(request.toleranceHundredths, c.tolerance * 100);
    EXPECT_EQ(request.sjw, c.sjw);
    EXPECT_EQ(request.dataToleranceHundredths, c.dataTolerance * 100);
    EXPECT_EQ(request.dataSjwGiven ? request.dataSjw : 1, c.dataSjw);
  }
}

// A value of 10 MB reads in one pass: each option's reading function, with the
// result the short form of the same value gives. (Read twice per digit, a value of
// 131 072 digits took seconds; this one would take hours.)
TEST(LongValues, EveryNumberOptionReadsTenMegabytes) {
  const std::size_t kLength = 10 * 1000 * 1000;
  const std::string zeros(kLength, '0');
  const std::string tinyRate = "0." + zeros + "1";
  const std::string tinyError =
      "quillmere-cli: invalid value \"0." + std::string(38, '0') + "\xE2\x80\xA6\" for --rate: too small to store as "
      "a float (the smallest rate is 1.4e-45 Kbps)";
  Request request;
  std::string error;
  EXPECT_FALSE(ParseRate(tinyRate.c_str(), request, error));
  EXPECT_EQ(error, tinyError);
  const std::string rate = zeros + "500." + zeros;
  ASSERT_TRUE(ParseRate(rate.c_str(), request, error)) << error;
  EXPECT_EQ(request.targetRate, 500.0f);
  const std::string dataRate = "1" + zeros + "e-10000000";
  ASSERT_TRUE(ParseDataRate(dataRate.c_str(), request, error)) << error;
  EXPECT_EQ(request.dataRate, 1.0f);
  const std::string samplePoint = zeros + "87.5" + zeros;
  ASSERT_TRUE(ParseSamplePoint(samplePoint.c_str(), request, error)) << error;
  EXPECT_EQ(request.minSamplePoint, 0.875f);
  const std::string clock = zeros + "36." + "000";
  ASSERT_TRUE(ParseClock(clock.c_str(), request, error)) << error;
  EXPECT_EQ(request.clockKHz, 36000);
  const std::string tolerance = "+" + zeros + "5";
  ASSERT_TRUE(ParseTolerance(tolerance.c_str(), request, error)) << error;
  EXPECT_EQ(request.toleranceHundredths, 500);
  const std::string sjw = zeros + "3";
  ASSERT_TRUE(ParseSjw(sjw.c_str(), request, error)) << error;
  EXPECT_EQ(request.sjw, 3);
  const std::string decode = "0x" + zeros + "1A0005";
  ASSERT_TRUE(ParseDecode(decode.c_str(), request, error)) << error;
  EXPECT_EQ(request.decodeValues[0], 0x001A0005u);
}

// The longest single argument Linux passes (128 KiB) through the program.
TEST(LongValues, TheLongestArgumentThroughTheProgram) {
  const std::string tiny = "0." + std::string(128 * 1024 - 4, '0') + "1";
  const CompanionRun run = RunCompanion({"--rate", tiny});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.err, "quillmere-cli: invalid value \"0." + std::string(38, '0') +
                         "\xE2\x80\xA6\" for --rate: too small to store as a float (the smallest rate is 1.4e-45 Kbps)\n");
  const std::string preset = std::string(128 * 1024 - 4, '0') + "500";
  EXPECT_EQ(RunCompanion({"--rate", preset, "--format", "tsv"}).out, RunCompanion({"--format", "tsv"}).out);
}

}  // namespace
