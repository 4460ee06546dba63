// The program's texts are GBK (code page 936); the answers are written in UTF-8.
// Converted natively with iconv, on Windows with the code-page functions.
#pragma once

#include <string>

// The GBK text in UTF-8. ASCII passes unchanged; should the conversion be missing,
// the bytes are returned as they are.
std::string GbkToUtf8(const char* gbk);
