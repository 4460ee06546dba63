// The main window's fifteen controls, made from the layout table (main_window_layout.h)
// at the window's DPI, and laid out again when the DPI changes.
#pragma once

#include <windows.h>

#include "ui/main_window_layout.h"

// The two fonts the controls are drawn with, made for one DPI; the window owns them.
struct WindowFonts {
  HFONT gui = nullptr;       // the default GUI font: labels, edit fields, the button
                             // (above 96 DPI a pixel smaller where a caption would not fit)
  HFONT selector = nullptr;  // the selectors' own: 16 pixels high (scaled), weight 400
};
WindowFonts CreateWindowFonts(int dpi);
// Deletes both fonts; no control may still use them.
void ReleaseWindowFonts(WindowFonts& fonts);

// Creates control `id` as a child of parent with the window identifier windowId, at its
// rectangle for dpi, with its class, style, text and font; 组合框1 also gets its items
// and selection. Null when it cannot be made.
HWND CreateLayoutControl(HWND parent, HINSTANCE instance, ControlId id, int windowId, int dpi,
                         const WindowFonts& fonts);

// Moves every control to its rectangle for dpi and hands it its font from fonts (the
// result table follows the DPI itself); texts, items, selections and the focus stay.
void RelayoutControls(const HWND (&controls)[kControlCount], int dpi, const WindowFonts& fonts);
