// Registration of the window classes of the program's own controls (the label and
// the result table).
#pragma once

#include <windows.h>

// Registers `name` for instance with `procedure`, `extraBytes` of window words and the
// arrow pointer everywhere. True when it is registered (also if it already was).
bool RegisterControlClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure,
                          int extraBytes);
