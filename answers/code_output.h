// Settings as code to paste into an STM32 program's CAN set-up: the hal form for ST's
// HAL (hcan.Init, FDCAN's hfdcan.Init), the spl form for the older Standard Peripheral Library
// (CAN_InitStructure).
#pragma once

#include "answers/output_options.h"
#include "answers/output_sink.h"

// One block per row, blocks separated by a blank line (and one before the first when
// options.continued). A block opens with a comment giving the actual rate, the sample
// point, the error and the register (CAN_BTR, NBTP or DBTP), then sets the prescaler,
// SJW and both segments, and bxCAN's mode when options.modeBits has one. FDCAN's
// phases are written for HAL's hfdcan.Init. Returns whether there was a row.
bool WriteCode(const RowSource& rows, const OutputOptions& options, OutputSink& sink);
