// The rules a decoded register value can break although each of its fields is in
// range. Such a value still decodes and its row is printed; each broken rule adds one
// warning line on standard error, and the exit code stays 0.
#pragma once

#include <string>
#include <vector>

#include "answers/request/request.h"
#include "calc/register_layout.h"

// The broken rules of one decoded phase, one text each (no line feed), in the order
// the rules are written; empty when it breaks none: a segment of one quantum
// (kRuleWarnSegmentOfOne), an SJW beyond phase 1 (seg1 where it is one field; BS1 and
// BS2 where the rows name them so) or seg2, and the controller's own rules (the
// MCP2515's seg2 above the SJW and prop + phase1 at least seg2).
std::vector<std::string> ControllerWarnings(const ControllerEntry& controller, const PhaseLimits& limits,
                                            const BitTimingLengths& lengths);

// The warnings of a checked request's decoded values, each "<register> <value>:
// <rule>" (a table controller's: "<NAME>=<value> ...: <rule>"), as the page shows
// them; none without a decode.
std::vector<std::string> DecodeWarningTexts(const Request& request);
// The companion's warning lines of a checked request's decoded values (--decode, --decode-data),
// each "quillmere-cli: warning: <register> <value>: <rule>" (a table controller's:
// "<NAME>=<value> ...: <rule>"); none without a decode.
std::vector<std::string> DecodeWarnings(const Request& request);
