#include "ui/cell_text.h"

#include <algorithm>
#include <cstring>

CellText::CellText(CellText&& other) noexcept {
  std::memcpy(inline_, other.inline_, sizeof inline_);
  other.inline_[0] = 0;
  other.inline_[kTag] = 0;
}

CellText& CellText::operator=(const CellText& other) {
  if (this != &other) assign(other.data(), other.size());
  return *this;
}

CellText& CellText::operator=(CellText&& other) noexcept {
  if (this != &other) {
    clear();
    std::memcpy(inline_, other.inline_, sizeof inline_);
    other.inline_[0] = 0;
    other.inline_[kTag] = 0;
  }
  return *this;
}

void CellText::assign(const char* bytes, size_t size) {
  // A cell text is far below 4 GB; anything longer is cut at that length.
  size = std::min<size_t>(size, UINT32_MAX - 1);
  if (size <= kInlineCapacity) {
    clear();
    std::memcpy(inline_, bytes, size);
    inline_[size] = 0;
    inline_[kTag] = static_cast<char>(size);
    return;
  }
  char* copy = new char[size + 1];
  std::memcpy(copy, bytes, size);
  copy[size] = 0;
  clear();
  heap_.bytes = copy;
  heap_.size = static_cast<uint32_t>(size);
  inline_[kTag] = kHeapTag;
}

void CellText::clear() {
  if (OnHeap()) delete[] heap_.bytes;
  inline_[0] = 0;
  inline_[kTag] = 0;
}
