// What a face asks of the answers: the search inputs, what to do with the result, and
// the output format. The companion fills it from its arguments, the page from its fields.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "calc/bus_tolerance.h"
#include "calc/controllers.h"
#include "calc/output_formats.h"


// The most nodes a plan takes (--node): a CAN bus's transceivers carry 32 to 110, and the
// planner's work grows with the nodes (answers/plan/bus_plan.h bounds the rest). The
// refusal's line (kPlanManyNodes), --help, docs/companion.md and the man page say 64.
constexpr int kMaxPlanNodes = 64;
// The largest clock accuracy a plan takes (--clock-accuracy, a node's ppm=): 10%.
constexpr int32_t kMaxClockAccuracyPpm = 100000;

// A node's fixed setting of one phase (setting=, dsetting=): the prescaler and seg1 and
// seg2 in quanta, as the node's listing shows them. Given as the phase's register
// values (registers=, dregisters=), the setting is theirs, the text as typed is kept
// for the plan to name, and the node's SJW of the phase is the registers' own.
struct FixedSetting {
  bool fixed = false;
  int32_t prescaler = 0;
  int32_t seg1 = 0;
  int32_t seg2 = 0;
  std::string registers;  // registers= (dregisters=) as typed; empty for setting=
};

// One node of a bus plan (--node NAME=CONTROLLER@MHZ), as CheckRequest reads it.
struct PlanNode {
  std::string name;  // letters, digits, - and _; unique on the bus
  const ControllerEntry* controller = nullptr;
  std::shared_ptr<const ControllerEntry> customController;  // a custom: node's entry
  int32_t clockKHz = 0;
  // NAME=CONTROLLER@MHZ,sjw=N,dsjw=N,ppm=N,form=FORM,setting=P/S1/S2,dsetting=P/S1/S2,
  // registers=VALUES,dregisters=VALUES: what the node says of itself.
  int32_t sjw = 0;       // quanta; 0: the widest each setting allows
  int32_t dataSjw = 0;   // the data phase's, FD nodes
  int32_t ppm = -1;      // clock accuracy in ppm; -1: the request's (--clock-accuracy)
  bool formGiven = false;  // its own code form, in place of --format's when that is one
  OutputFormat form = OutputFormat::kTable;
  // A device nobody can change: its setting of the phase is this one, each a setting
  // its controller's search takes (FD controllers' data phase: dsetting=), or read from
  // its register values (registers=, dregisters=).
  FixedSetting setting;
  FixedSetting dataSetting;
};

// One register value of a decode as the companion read it: the name as typed (empty
// for a bare value), the value, and the pair as typed for the refusals to show
// ("CNF2=0xB5"; the reader lets through only names of letters, digits and "_").
struct RegisterEntry {
  std::string name;
  uint32_t value = 0;
  std::string text;
};

// The search inputs as the window would pass them, what to do with the result, and
// the output format. For an FD controller the plain inputs are the nominal phase's and
// the data... ones the data phase's, which is asked for with --data-rate. The ...Given
// flags say what was asked for; CheckRequest (request_check.h) refuses what does not go
// together and fills in the defaults.
struct Request {
  // The controller asked for: an entry of the table (calc/controllers.h), or a
  // custom: entry, which customController then holds (copies share it).
  const ControllerEntry* controller = &DefaultController();
  std::shared_ptr<const ControllerEntry> customController;
  bool listControllers = false;  // --controller list: the table instead of an answer
  int32_t clockKHz = 42000;
  bool clockGiven = false;    // --clock, or the page's clock field not empty
  float targetRate = 500.0f;
  bool rateGiven = false;
  float minSamplePoint = 0.4f;
  bool samplePointGiven = false;
  int32_t toleranceHundredths = 0;  // hundredths of a percent, 0 to 10000: 11 is 0.11%
  bool toleranceGiven = false;
  int32_t sjw = 1;            // quanta, within the controller's SJW range; seg1, seg2 >= SJW
  bool sjwGiven = false;      // without it: each row's SJW is the controller's default (DefaultSjw)
  bool dataPhase = false;     // --data-rate given
  float dataRate = 0.0f;
  float dataMinSamplePoint = 0.0f;  // unless given: the nominal phase's
  bool dataSamplePointGiven = false;
  int32_t dataToleranceHundredths = 0;  // unless given: the nominal phase's
  bool dataToleranceGiven = false;
  int32_t dataSjw = 1;        // quanta, within the controller's data SJW range
  bool dataSjwGiven = false;  // without it: each row's SJW is the controller's default
  BusConditions bus;          // for the tolerance and the longest bus
  int64_t minTolerance = -1;  // millionths of a percent; -1: no --min-tolerance
  bool wide = false;          // tsv and csv: the register, tolerance, bus (and TDC) columns too
  bool page = false;          // the page's grid: its own columns too (OutputOptions::page)
  bool best = false;          // one setting instead of the listing
  bool strict = false;        // --strict: a warning of the best or the plan fails the run
  bool decode = false;        // the nominal phase's registers read instead of a search
  bool decodeData = false;    // an FD controller's data registers read, alone or with them
  // The registers as read (--decode, --decode-data): NAME=VALUE pairs, or one bare
  // value. CheckRequest matches them to the phase's registers and fills decodeValues
  // (decodeDataValues) in the order of PhaseLimits::registers; an older form's bare
  // value (ControllerTraits::olderForm) is read straight into values[0], without
  // reserved bits.
  std::vector<RegisterEntry> decodeEntries;
  std::vector<RegisterEntry> decodeDataEntries;
  uint32_t decodeValues[kMaxPhaseRegisters] = {};
  uint32_t decodeDataValues[kMaxPhaseRegisters] = {};
  OutputFormat format = OutputFormat::kTable;
  // --plan: one setting per node for the whole bus (answers/plan/bus_plan.h). The nodes'
  // texts as typed; CheckRequest reads them into nodes.
  bool plan = false;
  std::vector<std::string> nodeTexts;
  std::vector<PlanNode> nodes;
  int64_t samplePointSpread = 2000000;  // millionths of a percentage point (2 points)
  bool spreadGiven = false;
  // The plan's target sample points in millionths of a percent, 50 to 100; -1: the
  // advice for the phase's rate (calc/best_setting.h).
  int64_t targetSamplePoint = -1;
  int64_t dataTargetSamplePoint = -1;
  int32_t clockAccuracyPpm = 100;  // each node's oscillator, unless the node says (ppm=)
  bool clockAccuracyGiven = false;
};
