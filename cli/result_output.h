// The companion's output: the accepted settings in the table, tsv, csv or json form.
#pragma once

#include <cstdint>
#include <string>

#include "calc/timing.h"
#include "cli/command_line.h"

// The CAN_BTR value of a setting with SJW 1 tq (field 0): (BS2 - 1) << 20 |
// (BS1 - 1) << 16 | (prescaler - 1), each in its field; the mode and SJW bits stay 0.
uint32_t BitTimingRegister(const TimingCandidate& record);

// Appends every record of the store to out, in store order, in the given format; the
// cells are those of the window's table. UTF-8 throughout; empty stores give the
// header alone (table, csv), nothing (tsv) or "[]" (json).
void WriteResult(const CandidateList& store, OutputFormat format, std::string& out);
