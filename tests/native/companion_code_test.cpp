// The hal and spl blocks compile as C when pasted into a function, against a stub
// header that gives the library's structures and constants their register values, and
// the settings they make add up to the CAN_BTR their comment names.
#include "cli/command_line.h"

#include "tests/native/companion_run.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

// The constants as the two libraries define them: HAL's are the register fields in
// place, the older library's are the field codes that its CAN_Init shifts.
std::string StubHeader() {
  std::string h =
      "#include <stdint.h>\n"
      "typedef struct { uint32_t Prescaler, Mode, SyncJumpWidth, TimeSeg1, TimeSeg2; } HalInit;\n"
      "typedef struct { HalInit Init; } CAN_HandleTypeDef;\n"
      "typedef struct { uint16_t CAN_Prescaler; uint8_t CAN_Mode, CAN_SJW, CAN_BS1, CAN_BS2; } CAN_InitTypeDef;\n"
      "#define CAN_MODE_NORMAL 0u\n#define CAN_MODE_LOOPBACK (1u << 30)\n"
      "#define CAN_MODE_SILENT (1u << 31)\n#define CAN_MODE_SILENT_LOOPBACK (3u << 30)\n"
      "#define CAN_Mode_Normal ((uint8_t)0)\n#define CAN_Mode_LoopBack ((uint8_t)1)\n"
      "#define CAN_Mode_Silent ((uint8_t)2)\n#define CAN_Mode_Silent_LoopBack ((uint8_t)3)\n";
  const struct {
    const char* name;
    int count;
    int shift;
  } fields[] = {{"SJW", 4, 24}, {"BS1", 16, 16}, {"BS2", 8, 20}};
  for (const auto& f : fields) {
    for (int n = 1; n <= f.count; ++n) {
      const std::string code = std::to_string(n - 1);
      h += "#define CAN_" + std::string(f.name) + "_" + std::to_string(n) + "TQ (" + code + "u << " +
           std::to_string(f.shift) + ")\n";
      h += "#define CAN_" + std::string(f.name) + "_" + std::to_string(n) + "tq ((uint8_t)" + code + ")\n";
    }
  }
  return h;
}

// Each block in a function of its own; main prints the CAN_BTR each one sets.
std::string Program(const std::vector<std::string>& blocks, bool hal) {
  std::string c = "#include \"stub.h\"\n#include <stdio.h>\n#include <string.h>\n"
                  "static CAN_HandleTypeDef hcan;\nstatic CAN_InitTypeDef CAN_InitStructure;\n";
  for (std::size_t i = 0; i < blocks.size(); ++i) c += "static void Block" + std::to_string(i) + "(void) {\n" + blocks[i] + "}\n";
  c += "int main(void) {\n";
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    c += "  memset(&hcan, 0, sizeof hcan);\n  memset(&CAN_InitStructure, 0, sizeof CAN_InitStructure);\n";
    c += "  Block" + std::to_string(i) + "();\n";
    c += hal ? "  printf(\"0x%08X\\n\", (unsigned)((hcan.Init.Prescaler - 1) | hcan.Init.SyncJumpWidth | "
               "hcan.Init.TimeSeg1 | hcan.Init.TimeSeg2 | hcan.Init.Mode));\n"
             : "  printf(\"0x%08X\\n\", (unsigned)((unsigned)CAN_InitStructure.CAN_Mode << 30 | "
               "(unsigned)CAN_InitStructure.CAN_SJW << 24 | (unsigned)CAN_InitStructure.CAN_BS2 << 20 | "
               "(unsigned)CAN_InitStructure.CAN_BS1 << 16 | (CAN_InitStructure.CAN_Prescaler - 1u)));\n";
  }
  return c + "  return 0;\n}\n";
}

void WriteText(const std::string& path, const std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "w");
  ASSERT_NE(file, nullptr);
  std::fputs(text.c_str(), file);
  std::fclose(file);
}

// Splits the output into blocks at the blank lines, and collects the register value
// (after "CAN_BTR ", "NBTP " or "DBTP ") that each block's comment names. A comment
// alone (a best pair's tolerance) is no block.
std::vector<std::string> Blocks(const std::string& out, std::string& registers) {
  std::vector<std::string> blocks;
  std::size_t start = 0;
  while (start < out.size()) {
    std::size_t end = out.find("\n\n", start);
    end = end == std::string::npos ? out.size() : end + 1;
    const std::string block = out.substr(start, end - start);
    start = end + 1;
    const std::size_t value = block.find(" 0x");
    if (value == std::string::npos && block.rfind("/*", 0) == 0 && block.find(";") == std::string::npos) continue;
    blocks.push_back(block);
    registers += (value == std::string::npos ? "?" : block.substr(value + 1, 10)) + "\n";
  }
  return blocks;
}

void CompileAndRun(const std::string& dir, const std::string& program, std::string& printed) {
  WriteText(dir + "/blocks.c", program);
  const std::string compile = std::string(QUILLMERE_C_COMPILER) + " -x c -std=c99 -pedantic -Wall -Wextra -Werror -o " +
                              dir + "/blocks " + dir + "/blocks.c";
  ASSERT_EQ(std::system(compile.c_str()), 0);
  std::FILE* run = popen((dir + "/blocks").c_str(), "r");
  ASSERT_NE(run, nullptr);
  char line[64];
  while (std::fgets(line, sizeof line, run) != nullptr) printed += line;
  EXPECT_EQ(pclose(run), 0);
}

TEST(Code, BlocksCompileAsCAndSetTheirRegister) {
  char directory[] = "/tmp/quillmere-code-XXXXXX";
  ASSERT_NE(mkdtemp(directory), nullptr);
  const std::string dir = directory;
  WriteText(dir + "/stub.h", StubHeader());
  const std::vector<std::vector<std::string>> requests = {
      {"--sjw", "2"},
      {"--clock", "8", "--rate", "400", "--sample-point", "0", "--tolerance", "5", "--sjw", "4"},
      {"--best", "--clock", "36", "--rate", "1000"},
      {"--decode", "0x4306001B", "--rate", "480"},
      {"--decode", "0xC37F03FF"},
      {"--decode", "0x80000000"},
  };
  for (const char* format : {"hal", "spl"}) {
    std::vector<std::string> blocks;
    std::string registers;
    for (std::vector<std::string> arguments : requests) {
      arguments.insert(arguments.end(), {"--format", format});
      const CompanionRun run = RunCompanion(arguments);
      ASSERT_EQ(run.exitCode, 0) << arguments[0];
      const std::vector<std::string> more = Blocks(run.out, registers);
      blocks.insert(blocks.end(), more.begin(), more.end());
    }
    ASSERT_GT(blocks.size(), 35u);
    std::string printed;
    CompileAndRun(dir, Program(blocks, std::string(format) == "hal"), printed);
    EXPECT_EQ(printed, registers) << format;
  }
  std::system(("rm -rf " + dir).c_str());
}

// FDCAN's hal blocks, nominal and data, each in a function of its own against a stub
// of HAL's hfdcan handle; main prints the NBTP or DBTP that the fields add up to.
TEST(Code, FdcanBlocksCompileAsCAndSetTheirRegister) {
  char directory[] = "/tmp/quillmere-code-XXXXXX";
  ASSERT_NE(mkdtemp(directory), nullptr);
  const std::string dir = directory;
  WriteText(dir + "/stub.h",
            "#include <stdint.h>\n"
            "typedef struct { uint32_t NominalPrescaler, NominalSyncJumpWidth, NominalTimeSeg1, NominalTimeSeg2,\n"
            "  DataPrescaler, DataSyncJumpWidth, DataTimeSeg1, DataTimeSeg2; } FDCAN_InitTypeDef;\n"
            "typedef struct { FDCAN_InitTypeDef Init; } FDCAN_HandleTypeDef;\n"
            "static uint32_t tdcOffset, tdcFilter, tdcOn;\n"
            "static inline int HAL_FDCAN_ConfigTxDelayCompensation(FDCAN_HandleTypeDef* h, uint32_t offset,\n"
            "  uint32_t filter) { (void)h; tdcOffset = offset; tdcFilter = filter; return 0; }\n"
            "static inline int HAL_FDCAN_EnableTxDelayCompensation(FDCAN_HandleTypeDef* h) { (void)h; tdcOn = 1; "
            "return 0; }\n");
  const std::vector<std::vector<std::string>> requests = {
      {"--clock", "80", "--rate", "500", "--sample-point", "87.5", "--data-rate", "2000", "--data-sample-point", "60"},
      {"--clock", "170", "--rate", "500", "--tolerance", "1", "--sample-point", "85", "--sjw", "3"},
      {"--clock", "40", "--rate", "125", "--data-rate", "2000", "--best"},
      {"--decode", "0xFFFFFF7F", "--decode-data", "0x009F1FFF"},
  };
  std::vector<std::string> blocks;
  std::string registers;
  for (std::vector<std::string> arguments : requests) {
    arguments.insert(arguments.begin(), {"--controller", "fdcan"});
    arguments.insert(arguments.end(), {"--format", "hal"});
    const CompanionRun run = RunCompanion(arguments);
    ASSERT_EQ(run.exitCode, 0) << arguments[2];
    const std::vector<std::string> more = Blocks(run.out, registers);
    blocks.insert(blocks.end(), more.begin(), more.end());
  }
  ASSERT_GT(blocks.size(), 100u);
  std::string c = "#include \"stub.h\"\n#include <stdio.h>\n#include <string.h>\nstatic FDCAN_HandleTypeDef hfdcan;\n";
  for (std::size_t i = 0; i < blocks.size(); ++i) c += "static void Block" + std::to_string(i) + "(void) {\n" + blocks[i] + "}\n";
  c += "#define F(x) (hfdcan.Init.x - 1u)\nint main(void) {\n";
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    c += "  memset(&hfdcan, 0, sizeof hfdcan);\n  tdcOffset = tdcFilter = tdcOn = 0;\n  Block" + std::to_string(i) +
         "();\n";
    // Where TDC is set: the offset DataPrescaler x DataTimeSeg1, filter 0, enabled.
    c += "  if (tdcOn && (tdcOffset != hfdcan.Init.DataPrescaler * hfdcan.Init.DataTimeSeg1 || tdcFilter != 0 ||\n"
         "      hfdcan.Init.DataPrescaler > 2 || tdcOffset > 127)) printf(\"bad TDC\\n\");\n";
    c += blocks[i].find("NBTP") != std::string::npos
             ? "  printf(\"0x%08X\\n\", F(NominalSyncJumpWidth) << 25 | F(NominalPrescaler) << 16 | "
               "F(NominalTimeSeg1) << 8 | F(NominalTimeSeg2));\n"
             : "  printf(\"0x%08X\\n\", F(DataPrescaler) << 16 | F(DataTimeSeg1) << 8 | F(DataTimeSeg2) << 4 | "
               "F(DataSyncJumpWidth));\n";
  }
  std::string printed;
  CompileAndRun(dir, c + "  return 0;\n}\n", printed);
  // The decoded DBTP's TDC bit (23) is no field the block sets.
  const std::size_t tdc = registers.find("0x009F1FFF");
  ASSERT_NE(tdc, std::string::npos);
  registers.replace(tdc, 10, "0x001F1FFF");
  EXPECT_EQ(printed, registers);
  std::system(("rm -rf " + dir).c_str());
}

// The man page renders without a warning and names every option, format and exit
// code that --help names.
TEST(ManPage, RendersAndNamesWhatTheHelpNames) {
  std::FILE* man = popen(("MANWIDTH=80 man --warnings -l " + std::string(QUILLMERE_MAN_PAGE) + " 2>&1").c_str(), "r");
  ASSERT_NE(man, nullptr);
  std::string page;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, man)) > 0;) page.append(buffer, n);
  ASSERT_EQ(pclose(man), 0);
  // The renderer's warnings start "troff:" (or man's own "man:"); the page itself
  // speaks of the companion's warnings.
  EXPECT_EQ(page.find("troff:"), std::string::npos) << page.substr(0, 400);
  EXPECT_NE(page.rfind("man:", 0), 0u) << page.substr(0, 400);
  EXPECT_EQ(page.find("QUILLMERE-CLI(1)"), 0u);

  std::set<std::string> names;
  const std::string usage = UsageText();
  const std::regex option("--[a-z-]+");
  for (auto it = std::sregex_iterator(usage.begin(), usage.end(), option); it != std::sregex_iterator(); ++it)
    if (it->str() != "--option") names.insert(it->str());  // "--option=value" names the form
  EXPECT_GE(names.size(), 10u);
  for (const char* format : {"table", "tsv", "csv", "json", "hal", "spl", "registers", "linux", "zephyr", "python-can", "esp-idf"})
    names.insert(format);
  for (const std::string& name : names) EXPECT_NE(page.find("\n       " + name), std::string::npos) << name;
  for (const char* section : {"EXIT STATUS", "EXAMPLES", "FORMATS", "OPTIONS"})
    EXPECT_NE(page.find(std::string("\n") + section + "\n"), std::string::npos) << section;
  for (const char* code : {"0", "1", "2", "3"})
    EXPECT_NE(page.find(std::string("\n       ") + code + "      "), std::string::npos) << code;
}

}  // namespace

namespace {

// The ip line of a linux block and the line after it.
std::string IpLineAndNext(const std::string& out) {
  const std::size_t start = out.find("ip link set");
  if (start == std::string::npos) return "";
  const std::size_t end = out.find('\n', out.find('\n', start) + 1);
  return out.substr(start, end == std::string::npos ? std::string::npos : end - start + 1);
}



// The linux form writes only what the controller's driver takes: tdc-mode options for
// a driver with TDC constants (mcp251xfd), none for m_can and flexcan, which refuse them
// ("Operation not supported") and set TDC themselves; then a comment line computes what
// the driver will do by its own rule (m_can.c: above 2.5 Mbit/s, TDCO = clock kHz x
// sample point / bit rate; flexcan-core.c: whenever FD is on, (1 + dseg1) x dbrp in a
// 5-bit TDCOFF), naming the convention of its offset and of the listing's where they
// differ (FDCAN's dbrp x dseg1). M_CAN 3.0 takes fd-non-iso on, as m_can.c requires.
TEST(LinuxLines, TdcAsEachDriverTakesIt) {
  const char* kListing = "; the listing's TDC offset, ";
  const struct {
    std::vector<std::string> arguments;
    std::string lines;
  } cases[] = {
      {{"--controller", "fdcan", "--clock", "80", "--rate", "500", "--data-rate", "2000"},
       "ip link set can0 type can tq 12 prop-seg 69 phase-seg1 70 phase-seg2 20 sjw 20 dtq 12 dprop-seg 14 dphase-seg1 15 "
       "dphase-seg2 10 dsjw 10 fd on\n"
       "# m_can takes no tdc-mode option and sets TDC itself above 2.5 Mbit/s only: at 2000000 bit/s it leaves TDC off" +
           std::string(kListing) + "29, counts dbrp x dseg1 clock periods, sync segment left out (ST's advice)\n"},
      {{"--controller", "fdcan", "--clock", "80", "--rate", "500", "--data-rate", "5000"},
       "ip link set can0 type can tq 12 prop-seg 69 phase-seg1 70 phase-seg2 20 sjw 20 dtq 12 dprop-seg 5 dphase-seg1 6 "
       "dphase-seg2 4 dsjw 4 fd on\n"
       "# m_can takes no tdc-mode option and sets TDC itself above 2.5 Mbit/s: TDCO = clock kHz x sample point / bit rate "
       "= 80000 x 750 / 5000000 = 12 clock periods from the start of the bit" +
           std::string(kListing) + "11, counts dbrp x dseg1 clock periods, sync segment left out (ST's advice)\n"},
      {{"--controller", "mcan", "--clock", "80", "--rate", "500", "--data-rate", "5000"},
       "ip link set can0 type can tq 12 prop-seg 69 phase-seg1 70 phase-seg2 20 sjw 20 dtq 12 dprop-seg 5 dphase-seg1 6 "
       "dphase-seg2 4 dsjw 4 fd on\n"
       "# m_can takes no tdc-mode option and sets TDC itself above 2.5 Mbit/s: TDCO = clock kHz x sample point / bit rate "
       "= 80000 x 750 / 5000000 = 12 clock periods from the start of the bit\n"},
      {{"--controller", "mcan-3.0", "--clock", "40", "--rate", "500", "--data-rate", "2000"},
       "ip link set can0 type can tq 50 prop-seg 17 phase-seg1 17 phase-seg2 5 sjw 5 dtq 50 dprop-seg 3 dphase-seg1 4 "
       "dphase-seg2 2 dsjw 2 fd on fd-non-iso on\n"
       "# m_can takes no tdc-mode option and sets TDC itself above 2.5 Mbit/s only: at 2000000 bit/s it leaves TDC off\n"},
      // M_CAN 3.1.x: m_can.c fixes non-ISO CAN FD, as for 3.0.
      {{"--controller", "mcan-3.1", "--clock", "80", "--rate", "500", "--data-rate", "5000"},
       "ip link set can0 type can tq 12 prop-seg 69 phase-seg1 70 phase-seg2 20 sjw 20 dtq 12 dprop-seg 5 dphase-seg1 6 "
       "dphase-seg2 4 dsjw 4 fd on fd-non-iso on\n"
       "# m_can takes no tdc-mode option and sets TDC itself above 2.5 Mbit/s: TDCO = clock kHz x sample point / bit rate "
       "= 80000 x 750 / 5000000 = 12 clock periods from the start of the bit\n"},
      {{"--controller", "flexcan-fd", "--clock", "40", "--rate", "500", "--data-rate", "2000"},
       "ip link set can0 type can tq 25 prop-seg 37 phase-seg1 32 phase-seg2 10 sjw 10 dtq 25 dprop-seg 7 dphase-seg1 7 "
       "dphase-seg2 5 dsjw 4 fd on\n"
       "# flexcan takes no tdc-mode option and sets TDC itself whenever fd is on: TDCOFF = (1 + dseg1) x dbrp = 15 clock "
       "periods from the start of the bit\n"},
      {{"--controller", "flexcan-fd", "--clock", "80", "--rate", "500", "--data-rate", "2000", "--data-sample-point",
        "87.5"},
       "ip link set can0 type can tq 25 prop-seg 37 phase-seg1 32 phase-seg2 10 sjw 10 dtq 25 dprop-seg 9 dphase-seg1 8 "
       "dphase-seg2 2 dsjw 2 fd on\n"
       "# flexcan takes no tdc-mode option and sets TDC itself whenever fd is on: TDCOFF = (1 + dseg1) x dbrp = 36, which "
       "its 5-bit field cuts to 4 clock periods from the start of the bit\n"},
      // ctucanfd_base.c: the secondary sample point above 1 Mbit/s only, m_can's formula.
      {{"--controller", "ctucanfd", "--clock", "100", "--rate", "500", "--data-rate", "2000"},
       "ip link set can0 type can tq 10 prop-seg 111 phase-seg1 63 phase-seg2 25 sjw 25 dtq 10 dprop-seg 18 "
       "dphase-seg1 19 dphase-seg2 12 dsjw 12 fd on\n"
       "# ctucanfd takes no tdc-mode option and sets its secondary sample point itself above 1 Mbit/s: SSP offset = "
       "clock kHz x sample point / bit rate = 100000 x 760 / 2000000 = 38 clock periods from the start of the bit\n"},
      {{"--controller", "ctucanfd", "--clock", "100", "--rate", "500", "--data-rate", "1000"},
       "ip link set can0 type can tq 10 prop-seg 111 phase-seg1 63 phase-seg2 25 sjw 25 dtq 10 dprop-seg 43 "
       "dphase-seg1 31 dphase-seg2 25 dsjw 25 fd on\n"
       "# ctucanfd takes no tdc-mode option and sets its secondary sample point itself above 1 Mbit/s only: at 1000000 "
       "bit/s it leaves it off\n"},
      // ifi_canfd.c: TDELAY = dbrp x dseg1 at every start, the listing's own count.
      {{"--controller", "ifi-canfd", "--clock", "80", "--rate", "500", "--data-rate", "4000"},
       "ip link set can0 type can tq 25 prop-seg 34 phase-seg1 35 phase-seg2 10 sjw 10 dtq 25 dprop-seg 3 dphase-seg1 4 "
       "dphase-seg2 2 dsjw 2 fd on\n"
       "# ifi_canfd takes no tdc-mode option and always sets the transmitter delay itself: TDELAY = dseg1 x dbrp = 14 "
       "clock periods, the sync segment left out; the listing's TDC offset, 14, counts dbrp x dseg1 clock periods, sync "
       "segment left out\n"},
      // esd_usb.c: the CAN-USB/3's firmware, ESD_USB_3_TDC_MODE_AUTO.
      {{"--controller", "esd-usb3", "--rate", "500", "--data-rate", "2000"},
       "ip link set can0 type can tq 12 prop-seg 69 phase-seg1 70 phase-seg2 20 sjw 20 dtq 12 dprop-seg 14 dphase-seg1 15 "
       "dphase-seg2 10 dsjw 8 fd on\n"
       "# esd_usb takes no tdc-mode option: it asks the adapter's firmware for its automatic TDC at every setting "
       "(ESD_USB_3_TDC_MODE_AUTO)\n"},
      {{"--controller", "mcp2518fd", "--clock", "40", "--rate", "500", "--data-rate", "2000"},
       "ip link set can0 type can tq 25 prop-seg 34 phase-seg1 35 phase-seg2 10 sjw 10 dtq 25 dprop-seg 7 dphase-seg1 7 "
       "dphase-seg2 5 dsjw 5 fd on tdc-mode auto tdco 15\n"
       "# shorter: bitrate 500000 sample-point 0.875 dbitrate 2000000 dsample-point 0.75 fd on (the kernel then picks "
       "prescaler and segments itself, maybe others)\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> arguments = c.arguments;
    arguments.insert(arguments.end(), {"--best", "--format", "linux"});
    const CompanionRun run = RunCompanion(arguments);
    EXPECT_EQ(run.exitCode, 0) << arguments[1];
    EXPECT_EQ(IpLineAndNext(run.out), c.lines) << arguments[1] << " " << arguments[3];
  }
  // A plan's linux lines are the same blocks.
  const CompanionRun plan = RunCompanion({"--plan", "--node", "a=mcan-3.0@40", "--node", "b=mcp2518fd@40", "--rate",
                                          "500", "--data-rate", "2000", "--format", "linux"});
  EXPECT_EQ(plan.exitCode, 0);
  EXPECT_NE(plan.out.find(" fd on fd-non-iso on\n# m_can takes no tdc-mode option"), std::string::npos);
  EXPECT_EQ(plan.out.find("fd on tdc-mode auto tdco 15\n# m_can"), std::string::npos);
}

// The registers form sets the data phase's TDC where the rule applies (a data prescaler
// of 1 or 2, an offset the register holds): M_CAN's DBTP.TDC (bit 23) with TDCR.TDCO
// (14:8), M_CAN 3.0's FBTP.TDC and TDCO (28:24) in one register, the MCP2518FD's CiTDC
// with TDCMOD auto (mcp251xfd.h: TDCMOD 17:16 = 2, TDCO 14:8). Worked by hand: mcan-3.0
// at 40 MHz, 2000 Kbps, prescaler 2, seg1 7: FBTP 0x00010611 | TDC 0x00800000 | TDCO
// (2 x 8 = 16) << 24 = 0x10810611.
TEST(RegistersForm, DataPhaseSetsTdc) {
  const struct {
    std::vector<std::string> arguments;
    std::string dataBlock;  // from the data block's register lines to the blank line
  } cases[] = {
      {{"--controller", "mcan-3.0", "--clock", "40"}, "FBTP = 0x10810611;\n"},
      {{"--controller", "mcan", "--clock", "40"}, "DBTP = 0x00800D44;\nTDCR = 0x00000F00;\n"},
      {{"--controller", "mcan-samv7", "--clock", "40"}, "DBTP = 0x00800D44;\nTDCR = 0x00000F00;\n"},
      {{"--controller", "mcp2518fd", "--clock", "40"}, "CiDBTCFG = 0x000D0404;\nCiTDC = 0x00020F00;\n"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> arguments = c.arguments;
    arguments.insert(arguments.end(), {"--rate", "500", "--data-rate", "2000", "--best", "--format", "registers"});
    const CompanionRun run = RunCompanion(arguments);
    EXPECT_EQ(run.exitCode, 0) << arguments[1];
    const std::size_t data = run.out.find("*/\n", run.out.find("2000 Kbps"));
    ASSERT_NE(data, std::string::npos) << arguments[1];
    const std::size_t end = run.out.find("\n\n", data);
    EXPECT_EQ(run.out.substr(data + 3, end - data - 2), c.dataBlock) << arguments[1];
  }
  // A data prescaler of 3 (60 MHz, 2000 Kbps, 10 quanta a bit) has no TDC: DBTP without
  // bit 23, and the comment says why.
  const CompanionRun three = RunCompanion({"--controller", "mcan", "--clock", "60", "--decode-data", "0x00020522",
                                           "--format", "registers"});
  EXPECT_NE(three.out.find("DBTP = 0x00020522;\n/* no TDC: "), std::string::npos) << three.out;
}

// A decoded value's flags: the registers form writes them as given (FlexCAN's CTRL1
// read-modify-write masks every flag field too, so a flag the value clears is cleared),
// esp-idf keeps the TWAI's triple sampling, and the forms that cannot carry a flag name
// it after their line instead of dropping it silently.
TEST(DecodedFlags, WrittenOrNamed) {
  const char kBxcanModes[] = "the decoded registers also set LBKM (loop-back), SILM (silent), which ";
  const struct {
    std::vector<std::string> arguments;
    std::string expected;  // a line the output holds
  } cases[] = {
      // CTRL1 0x09712085: SMP (bit 7) and CLKSRC (bit 13) set; the mask takes in bits 3
      // to 7 and 10 to 15 beside the lengths' 0xFFFF0007.
      {{"--controller", "flexcan", "--clock", "40", "--decode", "CTRL1=0x09712085", "--format", "registers"},
       "CTRL1 = (CTRL1 & ~0xFFFFFCFF) | 0x09712085;\n"},
      // A searched row leaves the flags alone, as before.
      {{"--controller", "flexcan", "--clock", "40", "--rate", "500", "--best", "--format", "registers"},
       "CTRL1 = (CTRL1 & ~0xFFFF0007) | 0x04710005;\n"},
      {{"--controller", "flexcan", "--clock", "40", "--decode", "CTRL1=0x09712085", "--format", "linux"},
       "# the decoded registers also set SMP, CLKSRC, which this line does not carry: set them where the driver or "
       "library sets such modes\n"},
      {{"--decode", "0xC01A0005", "--format", "linux"},
       std::string("# ") + kBxcanModes + "this line does not carry: set them where the driver or library sets such "
       "modes\n"},
      {{"--decode", "0x401A0005", "--format", "python-can"},
       "# the decoded registers also set LBKM (loop-back), which can.BitTiming does not carry: set it where the driver "
       "or library sets such modes\n"},
      {{"--decode", "0xC01A0005", "--format", "zephyr"},
       std::string("/* ") + kBxcanModes + "struct can_timing does not carry: set them where the driver or library "
       "sets such modes */\n"},
      {{"--controller", "mcp2515", "--clock", "16", "--decode", "CNF1=0x00,CNF2=0xF5,CNF3=0x01", "--format",
        "zephyr"},
       "/* the decoded registers also set SAM, which struct can_timing does not carry: set it where the driver or "
       "library sets such modes */\n"},
      {{"--controller", "esp32-twai", "--clock", "80", "--decode",
        "TWAI_BUS_TIMING_0_REG=0x44,TWAI_BUS_TIMING_1_REG=0x9C", "--format", "esp-idf"},
       "twai_timing_config_t t_config = {.brp = 10, .tseg_1 = 13, .tseg_2 = 2, .sjw = 2, .triple_sampling = true};\n"},
      {{"--controller", "esp32-twai", "--clock", "80", "--decode",
        "TWAI_BUS_TIMING_0_REG=0x44,TWAI_BUS_TIMING_1_REG=0x1C", "--format", "esp-idf"},
       "twai_timing_config_t t_config = {.brp = 10, .tseg_1 = 13, .tseg_2 = 2, .sjw = 2, .triple_sampling = false};\n"},
  };
  for (const auto& c : cases) {
    const CompanionRun run = RunCompanion(c.arguments);
    EXPECT_EQ(run.exitCode, 0) << c.expected << run.err;
    EXPECT_NE(run.out.find(c.expected), std::string::npos) << c.expected << run.out;
  }
  // Without flags the forms say nothing more.
  const CompanionRun plain = RunCompanion({"--decode", "0x001A0005", "--format", "linux"});
  EXPECT_EQ(plain.out.find("also set"), std::string::npos) << plain.out;
}

}  // namespace

// The sdk form fills each vendor's init structure with the constants its header names,
// and turns a decoded value's loop-back and silent bits into the library's test mode.
// Every value below is 36 MHz, prescaler 9, seg1 6, seg2 1, SJW 1 (500 Kbps).
TEST(SdkForm, EachVendorsLibrary) {
  const struct {
    const char* controller;
    const char* decode;
    std::string block;  // after the comment line
  } cases[] = {
      {"gd32-can", "CAN_BT=0x40050008",
       "can_parameter.prescaler = 9;\ncan_parameter.resync_jump_width = CAN_BT_SJW_1TQ;\n"
       "can_parameter.time_segment_1 = CAN_BT_BS1_6TQ;\ncan_parameter.time_segment_2 = CAN_BT_BS2_1TQ;\n"
       "can_parameter.working_mode = CAN_LOOPBACK_MODE;\n"},
      {"at32-can", "CAN_BTMG=0xC0050008",
       "can_baudrate_struct.baudrate_div = 9;\ncan_baudrate_struct.rsaw_size = CAN_RSAW_1TQ;\n"
       "can_baudrate_struct.bts1_size = CAN_BTS1_6TQ;\ncan_baudrate_struct.bts2_size = CAN_BTS2_1TQ;\n"
       "can_base_struct.mode_selection = CAN_MODE_LISTENONLY_LOOPBACK;\n"},
      {"at32f435-can", "CAN_BTMG=0x00050008",
       "can_baudrate_struct.baudrate_div = 9;\ncan_baudrate_struct.rsaw_size = CAN_RSAW_1TQ;\n"
       "can_baudrate_struct.bts1_size = CAN_BTS1_6TQ;\ncan_baudrate_struct.bts2_size = CAN_BTS2_1TQ;\n"},
      {"ch32-can", "CAN_BTIMR=0x80050008",
       "CAN_InitStructure.CAN_Prescaler = 9;\nCAN_InitStructure.CAN_SJW = CAN_SJW_1tq;\n"
       "CAN_InitStructure.CAN_BS1 = CAN_BS1_6tq;\nCAN_InitStructure.CAN_BS2 = CAN_BS2_1tq;\n"
       "CAN_InitStructure.CAN_Mode = CAN_Mode_Silent;\n"},
      {"apm32-can", "CAN_BITTIM=0x00050008",
       "configCAN.prescaler = 9;\nconfigCAN.syncJumpWidth = CAN_SJW_1;\nconfigCAN.timeSegment1 = CAN_TIME_SEGMENT1_6;\n"
       "configCAN.timeSegment2 = CAN_TIME_SEGMENT2_1;\n"},
      {"n32-can", "CAN_BTIM=0xC0050008",
       "CAN_InitStructure.BaudRatePrescaler = 9;\nCAN_InitStructure.RSJW = CAN_RSJW_1tq;\n"
       "CAN_InitStructure.TBS1 = CAN_TBS1_6tq;\nCAN_InitStructure.TBS2 = CAN_TBS2_1tq;\n"
       "CAN_InitStructure.OperatingMode = CAN_Silent_LoopBack_Mode;\n"},
  };
  for (const auto& c : cases) {
    const CompanionRun run = RunCompanion({"--controller", c.controller, "--clock", "36", "--rate", "500", "--decode",
                                           c.decode, "--format", "sdk"});
    EXPECT_EQ(run.exitCode, 0) << c.controller << run.err;
    EXPECT_EQ(run.out, "/* 500 Kbps, sample point 87.5%, error 0%, oscillator tolerance 0.48% */\n" + c.block)
        << c.controller;
  }
  // The STM32's libraries are hal and spl; sdk is refused with the forms bxCAN has.
  const CompanionRun bxcan = RunCompanion({"--best", "--format", "sdk"});
  EXPECT_EQ(bxcan.exitCode, 2);
  EXPECT_EQ(bxcan.err, "quillmere-cli: --format sdk is no form of bxcan: its forms are table, tsv, csv, json, hal, spl, "
                       "registers, linux, zephyr, python-can\n");
}
