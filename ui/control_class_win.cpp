#include "ui/control_class_win.h"

bool RegisterControlClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure,
                          int extraBytes) {
  WNDCLASSEXW windowClass = {};
  if (GetClassInfoExW(instance, name, &windowClass)) return true;
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.cbWndExtra = extraBytes;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = name;
  return RegisterClassExW(&windowClass) != 0;
}
