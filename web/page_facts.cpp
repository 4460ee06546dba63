#include "web/page_facts.h"

#include <cstdint>

#include "answers/plan/bus_plan.h"
#include "answers/request/code_forms.h"
#include "answers/request/refusals.h"
#include "answers/request/request.h"
#include "answers/text/gbk_to_utf8.h"
#include "calc/best_setting.h"
#include "calc/bus_tolerance.h"
#include "calc/window_inputs.h"
#include "web/best_facts.h"
#include "web/page_reply.h"

namespace {

// A rate in Kbps that the tables hold as a whole number, as text: 500.0f "500".
std::string WholeKbpsText(float rateKbps) { return std::to_string(static_cast<int64_t>(rateKbps)); }

// The kind of SJW a row takes where its field is empty, as the page names it.
std::string SjwFace(SjwByDefault kind) {
  switch (kind) {
    case SjwByDefault::kShorterSegment: return "shorter";
    case SjwByDefault::kWidest: break;
  }
  return "widest";
}

}  // namespace

std::string PageControllerFaceJson(const ControllerEntry& entry) {
  const std::string sjw = JsonString(SjwFace(entry.traits.sjwByDefault));
  std::string json = "{\"sjw\": {\"nominal\": " + sjw + ", \"data\": " + sjw + "}";
  // An older form's decode reads its one register as a bare value.
  const bool bare = entry.traits.olderForm;
  json += std::string(", \"bareDecode\": ") + (bare ? "true" : "false");
  // A bare field's example: a CAN_BTR or NBTP value, and a DBTP one; zeros for a
  // single register of the others.
  json += ", \"barePlaceholder\": {\"nominal\": " + JsonString(bare ? "0x001C0001" : "0x00000000");
  json += ", \"data\": " + JsonString(bare ? "0x00010A30" : "0x00000000") + "}}";
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
  // The code any controller may have first, then the vendors' libraries', as --help
  // lists them for --plan.
  std::string json = "[";
  for (const bool vendor : {false, true})
    for (const FormatRow& row : kFormats)
      if (row.code && row.vendorLibrary == vendor) json += (json.size() > 1 ? ", " : "") + JsonString(row.name);
  return json + "]";
}

std::string PageDefaultsJson() {
  const Request request;
  const BusConditions bus;
  return "{\"clock\": " + JsonString(ClockMHzText(request.clockKHz)) + ", \"rate\": " +
         JsonString(WholeKbpsText(request.targetRate)) + ", \"nodeDelay\": " + JsonString(std::to_string(bus.nodeDelayNs)) +
         ", \"busLength\": " + JsonString(std::to_string(bus.busLengthM)) + ", \"minTolerance\": " +
         JsonString(MillionthsText(request.minTolerance < 0 ? 0 : request.minTolerance)) + ", \"spread\": " +
         JsonString(MillionthsText(request.samplePointSpread)) + ", \"clockAccuracy\": " +
         JsonString(std::to_string(request.clockAccuracyPpm)) + "}";
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

std::string PageWindowMessagesJson() {
  std::string json = "{";
  for (const RequestStatus status : {RequestStatus::kClockMissing, RequestStatus::kRateMissing}) {
    const InputCheck check =
        status == RequestStatus::kClockMissing ? InputCheck::kClockMissing : InputCheck::kRateMissing;
    json += (json.size() > 1 ? ", " : "") + JsonString(StatusName(static_cast<int>(status))) + ": " +
            JsonString(GbkToUtf8(MissingInputMessage(check)));
  }
  return json + "}";
}
