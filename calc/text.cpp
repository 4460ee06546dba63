// Texts: cuts, joins, comparison, full-width folding, and ToText.
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

size_t LeftLength(const char* text, int32_t count) {
  if (count <= 0) return 0;
  const size_t length = Length(text);
  return static_cast<uint32_t>(count) < length ? static_cast<uint32_t>(count) : length;
}

}  // namespace

Text ToText(int32_t value) {
  char buffer[kMaxNumberText];
  return NewText(buffer, static_cast<size_t>(FormatInt(value, buffer)));
}

Text ToFixedText(int64_t scaled, int decimals, int keptDecimals) {
  char buffer[kMaxNumberText];
  return NewText(buffer, static_cast<size_t>(FormatFixed(scaled, decimals, keptDecimals, buffer)));
}

Text ToText(float value) {
  char buffer[kMaxNumberText];
  return NewText(buffer, static_cast<size_t>(FormatFloat(value, buffer)));
}

Text ToText(double value) {
  char buffer[kMaxNumberText];
  return NewText(buffer, static_cast<size_t>(FormatDouble(value, buffer)));
}

Text FoldFullWidth(const char* text) {
  // Folding never lengthens a text.
  Text folded(new char[Length(text) + 1]);
  char* out = folded.get();
  for (FoldedReader in(text); in.Current() != 0; in.Next()) *out++ = static_cast<char>(in.Current());
  *out = 0;
  return folded;
}

int32_t WriteLeftBytes(const char* text, int32_t count, char* out) {
  // Byte by byte up to the count or the end, whichever comes first: the text may be
  // far longer than the count.
  int32_t length = 0;
  if (text != nullptr) {
    while (length < count && text[length] != 0) {
      out[length] = text[length];
      ++length;
    }
  }
  out[length] = 0;
  return length;
}

Text LeftBytes(const char* text, int32_t count) {
  const size_t length = LeftLength(text, count);
  if (length == 0) return nullptr;
  Text left(new char[length + 1]);
  WriteLeftBytes(text, count, left.get());
  return left;
}

int32_t WriteJoinedTexts(std::initializer_list<const char*> pieces, char* out) {
  // Byte by byte: the pieces of the result rows are a few bytes long, where a
  // length count and a block copy per piece cost more than the copy itself.
  char* end = out;
  for (const char* piece : pieces) {
    if (piece == nullptr) continue;
    while (*piece != 0) *end++ = *piece++;
  }
  *end = 0;
  return static_cast<int32_t>(end - out);
}

Text JoinTexts(std::initializer_list<const char*> pieces) {
  size_t total = 0;
  for (const char* piece : pieces) total += Length(piece);
  Text joined(new char[total + 1]);
  WriteJoinedTexts(pieces, joined.get());
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
