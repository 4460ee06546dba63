// The main window as the user sees it: its frame, position, icon, and every control's
// place, class, style, text and font, and the stacking order.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/win/win_test_support.h"
#include "ui/label_win.h"
#include "ui/result_table_win.h"

namespace {

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

DWORD StyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)); }
DWORD ExStyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)); }

int DefaultGuiFontHeight() {
  LOGFONTW description = {};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof description, &description);
  return description.lfHeight;
}

int IconWidth(HICON icon) {
  ICONINFO info = {};
  if (!icon || !GetIconInfo(icon, &info)) return 0;
  BITMAP bitmap = {};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return bitmap.bmWidth;
}

TEST(MainWindow, FrameTitleAndCentredPosition) {
  TestMainWindow window;
  ASSERT_NE(window.handle(), nullptr);
  EXPECT_EQ(TextOf(window.handle()), "Quillmere");

  RECT outer;
  GetWindowRect(window.handle(), &outer);
  const int left = (GetSystemMetrics(SM_CXSCREEN) - 800) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - 481) / 2;
  EXPECT_EQ(outer.left, left);
  EXPECT_EQ(outer.top, top);
  EXPECT_EQ(outer.right - outer.left, 800);
  EXPECT_EQ(outer.bottom - outer.top, 481);

  const DWORD style = StyleOf(window.handle());
  EXPECT_EQ(style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX) << "no Maximize";
  EXPECT_FALSE(style & WS_THICKFRAME) << "the user cannot resize it";
  EXPECT_FALSE(style & WS_CHILD);
  EXPECT_EQ(GetWindow(window.handle(), GW_OWNER), nullptr) << "a taskbar button of its own";
  EXPECT_FALSE(ExStyleOf(window.handle()) & WS_EX_TOPMOST);

  // The layout reaches x 792 and y 450: the client area must hold it.
  RECT client;
  GetClientRect(window.handle(), &client);
  EXPECT_GE(client.right, 792);
  EXPECT_GE(client.bottom, 450);

  EXPECT_EQ(GetClassLongPtrW(window.handle(), GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
  EXPECT_EQ(FontHeightOf(window.handle()), DefaultGuiFontHeight());
}

TEST(MainWindow, CarriesTheIconAtBothSizes) {
  TestMainWindow window;
  HICON big = reinterpret_cast<HICON>(SendMessageW(window.handle(), WM_GETICON, ICON_BIG, 0));
  HICON small = reinterpret_cast<HICON>(SendMessageW(window.handle(), WM_GETICON, ICON_SMALL, 0));
  EXPECT_EQ(IconWidth(big), 32);
  EXPECT_EQ(IconWidth(small), 16);
  EXPECT_EQ(IconWidth(reinterpret_cast<HICON>(GetClassLongPtrW(window.handle(), GCLP_HICON))), 32);
  EXPECT_EQ(IconWidth(reinterpret_cast<HICON>(GetClassLongPtrW(window.handle(), GCLP_HICONSM))), 16);
}

TEST(MainWindow, SystemMenuMovesAndClosesButDoesNotMaximise) {
  TestMainWindow window;
  HMENU menu = GetSystemMenu(window.handle(), FALSE);
  ASSERT_NE(menu, nullptr);
  EXPECT_FALSE(GetMenuState(menu, SC_MOVE, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_FALSE(GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
}

// The About box, caught as it activates and closed with OK.
struct AboutBox {
  std::wstring caption;
  std::wstring text;
  HWND owner = nullptr;
};
AboutBox seenAbout;

LRESULT CALLBACK CatchAbout(int code, WPARAM wParam, LPARAM lParam) {
  HWND box = reinterpret_cast<HWND>(wParam);
  if (code == HCBT_ACTIVATE && ClassOf(box) == L"#32770") {
    wchar_t text[512] = {};
    GetWindowTextW(box, text, 512);
    seenAbout.caption = text;
    GetDlgItemTextW(box, 0xFFFF, text, 512);
    seenAbout.text = text;
    seenAbout.owner = GetWindow(box, GW_OWNER);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The program's own product version, "X.Y.Z (commit 4df0920)", from its version
// information (res/version_info.rc, read by windres): the About box must agree with it.
std::wstring OwnProductVersion() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  const DWORD size = GetFileVersionInfoSizeW(path, nullptr);
  std::vector<char> block(size);
  if (size == 0 || !GetFileVersionInfoW(path, 0, size, block.data())) return L"";
  wchar_t* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\StringFileInfo\\040904B0\\ProductVersion",
                      reinterpret_cast<void**>(&value), &length))
    return L"";
  return value;
}

// Below Close, "About Quillmere" opens a box owned by the window with the version and
// the commit (as the version information gives them), the licence and the address.
TEST(MainWindow, SystemMenuOffersAboutWithVersionCommitLicenceAndAddress) {
  TestMainWindow window;
  HMENU menu = GetSystemMenu(window.handle(), FALSE);
  ASSERT_NE(menu, nullptr);
  wchar_t item[64] = {};
  GetMenuStringW(menu, kAboutCommand, item, 64, MF_BYCOMMAND);
  EXPECT_EQ(std::wstring(item), L"About Quillmere");
  const int count = GetMenuItemCount(menu);
  EXPECT_EQ(GetMenuItemID(menu, count - 1), kAboutCommand);
  EXPECT_EQ(GetMenuItemID(menu, count - 2), 0u);  // the separator

  const std::wstring product = OwnProductVersion();  // "X.Y.Z (commit 4df0920)"
  const std::size_t open = product.find(L" (commit ");
  ASSERT_NE(open, std::wstring::npos) << product;
  const std::wstring version = product.substr(0, open);
  const std::wstring commit = product.substr(open + 9, product.size() - open - 10);
  EXPECT_GE(commit.size(), 7u);

  seenAbout = AboutBox();
  HHOOK hook = SetWindowsHookExW(WH_CBT, CatchAbout, nullptr, GetCurrentThreadId());
  SendMessageW(window.handle(), WM_SYSCOMMAND, kAboutCommand, 0);
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(seenAbout.caption, L"About Quillmere");
  EXPECT_EQ(seenAbout.owner, window.handle());
  const std::wstring lines = L"Quillmere " + version + L"\ncommit " + commit + L"\nMIT licence";
  EXPECT_EQ(seenAbout.text.substr(0, lines.size()), lines) << seenAbout.text;
  EXPECT_NE(seenAbout.text.find(L"\nhttps://"), std::wstring::npos) << seenAbout.text;
  EXPECT_TRUE(IsWindow(window.handle()));  // the box closed, the window stays
}

struct ExpectedControl {
  ControlId id;
  const wchar_t* className;
  RECT rect;              // in the main window's client area
  const char* text;       // GBK
  DWORD styleBits;        // must all be set
  DWORD absentBits;       // must all be clear
  DWORD exStyleBits;
};

constexpr DWORD kVisibleChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kLabelRight = kVisibleChild | kLabelAlignRight;

const ExpectedControl kExpected[] = {
    {kLabel9, kLabelClassName, {8, 426, 792, 450},
     "\xB2\xA8\xCC\xD8\xC2\xCA\xD3\xEB\xB4\xAB\xCA\xE4\xBE\xE0\xC0\xEB\xB2\xCE\xBF\xBC\xA3\xBA"
     "  1000Kbps->40m,500Kbps->270m,250Kbps->530m,125Kbps->620m,100Kbps->1300m,"
     "50Kbps->3300m,10Kbps->6700m",
     kVisibleChild, WS_TABSTOP | kLabelAlignRight, 0},
    {kLabel8, kLabelClassName, {8, 402, 104, 426},
     "\xB2\xC9\xBC\xAF\xB5\xE3\xD1\xA1\xD4\xF1\xB2\xCE\xBF\xBC\xA3\xBA", kVisibleChild,
     WS_TABSTOP | kLabelAlignRight, 0},
    {kLabel7, kLabelClassName, {154, 402, 746, 426},
     "\xB2\xA8\xCC\xD8\xC2\xCA<=500Kbps\xD1\xA1\xD4\xF1" "87.5%\xD7\xF3\xD3\xD2\xA3\xAC "
     "500Kbps<\xB2\xA8\xCC\xD8\xC2\xCA<=800Kbps\xD1\xA1\xD4\xF1" "80%\xD7\xF3\xD3\xD2\xA3\xAC "
     "\xB2\xA8\xCC\xD8\xC2\xCA\xB4\xF3\xD3\xDA" "800Kbps\xD1\xA1\xD4\xF1" "75%\xD7\xF3\xD3\xD2",
     kVisibleChild, WS_TABSTOP | kLabelAlignRight, 0},
    {kLabel6, kLabelClassName, {123, 12, 147, 36}, "Mhz", kVisibleChild,
     WS_TABSTOP | kLabelAlignRight, 0},
    {kLabel5, kLabelClassName, {318, 12, 347, 36}, "Kbps", kVisibleChild,
     WS_TABSTOP | kLabelAlignRight, 0},
    {kButton1, L"Button", {712, 12, 768, 36}, "\xBC\xC6\xCB\xE3",
     kVisibleChild | WS_TABSTOP | BS_MULTILINE | BS_CENTER | BS_VCENTER,
     BS_DEFPUSHBUTTON | BS_BITMAP | BS_ICON, 0},
    {kComboBox2, L"ComboBox", {606, 12, 678, 0}, "",
     kVisibleChild | WS_TABSTOP | CBS_DROPDOWNLIST, CBS_SORT, 0},
    {kLabel4, kLabelClassName, {566, 12, 606, 36}, "\xCE\xF3\xB2\xEE\xA3\xBA", kLabelRight,
     WS_TABSTOP, 0},
    {kComboBox1, L"ComboBox", {460, 12, 536, 0}, "",
     kVisibleChild | WS_TABSTOP | CBS_DROPDOWN, CBS_SORT | (CBS_DROPDOWNLIST & ~CBS_DROPDOWN), 0},
    {kLabel3, kLabelClassName, {404, 12, 460, 36}, "\xB2\xC9\xBC\xAF\xB5\xE3\xA3\xBA",
     kLabelRight, WS_TABSTOP, 0},
    {kEdit2, L"Edit", {252, 12, 316, 36}, "500",
     kVisibleChild | WS_TABSTOP | ES_CENTER | ES_AUTOHSCROLL,
     ES_NOHIDESEL | ES_MULTILINE | ES_PASSWORD | ES_READONLY | ES_NUMBER | ES_UPPERCASE |
         ES_LOWERCASE | WS_HSCROLL | WS_VSCROLL,
     WS_EX_CLIENTEDGE},
    {kLabel2, kLabelClassName, {168, 12, 251, 36}, "CAN\xB2\xA8\xCC\xD8\xC2\xCA\xA3\xBA",
     kLabelRight, WS_TABSTOP, 0},
    {kEdit1, L"Edit", {80, 12, 113, 36}, "42",
     kVisibleChild | WS_TABSTOP | ES_CENTER | ES_AUTOHSCROLL,
     ES_NOHIDESEL | ES_MULTILINE | ES_PASSWORD | ES_READONLY | ES_NUMBER | ES_UPPERCASE |
         ES_LOWERCASE | WS_HSCROLL | WS_VSCROLL,
     WS_EX_CLIENTEDGE},
    {kLabel1, kLabelClassName, {11, 12, 76, 36}, "AHB1\xCA\xB1\xD6\xD3\xA3\xBA", kLabelRight,
     WS_TABSTOP, 0},
    {kResultTable, kResultTableClassName, {1, 48, 792, 400}, "", kVisibleChild | WS_TABSTOP,
     0, 0},
};

TEST(MainWindowControls, PlaceClassStyleTextAndFont) {
  TestMainWindow window;
  ASSERT_EQ(sizeof kExpected / sizeof kExpected[0], static_cast<size_t>(kControlCount));
  for (const ExpectedControl& expected : kExpected) {
    SCOPED_TRACE(testing::Message() << "control " << expected.id);
    HWND control = window.control(expected.id);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(GetParent(control), window.handle());
    EXPECT_EQ(ClassOf(control), std::wstring(expected.className));
    const RECT rect = RectInParent(control);
    EXPECT_EQ(rect.left, expected.rect.left);
    EXPECT_EQ(rect.top, expected.rect.top);
    EXPECT_EQ(rect.right, expected.rect.right);
    if (expected.rect.bottom != 0) EXPECT_EQ(rect.bottom, expected.rect.bottom);
    const DWORD style = StyleOf(control);
    EXPECT_EQ(style & expected.styleBits, expected.styleBits) << std::hex << style;
    EXPECT_EQ(style & expected.absentBits, 0u) << std::hex << style;
    EXPECT_EQ(ExStyleOf(control) & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME),
              expected.exStyleBits);
    EXPECT_TRUE(IsWindowEnabled(control));
    EXPECT_EQ(GetDlgCtrlID(control), kFirstControlWindowId + expected.id);
    if (expected.id != kComboBox1 && expected.id != kComboBox2) {
      EXPECT_EQ(TextOf(control), expected.text);
    }
    if (expected.id == kComboBox1 || expected.id == kComboBox2) {
      EXPECT_EQ(FontHeightOf(control), -16);
    } else if (expected.id != kResultTable) {
      EXPECT_EQ(FontHeightOf(control), DefaultGuiFontHeight());
    }
  }
}

TEST(MainWindowControls, ButtonIsANormalPushButton) {
  TestMainWindow window;
  const DWORD type = StyleOf(window.control(kButton1)) & BS_TYPEMASK;
  EXPECT_EQ(type, static_cast<DWORD>(BS_PUSHBUTTON));
}

// What each control was created with, caught by a CBT hook: the selectors hand
// WS_VSCROLL on to their list and report their closed height afterwards.
struct CreationRecord {
  HWND window;
  DWORD style;
  int height;
};
std::vector<CreationRecord>* creationRecords = nullptr;

LRESULT CALLBACK RecordCreation(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && creationRecords) {
    const CREATESTRUCTW* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
    creationRecords->push_back({reinterpret_cast<HWND>(wParam),
                                static_cast<DWORD>(create->style), create->cy});
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(MainWindowControls, SelectorFontAndHeights) {
  std::vector<CreationRecord> records;
  creationRecords = &records;
  HHOOK hook = SetWindowsHookExW(WH_CBT, RecordCreation, nullptr, GetCurrentThreadId());
  TestMainWindow window;
  UnhookWindowsHookEx(hook);
  creationRecords = nullptr;

  for (ControlId id : {kComboBox1, kComboBox2}) {
    SCOPED_TRACE(testing::Message() << "selector " << id);
    HWND selector = window.control(id);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(selector, WM_GETFONT, 0, 0));
    LOGFONTW description = {};
    ASSERT_TRUE(GetObjectW(font, sizeof description, &description));
    EXPECT_EQ(description.lfHeight, -16);
    EXPECT_EQ(description.lfWeight, 400);
    EXPECT_EQ(description.lfCharSet, DEFAULT_CHARSET);
    EXPECT_EQ(description.lfQuality, PROOF_QUALITY);
    EXPECT_EQ(description.lfFaceName[0], L'\0');

    // Created 160 high (that bounds the dropped list) with a vertical scroll bar.
    bool found = false;
    for (const CreationRecord& record : records) {
      if (record.window != selector) continue;
      found = true;
      EXPECT_EQ(record.height, 160);
      EXPECT_TRUE(record.style & WS_VSCROLL);
    }
    EXPECT_TRUE(found);
    RECT dropped = {};
    SendMessageW(selector, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    EXPECT_LE(dropped.bottom - dropped.top, 160);

    // One pixel above the default for that font: the same selector made with the same
    // font, its defaults raised by one, must report what ours reports (the platform's
    // own arithmetic for the field height included).
    const DWORD style = StyleOf(selector) & (CBS_DROPDOWN | CBS_DROPDOWNLIST);
    HWND reference = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VSCROLL | style, 0, 0,
                                     72, 160, window.handle(), nullptr, TestInstance(), nullptr);
    SendMessageW(reference, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const LRESULT field = SendMessageW(reference, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    const LRESULT item = SendMessageW(reference, CB_GETITEMHEIGHT, 0, 0);
    EXPECT_GT(item, 0);
    SendMessageW(reference, CB_SETITEMHEIGHT, 0, item + 1);
    SendMessageW(reference, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field + 1);
    for (WPARAM part : {static_cast<WPARAM>(-1), static_cast<WPARAM>(0)}) {
      EXPECT_EQ(SendMessageW(selector, CB_GETITEMHEIGHT, part, 0),
                SendMessageW(reference, CB_GETITEMHEIGHT, part, 0));
    }
    EXPECT_NE(SendMessageW(selector, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), field)
        << "the field height was left at its default";
    DestroyWindow(reference);
  }
}

TEST(MainWindowControls, EditFieldsStartWithCaretAtTheStart) {
  TestMainWindow window;
  for (ControlId id : {kEdit1, kEdit2}) {
    DWORD start = 99, end = 99;
    SendMessageW(window.control(id), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 0u);
  }
}

TEST(MainWindowControls, StackedInLayoutOrder) {
  TestMainWindow window;
  int position = 0;
  for (HWND child = GetWindow(window.handle(), GW_CHILD); child;
       child = GetWindow(child, GW_HWNDNEXT), ++position) {
    ASSERT_LT(position, kControlCount) << "a window that is not a control of the layout";
    EXPECT_EQ(child, window.control(static_cast<ControlId>(position))) << "position " << position;
  }
  EXPECT_EQ(position, kControlCount);
}

}  // namespace

namespace {

// A label drawn into a memory bitmap exactly as on screen (WM_PRINTCLIENT).
struct LabelPicture {
  int width = 0, height = 0;
  std::vector<COLORREF> pixels;
  COLORREF at(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
  bool dark(int x, int y) const {
    const COLORREF c = at(x, y);
    return GetRValue(c) < 0x80 && GetGValue(c) < 0x80 && GetBValue(c) < 0x80;
  }
  // Bounds of the dark (text) pixels; left > right when there are none.
  RECT ink() const {
    RECT box = {width, height, -1, -1};
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        if (!dark(x, y)) continue;
        box.left = std::min<LONG>(box.left, x);
        box.right = std::max<LONG>(box.right, x);
        box.top = std::min<LONG>(box.top, y);
        box.bottom = std::max<LONG>(box.bottom, y);
      }
    }
    return box;
  }
};

LabelPicture Picture(HWND label) {
  LabelPicture picture;
  RECT client;
  GetClientRect(label, &client);
  picture.width = client.right;
  picture.height = client.bottom;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, picture.width, picture.height);
  HGDIOBJ old = SelectObject(dc, bitmap);
  // Pre-fill white, so an unpainted area would show.
  RECT all = {0, 0, picture.width, picture.height};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SendMessageW(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) picture.pixels.push_back(GetPixel(dc, x, y));
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return picture;
}

TEST(Labels, PaintButtonFaceAndAlignedBlackText) {
  TestMainWindow window;
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  struct Case {
    ControlId id;
    bool right;
  };
  for (const Case c : {Case{kLabel2, true}, Case{kLabel3, true}, Case{kLabel4, true}, Case{kLabel6, false},
                       Case{kLabel5, false}, Case{kLabel8, false}}) {
    SCOPED_TRACE(testing::Message() << "label " << c.id);
    const LabelPicture picture = Picture(window.control(c.id));
    ASSERT_GT(picture.width, 0);
    // The corners are the button face: the whole area is filled.
    EXPECT_EQ(picture.at(0, 0), face);
    EXPECT_EQ(picture.at(picture.width - 1, picture.height - 1), face);
    const RECT ink = picture.ink();
    ASSERT_LE(ink.left, ink.right) << "no text drawn";
    // Aligned to its side, and vertically centred within a pixel or two.
    if (c.right) {
      // The same text drawn left-aligned: the same ink, moved to the left edge. (The
      // full-width colon at the end leaves its right half blank.)
      HWND label = window.control(c.id);
      const LONG_PTR style = GetWindowLongPtrW(label, GWL_STYLE);
      SetWindowLongPtrW(label, GWL_STYLE, style & ~static_cast<LONG_PTR>(kLabelAlignRight));
      const RECT leftInk = Picture(label).ink();
      SetWindowLongPtrW(label, GWL_STYLE, style);
      EXPECT_LE(leftInk.left, 3);
      EXPECT_GT(ink.left, leftInk.left);
      EXPECT_EQ(ink.right - ink.left, leftInk.right - leftInk.left);
      EXPECT_GE(ink.right, picture.width - 12);
    } else {
      EXPECT_LE(ink.left, 3);
    }
    const int above = ink.top, below = picture.height - 1 - ink.bottom;
    EXPECT_LE(std::abs(above - below), 3) << above << " " << below;
  }
}

TEST(Labels, EmptyTextPaintsOnlyTheFace) {
  TestMainWindow window;
  HWND label = window.control(kLabel6);
  SetWindowTextW(label, L"");
  const LabelPicture picture = Picture(label);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  for (COLORREF pixel : picture.pixels) ASSERT_EQ(pixel, face);
}

TEST(Labels, NeverTakeTheFocus) {
  TestMainWindow window;
  SetFocus(window.control(kEdit1));
  SendMessageW(window.control(kLabel1), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  SendMessageW(window.control(kLabel1), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(FocusedControl(window.state()), kEdit1);
}

}  // namespace
