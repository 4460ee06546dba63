// quillmere-cli: the window's bit-timing search and result rows on the command line.
#include "calc/fp_environment.h"
#include "calc/timing.h"
#include "cli/command_line.h"
#include "cli/console_utf8.h"
#include "cli/result_output.h"

#include <cstdio>
#include <string>

#ifndef QUILLMERE_VERSION
#error "QUILLMERE_VERSION comes from the CMake project version"
#endif

namespace {

constexpr int kExitInvalidInput = 2;
constexpr int kExitWriteFailed = 1;

}  // namespace

int main(int argc, char** argv) {
  // The search's results depend on this environment, as in the window.
  SetFloatEnvironment();

  CliRequest request;
  std::string error;
  const CliAction action = ParseCommandLine(argc, argv, request, error);
  if (action == CliAction::kError) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return kExitInvalidInput;
  }
  const unsigned savedConsole = PrepareConsoleOutput();
  OutputSink out;
  out.stream = stdout;
  if (action == CliAction::kHelp) Put(out, UsageText());
  if (action == CliAction::kVersion) Put(out, "quillmere-cli " QUILLMERE_VERSION "\n");
  if (action == CliAction::kRun) {
    CandidateList store;
    BitTimingSearch(store, request.clockKHz, request.targetRate, request.tolerancePercent, request.minSamplePoint);
    WriteResult(StoreRows(store), request.format, out);
  }
  const bool written = FlushOutput(out);
  RestoreConsoleOutput(savedConsole);
  return written ? 0 : kExitWriteFailed;
}
