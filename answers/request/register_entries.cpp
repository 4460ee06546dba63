#include "answers/request/register_entries.h"

#include <cstring>

#include "answers/request/echoed_value.h"
#include "calc/text.h"

namespace {

bool IsNameCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsHexLetter(char c) { return (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

// One register value from first to last, as a decode's bare value is read: kNone, kNoNumber
// (not the whole text a number) or kOutOfRange (more than 32 bits). Hex with 0x, or
// without it where a digit A to F says so (1C0005, as a debugger or a datasheet shows a
// value: no decimal has those); else decimal.
NumberError ReadEntryValue(const char* first, const char* last, uint32_t& out) {
  const bool prefixed = last - first >= 2 && first[0] == '0' && (first[1] == 'x' || first[1] == 'X');
  bool hex = prefixed;
  for (const char* c = first; c < last && !hex; ++c) hex = IsHexLetter(*c);
  uint64_t number = 0;
  const NumberRead read = ReadUnsigned(prefixed ? first + 2 : first, last, hex ? 16 : 10, 0xFFFFFFFFull, number);
  if (read.error == NumberError::kNoNumber || read.end != last) return NumberError::kNoNumber;
  if (read.error != NumberError::kNone) return read.error;
  out = static_cast<uint32_t>(number);
  return NumberError::kNone;
}

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string RegisterEntriesProblem(const char* text, std::vector<RegisterEntry>& entries) {
  entries.clear();
  const char* end = text + std::strlen(text);
  if (std::strchr(text, '=') == nullptr) {
    RegisterEntry entry{"", 0, EchoedValue(text)};
    const NumberError read = ReadEntryValue(text, end, entry.value);
    if (read == NumberError::kOutOfRange) return "more than 32 bits";
    if (read != NumberError::kNone) return "not a register value in hex (0x...) or decimal, nor NAME=VALUE pairs";
    entries.push_back(entry);
    return "";
  }
  for (const char* part = text; part <= end;) {
    // Spaces after a comma, as "CNF1=0x00, CNF2=0xB5" is often written.
    if (part != text)
      while (part < end && IsSpace(*part)) ++part;
    const char* comma = std::strchr(part, ',');
    const char* partEnd = comma != nullptr ? comma : end;
    const char* name = part;
    while (name < partEnd && IsNameCharacter(*name)) ++name;
    if (name == part || name == partEnd || *name != '=') return "not NAME=VALUE pairs joined by commas";
    RegisterEntry entry{std::string(part, name), 0, EchoedValue(std::string(part, partEnd).c_str())};
    if (ReadEntryValue(name + 1, partEnd, entry.value) != NumberError::kNone) {
      // A name of any length: its first 40 characters, as values are echoed.
      const std::string shown = entry.name.size() <= 40 ? entry.name : entry.name.substr(0, 40) + "\xE2\x80\xA6";
      return shown + " is not a value of at most 32 bits in hex (0x...) or decimal";
    }
    entries.push_back(entry);
    part = partEnd + 1;
  }
  return "";
}
