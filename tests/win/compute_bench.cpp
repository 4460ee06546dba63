// Times the compute command inside the real window: from its start to the last cell
// written, and to the end of the first paint after it, for the preset inputs and for
// the largest fills (0 MHz and 0 Kbps accept every setting that meets the sample
// point). Prints figures; asserts nothing. Run by scripts/bench-windows.sh.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/compute_command.h"
#include "calc/fp_environment.h"
#include "tests/win/win_test_support.h"
#include "ui/gbk_win.h"
#include "ui/result_table_win.h"
#include "ui/selector_win.h"

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Figures {
  std::vector<double> filled;   // start to last cell written
  std::vector<double> painted;  // start to the end of the first paint after it
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}
double Max(const std::vector<double>& values) { return *std::max_element(values.begin(), values.end()); }

void Measure(TestMainWindow& window, const char* name, const char* clock, const char* rate,
             int samplePointIndex, int toleranceIndex, int runs, double target) {
  SetWindowTextW(window.control(kEdit1), GbkToWide(clock).c_str());
  SetWindowTextW(window.control(kEdit2), GbkToWide(rate).c_str());
  SetSelectorSelection(window.control(kComboBox1), samplePointIndex);
  SetSelectorSelection(window.control(kComboBox2), toleranceIndex);
  HWND table = window.control(kResultTable);
  Figures figures;
  int rows = 0;
  int paints = 0;  // runs whose fill left the table to repaint, and which UpdateWindow painted
  for (int run = 0; run < runs; ++run) {
    PumpMessages();
    LARGE_INTEGER start, filled, painted;
    QueryPerformanceCounter(&start);
    ComputeCommand(window.state());
    QueryPerformanceCounter(&filled);
    const bool pending = GetUpdateRect(table, nullptr, FALSE) != FALSE;
    UpdateWindow(table);  // the pending WM_PAINT, sent at once
    QueryPerformanceCounter(&painted);
    if (pending && !GetUpdateRect(table, nullptr, FALSE)) ++paints;
    figures.filled.push_back(Milliseconds(start, filled));
    figures.painted.push_back(Milliseconds(start, painted));
    rows = RowCount(*ResultTableOf(table)) - 1;
  }
  std::printf("%-36s %6d rows  filled: median %8.2f ms max %8.2f ms  painted: median %8.2f ms "
              "max %8.2f ms  (target %g ms, %d runs, %d painted)\n",
              name, rows, Median(figures.filled), Max(figures.filled), Median(figures.painted),
              Max(figures.painted), target, runs, paints);
  std::fflush(stdout);
}

}  // namespace

int main() {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  SetFloatEnvironment();
  CandidateList store;
  UseCandidateStore(&store);
  {
    TestMainWindow window;
    if (!window.handle()) {
      std::printf("the main window could not be created\n");
      return 1;
    }
    Measure(window, "preset (42, 500, >=40%, ==0%)", "42", "500", 0, 0, 50, 5);
    Measure(window, "clock 36, 500, >=80%, ==0%", "36", "500", 4, 0, 50, 5);
    // No row at all: what the search and the header's repaint cost alone.
    Measure(window, "no result (36, 333, >=40%, ==0%)", "36", "333", 0, 0, 50, 5);
    Measure(window, "worst (0, 0, >=40%, ==0%)", "0", "0", 0, 0, 10, 400);
    Measure(window, "worst (0, 0, no item, ==0%)", "0", "0", -1, 0, 10, 400);
  }
  UseCandidateStore(nullptr);
  return 0;
}
