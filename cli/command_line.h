// The companion's command line: options, defaults and the checks on their values.
#pragma once

#include <string>

#include "answers/request/request.h"

enum class CliAction { kRun, kHelp, kVersion, kError };

// Reads argv[1..argc-1] in order: "--option value" or "--option=value", and the flag
// --best; a later option overrides an earlier one; --help and --version stop the
// reading. The values whose range depends on the controller (--sjw, --data-sjw,
// --decode, --decode-data) are checked once all options are read. On kError `error` holds one line (no line feed) saying what is wrong,
// with the value as EchoedValue shows it.
CliAction ParseCommandLine(int argc, const char* const* argv, Request& request, std::string& error);

// The text that --help prints, ending with a line feed.
const char* UsageText();
