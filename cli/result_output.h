// The companion's output: settings in the table, tsv, csv or json form, or as code to
// paste (hal, spl), written row by row to an output sink.
#pragma once

#include <cstdint>

#include "calc/timing.h"
#include "cli/output_options.h"
#include "cli/output_sink.h"

// One row.
RowSource SingleRow(const TimingCandidate& record);

// Writes the rows in the given format; the cells are those of the window's table.
// UTF-8 throughout; no rows give the header alone (table, csv), nothing (tsv, hal,
// spl) or "[]" (json). Stops early once the sink has failed.
void WriteResult(const RowSource& rows, const OutputOptions& options, OutputSink& sink);
