#include "ui/selector_items.h"

const char* const kSamplePointItems[kSamplePointItemCount] = {
    ">=40%", ">=50%", ">=60%", ">=70%", ">=80%"};

Text ToleranceItemText(int32_t percent) {
  const Text digits = ToText(percent);
  return JoinTexts({"<=", digits.get(), "%"});
}

int SelectionIndexFor(int index, int itemCount) {
  if (index < 0 || itemCount <= 0) return -1;
  return index >= itemCount ? itemCount - 1 : index;
}
