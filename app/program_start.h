// The life of the process: start-up, the message loop, shut-down.
#pragma once

#include <windows.h>

#include "app/shutdown_list.h"

// Exit code when the main window cannot be created (all 32 bits set).
constexpr int kStartFailureExitCode = -1;

// Start-up, loop and shut-down in order:
//  1. the current directory becomes the executable's folder;
//  2. the floating-point environment is set;
//  3. candidateList is created empty;
//  4. its release is registered in shutdown;
//  5. the main window is created and shown;
//  6. the message loop runs until the quit message;
//  7. shutdown runs, and the quit message's code (0) is returned.
// When the main window cannot be created the error box is shown and
// kStartFailureExitCode returned at once, shutdown not run.
int RunProgram(HINSTANCE instance, ShutdownList& shutdown);

// Sets the current directory to the folder of the running executable; false on failure.
bool EnterExecutableFolder();

// The box of a failed start: no owner, caption "错误", error icon and OK (0x10), text
// beginning "运行时出错!" and naming "载入启动窗口失败" after "错误信息：".
void ShowStartFailure();
