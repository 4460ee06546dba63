// The main window at the DPI of the test prefix (QUILLMERE_TEST_DPI: 96, 120, 144 or
// 192, set through the prefix's LogPixels): every control at its scaled place, the
// client area large enough, every caption whole in the font the control really uses,
// the same rows, and a WM_DPICHANGED sent to the window laying it out again.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/compute_command.h"
#include "calc/fp_environment.h"
#include "calc/timing.h"
#include "tests/win/win_test_support.h"
#include "ui/dpi_scale.h"
#include "ui/dpi_win.h"
#include "ui/main_window_layout.h"
#include "ui/result_table_win.h"
#include "ui/selector_win.h"

namespace {

constexpr DWORD kFrameStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// The DPI the prefix was set up for; 96 when the variable is missing.
int ExpectedDpi() {
  const char* text = std::getenv("QUILLMERE_TEST_DPI");
  return text ? std::atoi(text) : kBaseDpi;
}

bool IsSelector(ControlId id) { return id == kComboBox1 || id == kComboBox2; }

// The stock default GUI font is made for the system DPI; at dpi its height scales with it.
int GuiFontHeightAt(int dpi) {
  LOGFONTW stock = {};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof stock, &stock);
  return MulDiv(MulDiv(stock.lfHeight, 96, SystemDpi()), dpi, 96);
}

// Every control's rectangle at dpi; a selector's height is its closed height, which
// follows its font: the field's item height (one above the font's default) plus the
// frame, and far below the created 160.
void ExpectScaledLayout(const MainWindow& window, int dpi) {
  for (int i = 0; i < kControlCount; ++i) {
    const ControlId id = static_cast<ControlId>(i);
    SCOPED_TRACE(testing::Message() << "control " << i << " at " << dpi);
    HWND control = ControlHandle(window, id);
    const ControlSpec& layout = kMainWindowControls[id];
    const RECT rect = RectInParent(control);
    EXPECT_EQ(rect.left, MulDiv(layout.left, dpi, 96));
    EXPECT_EQ(rect.top, MulDiv(layout.top, dpi, 96));
    EXPECT_EQ(rect.right - rect.left, MulDiv(layout.width, dpi, 96));
    if (!IsSelector(id)) {
      EXPECT_EQ(rect.bottom - rect.top, MulDiv(layout.height, dpi, 96));
      if (id == kResultTable) continue;
      // Scaled; above 96 DPI a few pixels less where a caption would not fit otherwise,
      // never below the 96-DPI height.
      if (dpi == kBaseDpi) EXPECT_EQ(FontHeightOf(control), GuiFontHeightAt(dpi));
      EXPECT_LE(std::abs(FontHeightOf(control)), std::abs(GuiFontHeightAt(dpi)));
      EXPECT_GE(std::abs(FontHeightOf(control)), std::abs(GuiFontHeightAt(kBaseDpi)));
      continue;
    }
    EXPECT_EQ(FontHeightOf(control), MulDiv(-16, dpi, 96));
    const int field = static_cast<int>(SendMessageW(control, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    EXPECT_GE(field, MulDiv(16, dpi, 96));
    EXPECT_GT(rect.bottom - rect.top, field);
    EXPECT_LE(rect.bottom - rect.top, field + 8);
  }
}

// A control's text.
std::wstring TextOfControl(HWND control) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(control, &text[0], static_cast<int>(text.size()))));
  return text;
}

// The width and height of text in font.
SIZE TextExtent(HWND control, HFONT font, const std::wstring& text) {
  HDC dc = GetDC(control);
  HGDIOBJ original = SelectObject(dc, font);
  SIZE size = {};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, original);
  ReleaseDC(control, dc);
  return size;
}

class DpiTest : public testing::Test {
 protected:
  void SetUp() override {
    SetFloatEnvironment();
    UseCandidateStore(&store_);
    ASSERT_NE(window_.handle(), nullptr);
  }
  void TearDown() override { UseCandidateStore(nullptr); }

  HWND control(ControlId id) const { return window_.control(id); }
  void Compute() {
    SendMessageW(control(kButton1), BM_CLICK, 0, 0);
    PumpMessages();
  }
  // A WM_DPICHANGED as Windows sends it: the new DPI twice and the window's rectangle
  // scaled to it, at its place.
  void SendDpiChanged(int from, int to) {
    RECT rect;
    GetWindowRect(window_.handle(), &rect);
    RECT suggested = {rect.left, rect.top, rect.left + RescaleForDpi(rect.right - rect.left, from, to),
                      rect.top + RescaleForDpi(rect.bottom - rect.top, from, to)};
    SendMessageW(window_.handle(), WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
    PumpMessages();
  }

  CandidateList store_;
  TestMainWindow window_;
};

TEST_F(DpiTest, TheWindowTakesThePrefixDpi) {
  EXPECT_EQ(WindowDpi(window_.handle()), ExpectedDpi());
  EXPECT_EQ(window_.state().dpi, ExpectedDpi());
}

TEST_F(DpiTest, EveryControlSitsAtItsScaledPlace) { ExpectScaledLayout(window_.state(), ExpectedDpi()); }

TEST_F(DpiTest, TheClientAreaHoldsTheScaledLayout) {
  const int dpi = ExpectedDpi();
  RECT client, outer;
  GetClientRect(window_.handle(), &client);
  GetWindowRect(window_.handle(), &outer);
  EXPECT_GE(client.right, ScaleForDpi(kLayoutClientWidth, dpi));
  EXPECT_GE(client.bottom, ScaleForDpi(kLayoutClientHeight, dpi));
  const SIZE frame = FrameSize(kFrameStyle, dpi);
  const PixelSize size = MainWindowOuterSize(dpi, frame.cx, frame.cy);
  EXPECT_EQ(outer.right - outer.left, size.width);
  EXPECT_EQ(outer.bottom - outer.top, size.height);
  if (dpi == kBaseDpi) {
    EXPECT_EQ(size.width, 800);
    EXPECT_EQ(size.height, 481);
  }
}

// Each caption, in the font its control really uses, fits the control's scaled width.
// Where a font is wider than the layout was drawn for, a caption that runs over at 96
// DPI may run over by as much, scaled, at a larger DPI; with the prefix's SimSun-width
// stand-in none runs over. Without the scaled layout the captions run over by dozens of
// pixels, and without the font fitting 标签7 by three at 120 DPI.
TEST_F(DpiTest, EveryCaptionFitsItsControl) {
  const int dpi = ExpectedDpi();
  HFONT font96 = CreateDefaultGuiFont(kBaseDpi);
  ASSERT_NE(font96, nullptr);
  const ControlId captioned[] = {kLabel1, kLabel2, kLabel3, kLabel4, kLabel5, kLabel6,
                                 kLabel7, kLabel8, kLabel9, kButton1};
  for (ControlId id : captioned) {
    SCOPED_TRACE(testing::Message() << "control " << id);
    HWND item = control(id);
    const std::wstring text = TextOfControl(item);
    RECT client;
    GetClientRect(item, &client);
    // The button draws its caption inside its frame: two pixels a side at least.
    const int frame = id == kButton1 ? 4 : 0;
    const int room = client.right - frame;
    const int room96 = kMainWindowControls[id].width - frame;
    const SIZE extent = TextExtent(item, reinterpret_cast<HFONT>(SendMessageW(item, WM_GETFONT, 0, 0)), text);
    const SIZE extent96 = TextExtent(item, font96, text);
    const int over96 = extent96.cx > room96 ? extent96.cx - room96 : 0;
    EXPECT_LE(extent.cx, room + ScaleForDpi(over96, dpi));
    EXPECT_LE(extent.cy, client.bottom);
  }
  DeleteObject(font96);
}

TEST_F(DpiTest, ThePresetGivesTheSameThirtyRows) {
  Compute();
  const std::string rows = CopyWholeTable(control(kResultTable)).bytes;
  int lines = 1;
  for (char c : rows) lines += c == '\n';
  EXPECT_EQ(lines, 30);
  EXPECT_EQ(rows.substr(0, rows.find("\r\n")), "CAN_BS1_1tq\tCAN_BS2_1tq\t28\t66.6%\t500\t0%");
  EXPECT_EQ(rows.substr(rows.rfind("\r\n") + 2), "CAN_BS1_12tq\tCAN_BS2_8tq\t4\t61.9%\t500\t0%");
}

TEST_F(DpiTest, ADpiChangeLaysTheWindowOutAgainKeepingRowsAndFocus) {
  const int dpi = ExpectedDpi();
  Compute();
  const std::string rows = CopyWholeTable(control(kResultTable)).bytes;
  SetSelectorSelection(control(kComboBox2), 3);
  SetFocus(control(kEdit2));
  // To another scale and back; from 96 to 120, whose window the 1024 x 768 screen of the
  // main test run still holds.
  const int other = dpi == kBaseDpi ? 120 : dpi == 144 ? 192 : 144;
  for (int to : {other, dpi}) {
    SCOPED_TRACE(to);
    SendDpiChanged(window_.state().dpi, to);
    EXPECT_EQ(window_.state().dpi, to);
    ExpectScaledLayout(window_.state(), to);
    RECT client;
    GetClientRect(window_.handle(), &client);
    EXPECT_GE(client.right, ScaleForDpi(kLayoutClientWidth, to));
    EXPECT_GE(client.bottom, ScaleForDpi(kLayoutClientHeight, to));
    EXPECT_EQ(GetFocus(), control(kEdit2));
    EXPECT_EQ(TextOf(control(kEdit1)), "42");
    EXPECT_EQ(GetSelectorSelection(control(kComboBox2)), 3);
    const ResultTable& table = *ResultTableOf(control(kResultTable));
    EXPECT_EQ(table.defaultFont.height, MessageFontAt(to).lfHeight);
    EXPECT_EQ(table.rowHeights[0], MulDiv(24, to, 96));
    EXPECT_EQ(table.columnWidths[0], MulDiv(791, to, 96) / 6 - 4);
  }
  EXPECT_EQ(CopyWholeTable(control(kResultTable)).bytes, rows);
}

}  // namespace
