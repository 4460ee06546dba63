#include "ui/dpi_scale.h"

#include <gtest/gtest.h>

#include "ui/main_window_layout.h"

namespace {

TEST(ScaleForDpi, RoundsHalfAwayFromZeroAsMulDivDoes) {
  struct Case {
    int value, dpi, scaled;
  };
  const Case cases[] = {
      {16, 144, 24},     {-16, 120, -20},   {3, 120, 4},       // 3.75
      {3, 144, 5},       {-11, 144, -17},   {18, 120, 23},     // 4.5, -16.5, 22.5
      {791, 144, 1187},  {791, 120, 989},   {24, 192, 48},     // 1186.5, 988.75
      {160, 168, 280},   {0, 192, 0},       {1, 144, 2},       // 1.5
      {-1, 144, -2},     {800, 96, 800},    {-12, 96, -12},
      {2147483647, 96, 2147483647},
  };
  for (const Case& c : cases) EXPECT_EQ(ScaleForDpi(c.value, c.dpi), c.scaled) << c.value << " at " << c.dpi;
}

TEST(RescaleForDpi, MovesBetweenDpisAsIfScaledFrom96) {
  const int dpis[] = {96, 120, 144, 168, 192, 240};
  for (int from : dpis)
    for (int to : dpis)
      for (int value = -60; value <= 1000; ++value)
        ASSERT_EQ(RescaleForDpi(ScaleForDpi(value, from), from, to), ScaleForDpi(value, to))
            << value << " from " << from << " to " << to;
}

TEST(ScaledControlRect, ScalesEachNumberOfTheLayout) {
  struct Case {
    ControlId id;
    int dpi;
    PixelRect rect;
  };
  const Case cases[] = {
      {kResultTable, 96, {1, 48, 791, 352}},    {kResultTable, 144, {2, 72, 1187, 528}},
      {kResultTable, 120, {1, 60, 989, 440}},   {kComboBox1, 96, {460, 12, 76, 160}},
      {kComboBox1, 144, {690, 18, 114, 240}},   {kComboBox2, 192, {1212, 24, 144, 320}},
      {kLabel9, 120, {10, 533, 980, 30}},       {kLabel5, 144, {477, 18, 44, 36}},
      {kEdit1, 120, {100, 15, 41, 30}},         {kButton1, 192, {1424, 24, 112, 48}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.id << " at " << c.dpi);
    const PixelRect rect = ScaledControlRect(c.id, c.dpi);
    EXPECT_EQ(rect.left, c.rect.left);
    EXPECT_EQ(rect.top, c.rect.top);
    EXPECT_EQ(rect.width, c.rect.width);
    EXPECT_EQ(rect.height, c.rect.height);
  }
}

TEST(MainWindowOuterSize, HoldsTheScaledLayoutWhateverTheFrame) {
  struct Case {
    int dpi, frameWidth, frameHeight;
    PixelSize size;
  };
  const Case cases[] = {
      {96, 6, 25, {800, 481}},    {96, 8, 31, {800, 481}},   // 792 + 8 = 800, 450 + 31 = 481
      {96, 10, 40, {802, 490}},   {144, 6, 34, {1200, 722}},  // 721.5 rounds up
      {120, 6, 30, {1000, 601}},  {192, 6, 43, {1600, 962}},
      {192, 20, 80, {1604, 980}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.dpi << " frame " << c.frameWidth << "x" << c.frameHeight);
    const PixelSize size = MainWindowOuterSize(c.dpi, c.frameWidth, c.frameHeight);
    EXPECT_EQ(size.width, c.size.width);
    EXPECT_EQ(size.height, c.size.height);
  }
}

}  // namespace
