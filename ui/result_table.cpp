#include "ui/result_table.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "calc/text.h"
#include "answers/columns/row_columns.h"
#include "calc/candidate_cells.h"
#include "ui/dpi_scale.h"

namespace {

size_t CellIndex(const ResultTable& table, int32_t row, int32_t column) {
  return static_cast<size_t>(row) * static_cast<size_t>(table.columnCount) +
         static_cast<size_t>(column);
}

ResultCell& CellRef(ResultTable& table, int32_t row, int32_t column) {
  return table.cells[CellIndex(table, row, column)];
}

// Keeps scrollRow on a data row (or just past the fixed rows when there is none).
void KeepScrollRowInRows(ResultTable& table) {
  int32_t first = FirstDataRow(table);
  int32_t last = std::max(first, LastRow(table));
  table.scrollRow = std::clamp(table.scrollRow, first, last);
}

// A new cell in `row` takes the format of the cell above it (row 0 starts left-aligned,
// vertically centred, single-line) and the default font.
ResultCell NewCell(const ResultTable& table, int32_t row, int32_t column) {
  ResultCell cell;
  if (row > 0) cell.format = table.cells[CellIndex(table, row - 1, column)].format;
  cell.fontHeight = table.defaultFont.height;
  return cell;
}

void Rebuild(ResultTable& table, int32_t rows, int32_t columns) {
  table.cells.clear();
  table.cells.shrink_to_fit();
  table.rowCount = rows;
  table.columnCount = columns;
  ResultCell blank;
  blank.fontHeight = table.defaultFont.height;
  table.cells.resize(static_cast<size_t>(rows) * static_cast<size_t>(columns), blank);
  table.rowHeights.assign(static_cast<size_t>(rows), table.settings.rowHeight);
  table.columnWidths.assign(static_cast<size_t>(columns), table.settings.columnWidth);
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

// Calls change(cell) for every cell of the block and asks for a repaint; false, with
// nothing changed, when the bounds name no block.
template <typename Change>
bool ChangeBlock(ResultTable& table, int32_t firstRow, int32_t firstColumn,
                 std::optional<int32_t> lastRow, std::optional<int32_t> lastColumn,
                 Change change) {
  CellRange block;
  if (!ResolveBlock(table, firstRow, firstColumn, lastRow, lastColumn, &block)) return false;
  for (int32_t r = block.firstRow; r <= block.lastRow; ++r)
    for (int32_t c = block.firstColumn; c <= block.lastColumn; ++c) change(CellRef(table, r, c));
  NotifyChanged(table, false);
  return true;
}

}  // namespace

void InitResultTable(ResultTable& table, const FontDescription& font, int32_t width,
                     int32_t dpi) {
  table.dpi = dpi;
  table.settings = ResultTableSettings{};
  table.settings.rowHeight = ScaleForDpi(table.settings.rowHeight, dpi);
  table.remembered = table.settings;
  table.defaultFont = font;
  table.outerWidth = width;
  table.outsideBackground = Rgb(255, 255, 255);
  Rebuild(table, 1, kResultColumnCount);
  NotifyChanged(table, true);
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
  NotifyChanged(table, true);
}

void SetColumnWidth(ResultTable& table, int32_t w) {
  // A negative width is ignored outright: remembering it would give the columns of the
  // next ResetTable a negative width.
  if (w < 0) return;
  w = std::max(w, table.settings.gridPenWidth + kMinColumnWidth);
  std::fill(table.columnWidths.begin(), table.columnWidths.end(), w);
  table.remembered.columnWidth = w;
  NotifyChanged(table, true);
}

int32_t Width(const ResultTable& table) { return table.outerWidth; }

void ResetTable(ResultTable& table) {
  table.settings = table.remembered;
  table.outsideBackground = Rgb(255, 255, 255);
  Rebuild(table, table.rowCount, table.columnCount);
  NotifyChanged(table, true);
}

bool InsertRow(ResultTable& table, const char* title, int32_t position) {
  ClearSelectionAndFocus(table);
  if (table.rowCount >= kMaxTableRows) {
    NotifyChanged(table, false);
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
  NotifyChanged(table, true);
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
  NotifyChanged(table, false);
  return true;
}

bool SetFontHeight(ResultTable& table, int32_t firstRow, int32_t firstColumn,
                   std::optional<int32_t> lastRow, std::optional<int32_t> lastColumn,
                   int32_t height) {
  return ChangeBlock(table, firstRow, firstColumn, lastRow, lastColumn,
                     [height](ResultCell& cell) { cell.fontHeight = height; });
}

bool SetAlignment(ResultTable& table, int32_t firstRow, int32_t firstColumn,
                  std::optional<int32_t> lastRow, std::optional<int32_t> lastColumn,
                  int32_t alignment) {
  CellAlignment horizontal = alignment == 2   ? CellAlignment::kCentre
                             : alignment == 3 ? CellAlignment::kRight
                                              : CellAlignment::kLeft;
  return ChangeBlock(table, firstRow, firstColumn, lastRow, lastColumn,
                     [horizontal](ResultCell& cell) {
                       cell.format.alignment = horizontal;
                       cell.format.verticalCentre = true;
                       cell.format.noPrefix = true;  // wordWrap stays as it was
                     });
}

void PrepareResultTable(ResultTable& table) {
  SetRowCount(table, 1);
  ResetTable(table);
  FitColumnsToWidth(table);
  for (int32_t k = 0; k < kResultColumnCount; ++k) SetCell(table, 0, k, 1, WindowColumnTitle(k));
  SetFontHeight(table, 0, 0, 0, 5, ScaleForDpi(18, table.dpi));
  SetAlignment(table, 0, 0, 0, 5, 2);
}

void FitColumnsToWidth(ResultTable& table) {
  // 791 / 6.0 - 4.0 = 127.83 gives 127; 59 gives 5 (raised to 6); 18 and less give a
  // negative width, which leaves the columns as they are.
  double width = Width(table) / 6.0 - 4.0;
  SetColumnWidth(table, static_cast<int32_t>(std::trunc(width)));
}

void RescaleResultTable(ResultTable& table, const FontDescription& font, int32_t dpi) {
  const int32_t from = table.dpi;
  auto rescale = [from, dpi](int32_t& value) { value = RescaleForDpi(value, from, dpi); };
  for (ResultCell& cell : table.cells) {
    if (cell.fontHeight == table.defaultFont.height) cell.fontHeight = font.height;
    else rescale(cell.fontHeight);
  }
  for (int32_t& height : table.rowHeights) rescale(height);
  rescale(table.settings.rowHeight);
  rescale(table.remembered.rowHeight);
  table.defaultFont = font;
  table.dpi = dpi;
  NotifyChanged(table, true);
}

const ResultCell* CellAt(const ResultTable& table, int32_t row, int32_t column) {
  if (row < 0 || row >= table.rowCount || column < 0 || column >= table.columnCount) return nullptr;
  return &table.cells[CellIndex(table, row, column)];
}

FontDescription CellFont(const ResultTable& table, const ResultCell& cell) {
  FontDescription font = table.defaultFont;
  font.height = cell.fontHeight;
  return font;
}

bool CellIsFixed(const ResultTable& table, int32_t row, int32_t column) {
  return row < table.settings.fixedRows || column < table.settings.fixedColumns;
}
