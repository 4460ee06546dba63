// The companion's answers beyond the listing: --best, --decode, --sjw, the code to
// paste, and the errors that say what happened.
#include "answers/answer.h"
#include "answers/rows/phase_search.h"
#include "calc/bxcan_register.h"
#include "calc/fdcan_timing.h"
#include "calc/fp_environment.h"
#include "calc/timing.h"
#include "answers/request/echoed_value.h"

#include "tests/native/companion_run.h"
#include "tests/native/window_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// What WriteResult writes for the rows, in memory.
std::string Written(const RowSource& rows, const OutputOptions& options) {
  std::string text;
  OutputSink sink = TextOutput(text);
  WriteResult(rows, options, sink);
  FlushOutput(sink);
  return text;
}

uint32_t CanBtr(const TimingCandidate& record, int32_t sjw = 1) {
  return EncodeLengths(ControllerLengths(FindController("bxcan")->nominal, record, sjw), kCanBtr);
}

// ---- --best ----------------------------------------------------------------------

TEST(Best, NamedRowsOfTheTwoExamplesAndNoAnswer) {
  const struct {
    std::vector<std::string> arguments;
    const char* out;
    const char* err = "";
  } cases[] = {
      {{"--best", "--format", "tsv"}, "CAN_BS1_11tq\tCAN_BS2_2tq\t6\t85.7%\t500\t0%\n"},
      // 1000 Kbps at 36 MHz: the propagation over the 10 m bus takes all but 8 m.
      {{"--clock", "36", "--rate", "1000", "--best", "--format", "tsv"},
       "CAN_BS1_8tq\tCAN_BS2_3tq\t3\t75%\t1000\t0%\n",
       "quillmere-cli: warning: the oscillator tolerance is 0.00%: the nodes' clocks may not differ at all\n"
       "quillmere-cli: warning: the longest bus is 8 m, shorter than the 10 m --bus-length asks for\n"},
      {{"--best"},
       "BS1           BS2          分频系数  采集点  实际波特率  误差  CAN_BTR     Tolerance  Max bus\n"
       "CAN_BS1_11tq  CAN_BS2_2tq         6   85.7%         500    0%  0x011A0005      0.55%     92 m\n"},
      {{"--best", "--format", "json"},
       "[\n  {\"bs1\": 11, \"bs2\": 2, \"prescaler\": 6, \"samplePoint\": 85.71, \"actualRate\": 500, "
       "\"errorPercent\": 0, \"btr\": 18481157, \"oscillatorTolerance\": 0.5555555555555556, \"maxBusLength\": 92}\n]\n"},
      // With an SJW of 3 only BS2 of 3 tq or more is listed: 80.9% is nearest 87.5%.
      {{"--best", "--sjw", "3", "--format", "csv"},
       "BS1,BS2,分频系数,采集点,实际波特率,误差,CAN_BTR\r\nCAN_BS1_16tq,CAN_BS2_4tq,4,80.9%,500,0%,0x023F0003\r\n"},
  };
  for (const auto& c : cases) {
    const CompanionRun run = RunCompanion(c.arguments);
    EXPECT_EQ(run.exitCode, 0) << c.arguments[0];
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err, c.err);
  }
  for (const char* format : {"table", "tsv", "csv", "json", "hal", "spl"}) {
    const CompanionRun none = RunCompanion({"--clock", "36", "--rate", "333", "--best", "--format", format});
    EXPECT_EQ(none.exitCode, 3) << format;
    EXPECT_EQ(none.out, "") << format;
    EXPECT_EQ(none.err,
              "quillmere-cli: no setting meets the request (a larger --tolerance or a lower --sample-point may find "
              "one)\n"
              "quillmere-cli: the nearest: 333.333 Kbps, +0.100103%, prescaler 36, seg1 1, seg2 1, sample point "
              "66.7%: --tolerance 0.11 lists it\n");
  }
}

// The rule written plainly: a stable sort by (error, distance to the advice, fewer
// quanta last) keeps the first of equals first.
TimingCandidate PlainBest(const CandidateList& store, int32_t minBs2, double advice) {
  std::vector<TimingCandidate> rows;
  for (const TimingCandidate& r : store.records)
    if (r.bs1Code + 1 >= minBs2 && r.bs2Code + 1 >= minBs2) rows.push_back(r);
  std::stable_sort(rows.begin(), rows.end(), [advice](const TimingCandidate& a, const TimingCandidate& b) {
    if (a.errorPercent != b.errorPercent) return a.errorPercent < b.errorPercent;
    const double da = std::fabs(static_cast<double>(a.samplePoint) - advice);
    const double db = std::fabs(static_cast<double>(b.samplePoint) - advice);
    if (da != db) return da < db;
    return a.bs1Code + a.bs2Code > b.bs1Code + b.bs2Code;
  });
  return rows.front();
}

TEST(Best, SameAsASortedListingOnManyRequests) {
  int compared = 0;
  for (int32_t clockKHz : {8000, 16000, 36000, 42000, 72000, 80000, 125, 180999}) {
    for (float rate : {10.0f, 50.0f, 83.333f, 125.0f, 500.0f, 666.0f, 800.0f, 1000.0f}) {
      for (int32_t tolerance : {0, 1, 10}) {
        const CandidateList store = Search(clockKHz, rate, tolerance, 0.5f);
        for (int32_t sjw = 1; sjw <= 4; ++sjw) {
          Request request;
          request.clockKHz = clockKHz;
          request.targetRate = rate;
          request.toleranceHundredths = tolerance * 100;
          request.minSamplePoint = 0.5f;
          request.sjw = sjw;
          request.sjwGiven = true;
          const BestSetting best = BestOfPhase(ControllerPhase(request, *FindController("bxcan"), Phase::kNominal), 0);
          const bool any = std::any_of(store.records.begin(), store.records.end(),
                                       [sjw](const TimingCandidate& r) { return r.bs1Code + 1 >= sjw && r.bs2Code + 1 >= sjw; });
          ASSERT_EQ(best.found, any);
          if (!best.found) continue;
          const TimingCandidate plain = PlainBest(store, sjw, AdvisedSamplePoint(rate));
          ASSERT_EQ(CanBtr(best.best), CanBtr(plain)) << clockKHz << " " << rate << " " << tolerance;
          ++compared;
        }
      }
    }
  }
  EXPECT_GT(compared, 400);
}

// ---- --decode ----------------------------------------------------------------------

// Decoding the CAN_BTR of every listed row gives back that row's texts: the first six
// columns of its tsv line, and its CAN_BTR and SJW.
TEST(Decode, EveryRowOfSeveralListingsComesBack) {
  const struct {
    int32_t clockKHz;
    float rate;
    int32_t tolerance;
    float minSamplePoint;
  } listings[] = {{42000, 500.0f, 0, 0.4f}, {36000, 500.0f, 0, 0.8f}, {8000, 400.0f, 0, 0.8f},
                  {101000, 1000.0f, 1, 0.8f}, {72000, 125.0f, 5, 0.5f}, {48000, 83.333f, 3, 0.6f},
                  {180999, 1000.0f, 10, 0.0f}};
  int rows = 0;
  for (const auto& l : listings) {
    const CandidateList store = Search(l.clockKHz, l.rate, l.tolerance, l.minSamplePoint);
    for (int32_t sjw = 1; sjw <= 4; ++sjw) {
      OutputOptions listing;
      listing.format = OutputFormat::kTsv;
      listing.sjw = sjw;
      for (const TimingCandidate& record : store.records) {
        if (record.bs2Code + 1 < sjw) continue;
        const uint32_t btr = CanBtr(record, sjw);
        const DecodedLengths decoded = DecodeBxCanBitTiming(btr);
        const BitTimingLengths& t = decoded.lengths;
        const TimingCandidate setting = ComputedSetting(l.clockKHz, t.seg1, t.seg2, t.prescaler, l.rate);
        OutputOptions options = listing;
        options.decoded = true;
        options.sjw = t.sjw;
        options.decodedLengths = t;
        const std::string row = Written(SingleRow(record), listing);
        const std::string back = Written(SingleRow(setting), options);
        ASSERT_EQ(back, row.substr(0, row.size() - 1) + "\tCAN_SJW_" + std::to_string(sjw) + "tq\tnormal\n");
        ASSERT_EQ(RowRegister(setting, options), btr);
        ASSERT_EQ(decoded.flagBits | decoded.reservedBits, 0u);
        ++rows;
      }
    }
  }
  EXPECT_GT(rows, 1000);
}

TEST(Decode, EveryRowOfThePresetListingThroughTheProgram) {
  const CompanionRun listing = RunCompanion({"--format", "csv"});
  const std::vector<std::string> lines = Lines(listing.out);
  ASSERT_EQ(lines.size(), 31u);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string row = lines[i].substr(0, lines[i].size() - 1);  // without its CR
    const std::string btr = row.substr(row.rfind(',') + 1);
    const CompanionRun decoded = RunCompanion({"--decode", btr, "--rate", "500", "--format", "csv"});
    ASSERT_EQ(decoded.exitCode, 0) << btr;
    EXPECT_EQ(Lines(decoded.out).at(1), row + ",CAN_SJW_1tq,normal\r") << btr;
  }
}

TEST(Decode, ColumnsModesAndUnknownError) {
  const struct {
    std::vector<std::string> arguments;
    const char* out;
    const char* err = "";  // a warning for a value that breaks a rule
  } cases[] = {
      {{"--decode", "0x001A0005"},
       "BS1           BS2          分频系数  采集点  实际波特率  误差  CAN_BTR     SJW          Mode    Tolerance  Max bus\n"
       "CAN_BS1_11tq  CAN_BS2_2tq         6   85.7%         500     -  0x001A0005  CAN_SJW_1tq  normal      0.35%     92 m\n"},
      {{"--decode", "1703941", "--format", "tsv"}, "CAN_BS1_11tq\tCAN_BS2_2tq\t6\t85.7%\t500\t-\tCAN_SJW_1tq\tnormal\n"},
      {{"--decode", "0x4306001B", "--rate", "480", "--format", "tsv"},
       "CAN_BS1_7tq\tCAN_BS2_1tq\t28\t88.8%\t166.667\t65.2778%\tCAN_SJW_4tq\tloop-back\n",
       "quillmere-cli: warning: CAN_BTR 0x4306001B: SJW 4 tq exceeds BS2 1 tq: the SJW is at most the shorter phase "
       "segment (--sjw leaves such settings out)\n"},
      {{"--decode", "0X0", "--clock", "8", "--format", "tsv"},
       "CAN_BS1_1tq\tCAN_BS2_1tq\t1\t66.6%\t2666.67\t-\tCAN_SJW_1tq\tnormal\n"},
      {{"--decode", "0xC37F03FF", "--clock", "36", "--rate", "2", "--format", "csv"},
       "BS1,BS2,分频系数,采集点,实际波特率,误差,CAN_BTR,SJW,Mode\r\n"
       "CAN_BS1_16tq,CAN_BS2_8tq,1024,68.0%,1.40625,29.6875%,0xC37F03FF,CAN_SJW_4tq,loop-back+silent\r\n"},
      {{"--decode", "0x80000000", "--format", "json"},
       "[\n  {\"bs1\": 1, \"bs2\": 1, \"prescaler\": 1, \"samplePoint\": 66.67, \"actualRate\": 14000, "
       "\"errorPercent\": null, \"btr\": 2147483648, \"sjw\": 1, \"loopBack\": false, \"silent\": true, "
       "\"oscillatorTolerance\": 0, \"maxBusLength\": null}\n]\n"},
  };
  for (const auto& c : cases) {
    const CompanionRun run = RunCompanion(c.arguments);
    EXPECT_EQ(run.exitCode, 0) << c.arguments[1];
    EXPECT_EQ(run.out, c.out) << c.arguments[1];
    EXPECT_EQ(run.err, c.err) << c.arguments[1];
  }
}

// ---- --sjw ---------------------------------------------------------------------------

// The jump may exceed neither phase segment: rows whose BS1 or BS2 is shorter are
// left out (--sjw 4 used to list BS1 2, BS2 4).
TEST(Sjw, LeavesOutShortPhaseSegmentsAndSetsTheField) {
  const std::vector<std::string> all = Lines(RunCompanion({"--format", "csv"}).out);
  for (int sjw = 1; sjw <= 4; ++sjw) {
    std::vector<std::string> expected;
    for (const std::string& line : all) {
      const std::size_t bs1 = line.find("CAN_BS1_");
      const std::size_t bs2 = line.find("CAN_BS2_");
      if (bs2 != std::string::npos && std::atoi(line.c_str() + bs2 + 8) < sjw) continue;
      if (bs1 != std::string::npos && std::atoi(line.c_str() + bs1 + 8) < sjw) continue;
      std::string row = line;
      if (bs2 != std::string::npos) row[row.rfind(",0x") + 4] = static_cast<char>('0' + sjw - 1);
      expected.push_back(row);
    }
    const CompanionRun run = RunCompanion({"--sjw", std::to_string(sjw), "--format", "csv"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(Lines(run.out), expected) << sjw;
  }
  EXPECT_EQ(RunCompanion({"--sjw", "1"}).out, RunCompanion({}).out);
}

// ---- code to paste ---------------------------------------------------------------------

TEST(Code, BlocksAsWritten) {
  EXPECT_EQ(RunCompanion({"--best", "--format", "hal"}).out,
            "/* 500 Kbps, sample point 85.7%, error 0%, CAN_BTR 0x011A0005, oscillator tolerance 0.55% */\n"
            "hcan.Init.Prescaler = 6;\n"
            "hcan.Init.SyncJumpWidth = CAN_SJW_2TQ;\n"
            "hcan.Init.TimeSeg1 = CAN_BS1_11TQ;\n"
            "hcan.Init.TimeSeg2 = CAN_BS2_2TQ;\n");
  EXPECT_EQ(RunCompanion({"--clock", "8", "--rate", "400", "--sample-point", "85", "--sjw", "2", "--format", "spl"}).out,
            "/* 400 Kbps, sample point 85.0%, error 0%, CAN_BTR 0x012F0000, oscillator tolerance 0.50% */\n"
            "CAN_InitStructure.CAN_Prescaler = 1;\n"
            "CAN_InitStructure.CAN_SJW = CAN_SJW_2tq;\n"
            "CAN_InitStructure.CAN_BS1 = CAN_BS1_16tq;\n"
            "CAN_InitStructure.CAN_BS2 = CAN_BS2_3tq;\n");
  EXPECT_EQ(RunCompanion({"--decode", "0xC0000000", "--format", "spl"}).out,
            "/* 14000 Kbps, sample point 66.7%, error -, CAN_BTR 0xC0000000, oscillator tolerance 0.00% */\n"
            "CAN_InitStructure.CAN_Prescaler = 1;\n"
            "CAN_InitStructure.CAN_SJW = CAN_SJW_1tq;\n"
            "CAN_InitStructure.CAN_BS1 = CAN_BS1_1tq;\n"
            "CAN_InitStructure.CAN_BS2 = CAN_BS2_1tq;\n"
            "CAN_InitStructure.CAN_Mode = CAN_Mode_Silent_LoopBack;\n");
  EXPECT_EQ(RunCompanion({"--clock", "36", "--rate", "333", "--format", "hal"}).out, "");
}

// ---- errors that say what happened --------------------------------------------------

// Each input error: exit code 2, nothing on stdout, one line on stderr.
TEST(Errors, NewOptionsAndValuesRefusedWithOneLine) {
  const std::string longValue(131000, '9');
  const struct {
    std::vector<std::string> arguments;
    std::string message;
  } cases[] = {
      {{"--sjw", "0"}, "invalid value \"0\" for --sjw: not a whole number of quanta from 1 to 4"},
      {{"--sjw", "5"}, "invalid value \"5\" for --sjw: not a whole number of quanta from 1 to 4"},
      {{"--sjw", "2.0"}, "invalid value \"2.0\" for --sjw: not a whole number of quanta from 1 to 4"},
      {{"--sjw", "+0"}, "invalid value \"+0\" for --sjw: not a whole number of quanta from 1 to 4"},
      {{"--sjw", "-2"}, "invalid value \"-2\" for --sjw: not a whole number of quanta from 1 to 4"},
      {{"--sjw", "005"}, "invalid value \"005\" for --sjw: not a whole number of quanta from 1 to 4"},
      {{"--sjw", ""}, "invalid value \"\" for --sjw: not a whole number of quanta from 1 to 4"},
      {{"--sjw"}, "missing value for --sjw"},
      {{"--decode"}, "missing value for --decode"},
      {{"--decode", "0x"}, "invalid value \"0x\" for --decode: not a CAN_BTR value in hex (0x...) or decimal"},
      {{"--decode", "-5"}, "invalid value \"-5\" for --decode: not a CAN_BTR value in hex (0x...) or decimal"},
      {{"--decode", "0x1A0005h"}, "invalid value \"0x1A0005h\" for --decode: not a CAN_BTR value in hex (0x...) or decimal"},
      {{"--decode", "1A0005"}, "invalid value \"1A0005\" for --decode: not a CAN_BTR value in hex (0x...) or decimal"},
      {{"--decode", "0x100000000"}, "invalid value \"0x100000000\" for --decode: more than 32 bits"},
      {{"--decode", "4294967296"}, "invalid value \"4294967296\" for --decode: more than 32 bits"},
      {{"--decode", "0x00000400"}, "invalid value \"0x00000400\" for --decode: reserved bit 10 is set"},
      {{"--decode", "0x3C80FC00"},
       "invalid value \"0x3C80FC00\" for --decode: reserved bits 10, 11, 12, 13, 14, 15, 23, 26, 27, 28, 29 are set"},
      {{"--decode", "8388608"}, "invalid value \"8388608\" for --decode: reserved bit 23 is set"},
      {{"--best", "--decode", "0x001A0005"},
       "--best and --decode do not go together: a decoded value is one setting already"},
      {{"--decode", "5", "--best"}, "--best and --decode do not go together: a decoded value is one setting already"},
      {{"--decode", "5", "--sjw", "2"}, "--sjw and --decode do not go together: the decoded value holds its own SJW"},
      {{"--best=yes"}, "--best takes no value"},
      {{"--rate", "1e-46"},
       "invalid value \"1e-46\" for --rate: too small to store as a float (the smallest rate is 1.4e-45 Kbps)"},
      {{"--rate", "0.0000e-99"}, "invalid value \"0.0000e-99\" for --rate: the rate must be above 0 Kbps"},
      {{"--rate", "-1e-46"}, "invalid value \"-1e-46\" for --rate: the rate must be above 0 Kbps"},
      {{"--sample-point", "1e-400"},
       "invalid value \"1e-400\" for --sample-point: too small to store as a float (use 0, or 1e-43 or more)"},
      {{"--sample-point", "1e-44"},
       "invalid value \"1e-44\" for --sample-point: too small to store as a float (use 0, or 1e-43 or more)"},
      {{"--sample-point", "-1e-400"},
       "invalid value \"-1e-400\" for --sample-point: the sample point must be from 0 to 100 percent"},
      {{"--sample-point", "1e400"},
       "invalid value \"1e400\" for --sample-point: the sample point must be from 0 to 100 percent"},
      {{"36"}, "unexpected argument \"36\" (see --help)"},
      {{"-"}, "unexpected argument \"-\" (see --help)"},
      {{"--clock", "36", "72"}, "unexpected argument \"72\" (see --help)"},
      {{"-x"}, "unknown option \"-x\" (see --help)"},
      {{"--rate", longValue},
       "invalid value \"" + std::string(40, '9') + "\xE2\x80\xA6\" for --rate: the rate is too large for a float"},
      {{"--rate", "\xff\xfe" "500"}, "invalid value \"\\xff\\xfe500\" for --rate: not a number"},
      {{"--rate", "五百"}, "invalid value \"五百\" for --rate: not a number"},
      {{"--colour\x1b[31m"}, "unknown option \"--colour\\x1b[31m\" (see --help)"},
  };
  for (const auto& c : cases) {
    const CompanionRun run = RunCompanion(c.arguments);
    const std::string context = c.arguments[0] + " " + (c.arguments.size() > 1 ? c.arguments[1].substr(0, 20) : "");
    EXPECT_EQ(run.exitCode, 2) << context;
    EXPECT_EQ(run.out, "") << context;
    EXPECT_EQ(run.err, "quillmere-cli: " + c.message + "\n") << context;
  }
}

TEST(Errors, EchoedValuesAreCutAndEscaped) {
  const std::string forty(40, 'a');
  const struct {
    std::string value;
    std::string echoed;
  } cases[] = {
      {"", "\"\""},
      {forty, "\"" + forty + "\""},
      {forty + "b", "\"" + forty + "…\""},
      {std::string(39, 'a') + "\x01\x02", "\"" + std::string(39, 'a') + "\\x01…\""},
      {"五百" + std::string(38, 'a') + "x", "\"五百" + std::string(38, 'a') + "…\""},  // characters, not bytes
      {"a\"b\\c", "\"a\\x22b\\x5cc\""},
      {"\x7f\xc2\x80\xc2\xa0", "\"\\x7f\\xc2\\x80\xc2\xa0\""},  // DEL and U+0080 escaped, U+00A0 kept
      {"\xc0\x80", "\"\\xc0\\x80\""},                      // an overlong zero
      {"\xed\xa0\x80", "\"\\xed\\xa0\\x80\""},             // a surrogate
      {"\xf4\x90\x80\x80", "\"\\xf4\\x90\\x80\\x80\""},   // above U+10FFFF
      {"\xf0\x9f\x98\x80", "\"\xf0\x9f\x98\x80\""},          // U+1F600 kept
      {"\xe4\xba", "\"\\xe4\\xba\""},                        // cut short by the end
      // The direction controls, each byte escaped; their neighbours U+200D, U+2029,
      // U+202F, U+2065 and U+206A stay.
      {"\xe2\x80\x8e", "\"\\xe2\\x80\\x8e\""},                // U+200E
      {"\xe2\x80\x8f", "\"\\xe2\\x80\\x8f\""},                // U+200F
      {"\xe2\x80\xaa", "\"\\xe2\\x80\\xaa\""},                // U+202A
      {"\xe2\x80\xae", "\"\\xe2\\x80\\xae\""},                // U+202E
      {"\xe2\x81\xa6", "\"\\xe2\\x81\\xa6\""},                // U+2066
      {"\xe2\x81\xa9", "\"\\xe2\\x81\\xa9\""},                // U+2069
      {"a\xe2\x80\xad" "b", "\"a\\xe2\\x80\\xadb\""},            // U+202D between letters
      // The other invisible characters, the first and last of each kind: zero-width
      // space to joiner, the Arabic letter mark, the separators, the byte order mark,
      // the soft hyphen, the word joiner, the deprecated format controls, a tag.
      {"\xe2\x80\x8b", "\"\\xe2\\x80\\x8b\""},                // U+200B
      {"\xe2\x80\x8d", "\"\\xe2\\x80\\x8d\""},                // U+200D
      {"\xd8\x9c", "\"\\xd8\\x9c\""},                         // U+061C
      {"a\xe2\x80\xa8" "b", "\"a\\xe2\\x80\\xa8b\""},            // U+2028
      {"\xe2\x80\xa9", "\"\\xe2\\x80\\xa9\""},                // U+2029
      {"\xef\xbb\xbf" "5", "\"\\xef\\xbb\\xbf5\""},              // U+FEFF
      {"\xc2\xad", "\"\\xc2\\xad\""},                         // U+00AD
      {"\xe2\x81\xa0", "\"\\xe2\\x81\\xa0\""},                // U+2060
      {"\xe2\x81\xaf", "\"\\xe2\\x81\\xaf\""},                // U+206F
      {"\xf3\xa0\x80\x81", "\"\\xf3\\xa0\\x80\\x81\""},       // U+E0001
      // Their visible neighbours stay: U+200A, U+202F, U+2065 (unassigned), U+2070,
      // U+FEFE, U+00AE.
      {"\xe2\x80\x8a\xe2\x80\xaf\xe2\x81\xa5\xe2\x81\xb0\xef\xbb\xbe\xc2\xae",
       "\"\xe2\x80\x8a\xe2\x80\xaf\xe2\x81\xa5\xe2\x81\xb0\xef\xbb\xbe\xc2\xae\""},
  };
  for (const auto& c : cases) EXPECT_EQ(EchoedValue(c.value.c_str()), c.echoed) << c.echoed;
}

// A decode uses the clock, the rates as its error's reference, the bus options and
// the format; every option that only narrows a search is refused, never dropped.
TEST(Errors, ADecodeRefusesWhatOnlyASearchUses) {
  const std::string tail = " do not go together: a decode searches nothing, so nothing is left out";
  const struct {
    std::vector<std::string> arguments;
    std::string message;
  } cases[] = {
      {{"--decode", "0x001C0001", "--tolerance", "5"}, "--tolerance and --decode" + tail},
      {{"--tolerance", "0", "--decode", "0x001C0001"}, "--tolerance and --decode" + tail},
      {{"--decode", "0x001C0001", "--sample-point", "40"}, "--sample-point and --decode" + tail},
      {{"--decode", "0x001C0001", "--min-tolerance", "0"}, "--min-tolerance and --decode" + tail},
      {{"--decode=0x001C0001", "--sample-point=80", "--tolerance=5"}, "--sample-point and --decode" + tail},
      {{"--controller", "fdcan", "--decode", "0x06041A03", "--data-tolerance", "1"},
       "--data-tolerance and --decode" + tail},
      {{"--controller", "fdcan", "--decode", "0x06041A03", "--data-sample-point", "70"},
       "--data-sample-point and --decode" + tail},
      {{"--controller", "fdcan", "--decode-data", "0x00800A33", "--data-rate", "2000", "--data-tolerance", "1"},
       "--data-tolerance and --decode-data" + tail},
      {{"--controller", "fdcan", "--decode-data", "0x00800A33", "--sample-point", "50"},
       "--sample-point and --decode-data" + tail},
      {{"--controller", "fdcan", "--decode", "0x06041A03", "--decode-data", "0x00800A33", "--min-tolerance", "0.5"},
       "--min-tolerance and --decode" + tail},
      // The older refusals keep their lines when a search option comes with them.
      {{"--decode", "5", "--tolerance", "5", "--best"},
       "--best and --decode do not go together: a decoded value is one setting already"},
      {{"--decode", "5", "--sample-point", "50", "--sjw", "2"},
       "--sjw and --decode do not go together: the decoded value holds its own SJW"},
      // Echoed values: the direction controls are escaped as the other controls are.
      {{"--format", "\xe2\x80\xae"},
       "invalid value \"\\xe2\\x80\\xae\" for --format: the format must be table, tsv, csv, json, hal, spl, registers, linux, zephyr, python-can, "
       "esp-idf or sdk"},
      {{"--rate", "5\xe2\x81\xa7" "00"}, "invalid value \"5\\xe2\\x81\\xa700\" for --rate: not a number"},
  };
  for (const auto& c : cases) {
    const CompanionRun run = RunCompanion(c.arguments);
    std::string context;
    for (const std::string& a : c.arguments) context += a + " ";
    EXPECT_EQ(run.exitCode, 2) << context;
    EXPECT_EQ(run.out, "") << context;
    EXPECT_EQ(run.err, "quillmere-cli: " + c.message + "\n") << context;
  }
  // What a decode uses is still taken: the clock, the rate, the bus and the format.
  const CompanionRun used = RunCompanion({"--decode", "0x001C0001", "--clock", "36", "--rate", "500", "--node-delay",
                                          "100", "--bus-length", "20", "--format", "csv", "--wide"});
  EXPECT_EQ(used.exitCode, 0) << used.err;
  EXPECT_EQ(used.err, "");
  EXPECT_NE(used.out, "");
}

TEST(Errors, FailedWritesSayWhyAndABrokenPipeIsQuiet) {
  for (const char* format : {"table", "tsv", "json"}) {
    const CompanionRun full = RunCompanion({"--format", format}, CompanionOutput::kFull);
    EXPECT_EQ(full.exitCode, 1) << format;
    EXPECT_EQ(full.err, "quillmere-cli: cannot write output: No space left on device\n") << format;
    const CompanionRun closed = RunCompanion({"--format", format}, CompanionOutput::kClosed);
    EXPECT_EQ(closed.exitCode, 1) << format;
    EXPECT_EQ(closed.err, "quillmere-cli: cannot write output: Bad file descriptor\n") << format;
  }
  const CompanionRun help = RunCompanion({"--help"}, CompanionOutput::kFull);
  EXPECT_EQ(help.exitCode, 1);
  EXPECT_EQ(help.err, "quillmere-cli: cannot write output: No space left on device\n");

  // Listings of 130 683 and (FDCAN) 16 776 111 rows into a pipe nobody reads: SIGPIPE
  // ends the program as it ends other tools; where SIGPIPE is ignored the write fails
  // and the program ends with code 1, still without a word.
  const std::vector<std::vector<std::string>> large = {
      {"--sample-point", "0", "--tolerance", "100"},
      {"--controller", "fdcan", "--sample-point", "0", "--tolerance", "100", "--format", "tsv"}};
  for (const std::vector<std::string>& listing : large) {
    const CompanionRun killed = RunCompanion(listing, CompanionOutput::kBrokenPipe);
    EXPECT_EQ(killed.signal, SIGPIPE);
    EXPECT_EQ(killed.err, "");
    const CompanionRun ignored = RunCompanion(listing, CompanionOutput::kBrokenPipeIgnored);
    EXPECT_EQ(ignored.exitCode, 1);
    EXPECT_EQ(ignored.err, "");
  }
}

}  // namespace
