#include "cli/console_utf8.h"

#include <cwchar>

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

std::string WideToUtf8(const wchar_t* wide) {
  const int length = static_cast<int>(std::wcslen(wide));
  if (length == 0) return std::string();
  const int utf8Length = WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
  if (utf8Length <= 0) return std::string();
  std::string utf8(static_cast<std::size_t>(utf8Length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, length, &utf8[0], utf8Length, nullptr, nullptr);
  return utf8;
}

#else

unsigned PrepareConsoleOutput() { return 0; }

void RestoreConsoleOutput(unsigned) {}
#endif
