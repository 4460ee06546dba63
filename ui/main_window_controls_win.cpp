#include "ui/main_window_controls_win.h"

#include "ui/dpi_scale.h"
#include "ui/dpi_win.h"
#include "ui/gbk_win.h"
#include "ui/label_win.h"
#include "ui/result_table_win.h"
#include "ui/selector_items.h"
#include "ui/selector_win.h"

#include <cstdlib>
#include <string>

namespace {

bool IsSelector(ControlKind kind) {
  return kind == ControlKind::kEditableSelector || kind == ControlKind::kListSelector;
}

HFONT CreateSelectorFont(int dpi) {
  // No face name: the platform's default face for the default character set.
  return CreateFontW(ScaleForDpi(kSelectorFontHeight, dpi), 0, 0, 0, kSelectorFontWeight, FALSE,
                     FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     PROOF_QUALITY, DEFAULT_PITCH | FF_DONTCARE, nullptr);
}

// True when every label's text and the button's caption fit the control's width at
// dpi in font. The button draws its caption inside its frame: two pixels a side.
bool CaptionsFit(HFONT font, int dpi) {
  HDC dc = GetDC(nullptr);
  if (!dc) return true;
  const HGDIOBJ saved = SelectObject(dc, font);
  bool fit = true;
  for (const ControlSpec& layout : kMainWindowControls) {
    if (layout.kind != ControlKind::kLabel && layout.kind != ControlKind::kButton) continue;
    const std::wstring text = GbkToWide(layout.text);
    const int frame = layout.kind == ControlKind::kButton ? 4 : 0;
    SIZE extent = {};
    if (GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent) &&
        extent.cx > ScaleForDpi(layout.width, dpi) - frame) {
      fit = false;
      break;
    }
  }
  SelectObject(dc, saved);
  ReleaseDC(nullptr, dc);
  return fit;
}

// The default GUI font for dpi. Glyph advances are whole pixels, so text grows by more
// than the layout at some sizes: a caption that fits at 96 DPI can run three pixels
// over its control at 120. Above 96 DPI the font is then made a pixel smaller at a
// time, never below its 96-DPI height, until every caption fits; at 96 DPI it is the
// platform's font as it is.
HFONT CreateGuiFont(int dpi) {
  HFONT font = CreateDefaultGuiFont(dpi);
  LOGFONTW description = {};
  if (dpi <= kBaseDpi || !font || !GetObjectW(font, sizeof description, &description)) return font;
  const LONG least = MulDiv(std::labs(description.lfHeight), kBaseDpi, dpi);
  while (std::labs(description.lfHeight) > least && !CaptionsFit(font, dpi)) {
    description.lfHeight += description.lfHeight < 0 ? 1 : -1;
    HFONT smaller = CreateFontIndirectW(&description);
    if (!smaller) break;
    DeleteObject(font);
    font = smaller;
  }
  return font;
}

// One pixel above the platform's default, for the list items (index 0) and for the
// selection field (-1) alike, each from its own default, so the closed field and the
// dropped list keep the same proportion to the font. Both defaults are read before
// either is changed: setting one may make the platform recompute the other.
void RaiseSelectorItemHeights(HWND selector) {
  const LRESULT field = SendMessageW(selector, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
  const LRESULT item = SendMessageW(selector, CB_GETITEMHEIGHT, 0, 0);
  if (item > 0) SendMessageW(selector, CB_SETITEMHEIGHT, 0, item + 1);
  if (field > 0) SendMessageW(selector, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field + 1);
}

// Gives a control its font: the selectors theirs (their platform item heights are
// recomputed from it, then raised by one), the table none (it follows the DPI itself),
// every other control the default GUI font.
void GiveFont(HWND control, ControlKind kind, const WindowFonts& fonts, BOOL redraw) {
  if (IsSelector(kind)) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.selector), redraw);
    RaiseSelectorItemHeights(control);
  } else if (kind != ControlKind::kResultTable) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.gui), redraw);
  }
}

struct ControlClass {
  const wchar_t* className;
  DWORD style;
  DWORD extendedStyle;
};

ControlClass ClassFor(const ControlSpec& layout) {
  const DWORD common = WS_CHILD | WS_VISIBLE | (layout.tabStop ? WS_TABSTOP : 0);
  switch (layout.kind) {
    case ControlKind::kLabel:
      return {kLabelClassName,
              common | (layout.align == TextAlign::kRight ? kLabelAlignRight : kLabelAlignLeft), 0};
    case ControlKind::kEdit:
      // No ES_NOHIDESEL: the selection is hidden while the field has no focus.
      return {L"EDIT", common | ES_CENTER | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::kButton:
      return {L"BUTTON", common | BS_PUSHBUTTON | BS_MULTILINE | BS_CENTER | BS_VCENTER, 0};
    case ControlKind::kEditableSelector:
      return {L"COMBOBOX", common | WS_VSCROLL | CBS_DROPDOWN, 0};
    case ControlKind::kListSelector:
      return {L"COMBOBOX", common | WS_VSCROLL | CBS_DROPDOWNLIST, 0};
    case ControlKind::kResultTable:
      return {kResultTableClassName, common | WS_BORDER, 0};
  }
  return {kLabelClassName, common, 0};
}

}  // namespace

WindowFonts CreateWindowFonts(int dpi) { return {CreateGuiFont(dpi), CreateSelectorFont(dpi)}; }

void ReleaseWindowFonts(WindowFonts& fonts) {
  if (fonts.gui) DeleteObject(fonts.gui);
  if (fonts.selector) DeleteObject(fonts.selector);
  fonts = WindowFonts{};
}

HWND CreateLayoutControl(HWND parent, HINSTANCE instance, ControlId id, int windowId, int dpi,
                         const WindowFonts& fonts) {
  const ControlSpec& layout = kMainWindowControls[id];
  const ControlClass kind = ClassFor(layout);
  const PixelRect rect = ScaledControlRect(id, dpi);
  HWND control = CreateWindowExW(
      kind.extendedStyle, kind.className, GbkToWide(layout.text).c_str(), kind.style, rect.left,
      rect.top, rect.width, rect.height, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(windowId)), instance, nullptr);
  if (control == nullptr) return nullptr;
  GiveFont(control, layout.kind, fonts, FALSE);
  if (id == kComboBox1) {
    // Its items and selection belong to the layout. The field is then set to the
    // layout's text, which is empty: it shows nothing until FillToleranceSelector
    // selects item 0 again, though item 0 stays selected.
    for (const char* item : kSamplePointItems) AddSelectorItem(control, item);
    SetSelectorSelection(control, 0);
    SetWindowTextW(control, L"");
  }
  return control;
}

void RelayoutControls(const HWND (&controls)[kControlCount], int dpi, const WindowFonts& fonts) {
  for (int id = 0; id < kControlCount; ++id) {
    GiveFont(controls[id], kMainWindowControls[id].kind, fonts, TRUE);
    const PixelRect rect = ScaledControlRect(static_cast<ControlId>(id), dpi);
    SetWindowPos(controls[id], nullptr, rect.left, rect.top, rect.width, rect.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}
