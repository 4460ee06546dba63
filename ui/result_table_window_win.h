// The result table control's own record and what its parts (painting, input, the
// window procedure) share: the coalesced repaint, the lazy scroll-bar update and
// scrolling. Used only by the control's own files.
#pragma once

#include <windows.h>

#include <string>

#include "ui/result_table.h"
#include "ui/result_table_fonts_win.h"

// Reached through the first extra window word.
struct TableWindow {
  HWND handle = nullptr;
  ResultTable table;
  CellFontCache fonts;
  int margin = 3;              // around a cell's text; 0.9 mm, scaled to the DPI
  bool repaintPending = false;  // an invalidation is queued and not yet painted
  bool layoutStale = true;      // scroll position and scroll bar need checking
  bool dragging = false;        // the button went down on a data cell and is held
  int wheelRemainder = 0;
  std::wstring wide;  // conversion buffer for the cell being drawn
};

// The record of a result table window (read from its window word; the caller knows the
// window is one).
TableWindow* TableWindowOf(HWND handle);

// Marks the window invalid once until the next WM_PAINT: a fill of 131 072 rows
// repaints once. layoutChanged also marks the scroll bar for checking.
void RequestRepaint(TableWindow& window, bool layoutChanged);
int ClientHeight(const TableWindow& window);
// Brings the scroll position into range and the scroll bar up to date; done lazily,
// before painting and before input, never once per appended row.
void SyncLayout(TableWindow& window);
// Scrolls so that `row` is fully visible; repaints when that moved anything.
void ScrollRowIntoView(TableWindow& window, int32_t row);
// Makes `row` the first data row shown, clamped to the rows; repaints when it moved.
void SetScrollRow(TableWindow& window, int64_t row);
