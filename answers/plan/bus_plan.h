// One plan for a whole bus: a setting for every node (--plan, --node), each a row that
// the node's own listing shows for the same request, chosen together by this rule,
// each step deciding only between plans that tie on the ones before:
//   1. every nominal sample point within --sample-point-spread of every other (and
//      every data sample point, on an FD bus);
//   2. the largest bus margin: the smallest oscillator tolerance of any node (its own
//      conditions: 1 and 2 for a classic setting, 1 to 5 for an FD node's nominal/data
//      pair) minus the largest absolute rate error of any node's rows, in percent;
//   3. the smaller nominal sample-point spread, then the smaller data spread;
//   4. the mean nominal sample point nearest the advice for the rate (87.5% up to
//      500 Kbps, 80% up to 800, 75% above: calc/best_setting.h), then the mean data
//      sample point nearest the advice for the data rate;
//   5. on an FD bus, the most nodes whose nominal and data prescaler are equal (one
//      time quantum for both phases);
//   6. the most quanta per bit summed over the nodes (nominal and data);
//   7. each node's first in listing order (nominal, then data), node by node.
// Exact throughout: sample points are the rows' floats as whole multiples of 2^-40, a
// tolerance is a fraction, an error the row's float; margins are compared exactly.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "answers/request/request.h"
#include "answers/rows/output_options.h"

enum class PlanStatus {
  kFound,
  kNodeWithoutSetting,      // blockingNode has no nominal row for the request
  kNodeWithoutDataSetting,  // blockingNode has no data row
  kSpreadTooWide,           // no plan keeps the nominal sample points within the spread
  kDataSpreadTooWide,       // ... the data sample points
  kTooLarge,                // the request is more than the planner weighs (below)
};

// What the planner weighs at most, so that its time and memory are bounded whatever
// the request (a full-range custom: node, a low rate with --sample-point 0 and a wide
// --tolerance, a wide --sample-point-spread). Two counts, past either of which the plan
// is refused as too large to answer (PlanStatus::kTooLarge):
//   - candidates: one row of a classic node, or one nominal/data pair of an FD node (the
//     product of its two listings), at most kMaxPlanSettings over all nodes, counted from
//     the listings' sizes before any pair is made, each listing cut once it passes what
//     is left: memory stays under 16 MB of candidates (about 60 bytes each);
//   - work: every candidate a step visits (a box of step 2, the filter of step 3, the
//     ranges of step 5, the plans of step 6, one per node each), at most kMaxPlanWork.
// Both sit above the largest plans answered before they were set, so every such plan is
// answered as it was: 185 491 candidates (three classic nodes at 20 Kbps, work 216
// million, 13 s on the build machine, most of it step 2's sorts) and work 340 million
// (two FD nodes at 100/4000 Kbps, 144 800 pairs, 4 s). A step of work costs 10 to 60 ns,
// so no plan runs much past 25 s; a faster step 2 would let the work bound come down.
constexpr int64_t kMaxPlanSettings = 250000;
constexpr int64_t kMaxPlanWork = 400000000;

// A margin in percent: numerator / denominator - error. denominator > 0.
struct PlanMargin {
  int64_t numerator;
  int64_t denominator;
  float error;  // at least 0
};

struct PlannedNode {
  const PlanNode* node;  // the request's
  OutputOptions nominalOptions;  // how its listing writes its rows
  OutputOptions dataOptions;     // FD bus only
  TimingCandidate nominal;
  TimingCandidate data;          // FD bus only
  int32_t nominalIndex;          // places in its listings, from 0
  int32_t dataIndex;             // -1 without a data phase
  Tolerance tolerance;           // conditions 1-2, or 1-5 of the pair
  int64_t longestBus;            // metres, -1: not even 0 m
};

struct BusPlan {
  PlanStatus status = PlanStatus::kFound;
  int blockingNode = -1;     // kNodeWithout...: which node
  bool minToleranceAlone = false;  // kNodeWithout...: --min-tolerance left it none
  int64_t closestSpread = 0; // kSpreadTooWide, kDataSpreadTooWide: in sample-point units
  int64_t settings = 0;      // kTooLarge: the candidates counted when the bound was passed,
                             // or 0 when step 6's walk passed its own
  bool fd = false;           // a data rate: every node has a data setting
  std::vector<PlannedNode> nodes;  // kFound: one per request node, in its order
  PlanMargin margin{0, 1, 0.0f};
  int64_t spread = 0;        // sample-point units, highest minus lowest
  int64_t dataSpread = 0;
  int64_t maxBusLength = -1; // the shortest of the nodes' longest buses
};

// Sample points as the plan weighs them: the row's float times 2^40, exact for every
// float from 2^-16 up (a sample point is at least 2 / quanta per bit).
constexpr int kSamplePointUnitBits = 40;
int64_t SamplePointUnits(float samplePoint);
// The most units two sample points may differ by for a spread in millionths of a
// percentage point: diff × 10^8 <= millionths × 2^40, in whole units.
int64_t SpreadUnits(int64_t millionths);

// The plan for a checked request with plan set (CheckRequest filled request.nodes).
BusPlan PlanBus(const Request& request);

// -1, 0, +1 as a is below, equal to or above b, exactly.
int CompareMargins(const PlanMargin& a, const PlanMargin& b);
// The plan's limits are rounded toward safety, as its node tolerances are (PercentText,
// row_columns.h): a limit never shows better than it is, so with no rate error the
// margin reads as the smallest node tolerance does.
// The margin in percent rounded down to hundredths (never more than it is): "0.31%".
std::string MarginText(const PlanMargin& margin);
// A spread in sample-point units as percentage points, rounded up to hundredths, trailing
// zeros dropped (never less than it is): "3.4".
std::string SpreadPointsText(int64_t units);
// Millionths of a point without trailing zeros: 2000000 "2", 2500000 "2.5".
std::string MillionthsText(int64_t millionths);
// A clock in kHz as MHz: 42000 "42", 125 "0.125".
std::string ClockMHzText(int32_t clockKHz);

// The companion's line when no plan exists (without "quillmere-cli: ").
std::string PlanRefusalLine(const BusPlan& plan, const Request& request);
// A stable lower-case name for each status: "found", "node-without-setting",
// "node-without-data-setting", "spread-too-wide", "data-spread-too-wide", "too-large".
const char* PlanStatusName(PlanStatus status);

// The rows of one node's listing for the bus's request, in listing order: the nominal
// phase's, or the data phase's (FD controllers, with a data rate). Options: how the
// listing writes them.
struct NodeListing {
  OutputOptions options;
  std::vector<TimingCandidate> rows;
};
// Stops after most + 1 rows, so that a caller with a bound can tell it was passed
// without holding a listing of any size.
NodeListing ListNode(const Request& request, const PlanNode& node, bool data, int64_t most = INT64_MAX);
