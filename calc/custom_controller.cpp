#include "calc/custom_controller.h"

#include <cstring>

namespace {

constexpr const char* kKeys[] = {"seg1", "seg2", "sjw", "prescaler"};
constexpr int kKeyCount = 4;
constexpr int kPrescalerKey = 3;
constexpr int kSjwKey = 2;

struct Part {
  const char* begin;
  const char* end;
};

// Decimal digits from p up to end or a stop byte; false when there are none or they
// exceed limit (the number is then unusable anyway).
bool ReadNumber(const char*& p, const char* end, int64_t& number) {
  const char* start = p;
  number = 0;
  while (p < end && *p >= '0' && *p <= '9') {
    if (number < (int64_t{1} << 40)) number = number * 10 + (*p - '0');
    ++p;
  }
  return p != start;
}

CustomParse Problem(CustomProblem problem, Part part) {
  return CustomParse{problem, part.begin, static_cast<int32_t>(part.end - part.begin)};
}

// One value "N", "N-M" or "N-M/S" into range and step.
CustomProblem ReadRange(const char* p, const char* end, int key, FieldRange& range, int32_t& step) {
  if (p == end) return CustomProblem::kEmptyRange;
  int64_t first = 0;
  int64_t last = 0;
  int64_t by = 1;
  if (!ReadNumber(p, end, first)) return CustomProblem::kMalformedRange;
  last = first;
  if (p < end && *p == '-') {
    ++p;
    if (!ReadNumber(p, end, last)) return CustomProblem::kMalformedRange;
  } else if (key == kSjwKey) {
    // "sjw=4": the widest jump, as Linux's sjw_max.
    last = first;
    first = 1;
  }
  if (p < end && *p == '/') {
    ++p;
    if (!ReadNumber(p, end, by)) return CustomProblem::kMalformedRange;
    if (key != kPrescalerKey) return CustomProblem::kStepNotPrescaler;
    if (by == 0) return CustomProblem::kZeroStep;
  }
  if (p != end) return CustomProblem::kMalformedRange;
  if (first < 1 || last < 1) return CustomProblem::kBelowOne;
  if (first > last) return CustomProblem::kMinAboveMax;
  const int64_t limit = key == kPrescalerKey ? kCustomPrescalerLast : kCustomLengthLast;
  if (last > limit || by > limit) return CustomProblem::kTooLarge;
  // The last prescaler on the grid.
  last = first + (last - first) / by * by;
  range = FieldRange{static_cast<int32_t>(first), static_cast<int32_t>(last)};
  step = static_cast<int32_t>(by);
  return CustomProblem::kNone;
}

}  // namespace

CustomParse ParseCustomController(const char* text, ControllerEntry& entry) {
  constexpr char kPrefix[] = "custom:";
  const char* end = text + std::strlen(text);
  if (std::strncmp(text, kPrefix, sizeof kPrefix - 1) != 0) return Problem(CustomProblem::kNotCustom, {text, end});
  FieldRange ranges[kKeyCount] = {};
  int32_t steps[kKeyCount] = {1, 1, 1, 1};
  bool given[kKeyCount] = {};
  const char* p = text + sizeof kPrefix - 1;
  while (true) {
    const char* comma = static_cast<const char*>(std::memchr(p, ',', static_cast<std::size_t>(end - p)));
    const Part part{p, comma != nullptr ? comma : end};
    if (part.begin == part.end) return Problem(CustomProblem::kEmptyRange, part);
    const char* equals = static_cast<const char*>(std::memchr(part.begin, '=', static_cast<std::size_t>(part.end - part.begin)));
    const std::size_t keyLength = static_cast<std::size_t>((equals != nullptr ? equals : part.end) - part.begin);
    int key = -1;
    for (int k = 0; k < kKeyCount; ++k)
      if (std::strlen(kKeys[k]) == keyLength && std::strncmp(part.begin, kKeys[k], keyLength) == 0) key = k;
    if (key < 0) return Problem(CustomProblem::kUnknownKey, part);
    if (given[key]) return Problem(CustomProblem::kRepeatedKey, part);
    if (equals == nullptr) return Problem(CustomProblem::kEmptyRange, part);
    const CustomProblem problem = ReadRange(equals + 1, part.end, key, ranges[key], steps[key]);
    if (problem != CustomProblem::kNone) return Problem(problem, part);
    given[key] = true;
    if (comma == nullptr) break;
    p = comma + 1;
  }
  for (int k = 0; k < kKeyCount; ++k)
    if (!given[k]) return Problem(CustomProblem::kMissingKey, {kKeys[k], kKeys[k] + std::strlen(kKeys[k])});
  ControllerEntry custom{};
  custom.name = text;
  custom.vendor = "custom";
  custom.chips = "given on the command line";
  custom.clock = "the controller's clock";
  custom.fixedClockKHz = 0;
  custom.nominal = PhaseLimits{ranges[kPrescalerKey], steps[kPrescalerKey], ranges[0], ranges[1], ranges[kSjwKey],
                               kNoSplit, kNoSplit, 0, nullptr, 0};
  custom.fd = false;
  custom.data = PhaseLimits{{1, 0}, 1, {1, 0}, {1, 0}, {1, 0}, kNoSplit, kNoSplit, 0, nullptr, 0};
  custom.tdc = TdcConvention{TdcCount::kNone, {0, -1}, ""};
  custom.source = "the command line";
  // The forms that need no registers.
  custom.code = CodeFacts{FormBit(OutputFormat::kLinux) | FormBit(OutputFormat::kZephyr) | FormBit(OutputFormat::kPythonCan),
                          1, kPlainSpelling, "core clock = the typed clock (check can_get_core_clock())", 0};
  entry = custom;
  return CustomParse{CustomProblem::kNone, nullptr, 0};
}

const char* CustomProblemText(CustomProblem problem) {
  switch (problem) {
    case CustomProblem::kNone: return "";
    case CustomProblem::kNotCustom: return "not custom:KEY=RANGE,...";
    case CustomProblem::kUnknownKey: return "unknown key (the keys are seg1, seg2, sjw, prescaler)";
    case CustomProblem::kRepeatedKey: return "the key is given twice";
    case CustomProblem::kMissingKey: return "missing (seg1, seg2, sjw and prescaler are all needed)";
    case CustomProblem::kEmptyRange: return "empty range";
    case CustomProblem::kMalformedRange: return "not a range N, N-M (prescaler also N-M/STEP) in decimal digits";
    case CustomProblem::kMinAboveMax: return "the first value is above the last";
    case CustomProblem::kZeroStep: return "a step of 0";
    case CustomProblem::kStepNotPrescaler: return "only the prescaler takes a step";
    case CustomProblem::kBelowOne: return "the values start at 1";
    case CustomProblem::kTooLarge: return "too large (segments and SJW at most 1024, the prescaler at most 1048576)";
  }
  return "";
}
