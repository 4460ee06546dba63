// What a face asks of the answers: the search inputs, what to do with the result, and
// the output format. The companion fills it from its arguments, the page from its fields.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "calc/bus_tolerance.h"
#include "calc/controllers.h"

// The text forms, then the code to paste: ST's libraries (hal, spl), the register
// values in C, an `ip link` line, Zephyr's struct can_timing, python-can's BitTiming and
// ESP-IDF's twai_timing_config_t.
enum class OutputFormat { kTable, kTsv, kCsv, kJson, kHal, kSpl, kRegisters, kLinux, kZephyr, kPythonCan, kEspIdf };

// One node of a bus plan (--node NAME=CONTROLLER@MHZ), as CheckRequest reads it.
struct PlanNode {
  std::string name;  // letters, digits, - and _; unique on the bus
  const ControllerEntry* controller = nullptr;
  std::shared_ptr<const ControllerEntry> customController;  // a custom: node's entry
  int32_t clockKHz = 0;
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
// the output format. For FDCAN the plain inputs are the nominal phase's and the
// data... ones the data phase's, which is asked for with --data-rate. The ...Given
// flags say what was asked for; CheckRequest (request_check.h) refuses what does not go
// together and fills in the defaults.
struct Request {
  // The controller asked for: an entry of the table (calc/controllers.h), or a
  // custom: entry, which customController then holds (copies share it).
  const ControllerEntry* controller = &BxCanController();
  std::shared_ptr<const ControllerEntry> customController;
  bool listControllers = false;  // --controller list: the table instead of an answer
  int32_t clockKHz = 42000;
  bool clockGiven = false;    // --clock, or the page's clock field not empty
  float targetRate = 500.0f;
  bool rateGiven = false;
  float minSamplePoint = 0.4f;
  bool samplePointGiven = false;
  int32_t tolerancePercent = 0;
  bool toleranceGiven = false;
  int32_t sjw = 1;            // quanta (bxCAN 1 to 4, FDCAN 1 to 128); seg1, seg2 >= SJW
  bool sjwGiven = false;      // FDCAN without it: each row's SJW is min(seg1, seg2)
  bool dataPhase = false;     // --data-rate given
  float dataRate = 0.0f;
  float dataMinSamplePoint = 0.0f;  // unless given: the nominal phase's
  bool dataSamplePointGiven = false;
  int32_t dataTolerancePercent = 0;  // unless given: the nominal phase's
  bool dataToleranceGiven = false;
  int32_t dataSjw = 1;        // quanta, 1 to 16
  bool dataSjwGiven = false;  // without it: each row's SJW is min(seg1, seg2)
  BusConditions bus;          // for the tolerance and the longest bus
  int64_t minTolerance = -1;  // millionths of a percent; -1: no --min-tolerance
  bool wide = false;          // tsv and csv: the register, tolerance, bus (and TDC) columns too
  bool page = false;          // the page's grid: its own columns too (OutputOptions::page)
  bool best = false;          // one setting instead of the listing
  bool decode = false;        // one register value read instead of a search:
  uint32_t decodeValue = 0;   // CAN_BTR, or FDCAN's NBTP; without reserved bits
  bool decodeData = false;    // FDCAN's DBTP read, alone or with decodeValue
  uint32_t decodeDataValue = 0;
  // A table controller's registers as read (--decode, --decode-data): NAME=VALUE
  // pairs, or one bare value. CheckRequest matches them to the phase's registers and
  // fills decodeValues (decodeDataValues) in the order of PhaseLimits::registers.
  std::vector<RegisterEntry> decodeEntries;
  std::vector<RegisterEntry> decodeDataEntries;
  uint32_t decodeValues[kMaxPhaseRegisters] = {};
  uint32_t decodeDataValues[kMaxPhaseRegisters] = {};
  OutputFormat format = OutputFormat::kTable;
  // --plan: one setting per node for the whole bus (answers/bus_plan.h). The nodes'
  // texts as typed; CheckRequest reads them into nodes.
  bool plan = false;
  std::vector<std::string> nodeTexts;
  std::vector<PlanNode> nodes;
  int64_t samplePointSpread = 2000000;  // millionths of a percentage point (2 points)
  bool spreadGiven = false;
};
