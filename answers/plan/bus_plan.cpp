// The bus plan. The product of all listings is never walked; the rule is met level by
// level, each level narrowing what the next one searches:
//   1. List every node (its own listing: the same search, options and rows), and make
//      its candidates: each row, or on an FD bus each nominal/data pair, with its
//      sample points (x nominal, y data), tolerance, largest error, quanta, prescaler
//      match and listing places. A node without rows ends the plan.
//   2. The best margin M*. Any plan within the spread lies in a box [ax, ax + S] ×
//      [ay, ay + S] whose corner is its lowest sample points, so the boxes anchored at
//      every sample point that occurs hold every plan. In one box the nodes choose
//      freely; sorting the box's candidates by error and sweeping up, with each node's
//      best tolerance so far, gives at each error e the best plan whose largest error
//      is e: min over nodes of that tolerance, minus e. No box: the spread is too
//      narrow, and the closest spread is measured for the message.
//   3. The errors e that a best plan can have: a plan of margin M* has a node whose
//      tolerance is exactly M* + e, e its largest error. For each such e, the plans of
//      margin M* whose largest error is at most e are exactly those whose every node has
//      error <= e and tolerance >= M* + e: a box of choices per node, independent.
//   4. In that box of choices, per node, candidates at the same sample points differ
//      only in steps 5 to 7 of the rule, which each node decides alone: each keeps the
//      best one per sample point (its key).
//   5. The smallest spread: for each lowest nominal key ax, the first highest bx that
//      leaves every node a key in [ax, bx] with a data spread within S (the data range
//      found by a sweep over y); the smallest (bx - ax, data spread) over all ax, and
//      every box that attains it.
//   6. In each such box every plan has exactly the smallest spreads; its keys are few
//      (the box is the narrowest there is), so the plans are walked whole and compared
//      by steps 4 to 7.
//   7. The best plan over every e of step 3.
#include "answers/plan/bus_plan.h"

#include "answers/request/echoed_value.h"
#include "answers/rows/phase_search.h"
#include "calc/best_setting.h"
#include "calc/big_integer.h"
#include "calc/fdcan_timing.h"
#include "calc/text.h"

#include <algorithm>
#include <cmath>

namespace {

struct Candidate {
  int64_t x;  // nominal sample point, units
  int64_t y;  // data sample point, units; 0 on a classic bus
  Tolerance tolerance;
  float error;  // the largest |error| of its rows
  int32_t quanta;
  bool samePrescaler;
  int32_t nominalIndex;
  int32_t dataIndex;
};

struct NodeCandidates {
  NodeListing nominal;
  NodeListing data;
  std::vector<Candidate> candidates;  // by x, then y
};

bool ToleranceBelow(const Tolerance& a, const Tolerance& b) {
  return a.numerator * b.denominator < b.numerator * a.denominator;
}

bool ByKey(const Candidate& a, const Candidate& b) { return a.x != b.x ? a.x < b.x : a.y < b.y; }

// The planner's work, counted as it goes: every candidate a step visits (in a box, a
// range, a filter) and every plan step 6 scores costs one per node. Past kMaxPlanWork the
// steps stop and the plan is refused as too large, so no request runs longer than the
// bound, which is a count (the same answer on every machine), not a clock.
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

// ---- the listings ----

std::vector<BitTimingLengths> ListingLengths(const NodeListing& listing) {
  std::vector<BitTimingLengths> lengths;
  lengths.reserve(listing.rows.size());
  for (const TimingCandidate& row : listing.rows) lengths.push_back(RowLengths(row, listing.options));
  return lengths;
}

int32_t QuantaOf(const TimingCandidate& row) { return row.bs1Code + row.bs2Code + 3; }

void MakeCandidates(NodeCandidates& node, bool fd, int32_t clockKHz, const BusConditions& bus) {
  const std::vector<TimingCandidate>& nominal = node.nominal.rows;
  if (!fd) {
    for (std::size_t i = 0; i < nominal.size(); ++i) {
      const TimingCandidate& row = nominal[i];
      node.candidates.push_back(Candidate{SamplePointUnits(row.samplePoint), 0, RowTolerance(row, node.nominal.options),
                                          std::fabs(row.errorPercent), QuantaOf(row), false, static_cast<int32_t>(i), -1});
    }
  } else {
    const std::vector<BitTimingLengths> nominalLengths = ListingLengths(node.nominal);
    const std::vector<BitTimingLengths> dataLengths = ListingLengths(node.data);
    const std::vector<TimingCandidate>& data = node.data.rows;
    node.candidates.reserve(nominal.size() * data.size());
    for (std::size_t i = 0; i < nominal.size(); ++i) {
      for (std::size_t j = 0; j < data.size(); ++j) {
        const float a = std::fabs(nominal[i].errorPercent);
        const float b = std::fabs(data[j].errorPercent);
        node.candidates.push_back(Candidate{SamplePointUnits(nominal[i].samplePoint), SamplePointUnits(data[j].samplePoint),
                                            PairTolerance(nominalLengths[i], dataLengths[j], clockKHz, bus),
                                            a < b ? b : a, QuantaOf(nominal[i]) + QuantaOf(data[j]),
                                            nominal[i].prescaler == data[j].prescaler, static_cast<int32_t>(i),
                                            static_cast<int32_t>(j)});
      }
    }
  }
  std::stable_sort(node.candidates.begin(), node.candidates.end(), ByKey);
}

// The candidates of a node (sorted by x) with x in [low, high].
std::pair<std::size_t, std::size_t> XRange(const std::vector<Candidate>& candidates, int64_t low, int64_t high) {
  const auto first = std::lower_bound(candidates.begin(), candidates.end(), low,
                                      [](const Candidate& c, int64_t v) { return c.x < v; });
  const auto last = std::upper_bound(first, candidates.end(), high, [](int64_t v, const Candidate& c) { return v < c.x; });
  return {static_cast<std::size_t>(first - candidates.begin()), static_cast<std::size_t>(last - candidates.begin())};
}

// ---- step 2: the best margin ----

struct BoxItem {
  float error;
  Tolerance tolerance;
  int node;
};

// The best margin of the plans inside one box (step 2's sweep); false when some node has
// nothing in it.
bool BoxMargin(std::vector<BoxItem>& items, int nodeCount, PlanMargin& best, bool& found) {
  std::sort(items.begin(), items.end(), [](const BoxItem& a, const BoxItem& b) { return a.error < b.error; });
  std::vector<Tolerance> bestTolerance(static_cast<std::size_t>(nodeCount), Tolerance{-1, 1});
  int covered = 0;
  bool any = false;
  for (std::size_t i = 0; i < items.size();) {
    const float error = items[i].error;
    for (; i < items.size() && items[i].error == error; ++i) {
      Tolerance& t = bestTolerance[static_cast<std::size_t>(items[i].node)];
      if (t.numerator < 0) ++covered;
      if (t.numerator < 0 || ToleranceBelow(t, items[i].tolerance)) t = items[i].tolerance;
    }
    if (covered < nodeCount) continue;
    Tolerance least = bestTolerance[0];
    for (const Tolerance& t : bestTolerance) {
      if (ToleranceBelow(t, least)) least = t;
    }
    const PlanMargin margin = MarginOf(least, error);
    if (!found || CompareMargins(margin, best) > 0) best = margin;
    found = any = true;
  }
  return any;
}

// The distinct values of v, sorted.
std::vector<int64_t> Distinct(std::vector<int64_t> v) {
  std::sort(v.begin(), v.end());
  v.erase(std::unique(v.begin(), v.end()), v.end());
  return v;
}

bool BestMargin(const std::vector<NodeCandidates>& nodes, int64_t limit, PlanMargin& best, PlanWork& work) {
  std::vector<int64_t> xs;
  for (const NodeCandidates& node : nodes) {
    for (const Candidate& c : node.candidates) xs.push_back(c.x);
  }
  xs = Distinct(std::move(xs));
  const int nodeCount = static_cast<int>(nodes.size());
  bool found = false;
  std::vector<BoxItem> items;
  std::vector<int64_t> ys;
  for (const int64_t ax : xs) {
    ys.clear();
    bool everyNode = true;
    std::vector<std::pair<std::size_t, std::size_t>> ranges;
    for (const NodeCandidates& node : nodes) {
      ranges.push_back(XRange(node.candidates, ax, ax + limit));
      everyNode = everyNode && ranges.back().first < ranges.back().second;
      for (std::size_t i = ranges.back().first; i < ranges.back().second; ++i) ys.push_back(node.candidates[i].y);
    }
    if (!everyNode) continue;
    if (!work.Spend(ys.size())) return false;
    ys = Distinct(std::move(ys));
    for (const int64_t ay : ys) {
      items.clear();
      for (int n = 0; n < nodeCount; ++n) {
        const std::vector<Candidate>& candidates = nodes[static_cast<std::size_t>(n)].candidates;
        for (std::size_t i = ranges[static_cast<std::size_t>(n)].first; i < ranges[static_cast<std::size_t>(n)].second; ++i) {
          const Candidate& c = candidates[i];
          if (c.y >= ay && c.y - ay <= limit) items.push_back(BoxItem{c.error, c.tolerance, n});
        }
      }
      if (!work.Spend(items.size())) return false;
      BoxMargin(items, nodeCount, best, found);
    }
  }
  return found;
}

// ---- the smallest range covering every node (the closest spread, step 5) ----

struct Point {
  int64_t value;
  int node;
};

// The narrowest range of values holding a point of every node; -1 when some node has
// none.
int64_t NarrowestCover(std::vector<Point>& points, int nodeCount) {
  std::sort(points.begin(), points.end(), [](const Point& a, const Point& b) { return a.value < b.value; });
  std::vector<int> count(static_cast<std::size_t>(nodeCount), 0);
  int covered = 0;
  int64_t best = -1;
  std::size_t low = 0;
  for (std::size_t high = 0; high < points.size(); ++high) {
    if (count[static_cast<std::size_t>(points[high].node)]++ == 0) ++covered;
    while (covered == nodeCount) {
      const int64_t width = points[high].value - points[low].value;
      if (best < 0 || width < best) best = width;
      if (--count[static_cast<std::size_t>(points[low].node)] == 0) --covered;
      ++low;
    }
  }
  return best;
}

// The closest the sample points come, for the message: the nominal ones over every
// candidate; when they fit, the data ones among plans whose nominal ones fit.
void ClosestSpread(const std::vector<NodeCandidates>& nodes, bool fd, int64_t limit, BusPlan& plan, PlanWork& work) {
  const int nodeCount = static_cast<int>(nodes.size());
  std::vector<Point> points;
  for (int n = 0; n < nodeCount; ++n) {
    for (const Candidate& c : nodes[static_cast<std::size_t>(n)].candidates) points.push_back(Point{c.x, n});
  }
  const int64_t nominal = NarrowestCover(points, nodeCount);
  if (!fd || nominal > limit) {
    plan.status = PlanStatus::kSpreadTooWide;
    plan.closestSpread = nominal;
    return;
  }
  int64_t closest = -1;
  for (const Point& anchor : std::vector<Point>(points)) {
    std::vector<Point> data;
    for (int n = 0; n < nodeCount; ++n) {
      const std::vector<Candidate>& candidates = nodes[static_cast<std::size_t>(n)].candidates;
      const auto range = XRange(candidates, anchor.value, anchor.value + limit);
      for (std::size_t i = range.first; i < range.second; ++i) data.push_back(Point{candidates[i].y, n});
    }
    if (!work.Spend(data.size())) return;
    const int64_t width = NarrowestCover(data, nodeCount);
    if (width >= 0 && (closest < 0 || width < closest)) closest = width;
  }
  plan.status = PlanStatus::kDataSpreadTooWide;
  plan.closestSpread = closest;
}

// ---- steps 3 to 7 ----

// A node's best candidate at one pair of sample points (steps 5 to 7 between them).
bool NodeBetter(const Candidate& a, const Candidate& b) {
  if (a.samePrescaler != b.samePrescaler) return a.samePrescaler;
  if (a.quanta != b.quanta) return a.quanta > b.quanta;
  if (a.nominalIndex != b.nominalIndex) return a.nominalIndex < b.nominalIndex;
  return a.dataIndex < b.dataIndex;
}

// The advice of calc/best_setting.h, the exact fraction.
using Advice = SamplePointAdvice;

// What ranks plans of equal margin: steps 3 to 7.
struct PlanScore {
  int64_t spread = 0;
  int64_t dataSpread = 0;
  int64_t distance = 0;      // |q × sum - n × p × 2^40| for the advice p / q
  int64_t dataDistance = 0;
  int32_t samePrescalers = 0;
  int64_t quanta = 0;
  std::vector<Candidate> choice;  // copies: the candidates' stores are reused
};

// -1 when a ranks first.
int CompareScores(const PlanScore& a, const PlanScore& b) {
  auto less = [](int64_t u, int64_t v) { return u < v ? -1 : (v < u ? 1 : 0); };
  if (int c = less(a.spread, b.spread)) return c;
  if (int c = less(a.dataSpread, b.dataSpread)) return c;
  if (int c = less(a.distance, b.distance)) return c;
  if (int c = less(a.dataDistance, b.dataDistance)) return c;
  if (int c = less(b.samePrescalers, a.samePrescalers)) return c;
  if (int c = less(b.quanta, a.quanta)) return c;
  for (std::size_t n = 0; n < a.choice.size(); ++n) {
    if (int c = less(a.choice[n].nominalIndex, b.choice[n].nominalIndex)) return c;
    if (int c = less(a.choice[n].dataIndex, b.choice[n].dataIndex)) return c;
  }
  return 0;
}

int64_t Distance(int64_t sum, int64_t count, const Advice& advice) {
  const int64_t d = advice.denominator * sum - count * advice.numerator * (int64_t{1} << kSamplePointUnitBits);
  return d < 0 ? -d : d;
}

struct Walk {
  const std::vector<std::vector<const Candidate*>>* keys;  // per node, in the box
  Advice advice;
  Advice dataAdvice;
  std::vector<const Candidate*> choice;
  bool found = false;
  PlanScore best;
  PlanWork* work;
};

void WalkPlans(Walk& walk, std::size_t node) {
  const auto& keys = *walk.keys;
  if (walk.work->Over()) return;
  if (node == keys.size()) {
    walk.work->Spend(keys.size());
    PlanScore score;
    int64_t low = 0, high = 0, dataLow = 0, dataHigh = 0, sum = 0, dataSum = 0;
    for (std::size_t n = 0; n < walk.choice.size(); ++n) {
      const Candidate& c = *walk.choice[n];
      if (n == 0 || c.x < low) low = c.x;
      if (n == 0 || c.x > high) high = c.x;
      if (n == 0 || c.y < dataLow) dataLow = c.y;
      if (n == 0 || c.y > dataHigh) dataHigh = c.y;
      sum += c.x;
      dataSum += c.y;
      score.samePrescalers += c.samePrescaler ? 1 : 0;
      score.quanta += c.quanta;
    }
    const int64_t count = static_cast<int64_t>(walk.choice.size());
    score.spread = high - low;
    score.dataSpread = dataHigh - dataLow;
    score.distance = Distance(sum, count, walk.advice);
    score.dataDistance = Distance(dataSum, count, walk.dataAdvice);
    for (const Candidate* c : walk.choice) score.choice.push_back(*c);
    if (!walk.found || CompareScores(score, walk.best) < 0) {
      walk.best = score;
      walk.found = true;
    }
    return;
  }
  for (const Candidate* c : keys[node]) {
    walk.choice[node] = c;
    WalkPlans(walk, node + 1);
  }
}

// The narrowest data range over keys (each node's keys with x in a nominal range):
// its width and every low end attaining it; -1 when some node has none.
int64_t DataCover(const std::vector<std::vector<const Candidate*>>& keys, std::vector<int64_t>& lows) {
  std::vector<Point> points;
  for (std::size_t n = 0; n < keys.size(); ++n) {
    for (const Candidate* c : keys[n]) points.push_back(Point{c->y, static_cast<int>(n)});
  }
  const int nodeCount = static_cast<int>(keys.size());
  const int64_t width = NarrowestCover(points, nodeCount);
  lows.clear();
  if (width < 0) return width;
  // Every low end from which [low, low + width] holds every node.
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (i > 0 && points[i].value == points[i - 1].value) continue;
    const int64_t low = points[i].value;
    std::vector<bool> seen(keys.size(), false);
    int covered = 0;
    for (std::size_t j = i; j < points.size() && points[j].value - low <= width; ++j) {
      if (!seen[static_cast<std::size_t>(points[j].node)]) seen[static_cast<std::size_t>(points[j].node)] = true, ++covered;
    }
    if (covered == nodeCount) lows.push_back(low);
  }
  return width;
}

// Steps 4 to 6 for the choices of one e: the best plan among them, if any; false too
// once the work is over its bound.
bool BestInChoices(const std::vector<std::vector<Candidate>>& choices, int64_t limit, const Advice& advice,
                   const Advice& dataAdvice, PlanScore& best, PlanWork& work) {
  // Step 4: each node's best candidate per key, the keys sorted by x.
  std::vector<std::vector<const Candidate*>> keys(choices.size());
  std::vector<int64_t> xs;
  for (std::size_t n = 0; n < choices.size(); ++n) {
    for (const Candidate& c : choices[n]) {
      if (!keys[n].empty() && keys[n].back()->x == c.x && keys[n].back()->y == c.y) {
        if (NodeBetter(c, *keys[n].back())) keys[n].back() = &c;
      } else {
        keys[n].push_back(&c);
      }
      xs.push_back(c.x);
    }
  }
  xs = Distinct(std::move(xs));
  // Step 5: the narrowest boxes.
  struct Box {
    int64_t ax, bx, ay, by;
  };
  std::vector<Box> boxes;
  int64_t bestWidth = -1, bestDataWidth = -1;
  std::vector<std::vector<const Candidate*>> inRange(keys.size());
  std::vector<int64_t> lows;
  for (std::size_t a = 0; a < xs.size(); ++a) {
    for (std::size_t b = a; b < xs.size() && xs[b] - xs[a] <= limit; ++b) {
      if (bestWidth >= 0 && xs[b] - xs[a] > bestWidth) break;
      bool everyNode = true;
      for (std::size_t n = 0; n < keys.size(); ++n) {
        if (!work.Spend(keys[n].size())) return false;
        inRange[n].clear();
        for (const Candidate* c : keys[n]) {
          if (c->x >= xs[a] && c->x <= xs[b]) inRange[n].push_back(c);
        }
        everyNode = everyNode && !inRange[n].empty();
      }
      if (!everyNode) continue;
      const int64_t dataWidth = DataCover(inRange, lows);
      if (dataWidth < 0 || dataWidth > limit) continue;
      const int64_t width = xs[b] - xs[a];
      if (bestWidth < 0 || width < bestWidth || (width == bestWidth && dataWidth < bestDataWidth)) {
        bestWidth = width;
        bestDataWidth = dataWidth;
        boxes.clear();
      }
      if (width == bestWidth && dataWidth == bestDataWidth) {
        for (const int64_t low : lows) boxes.push_back(Box{xs[a], xs[b], low, low + dataWidth});
      }
      break;  // a wider bx from this ax only widens the nominal spread
    }
  }
  if (boxes.empty()) return false;
  // Step 6: every plan in the narrowest boxes.
  Walk walk;
  walk.advice = advice;
  walk.dataAdvice = dataAdvice;
  walk.choice.assign(keys.size(), nullptr);
  walk.work = &work;
  std::vector<std::vector<const Candidate*>> inBox(keys.size());
  walk.keys = &inBox;
  for (const Box& box : boxes) {
    for (std::size_t n = 0; n < keys.size(); ++n) {
      if (!work.Spend(keys[n].size())) return false;
      inBox[n].clear();
      for (const Candidate* c : keys[n]) {
        if (c->x >= box.ax && c->x <= box.bx && c->y >= box.ay && c->y <= box.by) inBox[n].push_back(c);
      }
    }
    WalkPlans(walk, 0);
  }
  if (!walk.found || work.Over()) return false;
  best = walk.best;
  return true;
}

}  // namespace

int64_t SamplePointUnits(float samplePoint) {
  return static_cast<int64_t>(std::ldexp(static_cast<double>(samplePoint), kSamplePointUnitBits));
}

int64_t SpreadUnits(int64_t millionths) {
  // 10^8 = 2^8 × 390625: diff × 390625 <= millionths × 2^32, both below 2^59.
  return (millionths << 32) / 390625;
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

NodeListing ListNode(const Request& request, const PlanNode& node, bool data, int64_t most) {
  Request own = request;
  own.plan = false;
  own.nodes.clear();
  own.nodeTexts.clear();
  own.controller = node.controller;
  own.customController = node.customController;
  own.clockKHz = node.clockKHz;
  own.clockGiven = true;
  const ControllerEntry& entry = *node.controller;
  // A bxCAN node keeps the window's SJW of 1, as its listing had it before every
  // listing took the widest: which SJW a node takes is the plan's rule to say.
  if (entry.traits.segmentNames == SegmentNaming::kLibraryConstants) own.sjwGiven = true, own.sjw = 1;
  const Phase phase = data ? Phase::kData : Phase::kNominal;
  const PhaseSearch search = ControllerPhase(own, entry, phase);
  NodeListing listing{search.options, {}};
  SearchRows(search)([&listing, most](const TimingCandidate& row) {
    listing.rows.push_back(row);
    return static_cast<int64_t>(listing.rows.size()) <= most;
  });
  return listing;
}

namespace {

// Whether the node's phase has rows without --min-tolerance, where it has none with it:
// the refusal then names --min-tolerance. One row decides.
bool MinToleranceAlone(const Request& request, const PlanNode& node, bool data) {
  if (request.minTolerance < 0) return false;
  Request unfiltered = request;
  unfiltered.minTolerance = -1;
  return !ListNode(unfiltered, node, data, 0).rows.empty();
}

}  // namespace

BusPlan PlanBus(const Request& request) {
  BusPlan plan;
  plan.fd = request.dataPhase;
  // Step 1.
  std::vector<NodeCandidates> nodes(request.nodes.size());
  // The bound (kMaxPlanSettings): each listing is cut once it alone passes what is left
  // of it, and the candidates are counted before they are made. A node without rows
  // still ends the plan first, as it did before the bound, where every node before it
  // fits.
  int64_t settings = 0;
  const auto tooLarge = [&plan](int64_t counted) {
    plan.status = PlanStatus::kTooLarge;
    plan.settings = counted;
    return plan;
  };
  for (std::size_t n = 0; n < nodes.size(); ++n) {
    const PlanNode& node = request.nodes[n];
    const int64_t left = kMaxPlanSettings - settings;
    nodes[n].nominal = ListNode(request, node, false, left);
    const int64_t nominalRows = static_cast<int64_t>(nodes[n].nominal.rows.size());
    if (nominalRows == 0) {
      plan.status = PlanStatus::kNodeWithoutSetting;
      plan.blockingNode = static_cast<int>(n);
      plan.minToleranceAlone = MinToleranceAlone(request, node, false);
      return plan;
    }
    if (nominalRows > left) return tooLarge(settings + nominalRows);
    int64_t count = nominalRows;
    if (plan.fd) {
      // The pairs are nominal × data rows: the data listing may hold left / nominal.
      nodes[n].data = ListNode(request, node, true, left / nominalRows);
      const int64_t dataRows = static_cast<int64_t>(nodes[n].data.rows.size());
      if (dataRows == 0) {
        plan.status = PlanStatus::kNodeWithoutDataSetting;
        plan.blockingNode = static_cast<int>(n);
        plan.minToleranceAlone = MinToleranceAlone(request, node, true);
        return plan;
      }
      count = nominalRows * dataRows;
    }
    settings += count;
    if (settings > kMaxPlanSettings) return tooLarge(settings);
  }
  for (std::size_t n = 0; n < nodes.size(); ++n) MakeCandidates(nodes[n], plan.fd, request.nodes[n].clockKHz, request.bus);
  const int64_t limit = SpreadUnits(request.samplePointSpread);
  // Step 2.
  PlanMargin best{0, 1, 0.0f};
  PlanWork work;
  if (!BestMargin(nodes, limit, best, work)) {
    if (!work.Over()) ClosestSpread(nodes, plan.fd, limit, plan, work);
    if (work.Over()) return tooLarge(0);
    return plan;
  }
  // Step 3: the errors e with a tolerance of exactly best + e, found among the
  // tolerances near it by their doubles and confirmed exactly.
  std::vector<float> errors;
  std::vector<std::pair<double, Tolerance>> tolerances;
  for (const NodeCandidates& node : nodes) {
    for (const Candidate& c : node.candidates) {
      errors.push_back(c.error);
      tolerances.emplace_back(static_cast<double>(c.tolerance.numerator * 100) / static_cast<double>(c.tolerance.denominator),
                              c.tolerance);
    }
  }
  std::sort(errors.begin(), errors.end());
  errors.erase(std::unique(errors.begin(), errors.end()), errors.end());
  std::sort(tolerances.begin(), tolerances.end(),
            [](const std::pair<double, Tolerance>& a, const std::pair<double, Tolerance>& b) { return a.first < b.first; });
  const double bestApproximate = Approximate(best);
  const Advice advice = SamplePointAdviceFor(request.targetRate);
  const Advice dataAdvice = plan.fd ? SamplePointAdviceFor(request.dataRate) : Advice{1, 1, 0.0f};
  bool found = false;
  PlanScore bestScore;
  std::vector<std::vector<Candidate>> choices(nodes.size());
  for (const float e : errors) {
    const double wanted = bestApproximate + static_cast<double>(e);
    auto it = std::lower_bound(tolerances.begin(), tolerances.end(), wanted - 1e-9,
                               [](const std::pair<double, Tolerance>& t, double v) { return t.first < v; });
    const Tolerance* floor = nullptr;
    for (; it != tolerances.end() && it->first <= wanted + 1e-9; ++it) {
      if (CompareMargins(MarginOf(it->second, e), best) == 0) {
        floor = &it->second;
        break;
      }
    }
    if (floor == nullptr) continue;
    bool everyNode = true;
    for (std::size_t n = 0; n < nodes.size(); ++n) {
      if (!work.Spend(nodes[n].candidates.size())) return tooLarge(0);
      choices[n].clear();
      for (const Candidate& c : nodes[n].candidates) {
        if (c.error <= e && !ToleranceBelow(c.tolerance, *floor)) choices[n].push_back(c);
      }
      everyNode = everyNode && !choices[n].empty();
    }
    if (!everyNode) continue;
    // Steps 4 to 6; step 7.
    PlanScore score;
    if (!BestInChoices(choices, limit, advice, dataAdvice, score, work)) {
      if (work.Over()) return tooLarge(0);
      continue;
    }
    if (!found || CompareScores(score, bestScore) < 0) {
      bestScore = score;
      found = true;
      plan.nodes.clear();
      for (std::size_t n = 0; n < nodes.size(); ++n) {
        const Candidate& c = score.choice[n];
        PlannedNode planned{&request.nodes[n], nodes[n].nominal.options, nodes[n].data.options,
                            nodes[n].nominal.rows[static_cast<std::size_t>(c.nominalIndex)], TimingCandidate{},
                            c.nominalIndex, c.dataIndex, c.tolerance, -1};
        if (c.dataIndex >= 0) planned.data = nodes[n].data.rows[static_cast<std::size_t>(c.dataIndex)];
        planned.longestBus = LongestBus(RowLengths(planned.nominal, planned.nominalOptions), request.nodes[n].clockKHz,
                                        request.bus.nodeDelayNs);
        plan.nodes.push_back(planned);
      }
    }
  }
  plan.margin = best;
  plan.spread = bestScore.spread;
  plan.dataSpread = bestScore.dataSpread;
  plan.maxBusLength = plan.nodes.empty() ? -1 : plan.nodes[0].longestBus;
  for (const PlannedNode& node : plan.nodes) {
    if (node.longestBus < plan.maxBusLength) plan.maxBusLength = node.longestBus;
  }
  return plan;
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

std::string SpreadPointsText(int64_t units) {
  // points = units × 100 / 2^40; hundredths of a point rounded up, units below 2^41.
  const int64_t scale = int64_t{1} << kSamplePointUnitBits;
  return ToFixedText((units * 10000 + scale - 1) / scale, 2, 0).get();
}

std::string MillionthsText(int64_t millionths) { return ToFixedText(millionths, 6, 0).get(); }

std::string ClockMHzText(int32_t clockKHz) { return ToFixedText(clockKHz, 3, 0).get(); }

std::string PlanRefusalLine(const BusPlan& plan, const Request& request) {
  const std::string spread = MillionthsText(request.samplePointSpread);
  std::string node;
  if (plan.blockingNode >= 0) {
    const PlanNode& n = request.nodes[static_cast<std::size_t>(plan.blockingNode)];
    // A name of any length, and a custom: controller's text, cut as echoed values are.
    node = "node " + ShortenedName(n.name) + " (" + ShortenedName(n.controller->name) + " at " +
           ClockMHzText(n.clockKHz) + " MHz)";
  }
  if (plan.minToleranceAlone && plan.status == PlanStatus::kNodeWithoutSetting)
    return node + " has no setting that meets --min-tolerance (a lower --min-tolerance finds one)";
  if (plan.minToleranceAlone && plan.status == PlanStatus::kNodeWithoutDataSetting)
    return node + " has no data-phase setting that meets --min-tolerance (a lower --min-tolerance finds one)";
  switch (plan.status) {
    case PlanStatus::kFound: return "";
    case PlanStatus::kNodeWithoutSetting:
      return node + " has no setting for the rate (a larger --tolerance or a lower --sample-point may find one)";
    case PlanStatus::kNodeWithoutDataSetting:
      return node + " has no data-phase setting for --data-rate (a larger --data-tolerance or a lower "
                    "--data-sample-point may find one)";
    case PlanStatus::kSpreadTooWide:
      return "the closest plan spreads the sample points over " + SpreadPointsText(plan.closestSpread) +
             " points; --sample-point-spread is " + spread;
    case PlanStatus::kDataSpreadTooWide:
      return "the closest plan spreads the data sample points over " + SpreadPointsText(plan.closestSpread) +
             " points; --sample-point-spread is " + spread;
    case PlanStatus::kTooLarge:
      if (plan.settings == 0)
        return "the request is too large to answer: weighing its plans takes more than " +
               std::to_string(kMaxPlanWork) + " steps (a smaller --sample-point-spread or --tolerance leaves fewer)";
      return "the request is too large to answer: the nodes' listings hold more than " +
             std::to_string(kMaxPlanSettings) + " settings to weigh (a smaller --tolerance or a higher "
             "--sample-point leaves fewer)";
  }
  return "";
}

const char* PlanStatusName(PlanStatus status) {
  switch (status) {
    case PlanStatus::kFound: return "found";
    case PlanStatus::kNodeWithoutSetting: return "node-without-setting";
    case PlanStatus::kNodeWithoutDataSetting: return "node-without-data-setting";
    case PlanStatus::kSpreadTooWide: return "spread-too-wide";
    case PlanStatus::kDataSpreadTooWide: return "data-spread-too-wide";
    case PlanStatus::kTooLarge: return "too-large";
  }
  return "found";
}
