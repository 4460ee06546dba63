#include "app/compute_command.h"

#include "calc/window_inputs.h"
#include "app/message_box_and_focus.h"
#include "answers/columns/row_columns.h"
#include "calc/candidate_cells.h"
#include "ui/gbk_win.h"
#include "ui/main_window_win.h"
#include "ui/result_table_win.h"
#include "ui/selector_win.h"

namespace {

// The store RunProgram owns, while its window lives.
CandidateList* candidateStore = nullptr;

// Appends one row per record of the store, in store order, the way the table's
// operations are meant to be called: RowCount, InsertRow at that count, then SetCell
// for each of the window's columns (answers/columns/row_columns.h), left to right.
void FillResultTable(ResultTable& table, const CandidateList& store) {
  // The table only marks itself invalid while it grows: the whole fill ends in one
  // repaint and one scroll-range update, however many rows it brings.
  const int32_t count = CandidateCount(store);
  const OutputOptions window;  // bxCAN's names, the error known
  RowCells run;
  CandidateText scratch;
  for (int32_t r = 1; r <= count; ++r) {
    if (!InsertRow(table, "", RowCount(table))) break;  // full: cannot happen below 2^24
    const TimingCandidate& record = CandidateAt(store, r);
    const RowContext row{record, CellsOf(run, record, window), window};
    for (int32_t k = 0; k < kResultColumnCount; ++k) {
      const Column& column = WindowColumn(k);
      if (column.number != nullptr)
        SetCell(table, r, k, 1, column.number(row));  // the number: the table writes its text
      else
        SetCell(table, r, k, 1, column.text(row, scratch).bytes);
    }
  }
}

}  // namespace

void UseCandidateStore(CandidateList* store) { candidateStore = store; }

void ComputeCommand(MainWindow& window) {
  HWND clockField = ControlHandle(window, kEdit1);
  HWND rateField = ControlHandle(window, kEdit2);
  const SearchArguments arguments = SearchArgumentsFor(
      WindowTextGbk(clockField).get(), WindowTextGbk(rateField).get(),
      GetSelectorSelection(ControlHandle(window, kComboBox1)),
      GetSelectorSelection(ControlHandle(window, kComboBox2)));
  if (arguments.check != InputCheck::kReady) {
    // Waits for OK; which way the box was closed does not matter.
    ShowMessage(MissingInputMessage(arguments.check), 0, nullptr, window.handle);
    SetInputFocus(arguments.check == InputCheck::kClockMissing ? clockField : rateField);
    return;
  }
  if (!candidateStore) return;

  BitTimingSearch(*candidateStore, arguments.clockKHz, arguments.targetRate,
                  arguments.tolerancePercent, arguments.minSamplePoint);
  HWND tableWindow = ControlHandle(window, kResultTable);
  PrepareResultTable(tableWindow);
  if (ResultTable* table = ResultTableOf(tableWindow)) FillResultTable(*table, *candidateStore);
}
