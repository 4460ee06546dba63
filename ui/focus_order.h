// Which control gets the keyboard focus: the tab order and the scan on activation.
//
// Portable: the Windows side fills one FocusEntry per control of the stacking-order
// table (main_window_layout.h) from the live windows and asks these functions.
#pragma once

#include <vector>

struct FocusEntry {
  bool eligible;   // visible, enabled, a tab stop and of a kind that takes the focus
  int focusOrder;  // lower goes first
};

// The tab order as indexes into entries: eligible entries by ascending focus order,
// equal values from the last entry up to the first. Empty when nothing is eligible.
std::vector<int> BuildTabOrder(const FocusEntry* entries, int count);

// The entry Tab (forward) or Shift+Tab (backward) moves to from current, wrapping
// around; current not in the order gives the first (forward) or the last entry.
// -1 when the order is empty.
int NextInTabOrder(const std::vector<int>& order, int current, bool backward);

// The entry that takes the focus when the window is activated with nothing
// remembered: scanning from the last entry up, the eligible entry with the lowest
// focus order, the first met on ties. -1 when nothing is eligible.
int ScanForInitialFocus(const FocusEntry* entries, int count);
