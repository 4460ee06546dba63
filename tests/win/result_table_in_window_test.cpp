// The result table as 高级表格1 of the main window: set up at creation, reached by the
// program's keyboard step, copying through the real clipboard.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/win/win_test_support.h"
#include "answers/columns/row_columns.h"
#include "calc/candidate_cells.h"
#include "ui/result_table_win.h"

namespace {

std::string ClipboardBytes() {
  std::string text = "<none>";
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* p = static_cast<const char*>(GlobalLock(data))) {
      text = p;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// Ctrl+key through the message loop's keyboard step, as a user's key press arrives.
void PressCtrlKey(int virtualKey) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_CONTROL] = keys[VK_LCONTROL] = 0x80;
  SetKeyboardState(keys);
  PressKey(virtualKey);
  keys[VK_CONTROL] = keys[VK_LCONTROL] = 0;
  SetKeyboardState(keys);
}

TEST(ResultTableInMainWindow, IsPreparedWhenTheWindowIsCreated) {
  TestMainWindow window;
  HWND table = window.control(kResultTable);
  ResultTable* state = ResultTableOf(table);
  ASSERT_NE(state, nullptr);
  EXPECT_EQ(Width(*state), 791);
  EXPECT_EQ(RowCount(*state), 1);
  EXPECT_EQ(state->columnWidths, std::vector<int32_t>(6, 127));
  for (int k = 0; k < 6; ++k) {
    const ResultCell* cell = CellAt(*state, 0, k);
    EXPECT_EQ(cell->text.view(), WindowColumnTitle(k));
    EXPECT_EQ(CellFont(*state, *cell).height, 18);
    EXPECT_EQ(cell->format.alignment, CellAlignment::kCentre);
  }
  EXPECT_EQ(ResultTableOf(window.control(kEdit1)), nullptr);
}

TEST(ResultTableInMainWindow, RowsSelectedWithTheMouseReachTheClipboard) {
  TestMainWindow window;
  HWND table = window.control(kResultTable);
  ResultTable& state = *ResultTableOf(table);
  const char* rows[3][6] = {
      {"CAN_BS1_4tq", "CAN_BS2_1tq", "12", "83.3%", nullptr, "0%"},
      {"CAN_BS1_6tq", "CAN_BS2_1tq", "9", "87.5%", nullptr, "0%"},
      {"CAN_BS1_16tq", "CAN_BS2_1tq", "4", "94.4%", nullptr, "0%"},
  };
  for (int r = 1; r <= 3; ++r) {
    InsertRow(state, "", RowCount(state));
    for (int c = 0; c < 6; ++c) {
      if (c == 4) SetCell(state, r, c, 1, 500.0f);
      else SetCell(state, r, c, 1, rows[r - 1][c]);
    }
  }
  PumpMessages();
  // A click on row 2, then Shift+click on row 3, at the cells' client coordinates.
  SendMessageW(table, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 2 * 24 + 12));
  SendMessageW(table, WM_LBUTTONUP, 0, MAKELPARAM(200, 2 * 24 + 12));
  SendMessageW(table, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(600, 3 * 24 + 12));
  SendMessageW(table, WM_LBUTTONUP, MK_SHIFT, MAKELPARAM(600, 3 * 24 + 12));
  EXPECT_EQ(GetFocus(), table);
  PressCtrlKey('C');
  EXPECT_EQ(ClipboardBytes(),
            "CAN_BS1_6tq\tCAN_BS2_1tq\t9\t87.5%\t500\t0%\r\n"
            "CAN_BS1_16tq\tCAN_BS2_1tq\t4\t94.4%\t500\t0%");

  // Keys reach the table through the keyboard step; Tab stays with it.
  PressKey(VK_UP);
  EXPECT_EQ(state.focusRow, 2);
  EXPECT_EQ(state.selection.firstRow, 2);
  EXPECT_EQ(state.selection.lastRow, 2);
  PressKey(VK_TAB);
  EXPECT_EQ(GetFocus(), table);
  EXPECT_EQ(state.focusRow, 2);
  PressCtrlKey('A');
  PressCtrlKey(VK_INSERT);
  EXPECT_EQ(ClipboardBytes(),
            "CAN_BS1_4tq\tCAN_BS2_1tq\t12\t83.3%\t500\t0%\r\n"
            "CAN_BS1_6tq\tCAN_BS2_1tq\t9\t87.5%\t500\t0%\r\n"
            "CAN_BS1_16tq\tCAN_BS2_1tq\t4\t94.4%\t500\t0%");

  // PrepareResultTable empties it again.
  PrepareResultTable(table);
  EXPECT_EQ(RowCount(state), 1);
  EXPECT_EQ(state.selection.firstRow, -1);
}

}  // namespace
