// The searches the companion runs: each phase's question, its rows streamed from the
// search to the writer as they are found, and its best setting. Nothing is stored, so
// a listing of millions of rows takes little memory.
#pragma once

#include "answers/request.h"
#include "answers/output_options.h"
#include "calc/best_setting.h"
#include "calc/bit_timing_search.h"

// One phase: the ranges it searches, the question put to it, how its rows are
// written, and the least tolerance a row must have.
struct PhaseSearch {
  TimingRanges ranges;
  // A table controller's phase: its limits and the SJW asked for, which the ranges'
  // pair filter reads (SearchRanges); limits null for bxCAN and FDCAN.
  PhaseQuestion question;
  PrescalerScan scan;
  TimingRequest request;
  OutputOptions options;
  int64_t minTolerance;  // millionths of a percent; -1: every row
};

// bxCAN: every prescaler of every pair, as the window's search. FDCAN's nominal and
// data phases: only the prescalers that can pass scanned (the same rows as every
// prescaler). Rows whose seg1 or seg2 (BS1 or BS2) is shorter than a given SJW are
// left out: the jump may exceed neither phase segment.
PhaseSearch BxCanPhase(const Request& request);
PhaseSearch NominalPhase(const Request& request);
PhaseSearch DataPhase(const Request& request);

// A table controller's nominal phase, or its data phase (FD controllers): the
// controller's limits with the prescaler step and the pair filter (calc/controllers.h),
// only the prescalers that can pass scanned. Without --sjw (--data-sjw) each row takes
// the widest SJW the controller's rules allow; with it, pairs that cannot take it are
// left out.
PhaseSearch ControllerPhase(const Request& request, const ControllerEntry& entry, Phase phase);

// The rows of a phase, in listing order, without those below the least tolerance.
// Each run of the source runs the search again (the table runs it twice) and stops it
// when the visitor returns false.
RowSource SearchRows(const PhaseSearch& phase);

// The best row of a phase by the rule of calc/best_setting.h, preferring
// preferredPrescaler among equal errors when it is not 0; found is false when there
// is no row.
BestSetting BestOfPhase(const PhaseSearch& phase, int32_t preferredPrescaler);
