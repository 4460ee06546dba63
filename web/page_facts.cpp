#include "web/page_facts.h"

#include <cstdint>
#include <cstring>

#include "answers/code_forms.h"
#include "answers/request.h"
#include "web/page_reply.h"

std::string PageControllerFaceJson(const ControllerEntry& entry) {
  // bxCAN and FDCAN keep the conventions they had before the controller table: bxCAN's
  // SJW is 1 unless asked, FDCAN's the shorter segment, and both decode a bare register
  // value. Every other controller takes the widest SJW and NAME=VALUE pairs. The one
  // place the page's faces tell controllers by name, until the entries carry these as
  // traits of their own.
  const bool bxCan = std::strcmp(entry.name, "bxcan") == 0;
  const bool fdCan = std::strcmp(entry.name, "fdcan") == 0;
  const char* nominalSjw = bxCan ? "1" : fdCan ? "shorter" : "widest";
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
