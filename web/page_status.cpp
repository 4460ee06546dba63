// The names the page knows the module's statuses by.
#include <emscripten/emscripten.h>

#include "web/page_status.h"

extern "C" {

// The lower-case name of a status ("ready", "clock-missing", ...); "unknown" for a
// number that is no status. The text is static.
EMSCRIPTEN_KEEPALIVE const char* QuillmereStatusName(int status) {
  switch (static_cast<PageStatus>(status)) {
    case PageStatus::kReady: return "ready";
    case PageStatus::kClockMissing: return "clock-missing";
    case PageStatus::kRateMissing: return "rate-missing";
    case PageStatus::kReservedBits: return "reserved-bits";
    case PageStatus::kDataReservedBits: return "data-reserved-bits";
    case PageStatus::kSettingOutsideRanges: return "setting-outside-ranges";
  }
  return "unknown";
}

}  // extern "C"
