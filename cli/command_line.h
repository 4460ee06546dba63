// The companion's command line: options, defaults and the checks on their values.
#pragma once

#include <cstdint>
#include <string>

enum class OutputFormat { kTable, kTsv, kCsv, kJson, kHal, kSpl };
enum class Controller { kBxCan, kFdcan };

// The search inputs as the window would pass them, what to do with the result, and
// the output format. For FDCAN the plain inputs are the nominal phase's and the
// data... ones the data phase's, which is asked for with --data-rate.
struct CliRequest {
  Controller controller = Controller::kBxCan;
  int32_t clockKHz = 42000;
  float targetRate = 500.0f;
  bool rateGiven = false;
  float minSamplePoint = 0.4f;
  int32_t tolerancePercent = 0;
  int32_t sjw = 1;            // quanta (bxCAN 1 to 4, FDCAN 1 to 128); seg2 >= SJW
  bool sjwGiven = false;      // FDCAN without it: each row's SJW is its seg2
  bool dataPhase = false;     // --data-rate given
  float dataRate = 0.0f;
  float dataMinSamplePoint = 0.0f;  // unless given: the nominal phase's
  bool dataSamplePointGiven = false;
  int32_t dataTolerancePercent = 0;  // unless given: the nominal phase's
  bool dataToleranceGiven = false;
  int32_t dataSjw = 1;        // quanta, 1 to 16
  bool dataSjwGiven = false;  // without it: each row's SJW is its seg2
  bool best = false;          // one setting instead of the listing
  bool decode = false;        // one register value read instead of a search:
  uint32_t decodeValue = 0;   // CAN_BTR, or FDCAN's NBTP; without reserved bits
  bool decodeData = false;    // FDCAN's DBTP read, alone or with decodeValue
  uint32_t decodeDataValue = 0;
  OutputFormat format = OutputFormat::kTable;
};

enum class CliAction { kRun, kHelp, kVersion, kError };

// Reads argv[1..argc-1] in order: "--option value" or "--option=value", and the flag
// --best; a later option overrides an earlier one; --help and --version stop the
// reading. The values whose range depends on the controller (--sjw, --data-sjw,
// --decode, --decode-data) are checked once all options are read. On kError `error` holds one line (no line feed) saying what is wrong,
// with the value as EchoedValue shows it.
CliAction ParseCommandLine(int argc, const char* const* argv, CliRequest& request, std::string& error);

// The text that --help prints, ending with a line feed.
const char* UsageText();
