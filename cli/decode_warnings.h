// The rules a decoded register value can break although each of its fields is in
// range. Such a value still decodes and its row is printed; each broken rule adds one
// warning line on standard error, and the exit code stays 0.
#pragma once

#include <string>
#include <vector>

#include "answers/request.h"
#include "calc/register_layout.h"

// The broken rules of one decoded value, one text each (no line feed), in the order
// the rules are written; empty when it breaks none.
std::vector<std::string> CanBtrWarnings(const BitTimingLengths& lengths);
std::vector<std::string> NbtpWarnings(const BitTimingLengths& nominal);
std::vector<std::string> DbtpWarnings(const BitTimingLengths& data);

// The warning lines of a checked request's decoded values (--decode, --decode-data),
// each "quillmere-cli: warning: <register> <value>: <rule>"; none without a decode.
std::vector<std::string> DecodeWarnings(const Request& request);
