// The result table 高级表格1 as a Windows control: a window that owns a ResultTable
// (result_table.h), paints it (result_table_paint_win.h), scrolls its data rows under
// the fixed header and turns clicks, keys and the copy command into state changes
// (result_table_input_win.h, result_table_clipboard_win.h). Selection is by whole rows:
// click selects a row, Shift+click or dragging with the button held selects the rows
// from the last plain click to the pointer; the movement keys carry the selection along
// (Shift extends it); Ctrl+A selects everything; Ctrl+C or Ctrl+Insert copies.
#pragma once

#include <windows.h>

#include "ui/result_table.h"

constexpr wchar_t kResultTableClassName[] = L"QuillmereResultTable";

// Registers the class for instance; true when it is registered (also if it already was).
bool RegisterResultTableClass(HINSTANCE instance);

// The state of a result table window, to call the table operations on; every change
// repaints the window (coalesced into one WM_PAINT). Null for any other window.
ResultTable* ResultTableOf(HWND table);

// Empties the table to its header row and sets its columns up. Runs when the window
// has been created and before every fill of the compute command. Ignores other windows.
void PrepareResultTable(HWND table);

// The window has moved to `dpi` and already has its new size: the default font, row
// heights, header font and cell margins follow the new DPI and the columns the new
// width; rows, selection, focus cell and scroll position stay. Ignores other windows.
void SetResultTableDpi(HWND table, int dpi);

// Paints the client area `area` of the table into dc: the background beyond the cells,
// the cells, the grid lines. WM_PAINT and WM_PRINTCLIENT both come here.
void PaintResultTable(HWND table, HDC dc, const RECT& area);
