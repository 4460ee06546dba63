// The one setting --best gives among the rows a listing would show.
#pragma once

#include <cstdint>

#include "calc/timing.h"
#include "cli/output_options.h"

// The sample point advised for a wanted rate, as the window's reference label gives
// it: 0.875 up to 500 Kbps, 0.8 above that up to 800 Kbps, 0.75 above 800 Kbps.
double AdvisedSamplePoint(float targetRate);

// True when a is the better setting of the two, by these steps:
//   1. the smaller errorPercent;
//   2. then the sample point (the float widened to double) nearer the advice;
//   3. then more quanta per bit (1 + BS1 + BS2): finer resynchronisation.
// Equal on all three is not better: the first in listing order stays.
bool IsBetterSetting(const TimingCandidate& a, const TimingCandidate& b, double advice);

// The best of the rows by IsBetterSetting, with the advice for targetRate; false
// when there are no rows.
bool FindBestSetting(const RowSource& rows, float targetRate, TimingCandidate& best);
