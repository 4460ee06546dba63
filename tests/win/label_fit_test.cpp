// Every label's text and the button's caption fit their control's width, measured
// with the font each control really draws with. A stand-in font wider than the one
// the layout was made for cuts the ends off 标签7 and 标签9; this names them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/win/win_test_support.h"

namespace {

struct TextWidth {
  int text = 0;       // pixels the text takes in the control's font
  int available = 0;  // pixels the control gives it
  std::wstring face;  // the face the platform chose for that font
};

std::wstring WindowTextOf(HWND control) {
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(control, &text[0], length + 1);
  text.resize(static_cast<size_t>(copied));
  return text;
}

// The family of the font selected into dc as the platform found it (a substitute
// shows its own name), else the name asked for.
std::wstring FaceOf(HDC dc) {
  const UINT size = GetOutlineTextMetricsW(dc, 0, nullptr);
  if (size >= sizeof(OUTLINETEXTMETRICW)) {
    std::string buffer(size, '\0');
    auto* metrics = reinterpret_cast<OUTLINETEXTMETRICW*>(&buffer[0]);
    if (GetOutlineTextMetricsW(dc, size, metrics) != 0)
      return reinterpret_cast<const wchar_t*>(&buffer[0] +
                                              reinterpret_cast<size_t>(metrics->otmpFamilyName));
  }
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, face);
  return face;
}

// Measures control's text in the font it answers WM_GETFONT with (the system font
// when none), as it draws on the control's own device context.
TextWidth Measure(HWND control, int padding) {
  TextWidth result;
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  if (font == nullptr) font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  const std::wstring text = WindowTextOf(control);
  HDC dc = GetDC(control);
  const HGDIOBJ previous = SelectObject(dc, font);
  SIZE extent = {};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  result.face = FaceOf(dc);
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  RECT client = {};
  GetClientRect(control, &client);
  result.text = extent.cx;
  result.available = client.right - client.left - 2 * padding;
  return result;
}

std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0)
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], size,
                        nullptr, nullptr);
  return out;
}

struct FitCase {
  const char* name;  // as the failure message shows it
  ControlId id;
  bool button;
};

// Labels draw their text from the very edge; a push button keeps its raised edge and,
// inside it, the focus rectangle's pixel on both sides.
int PaddingOf(const FitCase& c) { return c.button ? GetSystemMetrics(SM_CXEDGE) + 1 : 0; }

TEST(TextFit, EveryLabelAndTheButtonShowTheirWholeText) {
  const FitCase cases[] = {
      {"label 1 (AHB1 clock)", kLabel1, false},
      {"label 2 (CAN bit rate)", kLabel2, false},
      {"label 3 (sample point)", kLabel3, false},
      {"label 4 (error)", kLabel4, false},
      {"label 5 (Kbps)", kLabel5, false},
      {"label 6 (Mhz)", kLabel6, false},
      {"label 7 (sample-point reference)", kLabel7, false},
      {"label 8 (sample-point reference title)", kLabel8, false},
      {"label 9 (bit rate and distance reference)", kLabel9, false},
      {"button 1 (compute)", kButton1, true},
  };
  TestMainWindow window;
  ASSERT_NE(window.handle(), nullptr);
  for (const FitCase& c : cases) {
    const TextWidth width = Measure(window.control(c.id), PaddingOf(c));
    EXPECT_GT(width.text, 0) << c.name << " shows no text";
    EXPECT_LE(width.text, width.available)
        << c.name << ": its text takes " << width.text << " pixels in font '"
        << Utf8(width.face) << "', the control gives it " << width.available;
  }
}

// The measurement itself: a text that plainly cannot fit is reported as not fitting,
// and the padding of a button is taken off its width.
TEST(TextFit, MeasuresOverflowAndPadding) {
  TestMainWindow window;
  ASSERT_NE(window.handle(), nullptr);
  HWND label = window.control(kLabel6);  // "Mhz", 24 pixels wide
  const std::wstring longText(40, L'W');
  SetWindowTextW(label, longText.c_str());
  const TextWidth overflowing = Measure(label, 0);
  EXPECT_GT(overflowing.text, overflowing.available);
  EXPECT_EQ(overflowing.available, 24);

  const TextWidth padded = Measure(window.control(kButton1), 3);
  EXPECT_EQ(padded.available, 56 - 6);
}

}  // namespace
