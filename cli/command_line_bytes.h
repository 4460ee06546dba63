// The companion's arguments as the bytes its caller gave them. Under node (the
// WebAssembly build) main receives arguments that node decoded as UTF-8 and emscripten
// encoded again, so a byte that is not UTF-8 arrives as U+FFFD; the kernel's copy of
// the command line, /proc/self/cmdline, still holds the bytes.
#pragma once

#include <string>
#include <vector>

// The last `count` entries of a command line in /proc/<pid>/cmdline form (each entry
// ends with a zero byte). False, and `entries` empty, when it holds fewer or does not
// end with a zero byte.
bool LastCommandLineEntries(const std::string& cmdline, int count, std::vector<std::string>& entries);

// The process's last `count` arguments read from /proc/self/cmdline; false where that
// cannot be read or holds fewer.
bool ReadLastArguments(int count, std::vector<std::string>& arguments);
