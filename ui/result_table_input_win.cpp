#include "ui/result_table_input_win.h"

#include <algorithm>

#include "ui/result_table_clipboard_win.h"
#include "ui/result_table_scroll.h"
#include "ui/result_table_selection.h"

namespace {

TableKey KeyFor(WPARAM virtualKey) {
  switch (virtualKey) {
    case VK_LEFT: return TableKey::kLeft;
    case VK_RIGHT: return TableKey::kRight;
    case VK_UP: return TableKey::kUp;
    case VK_DOWN: return TableKey::kDown;
    case VK_PRIOR: return TableKey::kPageUp;
    case VK_NEXT: return TableKey::kPageDown;
    case VK_HOME: return TableKey::kHome;
    case VK_END: return TableKey::kEnd;
    case VK_TAB: return TableKey::kTab;
    case VK_RETURN: return TableKey::kEnter;
    case VK_INSERT: return TableKey::kInsert;
    case VK_DELETE: return TableKey::kDelete;
    case VK_F2: return TableKey::kF2;
    case 'A': return TableKey::kLetterA;
    case 'C': return TableKey::kLetterC;
    case 'V': return TableKey::kLetterV;
    case 'X': return TableKey::kLetterX;
    default: return TableKey::kOther;
  }
}

}  // namespace

void OnTableKeyDown(TableWindow& window, WPARAM virtualKey) {
  SyncLayout(window);
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  ResultTable& table = window.table;
  int32_t page = FullyVisibleRows(table, ClientHeight(window));
  KeyOutcome outcome = PressTableKey(table, KeyFor(virtualKey), shift, ctrl, page);
  if (outcome.changed && table.focusRow >= 0) ScrollRowIntoView(window, table.focusRow);
  if (outcome.copy) CopyTableToClipboard(window.handle, table);
}

void OnTableButtonDown(TableWindow& window, int x, int y, WPARAM keys) {
  if (GetFocus() != window.handle) SetFocus(window.handle);
  SyncLayout(window);
  CellHit hit = HitTestCell(window.table, x, y);
  if (hit.row < 0) return;
  ClickCell(window.table, hit.row, hit.column, (keys & MK_SHIFT) != 0);
  if (hit.row >= window.table.settings.fixedRows) {
    window.dragging = true;
    SetCapture(window.handle);
    ScrollRowIntoView(window, hit.row);
  }
}

void OnTableMouseMove(TableWindow& window, int x, int y) {
  if (!window.dragging) return;
  ResultTable& table = window.table;
  if (table.columnCount <= 0) return;
  SyncLayout(window);
  int cellsRight = 0;
  for (int32_t width : table.columnWidths) cellsRight += width;
  x = std::clamp(x, 0, std::max(0, cellsRight - 1));
  int height = ClientHeight(window);
  int32_t row;
  if (y < FixedRowsHeight(table)) {
    row = std::max(table.settings.fixedRows, table.scrollRow - 1);
  } else {
    CellHit hit = HitTestCell(table, x, std::min(y, height - 1));
    row = hit.row >= 0 ? hit.row : table.rowCount - 1;
    if (y >= height) row = std::min(table.rowCount - 1, row + 1);
  }
  CellHit column = HitTestCell(table, x, 0);
  DragToCell(table, row, column.column >= 0 ? column.column : 0);
  ScrollRowIntoView(window, row);
}

void OnTableVScroll(TableWindow& window, int request) {
  SyncLayout(window);
  ResultTable& table = window.table;
  int32_t page = FullyVisibleRows(table, ClientHeight(window));
  int64_t row = table.scrollRow;
  switch (request) {
    case SB_LINEUP: row -= 1; break;
    case SB_LINEDOWN: row += 1; break;
    case SB_PAGEUP: row -= page; break;
    case SB_PAGEDOWN: row += page; break;
    case SB_TOP: row = table.settings.fixedRows; break;
    case SB_BOTTOM: row = table.rowCount; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      // The 32-bit track position; the message's own is only 16 bits wide.
      SCROLLINFO info = {};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      if (!GetScrollInfo(window.handle, SB_VERT, &info)) return;
      row = int64_t{table.settings.fixedRows} + info.nTrackPos;
      break;
    }
    default: return;
  }
  SetScrollRow(window, row);
}

void OnTableMouseWheel(TableWindow& window, int delta) {
  SyncLayout(window);
  UINT lines = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  window.wheelRemainder += delta;
  int notches = window.wheelRemainder / WHEEL_DELTA;
  window.wheelRemainder %= WHEEL_DELTA;
  if (notches == 0) return;
  int64_t step = lines == WHEEL_PAGESCROLL ? FullyVisibleRows(window.table, ClientHeight(window))
                                           : static_cast<int64_t>(lines);
  SetScrollRow(window, window.table.scrollRow - int64_t{notches} * step);
}
