// The warnings beside a best setting (--best): the answer meets the request, but a bus
// built on it is at risk. The companion writes each as "quillmere-cli: warning: TEXT"
// on standard error (BestWarningText); the page says the same from the record's
// figures, in its own words and language (BestWarningName and the fields).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "answers/request/request.h"
#include "answers/rows/output_options.h"
#include "calc/bus_tolerance.h"

enum class BestWarningKind {
  kToleranceZero,        // "tolerance-zero": the oscillators have no room at all
  kBusShorterThanAsked,  // "bus-shorter-than-asked": longestM < askedM (-1: no bus)
  kErrorAboveTolerance,  // "error-above-tolerance": error > tolerance
  kFewQuanta,            // "few-quanta": quanta < 8, coarse resynchronisation
  kNoTdc,                // "no-tdc": no TDC, and the sample point comes before the bits return
  kTdcUnusable,          // "tdc-unusable": the same, with TDC the setting cannot use (verdict)
};

// Which answer the warning is about: a classic controller's only setting, an FD
// controller's nominal or data setting, or an FD pair's two together (its tolerance).
enum class WarnedPhase { kOnly, kNominal, kData, kPair };

struct BestWarning {
  BestWarningKind kind = BestWarningKind::kToleranceZero;
  WarnedPhase phase = WarnedPhase::kOnly;
  int64_t longestM = -1;         // kBusShorterThanAsked
  int64_t askedM = 0;            // kBusShorterThanAsked: --bus-length
  std::string errorText;         // kErrorAboveTolerance: the error as the row shows it, "1.16279"
  std::string toleranceText;     // kToleranceZero, kErrorAboveTolerance: "0.28", rounded down
  int32_t quanta = 0;            // kFewQuanta
  std::string dataRateText;      // kNoTdc, kTdcUnusable: "5000"
  int32_t nodeDelayNs = 0;       // kNoTdc, kTdcUnusable
  std::string controller;        // kNoTdc, kTdcUnusable: the controller's name
  TdcVerdict verdict = TdcVerdict::kApplies;  // kTdcUnusable: kPrescalerAboveTwo or kOffsetOutOfRange
  int32_t tdcOffset = 0;         // kTdcUnusable with kOffsetOutOfRange: the offset the rule counts
};

// In this order, phase by phase (the pair's tolerance once, with the nominal phase):
// a tolerance that shows as 0.00%; a longest bus below --bus-length (the nominal
// phase's); a rate error larger than the tolerance shown beside it (an FD pair's: the
// pair's); fewer than 8 quanta per bit; at 1000 Kbps and above, a data setting that
// cannot check its own bits: without TDC (none, or none it can use), its bit comes back
// after its sample point (calc/controllers.h). Only for a best answer, not a decode:
// the phases of RowsOfAnswer (answers/answer.h), each holding its best row, and an FD
// pair's tolerance (null unless paired); none for no phase.
std::vector<BestWarning> BestWarnings(const Request& request, const PhaseOutput* phases, int count,
                                      const Tolerance* pairTolerance);

// A best phase's target sample point that its row does not meet exactly: the phase,
// the target as given ("87.5") and the row's sample point as the rows show it ("85.7"),
// the nearest achievable among the settings with the smallest error.
struct TargetSamplePointNote {
  bool data = false;        // --data-target-sample-point's
  std::string targetText;   // percent, at most six decimals, no trailing zeros
  std::string nearestText;  // percent, rounded to 0.1 points
};

// One note a best phase whose target (--target-sample-point, --data-target-sample-point)
// its row does not meet exactly; none where the row meets it, or no target was given.
// Same phases as above.
std::vector<TargetSamplePointNote> TargetSamplePointNoteFacts(const Request& request, const PhaseOutput* phases,
                                                              int count);

// The companion's line for each of those notes: "the sample point nearest
// --target-sample-point 87.5 among the settings with the smallest error is 85.7%".
std::vector<std::string> TargetSamplePointNotes(const Request& request, const PhaseOutput* phases, int count);

// The companion's line, without its "quillmere-cli: warning: " prefix.
std::string BestWarningText(const BestWarning& warning);

// The kind's name, as the page's reply carries it: "tolerance-zero", ...
const char* BestWarningName(BestWarningKind kind);
// The phase's name in the page's reply: "", "nominal", "data" or "pair".
const char* WarnedPhaseName(WarnedPhase phase);
