#include "ui/result_table_copy.h"

#include <algorithm>

#include "ui/result_table_selection.h"

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
      if (CellIsSelected(table, r, c)) text += CellAt(table, r, c)->text.view();
    }
  }
  out->swap(text);
  return true;
}
