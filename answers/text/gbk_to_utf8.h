// The program's texts are GBK (code page 936); the answers are written in UTF-8.
// Converted natively from a table of the characters those texts use, on Windows with
// the code-page functions.
#pragma once

#include <string>

// The GBK text in UTF-8. ASCII passes unchanged. Natively only the characters of the
// program's own texts are known: a text with any other double-byte character is
// returned as it is (on Windows, as when the code page is missing).
std::string GbkToUtf8(const char* gbk);
