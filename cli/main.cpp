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

// Writes all of text at once; false when the stream refuses it.
bool WriteAll(const std::string& text, std::FILE* stream) {
  const bool written = std::fwrite(text.data(), 1, text.size(), stream) == text.size();
  return std::fflush(stream) == 0 && written;
}

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
  std::string out;
  if (action == CliAction::kHelp) out = UsageText();
  if (action == CliAction::kVersion) out = "quillmere-cli " QUILLMERE_VERSION "\n";
  if (action == CliAction::kRun) {
    CandidateList store;
    BitTimingSearch(store, request.clockKHz, request.targetRate, request.tolerancePercent, request.minSamplePoint);
    WriteResult(store, request.format, out);
  }
  const bool written = WriteAll(out, stdout);
  RestoreConsoleOutput(savedConsole);
  return written ? 0 : kExitWriteFailed;
}
