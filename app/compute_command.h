// The action behind "计算" and the selectors' choices: read the inputs, run the
// search into the result store and fill the result table.
#pragma once

#include "calc/timing.h"

struct MainWindow;

// The result store the command searches into; RunProgram lends it its own for the
// life of the main window. Null (the default) makes the command stop after its input
// checks.
void UseCandidateStore(CandidateList* store);

// Runs on the GUI thread, to completion, for each event bound to it. An empty clock
// field (then an empty bit-rate field) is reported with a message box owned by the
// window and gets the focus; store and table stay as they were. Otherwise the search
// replaces the store's records and the table is rewritten with one row per record; no
// message, no focus change.
void ComputeCommand(MainWindow& window);
