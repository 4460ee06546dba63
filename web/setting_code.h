// Code to paste for a setting of a listing, made from its record: the search's record
// for that setting at the request's clock, written by the companion's writers with the
// options of the phase it was listed in, in any form the controller has. So the page's
// code for a row, or for a nominal and a data row as a pair, is the block the
// companion's --best writes for the same setting (pair).
#pragma once

#include "answers/request/request.h"
#include "answers/request/request_check.h"
#include "answers/writers/output_sink.h"
#include "calc/register_layout.h"

// Writes request.format's code for nominal (prescaler, seg1, seg2 in quanta; sjw 0:
// the SJW the listing gives the row, else that many quanta): an FD controller's
// nominal phase, a classic controller's only one; with data (an FD controller's data
// phase setting, read at request.dataRate) the pair as --best writes it, both blocks
// and the pair's oscillator tolerance. request gives the clock, the phases' rates, the
// bus conditions and the form. Returns kReady; kFormNotForController (the controller
// has no such form, answers/request/code_forms.h) or kSettingOutsideRanges (a length outside
// the phase's limits, or data for a classic controller), writing nothing.
RequestStatus WriteSettingCode(const Request& request, const BitTimingLengths& nominal, const BitTimingLengths* data,
                               OutputSink& sink);
