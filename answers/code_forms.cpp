#include "answers/code_forms.h"

#include <cstring>

namespace {

constexpr unsigned Bit(OutputFormat format) { return 1u << static_cast<unsigned>(format); }

constexpr unsigned kTextForms =
    Bit(OutputFormat::kTable) | Bit(OutputFormat::kTsv) | Bit(OutputFormat::kCsv) | Bit(OutputFormat::kJson);
constexpr unsigned kRegs = Bit(OutputFormat::kRegisters);
constexpr unsigned kLinux = Bit(OutputFormat::kLinux);
constexpr unsigned kZephyr = Bit(OutputFormat::kZephyr);
constexpr unsigned kPython = Bit(OutputFormat::kPythonCan);

// One controller's forms and the facts they need. linux: a mainline kernel driver;
// zephyr: a Zephyr driver; python-can: every controller, its BitTiming being a
// description of a setting, not a driver.
struct ControllerForms {
  const char* name;
  unsigned forms;
  int32_t coreClockDivisor;
  RegisterSpelling spelling;
  const char* zephyr;
  int32_t linuxSeg1First;
};

constexpr RegisterSpelling kPlain{"", false, nullptr};

const ControllerForms kForms[] = {
    {"bxcan", kRegs | kLinux | kZephyr | kPython | Bit(OutputFormat::kHal) | Bit(OutputFormat::kSpl), 1, {"CAN1->", false, "BTR"},
     "can_stm32_bxcan: core clock = the APB clock of the CAN peripheral", 0},
    {"fdcan", kRegs | kLinux | kZephyr | kPython | Bit(OutputFormat::kHal), 1, {"FDCAN1->", false, nullptr},
     "can_stm32_fdcan: core clock = the FDCAN kernel clock", 0},
    {"mcan", kRegs | kLinux | kZephyr | kPython, 1, kPlain, "can_mcan (can_sam, can_mcux_mcan, ...): core clock = cclk",
     0},
    {"mcan-3.0", kRegs | kLinux | kPython, 1, kPlain, nullptr, 0},
    {"c_can", kRegs | kLinux | kPython, 1, kPlain, nullptr, 0},
    {"sja1000", kRegs | kLinux | kZephyr | kPython, 2, kPlain,
     "can_sja1000 (can_kvaser_pci): core clock = half the oscillator", 0},
    // CTRL1 also holds CLKSRC and the interrupt masks.
    {"flexcan", kRegs | kLinux | kZephyr | kPython, 1, {"", true, nullptr},
     "can_mcux_flexcan: core clock = the protocol engine clock", 0},
    {"flexcan-fd", kRegs | kLinux | kZephyr | kPython, 1, kPlain,
     "can_mcux_flexcan (FD): core clock = the protocol engine clock", 0},
    // No mainline Linux or Zephyr driver (an out-of-tree Linux driver exists).
    {"lpc", kRegs | kPython, 1, kPlain, nullptr, 0},
    {"mcp2515", kRegs | kLinux | kZephyr | kPython, 2, kPlain, "can_mcp2515: core clock = half the oscillator", 3},
    {"mcp2518fd", kRegs | kLinux | kZephyr | kPython, 1, kPlain, "can_mcp251xfd: core clock = SYSCLK", 0},
    {"at91", kRegs | kLinux | kPython, 1, kPlain, nullptr, 0},
    {"esp32-twai", kRegs | kZephyr | kPython | Bit(OutputFormat::kEspIdf), 2, kPlain,
     "can_esp32_twai: core clock = half the APB clock (not checked against the driver)", 0},
    {"esp32s3-twai", kRegs | kZephyr | kPython | Bit(OutputFormat::kEspIdf), 2, kPlain,
     "can_esp32_twai: core clock = half the APB clock (not checked against the driver)", 0},
    {"esp32s2-twai", kRegs | kZephyr | kPython | Bit(OutputFormat::kEspIdf), 2, kPlain,
     "can_esp32_twai: core clock = half the TWAI clock (not checked against the driver)", 0},
    {"ti-hecc", kRegs | kLinux | kPython, 1, kPlain, nullptr, 0},
    {"rcar-can", kRegs | kLinux | kZephyr | kPython, 1, kPlain, "can_rcar: core clock = the clock CLKR selects", 0},
    {"rcar-canfd", kRegs | kLinux | kPython, 1, kPlain, nullptr, 0},
    {"rcar-canfd-gen4", kRegs | kLinux | kPython, 1, kPlain, nullptr, 0},
    {"xilinx-can", kRegs | kLinux | kPython, 1, kPlain, nullptr, 0},
    {"xilinx-canfd", kRegs | kLinux | kPython, 1, kPlain, nullptr, 0},
    {"multican", kRegs | kZephyr | kPython, 1, kPlain, "can_xmc4xxx: core clock = fCAN", 0},
    // USB adapters: the kernel's driver sets the timing through the adapter.
    {"peak-canfd", kLinux | kPython, 1, kPlain, nullptr, 0},
    {"gs-usb", kLinux | kPython, 1, kPlain, nullptr, 0},
};

// custom: the forms that need no registers.
constexpr ControllerForms kCustomForms{"custom", kLinux | kZephyr | kPython, 1, kPlain,
                                       "core clock = the typed clock (check can_get_core_clock())", 0};

const ControllerForms& FormsOf(const ControllerEntry& entry) {
  // A custom: entry is not the table's own, whatever its name.
  if (FindController(entry.name) != &entry) return kCustomForms;
  for (const ControllerForms& forms : kForms)
    if (std::strcmp(forms.name, entry.name) == 0) return forms;
  return kCustomForms;
}

struct FormatNameRow {
  OutputFormat format;
  const char* name;
};
constexpr FormatNameRow kFormatNames[] = {
    {OutputFormat::kTable, "table"},         {OutputFormat::kTsv, "tsv"},     {OutputFormat::kCsv, "csv"},
    {OutputFormat::kJson, "json"},           {OutputFormat::kHal, "hal"},     {OutputFormat::kSpl, "spl"},
    {OutputFormat::kRegisters, "registers"}, {OutputFormat::kLinux, "linux"}, {OutputFormat::kZephyr, "zephyr"},
    {OutputFormat::kPythonCan, "python-can"}, {OutputFormat::kEspIdf, "esp-idf"},
};

}  // namespace

bool IsCodeFormat(OutputFormat format) {
  return format != OutputFormat::kTable && format != OutputFormat::kTsv && format != OutputFormat::kCsv &&
         format != OutputFormat::kJson;
}

const char* FormatName(OutputFormat format) {
  for (const FormatNameRow& row : kFormatNames)
    if (row.format == format) return row.name;
  return "";
}

bool HasForm(const ControllerEntry& entry, OutputFormat format) {
  return ((kTextForms | FormsOf(entry).forms) & Bit(format)) != 0;
}

std::string FormNames(const ControllerEntry& entry) {
  std::string names;
  for (const FormatNameRow& row : kFormatNames) {
    if (!HasForm(entry, row.format)) continue;
    if (!names.empty()) names += ", ";
    names += row.name;
  }
  return names;
}

int32_t CoreClockDivisor(const ControllerEntry& entry) { return FormsOf(entry).coreClockDivisor; }
RegisterSpelling RegisterSpellingOf(const ControllerEntry& entry) { return FormsOf(entry).spelling; }
const char* ZephyrDriverNote(const ControllerEntry& entry) { return FormsOf(entry).zephyr; }
int32_t LinuxSeg1First(const ControllerEntry& entry) { return FormsOf(entry).linuxSeg1First; }
