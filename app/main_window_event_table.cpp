#include "app/main_window_event_table.h"

#include "app/compute_command.h"
#include "ui/main_window_win.h"

namespace {
const EventBinding kMainWindowEvents[] = {
    {kMainWindowSource, WindowEvent::kCreationFinished, OnMainWindowCreated},
    {kButton1, WindowEvent::kClicked, ComputeCommand},
    {kComboBox1, WindowEvent::kItemChosen, ComputeCommand},
    {kComboBox2, WindowEvent::kItemChosen, ComputeCommand},
};
}  // namespace

EventTable MainWindowEventTable() {
  return {kMainWindowEvents, static_cast<int>(sizeof kMainWindowEvents / sizeof kMainWindowEvents[0])};
}
