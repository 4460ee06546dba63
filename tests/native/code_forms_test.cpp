// The code forms read back: what each form prints is parsed as its reader would parse
// it (the kernel's tq rounding for ip link, python-can's f_clock formula, Zephyr's
// struct fields, the register values decoded) and must give back the row it was
// written from; the refusals of a form a controller lacks.
#include "answers/answer.h"
#include "answers/code/code_output.h"
#include "answers/request/code_forms.h"
#include "answers/request/request_check.h"
#include "calc/controllers.h"
#include "calc/custom_controller.h"
#include "calc/fp_environment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The clock the kernel, Zephyr and python-can count for a controller: half the
// oscillator for the SJA1000 (sja1000_platform.c "clock.freq = prop / 2"), the MCP2515
// (mcp251x.c "clock.freq = freq / 2") and the ESP32's TWAI (its SJA1000 BTR0); the
// typed clock elsewhere. Written here from the drivers, not read from the product.
int64_t KernelDivisor(const std::string& name) {
  return name == "sja1000" || name == "mcp2515" || name.rfind("esp32", 0) == 0 ? 2 : 1;
}

struct Question {
  const char* controller;
  int32_t clockKHz;
  float rate;
  float dataRate;  // 0: no data phase
  bool best;
};

// Requests whose rows have quanta that are no whole ns (36 MHz, 42 MHz), halved clocks,
// split seg1, FD pairs, a large prescaler.
const Question kQuestions[] = {
    {"bxcan", 42000, 500, 0, false},       {"bxcan", 36000, 125, 0, false},      {"fdcan", 80000, 500, 2000, true},
    {"mcp2515", 16000, 500, 0, false},     {"mcp2515", 8000, 125, 0, false},     {"sja1000", 16000, 250, 0, false},
    {"flexcan", 40000, 500, 0, false},     {"at91", 132000, 1000, 0, false},     {"c_can", 24000, 10, 0, true},
    {"mcp2518fd", 40000, 500, 2000, true}, {"mcan", 40000, 1000, 5000, true},    {"flexcan-fd", 80000, 500, 4000, true},
    {"rcar-canfd", 40000, 500, 2000, true}, {"peak-canfd", 80000, 1000, 8000, true}, {"gs-usb", 48000, 500, 0, false},
    {"ti-hecc", 100000, 500, 0, false},    {"xilinx-can", 24000, 250, 0, false}, {"esp32-twai", 80000, 500, 0, false},
};

Request RequestOf(const Question& q, OutputFormat format) {
  Request request;
  request.controller = FindController(q.controller);
  request.clockKHz = q.clockKHz;
  request.clockGiven = true;
  request.targetRate = q.rate;
  request.rateGiven = true;
  request.toleranceHundredths = 100;
  request.toleranceGiven = true;
  request.best = q.best;
  if (q.dataRate > 0) request.dataPhase = true, request.dataRate = q.dataRate;
  request.format = format;
  return request;
}

// Every row of the answer, phase by phase, with its lengths as written.
struct WrittenRow {
  BitTimingLengths lengths;
  bool data;
};

std::vector<WrittenRow> RowsOf(const AnswerRows& rows) {
  std::vector<WrittenRow> all;
  for (int p = 0; p < rows.count; ++p) {
    const OutputOptions& options = rows.phases[p].options;
    rows.phases[p].rows([&](const TimingCandidate& record) {
      all.push_back(WrittenRow{RowLengths(record, options), options.phase == Phase::kData});
      return true;
    });
  }
  return all;
}

std::string Written(const Question& q, OutputFormat format, std::vector<WrittenRow>& rows) {
  SetFloatEnvironment();
  Request request = RequestOf(q, format);
  EXPECT_EQ(CheckRequest(request, MissingInput::kTakeDefault).status, RequestStatus::kReady) << q.controller;
  const AnswerRows answer = RowsOfAnswer(request);
  rows = RowsOf(answer);
  std::string text;
  OutputSink sink = TextOutput(text);
  WriteAnswerRows(answer, sink);
  FlushOutput(sink);
  return text;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  return lines;
}

// The number after key (" tq ", ".sjw = ", "brp="); -1 when key is not there.
int64_t After(const std::string& line, const std::string& key) {
  const std::size_t at = line.find(key);
  if (at == std::string::npos) return -1;
  return std::strtoll(line.c_str() + at + key.size(), nullptr, 0);
}

bool StartsWith(const std::string& line, const char* start) { return line.rfind(start, 0) == 0; }

// can_fixup_bittiming (drivers/net/can/dev/bittiming.c): brp = clock x tq / 1e9, an
// exact half rounded down.
int64_t KernelBrp(int64_t kernelClockHz, int64_t tqNs) { return (kernelClockHz * tqNs + 500000000 - 1) / 1000000000; }

// One phase's ip options, read back as the kernel reads them, against the row.
void ExpectKernelGivesBack(const std::string& line, const char* d, const WrittenRow& row, int64_t kernelClockHz,
                           int64_t divisor, const std::string& context) {
  const std::string p = std::string(" ") + d;
  const int64_t tq = After(line, p + "tq ");
  const int64_t prop = After(line, p + "prop-seg ");
  const int64_t phase1 = After(line, p + "phase-seg1 ");
  const int64_t phase2 = After(line, p + "phase-seg2 ");
  const int64_t sjw = After(line, p + "sjw ");
  ASSERT_GT(tq, 0) << context;
  EXPECT_EQ(KernelBrp(kernelClockHz, tq) * divisor, row.lengths.prescaler) << context;
  EXPECT_EQ(prop + phase1, row.lengths.seg1) << context;
  EXPECT_EQ(phase2, row.lengths.seg2) << context;
  EXPECT_EQ(sjw, row.lengths.sjw) << context;
  // can_sjw_check: the jump may exceed neither phase-seg1 nor phase-seg2.
  EXPECT_LE(sjw, phase1) << context;
  EXPECT_LE(sjw, phase2) << context;
  // Where the controller keeps two fields, they are the row's.
  if (row.lengths.prop != 0) EXPECT_EQ(prop, row.lengths.prop) << context;
}

TEST(LinuxForm, TheKernelsRoundingOfEachPrintedTqGivesBackTheRow) {
  for (const Question& q : kQuestions) {
    if (!HasForm(*FindController(q.controller), OutputFormat::kLinux)) continue;
    std::vector<WrittenRow> rows;
    const std::vector<std::string> lines = Lines(Written(q, OutputFormat::kLinux, rows));
    const int64_t divisor = KernelDivisor(q.controller);
    const int64_t kernelClockHz = int64_t{q.clockKHz} * 1000 / divisor;
    std::size_t next = 0;
    const bool pair = q.best && q.dataRate > 0;
    for (const std::string& line : lines) {
      if (!StartsWith(line, "ip link set can0 type can ") && line.find("data phase, to add") == std::string::npos)
        continue;
      const std::string context = std::string(q.controller) + ": " + line;
      ASSERT_LT(next, rows.size()) << context;
      if (pair) {
        ExpectKernelGivesBack(line, "", rows[0], kernelClockHz, divisor, context);
        ExpectKernelGivesBack(line, "d", rows[1], kernelClockHz, divisor, context);
        EXPECT_NE(line.find(" fd on"), std::string::npos) << context;
        next = 2;
        continue;
      }
      const WrittenRow& row = rows[next++];
      ExpectKernelGivesBack(line, row.data ? "d" : "", row, kernelClockHz, divisor, context);
    }
    EXPECT_EQ(next, rows.size()) << q.controller << ": a line for every row";
  }
}

TEST(PythonCanForm, FClockAndTheSegmentsGiveTheRowsRateAndSamplePoint) {
  for (const Question& q : kQuestions) {
    std::vector<WrittenRow> rows;
    const std::vector<std::string> lines = Lines(Written(q, OutputFormat::kPythonCan, rows));
    const int64_t clockHz = int64_t{q.clockKHz} * 1000;
    std::size_t next = 0;
    int64_t fClock = 0;
    for (const std::string& line : lines) {
      const bool call = StartsWith(line, "timing = can.");
      const bool part = line.find("phase for can.BitTimingFd: ") != std::string::npos;
      const bool refused = line.find("cannot hold it") != std::string::npos;
      if (!call && !part && !refused) continue;
      const std::string context = std::string(q.controller) + ": " + line;
      if (refused) {
        ++next;
        continue;
      }
      // python-can: bitrate = f_clock / (brp x (1 + tseg1 + tseg2)); sample point
      // (1 + tseg1) / (1 + tseg1 + tseg2). f_clock is on the nominal phase's line.
      if (After(line, "f_clock=") > 0) fClock = After(line, "f_clock=");
      const bool fd = line.find("BitTimingFd(") != std::string::npos;
      for (const char* prefix : fd ? std::vector<const char*>{"nom_", "data_"}
                                   : std::vector<const char*>{line.find("data_brp") != std::string::npos ? "data_"
                                                              : line.find("nom_brp") != std::string::npos ? "nom_"
                                                                                                           : ""}) {
        ASSERT_LT(next, rows.size()) << context;
        const WrittenRow& row = rows[next++];
        const std::string p = prefix;
        const int64_t brp = After(line, " " + p + "brp=");
        const int64_t tseg1 = After(line, p + "tseg1=");
        const int64_t tseg2 = After(line, p + "tseg2=");
        ASSERT_GT(brp, 0) << context;
        const int64_t rowQuanta = 1 + row.lengths.seg1 + row.lengths.seg2;
        // f_clock / (brp x nbt) == clock / (prescaler x quanta), multiplied out.
        EXPECT_EQ(fClock * row.lengths.prescaler * rowQuanta, clockHz * brp * (1 + tseg1 + tseg2)) << context;
        EXPECT_EQ((1 + tseg1) * rowQuanta, (1 + row.lengths.seg1) * (1 + tseg1 + tseg2)) << context;
        EXPECT_EQ(After(line, p + "sjw="), row.lengths.sjw) << context;
      }
    }
    EXPECT_EQ(next, rows.size()) << q.controller << ": a line for every row";
  }
}

TEST(ZephyrForm, TheStructsFieldsGiveBackTheRow) {
  for (const Question& q : kQuestions) {
    if (!HasForm(*FindController(q.controller), OutputFormat::kZephyr)) continue;
    std::vector<WrittenRow> rows;
    const std::vector<std::string> lines = Lines(Written(q, OutputFormat::kZephyr, rows));
    const int64_t divisor = KernelDivisor(q.controller);
    std::size_t next = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const std::string& line = lines[i];
      if (!StartsWith(line, "const struct can_timing ")) continue;
      const std::string context = std::string(q.controller) + ": " + line;
      ASSERT_LT(next, rows.size()) << context;
      const WrittenRow& row = rows[next++];
      EXPECT_EQ(After(line, ".prescaler = ") * divisor, row.lengths.prescaler) << context;
      const int64_t phase1 = After(line, ".phase_seg1 = ");
      EXPECT_EQ(After(line, ".prop_seg = ") + phase1, row.lengths.seg1) << context;
      EXPECT_EQ(After(line, ".phase_seg2 = "), row.lengths.seg2) << context;
      EXPECT_EQ(After(line, ".sjw = "), row.lengths.sjw) << context;
      EXPECT_LE(row.lengths.sjw, phase1) << context;
      ASSERT_LT(i + 1, lines.size());
      EXPECT_EQ(lines[i + 1], row.data ? "can_set_timing_data(dev, &timing_data);" : "can_set_timing(dev, &timing);");
    }
    EXPECT_EQ(next, rows.size()) << q.controller;
  }
}

TEST(RegistersForm, TheValuesDecodeBackToTheRow) {
  for (const Question& q : kQuestions) {
    const ControllerEntry& entry = *FindController(q.controller);
    if (!HasForm(entry, OutputFormat::kRegisters) || entry.traits.olderForm) continue;
    std::vector<WrittenRow> rows;
    const std::vector<std::string> lines = Lines(Written(q, OutputFormat::kRegisters, rows));
    std::size_t next = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (!StartsWith(lines[i], "/* ") || lines[i].find("Kbps") == std::string::npos) continue;
      ASSERT_LT(next, rows.size());
      const WrittenRow& row = rows[next++];
      const PhaseLimits& limits = row.data ? entry.data : entry.nominal;
      uint32_t values[kMaxPhaseRegisters] = {};
      for (int32_t r = 0; r < limits.registerCount; ++r) {
        const std::string& line = lines[i + 1 + r];
        const std::string context = std::string(q.controller) + ": " + line;
        ASSERT_TRUE(StartsWith(line, (std::string(limits.registers[r]->name) + " = ").c_str())) << context;
        // A read-modify-write gives its value after the "|".
        const std::size_t bar = line.find("| ");
        values[r] = static_cast<uint32_t>(
            std::strtoul(line.c_str() + (bar != std::string::npos ? bar + 2 : line.find("= ") + 2), nullptr, 16));
      }
      const BitTimingLengths back = DecodeRegisterSet(values, limits.registers, limits.registerCount);
      EXPECT_EQ(back.prescaler, row.lengths.prescaler) << q.controller;
      EXPECT_EQ(back.seg1, row.lengths.seg1) << q.controller;
      EXPECT_EQ(back.seg2, row.lengths.seg2) << q.controller;
      EXPECT_EQ(back.sjw, row.lengths.sjw) << q.controller;
    }
    EXPECT_EQ(next, rows.size()) << q.controller;
  }
}

// Whole blocks, worked by hand. MCP2515 at 16 MHz, 500 kbit/s: divider 2 (BRP 0), seg1
// 13 = PRSEG 6 + PHSEG1 7, PHSEG2 2 (DS21801F §5: CNF2 = BTLMODE | (7-1)<<3 | (6-1) =
// 0xB5); the kernel's clock 8 MHz makes tq 125 ns. The ESP32 at 80 MHz: ESP-IDF's brp
// is the APB divider, 10.
TEST(CodeForms, WholeBlocksWorkedByHand) {
  const struct {
    Question question;
    OutputFormat format;
    const char* text;
  } kCases[] = {
      {{"mcp2515", 16000, 500, 0, true},
       OutputFormat::kRegisters,
       "/* 500 Kbps, sample point 87.5%, error 0%, oscillator tolerance 0.31% */\n"
       "CNF1 = 0x00;\nCNF2 = 0xB5;\nCNF3 = 0x01;\n"},
      {{"mcp2515", 16000, 500, 0, true},
       OutputFormat::kLinux,
       "# 500 Kbps, sample point 87.5%, error 0%, oscillator tolerance 0.31%\n"
       "# the kernel counts tq in its clock, half the typed one: 8000000 Hz\n"
       // The Pi's overlay with this crystal in Hz, and the interface brought up last.
       "# on a Raspberry Pi, config.txt: dtoverlay=mcp2515-can0,oscillator=16000000,interrupt=25 (interrupt: the GPIO "
       "its INT pin is wired to)\n"
       "ip link set can0 type can tq 125 prop-seg 6 phase-seg1 7 phase-seg2 2 sjw 1\n"
       "# shorter: bitrate 500000 sample-point 0.875 (the kernel then picks prescaler and segments itself, maybe "
       "others)\n"
       "ip link set can0 up\n"},
      {{"mcp2515", 16000, 500, 0, true},
       OutputFormat::kZephyr,
       "/* 500 Kbps, sample point 87.5%, error 0%, oscillator tolerance 0.31% */\n"
       "/* can_mcp2515: core clock = half the oscillator (8000000 Hz); devicetree: bitrate = <500000>; sample-point = "
       "<875>; */\n"
       "const struct can_timing timing = {.sjw = 1, .prop_seg = 6, .phase_seg1 = 7, .phase_seg2 = 2, .prescaler = 1};\n"
       "can_set_timing(dev, &timing);\n"},
      {{"mcp2515", 16000, 500, 0, true},
       OutputFormat::kPythonCan,
       "# 500 Kbps, sample point 87.5%, error 0%, oscillator tolerance 0.31%\n"
       "# f_clock is half the typed clock: brp counts pairs of its periods, as the register's BRP does\n"
       "timing = can.BitTiming(f_clock=8000000, brp=1, tseg1=13, tseg2=2, sjw=1)\n"},
      {{"esp32-twai", 80000, 500, 0, true},
       OutputFormat::kEspIdf,
       "/* 500 Kbps, sample point 87.5%, error 0%, oscillator tolerance 0.48% */\n"
       "twai_timing_config_t t_config = {.brp = 10, .tseg_1 = 13, .tseg_2 = 2, .sjw = 2, .triple_sampling = false};\n"},
      // bxCAN's CAN_BTR for 42 MHz with the widest SJW its BS2 allows (2): 0x011A0005.
      {{"bxcan", 42000, 500, 0, true},
       OutputFormat::kRegisters,
       "/* 500 Kbps, sample point 85.7%, error 0%, oscillator tolerance 0.55% */\nCAN1->BTR = 0x011A0005;\n"},
      // FlexCAN's CTRL1 keeps CLKSRC and the masks: PRESDIV 20-1, PSEG1 8-1... only the
      // timing bits 31:16 and 2:0 are replaced.
      {{"flexcan", 40000, 125, 0, true},
       OutputFormat::kRegisters,
       "/* 125 Kbps, sample point 87.5%, error 0%, oscillator tolerance 0.48% */\n"
       "CTRL1 = (CTRL1 & ~0xFFFF0007) | 0x13710005;\n"},
      // A prescaler python-can's BitTiming cannot take.
      {{"c_can", 24000, 10, 0, true},
       OutputFormat::kPythonCan,
       "# 10 Kbps, sample point 87.5%, error 0%, oscillator tolerance 0.48%\n"
       "# python-can's BitTiming cannot hold it: brp 150 is above its 64\n"},
      // The MCP2518FD pair: TDCO absolute, dbrp x (1 + dseg1) = 15 (mcp251xfd-core.c).
      {{"mcp2518fd", 40000, 500, 2000, true},
       OutputFormat::kLinux,
       "# nominal: 500 Kbps, sample point 87.5%, error 0%, oscillator tolerance 0.48%\n"
       "# data: 2000 Kbps, sample point 75%, error 0%, oscillator tolerance 1.25%\n"
       "ip link set can0 type can tq 25 prop-seg 34 phase-seg1 35 phase-seg2 10 sjw 10 dtq 25 dprop-seg 7 dphase-seg1 7 "
       "dphase-seg2 5 dsjw 5 fd on tdc-mode auto tdco 15\n"
       "# shorter: bitrate 500000 sample-point 0.875 dbitrate 2000000 dsample-point 0.75 fd on (the kernel then picks "
       "prescaler and segments itself, maybe others)\n"
       "\n# both phases together: oscillator tolerance 0.48%\n"},
      {{"mcp2518fd", 40000, 500, 2000, true},
       OutputFormat::kPythonCan,
       "# nominal: 500 Kbps, sample point 87.5%, error 0%, oscillator tolerance 0.48%\n"
       "# data: 2000 Kbps, sample point 75%, error 0%, oscillator tolerance 1.25%\n"
       "timing = can.BitTimingFd(f_clock=40000000, nom_brp=1, nom_tseg1=69, nom_tseg2=10, nom_sjw=10, data_brp=1, "
       "data_tseg1=14, data_tseg2=5, data_sjw=5)\n"
       "\n# both phases together: oscillator tolerance 0.48%\n"},
  };
  for (const auto& c : kCases) {
    std::vector<WrittenRow> rows;
    EXPECT_EQ(Written(c.question, c.format, rows), c.text) << c.question.controller << " " << FormatName(c.format);
  }
}

TEST(CodeForms, AFormTheControllerLacksIsRefusedWithTheFormsItHas) {
  const struct {
    const char* controller;
    OutputFormat format;
    const char* line;
  } kCases[] = {
      {"mcp2515", OutputFormat::kHal,
       "--format hal is no form of mcp2515: its forms are table, tsv, csv, json, registers, linux, zephyr, python-can"},
      {"esp32-twai", OutputFormat::kLinux,
       "--format linux is no form of esp32-twai: its forms are table, tsv, csv, json, registers, zephyr, python-can, "
       "esp-idf"},
      {"peak-canfd", OutputFormat::kRegisters,
       "--format registers is no form of peak-canfd: its forms are table, tsv, csv, json, linux, python-can"},
      {"gs-usb", OutputFormat::kZephyr,
       "--format zephyr is no form of gs-usb: its forms are table, tsv, csv, json, linux, python-can"},
      {"bxcan", OutputFormat::kEspIdf,
       "--format esp-idf is no form of bxcan: its forms are table, tsv, csv, json, hal, spl, registers, linux, zephyr, "
       "python-can"},
      {"lpc", OutputFormat::kLinux, "--format linux is no form of lpc: its forms are table, tsv, csv, json, registers, "
                                    "python-can"},
  };
  for (const auto& c : kCases) {
    Request request;
    request.controller = FindController(c.controller);
    request.format = c.format;
    const RequestCheck check = CheckRequest(request, MissingInput::kTakeDefault);
    EXPECT_EQ(check.status, RequestStatus::kFormNotForController) << c.controller;
    EXPECT_EQ(RefusalLine(check), c.line);
    EXPECT_STREQ(StatusName(static_cast<int>(check.status)), "form-not-for-controller");
  }
  // FDCAN's spl keeps its older line.
  Request fdcan;
  fdcan.controller = FindController("fdcan");
  fdcan.format = OutputFormat::kSpl;
  EXPECT_EQ(CheckRequest(fdcan, MissingInput::kTakeDefault).status, RequestStatus::kSplWithFdcan);
  // custom: has no registers.
  ControllerEntry custom{};
  ASSERT_EQ(ParseCustomController("custom:seg1=1-16,seg2=1-8,sjw=4,prescaler=1-64", custom).problem,
            CustomProblem::kNone);
  EXPECT_EQ(FormNames(custom), "table, tsv, csv, json, linux, zephyr, python-can");
}

TEST(CodeForms, EveryControllerHasItsFormsAndTheFactsTheyNeed) {
  for (int32_t i = 0; i < ControllerCount(); ++i) {
    const ControllerEntry& entry = ControllerAt(i);
    // Registers where there are registers; python-can everywhere; Zephyr's note where
    // the form is.
    EXPECT_EQ(HasForm(entry, OutputFormat::kRegisters), entry.nominal.registerCount > 0) << entry.name;
    EXPECT_TRUE(HasForm(entry, OutputFormat::kPythonCan)) << entry.name;
    if (HasForm(entry, OutputFormat::kZephyr)) EXPECT_NE(ZephyrDriverNote(entry), nullptr) << entry.name;
    // The divisor makes every prescaler a whole number of the counted clock.
    EXPECT_EQ(entry.nominal.prescaler.first % CoreClockDivisor(entry), 0) << entry.name;
    EXPECT_EQ(entry.nominal.prescalerStep % CoreClockDivisor(entry), 0) << entry.name;
  }
}

TEST(CodeForms, TheSettingWriterRefusesAFormTheControllerLacks) {
  SetFloatEnvironment();
  Request request = RequestOf({"esp32-twai", 80000, 500, 0, true}, OutputFormat::kLinux);
  request.format = OutputFormat::kTable;
  ASSERT_EQ(CheckRequest(request, MissingInput::kTakeDefault).status, RequestStatus::kReady);
  const AnswerRows answer = RowsOfAnswer(request);
  TimingCandidate record{};
  answer.phases[0].rows([&](const TimingCandidate& row) { return record = row, false; });
  std::string text;
  OutputSink sink = TextOutput(text);
  EXPECT_FALSE(WriteSettingForm(OutputFormat::kLinux, record, answer.phases[0].options, nullptr, nullptr, sink));
  FlushOutput(sink);
  EXPECT_EQ(text, "");
  EXPECT_TRUE(WriteSettingForm(OutputFormat::kEspIdf, record, answer.phases[0].options, nullptr, nullptr, sink));
  FlushOutput(sink);
  EXPECT_NE(text.find(".brp = 10,"), std::string::npos) << text;
}

}  // namespace
