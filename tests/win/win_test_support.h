// Helpers shared by the Windows tests: a main window made for a test, message pumping
// through the program's own keyboard step, key presses and reading controls back.
#pragma once

#include <windows.h>

#include <string>

#include "ui/event_table.h"
#include "ui/main_window_layout.h"
#include "ui/main_window_win.h"

// A main window created (and shown, and made the foreground window) for one test and
// destroyed when it goes out of scope. By default it is wired to the program's own
// event table; a test may pass its own table to observe events.
class TestMainWindow {
 public:
  TestMainWindow();
  explicit TestMainWindow(const EventTable& events);
  ~TestMainWindow();
  TestMainWindow(const TestMainWindow&) = delete;
  TestMainWindow& operator=(const TestMainWindow&) = delete;

  HWND handle() const { return handle_; }
  MainWindow& state() const { return *MainWindowFromHandle(handle_); }
  HWND control(ControlId id) const { return ControlHandle(state(), id); }

 private:
  HWND handle_ = nullptr;
};

// Handles every message in the thread's queue, each through the program's keyboard
// step as the message loop does; repeats until the queue stays empty.
void PumpMessages();

// Posts a key press (down and up) of virtualKey to the window that has the focus,
// with Shift held or not, and pumps it through the keyboard step.
void PressKey(int virtualKey, bool shift = false);

// Ctrl+virtualKey (Ctrl held in the keyboard state), posted to the focused window and
// pumped through the keyboard step.
void PressControlChord(int virtualKey);

// Types text into field as a user does: the field gets the focus, Home and Shift+End
// select what it holds, then each character arrives as a key press (VkKeyScanW; a
// character without a key comes as WM_CHAR). An empty text sends Backspace.
void TypeInto(HWND field, const std::wstring& text);

// Picks item index of a selector as a user does with the keyboard: the list drops,
// Up to its first item, Down index times, Enter. The choice runs its event.
void PickItem(HWND selector, int index);

// The clipboard's text in both forms; "<none>" when the format is absent.
struct ClipboardText {
  std::string bytes;  // CF_TEXT
  std::wstring wide;  // CF_UNICODETEXT
};
ClipboardText ReadClipboard();
// Empties the clipboard, then gives table the focus (as a click into it does) and
// presses Ctrl+A and Ctrl+C; returns what the clipboard then holds.
ClipboardText CopyWholeTable(HWND table);

// The ControlId that holds the keyboard focus; -1 when none of window's does.
int FocusedControl(const MainWindow& window);

// The text of a window as GBK bytes.
std::string TextOf(HWND window);
// The text of item index of a selector as GBK bytes.
std::string SelectorItemText(HWND selector, int index);

// A window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND window);

// The height (lfHeight) of the font a control answers WM_GETFONT with; 0 for none.
int FontHeightOf(HWND control);

// The instance the tests' windows belong to (the test program's, which carries the
// program's resources).
HINSTANCE TestInstance();
