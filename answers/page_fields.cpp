#include "answers/page_fields.h"

#include <cfloat>
#include <cstring>
#include <string>

#include "calc/text.h"

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
