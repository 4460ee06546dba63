#include "answers/request/echoed_value.h"

#include <cstdint>

namespace {

// The marks and embeddings that turn the direction of the text around them: echoed
// raw, U+202E would show the rest of the line, the option's name too, backwards.
bool IsDirectionControl(uint32_t code) {
  return code == 0x200E || code == 0x200F || (code >= 0x202A && code <= 0x202E) ||
         (code >= 0x2066 && code <= 0x2069);
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
  if (IsDirectionControl(code)) return 0;
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
