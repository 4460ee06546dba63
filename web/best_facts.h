// What the page says beside the best setting: its oscillator tolerance (a best FD
// pair's: the pair's), its longest bus (the nominal setting's), and plain warnings
// where either falls short: a tolerance that shows as 0.00%, a longest bus shorter
// than the bus length asked for, or than the reference the page's advice gives for
// the rate asked for.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "answers/answer.h"
#include "answers/request/request.h"

enum class BestWarningKind {
  kToleranceZero,         // "tolerance-zero"
  kBusShorterThanAsked,   // "bus-shorter-than-asked": longest below request.bus.busLengthM
  kBusBelowReference,     // "bus-below-reference": longest below the reference for the rate
};

struct BestWarning {
  BestWarningKind kind;
  int64_t longestM;   // the best setting's longest bus
  int64_t limitM;     // the length asked for, or the reference's
};

struct BestFacts {
  bool found = false;  // false: no best setting, nothing else set
  Tolerance tolerance{0, 1};
  int64_t longestBusM = -1;
  std::vector<BestWarning> warnings;
};

// The reference bus lengths by bit rate, as the window's advice text lists them and
// the page's (sent in the page module's start reply), fastest first.
struct ReferenceLength {
  float rateKbps;
  int64_t metres;
};
constexpr ReferenceLength kReferenceLengths[] = {{1000.0f, 40}, {500.0f, 270}, {250.0f, 530}, {125.0f, 620},
                                                 {100.0f, 1300}, {50.0f, 3300}, {10.0f, 6700}};

// The reference bus length for a bit rate in Kbps (kReferenceLengths), or -1 for a
// rate it does not list.
int64_t ReferenceBusLength(float rateKbps);

// The facts of a checked best request's rows (RowsOfAnswer with request.best).
BestFacts FactsOfBest(const Request& request, const AnswerRows& rows);

// The kind's name: "tolerance-zero", ...
const char* BestWarningName(BestWarningKind kind);
