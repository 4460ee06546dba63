// What the main window's keyboard step does with each key, given what the focused
// control claims.
#include "ui/keyboard_step.h"

#include <gtest/gtest.h>

namespace {

// WM_GETDLGCODE answers of the controls (the platform's values).
constexpr uint32_t kEditCode = 0x0001 | 0x0008 | 0x0080;  // WANTARROWS HASSETSEL WANTCHARS
constexpr uint32_t kSelectorCode = 0x0001 | 0x0080;       // WANTARROWS WANTCHARS
constexpr uint32_t kDroppedSelectorCode = kSelectorCode | kDlgWantMessage;
constexpr uint32_t kButtonCode = 0x2000 | 0x0020;         // BUTTON UNDEFPUSHBUTTON
constexpr uint32_t kTableCode = kDlgWantTab | 0x0001;     // WANTTAB WANTARROWS
constexpr int kKeyA = 'A';
constexpr int kKeyDown = 0x28;

struct Case {
  int key;
  bool shift;
  uint32_t code;
  KeyAction action;
};

TEST(KeyboardStep, Actions) {
  const Case cases[] = {
      {kKeyTab, false, kEditCode, KeyAction::kFocusNext},
      {kKeyTab, true, kEditCode, KeyAction::kFocusPrevious},
      {kKeyTab, false, kSelectorCode, KeyAction::kFocusNext},
      {kKeyTab, false, kButtonCode, KeyAction::kFocusNext},
      {kKeyTab, false, 0, KeyAction::kFocusNext},
      // The table claims Tab, but Shift+Tab still leaves it.
      {kKeyTab, false, kTableCode, KeyAction::kPassOn},
      {kKeyTab, true, kTableCode, KeyAction::kFocusPrevious},
      {kKeyEscape, false, kEditCode, KeyAction::kCloseWindow},
      {kKeyEscape, true, kButtonCode, KeyAction::kCloseWindow},
      {kKeyEscape, false, kTableCode, KeyAction::kCloseWindow},
      {kKeyEscape, false, 0, KeyAction::kCloseWindow},
      {kKeyReturn, false, kEditCode, KeyAction::kSwallow},
      {kKeyReturn, false, kButtonCode, KeyAction::kSwallow},
      {kKeyReturn, false, kTableCode, KeyAction::kSwallow},
      // A dropped selector list takes Enter and Esc to accept or cancel the choice.
      {kKeyReturn, false, kDroppedSelectorCode, KeyAction::kPassOn},
      {kKeyEscape, false, kDroppedSelectorCode, KeyAction::kPassOn},
      {kKeyA, false, kEditCode, KeyAction::kPassOn},
      {kKeyDown, false, kSelectorCode, KeyAction::kPassOn},
      {kKeyDown, false, 0, KeyAction::kPassOn},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KeyboardStepAction(c.key, c.shift, c.code), c.action)
        << "key " << c.key << " shift " << c.shift << " code " << c.code;
  }
}

}  // namespace
