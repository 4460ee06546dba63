// What the two selectors hold and the rule for setting a selection index. Portable.
#pragma once

#include "calc/text.h"

// 组合框1, the sample-point selector: its fixed items, index 0 to 4.
constexpr int kSamplePointItemCount = 5;
extern const char* const kSamplePointItems[kSamplePointItemCount];

// 组合框2, the tolerance selector: "==0%", then "<=1%" to "<=10%"; the index is the
// tolerance in whole percent.
constexpr int kToleranceItemCount = 11;
constexpr const char* kExactToleranceItem = "==0%";
// "<=" + the decimal digits of percent + "%"; built with ToText and JoinTexts. Never null.
Text ToleranceItemText(int32_t percent);

// The index a selector ends up with when index is set on a list of itemCount items:
// past the last gives the last, -1 and below give -1 (nothing selected).
int SelectionIndexFor(int index, int itemCount);
