// The text forms of the companion's output: any controller's settings in the table,
// tsv, csv or json form, written row by row to an output sink, and the page's grid
// rows. The code forms are answers/code/code_output.h's; answers/answer.h writes an
// answer in whichever form it asks for.
#pragma once

#include "calc/bus_tolerance.h"
#include "answers/rows/output_options.h"
#include "answers/writers/output_sink.h"

// Whether format is one of the text forms written here (table, tsv, csv, json).
bool IsTextForm(OutputFormat format);

// Writes the rows in a text form; the cells are those of the window's table. UTF-8
// throughout; no rows give the header alone (table, csv), nothing (tsv) or "[]"
// (json). Stops early once the sink has failed. Returns whether there was a row;
// false, with nothing written, for a code form.
bool WriteTextForm(const RowSource& rows, const OutputOptions& options, OutputSink& sink);

// An FD controller's phases (at most two) in a text form, one after the other
// (nominal, then data): two tables set off by a blank line, tsv and csv lines led by
// the phase with one set of columns for both (csv under one header; "-" where a phase
// lacks a column), and in json one object with an array per phase, {"nominal": [...],
// "data": [...]}, with pairTolerance, when not null (a best nominal/data pair), as its
// top-level "oscillatorTolerance".
void WriteTextPhases(const PhaseOutput* phases, int count, const Tolerance* pairTolerance, OutputSink& sink);

// The rows as the page's grid holds them and the window's table copies them: the tsv
// form's columns (for bxCAN the window's six cells) joined by tabs, each line ended by
// CR LF. Stops early once the sink has failed. Returns whether there was a row.
bool WriteGridRows(const RowSource& rows, const OutputOptions& options, OutputSink& sink);
// The same for an FD controller's phases (at most two) one after the other, on the
// columns the tsv lines of WriteTextPhases have ("-" where a phase lacks one).
bool WriteGridRows(const PhaseOutput* phases, int count, OutputSink& sink);
