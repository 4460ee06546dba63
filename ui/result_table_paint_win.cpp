#include "ui/result_table_paint_win.h"

#include <algorithm>
#include <vector>

#include "ui/gbk_win.h"
#include "ui/result_table_selection.h"

namespace {

struct DrawnRow {
  int32_t row;
  int top;
  int height;
};

// What a paint covers: the rows on screen (the fixed rows at the top, then data rows
// from scrollRow on), where they end, and where the columns end.
struct PaintFrame {
  std::vector<DrawnRow> rows;
  int rowsBottom = 0;
  int cellsRight = 0;
};

// How one cell looks.
struct CellLook {
  COLORREF background;
  COLORREF text;
  bool fixed;  // outlined in the grid colour
  bool heavy;  // drawn at weight 600
};

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

PaintFrame FrameOf(const ResultTable& table, const RECT& area) {
  PaintFrame frame;
  int y = area.top;
  auto add = [&](int32_t r) {
    frame.rows.push_back({r, y, table.rowHeights[static_cast<size_t>(r)]});
    y += frame.rows.back().height;
  };
  int32_t fixed = std::min(table.settings.fixedRows, table.rowCount);
  for (int32_t r = 0; r < fixed && y < area.bottom; ++r) add(r);
  for (int32_t r = std::max(table.scrollRow, fixed); r < table.rowCount && y < area.bottom; ++r)
    add(r);
  frame.rowsBottom = y;
  frame.cellsRight = area.left;
  for (int32_t width : table.columnWidths) frame.cellsRight += width;
  return frame;
}

// A selected cell takes the selection colours (the highlight-text colour when the two
// are equal); a header cell the header's, a data cell the cells'. The header cell in
// the focus cell's column is heavy.
CellLook LookOf(const ResultTable& table, int32_t row, int32_t column) {
  CellLook look;
  look.fixed = CellIsFixed(table, row, column);
  look.heavy = look.fixed && table.focusRow >= 0 && column == table.focusColumn;
  if (CellIsSelected(table, row, column)) {
    look.background = Resolve(table.selectionBackground);
    look.text = table.selectionTextColour == table.selectionBackground
                    ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                    : Resolve(table.selectionTextColour);
  } else if (look.fixed) {
    look.background = Resolve(table.headerBackground);
    look.text = Resolve(table.headerTextColour);
  } else {
    look.background = Resolve(table.settings.cellBackground);
    look.text = Resolve(table.settings.cellTextColour);
  }
  return look;
}

// The cell's text in its font and format, inside the margin, clipped to it (no
// DT_NOCLIP), on a transparent background.
void DrawCellText(TableWindow& window, HDC dc, const RECT& rect, const ResultCell& cell,
                  const CellLook& look) {
  if (cell.text.empty()) return;
  if (HFONT font = CellFontHandle(window.fonts, window.table.defaultFont, cell.fontHeight, look.heavy))
    SelectObject(dc, font);
  SetTextColor(dc, look.text);
  GbkToWide(cell.text.data(), cell.text.size(), window.wide);
  RECT inner = {rect.left + window.margin, rect.top + window.margin, rect.right - window.margin,
                rect.bottom - window.margin};
  if (!window.wide.empty() && inner.right > inner.left && inner.bottom > inner.top)
    DrawTextW(dc, window.wide.data(), static_cast<int>(window.wide.size()), &inner,
              DrawFlags(cell.format));
}

void PaintCells(TableWindow& window, HDC dc, const PaintFrame& frame, const RECT& area,
                const RECT& update) {
  const ResultTable& table = window.table;
  const COLORREF grid = Resolve(table.settings.gridColour);
  for (const DrawnRow& drawn : frame.rows) {
    if (drawn.top >= update.bottom || drawn.top + drawn.height <= update.top) continue;
    int x = area.left;
    for (int32_t c = 0; c < table.columnCount; ++c) {
      int width = table.columnWidths[static_cast<size_t>(c)];
      int left = x;
      x += width;
      if (left >= update.right || x <= update.left || width <= 0) continue;
      const CellLook look = LookOf(table, drawn.row, c);
      RECT rect = {left, drawn.top, x, drawn.top + drawn.height};
      Fill(dc, rect.left, rect.top, rect.right, rect.bottom, look.background);
      if (look.fixed) {
        SetDCBrushColor(dc, grid);
        FrameRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
      }
      DrawCellText(window, dc, rect, *CellAt(table, drawn.row, c), look);
    }
  }
}

// One pixel, on the right and bottom edge of every cell.
void PaintGridLines(const ResultTable& table, HDC dc, const PaintFrame& frame, const RECT& area) {
  const COLORREF grid = Resolve(table.settings.gridColour);
  if (table.settings.verticalGridLines) {
    int x = area.left;
    for (int32_t width : table.columnWidths) {
      x += width;
      Fill(dc, x - 1, area.top, x, frame.rowsBottom, grid);
    }
  }
  if (table.settings.horizontalGridLines)
    for (const DrawnRow& drawn : frame.rows) {
      int bottom = drawn.top + drawn.height;
      Fill(dc, area.left, bottom - 1, frame.cellsRight, bottom, grid);
    }
}

}  // namespace

void PaintTable(TableWindow& window, HDC dc, const RECT& area, const RECT& update) {
  const ResultTable& table = window.table;
  const PaintFrame frame = FrameOf(table, area);

  // 1. The background right of the last column and below the last row.
  COLORREF outside = Resolve(table.outsideBackground);
  Fill(dc, frame.cellsRight, area.top, area.right, area.bottom, outside);
  Fill(dc, area.left, frame.rowsBottom, std::min<int>(frame.cellsRight, area.right), area.bottom,
       outside);

  // 2. The cells, header and data rows.
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ originalFont = GetCurrentObject(dc, OBJ_FONT);
  PaintCells(window, dc, frame, area, update);
  SelectObject(dc, originalFont);
  TrimCellFonts(window.fonts);

  // 3. The grid lines.
  PaintGridLines(table, dc, frame, area);
}

void OnTablePaint(TableWindow& window) {
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
  HDC buffer = CreateCompatibleDC(dc);
  HBITMAP bitmap = buffer ? CreateCompatibleBitmap(dc, client.right, client.bottom) : nullptr;
  if (bitmap) {
    HGDIOBJ original = SelectObject(buffer, bitmap);
    PaintTable(window, buffer, client, paint.rcPaint);
    BitBlt(dc, paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right - paint.rcPaint.left,
           paint.rcPaint.bottom - paint.rcPaint.top, buffer, paint.rcPaint.left,
           paint.rcPaint.top, SRCCOPY);
    SelectObject(buffer, original);
    DeleteObject(bitmap);
  } else {
    PaintTable(window, dc, client, paint.rcPaint);
  }
  if (buffer) DeleteDC(buffer);
  EndPaint(window.handle, &paint);
}
