// A result-table cell's text: GBK bytes, always zero-terminated. Up to 14 bytes live
// inside the 16-byte record (every text the program writes is that short:
// "CAN_BS1_16tq", "83.3%", "实际波特率"); longer ones go to the heap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

class CellText {
 public:
  CellText() { inline_[0] = 0; inline_[kTag] = 0; }
  CellText(const CellText& other) : CellText() { assign(other.data(), other.size()); }
  CellText(CellText&& other) noexcept;
  CellText& operator=(const CellText& other);
  CellText& operator=(CellText&& other) noexcept;
  ~CellText() { clear(); }

  const char* data() const { return OnHeap() ? heap_.bytes : inline_; }
  size_t size() const { return OnHeap() ? heap_.size : static_cast<uint8_t>(inline_[kTag]); }
  bool empty() const { return size() == 0; }
  std::string_view view() const { return {data(), size()}; }
  // Replaces the text with size bytes from bytes (which may not overlap it).
  void assign(const char* bytes, size_t size);
  void clear();

 private:
  static constexpr size_t kTag = 15;               // inline length, or kHeapTag
  static constexpr size_t kInlineCapacity = 14;    // bytes before the terminator
  static constexpr char kHeapTag = static_cast<char>(0xFF);
  bool OnHeap() const { return inline_[kTag] == kHeapTag; }
  struct Heap {
    char* bytes;
    uint32_t size;
  };
  union {
    char inline_[16];
    Heap heap_;
  };
};
static_assert(sizeof(CellText) == 16, "CellText must stay 16 bytes");
