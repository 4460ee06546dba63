#include "ui/result_table_selection.h"

#include <algorithm>

namespace {

bool SameFocusAndSelection(const ResultTable& table, int32_t focusRow, int32_t focusColumn,
                           const CellRange& selection) {
  return table.focusRow == focusRow && table.focusColumn == focusColumn &&
         table.selection.firstRow == selection.firstRow &&
         table.selection.firstColumn == selection.firstColumn &&
         table.selection.lastRow == selection.lastRow &&
         table.selection.lastColumn == selection.lastColumn;
}

// Makes (row, column) the focus cell and selects the whole rows from the anchor to `row`
// (only `row` when not extending, which also moves the anchor there). Returns whether
// anything changed.
bool FocusAndSelectRows(ResultTable& table, int32_t row, int32_t column, bool extend) {
  int32_t before[2] = {table.focusRow, table.focusColumn};
  CellRange selectionBefore = table.selection;
  bool anchorValid = table.anchorRow >= FirstDataRow(table) && table.anchorRow <= LastRow(table);
  if (!extend || !anchorValid) table.anchorRow = row;
  table.focusRow = row;
  table.focusColumn = column;
  table.selection = CellRange{std::min(table.anchorRow, row), table.settings.fixedColumns,
                              std::max(table.anchorRow, row), table.columnCount - 1};
  bool changed = !SameFocusAndSelection(table, before[0], before[1], selectionBefore);
  if (changed) NotifyChanged(table, false);
  return changed;
}

bool IsMovementKey(TableKey key) {
  switch (key) {
    case TableKey::kLeft: case TableKey::kRight: case TableKey::kUp: case TableKey::kDown:
    case TableKey::kPageUp: case TableKey::kPageDown: case TableKey::kHome: case TableKey::kEnd:
      return true;
    default:
      return false;
  }
}

// Where a movement key takes the focus cell; the table has data rows.
void MoveFocus(const ResultTable& table, TableKey key, bool ctrl, int32_t pageRows,
               int32_t* row, int32_t* column) {
  int32_t first = FirstDataRow(table);
  int32_t last = LastRow(table);
  int32_t firstColumn = std::min(table.settings.fixedColumns, table.columnCount - 1);
  int32_t lastColumn = table.columnCount - 1;
  int32_t page = std::max(pageRows, 1);
  if (*row < first || *column < 0) {
    // No focus cell yet: the move lands on the first data row (End: the last one).
    *row = key == TableKey::kEnd ? last : first;
    *column = key == TableKey::kEnd && ctrl ? lastColumn : firstColumn;
    return;
  }
  switch (key) {
    case TableKey::kLeft: *column = std::max(firstColumn, *column - 1); break;
    case TableKey::kRight: *column = std::min(lastColumn, *column + 1); break;
    case TableKey::kUp: *row = std::max(first, *row - 1); break;
    case TableKey::kDown: *row = std::min(last, *row + 1); break;
    case TableKey::kPageUp: *row = std::max(first, *row - page); break;
    case TableKey::kPageDown:
      *row = static_cast<int32_t>(std::min<int64_t>(last, int64_t{*row} + page));
      break;
    case TableKey::kHome:
      *row = first;
      if (ctrl) *column = firstColumn;
      break;
    case TableKey::kEnd:
      *row = last;
      if (ctrl) *column = lastColumn;
      break;
    default: break;
  }
}

}  // namespace

bool CellIsSelected(const ResultTable& table, int32_t row, int32_t column) {
  const CellRange& s = table.selection;
  return s.firstRow >= 0 && row >= s.firstRow && row <= s.lastRow && column >= s.firstColumn &&
         column <= s.lastColumn;
}

bool ClickCell(ResultTable& table, int32_t row, int32_t column, bool extend) {
  if (!CellAt(table, row, column)) return false;
  if (row < FirstDataRow(table)) {
    // A header click neither selects the column nor sorts: it only drops the selection.
    bool changed = table.focusRow >= 0 || table.selection.firstRow >= 0;
    ClearSelectionAndFocus(table);
    if (changed) NotifyChanged(table, false);
    return changed;
  }
  return FocusAndSelectRows(table, row, column, extend);
}

bool DragToCell(ResultTable& table, int32_t row, int32_t column) {
  if (table.anchorRow < FirstDataRow(table) || !CellAt(table, row, column)) return false;
  row = std::max(row, FirstDataRow(table));
  return FocusAndSelectRows(table, row, column, true);
}

bool SelectAll(ResultTable& table) {
  if (!HasDataRows(table) || table.settings.fixedColumns >= table.columnCount) return false;
  CellRange all{FirstDataRow(table), table.settings.fixedColumns, LastRow(table),
                table.columnCount - 1};
  if (SameFocusAndSelection(table, table.focusRow, table.focusColumn, all)) return false;
  table.selection = all;
  NotifyChanged(table, false);
  return true;
}

KeyOutcome PressTableKey(ResultTable& table, TableKey key, bool shift, bool ctrl, int32_t pageRows) {
  KeyOutcome outcome;
  if (key == TableKey::kLetterA) {
    if (ctrl) outcome.changed = SelectAll(table);
  } else if (key == TableKey::kLetterC) {
    outcome.copy = ctrl;
  } else if (key == TableKey::kInsert) {
    outcome.copy = ctrl && !shift;  // Shift+Insert would paste: nothing to do
  } else if (IsMovementKey(key) && HasDataRows(table)) {
    int32_t row = table.focusRow;
    int32_t column = table.focusColumn;
    MoveFocus(table, key, ctrl, pageRows, &row, &column);
    outcome.changed = FocusAndSelectRows(table, row, column, shift);
  }
  // Tab, Enter, Ctrl+X, Ctrl+V, F2, typing: the table is read-only.
  return outcome;
}
