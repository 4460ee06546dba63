#include "answers/request/option_text.h"

#include <cstring>

#include "answers/request/echoed_value.h"
#include "answers/request/register_entries.h"
#include "answers/request/request_check.h"
#include "calc/text.h"

namespace {

const char* EndOf(const char* text) { return text + std::strlen(text); }

// A whole number from 0 to last, digits only: what names the unit in the reason.
std::string WholeProblem(const char* text, int32_t last, const char* what, int32_t& out) {
  uint64_t n = 0;
  const NumberRead read = ReadUnsigned(text, EndOf(text), 10, static_cast<uint64_t>(last) + 1, n);
  if (read.error != NumberError::kNone || *read.end != 0 || n > static_cast<uint64_t>(last))
    return std::string("not a whole number of ") + what + " from 0 to " + std::to_string(last);
  out = static_cast<int32_t>(n);
  return "";
}

// 32 bits in hex after "0x" or "0X", or in decimal, no sign, none of the register's
// reserved bits set (ReservedBitsOf: controller, data); what names it in the reason.
std::string RegisterProblem(const char* text, const char* what, const ControllerEntry* controller, bool data,
                            bool reservedHere, uint32_t& out) {
  const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const char* digits = hex ? text + 2 : text;
  uint64_t number = 0;
  const NumberRead read = ReadUnsigned(digits, EndOf(digits), hex ? 16 : 10, 0xFFFFFFFFull, number);
  if (read.error == NumberError::kNoNumber || *read.end != 0)
    return std::string("not ") + what + " value in hex (0x...) or decimal";
  if (read.error == NumberError::kOutOfRange) return "more than 32 bits";
  const uint32_t reserved = reservedHere ? ReservedBitsOf(controller, data, static_cast<uint32_t>(number)) : 0u;
  if (reserved != 0) return ReservedBitsText(reserved);
  out = static_cast<uint32_t>(number);
  return "";
}

}  // namespace

bool ReadWholeNumber(const char* text, int32_t first, int32_t last, int32_t& number) {
  const char* digits = *text == '+' ? text + 1 : text;
  uint64_t n = 0;
  const NumberRead read = ReadUnsigned(digits, EndOf(digits), 10, static_cast<uint64_t>(last) + 1, n);
  if (read.error != NumberError::kNone || *read.end != 0 || n > static_cast<uint64_t>(last) ||
      n < static_cast<uint64_t>(first))
    return false;
  number = static_cast<int32_t>(n);
  return true;
}

std::string QuantaProblem(const char* text, int32_t last, int32_t& quanta) {
  if (!ReadWholeNumber(text, 1, last, quanta)) return "not a whole number of quanta from 1 to " + std::to_string(last);
  return "";
}

std::string NodeDelayProblem(const char* text, int32_t& nanoseconds) {
  return WholeProblem(text, 10000, "nanoseconds", nanoseconds);
}

std::string BusLengthProblem(const char* text, int32_t& metres) { return WholeProblem(text, 100000, "metres", metres); }

std::string ToleranceProblem(const char* text, int32_t& hundredths) {
  int64_t read = 0;
  const char* number = *text == '+' ? text + 1 : text;
  const NumberRead scaled = ReadScaled(number, EndOf(number), 2, read);
  if (*number == '+' || *number == '-' || scaled.error != NumberError::kNone || *scaled.end != 0 || read > 10000)
    return "not a percent from 0 to 100 with at most two decimals";
  hundredths = static_cast<int32_t>(read);
  return "";
}

std::string PercentMillionthsProblem(const char* text, int64_t& millionths) {
  int64_t read = 0;
  const NumberRead scaled = ReadScaled(text, EndOf(text), 6, read);
  if (*text == '+' || *text == '-' || scaled.error != NumberError::kNone || *scaled.end != 0 || read > 100000000)
    return "not a percent from 0 to 100 with at most six decimals";
  millionths = read;
  return "";
}

std::string ClockAccuracyProblem(const char* text, int32_t& ppm) {
  if (ReadWholeNumber(text, 0, kMaxClockAccuracyPpm, ppm)) return "";
  return "not a whole number of ppm from 0 to " + std::to_string(kMaxClockAccuracyPpm);
}

std::string TargetSamplePointProblem(const char* text, int64_t& millionths) {
  int64_t read = 0;
  std::string problem = PercentMillionthsProblem(text, read);
  if (!problem.empty()) return problem;
  // Below 50% the phase-2 segment would be longer than the rest of the bit: no
  // advice or controller aims there.
  if (read < 50000000) return "a target sample point is from 50 to 100%";
  millionths = read;
  return "";
}

// bxCAN's and FDCAN's bare values are read as they always were, their reserved bits
// refused here with the value in the line; everything else is read by name.
std::string DecodeTextProblem(const char* text, bool data, Request& request, bool reservedHere) {
  std::vector<RegisterEntry>& entries = data ? request.decodeDataEntries : request.decodeEntries;
  entries.clear();
  std::string problem;
  const ControllerEntry& controller = *request.controller;
  if (controller.traits.olderForm && (!data || controller.fd) && std::strchr(text, '=') == nullptr) {
    const Register& reg = *PhaseLimitsOf(*request.controller, data).registers[0];
    // "a CAN_BTR", "an NBTP": the article as the register's name is spoken.
    const bool vowelSound = std::strchr("AEFHILMNORSX", reg.name[0]) != nullptr;
    problem = RegisterProblem(text, (std::string(vowelSound ? "an " : "a ") + reg.name).c_str(), request.controller, data,
                              reservedHere, (data ? request.decodeDataValues : request.decodeValues)[0]);
  } else {
    problem = RegisterEntriesProblem(text, entries);
  }
  if (problem.empty()) (data ? request.decodeData : request.decode) = true;
  return problem;
}
