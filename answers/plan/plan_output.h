// The bus plan written out: a table per phase and the bus's figures, or json.
#pragma once

#include "answers/plan/bus_plan.h"
#include "answers/writers/aligned_table.h"
#include "answers/writers/output_sink.h"

#include <string>
#include <vector>

// Writes a found plan (plan.status kFound) in request.format, table or json. The
// table: one row per node (name, controller, clock, seg1, seg2, prescaler, SJW, tq,
// sample point, rate, signed error, registers, tolerance), on an FD bus a data table
// after it (with the TDC offset), then the sample-point range, the margin, the longest
// bus, the Limit: lines (PlanLimitLines) and a Fixed: line per node with a fixed setting
// (PlanFixedLines). Json: {"nodes": [{"name", "controller", "clock", "nominal": {...},
// "data": {...}, "fixed": [the phases fixed, only where some are]}], "samplePointSpread",
// "dataSamplePointSpread", "margin", "maxBusLength", "limits": {"samplePoint",
// "dataSamplePoint" (FD), "margin", "longestBus" (where there is one)}}, each row the
// controller's json row plus "signedErrorPercent".
// A code form: one block per node (in the node's own form= where it gives one), headed by
// a comment with the node's name, controller
// and clock; a node whose controller lacks the form gets its registers form (without
// registers: its linux form), the heading saying so. Blocks are separated by a blank line.
void WriteBusPlan(const BusPlan& plan, const Request& request, OutputSink& out);

// One of a found plan's tables as the table form writes it: the titles (UTF-8), which
// columns are right-aligned, and one row of cell texts per node, in the request's
// order. data false: the nominal table (name, controller, clock, the phase's cells,
// tolerance); true: an FD bus's data table (name, the phase's cells, TDC offset).
AlignedTable PlanPhaseTable(const BusPlan& plan, const Request& request, bool data);
