// The selectors after start-up, their operations, and the event wiring: a user's
// choice in a selector runs the compute command once the selector has finished its
// own update; setting a selection from code and typing run nothing.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/compute_command.h"
#include "app/program_start.h"
#include "tests/win/win_test_support.h"
#include "ui/selector_win.h"

namespace {

// What each run of the (stand-in) compute command saw.
struct ComputeRun {
  int samplePointIndex;
  int toleranceIndex;
};
std::vector<ComputeRun> computeRuns;
void RecordCompute(MainWindow& window) {
  computeRuns.push_back({GetSelectorSelection(ControlHandle(window, kComboBox1)),
                         GetSelectorSelection(ControlHandle(window, kComboBox2))});
}
void Created(MainWindow& window) { OnMainWindowCreated(window); }
const EventBinding kRecordingEvents[] = {
    {kMainWindowSource, WindowEvent::kCreationFinished, Created},
    {kButton1, WindowEvent::kClicked, RecordCompute},
    {kComboBox1, WindowEvent::kItemChosen, RecordCompute},
    {kComboBox2, WindowEvent::kItemChosen, RecordCompute},
};
const EventTable kRecordingTable = {kRecordingEvents, 4};

class SelectorEvents : public testing::Test {
 protected:
  void SetUp() override { computeRuns.clear(); }
};

int ItemCount(HWND selector) { return static_cast<int>(SendMessageW(selector, CB_GETCOUNT, 0, 0)); }

// Drops the list of the focused selector and picks with the keyboard, as a user does.
void PickWithKeyboard(HWND selector, int downPresses) {
  SetFocus(selector);
  SendMessageW(selector, CB_SHOWDROPDOWN, TRUE, 0);
  PumpMessages();
  for (int i = 0; i < downPresses; ++i) PressKey(VK_DOWN);
  PressKey(VK_RETURN);
}

TEST(ProgramEventTable, BindsTheFourEvents) {
  const EventTable table = MainWindowEventTable();
  EXPECT_EQ(table.count, 4);
  EXPECT_EQ(FindEventHandler(table, kMainWindowSource, WindowEvent::kCreationFinished),
            &OnMainWindowCreated);
  EXPECT_EQ(FindEventHandler(table, kButton1, WindowEvent::kClicked), &ComputeCommand);
  EXPECT_EQ(FindEventHandler(table, kComboBox1, WindowEvent::kItemChosen), &ComputeCommand);
  EXPECT_EQ(FindEventHandler(table, kComboBox2, WindowEvent::kItemChosen), &ComputeCommand);
  EXPECT_EQ(FindEventHandler(table, kComboBox1, WindowEvent::kClicked), nullptr);
}

TEST_F(SelectorEvents, AfterStartUp) {
  TestMainWindow window(kRecordingTable);
  HWND tolerance = window.control(kComboBox2);
  HWND samplePoint = window.control(kComboBox1);
  const char* const toleranceItems[] = {"==0%", "<=1%", "<=2%", "<=3%", "<=4%", "<=5%",
                                        "<=6%", "<=7%", "<=8%", "<=9%", "<=10%"};
  ASSERT_EQ(ItemCount(tolerance), 11);
  for (int i = 0; i < 11; ++i) EXPECT_EQ(SelectorItemText(tolerance, i), toleranceItems[i]);
  EXPECT_EQ(GetSelectorSelection(tolerance), 0);
  EXPECT_EQ(TextOf(tolerance), "==0%");

  const char* const samplePointItems[] = {">=40%", ">=50%", ">=60%", ">=70%", ">=80%"};
  ASSERT_EQ(ItemCount(samplePoint), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(SelectorItemText(samplePoint, i), samplePointItems[i]);
  EXPECT_EQ(GetSelectorSelection(samplePoint), 0);
  EXPECT_EQ(TextOf(samplePoint), ">=40%");

  EXPECT_EQ(TextOf(window.control(kEdit1)), "42");
  EXPECT_EQ(TextOf(window.control(kEdit2)), "500");
  // Neither the creation handler nor the initial selections computed anything.
  EXPECT_TRUE(computeRuns.empty());
}

TEST_F(SelectorEvents, BeforeTheCreationHandlerRuns) {
  // With nothing bound to creation: 组合框1 has item 0 selected but shows nothing,
  // 组合框2 is empty.
  const EventTable none = {nullptr, 0};
  TestMainWindow window(none);
  EXPECT_EQ(GetSelectorSelection(window.control(kComboBox1)), 0);
  EXPECT_EQ(TextOf(window.control(kComboBox1)), "");
  EXPECT_EQ(ItemCount(window.control(kComboBox2)), 0);
  EXPECT_EQ(GetSelectorSelection(window.control(kComboBox2)), -1);
}

TEST_F(SelectorEvents, SelectionRulesOnTheLiveControl) {
  TestMainWindow window(kRecordingTable);
  HWND tolerance = window.control(kComboBox2);
  HWND samplePoint = window.control(kComboBox1);
  struct Case {
    HWND selector;
    int set;
    int expected;
    const char* shown;
  };
  const Case cases[] = {
      {tolerance, 5, 5, "<=5%"},      {tolerance, 10, 10, "<=10%"},
      {tolerance, 11, 10, "<=10%"},   {tolerance, 500, 10, "<=10%"},
      {tolerance, -1, -1, ""},        {tolerance, 3, 3, "<=3%"},
      {tolerance, -7, -1, ""},        {samplePoint, 2, 2, ">=60%"},
      {samplePoint, 5, 4, ">=80%"},   {samplePoint, -1, -1, ""},
      {samplePoint, 0, 0, ">=40%"},
  };
  for (const Case& c : cases) {
    SetSelectorSelection(c.selector, c.set);
    EXPECT_EQ(GetSelectorSelection(c.selector), c.expected) << c.set;
    EXPECT_EQ(TextOf(c.selector), c.shown) << c.set;
  }
  PumpMessages();
  EXPECT_TRUE(computeRuns.empty()) << "setting a selection from code raised an event";

  ClearSelector(tolerance);
  EXPECT_EQ(ItemCount(tolerance), 0);
  EXPECT_EQ(GetSelectorSelection(tolerance), -1);
  SetSelectorSelection(tolerance, 0);
  EXPECT_EQ(GetSelectorSelection(tolerance), -1);
  FillToleranceSelector(window.control(kComboBox2), window.control(kComboBox1));
  PumpMessages();
  EXPECT_EQ(ItemCount(tolerance), 11);
  EXPECT_TRUE(computeRuns.empty());
}

TEST_F(SelectorEvents, ChoosingAToleranceComputesWithTheNewIndex) {
  TestMainWindow window(kRecordingTable);
  PickWithKeyboard(window.control(kComboBox2), 5);
  ASSERT_EQ(computeRuns.size(), 1u);
  EXPECT_EQ(computeRuns[0].toleranceIndex, 5);
  EXPECT_EQ(computeRuns[0].samplePointIndex, 0);
  EXPECT_EQ(TextOf(window.control(kComboBox2)), "<=5%");
  // Choosing the item that is already selected computes again.
  PickWithKeyboard(window.control(kComboBox2), 0);
  ASSERT_EQ(computeRuns.size(), 2u);
  EXPECT_EQ(computeRuns[1].toleranceIndex, 5);
}

TEST_F(SelectorEvents, ChoosingASamplePointComputesWithTheNewIndex) {
  TestMainWindow window(kRecordingTable);
  PickWithKeyboard(window.control(kComboBox1), 4);
  ASSERT_EQ(computeRuns.size(), 1u);
  EXPECT_EQ(computeRuns[0].samplePointIndex, 4);
  EXPECT_EQ(computeRuns[0].toleranceIndex, 0);
  EXPECT_EQ(TextOf(window.control(kComboBox1)), ">=80%");
}

TEST_F(SelectorEvents, TheHandlerRunsAfterTheNotificationHasReturned) {
  TestMainWindow window(kRecordingTable);
  HWND tolerance = window.control(kComboBox2);
  SetSelectorSelection(tolerance, 7);
  // What the selector sends its parent when the user accepts a choice.
  SendMessageW(window.handle(), WM_COMMAND,
               MAKEWPARAM(kFirstControlWindowId + kComboBox2, CBN_SELENDOK),
               reinterpret_cast<LPARAM>(tolerance));
  EXPECT_TRUE(computeRuns.empty()) << "ran inside the notification";
  PumpMessages();
  ASSERT_EQ(computeRuns.size(), 1u);
  EXPECT_EQ(computeRuns[0].toleranceIndex, 7);
  // The same accepted choice again still computes.
  SendMessageW(window.handle(), WM_COMMAND,
               MAKEWPARAM(kFirstControlWindowId + kComboBox2, CBN_SELENDOK),
               reinterpret_cast<LPARAM>(tolerance));
  PumpMessages();
  EXPECT_EQ(computeRuns.size(), 2u);
}

TEST_F(SelectorEvents, OtherNotificationsRunNothing) {
  TestMainWindow window(kRecordingTable);
  for (ControlId id : {kComboBox1, kComboBox2}) {
    for (WORD code : {CBN_SELCHANGE, CBN_SELENDCANCEL, CBN_DROPDOWN, CBN_CLOSEUP, CBN_EDITCHANGE,
                      CBN_EDITUPDATE, CBN_SETFOCUS, CBN_KILLFOCUS}) {
      SendMessageW(window.handle(), WM_COMMAND, MAKEWPARAM(kFirstControlWindowId + id, code),
                   reinterpret_cast<LPARAM>(window.control(id)));
    }
  }
  // Clicked is the button's event, not the selectors' or a label's.
  SendMessageW(window.handle(), WM_COMMAND, MAKEWPARAM(kFirstControlWindowId + kComboBox2, BN_CLICKED),
               reinterpret_cast<LPARAM>(window.control(kComboBox2)));
  SendMessageW(window.handle(), WM_COMMAND, MAKEWPARAM(kFirstControlWindowId + kLabel1, BN_CLICKED), 0);
  SendMessageW(window.handle(), WM_COMMAND, MAKEWPARAM(9999, CBN_SELENDOK), 0);
  PumpMessages();
  EXPECT_TRUE(computeRuns.empty());
}

TEST_F(SelectorEvents, TypingIntoTheSamplePointFieldRunsNothing) {
  TestMainWindow window(kRecordingTable);
  SetFocus(window.control(kComboBox1));
  HWND field = GetFocus();
  for (wchar_t c : std::wstring(L"55%")) {
    PostMessageW(field, WM_CHAR, c, 1);
  }
  PumpMessages();
  EXPECT_NE(TextOf(window.control(kComboBox1)).find("55%"), std::string::npos);
  EXPECT_TRUE(computeRuns.empty());
}

TEST_F(SelectorEvents, ClickingTheButtonComputes) {
  TestMainWindow window(kRecordingTable);
  SendMessageW(window.control(kButton1), BM_CLICK, 0, 0);
  PumpMessages();
  ASSERT_EQ(computeRuns.size(), 1u);
  EXPECT_EQ(computeRuns[0].samplePointIndex, 0);
  EXPECT_EQ(computeRuns[0].toleranceIndex, 0);
}

TEST(EditFields, ReadBackAsGbk) {
  TestMainWindow window;
  // "３６" in full-width digits and a CJK character: GBK A3 B3 A3 B6 and D6 D0 (中).
  SetWindowTextW(window.control(kEdit1), L"\xFF13\xFF16\x4E2D");
  EXPECT_EQ(TextOf(window.control(kEdit1)), "\xA3\xB3\xA3\xB6\xD6\xD0");
  SetWindowTextW(window.control(kEdit2), L"");
  EXPECT_EQ(TextOf(window.control(kEdit2)), "");
}

}  // namespace
