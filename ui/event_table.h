// The main window's event wiring as data: (source, event) -> handler.
//
// Portable: the handlers take the window by reference through an opaque type, so the
// table and its lookup build natively; the program's own table is kMainWindowEvents
// in app/program_start.cpp.
#pragma once

struct MainWindow;

enum class WindowEvent {
  kCreationFinished,  // every control exists with its text, items and selection
  kClicked,           // a push button was clicked
  kItemChosen,        // the user accepted a list item of a selector (not a mere change)
};

// The main window itself as a source; controls are their ControlId.
constexpr int kMainWindowSource = -1;

using EventHandler = void (*)(MainWindow& window);

struct EventBinding {
  int source;
  WindowEvent event;
  EventHandler handler;
};

struct EventTable {
  const EventBinding* bindings;
  int count;
};

// The handler bound to (source, event), the first if several are; null when none.
EventHandler FindEventHandler(const EventTable& table, int source, WindowEvent event);
