// The action behind "计算" and the selectors' choices: read the inputs, run the
// search into candidateList and fill the result table.
#pragma once

#include <cstdint>

struct MainWindow;

// Runs on the GUI thread, to completion, for each event bound to it. An empty clock
// field (then an empty bit-rate field) is reported with a message box owned by the
// window and gets the focus; store and table stay as they were. Otherwise the search
// replaces candidateList and the table is rewritten with one row per record; no
// message, no focus change. Does nothing past the checks while candidateList is null.
void ComputeCommand(MainWindow& window);

// The clock in kHz for a number of MHz: times 1000.0 as a double, truncated toward
// zero to 64 bits, its low 32 bits taken as signed (2147484 MHz wraps negative).
int32_t ClockKHzFromMHz(int32_t clockMHz);

// The minimum sample point for a sample-point selector index: (index + 4.0) / 10.0 in
// double, rounded to float. 0 to 4 give 0.4 to 0.8; -1 (no item selected) gives 0.3.
float MinSamplePointForIndex(int index);
// The same for the live selection of the window's 组合框1.
float SelectedMinSamplePoint(const MainWindow& window);
