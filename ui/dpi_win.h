// The DPI services of the platform, looked up at run time: Windows 7 and 8 lack the
// per-window ones (GetDpiForWindow, SystemParametersInfoForDpi,
// AdjustWindowRectExForDpi), and there everything falls back to the system DPI.
#pragma once

#include <windows.h>

// The system DPI (the screen's LOGPIXELSX); 96 when it cannot be read.
int SystemDpi();
// The DPI of the window's monitor as the window sees it; the system DPI where the
// platform has no per-window DPI.
int WindowDpi(HWND window);

// The width and height a window frame of `style` takes at dpi (borders and title bar).
SIZE FrameSize(DWORD style, int dpi);

// The stock default GUI font at dpi: its description, the height scaled from the
// system DPI it is made for. The caller owns the font; null when it cannot be made.
HFONT CreateDefaultGuiFont(int dpi);
// The platform's standard message font at dpi (the default GUI font's when it cannot
// be read).
LOGFONTW MessageFontAt(int dpi);
