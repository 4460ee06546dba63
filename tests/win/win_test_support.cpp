#include <cstdio>
#include "tests/win/win_test_support.h"

#include "app/main_window_event_table.h"
#include "app/message_loop.h"
#include "ui/gbk_win.h"

TestMainWindow::TestMainWindow() : TestMainWindow(MainWindowEventTable()) {}

TestMainWindow::TestMainWindow(const EventTable& events) {
  DWORD t0 = GetTickCount();
  handle_ = CreateMainWindow(TestInstance(), events);
  if (handle_ == nullptr) return;
  DWORD t1 = GetTickCount();
  ShowWindow(handle_, SW_SHOWNORMAL);
  DWORD t2 = GetTickCount();
  SetForegroundWindow(handle_);
  DWORD t3 = GetTickCount();
  PumpMessages();
  DWORD t4 = GetTickCount();
  printf("create %lu show %lu fg %lu pump %lu\n", t1-t0,t2-t1,t3-t2,t4-t3);
}

TestMainWindow::~TestMainWindow() {
  DWORD t0 = GetTickCount();
  if (IsWindow(handle_)) DestroyWindow(handle_);
  DWORD t1 = GetTickCount();
  PumpMessages();
  printf("destroy %lu pump %lu\n", t1-t0, GetTickCount()-t1);
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
