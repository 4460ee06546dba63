// The routines to run once at normal exit, in the order they were registered.
#pragma once

using ShutdownRoutine = void (*)();

struct ShutdownList {
  static constexpr int kCapacity = 8;
  ShutdownRoutine routines[kCapacity] = {};
  int count = 0;
  int routinesRun = 0;  // how many routines have run so far, over the list's life
};

// Appends routine; false (and nothing registered) when the list is full.
bool RegisterShutdownRoutine(ShutdownList& list, ShutdownRoutine routine);
// Runs every registered routine once, in order, and empties the list, so a second call
// runs nothing.
void RunShutdownList(ShutdownList& list);
