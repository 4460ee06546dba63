// The result table's state and operations, without any Windows call: cells, fonts,
// sizes, focus and selection, the operations the program calls, the user's actions as
// state changes and the text the copy command offers. The window that shows it lives
// in result_table_win.h.
//
// Rows and columns count from 0; row 0 is the fixed header row, data rows follow.
// Texts are GBK bytes; a null text counts as empty. Nothing here throws or allocates
// outside the standard containers.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// A complete platform font description, field for field a LOGFONTW, without padding so
// that two descriptions compare as bytes.
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
static_assert(sizeof(FontDescription) == 92, "FontDescription must have no padding");

// A cell's text. Up to 14 bytes live inside the 16-byte record (every text the program
// writes is that short: "CAN_BS1_16tq", "83.3%", "实际波特率"); longer ones go to the
// heap. Always zero-terminated.
class CellText {
 public:
  CellText() { inline_[0] = 0; inline_[kTag] = 0; }
  CellText(const CellText& other) : CellText() { assign(other.data(), other.size()); }
  CellText(CellText&& other) noexcept;
  CellText& operator=(const CellText& other);
  CellText& operator=(CellText&& other) noexcept;
  ~CellText() { clear(); }

  const char* data() const { return OnHeap() ? heap_.bytes : inline_; }
  size_t size() const { return OnHeap() ? heap_.size : static_cast<uint8_t>(inline_[kTag]); }
  bool empty() const { return size() == 0; }
  std::string_view view() const { return {data(), size()}; }
  // Replaces the text with size bytes from bytes (which may not overlap it).
  void assign(const char* bytes, size_t size);
  void clear();

 private:
  static constexpr size_t kTag = 15;               // inline length, or kHeapTag
  static constexpr size_t kInlineCapacity = 14;    // bytes before the terminator
  static constexpr char kHeapTag = static_cast<char>(0xFF);
  bool OnHeap() const { return inline_[kTag] == kHeapTag; }
  struct Heap {
    char* bytes;
    uint32_t size;
  };
  union {
    char inline_[16];
    Heap heap_;
  };
};
static_assert(sizeof(CellText) == 16, "CellText must stay 16 bytes");

// One cell. Its font is an index into the table's font pool: cells with equal fonts
// share one description, yet each cell's font changes on its own. Whether a cell is
// fixed (row < fixedRows) or selected (inside the selection) follows from the table.
struct ResultCell {
  CellText text;
  CellFormat format;
  uint16_t font = 0;
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
  bool editable = false;
  bool rowResizing = false;
  bool columnResizing = false;
  bool selectionEnabled = true;
  bool wholeRowSelection = true;
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

  // Fonts: pool[0] is the default font. fontGeneration changes whenever existing
  // indexes are renumbered, so a cache of platform fonts by index knows to rebuild.
  FontDescription defaultFont;
  std::vector<FontDescription> fontPool;
  std::map<std::string, uint16_t> fontIndex;  // bytes of a description -> pool index
  uint32_t fontGeneration = 0;

  int32_t focusRow = -1;  // -1: no focus cell
  int32_t focusColumn = -1;
  CellRange selection;
  int32_t anchorRow = -1;  // where a Shift-extended selection starts

  int32_t outerWidth = 0;  // the control's width in pixels, border included
  int32_t scrollRow = 1;   // first data row shown under the fixed rows

  ResultTableObserver observer;
};

// ---- Creation and the operations the program calls ----

// A table as created: one header row of six empty cells 60 pixels wide, 24 high,
// default font `font`, outer width `width`.
void InitResultTable(ResultTable& table, const FontDescription& font, int32_t width);

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

// The program's set-up: RowCount 1, ResetTable, every column trunc(Width / 6.0 - 4.0)
// wide, the six titles in row 0 at font height 18, centred.
void PrepareResultTable(ResultTable& table);

// ---- Reading cells ----

// The cell, or null when (row, column) is not a cell of the table.
const ResultCell* CellAt(const ResultTable& table, int32_t row, int32_t column);
const FontDescription& CellFont(const ResultTable& table, const ResultCell& cell);
bool CellIsFixed(const ResultTable& table, int32_t row, int32_t column);
bool CellIsSelected(const ResultTable& table, int32_t row, int32_t column);

// ---- The user's actions ----
//
// Selection is by whole rows. A click on a data cell makes it the focus cell and selects
// its row; Shift+click, or dragging with the button held, selects every row from the
// anchor row (the last row clicked without Shift) to the row under the pointer. The
// movement keys move the focus cell and the selection follows: it becomes the focus row,
// or with Shift the rows from the anchor to the focus row.

// Returns true when focus or selection changed. A click on a header cell clears both;
// (row, column) outside the cells changes nothing.
bool ClickCell(ResultTable& table, int32_t row, int32_t column, bool extend);
// The pointer moved to (row, column) with the button held after a click on a data cell.
bool DragToCell(ResultTable& table, int32_t row, int32_t column);

enum class TableKey : uint8_t {
  kLeft, kRight, kUp, kDown, kPageUp, kPageDown, kHome, kEnd,
  kTab, kEnter, kInsert, kDelete, kF2, kLetterA, kLetterC, kLetterV, kLetterX, kOther,
};
struct KeyOutcome {
  bool changed = false;  // focus or selection changed
  bool copy = false;     // the caller should copy the selection (Ctrl+C, Ctrl+Insert)
};
// Arrows move the focus by one cell, Page Up/Down by pageRows rows (at least 1), Home/End
// to the first/last data row (Ctrl: and the first/last column); without a focus cell a
// move starts at the first data row, column 0. Ctrl+A selects every data cell. Every other
// key, Tab, Enter, Ctrl+X, Ctrl+V, Shift+Insert and F2 included, changes nothing.
KeyOutcome PressTableKey(ResultTable& table, TableKey key, bool shift, bool ctrl, int32_t pageRows);
// Selects every data cell; false when there are no data rows or columns.
bool SelectAll(ResultTable& table);

// The copy text: the smallest block holding the selection, columns separated by a tab
// (an unselected cell gives no text but keeps its tab), rows by CR LF, nothing after the
// last row. False, and *out untouched, when nothing is selected.
bool CopyText(const ResultTable& table, std::string* out);

// ---- Layout for painting and hit testing (client pixels, the header at y = 0) ----

// Rows that fit entirely below the fixed rows from scrollRow on, at least 1.
int32_t FullyVisibleRows(const ResultTable& table, int32_t clientHeight);
// The largest scrollRow that still fills the client area (the last row at the bottom).
int32_t MaxScrollRow(const ResultTable& table, int32_t clientHeight);
// Clamps scrollRow to [first data row, MaxScrollRow]; true when it changed.
bool ClampScrollRow(ResultTable& table, int32_t clientHeight);
// Scrolls so that `row` is fully visible when it is a data row; true when scrollRow changed.
bool ScrollToRow(ResultTable& table, int32_t row, int32_t clientHeight);

struct CellHit {
  int32_t row = -1;  // -1 when the point is beyond the cells
  int32_t column = -1;
};
CellHit HitTestCell(const ResultTable& table, int32_t x, int32_t y);
