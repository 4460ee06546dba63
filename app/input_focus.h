// Moving the keyboard focus to a control, as the compute command does for an empty
// field.
#pragma once

#include <windows.h>

// Gives the keyboard focus to control with SetFocus.
void SetInputFocus(HWND control);
