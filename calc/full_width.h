// The full-width folding shared by FoldFullWidth and the number readers.
#pragma once

// The single byte a GBK double-byte character folds to, or 0 when it stays as it is:
// A3 A1..A3 FE (full-width printable ASCII) give 0x21..0x7E, A1 A1 (ideographic
// space) a space, A1 AB (wave dash) "~", A1 EE and A1 EF (white and black star) "*".
inline char FoldedPair(unsigned char lead, unsigned char trail) {
  if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) return static_cast<char>(trail - 0x80);
  if (lead == 0xA1) {
    if (trail == 0xA1) return ' ';
    if (trail == 0xAB) return '~';
    if (trail == 0xEE || trail == 0xEF) return '*';
  }
  return 0;
}

// Reads a text byte by byte as FoldFullWidth would write it, without allocating.
// Current() is 0 at the end (a lead byte right before the terminator is dropped).
class FoldedReader {
 public:
  explicit FoldedReader(const char* text)
      : at_(reinterpret_cast<const unsigned char*>(text != nullptr ? text : "")) {}

  unsigned char Current() const {
    if (inTrail_) return at_[0];
    unsigned char lead = at_[0];
    if (lead < 0x80) return lead;
    if (at_[1] == 0) return 0;
    char folded = FoldedPair(lead, at_[1]);
    return folded != 0 ? static_cast<unsigned char>(folded) : lead;
  }

  void Next() {
    if (inTrail_) {
      ++at_;
      inTrail_ = false;
      return;
    }
    unsigned char lead = at_[0];
    if (lead == 0) return;
    if (lead < 0x80) {
      ++at_;
    } else if (at_[1] == 0) {
      ++at_;  // the dropped lead byte; now at the terminator
    } else if (FoldedPair(lead, at_[1]) != 0) {
      at_ += 2;
    } else {
      ++at_;
      inTrail_ = true;  // the trail byte of an unchanged pair comes next
    }
  }

 private:
  const unsigned char* at_;
  bool inTrail_ = false;
};

// Space, tab, line feed, vertical tab, form feed, carriage return.
inline bool IsBlank(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
inline bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
