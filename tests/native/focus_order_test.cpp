// The tab order and the focus scan, on the real layout and on made-up ones.
#include "ui/focus_order.h"

#include <gtest/gtest.h>

#include <vector>

#include "ui/main_window_layout.h"

namespace {

std::vector<FocusEntry> LayoutEntries() {
  std::vector<FocusEntry> entries;
  for (const ControlSpec& layout : kMainWindowControls) {
    entries.push_back({layout.tabStop && KindTakesFocus(layout.kind), layout.focusOrder});
  }
  return entries;
}

TEST(TabOrder, OfTheMainWindow) {
  const std::vector<FocusEntry> entries = LayoutEntries();
  EXPECT_EQ(BuildTabOrder(entries.data(), kControlCount),
            (std::vector<int>{kResultTable, kEdit1, kEdit2, kComboBox1, kComboBox2, kButton1}));
}

TEST(TabOrder, WalksAndWraps) {
  const std::vector<FocusEntry> entries = LayoutEntries();
  const std::vector<int> order = BuildTabOrder(entries.data(), kControlCount);
  struct Step {
    int from;
    bool backward;
    int to;
  };
  const Step steps[] = {
      {kEdit1, false, kEdit2},        {kEdit2, false, kComboBox1},
      {kComboBox1, false, kComboBox2}, {kComboBox2, false, kButton1},
      {kButton1, false, kResultTable}, {kResultTable, false, kEdit1},
      {kEdit1, true, kResultTable},    {kResultTable, true, kButton1},
      {kComboBox1, true, kEdit2},
      // Not in the order (a label, nothing): first forward, last backward.
      {kLabel3, false, kResultTable},  {kLabel3, true, kButton1},
      {-1, false, kResultTable},       {-1, true, kButton1},
  };
  for (const Step& step : steps) {
    EXPECT_EQ(NextInTabOrder(order, step.from, step.backward), step.to)
        << step.from << (step.backward ? " back" : " forward");
  }
}

TEST(TabOrder, FocusOrderValuesComeFirst) {
  // Entry 1 has the lowest value; among the zeros the lower entry in the stack leads.
  const FocusEntry entries[] = {{true, 0}, {true, -2}, {false, -5}, {true, 0}, {true, 3}};
  EXPECT_EQ(BuildTabOrder(entries, 5), (std::vector<int>{1, 3, 0, 4}));
  EXPECT_EQ(ScanForInitialFocus(entries, 5), 1);
}

TEST(TabOrder, NothingEligible) {
  const FocusEntry entries[] = {{false, 0}, {false, 0}};
  EXPECT_TRUE(BuildTabOrder(entries, 2).empty());
  EXPECT_EQ(NextInTabOrder({}, 0, false), -1);
  EXPECT_EQ(NextInTabOrder({}, 0, true), -1);
  EXPECT_EQ(ScanForInitialFocus(entries, 2), -1);
  EXPECT_EQ(ScanForInitialFocus(entries, 0), -1);
}

TEST(TabOrder, SingleEntryWrapsToItself) {
  EXPECT_EQ(NextInTabOrder({4}, 4, false), 4);
  EXPECT_EQ(NextInTabOrder({4}, 4, true), 4);
}

TEST(InitialFocus, IsTheResultTable) {
  std::vector<FocusEntry> entries = LayoutEntries();
  EXPECT_EQ(ScanForInitialFocus(entries.data(), kControlCount), kResultTable);
  // A disabled or hidden table gives way to the next one up the stack.
  entries[kResultTable].eligible = false;
  EXPECT_EQ(ScanForInitialFocus(entries.data(), kControlCount), kEdit1);
}

TEST(InitialFocus, AgreesWithTheTabOrderOnRandomLayouts) {
  unsigned state = 12345;
  auto next = [&state]() { return (state = state * 1103515245u + 12345u) >> 16; };
  for (int round = 0; round < 2000; ++round) {
    FocusEntry entries[9];
    const int count = static_cast<int>(next() % 10);
    for (int i = 0; i < count; ++i) {
      entries[i] = {next() % 3 != 0, static_cast<int>(next() % 3) - 1};
    }
    const std::vector<int> order = BuildTabOrder(entries, count);
    EXPECT_EQ(ScanForInitialFocus(entries, count), order.empty() ? -1 : order[0]);
  }
}

}  // namespace
