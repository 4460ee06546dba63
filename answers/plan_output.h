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
// The code forms (one block per node) are to be written here too; the request check
// refuses them until then.
void WriteBusPlan(const BusPlan& plan, const Request& request, OutputSink& out);
