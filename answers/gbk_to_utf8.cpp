#include "answers/gbk_to_utf8.h"

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
#include <iconv.h>

std::string GbkToUtf8(const char* gbk) {
  iconv_t converter = iconv_open("UTF-8", "GBK");
  if (converter == reinterpret_cast<iconv_t>(-1)) return gbk;
  std::size_t inLeft = std::strlen(gbk);
  std::string utf8(inLeft * 3 / 2 + 4, '\0');  // a GBK character of 2 bytes is 3 in UTF-8
  char* in = const_cast<char*>(gbk);
  char* out = &utf8[0];
  std::size_t outLeft = utf8.size();
  const std::size_t converted = iconv(converter, &in, &inLeft, &out, &outLeft);
  iconv_close(converter);
  if (converted == static_cast<std::size_t>(-1)) return gbk;
  utf8.resize(utf8.size() - outLeft);
  return utf8;
}
#endif
