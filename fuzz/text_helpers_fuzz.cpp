// FoldFullWidth (the reader ToInt and ToFloat fold with), LeftBytes, JoinTexts and
// CompareTexts on arbitrary bytes: two texts and a count taken from the input, every
// result checked against plain rules.
#include "calc/text.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

int Sign(int x) { return (x > 0) - (x < 0); }

// The folding rules written out plainly: a byte below 0x80 stays; one of 0x80 or more
// takes the next byte with it (a lone last one is dropped), and the pair becomes one
// byte when it is a full-width ASCII form, the ideographic space, the wave dash or a
// star.
std::string PlainFold(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      out += text[i];
      continue;
    }
    if (i + 1 == text.size()) break;
    const unsigned char trail = static_cast<unsigned char>(text[++i]);
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      out += static_cast<char>(trail - 0x80);
    } else if (lead == 0xA1 && trail == 0xA1) {
      out += ' ';
    } else if (lead == 0xA1 && trail == 0xAB) {
      out += '~';
    } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
      out += '*';
    } else {
      out += static_cast<char>(lead);
      out += static_cast<char>(trail);
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  int32_t count;
  std::memcpy(&count, data, sizeof count);
  std::string rest(reinterpret_cast<const char*>(data + 4), size - 4);
  size_t split = rest.find('\0');
  std::string a = rest.substr(0, split);
  std::string b = split == std::string::npos ? std::string() : rest.substr(split + 1).c_str();

  // Folding never lengthens a text, keeps every byte below 0x80 in order, and folding
  // twice changes nothing.
  Text folded = FoldFullWidth(a.c_str());
  Check(folded != nullptr);
  Check(std::strlen(folded.get()) <= a.size());
  Check(folded.get() == PlainFold(a));
  Text twice = FoldFullWidth(folded.get());
  Check(std::strcmp(folded.get(), twice.get()) == 0);

  // LeftBytes: the first min(count, length) bytes, null when none.
  Text left = LeftBytes(a.c_str(), count);
  size_t expected = count <= 0 ? 0 : (static_cast<size_t>(count) < a.size() ? static_cast<size_t>(count) : a.size());
  if (expected == 0) {
    Check(left == nullptr);
  } else {
    Check(left != nullptr && std::strlen(left.get()) == expected && std::memcmp(left.get(), a.data(), expected) == 0);
  }

  // JoinTexts: the pieces in order, never null.
  Text joined = JoinTexts({a.c_str(), nullptr, b.c_str()});
  Check(joined != nullptr && std::string(joined.get()) == a + b);

  // CompareTexts: unsigned bytes (as strcmp), antisymmetric, null is "".
  int ab = CompareTexts(a.c_str(), b.c_str());
  Check(ab == Sign(std::strcmp(a.c_str(), b.c_str())));
  Check(CompareTexts(b.c_str(), a.c_str()) == -ab);
  Check(CompareTexts(a.c_str(), nullptr) == (a.empty() ? 0 : 1));

  return 0;
}
