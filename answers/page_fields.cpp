#include "answers/page_fields.h"

#include <cfloat>
#include <cstring>
#include <string>

#include "answers/option_text.h"
#include "calc/text.h"
#include "calc/window_inputs.h"

namespace {

bool IsEmpty(const char* text) { return text == nullptr || *text == 0; }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

bool EndsWithUnit(const std::string& text, const char* unit) {
  const std::size_t length = std::strlen(unit);
  if (text.size() < length) return false;
  for (std::size_t i = 0; i < length; ++i) {
    char c = text[text.size() - length + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != unit[i]) return false;
  }
  return true;
}

// The number alone: folded, the blanks around it and a trailing unit (lower case) cut.
// What is left is the companion's to read, so anything else around it is refused.
std::string NumberOf(const char* text, const char* unit) {
  const Text folded = FoldFullWidth(text);
  std::string number(folded.get());
  while (!number.empty() && IsBlank(number.back())) number.pop_back();
  if (EndsWithUnit(number, unit)) number.resize(number.size() - std::strlen(unit));
  while (!number.empty() && IsBlank(number.back())) number.pop_back();
  std::size_t first = 0;
  while (first < number.size() && IsBlank(number[first])) ++first;
  return number.substr(first);
}

// A rate as the companion reads it. The data rate, which has no window field whose
// rows to keep, must also be a normal float: "1e-45" would be asked for as 1.4e-45
// (a 40% change) and list nothing, a value the person did not type.
const char* PageRateProblem(const char* text, bool data, float& rate) {
  if (const char* problem = RateProblem(NumberOf(text, "kbps").c_str(), rate)) return problem;
  if (data && rate < FLT_MIN) return "the rate must be at least 1.17549e-38 Kbps";
  return nullptr;
}

RequestCheck Unreadable(RequestStatus status, const char* problem) {
  RequestCheck check;
  check.status = status;
  check.detail = problem;
  return check;
}

}  // namespace

RequestCheck ReadPageFields(const char* clockText, const char* rateText, const char* dataRateText, Request& request) {
  if (IsEmpty(clockText)) return Unreadable(RequestStatus::kClockMissing, "the clock is missing");
  int32_t clockKHz = 0;
  if (const char* problem = ClockProblem(NumberOf(clockText, "mhz").c_str(), clockKHz))
    return Unreadable(RequestStatus::kClockUnreadable, problem);
  float rate = 0.0f;
  const bool rateGiven = !IsEmpty(rateText);
  if (rateGiven) {
    if (const char* problem = PageRateProblem(rateText, false, rate))
      return Unreadable(RequestStatus::kRateUnreadable, problem);
  }
  float dataRate = 0.0f;
  const bool dataGiven = !IsEmpty(dataRateText);
  if (dataGiven) {
    if (const char* problem = PageRateProblem(dataRateText, true, dataRate))
      return Unreadable(RequestStatus::kDataRateUnreadable, problem);
  }
  request.clockGiven = true;
  request.clockKHz = clockKHz;
  request.rateGiven = rateGiven;
  if (rateGiven) request.targetRate = rate;
  request.dataPhase = dataGiven;
  if (dataGiven) request.dataRate = dataRate;
  return RequestCheck{};
}

namespace {

// A field of a number read by reader after its unit is cut; status when it is none.
template <typename Value>
bool ReadOptionalField(const char* text, const char* unit, RequestStatus status, RequestCheck& check,
                       std::string (*reader)(const char*, Value&), Value& value) {
  if (IsEmpty(text)) return true;
  const std::string problem = reader(NumberOf(text, unit).c_str(), value);
  if (problem.empty()) return true;
  check.status = status;
  check.detail = problem;
  return false;
}

}  // namespace

RequestCheck ReadAllPageFields(const PageFieldTexts& texts, Request& request) {
  const ControllerEntry* entry = IsEmpty(texts.controller) ? nullptr : FindController(texts.controller);
  request.controller = entry != nullptr ? entry : &BxCanController();
  const bool fd = request.controller->fd;
  request.minSamplePoint = MinSamplePointForIndex(texts.samplePointIndex);
  request.tolerancePercent = texts.toleranceIndex;
  request.format = OutputFormat::kTsv;
  request.wide = true;
  RequestCheck check = ReadPageFields(texts.clock, texts.rate, fd ? texts.dataRate : nullptr, request);
  if (check.status != RequestStatus::kReady) return check;
  // The SJW's range is the controller's, as --sjw's is.
  const auto sjwOf = [&](const char* text, int32_t last, RequestStatus status, int32_t& sjw, bool& given) {
    if (IsEmpty(text)) return true;
    const std::string problem = QuantaProblem(NumberOf(text, "tq").c_str(), last, sjw);
    if (problem.empty()) return given = true;
    check.status = status;
    check.detail = problem;
    return false;
  };
  if (!sjwOf(texts.sjw, request.controller->nominal.sjw.last, RequestStatus::kSjwUnreadable, request.sjw,
             request.sjwGiven))
    return check;
  if (fd && !sjwOf(texts.dataSjw, request.controller->data.sjw.last, RequestStatus::kDataSjwUnreadable,
                   request.dataSjw, request.dataSjwGiven))
    return check;
  if (!ReadOptionalField(texts.nodeDelay, "ns", RequestStatus::kNodeDelayUnreadable, check, NodeDelayProblem,
                         request.bus.nodeDelayNs) ||
      !ReadOptionalField(texts.busLength, "m", RequestStatus::kBusLengthUnreadable, check, BusLengthProblem,
                         request.bus.busLengthM) ||
      !ReadOptionalField(texts.minTolerance, "%", RequestStatus::kMinToleranceUnreadable, check,
                         PercentMillionthsProblem, request.minTolerance))
    return check;
  return check;
}

const char* PageFieldOf(const RequestCheck& check) {
  switch (check.status) {
    case RequestStatus::kClockMissing:
    case RequestStatus::kClockUnreadable:
      return "clock";
    case RequestStatus::kRateMissing:
    case RequestStatus::kRateUnreadable:
      return "rate";
    case RequestStatus::kDataRateUnreadable:
      return "data-rate";
    case RequestStatus::kSjwUnreadable:
      return "sjw";
    case RequestStatus::kDataSjwUnreadable:
      return "data-sjw";
    case RequestStatus::kNodeDelayUnreadable:
      return "node-delay";
    case RequestStatus::kBusLengthUnreadable:
      return "bus-length";
    case RequestStatus::kMinToleranceUnreadable:
      return "min-tolerance";
    case RequestStatus::kDecodeUnreadable:
    case RequestStatus::kReservedBits:
      return "decode-value";
    case RequestStatus::kDataReservedBits:
    case RequestStatus::kDecodeDataUnreadable:
      return "decode-data";
    default:
      break;
  }
  // A refusal of CheckRequest's names the option it concerns.
  static const struct {
    const char* option;
    const char* field;
  } kOptionFields[] = {{"--clock", "clock"},         {"--rate", "rate"}, {"--decode", "decode-value"},
                       {"--decode-data", "decode-data"},
                       {"--data-rate", "data-rate"}, {"--sjw", "sjw"},
                       {"--data-sjw", "data-sjw"},   {"--node-delay", "node-delay"},
                       {"--bus-length", "bus-length"}, {"--min-tolerance", "min-tolerance"}};
  const char* option = check.option != nullptr ? check.option : check.decodeOption;
  if (option == nullptr) return nullptr;
  for (const auto& entry : kOptionFields)
    if (std::strcmp(option, entry.option) == 0) return entry.field;
  return nullptr;
}
