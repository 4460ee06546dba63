// The keyboard as the user meets it: the tab order walked with real key messages
// through the program's keyboard step, Esc closing from every control, Enter doing
// nothing, and where the focus goes when the window is activated.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "tests/win/win_test_support.h"

namespace {

int computeRuns = 0;
void CountCompute(MainWindow&) { ++computeRuns; }
void Created(MainWindow& window) { OnMainWindowCreated(window); }
const EventBinding kCountingEvents[] = {
    {kMainWindowSource, WindowEvent::kCreationFinished, Created},
    {kButton1, WindowEvent::kClicked, CountCompute},
    {kComboBox1, WindowEvent::kItemChosen, CountCompute},
    {kComboBox2, WindowEvent::kItemChosen, CountCompute},
};
const EventTable kCountingTable = {kCountingEvents, 4};

// A plain top-level window of the test, to take the activation away.
HWND CreateOtherWindow() {
  static const wchar_t kClass[] = L"QuillmereTestOtherWindow";
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = TestInstance();
  windowClass.lpszClassName = kClass;
  RegisterClassW(&windowClass);
  HWND other = CreateWindowExW(0, kClass, L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200,
                               100, nullptr, nullptr, TestInstance(), nullptr);
  return other;
}

void Activate(HWND window) {
  SetForegroundWindow(window);
  SetActiveWindow(window);
  PumpMessages();
}

TEST(Focus, FirstActivationGoesToTheResultTable) {
  TestMainWindow window;
  EXPECT_EQ(GetActiveWindow(), window.handle());
  EXPECT_EQ(FocusedControl(window.state()), kResultTable);
}

TEST(TabKey, WalksForwardThroughTheTabOrder) {
  TestMainWindow window;
  SetFocus(window.control(kEdit1));
  const ControlId expected[] = {kEdit2, kComboBox1, kComboBox2, kButton1, kResultTable};
  for (ControlId id : expected) {
    PressKey(VK_TAB);
    EXPECT_EQ(FocusedControl(window.state()), id);
  }
  // The result table claims Tab: it stays there.
  PressKey(VK_TAB);
  EXPECT_EQ(FocusedControl(window.state()), kResultTable);
}

TEST(TabKey, ShiftTabWalksBackwardAndLeavesTheTable) {
  TestMainWindow window;
  SetFocus(window.control(kEdit1));
  const ControlId expected[] = {kResultTable, kButton1, kComboBox2, kComboBox1, kEdit2, kEdit1};
  for (ControlId id : expected) {
    PressKey(VK_TAB, true);
    EXPECT_EQ(FocusedControl(window.state()), id);
  }
}

TEST(TabKey, FromTheEditableSelectorsFieldCountsAsTheSelector) {
  TestMainWindow window;
  SetFocus(window.control(kComboBox1));
  // The focus sits in the selector's own edit field, a grandchild of the window.
  ASSERT_NE(GetFocus(), window.control(kComboBox1));
  ASSERT_EQ(GetParent(GetFocus()), window.control(kComboBox1));
  PressKey(VK_TAB);
  EXPECT_EQ(FocusedControl(window.state()), kComboBox2);
  SetFocus(window.control(kComboBox1));
  PressKey(VK_TAB, true);
  EXPECT_EQ(FocusedControl(window.state()), kEdit2);
}

TEST(TabKey, SkipsADisabledControl) {
  TestMainWindow window;
  EnableWindow(window.control(kEdit2), FALSE);
  SetFocus(window.control(kEdit1));
  PressKey(VK_TAB);
  EXPECT_EQ(FocusedControl(window.state()), kComboBox1);
}

TEST(TabKey, ThroughRealKeyboardInput) {
  TestMainWindow window;
  Activate(window.handle());
  SetFocus(window.control(kEdit1));
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[1].ki.wVk = VK_TAB;
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ASSERT_EQ(SendInput(2, inputs, sizeof(INPUT)), 2u);
  for (int i = 0; i < 20 && FocusedControl(window.state()) == kEdit1; ++i) {
    Sleep(10);
    PumpMessages();
  }
  EXPECT_EQ(FocusedControl(window.state()), kEdit2);
}

TEST(EscapeKey, ClosesTheWindowFromEveryControl) {
  for (ControlId id : {kResultTable, kEdit1, kEdit2, kComboBox1, kComboBox2, kButton1}) {
    SCOPED_TRACE(testing::Message() << "control " << id);
    TestMainWindow window;
    SetWindowTextW(window.control(kEdit1), L"");  // whatever the inputs hold
    SetFocus(window.control(id));
    ASSERT_EQ(FocusedControl(window.state()), id);
    PressKey(VK_ESCAPE);
    EXPECT_FALSE(IsWindow(window.handle()));
  }
}

TEST(EscapeKey, GoesThroughTheCloseCommand) {
  // A window whose close is refused must stay: Esc takes the WM_CLOSE path, it does
  // not destroy the window behind the program's back.
  TestMainWindow window;
  static bool closeSeen = false;
  closeSeen = false;
  const WNDPROC original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window.handle(), GWLP_WNDPROC));
  static WNDPROC chained = nullptr;
  chained = original;
  SetWindowLongPtrW(window.handle(), GWLP_WNDPROC,
                    reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
                      if (m == WM_CLOSE) {
                        closeSeen = true;
                        return 0;
                      }
                      return CallWindowProcW(chained, h, m, w, l);
                    }));
  SetFocus(window.control(kEdit1));
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(closeSeen);
  EXPECT_TRUE(IsWindow(window.handle()));
  SetWindowLongPtrW(window.handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
}

TEST(EnterKey, NeitherComputesNorMovesTheFocus) {
  computeRuns = 0;
  TestMainWindow window(kCountingTable);
  for (ControlId id : {kEdit1, kEdit2, kButton1, kComboBox2}) {
    SetFocus(window.control(id));
    PressKey(VK_RETURN);
    EXPECT_EQ(FocusedControl(window.state()), id);
  }
  EXPECT_EQ(computeRuns, 0);
  EXPECT_EQ(TextOf(window.control(kEdit1)), "42");
  EXPECT_TRUE(IsWindow(window.handle()));
}

TEST(Focus, ReturnsToTheRememberedControlOnReactivation) {
  TestMainWindow window;
  SetFocus(window.control(kEdit2));
  HWND other = CreateOtherWindow();
  Activate(other);
  ASSERT_EQ(GetActiveWindow(), other);
  Activate(window.handle());
  EXPECT_EQ(FocusedControl(window.state()), kEdit2);
  // Once more: the memory is renewed on each deactivation.
  SetFocus(window.control(kComboBox1));
  Activate(other);
  Activate(window.handle());
  EXPECT_EQ(FocusedControl(window.state()), kComboBox1);
  DestroyWindow(other);
}

TEST(Focus, WithTheRememberedControlGoneTheScanDecides) {
  TestMainWindow window;
  SetFocus(window.control(kEdit2));
  HWND other = CreateOtherWindow();
  Activate(other);
  DestroyWindow(window.control(kEdit2));
  Activate(window.handle());
  EXPECT_EQ(FocusedControl(window.state()), kResultTable);
  DestroyWindow(other);
}

TEST(Focus, MinimisingAndRestoringKeepsTheLayout) {
  TestMainWindow window;
  RECT before;
  GetWindowRect(window.control(kComboBox2), &before);
  ShowWindow(window.handle(), SW_MINIMIZE);
  PumpMessages();
  ShowWindow(window.handle(), SW_RESTORE);
  PumpMessages();
  RECT after;
  GetWindowRect(window.control(kComboBox2), &after);
  EXPECT_TRUE(EqualRect(&before, &after));
  RECT outer;
  GetWindowRect(window.handle(), &outer);
  EXPECT_EQ(outer.right - outer.left, 800);
  EXPECT_EQ(outer.bottom - outer.top, 481);
}

}  // namespace
