#include "app/message_loop.h"

#include "ui/main_window_win.h"

void HandleQueuedMessage(const MSG& message) {
  if (MainWindowKeyboardStep(message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

int RunMessageLoop(HWND mainWindow) {
  // Started from here on: from now the end of the last window ends the loop. There
  // is no idle work, so waiting in GetMessage is all an empty queue needs.
  if (!IsWindow(mainWindow)) return 0;
  bool quitPosted = false;
  MSG message;
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got < 0) return 0;  // only for an invalid filter window, which this never passes
    HandleQueuedMessage(message);
    // Closing takes a dispatched WM_CLOSE (or a nested loop such as a message box):
    // whichever way the window went, it is gone once the dispatch returns.
    if (!quitPosted && !IsWindow(mainWindow)) {
      PostQuitMessage(0);
      quitPosted = true;
    }
  }
}
