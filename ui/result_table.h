// The result table's cells and fonts, without any Windows call: the table record and
// the operations the program calls (RowCount, SetColumnWidth, Width, ResetTable,
// InsertRow, SetCell, SetFontHeight, SetAlignment, PrepareResultTable). Selection and
// keys, scrolling and the copy text have headers of their own beside this one; the
// window that shows the table is result_table_win.h.
//
// Rows and columns count from 0; row 0 is the fixed header row, data rows follow.
// Texts are GBK bytes; a null text counts as empty. Nothing here throws or allocates
// outside the standard containers.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "ui/cell_text.h"

// 0x00BBGGRR, the layout of a Windows COLORREF.
constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }
// Stands for the platform's window-text colour; the window resolves it when painting.
constexpr uint32_t kWindowTextColour = 0xFF000000u;

// More rows than this are refused (RowCount ignores the write, InsertRow returns
// false): the search yields at most 131 072 rows, and a runaway count must not take
// all memory.
constexpr int32_t kMaxTableRows = 1 << 24;

// The minimum column width: the grid-line pen width (0) plus 6 pixels.
constexpr int32_t kMinColumnWidth = 6;

enum class CellAlignment : uint8_t { kLeft, kCentre, kRight };

struct CellFormat {
  CellAlignment alignment = CellAlignment::kLeft;
  bool verticalCentre = true;
  bool wordWrap = false;
  bool noPrefix = true;  // "&" is an ordinary character, never an accelerator mark
};

// A complete platform font description, field for field a LOGFONTW.
struct FontDescription {
  int32_t height = 0;  // > 0: character cell height incl. internal leading; < 0: character height
  int32_t width = 0;
  int32_t escapement = 0;
  int32_t orientation = 0;
  int32_t weight = 400;
  uint8_t italic = 0;
  uint8_t underline = 0;
  uint8_t strikeOut = 0;
  uint8_t charSet = 1;  // DEFAULT_CHARSET
  uint8_t outPrecision = 0;
  uint8_t clipPrecision = 0;
  uint8_t quality = 0;
  uint8_t pitchAndFamily = 0;
  char16_t faceName[32] = {};
};

// One cell. SetFontHeight is the only change a cell's font ever sees, so a cell's font
// is the table's default font at the cell's own height. Whether a cell is fixed
// (row < fixedRows) or selected (inside the selection) follows from the table.
struct ResultCell {
  CellText text;
  CellFormat format;
  int32_t fontHeight = 0;
};

// The settings ResetTable restores.
struct ResultTableSettings {
  int32_t rowHeight = 24;    // given to new rows
  int32_t columnWidth = 60;  // given to new columns
  int32_t fixedRows = 1;
  int32_t fixedColumns = 0;
  bool horizontalGridLines = true;
  bool verticalGridLines = true;
  uint32_t gridColour = Rgb(192, 192, 192);
  int32_t gridPenWidth = 0;  // drawn one pixel wide
  uint32_t cellBackground = Rgb(255, 255, 255);
  uint32_t cellTextColour = Rgb(0, 0, 0);
};

// A block of cells, both corners included. No selection: firstRow < 0.
struct CellRange {
  int32_t firstRow = -1;
  int32_t firstColumn = -1;
  int32_t lastRow = -1;
  int32_t lastColumn = -1;
};

// Told after every change that needs a repaint; layoutChanged when rows, columns or
// their sizes changed (the scroll range may differ). May be called very often: the
// window only marks itself invalid.
struct ResultTableObserver {
  void (*changed)(void* context, bool layoutChanged) = nullptr;
  void* context = nullptr;
};

struct ResultTable {
  int32_t rowCount = 1;
  int32_t columnCount = 6;
  std::deque<ResultCell> cells;        // row-major, rowCount * columnCount
  std::vector<int32_t> rowHeights;     // one per row
  std::vector<int32_t> columnWidths;   // one per column

  ResultTableSettings settings;    // in force
  ResultTableSettings remembered;  // what ResetTable restores
  uint32_t headerBackground = Rgb(128, 128, 128);
  uint32_t headerTextColour = kWindowTextColour;
  uint32_t selectionBackground = Rgb(255, 80, 128);
  uint32_t selectionTextColour = Rgb(0, 0, 0);
  uint32_t outsideBackground = Rgb(255, 255, 255);  // right of the last column, below the last row
  FontDescription defaultFont;  // every new cell's font

  int32_t focusRow = -1;  // -1: no focus cell
  int32_t focusColumn = -1;
  CellRange selection;
  int32_t anchorRow = -1;  // where a Shift-extended selection starts

  int32_t outerWidth = 0;  // the control's width in pixels, border included
  int32_t dpi = 96;        // the window's: row height and header font are scaled to it
  int32_t scrollRow = 1;   // first data row shown under the fixed rows

  ResultTableObserver observer;
};

// ---- Creation and the operations the program calls ----

// A table as created: one header row of six empty cells 60 pixels wide, 24 high (scaled
// to dpi), default font `font`, outer width `width`.
void InitResultTable(ResultTable& table, const FontDescription& font, int32_t width,
                     int32_t dpi = 96);

int32_t RowCount(const ResultTable& table);
// n <= 0 (or above kMaxTableRows) is ignored. Otherwise exactly n rows: deletes rows from
// n on, appends empty ones; lowers the fixed-row count to n; clears a focus in a deleted
// row and cuts the selection; sets every row's height to the row-height setting.
void SetRowCount(ResultTable& table, int32_t n);
// Every column gets width w (raised to kMinColumnWidth), and ResetTable will give new
// columns that width. A negative w changes nothing and is not remembered.
void SetColumnWidth(ResultTable& table, int32_t w);
// The control's outer width in pixels, border included.
int32_t Width(const ResultTable& table);
// Empties and rebuilds the table with its row and column counts, all cells empty in the
// default format and font, the remembered settings, no selection and no focus.
void ResetTable(ResultTable& table);
// Clears selection and focus; inserts an empty row before `position` when it lies within
// the data rows, else appends one. Column 0 takes `title`. Cells copy the format of the
// cell above. False only when the table is full (kMaxTableRows).
bool InsertRow(ResultTable& table, const char* title, int32_t position);

enum class CellValueType : uint8_t { kText, kFloat, kInteger, kDouble };
struct CellValue {
  CellValueType type = CellValueType::kText;
  const char* text = nullptr;
  float single = 0;
  int32_t integer = 0;
  double wide = 0;
};
inline CellValue TextValue(const char* text) { CellValue v; v.text = text; return v; }
inline CellValue FloatValue(float x) { CellValue v; v.type = CellValueType::kFloat; v.single = x; return v; }

// Kind 1 (plain content) only: a text is written as it is, a float by the float rule
// (500, 333.333, 1e+006). Any other kind or value type, or (row, column) not a cell:
// false and nothing changes. Format, font and state are kept.
bool SetCell(ResultTable& table, int32_t row, int32_t column, int32_t kind, const CellValue& value);
inline bool SetCell(ResultTable& table, int32_t row, int32_t column, int32_t kind, const char* text) {
  return SetCell(table, row, column, kind, TextValue(text));
}
inline bool SetCell(ResultTable& table, int32_t row, int32_t column, int32_t kind, float value) {
  return SetCell(table, row, column, kind, FloatValue(value));
}

// Both work on the inclusive block (firstRow, firstColumn)..(lastRow, lastColumn); an
// omitted last index means the first, one beyond the table is lowered to its last row or
// column. A negative index, reversed bounds or a corner outside: false, nothing changes.
// SetFontHeight replaces only the height of each cell's font.
bool SetFontHeight(ResultTable& table, int32_t firstRow, int32_t firstColumn,
                   std::optional<int32_t> lastRow, std::optional<int32_t> lastColumn,
                   int32_t height);
// 2 centres, 3 right-aligns, anything else left-aligns; vertically centred, "&" plain,
// word wrap kept.
bool SetAlignment(ResultTable& table, int32_t firstRow, int32_t firstColumn,
                  std::optional<int32_t> lastRow, std::optional<int32_t> lastColumn,
                  int32_t alignment);

// The program's set-up: RowCount 1, ResetTable, FitColumnsToWidth, the six titles in
// row 0 at font height 18 (scaled to the table's DPI), centred.
void PrepareResultTable(ResultTable& table);
// ColumnWidth = trunc(Width / 6.0 - 4.0): the six columns share the table's width.
void FitColumnsToWidth(ResultTable& table);

// The window moved to another DPI: the default font becomes `font`; a cell at the old
// default font's height takes the new one; every other font height, each row's height
// and the row-height setting are rescaled (RescaleForDpi). Rows, texts, selection,
// focus and scroll position stay. The columns follow the window's new width
// (FitColumnsToWidth, once the width is known).
void RescaleResultTable(ResultTable& table, const FontDescription& font, int32_t dpi);

// ---- Reading cells ----

// The cell, or null when (row, column) is not a cell of the table.
const ResultCell* CellAt(const ResultTable& table, int32_t row, int32_t column);
// The cell's complete font: the default font at the cell's height.
FontDescription CellFont(const ResultTable& table, const ResultCell& cell);
bool CellIsFixed(const ResultTable& table, int32_t row, int32_t column);

// ---- Shared by the table's parts ----

inline int32_t FirstDataRow(const ResultTable& table) { return table.settings.fixedRows; }
inline int32_t LastRow(const ResultTable& table) { return table.rowCount - 1; }
inline bool HasDataRows(const ResultTable& table) {
  return table.rowCount > table.settings.fixedRows && table.columnCount > 0;
}
// Tells the observer (the window) that the table must be repainted.
inline void NotifyChanged(ResultTable& table, bool layoutChanged) {
  if (table.observer.changed) table.observer.changed(table.observer.context, layoutChanged);
}
inline void ClearSelectionAndFocus(ResultTable& table) {
  table.selection = CellRange{};
  table.focusRow = -1;
  table.focusColumn = -1;
  table.anchorRow = -1;
}
