// Texts: copies, cuts, joins, comparison, full-width folding, and ToText.
#include "calc/text.h"

#include "calc/full_width.h"

#include <cstring>

namespace {

// A new text holding the first `length` bytes of `bytes`.
Text NewText(const char* bytes, size_t length) {
  Text text(new char[length + 1]);
  if (length > 0) std::memcpy(text.get(), bytes, length);
  text[length] = 0;
  return text;
}

size_t Length(const char* text) { return text != nullptr ? std::strlen(text) : 0; }

}  // namespace

Text ToText(int32_t value) {
  char buffer[kMaxNumberText];
  return NewText(buffer, static_cast<size_t>(FormatInt(value, buffer)));
}

Text ToText(float value) {
  char buffer[kMaxNumberText];
  return NewText(buffer, static_cast<size_t>(FormatFloat(value, buffer)));
}

Text ToText(double value) {
  char buffer[kMaxNumberText];
  return NewText(buffer, static_cast<size_t>(FormatDouble(value, buffer)));
}

Text ToText(const char* text) {
  size_t length = Length(text);
  if (length == 0) return nullptr;
  return NewText(text, length);
}

Text FoldFullWidth(const char* text) {
  // Folding never lengthens a text.
  size_t length = Length(text);
  Text folded(new char[length + 1]);
  const unsigned char* in = reinterpret_cast<const unsigned char*>(text != nullptr ? text : "");
  char* out = folded.get();
  while (*in != 0) {
    if (*in < 0x80) {
      *out++ = static_cast<char>(*in++);
      continue;
    }
    if (in[1] == 0) break;  // a lead byte with nothing after it is dropped
    char single = FoldedPair(in[0], in[1]);
    if (single != 0) {
      *out++ = single;
    } else {
      *out++ = static_cast<char>(in[0]);
      *out++ = static_cast<char>(in[1]);
    }
    in += 2;
  }
  *out = 0;
  return folded;
}

Text LeftBytes(const char* text, int32_t count) {
  if (count <= 0) return nullptr;
  size_t length = Length(text);
  if (static_cast<uint32_t>(count) < length) length = static_cast<uint32_t>(count);
  if (length == 0) return nullptr;
  return NewText(text, length);
}

double AbsValue(double x) { return x < 0 ? -x : x; }

Text JoinTexts(std::initializer_list<const char*> pieces) {
  size_t total = 0;
  for (const char* piece : pieces) total += Length(piece);
  Text joined(new char[total + 1]);
  char* out = joined.get();
  for (const char* piece : pieces) {
    size_t length = Length(piece);
    if (length > 0) std::memcpy(out, piece, length);
    out += length;
  }
  *out = 0;
  return joined;
}

int CompareTexts(const char* a, const char* b) {
  const unsigned char* x = reinterpret_cast<const unsigned char*>(a != nullptr ? a : "");
  const unsigned char* y = reinterpret_cast<const unsigned char*>(b != nullptr ? b : "");
  while (*x != 0 && *x == *y) {
    ++x;
    ++y;
  }
  if (*x == *y) return 0;
  return *x < *y ? -1 : 1;
}
