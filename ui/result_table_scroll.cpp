#include "ui/result_table_scroll.h"

#include <algorithm>

namespace {

int32_t RowHeight(const ResultTable& table, int32_t row) {
  return table.rowHeights[static_cast<size_t>(row)];
}

}  // namespace

int32_t FixedRowsHeight(const ResultTable& table) {
  int32_t height = 0;
  for (int32_t r = 0; r < std::min(table.settings.fixedRows, table.rowCount); ++r)
    height += RowHeight(table, r);
  return height;
}

int32_t FullyVisibleRows(const ResultTable& table, int32_t clientHeight) {
  int32_t room = clientHeight - FixedRowsHeight(table);
  int32_t rows = 0;
  int32_t used = 0;
  for (int32_t r = table.scrollRow; r < table.rowCount; ++r) {
    int32_t h = RowHeight(table, r);
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
  while (top - 1 >= first && used + RowHeight(table, top - 1) <= room) {
    --top;
    used += RowHeight(table, top);
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
    int32_t used = RowHeight(table, row);
    while (top > table.scrollRow && used + RowHeight(table, top - 1) <= room) {
      --top;
      used += RowHeight(table, top);
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
    top += RowHeight(table, r);
    if (y < top) return CellHit{r, column};
  }
  for (int32_t r = std::max(table.scrollRow, fixed); r < table.rowCount; ++r) {
    top += RowHeight(table, r);
    if (y < top) return CellHit{r, column};
  }
  return hit;
}
