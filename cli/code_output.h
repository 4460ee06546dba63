// Settings as code to paste into an STM32 program's CAN set-up: the hal form for ST's
// HAL (hcan.Init), the spl form for the older Standard Peripheral Library
// (CAN_InitStructure).
#pragma once

#include "cli/output_options.h"
#include "cli/output_sink.h"

// One block per row, blocks separated by a blank line. A block opens with a comment
// giving the actual rate, the sample point, the error and CAN_BTR, then sets the
// prescaler, SJW, BS1 and BS2, and the mode when options.modeBits has one.
void WriteCode(const RowSource& rows, const OutputOptions& options, OutputSink& sink);
