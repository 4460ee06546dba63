#include "calc/candidate_cells.h"
#include "calc/controllers.h"
#include "calc/fdcan_timing.h"
#include "calc/fp_environment.h"
#include "calc/text.h"
#include "calc/timing.h"
#include "tests/native/window_search.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

namespace {

struct Row {
  const char* bs1;
  const char* bs2;
  const char* prescaler;
  const char* samplePoint;
  float actualRate;
  const char* errorPercent;
};

void ExpectRow(const TimingCandidate& record, const Row& row) {
  CandidateCells cells;
  MakeCandidateCells(record, cells);
  EXPECT_STREQ(cells.bs1.bytes, row.bs1);
  EXPECT_STREQ(cells.bs2.bytes, row.bs2);
  EXPECT_STREQ(cells.prescaler.bytes, row.prescaler);
  EXPECT_STREQ(cells.samplePoint.bytes, row.samplePoint);
  EXPECT_EQ(cells.actualRate, row.actualRate);
  EXPECT_STREQ(cells.errorPercent.bytes, row.errorPercent);
  for (const CandidateText* cell : {&cells.bs1, &cells.bs2, &cells.prescaler, &cells.samplePoint, &cells.errorPercent})
    EXPECT_EQ(cell->length, static_cast<int32_t>(std::strlen(cell->bytes)));
}

TEST(CandidateCells, PresetRowsFirstAndLast) {
  const CandidateList store = Search(42000, 500.0f, 0, 0.4f);
  ASSERT_EQ(CandidateCount(store), 30);
  ExpectRow(CandidateAt(store, 1), {"CAN_BS1_1tq", "CAN_BS2_1tq", "28", "66.6%", 500.0f, "0%"});
  ExpectRow(CandidateAt(store, 30), {"CAN_BS1_12tq", "CAN_BS2_8tq", "4", "61.9%", 500.0f, "0%"});
}

TEST(CandidateCells, Clock36AtEightyPercent) {
  const CandidateList store = Search(36000, 500.0f, 0, 0.8f);
  const Row rows[] = {
      {"CAN_BS1_4tq", "CAN_BS2_1tq", "12", "83.3%", 500.0f, "0%"},
      {"CAN_BS1_6tq", "CAN_BS2_1tq", "9", "87.5%", 500.0f, "0%"},
      {"CAN_BS1_7tq", "CAN_BS2_1tq", "8", "88.8%", 500.0f, "0%"},
      {"CAN_BS1_10tq", "CAN_BS2_1tq", "6", "91.6%", 500.0f, "0%"},
      {"CAN_BS1_16tq", "CAN_BS2_1tq", "4", "94.4%", 500.0f, "0%"},
      {"CAN_BS1_9tq", "CAN_BS2_2tq", "6", "83.3%", 500.0f, "0%"},
      {"CAN_BS1_15tq", "CAN_BS2_2tq", "4", "88.8%", 500.0f, "0%"},
      {"CAN_BS1_14tq", "CAN_BS2_3tq", "4", "83.3%", 500.0f, "0%"},
  };
  ASSERT_EQ(CandidateCount(store), 8);
  for (int32_t i = 0; i < 8; ++i) {
    SCOPED_TRACE(i + 1);
    ExpectRow(CandidateAt(store, i + 1), rows[i]);
  }
}

// The sample point's text is cut to four bytes, never rounded.
TEST(CandidateCells, SamplePointIsCutNotRounded) {
  const struct {
    int numerator;
    int denominator;
    const char* text;
  } cases[] = {
      {5, 6, "83.3%"},   {17, 18, "94.4%"}, {11, 12, "91.6%"}, {4, 5, "80.0%"}, {7, 8, "87.5%"},
      {3, 4, "75%"},     {1, 2, "50%"},     {2, 3, "66.6%"},   {13, 21, "61.9%"}, {7, 10, "69.9%"},
      {2, 25, "7.99%"},  {3, 25, "11.9%"},  {2, 23, "8.69%"},  {1, 3, "33.3%"},
  };
  for (const auto& c : cases) {
    TimingCandidate record{0, 0, 1, static_cast<float>(static_cast<double>(c.numerator) / c.denominator), 0.0f, 1.0f};
    CandidateCells cells;
    MakeCandidateCells(record, cells);
    EXPECT_STREQ(cells.samplePoint.bytes, c.text) << c.numerator << "/" << c.denominator;
  }
}

TEST(CandidateCells, OddFieldsStillGiveTheirTexts) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  ExpectRow({15, 7, 1024, 0.5f, 100.0f, 1000000.0f}, {"CAN_BS1_16tq", "CAN_BS2_8tq", "1024", "50%", 1000000.0f, "100%"});
  ExpectRow({0, 0, 1, 2.0f / 3.0f, nan, 0.0f}, {"CAN_BS1_1tq", "CAN_BS2_1tq", "1", "66.6%", 0.0f, "1.#QNAN%"});
  ExpectRow({-1, 2147483647, -8, 0.0f, inf, 3.0f},
            {"CAN_BS1_0tq", "CAN_BS2_2147483648tq", "-8", "0%", 3.0f, "1.#INF%"});
  ExpectRow({0, 0, 28, 0.875f, 0.01953125f, 1010.0f}, {"CAN_BS1_1tq", "CAN_BS2_1tq", "28", "87.5%", 1010.0f, "0.0195313%"});
  CandidateText rate;
  FormatRateCell(1234567.0f, rate);
  EXPECT_STREQ(rate.bytes, "1.23457e+006");
  EXPECT_EQ(rate.length, 12);
  FormatRateCell(500.0f, rate);
  EXPECT_STREQ(rate.bytes, "500");
}

std::string Owned(const Text& text) { return text ? std::string(text.get()) : std::string(); }

// The cells as the window builds them, one conversion at a time.
void ExpectSameAsConversions(const TimingCandidate& r) {
  CandidateCells cells;
  MakeCandidateCells(r, cells);
  const Text bs1 = ToText(static_cast<double>(r.bs1Code) + 1.0);
  ASSERT_EQ(cells.bs1.bytes, Owned(JoinTexts({"CAN_BS1_", bs1.get(), "tq"})));
  const Text bs2 = ToText(static_cast<double>(r.bs2Code) + 1.0);
  ASSERT_EQ(cells.bs2.bytes, Owned(JoinTexts({"CAN_BS2_", bs2.get(), "tq"})));
  ASSERT_EQ(cells.prescaler.bytes, Owned(ToText(r.prescaler)));
  const Text percent = ToText(static_cast<double>(r.samplePoint) * 100.0);
  const Text cut = LeftBytes(percent.get(), 4);
  ASSERT_EQ(cells.samplePoint.bytes, Owned(JoinTexts({cut.get(), "%"})));
  const Text error = ToText(r.errorPercent);
  ASSERT_EQ(cells.errorPercent.bytes, Owned(JoinTexts({error.get(), "%"})));
  CandidateText rate;
  FormatRateCell(r.actualRate, rate);
  ASSERT_EQ(rate.bytes, Owned(ToText(r.actualRate)));
}

TEST(CandidateCells, AgreeWithTheConversionsOnEveryRecordOfLargeResults) {
  const CandidateList wide = Search(42000, 500.0f, 100, 0.0f);
  ASSERT_GT(CandidateCount(wide), 130000);
  for (const TimingCandidate& r : wide.records) {
    ExpectSameAsConversions(r);
    if (HasFatalFailure()) return;
  }
  ExpectSameAsConversions({-2147483647 - 1, -2, -2147483647 - 1, -0.0f, -1.0f, -0.0f});
  ExpectSameAsConversions({2147483647, 99999, 2147483647, 1.0f, 1e30f, 3.4e38f});
  const CandidateList unknownError = Search(0, 0.0f, 0, 0.3f);
  ASSERT_EQ(CandidateCount(unknownError), 125952);
  for (const TimingCandidate& r : unknownError.records) {
    ExpectSameAsConversions(r);
    if (HasFatalFailure()) return;
  }
}

void ExpectSameCells(const CandidateCells& a, const CandidateCells& b) {
  for (auto cell : {&CandidateCells::bs1, &CandidateCells::bs2, &CandidateCells::prescaler, &CandidateCells::samplePoint,
                    &CandidateCells::errorPercent}) {
    ASSERT_EQ((a.*cell).length, (b.*cell).length);
    ASSERT_STREQ((a.*cell).bytes, (b.*cell).bytes);
  }
  ASSERT_EQ(std::memcmp(&a.actualRate, &b.actualRate, sizeof a.actualRate), 0);
}

// Cells carried from row to row equal cells made afresh, on every row of listings
// where segments, sample points and errors repeat (NaN errors at clock 0) or not.
TEST(CandidateCells, UpdatedFromTheRowBeforeEqualMadeAfresh) {
  const struct {
    int32_t clockKHz;
    float rate;
    int32_t tolerance;
    float minSamplePoint;
    bool fdcan;
  } listings[] = {{42000, 500.0f, 100, 0.0f, false}, {0, 0.0f, 0, 0.3f, false}, {36000, 500.0f, 0, 0.8f, false},
                  {80000, 500.0f, 3, 0.5f, true},    {0, 0.0f, 0, 0.99f, true}};
  SetFloatEnvironment();
  int64_t rows = 0;
  for (const auto& l : listings) {
    CandidateList store;
    const TimingRequest request{l.clockKHz, l.rate, l.tolerance * 100, l.minSamplePoint, 1};
    // FDCAN's nominal listing as the companion runs it (ControllerPhase).
    const PhaseQuestion fdcan{&FindController("fdcan")->nominal, 0};
    if (l.fdcan) ListSettings(SearchRanges(fdcan), request, FindController("fdcan")->traits.scan, AppendToStore(store));
    if (!l.fdcan) BitTimingSearch(store, l.clockKHz, l.rate, l.tolerance, l.minSamplePoint);
    const SegmentNames& names = l.fdcan ? kFdcanSegmentNames : kBxCanSegmentNames;
    ASSERT_GT(store.records.size(), 5u);
    CandidateCells carried;
    MakeCandidateCells(store.records[0], carried, names);
    for (std::size_t i = 1; i < store.records.size(); ++i) {
      UpdateCandidateCells(store.records[i - 1], store.records[i], carried, names);
      CandidateCells fresh;
      MakeCandidateCells(store.records[i], fresh, names);
      ExpectSameCells(carried, fresh);
      if (HasFatalFailure()) return;
      ++rows;
    }
  }
  EXPECT_GT(rows, 280000);
}

}  // namespace
