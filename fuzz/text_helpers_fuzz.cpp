// FoldFullWidth, LeftBytes, JoinTexts and CompareTexts on arbitrary bytes: two texts
// and a count taken from the input, every result checked against plain rules.
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

  // ToText copies; empty gives null.
  Text copy = ToText(a.c_str());
  Check(a.empty() ? copy == nullptr : std::string(copy.get()) == a);
  return 0;
}
