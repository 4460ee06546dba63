// What the companion's writers take: the rows, and how to write them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "calc/bus_tolerance.h"
#include "calc/register_layout.h"
#include "calc/candidate_cells.h"
#include "calc/timing.h"
#include "answers/request.h"

// Hands every row to visit, in order, until visit returns false. A source may be run
// more than once (the table measures its columns first) and gives the same rows each
// time.
using RowVisitor = std::function<bool(const TimingCandidate&)>;
using RowSource = std::function<void(const RowVisitor&)>;

// Which register and names a row is written with: bxCAN's, or one of FDCAN's phases.
enum class Phase { kBxCan, kNominal, kData };

struct OutputOptions {
  OutputFormat format = OutputFormat::kTable;
  Phase phase = Phase::kBxCan;
  int32_t sjw = 1;          // quanta, written into the register; 0 (FDCAN): each row's seg2
  bool decoded = false;     // a decoded value: SJW (and bxCAN's mode, DBTP's TDC) columns follow
  uint32_t modeBits = 0;    // kLoopBackBit, kSilentBit (bxCAN), DBTP's TDC bit: into the register, and named
  bool errorKnown = true;   // false: the error shows "-" (json: null)
  bool continued = false;   // a second phase after a first: no csv header, a blank line first
  bool wide = false;        // tsv and csv: the columns the table has beyond the window's
  bool page = false;        // the page's grid: bxCAN's and FDCAN's Tq (ns) too, which only
                            // the page shows (the companion's forms keep their columns)
  int32_t clockKHz = 42000; // for the tolerance and the longest bus
  BusConditions bus;
  // A controller beyond bxCAN and FDCAN (calc/controllers.h), whose rows are written
  // by its limits and registers: phase kNominal or kData then. Null: bxCAN's or FDCAN's
  // rows, by phase, in their older form.
  const ControllerEntry* controller = nullptr;
  // A table controller's decoded row (decoded true): the register values as given,
  // flags and all, values[i] for LimitsOf()->registers[i], and the lengths they hold,
  // which the row shows instead of the split a listing makes of its seg1.
  uint32_t decodedRegisters[kMaxPhaseRegisters] = {};
  BitTimingLengths decodedLengths{0, 0, 0, 0};
};

// Whether the row names its segments by their number of quanta (every controller but
// bxCAN, whose rows keep the window's library names).
bool IsFdcan(const OutputOptions& options);
// Whether the rows stand in a phase's array ({"nominal": [...], "data": [...]}): FDCAN
// and the other FD controllers.
bool InPhases(const OutputOptions& options);
// The limits of the row's phase for a table controller; null for the older forms.
const PhaseLimits* LimitsOf(const OutputOptions& options);
// The register values of a table controller's row, values[i] for LimitsOf()->registers[i]
// (a decoded row's as given); the count of them (0 for bxCAN, FDCAN and a controller
// without registers).
int32_t RowRegisters(const TimingCandidate& record, const OutputOptions& options, uint32_t* values);
// The SJW a row is written with: the one asked for, else FDCAN's shorter segment or a
// table controller's widest (WidestSjw).
int32_t RowSjw(const TimingCandidate& record, const OutputOptions& options);
// The register a row is written with: CAN_BTR, NBTP or DBTP (calc/registers.h).
const Register& RegisterOf(const OutputOptions& options);
// The register value a row is written with: CAN_BTR, NBTP or DBTP, with modeBits.
uint32_t RowRegister(const TimingCandidate& record, const OutputOptions& options);
// The setting of a row, with the SJW it is written with (and, where the controller
// keeps seg1 in two fields, its prop and phase1: a decoded row's own).
BitTimingLengths RowLengths(const TimingCandidate& record, const OutputOptions& options);
// The oscillator tolerance of a row (calc/bus_tolerance.h): conditions 1 and 2 for
// bxCAN and the nominal phase, condition 3 for the data phase.
Tolerance RowTolerance(const TimingCandidate& record, const OutputOptions& options);
// The cells of a run of rows, the window's, with the segments named as the phase
// names them; each row's are made from the row's before (UpdateCandidateCells).
struct RowCells {
  bool made = false;
  TimingCandidate last;
  CandidateCells cells;
};
const CandidateCells& CellsOf(RowCells& run, const TimingCandidate& record, const OutputOptions& options);
// The names of the flags a table controller's decoded row sets, in register order,
// joined by sep ("SAM"); "" when none is set or the row is no decoded one.
std::string RowFlagNames(const OutputOptions& options, const char* sep);
// "nominal" or "data" for FDCAN's phases.
const char* PhaseName(const OutputOptions& options);
