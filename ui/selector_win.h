// Operations on the two drop-down selectors. Setting anything from code raises no
// event: only the user's choice of an item does (main_window_win.cpp).
#pragma once

#include <windows.h>

// Removes every item; nothing is selected afterwards.
void ClearSelector(HWND selector);
// Appends a GBK text at the end (the selectors do not sort).
void AddSelectorItem(HWND selector, const char* gbk);
// Past the last item selects the last; -1 and below select nothing. The field shows
// the selected item's text (empty for none).
void SetSelectorSelection(HWND selector, int index);
// The live selection index; -1 when no item is selected.
int GetSelectorSelection(HWND selector);

// Fills the tolerance selector 组合框2 with "==0%", "<=1%" .. "<=10%", selects its
// first item, then the first item of the sample-point selector 组合框1 (which makes
// that field show ">=40%").
void FillToleranceSelector(HWND tolerance, HWND samplePoint);
