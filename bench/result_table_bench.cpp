// How the result table copes with the largest result: 131 072 rows (every prescaler,
// BS1 and BS2 setting) appended and written the way the compute command does it.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <string>

#include "ui/result_table.h"
#include "ui/result_table_copy.h"
#include "ui/result_table_selection.h"

namespace {

constexpr int32_t kRows = 131072;

ResultTable PreparedTable() {
  ResultTable table;
  FontDescription font;
  font.height = -12;
  InitResultTable(table, font, 791);
  PrepareResultTable(table);
  return table;
}

// RowCount, InsertRow at that count and six SetCell calls per row.
void Fill(ResultTable& table, int32_t rows) {
  for (int32_t r = 1; r <= rows; ++r) {
    InsertRow(table, "", RowCount(table));
    SetCell(table, r, 0, 1, "CAN_BS1_16tq");
    SetCell(table, r, 1, 1, "CAN_BS2_8tq");
    SetCell(table, r, 2, 1, "1024");
    SetCell(table, r, 3, 1, "83.3%");
    SetCell(table, r, 4, 1, 500.0f);
    SetCell(table, r, 5, 1, "0%");
  }
}

void BM_Append131072Rows(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    ResultTable table = PreparedTable();
    state.ResumeTiming();
    Fill(table, kRows);
    benchmark::DoNotOptimize(table.cells.size());
    state.PauseTiming();
    table = ResultTable{};  // freeing is not part of the fill
    state.ResumeTiming();
  }
  state.counters["rows"] = kRows;
  state.counters["cells"] = kRows * 6.0;
}
BENCHMARK(BM_Append131072Rows)->Unit(benchmark::kMillisecond)->Iterations(5);

// Heap bytes the filled table holds, measured by the allocator itself.
void BM_MemoryOf131072Rows(benchmark::State& state) {
  double megabytes = 0;
  for (auto _ : state) {
    size_t before = mallinfo2().uordblks;
    ResultTable table = PreparedTable();
    Fill(table, kRows);
    size_t after = mallinfo2().uordblks;
    megabytes = static_cast<double>(after - before) / (1024.0 * 1024.0);
    benchmark::DoNotOptimize(table.cells.size());
  }
  state.counters["heap_MB"] = megabytes;
}
BENCHMARK(BM_MemoryOf131072Rows)->Unit(benchmark::kMillisecond)->Iterations(1);

// The cost of a row does not grow with the rows already there: 1000 rows appended after
// 10 and after 100 000 existing ones.
void BM_Append1000RowsAfter(benchmark::State& state) {
  const int32_t base = static_cast<int32_t>(state.range(0));
  ResultTable table = PreparedTable();
  Fill(table, base);
  for (auto _ : state) {
    for (int32_t r = base + 1; r <= base + 1000; ++r) {
      InsertRow(table, "", RowCount(table));
      SetCell(table, r, 0, 1, "CAN_BS1_16tq");
      SetCell(table, r, 1, 1, "CAN_BS2_8tq");
      SetCell(table, r, 2, 1, "1024");
      SetCell(table, r, 3, 1, "83.3%");
      SetCell(table, r, 4, 1, 500.0f);
      SetCell(table, r, 5, 1, "0%");
    }
    state.PauseTiming();
    SetRowCount(table, base + 1);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_Append1000RowsAfter)->Arg(10)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_SelectAllAndCopy131072Rows(benchmark::State& state) {
  ResultTable table = PreparedTable();
  Fill(table, kRows);
  std::string text;
  for (auto _ : state) {
    table.selection = CellRange{};
    PressTableKey(table, TableKey::kLetterA, false, true, 13);
    CopyText(table, &text);
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_SelectAllAndCopy131072Rows)->Unit(benchmark::kMillisecond);

void BM_SelectAll131072Rows(benchmark::State& state) {
  ResultTable table = PreparedTable();
  Fill(table, kRows);
  for (auto _ : state) {
    table.selection = CellRange{};
    benchmark::DoNotOptimize(SelectAll(table));
  }
}
BENCHMARK(BM_SelectAll131072Rows);

void BM_Prepare131072Rows(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    ResultTable table = PreparedTable();
    Fill(table, kRows);
    state.ResumeTiming();
    PrepareResultTable(table);
    benchmark::DoNotOptimize(table.cells.size());
  }
}
BENCHMARK(BM_Prepare131072Rows)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
