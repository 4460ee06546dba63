// The result table control on the real platform: painted pixels, mouse and keys sent as
// messages, and the real clipboard read back.
#include "ui/result_table_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "calc/candidate_cells.h"
#include "ui/result_table_clipboard_win.h"

namespace {

constexpr COLORREF kHeaderGrey = RGB(128, 128, 128);
constexpr COLORREF kGridGrey = RGB(192, 192, 192);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kSelection = RGB(255, 80, 128);
constexpr int kRowHeight = 24;
constexpr int kColumnWidth = 127;

// Client y of the middle of data row `row` when the table is scrolled to the top.
int RowMiddle(int row) { return row * kRowHeight + kRowHeight / 2; }

// A plain top-level window holding one result table where the main window has it:
// 791 x 352 at (1, 48), with a thin border.
class TableHost {
 public:
  TableHost() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterResultTableClass(instance);
    WNDCLASSW hostClass = {};
    hostClass.lpfnWndProc = DefWindowProcW;
    hostClass.hInstance = instance;
    hostClass.lpszClassName = L"QuillmereTableTestHost";
    RegisterClassW(&hostClass);
    host_ = CreateWindowExW(0, L"QuillmereTableTestHost", L"table", WS_OVERLAPPEDWINDOW,
                            0, 0, 820, 460, nullptr, nullptr, instance, nullptr);
    table_ = CreateWindowExW(0, kResultTableClassName, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER,
                             1, 48, 791, 352, host_, nullptr, instance, nullptr);
    SetFocus(table_);
    PrepareResultTable(table_);
    Pump();
  }
  ~TableHost() {
    DestroyWindow(host_);
    Pump();
  }
  TableHost(const TableHost&) = delete;
  TableHost& operator=(const TableHost&) = delete;

  HWND table() const { return table_; }
  ResultTable& state() const { return *ResultTableOf(table_); }

  static void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }

 private:
  HWND host_ = nullptr;
  HWND table_ = nullptr;
};

std::string CellLabel(int row, int column) {
  return "r" + std::to_string(row) + "c" + std::to_string(column);
}

// Appends rows the way the compute command does, cells "r<row>c<column>".
void Fill(HWND table, int rows) {
  ResultTable& state = *ResultTableOf(table);
  for (int r = 1; r <= rows; ++r) {
    InsertRow(state, "", RowCount(state));
    for (int c = 0; c < 6; ++c) SetCell(state, r, c, 1, CellLabel(r, c).c_str());
  }
  TableHost::Pump();
}

// The client area rendered through WM_PRINTCLIENT into a 32-bit top-down DIB.
class Rendering {
 public:
  explicit Rendering(HWND table) {
    RECT client;
    GetClientRect(table, &client);
    width_ = client.right;
    height_ = client.bottom;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    original_ = SelectObject(dc_, bitmap_);
    Render(table);
  }
  ~Rendering() {
    SelectObject(dc_, original_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  Rendering(const Rendering&) = delete;
  Rendering& operator=(const Rendering&) = delete;

  void Render(HWND table) {
    SendMessageW(table, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_), PRF_CLIENT);
    GdiFlush();
  }
  COLORREF Pixel(int x, int y) const {
    uint32_t p = bits_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  // Pixels of the rectangle that differ from `background`: the text's ink.
  int Ink(int left, int top, int right, int bottom, COLORREF background) const {
    int ink = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) ink += Pixel(x, y) != background;
    return ink;
  }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ original_ = nullptr;
  uint32_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

void Click(HWND table, int x, int y, bool shift = false) {
  WPARAM keys = MK_LBUTTON | (shift ? MK_SHIFT : 0);
  SendMessageW(table, WM_LBUTTONDOWN, keys, MAKELPARAM(x, y));
  SendMessageW(table, WM_LBUTTONUP, keys & ~WPARAM{MK_LBUTTON}, MAKELPARAM(x, y));
  TableHost::Pump();
}

// A key press with Ctrl and Shift as given, as the thread's key state reports them.
void Key(HWND table, WPARAM virtualKey, bool ctrl = false, bool shift = false) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_CONTROL] = keys[VK_LCONTROL] = ctrl ? 0x80 : 0;
  keys[VK_SHIFT] = keys[VK_LSHIFT] = shift ? 0x80 : 0;
  SetKeyboardState(keys);
  SendMessageW(table, WM_KEYDOWN, virtualKey, 1);
  SendMessageW(table, WM_KEYUP, virtualKey, 0xC0000001);
  keys[VK_CONTROL] = keys[VK_LCONTROL] = keys[VK_SHIFT] = keys[VK_LSHIFT] = 0;
  SetKeyboardState(keys);
  TableHost::Pump();
}

struct ClipboardTexts {
  bool open = false;
  std::string bytes = "<none>";     // CF_TEXT
  std::wstring units = L"<none>";  // CF_UNICODETEXT
};

ClipboardTexts ReadClipboard() {
  ClipboardTexts texts;
  if (!OpenClipboard(nullptr)) return texts;
  texts.open = true;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* p = static_cast<const char*>(GlobalLock(data))) {
      texts.bytes = p;
      GlobalUnlock(data);
    }
  }
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const wchar_t* p = static_cast<const wchar_t*>(GlobalLock(data))) {
      texts.units = p;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return texts;
}

void PutOnClipboard(const char* text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  size_t size = std::strlen(text) + 1;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  std::memcpy(GlobalLock(memory), text, size);
  GlobalUnlock(memory);
  SetClipboardData(CF_TEXT, memory);
  CloseClipboard();
}

std::wstring Wide(const std::string& gbk) {
  int length = MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), &wide[0], length);
  return wide;
}

std::string RowText(int row) {
  std::string text;
  for (int c = 0; c < 6; ++c) text += (c ? "\t" : "") + CellLabel(row, c);
  return text;
}

TEST(ResultTableControl, ClaimsTabArrowsAndCharacters) {
  TableHost host;
  EXPECT_EQ(SendMessageW(host.table(), WM_GETDLGCODE, VK_TAB, 0),
            DLGC_WANTTAB | DLGC_WANTARROWS | DLGC_WANTCHARS);
  EXPECT_EQ(Width(host.state()), 791);
  EXPECT_EQ(host.state().columnWidths, std::vector<int32_t>(6, kColumnWidth));
}

TEST(ResultTableControl, PaintsTheHeaderOutlinedOnGreyAndWhiteBeyondTheColumns) {
  TableHost host;
  Rendering picture(host.table());
  ASSERT_EQ(picture.width(), 789);  // 791 less the one-pixel border on each side
  ASSERT_EQ(picture.height(), 350);
  for (int c = 0; c < 6; ++c) {
    SCOPED_TRACE(c);
    int left = c * kColumnWidth;
    EXPECT_EQ(picture.Pixel(left + 2, 2), kHeaderGrey);
    EXPECT_EQ(picture.Pixel(left, 12), kGridGrey);                     // outline, left
    EXPECT_EQ(picture.Pixel(left + 60, 0), kGridGrey);                 // outline, top
    EXPECT_EQ(picture.Pixel(left + kColumnWidth - 1, 12), kGridGrey);  // grid line, right
    EXPECT_EQ(picture.Pixel(left + 60, kRowHeight - 1), kGridGrey);    // grid line, bottom
    // The title is drawn inside the cell, centred: ink in the middle, none at the edges.
    EXPECT_GT(picture.Ink(left + 3, 3, left + kColumnWidth - 4, kRowHeight - 4, kHeaderGrey), 20);
    EXPECT_EQ(picture.Ink(left + 1, 1, left + 12, kRowHeight - 1, kHeaderGrey), 0);
  }
  // Right of the 762 pixels of columns and below the header row: the white background.
  for (int y : {0, 12, 23, 100, 349}) EXPECT_EQ(picture.Pixel(762, y), kWhite) << y;
  EXPECT_EQ(picture.Pixel(788, 5), kWhite);
  EXPECT_EQ(picture.Pixel(300, 200), kWhite);
}

TEST(ResultTableControl, ClickOnADataCellSelectsItsRowInTheSelectionColour) {
  TableHost host;
  Fill(host.table(), 5);
  Click(host.table(), 200, RowMiddle(2));  // row 2, column 1
  ResultTable& state = host.state();
  EXPECT_EQ(state.focusRow, 2);
  EXPECT_EQ(state.focusColumn, 1);
  Rendering picture(host.table());
  for (int c = 0; c < 6; ++c) {
    SCOPED_TRACE(c);
    int left = c * kColumnWidth;
    EXPECT_EQ(picture.Pixel(left + 2, 2 * kRowHeight + 2), kSelection);
    EXPECT_EQ(picture.Pixel(left + 2, 1 * kRowHeight + 2), kWhite);
    EXPECT_EQ(picture.Pixel(left + 2, 3 * kRowHeight + 2), kWhite);
    // Black text on the selection, no focus frame around the clicked cell.
    EXPECT_GT(picture.Ink(left + 3, 2 * kRowHeight + 3, left + kColumnWidth - 4, 3 * kRowHeight - 4,
                          kSelection), 10);
    EXPECT_EQ(picture.Pixel(left + 1, 2 * kRowHeight + 1), kSelection);
    EXPECT_EQ(picture.Pixel(left + kColumnWidth - 1, 2 * kRowHeight + 5), kGridGrey);
  }
  // A click on a header cell clears the selection and keeps the row order.
  Click(host.table(), 200, RowMiddle(0));
  EXPECT_EQ(state.focusRow, -1);
  EXPECT_EQ(state.selection.firstRow, -1);
  EXPECT_EQ(CellAt(state, 1, 0)->text.view(), "r1c0");
  picture.Render(host.table());
  EXPECT_EQ(picture.Pixel(2, 2 * kRowHeight + 2), kWhite);
}

TEST(ResultTableControl, HeaderOfTheFocusColumnIsDrawnHeavier) {
  TableHost host;
  Fill(host.table(), 3);
  const int left = 1 * kColumnWidth;  // "BS2"
  auto headerInk = [&](const Rendering& picture) {
    return picture.Ink(left + 3, 3, left + kColumnWidth - 4, kRowHeight - 4, kHeaderGrey);
  };
  Rendering picture(host.table());
  int normal = headerInk(picture);
  Click(host.table(), 10, RowMiddle(1));  // focus in column 0
  picture.Render(host.table());
  EXPECT_EQ(headerInk(picture), normal);
  Click(host.table(), left + 10, RowMiddle(1));  // focus in column 1
  picture.Render(host.table());
  int heavy = headerInk(picture);
  std::printf("header ink of BS2: %d pixels at its own weight, %d at weight 600\n", normal, heavy);
  EXPECT_GT(heavy, normal);
}

TEST(ResultTableControl, KeysMoveTheFocusAndTheSelectionFollows) {
  TableHost host;
  Fill(host.table(), 40);
  ResultTable& state = host.state();
  Click(host.table(), 10, RowMiddle(2));
  Key(host.table(), VK_DOWN);
  EXPECT_EQ(state.focusRow, 3);
  EXPECT_EQ(state.selection.firstRow, 3);
  EXPECT_EQ(state.selection.lastRow, 3);
  Key(host.table(), VK_RIGHT);
  EXPECT_EQ(state.focusColumn, 1);
  Key(host.table(), VK_NEXT);  // 13 rows fit under the header
  EXPECT_EQ(state.focusRow, 16);
  Key(host.table(), VK_END);
  EXPECT_EQ(state.focusRow, 40);
  Key(host.table(), VK_UP, false, true);  // Shift extends
  EXPECT_EQ(state.selection.firstRow, 39);
  EXPECT_EQ(state.selection.lastRow, 40);
  Key(host.table(), VK_HOME);
  EXPECT_EQ(state.focusRow, 1);
  EXPECT_EQ(state.scrollRow, 1);
}

TEST(ResultTableControl, CtrlAThenCtrlCPutsEveryRowOnTheClipboard) {
  TableHost host;
  Fill(host.table(), 3);
  ResultTable& state = host.state();
  SetCell(state, 2, 4, 1, 500.0f);
  SetCell(state, 3, 2, 1, "\xCE\xF3\xB2\xEE");  // 误差
  Key(host.table(), 'A', true);
  Key(host.table(), 'C', true);
  const std::string expected =
      RowText(1) + "\r\nr2c0\tr2c1\tr2c2\tr2c3\t500\tr2c5\r\nr3c0\tr3c1\t\xCE\xF3\xB2\xEE\tr3c3\tr3c4\tr3c5";
  ClipboardTexts texts = ReadClipboard();
  ASSERT_TRUE(texts.open);
  EXPECT_EQ(texts.bytes, expected);
  EXPECT_EQ(texts.units, Wide(expected));
  EXPECT_NE(texts.units.find(L"\x8BEF\x5DEE"), std::wstring::npos);  // 误差 as UTF-16

  // Ctrl+Insert copies too.
  PutOnClipboard("before");
  Key(host.table(), VK_INSERT, true);
  EXPECT_EQ(ReadClipboard().bytes, expected);
}

TEST(ResultTableControl, TwoRowsSelectedWithTheMouseCopyAsTwoLinesOfSixFields) {
  TableHost host;
  Fill(host.table(), 6);
  Click(host.table(), 300, RowMiddle(2));
  Click(host.table(), 500, RowMiddle(3), true);  // Shift+click
  Key(host.table(), 'C', true);
  ClipboardTexts texts = ReadClipboard();
  EXPECT_EQ(texts.bytes, RowText(2) + "\r\n" + RowText(3));
  EXPECT_EQ(texts.units, Wide(RowText(2) + "\r\n" + RowText(3)));

  // Dragging from row 5 up to row 4 selects the two rows as well.
  SendMessageW(host.table(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, RowMiddle(5)));
  SendMessageW(host.table(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(400, RowMiddle(4)));
  SendMessageW(host.table(), WM_LBUTTONUP, 0, MAKELPARAM(400, RowMiddle(4)));
  Key(host.table(), 'C', true);
  const std::string copied = ReadClipboard().bytes;
  EXPECT_EQ(copied, RowText(4) + "\r\n" + RowText(5));
  size_t lineBreak = copied.find("\r\n");
  ASSERT_NE(lineBreak, std::string::npos);
  for (const std::string& line : {copied.substr(0, lineBreak), copied.substr(lineBreak + 2)})
    EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 5) << line;
}

TEST(ResultTableControl, CopyWithNothingSelectedLeavesTheClipboard) {
  TableHost host;
  Fill(host.table(), 2);
  PutOnClipboard("kept");
  Key(host.table(), 'C', true);
  EXPECT_EQ(ReadClipboard().bytes, "kept");
}

TEST(ResultTableControl, EditingKeysAndDoubleClicksChangeNothing) {
  TableHost host;
  Fill(host.table(), 4);
  ResultTable& state = host.state();
  Click(host.table(), 10, RowMiddle(2));
  PutOnClipboard("untouched");
  Key(host.table(), 'V', true);
  Key(host.table(), 'X', true);
  Key(host.table(), VK_INSERT, false, true);
  Key(host.table(), VK_F2);
  Key(host.table(), VK_TAB);
  Key(host.table(), VK_RETURN);
  Key(host.table(), VK_DELETE);
  SendMessageW(host.table(), WM_CHAR, 'q', 1);
  SendMessageW(host.table(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, RowMiddle(2)));
  TableHost::Pump();
  EXPECT_EQ(ReadClipboard().bytes, "untouched");
  EXPECT_EQ(state.focusRow, 2);
  EXPECT_EQ(state.selection.firstRow, 2);
  EXPECT_EQ(state.selection.lastRow, 2);
  EXPECT_EQ(RowCount(state), 5);
  for (int r = 1; r <= 4; ++r)
    for (int c = 0; c < 6; ++c) EXPECT_EQ(CellAt(state, r, c)->text.view(), CellLabel(r, c));
  EXPECT_EQ(GetFocus(), host.table());
}

// Holds the clipboard open from another thread until told to let go.
DWORD WINAPI HoldClipboard(void* context) {
  HANDLE* events = static_cast<HANDLE*>(context);
  if (OpenClipboard(nullptr)) {
    SetEvent(events[0]);
    WaitForSingleObject(events[1], 5000);
    CloseClipboard();
  } else {
    SetEvent(events[0]);
  }
  return 0;
}

TEST(ResultTableControl, CopyFailsCleanlyWhenTheClipboardIsBusy) {
  TableHost host;
  Fill(host.table(), 2);
  PutOnClipboard("kept");
  Key(host.table(), 'A', true);
  HANDLE events[2] = {CreateEventW(nullptr, TRUE, FALSE, nullptr), CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  HANDLE holder = CreateThread(nullptr, 0, HoldClipboard, events, 0, nullptr);
  ASSERT_NE(holder, nullptr);
  WaitForSingleObject(events[0], 5000);
  EXPECT_FALSE(CopyTableToClipboard(host.table(), host.state()));
  SetEvent(events[1]);
  WaitForSingleObject(holder, 5000);
  CloseHandle(holder);
  CloseHandle(events[0]);
  CloseHandle(events[1]);
  EXPECT_EQ(ReadClipboard().bytes, "kept");
  EXPECT_TRUE(CopyTableToClipboard(host.table(), host.state()));  // and works again afterwards
  EXPECT_EQ(ReadClipboard().bytes, RowText(1) + "\r\n" + RowText(2));
}

TEST(ResultTableControl, DataRowsScrollUnderTheFixedHeader) {
  TableHost host;
  Fill(host.table(), 1000);
  ResultTable& state = host.state();
  SendMessageW(host.table(), WM_PRINTCLIENT, 0, 0);  // nothing to paint into: ignored safely
  UpdateWindow(host.table());
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(host.table(), SB_VERT, &info));
  EXPECT_EQ(info.nMax, 999);
  EXPECT_EQ(info.nPos, 0);

  Click(host.table(), 10, RowMiddle(1));
  Key(host.table(), VK_END);
  EXPECT_EQ(state.focusRow, 1000);
  Rendering picture(host.table());
  EXPECT_EQ(state.scrollRow, 1000 - 13 + 1);  // row 1000 at the bottom of the 13 full rows
  EXPECT_EQ(picture.Pixel(2, 2), kHeaderGrey);  // the header stays at the top
  EXPECT_EQ(picture.Pixel(2, 13 * kRowHeight + 2), kSelection);  // row 1000, last full row
  EXPECT_EQ(picture.Pixel(2, 12 * kRowHeight + 2), kWhite);
  UpdateWindow(host.table());
  ASSERT_TRUE(GetScrollInfo(host.table(), SB_VERT, &info));
  EXPECT_EQ(info.nPos, 1000 - 13);

  // The wheel and the scroll bar move the rows; the header stays.
  SendMessageW(host.table(), WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(state.scrollRow, 1);
  SendMessageW(host.table(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
  UINT lines = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  EXPECT_EQ(state.scrollRow, 1 + static_cast<int32_t>(lines));
  SendMessageW(host.table(), WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(state.scrollRow, 1 + static_cast<int32_t>(lines) + 13);
  Click(host.table(), 10, RowMiddle(1));  // the first row on screen, under the header
  EXPECT_EQ(state.focusRow, state.scrollRow);
}

HWND gCountedWindow = nullptr;
int gPaintCount = 0;

LRESULT CALLBACK CountPaints(int code, WPARAM wParam, LPARAM lParam) {
  const MSG* message = reinterpret_cast<const MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && message->message == WM_PAINT &&
      message->hwnd == gCountedWindow)
    ++gPaintCount;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// On screen: a fill of many rows, each a change, ends in one WM_PAINT that shows them.
TEST(ResultTableControl, AFillRepaintsTheVisibleWindowOnce) {
  TableHost host;
  HWND parent = GetParent(host.table());
  ShowWindow(parent, SW_SHOWNORMAL);
  UpdateWindow(parent);
  TableHost::Pump();
  gCountedWindow = host.table();
  gPaintCount = 0;
  HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, CountPaints, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  PrepareResultTable(host.table());
  Fill(host.table(), 2000);
  TableHost::Pump();
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(gPaintCount, 1);

  // What the window shows: header grey, then white data rows with their texts.
  RECT client;
  GetClientRect(host.table(), &client);
  Rendering picture(host.table());  // a DIB of the client's size
  HDC screen = GetDC(host.table());
  HDC copy = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = client.right;
  info.bmiHeader.biHeight = -client.bottom;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  uint32_t* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(copy, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
  HGDIOBJ original = SelectObject(copy, bitmap);
  BitBlt(copy, 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
  GdiFlush();
  auto shown = [&](int x, int y) {
    uint32_t p = bits[y * client.right + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  };
  EXPECT_EQ(shown(2, 2), kHeaderGrey);
  EXPECT_EQ(shown(2, RowMiddle(1)), kWhite);
  EXPECT_EQ(shown(kColumnWidth - 1, RowMiddle(1)), kGridGrey);
  int ink = 0;
  for (int y = kRowHeight + 3; y < 2 * kRowHeight - 4; ++y)
    for (int x = 3; x < kColumnWidth - 4; ++x) ink += shown(x, y) != kWhite;
  EXPECT_GT(ink, 10);  // "r1c0"
  // The screen matches what WM_PRINTCLIENT paints, pixel for pixel.
  int differing = 0;
  for (int y = 0; y < client.bottom; ++y)
    for (int x = 0; x < client.right; ++x) differing += shown(x, y) != picture.Pixel(x, y);
  EXPECT_EQ(differing, 0);
  SelectObject(copy, original);
  DeleteObject(bitmap);
  DeleteDC(copy);
  ReleaseDC(host.table(), screen);
}

// Prints how long the largest fill and one paint of the full window take; asserts nothing.
TEST(ResultTableControl, TimesTheLargestFillAndOnePaint) {
  TableHost host;
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  ResultTable& state = *ResultTableOf(host.table());
  QueryPerformanceCounter(&start);
  for (int r = 1; r <= 131072; ++r) {
    InsertRow(state, "", RowCount(state));
    SetCell(state, r, 0, 1, "CAN_BS1_16tq");
    SetCell(state, r, 1, 1, "CAN_BS2_8tq");
    SetCell(state, r, 2, 1, "1024");
    SetCell(state, r, 3, 1, "83.3%");
    SetCell(state, r, 4, 1, 500.0f);
    SetCell(state, r, 5, 1, "0%");
  }
  QueryPerformanceCounter(&end);
  double fillMs = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
  TableHost::Pump();
  Click(host.table(), 10, RowMiddle(3));
  Rendering picture(host.table());
  constexpr int kPaints = 50;
  QueryPerformanceCounter(&start);
  for (int i = 0; i < kPaints; ++i) picture.Render(host.table());
  QueryPerformanceCounter(&end);
  double paintMs = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                   static_cast<double>(frequency.QuadPart) / kPaints;
  SendMessageW(host.table(), WM_VSCROLL, SB_BOTTOM, 0);
  QueryPerformanceCounter(&start);
  for (int i = 0; i < kPaints; ++i) picture.Render(host.table());
  QueryPerformanceCounter(&end);
  double bottomMs = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                    static_cast<double>(frequency.QuadPart) / kPaints;
  std::printf("131072 rows appended and 786432 cells written through the window: %.1f ms\n", fillMs);
  std::printf("one paint of the full table: %.2f ms at the top, %.2f ms at the bottom (mean of %d)\n",
              paintMs, bottomMs, kPaints);
  EXPECT_EQ(RowCount(state), 131073);
}

}  // namespace
