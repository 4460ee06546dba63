// The program's texts are GBK bytes; Windows takes UTF-16. These convert at that
// boundary with code page 936, whatever the system's ANSI code page is.
#pragma once

#include <windows.h>

#include <string>

#include "calc/text.h"

// UTF-16 for a GBK text; null gives "". Bytes that are not GBK become the platform's
// replacement character, never an error.
std::wstring GbkToWide(const char* gbk);
// The same for `length` bytes (zeros included) into out, reusing its storage.
void GbkToWide(const char* gbk, size_t length, std::wstring& out);

// GBK for length UTF-16 units (-1: up to the terminating zero). Characters without a
// GBK form become "?". Never null; "" for empty input.
Text WideToGbk(const wchar_t* wide, int length);

// A window's text (an edit field's content) as GBK. Never null.
Text WindowTextGbk(HWND window);
