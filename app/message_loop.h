// The message loop: retrieve, pass the main window's keyboard step, translate,
// dispatch; until the quit message.
#pragma once

#include <windows.h>

// Runs the loop for the program whose only window is mainWindow; returns the quit
// message's code. Skipped (returns 0 at once) when mainWindow does not exist when the
// loop starts. The quit message (code 0) is posted as soon as mainWindow, the last
// window of the program, has been destroyed.
int RunMessageLoop(HWND mainWindow);

// Handles one message taken from the queue: the keyboard step, then translation and
// dispatch unless the step has taken it.
void HandleQueuedMessage(const MSG& message);
