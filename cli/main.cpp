// quillmere-cli: the window's bit-timing search and result rows on the command line.
#include "answers/answer.h"
#include "calc/bit_timing_search.h"
#include "calc/fp_environment.h"
#include "cli/command_line.h"
#include "cli/command_line_bytes.h"
#include "cli/console_utf8.h"
#include "cli/stream_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#ifndef QUILLMERE_VERSION
#error "QUILLMERE_VERSION comes from the CMake project version"
#endif

namespace {

constexpr int kExitWriteFailed = 1;
constexpr int kExitInvalidInput = 2;
constexpr int kExitNoAnswer = 3;

}  // namespace

int main(int argc, char** argv) {
  // The search's results depend on this environment, as in the window.
  SetFloatEnvironment();

#ifdef __EMSCRIPTEN__
  // Under node the arguments arrive re-encoded as UTF-8, a byte that is not UTF-8 as
  // U+FFFD; the kernel's copy holds the bytes the native program reads.
  std::vector<std::string> bytes;
  std::vector<char*> byteArgv{argv[0]};
  if (ReadLastArguments(argc - 1, bytes)) {
    for (std::string& argument : bytes) byteArgv.push_back(&argument[0]);
    byteArgv.push_back(nullptr);
    argv = byteArgv.data();
  }
#endif
  CliRequest request;
  std::string error;
  const CliAction action = ParseCommandLine(argc, argv, request, error);
  if (action == CliAction::kError) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return kExitInvalidInput;
  }
  const unsigned savedConsole = PrepareConsoleOutput();
  OutputSink out = StreamOutput(stdout);
  Answer answer = Answer::kWritten;
  if (action == CliAction::kHelp) Put(out, UsageText());
  if (action == CliAction::kVersion) {
    // The second line names the search's arithmetic, so a person or a test can tell
    // which of the two (with the same results) this build uses.
    Put(out, "quillmere-cli " QUILLMERE_VERSION "\n");
    Put(out, "arithmetic: ");
    Put(out, SearchArithmeticName());
    Put(out, "\n");
  }
  if (action == CliAction::kRun) answer = WriteAnswer(request, out);
  const bool written = FlushOutput(out);
  RestoreConsoleOutput(savedConsole);

  if (answer == Answer::kNoSetting) {
    std::fputs("quillmere-cli: no setting meets the request (a larger --tolerance or a lower --sample-point "
               "may find one)\n",
               stderr);
    return kExitNoAnswer;
  }
  if (answer == Answer::kNoDataSetting) {
    std::fputs("quillmere-cli: no data-phase setting meets the request (a larger --data-tolerance or a lower "
               "--data-sample-point may find one)\n",
               stderr);
    return kExitNoAnswer;
  }
  if (written) return 0;
  // A reader that went away (a pipe into head) ends the output quietly, as it does
  // for other tools; where SIGPIPE has not already ended the program, the code is 1.
  if (out.error != EPIPE) std::fprintf(stderr, "quillmere-cli: cannot write output: %s\n", std::strerror(out.error));
  return kExitWriteFailed;
}
