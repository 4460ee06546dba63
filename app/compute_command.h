// The action behind "计算" and the selectors' choices: read the inputs, run the
// search into candidateList and fill the result table.
#pragma once

struct MainWindow;

// Runs on the GUI thread, to completion, for each event bound to it.
void ComputeCommand(MainWindow& window);
