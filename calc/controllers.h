// The CAN controllers Quillmere knows, as data: one entry per controller, read by one
// search (bit_timing_search.h) and one register model (register_layout.h). Adding a
// controller is adding an entry to the table in controllers.cpp.
//
// Every number counts in the clock the user types for that controller (the entry's
// `clock`): the prescaler is the divider of that clock per time quantum, so the
// MCP2515's and SJA1000's, which count pairs of oscillator periods, are 2, 4, ..., 128.
#pragma once

#include "calc/bit_timing_search.h"
#include "calc/register_layout.h"

#include <cstdint>

// Rules beyond the ranges, as bits of PhaseLimits::rules.
constexpr unsigned kRuleSeg1AtLeastSeg2 = 1;  // prop + phase1 >= phase2 (MCP2515 datasheet §5.3)
constexpr unsigned kRuleSjwBelowSeg2 = 2;     // phase2 > SJW, strictly (MCP2515 datasheet §5.3)

// One phase of a controller (the nominal phase, or an FD controller's data phase).
struct PhaseLimits {
  FieldRange prescaler;   // the divider of the typed clock per quantum
  int32_t prescalerStep;  // 2 where the divider counts pairs of periods
  FieldRange seg1;        // prop + phase1
  FieldRange seg2;
  FieldRange sjw;
  // Where seg1 is kept in two fields, their ranges; prop.first > prop.last (an empty
  // range) where seg1 is one field.
  FieldRange prop;
  FieldRange phase1;
  unsigned rules;  // kRule... bits
  const Register* const* registers;  // the registers that hold the setting; null: none
  int32_t registerCount;
};

constexpr FieldRange kNoSplit{1, 0};

// How an FD controller's transmitter delay compensation offset counts.
enum class TdcCount {
  kNone,          // no TDC offset to set (classic controllers, USB adapters)
  kSeg1Quanta,    // dbrp x dseg1 clock periods, sync segment left out (ST's FDCAN advice)
  kFromBitStart,  // dbrp x (1 + dseg1) clock periods: absolute, sync segment included
};

struct TdcConvention {
  TdcCount count;
  FieldRange offset;  // the offsets the register takes
  const char* text;   // what the offset counts, for the listing of controllers
};

struct ControllerEntry {
  const char* name;    // --controller's: "mcp2515"
  const char* vendor;  // for grouping: "Microchip"
  const char* chips;   // "MCP2515, MCP25625"
  const char* clock;   // the clock the user types: "oscillator (OSC1)"
  int32_t fixedClockKHz;  // a clock the controller always has (USB adapters); 0: none
  PhaseLimits nominal;
  bool fd;             // has a data phase
  PhaseLimits data;    // valid when fd
  TdcConvention tdc;
  const char* source;  // where the numbers come from
};

// The table, in the order --controller list prints it.
int32_t ControllerCount();
const ControllerEntry& ControllerAt(int32_t index);
// The entry named name, or null.
const ControllerEntry* FindController(const char* name);
// The two entries whose answers keep their older form (the window's bxCAN rows, the
// FDCAN rows with NBTP and DBTP).
const ControllerEntry& BxCanController();
const ControllerEntry& FdcanController();
bool KeepsOlderForm(const ControllerEntry& entry);

// Linux's split of seg1 (prop = seg1 / 2 rounded down, phase1 the rest), then moved
// into the fields' ranges (a phase1 above its range gives its excess to prop, as the
// FlexCAN driver does, and the other way round). False when no split fits; where seg1
// is one field, prop and phase1 are 0 and it always fits.
bool SplitSeg1(const PhaseLimits& limits, int32_t seg1, int32_t& prop, int32_t& phase1);
// The widest SJW the phase's rules allow for seg1/seg2: at most sjw.last, seg2 and
// phase1 (seg1 where it is one field), below seg2 with kRuleSjwBelowSeg2. 0 when the
// pair breaks a rule or no split fits: then no SJW makes it a setting.
int32_t WidestSjw(const PhaseLimits& limits, int32_t seg1, int32_t seg2);

// The question one phase puts to the search: its limits, and the SJW asked for (0:
// each row takes WidestSjw). Lives as long as the ranges made from it.
struct PhaseQuestion {
  const PhaseLimits* limits;
  int32_t sjw;
};
// The ranges the search walks for question: the limits, with a filter that leaves out
// each seg1/seg2 pair whose split does not fit, that breaks a rule, or whose widest SJW
// is below the one asked for.
TimingRanges SearchRanges(const PhaseQuestion& question);

// A listed record's lengths in limits: its SJW, and prop and phase1 by SplitSeg1.
BitTimingLengths ControllerLengths(const PhaseLimits& limits, const TimingCandidate& record, int32_t sjw);
// The phase's register values of lengths, values[i] for limits.registers[i] (at most
// kMaxPhaseRegisters).
constexpr int32_t kMaxPhaseRegisters = 4;
void EncodePhaseRegisters(const PhaseLimits& limits, const BitTimingLengths& lengths, uint32_t* values);

// The TDC offset of a data setting by the controller's convention, where it applies:
// a data prescaler of 1 or 2 (ISO 11898-1 §11.3.3) and an offset within tdc.offset;
// -1 elsewhere, and for a controller without TDC.
int32_t TdcOffsetOf(const ControllerEntry& entry, const BitTimingLengths& data);
