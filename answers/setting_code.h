// Code to paste (hal, spl) for one setting of a listing, made from its record: the
// search's record for that setting at the request's clock, written by the companion's
// code writer with the options of the phase it was listed in. So the page's code for a
// row is the block the companion's --best writes for the same setting.
#pragma once

#include "answers/request.h"
#include "answers/output_options.h"
#include "answers/output_sink.h"
#include "calc/register_layout.h"

// Writes the block for setting (prescaler, seg1, seg2 in quanta; sjw 0: the SJW the
// listing gives the row, else that many quanta) listed in phase. request gives the
// clock, the phase's rate (targetRate; FDCAN's data phase: dataRate), the bus
// conditions and the form, kHal or kSpl (FDCAN's phases are always HAL's hfdcan.Init).
// Returns false and writes nothing when a length lies outside the phase's ranges.
bool WriteSettingCode(const Request& request, Phase phase, const BitTimingLengths& setting, OutputSink& sink);
