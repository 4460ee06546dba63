#include "ui/gbk_win.h"

#include <climits>
#include <cstring>

namespace {
constexpr UINT kGbkCodePage = 936;
}  // namespace

std::wstring GbkToWide(const char* gbk) {
  std::wstring wide;
  if (gbk != nullptr) GbkToWide(gbk, std::strlen(gbk), wide);
  return wide;
}

void GbkToWide(const char* gbk, size_t length, std::wstring& out) {
  out.clear();
  if (gbk == nullptr || length == 0 || length > INT_MAX) return;
  const int bytes = static_cast<int>(length);
  const int units = MultiByteToWideChar(kGbkCodePage, 0, gbk, bytes, nullptr, 0);
  if (units <= 0) return;
  out.resize(static_cast<size_t>(units));
  MultiByteToWideChar(kGbkCodePage, 0, gbk, bytes, &out[0], units);
}

Text WideToGbk(const wchar_t* wide, int length) {
  if (wide != nullptr && length < 0) length = static_cast<int>(std::wcslen(wide));
  const int bytes = (wide == nullptr || length == 0)
                        ? 0
                        : WideCharToMultiByte(kGbkCodePage, 0, wide, length, nullptr, 0,
                                              nullptr, nullptr);
  Text gbk(new char[static_cast<size_t>(bytes > 0 ? bytes : 0) + 1]);
  if (bytes > 0) {
    WideCharToMultiByte(kGbkCodePage, 0, wide, length, gbk.get(), bytes, nullptr, nullptr);
  }
  gbk[bytes > 0 ? bytes : 0] = 0;
  return gbk;
}

Text WindowTextGbk(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring wide(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
  const int copied = length > 0 ? GetWindowTextW(window, &wide[0], length + 1) : 0;
  return WideToGbk(wide.c_str(), copied);
}
