#include "ui/dpi_win.h"

#include <cstddef>

#include "ui/dpi_scale.h"

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using SystemParametersInfoForDpiFunction = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

// A user32 function by name; null where this Windows has none.
template <typename Function>
Function User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)))
                : nullptr;
}

// The message font as the system DPI gives it.
bool SystemMessageFont(LOGFONTW* font) {
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof metrics;
  bool read = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
  if (!read) {
    // Systems before Vista know the structure without its last field.
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    read = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
  }
  if (read) *font = metrics.lfMessageFont;
  return read;
}

}  // namespace

int SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : kBaseDpi;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kBaseDpi;
}

int WindowDpi(HWND window) {
  static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
  const UINT dpi = getDpiForWindow && window ? getDpiForWindow(window) : 0;
  return dpi > 0 ? static_cast<int>(dpi) : SystemDpi();
}

SIZE FrameSize(DWORD style, int dpi) {
  static const auto adjust = User32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
  RECT rect = {0, 0, 0, 0};
  if (!adjust || !adjust(&rect, style, FALSE, 0, static_cast<UINT>(dpi)))
    AdjustWindowRectEx(&rect, style, FALSE, 0);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

HFONT CreateDefaultGuiFont(int dpi) {
  LOGFONTW font = {};
  if (!GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font)) return nullptr;
  font.lfHeight = RescaleForDpi(font.lfHeight, SystemDpi(), dpi);
  return CreateFontIndirectW(&font);
}

LOGFONTW MessageFontAt(int dpi) {
  static const auto forDpi =
      User32Function<SystemParametersInfoForDpiFunction>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof metrics;
  if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0, static_cast<UINT>(dpi)))
    return metrics.lfMessageFont;
  LOGFONTW font = {};
  if (SystemMessageFont(&font)) {
    font.lfHeight = RescaleForDpi(font.lfHeight, SystemDpi(), dpi);
    return font;
  }
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
  font.lfHeight = RescaleForDpi(font.lfHeight, SystemDpi(), dpi);
  return font;
}
