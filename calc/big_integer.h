// A small fixed-capacity unsigned big integer for the exact paths of the number
// conversions (text of an extreme double, the nearest double to a long decimal).
// Not a general library: every caller proves its operands fit in kBigWords words, and
// a value that would not fit stops the program with a message on standard error
// rather than lose its high words.
#pragma once

#include <cstdint>

// 144 words of 32 bits: 4608 bits. The largest operand any caller builds is about
// 3800 bits (the nearest double to an 801-digit decimal; see number_parse.cpp).
constexpr int kBigWords = 144;

struct BigInteger {
  uint32_t word[kBigWords];  // least significant first; word[size - 1] != 0
  int size = 0;              // 0 for the value zero
};

// a = value.
void BigSet(BigInteger& a, uint64_t value);
// a = a * factor + addend.
void BigMultiplyAdd(BigInteger& a, uint32_t factor, uint32_t addend);
// a = a * 10^exponent, exponent >= 0.
void BigMultiplyPow10(BigInteger& a, int exponent);
// a = a * 2^bits, bits >= 0.
void BigShiftLeft(BigInteger& a, int bits);
// a = floor(a / 2^bits), bits >= 0.
void BigShiftRight(BigInteger& a, int bits);
// a = floor(a / divisor), divisor > 0; returns the remainder.
uint32_t BigDivideSmall(BigInteger& a, uint32_t divisor);
// -1, 0 or +1 as a is below, equal to or above b.
int BigCompare(const BigInteger& a, const BigInteger& b);
// a = a - b; needs a >= b.
void BigSubtract(BigInteger& a, const BigInteger& b);
// Number of significant bits; 0 for zero.
int BigBitLength(const BigInteger& a);
// The low 64 bits.
uint64_t BigLow64(const BigInteger& a);
