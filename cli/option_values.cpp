#include "cli/option_values.h"

#include "answers/request/code_forms.h"
#include "answers/request/option_text.h"

#include "answers/request/request_check.h"
#include "calc/bxcan_register.h"
#include "calc/custom_controller.h"
#include "calc/fdcan_timing.h"
#include "calc/text.h"
#include "answers/request/echoed_value.h"

#include <cmath>
#include <cstring>

namespace {

const char* EndOf(const char* value) { return value + std::strlen(value); }

bool Invalid(const char* option, const char* value, const char* reason, std::string& error) {
  error = std::string("quillmere-cli: invalid value ") + EchoedValue(value) + " for " + option + ": " + reason;
  return false;
}

// A value read by answers/request/option_text.h: true when problem is "", else the line.
bool Checked(const char* option, const char* value, const std::string& problem, std::string& error) {
  return problem.empty() || Invalid(option, value, problem.c_str(), error);
}

}  // namespace

// MHz with at most three decimals to whole kHz, exactly: "36" is 36000, "0.125" 125.
bool ParseClock(const char* value, Request& request, std::string& error) {
  if (const char* problem = ClockProblem(value, request.clockKHz)) {
    Invalid("--clock", value, problem, error);
    // Hz typed as MHz (42000000): a millionth of it that is a clock gets a second line.
    double hertz = 0.0;
    const NumberRead read = ReadDouble(value, EndOf(value), hertz);
    int32_t clockKHz = 0;
    const std::string megahertz = ToText(hertz / 1e6).get();
    if (read.error == NumberError::kNone && *read.end == 0 && hertz >= 1e6 &&
        ClockProblem(megahertz.c_str(), clockKHz) == nullptr)
      error += "\nquillmere-cli: did you mean --clock " + megahertz + "?";
    return false;
  }
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
  return Checked("--tolerance", value, ToleranceProblem(value, request.toleranceHundredths), error) &&
         (request.toleranceGiven = true);
}

bool ParseDataTolerance(const char* value, Request& request, std::string& error) {
  return Checked("--data-tolerance", value, ToleranceProblem(value, request.dataToleranceHundredths), error) &&
         (request.dataToleranceGiven = true);
}

bool ParseFormat(const char* value, Request& request, std::string& error) {
  if (FormatNamed(value, request.format)) return true;
  return Invalid("--format", value, ("the format must be " + FormatNamesSentence()).c_str(), error);
}

bool ParseSjw(const char* value, Request& request, std::string& error) {
  const int32_t last = request.controller->nominal.sjw.last;
  return Checked("--sjw", value, QuantaProblem(value, last, request.sjw), error) && (request.sjwGiven = true);
}

bool ParseDataSjw(const char* value, Request& request, std::string& error) {
  return Checked("--data-sjw", value, QuantaProblem(value, request.controller->data.sjw.last, request.dataSjw),
                 error) &&
         (request.dataSjwGiven = true);
}

bool ParseDecode(const char* value, Request& request, std::string& error) {
  return Checked("--decode", value, DecodeTextProblem(value, false, request), error);
}

bool ParseDecodeData(const char* value, Request& request, std::string& error) {
  return Checked("--decode-data", value, DecodeTextProblem(value, true, request), error);
}

bool ParseNodeDelay(const char* value, Request& request, std::string& error) {
  return Checked("--node-delay", value, NodeDelayProblem(value, request.bus.nodeDelayNs), error);
}

bool ParseBusLength(const char* value, Request& request, std::string& error) {
  return Checked("--bus-length", value, BusLengthProblem(value, request.bus.busLengthM), error);
}

bool ParseMinTolerance(const char* value, Request& request, std::string& error) {
  return Checked("--min-tolerance", value, PercentMillionthsProblem(value, request.minTolerance), error);
}

bool ParseNode(const char* value, Request& request, std::string&) {
  request.nodeTexts.emplace_back(value);
  return true;
}

bool ParseSamplePointSpread(const char* value, Request& request, std::string& error) {
  return Checked("--sample-point-spread", value, PercentMillionthsProblem(value, request.samplePointSpread), error) &&
         (request.spreadGiven = true);
}

bool ParseClockAccuracy(const char* value, Request& request, std::string& error) {
  return Checked("--clock-accuracy", value, ClockAccuracyProblem(value, request.clockAccuracyPpm), error) &&
         (request.clockAccuracyGiven = true);
}

bool ParseTargetSamplePoint(const char* value, Request& request, std::string& error) {
  return Checked("--target-sample-point", value, TargetSamplePointProblem(value, request.targetSamplePoint), error);
}

bool ParseDataTargetSamplePoint(const char* value, Request& request, std::string& error) {
  return Checked("--data-target-sample-point", value, TargetSamplePointProblem(value, request.dataTargetSamplePoint),
                 error);
}
