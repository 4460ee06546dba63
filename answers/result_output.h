// The companion's output: any controller's settings in the table, tsv, csv or json
// form, or as code to paste (answers/code_output.h), written row by row to an output
// sink.
#pragma once

#include <cstdint>

#include "calc/bus_tolerance.h"
#include "calc/timing.h"
#include "answers/output_options.h"
#include "answers/output_sink.h"

// One row.
RowSource SingleRow(const TimingCandidate& record);

// Writes the rows in the given format; the cells are those of the window's table.
// UTF-8 throughout; no rows give the header alone (table, csv), nothing (tsv, hal,
// spl) or "[]" (json). Stops early once the sink has failed. Returns whether there
// was a row.
bool WriteResult(const RowSource& rows, const OutputOptions& options, OutputSink& sink);

// One phase of an answer (an FD controller's nominal or data phase, or a classic
// controller's only one): its rows and how to write them.
struct PhaseOutput {
  RowSource rows;
  OutputOptions options;
};

// The rows as the page's grid holds them and the window's table copies them: the tsv
// form's columns (for bxCAN the window's six cells) joined by tabs, each line ended by
// CR LF. Stops early once the sink has failed. Returns whether there was a row.
bool WriteGridRows(const RowSource& rows, const OutputOptions& options, OutputSink& sink);
// The same for an FD controller's phases (at most two) one after the other, on the columns the
// tsv lines of WritePhases have ("-" where a phase lacks one).
bool WriteGridRows(const PhaseOutput* phases, int count, OutputSink& sink);

// An FD controller's phases (at most two), one after the other (nominal, then data): two tables
// set off by a blank line, tsv and csv lines led by the phase with one set of columns
// for both (csv under one header; "-" where a phase lacks a column), code blocks
// separated by blank lines, and in json one object with an array per phase,
// {"nominal": [...], "data": [...]}.
// pairTolerance, when not null, is the oscillator tolerance of a best nominal/data
// pair: json's top-level "oscillatorTolerance", a last comment in the code forms.
void WritePhases(const PhaseOutput* phases, int count, const Tolerance* pairTolerance, OutputSink& sink);
