// The floating-point environment all arithmetic of the program runs in: round to
// nearest, x87 precision control at 64-bit significand, every exception masked (a
// division by zero gives an infinity, an invalid operation a not-a-number; nothing
// traps). On x86 it sets both the x87 control word and the SSE MXCSR; elsewhere the
// rounding mode.
#pragma once

void SetFloatEnvironment();
// True when the calling thread runs under that environment.
bool FloatEnvironmentIsSet();
