// The companion's output: the accepted settings in the table, tsv, csv or json form,
// written row by row to an output sink.
#pragma once

#include <cstdint>
#include <functional>

#include "calc/timing.h"
#include "cli/command_line.h"
#include "cli/output_sink.h"

// The CAN_BTR value of a setting with SJW 1 tq (field 0): (BS2 - 1) << 20 |
// (BS1 - 1) << 16 | (prescaler - 1), each in its field; the mode and SJW bits stay 0.
uint32_t BitTimingRegister(const TimingCandidate& record);

// Hands every row to visit, in order, until visit returns false. A source may be run
// more than once (the table measures its columns first) and gives the same rows each
// time.
using RowVisitor = std::function<bool(const TimingCandidate&)>;
using RowSource = std::function<void(const RowVisitor&)>;

// The rows of a store, in store order.
RowSource StoreRows(const CandidateList& store);

// Writes the rows in the given format; the cells are those of the window's table.
// UTF-8 throughout; no rows give the header alone (table, csv), nothing (tsv) or "[]"
// (json). Stops early once the sink has failed.
void WriteResult(const RowSource& rows, OutputFormat format, OutputSink& sink);
