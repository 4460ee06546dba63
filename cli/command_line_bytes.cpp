#include "cli/command_line_bytes.h"

#include <cstdio>

bool LastCommandLineEntries(const std::string& cmdline, int count, std::vector<std::string>& entries) {
  entries.clear();
  if (count < 0 || (!cmdline.empty() && cmdline.back() != '\0')) return false;
  std::vector<std::string> all;
  for (std::size_t start = 0; start < cmdline.size();) {
    const std::size_t end = cmdline.find('\0', start);
    all.push_back(cmdline.substr(start, end - start));
    start = end + 1;
  }
  if (static_cast<std::size_t>(count) > all.size()) return false;
  entries.assign(all.end() - count, all.end());
  return true;
}

bool ReadLastArguments(int count, std::vector<std::string>& arguments) {
  std::FILE* file = std::fopen("/proc/self/cmdline", "rb");
  if (file == nullptr) return false;
  std::string cmdline;
  char chunk[4096];
  for (std::size_t read; (read = std::fread(chunk, 1, sizeof chunk, file)) > 0;) cmdline.append(chunk, read);
  const bool whole = std::ferror(file) == 0;
  std::fclose(file);
  return whole && LastCommandLineEntries(cmdline, count, arguments);
}
