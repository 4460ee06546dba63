// What the page says beside the best setting (web/best_facts.h): the tolerance
// and longest bus of the companion's --best row (a pair's tolerance for an FD pair),
// and the warnings the companion writes below it.
#include "web/best_facts.h"

#include "web/page_fields.h"
#include "answers/columns/row_columns.h"
#include "answers/request/request_check.h"
#include "answers/rows/best_warnings.h"
#include "answers/answer.h"
#include "answers/writers/output_sink.h"
#include "calc/fp_environment.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct FactsCase {
  const char* controller;
  const char* clock;
  const char* rate;
  const char* dataRate;
  const char* busLength;
  const char* minTolerance;
  const char* tolerance;  // as shown
  int64_t longestBusM;
  std::vector<std::string> warnings;  // the companion's lines, without "quillmere-cli: warning: "
};

TEST(BestFacts, ToleranceLongestBusAndTheirWarnings) {
  SetFloatEnvironment();
  // The figures are the companion's --best --format tsv --wide for the same request.
  const FactsCase cases[] = {
      {"bxcan", "72", "1000", "", "", "", "0.00%", 8,
       {"the oscillator tolerance is 0.00%: the nodes' clocks may not differ at all",
        "the longest bus is 8 m, shorter than the 10 m --bus-length asks for"}},
      // The least tolerance leaves the 0.00% rows out: another best, 16 m long. The
      // window's reference label gives 1000 Kbps 40 m, which is no warning.
      {"bxcan", "72", "1000", "", "", "0.1", "0.43%", 16, {}},
      // The tolerance falls as the bus grows (0.35% at 10 m, none beyond 92 m).
      {"bxcan", "42", "500", "", "92", "", "0.27%", 92, {}},
      {"bxcan", "42", "300", "", "189", "", "0.00%", 188,
       {"the oscillator tolerance is 0.00%: the nodes' clocks may not differ at all",
        "the longest bus is 188 m, shorter than the 189 m --bus-length asks for"}},
      // Nearest 800 Kbps at 17 MHz is 1.19% off, more than the 0.74% it leaves.
      {"bxcan", "17", "800", "", "", "", "0.74%", 38,
       {"the rate error 1.19048% is larger than the oscillator tolerance it leaves, 0.74%"}},
      // A pair's tolerance is the pair's (its nominal row's is 0.48% too, its data
      // row's 1.25%); the longest bus the nominal row's.
      {"fdcan", "80", "500", "2000", "", "", "0.48%", 122, {}},
      {"fdcan", "20", "1000", "5000", "", "", "0.39%", 15,
       {"the data phase's bit has 4 quanta, fewer than 8: resynchronisation is coarse"}},
      // Without TDC, 5000 Kbps needs the sample point after the 250 ns loop: 150 ns.
      {"peak-canfd", "80", "500", "5000", "", "", "0.48%", 122,
       {"the data phase at 5000 Kbps cannot check its own bits: peak-canfd has no TDC, and at a 250 ns node delay "
        "its sample point comes before its bits return"}},
  };
  for (const FactsCase& c : cases) {
    PageFieldTexts texts;
    texts.controller = c.controller;
    texts.clock = c.clock;
    texts.rate = c.rate;
    texts.dataRate = c.dataRate;
    texts.busLength = c.busLength;
    texts.minTolerance = c.minTolerance;
    Request request;
    ASSERT_EQ(ReadAllPageFields(texts, request).status, RequestStatus::kReady) << c.controller;
    request.best = true;
    request.toleranceHundredths = 500;  // 5%, so that 800 Kbps at 17 MHz is listed
    ASSERT_EQ(CheckRequest(request, MissingInput::kRefuse).status, RequestStatus::kReady);
    const AnswerRows rows = RowsOfAnswer(request);
    const BestFacts facts = FactsOfBest(request, rows);
    ASSERT_TRUE(facts.found) << c.clock << " " << c.rate;
    EXPECT_EQ(PercentText(facts.tolerance), c.tolerance) << c.clock << " " << c.rate;
    EXPECT_EQ(facts.longestBusM, c.longestBusM) << c.clock << " " << c.rate;
    std::vector<std::string> warnings;
    for (const BestWarning& w : facts.warnings) warnings.push_back(BestWarningText(w));
    EXPECT_EQ(warnings, c.warnings) << c.clock << " " << c.rate;
  }
}

// The page's reply carries each warning's figures, from which it words it itself.
TEST(BestFacts, WarningJsonCarriesTheFigures) {
  BestWarning w;
  w.kind = BestWarningKind::kTdcUnusable;
  w.phase = WarnedPhase::kData;
  w.dataRateText = "5000";
  w.verdict = TdcVerdict::kOffsetOutOfRange;
  w.tdcOffset = 130;
  w.nodeDelayNs = 400;
  w.controller = "fdcan";
  EXPECT_EQ(BestWarningJson(w),
            "{\"name\": \"tdc-unusable\", \"phase\": \"data\", \"longest\": -1, \"asked\": 0, \"error\": \"\", "
            "\"tolerance\": \"\", \"quanta\": 0, \"dataRate\": \"5000\", \"delay\": 400, \"controller\": \"fdcan\", "
            "\"tdc\": \"offset\", \"offset\": 130}");
  EXPECT_EQ(BestWarningText(w),
            "the data phase at 5000 Kbps cannot check its own bits: at a 400 ns node delay its sample point comes "
            "before its bits return, and it cannot use fdcan's TDC: its TDC offset 130 is out of the register's range");
}

// The page's target field steers its best as --target-sample-point steers --best,
// and where the best misses it, the page is told the nearest in figures (the
// companion's line for the same note is checked beside them).
TEST(BestFacts, TheTargetStepsTheBestAndSaysTheNearest) {
  SetFloatEnvironment();
  const struct {
    const char* clock;
    const char* rate;
    const char* target;
    const char* line;     // the best's tsv line, with the page's Tq (ns) column
    const char* nearest;  // "": no note
  } cases[] = {
      // The advice (87.5% at 500 Kbps) picks 85.7%, as the companion's --best does.
      {"42", "500", "", "CAN_BS1_11tq\tCAN_BS2_2tq\t6\t142.857\t85.7%\t500\t0%\t0x011A0005\t0.55%\t92 m\n", ""},
      {"42", "500", "75", "CAN_BS1_8tq\tCAN_BS2_3tq\t7\t166.667\t75%\t500\t0%\t0x02270006\t0.98%\t66 m\n", ""},
      {"42", "500", "87.5", "CAN_BS1_11tq\tCAN_BS2_2tq\t6\t142.857\t85.7%\t500\t0%\t0x011A0005\t0.55%\t92 m\n",
       "85.7"},
  };
  for (const auto& c : cases) {
    PageFieldTexts texts;
    texts.clock = c.clock;
    texts.rate = c.rate;
    texts.tolerance = "0";
    texts.targetSamplePoint = c.target;
    Request request;
    ASSERT_EQ(ReadAllPageFields(texts, request).status, RequestStatus::kReady) << c.target;
    request.best = true;
    ASSERT_EQ(CheckRequest(request, MissingInput::kRefuse).status, RequestStatus::kReady) << c.target;
    AnswerRows rows = RowsOfAnswer(request);
    std::string text;
    OutputSink sink = TextOutput(text);
    WriteAnswerRows(rows, sink);
    ASSERT_TRUE(FlushOutput(sink));
    EXPECT_EQ(text, c.line) << c.target;
    const std::vector<TargetSamplePointNote> notes = TargetSamplePointNoteFacts(request, rows.phases, rows.count);
    const std::vector<std::string> lines = TargetSamplePointNotes(request, rows.phases, rows.count);
    if (*c.nearest == 0) {
      EXPECT_TRUE(notes.empty()) << c.target;
      EXPECT_TRUE(lines.empty()) << c.target;
      continue;
    }
    ASSERT_EQ(notes.size(), 1u) << c.target;
    EXPECT_FALSE(notes[0].data);
    EXPECT_EQ(notes[0].targetText, c.target);
    EXPECT_EQ(notes[0].nearestText, c.nearest);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], std::string("the sample point nearest --target-sample-point ") + c.target +
                            " among the settings with the smallest error is " + c.nearest + "%");
  }
}

TEST(BestFacts, NoFactsWithoutABestSetting) {
  Request request;
  AnswerRows rows;
  rows.answer = Answer::kNoSetting;
  EXPECT_FALSE(FactsOfBest(request, rows).found);
  EXPECT_TRUE(BestWarnings(request, rows.phases, rows.count, nullptr).empty());
}

}  // namespace
