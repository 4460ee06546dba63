#include "ui/result_table_win.h"

#include <windowsx.h>

#include <cstring>
#include <new>

#include "ui/control_class_win.h"
#include "ui/dpi_scale.h"
#include "ui/dpi_win.h"
#include "ui/result_table_clipboard_win.h"
#include "ui/result_table_fonts_win.h"
#include "ui/result_table_input_win.h"
#include "ui/result_table_paint_win.h"
#include "ui/result_table_window_win.h"

namespace {

// The text's inset on every side of a cell: 3 pixels (0.9 mm) at 96 DPI, scaled.
constexpr int kCellMargin = 3;

void OnTableChanged(void* context, bool layoutChanged) {
  RequestRepaint(*static_cast<TableWindow*>(context), layoutChanged);
}

bool OnCreate(HWND handle, const CREATESTRUCTW& create) {
  TableWindow* window = new (std::nothrow) TableWindow;
  if (!window) return false;
  window->handle = handle;
  const int dpi = WindowDpi(handle);  // a child has its parent's
  window->margin = ScaleForDpi(kCellMargin, dpi);
  SetWindowLongPtrW(handle, 0, reinterpret_cast<LONG_PTR>(window));
  InitResultTable(window->table, MessageFontDescription(dpi), create.cx, dpi);
  window->table.observer.changed = OnTableChanged;
  window->table.observer.context = window;
  return true;
}

void OnDestroy(HWND handle) {
  TableWindow* window = TableWindowOf(handle);
  if (!window) return;
  SetWindowLongPtrW(handle, 0, 0);
  ReleaseCellFonts(window->fonts);
  delete window;
}

void OnSize(TableWindow& window) {
  RECT outer;
  GetWindowRect(window.handle, &outer);
  window.table.outerWidth = outer.right - outer.left;
  RequestRepaint(window, true);
}

// Mouse messages; true when `message` was one of them.
bool HandleMouse(TableWindow& window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
      OnTableButtonDown(window, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), wParam);
      return true;
    case WM_MOUSEMOVE:
      OnTableMouseMove(window, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return true;
    case WM_LBUTTONUP:
      if (window.dragging) ReleaseCapture();
      window.dragging = false;
      return true;
    case WM_CAPTURECHANGED:
      window.dragging = false;
      return true;
    case WM_MOUSEWHEEL:
      OnTableMouseWheel(window, GET_WHEEL_DELTA_WPARAM(wParam));
      return true;
    default:
      return false;
  }
}

LRESULT CALLBACK ResultTableProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    if (!OnCreate(handle, *reinterpret_cast<CREATESTRUCTW*>(lParam))) return FALSE;
    return DefWindowProcW(handle, message, wParam, lParam);
  }
  TableWindow* window = TableWindowOf(handle);
  if (!window) return DefWindowProcW(handle, message, wParam, lParam);
  if (HandleMouse(*window, message, wParam, lParam)) return 0;
  switch (message) {
    case WM_NCDESTROY:
      OnDestroy(handle);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTTAB | DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_PAINT:
      OnTablePaint(*window);
      return 0;
    case WM_PRINTCLIENT: {
      RECT client;
      GetClientRect(handle, &client);
      PaintResultTable(handle, reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // painting covers every pixel
    case WM_SIZE:
      OnSize(*window);
      return 0;
    case WM_KEYDOWN:
      OnTableKeyDown(*window, wParam);
      return 0;
    case WM_CHAR:
      return 0;  // the cells are not editable: typing does nothing
    case WM_VSCROLL:
      OnTableVScroll(*window, LOWORD(wParam));
      return 0;
    default:
      return DefWindowProcW(handle, message, wParam, lParam);
  }
}

}  // namespace

bool RegisterResultTableClass(HINSTANCE instance) {
  // The arrow everywhere: borders cannot be dragged, so the pointer never changes.
  return RegisterControlClass(instance, kResultTableClassName, ResultTableProc,
                              sizeof(TableWindow*));
}

ResultTable* ResultTableOf(HWND table) {
  wchar_t name[64];
  if (!table || !GetClassNameW(table, name, 64) || std::wcscmp(name, kResultTableClassName) != 0)
    return nullptr;
  TableWindow* window = TableWindowOf(table);
  return window ? &window->table : nullptr;
}

void PrepareResultTable(HWND table) {
  if (ResultTable* state = ResultTableOf(table)) PrepareResultTable(*state);
}

void PaintResultTable(HWND table, HDC dc, const RECT& area) {
  if (!ResultTableOf(table)) return;
  TableWindow& window = *TableWindowOf(table);
  SyncLayout(window);
  PaintTable(window, dc, area, area);
}

void SetResultTableDpi(HWND table, int dpi) {
  if (!ResultTableOf(table)) return;
  TableWindow& window = *TableWindowOf(table);
  ReleaseCellFonts(window.fonts);  // made for the old default font
  window.margin = ScaleForDpi(kCellMargin, dpi);
  RescaleResultTable(window.table, MessageFontDescription(dpi), dpi);
  FitColumnsToWidth(window.table);
  RequestRepaint(window, true);
}
