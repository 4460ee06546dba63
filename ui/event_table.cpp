#include "ui/event_table.h"

EventHandler FindEventHandler(const EventTable& table, int source, WindowEvent event) {
  for (int i = 0; i < table.count; ++i) {
    const EventBinding& binding = table.bindings[i];
    if (binding.source == source && binding.event == event) return binding.handler;
  }
  return nullptr;
}
