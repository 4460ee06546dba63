// A value the user typed, as an error message shows it: one line, short, readable.
#pragma once

#include <string>

// Longest echo, in characters, before the value is cut and "…" added.
constexpr int kEchoedCharacters = 40;

// The value between double quotes. Printable UTF-8 characters stay; every other byte
// (control characters, bytes of invalid UTF-8, the invisible characters: Unicode's
// format characters such as U+200B, U+061C, U+FEFF and the direction controls U+200E,
// U+200F, U+202A to U+202E and U+2066 to U+2069, and the separators U+2028 and U+2029;
// and the quote and backslash that would make the quoting unclear) shows as \xNN,
// lowercase. Each character or escaped byte
// counts as one; past kEchoedCharacters the rest is cut and "…" marks the cut.
std::string EchoedValue(const char* value);

// A name of ASCII that a reader let through (a node's, a register's, a custom:
// controller's), as a message shows it unquoted: past kEchoedCharacters cut, "…"
// marking the cut.
std::string ShortenedName(const std::string& name);
