// The searches, timed beside plain loops. Nothing here asserts a timing.
//
//   - bxCAN: the search with the window's preset inputs and with the input that accepts
//     the most settings, and the record-to-cells step over every record of a large
//     result;
//   - bxCAN step cost: the search against a bare loop that does the same divisions and
//     little else, each the fastest of many runs, interleaved so that a busy machine
//     slows both alike; the counter "ratio" is search / bare loop;
//   - FDCAN: the nominal and data-phase searches (skipping the prescalers that cannot
//     pass) against the plain enumeration of every setting, fastest of many runs each,
//     "ratio" is search / plain loop.
#include "calc/bit_timing_search.h"
#include "calc/candidate_cells.h"
#include "calc/controllers.h"
#include "calc/fdcan_timing.h"
#include "calc/fp_environment.h"
#include "calc/timing.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

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

template <typename Work>
double SecondsOf(Work&& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Runs first and second once per iteration and reports the fastest run of each, in
// microseconds, and their ratio. The iteration's time is first's.
template <typename First, typename Second>
void CompareFastest(benchmark::State& state, const char* firstName, const char* secondName, First&& first,
                    Second&& second) {
  double fastestFirst = 1e30;
  double fastestSecond = 1e30;
  for (auto _ : state) {
    const double firstSeconds = SecondsOf(first);
    fastestSecond = std::min(fastestSecond, SecondsOf(second));
    fastestFirst = std::min(fastestFirst, firstSeconds);
    state.SetIterationTime(firstSeconds);
  }
  state.counters[firstName] = fastestFirst * 1e6;
  state.counters[secondName] = fastestSecond * 1e6;
  state.counters["ratio"] = fastestFirst / fastestSecond;
}

// The bxCAN enumeration stripped to its divisions: the rate of every setting, formed
// and rounded as the search does in the build's arithmetic, then only counted when it
// equals the target.
int32_t BareBxCanLoop(int32_t clockKHz, float targetRate) {
  int32_t hits = 0;
  for (int32_t seg2 = 1; seg2 <= 8; ++seg2) {
    for (int32_t seg1 = 1; seg1 <= 16; ++seg1) {
      const auto clockPerBit = BuildArithmetic::ClockPerBit(clockKHz, seg1 + seg2 + 1);
      auto divisor = BuildArithmetic::FirstDivisor(1);
      for (int32_t prescaler = 1; prescaler <= 1024; ++prescaler, BuildArithmetic::NextDivisor(divisor)) {
        const float rate = BuildArithmetic::Rate(clockPerBit, divisor);
        hits += rate == targetRate ? 1 : 0;
      }
    }
  }
  return hits;
}

// Arguments: clock in kHz, rate in Kbps, tolerance, minimum sample point in percent.
void BM_BxCanStepAgainstBareLoop(benchmark::State& state) {
  SetFloatEnvironment();
  const auto clockKHz = static_cast<int32_t>(state.range(0));
  const auto rate = static_cast<float>(state.range(1));
  const auto tolerance = static_cast<int32_t>(state.range(2));
  const auto minSamplePoint = static_cast<float>(static_cast<double>(state.range(3)) / 100.0);
  CandidateList store;
  CompareFastest(
      state, "search_us", "bare_us",
      [&] {
        BitTimingSearch(store, clockKHz, rate, tolerance, minSamplePoint);
        benchmark::DoNotOptimize(store.records.data());
      },
      [&] { benchmark::DoNotOptimize(BareBxCanLoop(clockKHz, rate)); });
  state.counters["records"] = static_cast<double>(CandidateCount(store));
}
BENCHMARK(BM_BxCanStepAgainstBareLoop)
    ->ArgNames({"kHz", "Kbps", "tol", "sp"})
    ->Args({42000, 500, 0, 40})
    ->Args({0, 0, 0, 30})
    ->Args({36000, 500, 10, 80})
    ->Args({42000, 500, 100, 0})
    ->Iterations(300)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

#if QUILLMERE_HAS_X87
bool KeepRecords(void* context, const TimingCandidate* records, int32_t count) {
  auto* kept = static_cast<std::vector<TimingCandidate>*>(context);
  kept->insert(kept->end(), records, records + count);
  return true;
}

// The window's search (every bxCAN setting) in the integer arithmetic against the x87,
// into a store that keeps its room, as the window's does. "ratio" is portable / x87.
// Arguments as above.
void BM_PortableAgainstX87(benchmark::State& state) {
  SetFloatEnvironment();
  const TimingRequest request{static_cast<int32_t>(state.range(0)), static_cast<float>(state.range(1)),
                              static_cast<int32_t>(state.range(2)) * 100,  // whole percent to hundredths
                              static_cast<float>(static_cast<double>(state.range(3)) / 100.0), 1};
  std::vector<TimingCandidate> kept;
  kept.reserve(131072);
  const TimingSink sink{KeepRecords, &kept};
  CompareFastest(
      state, "portable_us", "x87_us",
      [&] {
        kept.clear();
        ListSettingsPortable(kBxCanRanges, request, PrescalerScan::kEvery, sink);
      },
      [&] {
        kept.clear();
        ListSettingsX87(kBxCanRanges, request, PrescalerScan::kEvery, sink);
      });
  state.counters["records"] = static_cast<double>(kept.size());
}
BENCHMARK(BM_PortableAgainstX87)
    ->ArgNames({"kHz", "Kbps", "tol", "sp"})
    ->Args({42000, 500, 0, 40})
    ->Args({42000, 500, 100, 0})
    ->Args({0, 0, 0, 30})
    ->Iterations(300)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
#endif

bool CountRecords(void* context, const TimingCandidate*, int32_t count) {
  *static_cast<int64_t*>(context) += count;
  return true;
}

// Arguments: phase (0 nominal, 1 data), clock in kHz, rate in Kbps, tolerance,
// minimum sample point in percent.
void BM_FdcanAgainstPlainLoop(benchmark::State& state) {
  SetFloatEnvironment();
  const TimingRanges& ranges = state.range(0) == 0 ? kFdcanNominalRanges : kFdcanDataRanges;
  const TimingRequest request{static_cast<int32_t>(state.range(1)), static_cast<float>(state.range(2)),
                              static_cast<int32_t>(state.range(3)) * 100,  // whole percent to hundredths
                              static_cast<float>(static_cast<double>(state.range(4)) / 100.0), 1};
  int64_t records = 0;
  const TimingSink counter{CountRecords, &records};
  CompareFastest(
      state, "search_us", "plain_us", [&] { ListSettings(ranges, request, PrescalerScan::kRateWindow, counter); },
      [&] { ListSettings(ranges, request, PrescalerScan::kEvery, counter); });
  state.counters["records"] = static_cast<double>(records) / static_cast<double>(2 * state.iterations());
}
BENCHMARK(BM_FdcanAgainstPlainLoop)
    ->ArgNames({"data", "kHz", "Kbps", "tol", "sp"})
    ->Args({0, 80000, 500, 1, 40})
    ->Args({0, 80000, 500, 0, 40})
    ->Args({0, 170000, 1000, 1, 75})
    ->Args({0, 160000, 125, 5, 0})
    ->Args({0, 80000, 10, 10, 0})
    ->Args({0, 8000, 50, 10, 0})
    ->Args({0, 80000, 500, 100, 0})
    ->Args({0, 0, 0, 0, 0})
    ->Args({1, 80000, 2000, 1, 70})
    ->Args({1, 80000, 5000, 10, 0})
    ->Iterations(12)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

bool CountRows(void* context, const TimingCandidate*, int32_t count) {
  *static_cast<int64_t*>(context) += count;
  return true;
}

// The fastest of many runs of one listing, in microseconds.
template <typename Run>
double FastestMicroseconds(Run run, int runs) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    run();
    const double us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    best = std::min(best, us);
  }
  return best;
}

// Every controller of the table at the preset's request (42 MHz, 500 Kbps, tolerance
// 0, sample point 40%): each classic controller's listing against bxCAN's (the
// window's scan of every prescaler), each FD controller's nominal listing against
// FDCAN's, in the same run. The counters are the ratios; the goal is 1.5 at most.
void BM_ControllersAgainstReference(benchmark::State& state) {
  SetFloatEnvironment();
  const TimingRequest preset{42000, 500.0f, 0, 0.4f, 1};
  int64_t rows = 0;
  const TimingSink sink{CountRows, &rows};
  for (auto _ : state) {
    const double bxcan =
        FastestMicroseconds([&] { ListSettings(kBxCanRanges, preset, PrescalerScan::kEvery, sink); }, 50);
    const PhaseQuestion fdcanNominal{&FindController("fdcan")->nominal, 0};
    const double fdcan = FastestMicroseconds(
        [&] { ListSettings(SearchRanges(fdcanNominal), preset, PrescalerScan::kRateWindow, sink); }, 50);
    state.counters["bxcan_us"] = bxcan;
    state.counters["fdcan_us"] = fdcan;
    for (int32_t k = 0; k < ControllerCount(); ++k) {
      const ControllerEntry& entry = ControllerAt(k);
      const PhaseQuestion question{&entry.nominal, 0};
      const TimingRanges ranges = SearchRanges(question);
      const double us =
          FastestMicroseconds([&] { ListSettings(ranges, preset, PrescalerScan::kRateWindow, sink); }, 50);
      state.counters[entry.name] = us / (entry.fd ? fdcan : bxcan);
    }
  }
  benchmark::DoNotOptimize(rows);
}
BENCHMARK(BM_ControllersAgainstReference)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
