// The json form of the companion's output: an array of objects, one per line, with
// numbers.
#pragma once

#include "answers/rows/output_options.h"
#include "answers/writers/output_sink.h"

// Writes the rows as a json array, "[]" when there are none, with no line feed after
// the closing bracket. An FDCAN phase's array is indented to sit as a member of the
// object that holds both phases. Returns whether there was a row.
bool WriteJsonArray(const RowSource& rows, const OutputOptions& options, OutputSink& sink);
