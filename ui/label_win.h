// The text label: a window class of its own that fills its area with the button-face
// colour and draws its text as one black line, vertically centred, left- or
// right-aligned, clipped to the label, on a transparent background, in the font
// WM_SETFONT gives it (the default GUI font until then). It never takes the focus.
#pragma once

#include <windows.h>

constexpr wchar_t kLabelClassName[] = L"QuillmereLabel";
// Style bits of the label class (the values of SS_LEFT and SS_RIGHT).
constexpr DWORD kLabelAlignLeft = 0x0000;
constexpr DWORD kLabelAlignRight = 0x0002;

// Registers the class for instance; true when it is registered (also if it already was).
bool RegisterLabelClass(HINSTANCE instance);

// Draws the label into dc: what WM_PAINT and WM_PRINTCLIENT show.
void PaintLabel(HWND label, HDC dc);
