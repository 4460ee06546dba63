#include "ui/selector_win.h"

#include "ui/gbk_win.h"
#include "ui/selector_items.h"

void ClearSelector(HWND selector) { SendMessageW(selector, CB_RESETCONTENT, 0, 0); }

void AddSelectorItem(HWND selector, const char* gbk) {
  const std::wstring text = GbkToWide(gbk);
  SendMessageW(selector, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void SetSelectorSelection(HWND selector, int index) {
  const int count = static_cast<int>(SendMessageW(selector, CB_GETCOUNT, 0, 0));
  // CB_SETCURSEL itself refuses an index past the end; the selector takes the last.
  SendMessageW(selector, CB_SETCURSEL, static_cast<WPARAM>(SelectionIndexFor(index, count)), 0);
}

int GetSelectorSelection(HWND selector) {
  return static_cast<int>(SendMessageW(selector, CB_GETCURSEL, 0, 0));
}

void FillToleranceSelector(HWND tolerance, HWND samplePoint) {
  ClearSelector(tolerance);
  AddSelectorItem(tolerance, kExactToleranceItem);
  for (int32_t percent = 1; percent <= 10; ++percent) {
    AddSelectorItem(tolerance, ToleranceItemText(percent).get());
  }
  SetSelectorSelection(tolerance, 0);
  SetSelectorSelection(samplePoint, 0);
}
