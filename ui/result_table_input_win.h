// The result table's mouse, keyboard and scroll-bar input, turned into selection and
// scrolling changes (result_table_selection.h, result_table_scroll.h).
#pragma once

#include <windows.h>

#include "ui/result_table_window_win.h"

// Movement keys, Ctrl+A, and Ctrl+C / Ctrl+Insert (which copy); all else changes nothing.
void OnTableKeyDown(TableWindow& window, WPARAM virtualKey);
// Takes the focus; a click on a data cell selects its row and starts a drag.
void OnTableButtonDown(TableWindow& window, int x, int y, WPARAM keys);
// With the button held the selection follows the pointer; above the data rows or below
// the window it scrolls one row at a time.
void OnTableMouseMove(TableWindow& window, int x, int y);
void OnTableVScroll(TableWindow& window, int request);
void OnTableMouseWheel(TableWindow& window, int delta);
