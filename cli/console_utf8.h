// The companion's texts reach the terminal as UTF-8: the program's own texts are GBK
// (code page 936) and are converted here, natively from a table of the characters they
// use, on Windows with the code-page functions. The one file with a Windows branch in the companion.
#pragma once

#include <string>

// Makes standard output take UTF-8 bytes unchanged: on Windows the console's output
// code page becomes UTF-8 and the stream binary (no "\n" to "\r\n"); natively nothing.
// Returns what RestoreConsoleOutput needs to undo it.
unsigned PrepareConsoleOutput();
void RestoreConsoleOutput(unsigned saved);

// The GBK text in UTF-8. ASCII passes unchanged. Natively only the characters of the
// program's own texts are known: a text with any other double-byte character is
// returned as it is (on Windows, as when the code page is missing).
std::string GbkToUtf8(const char* gbk);
