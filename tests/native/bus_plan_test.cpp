// The bus plan against a plain second planner that walks every combination of the
// nodes' listed settings and ranks them by the rule of answers/plan/bus_plan.h, written
// out step by step; the plan, the refusal's node and the limiting nodes must agree.
#include "answers/plan/bus_plan.h"
#include "answers/request/request_check.h"
#include "answers/rows/phase_search.h"
#include "calc/best_setting.h"
#include "calc/controllers.h"
#include "calc/fp_environment.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

// A checked plan request: nodes as --node texts, everything else as the companion's
// defaults unless given.
Request PlanRequest(const std::vector<std::string>& nodes, float rate, int32_t tolerance, float minSamplePoint,
                    int64_t spreadMillionths, float dataRate = 0.0f, BusConditions bus = BusConditions{}) {
  Request request;
  request.plan = true;
  request.nodeTexts = nodes;
  request.targetRate = rate;
  request.toleranceHundredths = tolerance * 100;
  request.minSamplePoint = minSamplePoint;
  request.samplePointSpread = spreadMillionths;
  request.bus = bus;
  if (dataRate > 0.0f) {
    request.dataPhase = true;
    request.dataRate = dataRate;
  }
  const RequestCheck check = CheckRequest(request, MissingInput::kTakeDefault);
  EXPECT_EQ(check.status, RequestStatus::kReady) << RefusalLine(check);
  return request;
}

// ---- the plain planner ----

// A node's listing, straight from the phase searches the companion lists it with.
std::vector<TimingCandidate> Rows(const Request& bus, const PlanNode& node, bool data, OutputOptions& options) {
  Request own = bus;
  own.plan = false;
  own.controller = node.controller;
  own.clockKHz = node.clockKHz;
  own.sjw = node.sjw, own.sjwGiven = node.sjw != 0;
  own.dataSjw = node.dataSjw, own.dataSjwGiven = node.dataSjw != 0;
  const PhaseSearch search = ControllerPhase(own, *node.controller, data ? Phase::kData : Phase::kNominal);
  options = search.options;
  // A fixed node has, of its listing, the rows of its one setting.
  const FixedSetting& fixed = data ? node.dataSetting : node.setting;
  std::vector<TimingCandidate> rows;
  SearchRows(search)([&](const TimingCandidate& r) {
    const BitTimingLengths l = ControllerLengths(LimitsOf(options), r, 1);
    if (!fixed.fixed || (l.prescaler == fixed.prescaler && l.seg1 == fixed.seg1 && l.seg2 == fixed.seg2))
      rows.push_back(r);
    return true;
  });
  return rows;
}

struct Fraction {
  int64_t p, q;
};
using Wide = __int128;
int Order(Fraction a, Fraction b) {
  const Wide l = Wide{a.p} * b.q, r = Wide{b.p} * a.q;
  return l < r ? -1 : l > r ? 1 : 0;
}

struct Option {  // one choice of one node: a row, or a nominal/data pair
  int32_t n, d;
  Fraction x, y;  // sample points
  Tolerance t;
  float e;
  int32_t quanta;
  bool same;
  int64_t bus;
};

// The lengths with the SJW a plan gives: the node's own, else the widest allowed.
BitTimingLengths Lengths(const TimingCandidate& row, const OutputOptions& options) {
  const PhaseLimits& limits = LimitsOf(options);
  const int32_t sjw = options.sjw != 0 ? options.sjw : WidestSjw(limits, row.bs1Code + 1, row.bs2Code + 1);
  return ControllerLengths(limits, row, sjw);
}

struct Plain {
  bool found = false;
  int firstNodeWithout = -1;  // the first node with no setting of its own that meets its conditions
  std::vector<Option> best;
  int samplePointNode = -1, toleranceNode = 0, longestBusNode = 0;
};

// skip: a step of the rule ('a' to 'g') taken out to show a case needs it; without (g)
// the last listed wins a tie instead of the first.
Plain BruteForce(const Request& request, char skip = 0) {
  const bool fd = request.dataPhase;
  Plain plain;
  std::vector<std::vector<Option>> options;
  for (std::size_t k = 0; k < request.nodes.size(); ++k) {
    const PlanNode& node = request.nodes[k];
    OutputOptions no, dopt;
    const std::vector<TimingCandidate> nominal = Rows(request, node, false, no);
    const std::vector<TimingCandidate> data = fd ? Rows(request, node, true, dopt) : std::vector<TimingCandidate>{};
    std::vector<Option> own;
    for (std::size_t i = 0; i < nominal.size(); ++i) {
      const BitTimingLengths a = Lengths(nominal[i], no);
      const int64_t bus = LongestBus(a, node.clockKHz, request.bus.nodeDelayNs);
      if (bus < request.bus.busLengthM) continue;  // it does not reach the bus
      const Fraction x{1 + a.seg1, 1 + a.seg1 + a.seg2};
      if (!fd) {
        own.push_back(Option{int32_t(i), -1, x, {0, 1}, SettingTolerance(a, node.clockKHz, request.bus),
                             std::fabs(nominal[i].errorPercent), int32_t(x.q), false, bus});
        continue;
      }
      for (std::size_t j = 0; j < data.size(); ++j) {
        const BitTimingLengths b = Lengths(data[j], dopt);
        // At 1000 Kbps and above a data setting checks its own bits: TDC where the
        // controller has it, else the sample point after the loop delay.
        if (request.dataRate >= 1000.0f) {
          if (node.controller->tdc.count != TdcCount::kNone && TdcOffsetOf(*node.controller, b) < 0) continue;
          if (node.controller->tdc.count == TdcCount::kNone &&
              !(double(request.bus.nodeDelayNs) < double(1 + b.seg1) * b.prescaler * 1e6 / node.clockKHz))
            continue;
        }
        own.push_back(Option{int32_t(i), int32_t(j), x, Fraction{1 + b.seg1, 1 + b.seg1 + b.seg2},
                             PairTolerance(a, b, node.clockKHz, request.bus),
                             std::max(std::fabs(nominal[i].errorPercent), std::fabs(data[j].errorPercent)),
                             int32_t(x.q + 1 + b.seg1 + b.seg2), nominal[i].prescaler == data[j].prescaler, bus});
      }
    }
    if (own.empty() && plain.firstNodeWithout < 0) plain.firstNodeWithout = int(k);
    options.push_back(own);
  }
  if (plain.firstNodeWithout >= 0) return plain;
  int64_t ppm = 0;
  for (const PlanNode& node : request.nodes) ppm = std::max<int64_t>(ppm, node.ppm >= 0 ? node.ppm : request.clockAccuracyPpm);
  const int64_t target = TargetMillionths(request, false), dataTarget = fd ? TargetMillionths(request, true) : 0;
  // |p/q - t/10^8| as a fraction.
  auto distance = [](Fraction f, int64_t t) { return Fraction{std::llabs(f.p * 100000000 - t * f.q), f.q}; };
  auto within = [&](Fraction lo, Fraction hi) {
    return (Wide{hi.p} * lo.q - Wide{lo.p} * hi.q) * 100000000 <= Wide{request.samplePointSpread} * lo.q * hi.q;
  };
  struct Score {
    float e;
    Fraction d, dd;
    int same;
    Tolerance t;
    int64_t quanta;
  };
  auto score = [&](const std::vector<Option>& c, bool& plan) {
    Score s{0.0f, {0, 1}, {0, 1}, 0, c[0].t, 0};
    Fraction lo = c[0].x, hi = c[0].x, dlo = c[0].y, dhi = c[0].y;
    for (const Option& o : c) {
      s.e = std::max(s.e, o.e);
      if (Order(distance(o.x, target), s.d) > 0) s.d = distance(o.x, target);
      if (fd && Order(distance(o.y, dataTarget), s.dd) > 0) s.dd = distance(o.y, dataTarget);
      s.same += o.same;
      if (o.t.numerator * s.t.denominator < s.t.numerator * o.t.denominator) s.t = o.t;
      s.quanta += o.quanta;
      if (Order(o.x, lo) < 0) lo = o.x;
      if (Order(o.x, hi) > 0) hi = o.x;
      if (Order(o.y, dlo) < 0) dlo = o.y;
      if (Order(o.y, dhi) > 0) dhi = o.y;
    }
    plan = within(lo, hi) && within(dlo, dhi) &&
           CompareMargins(PlanMargin{s.t.numerator * 100, s.t.denominator, s.e}, PlanMargin{ppm, 10000, 0.0f}) >= 0;
    return s;
  };
  // -1 when a ranks first: (a) to (g) in order.
  auto compare = [skip](const Score& a, const std::vector<Option>& ca, const Score& b, const std::vector<Option>& cb) {
    if (skip != 'a' && a.e != b.e) return a.e < b.e ? -1 : 1;
    if (int c = skip != 'b' ? Order(a.d, b.d) : 0) return c;
    if (int c = skip != 'c' ? Order(a.dd, b.dd) : 0) return c;
    if (skip != 'd' && a.same != b.same) return a.same > b.same ? -1 : 1;
    if (int c = skip != 'e' ? -Order(Fraction{a.t.numerator, a.t.denominator}, Fraction{b.t.numerator, b.t.denominator}) : 0)
      return c;
    if (skip != 'f' && a.quanta != b.quanta) return a.quanta > b.quanta ? -1 : 1;
    const int first = skip == 'g' ? 1 : -1;
    for (std::size_t i = 0; i < ca.size(); ++i) {
      if (ca[i].n != cb[i].n) return ca[i].n < cb[i].n ? first : -first;
      if (ca[i].d != cb[i].d) return ca[i].d < cb[i].d ? first : -first;
    }
    return 0;
  };
  Score bestScore{};
  std::vector<std::size_t> at(options.size(), 0);
  std::vector<Option> combination(options.size());
  while (true) {
    for (std::size_t i = 0; i < options.size(); ++i) combination[i] = options[i][at[i]];
    bool plan = false;
    const Score s = score(combination, plan);
    if (plan && (!plain.found || compare(s, combination, bestScore, plain.best) < 0)) {
      plain.found = true;
      plain.best = combination;
      bestScore = s;
    }
    std::size_t i = 0;
    while (i < at.size() && ++at[i] == options[i].size()) at[i++] = 0;
    if (i == at.size()) break;
  }
  if (!plain.found) return plain;
  // The limiting nodes: the first farthest from the target (none when all are on it),
  // the first smallest tolerance, the first shortest bus.
  Fraction far{0, 1};
  for (std::size_t n = 0; n < plain.best.size(); ++n) {
    const Option& o = plain.best[n];
    if (Order(distance(o.x, target), far) > 0) far = distance(o.x, target), plain.samplePointNode = int(n);
    const Tolerance& t = plain.best[std::size_t(plain.toleranceNode)].t;
    if (o.t.numerator * t.denominator < t.numerator * o.t.denominator) plain.toleranceNode = int(n);
    if (o.bus < plain.best[std::size_t(plain.longestBusNode)].bus) plain.longestBusNode = int(n);
  }
  return plain;
}

std::size_t ListingSize(const Request& request) {
  std::size_t product = 1;
  for (const PlanNode& node : request.nodes) {
    OutputOptions o;
    product *= Rows(request, node, false, o).size() * (request.dataPhase ? Rows(request, node, true, o).size() : 1);
  }
  return product;
}

// Returns whether a plan was found.
bool ExpectSamePlan(const Request& request, const std::string& what) {
  const Plain plain = BruteForce(request);
  const BusPlan plan = PlanBus(request);
  EXPECT_EQ(plain.found, plan.status == PlanStatus::kFound) << what;
  if (!plain.found) {
    if (plan.status != PlanStatus::kNoPlan || plan.obstacles.empty()) return false;
    // A node without a setting of its own is named first.
    if (plain.firstNodeWithout >= 0) {
      EXPECT_FALSE(plan.obstacles[0].nodes.empty()) << what;
      if (!plan.obstacles[0].nodes.empty()) EXPECT_EQ(plan.obstacles[0].nodes[0], plain.firstNodeWithout) << what;
    }
    return false;
  }
  if (plan.status != PlanStatus::kFound) return false;
  for (std::size_t n = 0; n < plan.nodes.size(); ++n) {
    EXPECT_EQ(plan.nodes[n].nominalIndex, plain.best[n].n) << what << " node " << n;
    EXPECT_EQ(plan.nodes[n].dataIndex, plain.best[n].d) << what << " node " << n;
  }
  EXPECT_EQ(plan.limits.samplePointNode, plain.samplePointNode) << what;
  EXPECT_EQ(plan.limits.toleranceNode, plain.toleranceNode) << what;
  EXPECT_EQ(plan.limits.longestBusNode, plain.longestBusNode) << what;
  return true;
}

TEST(BusPlan, SameAsEveryCombinationOnRandomClassicBuses) {
  SetFloatEnvironment();
  const char* controllers[] = {"bxcan", "mcp2515", "sja1000", "flexcan", "at91", "esp32-twai", "lpc", "c_can", "ti-hecc"};
  const char* clocks[] = {"8", "16", "20", "24", "32", "36", "40", "42", "48", "64", "72", "80"};
  const char* extras[] = {"", "", "", ",sjw=1", ",ppm=2000", ",ppm=0"};
  const float rates[] = {125, 250, 500, 800, 1000};
  const int64_t spreads[] = {0, 500000, 1000000, 2000000, 3000000, 5000000, 10000000};
  const BusConditions buses[] = {{250, 10}, {0, 0}, {150, 40}};
  std::mt19937 random(23);
  int compared = 0, found = 0;
  for (int attempt = 0; attempt < 4000 && compared < 300; ++attempt) {
    const int nodeCount = 2 + static_cast<int>(random() % 3);
    std::vector<std::string> nodes;
    for (int n = 0; n < nodeCount; ++n)
      nodes.push_back("n" + std::to_string(n) + "=" + controllers[random() % 9] + "@" + clocks[random() % 12] +
                      extras[random() % 6]);
    const Request request =
        PlanRequest(nodes, rates[random() % 5], static_cast<int32_t>(random() % 3),
                    0.5f + 0.05f * static_cast<float>(random() % 7), spreads[random() % 7], 0.0f, buses[random() % 3]);
    if (ListingSize(request) > 200000) continue;
    ++compared;
    found += ExpectSamePlan(request, "request " + std::to_string(attempt));
  }
  EXPECT_GE(compared, 300);
  EXPECT_GE(found, 100);  // most requests have a plan: the comparison is not all "none"
}

TEST(BusPlan, SameAsEveryCombinationOnRandomFdBuses) {
  SetFloatEnvironment();
  const char* controllers[] = {"fdcan", "mcp2518fd", "mcan", "flexcan-fd", "peak-canfd"};
  const char* clocks[] = {"20", "24", "40", "48", "80"};
  const float dataRates[] = {800, 1000, 2000, 4000, 5000};
  std::mt19937 random(2023);
  int compared = 0, found = 0;
  for (int attempt = 0; attempt < 3000 && compared < 80; ++attempt) {
    const int nodeCount = 2 + static_cast<int>(random() % 2);
    std::vector<std::string> nodes;
    for (int n = 0; n < nodeCount; ++n)
      nodes.push_back("f" + std::to_string(n) + "=" + controllers[random() % 5] + "@" + clocks[random() % 5]);
    const Request request = PlanRequest(nodes, 500, static_cast<int32_t>(random() % 2),
                                        0.7f + 0.05f * static_cast<float>(random() % 3),
                                        1000000 * static_cast<int64_t>(random() % 4), dataRates[random() % 5],
                                        BusConditions{static_cast<int32_t>(random() % 2) * 150, 10});
    if (ListingSize(request) > 150000) continue;
    ++compared;
    found += ExpectSamePlan(request, "fd request " + std::to_string(attempt));
  }
  EXPECT_GE(compared, 80);
  EXPECT_GE(found, 20);
}

// Buses with a node or two fixed at a setting of their listings (setting=): the others
// are fitted around them, or the fixed node is named as the one in the way.
TEST(BusPlan, SameAsEveryCombinationWithFixedNodes) {
  SetFloatEnvironment();
  const char* controllers[] = {"bxcan", "mcp2515", "sja1000", "flexcan", "esp32-twai", "c_can", "fdcan", "mcp2518fd"};
  const char* clocks[] = {"8", "16", "20", "24", "40", "42", "48", "80"};
  const float rates[] = {125, 250, 500, 1000};
  std::mt19937 random(29);
  int compared = 0, found = 0, fixedNodes = 0;
  for (int attempt = 0; attempt < 3000 && compared < 150; ++attempt) {
    const int nodeCount = 2 + static_cast<int>(random() % 2);
    std::vector<std::string> nodes;
    for (int n = 0; n < nodeCount; ++n)
      nodes.push_back("n" + std::to_string(n) + "=" + controllers[random() % 8] + "@" + clocks[random() % 8]);
    const float rate = rates[random() % 4];
    const int32_t tolerance = static_cast<int32_t>(random() % 3);
    const float minSamplePoint = 0.5f + 0.1f * static_cast<float>(random() % 3);
    const int64_t spread = 1000000 * static_cast<int64_t>(random() % 6);
    const Request free = PlanRequest(nodes, rate, tolerance, minSamplePoint, spread);
    if (ListingSize(free) > 100000) continue;
    // Each node, one time in three, fixed at a random row of its own listing.
    int fixedHere = 0;
    for (std::size_t n = 0; n < nodes.size(); ++n) {
      if (random() % 3 != 0) continue;
      OutputOptions options;
      const std::vector<TimingCandidate> rows = Rows(free, free.nodes[n], false, options);
      if (rows.empty()) continue;
      const TimingCandidate& row = rows[random() % rows.size()];
      const BitTimingLengths l = ControllerLengths(LimitsOf(options), row, 1);
      nodes[n] += ",setting=" + std::to_string(l.prescaler) + "/" + std::to_string(l.seg1) + "/" +
                  std::to_string(l.seg2);
      ++fixedHere;
    }
    if (fixedHere == 0) continue;
    fixedNodes += fixedHere;
    const Request request = PlanRequest(nodes, rate, tolerance, minSamplePoint, spread);
    ++compared;
    found += ExpectSamePlan(request, "fixed request " + std::to_string(attempt));
  }
  EXPECT_GE(compared, 150);
  EXPECT_GE(found, 50);
  EXPECT_GE(fixedNodes, 170);
}

// One case per step of the rule, each a bus where that step decides: the plain planner
// with the step taken out picks another plan, and the planner picks the one the whole
// rule gives (found by a seeded search over real controllers, no bus length, clock
// accuracy 0, --sample-point 50). The plans, as each node's listing places:
struct StepCase {
  char step;
  std::vector<std::string> nodes;
  float rate, dataRate;
  int32_t tolerance;
  int64_t spreadMillionths;
  int32_t nodeDelayNs;
  std::vector<std::pair<int32_t, int32_t>> plan;
};

const StepCase kStepCases[] = {
    // (a) 83.333 Kbps is met within 0.0004% at both clocks; the plan keeps that error
    //     (85.0% and 84.6%) where a nearer sample point would add more.
    {'a', {"a=c_can@40", "b=esp32-twai@26"}, 83.333f, 0.0f, 2, 2000000, 100, {{73, -1}, {20, -1}}},
    // (b) two nodes reach 87.5% and the SJA1000 at 20 MHz 85.0%; without (b) the most
    //     quanta would take sample points farther off.
    {'b', {"a=c_can@24", "b=sja1000@20", "c=lpc@24"}, 500.0f, 0.0f, 0, 4000000, 0, {{8, -1}, {7, -1}, {10, -1}}},
    // (c) spread 0: the data phases meet at 75%, the nearest both reach to the advice.
    {'c', {"a=fdcan@16", "b=flexcan-fd@32"}, 500.0f, 2000.0f, 1, 0, 0, {{8, 3}, {23, 5}}},
    // (d) the MCAN at 8 MHz keeps prescaler 1 in both phases; the FlexCAN's 87.5%
    //     setting at prescaler 2 joins its data prescaler 2.
    {'d', {"a=flexcan-fd@40", "b=mcan@8"}, 500.0f, 1000.0f, 1, 0, 0, {{22, 14}, {1, 3}}},
    // (e) every node at 75% (the SJA1000 at 26 MHz reaches 84.6% only where the AT91
    //     cannot follow within 2 points); the 4-quantum bit leaves 0.98%, 76.9% 0.90%.
    {'e', {"a=sja1000@26", "b=lpc@40", "c=at91@32"}, 250.0f, 0.0f, 1, 2000000, 0, {{0, -1}, {24, -1}, {4, -1}}},
    // (f) the same bus as (b): among the settings at those sample points the most quanta.
    {'f', {"a=c_can@24", "b=sja1000@20", "c=lpc@24"}, 500.0f, 0.0f, 0, 4000000, 0, {{8, -1}, {7, -1}, {10, -1}}},
    // (f) across the spread's boxes: A at 90% (8 + 1 at prescaler 2, 10 quanta, listed
    //     first) and at 85% (16 + 3 at 1, 20 quanta) are both 2.5 points from 87.5%,
    //     each within 2.5 points of B's one 87.5%, whose 0.3125% is the margin of both.
    {'f',
     {"a=custom:seg1=8-16,seg2=1-8,sjw=3,prescaler=1-2@10", "b=custom:seg1=13,seg2=2,sjw=1,prescaler=2@16"},
     500.0f, 0.0f, 0, 2500000, 0, {{1, -1}, {0, -1}}},
    // (g) two settings alike in every figure: the first listed.
    {'g', {"a=mcan@20", "b=peak-canfd@20"}, 500.0f, 2000.0f, 2, 2000000, 100, {{15, 3}, {22, 3}}},
};

TEST(BusPlanRule, OneCasePerStep) {
  SetFloatEnvironment();
  for (const StepCase& c : kStepCases) {
    const std::string what = std::string("step ") + c.step;
    Request request = PlanRequest(c.nodes, c.rate, c.tolerance, 0.5f, c.spreadMillionths, c.dataRate,
                                  BusConditions{c.nodeDelayNs, 0});
    request.clockAccuracyPpm = 0;
    const BusPlan plan = PlanBus(request);
    ASSERT_EQ(plan.status, PlanStatus::kFound) << what;
    ASSERT_EQ(plan.nodes.size(), c.plan.size()) << what;
    for (std::size_t n = 0; n < c.plan.size(); ++n) {
      EXPECT_EQ(plan.nodes[n].nominalIndex, c.plan[n].first) << what << ", node " << n;
      EXPECT_EQ(plan.nodes[n].dataIndex, c.plan[n].second) << what << ", node " << n;
    }
    const Plain without = BruteForce(request, c.step);
    ASSERT_TRUE(without.found) << what;
    bool differs = false;
    for (std::size_t n = 0; n < c.plan.size(); ++n)
      differs = differs || without.best[n].n != c.plan[n].first || without.best[n].d != c.plan[n].second;
    EXPECT_TRUE(differs) << what << " decides nothing here";
  }
}

}  // namespace
