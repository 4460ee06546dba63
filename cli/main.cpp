// quillmere-cli: the window's bit-timing search and result rows on the command line.
#include "calc/fp_environment.h"
#include "cli/bit_timing_register.h"
#include "cli/command_line.h"
#include "cli/console_utf8.h"
#include "cli/phase_search.h"
#include "cli/result_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#ifndef QUILLMERE_VERSION
#error "QUILLMERE_VERSION comes from the CMake project version"
#endif

namespace {

constexpr int kExitWriteFailed = 1;
constexpr int kExitInvalidInput = 2;
constexpr int kExitNoAnswer = 3;

// The decoded setting of request.decodeValue, as one row.
void WriteDecoded(const CliRequest& request, OutputSink& out) {
  const DecodedRegister decoded = DecodeRegister(request.decodeValue, request.clockKHz, request.targetRate);
  OutputOptions options;
  options.format = request.format;
  options.sjw = decoded.sjw;
  options.decoded = true;
  options.modeBits = decoded.modeBits;
  options.errorKnown = request.rateGiven;
  WriteResult(SingleRow(decoded.setting), options, out);
}

// The listing, or its best row; false when --best finds no row.
bool WriteSearched(const CliRequest& request, OutputSink& out) {
  OutputOptions options;
  options.format = request.format;
  options.sjw = request.sjw;
  const PhaseSearch phase = BxCanPhase(request);
  if (!request.best) {
    WriteResult(SearchRows(phase), options, out);
    return true;
  }
  const BestSetting best = BestOfPhase(phase, 0);
  if (!best.found) return false;
  WriteResult(SingleRow(best.best), options, out);
  return true;
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
  OutputSink out;
  out.stream = stdout;
  bool answered = true;
  if (action == CliAction::kHelp) Put(out, UsageText());
  if (action == CliAction::kVersion) Put(out, "quillmere-cli " QUILLMERE_VERSION "\n");
  if (action == CliAction::kRun && request.decode) WriteDecoded(request, out);
  if (action == CliAction::kRun && !request.decode) answered = WriteSearched(request, out);
  const bool written = FlushOutput(out);
  RestoreConsoleOutput(savedConsole);

  if (!answered) {
    std::fputs("quillmere-cli: no setting meets the request (a larger --tolerance or a lower --sample-point "
               "may find one)\n",
               stderr);
    return kExitNoAnswer;
  }
  if (written) return 0;
  // A reader that went away (a pipe into head) ends the output quietly, as it does
  // for other tools; where SIGPIPE has not already ended the program, the code is 1.
  if (out.error != EPIPE) std::fprintf(stderr, "quillmere-cli: cannot write output: %s\n", std::strerror(out.error));
  return kExitWriteFailed;
}
