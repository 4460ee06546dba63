// What the companion's writers take: the rows, and how to write them: the controller,
// whose entry (calc/controllers.h) says how its rows look, the phase, the form.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "calc/bus_tolerance.h"
#include "calc/register_layout.h"
#include "calc/candidate_cells.h"
#include "calc/timing.h"
#include "answers/request/request.h"

// Hands every row to visit, in order, until visit returns false. A source may be run
// more than once (the table measures its columns first) and gives the same rows each
// time.
using RowVisitor = std::function<bool(const TimingCandidate&)>;
using RowSource = std::function<void(const RowVisitor&)>;
// One row.
RowSource SingleRow(const TimingCandidate& record);

// The phase a row belongs to: the nominal one (every classic controller's only one),
// or an FD controller's data phase.
enum class Phase { kNominal, kData };

struct OutputOptions {
  OutputFormat format = OutputFormat::kTable;
  Phase phase = Phase::kNominal;
  int32_t sjw = 1;          // quanta, written into the register; 0: the controller's default (DefaultSjw)
  bool decoded = false;     // a decoded value: SJW (and bxCAN's mode, DBTP's TDC) columns follow
  uint32_t modeBits = 0;    // an older form's decoded flags (bxCAN's kLoopBackBit, kSilentBit, DBTP's TDC bit): into the register, and named
  bool errorKnown = true;   // false: the error shows "-" (json: null)
  bool continued = false;   // a second phase after a first: no csv header, a blank line first
  bool best = false;        // --best's one row, not a listing's
  bool wide = false;        // tsv and csv: the columns the table has beyond the window's
  bool page = false;        // the page's grid: bxCAN's and FDCAN's Tq (ns) too, which only
                            // the page shows (the companion's forms keep their columns)
  int32_t clockKHz = 42000; // for the tolerance and the longest bus
  BusConditions bus;
  // The controller whose rows these are (calc/controllers.h): its limits, registers
  // and traits say how they are written. Never null.
  const ControllerEntry* controller = &DefaultController();
  // A decoded row (decoded true): the register values as given, flags and all,
  // values[i] for LimitsOf().registers[i], and the lengths they hold, which the row
  // shows instead of the split a listing makes of its seg1.
  uint32_t decodedRegisters[kMaxPhaseRegisters] = {};
  BitTimingLengths decodedLengths{0, 0, 0, 0};
};

// Whether the row names its segments by their number of quanta (its controller's
// segmentNames; bxCAN's rows keep the window's library names).
bool NamesInQuanta(const OutputOptions& options);
// Whether the row keeps its controller's older form (ControllerTraits::olderForm).
bool OlderForm(const OutputOptions& options);
// Which face of the columns the row shows (row_columns.h): 0 the window's, whose
// segments are the library's constants; 1 a nominal phase's; 2 a data phase's.
int FaceIndex(const OutputOptions& options);
// Whether the rows stand in a phase's array ({"nominal": [...], "data": [...]}): an
// FD controller's.
bool InPhases(const OutputOptions& options);
// The limits of the row's phase.
const PhaseLimits& LimitsOf(const OutputOptions& options);
// The register values of a row, values[i] for LimitsOf().registers[i] (a decoded row's
// as given; an older form's without its modeBits); the count of them (0 for a
// controller without registers).
int32_t RowRegisters(const TimingCandidate& record, const OutputOptions& options, uint32_t* values);
// Whether the rows are the window's table, bxCAN's listing in the table form (or the
// narrow tsv and csv, the window's copy), whose register, tolerance and longest bus
// keep the window's SJW of 1 where none is asked for; every other row (--best's, the
// wide forms', json's, code's, the page's) takes the widest.
bool KeepsWindowSjw(const OutputOptions& options);
// The SJW a row is written with: the one asked for, else 1 in the window's table
// (KeepsWindowSjw), else its controller's default (DefaultSjw).
int32_t RowSjw(const TimingCandidate& record, const OutputOptions& options);
// The register an older form's row is written with, its phase's only one: CAN_BTR,
// NBTP or DBTP (calc/registers.h).
const Register& RegisterOf(const OutputOptions& options);
// The register value an older form's row is written with, with modeBits.
uint32_t RowRegister(const TimingCandidate& record, const OutputOptions& options);
// The setting of a row, with the SJW it is written with (and, where the controller
// keeps seg1 in two fields, its prop and phase1: a decoded row's own).
BitTimingLengths RowLengths(const TimingCandidate& record, const OutputOptions& options);
// The oscillator tolerance of a row (calc/bus_tolerance.h): conditions 1 and 2 for
// the nominal phase, condition 3 for the data phase.
Tolerance RowTolerance(const TimingCandidate& record, const OutputOptions& options);
// The cells of a run of rows, the window's, with the segments named as the phase
// names them; each row's are made from the row's before (UpdateCandidateCells).
struct RowCells {
  bool made = false;
  TimingCandidate last;
  CandidateCells cells;
};
const CandidateCells& CellsOf(RowCells& run, const TimingCandidate& record, const OutputOptions& options);
// The names of the flags a plain form's decoded row sets, in register order,
// joined by sep ("SAM"); "" when none is set or the row is no decoded one.
std::string RowFlagNames(const OutputOptions& options, const char* sep);
// "nominal" or "data" for an FD controller's phases.
const char* PhaseName(const OutputOptions& options);

// The first row of a source into record (a best phase's only one), the search stopped
// there; false, record untouched, for a source without rows.
bool FirstRow(const RowSource& rows, TimingCandidate& record);

// One phase of an answer (an FD controller's nominal or data phase, or a classic
// controller's only one): its rows and how to write them.
struct PhaseOutput {
  RowSource rows;
  OutputOptions options;
};
