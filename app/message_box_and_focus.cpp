#include "app/message_box_and_focus.h"

#include "ui/gbk_win.h"

namespace {
// The caption when ShowMessage is given none: "信息："
const char* const kDefaultMessageCaption = "\xD0\xC5\xCF\xA2\xA3\xBA";
}  // namespace

int32_t MessageBoxFlagsFor(int32_t flags) {
  return (flags & MB_SYSTEMMODAL) ? flags : (flags | MB_TASKMODAL);
}

int ShowMessage(const char* message, int32_t flags, const char* caption, HWND owner) {
  const std::wstring text = GbkToWide(message);
  const std::wstring title = GbkToWide(caption ? caption : kDefaultMessageCaption);
  return MessageBoxW(owner, text.c_str(), title.c_str(),
                     static_cast<UINT>(MessageBoxFlagsFor(flags)));
}

void SetInputFocus(HWND control) { SetFocus(control); }
