// What the page says beside the best setting: its oscillator tolerance (a best FD
// pair's: the pair's), its longest bus (the nominal setting's), and the warnings the
// companion writes below its --best row (answers/rows/best_warnings.h).
#pragma once

#include <cstdint>
#include <vector>

#include "answers/answer.h"
#include "answers/request/request.h"
#include "answers/rows/best_warnings.h"

struct BestFacts {
  bool found = false;  // false: no best setting, nothing else set
  Tolerance tolerance{0, 1};
  int64_t longestBusM = -1;
  std::vector<BestWarning> warnings;
};

// The reference bus lengths by bit rate, as the window's advice label lists them and
// the page's (sent in the page module's start reply), fastest first. They are the
// label's figures, not the longest bus of any setting: nothing is warned of by them.
struct ReferenceLength {
  float rateKbps;
  int64_t metres;
};
constexpr ReferenceLength kReferenceLengths[] = {{1000.0f, 40}, {500.0f, 270}, {250.0f, 530}, {125.0f, 620},
                                                 {100.0f, 1300}, {50.0f, 3300}, {10.0f, 6700}};

// The facts of a checked best request's rows (RowsOfAnswer with request.best).
BestFacts FactsOfBest(const Request& request, const AnswerRows& rows);

// The warning as the page's reply carries it, a JSON object: {"name", "phase",
// "longest", "asked", "error", "tolerance", "quanta", "dataRate", "delay",
// "controller", "tdc": "prescaler" | "offset" | "", "offset"}.
std::string BestWarningJson(const BestWarning& warning);
