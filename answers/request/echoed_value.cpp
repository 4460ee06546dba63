#include "answers/request/echoed_value.h"

#include <cstdint>

namespace {

// The characters that show nothing of their own, or act on the text around them:
// Unicode's format characters (general category Cf, Unicode 15: the soft hyphen, the
// zero-width space and joiners, the direction marks, embeddings and isolates, the word
// joiner and invisible operators, the byte order mark, the tags, ...) and the line and
// paragraph separators U+2028 and U+2029. Echoed raw, U+202E would show the rest of the
// line, the option's name too, backwards, U+2028 would break the one line in two, and
// U+200B or U+FEFF would make two different values look alike. Ranges, first and last.
constexpr struct {
  uint32_t first;
  uint32_t last;
} kInvisible[] = {
    {0x00AD, 0x00AD},   {0x0600, 0x0605},   {0x061C, 0x061C},   {0x06DD, 0x06DD},   {0x070F, 0x070F},
    {0x0890, 0x0891},   {0x08E2, 0x08E2},   {0x180E, 0x180E},   {0x200B, 0x200F},   {0x2028, 0x202E},
    {0x2060, 0x2064},   {0x2066, 0x206F},   {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD},
    {0x110CD, 0x110CD}, {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0001, 0xE0001},
    {0xE0020, 0xE007F},
};

bool IsInvisible(uint32_t code) {
  for (const auto& range : kInvisible)
    if (code >= range.first && code <= range.last) return true;
  return false;
}

// The length of the well-formed UTF-8 character of a printable code point that
// starts at p, or 0: no overlong forms, no surrogates, nothing above U+10FFFF, none
// of the controls U+0080 to U+009F and none of the direction controls.
int PrintableUtf8Length(const unsigned char* p) {
  const unsigned char lead = p[0];
  if (lead >= 0x20 && lead < 0x7F) return lead == '"' || lead == '\\' ? 0 : 1;
  int length = 0;
  uint32_t code = 0;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2, code = lead & 0x1F;
  if (lead >= 0xE0 && lead <= 0xEF) length = 3, code = lead & 0x0F;
  if (lead >= 0xF0 && lead <= 0xF4) length = 4, code = lead & 0x07;
  if (length == 0) return 0;
  for (int i = 1; i < length; ++i) {
    if ((p[i] & 0xC0) != 0x80) return 0;  // the terminator included
    code = code << 6 | (p[i] & 0x3F);
  }
  const uint32_t smallest[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  if (code >= 0x80 && code <= 0x9F) return 0;
  if (IsInvisible(code)) return 0;
  return length;
}

}  // namespace

std::string EchoedValue(const char* value) {
  static const char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  const unsigned char* p = reinterpret_cast<const unsigned char*>(value);
  for (int characters = 0; *p != 0; ++characters) {
    if (characters == kEchoedCharacters) {
      out += "\xE2\x80\xA6";  // …
      break;
    }
    const int length = PrintableUtf8Length(p);
    if (length > 0) {
      out.append(reinterpret_cast<const char*>(p), static_cast<std::size_t>(length));
      p += length;
    } else {
      out += "\\x";
      out += kHex[*p >> 4];
      out += kHex[*p & 15];
      ++p;
    }
  }
  return out + "\"";
}

std::string ShortenedName(const std::string& name) {
  if (name.size() <= static_cast<std::size_t>(kEchoedCharacters)) return name;
  return name.substr(0, static_cast<std::size_t>(kEchoedCharacters)) + "\xE2\x80\xA6";  // …
}
