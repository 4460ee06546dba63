#include "app/compute_command.h"

#include "app/candidate_row.h"
#include "app/candidate_store.h"
#include "app/input_focus.h"
#include "app/show_message.h"
#include "calc/text.h"
#include "calc/timing.h"
#include "ui/gbk_win.h"
#include "ui/main_window_win.h"
#include "ui/result_table_win.h"
#include "ui/selector_win.h"

namespace {

// "请输入AHB1时钟频率"
const char* const kClockMissing = "\xC7\xEB\xCA\xE4\xC8\xEB" "AHB1" "\xCA\xB1\xD6\xD3\xC6\xB5\xC2\xCA";
// "请输入CAN波特率"
const char* const kRateMissing = "\xC7\xEB\xCA\xE4\xC8\xEB" "CAN" "\xB2\xA8\xCC\xD8\xC2\xCA";

// True (after the message and the focus move) when field holds no text at all. Blanks
// are text: a field of spaces passes and converts to 0.
bool ReportIfEmpty(MainWindow& window, ControlId field, const char* message) {
  HWND control = ControlHandle(window, field);
  if (CompareTexts(WindowTextGbk(control).get(), "") != 0) return false;
  ShowMessage(message, 0, nullptr, window.handle);  // waits for OK; the answer is not used
  SetInputFocus(control);
  return true;
}

}  // namespace

int32_t ClockKHzFromMHz(int32_t clockMHz) {
  // |clockMHz| * 1000 stays below 2^41, so the product is exact and the cast to 64 bits
  // always defined; the wrap to 32 bits is the intended conversion.
  const int64_t kHz = static_cast<int64_t>(static_cast<double>(clockMHz) * 1000.0);
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(kHz)));
}

float MinSamplePointForIndex(int index) {
  return static_cast<float>((static_cast<double>(index) + 4.0) / 10.0);
}

float SelectedMinSamplePoint(const MainWindow& window) {
  return MinSamplePointForIndex(GetSelectorSelection(ControlHandle(window, kComboBox1)));
}

void ComputeCommand(MainWindow& window) {
  // The clock is checked first: with both fields empty only its message shows.
  if (ReportIfEmpty(window, kEdit1, kClockMissing)) return;
  if (ReportIfEmpty(window, kEdit2, kRateMissing)) return;
  if (!candidateList) return;

  const int32_t clockKHz = ClockKHzFromMHz(ToInt(WindowTextGbk(ControlHandle(window, kEdit1)).get()));
  const float targetRate = ToFloat(WindowTextGbk(ControlHandle(window, kEdit2)).get());
  const float minSamplePoint = SelectedMinSamplePoint(window);
  // The tolerance items stand at the index of their percent: "==0%" at 0, "<=n%" at n.
  const int32_t tolerancePercent = GetSelectorSelection(ControlHandle(window, kComboBox2));

  BitTimingSearch(*candidateList, clockKHz, targetRate, tolerancePercent, minSamplePoint);

  HWND tableWindow = ControlHandle(window, kResultTable);
  PrepareResultTable(tableWindow);
  ResultTable* table = ResultTableOf(tableWindow);
  if (!table) return;

  // The table only marks itself invalid while it grows: the whole fill ends in one
  // repaint and one scroll-range update, however many rows it brings.
  const int32_t count = CandidateCount(*candidateList);
  CandidateRow row;
  for (int32_t r = 1; r <= count; ++r) {
    if (!InsertRow(*table, "", RowCount(*table))) break;  // full: cannot happen below 2^24
    MakeCandidateRow(CandidateAt(*candidateList, r), row);
    for (int32_t k = 0; k < 6; ++k) {
      if (k == 4) SetCell(*table, r, k, 1, row.actualRate);
      else SetCell(*table, r, k, 1, row.text[k]);
    }
  }
}
