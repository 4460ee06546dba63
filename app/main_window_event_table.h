// The program's event wiring: which routine each window or control event runs.
#pragma once

#include "ui/event_table.h"

// Creation finished -> OnMainWindowCreated; 按钮1 clicked, and an item chosen in
// 组合框1 or 组合框2 -> ComputeCommand. Nothing else is bound.
EventTable MainWindowEventTable();
