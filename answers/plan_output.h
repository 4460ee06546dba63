// The bus plan written out: a table per phase and the bus's figures, or json.
#pragma once

#include "answers/bus_plan.h"
#include "answers/output_sink.h"

// Writes a found plan (plan.status kFound) in request.format, table or json. The
// table: one row per node (name, controller, clock, seg1, seg2, prescaler, SJW, tq,
// sample point, rate, signed error, registers, tolerance), on an FD bus a data table
// after it (with the TDC offset), then the sample-point range, the margin and the
// longest bus. Json: {"nodes": [{"name", "controller", "clock", "nominal": {...},
// "data": {...}}], "samplePointSpread", "dataSamplePointSpread", "margin",
// "maxBusLength"}, each row the controller's json row plus "signedErrorPercent".
// A code form: one block per node, headed by a comment with the node's name, controller
// and clock; a node whose controller lacks the form gets its registers form (without
// registers: its linux form), the heading saying so. Blocks are separated by a blank line.
void WriteBusPlan(const BusPlan& plan, const Request& request, OutputSink& out);
