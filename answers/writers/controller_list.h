// --controller list: the controller table (calc/controllers.h) as the companion prints
// it, an aligned table or json.
#pragma once

#include "answers/request/request.h"
#include "answers/writers/output_sink.h"

// "2-128/2": a range, with its step where it is not 1.
std::string RangeText(FieldRange range, int32_t step);
// One phase's limits in a few words: "prescaler 2-128/2, seg1 2-16 (prop 1-8 +
// phase1 1-8), seg2 2-8, sjw 1-4; seg1 >= seg2, sjw < seg2".
std::string LimitsText(const PhaseLimits& limits);

// The widest line of the list's table form: a terminal of 100 columns shows it whole.
constexpr int kControllerListWidth = 100;

// The table in the table form (format kTable): each entry's name, vendor, whether it
// has a data phase and its chips, within kControllerListWidth columns (long chips
// texts go on under their column), then a line saying where the rest is; wide: every
// fact of each entry on one line (clock, limits, registers, source). Or json (an array
// of one object per entry, every fact). Stops early once the sink has failed.
void WriteControllerList(OutputFormat format, bool wide, OutputSink& sink);

// The table as the page's controller selector reads it (UTF-8 JSON): an array of
// {"name", "vendor", "chips", "clock" (the clock to type, as the list says it),
// "fixedClockKHz" (or null), "fd", "forms" (the code forms it has, --format's names in
// its order), "registers": {"nominal": [names], "data": [names] or null}, "limits":
// {"nominal", "data" (or null), "tdc" (or null)}, each limit as LimitsText says it}.
std::string PageControllersJson();
