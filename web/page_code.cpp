// Code to paste for a setting of the rows the page shows, or a nominal and a data row
// as a pair (web/setting_code.h): the page sends the settings themselves with the
// fields of their listing, so the code describes the rows on screen whatever the
// module listed since.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "answers/request/code_forms.h"
#include "web/page_fields.h"
#include "answers/request/request_check.h"
#include "web/setting_code.h"
#include "web/page_hooks.h"
#include "web/page_reply.h"

namespace {

// The code form --format names name; false for any other name.
bool CodeFormNamed(const char* name, OutputFormat& format) {
  OutputFormat named = OutputFormat::kTable;
  if (!FormatNamed(name, named) || !IsCodeFormat(named)) return false;
  format = named;
  return true;
}

}  // namespace

extern "C" {

// Code to paste in form (--format's name: registers, linux, zephyr, python-can, hal,
// spl, esp-idf) for the setting n* (prescaler, seg1, seg2 in quanta, the SJW the row is
// written with; a classic controller's only phase, an FD controller's nominal one)
// and, with hasData, an FD controller's data setting d* as its pair, listed for the
// form's fields (texts: kPageFieldCount of them, web/page_hooks.h): the numbers of a
// row's setting as the listing handed them (web/row_text.h). Replies (web/page_reply.h)
// ready with text the code, or a field's refusal, form-not-for-controller,
// setting-outside-ranges or data-option-without-data-rate.
EMSCRIPTEN_KEEPALIVE void QuillmereSettingCode(const char* const* texts, int samplePointIndex, const char* form, int32_t nPrescaler, int32_t nSeg1, int32_t nSeg2,
                                               int32_t nSjw, int hasData, int32_t dPrescaler, int32_t dSeg1,
                                               int32_t dSeg2, int32_t dSjw) {
  Request request;
  RequestCheck check = ReadAllPageFields(PageTextsAt(texts, samplePointIndex), request);
  if (check.status != RequestStatus::kReady) return KeepRefusal(check);
  // The setting is given: the best's targets have chosen it already.
  request.targetSamplePoint = -1;
  request.dataTargetSamplePoint = -1;
  OutputFormat format = OutputFormat::kTable;
  if (!CodeFormNamed(form, format) || !HasForm(*request.controller, format)) {
    check.status = RequestStatus::kFormNotForController;
    check.controller = request.controller;
    check.format = format;
    return KeepRefusal(check);
  }
  request.format = format;
  request.wide = false;
  // The data phase's defaults (its sample point and tolerance) as the listing had them.
  check = CheckRequest(request, MissingInput::kRefuse);
  if (check.status != RequestStatus::kReady) return KeepRefusal(check);
  const BitTimingLengths nominal{nPrescaler, nSeg1, nSeg2, nSjw};
  const BitTimingLengths data{dPrescaler, dSeg1, dSeg2, dSjw};
  std::string text;
  OutputSink sink = TextOutput(text);
  const RequestStatus status = WriteSettingCode(request, nominal, hasData ? &data : nullptr, sink);
  if (status != RequestStatus::kReady) {
    check.status = status;
    return KeepRefusal(check);
  }
  FlushOutput(sink);
  PageReply reply;
  reply.text = text;
  KeepReply(reply);
}

}  // extern "C"
