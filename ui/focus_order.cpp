#include "ui/focus_order.h"

#include <algorithm>

std::vector<int> BuildTabOrder(const FocusEntry* entries, int count) {
  std::vector<int> order;
  for (int i = count - 1; i >= 0; --i) {
    if (entries[i].eligible) order.push_back(i);
  }
  // Stable: entries with equal values keep the bottom-up order collected above.
  std::stable_sort(order.begin(), order.end(), [entries](int a, int b) {
    return entries[a].focusOrder < entries[b].focusOrder;
  });
  return order;
}

int NextInTabOrder(const std::vector<int>& order, int current, bool backward) {
  const int size = static_cast<int>(order.size());
  if (size == 0) return -1;
  const auto found = std::find(order.begin(), order.end(), current);
  if (found == order.end()) return backward ? order[size - 1] : order[0];
  const int at = static_cast<int>(found - order.begin());
  return order[(at + (backward ? size - 1 : 1)) % size];
}

int ScanForInitialFocus(const FocusEntry* entries, int count) {
  int best = -1;
  for (int i = count - 1; i >= 0; --i) {
    // Strictly lower only: on a tie the entry met first (lower in the stack) stays.
    if (entries[i].eligible && (best < 0 || entries[i].focusOrder < entries[best].focusOrder)) {
      best = i;
    }
  }
  return best;
}
