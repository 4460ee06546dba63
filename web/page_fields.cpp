#include "web/page_fields.h"

#include <cfloat>
#include <cstring>
#include <string>
#include <vector>

#include "answers/request/echoed_value.h"
#include "answers/request/option_text.h"
#include "answers/text/gbk_to_utf8.h"
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

namespace {

// The rates of a request (dataRateText null: no data phase is asked for), into request
// only when both read.
RequestCheck ReadRates(const char* rateText, const char* dataRateText, Request& request) {
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
  request.rateGiven = rateGiven;
  if (rateGiven) request.targetRate = rate;
  request.dataPhase = dataGiven;
  if (dataGiven) request.dataRate = dataRate;
  return RequestCheck{};
}

// "a=bxcan@42;b=mcp2515@16" into the node texts, one a piece, as typed; an empty piece
// (a trailing ";") is no node.
std::vector<std::string> NodeTexts(const char* nodes) {
  std::vector<std::string> texts;
  if (IsEmpty(nodes)) return texts;
  for (const char* piece = nodes;;) {
    const char* end = std::strchr(piece, ';');
    const std::size_t length = end != nullptr ? static_cast<std::size_t>(end - piece) : std::strlen(piece);
    if (length > 0) texts.emplace_back(piece, length);
    if (end == nullptr) return texts;
    piece = end + 1;
  }
}

// The form's fields by the names the refusals give them (answers/request/refusals.h), for the
// line that echoes a field's text.
constexpr struct {
  const char* field;
  const char* PageFieldTexts::*text;
} kFieldTexts[] = {
    {"clock", &PageFieldTexts::clock},
    {"rate", &PageFieldTexts::rate},
    {"data-rate", &PageFieldTexts::dataRate},
    {"tolerance", &PageFieldTexts::tolerance},
    {"sjw", &PageFieldTexts::sjw},
    {"data-sjw", &PageFieldTexts::dataSjw},
    {"node-delay", &PageFieldTexts::nodeDelay},
    {"bus-length", &PageFieldTexts::busLength},
    {"min-tolerance", &PageFieldTexts::minTolerance},
    {"spread", &PageFieldTexts::spread},
    {"clock-accuracy", &PageFieldTexts::clockAccuracy},
    {"target-sample-point", &PageFieldTexts::targetSamplePoint},
    {"data-target-sample-point", &PageFieldTexts::dataTargetSamplePoint},
};

}  // namespace

RequestCheck ReadPageFields(const char* clockText, const char* rateText, const char* dataRateText, Request& request) {
  if (IsEmpty(clockText)) return Unreadable(RequestStatus::kClockMissing, "the clock is missing");
  int32_t clockKHz = 0;
  if (const char* problem = ClockProblem(NumberOf(clockText, "mhz").c_str(), clockKHz))
    return Unreadable(RequestStatus::kClockUnreadable, problem);
  const RequestCheck rates = ReadRates(rateText, dataRateText, request);
  if (rates.status != RequestStatus::kReady) return rates;
  request.clockGiven = true;
  request.clockKHz = clockKHz;
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
  request.minSamplePoint = MinSamplePointForIndex(texts.samplePointIndex);
  RequestCheck check;
  if (texts.plan) {
    // Every node gives its controller and clock: the request keeps the default
    // controller, and no clock, as the companion's --plan has them.
    request.plan = true;
    request.format = OutputFormat::kJson;
    check = ReadRates(texts.rate, texts.dataRate, request);
  } else {
    const ControllerEntry* entry = IsEmpty(texts.controller) ? nullptr : FindController(texts.controller);
    request.controller = entry != nullptr ? entry : &DefaultController();
    request.format = OutputFormat::kTsv;
    request.wide = true;
    request.page = true;
    check = ReadPageFields(texts.clock, texts.rate, request.controller->fd ? texts.dataRate : nullptr, request);
  }
  if (check.status != RequestStatus::kReady) return check;
  // One field for both phases, read as --tolerance and left not given, so the data
  // phase takes it as the companion's --data-tolerance defaults to --tolerance, and a
  // decode (which has no tolerance) is not refused for it.
  request.toleranceHundredths = 0;
  if (!ReadOptionalField(texts.tolerance, "%", RequestStatus::kToleranceUnreadable, check, ToleranceProblem,
                         request.toleranceHundredths))
    return check;
  // The SJW's range is the controller's, as --sjw's is.
  const auto sjwOf = [&](const char* text, int32_t last, RequestStatus status, int32_t& sjw, bool& given) {
    if (IsEmpty(text)) return true;
    const std::string problem = QuantaProblem(NumberOf(text, "tq").c_str(), last, sjw);
    if (problem.empty()) return given = true;
    check.status = status;
    check.detail = problem;
    return false;
  };
  if (!texts.plan) {
    if (!sjwOf(texts.sjw, request.controller->nominal.sjw.last, RequestStatus::kSjwUnreadable, request.sjw,
               request.sjwGiven))
      return check;
    if (request.controller->fd && !sjwOf(texts.dataSjw, request.controller->data.sjw.last,
                                         RequestStatus::kDataSjwUnreadable, request.dataSjw, request.dataSjwGiven))
      return check;
  }
  if (!ReadOptionalField(texts.nodeDelay, "ns", RequestStatus::kNodeDelayUnreadable, check, NodeDelayProblem,
                         request.bus.nodeDelayNs) ||
      !ReadOptionalField(texts.busLength, "m", RequestStatus::kBusLengthUnreadable, check, BusLengthProblem,
                         request.bus.busLengthM) ||
      !ReadOptionalField(texts.minTolerance, "%", RequestStatus::kMinToleranceUnreadable, check,
                         PercentMillionthsProblem, request.minTolerance))
    return check;
  if (!texts.plan && !ReadOptionalField(texts.targetSamplePoint, "%", RequestStatus::kTargetSamplePointUnreadable, check,
                                        TargetSamplePointProblem, request.targetSamplePoint))
    return check;
  // The best's data target is an FD controller's, read as its data SJW is.
  if (!texts.plan && request.controller->fd &&
      !ReadOptionalField(texts.dataTargetSamplePoint, "%", RequestStatus::kDataTargetSamplePointUnreadable, check,
                         TargetSamplePointProblem, request.dataTargetSamplePoint))
    return check;
  if (texts.plan) {
    if (!ReadOptionalField(texts.spread, "%", RequestStatus::kSpreadUnreadable, check, PercentMillionthsProblem,
                           request.samplePointSpread))
      return check;
    request.spreadGiven = !IsEmpty(texts.spread);
    if (!ReadOptionalField(texts.clockAccuracy, "ppm", RequestStatus::kClockAccuracyUnreadable, check,
                           ClockAccuracyProblem, request.clockAccuracyPpm) ||
        !ReadOptionalField(texts.targetSamplePoint, "%", RequestStatus::kTargetSamplePointUnreadable, check,
                           TargetSamplePointProblem, request.targetSamplePoint) ||
        !ReadOptionalField(texts.dataTargetSamplePoint, "%", RequestStatus::kDataTargetSamplePointUnreadable, check,
                           TargetSamplePointProblem, request.dataTargetSamplePoint))
      return check;
    request.clockAccuracyGiven = !IsEmpty(texts.clockAccuracy);
    request.nodeTexts = NodeTexts(texts.nodes);
  }
  return check;
}

std::string PageFieldLine(const RequestCheck& check, const PageFieldTexts& texts) {
  const Refusal* refusal = RefusalOf(check.status);
  if (refusal == nullptr || refusal->field == nullptr) return "";
  if (refusal->text == FieldText::kEmpty) return RefusalLine(check);
  if (refusal->text != FieldText::kNoValue) return "";
  for (const auto& field : kFieldTexts) {
    if (std::strcmp(field.field, refusal->field) != 0) continue;
    const char* text = texts.*(field.text);
    return std::string("invalid value ") + EchoedValue(GbkToUtf8(text != nullptr ? text : "").c_str()) + " for " +
           refusal->option + ": " + RefusalLine(check);
  }
  return "";
}

const char* PageFieldOf(const RequestCheck& check) {
  const Refusal* refusal = RefusalOf(check.status);
  if (refusal == nullptr) return nullptr;
  if (refusal->field != nullptr || refusal->option != nullptr) return refusal->field;
  // The row leaves the option to the check: the refusal is that option's field's.
  const char* option = check.option != nullptr ? check.option : check.decodeOption;
  return option != nullptr ? FieldOfOption(option) : nullptr;
}
