// The companion's texts reach the terminal as UTF-8 (the answers write UTF-8,
// answers/gbk_to_utf8.h): on Windows the console is told so. The companion's one file
// with a Windows branch beside that conversion.
#pragma once

// Makes standard output take UTF-8 bytes unchanged: on Windows the console's output
// code page becomes UTF-8 and the stream binary (no "\n" to "\r\n"); natively nothing.
// Returns what RestoreConsoleOutput needs to undo it.
unsigned PrepareConsoleOutput();
void RestoreConsoleOutput(unsigned saved);
