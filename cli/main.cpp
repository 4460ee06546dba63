// quillmere-cli: the window's bit-timing search and result rows on the command line.
#include "answers/answer.h"
#include "answers/request/clock_choices.h"
#include "answers/rows/best_warnings.h"
#include "answers/plan/bus_plan.h"
#include "answers/plan/plan_output.h"
#include "answers/writers/controller_list.h"
#include "calc/bit_timing_search.h"
#include "calc/fp_environment.h"
#include "cli/command_line.h"
#include "cli/command_line_bytes.h"
#include "cli/console_utf8.h"
#include "answers/rows/decode_warnings.h"
#include "cli/stream_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "build_commit.h"  // generated: QUILLMERE_COMMIT

#ifndef QUILLMERE_VERSION
#error "QUILLMERE_VERSION comes from the CMake project version"
#endif

#define QUILLMERE_STRING_OF(x) #x
#define QUILLMERE_STRING(x) QUILLMERE_STRING_OF(x)

namespace {

// "quillmere-cli X.Y.Z (commit 4df0920)": the commit's text as the build read it.
constexpr char kVersionLine[] = "quillmere-cli " QUILLMERE_VERSION " (commit " QUILLMERE_STRING(QUILLMERE_COMMIT) ")\n";

constexpr int kExitWriteFailed = 1;
constexpr int kExitInvalidInput = 2;
constexpr int kExitNoAnswer = 3;
constexpr int kExitWarned = 4;  // --strict: the best setting has a warning

// The whole run, with the console prepared: everything it prints, the first error
// included, reaches the console as UTF-8.
int Run(int argc, const char* const* argv) {
  // The search's results depend on this environment, as in the window.
  SetFloatEnvironment();

#ifdef __EMSCRIPTEN__
  // Under node the arguments arrive re-encoded as UTF-8, a byte that is not UTF-8 as
  // U+FFFD; the kernel's copy holds the bytes the native program reads.
  std::vector<std::string> bytes;
  std::vector<const char*> byteArgv{argv[0]};
  if (ReadLastArguments(argc - 1, bytes)) {
    for (const std::string& argument : bytes) byteArgv.push_back(argument.c_str());
    byteArgv.push_back(nullptr);
    argv = byteArgv.data();
  }
#endif
  Request request;
  std::string error;
  const CliAction action = ParseCommandLine(argc, argv, request, error);
  if (action == CliAction::kError) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return kExitInvalidInput;
  }
  OutputSink out = StreamOutput(stdout);
  Answer answer = Answer::kWritten;
  if (action == CliAction::kHelp) Put(out, UsageText());
  if (action == CliAction::kVersion) {
    // The second line names the search's arithmetic, so a person or a test can tell
    // which of the two (with the same results) this build uses.
    Put(out, kVersionLine);
    Put(out, "arithmetic: ");
    Put(out, SearchArithmeticName());
    Put(out, "\n");
  }
  if (action == CliAction::kRun && request.listControllers) WriteControllerList(request.format, request.wide, out);
  std::vector<std::string> planWarnings;  // a found plan's, for standard error
  std::vector<std::string> noPlan;  // why no plan exists, a line per obstacle, for standard error
  bool planTooLarge = false;  // a request past the planner's bound: refused as input is
  if (action == CliAction::kRun && request.plan) {
    const BusPlan plan = PlanBus(request);
    if (plan.status == PlanStatus::kFound) {
      WriteBusPlan(plan, request, out);
      planWarnings = PlanWarningLines(plan);
    }
    else
      noPlan = PlanRefusalLines(plan, request);
    planTooLarge = plan.status == PlanStatus::kTooLarge;
  }
  std::vector<BestWarning> warnings;
  std::vector<std::string> targetNotes;
  if (action == CliAction::kRun && !request.listControllers && !request.plan) {
    const AnswerRows rows = RowsOfAnswer(request);
    WriteAnswerRows(rows, out);
    answer = rows.answer;
    if (rows.answer == Answer::kWritten) {
      warnings = BestWarnings(request, rows.phases, rows.count, rows.paired ? &rows.pairTolerance : nullptr);
      targetNotes = TargetSamplePointNotes(request, rows.phases, rows.count);
    }
  }
  const bool written = FlushOutput(out);
  // After the row, so that a terminal shows the warning below it.
  if (action == CliAction::kRun) {
    for (const std::string& line : DecodeWarnings(request)) std::fprintf(stderr, "%s\n", line.c_str());
    for (const std::string& line : ClockChoiceWarnings(request))
      std::fprintf(stderr, "quillmere-cli: warning: %s\n", line.c_str());
    for (const std::string& line : targetNotes) std::fprintf(stderr, "quillmere-cli: %s\n", line.c_str());
    for (const BestWarning& warning : warnings)
      std::fprintf(stderr, "quillmere-cli: warning: %s\n", BestWarningText(warning).c_str());
    for (const std::string& line : planWarnings) std::fprintf(stderr, "quillmere-cli: warning: %s\n", line.c_str());
  }

  if (!noPlan.empty()) {
    for (const std::string& line : noPlan) std::fprintf(stderr, "quillmere-cli: %s\n", line.c_str());
    return planTooLarge ? kExitInvalidInput : kExitNoAnswer;
  }
  // The nearest setting and what lists it, or why no tolerance can (a listing without
  // rows too, which still exits 0).
  std::vector<std::string> notes;
  if (action == CliAction::kRun) notes = NoSettingNotes(request, answer);
  if (answer == Answer::kNoSetting || answer == Answer::kNoDataSetting) {
    const bool data = answer == Answer::kNoDataSetting;
    if (!ToleranceCouldHelp(request, answer))
      std::fprintf(stderr, "quillmere-cli: no %ssetting meets the request\n", data ? "data-phase " : "");
    else if (data)
      std::fputs("quillmere-cli: no data-phase setting meets the request (a larger --data-tolerance or a lower "
                 "--data-sample-point may find one)\n",
                 stderr);
    else
      std::fputs("quillmere-cli: no setting meets the request (a larger --tolerance or a lower --sample-point "
                 "may find one)\n",
                 stderr);
    for (const std::string& line : notes) std::fprintf(stderr, "quillmere-cli: %s\n", line.c_str());
    return kExitNoAnswer;
  }
  for (const std::string& line : notes) std::fprintf(stderr, "quillmere-cli: %s\n", line.c_str());
  if (answer == Answer::kNoSettingAtMinTolerance || answer == Answer::kNoDataSettingAtMinTolerance) {
    std::fprintf(stderr,
                 "quillmere-cli: no %ssetting meets --min-tolerance: every one that meets the rest of the request "
                 "has a smaller oscillator tolerance (a lower --min-tolerance finds one)\n",
                 answer == Answer::kNoDataSettingAtMinTolerance ? "data-phase " : "");
    return kExitNoAnswer;
  }
  if (written) return request.strict && !(warnings.empty() && planWarnings.empty()) ? kExitWarned : 0;
  // A reader that went away (a pipe into head) ends the output quietly, as it does
  // for other tools; where SIGPIPE has not already ended the program, the code is 1.
  if (out.error != EPIPE) std::fprintf(stderr, "quillmere-cli: cannot write output: %s\n", std::strerror(out.error));
  return kExitWriteFailed;
}

int RunInConsole(int argc, const char* const* argv) {
  const unsigned savedConsole = PrepareConsoleOutput();
  const int code = Run(argc, argv);
  RestoreConsoleOutput(savedConsole);
  return code;
}

}  // namespace

#ifdef _WIN32
// The arguments as typed: Windows hands them over in UTF-16, converted here once to
// the UTF-8 that the rest reads (through the ANSI code page, "中文" would arrive as
// GBK bytes and a character outside it as "?"). Linked with -municode.
int wmain(int argc, wchar_t** wideArgv) {
  std::vector<std::string> arguments;
  for (int i = 0; i < argc; ++i) arguments.push_back(WideToUtf8(wideArgv[i]));
  std::vector<const char*> argv;
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  argv.push_back(nullptr);
  return RunInConsole(argc, argv.data());
}
#else
int main(int argc, char** argv) { return RunInConsole(argc, argv); }
#endif
