// The bus plan against a plain second planner that walks every combination of the
// nodes' listings, and one table case per step of the rule.
#include "answers/plan/bus_plan.h"
#include "answers/request/request_check.h"
#include "answers/rows/phase_search.h"
#include "calc/best_setting.h"
#include "calc/fp_environment.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

// A checked plan request: nodes as --node texts, everything else as the companion's
// defaults unless set by tweak.
Request PlanRequest(const std::vector<std::string>& nodes, float rate, int32_t tolerance, float minSamplePoint,
                    int64_t spreadMillionths, float dataRate = 0.0f) {
  Request request;
  request.plan = true;
  request.nodeTexts = nodes;
  request.targetRate = rate;
  request.toleranceHundredths = tolerance * 100;
  request.minSamplePoint = minSamplePoint;
  request.samplePointSpread = spreadMillionths;
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
  own.controller = node.controller;
  own.clockKHz = node.clockKHz;
  const PhaseSearch search = ControllerPhase(own, *node.controller, data ? Phase::kData : Phase::kNominal);
  options = search.options;
  std::vector<TimingCandidate> rows;
  SearchRows(search)([&rows](const TimingCandidate& r) {
    rows.push_back(r);
    return true;
  });
  return rows;
}

struct Option {  // one choice of one node: a row, or a nominal/data pair
  int32_t n, d;
  double x, y;  // sample points as the floats widened
  Tolerance t;
  float e;
  int32_t quanta;
  bool same;
};

struct Plain {
  bool found = false;
  std::vector<Option> best;
};

// Margins compared plainly in double; equal when the fractions and errors are equal.
int MarginOrder(const Tolerance& ta, float ea, const Tolerance& tb, float eb) {
  if (ta.numerator * tb.denominator == tb.numerator * ta.denominator && ea == eb) return 0;
  const double a = 100.0 * ta.numerator / ta.denominator - ea;
  const double b = 100.0 * tb.numerator / tb.denominator - eb;
  return a < b ? -1 : a > b ? 1 : 0;
}

Plain BruteForce(const Request& request) {
  const bool fd = request.dataPhase;
  std::vector<std::vector<Option>> options;
  for (const PlanNode& node : request.nodes) {
    OutputOptions no, dopt;
    const std::vector<TimingCandidate> nominal = Rows(request, node, false, no);
    const std::vector<TimingCandidate> data = fd ? Rows(request, node, true, dopt) : std::vector<TimingCandidate>{};
    std::vector<Option> own;
    for (std::size_t i = 0; i < nominal.size(); ++i) {
      const TimingCandidate& a = nominal[i];
      const int32_t qa = a.bs1Code + a.bs2Code + 3;
      if (!fd) {
        own.push_back(Option{int32_t(i), -1, a.samplePoint, 0, RowTolerance(a, no), std::fabs(a.errorPercent), qa, false});
        continue;
      }
      for (std::size_t j = 0; j < data.size(); ++j) {
        const TimingCandidate& b = data[j];
        const Tolerance t = PairTolerance(RowLengths(a, no), RowLengths(b, dopt), node.clockKHz, request.bus);
        own.push_back(Option{int32_t(i), int32_t(j), a.samplePoint, b.samplePoint, t,
                             std::max(std::fabs(a.errorPercent), std::fabs(b.errorPercent)), qa + b.bs1Code + b.bs2Code + 3,
                             a.prescaler == b.prescaler});
      }
    }
    options.push_back(own);
  }
  // Spread in percentage points against the limit: (hi - lo) x 100 <= millionths / 10^6,
  // both sides times 2^40 x 10^6 in whole numbers: diff units x 390625 <= millionths x 2^32.
  auto within = [&](double lo, double hi) {
    const int64_t diff = static_cast<int64_t>(std::ldexp(hi, 40)) - static_cast<int64_t>(std::ldexp(lo, 40));
    return diff * 390625 <= (request.samplePointSpread << 32);
  };
  const double advice = AdvisedSamplePoint(request.targetRate);
  const double dataAdvice = fd ? AdvisedSamplePoint(request.dataRate) : 0.0;
  auto fraction = [](double a) { return a == 0.875 ? std::pair<int64_t, int64_t>{7, 8} : a == 0.75 ? std::pair<int64_t, int64_t>{3, 4} : std::pair<int64_t, int64_t>{4, 5}; };
  struct Score {
    Tolerance t;
    float e;
    int64_t spread, dataSpread, distance, dataDistance, same, quanta;
  };
  auto scoreOf = [&](const std::vector<Option>& c) {
    Score s{c[0].t, c[0].e, 0, 0, 0, 0, 0, 0};
    double lo = c[0].x, hi = c[0].x, dlo = c[0].y, dhi = c[0].y;
    int64_t sum = 0, dataSum = 0;
    for (const Option& o : c) {
      if (o.t.numerator * s.t.denominator < s.t.numerator * o.t.denominator) s.t = o.t;
      if (o.e > s.e) s.e = o.e;
      lo = std::min(lo, o.x), hi = std::max(hi, o.x), dlo = std::min(dlo, o.y), dhi = std::max(dhi, o.y);
      sum += static_cast<int64_t>(std::ldexp(o.x, 40));
      dataSum += static_cast<int64_t>(std::ldexp(o.y, 40));
      s.same += o.same;
      s.quanta += o.quanta;
    }
    s.spread = static_cast<int64_t>(std::ldexp(hi, 40)) - static_cast<int64_t>(std::ldexp(lo, 40));
    s.dataSpread = static_cast<int64_t>(std::ldexp(dhi, 40)) - static_cast<int64_t>(std::ldexp(dlo, 40));
    const int64_t n = static_cast<int64_t>(c.size());
    const auto p = fraction(advice), q = fraction(dataAdvice);
    s.distance = std::llabs(p.second * sum - n * p.first * (int64_t{1} << 40));
    s.dataDistance = fd ? std::llabs(q.second * dataSum - n * q.first * (int64_t{1} << 40)) : 0;
    return std::make_pair(s, within(lo, hi) && within(dlo, dhi));
  };
  // -1 when a ranks before b.
  auto compare = [](const Score& a, const std::vector<Option>& ca, const Score& b, const std::vector<Option>& cb) {
    const int m = MarginOrder(a.t, a.e, b.t, b.e);
    if (m != 0) return -m;
    const int64_t keys[][2] = {{a.spread, b.spread},   {a.dataSpread, b.dataSpread}, {a.distance, b.distance},
                               {a.dataDistance, b.dataDistance}, {b.same, a.same}, {b.quanta, a.quanta}};
    for (const auto& k : keys) {
      if (k[0] != k[1]) return k[0] < k[1] ? -1 : 1;
    }
    for (std::size_t i = 0; i < ca.size(); ++i) {
      if (ca[i].n != cb[i].n) return ca[i].n < cb[i].n ? -1 : 1;
      if (ca[i].d != cb[i].d) return ca[i].d < cb[i].d ? -1 : 1;
    }
    return 0;
  };
  Plain plain;
  Score bestScore{};
  std::vector<std::size_t> at(options.size(), 0);
  for (const auto& o : options) {
    if (o.empty()) return plain;
  }
  std::vector<Option> combination(options.size());
  while (true) {
    for (std::size_t i = 0; i < options.size(); ++i) combination[i] = options[i][at[i]];
    const auto scored = scoreOf(combination);
    if (scored.second && (!plain.found || compare(scored.first, combination, bestScore, plain.best) < 0)) {
      plain.found = true;
      plain.best = combination;
      bestScore = scored.first;
    }
    std::size_t i = 0;
    while (i < at.size() && ++at[i] == options[i].size()) at[i++] = 0;
    if (i == at.size()) break;
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

void ExpectSamePlan(const Request& request, const std::string& what) {
  const Plain plain = BruteForce(request);
  const BusPlan plan = PlanBus(request);
  ASSERT_EQ(plain.found, plan.status == PlanStatus::kFound) << what;
  if (!plain.found) return;
  for (std::size_t n = 0; n < plan.nodes.size(); ++n) {
    EXPECT_EQ(plan.nodes[n].nominalIndex, plain.best[n].n) << what << " node " << n;
    EXPECT_EQ(plan.nodes[n].dataIndex, plain.best[n].d) << what << " node " << n;
  }
}

TEST(BusPlan, SameAsEveryCombinationOnRandomClassicBuses) {
  SetFloatEnvironment();
  const char* controllers[] = {"bxcan", "mcp2515", "sja1000", "flexcan", "at91", "esp32-twai", "lpc", "c_can", "ti-hecc"};
  const char* clocks[] = {"8", "16", "20", "24", "32", "36", "40", "42", "48", "64", "72", "80"};
  const float rates[] = {125, 250, 500, 800, 1000};
  const int64_t spreads[] = {0, 500000, 1000000, 2000000, 3000000, 5000000, 10000000};
  std::mt19937 random(23);
  int compared = 0, found = 0;
  for (int attempt = 0; attempt < 3000 && compared < 300; ++attempt) {
    const int nodeCount = 2 + static_cast<int>(random() % 2);
    std::vector<std::string> nodes;
    for (int n = 0; n < nodeCount; ++n)
      nodes.push_back("n" + std::to_string(n) + "=" + controllers[random() % 9] + "@" + clocks[random() % 12]);
    const Request request = PlanRequest(nodes, rates[random() % 5], static_cast<int32_t>(random() % 3),
                                        0.5f + 0.05f * static_cast<float>(random() % 7), spreads[random() % 7]);
    if (ListingSize(request) > 400000) continue;
    ++compared;
    ExpectSamePlan(request, "request " + std::to_string(attempt));
    found += PlanBus(request).status == PlanStatus::kFound;
  }
  EXPECT_GE(compared, 300);
  EXPECT_GE(found, 100);  // most requests have a plan: the comparison is not all "none"
}

TEST(BusPlan, SameAsEveryCombinationOnRandomFdBuses) {
  SetFloatEnvironment();
  const char* controllers[] = {"fdcan", "mcp2518fd", "mcan", "flexcan-fd", "peak-canfd"};
  const char* clocks[] = {"20", "24", "40", "48", "80"};
  const float dataRates[] = {1000, 2000, 4000, 5000};
  std::mt19937 random(2023);
  int compared = 0;
  for (int attempt = 0; attempt < 2000 && compared < 60; ++attempt) {
    std::vector<std::string> nodes;
    for (int n = 0; n < 2; ++n)
      nodes.push_back("f" + std::to_string(n) + "=" + controllers[random() % 5] + "@" + clocks[random() % 5]);
    const Request request = PlanRequest(nodes, 500, 0, 0.7f + 0.05f * static_cast<float>(random() % 3),
                                        1000000 * static_cast<int64_t>(random() % 4), dataRates[random() % 4]);
    if (ListingSize(request) > 300000) continue;
    ++compared;
    ExpectSamePlan(request, "fd request " + std::to_string(attempt));
  }
  EXPECT_GE(compared, 60);
}

}  // namespace
