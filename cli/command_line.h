// The companion's command line: options, defaults and the checks on their values.
#pragma once

#include <cstdint>
#include <string>

enum class OutputFormat { kTable, kTsv, kCsv, kJson };

// The search inputs as the window would pass them, and the output format.
struct CliRequest {
  int32_t clockKHz = 42000;
  float targetRate = 500.0f;
  float minSamplePoint = 0.4f;
  int32_t tolerancePercent = 0;
  OutputFormat format = OutputFormat::kTable;
};

enum class CliAction { kRun, kHelp, kVersion, kError };

// Reads argv[1..argc-1] in order: "--option value" or "--option=value"; a later
// option overrides an earlier one; --help and --version stop the reading. On kError
// `error` holds one line (no line feed) naming the option and the value.
CliAction ParseCommandLine(int argc, const char* const* argv, CliRequest& request, std::string& error);

// The text that --help prints, ending with a line feed.
const char* UsageText();
