// The compute command driven as a user drives it: typing into the fields, picking
// selector items, clicking "计算", then reading the table back through Ctrl+A, Ctrl+C
// and the real clipboard, and the message boxes through a CBT hook.
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/compute_command.h"
#include "calc/candidate_cells.h"
#include "calc/fp_environment.h"
#include "calc/text.h"
#include "calc/timing.h"
#include "tests/win/win_test_support.h"
#include "ui/gbk_win.h"
#include "ui/result_table_win.h"
#include "ui/selector_win.h"

namespace {

// "请输入AHB1时钟频率", "请输入CAN波特率", "信息："
const char* const kClockMissing = "\xC7\xEB\xCA\xE4\xC8\xEB" "AHB1" "\xCA\xB1\xD6\xD3\xC6\xB5\xC2\xCA";
const char* const kRateMissing = "\xC7\xEB\xCA\xE4\xC8\xEB" "CAN" "\xB2\xA8\xCC\xD8\xC2\xCA";
const char* const kInfoCaption = "\xD0\xC5\xCF\xA2\xA3\xBA";

// The message boxes the command showed, caught as they activate and closed with OK.
struct SeenBox {
  std::string caption;
  std::string text;
  HWND owner = nullptr;
  bool hasCancel = false;
  bool hasIcon = false;
};
std::vector<SeenBox> seenBoxes;

LRESULT CALLBACK WatchBoxes(int code, WPARAM wParam, LPARAM lParam) {
  HWND window = reinterpret_cast<HWND>(wParam);
  wchar_t name[16] = {};
  if (code == HCBT_ACTIVATE && GetClassNameW(window, name, 16) && std::wstring(name) == L"#32770") {
    auto shown = [window](int id) {
      HWND control = GetDlgItem(window, id);
      return control != nullptr && (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0;
    };
    SeenBox box;
    box.caption = WindowTextGbk(window).get();
    box.text = WindowTextGbk(GetDlgItem(window, 0xFFFF)).get();
    box.owner = GetWindow(window, GW_OWNER);
    box.hasCancel = shown(IDCANCEL);
    box.hasIcon = shown(0x0440) && SendDlgItemMessageW(window, 0x0440, STM_GETICON, 0, 0) != 0;
    seenBoxes.push_back(box);
    PostMessageW(window, WM_COMMAND, IDOK, 0);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The rows the table must show for a search: the shared record-to-cells step over a
// search of its own, joined as the copy command joins them.
std::string ExpectedRows(int32_t clockKHz, float rate, int32_t tolerance, float minSamplePoint) {
  CandidateList store;
  BitTimingSearch(store, clockKHz, rate, tolerance, minSamplePoint);
  std::string text;
  CandidateCells cells;
  for (int32_t r = 1; r <= CandidateCount(store); ++r) {
    MakeCandidateCells(CandidateAt(store, r), cells);
    char rate[kMaxNumberText];
    const std::string rateText(rate, static_cast<size_t>(FormatFloat(cells.actualRate, rate)));
    if (r > 1) text += "\r\n";
    text += std::string(cells.bs1.bytes) + '\t' + cells.bs2.bytes + '\t' + cells.prescaler.bytes +
            '\t' + cells.samplePoint.bytes + '\t' + rateText + '\t' + cells.errorPercent.bytes;
  }
  return text;
}

int LineCount(const std::string& text) {
  if (text.empty() || text == "<none>") return 0;
  int lines = 1;
  for (char c : text) lines += c == '\n';
  return lines;
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find("\r\n")); }
std::string LastLine(const std::string& text) {
  const size_t end = text.rfind("\r\n");
  return end == std::string::npos ? text : text.substr(end + 2);
}

class ComputeCommandTest : public testing::Test {
 protected:
  void SetUp() override {
    SetFloatEnvironment();
    UseCandidateStore(&store_);
    seenBoxes.clear();
    hook_ = SetWindowsHookExW(WH_CBT, WatchBoxes, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook_, nullptr);
    ASSERT_NE(window_.handle(), nullptr);
  }
  void TearDown() override {
    UnhookWindowsHookEx(hook_);
    PumpMessages();
    UseCandidateStore(nullptr);
  }

  HWND control(ControlId id) const { return window_.control(id); }
  ResultTable& table() const { return *ResultTableOf(control(kResultTable)); }

  // Types the two fields, then clicks "计算".
  void Compute(const std::wstring& clock, const std::wstring& rate) {
    TypeInto(control(kEdit1), clock);
    TypeInto(control(kEdit2), rate);
    ClickCompute();
  }
  void ClickCompute() {
    SendMessageW(control(kButton1), BM_CLICK, 0, 0);
    PumpMessages();
  }
  std::string CopiedRows() {
    const ClipboardText copied = CopyWholeTable(control(kResultTable));
    // Both formats carry the same rows: the wide one is the GBK one through code page 936.
    EXPECT_EQ(copied.wide, copied.bytes == "<none>" ? L"<none>" : GbkToWide(copied.bytes.c_str()));
    return copied.bytes;
  }

  CandidateList store_;
  TestMainWindow window_;
  HHOOK hook_ = nullptr;
};

TEST_F(ComputeCommandTest, PresetInputsGiveThirtyRows) {
  SetFocus(control(kButton1));  // where a click on "计算" leaves it
  ClickCompute();
  EXPECT_TRUE(seenBoxes.empty());
  EXPECT_EQ(GetFocus(), control(kButton1));
  EXPECT_EQ(RowCount(table()), 31);
  EXPECT_EQ(CandidateCount(store_), 30);
  const std::string rows = CopiedRows();
  EXPECT_EQ(LineCount(rows), 30);
  EXPECT_EQ(FirstLine(rows), "CAN_BS1_1tq\tCAN_BS2_1tq\t28\t66.6%\t500\t0%");
  EXPECT_EQ(LastLine(rows), "CAN_BS1_12tq\tCAN_BS2_8tq\t4\t61.9%\t500\t0%");
  EXPECT_EQ(rows, ExpectedRows(42000, 500.0f, 0, 0.4f));
  // Column 4 holds the number itself, which the table writes by the float rule.
  EXPECT_EQ(CellAt(table(), 1, 4)->text.view(), "500");
}

TEST_F(ComputeCommandTest, Clock36AtEightyPercent) {
  PickItem(control(kComboBox1), 4);  // ">=80%": computes at once with 42 MHz
  EXPECT_EQ(GetSelectorSelection(control(kComboBox1)), 4);
  Compute(L"36", L"500");
  EXPECT_TRUE(seenBoxes.empty());
  EXPECT_EQ(CopiedRows(),
            "CAN_BS1_4tq\tCAN_BS2_1tq\t12\t83.3%\t500\t0%\r\n"
            "CAN_BS1_6tq\tCAN_BS2_1tq\t9\t87.5%\t500\t0%\r\n"
            "CAN_BS1_7tq\tCAN_BS2_1tq\t8\t88.8%\t500\t0%\r\n"
            "CAN_BS1_10tq\tCAN_BS2_1tq\t6\t91.6%\t500\t0%\r\n"
            "CAN_BS1_16tq\tCAN_BS2_1tq\t4\t94.4%\t500\t0%\r\n"
            "CAN_BS1_9tq\tCAN_BS2_2tq\t6\t83.3%\t500\t0%\r\n"
            "CAN_BS1_15tq\tCAN_BS2_2tq\t4\t88.8%\t500\t0%\r\n"
            "CAN_BS1_14tq\tCAN_BS2_3tq\t4\t83.3%\t500\t0%");
}

TEST_F(ComputeCommandTest, SamplePointsAreCutNotRounded) {
  // 8 MHz, 400 Kbps, ">=80%": three settings sit exactly at 4/5, whose float lies just
  // above 0.8 (80.00000119209 cut to 80.0); 9/10 lies just below (89.9), 17/20 above.
  PickItem(control(kComboBox1), 4);
  Compute(L"8", L"400");
  EXPECT_EQ(CopiedRows(),
            "CAN_BS1_3tq\tCAN_BS2_1tq\t4\t80.0%\t400\t0%\r\n"
            "CAN_BS1_8tq\tCAN_BS2_1tq\t2\t89.9%\t400\t0%\r\n"
            "CAN_BS1_7tq\tCAN_BS2_2tq\t2\t80.0%\t400\t0%\r\n"
            "CAN_BS1_16tq\tCAN_BS2_3tq\t1\t85.0%\t400\t0%\r\n"
            "CAN_BS1_15tq\tCAN_BS2_4tq\t1\t80.0%\t400\t0%");
}

TEST_F(ComputeCommandTest, TypedSamplePointFieldMeansThirtyPercent) {
  TypeInto(control(kComboBox1), L"35%");
  EXPECT_EQ(GetSelectorSelection(control(kComboBox1)), -1);
  ClickCompute();
  const std::string rows = CopiedRows();
  EXPECT_EQ(rows, ExpectedRows(42000, 500.0f, 0, 0.3f));
  // 2/6 lies between 0.3 and 0.4: only the lower minimum lets it in.
  EXPECT_NE(rows.find("CAN_BS1_1tq\tCAN_BS2_4tq\t14\t33.3%\t500\t0%"), std::string::npos);
  EXPECT_GT(LineCount(rows), 30);
  // Picking an item again restores a valid index.
  PickItem(control(kComboBox1), 0);
  EXPECT_EQ(LineCount(CopiedRows()), 30);
}

TEST_F(ComputeCommandTest, EmptyFieldsAreReportedClockFirst) {
  ClickCompute();  // 30 rows that must survive
  struct Case {
    const wchar_t* clock;
    const wchar_t* rate;
    const char* message;
    ControlId focus;
  };
  const Case cases[] = {
      {L"", L"", kClockMissing, kEdit1},
      {L"", L"500", kClockMissing, kEdit1},
      {L"42", L"", kRateMissing, kEdit2},
  };
  for (const Case& c : cases) {
    seenBoxes.clear();
    TypeInto(control(kEdit1), c.clock);
    TypeInto(control(kEdit2), c.rate);
    SetFocus(control(kButton1));  // where a click on "计算" leaves it
    ClickCompute();
    ASSERT_EQ(seenBoxes.size(), 1u) << c.message;
    EXPECT_EQ(seenBoxes[0].text, c.message);
    EXPECT_EQ(seenBoxes[0].caption, kInfoCaption);
    EXPECT_EQ(seenBoxes[0].owner, window_.handle());
    EXPECT_FALSE(seenBoxes[0].hasCancel);
    EXPECT_FALSE(seenBoxes[0].hasIcon);
    EXPECT_EQ(FocusedControl(window_.state()), c.focus) << c.message;
    // Store and table keep the last search.
    EXPECT_EQ(CandidateCount(store_), 30);
    EXPECT_EQ(RowCount(table()), 31);
  }
  // A selector choice checks the fields too.
  seenBoxes.clear();
  TypeInto(control(kEdit1), L"");
  PickItem(control(kComboBox2), 1);
  ASSERT_EQ(seenBoxes.size(), 1u);
  EXPECT_EQ(seenBoxes[0].text, kClockMissing);
  EXPECT_EQ(FocusedControl(window_.state()), kEdit1);
  EXPECT_EQ(RowCount(table()), 31);
}

TEST_F(ComputeCommandTest, SearchesWithoutResultLeaveOnlyTheHeader) {
  struct Case {
    const wchar_t* clock;
    const wchar_t* rate;
  };
  // Blanks are not empty: they read as clock 0, and 0 MHz reaches no rate above 0.
  // 36 MHz hits 333 Kbps exactly with no setting.
  const Case cases[] = {{L"   ", L"500"}, {L"36", L"333"}, {L"abc", L"500"}};
  for (const Case& c : cases) {
    Compute(L"42", L"500");
    ASSERT_EQ(RowCount(table()), 31);
    Compute(c.clock, c.rate);
    EXPECT_TRUE(seenBoxes.empty());
    EXPECT_EQ(RowCount(table()), 1);
    EXPECT_EQ(CandidateCount(store_), 0);
    EXPECT_EQ(CopiedRows(), "<none>");  // nothing to select, nothing copied
  }
}

TEST_F(ComputeCommandTest, EveryFillRepaintsTheTable) {
  // The first fill brings the scroll bar (30 rows do not fit); later fills must still
  // leave the table to repaint, once, when the command has finished.
  HWND tableWindow = control(kResultTable);
  const struct {
    const wchar_t* clock;
    int rows;
  } fills[] = {{L"42", 31}, {L"36", 33}, {L"36", 33}, {L"42", 31}, {L"   ", 1}};
  for (const auto& fill : fills) {
    TypeInto(control(kEdit1), fill.clock);
    PumpMessages();
    ASSERT_FALSE(GetUpdateRect(tableWindow, nullptr, FALSE));
    ComputeCommand(window_.state());
    EXPECT_EQ(RowCount(table()), fill.rows);
    EXPECT_TRUE(GetUpdateRect(tableWindow, nullptr, FALSE)) << "no repaint after a fill";
    UpdateWindow(tableWindow);
    EXPECT_FALSE(GetUpdateRect(tableWindow, nullptr, FALSE));
  }
}

TEST_F(ComputeCommandTest, RunningTwiceGivesTheSameRows) {
  ClickCompute();
  const std::string first = CopiedRows();
  ClickCompute();
  EXPECT_EQ(RowCount(table()), 31);
  EXPECT_EQ(CopiedRows(), first);
}

TEST_F(ComputeCommandTest, ChoosingInEitherSelectorRecomputes) {
  Compute(L"36", L"500");
  EXPECT_EQ(LineCount(CopiedRows()), CandidateCount(store_));
  PickItem(control(kComboBox1), 4);
  EXPECT_EQ(CopiedRows(), ExpectedRows(36000, 500.0f, 0, 0.8f));
  PickItem(control(kComboBox2), 3);  // "<=3%"
  EXPECT_EQ(CopiedRows(), ExpectedRows(36000, 500.0f, 3, 0.8f));
  PickItem(control(kComboBox1), 1);  // ">=50%"
  EXPECT_EQ(CopiedRows(), ExpectedRows(36000, 500.0f, 3, 0.5f));
  EXPECT_TRUE(seenBoxes.empty());
}

TEST_F(ComputeCommandTest, TypedTextsConvertAsTheyRead) {
  // Full-width digits and a trailing unit are read as numbers; 72.9 MHz is 72 MHz.
  Compute(L"\xFF13\xFF16", L" 500kbps");  // "３６"
  EXPECT_EQ(CopiedRows(), ExpectedRows(36000, 500.0f, 0, 0.4f));
  Compute(L"72.9", L"1e3");
  EXPECT_EQ(CopiedRows(), ExpectedRows(72000, 1000.0f, 0, 0.4f));
}

// The process's committed private memory. Wine leaves PrivateUsage at 0 and reports
// the same figure as PagefileUsage.
size_t PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX counters = {};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                       sizeof counters);
  return counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
}

TEST_F(ComputeCommandTest, RepeatedRunsDoNotGrowMemory) {
  // The largest fill first (0 MHz, 0 Kbps, "==0%", no item: 125 952 rows), then a
  // hundred runs alternating a large and a small table: the memory may hold the
  // largest table, and must not grow beyond it.
  TypeInto(control(kComboBox1), L"x");
  Compute(L"0", L"0");
  ASSERT_EQ(RowCount(table()), 125953);
  const size_t afterFirst = PrivateBytes();
  ASSERT_GT(afterFirst, 0u);
  for (int run = 0; run < 100; ++run) {
    if (run % 2 == 0) {
      ComputeCommand(window_.state());
    } else {
      TypeInto(control(kEdit2), L"500");
      ComputeCommand(window_.state());
      TypeInto(control(kEdit2), L"0");
    }
    PumpMessages();
  }
  const size_t afterHundred = PrivateBytes();
  std::printf("private bytes: %zu after the first fill, %zu after 100 more (%+lld)\n", afterFirst,
              afterHundred, static_cast<long long>(afterHundred) - static_cast<long long>(afterFirst));
  EXPECT_LT(afterHundred, afterFirst + 4 * 1024 * 1024);
  EXPECT_TRUE(seenBoxes.empty());
}

}  // namespace
