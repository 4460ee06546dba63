// The result table's vertical scrolling and hit testing, in client pixels with the
// header at y = 0. Data rows scroll by whole rows under the fixed header rows.
#pragma once

#include <cstdint>

#include "ui/result_table.h"

// The height of the fixed (header) rows together.
int32_t FixedRowsHeight(const ResultTable& table);
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
