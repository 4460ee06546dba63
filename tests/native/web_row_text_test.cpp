// The page's grid rows: answers' WriteGridRows (the companion's tsv columns, the
// window's six cells for bxCAN, joined by tabs, each row ended by CR LF), cut into
// blocks of whole rows by web/row_text.h.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "answers/result_output.h"
#include "tests/native/window_search.h"
#include "web/row_text.h"

namespace {

struct Handed {
  std::vector<RowTextBlock> blocks;
};

void Keep(void* context, const RowTextBlock& block) { static_cast<Handed*>(context)->blocks.push_back(block); }

std::string Text(const RowTextBlock& block) { return std::string(block.bytes.begin(), block.bytes.end()); }

// The rows of the first count records, as the page's module writes them, in blocks
// of rowsPerBlock rows.
Handed GridBlocks(const CandidateList& store, int32_t count, int32_t rowsPerBlock, const OutputOptions& options = {}) {
  Handed handed;
  RowBlocks blocks{rowsPerBlock, Keep, &handed, {}};
  OutputSink sink;
  sink.write = TakeRowBytes;
  sink.context = &blocks;
  WriteGridRows(
      [&](const RowVisitor& visit) {
        for (int32_t i = 0; i < count; ++i)
          if (!visit(store.records[static_cast<size_t>(i)])) return;
      },
      options, sink);
  FlushOutput(sink);
  HandLastRows(blocks);
  return handed;
}

std::string Joined(const Handed& handed) {
  std::string text;
  for (const RowTextBlock& block : handed.blocks) text += Text(block);
  return text;
}

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
  const Handed handed = GridBlocks(store, CandidateCount(store), 8192);
  ASSERT_EQ(handed.blocks.size(), 1u);
  const RowTextBlock& block = handed.blocks[0];
  EXPECT_EQ(Text(block), kRows36At80);
  ASSERT_EQ(block.rowEnds.size(), 8u);
  EXPECT_EQ(block.rowEnds[0], 41u);  // the first row and its CR LF
  EXPECT_EQ(block.rowEnds.back(), block.bytes.size());
}

TEST(WebRowText, BlocksHoldWholeRows) {
  // Three rows a block: blocks of 3, 3 and 2 rows, each ending where a row ends, and
  // the rows of one run: a row's cells come from the row before even across blocks.
  const CandidateList store = Search(36000, 500.0f, 0, 0.8f);
  const Handed handed = GridBlocks(store, CandidateCount(store), 3);
  ASSERT_EQ(handed.blocks.size(), 3u);
  for (size_t i = 0; i < handed.blocks.size(); ++i) {
    const RowTextBlock& block = handed.blocks[i];
    EXPECT_EQ(block.rowEnds.size(), i < 2 ? 3u : 2u);
    EXPECT_EQ(block.rowEnds.back(), block.bytes.size());
    EXPECT_EQ(Text(block).substr(Text(block).size() - 2), "\r\n");
  }
  EXPECT_EQ(Joined(handed), kRows36At80);
}

TEST(WebRowText, RowsCutBetweenChunksStayWhole) {
  // A row that the sink hands over in two chunks is one row of one block.
  Handed handed;
  RowBlocks blocks{2, Keep, &handed, {}};
  const std::string rows = "a\tb\r\nc\td\r\ne\r\n";
  for (char byte : rows) TakeRowBytes(&blocks, &byte, 1);
  HandLastRows(blocks);
  ASSERT_EQ(handed.blocks.size(), 2u);
  EXPECT_EQ(Text(handed.blocks[0]), "a\tb\r\nc\td\r\n");
  EXPECT_EQ(handed.blocks[0].rowEnds, (std::vector<uint32_t>{5, 10}));
  EXPECT_EQ(Text(handed.blocks[1]), "e\r\n");
  HandLastRows(blocks);  // nothing left: nothing handed
  EXPECT_EQ(handed.blocks.size(), 2u);
}

TEST(WebRowText, NotANumberAndLargeRates) {
  // 0 MHz, 0 Kbps: every rate 0 and every error not a number.
  const CandidateList zero = Search(0, 0.0f, 0, 0.4f);
  EXPECT_EQ(Joined(GridBlocks(zero, 2, 8192)),
            "CAN_BS1_1tq\tCAN_BS2_1tq\t1\t66.6%\t0\t1.#QNAN%\r\n"
            "CAN_BS1_1tq\tCAN_BS2_1tq\t2\t66.6%\t0\t1.#QNAN%\r\n");
  // A rate of a million Kbps is written by the float rule: 1e+006.
  const CandidateList fast = Search(3000000, 1000000.0f, 0, 0.4f);
  ASSERT_GT(CandidateCount(fast), 0);
  const std::string text = Joined(GridBlocks(fast, 1, 8192));
  EXPECT_NE(text.find("\t1e+006\t0%\r\n"), std::string::npos) << text;
}

TEST(WebRowText, FdcanRowsLeadWithTheirPhase) {
  // FDCAN's nominal rows: the companion's tsv columns, the register last.
  OutputOptions nominal;
  nominal.phase = Phase::kNominal;
  nominal.sjw = 0;
  CandidateList one;
  one.records.push_back(TimingCandidate{138, 19, 1, 0.875f, 0.0f, 500.0f});
  EXPECT_EQ(Joined(GridBlocks(one, 1, 8192, nominal)), "nominal\t139\t20\t1\t87.5%\t500\t0%\t0x26008A13\r\n");
}

}  // namespace
