// The companion's texts reach the terminal as UTF-8: the program's own texts are GBK
// (code page 936) and are converted here, natively with iconv, on Windows with the
// code-page functions. With main.cpp's entry, the only Windows branch of the companion.
#pragma once

#include <string>

// Makes standard output take UTF-8 bytes unchanged: on Windows the console's output
// code page becomes UTF-8 and the stream binary (no "\n" to "\r\n"); natively nothing.
// Returns what RestoreConsoleOutput needs to undo it.
unsigned PrepareConsoleOutput();
void RestoreConsoleOutput(unsigned saved);

#ifdef _WIN32
// A UTF-16 text (an argument as Windows passes it) in UTF-8; a lone surrogate becomes
// U+FFFD.
std::string WideToUtf8(const wchar_t* wide);
#endif

// The GBK text in UTF-8. ASCII passes unchanged; should the conversion be missing,
// the bytes are returned as they are.
std::string GbkToUtf8(const char* gbk);
