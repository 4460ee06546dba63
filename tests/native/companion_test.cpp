// quillmere-cli, run as a separate process: its exact output, exit codes and checks.
#include "calc/fp_environment.h"
#include "calc/text.h"
#include "calc/timing.h"
#include "answers/answer.h"
#include "calc/bxcan_register.h"
#include "calc/fdcan_timing.h"
#include "cli/command_line.h"
#include "cli/stream_output.h"

#include "tests/native/companion_run.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char kPresetTsv[] =
    "CAN_BS1_1tq\tCAN_BS2_1tq\t28\t66.6%\t500\t0%\n"
    "CAN_BS1_2tq\tCAN_BS2_1tq\t21\t75%\t500\t0%\n"
    "CAN_BS1_4tq\tCAN_BS2_1tq\t14\t83.3%\t500\t0%\n"
    "CAN_BS1_5tq\tCAN_BS2_1tq\t12\t85.7%\t500\t0%\n"
    "CAN_BS1_10tq\tCAN_BS2_1tq\t7\t91.6%\t500\t0%\n"
    "CAN_BS1_12tq\tCAN_BS2_1tq\t6\t92.8%\t500\t0%\n"
    "CAN_BS1_1tq\tCAN_BS2_2tq\t21\t50%\t500\t0%\n"
    "CAN_BS1_3tq\tCAN_BS2_2tq\t14\t66.6%\t500\t0%\n"
    "CAN_BS1_4tq\tCAN_BS2_2tq\t12\t71.4%\t500\t0%\n"
    "CAN_BS1_9tq\tCAN_BS2_2tq\t7\t83.3%\t500\t0%\n"
    "CAN_BS1_11tq\tCAN_BS2_2tq\t6\t85.7%\t500\t0%\n"
    "CAN_BS1_2tq\tCAN_BS2_3tq\t14\t50%\t500\t0%\n"
    "CAN_BS1_3tq\tCAN_BS2_3tq\t12\t57.1%\t500\t0%\n"
    "CAN_BS1_8tq\tCAN_BS2_3tq\t7\t75%\t500\t0%\n"
    "CAN_BS1_10tq\tCAN_BS2_3tq\t6\t78.5%\t500\t0%\n"
    "CAN_BS1_2tq\tCAN_BS2_4tq\t12\t42.8%\t500\t0%\n"
    "CAN_BS1_7tq\tCAN_BS2_4tq\t7\t66.6%\t500\t0%\n"
    "CAN_BS1_9tq\tCAN_BS2_4tq\t6\t71.4%\t500\t0%\n"
    "CAN_BS1_16tq\tCAN_BS2_4tq\t4\t80.9%\t500\t0%\n"
    "CAN_BS1_6tq\tCAN_BS2_5tq\t7\t58.3%\t500\t0%\n"
    "CAN_BS1_8tq\tCAN_BS2_5tq\t6\t64.2%\t500\t0%\n"
    "CAN_BS1_15tq\tCAN_BS2_5tq\t4\t76.1%\t500\t0%\n"
    "CAN_BS1_5tq\tCAN_BS2_6tq\t7\t50%\t500\t0%\n"
    "CAN_BS1_7tq\tCAN_BS2_6tq\t6\t57.1%\t500\t0%\n"
    "CAN_BS1_14tq\tCAN_BS2_6tq\t4\t71.4%\t500\t0%\n"
    "CAN_BS1_4tq\tCAN_BS2_7tq\t7\t41.6%\t500\t0%\n"
    "CAN_BS1_6tq\tCAN_BS2_7tq\t6\t50%\t500\t0%\n"
    "CAN_BS1_13tq\tCAN_BS2_7tq\t4\t66.6%\t500\t0%\n"
    "CAN_BS1_5tq\tCAN_BS2_8tq\t6\t42.8%\t500\t0%\n"
    "CAN_BS1_12tq\tCAN_BS2_8tq\t4\t61.9%\t500\t0%\n";

const char kClock36Tsv[] =
    "CAN_BS1_4tq\tCAN_BS2_1tq\t12\t83.3%\t500\t0%\n"
    "CAN_BS1_6tq\tCAN_BS2_1tq\t9\t87.5%\t500\t0%\n"
    "CAN_BS1_7tq\tCAN_BS2_1tq\t8\t88.8%\t500\t0%\n"
    "CAN_BS1_10tq\tCAN_BS2_1tq\t6\t91.6%\t500\t0%\n"
    "CAN_BS1_16tq\tCAN_BS2_1tq\t4\t94.4%\t500\t0%\n"
    "CAN_BS1_9tq\tCAN_BS2_2tq\t6\t83.3%\t500\t0%\n"
    "CAN_BS1_15tq\tCAN_BS2_2tq\t4\t88.8%\t500\t0%\n"
    "CAN_BS1_14tq\tCAN_BS2_3tq\t4\t83.3%\t500\t0%\n";

TEST(Companion, TsvOfThePresetInputs) {
  const CompanionRun run = RunCompanion({"--format", "tsv"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, kPresetTsv);
  EXPECT_EQ(run.err, "");
  const CompanionRun spelledOut =
      RunCompanion({"--clock", "42", "--rate", "500", "--sample-point", "40", "--tolerance", "0", "--format=tsv"});
  EXPECT_EQ(spelledOut.out, kPresetTsv);
}

TEST(Companion, TsvOfClock36AtEightyPercent) {
  const CompanionRun run = RunCompanion({"--clock", "36", "--rate", "500", "--sample-point", "80", "--format", "tsv"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, kClock36Tsv);
  const CompanionRun equalsForm = RunCompanion({"--clock=36.000", "--rate=500.0", "--sample-point=80", "--format=tsv"});
  EXPECT_EQ(equalsForm.out, kClock36Tsv);
}

TEST(Companion, TableIsTheDefaultFormatAlignedByDisplayWidth) {
  const CompanionRun run = RunCompanion({"--clock", "36", "--sample-point", "80"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out,
            "BS1           BS2          分频系数  采集点  实际波特率  误差  CAN_BTR     Tolerance  Max bus\n"
            "CAN_BS1_4tq   CAN_BS2_1tq        12   83.3%         500    0%  0x0003000B      0.64%     50 m\n"
            "CAN_BS1_6tq   CAN_BS2_1tq         9   87.5%         500    0%  0x00050008      0.48%     75 m\n"
            "CAN_BS1_7tq   CAN_BS2_1tq         8   88.8%         500    0%  0x00060007      0.43%     83 m\n"
            "CAN_BS1_10tq  CAN_BS2_1tq         6   91.6%         500    0%  0x00090005      0.32%    100 m\n"
            "CAN_BS1_16tq  CAN_BS2_1tq         4   94.4%         500    0%  0x000F0003      0.21%    116 m\n"
            "CAN_BS1_9tq   CAN_BS2_2tq         6   83.3%         500    0%  0x00180005      0.41%     83 m\n"
            "CAN_BS1_15tq  CAN_BS2_2tq         4   88.8%         500    0%  0x001E0003      0.27%    105 m\n"
            "CAN_BS1_14tq  CAN_BS2_3tq         4   83.3%         500    0%  0x002D0003      0.27%     94 m\n");
  const CompanionRun defaults = RunCompanion({});
  EXPECT_EQ(defaults.exitCode, 0);
  EXPECT_EQ(defaults.out, RunCompanion({"--format", "table"}).out);
  EXPECT_EQ(defaults.out.substr(0, defaults.out.find('\n') + 1),
            "BS1           BS2          分频系数  采集点  实际波特率  误差  CAN_BTR     Tolerance  Max bus\n");
  EXPECT_NE(defaults.out.find("\nCAN_BS1_1tq   CAN_BS2_1tq        28   66.6%         500    0%  0x0000001B      0.00%"
                              "        -\n"),
            std::string::npos);
}

TEST(Companion, CsvHasHeaderAndCrLfLines) {
  const CompanionRun run = RunCompanion({"--clock", "36", "--sample-point", "80", "--format", "csv"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out,
            "BS1,BS2,分频系数,采集点,实际波特率,误差,CAN_BTR\r\n"
            "CAN_BS1_4tq,CAN_BS2_1tq,12,83.3%,500,0%,0x0003000B\r\n"
            "CAN_BS1_6tq,CAN_BS2_1tq,9,87.5%,500,0%,0x00050008\r\n"
            "CAN_BS1_7tq,CAN_BS2_1tq,8,88.8%,500,0%,0x00060007\r\n"
            "CAN_BS1_10tq,CAN_BS2_1tq,6,91.6%,500,0%,0x00090005\r\n"
            "CAN_BS1_16tq,CAN_BS2_1tq,4,94.4%,500,0%,0x000F0003\r\n"
            "CAN_BS1_9tq,CAN_BS2_2tq,6,83.3%,500,0%,0x00180005\r\n"
            "CAN_BS1_15tq,CAN_BS2_2tq,4,88.8%,500,0%,0x001E0003\r\n"
            "CAN_BS1_14tq,CAN_BS2_3tq,4,83.3%,500,0%,0x002D0003\r\n");
}

TEST(Companion, JsonCarriesNumbers) {
  // 8 MHz, 400 Kbps, 80%: three settings sit exactly on 4/5; json's sample point is
  // the exact ratio (9/10 gives 90, where the text forms show the cut 89.9%). BS1 3,
  // BS2 1, prescaler 4: quanta of 500 ns, prop = ceil(600 / 500) = 2, so ps1 = ps2 = 1
  // and condition 2, 1 / (2 × (13 × 5 − 1)) = 0.78125%, is below condition 1's 1%;
  // the bus may have (2 × 4 × 10^6 − 500 × 8000) / 80000 = 50 m. Each row carries the
  // widest SJW its BS2 allows (json is no window's text): BS2 2 takes 2, BS2 4 takes 4.
  const CompanionRun run = RunCompanion({"--clock", "8", "--rate", "400", "--sample-point", "80", "--format", "json"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out,
            "[\n"
            "  {\"bs1\": 3, \"bs2\": 1, \"prescaler\": 4, \"samplePoint\": 80, \"actualRate\": 400, "
            "\"errorPercent\": 0, \"btr\": 131075, \"oscillatorTolerance\": 0.78125, \"maxBusLength\": 50},\n"
            "  {\"bs1\": 8, \"bs2\": 1, \"prescaler\": 2, \"samplePoint\": 90, \"actualRate\": 400, "
            "\"errorPercent\": 0, \"btr\": 458753, \"oscillatorTolerance\": 0.3875968992248062, \"maxBusLength\": 125},\n"
            "  {\"bs1\": 7, \"bs2\": 2, \"prescaler\": 2, \"samplePoint\": 80, \"actualRate\": 400, "
            "\"errorPercent\": 0, \"btr\": 18219009, \"oscillatorTolerance\": 0.78125, \"maxBusLength\": 100},\n"
            "  {\"bs1\": 16, \"bs2\": 3, \"prescaler\": 1, \"samplePoint\": 85, \"actualRate\": 400, "
            "\"errorPercent\": 0, \"btr\": 36634624, \"oscillatorTolerance\": 0.5836575875486382, \"maxBusLength\": 137},\n"
            "  {\"bs1\": 15, \"bs2\": 4, \"prescaler\": 1, \"samplePoint\": 80, \"actualRate\": 400, "
            "\"errorPercent\": 0, \"btr\": 54394880, \"oscillatorTolerance\": 0.78125, \"maxBusLength\": 125}\n"
            "]\n");
  const CompanionRun tolerant = RunCompanion({"--clock", "101", "--rate", "1000", "--tolerance", "1", "--sample-point", "80",
                                     "--format", "json"});
  EXPECT_NE(tolerant.out.find("{\"bs1\": 3, \"bs2\": 1, \"prescaler\": 20, \"samplePoint\": 80, "
                              "\"actualRate\": 1010, \"errorPercent\": 1, \"btr\": 131091, "),
            std::string::npos);
}

TEST(Companion, NoResultIsNoError) {
  const struct {
    const char* format;
    const char* out;
  } cases[] = {{"tsv", ""},
               {"json", "[]\n"},
               {"csv", "BS1,BS2,分频系数,采集点,实际波特率,误差,CAN_BTR\r\n"},
               {"table", "BS1  BS2  分频系数  采集点  实际波特率  误差  CAN_BTR  Tolerance  Max bus\n"}};
  for (const auto& c : cases) {
    const CompanionRun run = RunCompanion({"--clock", "36", "--rate", "333", "--format", c.format});
    EXPECT_EQ(run.exitCode, 0) << c.format;
    EXPECT_EQ(run.out, c.out) << c.format;
    // Standard error says the nearest setting and the tolerance that lists it.
    EXPECT_EQ(run.err, "quillmere-cli: the nearest: 333.333 Kbps, +0.100103%, prescaler 36, seg1 1, seg2 1, sample point 66.7%: --tolerance 0.11 lists it\n") << c.format;
  }
}

TEST(Companion, LargestResultInSearchOrder) {
  const CompanionRun run = RunCompanion({"--sample-point", "0", "--tolerance", "100", "--format", "tsv"});
  EXPECT_EQ(run.exitCode, 0);
  std::size_t lines = 0;
  for (char c : run.out) lines += c == '\n';
  EXPECT_EQ(lines, 130683u);
  EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "CAN_BS1_1tq\tCAN_BS2_1tq\t14\t66.6%\t1000\t100%");
}

TEST(Companion, RegisterValueFields) {
  const struct {
    TimingCandidate record;
    uint32_t btr;
  } cases[] = {
      {{0, 0, 28, 0.0f, 0.0f, 0.0f}, 0x0000001Bu},  {{11, 7, 4, 0.0f, 0.0f, 0.0f}, 0x007B0003u},
      {{15, 0, 4, 0.0f, 0.0f, 0.0f}, 0x000F0003u},  {{13, 2, 4, 0.0f, 0.0f, 0.0f}, 0x002D0003u},
      {{15, 7, 1024, 0.0f, 0.0f, 0.0f}, 0x007F03FFu}, {{0, 0, 1, 0.0f, 0.0f, 0.0f}, 0x00000000u},
  };
  for (const auto& c : cases) EXPECT_EQ(EncodeLengths(ControllerLengths(FindController("bxcan")->nominal, c.record, 1), kCanBtr), c.btr) << c.record.prescaler;
}

TEST(Companion, HelpAndVersion) {
  const CompanionRun help = RunCompanion({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.out, UsageText());
  EXPECT_EQ(help.err, "");
  EXPECT_EQ(help.out.rfind("Usage: quillmere-cli [--clock MHZ]", 0), 0u);
  const CompanionRun version = RunCompanion({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  // The commit as git names it: HEAD's first seven digits, "-dirty" for a tree with
  // changes to tracked files (as a test run in a working tree may well have).
  std::FILE* git = popen("git -C '" QUILLMERE_SOURCE_DIR "' rev-parse HEAD 2>/dev/null", "r");
  ASSERT_NE(git, nullptr);
  char head[64] = {};
  const std::size_t read = std::fread(head, 1, sizeof head - 1, git);
  pclose(git);
  ASSERT_GE(read, 7u) << "not a git checkout";
  const std::string prefix = "quillmere-cli " QUILLMERE_VERSION " (commit " + std::string(head, 7);
  const std::string arithmetic = QUILLMERE_PORTABLE_ARITHMETIC ? "arithmetic: portable\n" : "arithmetic: x87\n";
  EXPECT_TRUE(version.out == prefix + ")\n" + arithmetic || version.out == prefix + "-dirty)\n" + arithmetic)
      << version.out;
  EXPECT_EQ(version.err, "");
  EXPECT_EQ(RunCompanion({"--version=1"}).err, "quillmere-cli: --version takes no value\n");
}

// Each input error: exit code 2, nothing on stdout, exactly one line on stderr that
// names the option and the value.
TEST(Companion, RejectsBadInputWithOneLine) {
  const struct {
    std::vector<std::string> arguments;
    const char* message;
  } cases[] = {
      {{"--clock", "abc"}, "invalid value \"abc\" for --clock: not a decimal number"},
      {{"--clock", "0"}, "invalid value \"0\" for --clock: the clock must be above 0 MHz"},
      {{"--clock", "0.000"}, "invalid value \"0.000\" for --clock: the clock must be above 0 MHz"},
      {{"--clock", "-36"}, "invalid value \"-36\" for --clock: the clock must be above 0 MHz"},
      {{"--clock", "36.0001"}, "invalid value \"36.0001\" for --clock: more than three decimals"},
      {{"--clock", "2147483.648"}, "invalid value \"2147483.648\" for --clock: the clock must be below 2147483.648 MHz"},
      {{"--clock", "99999999999999999999999"},
       "invalid value \"99999999999999999999999\" for --clock: the clock must be below 2147483.648 MHz"},
      {{"--clock", "1e3"}, "invalid value \"1e3\" for --clock: not a decimal number"},
      {{"--clock="}, "invalid value \"\" for --clock: not a decimal number"},
      {{"--rate", "fast"}, "invalid value \"fast\" for --rate: not a number"},
      {{"--rate", "500kbps"}, "invalid value \"500kbps\" for --rate: not a number"},
      {{"--rate", " 500"}, "invalid value \" 500\" for --rate: not a number"},
      {{"--rate", "0"}, "invalid value \"0\" for --rate: the rate must be above 0 Kbps"},
      {{"--rate", "-500"}, "invalid value \"-500\" for --rate: the rate must be above 0 Kbps"},
      {{"--rate", "1e-50"},
       "invalid value \"1e-50\" for --rate: too small to store as a float (the smallest rate is 1.4e-45 Kbps)"},
      {{"--rate", "1e39"}, "invalid value \"1e39\" for --rate: the rate is too large for a float"},
      {{"--rate", "inf"}, "invalid value \"inf\" for --rate: not a number"},
      {{"--rate", "nan"}, "invalid value \"nan\" for --rate: not a number"},
      {{"--sample-point", "100.5"},
       "invalid value \"100.5\" for --sample-point: the sample point must be from 0 to 100 percent"},
      {{"--sample-point", "-1"}, "invalid value \"-1\" for --sample-point: the sample point must be from 0 to 100 percent"},
      {{"--sample-point", "80%"}, "invalid value \"80%\" for --sample-point: not a number"},
      {{"--tolerance", "5.555"}, "invalid value \"5.555\" for --tolerance: not a percent from 0 to 100 with at most two decimals"},
      {{"--tolerance", "101"}, "invalid value \"101\" for --tolerance: not a percent from 0 to 100 with at most two decimals"},
      {{"--tolerance", "-1"}, "invalid value \"-1\" for --tolerance: not a percent from 0 to 100 with at most two decimals"},
      {{"--tolerance", ""}, "invalid value \"\" for --tolerance: not a percent from 0 to 100 with at most two decimals"},
      {{"--tolerance", "0.110"}, "invalid value \"0.110\" for --tolerance: not a percent from 0 to 100 with at most two decimals"},
      {{"--tolerance", "100.01"}, "invalid value \"100.01\" for --tolerance: not a percent from 0 to 100 with at most two decimals"},
      {{"--tolerance", "1e-2"}, "invalid value \"1e-2\" for --tolerance: not a percent from 0 to 100 with at most two decimals"},
      {{"--tolerance", "+-1"}, "invalid value \"+-1\" for --tolerance: not a percent from 0 to 100 with at most two decimals"},
      {{"--format", "xml"}, "invalid value \"xml\" for --format: the format must be table, tsv, csv, json, hal, spl, registers, linux, zephyr, python-can, "
       "esp-idf or sdk"},
      {{"--format", "TSV"}, "invalid value \"TSV\" for --format: the format must be table, tsv, csv, json, hal, spl, registers, linux, zephyr, python-can, "
       "esp-idf or sdk"},
      {{"--clock"}, "missing value for --clock"},
      {{"--clock", "36", "--format"}, "missing value for --format"},
      {{"--colour", "red"}, "unknown option \"--colour\" (see --help)"},
      {{"36"}, "unexpected argument \"36\" (see --help)"},
      {{"--help=yes"}, "--help takes no value"},
      {{"--version="}, "--version takes no value"},
      {{"--tolerance", "+"}, "invalid value \"+\" for --tolerance: not a percent from 0 to 100 with at most two decimals"},
      {{"--tolerance", "0101"}, "invalid value \"0101\" for --tolerance: not a percent from 0 to 100 with at most two decimals"},
      {{"--rate", "5\n00"}, "invalid value \"5\\x0a00\" for --rate: not a number"},
      {{"--clock", "36", "--rate", "x", "--help"}, "invalid value \"x\" for --rate: not a number"},
  };
  for (const auto& c : cases) {
    const CompanionRun run = RunCompanion(c.arguments);
    const std::string context = c.arguments[0] + " " + (c.arguments.size() > 1 ? c.arguments[1] : "");
    EXPECT_EQ(run.exitCode, 2) << context;
    EXPECT_EQ(run.out, "") << context;
    EXPECT_EQ(run.err, std::string("quillmere-cli: ") + c.message + "\n") << context;
  }
}

// A sink that cannot write: the first chunk fails, the writer stops asking for rows
// soon after, and the failure is reported with its reason.
TEST(CompanionOutput, StopsAtTheFirstFailedWrite) {
  SetFloatEnvironment();
  CandidateList store;
  BitTimingSearch(store, 42000, 500.0f, 100, 0.0f);
  for (OutputFormat format : {OutputFormat::kTsv, OutputFormat::kCsv, OutputFormat::kJson, OutputFormat::kTable}) {
    std::FILE* full = std::fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    OutputSink sink = StreamOutput(full);
    std::size_t visited = 0;
    OutputOptions options;
    options.format = format;
    WriteResult(
        [&store, &visited](const RowVisitor& visit) {
          for (const TimingCandidate& record : store.records) {
            ++visited;
            if (!visit(record)) return;
          }
        },
        options, sink);
    EXPECT_FALSE(FlushOutput(sink));
    EXPECT_EQ(sink.error, ENOSPC);
    // The table measures every row first; then, like the others, it stops within
    // the rows of the first chunk.
    const std::size_t measured = format == OutputFormat::kTable ? store.records.size() : 0;
    EXPECT_LT(visited - measured, 2000u) << static_cast<int>(format);
    std::fclose(full);
  }
}

// Chunks of output reach the stream whole and in order, whatever the sizes put.
TEST(CompanionOutput, ChunksKeepEveryByteInOrder) {
  char* bytes = nullptr;
  std::size_t size = 0;
  std::FILE* memory = open_memstream(&bytes, &size);
  ASSERT_NE(memory, nullptr);
  OutputSink sink = StreamOutput(memory);
  std::string expected;
  for (int i = 0; i < 40000; ++i) {
    const std::string piece = std::to_string(i) + (i % 7 == 0 ? std::string(i % 300, 'x') : ",");
    Put(sink, piece);
    expected += piece;
    if (i % 1000 == 0) {
      PutBlanks(sink, 3);
      Put(sink, '|');
      expected += "   |";
    }
  }
  EXPECT_TRUE(FlushOutput(sink));
  EXPECT_EQ(sink.error, 0);
  std::fclose(memory);
  EXPECT_EQ(std::string(bytes, size), expected);
  std::free(bytes);
}

Request Parse(std::vector<const char*> arguments) {
  arguments.insert(arguments.begin(), "quillmere-cli");
  Request request;
  std::string error;
  EXPECT_EQ(ParseCommandLine(static_cast<int>(arguments.size()), arguments.data(), request, error), CliAction::kRun)
      << error;
  return request;
}

// PCT / 100 in double, rounded to float: 40 to 80 give the window's five minimums.
TEST(CompanionOptions, SamplePointsEqualTheWindowsChoices) {
  const char* percents[] = {"40", "50", "60", "70", "80"};
  for (int i = 0; i < 5; ++i) {
    const float window = static_cast<float>((i + 4.0) / 10.0);
    EXPECT_EQ(Parse({"--sample-point", percents[i]}).minSamplePoint, window) << percents[i];
  }
  EXPECT_EQ(Parse({}).minSamplePoint, static_cast<float>(0.4));
  EXPECT_EQ(Parse({"--sample-point", "30"}).minSamplePoint, static_cast<float>(0.3));
  EXPECT_EQ(Parse({"--sample-point", "87.5"}).minSamplePoint, 0.875f);
  EXPECT_EQ(Parse({"--sample-point", "0"}).minSamplePoint, 0.0f);
  EXPECT_EQ(Parse({"--sample-point", "100"}).minSamplePoint, 1.0f);
}

TEST(CompanionOptions, ClockIsReadExactlyToWholeKilohertz) {
  const struct {
    const char* text;
    int32_t kHz;
  } cases[] = {{"36", 36000},       {"0.125", 125},         {"0.001", 1},          {"72.5", 72500},
               {"007.50", 7500},    {"+8", 8000},           {"42.", 42000},        {".5", 500},
               {"180.999", 180999}, {"2147483.647", 2147483647}};
  for (const auto& c : cases) EXPECT_EQ(Parse({"--clock", c.text}).clockKHz, c.kHz) << c.text;
  EXPECT_EQ(Parse({}).clockKHz, 42000);
}

TEST(CompanionOptions, RateAsTheWindowReadsItAndLaterOptionsWin) {
  const char* rates[] = {"500", "0.1", "83.333", "1e3", "1E-2", "+125.5", "3.4e38"};
  for (const char* text : rates) EXPECT_EQ(Parse({"--rate", text}).targetRate, ToFloat(text)) << text;
  const Request request = Parse({"--rate", "250", "--tolerance", "3", "--rate=125", "--format", "json",
                                    "--tolerance", "100"});
  EXPECT_EQ(request.targetRate, 125.0f);
  EXPECT_EQ(request.toleranceHundredths, 10000);
  EXPECT_EQ(request.format, OutputFormat::kJson);
  EXPECT_EQ(Parse({}).targetRate, 500.0f);
  EXPECT_EQ(Parse({}).toleranceHundredths, 0);
  EXPECT_EQ(Parse({}).format, OutputFormat::kTable);
}

}  // namespace
