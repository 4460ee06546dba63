// The searches the companion runs: each phase's question, its rows streamed from the
// search to the writer as they are found, and its best setting. Nothing is stored, so
// a listing of millions of rows takes little memory.
#pragma once

#include "answers/request/request.h"
#include "answers/rows/output_options.h"
#include "calc/best_setting.h"
#include "calc/bit_timing_search.h"

// One phase: the ranges it searches, the question put to it, how its rows are
// written, and the least tolerance a row must have.
struct PhaseSearch {
  TimingRanges ranges;
  // The controller's phase: its limits and the SJW asked for, which the ranges' pair
  // filter reads (SearchRanges).
  PhaseQuestion question;
  PrescalerScan scan;
  TimingRequest request;
  OutputOptions options;
  int64_t minTolerance;  // millionths of a percent; -1: every row
  // The sample point the best row is nearest among equal errors, in millionths of a
  // percent (--target-sample-point); -1: the advice for the rate (calc/best_setting.h).
  int64_t targetSamplePoint = -1;
};

// The search for entry's phase (kNominal, or kData for an FD controller): the
// controller's limits with the prescaler step and the pair filter (calc/controllers.h),
// scanned as its traits say (the window's bxCAN rows every prescaler, the others only
// those that can pass: the same rows). Without --sjw (--data-sjw) each row takes the
// controller's default SJW (DefaultSjw); with it, pairs that cannot take it are left out.
PhaseSearch ControllerPhase(const Request& request, const ControllerEntry& entry, Phase phase);

// The rows of a phase, in listing order, without those below the least tolerance.
// Each run of the source runs the search again (the table runs it twice) and stops it
// when the visitor returns false.
RowSource SearchRows(const PhaseSearch& phase);

// The best row of a phase by the rule of calc/best_setting.h, preferring
// preferredPrescaler among equal errors when it is not 0, and with the phase's target
// sample point, where it has one, in place of the advice; found is false when there is
// no row.
BestSetting BestOfPhase(const PhaseSearch& phase, int32_t preferredPrescaler);
