// Scaling the window's 96-DPI layout numbers to a window's DPI. Portable.
#pragma once

#include <cstdint>

// The DPI every layout number is given for.
constexpr int kBaseDpi = 96;

// value * dpi / 96 rounded half away from zero, exactly as Windows' MulDiv(value, dpi,
// 96) does; the value itself at 96. dpi must be positive.
int ScaleForDpi(int value, int dpi);

// A number already scaled to fromDpi, at toDpi instead: back to its 96-DPI value, then
// scaled again, so that a number scaled from 96 to any DPI of 96 or more comes out as if
// scaled from 96 directly (the rounding of the first scaling is undone exactly).
int RescaleForDpi(int value, int fromDpi, int toDpi);
