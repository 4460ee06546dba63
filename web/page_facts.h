// What the page shows of a controller and of the companion beyond the controller table
// and the columns, sent in the module's start reply so that the page's script restates
// none of it (web/page_module.cpp, QuillmereStart).
#pragma once

#include <string>

#include "calc/controllers.h"

// How the page's form shows entry, as JSON: {"sjw": {"nominal": K, "data": K},
// "bareDecode": B, "barePlaceholder": {"nominal": T, "data": T}}. K is what a
// row's SJW is when the field is empty (the companion without --sjw / --data-sjw):
// "shorter" (the shorter of seg1 and seg2), "widest" (the widest the row allows) or
// the number itself as text ("1"); B whether its decode reads a bare value (else
// NAME=VALUE pairs, or a bare value for a single register); T the example a bare
// field shows.
std::string PageControllerFaceJson(const ControllerEntry& entry);

// Every controller's face by --controller name, {"bxcan": {...}, ...}, in the table's
// order.
std::string PageControllerFacesJson();

// The code forms a plan's code is offered in, as --format names them, in the order its
// selector lists them: ["registers", "linux", ...].
std::string PagePlanFormsJson();

// The companion's defaults and advice as the page's texts show them, as JSON:
//   "defaults"          the fields' values when not given: {"clock": "42", "rate":
//                       "500", "nodeDelay": "250", "busLength": "10", "minTolerance":
//                       "0", "spread": "2", "clockAccuracy": "100"} (Request's and
//                       BusConditions' own);
//   "advice"            the sample point advised by rate (calc/best_setting.h):
//                       [{"upToKbps": "500", "percent": "87.5"}, ..., {"upToKbps":
//                       null, "percent": "75"}], the last for every rate above;
//   "referenceLengths"  [{"rateKbps": "1000", "metres": 40}, ...]
//                       (web/best_facts.h).
std::string PageDefaultsJson();
std::string PageAdviceJson();
std::string PageReferenceLengthsJson();

// The window's messages for an empty clock or rate, in UTF-8, by the names of their
// refusals: {"clock-missing": "请输入AHB1时钟频率", "rate-missing": "请输入CAN波特率"}.
// The page's Chinese says them as the window does.
std::string PageWindowMessagesJson();
