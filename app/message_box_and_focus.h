// The two services the compute command calls beside the calculation: the message box
// it reports missing input with, and the focus move to the empty field.
#pragma once

#include <windows.h>

#include <cstdint>

// Shows a modal message box with a GBK message and caption (null: "信息："), owned
// by owner (null: no owner). The flags are passed with 0x2000 (task-modal) added,
// unless they contain 0x1000 (system-modal), then unchanged. Blocks until the box is
// closed; returns the button that closed it (0 when the box could not be shown).
int ShowMessage(const char* message, int32_t flags, const char* caption = nullptr,
                HWND owner = nullptr);

// The flags ShowMessage passes for the given ones.
int32_t MessageBoxFlagsFor(int32_t flags);

// Gives the keyboard focus to control with SetFocus.
void SetInputFocus(HWND control);
