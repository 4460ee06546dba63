// Painting the result table: the background beyond the cells, the header and data
// cells, then the grid lines. WM_PAINT and WM_PRINTCLIENT both come here.
#pragma once

#include <windows.h>

#include "ui/result_table_window_win.h"

// Paints `area` (the client rectangle) into dc; only rows and columns that meet
// `update` are drawn, and only the rows that fit in the area are looked at, whatever
// the row count.
void PaintTable(TableWindow& window, HDC dc, const RECT& area, const RECT& update);
// WM_PAINT: brings the layout up to date, then paints through an off-screen bitmap so
// that rows never flicker while scrolling.
void OnTablePaint(TableWindow& window);
