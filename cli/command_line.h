// The companion's command line: options, defaults and the checks on their values.
#pragma once

#include <cstdint>
#include <string>

enum class OutputFormat { kTable, kTsv, kCsv, kJson, kHal, kSpl };

// The search inputs as the window would pass them, what to do with the result, and
// the output format.
struct CliRequest {
  int32_t clockKHz = 42000;
  float targetRate = 500.0f;
  bool rateGiven = false;
  float minSamplePoint = 0.4f;
  int32_t tolerancePercent = 0;
  int32_t sjw = 1;            // quanta, 1 to 4: written into CAN_BTR, and BS2 >= SJW
  bool sjwGiven = false;
  bool best = false;          // one setting instead of the listing
  bool decode = false;        // one CAN_BTR value read instead of a search
  uint32_t decodeValue = 0;   // without reserved bits
  OutputFormat format = OutputFormat::kTable;
};

enum class CliAction { kRun, kHelp, kVersion, kError };

// Reads argv[1..argc-1] in order: "--option value" or "--option=value", and the flag
// --best; a later option overrides an earlier one; --help and --version stop the
// reading. On kError `error` holds one line (no line feed) saying what is wrong,
// with the value as EchoedValue shows it.
CliAction ParseCommandLine(int argc, const char* const* argv, CliRequest& request, std::string& error);

// The text that --help prints, ending with a line feed.
const char* UsageText();
