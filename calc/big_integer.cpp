#include "calc/big_integer.h"

#include <cstdio>
#include <cstdlib>

namespace {

// A value past the capacity cannot be held, and a number cut short would be shown
// or read wrongly, so the program stops instead. No caller gets here: the largest
// operand of the number texts is m * 10^342 < 2^1190 (38 words, number_format.cpp),
// of the number reader below 2^3800 (119 words, number_parse.cpp), both within the
// 144 words; reaching this means one of those bounds was broken by a change.
[[noreturn]] void CapacityExceeded() {
  std::fputs("quillmere: internal error: a big integer grew past its 4608 bits\n", stderr);
  std::abort();
}

// Appends a most significant word.
void Push(BigInteger& a, uint32_t w) {
  if (a.size >= kBigWords) CapacityExceeded();
  a.word[a.size++] = w;
}

void Trim(BigInteger& a) {
  while (a.size > 0 && a.word[a.size - 1] == 0) --a.size;
}

constexpr uint32_t kPow10Small[10] = {1,      10,      100,      1000,      10000,
                                      100000, 1000000, 10000000, 100000000, 1000000000};

}  // namespace

void BigSet(BigInteger& a, uint64_t value) {
  a.size = 0;
  while (value != 0) {
    Push(a, static_cast<uint32_t>(value));
    value >>= 32;
  }
}

void BigMultiplyAdd(BigInteger& a, uint32_t factor, uint32_t addend) {
  uint64_t carry = addend;
  for (int i = 0; i < a.size; ++i) {
    uint64_t t = static_cast<uint64_t>(a.word[i]) * factor + carry;
    a.word[i] = static_cast<uint32_t>(t);
    carry = t >> 32;
  }
  if (carry != 0) Push(a, static_cast<uint32_t>(carry));
  Trim(a);
}

void BigMultiplyPow10(BigInteger& a, int exponent) {
  for (; exponent >= 9; exponent -= 9) BigMultiplyAdd(a, kPow10Small[9], 0);
  if (exponent > 0) BigMultiplyAdd(a, kPow10Small[exponent], 0);
}

void BigShiftLeft(BigInteger& a, int bits) {
  if (a.size == 0 || bits <= 0) return;
  if (BigBitLength(a) + static_cast<int64_t>(bits) > int64_t{kBigWords} * 32) CapacityExceeded();
  int words = bits / 32;
  int shift = bits % 32;
  // The word above may stay zero; it is only written when it exists.
  int newSize = a.size + words + 1;
  if (newSize > kBigWords) newSize = kBigWords;
  for (int i = newSize - 1; i >= words; --i) {
    int from = i - words;
    uint64_t high = from < a.size ? a.word[from] : 0;
    uint64_t low = (from >= 1 && from - 1 < a.size) ? a.word[from - 1] : 0;
    uint64_t both = (high << 32) | low;
    a.word[i] = static_cast<uint32_t>(both >> (32 - shift));
  }
  for (int i = 0; i < words && i < newSize; ++i) a.word[i] = 0;
  a.size = newSize;
  Trim(a);
}

void BigShiftRight(BigInteger& a, int bits) {
  if (bits <= 0) return;
  int words = bits / 32;
  int shift = bits % 32;
  if (words >= a.size) {
    a.size = 0;
    return;
  }
  int newSize = a.size - words;
  for (int i = 0; i < newSize; ++i) {
    uint64_t low = a.word[i + words];
    uint64_t high = (i + words + 1 < a.size) ? a.word[i + words + 1] : 0;
    a.word[i] = static_cast<uint32_t>(((high << 32) | low) >> shift);
  }
  a.size = newSize;
  Trim(a);
}

uint32_t BigDivideSmall(BigInteger& a, uint32_t divisor) {
  uint64_t remainder = 0;
  for (int i = a.size - 1; i >= 0; --i) {
    uint64_t t = (remainder << 32) | a.word[i];
    a.word[i] = static_cast<uint32_t>(t / divisor);
    remainder = t % divisor;
  }
  Trim(a);
  return static_cast<uint32_t>(remainder);
}

int BigCompare(const BigInteger& a, const BigInteger& b) {
  if (a.size != b.size) return a.size < b.size ? -1 : 1;
  for (int i = a.size - 1; i >= 0; --i) {
    if (a.word[i] != b.word[i]) return a.word[i] < b.word[i] ? -1 : 1;
  }
  return 0;
}

void BigSubtract(BigInteger& a, const BigInteger& b) {
  uint64_t borrow = 0;
  for (int i = 0; i < a.size; ++i) {
    uint64_t subtrahend = (i < b.size ? b.word[i] : 0) + borrow;
    uint64_t minuend = a.word[i];
    borrow = minuend < subtrahend ? 1 : 0;
    a.word[i] = static_cast<uint32_t>(minuend - subtrahend);
  }
  Trim(a);
}

int BigBitLength(const BigInteger& a) {
  if (a.size == 0) return 0;
  uint32_t top = a.word[a.size - 1];
  int bits = 0;
  while (top != 0) {
    ++bits;
    top >>= 1;
  }
  return (a.size - 1) * 32 + bits;
}

uint64_t BigLow64(const BigInteger& a) {
  uint64_t low = a.size > 0 ? a.word[0] : 0;
  uint64_t high = a.size > 1 ? a.word[1] : 0;
  return (high << 32) | low;
}
