// A text as a JSON string, the one writer every json the answers and the page write
// goes through.
#pragma once

#include <string>

// Appends text between double quotes: '"' and '\' escaped with a backslash, every byte
// below 0x20 as \n, \r, \t or \u00XX (lower-case hex), every other byte as it is (UTF-8
// stays UTF-8). Any text has a result; a reader of JSON gets text back byte for byte.
void PutJsonString(std::string& out, const std::string& text);
// The same, as a string of its own.
std::string JsonString(const std::string& text);
