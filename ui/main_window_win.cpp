#include "ui/main_window_win.h"

#include <commctrl.h>

#include <string>

#include <algorithm>

#include "ui/about_text.h"
#include "ui/dpi_win.h"
#include "ui/focus_order.h"
#include "ui/gbk_win.h"
#include "ui/keyboard_step.h"
#include "ui/label_win.h"
#include "ui/result_table_win.h"
#include "ui/selector_win.h"

namespace {

// Fixed single frame with title bar, system menu, Close and Minimize; no Maximize and
// no sizing border. Children are clipped so that erasing the background never paints
// over them.
constexpr DWORD kMainWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

void RunEvent(MainWindow& window, int source, WindowEvent event) {
  if (EventHandler handler = FindEventHandler(window.events, source, event)) handler(window);
}

// The focus state of every control as the focus rules want it, read from the windows.
void ReadFocusEntries(const MainWindow& window, FocusEntry (&entries)[kControlCount]) {
  for (int i = 0; i < kControlCount; ++i) {
    HWND control = window.controls[i];
    const LONG_PTR style = control ? GetWindowLongPtrW(control, GWL_STYLE) : 0;
    entries[i].eligible = control != nullptr && IsWindowVisible(control) &&
                          IsWindowEnabled(control) && (style & WS_TABSTOP) != 0 &&
                          KindTakesFocus(kMainWindowControls[i].kind);
    entries[i].focusOrder = kMainWindowControls[i].focusOrder;
  }
}

void MoveFocusInTabOrder(MainWindow& window, HWND focused, bool backward) {
  FocusEntry entries[kControlCount];
  ReadFocusEntries(window, entries);
  const int next =
      NextInTabOrder(BuildTabOrder(entries, kControlCount), ControlIdOf(window, focused), backward);
  if (next >= 0) SetFocus(window.controls[next]);
}

bool CreateControls(MainWindow& window, HINSTANCE instance) {
  // Reverse stacking order: the result table first, 标签9 last.
  for (int id = kControlCount - 1; id >= 0; --id) {
    window.controls[id] = CreateLayoutControl(window.handle, instance, static_cast<ControlId>(id),
                                              kFirstControlWindowId + id, window.dpi, window.fonts);
    if (window.controls[id] == nullptr) return false;
  }
  // Each new child went on top of the ones before, which already gives the table's
  // order; say it explicitly all the same, each entry directly below the one before.
  constexpr UINT kZOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
  SetWindowPos(window.controls[0], HWND_TOP, 0, 0, 0, 0, kZOrderOnly);
  for (int id = 1; id < kControlCount; ++id) {
    SetWindowPos(window.controls[id], window.controls[id - 1], 0, 0, 0, 0, kZOrderOnly);
  }
  return true;
}

void OnCommand(MainWindow& window, int windowId, int code) {
  const int id = windowId - kFirstControlWindowId;
  if (id < 0 || id >= kControlCount) return;
  const ControlKind kind = kMainWindowControls[id].kind;
  if (kind == ControlKind::kButton && code == BN_CLICKED) {
    RunEvent(window, id, WindowEvent::kClicked);
  } else if ((kind == ControlKind::kEditableSelector || kind == ControlKind::kListSelector) &&
             code == CBN_SELENDOK) {
    // The selector is still inside its own update: its selection and field are not
    // final yet. Run the handler from the queue, after this notification returns.
    PostMessageW(window.handle, kItemChosenMessage, static_cast<WPARAM>(id), 0);
  }
}

void OnItemChosen(MainWindow& window, WPARAM id) {
  if (id < kControlCount) RunEvent(window, static_cast<int>(id), WindowEvent::kItemChosen);
}

void OnActivate(MainWindow& window, WPARAM state) {
  if (LOWORD(state) != WA_INACTIVE) return;
  HWND focused = GetFocus();
  window.rememberedFocus = (focused && IsChild(window.handle, focused)) ? focused : nullptr;
}

void OnSetFocus(MainWindow& window) {
  HWND remembered = window.rememberedFocus;
  window.rememberedFocus = nullptr;
  if (remembered && IsWindow(remembered) && IsChild(window.handle, remembered)) {
    SetFocus(remembered);
    return;
  }
  FocusEntry entries[kControlCount];
  ReadFocusEntries(window, entries);
  const int first = ScanForInitialFocus(entries, kControlCount);
  if (first >= 0) SetFocus(window.controls[first]);
}

// The outer size at dpi: the layout's, grown where the frame would cut the client area.
PixelSize OuterSizeAt(int dpi) {
  const SIZE frame = FrameSize(kMainWindowStyle, dpi);
  return MainWindowOuterSize(dpi, frame.cx, frame.cy);
}

// The window went to a monitor of another DPI: it takes the suggested rectangle (grown
// to hold the layout), fonts made for the new DPI, and every control its new place.
// Texts, selections, the table's rows and the focus stay where they are.
void OnDpiChanged(MainWindow& window, int dpi, const RECT& suggested) {
  if (dpi <= 0) return;
  WindowFonts old = window.fonts;
  window.fonts = CreateWindowFonts(dpi);
  window.dpi = dpi;
  const PixelSize least = OuterSizeAt(dpi);
  SetWindowPos(window.handle, nullptr, suggested.left, suggested.top,
               std::max<int>(suggested.right - suggested.left, least.width),
               std::max<int>(suggested.bottom - suggested.top, least.height),
               SWP_NOZORDER | SWP_NOACTIVATE);
  RelayoutControls(window.controls, dpi, window.fonts);
  SetResultTableDpi(window.controls[kResultTable], dpi);
  ReleaseWindowFonts(old);
  InvalidateRect(window.handle, nullptr, TRUE);
}

// The system menu gets a separator and "About Quillmere" below Close.
void AddAboutItem(HWND handle) {
  HMENU menu = GetSystemMenu(handle, FALSE);
  if (menu == nullptr) return;
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kAboutCommand, GbkToWide(kAboutItemText).c_str());
}

// A box with the version, the commit, the licence and the address, owned by the window.
void OnAbout(MainWindow& window) {
  MessageBoxW(window.handle, GbkToWide(AboutText()).c_str(), GbkToWide(kAboutItemText).c_str(),
              MB_OK | MB_ICONINFORMATION);
}

LRESULT CALLBACK MainWindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* window = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    window->handle = handle;
    SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    return DefWindowProcW(handle, message, wParam, lParam);
  }
  MainWindow* window = MainWindowFromHandle(handle);
  if (window == nullptr) return DefWindowProcW(handle, message, wParam, lParam);
  switch (message) {
    case WM_COMMAND:
      OnCommand(*window, LOWORD(wParam), HIWORD(wParam));
      return 0;
    case kItemChosenMessage:
      OnItemChosen(*window, wParam);
      return 0;
    case WM_ACTIVATE:
      OnActivate(*window, wParam);
      break;  // DefWindowProc gives the focus to the window, which lands in OnSetFocus
    case WM_SETFOCUS:
      OnSetFocus(*window);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(window->fonts.gui);
    case WM_SYSCOMMAND:
      // The low four bits are the system's own.
      if ((wParam & 0xFFF0) != kAboutCommand) break;
      OnAbout(*window);
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(*window, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_NCDESTROY:
      // The controls are gone by now; the fonts they used can go too.
      SetWindowLongPtrW(handle, GWLP_USERDATA, 0);
      ReleaseWindowFonts(window->fonts);
      delete window;
      break;
    default:
      break;
  }
  return DefWindowProcW(handle, message, wParam, lParam);
}

HICON LoadProgramIcon(HINSTANCE instance, int size) {
  return static_cast<HICON>(
      LoadImageW(instance, L"DEFAULT_ICON", IMAGE_ICON, size, size, LR_DEFAULTCOLOR | LR_SHARED));
}

}  // namespace

bool RegisterMainWindowClasses(HINSTANCE instance) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSEXW windowClass = {};
  if (!GetClassInfoExW(instance, kMainWindowClassName, &windowClass)) {
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadProgramIcon(instance, 32);
    windowClass.hIconSm = LoadProgramIcon(instance, 16);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kMainWindowClassName;
    if (!RegisterClassExW(&windowClass)) return false;
  }
  return RegisterLabelClass(instance) && RegisterResultTableClass(instance);
}

HWND CreateMainWindow(HINSTANCE instance, const EventTable& events) {
  if (!RegisterMainWindowClasses(instance)) return nullptr;
  auto* window = new MainWindow;
  window->events = events;
  // Made for the system DPI, centred on the primary screen.
  int dpi = SystemDpi();
  PixelSize size = OuterSizeAt(dpi);
  HWND handle = CreateWindowExW(0, kMainWindowClassName, GbkToWide(kMainWindowTitle).c_str(),
                                kMainWindowStyle, CenteredOrigin(GetSystemMetrics(SM_CXSCREEN), size.width),
                                CenteredOrigin(GetSystemMetrics(SM_CYSCREEN), size.height),
                                size.width, size.height, nullptr, nullptr, instance, window);
  if (handle == nullptr) {
    // Refused before WM_NCCREATE attached the state (a hook, or no memory): it is ours.
    if (window->handle == nullptr) delete window;
    return nullptr;
  }
  if (WindowDpi(handle) != dpi) {
    // The primary monitor's scale changed since logon: its own DPI counts.
    dpi = WindowDpi(handle);
    size = OuterSizeAt(dpi);
    SetWindowPos(handle, nullptr, CenteredOrigin(GetSystemMetrics(SM_CXSCREEN), size.width),
                 CenteredOrigin(GetSystemMetrics(SM_CYSCREEN), size.height), size.width,
                 size.height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  window->dpi = dpi;
  window->fonts = CreateWindowFonts(dpi);
  SendMessageW(handle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(LoadProgramIcon(instance, 32)));
  SendMessageW(handle, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(LoadProgramIcon(instance, 16)));
  AddAboutItem(handle);
  if (!CreateControls(*window, instance)) {
    DestroyWindow(handle);  // frees the state and what the controls took
    return nullptr;
  }
  RunEvent(*window, kMainWindowSource, WindowEvent::kCreationFinished);
  return handle;
}

MainWindow* MainWindowFromHandle(HWND window) {
  if (window == nullptr) return nullptr;
  wchar_t className[64] = {};
  if (!GetClassNameW(window, className, 64) || lstrcmpW(className, kMainWindowClassName) != 0) {
    return nullptr;
  }
  return reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

HWND ControlHandle(const MainWindow& window, ControlId id) { return window.controls[id]; }

int ControlIdOf(const MainWindow& window, HWND descendant) {
  HWND child = descendant;
  while (child && child != window.handle) {
    HWND parent = GetAncestor(child, GA_PARENT);
    if (parent == window.handle) {
      for (int i = 0; i < kControlCount; ++i) {
        if (window.controls[i] == child) return i;
      }
      return -1;
    }
    child = parent;
  }
  return -1;
}

bool MainWindowKeyboardStep(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.hwnd == nullptr) return false;
  HWND root = GetAncestor(message.hwnd, GA_ROOT);
  MainWindow* window = MainWindowFromHandle(root);
  if (window == nullptr) return false;
  // Ask the control that holds the target (a selector for its edit child) whether it
  // wants this key itself.
  const int id = ControlIdOf(*window, message.hwnd);
  uint32_t dialogCode = 0;
  if (id >= 0) {
    MSG copy = message;
    dialogCode = static_cast<uint32_t>(SendMessageW(window->controls[id], WM_GETDLGCODE,
                                                    message.wParam, reinterpret_cast<LPARAM>(&copy)));
  }
  const bool shiftDown = GetKeyState(VK_SHIFT) < 0;
  switch (KeyboardStepAction(static_cast<int>(message.wParam), shiftDown, dialogCode)) {
    case KeyAction::kPassOn:
      return false;
    case KeyAction::kFocusNext:
      MoveFocusInTabOrder(*window, message.hwnd, false);
      return true;
    case KeyAction::kFocusPrevious:
      MoveFocusInTabOrder(*window, message.hwnd, true);
      return true;
    case KeyAction::kCloseWindow:
      // The title bar's Close takes this path too: WM_SYSCOMMAND -> WM_CLOSE -> destroy.
      SendMessageW(root, WM_SYSCOMMAND, SC_CLOSE, 0);
      return true;
    case KeyAction::kSwallow:
      return true;
  }
  return false;
}

void OnMainWindowCreated(MainWindow& window) {
  PrepareResultTable(ControlHandle(window, kResultTable));
  FillToleranceSelector(ControlHandle(window, kComboBox2), ControlHandle(window, kComboBox1));
}
