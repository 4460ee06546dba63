#include "web/page_facts.h"

#include <cstdint>
#include <cstring>

#include "answers/best_facts.h"
#include "answers/bus_plan.h"
#include "answers/code_forms.h"
#include "answers/request.h"
#include "calc/best_setting.h"
#include "calc/bus_tolerance.h"
#include "web/page_reply.h"

namespace {

// A rate in Kbps that the tables hold as a whole number, as text: 500.0f "500".
std::string WholeKbpsText(float rateKbps) { return std::to_string(static_cast<int64_t>(rateKbps)); }

}  // namespace

std::string PageControllerFaceJson(const ControllerEntry& entry) {
  // bxCAN and FDCAN keep the conventions they had before the controller table: bxCAN's
  // SJW is 1 unless asked, FDCAN's the shorter segment, and both decode a bare register
  // value. Every other controller takes the widest SJW and NAME=VALUE pairs. The one
  // place the page's faces tell controllers by name, until the entries carry these as
  // traits of their own.
  const bool bxCan = std::strcmp(entry.name, "bxcan") == 0;
  const bool fdCan = std::strcmp(entry.name, "fdcan") == 0;
  const std::string nominalSjw = bxCan ? std::to_string(Request{}.sjw) : fdCan ? "shorter" : "widest";
  const char* dataSjw = fdCan ? "shorter" : "widest";
  std::string json = "{\"sjw\": {\"nominal\": " + JsonString(nominalSjw) + ", \"data\": " + JsonString(dataSjw) + "}";
  json += std::string(", \"bareDecode\": ") + (bxCan || fdCan ? "true" : "false");
  // A bare field's example: a CAN_BTR or NBTP value, and a DBTP one; zeros for a
  // single register of the others.
  json += ", \"barePlaceholder\": {\"nominal\": " + JsonString(bxCan || fdCan ? "0x001C0001" : "0x00000000");
  json += ", \"data\": " + JsonString(bxCan || fdCan ? "0x00010A30" : "0x00000000") + "}}";
  return json;
}

std::string PageControllerFacesJson() {
  std::string json = "{";
  for (int32_t i = 0; i < ControllerCount(); ++i) {
    const ControllerEntry& entry = ControllerAt(i);
    json += (i > 0 ? ", " : "") + JsonString(entry.name) + ": " + PageControllerFaceJson(entry);
  }
  return json + "}";
}

std::string PagePlanFormsJson() {
  // The forms every controller has first, then the vendors' own, as --help lists them
  // for --plan.
  constexpr OutputFormat kPlanForms[] = {OutputFormat::kRegisters, OutputFormat::kLinux, OutputFormat::kZephyr,
                                         OutputFormat::kPythonCan, OutputFormat::kHal,   OutputFormat::kSpl,
                                         OutputFormat::kEspIdf};
  std::string json = "[";
  for (const OutputFormat form : kPlanForms) json += (json.size() > 1 ? ", " : "") + JsonString(FormatName(form));
  return json + "]";
}

std::string PageDefaultsJson() {
  const Request request;
  const BusConditions bus;
  return "{\"clock\": " + JsonString(ClockMHzText(request.clockKHz)) + ", \"rate\": " +
         JsonString(WholeKbpsText(request.targetRate)) + ", \"nodeDelay\": " + JsonString(std::to_string(bus.nodeDelayNs)) +
         ", \"busLength\": " + JsonString(std::to_string(bus.busLengthM)) + ", \"minTolerance\": " +
         JsonString(MillionthsText(request.minTolerance < 0 ? 0 : request.minTolerance)) + ", \"spread\": " +
         JsonString(MillionthsText(request.samplePointSpread)) + "}";
}

std::string PageAdviceJson() {
  std::string json = "[";
  for (int i = 0; i < kSamplePointAdviceCount; ++i) {
    const SamplePointAdvice& advice = kSamplePointAdvice[i];
    const bool last = i + 1 == kSamplePointAdviceCount;
    // The percent in millionths of a point: exact for every advice a fraction of 2s and 5s.
    const int64_t millionths = int64_t{100000000} * advice.numerator / advice.denominator;
    json += i > 0 ? ", " : "";
    json += "{\"upToKbps\": " + (last ? std::string("null") : JsonString(WholeKbpsText(advice.upToKbps))) +
            ", \"percent\": " + JsonString(MillionthsText(millionths)) + "}";
  }
  return json + "]";
}

std::string PageReferenceLengthsJson() {
  std::string json = "[";
  for (const ReferenceLength& reference : kReferenceLengths) {
    json += json.size() > 1 ? ", " : "";
    json += "{\"rateKbps\": " + JsonString(WholeKbpsText(reference.rateKbps)) +
            ", \"metres\": " + std::to_string(reference.metres) + "}";
  }
  return json + "]";
}
