// What the companion's writers take: the rows, and how to write them.
#pragma once

#include <cstdint>
#include <functional>

#include "calc/timing.h"
#include "cli/bit_timing_register.h"
#include "cli/command_line.h"

// Hands every row to visit, in order, until visit returns false. A source may be run
// more than once (the table measures its columns first) and gives the same rows each
// time.
using RowVisitor = std::function<bool(const TimingCandidate&)>;
using RowSource = std::function<void(const RowVisitor&)>;

struct OutputOptions {
  OutputFormat format = OutputFormat::kTable;
  int32_t sjw = 1;          // quanta, written into CAN_BTR
  bool decoded = false;     // a decoded value: SJW and mode columns follow CAN_BTR
  uint32_t modeBits = 0;    // kLoopBackBit, kSilentBit: into CAN_BTR, and named
  bool errorKnown = true;   // false: the error shows "-" (json: null)
};

// The CAN_BTR value a row is written with.
inline uint32_t RowRegister(const TimingCandidate& record, const OutputOptions& options) {
  return BitTimingRegister(record, options.sjw) | options.modeBits;
}
