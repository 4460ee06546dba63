// The main window's layout table: the places, texts and tab stops the window is built
// from, checked against the screen the user sees.
#include "ui/main_window_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

struct Place {
  ControlId id;
  const char* name;  // GBK
  ControlKind kind;
  int left, top, width, height;
  TextAlign align;
  bool tabStop;
};

constexpr ControlKind kLabel = ControlKind::kLabel;
constexpr TextAlign kL = TextAlign::kLeft;
constexpr TextAlign kR = TextAlign::kRight;
constexpr TextAlign kC = TextAlign::kCentre;

// Top of the stack first.
const Place kPlaces[] = {
    {kLabel9, "\xB1\xEA\xC7\xA9" "9", kLabel, 8, 426, 784, 24, kL, false},
    {kLabel8, "\xB1\xEA\xC7\xA9" "8", kLabel, 8, 402, 96, 24, kL, false},
    {kLabel7, "\xB1\xEA\xC7\xA9" "7", kLabel, 154, 402, 592, 24, kL, false},
    {kLabel6, "\xB1\xEA\xC7\xA9" "6", kLabel, 123, 12, 24, 24, kL, false},
    {kLabel5, "\xB1\xEA\xC7\xA9" "5", kLabel, 318, 12, 29, 24, kL, false},
    {kButton1, "\xB0\xB4\xC5\xA5" "1", ControlKind::kButton, 712, 12, 56, 24, kC, true},
    {kComboBox2, "\xD7\xE9\xBA\xCF\xBF\xF2" "2", ControlKind::kListSelector, 606, 12, 72, 24, kL, true},
    {kLabel4, "\xB1\xEA\xC7\xA9" "4", kLabel, 566, 12, 40, 24, kR, false},
    {kComboBox1, "\xD7\xE9\xBA\xCF\xBF\xF2" "1", ControlKind::kEditableSelector, 460, 12, 76, 24, kL, true},
    {kLabel3, "\xB1\xEA\xC7\xA9" "3", kLabel, 404, 12, 56, 24, kR, false},
    {kEdit2, "\xB1\xE0\xBC\xAD\xBF\xF2" "2", ControlKind::kEdit, 252, 12, 64, 24, kC, true},
    {kLabel2, "\xB1\xEA\xC7\xA9" "2", kLabel, 168, 12, 83, 24, kR, false},
    {kEdit1, "\xB1\xE0\xBC\xAD\xBF\xF2" "1", ControlKind::kEdit, 80, 12, 33, 24, kC, true},
    {kLabel1, "\xB1\xEA\xC7\xA9" "1", kLabel, 11, 12, 65, 24, kR, false},
    {kResultTable, "\xB8\xDF\xBC\xB6\xB1\xED\xB8\xF1" "1", ControlKind::kResultTable, 1, 48, 791, 352, kL, true},
};

TEST(MainWindowLayout, EveryControlInStackingOrder) {
  ASSERT_EQ(sizeof kPlaces / sizeof kPlaces[0], static_cast<size_t>(kControlCount));
  for (int i = 0; i < kControlCount; ++i) {
    const Place& want = kPlaces[i];
    const ControlSpec& layout = kMainWindowControls[want.id];
    SCOPED_TRACE(i);
    EXPECT_EQ(static_cast<int>(want.id), i);
    EXPECT_STREQ(layout.name, want.name);
    EXPECT_EQ(layout.kind, want.kind);
    EXPECT_EQ(layout.left, want.left);
    EXPECT_EQ(layout.top, want.top);
    EXPECT_EQ(layout.width, want.width);
    EXPECT_EQ(layout.height, want.height);
    EXPECT_EQ(layout.align, want.align);
    EXPECT_EQ(layout.tabStop, want.tabStop);
    EXPECT_EQ(layout.focusOrder, 0);
  }
}

TEST(MainWindowLayout, TextsAtCreation) {
  // 标签9: two spaces after the full-width colon (A3 BA).
  const std::string label9 = kMainWindowControls[kLabel9].text;
  EXPECT_EQ(label9.substr(0, 24),
            "\xB2\xA8\xCC\xD8\xC2\xCA\xD3\xEB\xB4\xAB\xCA\xE4\xBE\xE0\xC0\xEB\xB2\xCE\xBF\xBC\xA3\xBA  ");
  EXPECT_NE(label9.find("10Kbps->6700m"), std::string::npos);
  EXPECT_EQ(label9.back(), 'm');
  // 标签7: every full-width comma (A3 AC) is followed by one space.
  const std::string label7 = kMainWindowControls[kLabel7].text;
  size_t commas = 0;
  for (size_t at = label7.find("\xA3\xAC"); at != std::string::npos;
       at = label7.find("\xA3\xAC", at + 2), ++commas) {
    EXPECT_EQ(label7[at + 2], ' ');
  }
  EXPECT_EQ(commas, 2u);
  EXPECT_STREQ(kMainWindowControls[kLabel6].text, "Mhz");
  EXPECT_STREQ(kMainWindowControls[kLabel5].text, "Kbps");
  EXPECT_STREQ(kMainWindowControls[kButton1].text, "\xBC\xC6\xCB\xE3");  // 计算
  EXPECT_STREQ(kMainWindowControls[kEdit1].text, "42");
  EXPECT_STREQ(kMainWindowControls[kEdit2].text, "500");
  EXPECT_STREQ(kMainWindowControls[kComboBox1].text, "");
  EXPECT_STREQ(kMainWindowControls[kComboBox2].text, "");
  EXPECT_STREQ(kMainWindowControls[kResultTable].text, "");
  // The four captions end in the full-width colon.
  for (ControlId id : {kLabel1, kLabel2, kLabel3, kLabel4}) {
    const std::string text = kMainWindowControls[id].text;
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), "\xA3\xBA") << id;
  }
}

TEST(MainWindowLayout, FitsTheClientArea) {
  int right = 0, bottom = 0, left = 1000, top = 1000;
  for (const ControlSpec& layout : kMainWindowControls) {
    left = std::min(left, layout.left);
    top = std::min(top, layout.top);
    right = std::max(right, layout.left + layout.width);
    bottom = std::max(bottom, layout.top + layout.height);
  }
  EXPECT_EQ(left, 1);
  EXPECT_EQ(top, 12);
  EXPECT_EQ(right, 792);
  EXPECT_EQ(bottom, 450);
}

TEST(MainWindowLayout, CentredOriginDropsTheFraction) {
  EXPECT_EQ(CenteredOrigin(1024, 800), 112);
  EXPECT_EQ(CenteredOrigin(768, 481), 143);   // 143.5
  EXPECT_EQ(CenteredOrigin(1920, 800), 560);
  EXPECT_EQ(CenteredOrigin(1080, 481), 299);  // 299.5
  EXPECT_EQ(CenteredOrigin(800, 800), 0);
  EXPECT_EQ(CenteredOrigin(799, 800), 0);     // -0.5
  EXPECT_EQ(CenteredOrigin(640, 800), -80);
}

TEST(MainWindowLayout, OnlyLabelsCannotTakeTheFocus) {
  EXPECT_FALSE(KindTakesFocus(ControlKind::kLabel));
  for (ControlKind kind : {ControlKind::kEdit, ControlKind::kButton, ControlKind::kEditableSelector,
                           ControlKind::kListSelector, ControlKind::kResultTable}) {
    EXPECT_TRUE(KindTakesFocus(kind));
  }
}

}  // namespace
