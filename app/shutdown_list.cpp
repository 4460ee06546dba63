#include "app/shutdown_list.h"

bool RegisterShutdownRoutine(ShutdownList& list, ShutdownRoutine routine) {
  if (list.count >= ShutdownList::kCapacity) return false;
  list.routines[list.count++] = routine;
  return true;
}

void RunShutdownList(ShutdownList& list) {
  // Emptied before running, so a routine that ends up here again runs nothing twice.
  const int count = list.count;
  list.count = 0;
  for (int i = 0; i < count; ++i) {
    list.routines[i]();
    ++list.routinesRun;
  }
}
