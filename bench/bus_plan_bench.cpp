// The bus plan against the sum of its nodes' listings: eight classic nodes at
// 500 Kbps and tolerance 1, four FD nodes at 500/2000 Kbps and tolerance 1; and the
// same buses with one node's setting fixed, which only narrows what is weighed.
#include "answers/plan/bus_plan.h"
#include "answers/request/request_check.h"
#include "calc/fp_environment.h"

#include <benchmark/benchmark.h>

namespace {

Request Bus(const std::vector<std::string>& nodes, float dataRate) {
  SetFloatEnvironment();
  Request request;
  request.plan = true;
  request.nodeTexts = nodes;
  request.toleranceHundredths = 100;
  if (dataRate > 0) request.dataPhase = true, request.dataRate = dataRate;
  CheckRequest(request, MissingInput::kTakeDefault);
  return request;
}

const std::vector<std::string> kClassic = {"a=bxcan@42",   "b=mcp2515@16", "c=sja1000@16",  "d=flexcan@40",
                                           "e=esp32-twai@80", "f=lpc@60",   "g=at91@100",    "h=c_can@24"};
const std::vector<std::string> kFd = {"a=fdcan@80", "b=mcp2518fd@40", "c=mcan@48", "d=peak-canfd@80"};
const std::vector<std::string> kClassicFixed = {"a=bxcan@42,setting=4/16/4", "b=mcp2515@16", "c=sja1000@16",
                                                "d=flexcan@40", "e=esp32-twai@80", "f=lpc@60", "g=at91@100",
                                                "h=c_can@24"};
const std::vector<std::string> kFdFixed = {"a=fdcan@80,setting=2/67/12,dsetting=1/31/8", "b=mcp2518fd@40",
                                           "c=mcan@48", "d=peak-canfd@80"};

void Plan(benchmark::State& state, const std::vector<std::string>& nodes, float dataRate) {
  const Request request = Bus(nodes, dataRate);
  for (auto _ : state) benchmark::DoNotOptimize(PlanBus(request).margin);
}

void Listings(benchmark::State& state, const std::vector<std::string>& nodes, float dataRate) {
  const Request request = Bus(nodes, dataRate);
  for (auto _ : state) {
    for (const PlanNode& node : request.nodes) {
      benchmark::DoNotOptimize(ListNode(request, node, false).rows.size());
      if (dataRate > 0) benchmark::DoNotOptimize(ListNode(request, node, true).rows.size());
    }
  }
}

BENCHMARK_CAPTURE(Plan, EightClassic500, kClassic, 0.0f)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Listings, EightClassic500, kClassic, 0.0f)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Plan, FourFd500And2000, kFd, 2000.0f)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Listings, FourFd500And2000, kFd, 2000.0f)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Plan, EightClassic500OneFixed, kClassicFixed, 0.0f)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Plan, FourFd500And2000OneFixed, kFdFixed, 2000.0f)->Unit(benchmark::kMillisecond);

}  // namespace
