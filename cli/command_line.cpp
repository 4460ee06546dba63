#include "cli/command_line.h"

#include "calc/text.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

namespace {

// The clock is whole kHz in a signed 32-bit integer: below 2147483.648 MHz.
constexpr int64_t kClockLimitKHz = int64_t{2147483647} + 1;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// [+-] digits [. digits] with at least one digit, the whole text.
bool IsPlainDecimal(const char* text) {
  const char* p = text;
  if (*p == '+' || *p == '-') ++p;
  int digits = 0;
  while (IsDigit(*p)) ++p, ++digits;
  if (*p == '.') {
    ++p;
    while (IsDigit(*p)) ++p, ++digits;
  }
  return digits > 0 && *p == 0;
}

// A plain decimal with an optional exponent ([eE] [+-] digits), the whole text.
bool IsDecimalNumber(const char* text) {
  const char* exponent = text;
  while (*exponent != 0 && *exponent != 'e' && *exponent != 'E') ++exponent;
  if (*exponent == 0) return IsPlainDecimal(text);
  const std::string mantissa(text, static_cast<std::size_t>(exponent - text));
  if (!IsPlainDecimal(mantissa.c_str())) return false;
  const char* p = exponent + 1;
  if (*p == '+' || *p == '-') ++p;
  if (!IsDigit(*p)) return false;
  while (IsDigit(*p)) ++p;
  return *p == 0;
}

// The value as it goes into the one-line message: quoted, control bytes escaped so
// that the message stays one line whatever was typed.
std::string Quoted(const char* value) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out = "\"";
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(value); *p != 0; ++p) {
    if (*p < 0x20 || *p == 0x7F || *p == '"' || *p == '\\') {
      out += "\\x";
      out += kHex[*p >> 4];
      out += kHex[*p & 15];
    } else {
      out += static_cast<char>(*p);
    }
  }
  return out + "\"";
}

std::string Invalid(const char* option, const char* value, const char* reason) {
  return std::string("quillmere-cli: invalid value ") + Quoted(value) + " for " + option + ": " + reason;
}

// MHz with at most three decimals to whole kHz, exactly: "36" is 36000, "0.125" 125.
bool ParseClock(const char* value, int32_t& clockKHz, std::string& error) {
  if (!IsPlainDecimal(value)) return error = Invalid("--clock", value, "not a decimal number"), false;
  const char* p = value;
  const bool negative = *p == '-';
  if (*p == '+' || *p == '-') ++p;
  int64_t kHz = 0;
  bool tooLarge = false;
  for (; IsDigit(*p); ++p) {
    kHz = kHz * 10 + (*p - '0') * 1000;
    if (kHz >= kClockLimitKHz * 10) tooLarge = true, kHz = kClockLimitKHz * 10;  // stays large, no overflow
  }
  if (*p == '.') {
    ++p;
    int decimals = 0;
    int64_t scale = 100;
    for (; IsDigit(*p); ++p, ++decimals, scale /= 10) {
      if (decimals == 3) return error = Invalid("--clock", value, "more than three decimals"), false;
      kHz += (*p - '0') * scale;
    }
  }
  if (negative || kHz == 0) return error = Invalid("--clock", value, "the clock must be above 0 MHz"), false;
  if (tooLarge || kHz >= kClockLimitKHz)
    return error = Invalid("--clock", value, "the clock must be below 2147483.648 MHz"), false;
  clockKHz = static_cast<int32_t>(kHz);
  return true;
}

// Kbps, rounded to single precision exactly as the window reads its field.
bool ParseRate(const char* value, float& targetRate, std::string& error) {
  if (!IsDecimalNumber(value)) return error = Invalid("--rate", value, "not a number"), false;
  const float rate = ToFloat(value);
  if (!(rate > 0.0f)) return error = Invalid("--rate", value, "the rate must be above 0 Kbps"), false;
  if (std::isinf(rate)) return error = Invalid("--rate", value, "the rate is too large for a float"), false;
  targetRate = rate;
  return true;
}

// A percentage from 0 to 100 to the fraction the search takes: PCT / 100 in double,
// rounded to float, so 40 to 80 give exactly the window's 0.4 to 0.8.
bool ParseSamplePoint(const char* value, float& minSamplePoint, std::string& error) {
  if (!IsDecimalNumber(value)) return error = Invalid("--sample-point", value, "not a number"), false;
  const char* first = *value == '+' ? value + 1 : value;  // from_chars takes no "+"
  double percent = 0.0;
  const std::from_chars_result read = std::from_chars(first, first + std::strlen(first), percent);
  if (read.ec != std::errc() || !(percent >= 0.0 && percent <= 100.0))
    return error = Invalid("--sample-point", value, "the sample point must be from 0 to 100 percent"), false;
  minSamplePoint = static_cast<float>(percent / 100.0);
  return true;
}

bool ParseTolerance(const char* value, int32_t& tolerancePercent, std::string& error) {
  const char* p = *value == '+' ? value + 1 : value;
  int32_t percent = 0;
  bool valid = IsDigit(*p);
  for (; valid && *p != 0; ++p) {
    valid = IsDigit(*p) && (percent = percent * 10 + (*p - '0')) <= 100;
  }
  if (!valid) return error = Invalid("--tolerance", value, "not a whole percent from 0 to 100"), false;
  tolerancePercent = percent;
  return true;
}

bool ParseFormat(const char* value, OutputFormat& format, std::string& error) {
  const struct {
    const char* name;
    OutputFormat format;
  } kFormats[] = {{"table", OutputFormat::kTable}, {"tsv", OutputFormat::kTsv},
                  {"csv", OutputFormat::kCsv},     {"json", OutputFormat::kJson}};
  for (const auto& known : kFormats) {
    if (std::strcmp(value, known.name) == 0) return format = known.format, true;
  }
  return error = Invalid("--format", value, "the format must be table, tsv, csv or json"), false;
}

}  // namespace

CliAction ParseCommandLine(int argc, const char* const* argv, CliRequest& request, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const char* argument = argv[i];
    if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) return CliAction::kHelp;
    if (std::strcmp(argument, "--version") == 0) return CliAction::kVersion;

    // "--option=value" or "--option value".
    std::string option = argument;
    const char* value = nullptr;
    const char* equals = std::strchr(argument, '=');
    if (argument[0] == '-' && argument[1] == '-' && equals != nullptr) {
      option.assign(argument, static_cast<std::size_t>(equals - argument));
      value = equals + 1;
    }
    const bool known = option == "--clock" || option == "--rate" || option == "--sample-point" ||
                       option == "--tolerance" || option == "--format";
    if (!known) {
      error = std::string("quillmere-cli: unknown option ") + Quoted(argument) + " (see --help)";
      return CliAction::kError;
    }
    if (value == nullptr) {
      if (i + 1 >= argc) {
        error = "quillmere-cli: missing value for " + option;
        return CliAction::kError;
      }
      value = argv[++i];
    }
    bool valid = false;
    if (option == "--clock") valid = ParseClock(value, request.clockKHz, error);
    if (option == "--rate") valid = ParseRate(value, request.targetRate, error);
    if (option == "--sample-point") valid = ParseSamplePoint(value, request.minSamplePoint, error);
    if (option == "--tolerance") valid = ParseTolerance(value, request.tolerancePercent, error);
    if (option == "--format") valid = ParseFormat(value, request.format, error);
    if (!valid) return CliAction::kError;
  }
  return CliAction::kRun;
}

const char* UsageText() {
  return "Usage: quillmere-cli [--clock MHZ] [--rate KBPS] [--sample-point PCT] [--tolerance PCT]\n"
         "                     [--format table|tsv|csv|json]\n"
         "\n"
         "Lists every bxCAN bit-timing setting (prescaler 1 to 1024, BS1 1 to 16 tq, BS2 1 to 8 tq)\n"
         "whose bit rate and sample point meet the request, in the order and with the texts of\n"
         "the Quillmere window's result table.\n"
         "\n"
         "  --clock MHZ         peripheral clock in MHz, above 0, at most three decimals (default 42)\n"
         "  --rate KBPS         wanted bit rate in Kbps, above 0 (default 500)\n"
         "  --sample-point PCT  lowest sample point in percent, 0 to 100 (default 40)\n"
         "  --tolerance PCT     allowed rate error in whole percent, 0 to 100 (default 0: exact)\n"
         "  --format FORMAT     table (default), tsv, csv or json\n"
         "  --help, -h          show this help\n"
         "  --version           show the version\n"
         "\n"
         "Options also take the form --option=value. A value that is not accepted ends the\n"
         "program with one line on standard error and exit code 2.\n";
}
