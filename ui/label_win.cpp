#include "ui/label_win.h"

#include <string>

#include "ui/control_class_win.h"

namespace {

// The font WM_SETFONT gave the label (the window owns it), kept in its window word;
// the stock default GUI font until then.
HFONT LabelFont(HWND label) {
  HFONT font = reinterpret_cast<HFONT>(GetWindowLongPtrW(label, 0));
  return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void OnPaint(HWND label) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(label, &paint);
  PaintLabel(label, dc);
  EndPaint(label, &paint);
}

LRESULT CALLBACK LabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnPaint(label);
      return 0;
    case WM_PRINTCLIENT:
      PaintLabel(label, reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;  // PaintLabel fills the whole area itself
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(LabelFont(label));
    case WM_SETFONT:
      SetWindowLongPtrW(label, 0, static_cast<LONG_PTR>(wParam));
      if (LOWORD(lParam)) InvalidateRect(label, nullptr, TRUE);
      return 0;
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcW(label, message, wParam, lParam);
      InvalidateRect(label, nullptr, TRUE);
      return result;
    }
    default:
      return DefWindowProcW(label, message, wParam, lParam);
  }
}

}  // namespace

bool RegisterLabelClass(HINSTANCE instance) {
  return RegisterControlClass(instance, kLabelClassName, LabelProc, sizeof(HFONT));
}

void PaintLabel(HWND label, HDC dc) {
  RECT area;
  GetClientRect(label, &area);
  // 1. The whole area in the button-face colour, like the window behind it.
  FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
  // 2. Nothing more for an empty text.
  const int length = GetWindowTextLengthW(label);
  if (length <= 0) return;
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(label, &text[0], length + 1);
  // 3. One black line, centred vertically; DrawText clips to area without DT_NOCLIP.
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(label, GWL_STYLE));
  const UINT align = (style & kLabelAlignRight) ? DT_RIGHT : DT_LEFT;
  const int savedState = SaveDC(dc);
  SelectObject(dc, LabelFont(label));
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, text.c_str(), copied, &area, align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  RestoreDC(dc, savedState);
}
