#include "cli/option_values.h"

#include "answers/code_forms.h"

#include "answers/request_check.h"
#include "calc/bxcan_register.h"
#include "calc/custom_controller.h"
#include "calc/fdcan_timing.h"
#include "calc/text.h"
#include "cli/echoed_value.h"

#include <cmath>
#include <cstring>

namespace {

const char* EndOf(const char* value) { return value + std::strlen(value); }

// A whole number from first to last, the whole text: an optional "+", then digits,
// leading zeros allowed ("+5" and "05" are 5).
bool ReadWholeNumber(const char* value, int32_t first, int32_t last, int32_t& number) {
  const char* digits = *value == '+' ? value + 1 : value;
  uint64_t n = 0;
  const NumberRead read = ReadUnsigned(digits, EndOf(digits), 10, static_cast<uint64_t>(last) + 1, n);
  if (read.error != NumberError::kNone || *read.end != 0 || n > static_cast<uint64_t>(last) ||
      n < static_cast<uint64_t>(first))
    return false;
  number = static_cast<int32_t>(n);
  return true;
}

bool Invalid(const char* option, const char* value, const char* reason, std::string& error) {
  error = std::string("quillmere-cli: invalid value ") + EchoedValue(value) + " for " + option + ": " + reason;
  return false;
}

}  // namespace

// MHz with at most three decimals to whole kHz, exactly: "36" is 36000, "0.125" 125.
bool ParseClock(const char* value, Request& request, std::string& error) {
  if (const char* problem = ClockProblem(value, request.clockKHz)) return Invalid("--clock", value, problem, error);
  request.clockGiven = true;
  return true;
}

namespace {

// Kbps, rounded to single precision exactly as the window reads its field (RateProblem).
bool ReadRate(const char* option, const char* value, float& rate, std::string& error) {
  if (const char* problem = RateProblem(value, rate)) return Invalid(option, value, problem, error);
  return true;
}

// A percentage from 0 to 100 to the fraction the search takes: PCT / 100 in double,
// rounded to float, so 40 to 80 give exactly the window's 0.4 to 0.8.
bool ReadSamplePoint(const char* option, const char* value, float& minimum, std::string& error) {
  // Beyond the largest double it reads as infinite, below half the smallest as 0.
  double percent = 0.0;
  const NumberRead read = ReadDouble(value, EndOf(value), percent);
  if (read.error == NumberError::kNoNumber || *read.end != 0) return Invalid(option, value, "not a number", error);
  const bool nonZero = percent != 0.0 || read.error == NumberError::kOutOfRange;
  if (!(percent >= 0.0 && percent <= 100.0) || (std::signbit(percent) && nonZero))
    return Invalid(option, value, "the sample point must be from 0 to 100 percent", error);
  const float fraction = static_cast<float>(percent / 100.0);
  if (fraction == 0.0f && nonZero)
    return Invalid(option, value, "too small to store as a float (use 0, or 1e-43 or more)", error);
  minimum = fraction;
  return true;
}

bool ReadTolerance(const char* option, const char* value, int32_t& tolerance, std::string& error) {
  if (!ReadWholeNumber(value, 0, 100, tolerance))
    return Invalid(option, value, "not a whole percent from 0 to 100", error);
  return true;
}

// A whole number of quanta from 1 to last.
bool ReadQuanta(const char* option, const char* value, int32_t last, int32_t& quanta, std::string& error) {
  if (!ReadWholeNumber(value, 1, last, quanta)) {
    const std::string reason = "not a whole number of quanta from 1 to " + std::to_string(last);
    return Invalid(option, value, reason.c_str(), error);
  }
  return true;
}

// 32 bits in hex after "0x" or "0X", or in decimal, no sign, none of the register's
// reserved bits set (ReservedBitsOf: controller, data); what names it in the message.
bool ReadRegister(const char* option, const char* value, const char* what, const ControllerEntry* controller, bool data,
                  uint32_t& out, std::string& error) {
  const bool hex = value[0] == '0' && (value[1] == 'x' || value[1] == 'X');
  const char* digits = hex ? value + 2 : value;
  uint64_t number = 0;
  const NumberRead read = ReadUnsigned(digits, EndOf(digits), hex ? 16 : 10, 0xFFFFFFFFull, number);
  if (read.error == NumberError::kNoNumber || *read.end != 0) {
    const std::string reason = std::string("not ") + what + " value in hex (0x...) or decimal";
    return Invalid(option, value, reason.c_str(), error);
  }
  if (read.error == NumberError::kOutOfRange) return Invalid(option, value, "more than 32 bits", error);
  const uint32_t reserved = ReservedBitsOf(controller, data, static_cast<uint32_t>(number));
  if (reserved != 0) return Invalid(option, value, ReservedBitsText(reserved).c_str(), error);
  out = static_cast<uint32_t>(number);
  return true;
}

// A whole number from 0 to last, digits only: what names the unit in the message.
bool ReadWhole(const char* option, const char* value, int32_t last, const char* what, int32_t& out,
               std::string& error) {
  uint64_t n = 0;
  const NumberRead read = ReadUnsigned(value, EndOf(value), 10, static_cast<uint64_t>(last) + 1, n);
  const bool valid = read.error == NumberError::kNone && *read.end == 0 && n <= static_cast<uint64_t>(last);
  if (!valid) {
    const std::string reason = std::string("not a whole number of ") + what + " from 0 to " + std::to_string(last);
    return Invalid(option, value, reason.c_str(), error);
  }
  out = static_cast<int32_t>(n);
  return true;
}

}  // namespace

bool ParseController(const char* value, Request& request, std::string& error) {
  if (std::strcmp(value, "list") == 0) return request.listControllers = true, true;
  if (std::strncmp(value, "custom:", 7) == 0) {
    ControllerEntry custom{};
    const CustomParse parse = ParseCustomController(value, custom);
    if (parse.problem != CustomProblem::kNone) {
      // The part as every echoed value is shown: quoted, cut at its length, bytes that
      // are not printable UTF-8 escaped. An empty part ("custom:", "custom:seg1=1-16,,")
      // has no text to show: the line says what goes there.
      const std::string part(parse.part, static_cast<std::size_t>(parse.partLength));
      const std::string reason =
          parse.partLength > 0 ? EchoedValue(part.c_str()) + ": " + CustomProblemText(parse.problem)
                               : std::string("an empty part (custom: takes seg1=A-B,seg2=A-B,sjw=N,prescaler=A-B[/STEP])");
      return Invalid("--controller", value, reason.c_str(), error);
    }
    request.customController = std::make_shared<const ControllerEntry>(custom);
    request.controller = request.customController.get();
    return true;
  }
  if (const ControllerEntry* entry = FindController(value)) return request.controller = entry, true;
  return Invalid("--controller", value, "unknown controller (--controller list shows the names)", error);
}

bool ParseRate(const char* value, Request& request, std::string& error) {
  return ReadRate("--rate", value, request.targetRate, error) && (request.rateGiven = true);
}

bool ParseDataRate(const char* value, Request& request, std::string& error) {
  return ReadRate("--data-rate", value, request.dataRate, error) && (request.dataPhase = true);
}

bool ParseSamplePoint(const char* value, Request& request, std::string& error) {
  return ReadSamplePoint("--sample-point", value, request.minSamplePoint, error) && (request.samplePointGiven = true);
}

bool ParseDataSamplePoint(const char* value, Request& request, std::string& error) {
  return ReadSamplePoint("--data-sample-point", value, request.dataMinSamplePoint, error) &&
         (request.dataSamplePointGiven = true);
}

bool ParseTolerance(const char* value, Request& request, std::string& error) {
  return ReadTolerance("--tolerance", value, request.tolerancePercent, error) && (request.toleranceGiven = true);
}

bool ParseDataTolerance(const char* value, Request& request, std::string& error) {
  return ReadTolerance("--data-tolerance", value, request.dataTolerancePercent, error) &&
         (request.dataToleranceGiven = true);
}

bool ParseFormat(const char* value, Request& request, std::string& error) {
  constexpr OutputFormat kFormats[] = {OutputFormat::kTable,     OutputFormat::kTsv,       OutputFormat::kCsv,
                                       OutputFormat::kJson,      OutputFormat::kHal,       OutputFormat::kSpl,
                                       OutputFormat::kRegisters, OutputFormat::kLinux,     OutputFormat::kZephyr,
                                       OutputFormat::kPythonCan, OutputFormat::kEspIdf};
  for (const OutputFormat format : kFormats) {
    if (std::strcmp(value, FormatName(format)) == 0) return request.format = format, true;
  }
  return Invalid("--format", value,
                 "the format must be table, tsv, csv, json, hal, spl, registers, linux, zephyr, python-can or esp-idf",
                 error);
}

bool ParseSjw(const char* value, Request& request, std::string& error) {
  const int32_t last = request.controller->nominal.sjw.last;
  return ReadQuanta("--sjw", value, last, request.sjw, error) && (request.sjwGiven = true);
}

bool ParseDataSjw(const char* value, Request& request, std::string& error) {
  return ReadQuanta("--data-sjw", value, request.controller->data.sjw.last, request.dataSjw, error) &&
         (request.dataSjwGiven = true);
}

namespace {

bool IsNameCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// One register value from first to last, as ReadRegister reads it: kNone, kNoNumber
// (not the whole text a number) or kOutOfRange (more than 32 bits).
NumberError ReadEntryValue(const char* first, const char* last, uint32_t& out) {
  const bool hex = last - first >= 2 && first[0] == '0' && (first[1] == 'x' || first[1] == 'X');
  uint64_t number = 0;
  const NumberRead read = ReadUnsigned(hex ? first + 2 : first, last, hex ? 16 : 10, 0xFFFFFFFFull, number);
  if (read.error == NumberError::kNoNumber || read.end != last) return NumberError::kNoNumber;
  if (read.error != NumberError::kNone) return read.error;
  out = static_cast<uint32_t>(number);
  return NumberError::kNone;
}

// Register values by name, "CNF1=0x01,CNF2=0xB5,CNF3=0x01" (each name letters, digits
// and "_"), or without "=" one bare value; which register each is, and whether it
// fits, is the request check's to say.
bool ReadRegisterEntries(const char* option, const char* value, std::vector<RegisterEntry>& entries,
                         std::string& error) {
  entries.clear();
  const char* end = EndOf(value);
  if (std::strchr(value, '=') == nullptr) {
    RegisterEntry entry{"", 0, EchoedValue(value)};
    const NumberError read = ReadEntryValue(value, end, entry.value);
    if (read == NumberError::kOutOfRange) return Invalid(option, value, "more than 32 bits", error);
    if (read != NumberError::kNone)
      return Invalid(option, value, "not a register value in hex (0x...) or decimal, nor NAME=VALUE pairs", error);
    entries.push_back(entry);
    return true;
  }
  for (const char* part = value; part <= end;) {
    const char* comma = std::strchr(part, ',');
    const char* partEnd = comma != nullptr ? comma : end;
    const char* name = part;
    while (name < partEnd && IsNameCharacter(*name)) ++name;
    if (name == part || name == partEnd || *name != '=')
      return Invalid(option, value, "not NAME=VALUE pairs joined by commas", error);
    RegisterEntry entry{std::string(part, name), 0, EchoedValue(std::string(part, partEnd).c_str())};
    if (ReadEntryValue(name + 1, partEnd, entry.value) != NumberError::kNone) {
      // A name of any length: its first 40 characters, as values are echoed.
      const std::string shown = entry.name.size() <= 40 ? entry.name : entry.name.substr(0, 40) + "\xE2\x80\xA6";
      const std::string reason = shown + " is not a value of at most 32 bits in hex (0x...) or decimal";
      return Invalid(option, value, reason.c_str(), error);
    }
    entries.push_back(entry);
    part = partEnd + 1;
  }
  return true;
}

}  // namespace

// bxCAN's and FDCAN's bare values are read as they always were, their reserved bits
// refused here with the value in the line; everything else is read by name.
bool ParseDecode(const char* value, Request& request, std::string& error) {
  request.decodeEntries.clear();
  if (KeepsOlderForm(*request.controller) && std::strchr(value, '=') == nullptr) {
    const bool fdcan = request.controller == &FdcanController();
    return ReadRegister("--decode", value, fdcan ? "an NBTP" : "a CAN_BTR", request.controller, false,
                        request.decodeValue, error) &&
           (request.decode = true);
  }
  return ReadRegisterEntries("--decode", value, request.decodeEntries, error) && (request.decode = true);
}

bool ParseDecodeData(const char* value, Request& request, std::string& error) {
  request.decodeDataEntries.clear();
  if (KeepsOlderForm(*request.controller) && std::strchr(value, '=') == nullptr)
    return ReadRegister("--decode-data", value, "a DBTP", &FdcanController(), true, request.decodeDataValue, error) &&
           (request.decodeData = true);
  return ReadRegisterEntries("--decode-data", value, request.decodeDataEntries, error) && (request.decodeData = true);
}

bool ParseNodeDelay(const char* value, Request& request, std::string& error) {
  return ReadWhole("--node-delay", value, 10000, "nanoseconds", request.bus.nodeDelayNs, error);
}

bool ParseBusLength(const char* value, Request& request, std::string& error) {
  return ReadWhole("--bus-length", value, 100000, "metres", request.bus.busLengthM, error);
}

namespace {

// A percent from 0 to 100, digits with at most six decimals, to millionths exactly.
bool ReadMillionths(const char* option, const char* value, int64_t& millionths, std::string& error) {
  const NumberRead read = ReadScaled(value, EndOf(value), 6, millionths);
  if (*value == '+' || *value == '-' || read.error != NumberError::kNone || *read.end != 0 || millionths > 100000000)
    return Invalid(option, value, "not a percent from 0 to 100 with at most six decimals", error);
  return true;
}

}  // namespace

bool ParseMinTolerance(const char* value, Request& request, std::string& error) {
  return ReadMillionths("--min-tolerance", value, request.minTolerance, error);
}

bool ParseNode(const char* value, Request& request, std::string&) {
  request.nodeTexts.emplace_back(value);
  return true;
}

bool ParseSamplePointSpread(const char* value, Request& request, std::string& error) {
  return ReadMillionths("--sample-point-spread", value, request.samplePointSpread, error) &&
         (request.spreadGiven = true);
}
