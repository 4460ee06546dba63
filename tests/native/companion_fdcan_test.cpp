// quillmere-cli --controller fdcan, run as a separate process: the nominal and data
// listings in every form, --best per phase, decoding NBTP and DBTP, and the refusals.
// The rows below were checked against a separate computation of the same arithmetic.
#include "tests/native/companion_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Fields(const std::string& line, char separator) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (std::size_t end; (end = line.find(separator, start)) != std::string::npos; start = end + 1)
    fields.push_back(line.substr(start, end - start));
  fields.push_back(line.substr(start));
  return fields;
}

struct Expected {
  std::vector<std::string> arguments;
  std::string out;
  std::string err;  // a listing without rows says the nearest setting there
};

void ExpectRuns(const std::vector<Expected>& cases, int exitCode = 0) {
  for (const Expected& c : cases) {
    std::vector<std::string> arguments = {"--controller", "fdcan"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const CompanionRun run = RunCompanion(arguments);
    std::string context;
    for (const std::string& a : c.arguments) context += a + " ";
    EXPECT_EQ(run.exitCode, exitCode) << context;
    EXPECT_EQ(run.out, c.out) << context;
    EXPECT_EQ(run.err, c.err) << context;
  }
}

const std::vector<std::string> kBothPhases = {"--clock", "40", "--rate", "1000", "--sample-point", "95",
                                               "--tolerance", "1", "--data-rate", "3000", "--data-sample-point",
                                               "90", "--data-tolerance", "10"};

std::vector<std::string> BothPhases(const char* format) {
  std::vector<std::string> arguments = kBothPhases;
  arguments.insert(arguments.end(), {"--format", format});
  return arguments;
}

TEST(Fdcan, NominalAndDataRowsAsComputed) {
  ExpectRuns({
      // 80 MHz, 500 Kbps, at least 95%: one bit is 160 quanta in all; 19/20 is a
      // float just below 0.95 and shows 94.9%. The nominal segments start at 2 quanta
      // (seg2 of 1, NTSEG2 = 0, is not offered). The default SJW is the shorter
      // segment, here seg2.
      {{"--clock", "80", "--rate", "500", "--sample-point", "95", "--format", "tsv"},
       "nominal\t37\t2\t4\t95.0%\t500\t0%\t0x02032401\n"
       "nominal\t77\t2\t2\t97.5%\t500\t0%\t0x02014C01\n"
       "nominal\t157\t2\t1\t98.8%\t500\t0%\t0x02009C01\n"
       "nominal\t76\t3\t2\t96.3%\t500\t0%\t0x04014B02\n"
       "nominal\t156\t3\t1\t98.1%\t500\t0%\t0x04009B02\n"
       "nominal\t75\t4\t2\t95.0%\t500\t0%\t0x06014A03\n"
       "nominal\t155\t4\t1\t97.5%\t500\t0%\t0x06009A03\n"
       "nominal\t154\t5\t1\t96.9%\t500\t0%\t0x08009904\n"
       "nominal\t153\t6\t1\t96.3%\t500\t0%\t0x0A009805\n"
       "nominal\t152\t7\t1\t95.6%\t500\t0%\t0x0C009706\n"
       "nominal\t151\t8\t1\t95.0%\t500\t0%\t0x0E009607\n"},
      // --sjw 7 leaves out seg2 below 7 and writes 7 into every NBTP.
      {{"--clock", "80", "--rate", "500", "--sample-point", "95", "--sjw", "7", "--format", "tsv"},
       "nominal\t152\t7\t1\t95.6%\t500\t0%\t0x0C009706\n"
       "nominal\t151\t8\t1\t95.0%\t500\t0%\t0x0C009607\n"},
      // No nominal row (no sample point reaches 100%); 40 MHz over 13 and 14 quanta
      // misses 3000 Kbps by 2.5641% and 4.76191%.
      {{"--clock", "40", "--sample-point", "100", "--data-rate", "3000", "--data-sample-point", "80",
        "--data-tolerance", "10", "--format", "tsv"},
       "data\t5\t1\t2\t85.7%\t2857.14\t4.76191%\t0x00010400\n"
       "data\t11\t1\t1\t92.3%\t3076.92\t2.5641%\t0x00000A00\n"
       "data\t12\t1\t1\t92.9%\t2857.14\t4.76191%\t0x00000B00\n"
       "data\t10\t2\t1\t84.6%\t3076.92\t2.5641%\t0x00000911\n"
       "data\t11\t2\t1\t85.7%\t2857.14\t4.76191%\t0x00000A11\n"},
      {{"--clock", "40", "--sample-point", "100", "--data-rate", "3000", "--data-sample-point", "80",
        "--data-tolerance", "10", "--data-sjw", "2", "--format", "tsv"},
       "data\t10\t2\t1\t84.6%\t3076.92\t2.5641%\t0x00000911\n"
       "data\t11\t2\t1\t85.7%\t2857.14\t4.76191%\t0x00000A11\n"},
  });
}

TEST(Fdcan, BothPhasesInEveryForm) {
  ExpectRuns({
      // The table adds the tolerance (the data phase's condition 3 alone, 1 / (20 ×
      // 13) = 0.38%), the longest bus (none for the data phase) and the TDC offset.
      {BothPhases("table"),
       "Seg1  Seg2  分频系数  采集点  实际波特率  误差  NBTP        Tolerance  Max bus\n"
       "  37     2         1   95.0%        1000    0%  0x02002401      0.19%     40 m\n"
       "\n"
       "Seg1  Seg2  分频系数  采集点  实际波特率      误差  DBTP        Tolerance  Max bus  TDC offset\n"
       "  11     1         1   92.3%     3076.92   2.5641%  0x00000A00      0.38%        -          11\n"
       "  12     1         1   92.9%     2857.14  4.76191%  0x00000B00      0.35%        -          12\n"},
      {BothPhases("csv"),
       "Phase,Seg1,Seg2,分频系数,采集点,实际波特率,误差,Register\r\n"
       "nominal,37,2,1,95.0%,1000,0%,0x02002401\r\n"
       "data,11,1,1,92.3%,3076.92,2.5641%,0x00000A00\r\n"
       "data,12,1,1,92.9%,2857.14,4.76191%,0x00000B00\r\n"},
      {BothPhases("json"),
       "{\n  \"nominal\": [\n"
       "    {\"seg1\": 37, \"seg2\": 2, \"prescaler\": 1, \"samplePoint\": 95, \"actualRate\": 1000, "
       "\"errorPercent\": 0, \"nbtp\": 33563649, \"oscillatorTolerance\": 0.19305019305019305, \"maxBusLength\": 40}\n"
       "  ],\n  \"data\": [\n"
       "    {\"seg1\": 11, \"seg2\": 1, \"prescaler\": 1, \"samplePoint\": 92.31, \"actualRate\": 3076.92, "
       "\"errorPercent\": 2.5641, \"dbtp\": 2560, \"oscillatorTolerance\": 0.38461538461538464, \"maxBusLength\": null, "
       "\"tdcOffset\": 11},\n"
       "    {\"seg1\": 12, \"seg2\": 1, \"prescaler\": 1, \"samplePoint\": 92.86, \"actualRate\": 2857.14, "
       "\"errorPercent\": 4.76191, \"dbtp\": 2816, \"oscillatorTolerance\": 0.35714285714285715, \"maxBusLength\": null, "
       "\"tdcOffset\": 12}\n"
       "  ]\n}\n"},
      // Without rows: the titles, or empty arrays; without a data rate, json holds
      // the nominal phase alone.
      {{"--rate", "333", "--clock", "36", "--data-rate", "3333"},
       "Seg1  Seg2  分频系数  采集点  实际波特率  误差  NBTP  Tolerance  Max bus\n\n"
       "Seg1  Seg2  分频系数  采集点  实际波特率  误差  DBTP  Tolerance  Max bus  TDC offset\n",
       "quillmere-cli: the nearest: 333.333 Kbps, +0.100103%, prescaler 18, seg1 3, seg2 2, sample point 66.7%: --tolerance 0.11 lists it\n"
       "quillmere-cli: the nearest: 3272.73 Kbps, -1.80836%, prescaler 1, seg1 9, seg2 1, sample point 90.9%: --data-tolerance 1.81 lists it\n"},
      {{"--rate", "333", "--clock", "36", "--data-rate", "3333", "--format", "json"},
       "{\n  \"nominal\": [],\n  \"data\": []\n}\n",
       "quillmere-cli: the nearest: 333.333 Kbps, +0.100103%, prescaler 18, seg1 3, seg2 2, sample point 66.7%: --tolerance 0.11 lists it\n"
       "quillmere-cli: the nearest: 3272.73 Kbps, -1.80836%, prescaler 1, seg1 9, seg2 1, sample point 90.9%: --data-tolerance 1.81 lists it\n"},
      {{"--rate", "333", "--clock", "36", "--format", "json"}, "{\n  \"nominal\": []\n}\n", "quillmere-cli: the nearest: 333.333 Kbps, +0.100103%, prescaler 18, seg1 3, seg2 2, sample point 66.7%: --tolerance 0.11 lists it\n"},
      {{"--rate", "333", "--clock", "36", "--format", "csv"}, "Phase,Seg1,Seg2,分频系数,采集点,实际波特率,误差,Register\r\n", "quillmere-cli: the nearest: 333.333 Kbps, +0.100103%, prescaler 18, seg1 3, seg2 2, sample point 66.7%: --tolerance 0.11 lists it\n"},
  });
}

TEST(Fdcan, BestPerPhaseTheDataPhasePreferringTheNominalPrescaler) {
  ExpectRuns({
      // 160 quanta at 80 MHz and 500 Kbps, exactly 7/8, prescaler 1; SJW seg2.
      {{"--clock", "80", "--rate", "500", "--sample-point", "0", "--tolerance", "1", "--best", "--format", "tsv"},
       "nominal\t139\t20\t1\t87.5%\t500\t0%\t0x26008A13\n"},
      // The nominal answer takes prescaler 2; among the data rows, 7/2/2 (80%) has
      // it, and wins over 14/5/1, which sits on the advised 75%.
      {{"--clock", "40", "--rate", "125", "--sample-point", "60", "--tolerance", "1", "--data-rate", "2000",
        "--data-sample-point", "0", "--data-tolerance", "2", "--best", "--format", "tsv"},
       "nominal\t139\t20\t2\t87.5%\t125\t0%\t0x26018A13\n"
       "data\t7\t2\t2\t80.0%\t2000\t0%\t0x00010611\n"},
      {{"--clock", "40", "--rate", "125", "--sample-point", "60", "--tolerance", "1", "--data-rate", "2000",
        "--data-sample-point", "0", "--data-tolerance", "2", "--best", "--format", "hal"},
       "/* 125 Kbps, sample point 87.5%, error 0%, NBTP 0x26018A13, oscillator tolerance 0.48% */\n"
       "hfdcan.Init.NominalPrescaler = 2;\n"
       "hfdcan.Init.NominalSyncJumpWidth = 20;\n"
       "hfdcan.Init.NominalTimeSeg1 = 139;\n"
       "hfdcan.Init.NominalTimeSeg2 = 20;\n"
       "\n"
       "/* 2000 Kbps, sample point 80.0%, error 0%, DBTP 0x00010611, oscillator tolerance 1.00% */\n"
       "hfdcan.Init.DataPrescaler = 2;\n"
       "hfdcan.Init.DataSyncJumpWidth = 2;\n"
       "hfdcan.Init.DataTimeSeg1 = 7;\n"
       "hfdcan.Init.DataTimeSeg2 = 2;\n"
       "HAL_FDCAN_ConfigTxDelayCompensation(&hfdcan, 14, 0);\n"
       "HAL_FDCAN_EnableTxDelayCompensation(&hfdcan);\n"
       "\n"
       "/* both phases together: oscillator tolerance 0.29% */\n"},
      // 8000 clock periods per bit: 200 quanta of 40 periods give exactly 7/8 with the
      // most quanta; a prescaler of 40 is beyond the data phase's, so its rule
      // alone picks 40 quanta at 75%. --sjw is the nominal phase's; the data SJW
      // stays seg2.
      {{"--clock", "80", "--rate", "10", "--sample-point", "0", "--data-rate", "2000", "--data-tolerance", "0",
        "--best", "--sjw", "4", "--format", "csv"},
       "Phase,Seg1,Seg2,分频系数,采集点,实际波特率,误差,Register\r\n"
       "nominal,174,25,40,87.5%,10,0%,0x0627AD18\r\n"
       "data,29,10,1,75%,2000,0%,0x00001C99\r\n",
       // Prescalers 40 and 1: the phase switches leave the pair nothing.
       "quillmere-cli: warning: the oscillator tolerance of both phases together is 0.00%: the nodes' clocks may not "
       "differ at all\n"},
  });
  const struct {
    std::vector<std::string> arguments;
    const char* err;
  } none[] = {
      {{"--controller", "fdcan", "--clock", "36", "--rate", "333", "--best"},
       "quillmere-cli: no setting meets the request (a larger --tolerance or a lower --sample-point may find one)\n"
       "quillmere-cli: the nearest: 333.333 Kbps, +0.100103%, prescaler 18, seg1 3, seg2 2, sample point 66.7%: --tolerance 0.11 lists it\n"},
      {{"--controller", "fdcan", "--clock", "36", "--data-rate", "3333", "--best", "--format", "json"},
       "quillmere-cli: no data-phase setting meets the request (a larger --data-tolerance or a lower "
       "--data-sample-point may find one)\n"
       "quillmere-cli: the nearest: 3272.73 Kbps, -1.80836%, prescaler 1, seg1 9, seg2 1, sample point 90.9%: --data-tolerance 1.81 lists it\n"},
  };
  for (const auto& c : none) {
    const CompanionRun run = RunCompanion(c.arguments);
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, c.err);
  }
}

TEST(Fdcan, DecodedValues) {
  ExpectRuns({
      {{"--decode", "0x06041A03", "--decode-data", "0x00800A33", "--clock", "80", "--data-rate", "4000"},
       // 62.5 ns quanta: prop = ceil(600 / 62.5) = 10, ps1 = 17; condition 2,
       // 4 / (2 × (13 × 32 − 4)) = 0.49%, is below condition 1's 4 / 640.
       "Seg1  Seg2  分频系数  采集点  实际波特率  误差  NBTP        SJW  Tolerance  Max bus\n"
       "  27     4         5   87.5%         500     -  0x06041A03    4      0.48%    112 m\n"
       "\n"
       "Seg1  Seg2  分频系数  采集点  实际波特率  误差  DBTP        SJW  TDC  Tolerance  Max bus  TDC offset\n"
       "  11     4         1     75%        5000   25%  0x00800A33    4  on       1.25%        -          11\n"},
      {{"--decode-data", "0", "--format", "json"},
       "{\n  \"data\": [\n    {\"seg1\": 1, \"seg2\": 1, \"prescaler\": 1, \"samplePoint\": 66.67, \"actualRate\": 14000, "
       "\"errorPercent\": null, \"dbtp\": 0, \"sjw\": 1, \"tdc\": false, \"oscillatorTolerance\": 1.6666666666666667, "
       "\"maxBusLength\": null, \"tdcOffset\": 1}\n  ]\n}\n"},
      // Every field at its largest: 42 MHz over 385 quanta and 512.
      {{"--decode", "0xFFFFFF7F", "--rate", "0.2", "--format", "tsv"},
       "nominal\t256\t128\t512\t66.8%\t0.213068\t6.53409%\t0xFFFFFF7F\t128\n"},
  });
}

// Every row of several listings, decoded from its register through the program,
// comes back with the same texts, followed by its SJW (and the data phase's TDC).
TEST(Fdcan, DecodingEveryListedRowGivesItBack) {
  const std::vector<std::vector<std::string>> listings = {
      {"--clock", "80", "--rate", "500", "--sample-point", "87.5"},
      {"--clock", "170", "--rate", "500", "--tolerance", "1", "--sample-point", "85", "--sjw", "3"},
      {"--clock", "40", "--rate", "1000", "--sample-point", "80", "--tolerance", "1", "--data-rate", "3000",
       "--data-sample-point", "70", "--data-tolerance", "10"},
      {"--clock", "80", "--sample-point", "100", "--data-rate", "2000", "--data-sample-point", "60", "--data-sjw", "1"},
  };
  int rows = 0;
  for (std::vector<std::string> arguments : listings) {
    arguments.insert(arguments.begin(), {"--controller", "fdcan"});
    const std::string rate = arguments[5];
    std::vector<std::string> csv = arguments;
    csv.insert(csv.end(), {"--format", "csv"});
    const std::vector<std::string> lines = Lines(RunCompanion(csv).out);
    ASSERT_GT(lines.size(), 5u);
    for (std::size_t i = 1; i < lines.size(); ++i) {
      const std::string row = lines[i].substr(0, lines[i].size() - 1);  // without its CR
      const std::vector<std::string> fields = Fields(row, ',');
      const bool data = fields[0] == "data";
      std::vector<std::string> decode = {"--controller", "fdcan", "--clock", arguments[3], "--format", "csv"};
      if (data) {
        const std::size_t at = std::find(arguments.begin(), arguments.end(), "--data-rate") - arguments.begin();
        decode.insert(decode.end(), {"--decode-data", fields[7], "--data-rate", arguments[at + 1]});
      } else {
        decode.insert(decode.end(), {"--decode", fields[7], "--rate", rate});
      }
      const uint32_t value = static_cast<uint32_t>(std::strtoul(fields[7].c_str(), nullptr, 16));
      const int sjw = data ? static_cast<int>(value & 15) + 1 : static_cast<int>(value >> 25) + 1;
      const CompanionRun back = RunCompanion(decode);
      ASSERT_EQ(back.exitCode, 0) << row;
      ASSERT_EQ(Lines(back.out).at(1), row + "," + std::to_string(sjw) + (data ? ",off\r" : "\r")) << row;
      ++rows;
    }
  }
  EXPECT_GT(rows, 200);
}

// --controller bxcan is the default: every form, --best, --sjw and --decode give the
// very bytes they give without it.
TEST(Fdcan, BxCanControllerIsTheDefault) {
  const std::vector<std::vector<std::string>> requests = {
      {},
      {"--format", "tsv", "--clock", "36", "--sample-point", "80"},
      {"--format", "csv", "--tolerance", "5", "--sjw", "2"},
      {"--format", "json", "--clock", "8", "--rate", "400"},
      {"--format", "hal", "--best"},
      {"--format", "spl", "--clock", "36", "--rate", "1000"},
      {"--decode", "0xC37F03FF", "--clock", "36", "--rate", "2"},
      {"--clock", "36", "--rate", "333", "--best"},
  };
  for (const std::vector<std::string>& request : requests) {
    const CompanionRun plain = RunCompanion(request);
    std::vector<std::string> named = request;
    named.insert(named.begin(), {"--controller", "bxcan"});
    const CompanionRun withController = RunCompanion(named);
    EXPECT_EQ(withController.out, plain.out);
    EXPECT_EQ(withController.err, plain.err);
    EXPECT_EQ(withController.exitCode, plain.exitCode);
    EXPECT_EQ(plain.out.find("NBTP"), std::string::npos);
  }
}

// Each refusal: exit code 2, nothing on standard output, one line.
TEST(Fdcan, RefusalsWithOneLine) {
  const struct {
    std::vector<std::string> arguments;
    const char* message;
  } cases[] = {
      {{"--controller", "can"}, "invalid value \"can\" for --controller: unknown controller (--controller list shows the names)"},
      {{"--controller=FDCAN"}, "invalid value \"FDCAN\" for --controller: unknown controller (--controller list shows the names)"},
      {{"--controller"}, "missing value for --controller"},
      {{"--data-rate", "2000"}, "--data-rate needs --controller fdcan: bxCAN has no data phase"},
      {{"--controller", "bxcan", "--decode-data", "0x33"}, "--decode-data needs --controller fdcan: bxCAN has no data phase"},
      {{"--data-sample-point", "70", "--data-rate", "x"}, "invalid value \"x\" for --data-rate: not a number"},
      {{"--data-tolerance", "3", "--controller", "bxcan"}, "--data-tolerance needs --controller fdcan: bxCAN has no data phase"},
      {{"--controller", "fdcan", "--data-tolerance", "5"}, "--data-tolerance needs --data-rate"},
      {{"--controller", "fdcan", "--data-sample-point", "75"}, "--data-sample-point needs --data-rate"},
      {{"--controller", "fdcan", "--data-sjw", "2"}, "--data-sjw needs --data-rate"},
      {{"--controller", "fdcan", "--data-rate", "0"}, "invalid value \"0\" for --data-rate: the rate must be above 0 Kbps"},
      {{"--controller", "fdcan", "--data-rate", "2000", "--data-sample-point", "101"},
       "invalid value \"101\" for --data-sample-point: the sample point must be from 0 to 100 percent"},
      {{"--controller", "fdcan", "--data-rate", "2000", "--data-tolerance", "5.555"},
       "invalid value \"5.555\" for --data-tolerance: not a percent from 0 to 100 with at most two decimals"},
      {{"--sjw", "129", "--controller", "fdcan"}, "invalid value \"129\" for --sjw: not a whole number of quanta from 1 to 128"},
      {{"--controller", "fdcan", "--sjw", "0"}, "invalid value \"0\" for --sjw: not a whole number of quanta from 1 to 128"},
      {{"--sjw", "128"}, "invalid value \"128\" for --sjw: not a whole number of quanta from 1 to 4"},
      {{"--controller", "fdcan", "--data-rate", "2000", "--data-sjw", "17"},
       "invalid value \"17\" for --data-sjw: not a whole number of quanta from 1 to 16"},
      {{"--controller", "fdcan", "--decode", "0x80"}, "invalid value \"0x80\" for --decode: reserved bit 7 is set"},
      {{"--controller", "fdcan", "--decode", "0x001A0005x"},
       "invalid value \"0x001A0005x\" for --decode: not an NBTP value in hex (0x...) or decimal"},
      {{"--controller", "fdcan", "--decode-data", "0xFF60E000"},
       "invalid value \"0xFF60E000\" for --decode-data: reserved bits 13, 14, 15, 21, 22, 24, 25, 26, 27, 28, 29, 30, "
       "31 are set"},
      {{"--controller", "fdcan", "--decode-data", "-1"},
       "invalid value \"-1\" for --decode-data: not a DBTP value in hex (0x...) or decimal"},
      {{"--controller", "fdcan", "--decode-data", "0x100000000"}, "invalid value \"0x100000000\" for --decode-data: more than 32 bits"},
      {{"--controller", "fdcan", "--format", "spl"},
       "--format spl has no FDCAN form: the Standard Peripheral Library predates FDCAN (use hal)"},
      {{"--controller", "fdcan", "--decode-data", "0x33", "--best"},
       "--best and --decode-data do not go together: a decoded value is one setting already"},
      {{"--controller", "fdcan", "--decode", "0x33", "--data-rate", "2000", "--data-sjw", "2"},
       "--data-sjw and --decode do not go together: the decoded value holds its own SJW"},
  };
  for (const auto& c : cases) {
    const CompanionRun run = RunCompanion(c.arguments);
    EXPECT_EQ(run.exitCode, 2) << c.message;
    EXPECT_EQ(run.out, "") << c.message;
    EXPECT_EQ(run.err, std::string("quillmere-cli: ") + c.message + "\n");
  }
  // The controller's ranges hold wherever --controller stands.
  EXPECT_EQ(RunCompanion({"--sjw", "128", "--controller", "fdcan", "--format", "tsv", "--clock", "80"}).exitCode, 0);
}

}  // namespace
