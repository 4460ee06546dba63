// The portable half of the window's compute command: from what its two fields and two
// selectors hold to the arguments of the bit-timing search, or to the input that is missing.
#pragma once

#include <cstdint>

enum class InputCheck { kReady, kClockMissing, kRateMissing };

struct SearchArguments {
  InputCheck check = InputCheck::kReady;  // the other fields count only when kReady
  int32_t clockKHz = 0;
  float targetRate = 0;
  int32_t tolerancePercent = 0;
  float minSamplePoint = 0;
};

// clockText and rateText are the two fields' texts (GBK; null counts as empty), the
// indexes those of the sample-point and tolerance selectors (-1: nothing selected).
// An empty clock text gives kClockMissing, then an empty rate text kRateMissing (blanks
// are text). Otherwise the clock converts by ToInt and ClockKHzFromMHz, the rate by
// ToFloat, the sample-point index by MinSamplePointForIndex, and the tolerance index is
// the percent itself ("==0%" stands at 0, "<=n%" at n).
SearchArguments SearchArgumentsFor(const char* clockText, const char* rateText,
                                   int samplePointIndex, int toleranceIndex);

// "请输入AHB1时钟频率" for kClockMissing, "请输入CAN波特率" for kRateMissing (GBK);
// null for kReady.
const char* MissingInputMessage(InputCheck check);

// The clock in kHz for a number of MHz: times 1000.0 as a double, truncated toward
// zero to 64 bits, its low 32 bits taken as signed (2147484 MHz wraps negative).
int32_t ClockKHzFromMHz(int32_t clockMHz);

// The minimum sample point for a sample-point selector index: (index + 4.0) / 10.0 in
// double, rounded to float. 0 to 4 give 0.4 to 0.8; -1 (no item selected) gives 0.3.
float MinSamplePointForIndex(int index);
