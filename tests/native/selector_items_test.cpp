// The selectors' items and the selection-index rule.
#include "ui/selector_items.h"

#include <gtest/gtest.h>

#include <string>

#include "ui/event_table.h"

namespace {

TEST(SelectorItems, SamplePointItems) {
  const char* const expected[] = {">=40%", ">=50%", ">=60%", ">=70%", ">=80%"};
  for (int i = 0; i < kSamplePointItemCount; ++i) EXPECT_STREQ(kSamplePointItems[i], expected[i]);
}

TEST(SelectorItems, ToleranceItems) {
  EXPECT_STREQ(kExactToleranceItem, "==0%");
  const char* const expected[] = {"<=1%", "<=2%", "<=3%", "<=4%", "<=5%",
                                  "<=6%", "<=7%", "<=8%", "<=9%", "<=10%"};
  for (int n = 1; n <= 10; ++n) {
    const Text text = ToleranceItemText(n);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text.get(), expected[n - 1]);
  }
}

TEST(SelectorItems, SelectionIndexRule) {
  struct Case {
    int index, count, result;
  };
  const Case cases[] = {
      {0, 11, 0},   {5, 11, 5},   {10, 11, 10}, {11, 11, 10}, {1000, 11, 10},
      {-1, 11, -1}, {-2, 11, -1}, {-2147483647 - 1, 11, -1},
      {4, 5, 4},    {5, 5, 4},    {0, 0, -1},   {3, 0, -1},   {-1, 0, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SelectionIndexFor(c.index, c.count), c.result) << c.index << " of " << c.count;
  }
}

int calls = 0;
void CountA(MainWindow&) { calls += 1; }
void CountB(MainWindow&) { calls += 100; }

TEST(EventTable, FindsTheBoundHandlerOnly) {
  const EventBinding bindings[] = {
      {kMainWindowSource, WindowEvent::kCreationFinished, CountA},
      {5, WindowEvent::kClicked, CountB},
      {6, WindowEvent::kItemChosen, CountA},
      {6, WindowEvent::kItemChosen, CountB},  // the first binding wins
  };
  const EventTable table = {bindings, 4};
  EXPECT_EQ(FindEventHandler(table, kMainWindowSource, WindowEvent::kCreationFinished), CountA);
  EXPECT_EQ(FindEventHandler(table, 5, WindowEvent::kClicked), CountB);
  EXPECT_EQ(FindEventHandler(table, 6, WindowEvent::kItemChosen), CountA);
  EXPECT_EQ(FindEventHandler(table, 5, WindowEvent::kItemChosen), nullptr);
  EXPECT_EQ(FindEventHandler(table, 6, WindowEvent::kClicked), nullptr);
  EXPECT_EQ(FindEventHandler(table, kMainWindowSource, WindowEvent::kClicked), nullptr);
  EXPECT_EQ(FindEventHandler({nullptr, 0}, 5, WindowEvent::kClicked), nullptr);
}

}  // namespace
