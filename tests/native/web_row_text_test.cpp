// The page's grid rows: answers' WriteGridRows (the companion's tsv columns, the
// window's six cells for bxCAN, joined by tabs, each row ended by CR LF), cut into
// blocks of whole rows by web/row_text.h.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "answers/answer.h"
#include "answers/writers/text_forms.h"
#include "tests/native/window_search.h"
#include "web/row_text.h"

namespace {

struct Handed {
  std::vector<RowTextBlock> blocks;
};

void Keep(void* context, const RowTextBlock& block) { static_cast<Handed*>(context)->blocks.push_back(block); }

std::string Text(const RowTextBlock& block) { return std::string(block.bytes.begin(), block.bytes.end()); }

// The rows of the first count records, as the page's module writes them, in blocks
// of rowsPerBlock rows, each with its rows' settings.
Handed GridBlocks(const CandidateList& store, int32_t count, int32_t rowsPerBlock, const OutputOptions& options = {}) {
  Handed handed;
  RowBlocks blocks{rowsPerBlock, Keep, &handed, {}, {}};
  OutputSink sink;
  sink.write = TakeRowBytes;
  sink.context = &blocks;
  const RowSource rows = [&](const RowVisitor& visit) {
    for (int32_t i = 0; i < count; ++i)
      if (!visit(store.records[static_cast<size_t>(i)])) return;
  };
  WriteGridRows(NotingSettings(rows, options, blocks.noted), options, sink);
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
  RowBlocks blocks{2, Keep, &handed, {}, {}};
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
  nominal.controller = FindController("fdcan");
  nominal.phase = Phase::kNominal;
  nominal.sjw = 0;
  CandidateList one;
  one.records.push_back(TimingCandidate{138, 19, 1, 0.875f, 0.0f, 500.0f});
  EXPECT_EQ(Joined(GridBlocks(one, 1, 8192, nominal)), "nominal\t139\t20\t1\t87.5%\t500\t0%\t0x26008A13\r\n");
}

TEST(WebRowText, EachBlockHoldsItsRowsSettings) {
  // 36 MHz, 500 Kbps, >=80%: blocks of 3, 3 and 2 rows, each with five numbers a row,
  // the row's own (phase 0, prescaler, BS1, BS2, the window's SJW of 1), in row order.
  const CandidateList store = Search(36000, 500.0f, 0, 0.8f);
  const Handed handed = GridBlocks(store, CandidateCount(store), 3);
  ASSERT_EQ(handed.blocks.size(), 3u);
  const std::vector<std::vector<uint16_t>> expected = {
      {0, 12, 4, 1, 1, 0, 9, 6, 1, 1, 0, 8, 7, 1, 1},
      {0, 6, 10, 1, 1, 0, 4, 16, 1, 1, 0, 6, 9, 2, 1},
      {0, 4, 15, 2, 1, 0, 4, 14, 3, 1},
  };
  for (size_t i = 0; i < handed.blocks.size(); ++i) EXPECT_EQ(handed.blocks[i].settings, expected[i]) << i;
}

TEST(WebRowText, RowsNotNotedHaveNoSettings) {
  Handed handed;
  RowBlocks blocks{8192, Keep, &handed, {}, {}};
  const std::string rows = "a\r\nb\r\n";
  TakeRowBytes(&blocks, rows.data(), rows.size());
  HandLastRows(blocks);
  ASSERT_EQ(handed.blocks.size(), 1u);
  EXPECT_EQ(handed.blocks[0].rowEnds.size(), 2u);
  EXPECT_TRUE(handed.blocks[0].settings.empty());
}

// FDCAN's listing of 80 MHz, 500 Kbps, >=70%, 2000 Kbps data: the companion's tsv.
Request FdcanListing(OutputFormat format) {
  Request request;
  request.controller = FindController("fdcan");
  request.clockKHz = 80000;
  request.minSamplePoint = 0.7f;
  request.dataPhase = true;
  request.dataRate = 2000.0f;
  request.dataMinSamplePoint = 0.7f;
  request.format = format;
  return request;
}

TEST(WebRowText, FdcanPhasesAreTheCompanionsTsvLinesWithCrLf) {
  // The companion's tsv with each LF made CR LF, and each row's setting as the
  // register of its line holds it.
  std::string tsv;
  OutputSink text = TextOutput(tsv);
  WriteAnswer(FdcanListing(OutputFormat::kTsv), text);
  FlushOutput(text);
  std::string expected;
  for (char c : tsv) expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
  ASSERT_EQ(std::count(tsv.begin(), tsv.end(), '\n'), 119);

  Handed handed;
  RowBlocks blocks{50, Keep, &handed, {}, {}};
  OutputSink sink;
  sink.write = TakeRowBytes;
  sink.context = &blocks;
  AnswerRows rows = RowsOfAnswer(FdcanListing(OutputFormat::kTsv));
  ASSERT_EQ(rows.count, 2);
  for (int i = 0; i < rows.count; ++i)
    rows.phases[i].rows = NotingSettings(rows.phases[i].rows, rows.phases[i].options, blocks.noted);
  WriteGridRows(rows.phases, rows.count, sink);
  FlushOutput(sink);
  HandLastRows(blocks);
  EXPECT_EQ(Joined(handed), expected);
  ASSERT_EQ(handed.blocks.size(), 3u);
  // The first nominal row, "nominal\t5\t2\t20\t...\t0x02130401": NBTP's SJW field is 1,
  // so 2 quanta; the first data row, "data\t2\t1\t10\t...\t0x00090100": DBTP's is 0, 1 quantum.
  EXPECT_EQ(std::vector<uint16_t>(handed.blocks[0].settings.begin(), handed.blocks[0].settings.begin() + 5),
            (std::vector<uint16_t>{1, 20, 5, 2, 2}));
  const std::vector<uint16_t>& last = handed.blocks[2].settings;
  ASSERT_EQ(last.size(), 19u * 5u);
  EXPECT_EQ(std::vector<uint16_t>(last.begin(), last.begin() + 5), (std::vector<uint16_t>{2, 10, 2, 1, 1}));
}

}  // namespace
