// The life of the program: start-up, loop and shut-down run in-process and as a real
// process, the start-failure box, and ShowMessage's box.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/message_box_and_focus.h"
#include "app/message_loop.h"
#include "app/program_start.h"
#include "calc/fp_environment.h"
#include "tests/win/win_test_support.h"
#include "ui/gbk_win.h"

namespace {

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

// A message box as the user saw it, caught by a CBT hook and closed with OK.
struct SeenBox {
  int count = 0;
  std::string caption;  // GBK
  std::string text;     // GBK
  HWND owner = nullptr;
  DWORD exStyle = 0;
  bool ownerEnabled = true;
  bool hasCancel = false;
  bool hasIcon = false;
};
SeenBox seenBox;
HWND boxOwnerToWatch = nullptr;  // a window that task-modality disables
bool refuseMainWindow = false;    // make the main window's creation fail
bool closeMainWindowWhenActive = false;

LRESULT CALLBACK WatchWindows(int code, WPARAM wParam, LPARAM lParam) {
  HWND window = reinterpret_cast<HWND>(wParam);
  if (code == HCBT_CREATEWND && refuseMainWindow && ClassOf(window) == kMainWindowClassName) {
    return 1;  // refused: CreateWindowEx fails
  }
  if (code == HCBT_ACTIVATE && ClassOf(window) == L"#32770") {
    ++seenBox.count;
    seenBox.caption = WindowTextGbk(window).get();
    seenBox.text = WindowTextGbk(GetDlgItem(window, 0xFFFF)).get();
    seenBox.owner = GetWindow(window, GW_OWNER);
    seenBox.exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    seenBox.ownerEnabled = boxOwnerToWatch ? IsWindowEnabled(boxOwnerToWatch) != FALSE : true;
    // The box itself is not shown yet: look at the controls' own WS_VISIBLE.
    auto shown = [window](int id) {
      HWND control = GetDlgItem(window, id);
      return control != nullptr && (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0;
    };
    seenBox.hasCancel = shown(IDCANCEL);
    seenBox.hasIcon = shown(0x0440) &&  // the box's icon control, holding an icon
                      SendDlgItemMessageW(window, 0x0440, STM_GETICON, 0, 0) != 0;
    PostMessageW(window, WM_COMMAND, IDOK, 0);
  }
  if (code == HCBT_ACTIVATE && closeMainWindowWhenActive && ClassOf(window) == kMainWindowClassName) {
    PostMessageW(window, WM_CLOSE, 0, 0);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

class WithHook : public testing::Test {
 protected:
  void SetUp() override {
    seenBox = SeenBox();
    boxOwnerToWatch = nullptr;
    refuseMainWindow = false;
    closeMainWindowWhenActive = false;
    hook_ = SetWindowsHookExW(WH_CBT, WatchWindows, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook_, nullptr);
  }
  void TearDown() override {
    UnhookWindowsHookEx(hook_);
    PumpMessages();
  }
  HHOOK hook_ = nullptr;
};

// "信息："
const char* const kInfoCaption = "\xD0\xC5\xCF\xA2\xA3\xBA";

TEST(ShowMessageFlags, TaskModalUnlessSystemModal) {
  struct Case {
    int32_t given, passed;
  };
  const Case cases[] = {{0, 0x2000},      {0x10, 0x2010},   {0x1000, 0x1000},
                        {0x1010, 0x1010}, {0x2000, 0x2000}, {0x3000, 0x3000},
                        {0x4, 0x2004}};
  for (const Case& c : cases) EXPECT_EQ(MessageBoxFlagsFor(c.given), c.passed) << c.given;
}

TEST_F(WithHook, ShowMessageOwnedByTheWindowWithTheDefaultCaption) {
  TestMainWindow window;
  // "请输入AHB1时钟频率"
  const char* const text = "\xC7\xEB\xCA\xE4\xC8\xEB" "AHB1\xCA\xB1\xD6\xD3\xC6\xB5\xC2\xCA";
  EXPECT_EQ(ShowMessage(text, 0, nullptr, window.handle()), IDOK);
  ASSERT_EQ(seenBox.count, 1);
  EXPECT_EQ(seenBox.caption, kInfoCaption);
  EXPECT_EQ(seenBox.text, text);
  EXPECT_EQ(seenBox.owner, window.handle());
  EXPECT_FALSE(seenBox.hasCancel);
  EXPECT_FALSE(seenBox.hasIcon);
  EXPECT_FALSE(seenBox.exStyle & WS_EX_TOPMOST);
}

TEST_F(WithHook, ShowMessageWithoutOwnerIsTaskModal) {
  TestMainWindow window;
  boxOwnerToWatch = window.handle();
  EXPECT_EQ(ShowMessage("x", 0), IDOK);
  ASSERT_EQ(seenBox.count, 1);
  EXPECT_EQ(seenBox.owner, nullptr);
  EXPECT_EQ(seenBox.caption, kInfoCaption);
  // Task-modal: the thread's other windows take no input while the box is up.
  EXPECT_FALSE(seenBox.ownerEnabled);
  EXPECT_TRUE(IsWindowEnabled(window.handle()));
}

TEST_F(WithHook, ShowMessageSystemModalAndOwnCaption) {
  EXPECT_EQ(ShowMessage("y", MB_SYSTEMMODAL, "\xB4\xED\xCE\xF3"), IDOK);
  ASSERT_EQ(seenBox.count, 1);
  EXPECT_EQ(seenBox.caption, "\xB4\xED\xCE\xF3");  // 错误
  EXPECT_TRUE(seenBox.exStyle & WS_EX_TOPMOST);
}

TEST(InputFocus, MovesTheFocus) {
  TestMainWindow window;
  SetInputFocus(window.control(kEdit2));
  EXPECT_EQ(FocusedControl(window.state()), kEdit2);
  SetInputFocus(window.control(kEdit1));
  EXPECT_EQ(GetFocus(), window.control(kEdit1));
}

TEST_F(WithHook, StartFailureBox) {
  ShowStartFailure();
  ASSERT_EQ(seenBox.count, 1);
  EXPECT_EQ(seenBox.caption, "\xB4\xED\xCE\xF3");  // 错误
  EXPECT_EQ(seenBox.owner, nullptr);
  EXPECT_TRUE(seenBox.hasIcon);
  EXPECT_FALSE(seenBox.hasCancel);
  // Begins "运行时出错!" and names "载入启动窗口失败" after "错误信息：".
  EXPECT_EQ(seenBox.text.rfind("\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!", 0), 0u) << seenBox.text;
  EXPECT_NE(seenBox.text.find("\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA"
                              "\xD4\xD8\xC8\xEB\xC6\xF4\xB6\xAF\xB4\xB0\xBF\xDA\xCA\xA7\xB0\xDC"),
            std::string::npos);
}

std::wstring FolderOf(const std::wstring& path) {
  return path.substr(0, path.find_last_of(L"\\/"));
}

TEST_F(WithHook, RunProgramStartsLoopsAndShutsDownOnce) {
  wchar_t elsewhere[MAX_PATH];
  GetTempPathW(MAX_PATH, elsewhere);
  SetCurrentDirectoryW(elsewhere);
  closeMainWindowWhenActive = true;

  EXPECT_EQ(RunProgram(TestInstance()), 0);
  EXPECT_TRUE(FloatEnvironmentIsSet());
  EXPECT_EQ(FindWindowW(kMainWindowClassName, nullptr), nullptr);

  wchar_t exe[MAX_PATH], current[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  GetCurrentDirectoryW(MAX_PATH, current);
  EXPECT_EQ(lstrcmpiW(FolderOf(exe).c_str(), current), 0);
  EXPECT_EQ(seenBox.count, 0);
}

TEST_F(WithHook, RunProgramWithoutAWindowReportsAndReturnsMinusOne) {
  refuseMainWindow = true;
  EXPECT_EQ(RunProgram(TestInstance()), -1);
  EXPECT_EQ(seenBox.count, 1);
  EXPECT_EQ(seenBox.caption, "\xB4\xED\xCE\xF3");
}

TEST(MessageLoop, SkippedWithoutAWindow) {
  EXPECT_EQ(RunMessageLoop(nullptr), 0);
  TestMainWindow window;
  HWND gone = window.handle();
  DestroyWindow(gone);
  EXPECT_EQ(RunMessageLoop(gone), 0);
}

// quillmere.exe started as a process: its window appears, and closing it one of the
// user's ways ends the process with exit code 0.
class ProgramProcess : public testing::Test {
 protected:
  void SetUp() override {
    std::string path = QUILLMERE_EXE_PATH;
    if (!path.empty() && path[0] == '/') path = "Z:" + path;  // a Unix path under Wine
    for (char& c : path) {
      if (c == '/') c = '\\';
    }
    std::wstring command = L"\"" + std::wstring(path.begin(), path.end()) + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    ASSERT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process_))
        << GetLastError();
    WaitForInputIdle(process_.hProcess, 20000);
    for (int i = 0; i < 200 && window_ == nullptr; ++i) {
      for (HWND found = FindWindowExW(nullptr, nullptr, kMainWindowClassName, nullptr); found;
           found = FindWindowExW(nullptr, found, kMainWindowClassName, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(found, &owner);
        if (owner == process_.dwProcessId && IsWindowVisible(found)) window_ = found;
      }
      if (window_ == nullptr) Sleep(50);
    }
    ASSERT_NE(window_, nullptr) << "the program's window did not appear";
  }
  void TearDown() override {
    if (process_.hProcess) {
      if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 99);
      }
      CloseHandle(process_.hThread);
      CloseHandle(process_.hProcess);
    }
  }
  DWORD ExitCodeAfterClose() {
    if (WaitForSingleObject(process_.hProcess, 20000) != WAIT_OBJECT_0) return 12345;
    DWORD code = 12345;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
  }
  PROCESS_INFORMATION process_ = {};
  HWND window_ = nullptr;
};

TEST_F(ProgramProcess, ClosesWithExitCodeZero) {
  wchar_t title[32] = {};
  GetWindowTextW(window_, title, 32);
  EXPECT_STREQ(title, L"Quillmere");
  PostMessageW(window_, WM_CLOSE, 0, 0);
  EXPECT_EQ(ExitCodeAfterClose(), 0u);
}

TEST_F(ProgramProcess, SystemMenuCloseEndsIt) {
  PostMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(ExitCodeAfterClose(), 0u);
}

TEST_F(ProgramProcess, EscapeThroughItsOwnMessageLoopEndsIt) {
  // The key lands in the program's queue; its loop's keyboard step closes the window.
  HWND table = FindWindowExW(window_, nullptr, L"QuillmereResultTable", nullptr);
  ASSERT_NE(table, nullptr);
  PostMessageW(table, WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_EQ(ExitCodeAfterClose(), 0u);
}

}  // namespace
