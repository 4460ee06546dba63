// MainWindow: the program's one top-level window, its fifteen controls created from
// the layout table (main_window_layout.h), the keyboard step, the focus memory and
// the event wiring (event_table.h).
#pragma once

#include <windows.h>

#include "ui/event_table.h"
#include "ui/main_window_controls_win.h"
#include "ui/main_window_layout.h"

// The window's state, attached to its handle from WM_NCCREATE to WM_NCDESTROY and
// freed there: it lives exactly as long as the window.
struct MainWindow {
  HWND handle = nullptr;
  HWND controls[kControlCount] = {};  // by ControlId, in stacking order
  int dpi = 96;                       // the window's, which the layout is scaled to
  WindowFonts fonts;                  // owned; made for dpi
  HWND rememberedFocus = nullptr;     // the focused control when the window went inactive
  EventTable events = {};
};

constexpr wchar_t kMainWindowClassName[] = L"QuillmereMainWindow";
// Window identifier of a control: kFirstControlWindowId + its ControlId.
constexpr int kFirstControlWindowId = 100;
// Posted to the main window when the user has chosen a selector item; wParam is the
// selector's ControlId. Its handler runs once the selector has finished updating.
constexpr UINT kItemChosenMessage = WM_APP + 1;
// The system menu's "About Quillmere" item (ui/about_text.h): its WM_SYSCOMMAND code,
// below 0xF000 and with the low four bits clear, as the system's own codes leave them.
constexpr UINT kAboutCommand = 0x0100;

// Registers the main window's class and the classes of its own controls (and makes
// sure the common controls are loaded). True when all are registered.
bool RegisterMainWindowClasses(HINSTANCE instance);

// Creates the window, hidden, centred on the primary screen, at its DPI (the layout's
// numbers scaled, fonts made for it), with every control of the layout in stacking
// order, then raises the creation-finished event of events (which must outlive the
// window). Null when the window or a control cannot be created.
HWND CreateMainWindow(HINSTANCE instance, const EventTable& events);

// The state of a main window; null for any other window or null.
MainWindow* MainWindowFromHandle(HWND window);
// The window of a control.
HWND ControlHandle(const MainWindow& window, ControlId id);
// The control that is window or holds it (the edit field inside 组合框1 counts as
// 组合框1); -1 when window is none of them.
int ControlIdOf(const MainWindow& window, HWND descendant);

// The keyboard step: call it for every message taken from the queue before
// translating and dispatching it. True when it has handled the message, which must
// then not be dispatched. Only key presses aimed at a main window or its controls
// are looked at: Tab and Shift+Tab move the focus, Esc closes the window as Close
// does, Enter is dropped, unless the focused control claims the key.
bool MainWindowKeyboardStep(const MSG& message);

// The creation-finished handler: sets the result table up, then fills the tolerance
// selector.
void OnMainWindowCreated(MainWindow& window);
