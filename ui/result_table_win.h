// The result table 高级表格1, for now a stand-in: a white control that takes the
// focus and claims Tab and the arrow keys (WM_GETDLGCODE answers DLGC_WANTTAB |
// DLGC_WANTARROWS). The grid replaces this file; the main window relies only on the
// class name, RegisterResultTableClass and PrepareResultTable.
#pragma once

#include <windows.h>

constexpr wchar_t kResultTableClassName[] = L"QuillmereResultTable";

// Registers the class for instance; true when it is registered (also if it already was).
bool RegisterResultTableClass(HINSTANCE instance);

// Empties the table to its header row and sets its columns up. Runs when the window
// has been created and before every fill of the compute command.
void PrepareResultTable(HWND table);
