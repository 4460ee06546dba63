// The companion's texts reach the terminal as UTF-8 (the answers write UTF-8,
// answers/text/gbk_to_utf8.h): on Windows the console is told so, and the arguments arrive
// as UTF-16. With main.cpp's entry, the companion's only Windows branch beside that
// conversion.
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
