#include "cli/console_utf8.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <windows.h>

unsigned PrepareConsoleOutput() {
  _setmode(_fileno(stdout), _O_BINARY);
  const unsigned saved = GetConsoleOutputCP();  // 0 without a console
  if (saved != 0) SetConsoleOutputCP(CP_UTF8);
  return saved;
}

void RestoreConsoleOutput(unsigned saved) {
  if (saved != 0) SetConsoleOutputCP(saved);
}
#else

unsigned PrepareConsoleOutput() { return 0; }

void RestoreConsoleOutput(unsigned) {}
#endif
