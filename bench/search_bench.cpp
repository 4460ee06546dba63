// The search with the window's preset inputs and with the input that accepts the most
// settings, and the record-to-cells step over every record of that large result.
#include "calc/candidate_cells.h"
#include "calc/fp_environment.h"
#include "calc/timing.h"

#include <benchmark/benchmark.h>

namespace {

void BM_SearchPreset(benchmark::State& state) {
  SetFloatEnvironment();
  CandidateList store;
  for (auto _ : state) {
    BitTimingSearch(store, 42000, 500.0f, 0, 0.4f);
    benchmark::DoNotOptimize(store.records.data());
  }
  state.counters["records"] = static_cast<double>(CandidateCount(store));
}
BENCHMARK(BM_SearchPreset)->Unit(benchmark::kMicrosecond);

// Clock 0 and rate 0 pass the rate test everywhere: 125 952 records at minimum 0.3.
void BM_SearchEverySetting(benchmark::State& state) {
  SetFloatEnvironment();
  CandidateList store;
  for (auto _ : state) {
    BitTimingSearch(store, 0, 0.0f, 0, 0.3f);
    benchmark::DoNotOptimize(store.records.data());
  }
  state.counters["records"] = static_cast<double>(CandidateCount(store));
}
BENCHMARK(BM_SearchEverySetting)->Unit(benchmark::kMicrosecond);

// Every row of a 130 683-record result (clock 42 MHz, 500 Kbps, 100%, no minimum):
// the five texts and, as the companion needs it, the rate's text.
void BM_CellsOfLargeResult(benchmark::State& state) {
  SetFloatEnvironment();
  CandidateList store;
  BitTimingSearch(store, 42000, 500.0f, 100, 0.0f);
  CandidateCells cells;
  CandidateText rate;
  for (auto _ : state) {
    for (const TimingCandidate& record : store.records) {
      MakeCandidateCells(record, cells);
      FormatRateCell(cells.actualRate, rate);
      benchmark::DoNotOptimize(cells);
      benchmark::DoNotOptimize(rate);
    }
  }
  state.counters["records"] = static_cast<double>(CandidateCount(store));
}
BENCHMARK(BM_CellsOfLargeResult)->Unit(benchmark::kMillisecond);

}  // namespace
