// The bus plan. The product of the listings is never walked: the rule's hard
// conditions and its bottleneck preferences (a, b, c) are thresholds, each met by a
// filter of every node's candidates and one sweep of the spread's windows, and the
// rest (d to g) is decided box by box, where the nodes choose independently:
//   1. List every node (its own listing: the same search, options and rows) and make
//      its candidates: each row, or on an FD bus each nominal/data pair, with the
//      plan's SJW (PlanSjw), its sample points as fractions, tolerance, largest error,
//      quanta, prescaler match and listing places. The conditions a candidate meets
//      or fails alone (it reaches the bus; a data setting at 1000 Kbps and above has
//      TDC) filter it here; a node left with none is an obstacle.
//   2. Step a: for each rate error e, lowest first, the candidates with error <= e
//      and tolerance >= accuracy + e. The first e whose candidates hold a plan within
//      the spread is the smallest largest error E: a plan of largest error below E
//      would have been found at its own error, and every plan of largest error E
//      keeps its margin exactly when each of its nodes has tolerance >= accuracy + E.
//      So from here every plan has largest error E, and the margin is its smallest
//      tolerance less E.
//   3. Step b: the smallest distance D from the target for which the candidates
//      within D of it still hold a plan (holding is monotone in D: a binary search
//      over the distinct distances); step c the same for the data phase.
//   4. Steps d to g: every plan lies in the box of the spread anchored at its lowest
//      sample points, and within a box the nodes choose alone: the most nodes with
//      equal prescalers is the count of nodes that have such a candidate there; the
//      largest smallest tolerance is then the least of each node's best; then each
//      node's most quanta among its candidates of at least that tolerance, then its
//      first in listing order. The best box's plan is the plan.
// "Hold a plan within the spread" is one sweep: the candidates sorted by nominal sample
// point, a window of the spread slid over them counting the nodes it covers; on an FD
// bus, in each window that covers every node, the same sweep over the data sample
// points.
#include "answers/plan/bus_plan.h"

#include "answers/columns/row_columns.h"
#include "answers/request/echoed_value.h"
#include "answers/rows/phase_search.h"
#include "calc/best_setting.h"
#include "calc/big_integer.h"
#include "calc/controllers.h"
#include "calc/fdcan_timing.h"
#include "calc/text.h"
#include "calc/timing.h"

#include <algorithm>
#include <cmath>

namespace {

// A sample point (1 + seg1) / (1 + seg1 + seg2) exactly, and a key that sorts as the
// fraction does: floor(2^40 × fraction), distinct for distinct fractions (they differ
// by at least 1 / q1q2 > 2^-40 for bits below 2^20 quanta).
struct SamplePoint {
  int64_t numerator = 0;
  int64_t denominator = 1;
  int64_t key = 0;
};

SamplePoint SamplePointOf(const BitTimingLengths& lengths) {
  SamplePoint point;
  point.numerator = 1 + lengths.seg1;
  point.denominator = 1 + lengths.seg1 + lengths.seg2;
  point.key = (point.numerator << 40) / point.denominator;
  return point;
}

struct Candidate {
  SamplePoint x;  // nominal
  SamplePoint y;  // data; 0/1 on a classic bus
  Tolerance tolerance;
  float error;  // the largest |error| of its rows
  int32_t quanta;
  bool samePrescaler;
  int32_t nominalIndex;
  int32_t dataIndex;
  int32_t nominalSjw;
  int32_t dataSjw;
  int node;
};

bool ToleranceBelow(const Tolerance& a, const Tolerance& b) {
  return a.numerator * b.denominator < b.numerator * a.denominator;
}

// The planner's work, counted as it goes (kMaxPlanWork): a count, not a clock, so the
// same request is refused alike on every machine.
struct PlanWork {
  int64_t spent = 0;
  bool Spend(std::size_t n) {
    spent += static_cast<int64_t>(n);
    return spent <= kMaxPlanWork;
  }
  bool Over() const { return spent > kMaxPlanWork; }
};

// ---- exact margins ----

void BigAdd(BigInteger& a, const BigInteger& b) {
  const int n = a.size > b.size ? a.size : b.size;
  uint64_t carry = 0;
  for (int i = 0; i < n; ++i) {
    const uint64_t sum = uint64_t{i < a.size ? a.word[i] : 0u} + (i < b.size ? b.word[i] : 0u) + carry;
    a.word[i] = static_cast<uint32_t>(sum);
    carry = sum >> 32;
  }
  a.size = n;
  if (carry != 0) a.word[a.size++] = static_cast<uint32_t>(carry);
}

// A float at least 0 as mantissa × 2^-shift, mantissa below 2^24 (2^63 for the rare
// error of 2^24 or more).
void Dyadic(float value, uint64_t& mantissa, int& shift) {
  int exponent = 0;
  const double fraction = std::frexp(static_cast<double>(value), &exponent);
  mantissa = static_cast<uint64_t>(std::ldexp(fraction, 24));
  shift = 24 - exponent;
  if (value == 0.0f) shift = 0;
  if (shift < 0) {
    mantissa <<= -shift;
    shift = 0;
  }
}

// numerator × otherDenominator × 2^maxShift + errorOfOther × ownDenominator × otherDenominator.
BigInteger Side(const PlanMargin& own, const PlanMargin& other, int maxShift, uint64_t otherMantissa, int otherShift) {
  BigInteger side;
  BigSet(side, static_cast<uint64_t>(own.numerator) * static_cast<uint64_t>(other.denominator));
  BigShiftLeft(side, maxShift);
  BigInteger error;
  BigSet(error, static_cast<uint64_t>(own.denominator) * static_cast<uint64_t>(other.denominator));
  BigInteger scaled;
  BigSet(scaled, 0);
  // error × mantissa, the mantissa taken 32 bits at a time.
  for (int part = 1; part >= 0; --part) {
    BigShiftLeft(scaled, 32);
    BigInteger term = error;
    BigMultiplyAdd(term, static_cast<uint32_t>(otherMantissa >> (32 * part)), 0);
    BigAdd(scaled, term);
  }
  BigShiftLeft(scaled, maxShift - otherShift);
  BigAdd(side, scaled);
  return side;
}

int ExactCompare(const PlanMargin& a, const PlanMargin& b) {
  uint64_t ma = 0, mb = 0;
  int ka = 0, kb = 0;
  Dyadic(a.error, ma, ka);
  Dyadic(b.error, mb, kb);
  const int k = ka > kb ? ka : kb;
  // a - b = Na/Da - ea - Nb/Db + eb; times Da × Db × 2^k, both sides nonnegative.
  const BigInteger left = Side(a, b, k, mb, kb);
  const BigInteger right = Side(b, a, k, ma, ka);
  return BigCompare(left, right);
}

double Approximate(const PlanMargin& m) {
  return static_cast<double>(m.numerator) / static_cast<double>(m.denominator) - static_cast<double>(m.error);
}

PlanMargin MarginOf(const Tolerance& tolerance, float error) {
  return PlanMargin{tolerance.numerator * 100, tolerance.denominator, error};
}

// ---- exact sample-point arithmetic ----

using Wide = __int128;

// Whether high - low <= millionths / 10^8, low <= high: a spread within millionths of a
// percentage point.
bool WithinSpread(const SamplePoint& low, const SamplePoint& high, int64_t millionths) {
  const Wide diff = Wide{high.numerator} * low.denominator - Wide{low.numerator} * high.denominator;
  return diff * 100000000 <= Wide{millionths} * low.denominator * high.denominator;
}

// high - low in hundredths of a point, rounded up (never less than it is).
int64_t SpreadHundredths(const SamplePoint& low, const SamplePoint& high) {
  // A sample point's terms are quanta per bit (a few thousand at most), so the ceiling's
  // numerator and denominator fit 64 bits: divided there, since a 128-bit division
  // would take libgcc_s as a library of the companion's package.
  const Wide diff = Wide{high.numerator} * low.denominator - Wide{low.numerator} * high.denominator;
  const uint64_t denominator = static_cast<uint64_t>(low.denominator) * static_cast<uint64_t>(high.denominator);
  const uint64_t scaled = static_cast<uint64_t>(diff) * 10000 + denominator - 1;
  return static_cast<int64_t>(scaled / denominator);
}

// The distance of a sample point from a target of millionths of a percent:
// |p × 10^8 - target × q| / (q × 10^8), kept as the numerator over q.
struct Distance {
  int64_t numerator;
  int64_t denominator;
};

Distance DistanceOf(const SamplePoint& point, int64_t target) {
  const int64_t d = point.numerator * 100000000 - target * point.denominator;
  return Distance{d < 0 ? -d : d, point.denominator};
}

int CompareDistances(const Distance& a, const Distance& b) {
  const Wide left = Wide{a.numerator} * b.denominator;
  const Wide right = Wide{b.numerator} * a.denominator;
  return left < right ? -1 : (right < left ? 1 : 0);
}

// ---- the sweep of the spread's boxes ----

bool ByNominal(const Candidate* a, const Candidate* b) {
  if (a->x.key != b->x.key) return a->x.key < b->x.key;
  return a->y.key < b->y.key;
}

bool ByData(const Candidate* a, const Candidate* b) { return a->y.key < b->y.key; }

// Calls visit(box) with the candidates of every box of the spread anchored at a
// nominal sample point (and on an FD bus a data one) that occurs, whose candidates
// cover every node; items sorted by ByNominal. visit returns false to stop. False
// when the work passed its bound.
template <typename Visit>
bool ForEachBox(const std::vector<const Candidate*>& items, int nodeCount, int64_t limit, bool fd, PlanWork& work,
                Visit visit) {
  std::vector<int> count(static_cast<std::size_t>(nodeCount), 0);
  std::vector<int> dataCount(static_cast<std::size_t>(nodeCount), 0);
  std::vector<const Candidate*> window;
  std::vector<const Candidate*> box;
  int covered = 0;
  std::size_t high = 0;
  for (std::size_t low = 0; low < items.size(); ++low) {
    if (low > 0 && --count[static_cast<std::size_t>(items[low - 1]->node)] == 0) --covered;
    for (; high < items.size() && WithinSpread(items[low]->x, items[high]->x, limit); ++high) {
      if (count[static_cast<std::size_t>(items[high]->node)]++ == 0) ++covered;
    }
    // A later candidate at the same anchor has a window inside this one's.
    if (low > 0 && items[low]->x.key == items[low - 1]->x.key) continue;
    if (covered < nodeCount) continue;
    if (!work.Spend(high - low)) return false;
    if (!fd) {
      box.assign(items.begin() + static_cast<std::ptrdiff_t>(low), items.begin() + static_cast<std::ptrdiff_t>(high));
      if (!visit(box)) return true;
      continue;
    }
    window.assign(items.begin() + static_cast<std::ptrdiff_t>(low), items.begin() + static_cast<std::ptrdiff_t>(high));
    std::stable_sort(window.begin(), window.end(), ByData);
    std::fill(dataCount.begin(), dataCount.end(), 0);
    int dataCovered = 0;
    std::size_t dataHigh = 0;
    for (std::size_t dataLow = 0; dataLow < window.size(); ++dataLow) {
      if (dataLow > 0 && --dataCount[static_cast<std::size_t>(window[dataLow - 1]->node)] == 0) --dataCovered;
      for (; dataHigh < window.size() && WithinSpread(window[dataLow]->y, window[dataHigh]->y, limit); ++dataHigh) {
        if (dataCount[static_cast<std::size_t>(window[dataHigh]->node)]++ == 0) ++dataCovered;
      }
      if (dataLow > 0 && window[dataLow]->y.key == window[dataLow - 1]->y.key) continue;
      if (dataCovered < nodeCount) continue;
      if (!work.Spend(dataHigh - dataLow)) return false;
      box.assign(window.begin() + static_cast<std::ptrdiff_t>(dataLow),
                 window.begin() + static_cast<std::ptrdiff_t>(dataHigh));
      if (!visit(box)) return true;
    }
  }
  return true;
}

// Whether the items hold a plan within the spread: some box covers every node.
// held false and over true when the work passed its bound.
bool Holds(const std::vector<const Candidate*>& items, int nodeCount, int64_t limit, bool fd, PlanWork& work,
           bool& over) {
  bool held = false;
  over = !ForEachBox(items, nodeCount, limit, fd, work, [&held](const std::vector<const Candidate*>&) {
    held = true;
    return false;
  });
  return held && !over;
}

// The items of every node present, counted.
bool EveryNode(const std::vector<const Candidate*>& items, int nodeCount) {
  std::vector<char> seen(static_cast<std::size_t>(nodeCount), 0);
  int covered = 0;
  for (const Candidate* c : items) {
    if (!seen[static_cast<std::size_t>(c->node)]) seen[static_cast<std::size_t>(c->node)] = 1, ++covered;
  }
  return covered == nodeCount;
}

// ---- steps d to g in one box ----

struct BoxPlan {
  int32_t samePrescalers = 0;
  Tolerance least{0, 1};
  int64_t quanta = 0;
  std::vector<const Candidate*> choice;  // per node
};

bool IndexBefore(const Candidate* a, const Candidate* b) {
  if (a->nominalIndex != b->nominalIndex) return a->nominalIndex < b->nominalIndex;
  return a->dataIndex < b->dataIndex;
}

// The best plan of one box: the nodes choose alone, step by step.
BoxPlan BestInBox(const std::vector<const Candidate*>& box, int nodeCount) {
  const std::size_t n = static_cast<std::size_t>(nodeCount);
  std::vector<char> hasSame(n, 0);
  for (const Candidate* c : box) hasSame[static_cast<std::size_t>(c->node)] |= c->samePrescaler ? 1 : 0;
  // d: a node with an equal-prescaler candidate takes one.
  const auto allowed = [&hasSame](const Candidate* c) { return !hasSame[static_cast<std::size_t>(c->node)] || c->samePrescaler; };
  // e: the largest smallest tolerance is the least of each node's best.
  std::vector<Tolerance> best(n, Tolerance{-1, 1});
  for (const Candidate* c : box) {
    Tolerance& t = best[static_cast<std::size_t>(c->node)];
    if (allowed(c) && (t.numerator < 0 || ToleranceBelow(t, c->tolerance))) t = c->tolerance;
  }
  BoxPlan plan;
  plan.least = best[0];
  for (const Tolerance& t : best) {
    if (ToleranceBelow(t, plan.least)) plan.least = t;
  }
  // f, g: each node's most quanta among its candidates of at least that tolerance,
  // then its first listed.
  plan.choice.assign(n, nullptr);
  for (const Candidate* c : box) {
    if (!allowed(c) || ToleranceBelow(c->tolerance, plan.least)) continue;
    const Candidate*& chosen = plan.choice[static_cast<std::size_t>(c->node)];
    if (chosen == nullptr || c->quanta > chosen->quanta || (c->quanta == chosen->quanta && IndexBefore(c, chosen)))
      chosen = c;
  }
  for (std::size_t i = 0; i < n; ++i) {
    plan.samePrescalers += hasSame[i];
    plan.quanta += plan.choice[i]->quanta;
  }
  return plan;
}

// -1 when a ranks first (steps d to g).
int CompareBoxPlans(const BoxPlan& a, const BoxPlan& b) {
  if (a.samePrescalers != b.samePrescalers) return a.samePrescalers > b.samePrescalers ? -1 : 1;
  if (ToleranceBelow(b.least, a.least)) return -1;
  if (ToleranceBelow(a.least, b.least)) return 1;
  if (a.quanta != b.quanta) return a.quanta > b.quanta ? -1 : 1;
  for (std::size_t i = 0; i < a.choice.size(); ++i) {
    if (IndexBefore(a.choice[i], b.choice[i])) return -1;
    if (IndexBefore(b.choice[i], a.choice[i])) return 1;
  }
  return 0;
}

// ---- step b and c: the smallest distance that still holds a plan ----

// The items within the smallest distance of the target (in one phase) that hold a
// plan; items hold one. False when the work passed its bound.
bool Nearest(std::vector<const Candidate*>& items, int nodeCount, int64_t limit, bool fd, bool data, int64_t target,
             PlanWork& work) {
  const auto distance = [data, target](const Candidate* c) { return DistanceOf(data ? c->y : c->x, target); };
  std::vector<Distance> distances;
  distances.reserve(items.size());
  for (const Candidate* c : items) distances.push_back(distance(c));
  std::sort(distances.begin(), distances.end(),
            [](const Distance& a, const Distance& b) { return CompareDistances(a, b) < 0; });
  distances.erase(std::unique(distances.begin(), distances.end(),
                              [](const Distance& a, const Distance& b) { return CompareDistances(a, b) == 0; }),
                  distances.end());
  std::vector<const Candidate*> within;
  const auto filter = [&](const Distance& most) {
    within.clear();
    for (const Candidate* c : items) {
      if (CompareDistances(distance(c), most) <= 0) within.push_back(c);
    }
    return work.Spend(items.size());
  };
  // The last distance holds (items do); find the first that does.
  std::size_t low = 0, high = distances.size() - 1;
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    if (!filter(distances[middle])) return false;
    bool over = false;
    const bool held = EveryNode(within, nodeCount) && Holds(within, nodeCount, limit, fd, work, over);
    if (over) return false;
    if (held)
      high = middle;
    else
      low = middle + 1;
  }
  if (!filter(distances[low])) return false;
  items = within;
  return true;
}

// ---- the narrowest cover, for the spread's refusal ----

// The narrowest spread of nominal (data) sample points that covers every node, in
// hundredths rounded up; -1 when some node has none.
int64_t NarrowestCover(std::vector<const Candidate*> items, int nodeCount, bool data) {
  const auto point = [data](const Candidate* c) { return data ? c->y : c->x; };
  std::stable_sort(items.begin(), items.end(),
                   [&point](const Candidate* a, const Candidate* b) { return point(a).key < point(b).key; });
  std::vector<int> count(static_cast<std::size_t>(nodeCount), 0);
  int covered = 0;
  int64_t best = -1;
  std::size_t low = 0;
  for (std::size_t high = 0; high < items.size(); ++high) {
    if (count[static_cast<std::size_t>(items[high]->node)]++ == 0) ++covered;
    while (covered == nodeCount) {
      const int64_t width = SpreadHundredths(point(items[low]), point(items[high]));
      if (best < 0 || width < best) best = width;
      if (--count[static_cast<std::size_t>(items[low]->node)] == 0) --covered;
      ++low;
    }
  }
  return best;
}

// ---- the listings ----

int32_t QuantaOf(const BitTimingLengths& lengths) { return 1 + lengths.seg1 + lengths.seg2; }

// A row's lengths with the plan's SJW.
BitTimingLengths PlanLengths(const TimingCandidate& row, const OutputOptions& options) {
  return ControllerLengths(LimitsOf(options), row, PlanSjw(row, options));
}

// The node's fastest bit in milli-Kbps, rounded down: the clock over the smallest
// prescaler and the fewest quanta its rules allow; -1 for none.
int64_t FastestMilliKbps(const PlanNode& node) {
  const PhaseLimits& limits = PhaseLimitsOf(*node.controller, false);
  const PhaseQuestion question{&limits, node.sjw};
  const TimingRanges ranges = SearchRanges(question);
  for (int32_t quanta = 1 + limits.seg1.first + limits.seg2.first; quanta <= 1 + limits.seg1.last + limits.seg2.last;
       ++quanta) {
    for (int32_t seg1 = limits.seg1.first; seg1 <= limits.seg1.last; ++seg1) {
      const int32_t seg2 = quanta - 1 - seg1;
      if (seg2 < limits.seg2.first || seg2 > limits.seg2.last) continue;
      if (ranges.filter.fits != nullptr && !ranges.filter.fits(ranges.filter.context, seg1, seg2)) continue;
      return int64_t{node.clockKHz} * 1000 / (int64_t{limits.prescaler.first} * quanta);
    }
  }
  return -1;
}

// Whether the node's phase has rows without --min-tolerance, where it has none with it:
// the refusal then names --min-tolerance. One row decides.
bool MinToleranceAlone(const Request& request, const PlanNode& node, bool data) {
  if (request.minTolerance < 0) return false;
  Request unfiltered = request;
  unfiltered.minTolerance = -1;
  return !ListNode(unfiltered, node, data, 0).rows.empty();
}

// Why a node's fixed setting of a phase is not in its listing, each asked of the search
// itself with the later conditions let go: its rate is off by more than the tolerance,
// else its sample point is below the minimum, else its tolerance is below
// --min-tolerance.
PlanObstacle FixedObstacle(const Request& request, const PlanNode& node, int index, bool data) {
  PlanObstacle obstacle{PlanObstacleKind::kFixedMinTolerance, {index}};
  obstacle.data = data;
  const FixedSetting& fixed = data ? node.dataSetting : node.setting;
  obstacle.fixedRow = ComputedSetting(node.clockKHz, fixed.seg1, fixed.seg2, fixed.prescaler,
                                      data ? request.dataRate : request.targetRate);
  Request loose = request;
  loose.minTolerance = -1;
  (data ? loose.dataMinSamplePoint : loose.minSamplePoint) = 0.0f;
  if (ListNode(loose, node, data, 0).rows.empty()) {
    obstacle.kind = PlanObstacleKind::kFixedOffRate;
    return obstacle;
  }
  loose.dataMinSamplePoint = request.dataMinSamplePoint;
  loose.minSamplePoint = request.minSamplePoint;
  if (ListNode(loose, node, data, 0).rows.empty()) obstacle.kind = PlanObstacleKind::kFixedSamplePoint;
  return obstacle;
}

struct NodeCandidates {
  NodeListing nominal;
  NodeListing data;
  std::vector<Candidate> candidates;
};

// Step 1 for one node: its candidates, those that fail a condition of their own left
// out; the obstacle when none is left.
bool MakeCandidates(NodeCandidates& node, int index, const PlanNode& planNode, const Request& request, bool fd,
                    std::vector<PlanObstacle>& obstacles) {
  const std::vector<TimingCandidate>& nominal = node.nominal.rows;
  std::vector<BitTimingLengths> nominalLengths;
  std::vector<int32_t> reaching;  // the rows that reach the bus
  int64_t longest = -1;
  for (std::size_t i = 0; i < nominal.size(); ++i) {
    nominalLengths.push_back(PlanLengths(nominal[i], node.nominal.options));
    const int64_t bus = LongestBus(nominalLengths.back(), planNode.clockKHz, request.bus.nodeDelayNs);
    if (bus > longest) longest = bus;
    if (bus >= request.bus.busLengthM) reaching.push_back(static_cast<int32_t>(i));
  }
  if (reaching.empty()) {
    obstacles.push_back(PlanObstacle{longest < 0 ? PlanObstacleKind::kNoBus : PlanObstacleKind::kShortBus, {index}, longest});
    return false;
  }
  const auto nominalCandidate = [&](int32_t i) {
    Candidate c{};
    c.x = SamplePointOf(nominalLengths[static_cast<std::size_t>(i)]);
    c.y = SamplePoint{0, 1, 0};
    c.tolerance = SettingTolerance(nominalLengths[static_cast<std::size_t>(i)], planNode.clockKHz, request.bus);
    c.error = std::fabs(nominal[static_cast<std::size_t>(i)].errorPercent);
    c.quanta = QuantaOf(nominalLengths[static_cast<std::size_t>(i)]);
    c.nominalIndex = i;
    c.dataIndex = -1;
    c.nominalSjw = nominalLengths[static_cast<std::size_t>(i)].sjw;
    c.node = index;
    return c;
  };
  if (!fd) {
    for (const int32_t i : reaching) node.candidates.push_back(nominalCandidate(i));
    return true;
  }
  const std::vector<TimingCandidate>& data = node.data.rows;
  std::vector<int32_t> checking;  // the data rows that check their own bits
  std::vector<BitTimingLengths> dataLengths;
  for (std::size_t j = 0; j < data.size(); ++j) {
    dataLengths.push_back(PlanLengths(data[j], node.data.options));
    if (ChecksOwnBits(*planNode.controller, dataLengths.back(), planNode.clockKHz, request.dataRate,
                      request.bus.nodeDelayNs))
      checking.push_back(static_cast<int32_t>(j));
  }
  if (checking.empty()) {
    obstacles.push_back(PlanObstacle{planNode.controller->tdc.count == TdcCount::kNone ? PlanObstacleKind::kNoTdc
                                                                                       : PlanObstacleKind::kNoTdcSetting,
                                     {index}});
    return false;
  }
  node.candidates.reserve(reaching.size() * checking.size());
  for (const int32_t i : reaching) {
    const Candidate base = nominalCandidate(i);
    for (const int32_t j : checking) {
      const BitTimingLengths& d = dataLengths[static_cast<std::size_t>(j)];
      Candidate c = base;
      c.y = SamplePointOf(d);
      c.tolerance = PairTolerance(nominalLengths[static_cast<std::size_t>(i)], d, planNode.clockKHz, request.bus);
      const float b = std::fabs(data[static_cast<std::size_t>(j)].errorPercent);
      if (b > c.error) c.error = b;
      c.quanta += QuantaOf(d);
      c.samePrescaler = nominal[static_cast<std::size_t>(i)].prescaler == data[static_cast<std::size_t>(j)].prescaler;
      c.dataIndex = j;
      c.dataSjw = d.sjw;
      node.candidates.push_back(c);
    }
  }
  return true;
}

// The largest clock accuracy of the nodes, as a margin in percent (ppm / 10^4).
PlanMargin AccuracyOf(const Request& request) {
  int64_t ppm = 0;
  for (const PlanNode& node : request.nodes) {
    const int64_t own = node.ppm >= 0 ? node.ppm : request.clockAccuracyPpm;
    if (own > ppm) ppm = own;
  }
  return PlanMargin{ppm, 10000, 0.0f};
}

// Why no error threshold holds a plan: the margin alone (the nodes off the rate, or
// short of tolerance), else the spread of one phase, else the two together.
PlanObstacle WhyNoPlan(const std::vector<const Candidate*>& all, int nodeCount,
                       const PlanMargin& accuracy, const Request& request, bool fd, PlanWork& work) {
  // The best margin the nodes leave, the spread aside: at each error e, each node's
  // best tolerance among its candidates of error at most e.
  // One sweep: the candidates by error, each node's best tolerance so far only grows.
  std::vector<const Candidate*> byError = all;
  std::stable_sort(byError.begin(), byError.end(),
                   [](const Candidate* a, const Candidate* b) { return a->error < b->error; });
  work.Spend(byError.size());
  bool any = false;
  PlanMargin best{0, 1, 0.0f};
  float bestError = 0.0f;
  std::vector<Tolerance> tolerance(static_cast<std::size_t>(nodeCount), Tolerance{-1, 1});
  std::vector<Tolerance> bestTolerance;
  int covered = 0;
  for (std::size_t i = 0; i < byError.size();) {
    const float e = byError[i]->error;
    for (; i < byError.size() && byError[i]->error == e; ++i) {
      Tolerance& t = tolerance[static_cast<std::size_t>(byError[i]->node)];
      if (t.numerator < 0) ++covered;
      if (t.numerator < 0 || ToleranceBelow(t, byError[i]->tolerance)) t = byError[i]->tolerance;
    }
    if (covered < nodeCount) continue;
    Tolerance least = tolerance[0];
    for (const Tolerance& t : tolerance) {
      if (ToleranceBelow(t, least)) least = t;
    }
    const PlanMargin margin = MarginOf(least, e);
    if (!any || CompareMargins(margin, best) > 0) best = margin, bestError = e, bestTolerance = tolerance, any = true;
  }
  PlanObstacle obstacle{PlanObstacleKind::kMargin, {}};
  if (any && CompareMargins(best, accuracy) < 0) {
    obstacle.margin = best;
    obstacle.error = bestError;
    // The nodes that are that far off the rate at best, or, without error, those whose
    // tolerance is the least.
    std::vector<float> smallest(static_cast<std::size_t>(nodeCount), -1.0f);
    for (const Candidate* c : all) {
      float& s = smallest[static_cast<std::size_t>(c->node)];
      if (s < 0.0f || c->error < s) s = c->error;
    }
    for (int n = 0; n < nodeCount; ++n) {
      const bool off = bestError > 0.0f && smallest[static_cast<std::size_t>(n)] == bestError;
      const Tolerance& t = bestTolerance[static_cast<std::size_t>(n)];
      const bool least = bestError == 0.0f && CompareMargins(MarginOf(t, 0.0f), best) == 0;
      if (off || least) obstacle.nodes.push_back(n);
    }
    return obstacle;
  }
  const int64_t limit = request.samplePointSpread;
  const int64_t nominal = NarrowestCover(all, nodeCount, false);
  if (nominal >= 0 && !WithinSpread(SamplePoint{0, 1, 0}, SamplePoint{nominal, 10000, 0}, limit)) {
    // The rounded figure is above the limit: the spread itself is.
    return PlanObstacle{PlanObstacleKind::kSpread, {}, nominal};
  }
  if (fd) {
    int64_t closest = -1;
    std::vector<const Candidate*> sorted = all;
    std::stable_sort(sorted.begin(), sorted.end(), ByNominal);
    ForEachBox(sorted, nodeCount, limit, false, work, [&](const std::vector<const Candidate*>& window) {
      const int64_t width = NarrowestCover(window, nodeCount, true);
      if (width >= 0 && (closest < 0 || width < closest)) closest = width;
      return true;
    });
    if (closest >= 0 && !WithinSpread(SamplePoint{0, 1, 0}, SamplePoint{closest, 10000, 0}, limit))
      return PlanObstacle{PlanObstacleKind::kDataSpread, {}, closest};
  }
  obstacle.kind = PlanObstacleKind::kMarginWithSpread;
  return obstacle;
}

}  // namespace

int32_t PlanSjw(const TimingCandidate& row, const OutputOptions& options) {
  if (options.sjw != 0) return options.sjw;
  return WidestSjw(LimitsOf(options), row.bs1Code + 1, row.bs2Code + 1);
}

NodeListing ListNode(const Request& request, const PlanNode& node, bool data, int64_t most) {
  Request own = request;
  own.plan = false;
  own.nodes.clear();
  own.nodeTexts.clear();
  own.controller = node.controller;
  own.customController = node.customController;
  own.clockKHz = node.clockKHz;
  own.clockGiven = true;
  // The node's own SJW narrows its listing to the settings that take it.
  own.sjw = node.sjw;
  own.sjwGiven = node.sjw != 0;
  own.dataSjw = node.dataSjw;
  own.dataSjwGiven = node.dataSjw != 0;
  const ControllerEntry& entry = *node.controller;
  const Phase phase = data ? Phase::kData : Phase::kNominal;
  PhaseSearch search = ControllerPhase(own, entry, phase);
  // A fixed setting is the node's only one: the same search walks that one setting, so
  // its row is the listing's to the digit, and is there only where the listing has it.
  const FixedSetting& fixed = data ? node.dataSetting : node.setting;
  if (fixed.fixed) {
    search.ranges.prescaler = FieldRange{fixed.prescaler, fixed.prescaler};
    search.ranges.seg1 = FieldRange{fixed.seg1, fixed.seg1};
    search.ranges.seg2 = FieldRange{fixed.seg2, fixed.seg2};
  }
  NodeListing listing{search.options, {}};
  SearchRows(search)([&listing, most](const TimingCandidate& row) {
    listing.rows.push_back(row);
    return static_cast<int64_t>(listing.rows.size()) <= most;
  });
  return listing;
}

int64_t TargetMillionths(const Request& request, bool data) {
  const int64_t asked = data ? request.dataTargetSamplePoint : request.targetSamplePoint;
  if (asked >= 0) return asked;
  const SamplePointAdvice advice = SamplePointAdviceFor(data ? request.dataRate : request.targetRate);
  return advice.numerator * 100000000 / advice.denominator;
}

BusPlan PlanBus(const Request& request) {
  BusPlan plan;
  plan.fd = request.dataPhase;
  const int nodeCount = static_cast<int>(request.nodes.size());
  // Step 1, within kMaxPlanSettings: each listing is cut once it alone passes what is
  // left of the bound, and the candidates are counted before they are made.
  std::vector<NodeCandidates> nodes(request.nodes.size());
  int64_t settings = 0;
  const auto tooLarge = [&plan](int64_t counted) {
    plan.status = PlanStatus::kTooLarge;
    plan.settings = counted;
    plan.obstacles.clear();
    return plan;
  };
  for (int n = 0; n < nodeCount; ++n) {
    const PlanNode& node = request.nodes[static_cast<std::size_t>(n)];
    NodeCandidates& own = nodes[static_cast<std::size_t>(n)];
    const int64_t left = kMaxPlanSettings - settings;
    own.nominal = ListNode(request, node, false, left);
    const int64_t nominalRows = static_cast<int64_t>(own.nominal.rows.size());
    if (nominalRows == 0 && node.setting.fixed) {
      plan.obstacles.push_back(FixedObstacle(request, node, n, false));
      continue;
    }
    if (nominalRows == 0) {
      PlanObstacle obstacle{PlanObstacleKind::kNoSetting, {n}};
      obstacle.minToleranceAlone = MinToleranceAlone(request, node, false);
      const int64_t fastest = FastestMilliKbps(node);
      // Out of reach: even the fastest bit is slower than the rate less its tolerance.
      const double lowest = static_cast<double>(request.targetRate) * (10000.0 - static_cast<double>(request.toleranceHundredths)) / 10000.0;
      if (!obstacle.minToleranceAlone && fastest >= 0 && static_cast<double>(fastest) / 1000.0 < lowest) {
        obstacle.kind = PlanObstacleKind::kOutOfReach;
        obstacle.figure = fastest;
      }
      plan.obstacles.push_back(obstacle);
      continue;
    }
    if (nominalRows > left) return tooLarge(settings + nominalRows);
    int64_t count = nominalRows;
    if (plan.fd) {
      // The pairs are nominal × data rows: the data listing may hold left / nominal.
      own.data = ListNode(request, node, true, left / nominalRows);
      const int64_t dataRows = static_cast<int64_t>(own.data.rows.size());
      if (dataRows == 0 && node.dataSetting.fixed) {
        plan.obstacles.push_back(FixedObstacle(request, node, n, true));
        continue;
      }
      if (dataRows == 0) {
        PlanObstacle obstacle{PlanObstacleKind::kNoDataSetting, {n}};
        obstacle.minToleranceAlone = MinToleranceAlone(request, node, true);
        plan.obstacles.push_back(obstacle);
        continue;
      }
      count = nominalRows * dataRows;
    }
    settings += count;
    if (settings > kMaxPlanSettings) return tooLarge(settings);
    // Its own conditions: every node that fails them is named, in the request's order.
    MakeCandidates(own, n, node, request, plan.fd, plan.obstacles);
  }
  if (!plan.obstacles.empty()) {
    plan.status = PlanStatus::kNoPlan;
    return plan;
  }
  std::vector<const Candidate*> all;
  for (const NodeCandidates& node : nodes) {
    for (const Candidate& c : node.candidates) all.push_back(&c);
  }
  std::stable_sort(all.begin(), all.end(), ByNominal);
  const int64_t limit = request.samplePointSpread;
  const PlanMargin accuracy = AccuracyOf(request);
  PlanWork work;
  // Step a: the first error whose candidates hold a plan.
  std::vector<float> errors;
  for (const Candidate* c : all) errors.push_back(c->error);
  std::sort(errors.begin(), errors.end());
  errors.erase(std::unique(errors.begin(), errors.end()), errors.end());
  std::vector<const Candidate*> items;
  bool held = false;
  float largestError = 0.0f;
  for (const float e : errors) {
    items.clear();
    if (!work.Spend(all.size())) return tooLarge(0);
    for (const Candidate* c : all) {
      if (c->error <= e && CompareMargins(MarginOf(c->tolerance, e), accuracy) >= 0) items.push_back(c);
    }
    if (!EveryNode(items, nodeCount)) continue;
    bool over = false;
    held = Holds(items, nodeCount, limit, plan.fd, work, over);
    if (over) return tooLarge(0);
    if (held) {
      largestError = e;
      break;
    }
  }
  if (!held) {
    plan.status = PlanStatus::kNoPlan;
    plan.obstacles.push_back(WhyNoPlan(all, nodeCount, accuracy, request, plan.fd, work));
    if (work.Over()) return tooLarge(0);
    return plan;
  }
  // Steps b and c.
  plan.targetMillionths = TargetMillionths(request, false);
  if (!Nearest(items, nodeCount, limit, plan.fd, false, plan.targetMillionths, work)) return tooLarge(0);
  if (plan.fd) {
    plan.dataTargetMillionths = TargetMillionths(request, true);
    if (!Nearest(items, nodeCount, limit, plan.fd, true, plan.dataTargetMillionths, work)) return tooLarge(0);
  }
  // Steps d to g.
  bool found = false;
  BoxPlan best;
  const bool within = ForEachBox(items, nodeCount, limit, plan.fd, work, [&](const std::vector<const Candidate*>& box) {
    BoxPlan candidate = BestInBox(box, nodeCount);
    if (!found || CompareBoxPlans(candidate, best) < 0) best = std::move(candidate), found = true;
    return true;
  });
  if (!within) return tooLarge(0);
  // The plan written out, and its figures.
  plan.margin = MarginOf(best.least, largestError);
  for (int n = 0; n < nodeCount; ++n) {
    const NodeCandidates& node = nodes[static_cast<std::size_t>(n)];
    const Candidate& c = *best.choice[static_cast<std::size_t>(n)];
    PlannedNode planned{&request.nodes[static_cast<std::size_t>(n)], node.nominal.options, node.data.options,
                        node.nominal.rows[static_cast<std::size_t>(c.nominalIndex)], TimingCandidate{},
                        c.nominalIndex, c.dataIndex, c.tolerance, -1};
    planned.nominalOptions.sjw = c.nominalSjw;
    if (c.dataIndex >= 0) {
      planned.data = node.data.rows[static_cast<std::size_t>(c.dataIndex)];
      planned.dataOptions.sjw = c.dataSjw;
    }
    planned.longestBus = LongestBus(RowLengths(planned.nominal, planned.nominalOptions), planned.node->clockKHz,
                                    request.bus.nodeDelayNs);
    plan.nodes.push_back(planned);
  }
  // The limits: which node holds each figure where it is.
  const auto spreadOf = [&](bool data) {
    const Candidate* low = best.choice[0];
    const Candidate* high = best.choice[0];
    for (const Candidate* c : best.choice) {
      const int64_t key = data ? c->y.key : c->x.key;
      if (key < (data ? low->y.key : low->x.key)) low = c;
      if (key > (data ? high->y.key : high->x.key)) high = c;
    }
    return data ? SpreadHundredths(low->y, high->y) : SpreadHundredths(low->x, high->x);
  };
  plan.spread = spreadOf(false);
  plan.dataSpread = plan.fd ? spreadOf(true) : 0;
  const auto farthest = [&](bool data, int64_t target, bool& own) {
    int node = -1;
    Distance most{0, 1};
    for (int n = 0; n < nodeCount; ++n) {
      const Candidate* c = best.choice[static_cast<std::size_t>(n)];
      const Distance d = DistanceOf(data ? c->y : c->x, target);
      if (CompareDistances(d, most) > 0) most = d, node = n;
    }
    own = false;
    if (node < 0) return node;
    // Its own: no candidate of the node (of those that meet the node's own conditions)
    // lies nearer the target.
    own = true;
    for (const Candidate& c : nodes[static_cast<std::size_t>(node)].candidates) {
      if (CompareDistances(DistanceOf(data ? c.y : c.x, target), most) < 0) own = false;
    }
    return node;
  };
  plan.limits.samplePointNode = farthest(false, plan.targetMillionths, plan.limits.samplePointOwn);
  if (plan.fd) plan.limits.dataSamplePointNode = farthest(true, plan.dataTargetMillionths, plan.limits.dataSamplePointOwn);
  plan.maxBusLength = plan.nodes[0].longestBus;
  for (int n = 0; n < nodeCount; ++n) {
    const PlannedNode& node = plan.nodes[static_cast<std::size_t>(n)];
    const Candidate& c = *best.choice[static_cast<std::size_t>(n)];
    if (ToleranceBelow(c.tolerance, plan.nodes[static_cast<std::size_t>(plan.limits.toleranceNode)].tolerance))
      plan.limits.toleranceNode = n;
    if (largestError > 0.0f && plan.limits.errorNode < 0 && c.error == largestError) plan.limits.errorNode = n;
    if (node.longestBus < plan.maxBusLength) plan.maxBusLength = node.longestBus, plan.limits.longestBusNode = n;
  }
  return plan;
}

int CompareMargins(const PlanMargin& a, const PlanMargin& b) {
  // Fast path: each double is within 10^-13 of its margin (numerators and
  // denominators below 2^53, margins of a few hundred percent at most), so a gap of
  // 10^-9 decides; a closer pair is settled exactly.
  const double da = Approximate(a);
  const double db = Approximate(b);
  if (da - db > 1e-9) return 1;
  if (db - da > 1e-9) return -1;
  return ExactCompare(a, b);
}

namespace {

// Whether the margin is at least hundredths / 100 percent: m - h/100 = (100N - hD) /
// (100D) - e, which is below 0 outright when its fraction is.
bool AtLeastHundredths(const PlanMargin& m, int64_t hundredths) {
  const int64_t numerator = 100 * m.numerator - hundredths * m.denominator;
  if (numerator < 0) return false;
  return CompareMargins(PlanMargin{numerator, 100 * m.denominator, m.error}, PlanMargin{0, 1, 0.0f}) >= 0;
}

}  // namespace

std::string MarginText(const PlanMargin& margin) {
  int64_t h = static_cast<int64_t>(std::floor(Approximate(margin) * 100.0));
  while (!AtLeastHundredths(margin, h)) --h;
  while (AtLeastHundredths(margin, h + 1)) ++h;
  return ToFixedText(h, 2, 2).get() + std::string("%");
}

std::string SpreadPointsText(int64_t hundredths) { return ToFixedText(hundredths, 2, 0).get(); }

std::string MillionthsText(int64_t millionths) { return ToFixedText(millionths, 6, 0).get(); }

std::string ClockMHzText(int32_t clockKHz) { return ToFixedText(clockKHz, 3, 0).get(); }

namespace {

// "a", "a and b", "a, b and c".
std::string NamesText(const std::vector<int>& nodes, const Request& request) {
  std::string text;
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    if (i > 0) text += i + 1 == nodes.size() ? " and " : ", ";
    text += ShortenedName(request.nodes[static_cast<std::size_t>(nodes[i])].name);
  }
  return text;
}

// A rate error in percent to hundredths, trailing zeros dropped: "20", "1.19".
std::string ErrorText(float error) {
  return ToFixedText(static_cast<int64_t>(std::llround(static_cast<double>(error) * 100.0)), 2, 0).get();
}

std::string RateText(float rate) { return ToText(rate).get(); }

// The clock accuracy in percent: 100 ppm "0.01".
std::string AccuracyText(const Request& request) {
  int64_t ppm = 0;
  for (const PlanNode& node : request.nodes) {
    const int64_t own = node.ppm >= 0 ? node.ppm : request.clockAccuracyPpm;
    if (own > ppm) ppm = own;
  }
  return ToFixedText(ppm, 4, 0).get();
}

std::string ObstacleLine(const PlanObstacle& obstacle, const Request& request) {
  const std::string title =
      obstacle.nodes.empty() ? std::string() : NodeTitle(request.nodes[static_cast<std::size_t>(obstacle.nodes[0])]);
  const std::string delay = " with a " + std::to_string(request.bus.nodeDelayNs) + " ns node delay";
  const std::string spread = MillionthsText(request.samplePointSpread);
  const bool dataFixed = !obstacle.nodes.empty() &&
                         request.nodes[static_cast<std::size_t>(obstacle.nodes[0])].dataSetting.fixed;
  const std::string tolerance = ToFixedText(obstacle.data ? request.dataToleranceHundredths
                                                          : request.toleranceHundredths, 2, 0).get();
  switch (obstacle.kind) {
    case PlanObstacleKind::kOutOfReach:
      return title + " reaches at most " + ToFixedText(obstacle.figure, 3, 0).get() + " Kbps";
    case PlanObstacleKind::kNoSetting:
      if (obstacle.minToleranceAlone)
        return title + " has no setting that meets --min-tolerance (a lower --min-tolerance finds one)";
      return title + " has no setting for the rate (a larger --tolerance or a lower --sample-point may find one)";
    case PlanObstacleKind::kNoDataSetting:
      if (obstacle.minToleranceAlone)
        return title + " has no data-phase setting that meets --min-tolerance (a lower --min-tolerance finds one)";
      return title + " has no data-phase setting for --data-rate (a larger --data-tolerance or a lower "
                     "--data-sample-point may find one)";
    case PlanObstacleKind::kNoBus:
      return title + " reaches no bus at " + RateText(request.targetRate) + " Kbps" + delay +
             ": its propagation segment leaves no phase 1";
    case PlanObstacleKind::kShortBus:
      return title + " reaches at most " + std::to_string(obstacle.figure) + " m at " + RateText(request.targetRate) +
             " Kbps" + delay + "; --bus-length is " + std::to_string(request.bus.busLengthM);
    case PlanObstacleKind::kNoTdc:
      return title + " has no TDC, and at " + RateText(request.dataRate) + " Kbps" + delay +
             (dataFixed ? " its fixed data setting samples before its own bits return"
                        : " none of its data settings samples after its own bits return");
    case PlanObstacleKind::kNoTdcSetting:
      return title + " has TDC, which a data phase at 1000 Kbps and above needs, but " +
             (dataFixed ? "its fixed data setting at " : "none of its data settings at ") +
             RateText(request.dataRate) + " Kbps " + (dataFixed ? "cannot" : "can") +
             " use it (data prescaler 1 or 2, offset within range)";
    case PlanObstacleKind::kFixedOffRate:
      return title + (obstacle.data ? " runs its data bits at " : " runs at ") + RateText(obstacle.fixedRow.actualRate) +
             " Kbps, " + ErrorText(obstacle.fixedRow.errorPercent) + "% off the " + (obstacle.data ? "data " : "") +
             "rate; " + (obstacle.data ? "--data-tolerance" : "--tolerance") + " is " + tolerance;
    case PlanObstacleKind::kFixedSamplePoint:
      return title + (obstacle.data ? " samples its data bits at " : " samples at ") +
             SamplePointPercent(obstacle.fixedRow) + ", below " +
             (obstacle.data ? "--data-sample-point" : "--sample-point");
    case PlanObstacleKind::kFixedMinTolerance:
      return title + (obstacle.data ? " has a data-phase tolerance" : " has a tolerance") + " below --min-tolerance";
    case PlanObstacleKind::kMargin: {
      const bool one = obstacle.nodes.size() == 1;
      const std::string below = " for the oscillators, below the " + AccuracyText(request) + "% clock accuracy";
      if (obstacle.error > 0.0f)
        return NamesText(obstacle.nodes, request) + (one ? " is " : " are ") + ErrorText(obstacle.error) +
               "% off the rate: " + (one ? "its" : "their") + " tolerance leaves " + MarginText(obstacle.margin) + below;
      return NamesText(obstacle.nodes, request) + (one ? " leaves " : " leave ") + "at most " +
             MarginText(obstacle.margin) + below;
    }
    case PlanObstacleKind::kMarginWithSpread:
      return "no plan leaves the " + AccuracyText(request) +
             "% clock accuracy with its sample points within --sample-point-spread " + spread +
             ": the settings that leave it spread them wider";
    case PlanObstacleKind::kSpread:
      return "the closest plan spreads the sample points over " + SpreadPointsText(obstacle.figure) +
             " points; --sample-point-spread is " + spread;
    case PlanObstacleKind::kDataSpread:
      return "the closest plan spreads the data sample points over " + SpreadPointsText(obstacle.figure) +
             " points; --sample-point-spread is " + spread;
  }
  return "";
}

// The line of the node farthest from the target, in one phase (fact: its
// PlanLimitFact).
std::string SamplePointLimit(const BusPlan& plan, const PlanLimitFact& fact, bool data) {
  const std::string phase = data ? "data " : "";
  const std::string node = NodeTitle(*plan.nodes[static_cast<std::size_t>(fact.node)].node);
  if (fact.own)
    return node + " cannot " + (data ? "sample its data bits" : "sample") + " nearer to " + fact.target +
           " than " + fact.value;
  return node + " samples " + (data ? "its data bits " : "") + "at " + fact.value + ", the farthest from " +
         fact.target + ": its " + phase + "settings nearer to it break the spread, add rate error or leave too little margin";
}

// The fact of the sample point in one phase: the node farthest from the target, or
// none when every node is on it.
PlanLimitFact SamplePointFact(const BusPlan& plan, int node, bool own, bool data) {
  PlanLimitFact fact;
  fact.kind = data ? PlanLimitKind::kDataSamplePoint : PlanLimitKind::kSamplePoint;
  fact.target = MillionthsText(data ? plan.dataTargetMillionths : plan.targetMillionths) + "%";
  if (node < 0) return fact;
  const PlannedNode& planned = plan.nodes[static_cast<std::size_t>(node)];
  fact.node = node;
  fact.own = own;
  fact.value = SamplePointPercent(data ? planned.data : planned.nominal);
  return fact;
}

}  // namespace

std::string NodeTitle(const PlanNode& node) {
  const char* fixed = node.setting.fixed ? (node.dataSetting.fixed ? ", settings fixed" : ", setting fixed")
                                         : (node.dataSetting.fixed ? ", data setting fixed" : "");
  return ShortenedName(node.name) + " (" + ShortenedName(node.controller->name) + " at " + ClockMHzText(node.clockKHz) +
         " MHz" + fixed + ")";
}

std::vector<std::string> PlanFixedLines(const BusPlan& plan) {
  std::vector<std::string> lines;
  if (plan.status != PlanStatus::kFound) return lines;
  // Registers are named as typed (their first 40 characters), then what they hold:
  // "registers=0x001C0005 (setting=6/11/2, sjw=1)".
  const auto text = [](bool data, const FixedSetting& setting, int32_t sjw) {
    const std::string lengths = std::string(data ? "dsetting=" : "setting=") + std::to_string(setting.prescaler) + "/" +
                                std::to_string(setting.seg1) + "/" + std::to_string(setting.seg2);
    if (setting.registers.empty()) return lengths;
    return std::string(data ? "dregisters=" : "registers=") + ShortenedName(setting.registers) + " (" + lengths +
           (data ? ", dsjw=" : ", sjw=") + std::to_string(sjw) + ")";
  };
  for (const PlannedNode& planned : plan.nodes) {
    const PlanNode& node = *planned.node;
    if (!node.setting.fixed && !node.dataSetting.fixed) continue;
    std::string line = ShortenedName(node.name) + " (" + ShortenedName(node.controller->name) + " at " +
                       ClockMHzText(node.clockKHz) + " MHz) keeps ";
    if (node.setting.fixed) line += text(false, node.setting, node.sjw);
    if (node.setting.fixed && node.dataSetting.fixed) line += ", ";
    if (node.dataSetting.fixed) line += text(true, node.dataSetting, node.dataSjw);
    lines.push_back(line + " as given");
  }
  return lines;
}

std::vector<PlanWarningFact> PlanWarningFacts(const BusPlan& plan) {
  std::vector<PlanWarningFact> facts;
  if (plan.status != PlanStatus::kFound) return facts;
  for (std::size_t n = 0; n < plan.nodes.size(); ++n) {
    const PlannedNode& planned = plan.nodes[n];
    for (const bool data : {false, true}) {
      if (data && !plan.fd) continue;
      const BitTimingLengths lengths =
          RowLengths(data ? planned.data : planned.nominal, data ? planned.dataOptions : planned.nominalOptions);
      const int32_t quanta = 1 + lengths.seg1 + lengths.seg2;
      if (quanta < 8) facts.push_back(PlanWarningFact{static_cast<int>(n), data, quanta});
    }
  }
  return facts;
}

std::vector<std::string> PlanWarningLines(const BusPlan& plan) {
  std::vector<std::string> lines;
  for (const PlanWarningFact& fact : PlanWarningFacts(plan))
    lines.push_back(NodeTitle(*plan.nodes[static_cast<std::size_t>(fact.node)].node) + " has " +
                    std::to_string(fact.quanta) + " quanta per " + (fact.data ? "data bit" : "bit") +
                    ", fewer than 8: resynchronisation is coarse");
  return lines;
}

std::vector<std::string> PlanRefusalLines(const BusPlan& plan, const Request& request) {
  std::vector<std::string> lines;
  if (plan.status == PlanStatus::kTooLarge) {
    if (plan.settings == 0)
      lines.push_back("the request is too large to answer: weighing its plans takes more than " +
                      std::to_string(kMaxPlanWork) + " steps (a smaller --sample-point-spread or --tolerance leaves fewer)");
    else
      lines.push_back("the request is too large to answer: the nodes' listings hold more than " +
                      std::to_string(kMaxPlanSettings) +
                      " settings to weigh (a smaller --tolerance or a higher --sample-point leaves fewer)");
    return lines;
  }
  for (const PlanObstacle& obstacle : plan.obstacles) lines.push_back(ObstacleLine(obstacle, request));
  return lines;
}

std::vector<PlanLimitFact> PlanLimitFacts(const BusPlan& plan) {
  std::vector<PlanLimitFact> facts;
  if (plan.status != PlanStatus::kFound) return facts;
  const PlanLimits& limits = plan.limits;
  facts.push_back(SamplePointFact(plan, limits.samplePointNode, limits.samplePointOwn, false));
  if (plan.fd) facts.push_back(SamplePointFact(plan, limits.dataSamplePointNode, limits.dataSamplePointOwn, true));
  PlanLimitFact margin;
  margin.kind = PlanLimitKind::kMargin;
  const PlannedNode& least = plan.nodes[static_cast<std::size_t>(limits.toleranceNode)];
  margin.node = limits.toleranceNode;
  margin.value = PercentText(least.tolerance);
  if (limits.errorNode >= 0) {
    const PlannedNode& off = plan.nodes[static_cast<std::size_t>(limits.errorNode)];
    float error = std::fabs(off.nominal.errorPercent);
    if (plan.fd && std::fabs(off.data.errorPercent) > error) error = std::fabs(off.data.errorPercent);
    margin.errorNode = limits.errorNode;
    margin.error = ErrorText(error) + "%";
  }
  facts.push_back(margin);
  if (plan.maxBusLength >= 0) {
    PlanLimitFact bus;
    bus.kind = PlanLimitKind::kLongestBus;
    bus.node = limits.longestBusNode;
    bus.value = std::to_string(plan.maxBusLength) + " m";
    facts.push_back(bus);
  }
  return facts;
}

std::vector<std::string> PlanLimitLines(const BusPlan& plan) {
  std::vector<std::string> lines;
  const auto title = [&](int node) { return NodeTitle(*plan.nodes[static_cast<std::size_t>(node)].node); };
  for (const PlanLimitFact& fact : PlanLimitFacts(plan)) {
    switch (fact.kind) {
      case PlanLimitKind::kSamplePoint:
        lines.push_back(fact.node < 0 ? "every node samples at the target " + fact.target
                                      : SamplePointLimit(plan, fact, false));
        break;
      case PlanLimitKind::kDataSamplePoint:
        lines.push_back(fact.node < 0 ? "every node samples its data bits at the target " + fact.target
                                      : SamplePointLimit(plan, fact, true));
        break;
      case PlanLimitKind::kMargin:
        lines.push_back(title(fact.node) + " has the smallest tolerance, " + fact.value +
                        (fact.errorNode < 0 ? "" : "; " + title(fact.errorNode) + " the largest rate error, " + fact.error));
        break;
      case PlanLimitKind::kLongestBus:
        lines.push_back(title(fact.node) + " reaches the shortest bus, " + fact.value);
        break;
    }
  }
  return lines;
}

const char* PlanStatusName(const BusPlan& plan) {
  if (plan.status == PlanStatus::kFound) return "found";
  if (plan.status == PlanStatus::kTooLarge || plan.obstacles.empty()) return "too-large";
  switch (plan.obstacles[0].kind) {
    case PlanObstacleKind::kOutOfReach: return "out-of-reach";
    case PlanObstacleKind::kNoSetting: return "node-without-setting";
    case PlanObstacleKind::kNoDataSetting: return "node-without-data-setting";
    case PlanObstacleKind::kNoBus: return "no-bus";
    case PlanObstacleKind::kShortBus: return "short-bus";
    case PlanObstacleKind::kNoTdc: return "no-tdc";
    case PlanObstacleKind::kNoTdcSetting: return "no-tdc-setting";
    case PlanObstacleKind::kMargin: return "margin";
    case PlanObstacleKind::kMarginWithSpread: return "margin-with-spread";
    case PlanObstacleKind::kSpread: return "spread-too-wide";
    case PlanObstacleKind::kDataSpread: return "data-spread-too-wide";
    case PlanObstacleKind::kFixedOffRate: return "fixed-off-rate";
    case PlanObstacleKind::kFixedSamplePoint: return "fixed-sample-point";
    case PlanObstacleKind::kFixedMinTolerance: return "fixed-min-tolerance";
  }
  return "found";
}
