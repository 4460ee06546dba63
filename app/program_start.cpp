#include "app/program_start.h"

#include <string>

#include "app/compute_command.h"
#include "app/message_loop.h"
#include "calc/fp_environment.h"
#include "calc/timing.h"
#include "ui/gbk_win.h"
#include "ui/main_window_win.h"

namespace {
// "错误"
constexpr const char* kErrorCaption = "\xB4\xED\xCE\xF3";
// "运行时出错!\r\n\r\n错误信息：载入启动窗口失败"
constexpr const char* kStartFailureText =
    "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n"
    "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA"
    "\xD4\xD8\xC8\xEB\xC6\xF4\xB6\xAF\xB4\xB0\xBF\xDA\xCA\xA7\xB0\xDC";
constexpr int32_t kErrorBoxFlags = MB_OK | MB_ICONERROR;  // 0x10

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

bool EnterExecutableFolder() {
  // Long paths: grow the buffer until the whole name fits.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (length == 0) return false;
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return false;
  // Keep the backslash of a drive root ("C:\"), which SetCurrentDirectory needs.
  path.resize(slash == 2 && path[1] == L':' ? slash + 1 : slash);
  return SetCurrentDirectoryW(path.c_str()) != FALSE;
}

void ShowStartFailure() {
  // Not through ShowMessage: this box is application-modal with no owner, not
  // task-modal.
  MessageBoxW(nullptr, GbkToWide(kStartFailureText).c_str(), GbkToWide(kErrorCaption).c_str(),
              kErrorBoxFlags);
}

int RunProgram(HINSTANCE instance) {
  EnterExecutableFolder();
  SetFloatEnvironment();
  // The result store lives from here to the end of this routine; the compute command
  // borrows it while the window lives.
  CandidateList store;
  UseCandidateStore(&store);

  HWND mainWindow = CreateMainWindow(instance, MainWindowEventTable());
  if (mainWindow == nullptr) {
    UseCandidateStore(nullptr);
    ShowStartFailure();
    return kStartFailureExitCode;
  }
  ShowWindow(mainWindow, SW_SHOWNORMAL);
  UpdateWindow(mainWindow);

  const int exitCode = RunMessageLoop(mainWindow);
  // Shut-down: every record goes with the store, in position order.
  UseCandidateStore(nullptr);
  return exitCode;
}
