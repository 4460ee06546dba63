#include "ui/keyboard_step.h"

KeyAction KeyboardStepAction(int virtualKey, bool shiftDown, uint32_t dialogCode) {
  // A control that asks for every key (a dropped selector list wants Enter and Esc
  // to accept or cancel its choice) gets it untouched.
  if (dialogCode & kDlgWantMessage) return KeyAction::kPassOn;
  switch (virtualKey) {
    case kKeyTab:
      // The result table claims Tab; Shift+Tab is still ours then.
      if ((dialogCode & kDlgWantTab) && !shiftDown) return KeyAction::kPassOn;
      return shiftDown ? KeyAction::kFocusPrevious : KeyAction::kFocusNext;
    case kKeyEscape:
      return KeyAction::kCloseWindow;
    case kKeyReturn:
      // No default button: Enter neither computes nor moves the focus, and a
      // single-line edit field must not see it (it would beep).
      return KeyAction::kSwallow;
    default:
      return KeyAction::kPassOn;
  }
}
