#include "app/input_focus.h"

void SetInputFocus(HWND control) { SetFocus(control); }
