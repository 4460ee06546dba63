// --decode and --decode-data of the table controllers, read as the companion reads its
// command line: every listed row's registers decode back to that row, a setting worked
// by hand, the refusals of bad register lists one line each, and the warnings of the
// controllers' rules.
#include "answers/answer.h"
#include "answers/request/request_check.h"
#include "answers/writers/output_sink.h"
#include "calc/controllers.h"
#include "calc/fp_environment.h"
#include "cli/command_line.h"
#include "answers/rows/decode_warnings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

CliAction Parse(const std::vector<std::string>& arguments, Request& request, std::string& error) {
  std::vector<const char*> argv{"quillmere-cli"};
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  argv.push_back(nullptr);
  return ParseCommandLine(static_cast<int>(argv.size()) - 1, argv.data(), request, error);
}

std::string Written(const RowSource& rows, const OutputOptions& options) {
  std::string text;
  OutputSink sink = TextOutput(text);
  WriteResult(rows, options, sink);
  FlushOutput(sink);
  return text;
}

// "CNF1=0x4,CNF2=0xb5,CNF3=0x1": the pairs as a person would type them, lower-case
// hex digits and no leading zeros, so the reading does not depend on the form written.
std::string Pairs(const PhaseLimits& limits, const uint32_t* values) {
  std::string text;
  for (int32_t i = 0; i < limits.registerCount; ++i) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%x", values[i]);
    text += (i > 0 ? "," : "") + std::string(limits.registers[i]->name) + "=" + hex;
  }
  return text;
}

// The decoded row has a flags column that a listed row has not; with no flag set it
// is this text, and the rest of the row must be the listed row's, byte for byte.
std::string WithoutNoFlags(std::string text) {
  const std::string noFlags = "\"flags\": [], ";
  const std::size_t at = text.find(noFlags);
  if (at != std::string::npos) text.erase(at, noFlags.size());
  return text;
}

struct Asked {
  const char* clockMHz;
  const char* rate;
  const char* dataRate;  // FD controllers
};
const Asked kAsked[] = {{"16", "500", "2000"}, {"20", "125", "1000"}, {"40", "1000", "5000"}, {"80", "250", "4000"}};

// Every table controller with registers, a few requests each, a spread of each
// listing's rows: the registers a row shows, given to --decode (--decode-data), give
// back that row with the same SJW, split and registers, and break no rule.
TEST(DecodedRegisters, ListedRowsDecodeBackToThemselves) {
  SetFloatEnvironment();
  int decoded = 0;
  for (int32_t c = 0; c < ControllerCount(); ++c) {
    const ControllerEntry& entry = ControllerAt(c);
    if (entry.traits.olderForm || entry.nominal.registerCount == 0) continue;
    for (const Asked& asked : kAsked) {
      std::vector<std::string> listing{"--controller", entry.name, "--clock", asked.clockMHz, "--rate", asked.rate,
                                       "--tolerance",  "2",        "--format", "json"};
      if (entry.fd) listing.insert(listing.end(), {"--data-rate", asked.dataRate});
      Request request;
      std::string error;
      ASSERT_EQ(Parse(listing, request, error), CliAction::kRun) << error;
      const AnswerRows rows = RowsOfAnswer(request);
      for (int p = 0; p < rows.count; ++p) {
        const PhaseOutput& phase = rows.phases[p];
        const bool data = phase.options.phase == Phase::kData;
        const PhaseLimits& limits = data ? entry.data : entry.nominal;
        std::vector<TimingCandidate> listed;
        phase.rows([&](const TimingCandidate& record) { return listed.push_back(record), true; });
        const std::size_t step = listed.size() / 12 + 1;
        for (std::size_t i = 0; i < listed.size(); i += step) {
          uint32_t values[kMaxPhaseRegisters];
          ASSERT_EQ(RowRegisters(listed[i], phase.options, values), limits.registerCount);
          const std::vector<std::string> decode{"--controller",  entry.name,
                                                "--clock",       asked.clockMHz,
                                                data ? "--data-rate" : "--rate",
                                                data ? asked.dataRate : asked.rate,
                                                data ? "--decode-data" : "--decode",
                                                Pairs(limits, values),
                                                "--format",      "json"};
          Request asking;
          ASSERT_EQ(Parse(decode, asking, error), CliAction::kRun) << entry.name << " " << error;
          const AnswerRows back = RowsOfAnswer(asking);
          ASSERT_EQ(back.count, 1) << entry.name;
          EXPECT_EQ(WithoutNoFlags(Written(back.phases[0].rows, back.phases[0].options)),
                    Written(SingleRow(listed[i]), phase.options))
              << entry.name << " " << Pairs(limits, values);
          EXPECT_TRUE(DecodeWarnings(asking).empty()) << entry.name << " " << Pairs(limits, values);
          ++decoded;
        }
      }
    }
  }
  EXPECT_GT(decoded, 500);
}

std::string Answered(const std::vector<std::string>& arguments, std::string* warnings = nullptr) {
  Request request;
  std::string error;
  EXPECT_EQ(Parse(arguments, request, error), CliAction::kRun) << error;
  std::string text;
  OutputSink sink = TextOutput(text);
  WriteAnswer(request, sink);
  FlushOutput(sink);
  if (warnings != nullptr)
    for (const std::string& line : DecodeWarnings(request)) *warnings += line + "\n";
  return text;
}

// DS21801F §5.3's example: FOSC 20 MHz, BRP 4 (a quantum of 500 ns), PropSeg 2, PS1 7,
// PS2 6: 16 quanta, 125 kbit/s. CNF1 = 0x04 (SJW 1), CNF2 = BTLMODE | SAM | (7 - 1) << 3
// | (2 - 1) = 0xF1, CNF3 = 6 - 1 = 0x05. Sample point 10 / 16; tolerance SJW / (20 x 16)
// = 0.3125%; prop 2 quanta at 250 ns and 10 m leave ps1 7, down to 1 at 350 m.
TEST(DecodedRegisters, TheMcp2515DatasheetExample) {
  SetFloatEnvironment();
  EXPECT_EQ(Answered({"--controller", "mcp2515", "--clock", "20", "--rate", "125", "--decode",
                      "CNF1=0x04,CNF2=0xF1,CNF3=0x05", "--format", "json"}),
            "[\n  {\"seg1\": 9, \"seg2\": 6, \"prop\": 2, \"phase1\": 7, \"prescaler\": 10, \"sjw\": 1, \"tqNs\": 500, "
            "\"samplePoint\": 62.5, \"actualRate\": 125, \"errorPercent\": 0, \"registers\": {\"CNF1\": 4, \"CNF2\": "
            "241, \"CNF3\": 5}, \"flags\": [\"SAM\"], \"oscillatorTolerance\": 0.3125, \"maxBusLength\": 350}\n]\n");
  // Without a rate the error is "-"; the table names the flag.
  EXPECT_EQ(Answered({"--controller", "mcp2515", "--clock", "20", "--decode", "CNF3=5,CNF1=4,CNF2=0xF1"}),
            "Seg1  Seg2  Prop  Phase1  分频系数  SJW  Tq (ns)  采集点  实际波特率  误差  Registers                "
            "      Flags  Tolerance  Max bus\n"
            "   9     6     2       7        10    1      500   62.5%         125     -  CNF1=0x04 CNF2=0xF1 CNF3=0x05  "
            "SAM        0.31%    350 m\n");
  // One register: the bare value, or by name; the same row.
  const std::string named = Answered({"--controller", "mcan", "--clock", "80", "--decode", "NBTP=0x02090C01"});
  EXPECT_EQ(Answered({"--controller", "mcan", "--clock", "80", "--decode", "0x02090C01"}), named);
  EXPECT_NE(named.find("NBTP=0x02090C01  -"), std::string::npos) << named;
  // bxCAN by name: the same bytes as its bare value.
  EXPECT_EQ(Answered({"--decode", "CAN_BTR=0x001A0005", "--rate", "500"}),
            Answered({"--decode", "0x001A0005", "--rate", "500"}));
}

// Values as people copy them from datasheets and debuggers: register names in any case,
// spaces after the commas, hex without 0x where a digit A to F says it is hex. Each
// reads as the strict form does, byte for byte; a digits-only value stays decimal.
// (bxCAN's and FDCAN's bare --decode value keeps its own reading.)
TEST(DecodedRegisters, ValuesAsCopiedReadAsTheStrictForm) {
  SetFloatEnvironment();
  const struct {
    std::vector<std::string> copied;
    std::vector<std::string> strict;
  } cases[] = {
      {{"--controller", "mcp2515", "--clock", "20", "--decode", "cnf1=4, Cnf2=F1,  CNF3=5"},
       {"--controller", "mcp2515", "--clock", "20", "--decode", "CNF1=4,CNF2=0xF1,CNF3=5"}},
      {{"--controller", "mcan", "--clock", "80", "--decode", "nbtp=02090C01"},
       {"--controller", "mcan", "--clock", "80", "--decode", "NBTP=0x02090C01"}},
      {{"--controller", "sja1000", "--clock", "16", "--decode", "btr0=40,\tbtr1=1c"},
       {"--controller", "sja1000", "--clock", "16", "--decode", "BTR0=40,BTR1=0x1C"}},
  };
  for (const auto& c : cases) {
    const std::string strict = Answered(c.strict);
    EXPECT_FALSE(strict.empty()) << c.strict.back();
    EXPECT_EQ(Answered(c.copied), strict) << c.copied.back();
  }
}

TEST(DecodedRegisters, RefusalsOneLineEach) {
  const struct {
    std::vector<std::string> arguments;
    const char* line;
  } cases[] = {
      // Reading: what is no register list at all.
      {{"--controller", "mcp2515", "--decode", "CNF1=1,,CNF2=2"},
       "invalid value \"CNF1=1,,CNF2=2\" for --decode: not NAME=VALUE pairs joined by commas"},
      {{"--controller", "mcp2515", "--decode", "=1"}, "invalid value \"=1\" for --decode: not NAME=VALUE pairs joined by commas"},
      {{"--controller", "mcp2515", "--decode", "CNF-1=1"},
       "invalid value \"CNF-1=1\" for --decode: not NAME=VALUE pairs joined by commas"},
      {{"--controller", "mcp2515", "--decode", "CNF1=0x100000000,CNF2=1,CNF3=1"},
       "invalid value \"CNF1=0x100000000,CNF2=1,CNF3=1\" for --decode: CNF1 is not a value of at most 32 bits in hex "
       "(0x...) or decimal"},
      {{"--controller", "mcp2515", "--decode", std::string(41, 'C') + "=0x"},
       "invalid value \"CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC…\" for --decode: "
       "CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC… is not a value of at most 32 bits in hex (0x...) or decimal"},
      {{"--controller", "mcp2515", "--decode", "CNF1=0x"},
       "invalid value \"CNF1=0x\" for --decode: CNF1 is not a value of at most 32 bits in hex (0x...) or decimal"},
      {{"--controller", "mcan", "--decode", "0x1G"},
       "invalid value \"0x1G\" for --decode: not a register value in hex (0x...) or decimal, nor NAME=VALUE pairs"},
      {{"--controller", "mcan", "--decode", "0x100000000"}, "invalid value \"0x100000000\" for --decode: more than 32 bits"},
      // The request check: names, counts, bits, fields.
      {{"--controller", "mcp2515", "--decode", "CNF1=1,CNF4=2"},
       "--decode: CNF4 is no register of mcp2515 (it has CNF1, CNF2, CNF3)"},
      {{"--controller", "mcp2515", "--decode", "cnf4=4,CNF2=0xB1,CNF3=5"},
       "--decode: cnf4 is no register of mcp2515 (it has CNF1, CNF2, CNF3)"},
      // A space before a comma, or a value neither decimal nor hex, is still no value.
      {{"--controller", "mcp2515", "--decode", "CNF1=4 ,CNF2=0xB1,CNF3=5"},
       "invalid value \"CNF1=4 ,CNF2=0xB1,CNF3=5\" for --decode: CNF1 is not a value of at most 32 bits in hex "
       "(0x...) or decimal"},
      {{"--controller", "mcp2515", "--decode", "CNF1=4G,CNF2=0xB1,CNF3=5"},
       "invalid value \"CNF1=4G,CNF2=0xB1,CNF3=5\" for --decode: CNF1 is not a value of at most 32 bits in hex "
       "(0x...) or decimal"},
      {{"--controller", "mcp2515", "--decode", std::string(41, 'C') + "=1"},
       "--decode: CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC… is no register of mcp2515 (it has CNF1, CNF2, CNF3)"},
      {{"--controller", "mcp2515", "--decode", "CNF1=4,CNF2=0xB1"},
       "--decode needs CNF3 too: mcp2515 keeps its setting in CNF1, CNF2, CNF3"},
      {{"--controller", "mcp2515", "--decode", "CNF1=4,CNF1=4,CNF2=0xB1,CNF3=5"}, "--decode gives CNF1 twice"},
      {{"--controller", "mcp2515", "--decode", "0x04"},
       "invalid value \"0x04\" for --decode: mcp2515 keeps its setting in CNF1, CNF2, CNF3, given as NAME=VALUE pairs "
       "joined by commas"},
      {{"--controller", "mcp2515", "--decode", "CNF1=0x104,CNF2=0xB1,CNF3=5"},
       "invalid value \"CNF1=0x104\" for --decode: CNF1 has 8 bits"},
      {{"--controller", "mcp2515", "--decode", "CNF1=4,CNF2=0xB1,CNF3=0x25"},
       "invalid value \"CNF3=0x25\" for --decode: reserved bit 5 is set"},
      {{"--controller", "mcp2515", "--decode", "CNF1=4,CNF2=0xB1,CNF3=0x3D"},
       "invalid value \"CNF3=0x3D\" for --decode: reserved bits 3, 4, 5 are set"},
      {{"--controller", "mcp2515", "--decode", "CNF1=4,CNF2=0x31,CNF3=5"},
       "invalid value \"CNF2=0x31\" for --decode: BTLMODE is 0: mcp2515 needs 1"},
      {{"--controller", "mcp2515", "--decode", "CNF1=4,CNF2=0xB1,CNF3=0"},
       "invalid value \"CNF3=0\" for --decode: PHSEG2 gives seg2 1 tq, outside mcp2515's 2 to 8"},
      {{"--controller", "at91", "--decode", "CAN_BR=0x00000133"},
       "invalid value \"CAN_BR=0x00000133\" for --decode: BRP gives prescaler 1, outside at91's 2 to 128"},
      // MultiCAN's seg1 from 3 and seg2 from 2 (XMCLib: "TSeg1 >= 3 Tq, TSeg2 >= 2 Tq"):
      // TSEG1 1 is seg1 2, TSEG2 0 is seg2 1, each refused with the field and the range.
      {{"--controller", "multican", "--decode", "NBTR=0x1101"},
       "invalid value \"NBTR=0x1101\" for --decode: TSEG1 gives seg1 2 tq, outside multican's 3 to 16"},
      {{"--controller", "multican", "--decode", "NBTR=0x0A01"},
       "invalid value \"NBTR=0x0A01\" for --decode: TSEG2 gives seg2 1 tq, outside multican's 2 to 8"},
      {{"--controller", "mcp2518fd", "--decode", "CiNBTCFG=0x00000101"},
       "invalid value \"CiNBTCFG=0x00000101\" for --decode: TSEG1 gives seg1 1 tq, outside mcp2518fd's 2 to 256"},
      {{"--controller", "flexcan-fd", "--decode", "CBT=0x80100421"},
       "invalid value \"CBT=0x80100421\" for --decode: ERJW gives SJW 17 tq, outside flexcan-fd's 1 to 16"},
      {{"--controller", "flexcan-fd", "--decode", "CBT=0x00000000"},
       "invalid value \"CBT=0x00000000\" for --decode: BTF is 0: flexcan-fd needs 1"},
      {{"--controller", "mcan", "--data-rate", "2000", "--decode-data", "NBTP=1"},
       "--decode-data: NBTP is no register of mcan's data phase (it has DBTP)"},
      {{"--decode", "BTR=0x001A0005"}, "--decode: BTR is no register of bxcan (it has CAN_BTR)"},
      {{"--decode", "CAN_BTR=0x400"}, "invalid value \"CAN_BTR=0x400\" for --decode: reserved bit 10 is set"},
      // No registers to read.
      {{"--controller", "peak-canfd", "--decode", "1"},
       "--decode reads a controller's registers: peak-canfd has none (the Linux driver sets its timing)"},
      {{"--controller", "gs-usb", "--decode", "CAN_BTR=0x001A0005"},
       "--decode reads a controller's registers: gs-usb has none (the Linux driver sets its timing)"},
      {{"--controller", "custom:seg1=1-16,seg2=1-8,sjw=4,prescaler=1-64", "--decode", "1"},
       "--decode reads a controller's registers: a custom: controller has none"},
      {{"--controller", "peak-canfd", "--data-rate", "2000", "--decode-data", "1"},
       "--decode-data reads a controller's registers: peak-canfd has none (the Linux driver sets its timing)"},
  };
  for (const auto& c : cases) {
    Request request;
    std::string error;
    EXPECT_EQ(Parse(c.arguments, request, error), CliAction::kError) << c.line;
    EXPECT_EQ(error, std::string("quillmere-cli: ") + c.line);
  }
}

// A value whose fields are in range but break a rule still decodes; each broken rule
// is one warning line.
TEST(DecodedRegisters, WarningsOfTheControllersRules) {
  SetFloatEnvironment();
  const struct {
    std::vector<std::string> arguments;
    const char* warnings;
  } cases[] = {
      // SJW 4 = PHSEG2 4: the MCP2515 needs PHSEG2 > SJW.
      {{"--controller", "mcp2515", "--decode", "CNF1=0xC4,CNF2=0xB1,CNF3=0x03"},
       "quillmere-cli: warning: CNF1=0xC4 CNF2=0xB1 CNF3=0x03: SJW 4 tq is not below seg2 4 tq: mcp2515 needs seg2 "
       "above the SJW\n"},
      // PRSEG 2 + PHSEG1 1 = 3 < PHSEG2 4, and SJW 4 beyond PHSEG1 1.
      {{"--controller", "mcp2515", "--decode", "CNF1=0xC4,CNF2=0x81,CNF3=0x03"},
       "quillmere-cli: warning: CNF1=0xC4 CNF2=0x81 CNF3=0x03: SJW 4 tq exceeds phase1 1 tq: the SJW is at most the "
       "shorter phase segment\n"
       "quillmere-cli: warning: CNF1=0xC4 CNF2=0x81 CNF3=0x03: SJW 4 tq is not below seg2 4 tq: mcp2515 needs seg2 "
       "above the SJW\n"
       "quillmere-cli: warning: CNF1=0xC4 CNF2=0x81 CNF3=0x03: seg1 3 tq is below seg2 4 tq: mcp2515 needs prop + "
       "phase1 at least seg2\n"},
      // SJW 4 beyond TSEG2 2 on a controller without rules of its own.
      {{"--controller", "sja1000", "--decode", "BTR0=0xC4,BTR1=0x1C"},
       "quillmere-cli: warning: BTR0=0xC4 BTR1=0x1C: SJW 4 tq exceeds seg2 2 tq: the SJW is at most the shorter phase "
       "segment\n"},
      {{"--controller", "sja1000", "--decode", "BTR0=0x04,BTR1=0x1C"}, ""},
  };
  for (const auto& c : cases) {
    std::string warnings;
    Answered(c.arguments, &warnings);
    EXPECT_EQ(warnings, c.warnings);
  }
}

}  // namespace
