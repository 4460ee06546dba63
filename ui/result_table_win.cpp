#include "ui/result_table_win.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

constexpr UINT kGbkCodePage = 936;
constexpr int kHeavyWeight = 600;  // header cells in the focus cell's column

// The window's own record, reached through the first extra window word.
struct TableWindow {
  HWND handle = nullptr;
  ResultTable table;
  // Platform fonts by font-pool index, made when first drawn; heavy ones at weight 600.
  uint32_t fontGeneration = 0;
  std::vector<HFONT> fonts;
  std::vector<HFONT> heavyFonts;
  int margin = 3;              // 0.9 mm at the screen's horizontal resolution
  bool repaintPending = false;  // an invalidation is queued and not yet painted
  bool layoutStale = true;      // scroll position and scroll bar need checking
  bool dragging = false;        // the button went down on a data cell and is held
  int wheelRemainder = 0;
  std::wstring wide;  // conversion buffer for the cell being drawn
};

TableWindow* WindowOf(HWND handle) {
  return reinterpret_cast<TableWindow*>(GetWindowLongPtrW(handle, 0));
}

FontDescription DescriptionOf(const LOGFONTW& font) {
  FontDescription d;
  d.height = font.lfHeight;
  d.width = font.lfWidth;
  d.escapement = font.lfEscapement;
  d.orientation = font.lfOrientation;
  d.weight = font.lfWeight;
  d.italic = font.lfItalic;
  d.underline = font.lfUnderline;
  d.strikeOut = font.lfStrikeOut;
  d.charSet = font.lfCharSet;
  d.outPrecision = font.lfOutPrecision;
  d.clipPrecision = font.lfClipPrecision;
  d.quality = font.lfQuality;
  d.pitchAndFamily = font.lfPitchAndFamily;
  static_assert(sizeof d.faceName == sizeof font.lfFaceName, "face names differ in size");
  std::memcpy(d.faceName, font.lfFaceName, sizeof d.faceName);
  d.faceName[31] = 0;
  return d;
}

LOGFONTW LogFontOf(const FontDescription& d) {
  LOGFONTW font = {};
  font.lfHeight = d.height;
  font.lfWidth = d.width;
  font.lfEscapement = d.escapement;
  font.lfOrientation = d.orientation;
  font.lfWeight = d.weight;
  font.lfItalic = d.italic;
  font.lfUnderline = d.underline;
  font.lfStrikeOut = d.strikeOut;
  font.lfCharSet = d.charSet;
  font.lfOutPrecision = d.outPrecision;
  font.lfClipPrecision = d.clipPrecision;
  font.lfQuality = d.quality;
  font.lfPitchAndFamily = d.pitchAndFamily;
  std::memcpy(font.lfFaceName, d.faceName, sizeof font.lfFaceName);
  return font;
}

// The platform's standard message font; the default GUI font when it cannot be read.
FontDescription MessageFont() {
  NONCLIENTMETRICSW metrics = {};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
    return DescriptionOf(metrics.lfMessageFont);
  // Systems before Vista know the structure without its last field.
  metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
    return DescriptionOf(metrics.lfMessageFont);
  LOGFONTW fallback = {};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof fallback, &fallback);
  return DescriptionOf(fallback);
}

// 0.9 mm in pixels at the screen's horizontal resolution, truncated: 3 at 96 dpi.
int CellMargin() {
  HDC screen = GetDC(nullptr);
  int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return static_cast<int>(0.9 * dpi / 25.4);
}

void DeleteFonts(TableWindow& window) {
  for (HFONT font : window.fonts)
    if (font) DeleteObject(font);
  for (HFONT font : window.heavyFonts)
    if (font) DeleteObject(font);
  window.fonts.clear();
  window.heavyFonts.clear();
}

HFONT FontFor(TableWindow& window, uint16_t index, bool heavy) {
  const ResultTable& table = window.table;
  if (window.fontGeneration != table.fontGeneration) {
    DeleteFonts(window);  // indexes were renumbered
    window.fontGeneration = table.fontGeneration;
  }
  if (window.fonts.size() < table.fontPool.size()) {
    window.fonts.resize(table.fontPool.size(), nullptr);
    window.heavyFonts.resize(table.fontPool.size(), nullptr);
  }
  HFONT& slot = heavy ? window.heavyFonts[index] : window.fonts[index];
  if (!slot) {
    LOGFONTW font = LogFontOf(table.fontPool[index]);
    if (heavy) font.lfWeight = kHeavyWeight;
    slot = CreateFontIndirectW(&font);
  }
  return slot;
}

void RequestRepaint(TableWindow& window, bool layoutChanged) {
  if (layoutChanged) window.layoutStale = true;
  if (window.repaintPending) return;
  // One invalidation until the next WM_PAINT: a fill of 131 072 rows repaints once.
  window.repaintPending = true;
  InvalidateRect(window.handle, nullptr, FALSE);
}

void OnTableChanged(void* context, bool layoutChanged) {
  RequestRepaint(*static_cast<TableWindow*>(context), layoutChanged);
}

int ClientHeight(const TableWindow& window) {
  RECT client;
  GetClientRect(window.handle, &client);
  return client.bottom - client.top;
}

int FixedHeight(const ResultTable& table) {
  int height = 0;
  for (int32_t r = 0; r < std::min(table.settings.fixedRows, table.rowCount); ++r)
    height += table.rowHeights[static_cast<size_t>(r)];
  return height;
}

// Brings the scroll position into range and the scroll bar up to date; done lazily,
// before painting and before input, never once per appended row.
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
    SCROLLINFO shown = {};
    shown.cbSize = sizeof shown;
    shown.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    if (GetScrollInfo(window.handle, SB_VERT, &shown) && shown.nMin == info.nMin &&
        shown.nMax == info.nMax && shown.nPage == info.nPage && shown.nPos == info.nPos)
      continue;
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

COLORREF Resolve(uint32_t colour) {
  return colour == kWindowTextColour ? GetSysColor(COLOR_WINDOWTEXT) : static_cast<COLORREF>(colour);
}

void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
  if (right <= left || bottom <= top) return;
  RECT rect = {left, top, right, bottom};
  SetDCBrushColor(dc, colour);
  FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

UINT DrawFlags(const CellFormat& format) {
  UINT flags = format.alignment == CellAlignment::kCentre  ? DT_CENTER
               : format.alignment == CellAlignment::kRight ? DT_RIGHT
                                                           : DT_LEFT;
  if (format.wordWrap) flags |= DT_WORDBREAK;
  else flags |= DT_SINGLELINE | (format.verticalCentre ? DT_VCENTER : 0);
  if (format.noPrefix) flags |= DT_NOPREFIX;
  return flags;
}

struct DrawnRow {
  int32_t row;
  int top;
  int height;
};

// Paints `area` (the client rectangle); only rows and columns that meet `update` are
// drawn, and only the rows that fit in the area are looked at, whatever the row count.
void Paint(TableWindow& window, HDC dc, const RECT& area, const RECT& update) {
  const ResultTable& table = window.table;

  // The rows on screen: the fixed rows at the top, then data rows from scrollRow on.
  std::vector<DrawnRow> rows;
  int y = area.top;
  int32_t fixed = std::min(table.settings.fixedRows, table.rowCount);
  for (int32_t r = 0; r < fixed && y < area.bottom; ++r) {
    rows.push_back({r, y, table.rowHeights[static_cast<size_t>(r)]});
    y += rows.back().height;
  }
  for (int32_t r = std::max(table.scrollRow, fixed); r < table.rowCount && y < area.bottom; ++r) {
    rows.push_back({r, y, table.rowHeights[static_cast<size_t>(r)]});
    y += rows.back().height;
  }
  const int rowsBottom = y;
  int cellsRight = area.left;
  for (int32_t width : table.columnWidths) cellsRight += width;

  // 1. The background right of the last column and below the last row.
  COLORREF outside = Resolve(table.outsideBackground);
  Fill(dc, cellsRight, area.top, area.right, area.bottom, outside);
  Fill(dc, area.left, rowsBottom, std::min<int>(cellsRight, area.right), area.bottom, outside);

  // 2. The cells.
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ originalFont = GetCurrentObject(dc, OBJ_FONT);
  const COLORREF grid = Resolve(table.settings.gridColour);
  for (const DrawnRow& drawn : rows) {
    if (drawn.top >= update.bottom || drawn.top + drawn.height <= update.top) continue;
    int x = area.left;
    for (int32_t c = 0; c < table.columnCount; ++c) {
      int width = table.columnWidths[static_cast<size_t>(c)];
      int left = x;
      x += width;
      if (left >= update.right || x <= update.left || width <= 0) continue;
      const ResultCell& cell = *CellAt(table, drawn.row, c);
      const bool fixedCell = CellIsFixed(table, drawn.row, c);
      COLORREF background;
      COLORREF text;
      if (CellIsSelected(table, drawn.row, c)) {
        background = Resolve(table.selectionBackground);
        text = table.selectionTextColour == table.selectionBackground
                   ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                   : Resolve(table.selectionTextColour);
      } else if (fixedCell) {
        background = Resolve(table.headerBackground);
        text = Resolve(table.headerTextColour);
      } else {
        background = Resolve(table.settings.cellBackground);
        text = Resolve(table.settings.cellTextColour);
      }
      RECT rect = {left, drawn.top, x, drawn.top + drawn.height};
      Fill(dc, rect.left, rect.top, rect.right, rect.bottom, background);
      if (fixedCell) {
        SetDCBrushColor(dc, grid);
        FrameRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
      }
      if (cell.text.empty()) continue;
      const bool heavy = fixedCell && table.focusRow >= 0 && c == table.focusColumn;
      if (HFONT font = FontFor(window, cell.font, heavy)) SelectObject(dc, font);
      SetTextColor(dc, text);
      int length = MultiByteToWideChar(kGbkCodePage, 0, cell.text.data(),
                                       static_cast<int>(cell.text.size()), nullptr, 0);
      window.wide.resize(static_cast<size_t>(std::max(length, 0)));
      if (length > 0)
        MultiByteToWideChar(kGbkCodePage, 0, cell.text.data(), static_cast<int>(cell.text.size()),
                            &window.wide[0], length);
      RECT inner = {rect.left + window.margin, rect.top + window.margin,
                    rect.right - window.margin, rect.bottom - window.margin};
      // Clipped to the inner rectangle (no DT_NOCLIP), on a transparent background.
      if (length > 0 && inner.right > inner.left && inner.bottom > inner.top)
        DrawTextW(dc, window.wide.data(), length, &inner, DrawFlags(cell.format));
    }
  }
  SelectObject(dc, originalFont);

  // 3. Grid lines, one pixel, on the right and bottom edge of every cell.
  if (table.settings.verticalGridLines) {
    int x = area.left;
    for (int32_t width : table.columnWidths) {
      x += width;
      Fill(dc, x - 1, area.top, x, rowsBottom, grid);
    }
  }
  if (table.settings.horizontalGridLines)
    for (const DrawnRow& drawn : rows) {
      int bottom = drawn.top + drawn.height;
      Fill(dc, area.left, bottom - 1, cellsRight, bottom, grid);
    }
}

void OnPaint(TableWindow& window) {
  // Bringing the scroll bar up to date may resize the client area, and WM_SIZE asks for
  // a repaint; BeginPaint then validates that request too. Only after it may a change
  // invalidate again, or the flag would stay set with nothing queued and the table
  // would never repaint.
  SyncLayout(window);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window.handle, &paint);
  window.repaintPending = false;
  if (!dc) return;
  RECT client;
  GetClientRect(window.handle, &client);
  // Drawn off screen first so that rows never flicker while scrolling.
  HDC buffer = CreateCompatibleDC(dc);
  HBITMAP bitmap = buffer ? CreateCompatibleBitmap(dc, client.right, client.bottom) : nullptr;
  if (bitmap) {
    HGDIOBJ original = SelectObject(buffer, bitmap);
    Paint(window, buffer, client, paint.rcPaint);
    BitBlt(dc, paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right - paint.rcPaint.left,
           paint.rcPaint.bottom - paint.rcPaint.top, buffer, paint.rcPaint.left,
           paint.rcPaint.top, SRCCOPY);
    SelectObject(buffer, original);
    DeleteObject(bitmap);
  } else {
    Paint(window, dc, client, paint.rcPaint);
  }
  if (buffer) DeleteDC(buffer);
  EndPaint(window.handle, &paint);
}

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

void OnKeyDown(TableWindow& window, WPARAM virtualKey) {
  SyncLayout(window);
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  ResultTable& table = window.table;
  int32_t page = FullyVisibleRows(table, ClientHeight(window));
  KeyOutcome outcome = PressTableKey(table, KeyFor(virtualKey), shift, ctrl, page);
  if (outcome.changed && table.focusRow >= 0) ScrollRowIntoView(window, table.focusRow);
  if (outcome.copy) CopySelectionToClipboard(window.handle);
}

void OnLButtonDown(TableWindow& window, int x, int y, WPARAM keys) {
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

// With the button held the selection follows the pointer; above the data rows or below
// the window it scrolls one row at a time.
void OnMouseMove(TableWindow& window, int x, int y) {
  if (!window.dragging) return;
  ResultTable& table = window.table;
  if (table.columnCount <= 0) return;
  SyncLayout(window);
  int cellsRight = 0;
  for (int32_t width : table.columnWidths) cellsRight += width;
  x = std::clamp(x, 0, std::max(0, cellsRight - 1));
  int height = ClientHeight(window);
  int32_t row;
  if (y < FixedHeight(table)) {
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

void OnVScroll(TableWindow& window, int request) {
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

void OnMouseWheel(TableWindow& window, int delta) {
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

bool OnCreate(HWND handle, const CREATESTRUCTW& create) {
  TableWindow* window = new (std::nothrow) TableWindow;
  if (!window) return false;
  window->handle = handle;
  window->margin = CellMargin();
  SetWindowLongPtrW(handle, 0, reinterpret_cast<LONG_PTR>(window));
  InitResultTable(window->table, MessageFont(), create.cx);
  window->table.observer.changed = OnTableChanged;
  window->table.observer.context = window;
  return true;
}

void OnDestroy(HWND handle) {
  TableWindow* window = WindowOf(handle);
  if (!window) return;
  SetWindowLongPtrW(handle, 0, 0);
  DeleteFonts(*window);
  delete window;
}

LRESULT CALLBACK ResultTableProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    if (!OnCreate(handle, *reinterpret_cast<CREATESTRUCTW*>(lParam))) return FALSE;
    return DefWindowProcW(handle, message, wParam, lParam);
  }
  TableWindow* window = WindowOf(handle);
  if (!window) return DefWindowProcW(handle, message, wParam, lParam);
  switch (message) {
    case WM_NCDESTROY:
      OnDestroy(handle);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTTAB | DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_PAINT:
      OnPaint(*window);
      return 0;
    case WM_PRINTCLIENT: {
      RECT client;
      GetClientRect(handle, &client);
      PaintResultTable(handle, reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // Paint covers every pixel
    case WM_SIZE: {
      RECT outer;
      GetWindowRect(handle, &outer);
      window->table.outerWidth = outer.right - outer.left;
      RequestRepaint(*window, true);
      return 0;
    }
    case WM_KEYDOWN:
      OnKeyDown(*window, wParam);
      return 0;
    case WM_CHAR:
      return 0;  // the cells are not editable: typing does nothing
    case WM_LBUTTONDOWN:
      OnLButtonDown(*window, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), wParam);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(*window, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONUP:
      if (window->dragging) ReleaseCapture();
      window->dragging = false;
      return 0;
    case WM_CAPTURECHANGED:
      window->dragging = false;
      return 0;
    case WM_VSCROLL:
      OnVScroll(*window, LOWORD(wParam));
      return 0;
    case WM_MOUSEWHEEL:
      OnMouseWheel(*window, GET_WHEEL_DELTA_WPARAM(wParam));
      return 0;
    default:
      return DefWindowProcW(handle, message, wParam, lParam);
  }
}

// Global memory holding `size` bytes copied from `data`; null when it cannot be had.
HGLOBAL GlobalCopy(const void* data, size_t size) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!memory) return nullptr;
  void* target = GlobalLock(memory);
  if (!target) {
    GlobalFree(memory);
    return nullptr;
  }
  std::memcpy(target, data, size);
  GlobalUnlock(memory);
  return memory;
}

}  // namespace

bool RegisterResultTableClass(HINSTANCE instance) {
  WNDCLASSEXW windowClass = {};
  if (GetClassInfoExW(instance, kResultTableClassName, &windowClass)) return true;
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = ResultTableProc;
  windowClass.cbWndExtra = sizeof(TableWindow*);
  windowClass.hInstance = instance;
  // The arrow everywhere: borders cannot be dragged, so the pointer never changes.
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kResultTableClassName;
  return RegisterClassExW(&windowClass) != 0;
}

ResultTable* ResultTableOf(HWND table) {
  wchar_t name[64];
  if (!table || !GetClassNameW(table, name, 64) || std::wcscmp(name, kResultTableClassName) != 0)
    return nullptr;
  TableWindow* window = WindowOf(table);
  return window ? &window->table : nullptr;
}

void PrepareResultTable(HWND table) {
  if (ResultTable* state = ResultTableOf(table)) PrepareResultTable(*state);
}

void PaintResultTable(HWND table, HDC dc, const RECT& area) {
  if (!ResultTableOf(table)) return;
  TableWindow& window = *WindowOf(table);
  SyncLayout(window);
  Paint(window, dc, area, area);
}

bool CopySelectionToClipboard(HWND table) {
  const ResultTable* state = ResultTableOf(table);
  std::string text;
  if (!state || !CopyText(*state, &text)) return false;

  // Both forms are made before the clipboard is touched, so a failure leaves it as it was.
  HGLOBAL bytes = GlobalCopy(text.c_str(), text.size() + 1);
  if (!bytes) return false;
  int length = text.empty() ? 0
                            : MultiByteToWideChar(kGbkCodePage, 0, text.data(),
                                                  static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(std::max(length, 0)), L'\0');
  if (length > 0)
    MultiByteToWideChar(kGbkCodePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
  HGLOBAL units = GlobalCopy(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  if (!units) {
    GlobalFree(bytes);
    return false;
  }
  if (!OpenClipboard(table)) {
    GlobalFree(bytes);
    GlobalFree(units);
    return false;
  }
  EmptyClipboard();
  // Once SetClipboardData succeeds the memory is the system's; a refused handle is ours.
  bool ok = true;
  if (!SetClipboardData(CF_TEXT, bytes)) {
    GlobalFree(bytes);
    ok = false;
  }
  if (!SetClipboardData(CF_UNICODETEXT, units)) {
    GlobalFree(units);
    ok = false;
  }
  CloseClipboard();
  return ok;
}
