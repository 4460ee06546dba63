#include "ui/result_table_window_win.h"

#include <algorithm>

#include "ui/result_table_scroll.h"

namespace {

bool ShowsAlready(HWND handle, const SCROLLINFO& info) {
  SCROLLINFO shown = {};
  shown.cbSize = sizeof shown;
  shown.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  return GetScrollInfo(handle, SB_VERT, &shown) && shown.nMin == info.nMin &&
         shown.nMax == info.nMax && shown.nPage == info.nPage && shown.nPos == info.nPos;
}

}  // namespace

TableWindow* TableWindowOf(HWND handle) {
  return reinterpret_cast<TableWindow*>(GetWindowLongPtrW(handle, 0));
}

void RequestRepaint(TableWindow& window, bool layoutChanged) {
  if (layoutChanged) window.layoutStale = true;
  if (window.repaintPending) return;
  window.repaintPending = true;
  InvalidateRect(window.handle, nullptr, FALSE);
}

int ClientHeight(const TableWindow& window) {
  RECT client;
  GetClientRect(window.handle, &client);
  return client.bottom - client.top;
}

void SyncLayout(TableWindow& window) {
  for (int pass = 0; pass < 2 && window.layoutStale; ++pass) {
    window.layoutStale = false;
    ResultTable& table = window.table;
    int height = ClientHeight(window);
    ClampScrollRow(table, height);
    int32_t first = table.settings.fixedRows;
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = std::max(0, table.rowCount - first - 1);
    info.nPage = static_cast<UINT>(FullyVisibleRows(table, height));
    info.nPos = table.scrollRow - first;
    // A bar that already shows these values is left alone: setting it redraws it, which
    // under Wine costs more than painting every visible cell (a refill of the same
    // number of rows keeps the same range).
    if (ShowsAlready(window.handle, info)) continue;
    // Showing or hiding the bar resizes the client area (WM_SIZE marks the layout stale
    // again): the second pass settles it.
    SetScrollInfo(window.handle, SB_VERT, &info, TRUE);
  }
}

void ScrollRowIntoView(TableWindow& window, int32_t row) {
  if (ScrollToRow(window.table, row, ClientHeight(window))) RequestRepaint(window, true);
}

void SetScrollRow(TableWindow& window, int64_t row) {
  ResultTable& table = window.table;
  int32_t before = table.scrollRow;
  int64_t clamped = std::clamp<int64_t>(row, table.settings.fixedRows, table.rowCount);
  table.scrollRow = static_cast<int32_t>(clamped);
  ClampScrollRow(table, ClientHeight(window));
  if (table.scrollRow != before) RequestRepaint(window, true);
}
