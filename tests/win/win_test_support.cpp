#include "tests/win/win_test_support.h"

#include "app/program_start.h"
#include "app/message_loop.h"
#include "ui/gbk_win.h"

TestMainWindow::TestMainWindow() : TestMainWindow(MainWindowEventTable()) {}

TestMainWindow::TestMainWindow(const EventTable& events) {
  handle_ = CreateMainWindow(TestInstance(), events);
  if (handle_ == nullptr) return;
  ShowWindow(handle_, SW_SHOWNORMAL);
  SetForegroundWindow(handle_);
  PumpMessages();
}

TestMainWindow::~TestMainWindow() {
  if (IsWindow(handle_)) DestroyWindow(handle_);
  PumpMessages();
}

void PumpMessages() {
  MSG message;
  // A few rounds: handlers may post more (the selectors' chosen-item message).
  for (int round = 0; round < 4; ++round) {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) continue;  // a test's loop ended: not ours to keep
      HandleQueuedMessage(message);
    }
    Sleep(1);
  }
}

void PressKey(int virtualKey, bool shift) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = shift ? 0x80 : 0;
  keys[VK_LSHIFT] = shift ? 0x80 : 0;
  SetKeyboardState(keys);
  HWND target = GetFocus();
  const UINT scan = MapVirtualKeyW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC);
  PostMessageW(target, WM_KEYDOWN, static_cast<WPARAM>(virtualKey), 1 | (scan << 16));
  PostMessageW(target, WM_KEYUP, static_cast<WPARAM>(virtualKey), 1 | (scan << 16) | 0xC0000000u);
  PumpMessages();
  keys[VK_SHIFT] = 0;
  keys[VK_LSHIFT] = 0;
  SetKeyboardState(keys);
}

void PressControlChord(int virtualKey) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_CONTROL] = keys[VK_LCONTROL] = 0x80;
  SetKeyboardState(keys);
  PressKey(virtualKey);
  GetKeyboardState(keys);
  keys[VK_CONTROL] = keys[VK_LCONTROL] = 0;
  SetKeyboardState(keys);
}

void TypeInto(HWND field, const std::wstring& text) {
  SetFocus(field);
  PumpMessages();
  PressKey(VK_HOME);
  PressKey(VK_END, true);
  if (text.empty()) {
    PressKey(VK_BACK);
    return;
  }
  for (wchar_t c : text) {
    const SHORT key = VkKeyScanW(c);
    // Only plain and Shift keys: anything needing Ctrl or Alt comes as a character.
    if (key != -1 && (HIBYTE(key) & ~1) == 0) {
      PressKey(LOBYTE(key), (HIBYTE(key) & 1) != 0);
    } else {
      PostMessageW(GetFocus(), WM_CHAR, c, 1);
      PumpMessages();
    }
  }
}

void PickItem(HWND selector, int index) {
  SetFocus(selector);
  SendMessageW(selector, CB_SHOWDROPDOWN, TRUE, 0);
  PumpMessages();
  const int count = static_cast<int>(SendMessageW(selector, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) PressKey(VK_UP);
  for (int i = 0; i < index; ++i) PressKey(VK_DOWN);
  PressKey(VK_RETURN);
}

ClipboardText ReadClipboard() {
  ClipboardText text = {"<none>", L"<none>"};
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* p = static_cast<const char*>(GlobalLock(data))) {
      text.bytes = p;
      GlobalUnlock(data);
    }
  }
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const wchar_t* p = static_cast<const wchar_t*>(GlobalLock(data))) {
      text.wide = p;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

ClipboardText CopyWholeTable(HWND table) {
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
  SetFocus(table);
  PumpMessages();
  PressControlChord('A');
  PressControlChord('C');
  return ReadClipboard();
}

int FocusedControl(const MainWindow& window) {
  HWND focused = GetFocus();
  return focused ? ControlIdOf(window, focused) : -1;
}

std::string TextOf(HWND window) { return WindowTextGbk(window).get(); }

std::string SelectorItemText(HWND selector, int index) {
  const LRESULT length = SendMessageW(selector, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return "<none>";
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(selector, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
  return WideToGbk(text.c_str(), static_cast<int>(length)).get();
}

RECT RectInParent(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

int FontHeightOf(HWND control) {
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  if (font == nullptr) return 0;
  LOGFONTW description = {};
  GetObjectW(font, sizeof description, &description);
  return description.lfHeight;
}

HINSTANCE TestInstance() { return GetModuleHandleW(nullptr); }
