#include "answers/text/gbk_to_utf8.h"

#include <cstring>

#ifdef _WIN32
#include <windows.h>

std::string GbkToUtf8(const char* gbk) {
  const int length = static_cast<int>(std::strlen(gbk));
  if (length == 0) return std::string();
  const int wideLength = MultiByteToWideChar(936, 0, gbk, length, nullptr, 0);
  if (wideLength <= 0) return gbk;
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(936, 0, gbk, length, &wide[0], wideLength);
  const int utf8Length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
  if (utf8Length <= 0) return gbk;
  std::string utf8(static_cast<std::size_t>(utf8Length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, &utf8[0], utf8Length, nullptr, nullptr);
  return utf8;
}

#else

namespace {

// The double-byte characters of the program's own texts that the answers write (the
// column titles, and the window's messages for an empty clock or rate, which the page
// shows), GBK to Unicode. A table of its own rather than iconv: glibc's iconv
// needs its gconv modules at run time, which a minimal system or the ARM libraries
// that qemu-aarch64 runs with here lack, and then the titles went out in GBK.
struct GbkCharacter {
  unsigned char lead;
  unsigned char trail;
  char32_t codePoint;
};
constexpr GbkCharacter kOwnCharacters[] = {
    {0xB2, 0xA8, 0x6CE2},  // 波
    {0xB2, 0xC9, 0x91C7},  // 采
    {0xB2, 0xEE, 0x5DEE},  // 差
    {0xB5, 0xE3, 0x70B9},  // 点
    {0xB7, 0xD6, 0x5206},  // 分
    {0xBC, 0xAF, 0x96C6},  // 集
    {0xBC, 0xCA, 0x9645},  // 际
    {0xC2, 0xCA, 0x7387},  // 率
    {0xC6, 0xB5, 0x9891},  // 频
    {0xC7, 0xEB, 0x8BF7},  // 请
    {0xC8, 0xEB, 0x5165},  // 入
    {0xCA, 0xB1, 0x65F6},  // 时
    {0xCA, 0xB5, 0x5B9E},  // 实
    {0xCA, 0xE4, 0x8F93},  // 输
    {0xCA, 0xFD, 0x6570},  // 数
    {0xCC, 0xD8, 0x7279},  // 特
    {0xCE, 0xF3, 0x8BEF},  // 误
    {0xCF, 0xB5, 0x7CFB},  // 系
    {0xD6, 0xD3, 0x949F},  // 钟
};

// 0 when the pair is not one of kOwnCharacters.
char32_t OwnCodePoint(unsigned char lead, unsigned char trail) {
  for (const GbkCharacter& c : kOwnCharacters) {
    if (c.lead == lead && c.trail == trail) return c.codePoint;
  }
  return 0;
}

}  // namespace

std::string GbkToUtf8(const char* gbk) {
  std::string utf8;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(gbk); *p != 0; ++p) {
    if (*p < 0x80) {
      utf8 += static_cast<char>(*p);
      continue;
    }
    const char32_t codePoint = p[1] == 0 ? 0 : OwnCodePoint(p[0], p[1]);
    if (codePoint == 0) return gbk;  // not a character of the program's own texts
    // Every one lies in U+0800..U+FFFF: three bytes.
    utf8 += static_cast<char>(0xE0 | (codePoint >> 12));
    utf8 += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    utf8 += static_cast<char>(0x80 | (codePoint & 0x3F));
    ++p;
  }
  return utf8;
}
#endif
