// Settings as code to paste where the setting goes, one writer for every form, each
// form a dialect of it (a row of its table): hal and spl for ST's libraries (hcan.Init,
// FDCAN's hfdcan.Init; the older CAN_InitStructure), registers (the register values in
// C, by the manual's names), linux (an `ip link` line), zephyr (struct can_timing),
// python-can (can.BitTiming, can.BitTimingFd) and esp-idf (twai_timing_config_t).
#pragma once

#include "answers/rows/output_options.h"
#include "answers/writers/output_sink.h"

// One block per row, blocks separated by a blank line (and one before the first when
// options.continued). A block opens with a comment giving the actual rate, the sample
// point, the error (hal, spl: the register value) and the tolerance, then sets the
// setting in options.format's form. An FD controller's phase alone, in the linux and
// python-can forms (which take both phases at once), is written as the options of its
// phase to join with the other's. Returns whether there was a row.
bool WriteCode(const RowSource& rows, const OutputOptions& options, OutputSink& sink);

// The phases of an answer (at most two) in a code form, as WritePhases writes them:
// blocks one after the other; with pairTolerance (a best nominal/data pair), the linux
// and python-can forms write the pair as one line, and every form ends with a comment
// giving the pair's oscillator tolerance.
void WriteCodePhases(const PhaseOutput* phases, int count, const Tolerance* pairTolerance, OutputSink& sink);

// One controller's setting in a form, for a caller that has its rows already (the bus
// planner writes one such block per node): nominal (for a classic controller its only
// phase) with its options, and for an FD controller's pair data with its options
// (dataOptions null: the nominal phase alone). Each options' format must be form. The
// pair's oscillator tolerance is computed here. Returns false and writes nothing when
// the controller (options.controller) has
// no such form (answers/request/code_forms.h).
bool WriteSettingForm(OutputFormat form, const TimingCandidate& nominal, const OutputOptions& nominalOptions,
                      const TimingCandidate* data, const OutputOptions* dataOptions, OutputSink& sink);
