#include "ui/result_table.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "answers/columns/row_columns.h"
#include "calc/candidate_cells.h"
#include "ui/dpi_scale.h"
#include "ui/result_table_copy.h"
#include "ui/result_table_scroll.h"
#include "ui/result_table_selection.h"

namespace {

FontDescription MessageFont() {
  FontDescription font;
  font.height = -12;
  font.faceName[0] = u'T';
  return font;
}

ResultTable NewTable(int32_t width = 791) {
  ResultTable table;
  InitResultTable(table, MessageFont(), width);
  return table;
}

std::string Text(const ResultTable& table, int32_t row, int32_t column) {
  const ResultCell* cell = CellAt(table, row, column);
  return cell ? std::string(cell->text.view()) : std::string("<none>");
}

// A prepared table with `rows` data rows whose cells read "r<row>c<column>", appended the
// way the compute command does it.
ResultTable FilledTable(int32_t rows) {
  ResultTable table = NewTable();
  PrepareResultTable(table);
  for (int32_t r = 1; r <= rows; ++r) {
    EXPECT_TRUE(InsertRow(table, "", RowCount(table)));
    for (int32_t c = 0; c < 6; ++c) {
      std::string text = "r" + std::to_string(r) + "c" + std::to_string(c);
      EXPECT_TRUE(SetCell(table, r, c, 1, text.c_str()));
    }
  }
  return table;
}

std::vector<std::string> Column0(const ResultTable& table) {
  std::vector<std::string> texts;
  for (int32_t r = 0; r < RowCount(table); ++r) texts.push_back(Text(table, r, 0));
  return texts;
}

bool SelectionIs(const ResultTable& table, int32_t firstRow, int32_t firstColumn, int32_t lastRow,
                 int32_t lastColumn) {
  const CellRange& s = table.selection;
  return s.firstRow == firstRow && s.firstColumn == firstColumn && s.lastRow == lastRow &&
         s.lastColumn == lastColumn;
}

// ---- Creation and PrepareResultTable ----

TEST(ResultTableCreation, StartsWithOneHeaderRowOfSixColumns) {
  ResultTable table = NewTable();
  EXPECT_EQ(RowCount(table), 1);
  EXPECT_EQ(table.columnCount, 6);
  EXPECT_EQ(table.settings.fixedRows, 1);
  EXPECT_EQ(table.settings.fixedColumns, 0);
  EXPECT_EQ(table.rowHeights, std::vector<int32_t>{24});
  EXPECT_EQ(table.columnWidths, std::vector<int32_t>(6, 60));
  EXPECT_EQ(Width(table), 791);
  EXPECT_EQ(table.headerBackground, Rgb(128, 128, 128));
  EXPECT_EQ(table.selectionBackground, Rgb(255, 80, 128));
  EXPECT_EQ(table.settings.gridColour, Rgb(192, 192, 192));
}

TEST(PrepareResultTable, WritesCentredTitlesAt18Over127PixelColumns) {
  ResultTable table = NewTable();
  PrepareResultTable(table);
  EXPECT_EQ(RowCount(table), 1);
  EXPECT_EQ(table.columnWidths, std::vector<int32_t>(6, 127));
  for (int32_t k = 0; k < 6; ++k) {
    SCOPED_TRACE(k);
    const ResultCell* cell = CellAt(table, 0, k);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text.view(), WindowColumnTitle(k));
    EXPECT_EQ(cell->format.alignment, CellAlignment::kCentre);
    EXPECT_TRUE(cell->format.verticalCentre);
    EXPECT_FALSE(cell->format.wordWrap);
    EXPECT_TRUE(cell->format.noPrefix);
    EXPECT_EQ(CellFont(table, *cell).height, 18);
    EXPECT_EQ(CellFont(table, *cell).faceName[0], u'T');  // the rest of the default font
    EXPECT_TRUE(CellIsFixed(table, 0, k));
  }
  EXPECT_EQ(table.selection.firstRow, -1);
  EXPECT_EQ(table.focusRow, -1);
}

TEST(PrepareResultTable, ColumnWidthFollowsTheTableWidth) {
  struct Case {
    int32_t width;
    int32_t expected;
  };
  // 59 / 6 - 4 = 5.8 -> 5, raised to 6; 19 / 6 - 4 = -0.83 truncates to 0, raised to 6;
  // 18 / 6 - 4 = -1 is negative, so the columns keep the width ResetTable gave them.
  const Case cases[] = {{791, 127}, {800, 129}, {60, 6}, {59, 6}, {24, 6}, {19, 6},
                        {18, 60}, {0, 60}, {-10, 60}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    ResultTable table = NewTable(c.width);
    PrepareResultTable(table);
    EXPECT_EQ(table.columnWidths, std::vector<int32_t>(6, c.expected));
  }
}

TEST(PrepareResultTable, RemovesEarlierRowsSelectionAndFocus) {
  ResultTable table = FilledTable(30);
  ClickCell(table, 3, 2, false);
  PrepareResultTable(table);
  EXPECT_EQ(RowCount(table), 1);
  EXPECT_EQ(table.selection.firstRow, -1);
  EXPECT_EQ(table.focusRow, -1);
  EXPECT_EQ(Text(table, 0, 2), WindowColumnTitle(2));
  // Twice gives the same table, not twice the rows.
  PrepareResultTable(table);
  EXPECT_EQ(RowCount(table), 1);
}

// ---- RowCount, ColumnWidth, ResetTable ----

TEST(RowCountWrite, IgnoresNonPositiveAndResizesOtherwise) {
  struct Case {
    int32_t n;
    int32_t rows;
  };
  const Case cases[] = {{0, 4}, {-1, 4}, {INT32_MIN, 4}, {kMaxTableRows + 1, 4},
                        {4, 4}, {2, 2}, {1, 1}, {7, 7}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.n);
    ResultTable table = FilledTable(3);
    SetRowCount(table, c.n);
    EXPECT_EQ(RowCount(table), c.rows);
    EXPECT_EQ(table.cells.size(), static_cast<size_t>(c.rows) * 6);
    EXPECT_EQ(table.rowHeights, std::vector<int32_t>(static_cast<size_t>(c.rows), 24));
    if (c.rows >= 4) EXPECT_EQ(Text(table, 3, 5), "r3c5");
    if (c.rows > 4) {
      EXPECT_EQ(Text(table, c.rows - 1, 0), "");
      // New cells copy the format of the cell above: centred like the header.
      EXPECT_EQ(CellAt(table, c.rows - 1, 3)->format.alignment, CellAlignment::kCentre);
    }
  }
}

TEST(RowCountWrite, ClearsFocusInDeletedRowsAndCutsTheSelection) {
  ResultTable table = FilledTable(5);
  ClickCell(table, 5, 1, false);
  SetRowCount(table, 3);
  EXPECT_EQ(table.focusRow, -1);
  EXPECT_EQ(table.selection.firstRow, -1);

  table = FilledTable(5);
  ClickCell(table, 2, 1, false);
  ClickCell(table, 4, 1, true);
  SetRowCount(table, 4);
  EXPECT_EQ(table.focusRow, -1);
  EXPECT_TRUE(SelectionIs(table, 2, 0, 3, 5));
  std::string copied;
  ASSERT_TRUE(CopyText(table, &copied));
  EXPECT_EQ(copied, "r2c0\tr2c1\tr2c2\tr2c3\tr2c4\tr2c5\r\nr3c0\tr3c1\tr3c2\tr3c3\tr3c4\tr3c5");
}

TEST(RowCountWrite, LowersTheFixedRowCount) {
  ResultTable table = NewTable();
  table.settings.fixedRows = 3;
  SetRowCount(table, 2);
  EXPECT_EQ(table.settings.fixedRows, 2);
}

TEST(ColumnWidthWrite, RaisesSmallWidthsIgnoresNegativeOnesAndRemembers) {
  struct Case {
    int32_t w;
    int32_t width;       // of every column afterwards
    int32_t afterReset;  // of every column after the next ResetTable
  };
  const Case cases[] = {{127, 127, 127}, {6, 6, 6}, {5, 6, 6}, {0, 6, 6},
                        {-1, 60, 60}, {INT32_MIN, 60, 60}, {1000, 1000, 1000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.w);
    ResultTable table = NewTable();
    SetColumnWidth(table, c.w);
    EXPECT_EQ(table.columnWidths, std::vector<int32_t>(6, c.width));
    ResetTable(table);
    EXPECT_EQ(table.columnWidths, std::vector<int32_t>(6, c.afterReset));
  }
}

TEST(ResetTable, KeepsTheCountsAndEmptiesEveryCell) {
  ResultTable table = FilledTable(4);
  ClickCell(table, 2, 2, false);
  table.settings.rowHeight = 40;
  table.settings.gridColour = Rgb(1, 2, 3);
  table.outsideBackground = Rgb(9, 9, 9);
  table.headerBackground = Rgb(7, 7, 7);
  ResetTable(table);
  EXPECT_EQ(RowCount(table), 5);
  EXPECT_EQ(table.columnCount, 6);
  for (int32_t r = 0; r < 5; ++r)
    for (int32_t c = 0; c < 6; ++c) {
      const ResultCell* cell = CellAt(table, r, c);
      EXPECT_EQ(cell->text.view(), "");
      EXPECT_EQ(cell->format.alignment, CellAlignment::kLeft);
      EXPECT_EQ(CellFont(table, *cell).height, -12);
    }
  EXPECT_EQ(table.rowHeights, std::vector<int32_t>(5, 24));
  EXPECT_EQ(table.columnWidths, std::vector<int32_t>(6, 127));  // last ColumnWidth write
  EXPECT_EQ(table.settings.gridColour, Rgb(192, 192, 192));
  EXPECT_EQ(table.outsideBackground, Rgb(255, 255, 255));
  EXPECT_EQ(table.headerBackground, Rgb(7, 7, 7));  // not touched
  EXPECT_EQ(table.focusRow, -1);
  EXPECT_EQ(table.selection.firstRow, -1);
}

// ---- InsertRow ----

TEST(InsertRow, InsertsInsideTheDataRowsAndAppendsElsewhere) {
  struct Case {
    int32_t position;
    std::vector<std::string> column0;
  };
  const std::string h = WindowColumnTitle(0);
  const Case cases[] = {
      {1, {h, "new", "r1c0", "r2c0", "r3c0"}},
      {3, {h, "r1c0", "r2c0", "new", "r3c0"}},
      {4, {h, "r1c0", "r2c0", "r3c0", "new"}},  // the row count: append
      {0, {h, "r1c0", "r2c0", "r3c0", "new"}},  // a fixed row: append
      {-1, {h, "r1c0", "r2c0", "r3c0", "new"}},
      {99, {h, "r1c0", "r2c0", "r3c0", "new"}},
      {INT32_MIN, {h, "r1c0", "r2c0", "r3c0", "new"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position);
    ResultTable table = FilledTable(3);
    ClickCell(table, 2, 3, false);
    EXPECT_TRUE(InsertRow(table, "new", c.position));
    EXPECT_EQ(Column0(table), c.column0);
    EXPECT_EQ(table.focusRow, -1);
    EXPECT_EQ(table.selection.firstRow, -1);
    EXPECT_EQ(table.rowHeights, std::vector<int32_t>(5, 24));
  }
}

TEST(InsertRow, NewCellsCopyTheFormatAboveWithTheDefaultFont) {
  ResultTable table = NewTable();
  PrepareResultTable(table);
  ResultCell& header = table.cells[3];
  header.format.wordWrap = true;
  EXPECT_TRUE(InsertRow(table, nullptr, 1));
  for (int32_t c = 0; c < 6; ++c) {
    const ResultCell* cell = CellAt(table, 1, c);
    EXPECT_EQ(cell->text.view(), "");
    EXPECT_EQ(cell->format.alignment, CellAlignment::kCentre);
    EXPECT_EQ(cell->format.wordWrap, c == 3);
    EXPECT_EQ(CellFont(table, *cell).height, -12);  // not the header's 18
    EXPECT_FALSE(CellIsFixed(table, 1, c));
  }
}

TEST(InsertRow, TakesTheHeightOfRowZeroAndGivesAColumnWhenThereIsNone) {
  ResultTable table = NewTable();
  table.rowHeights[0] = 30;
  EXPECT_TRUE(InsertRow(table, "x", 1));
  EXPECT_EQ(table.rowHeights[1], 30);

  ResultTable bare = NewTable();
  bare.columnCount = 0;
  bare.cells.clear();
  bare.columnWidths.clear();
  EXPECT_TRUE(InsertRow(bare, "t", 1));
  EXPECT_EQ(bare.columnCount, 1);
  EXPECT_EQ(bare.columnWidths, std::vector<int32_t>{60});
  EXPECT_EQ(Text(bare, 0, 0), "");
  EXPECT_EQ(Text(bare, 1, 0), "t");
}

// ---- SetCell ----

TEST(SetCell, WritesTextsAndFloatsOfKindOneInsideTheTable) {
  struct Case {
    int32_t row, column, kind;
    CellValue value;
    bool result;
    std::string text;  // of the cell afterwards, or of (1, 0) when nothing is written
  };
  CellValue integer;
  integer.type = CellValueType::kInteger;
  integer.integer = 5;
  CellValue wide;
  wide.type = CellValueType::kDouble;
  wide.wide = 5;
  const Case cases[] = {
      {1, 0, 1, TextValue("CAN_BS1_16tq"), true, "CAN_BS1_16tq"},
      {1, 5, 1, TextValue("a&b\t"), true, "a&b\t"},
      {1, 2, 1, TextValue(nullptr), true, ""},
      {1, 3, 1, TextValue("a text far longer than fourteen bytes"), true,
       "a text far longer than fourteen bytes"},
      {0, 4, 1, TextValue("\xCE\xF3\xB2\xEE"), true, "\xCE\xF3\xB2\xEE"},
      {2, 4, 1, FloatValue(500.0f), true, "500"},
      {2, 4, 1, FloatValue(333.3333f), true, "333.333"},
      {2, 4, 1, FloatValue(83.33333f), true, "83.3333"},
      {2, 4, 1, FloatValue(62.5f), true, "62.5"},
      {2, 4, 1, FloatValue(1000000.0f), true, "1e+006"},
      {2, 4, 1, FloatValue(1234567.0f), true, "1.23457e+006"},
      {1, 0, 0, TextValue("x"), false, "r1c0"},
      {1, 0, 2, TextValue("x"), false, "r1c0"},
      {1, 0, -1, TextValue("x"), false, "r1c0"},
      {1, 0, 1, integer, false, "r1c0"},
      {1, 0, 1, wide, false, "r1c0"},
      {-1, 0, 1, TextValue("x"), false, "r1c0"},
      {3, 0, 1, TextValue("x"), false, "r1c0"},
      {1, 6, 1, TextValue("x"), false, "r1c0"},
      {1, -1, 1, TextValue("x"), false, "r1c0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.row << "," << c.column << " kind " << c.kind);
    ResultTable table = FilledTable(2);
    ResultTable before = table;
    EXPECT_EQ(SetCell(table, c.row, c.column, c.kind, c.value), c.result);
    if (c.result) {
      EXPECT_EQ(Text(table, c.row, c.column), c.text);
      EXPECT_EQ(CellAt(table, c.row, c.column)->format.alignment, CellAlignment::kCentre);
      EXPECT_EQ(CellAt(table, c.row, c.column)->fontHeight, CellAt(before, c.row, c.column)->fontHeight);
    } else {
      for (int32_t r = 0; r < 3; ++r)
        for (int32_t k = 0; k < 6; ++k) EXPECT_EQ(Text(table, r, k), Text(before, r, k));
    }
  }
}

TEST(CellText, KeepsShortTextsInsideAndLongOnesOnTheHeap) {
  const std::string texts[] = {"", "0%", "CAN_BS1_16tq", std::string(14, 'x'), std::string(15, 'y'),
                               std::string(300, 'z'), std::string("a\0b", 3)};
  for (const std::string& first : texts)
    for (const std::string& second : texts) {
      CellText text;
      text.assign(first.data(), first.size());
      EXPECT_EQ(text.view(), first);
      EXPECT_EQ(text.data()[text.size()], '\0');
      CellText copy = text;
      text.assign(second.data(), second.size());
      EXPECT_EQ(text.view(), second);
      EXPECT_EQ(copy.view(), first);
      CellText moved = std::move(copy);
      EXPECT_EQ(moved.view(), first);
      EXPECT_TRUE(copy.empty());
      moved = text;
      EXPECT_EQ(moved.view(), second);
      moved = std::move(text);
      EXPECT_EQ(moved.view(), second);
      moved.clear();
      EXPECT_EQ(moved.view(), "");
    }
  EXPECT_EQ(sizeof(ResultCell), 24u);
}

// ---- SetFontHeight and SetAlignment ----

struct BlockCase {
  int32_t firstRow, firstColumn;
  std::optional<int32_t> lastRow, lastColumn;
  bool result;
  CellRange changed;  // the cells that change when result is true
};

const BlockCase kBlockCases[] = {
    {1, 1, 2, 3, true, {1, 1, 2, 3}},
    {2, 4, std::nullopt, std::nullopt, true, {2, 4, 2, 4}},  // omitted: the first corner
    {1, 2, std::nullopt, 4, true, {1, 2, 1, 4}},
    {1, 2, 3, std::nullopt, true, {1, 2, 3, 2}},
    {2, 3, 100, 100, true, {2, 3, 3, 5}},  // lowered to the last row and column
    {0, 0, 3, 5, true, {0, 0, 3, 5}},
    {-1, 0, 2, 2, false, {}},
    {0, -1, 2, 2, false, {}},
    {0, 0, -1, 2, false, {}},
    {0, 0, 2, -1, false, {}},
    {2, 2, 1, 3, false, {}},  // reversed rows
    {1, 3, 2, 2, false, {}},  // reversed columns
    {4, 0, 4, 0, false, {}},  // first row outside
    {0, 6, 0, 6, false, {}},  // first column outside
    {5, 0, 100, 0, false, {}},
};

bool InBlock(const CellRange& block, int32_t row, int32_t column) {
  return row >= block.firstRow && row <= block.lastRow && column >= block.firstColumn &&
         column <= block.lastColumn;
}

TEST(SetFontHeight, ChangesOnlyTheHeightOfEachCellInTheBlock) {
  for (const BlockCase& c : kBlockCases) {
    SCOPED_TRACE(testing::Message() << c.firstRow << "," << c.firstColumn);
    ResultTable table = FilledTable(3);
    EXPECT_EQ(SetFontHeight(table, c.firstRow, c.firstColumn, c.lastRow, c.lastColumn, 31), c.result);
    for (int32_t r = 0; r < 4; ++r)
      for (int32_t k = 0; k < 6; ++k) {
        const FontDescription& font = CellFont(table, *CellAt(table, r, k));
        int32_t expected = c.result && InBlock(c.changed, r, k) ? 31 : r == 0 ? 18 : -12;
        EXPECT_EQ(font.height, expected) << r << "," << k;
        EXPECT_EQ(font.faceName[0], u'T');
      }
  }
}

TEST(SetAlignment, SetsTheAlignmentOfEachCellInTheBlock) {
  for (const BlockCase& c : kBlockCases) {
    SCOPED_TRACE(testing::Message() << c.firstRow << "," << c.firstColumn);
    ResultTable table = FilledTable(3);
    EXPECT_EQ(SetAlignment(table, c.firstRow, c.firstColumn, c.lastRow, c.lastColumn, 3), c.result);
    for (int32_t r = 0; r < 4; ++r)
      for (int32_t k = 0; k < 6; ++k) {
        CellAlignment expected = c.result && InBlock(c.changed, r, k) ? CellAlignment::kRight
                                                                      : CellAlignment::kCentre;
        EXPECT_EQ(CellAt(table, r, k)->format.alignment, expected) << r << "," << k;
      }
  }
}

TEST(SetAlignment, MapsTheCodeAndKeepsWordWrap) {
  struct Case {
    int32_t code;
    CellAlignment alignment;
  };
  const Case cases[] = {{2, CellAlignment::kCentre}, {3, CellAlignment::kRight},
                        {0, CellAlignment::kLeft},   {1, CellAlignment::kLeft},
                        {4, CellAlignment::kLeft},   {-2, CellAlignment::kLeft}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    ResultTable table = FilledTable(1);
    table.cells[6].format = CellFormat{CellAlignment::kRight, false, true, false};
    table.cells[7].format = CellFormat{CellAlignment::kRight, false, false, false};
    EXPECT_TRUE(SetAlignment(table, 1, 0, 1, 1, c.code));
    for (int32_t k = 0; k < 2; ++k) {
      const CellFormat& format = CellAt(table, 1, k)->format;
      EXPECT_EQ(format.alignment, c.alignment);
      EXPECT_TRUE(format.verticalCentre);
      EXPECT_TRUE(format.noPrefix);
      EXPECT_EQ(format.wordWrap, k == 0);
    }
  }
}

TEST(CellFonts, EachCellChangesAlone) {
  ResultTable table = FilledTable(1000);
  EXPECT_TRUE(SetFontHeight(table, 500, 2, std::nullopt, std::nullopt, 40));
  EXPECT_EQ(CellFont(table, *CellAt(table, 500, 2)).height, 40);
  EXPECT_EQ(CellFont(table, *CellAt(table, 500, 2)).faceName[0], u'T');
  EXPECT_EQ(CellFont(table, *CellAt(table, 500, 3)).height, -12);
  EXPECT_EQ(CellFont(table, *CellAt(table, 499, 2)).height, -12);
}

TEST(CellFonts, AnyNumberOfHeightsCanBeGiven) {
  ResultTable table = FilledTable(2);
  for (int32_t h = 1; h <= 70000; ++h) ASSERT_TRUE(SetFontHeight(table, 2, 5, 2, 5, h));
  EXPECT_EQ(CellFont(table, *CellAt(table, 2, 5)).height, 70000);
  EXPECT_EQ(CellFont(table, *CellAt(table, 2, 4)).height, -12);
  EXPECT_EQ(CellFont(table, *CellAt(table, 0, 5)).height, 18);
}

// ---- User actions ----

TEST(UserActions, ClickOnADataCellFocusesItAndSelectsItsRow) {
  ResultTable table = FilledTable(5);
  EXPECT_TRUE(ClickCell(table, 3, 4, false));
  EXPECT_EQ(table.focusRow, 3);
  EXPECT_EQ(table.focusColumn, 4);
  EXPECT_TRUE(SelectionIs(table, 3, 0, 3, 5));
  for (int32_t k = 0; k < 6; ++k) EXPECT_TRUE(CellIsSelected(table, 3, k));
  EXPECT_FALSE(CellIsSelected(table, 2, 0));
  EXPECT_FALSE(ClickCell(table, 3, 4, false));  // the same click changes nothing more
}

TEST(UserActions, ClickOnAHeaderCellClearsSelectionAndSortsNothing) {
  ResultTable table = FilledTable(3);
  ClickCell(table, 2, 1, false);
  EXPECT_TRUE(ClickCell(table, 0, 1, false));
  EXPECT_EQ(table.focusRow, -1);
  EXPECT_EQ(table.selection.firstRow, -1);
  EXPECT_EQ(Column0(table), (std::vector<std::string>{WindowColumnTitle(0), "r1c0", "r2c0", "r3c0"}));
  std::string kept = "kept";
  EXPECT_FALSE(CopyText(table, &kept));
  EXPECT_EQ(kept, "kept");
}

TEST(UserActions, ClickOutsideTheCellsChangesNothing) {
  ResultTable table = FilledTable(3);
  ClickCell(table, 2, 1, false);
  EXPECT_FALSE(ClickCell(table, 4, 1, false));
  EXPECT_FALSE(ClickCell(table, 1, 6, false));
  EXPECT_FALSE(ClickCell(table, -1, -1, false));
  EXPECT_TRUE(SelectionIs(table, 2, 0, 2, 5));
}

TEST(UserActions, ShiftClickAndDragSelectRowsFromTheAnchor) {
  ResultTable table = FilledTable(6);
  ClickCell(table, 2, 0, false);
  EXPECT_TRUE(ClickCell(table, 4, 3, true));
  EXPECT_TRUE(SelectionIs(table, 2, 0, 4, 5));
  EXPECT_EQ(table.focusRow, 4);
  EXPECT_TRUE(ClickCell(table, 1, 3, true));  // the anchor stays at row 2
  EXPECT_TRUE(SelectionIs(table, 1, 0, 2, 5));

  ResultTable dragged = FilledTable(6);
  EXPECT_FALSE(DragToCell(dragged, 3, 0));  // no click, no drag
  ClickCell(dragged, 5, 0, false);
  EXPECT_TRUE(DragToCell(dragged, 3, 2));
  EXPECT_TRUE(SelectionIs(dragged, 3, 0, 5, 5));
  EXPECT_TRUE(DragToCell(dragged, 0, 2));  // above the data: stops at the first data row
  EXPECT_TRUE(SelectionIs(dragged, 1, 0, 5, 5));
}

TEST(UserActions, MovementKeysMoveTheFocusAndTheRowSelectionFollows) {
  struct Case {
    const char* name;
    int32_t focusRow, focusColumn;  // before; -1 for none
    TableKey key;
    bool shift, ctrl;
    int32_t row, column;                // focus afterwards
    int32_t selectionFirst, selectionLast;
  };
  const Case cases[] = {
      {"down", 3, 2, TableKey::kDown, false, false, 4, 2, 4, 4},
      {"down at the end", 20, 2, TableKey::kDown, false, false, 20, 2, 20, 20},
      {"up", 3, 2, TableKey::kUp, false, false, 2, 2, 2, 2},
      {"up stops below the header", 1, 2, TableKey::kUp, false, false, 1, 2, 1, 1},
      {"left", 3, 2, TableKey::kLeft, false, false, 3, 1, 3, 3},
      {"left at column 0", 3, 0, TableKey::kLeft, false, false, 3, 0, 3, 3},
      {"right", 3, 2, TableKey::kRight, false, false, 3, 3, 3, 3},
      {"right at the last column", 3, 5, TableKey::kRight, false, false, 3, 5, 3, 3},
      {"page down", 3, 2, TableKey::kPageDown, false, false, 16, 2, 16, 16},
      {"page down past the end", 10, 2, TableKey::kPageDown, false, false, 20, 2, 20, 20},
      {"page up", 16, 2, TableKey::kPageUp, false, false, 3, 2, 3, 3},
      {"page up past the start", 5, 2, TableKey::kPageUp, false, false, 1, 2, 1, 1},
      {"home", 9, 4, TableKey::kHome, false, false, 1, 4, 1, 1},
      {"ctrl home", 9, 4, TableKey::kHome, false, true, 1, 0, 1, 1},
      {"end", 9, 4, TableKey::kEnd, false, false, 20, 4, 20, 20},
      {"ctrl end", 9, 1, TableKey::kEnd, false, true, 20, 5, 20, 20},
      {"shift down extends", 3, 2, TableKey::kDown, true, false, 4, 2, 3, 4},
      {"shift page up extends", 16, 2, TableKey::kPageUp, true, false, 3, 2, 3, 16},
      {"shift end extends", 18, 2, TableKey::kEnd, true, false, 20, 2, 18, 20},
      {"down without focus", -1, -1, TableKey::kDown, false, false, 1, 0, 1, 1},
      {"up without focus", -1, -1, TableKey::kUp, false, false, 1, 0, 1, 1},
      {"end without focus", -1, -1, TableKey::kEnd, false, false, 20, 0, 20, 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResultTable table = FilledTable(20);
    if (c.focusRow >= 0) ClickCell(table, c.focusRow, c.focusColumn, false);
    KeyOutcome outcome = PressTableKey(table, c.key, c.shift, c.ctrl, 13);
    EXPECT_FALSE(outcome.copy);
    EXPECT_EQ(table.focusRow, c.row);
    EXPECT_EQ(table.focusColumn, c.column);
    EXPECT_TRUE(SelectionIs(table, c.selectionFirst, 0, c.selectionLast, 5));
    EXPECT_EQ(outcome.changed, c.row != c.focusRow || c.column != c.focusColumn);
  }
}

TEST(UserActions, MovementKeysDoNothingWithoutDataRows) {
  ResultTable table = NewTable();
  PrepareResultTable(table);
  for (TableKey key : {TableKey::kDown, TableKey::kEnd, TableKey::kPageDown}) {
    EXPECT_FALSE(PressTableKey(table, key, false, false, 13).changed);
    EXPECT_EQ(table.focusRow, -1);
  }
  EXPECT_FALSE(PressTableKey(table, TableKey::kLetterA, false, true, 13).changed);
  EXPECT_EQ(table.selection.firstRow, -1);
}

TEST(UserActions, EditingKeysChangeNothing) {
  struct Case {
    const char* name;
    TableKey key;
    bool shift, ctrl;
  };
  const Case cases[] = {
      {"Tab", TableKey::kTab, false, false},       {"Shift+Tab", TableKey::kTab, true, false},
      {"Enter", TableKey::kEnter, false, false},   {"Ctrl+X", TableKey::kLetterX, false, true},
      {"Ctrl+V", TableKey::kLetterV, false, true}, {"Shift+Insert", TableKey::kInsert, true, false},
      {"Insert", TableKey::kInsert, false, false}, {"F2", TableKey::kF2, false, false},
      {"Delete", TableKey::kDelete, false, false}, {"typing a", TableKey::kLetterA, false, false},
      {"typing c", TableKey::kLetterC, false, false}, {"other", TableKey::kOther, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResultTable table = FilledTable(4);
    ClickCell(table, 2, 3, false);
    KeyOutcome outcome = PressTableKey(table, c.key, c.shift, c.ctrl, 13);
    EXPECT_FALSE(outcome.changed);
    EXPECT_FALSE(outcome.copy);
    EXPECT_EQ(table.focusRow, 2);
    EXPECT_EQ(table.focusColumn, 3);
    EXPECT_TRUE(SelectionIs(table, 2, 0, 2, 5));
    for (int32_t r = 0; r < 5; ++r)
      for (int32_t k = 0; k < 6; ++k)
        if (r > 0) EXPECT_EQ(Text(table, r, k), "r" + std::to_string(r) + "c" + std::to_string(k));
  }
}

TEST(UserActions, CtrlCAndCtrlInsertAskForACopy) {
  ResultTable table = FilledTable(2);
  EXPECT_TRUE(PressTableKey(table, TableKey::kLetterC, false, true, 13).copy);
  EXPECT_TRUE(PressTableKey(table, TableKey::kInsert, false, true, 13).copy);
  EXPECT_FALSE(PressTableKey(table, TableKey::kInsert, true, true, 13).copy);
}

TEST(UserActions, CtrlASelectsEveryDataCellAtOnce) {
  ResultTable table = FilledTable(131072);
  ClickCell(table, 7, 2, false);
  KeyOutcome outcome = PressTableKey(table, TableKey::kLetterA, false, true, 13);
  EXPECT_TRUE(outcome.changed);
  EXPECT_TRUE(SelectionIs(table, 1, 0, 131072, 5));
  EXPECT_EQ(table.focusRow, 7);  // the focus stays
  EXPECT_FALSE(CellIsSelected(table, 0, 0));
  EXPECT_TRUE(CellIsSelected(table, 131072, 5));
  std::string copied;
  ASSERT_TRUE(CopyText(table, &copied));
  EXPECT_EQ(copied.substr(0, 62), "r1c0\tr1c1\tr1c2\tr1c3\tr1c4\tr1c5\r\nr2c0\tr2c1\tr2c2\tr2c3\tr2c4\tr2c5\r\n");
  const std::string tail = "\r\nr131072c0\tr131072c1\tr131072c2\tr131072c3\tr131072c4\tr131072c5";
  EXPECT_EQ(copied.substr(copied.size() - tail.size()), tail);
}

// ---- The copy text ----

TEST(CopyText, WritesTheSelectedRowsTabSeparatedWithCrLfBetween) {
  struct Case {
    const char* name;
    std::vector<std::pair<int32_t, bool>> clicks;  // row, extend
    bool selectAll;
    std::string text;
  };
  const Case cases[] = {
      {"one row", {{2, false}}, false, "r2c0\tr2c1\tr2c2\tr2c3\tr2c4\tr2c5"},
      {"two rows",
       {{1, false}, {2, true}},
       false,
       "r1c0\tr1c1\tr1c2\tr1c3\tr1c4\tr1c5\r\nr2c0\tr2c1\tr2c2\tr2c3\tr2c4\tr2c5"},
      {"rows upwards",
       {{3, false}, {2, true}},
       false,
       "r2c0\tr2c1\tr2c2\tr2c3\tr2c4\tr2c5\r\nr3c0\tr3c1\tr3c2\tr3c3\tr3c4\tr3c5"},
      {"everything",
       {},
       true,
       "r1c0\tr1c1\tr1c2\tr1c3\tr1c4\tr1c5\r\nr2c0\tr2c1\tr2c2\tr2c3\tr2c4\tr2c5\r\n"
       "r3c0\tr3c1\tr3c2\tr3c3\tr3c4\tr3c5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResultTable table = FilledTable(3);
    for (const auto& click : c.clicks) ClickCell(table, click.first, 1, click.second);
    if (c.selectAll) SelectAll(table);
    std::string copied;
    ASSERT_TRUE(CopyText(table, &copied));
    EXPECT_EQ(copied, c.text);
  }
}

TEST(CopyText, KeepsTabsOfEmptyAndUnselectedCellsAndSkipsZeroSizes) {
  ResultTable table = FilledTable(2);
  SetCell(table, 1, 0, 1, "");
  SetCell(table, 1, 5, 1, "");
  SetCell(table, 2, 4, 1, 500.0f);
  ClickCell(table, 1, 0, false);
  ClickCell(table, 2, 0, true);
  std::string copied;
  ASSERT_TRUE(CopyText(table, &copied));
  EXPECT_EQ(copied, "\tr1c1\tr1c2\tr1c3\tr1c4\t\r\nr2c0\tr2c1\tr2c2\tr2c3\t500\tr2c5");

  // A block cell outside the selection keeps its tab; zero sizes drop out with theirs.
  table.selection = CellRange{1, 1, 2, 3};
  table.columnWidths[2] = 0;
  table.rowHeights[1] = 0;
  ASSERT_TRUE(CopyText(table, &copied));
  EXPECT_EQ(copied, "r2c1\tr2c3");
}

// ---- Layout ----

TEST(Layout, ScrollsByRowsUnderTheHeader) {
  ResultTable table = FilledTable(100);
  const int32_t clientHeight = 350;  // 24 header + 13 full rows + 14 pixels
  EXPECT_EQ(FullyVisibleRows(table, clientHeight), 13);
  EXPECT_EQ(MaxScrollRow(table, clientHeight), 88);
  EXPECT_FALSE(ScrollToRow(table, 13, clientHeight));
  EXPECT_TRUE(ScrollToRow(table, 14, clientHeight));
  EXPECT_EQ(table.scrollRow, 2);
  EXPECT_TRUE(ScrollToRow(table, 100, clientHeight));
  EXPECT_EQ(table.scrollRow, 88);
  EXPECT_TRUE(ScrollToRow(table, 5, clientHeight));
  EXPECT_EQ(table.scrollRow, 5);
  table.scrollRow = 500;
  EXPECT_TRUE(ClampScrollRow(table, clientHeight));
  EXPECT_EQ(table.scrollRow, 88);

  ResultTable few = FilledTable(3);
  EXPECT_EQ(MaxScrollRow(few, clientHeight), 1);
  EXPECT_EQ(FullyVisibleRows(few, clientHeight), 13);
}

TEST(Layout, HitTestFindsTheCellUnderAPoint) {
  ResultTable table = FilledTable(100);
  table.scrollRow = 10;
  struct Case {
    int32_t x, y, row, column;
  };
  const Case cases[] = {{0, 0, 0, 0},       {126, 23, 0, 0},   {127, 24, 10, 1},
                        {761, 47, 10, 5},   {762, 30, -1, -1}, {300, 48, 11, 2},
                        {-1, 30, -1, -1},   {10, -1, -1, -1},  {10, 24 * 91, 100, 0},
                        {10, 24 * 92, -1, -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    CellHit hit = HitTestCell(table, c.x, c.y);
    EXPECT_EQ(hit.row, c.row);
    EXPECT_EQ(hit.column, c.column);
  }
}

// Random operation sequences against a plain model: rows of texts, a fixed-row count,
// the focus row and the selected rows.
TEST(ResultTableModel, RandomOperationsAgreeWithAPlainModel) {
  std::mt19937 random(20261208);
  for (int run = 0; run < 200; ++run) {
    ResultTable table = NewTable();
    PrepareResultTable(table);
    std::vector<std::vector<std::string>> model(1);
    for (int k = 0; k < 6; ++k) model[0].push_back(WindowColumnTitle(k));
    int fixedRows = 1;
    int focusRow = -1;
    int selectedFirst = -1, selectedLast = -1;
    for (int step = 0; step < 60; ++step) {
      int rows = static_cast<int>(model.size());
      int r = static_cast<int>(random() % static_cast<unsigned>(rows + 3)) - 1;
      int c = static_cast<int>(random() % 8) - 1;
      std::string text = "t" + std::to_string(random() % 1000) + std::string(random() % 20, '.');
      switch (random() % 7) {
        case 0: {
          int n = static_cast<int>(random() % 12) - 2;
          SetRowCount(table, n);
          if (n > 0) {
            model.resize(static_cast<size_t>(n), std::vector<std::string>(6));
            fixedRows = std::min(fixedRows, n);
            if (focusRow >= n) focusRow = -1;
            if (selectedFirst >= n) selectedFirst = selectedLast = -1;
            else if (selectedLast >= n) selectedLast = n - 1;
          }
          break;
        }
        case 1: {
          EXPECT_TRUE(InsertRow(table, text.c_str(), r));
          std::vector<std::string> row(6);
          row[0] = text;
          int at = r >= fixedRows && r < rows ? r : rows;
          model.insert(model.begin() + at, row);
          focusRow = selectedFirst = selectedLast = -1;
          break;
        }
        case 2:
        case 3: {
          bool inside = r >= 0 && r < rows && c >= 0 && c < 6;
          EXPECT_EQ(SetCell(table, r, c, 1, text.c_str()), inside);
          if (inside) model[static_cast<size_t>(r)][static_cast<size_t>(c)] = text;
          break;
        }
        case 4: {
          bool changed = ClickCell(table, r, c, random() % 2 == 0);
          (void)changed;
          if (r >= 0 && r < rows && c >= 0 && c < 6) {
            if (r < fixedRows) {
              focusRow = selectedFirst = selectedLast = -1;
            } else {
              focusRow = r;
            }
          }
          selectedFirst = table.selection.firstRow;  // the range rule has its own tests
          selectedLast = table.selection.lastRow;
          break;
        }
        case 5:
          SelectAll(table);
          if (rows > fixedRows) {
            selectedFirst = fixedRows;
            selectedLast = rows - 1;
          }
          break;
        default:
          ResetTable(table);
          for (auto& row : model) row.assign(6, "");
          fixedRows = 1;
          focusRow = selectedFirst = selectedLast = -1;
          break;
      }
      ASSERT_EQ(RowCount(table), static_cast<int32_t>(model.size()));
      ASSERT_EQ(table.cells.size(), model.size() * 6);
      ASSERT_EQ(table.rowHeights.size(), model.size());
      ASSERT_EQ(table.settings.fixedRows, fixedRows);
      ASSERT_EQ(table.focusRow, focusRow);
      ASSERT_EQ(table.selection.firstRow, selectedFirst);
      ASSERT_EQ(table.selection.lastRow, selectedLast);
      for (size_t i = 0; i < model.size(); ++i)
        for (size_t k = 0; k < 6; ++k) {
          const ResultCell* cell = CellAt(table, static_cast<int32_t>(i), static_cast<int32_t>(k));
          ASSERT_EQ(cell->text.view(), model[i][k]) << i << "," << k;
        }
      std::string copied = "none";
      if (selectedFirst >= 0) {
        ASSERT_TRUE(CopyText(table, &copied));
        std::string expected;
        for (int row = selectedFirst; row <= selectedLast; ++row)
          for (int k = 0; k < 6; ++k)
            expected += (k ? "\t" : row > selectedFirst ? "\r\n" : "") + model[static_cast<size_t>(row)][static_cast<size_t>(k)];
        ASSERT_EQ(copied, expected);
      } else {
        ASSERT_FALSE(CopyText(table, &copied));
      }
    }
  }
}

TEST(Observer, HearsEveryChange) {
  struct Counts {
    int changes = 0;
    int layouts = 0;
  } counts;
  ResultTable table = NewTable();
  table.observer.context = &counts;
  table.observer.changed = [](void* context, bool layout) {
    auto* c = static_cast<Counts*>(context);
    ++c->changes;
    if (layout) ++c->layouts;
  };
  PrepareResultTable(table);
  EXPECT_GE(counts.layouts, 3);
  int before = counts.changes;
  InsertRow(table, "", 1);
  SetCell(table, 1, 4, 1, 500.0f);
  EXPECT_EQ(counts.changes, before + 2);
  SetCell(table, 9, 9, 1, "x");  // refused: no repaint
  EXPECT_EQ(counts.changes, before + 2);
}

}  // namespace

// ---- DPI ----

namespace {

// The table's width at a DPI: 791 scaled.
int32_t ScaleForDpiOf791(int32_t dpi) { return ScaleForDpi(791, dpi); }

TEST(ResultTableDpi, RowsAndHeaderFontFollowTheDpiOfCreation) {
  struct Case {
    int32_t dpi, rowHeight, headerHeight;
  };
  const Case cases[] = {{96, 24, 18}, {120, 30, 23}, {144, 36, 27}, {192, 48, 36}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    ResultTable table;
    InitResultTable(table, MessageFont(), 1187, c.dpi);
    PrepareResultTable(table);
    EXPECT_TRUE(InsertRow(table, "", 1));
    EXPECT_EQ(table.rowHeights, std::vector<int32_t>(2, c.rowHeight));
    EXPECT_EQ(CellFont(table, *CellAt(table, 0, 3)).height, c.headerHeight);
    EXPECT_EQ(CellFont(table, *CellAt(table, 1, 3)).height, -12);  // the default font's own
    EXPECT_EQ(table.columnWidths, std::vector<int32_t>(6, 193));   // 1187 / 6 - 4
  }
}

TEST(ResultTableDpi, RescalingKeepsRowsSelectionAndScrollAndComesBackExactly) {
  ResultTable table = FilledTable(40);
  SetFontHeight(table, 7, 2, std::nullopt, std::nullopt, 40);
  ClickCell(table, 5, 2, false);
  ClickCell(table, 9, 2, true);
  table.scrollRow = 4;
  FontDescription large = MessageFont();
  large.height = -18;
  const int32_t path[] = {144, 120, 192, 96};
  const int32_t rowHeights[] = {36, 30, 48, 24};
  const int32_t headerHeights[] = {27, 23, 36, 18};
  const int32_t ownHeights[] = {60, 50, 80, 40};
  for (int step = 0; step < 4; ++step) {
    SCOPED_TRACE(path[step]);
    const bool back = path[step] == 96;
    RescaleResultTable(table, back ? MessageFont() : large, path[step]);
    table.outerWidth = ScaleForDpiOf791(path[step]);
    FitColumnsToWidth(table);
    EXPECT_EQ(RowCount(table), 41);
    EXPECT_EQ(Text(table, 40, 5), "r40c5");
    EXPECT_EQ(table.rowHeights, std::vector<int32_t>(41, rowHeights[step]));
    EXPECT_EQ(table.settings.rowHeight, rowHeights[step]);
    EXPECT_EQ(CellFont(table, *CellAt(table, 0, 0)).height, headerHeights[step]);
    EXPECT_EQ(CellFont(table, *CellAt(table, 7, 2)).height, ownHeights[step]);
    EXPECT_EQ(CellFont(table, *CellAt(table, 8, 2)).height, back ? -12 : -18);
    EXPECT_TRUE(SelectionIs(table, 5, 0, 9, 5));
    EXPECT_EQ(table.focusRow, 9);
    EXPECT_EQ(table.scrollRow, 4);
  }
  EXPECT_EQ(table.columnWidths, std::vector<int32_t>(6, 127));
  ResetTable(table);  // new rows keep the rescaled setting
  EXPECT_EQ(table.rowHeights, std::vector<int32_t>(41, 24));
}

}  // namespace
