#include "ui/result_table.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "calc/text.h"
#include "calc/candidate_cells.h"

namespace {

// A font index is 16 bits wide.
constexpr size_t kMaxFonts = 65536;

size_t CellIndex(const ResultTable& table, int32_t row, int32_t column) {
  return static_cast<size_t>(row) * static_cast<size_t>(table.columnCount) +
         static_cast<size_t>(column);
}

ResultCell& CellRef(ResultTable& table, int32_t row, int32_t column) {
  return table.cells[CellIndex(table, row, column)];
}

void Changed(ResultTable& table, bool layoutChanged) {
  if (table.observer.changed) table.observer.changed(table.observer.context, layoutChanged);
}

std::string FontKey(const FontDescription& font) {
  return std::string(reinterpret_cast<const char*>(&font), sizeof font);
}

// The pool's index of `font`, added when new. The caller makes sure there is room.
uint16_t InternFont(ResultTable& table, const FontDescription& font) {
  std::string key = FontKey(font);
  auto found = table.fontIndex.find(key);
  if (found != table.fontIndex.end()) return found->second;
  uint16_t index = static_cast<uint16_t>(table.fontPool.size());
  table.fontPool.push_back(font);
  table.fontIndex.emplace(std::move(key), index);
  return index;
}

void ResetFonts(ResultTable& table) {
  table.fontPool.clear();
  table.fontIndex.clear();
  InternFont(table, table.defaultFont);
  ++table.fontGeneration;
}

// Drops the descriptions no cell uses any more and renumbers the rest, keeping their
// order; the default font stays at index 0.
void CompactFonts(ResultTable& table) {
  std::vector<int32_t> renumber(table.fontPool.size(), -1);
  renumber[0] = 0;
  for (const ResultCell& cell : table.cells) renumber[cell.font] = 0;
  std::vector<FontDescription> kept;
  for (size_t i = 0; i < renumber.size(); ++i) {
    if (renumber[i] < 0) continue;
    renumber[i] = static_cast<int32_t>(kept.size());
    kept.push_back(table.fontPool[i]);
  }
  for (ResultCell& cell : table.cells) cell.font = static_cast<uint16_t>(renumber[cell.font]);
  table.fontPool.swap(kept);
  table.fontIndex.clear();
  for (size_t i = 0; i < table.fontPool.size(); ++i)
    table.fontIndex.emplace(FontKey(table.fontPool[i]), static_cast<uint16_t>(i));
  ++table.fontGeneration;
}

void ClearSelectionAndFocus(ResultTable& table) {
  table.selection = CellRange{};
  table.focusRow = -1;
  table.focusColumn = -1;
  table.anchorRow = -1;
}

int32_t FirstDataRow(const ResultTable& table) { return table.settings.fixedRows; }
int32_t LastRow(const ResultTable& table) { return table.rowCount - 1; }
bool HasDataRows(const ResultTable& table) {
  return table.rowCount > table.settings.fixedRows && table.columnCount > 0;
}

// Keeps scrollRow on a data row (or just past the fixed rows when there is none).
void KeepScrollRowInRows(ResultTable& table) {
  int32_t first = FirstDataRow(table);
  int32_t last = std::max(first, LastRow(table));
  table.scrollRow = std::clamp(table.scrollRow, first, last);
}

// A new cell in `row` takes the format of the cell above it; row 0 starts left-aligned,
// vertically centred, single-line.
ResultCell NewCell(const ResultTable& table, int32_t row, int32_t column) {
  ResultCell cell;
  if (row > 0) cell.format = table.cells[CellIndex(table, row - 1, column)].format;
  return cell;
}

void Rebuild(ResultTable& table, int32_t rows, int32_t columns) {
  table.cells.clear();
  table.cells.shrink_to_fit();
  table.rowCount = rows;
  table.columnCount = columns;
  table.cells.resize(static_cast<size_t>(rows) * static_cast<size_t>(columns));
  table.rowHeights.assign(static_cast<size_t>(rows), table.settings.rowHeight);
  table.columnWidths.assign(static_cast<size_t>(columns), table.settings.columnWidth);
  ResetFonts(table);
  ClearSelectionAndFocus(table);
  table.scrollRow = FirstDataRow(table);
}

// Resolves a block's omitted and overlong bounds; false when it names no block.
bool ResolveBlock(const ResultTable& table, int32_t firstRow, int32_t firstColumn,
                  std::optional<int32_t> lastRow, std::optional<int32_t> lastColumn,
                  CellRange* block) {
  int32_t endRow = std::min(lastRow.value_or(firstRow), table.rowCount - 1);
  int32_t endColumn = std::min(lastColumn.value_or(firstColumn), table.columnCount - 1);
  if (firstRow < 0 || firstColumn < 0 || endRow < 0 || endColumn < 0) return false;
  if (endRow < firstRow || endColumn < firstColumn) return false;
  *block = CellRange{firstRow, firstColumn, endRow, endColumn};
  return true;
}

bool SameFocusAndSelection(const ResultTable& table, int32_t focusRow, int32_t focusColumn,
                           const CellRange& selection) {
  return table.focusRow == focusRow && table.focusColumn == focusColumn &&
         table.selection.firstRow == selection.firstRow &&
         table.selection.firstColumn == selection.firstColumn &&
         table.selection.lastRow == selection.lastRow &&
         table.selection.lastColumn == selection.lastColumn;
}

// Makes (row, column) the focus cell and selects the whole rows from the anchor to `row`
// (only `row` when not extending, which also moves the anchor there). Returns whether
// anything changed.
bool FocusAndSelectRows(ResultTable& table, int32_t row, int32_t column, bool extend) {
  int32_t before[2] = {table.focusRow, table.focusColumn};
  CellRange selectionBefore = table.selection;
  bool anchorValid = table.anchorRow >= FirstDataRow(table) && table.anchorRow <= LastRow(table);
  if (!extend || !anchorValid) table.anchorRow = row;
  table.focusRow = row;
  table.focusColumn = column;
  table.selection = CellRange{std::min(table.anchorRow, row), table.settings.fixedColumns,
                              std::max(table.anchorRow, row), table.columnCount - 1};
  bool changed = !SameFocusAndSelection(table, before[0], before[1], selectionBefore);
  if (changed) Changed(table, false);
  return changed;
}

int32_t FixedRowsHeight(const ResultTable& table) {
  int32_t height = 0;
  for (int32_t r = 0; r < std::min(table.settings.fixedRows, table.rowCount); ++r)
    height += table.rowHeights[static_cast<size_t>(r)];
  return height;
}

}  // namespace

CellText::CellText(CellText&& other) noexcept {
  std::memcpy(inline_, other.inline_, sizeof inline_);
  other.inline_[0] = 0;
  other.inline_[kTag] = 0;
}

CellText& CellText::operator=(const CellText& other) {
  if (this != &other) assign(other.data(), other.size());
  return *this;
}

CellText& CellText::operator=(CellText&& other) noexcept {
  if (this != &other) {
    clear();
    std::memcpy(inline_, other.inline_, sizeof inline_);
    other.inline_[0] = 0;
    other.inline_[kTag] = 0;
  }
  return *this;
}

void CellText::assign(const char* bytes, size_t size) {
  // A cell text is far below 4 GB; anything longer is cut at that length.
  size = std::min<size_t>(size, UINT32_MAX - 1);
  if (size <= kInlineCapacity) {
    clear();
    std::memcpy(inline_, bytes, size);
    inline_[size] = 0;
    inline_[kTag] = static_cast<char>(size);
    return;
  }
  char* copy = new char[size + 1];
  std::memcpy(copy, bytes, size);
  copy[size] = 0;
  clear();
  heap_.bytes = copy;
  heap_.size = static_cast<uint32_t>(size);
  inline_[kTag] = kHeapTag;
}

void CellText::clear() {
  if (OnHeap()) delete[] heap_.bytes;
  inline_[0] = 0;
  inline_[kTag] = 0;
}

void InitResultTable(ResultTable& table, const FontDescription& font, int32_t width) {
  table.settings = ResultTableSettings{};
  table.remembered = table.settings;
  table.defaultFont = font;
  table.outerWidth = width;
  table.outsideBackground = Rgb(255, 255, 255);
  Rebuild(table, 1, kResultColumnCount);
  Changed(table, true);
}

int32_t RowCount(const ResultTable& table) { return table.rowCount; }

void SetRowCount(ResultTable& table, int32_t n) {
  if (n <= 0 || n > kMaxTableRows) return;
  size_t columns = static_cast<size_t>(table.columnCount);
  if (n < table.rowCount) {
    table.cells.erase(table.cells.begin() + static_cast<ptrdiff_t>(n * columns), table.cells.end());
  } else {
    for (int32_t r = table.rowCount; r < n; ++r)
      for (int32_t c = 0; c < table.columnCount; ++c) table.cells.push_back(NewCell(table, r, c));
  }
  table.rowCount = n;
  table.settings.fixedRows = std::min(table.settings.fixedRows, n);
  if (table.focusRow >= n) {
    table.focusRow = -1;
    table.focusColumn = -1;
  }
  if (table.selection.firstRow >= n) table.selection = CellRange{};
  else if (table.selection.lastRow >= n) table.selection.lastRow = n - 1;
  if (table.anchorRow >= n) table.anchorRow = -1;
  table.rowHeights.assign(static_cast<size_t>(n), table.settings.rowHeight);
  KeepScrollRowInRows(table);
  Changed(table, true);
}

void SetColumnWidth(ResultTable& table, int32_t w) {
  // A negative width is ignored outright: remembering it would give the columns of the
  // next ResetTable a negative width.
  if (w < 0) return;
  w = std::max(w, table.settings.gridPenWidth + kMinColumnWidth);
  std::fill(table.columnWidths.begin(), table.columnWidths.end(), w);
  table.remembered.columnWidth = w;
  Changed(table, true);
}

int32_t Width(const ResultTable& table) { return table.outerWidth; }

void ResetTable(ResultTable& table) {
  table.settings = table.remembered;
  table.outsideBackground = Rgb(255, 255, 255);
  Rebuild(table, table.rowCount, table.columnCount);
  Changed(table, true);
}

bool InsertRow(ResultTable& table, const char* title, int32_t position) {
  ClearSelectionAndFocus(table);
  if (table.rowCount >= kMaxTableRows) {
    Changed(table, false);
    return false;
  }
  if (table.columnCount == 0) {
    // With no columns there are no cells yet: every row gets its one cell.
    table.columnCount = 1;
    table.columnWidths.assign(1, table.settings.columnWidth);
    for (int32_t r = 0; r < table.rowCount; ++r) table.cells.push_back(NewCell(table, r, 0));
  }
  int32_t at = position >= table.settings.fixedRows && position < table.rowCount
                   ? position
                   : table.rowCount;
  int32_t height = table.rowCount > 0 ? table.rowHeights[0] : table.settings.rowHeight;
  size_t columns = static_cast<size_t>(table.columnCount);
  if (at == table.rowCount) {
    for (int32_t c = 0; c < table.columnCount; ++c) table.cells.push_back(NewCell(table, at, c));
  } else {
    std::vector<ResultCell> row;
    row.reserve(columns);
    for (int32_t c = 0; c < table.columnCount; ++c) row.push_back(NewCell(table, at, c));
    table.cells.insert(table.cells.begin() + static_cast<ptrdiff_t>(at * columns),
                       std::make_move_iterator(row.begin()), std::make_move_iterator(row.end()));
  }
  if (title) CellRef(table, at, 0).text.assign(title, std::strlen(title));
  table.rowHeights.insert(table.rowHeights.begin() + at, height);
  ++table.rowCount;
  Changed(table, true);
  return true;
}

bool SetCell(ResultTable& table, int32_t row, int32_t column, int32_t kind, const CellValue& value) {
  if (!CellAt(table, row, column) || kind != 1) return false;
  switch (value.type) {
    case CellValueType::kText:
      if (value.text) CellRef(table, row, column).text.assign(value.text, std::strlen(value.text));
      else CellRef(table, row, column).text.clear();
      break;
    case CellValueType::kFloat: {
      char digits[kMaxNumberText];
      int length = FormatFloat(value.single, digits);
      CellRef(table, row, column).text.assign(digits, static_cast<size_t>(length));
      break;
    }
    default:
      return false;  // only texts and single-precision numbers become cell text
  }
  Changed(table, false);
  return true;
}

bool SetFontHeight(ResultTable& table, int32_t firstRow, int32_t firstColumn,
                   std::optional<int32_t> lastRow, std::optional<int32_t> lastColumn,
                   int32_t height) {
  CellRange block;
  if (!ResolveBlock(table, firstRow, firstColumn, lastRow, lastColumn, &block)) return false;

  // Each font of the block gives at most one new description: make room for them all
  // first, so the block changes whole or not at all. Blocks hold few distinct fonts, so
  // the old-to-new pairs sit in a short list with the last one tried first.
  std::vector<std::pair<uint16_t, uint16_t>> replacement;
  auto findReplacement = [&replacement](uint16_t font) -> std::pair<uint16_t, uint16_t>* {
    if (!replacement.empty() && replacement.back().first == font) return &replacement.back();
    for (auto& pair : replacement)
      if (pair.first == font) return &pair;
    return nullptr;
  };
  auto collectFonts = [&]() {
    replacement.clear();
    for (int32_t r = block.firstRow; r <= block.lastRow; ++r)
      for (int32_t c = block.firstColumn; c <= block.lastColumn; ++c) {
        uint16_t font = CellRef(table, r, c).font;
        if (!findReplacement(font)) replacement.emplace_back(font, 0);
      }
  };
  collectFonts();
  if (table.fontPool.size() + replacement.size() > kMaxFonts) {
    CompactFonts(table);
    if (table.fontPool.size() + replacement.size() > kMaxFonts) return false;
    collectFonts();  // renumbered by the compaction
  }
  for (auto& pair : replacement) {
    FontDescription font = table.fontPool[pair.first];
    font.height = height;
    pair.second = InternFont(table, font);
  }
  for (int32_t r = block.firstRow; r <= block.lastRow; ++r)
    for (int32_t c = block.firstColumn; c <= block.lastColumn; ++c) {
      ResultCell& cell = CellRef(table, r, c);
      cell.font = findReplacement(cell.font)->second;
    }
  Changed(table, false);
  return true;
}

bool SetAlignment(ResultTable& table, int32_t firstRow, int32_t firstColumn,
                  std::optional<int32_t> lastRow, std::optional<int32_t> lastColumn,
                  int32_t alignment) {
  CellRange block;
  if (!ResolveBlock(table, firstRow, firstColumn, lastRow, lastColumn, &block)) return false;
  CellAlignment horizontal = alignment == 2   ? CellAlignment::kCentre
                             : alignment == 3 ? CellAlignment::kRight
                                              : CellAlignment::kLeft;
  for (int32_t r = block.firstRow; r <= block.lastRow; ++r)
    for (int32_t c = block.firstColumn; c <= block.lastColumn; ++c) {
      CellFormat& format = CellRef(table, r, c).format;
      format.alignment = horizontal;
      format.verticalCentre = true;
      format.noPrefix = true;
      // wordWrap stays as it was
    }
  Changed(table, false);
  return true;
}

void PrepareResultTable(ResultTable& table) {
  SetRowCount(table, 1);
  ResetTable(table);
  // 791 / 6.0 - 4.0 = 127.83 gives 127; 59 gives 5 (raised to 6); 18 and less give a
  // negative width, which leaves the columns as they are.
  double width = Width(table) / 6.0 - 4.0;
  SetColumnWidth(table, static_cast<int32_t>(std::trunc(width)));
  for (int32_t k = 0; k < kResultColumnCount; ++k) SetCell(table, 0, k, 1, kResultColumnTitles[k]);
  SetFontHeight(table, 0, 0, 0, 5, 18);
  SetAlignment(table, 0, 0, 0, 5, 2);
}

const ResultCell* CellAt(const ResultTable& table, int32_t row, int32_t column) {
  if (row < 0 || row >= table.rowCount || column < 0 || column >= table.columnCount) return nullptr;
  return &table.cells[CellIndex(table, row, column)];
}

const FontDescription& CellFont(const ResultTable& table, const ResultCell& cell) {
  return table.fontPool[cell.font];
}

bool CellIsFixed(const ResultTable& table, int32_t row, int32_t column) {
  return row < table.settings.fixedRows || column < table.settings.fixedColumns;
}

bool CellIsSelected(const ResultTable& table, int32_t row, int32_t column) {
  const CellRange& s = table.selection;
  return s.firstRow >= 0 && row >= s.firstRow && row <= s.lastRow && column >= s.firstColumn &&
         column <= s.lastColumn;
}

bool ClickCell(ResultTable& table, int32_t row, int32_t column, bool extend) {
  if (!CellAt(table, row, column)) return false;
  if (row < FirstDataRow(table)) {
    // A header click neither selects the column nor sorts: it only drops the selection.
    bool changed = table.focusRow >= 0 || table.selection.firstRow >= 0;
    ClearSelectionAndFocus(table);
    if (changed) Changed(table, false);
    return changed;
  }
  return FocusAndSelectRows(table, row, column, extend);
}

bool DragToCell(ResultTable& table, int32_t row, int32_t column) {
  if (table.anchorRow < FirstDataRow(table) || !CellAt(table, row, column)) return false;
  row = std::max(row, FirstDataRow(table));
  return FocusAndSelectRows(table, row, column, true);
}

bool SelectAll(ResultTable& table) {
  if (!HasDataRows(table) || table.settings.fixedColumns >= table.columnCount) return false;
  CellRange all{FirstDataRow(table), table.settings.fixedColumns, LastRow(table),
                table.columnCount - 1};
  if (SameFocusAndSelection(table, table.focusRow, table.focusColumn, all)) return false;
  table.selection = all;
  Changed(table, false);
  return true;
}

KeyOutcome PressTableKey(ResultTable& table, TableKey key, bool shift, bool ctrl, int32_t pageRows) {
  KeyOutcome outcome;
  switch (key) {
    case TableKey::kLetterA:
      if (ctrl) outcome.changed = SelectAll(table);
      return outcome;
    case TableKey::kLetterC:
      outcome.copy = ctrl;
      return outcome;
    case TableKey::kInsert:
      outcome.copy = ctrl && !shift;  // Shift+Insert would paste: nothing to do
      return outcome;
    case TableKey::kLeft: case TableKey::kRight: case TableKey::kUp: case TableKey::kDown:
    case TableKey::kPageUp: case TableKey::kPageDown: case TableKey::kHome: case TableKey::kEnd:
      break;
    default:
      return outcome;  // Tab, Enter, Ctrl+X, Ctrl+V, F2, typing: the table is read-only
  }
  if (!HasDataRows(table)) return outcome;

  int32_t first = FirstDataRow(table);
  int32_t last = LastRow(table);
  int32_t firstColumn = std::min(table.settings.fixedColumns, table.columnCount - 1);
  int32_t lastColumn = table.columnCount - 1;
  int32_t page = std::max(pageRows, 1);
  int32_t row = table.focusRow;
  int32_t column = table.focusColumn;
  if (row < first || column < 0) {
    // No focus cell yet: the move lands on the first data row (End: the last one).
    row = key == TableKey::kEnd ? last : first;
    column = key == TableKey::kEnd && ctrl ? lastColumn : firstColumn;
  } else {
    switch (key) {
      case TableKey::kLeft: column = std::max(firstColumn, column - 1); break;
      case TableKey::kRight: column = std::min(lastColumn, column + 1); break;
      case TableKey::kUp: row = std::max(first, row - 1); break;
      case TableKey::kDown: row = std::min(last, row + 1); break;
      case TableKey::kPageUp: row = std::max(first, row - page); break;
      case TableKey::kPageDown: row = static_cast<int32_t>(std::min<int64_t>(last, int64_t{row} + page)); break;
      case TableKey::kHome:
        row = first;
        if (ctrl) column = firstColumn;
        break;
      case TableKey::kEnd:
        row = last;
        if (ctrl) column = lastColumn;
        break;
      default: break;
    }
  }
  outcome.changed = FocusAndSelectRows(table, row, column, shift);
  return outcome;
}

bool CopyText(const ResultTable& table, std::string* out) {
  const CellRange& s = table.selection;
  if (s.firstRow < 0 || s.firstRow >= table.rowCount || s.firstColumn >= table.columnCount)
    return false;
  int32_t lastRow = std::min(s.lastRow, table.rowCount - 1);
  int32_t lastColumn = std::min(s.lastColumn, table.columnCount - 1);
  std::string text;
  bool firstRowWritten = true;
  for (int32_t r = s.firstRow; r <= lastRow; ++r) {
    if (table.rowHeights[static_cast<size_t>(r)] <= 0) continue;
    if (!firstRowWritten) text += "\r\n";
    firstRowWritten = false;
    bool firstColumnWritten = true;
    for (int32_t c = s.firstColumn; c <= lastColumn; ++c) {
      if (table.columnWidths[static_cast<size_t>(c)] <= 0) continue;
      if (!firstColumnWritten) text += '\t';
      firstColumnWritten = false;
      if (CellIsSelected(table, r, c)) text += table.cells[CellIndex(table, r, c)].text.view();
    }
  }
  out->swap(text);
  return true;
}

int32_t FullyVisibleRows(const ResultTable& table, int32_t clientHeight) {
  int32_t room = clientHeight - FixedRowsHeight(table);
  int32_t rows = 0;
  int32_t used = 0;
  for (int32_t r = table.scrollRow; r < table.rowCount; ++r) {
    int32_t h = table.rowHeights[static_cast<size_t>(r)];
    if (used + h > room) break;
    used += h;
    ++rows;
  }
  // Past the last row, the page continues at the row-height setting.
  if (table.settings.rowHeight > 0 && room > used) rows += (room - used) / table.settings.rowHeight;
  return std::max(rows, 1);
}

int32_t MaxScrollRow(const ResultTable& table, int32_t clientHeight) {
  int32_t first = FirstDataRow(table);
  int32_t room = clientHeight - FixedRowsHeight(table);
  int32_t top = table.rowCount;
  int32_t used = 0;
  while (top - 1 >= first && used + table.rowHeights[static_cast<size_t>(top - 1)] <= room) {
    --top;
    used += table.rowHeights[static_cast<size_t>(top)];
  }
  // Not even the last row fits: it goes to the top.
  if (top == table.rowCount) top = table.rowCount - 1;
  return std::max(top, first);
}

bool ClampScrollRow(ResultTable& table, int32_t clientHeight) {
  int32_t before = table.scrollRow;
  table.scrollRow = std::clamp(table.scrollRow, FirstDataRow(table),
                               MaxScrollRow(table, clientHeight));
  return table.scrollRow != before;
}

bool ScrollToRow(ResultTable& table, int32_t row, int32_t clientHeight) {
  if (row < FirstDataRow(table) || row >= table.rowCount) return false;
  int32_t before = table.scrollRow;
  if (row < table.scrollRow) {
    table.scrollRow = row;
  } else {
    // Raise the top until the row's bottom fits; the walk stops after one screen.
    int32_t room = clientHeight - FixedRowsHeight(table);
    int32_t top = row;
    int32_t used = table.rowHeights[static_cast<size_t>(row)];
    while (top > table.scrollRow && used + table.rowHeights[static_cast<size_t>(top - 1)] <= room) {
      --top;
      used += table.rowHeights[static_cast<size_t>(top)];
    }
    table.scrollRow = top;
  }
  return table.scrollRow != before;
}

CellHit HitTestCell(const ResultTable& table, int32_t x, int32_t y) {
  CellHit hit;
  if (x < 0 || y < 0) return hit;
  int32_t column = -1;
  int32_t left = 0;
  for (int32_t c = 0; c < table.columnCount; ++c) {
    int32_t w = table.columnWidths[static_cast<size_t>(c)];
    if (x < left + w) {
      column = c;
      break;
    }
    left += w;
  }
  if (column < 0) return hit;
  int32_t top = 0;
  int32_t fixed = std::min(table.settings.fixedRows, table.rowCount);
  for (int32_t r = 0; r < fixed; ++r) {
    top += table.rowHeights[static_cast<size_t>(r)];
    if (y < top) return CellHit{r, column};
  }
  for (int32_t r = std::max(table.scrollRow, fixed); r < table.rowCount; ++r) {
    top += table.rowHeights[static_cast<size_t>(r)];
    if (y < top) return CellHit{r, column};
  }
  return hit;
}
