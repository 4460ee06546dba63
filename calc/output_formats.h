// The forms an answer is written in, as one table every face reads (--format's names,
// the page's code selector, the controller list's forms, the plan's blocks): the text
// forms every controller has, then the code to paste, which an entry lists among its
// code facts (calc/controllers.h).
#pragma once

#include <cstring>

// The text forms, then the code to paste: ST's libraries (hal, spl), the register
// values in C, an `ip link` line, Zephyr's struct can_timing, python-can's BitTiming and
// ESP-IDF's twai_timing_config_t, and the init structure of the vendor's own library
// for the bxCAN-like peripherals of GigaDevice, Artery, WCH, Geehy and Nations (sdk).
enum class OutputFormat {
  kTable, kTsv, kCsv, kJson, kHal, kSpl, kRegisters, kLinux, kZephyr, kPythonCan, kEspIdf, kSdk
};

struct FormatRow {
  OutputFormat format;
  const char* name;    // --format's: "python-can"
  bool code;           // code to paste; false: a text form every controller has
  bool vendorLibrary;  // code for a vendor's own library (ST's HAL and SPL, ESP-IDF),
                       // which lists after the code any controller may have
};

// Every format, in --format's order.
inline constexpr FormatRow kFormats[] = {
    {OutputFormat::kTable, "table", false, false},
    {OutputFormat::kTsv, "tsv", false, false},
    {OutputFormat::kCsv, "csv", false, false},
    {OutputFormat::kJson, "json", false, false},
    {OutputFormat::kHal, "hal", true, true},
    {OutputFormat::kSpl, "spl", true, true},
    {OutputFormat::kRegisters, "registers", true, false},
    {OutputFormat::kLinux, "linux", true, false},
    {OutputFormat::kZephyr, "zephyr", true, false},
    {OutputFormat::kPythonCan, "python-can", true, false},
    {OutputFormat::kEspIdf, "esp-idf", true, true},
    {OutputFormat::kSdk, "sdk", true, true},
};

// A format's bit in a set of formats (CodeFacts::forms).
constexpr unsigned FormBit(OutputFormat format) { return 1u << static_cast<unsigned>(format); }

// The row of format; every format has one.
inline const FormatRow& FormatRowOf(OutputFormat format) {
  for (const FormatRow& row : kFormats)
    if (row.format == format) return row;
  return kFormats[0];
}

// The format --format names name into format; false (format untouched) for any other
// name or a null one.
inline bool FormatNamed(const char* name, OutputFormat& format) {
  for (const FormatRow& row : kFormats)
    if (name != nullptr && std::strcmp(name, row.name) == 0) return format = row.format, true;
  return false;
}
