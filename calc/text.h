// Conversions between numbers and the texts the program shows or reads.
//
// A text is a run of GBK (code page 936) bytes ended by a zero byte; lengths and
// positions count bytes. A null pointer is the empty text wherever a text is taken.
// A text that a function here returns is new and belongs to the caller (Text frees
// it). Nothing here reads the locale, the C runtime's number formatting or any
// state: every input has one defined result, on every platform.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>

using Text = std::unique_ptr<char[]>;

// Room for any text FormatInt, FormatFloat or FormatDouble writes, terminator included.
// The longest is 21 bytes, "-d.dddddddddddde-308" and its zero (number_format.cpp
// counts every form).
constexpr int kMaxNumberText = 32;

// Signed decimal: "-" before a negative value, no "+", no leading zeros. Never null.
Text ToText(int32_t value);
// Six significant digits: the float widened to a double, rounded to 17 digits and then
// to 6, both half up ("0.0195313" for 0.01953125); exponent form ("1e+006") when the
// decimal exponent is below -4 or 6 and above; "1.#QNAN" for any not-a-number whatever
// its sign, "1.#INF"/"-1.#INF", "0" for either zero. Never null.
Text ToText(float value);
// Thirteen significant digits after a first rounding to 17 (both half up), exponent
// form when the exponent is below -4 or 13 and above; "0" for either zero. Non-finite:
// "1.#INF", "-1.#INF"; "-1.#IND" for the default not-a-number (FFF8000000000000);
// "1.#QNAN" for other quiet ones; "1.#SNAN" for signalling ones. Both not-a-number
// words take a "-" when the sign bit is set, as the infinities do. Never null.
Text ToText(double value);

// The same digits as ToText, written into out (kMaxNumberText bytes at least) with a
// terminating zero; returns the length without it. ToText calls these; so do the loops
// that must not allocate (the result rows, the table's numbers).
int FormatInt(int32_t value, char* out);
int FormatFloat(float value, char* out);
int FormatDouble(double value, char* out);

// A scaled whole number as a fixed-point decimal, scaled / 10^decimals: the integer
// digits, and decimals digits after a "." with trailing zeros dropped down to
// keptDecimals (the "." too when none is left); "-" before a negative value.
// decimals 0 to 18, keptDecimals 0 to decimals (each clamped there). 8750, 2, 0 give
// "87.5"; 875, 3, 1 "0.875"; 1000, 3, 1 "1.0"; 36, 2, 2 "0.36"; 9000, 2, 0 "90".
// Exact: whole-number arithmetic only. Into out (kMaxNumberText bytes at least; the
// longest is 21, a sign, 19 digits and the point) with a terminating zero; returns the
// length without it. ToFixedText returns the same text, never null.
int FormatFixed(int64_t scaled, int decimals, int keptDecimals, char* out);
Text ToFixedText(int64_t scaled, int decimals, int keptDecimals);

// part / whole in percent, 0 <= part <= whole, whole above 0, as the sample point
// reads wherever it is not the window's cut: rounded to 0.1 points, ties up, with its
// one decimal ("80.0", "90.0", "85.7", "93.8", "1.5"), except the whole percents a
// binary fraction can be (0, 25, 50, 75, 100), which show no decimal: the look the
// window's cut gave every text, these being the only whole ones the float held
// exactly. Exact: whole numbers only. Into out (kMaxNumberText bytes at least) with a
// terminating zero, no "%"; returns the length without it. Part or whole out of range
// (whole not above 0 or above 2^53, part not from 0 to whole) give "-".
int FormatTenthsPercent(int64_t part, int64_t whole, char* out);

// Folds full-width forms, skips leading white space, reads an optional sign and decimal
// digits in wrapping 32-bit arithmetic ("4294967368" gives 72). No digits give 0.
// Reads the folded text on the fly: allocates nothing.
int32_t ToInt(const char* text);
// Folds full-width forms, skips leading white space and reads the longest prefix of
// [+-] digits [. digits] [(e|E|d|D) [+-] digits], rounded to the nearest double, then
// to the nearest float (ties to even). Too large gives infinity, too small zero; a
// text without a number gives +0 ("-0" gives -0). Digit strings of any length and
// exponents of any size are read exactly. Expects SSE round to nearest, the program's
// floating-point environment.
float ToFloat(const char* text);
// The same reading rounded once, to the nearest double (ties to even): too large gives
// infinity, too small zero. The companion reads its sample point with it.
double ToDouble(const char* text);

// How a reading of plain ASCII from first to last ended, as fast_float's from_chars
// reports it: end is where the number stopped (first when there is none). No blanks
// are skipped and nothing is folded: the companion's option values are read here.
enum class NumberError {
  kNone,
  kNoNumber,         // no digit where the number should start
  kOutOfRange,       // too large (or, for ReadDouble, too small) for the result
  kTooManyDecimals,  // ReadScaled: more digits after the point than asked for
};
struct NumberRead {
  const char* end;
  NumberError error;
};

// [+-] digits [. digits] [(e|E) [+-] digits], by ToDouble's exact reading: the nearest
// double, or 0 or infinity with kOutOfRange when the digits are not all zeros.
NumberRead ReadDouble(const char* first, const char* last, double& value);
// [+-] digits [. digits], no exponent, times 10^decimals exactly: "0.125" with 3 gives
// 125. Zeros count as decimals ("1.0000" is kTooManyDecimals with 3). From 10^18 on,
// kOutOfRange with INT64_MAX (negated after "-").
NumberRead ReadScaled(const char* first, const char* last, int decimals, int64_t& scaled);
// Digits of base 10 or 16 (either case), no sign: above limit, kOutOfRange with limit,
// every digit still read.
NumberRead ReadUnsigned(const char* first, const char* last, int base, uint64_t limit, uint64_t& value);

// Maps the full-width printable ASCII forms (A3 A1..A3 FE), the ideographic space,
// the full-width wave dash and the two stars to single bytes; other double-byte
// characters are copied, a lead byte at the very end is dropped. Never null. Written
// by the reader that ToInt and ToFloat fold with (full_width.h), byte for byte.
Text FoldFullWidth(const char* text);

// The first min(count, length) bytes; null when that is empty (count <= 0 included).
// Counts bytes: a double-byte character across the cut keeps only its first byte.
Text LeftBytes(const char* text, int32_t count);
// The same bytes written into out (room for min(count, length) + 1 bytes) with a
// terminating zero; returns their number.
int32_t WriteLeftBytes(const char* text, int32_t count, char* out);

// The pieces one after another, a null piece counting as empty. Never null, even when
// the result is empty.
Text JoinTexts(std::initializer_list<const char*> pieces);
// The same bytes written into out (room for their total length + 1) with a
// terminating zero; returns the total length.
int32_t WriteJoinedTexts(std::initializer_list<const char*> pieces, char* out);

// Byte-wise comparison as unsigned bytes, null equal to "": -1, 0 or +1.
int CompareTexts(const char* a, const char* b);
