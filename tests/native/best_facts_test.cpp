// What the page says beside the best setting (web/best_facts.h): the tolerance
// and longest bus of the companion's --best row (a pair's tolerance for an FD pair),
// and a warning for each figure that falls short.
#include "web/best_facts.h"

#include "web/page_fields.h"
#include "answers/columns/row_columns.h"
#include "answers/request/request_check.h"
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
  std::vector<std::string> warnings;  // "name longest limit"
};

TEST(BestFacts, ToleranceLongestBusAndTheirWarnings) {
  SetFloatEnvironment();
  // The figures are the companion's --best --format tsv --wide for the same request.
  const FactsCase cases[] = {
      // 72 MHz at 1000 Kbps: 0.00% and 8 m, below the 40 m the advice gives 1000 Kbps.
      {"bxcan", "72", "1000", "", "", "", "0.00%", 8,
       {"tolerance-zero 8 0", "bus-shorter-than-asked 8 10", "bus-below-reference 8 40"}},
      // The least tolerance leaves the 0.00% rows out: another best, 16 m long.
      {"bxcan", "72", "1000", "", "", "0.1", "0.43%", 16, {"bus-below-reference 16 40"}},
      // 42 MHz at 500 Kbps reaches 92 m: shorter than a 300 m bus and than 270 m.
      {"bxcan", "42", "500", "", "300", "", "0.00%", 92,
       {"tolerance-zero 92 0", "bus-shorter-than-asked 92 300", "bus-below-reference 92 270"}},
      // The tolerance falls as the bus grows (0.35% at 10 m, none beyond 92 m).
      {"bxcan", "42", "500", "", "92", "", "0.27%", 92, {"bus-below-reference 92 270"}},
      {"bxcan", "42", "500", "", "92", "0.3", "0.32%", 100, {"bus-below-reference 100 270"}},
      // A rate the advice does not list has no reference.
      {"bxcan", "42", "300", "", "", "", "0.55%", 188, {}},
      {"bxcan", "42", "300", "", "189", "", "0.00%", 188, {"tolerance-zero 188 0", "bus-shorter-than-asked 188 189"}},
      // A pair's tolerance is the pair's (its nominal row's is 0.48% too, its data
      // row's 1.25%); the longest bus the nominal row's.
      {"fdcan", "80", "500", "2000", "", "", "0.48%", 122, {"bus-below-reference 122 270"}},
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
    ASSERT_EQ(ReadAllPageFields(texts, request).status, RequestStatus::kReady);
    request.best = true;
    ASSERT_EQ(CheckRequest(request, MissingInput::kRefuse).status, RequestStatus::kReady);
    const AnswerRows rows = RowsOfAnswer(request);
    const BestFacts facts = FactsOfBest(request, rows);
    ASSERT_TRUE(facts.found) << c.clock << " " << c.rate;
    EXPECT_EQ(PercentText(facts.tolerance), c.tolerance) << c.rate;
    EXPECT_EQ(facts.longestBusM, c.longestBusM) << c.rate;
    std::vector<std::string> warnings;
    for (const BestWarning& w : facts.warnings)
      warnings.push_back(std::string(BestWarningName(w.kind)) + " " + std::to_string(w.longestM) + " " +
                         std::to_string(w.limitM));
    EXPECT_EQ(warnings, c.warnings) << c.clock << " " << c.rate;
  }
}

TEST(BestFacts, NoFactsWithoutABestSetting) {
  Request request;
  AnswerRows rows;
  rows.answer = Answer::kNoSetting;
  EXPECT_FALSE(FactsOfBest(request, rows).found);
}

TEST(BestFacts, TheAdvicesReferenceLengths) {
  const struct {
    float rate;
    int64_t metres;
  } cases[] = {{1000.0f, 40}, {500.0f, 270}, {250.0f, 530}, {125.0f, 620}, {100.0f, 1300},
               {50.0f, 3300}, {10.0f, 6700}, {800.0f, -1}, {499.99f, -1}, {0.0f, -1}};
  for (const auto& c : cases) EXPECT_EQ(ReferenceBusLength(c.rate), c.metres) << c.rate;
}

}  // namespace
