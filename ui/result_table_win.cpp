#include "ui/result_table_win.h"

namespace {

void PaintTable(HWND table, HDC dc) {
  RECT area;
  GetClientRect(table, &area);
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

LRESULT CALLBACK ResultTableProc(HWND table, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE:
      return DLGC_WANTTAB | DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
      SetFocus(table);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(table, &paint);
      PaintTable(table, dc);
      EndPaint(table, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintTable(table, reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    default:
      return DefWindowProcW(table, message, wParam, lParam);
  }
}

}  // namespace

bool RegisterResultTableClass(HINSTANCE instance) {
  WNDCLASSEXW windowClass = {};
  if (GetClassInfoExW(instance, kResultTableClassName, &windowClass)) return true;
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = ResultTableProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kResultTableClassName;
  return RegisterClassExW(&windowClass) != 0;
}

void PrepareResultTable(HWND) {}
