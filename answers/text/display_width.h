// How many terminal columns a UTF-8 text takes: the one rule every aligned table the
// companion writes (the listing's table form, the controller list, the plan's tables)
// pads its columns by.
#pragma once

#include <cstddef>
#include <string>

// A character of three or four bytes (the Chinese titles, full-width forms) takes two
// columns, as a GBK double-byte character does in the window's text; one of one or two
// bytes (ASCII, "§") takes one. A byte that starts no character (a continuation byte
// without its lead) counts as a character of its own, so every text has a width and
// none is counted twice.
std::size_t DisplayWidth(const char* bytes, std::size_t length);
std::size_t DisplayWidth(const std::string& text);
