#include "answers/request/code_forms.h"

bool IsCodeFormat(OutputFormat format) { return FormatRowOf(format).code; }

const char* FormatName(OutputFormat format) { return FormatRowOf(format).name; }

std::string FormatNamesSentence() {
  std::string names;
  constexpr int kCount = static_cast<int>(sizeof kFormats / sizeof kFormats[0]);
  for (int i = 0; i < kCount; ++i) {
    if (i > 0) names += i + 1 == kCount ? " or " : ", ";
    names += kFormats[i].name;
  }
  return names;
}

bool HasForm(const ControllerEntry& entry, OutputFormat format) {
  return !IsCodeFormat(format) || (entry.code.forms & FormBit(format)) != 0;
}

std::string FormNames(const ControllerEntry& entry) {
  std::string names;
  for (const FormatRow& row : kFormats) {
    if (!HasForm(entry, row.format)) continue;
    if (!names.empty()) names += ", ";
    names += row.name;
  }
  return names;
}

int32_t CoreClockDivisor(const ControllerEntry& entry) { return entry.code.coreClockDivisor; }
RegisterSpelling RegisterSpellingOf(const ControllerEntry& entry) { return entry.code.spelling; }
const char* ZephyrDriverNote(const ControllerEntry& entry) { return entry.code.zephyrDriver; }
int32_t LinuxSeg1First(const ControllerEntry& entry) { return entry.code.linuxSeg1First; }
