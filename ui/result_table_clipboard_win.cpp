#include "ui/result_table_clipboard_win.h"

#include <cstring>
#include <string>

#include "ui/gbk_win.h"
#include "ui/result_table_copy.h"

namespace {

// Global memory holding `size` bytes copied from `data`; null when it cannot be had.
HGLOBAL GlobalCopy(const void* data, size_t size) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!memory) return nullptr;
  void* target = GlobalLock(memory);
  if (!target) {
    GlobalFree(memory);
    return nullptr;
  }
  std::memcpy(target, data, size);
  GlobalUnlock(memory);
  return memory;
}

}  // namespace

bool CopyTableToClipboard(HWND owner, const ResultTable& table) {
  std::string text;
  if (!CopyText(table, &text)) return false;

  // Both forms are made before the clipboard is touched, so a failure leaves it as it was.
  HGLOBAL bytes = GlobalCopy(text.c_str(), text.size() + 1);
  if (!bytes) return false;
  std::wstring wide;
  GbkToWide(text.data(), text.size(), wide);
  HGLOBAL units = GlobalCopy(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  if (!units) {
    GlobalFree(bytes);
    return false;
  }
  if (!OpenClipboard(owner)) {
    GlobalFree(bytes);
    GlobalFree(units);
    return false;
  }
  EmptyClipboard();
  // Once SetClipboardData succeeds the memory is the system's; a refused handle is ours.
  bool ok = true;
  if (!SetClipboardData(CF_TEXT, bytes)) {
    GlobalFree(bytes);
    ok = false;
  }
  if (!SetClipboardData(CF_UNICODETEXT, units)) {
    GlobalFree(units);
    ok = false;
  }
  CloseClipboard();
  return ok;
}
