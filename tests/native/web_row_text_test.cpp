// The page's row texts (web/row_text.h): the window's cells joined by tabs, each row
// ended by CR LF, in blocks whose rows carry their cells from the block before.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/native/window_search.h"
#include "web/row_text.h"

namespace {

std::string Text(const RowTextBlock& block) { return std::string(block.bytes.begin(), block.bytes.end()); }

// 36 MHz, 500 Kbps, >=80%, ==0%: the window's eight rows.
const char* const kRows36At80 =
    "CAN_BS1_4tq\tCAN_BS2_1tq\t12\t83.3%\t500\t0%\r\n"
    "CAN_BS1_6tq\tCAN_BS2_1tq\t9\t87.5%\t500\t0%\r\n"
    "CAN_BS1_7tq\tCAN_BS2_1tq\t8\t88.8%\t500\t0%\r\n"
    "CAN_BS1_10tq\tCAN_BS2_1tq\t6\t91.6%\t500\t0%\r\n"
    "CAN_BS1_16tq\tCAN_BS2_1tq\t4\t94.4%\t500\t0%\r\n"
    "CAN_BS1_9tq\tCAN_BS2_2tq\t6\t83.3%\t500\t0%\r\n"
    "CAN_BS1_15tq\tCAN_BS2_2tq\t4\t88.8%\t500\t0%\r\n"
    "CAN_BS1_14tq\tCAN_BS2_3tq\t4\t83.3%\t500\t0%\r\n";

TEST(WebRowText, WindowRowsJoinedByTabsEndedByCrLf) {
  const CandidateList store = Search(36000, 500.0f, 0, 0.8f);
  RowTextWriter writer;
  RowTextBlock block;
  AppendRowTexts(writer, store.records.data(), CandidateCount(store), block);
  EXPECT_EQ(Text(block), kRows36At80);
  ASSERT_EQ(block.rowEnds.size(), 8u);
  EXPECT_EQ(block.rowEnds[0], 41u);  // the first row and its CR LF
  EXPECT_EQ(block.rowEnds.back(), block.bytes.size());
}

TEST(WebRowText, BlocksCarryTheCellsAcross) {
  // Rows made three at a time, the block emptied between, give the rows of one run:
  // a row's cells come from the row before even across blocks.
  const CandidateList store = Search(36000, 500.0f, 0, 0.8f);
  RowTextWriter writer;
  RowTextBlock block;
  std::string joined;
  for (int32_t first = 0; first < CandidateCount(store); first += 3) {
    ClearRowTexts(block);
    const int32_t count = std::min(3, CandidateCount(store) - first);
    AppendRowTexts(writer, store.records.data() + first, count, block);
    EXPECT_EQ(block.rowEnds.size(), static_cast<size_t>(count));
    joined += Text(block);
  }
  EXPECT_EQ(joined, kRows36At80);
}

TEST(WebRowText, NotANumberAndLargeRates) {
  // 0 MHz, 0 Kbps: every rate 0 and every error not a number.
  const CandidateList zero = Search(0, 0.0f, 0, 0.4f);
  RowTextWriter writer;
  RowTextBlock block;
  AppendRowTexts(writer, zero.records.data(), 2, block);
  EXPECT_EQ(Text(block),
            "CAN_BS1_1tq\tCAN_BS2_1tq\t1\t66.6%\t0\t1.#QNAN%\r\n"
            "CAN_BS1_1tq\tCAN_BS2_1tq\t2\t66.6%\t0\t1.#QNAN%\r\n");
  // A rate of a million Kbps is written by the float rule: 1e+006.
  const CandidateList fast = Search(3000000, 1000000.0f, 0, 0.4f);
  ASSERT_GT(CandidateCount(fast), 0);
  RowTextWriter fastWriter;
  ClearRowTexts(block);
  AppendRowTexts(fastWriter, fast.records.data(), 1, block);
  EXPECT_NE(Text(block).find("\t1e+006\t0%\r\n"), std::string::npos) << Text(block);
}

}  // namespace
