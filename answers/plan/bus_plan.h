// One plan for a whole bus: a setting for every node (--plan, --node), each a row that
// the node's own listing shows for the same request, with the widest SJW the setting
// allows unless the node gives its own (sjw=, dsjw=). The rule, word for word as --help,
// the man page and docs/companion.md state it:
//
// A combination of the nodes' settings is a plan only if every node's rate is within
// the tolerance; every node reaches the bus (its longest bus at --node-delay is at
// least --bus-length: the propagation segment leaves phase 1 a quantum); the margin
// (the smallest node tolerance less the largest rate error of any node, either phase)
// is at least the largest clock accuracy of the nodes (--clock-accuracy, or a node's
// ppm=); every sample point is at least the minimum and within --sample-point-spread
// of the others; and on an FD bus the same holds for the data phase, where at a data
// rate of 1000 Kbps and above every data setting checks its own bits at --node-delay:
// with TDC where the controller has it, else by sampling after the delay. Among plans,
// in this order: (a) the smallest largest rate error of any node, either phase; (b)
// the smallest largest distance of any node's sample point from --target-sample-point
// (default the advice for the rate: 87.5% up to 500 Kbps, 80% up to 800, 75% above);
// (c) on an FD bus the same for the data phase (--data-target-sample-point, default
// the advice for the data rate); (d) on an FD bus the most nodes with equal nominal
// and data prescalers; (e) the largest margin; (f) the most quanta summed over the
// nodes and phases; (g) each node's first setting in listing order, node by node.
// Every node takes the widest SJW its setting allows unless it gives its own (sjw=,
// dsjw=). A node that fixes its setting (setting=, dsetting=) has that one alone, if
// its listing has it, and the others are fitted around it.
//
// Exact throughout: a sample point is the fraction (1 + seg1) / (1 + seg1 + seg2), a
// tolerance a fraction, an error the row's float; margins, spreads and distances are
// compared by cross-multiplying whole numbers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "answers/request/request.h"
#include "answers/rows/output_options.h"

// A margin in percent: numerator / denominator - error. denominator > 0.
struct PlanMargin {
  int64_t numerator;
  int64_t denominator;
  float error;  // at least 0
};

enum class PlanStatus {
  kFound,
  kNoPlan,    // obstacles say why, one line each
  kTooLarge,  // the request is more than the planner weighs (below)
};

// What stands in the way of a plan; each is one line of the refusal (PlanRefusalLines).
enum class PlanObstacleKind {
  kOutOfReach,         // the node's fastest bit is slower than the rate allows (figure: milli-Kbps)
  kNoSetting,          // the node has no nominal row for the request
  kNoDataSetting,      // ... no data row
  kNoBus,              // no row of the node leaves phase 1 a quantum at the node delay
  kShortBus,           // the node's longest bus (figure, metres) is below --bus-length
  kNoTdc,              // the node's controller has no TDC, and the data rate needs it
  kNoTdcSetting,       // the node has TDC, but none of its data rows can use it
  kMargin,             // no combination leaves the clock accuracy: nodes as below
  kMarginWithSpread,   // ... none that keeps the sample points within the spread
  kSpread,             // no combination keeps the sample points within the spread
  kDataSpread,         // ... the data sample points
  // A node's fixed setting of a phase (setting=, dsetting=) that its listing leaves out:
  kFixedOffRate,       // its rate is off by more than the tolerance (fixedRow: its rate, error)
  kFixedSamplePoint,   // its sample point is below the minimum (fixedRow: its sample point)
  kFixedMinTolerance,  // its tolerance is below --min-tolerance
};

struct PlanObstacle {
  PlanObstacleKind kind;
  std::vector<int> nodes;    // the nodes that hold it, in the request's order
  int64_t figure = 0;        // kOutOfReach: milli-Kbps; kShortBus: metres; kSpread,
                             // kDataSpread: the closest, hundredths of a point rounded up
  bool minToleranceAlone = false;  // kNoSetting, kNoDataSetting: --min-tolerance left none
  float error = 0.0f;        // kMargin: the rate error the nodes are off by
  PlanMargin margin{0, 1, 0.0f};  // kMargin: the best margin they leave
  bool data = false;         // kFixed...: the data phase's setting
  TimingCandidate fixedRow{};  // kFixedOffRate, kFixedSamplePoint: the setting as the search makes it
};

// What the planner weighs at most, so that its time and memory are bounded whatever
// the request (a full-range custom: node, a low rate with --sample-point 0 and a wide
// --tolerance, a wide --sample-point-spread). Two counts, past either of which the plan
// is refused as too large to answer (PlanStatus::kTooLarge):
//   - candidates: one row of a classic node, or one nominal/data pair of an FD node (the
//     product of its two listings), at most kMaxPlanSettings over all nodes, counted from
//     the listings' sizes before any pair is made, each listing cut once it passes what
//     is left: memory stays under 20 MB of candidates (about 80 bytes each);
//   - work: every candidate a step visits (a window or box of the spread, a filter of
//     a threshold), one per visit, at most kMaxPlanWork.
// No step walks the product of the listings: each threshold (the error of step a, the
// distances of steps b and c) is a filter of the candidates followed by a sweep of the
// spread's windows, so the work is candidates × (thresholds + windows), and the count
// bounds it whatever the request. A step of work costs a few ns to 60 ns, so no plan
// runs much past 25 s.
constexpr int64_t kMaxPlanSettings = 250000;
constexpr int64_t kMaxPlanWork = 400000000;

struct PlannedNode {
  const PlanNode* node;  // the request's
  OutputOptions nominalOptions;  // how its rows are written: its listing's, with the SJW chosen
  OutputOptions dataOptions;     // FD bus only
  TimingCandidate nominal;
  TimingCandidate data;          // FD bus only
  int32_t nominalIndex;          // places in its listings, from 0
  int32_t dataIndex;             // -1 without a data phase
  Tolerance tolerance;           // conditions 1-2, or 1-5 of the pair
  int64_t longestBus;            // metres, -1: not even 0 m
};

// Which node limits each figure of a found plan, -1 for none, and how.
struct PlanLimits {
  int samplePointNode = -1;       // farthest from the target (none: every node on it)
  bool samplePointOwn = false;    // that node has no sample point nearer the target at all
  int dataSamplePointNode = -1;   // the same for the data phase
  bool dataSamplePointOwn = false;
  int toleranceNode = 0;          // the smallest tolerance
  int errorNode = -1;             // the largest rate error (none: no error)
  int longestBusNode = 0;         // the shortest longest bus
};

struct BusPlan {
  PlanStatus status = PlanStatus::kFound;
  std::vector<PlanObstacle> obstacles;  // kNoPlan: at least one
  int64_t settings = 0;      // kTooLarge: the candidates counted when the bound was passed,
                             // or 0 when the work passed its own
  bool fd = false;           // a data rate: every node has a data setting
  std::vector<PlannedNode> nodes;  // kFound: one per request node, in its order
  PlanMargin margin{0, 1, 0.0f};
  int64_t spread = 0;        // hundredths of a point, highest minus lowest rounded up
  int64_t dataSpread = 0;
  int64_t maxBusLength = -1; // the shortest of the nodes' longest buses
  PlanLimits limits;
  int64_t targetMillionths = 0;      // the target sample point, millionths of a percent
  int64_t dataTargetMillionths = 0;
};

// The plan for a checked request with plan set (CheckRequest filled request.nodes).
BusPlan PlanBus(const Request& request);

// -1, 0, +1 as a is below, equal to or above b, exactly.
int CompareMargins(const PlanMargin& a, const PlanMargin& b);
// The plan's limits are rounded toward safety, as its node tolerances are (PercentText,
// row_columns.h): a limit never shows better than it is, so with no rate error the
// margin reads as the smallest node tolerance does.
// The margin in percent rounded down to hundredths (never more than it is): "0.31%".
std::string MarginText(const PlanMargin& margin);
// A spread in hundredths of a point (rounded up where it is found), trailing zeros
// dropped: 340 "3.4".
std::string SpreadPointsText(int64_t hundredths);
// Millionths of a point without trailing zeros: 2000000 "2", 2500000 "2.5".
std::string MillionthsText(int64_t millionths);
// A clock in kHz as MHz: 42000 "42", 125 "0.125".
std::string ClockMHzText(int32_t clockKHz);
// The target sample point of a request's phase in millionths of a percent: the one
// asked for, else the advice for the phase's rate (calc/best_setting.h).
int64_t TargetMillionths(const Request& request, bool data);

// The companion's lines when no plan exists (without "quillmere-cli: "), one per
// obstacle.
std::vector<std::string> PlanRefusalLines(const BusPlan& plan, const Request& request);
// The lines a found plan adds for its nodes with a fixed setting, one per node in the
// request's order, none without: "stm32 (bxcan at 42 MHz) keeps setting=6/11/2 as given".
std::vector<std::string> PlanFixedLines(const BusPlan& plan);
// What limits one figure of a found plan, as facts a face says in its own words.
enum class PlanLimitKind { kSamplePoint, kDataSamplePoint, kMargin, kLongestBus };
struct PlanLimitFact {
  PlanLimitKind kind = PlanLimitKind::kSamplePoint;
  int node = -1;          // the node that holds it (plan.nodes); -1 where every node
                          // samples at the target
  bool own = false;       // sample point: the node has no setting nearer the target
  std::string value;      // sample point: the node's ("75.0%"); margin: its tolerance
                          // ("0.31%"); longest bus: "66 m"
  std::string target;     // sample point: the target ("87.5%")
  int errorNode = -1;     // margin: the node with the largest rate error, -1 for none
  std::string error;      // margin: that error ("1.19%")
};
// The facts of a found plan's limits, in PlanLimitLines' order (none for another).
std::vector<PlanLimitFact> PlanLimitFacts(const BusPlan& plan);
// The lines a found plan adds after its figures, one per PlanLimitFacts: which node
// limits the sample point, the data sample point, the margin and the longest bus
// ("pi8 (mcp2515 at 8 MHz) cannot sample nearer to 87.5% than 75%").
std::vector<std::string> PlanLimitLines(const BusPlan& plan);
// A found plan's warning: a node's bit of fewer than 8 quanta, where resynchronisation
// is coarse (the plan's conditions hold every other risk a best setting warns of).
struct PlanWarningFact {
  int node = 0;       // plan.nodes
  bool data = false;  // the node's data bit
  int32_t quanta = 0;
};
// The warnings of a found plan, node by node, the nominal bit before the data bit.
std::vector<PlanWarningFact> PlanWarningFacts(const BusPlan& plan);
// The companion's line for each, without "quillmere-cli: warning: ": "pi8 (mcp2515 at
// 8 MHz) has 5 quanta per bit, fewer than 8: resynchronisation is coarse".
std::vector<std::string> PlanWarningLines(const BusPlan& plan);
// "name (controller at 16 MHz)", both cut as echoed values are; a node with a fixed
// setting says so: "(bxcan at 42 MHz, setting fixed)", "data setting fixed", "settings
// fixed".
std::string NodeTitle(const PlanNode& node);
// A stable lower-case name for the status, or for the first obstacle: "found",
// "too-large", "out-of-reach", "node-without-setting", "node-without-data-setting",
// "no-bus", "short-bus", "no-tdc", "no-tdc-setting", "margin", "spread-too-wide",
// "data-spread-too-wide", "fixed-off-rate", "fixed-sample-point",
// "fixed-min-tolerance".
const char* PlanStatusName(const BusPlan& plan);

// The rows of one node's listing for the bus's request, in listing order: the nominal
// phase's, or the data phase's (FD controllers, with a data rate), with the node's own
// SJW where it gives one; where the node fixes the phase's setting, the same search
// over that one setting (its row, or none where the request leaves it out). Options:
// how the listing writes them.
struct NodeListing {
  OutputOptions options;
  std::vector<TimingCandidate> rows;
};
// Stops after most + 1 rows, so that a caller with a bound can tell it was passed
// without holding a listing of any size.
NodeListing ListNode(const Request& request, const PlanNode& node, bool data, int64_t most = INT64_MAX);
// The SJW the plan gives a row of a node's listing: the node's own, else the widest the
// setting allows (WidestSjw).
int32_t PlanSjw(const TimingCandidate& row, const OutputOptions& options);
