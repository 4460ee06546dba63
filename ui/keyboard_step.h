// The main window's keyboard step: what a key press does before the focused control
// sees it. Portable: the Windows side passes the key, the Shift state and the
// focused control's answer to WM_GETDLGCODE.
#pragma once

#include <cstdint>

enum class KeyAction {
  kPassOn,         // not ours, or claimed by the control: dispatch it as usual
  kFocusNext,      // Tab
  kFocusPrevious,  // Shift+Tab
  kCloseWindow,    // Esc: the same path as the title bar's Close
  kSwallow,        // Enter: no action, and the control does not get it either
};

// Virtual-key codes and WM_GETDLGCODE bits the step looks at (the platform's values).
constexpr int kKeyTab = 0x09;
constexpr int kKeyReturn = 0x0D;
constexpr int kKeyEscape = 0x1B;
constexpr uint32_t kDlgWantTab = 0x0002;
// DLGC_WANTMESSAGE, the same bit as DLGC_WANTALLKEYS: the control takes this key.
constexpr uint32_t kDlgWantMessage = 0x0004;

// The action for a key press (WM_KEYDOWN) of virtualKey. dialogCode is the focused
// control's WM_GETDLGCODE answer for this key (0 when nothing has the focus).
KeyAction KeyboardStepAction(int virtualKey, bool shiftDown, uint32_t dialogCode);
