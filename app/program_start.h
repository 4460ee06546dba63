// The life of the process: start-up, the message loop, shut-down.
#pragma once

#include <windows.h>

#include "ui/event_table.h"

// Exit code when the main window cannot be created (all 32 bits set).
constexpr int kStartFailureExitCode = -1;

// Start-up, loop and shut-down in order:
//  1. the current directory becomes the executable's folder;
//  2. the floating-point environment is set;
//  3. the result store is created empty and lent to the compute command;
//  4. the main window is created and shown;
//  5. the message loop runs until the quit message;
//  6. the store is taken back and released, and the quit message's code (0) is
//     returned.
// When the main window cannot be created the error box is shown and
// kStartFailureExitCode returned at once.
int RunProgram(HINSTANCE instance);

// The program's event wiring: creation finished -> OnMainWindowCreated; 按钮1 clicked,
// and an item chosen in 组合框1 or 组合框2 -> ComputeCommand. Nothing else is bound.
EventTable MainWindowEventTable();

// Sets the current directory to the folder of the running executable; false on failure.
bool EnterExecutableFolder();

// The box of a failed start: no owner, caption "错误", error icon and OK (0x10), text
// beginning "运行时出错!" and naming "载入启动窗口失败" after "错误信息：".
void ShowStartFailure();
