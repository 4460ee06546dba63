#include "ui/main_window_layout.h"

#include <algorithm>

#include "ui/dpi_scale.h"

namespace {
constexpr ControlKind kL = ControlKind::kLabel;
constexpr TextAlign kLeftText = TextAlign::kLeft;
constexpr TextAlign kRightText = TextAlign::kRight;
constexpr TextAlign kCentred = TextAlign::kCentre;
}  // namespace

// Stacking order, top first. Names and texts are GBK; the comment shows each.
const ControlSpec kMainWindowControls[kControlCount] = {
    // 标签9: "波特率与传输距离参考：  1000Kbps->40m,...": two spaces after the colon.
    {"\xB1\xEA\xC7\xA9" "9", kL, 8, 426, 784, 24,
     "\xB2\xA8\xCC\xD8\xC2\xCA\xD3\xEB\xB4\xAB\xCA\xE4\xBE\xE0\xC0\xEB\xB2\xCE\xBF\xBC\xA3\xBA"
     "  1000Kbps->40m,500Kbps->270m,250Kbps->530m,125Kbps->620m,100Kbps->1300m,"
     "50Kbps->3300m,10Kbps->6700m",
     kLeftText, false, 0},
    // 标签8: "采集点选择参考："
    {"\xB1\xEA\xC7\xA9" "8", kL, 8, 402, 96, 24,
     "\xB2\xC9\xBC\xAF\xB5\xE3\xD1\xA1\xD4\xF1\xB2\xCE\xBF\xBC\xA3\xBA", kLeftText, false, 0},
    // 标签7: "波特率<=500Kbps选择87.5%左右， 500Kbps<波特率<=800Kbps选择80%左右，
    //         波特率大于800Kbps选择75%左右" (full-width commas, each followed by a space)
    {"\xB1\xEA\xC7\xA9" "7", kL, 154, 402, 592, 24,
     "\xB2\xA8\xCC\xD8\xC2\xCA<=500Kbps\xD1\xA1\xD4\xF1" "87.5%\xD7\xF3\xD3\xD2\xA3\xAC "
     "500Kbps<\xB2\xA8\xCC\xD8\xC2\xCA<=800Kbps\xD1\xA1\xD4\xF1" "80%\xD7\xF3\xD3\xD2\xA3\xAC "
     "\xB2\xA8\xCC\xD8\xC2\xCA\xB4\xF3\xD3\xDA" "800Kbps\xD1\xA1\xD4\xF1" "75%\xD7\xF3\xD3\xD2",
     kLeftText, false, 0},
    // 标签6: "Mhz"
    {"\xB1\xEA\xC7\xA9" "6", kL, 123, 12, 24, 24, "Mhz", kLeftText, false, 0},
    // 标签5: "Kbps"
    {"\xB1\xEA\xC7\xA9" "5", kL, 318, 12, 29, 24, "Kbps", kLeftText, false, 0},
    // 按钮1: "计算"
    {"\xB0\xB4\xC5\xA5" "1", ControlKind::kButton, 712, 12, 56, 24, "\xBC\xC6\xCB\xE3",
     kCentred, true, 0},
    // 组合框2: the tolerance selector, filled once the window exists.
    {"\xD7\xE9\xBA\xCF\xBF\xF2" "2", ControlKind::kListSelector, 606, 12, 72, 24, "",
     kLeftText, true, 0},
    // 标签4: "误差："
    {"\xB1\xEA\xC7\xA9" "4", kL, 566, 12, 40, 24, "\xCE\xF3\xB2\xEE\xA3\xBA", kRightText,
     false, 0},
    // 组合框1: the sample-point selector; its field starts empty.
    {"\xD7\xE9\xBA\xCF\xBF\xF2" "1", ControlKind::kEditableSelector, 460, 12, 76, 24, "",
     kLeftText, true, 0},
    // 标签3: "采集点："
    {"\xB1\xEA\xC7\xA9" "3", kL, 404, 12, 56, 24, "\xB2\xC9\xBC\xAF\xB5\xE3\xA3\xBA",
     kRightText, false, 0},
    // 编辑框2: bit rate in Kbps
    {"\xB1\xE0\xBC\xAD\xBF\xF2" "2", ControlKind::kEdit, 252, 12, 64, 24, "500", kCentred,
     true, 0},
    // 标签2: "CAN波特率："
    {"\xB1\xEA\xC7\xA9" "2", kL, 168, 12, 83, 24, "CAN\xB2\xA8\xCC\xD8\xC2\xCA\xA3\xBA",
     kRightText, false, 0},
    // 编辑框1: clock in MHz
    {"\xB1\xE0\xBC\xAD\xBF\xF2" "1", ControlKind::kEdit, 80, 12, 33, 24, "42", kCentred, true,
     0},
    // 标签1: "AHB1时钟："
    {"\xB1\xEA\xC7\xA9" "1", kL, 11, 12, 65, 24, "AHB1\xCA\xB1\xD6\xD3\xA3\xBA", kRightText,
     false, 0},
    // 高级表格1: the result table
    {"\xB8\xDF\xBC\xB6\xB1\xED\xB8\xF1" "1", ControlKind::kResultTable, 1, 48, 791, 352, "",
     kLeftText, true, 0},
};

int CenteredOrigin(int screenSize, int windowSize) {
  // Integer division truncates toward zero, which drops the fraction for the usual
  // case of a screen larger than the window.
  return (screenSize - windowSize) / 2;
}

bool KindTakesFocus(ControlKind kind) { return kind != ControlKind::kLabel; }

PixelRect ScaledControlRect(ControlId id, int dpi) {
  const ControlSpec& control = kMainWindowControls[id];
  const bool selector =
      control.kind == ControlKind::kEditableSelector || control.kind == ControlKind::kListSelector;
  return {ScaleForDpi(control.left, dpi), ScaleForDpi(control.top, dpi), ScaleForDpi(control.width, dpi),
          ScaleForDpi(selector ? kSelectorCreateHeight : control.height, dpi)};
}

PixelSize MainWindowOuterSize(int dpi, int frameWidth, int frameHeight) {
  return {std::max(ScaleForDpi(kMainWindowWidth, dpi),
                   ScaleForDpi(kLayoutClientWidth, dpi) + frameWidth),
          std::max(ScaleForDpi(kMainWindowHeight, dpi),
                   ScaleForDpi(kLayoutClientHeight, dpi) + frameHeight)};
}
