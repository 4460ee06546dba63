// The searches the companion runs: each phase's question, its rows streamed from the
// search to the writer as they are found, and its best setting. Nothing is stored, so
// a listing of millions of rows takes little memory.
#pragma once

#include "calc/best_setting.h"
#include "calc/bit_timing_search.h"
#include "answers/cli_request.h"
#include "answers/output_options.h"

// One phase: the calc routine that lists it, and the question put to it.
struct PhaseSearch {
  bool (*search)(const TimingRequest& request, const TimingSink& sink);
  TimingRequest request;
};

// bxCAN: every prescaler of every pair, as the window's search; rows whose BS2 is
// shorter than the SJW are left out.
PhaseSearch BxCanPhase(const CliRequest& request);
// FDCAN's nominal and data phases, only the prescalers that can pass scanned (the
// same rows as every prescaler); rows whose seg2 is shorter than a given SJW are left
// out.
PhaseSearch NominalPhase(const CliRequest& request);
PhaseSearch DataPhase(const CliRequest& request);

// The rows of a phase, in listing order. Each run of the source runs the search again
// (the table runs it twice) and stops it when the visitor returns false.
RowSource SearchRows(const PhaseSearch& phase);

// The best row of a phase by the rule of calc/best_setting.h, preferring
// preferredPrescaler first when it is not 0; found is false when there is no row.
BestSetting BestOfPhase(const PhaseSearch& phase, int32_t preferredPrescaler);
