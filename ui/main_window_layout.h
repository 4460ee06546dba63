// The main window's layout: its own attributes and its fifteen controls as data.
//
// Portable: no Windows here. The Windows side (main_window_win.cpp) walks this table
// to create the controls; the focus rules (focus_order.h) read its tab stops and
// focus-order values. All texts are GBK bytes.
#pragma once

#include <cstdint>

// What a control is; decides its window class and whether it can take the focus.
enum class ControlKind { kLabel, kEdit, kButton, kEditableSelector, kListSelector, kResultTable };

enum class TextAlign { kLeft, kCentre, kRight };

// One control. Rectangles are pixels in the main window's client area.
struct ControlSpec {
  const char* name;     // the layout name, e.g. 标签1 (GBK)
  ControlKind kind;
  int left;
  int top;
  int width;
  int height;
  const char* text;     // text at creation (GBK); "" for none
  TextAlign align;      // labels: left or right; edit fields and the button: centre
  bool tabStop;
  int focusOrder;       // 0 for every control: ties fall back to the stacking order
};

// Indexes into kMainWindowControls, in stacking order: the first lies on top.
enum ControlId : int {
  kLabel9,       // 标签9  distance reference
  kLabel8,       // 标签8  "采集点选择参考："
  kLabel7,       // 标签7  sample-point reference
  kLabel6,       // 标签6  "Mhz"
  kLabel5,       // 标签5  "Kbps"
  kButton1,      // 按钮1  "计算"
  kComboBox2,    // 组合框2 tolerance selector
  kLabel4,       // 标签4  "误差："
  kComboBox1,    // 组合框1 sample-point selector
  kLabel3,       // 标签3  "采集点："
  kEdit2,        // 编辑框2 bit rate, Kbps
  kLabel2,       // 标签2  "CAN波特率："
  kEdit1,        // 编辑框1 clock, MHz
  kLabel1,       // 标签1  "AHB1时钟："
  kResultTable,  // 高级表格1
  kControlCount
};

extern const ControlSpec kMainWindowControls[kControlCount];

// The window itself: outer size (frame and title bar included) and title.
constexpr int kMainWindowWidth = 800;
constexpr int kMainWindowHeight = 481;
constexpr const char* kMainWindowTitle = "Quillmere";

// Selectors are created this high: it bounds the dropped list.
constexpr int kSelectorCreateHeight = 160;
// The selectors' own font: character height 16 (given as -16), weight 400.
constexpr int kSelectorFontHeight = -16;
constexpr int kSelectorFontWeight = 400;

// Left/top of a window of the given outer size centred on a screen, fraction dropped.
int CenteredOrigin(int screenSize, int windowSize);

// The part of the client area the layout covers: x from 0 to 792, y from 0 to 450.
constexpr int kLayoutClientWidth = 792;
constexpr int kLayoutClientHeight = 450;

struct PixelRect {
  int left;
  int top;
  int width;
  int height;
};
// A control's rectangle at a window DPI: each of its four numbers scaled on its own
// (ScaleForDpi, dpi_scale.h). A selector's height is the created height of 160, scaled.
PixelRect ScaledControlRect(ControlId id, int dpi);

struct PixelSize {
  int width;
  int height;
};
// The outer size at a window DPI whose frame (borders and title bar) takes frameWidth
// and frameHeight pixels: 800 x 481 scaled, grown where that would leave the client
// area less than 792 x 450 scaled.
PixelSize MainWindowOuterSize(int dpi, int frameWidth, int frameHeight);

// True for the kinds that can hold the keyboard focus (everything but a label).
bool KindTakesFocus(ControlKind kind);
