// The result table's selection and the user's actions on it, as state changes.
//
// Selection is by whole rows. A click on a data cell makes it the focus cell and selects
// its row; Shift+click, or dragging with the button held, selects every row from the
// anchor row (the last row clicked without Shift) to the row under the pointer. The
// movement keys move the focus cell and the selection follows: it becomes the focus row,
// or with Shift the rows from the anchor to the focus row.
#pragma once

#include <cstdint>

#include "ui/result_table.h"

bool CellIsSelected(const ResultTable& table, int32_t row, int32_t column);

// Returns true when focus or selection changed. A click on a header cell clears both;
// (row, column) outside the cells changes nothing.
bool ClickCell(ResultTable& table, int32_t row, int32_t column, bool extend);
// The pointer moved to (row, column) with the button held after a click on a data cell.
bool DragToCell(ResultTable& table, int32_t row, int32_t column);

enum class TableKey : uint8_t {
  kLeft, kRight, kUp, kDown, kPageUp, kPageDown, kHome, kEnd,
  kTab, kEnter, kInsert, kDelete, kF2, kLetterA, kLetterC, kLetterV, kLetterX, kOther,
};
struct KeyOutcome {
  bool changed = false;  // focus or selection changed
  bool copy = false;     // the caller should copy the selection (Ctrl+C, Ctrl+Insert)
};
// Arrows move the focus by one cell, Page Up/Down by pageRows rows (at least 1), Home/End
// to the first/last data row (Ctrl: and the first/last column); without a focus cell a
// move starts at the first data row, column 0. Ctrl+A selects every data cell. Every other
// key, Tab, Enter, Ctrl+X, Ctrl+V, Shift+Insert and F2 included, changes nothing.
KeyOutcome PressTableKey(ResultTable& table, TableKey key, bool shift, bool ctrl, int32_t pageRows);
// Selects every data cell; false when there are no data rows or columns.
bool SelectAll(ResultTable& table);
