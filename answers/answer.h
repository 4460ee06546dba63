// What the companion answers for a request: the listing, the best setting or a
// decoded register value, for any controller's phases, written to an output sink.
#pragma once

#include "calc/bus_tolerance.h"
#include "answers/request/request.h"
#include "answers/rows/output_options.h"
#include "answers/writers/output_sink.h"

#include <string>
#include <vector>

enum class Answer {
  kWritten,        // also a listing without rows
  kNoSetting,      // --best: no (nominal) setting meets the request; nothing written
  kNoDataSetting,  // --best: no data-phase setting meets it; nothing written
  // The same where --min-tolerance alone leaves none: without it the phase has a best.
  kNoSettingAtMinTolerance,
  kNoDataSettingAtMinTolerance,
};

// Writes the answer to a checked request (ParseCommandLine's kRun).
Answer WriteAnswer(const Request& request, OutputSink& out);

// For a checked search request (neither a decode, a plan nor the controller list) whose
// answer has no setting (--best's kNoSetting, kNoDataSetting) or a listing's phase
// without rows: the lines for standard error, without the program's name, that say the
// nearest setting and what lists it, or why no tolerance can (answers/rows/
// nearest_setting.h). Empty otherwise.
std::vector<std::string> NoSettingNotes(const Request& request, Answer answer);
// Whether a tolerance could help the phase --best found nothing in (kNoSetting: the
// nominal, kNoDataSetting: the data phase): false when its rate is beyond the
// controller's fastest at the clock.
bool ToleranceCouldHelp(const Request& request, Answer answer);

// The rows that answer a checked request, phase by phase, as WriteAnswer writes them:
// a classic controller's one phase, or an FD controller's nominal phase and, with a
// data rate, its data phase; with best, each phase's best row alone; decoded registers
// as one row per phase decoded.
struct AnswerRows {
  Answer answer = Answer::kWritten;  // any other: no phases
  PhaseOutput phases[2];
  int count = 0;
  bool paired = false;  // a best FD pair: pairTolerance is theirs together
  Tolerance pairTolerance{0, 1};
};
AnswerRows RowsOfAnswer(const Request& request);
// Writes them in the request's form, as WriteAnswer does; nothing for kNoSetting and
// kNoDataSetting.
void WriteAnswerRows(const AnswerRows& rows, OutputSink& out);

// Writes the rows in the given format, a text form (answers/writers/text_forms.h) or
// code to paste (answers/code/code_output.h). Stops early once the sink has failed.
// Returns whether there was a row.
bool WriteResult(const RowSource& rows, const OutputOptions& options, OutputSink& sink);
// An FD controller's phases (at most two) in their format, as WriteTextPhases or
// WriteCodePhases writes them; pairTolerance, when not null, is the oscillator
// tolerance of a best nominal/data pair.
void WritePhases(const PhaseOutput* phases, int count, const Tolerance* pairTolerance, OutputSink& sink);
