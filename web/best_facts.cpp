#include "web/best_facts.h"

#include "answers/rows/output_options.h"
#include "calc/bus_tolerance.h"

namespace {

// The one row a best phase holds.
TimingCandidate OnlyRow(const PhaseOutput& phase) {
  TimingCandidate found{};
  phase.rows([&](const TimingCandidate& record) {
    found = record;
    return false;
  });
  return found;
}

}  // namespace

int64_t ReferenceBusLength(float rateKbps) {
  for (const auto& reference : kReferenceLengths)
    if (reference.rateKbps == rateKbps) return reference.metres;
  return -1;
}

BestFacts FactsOfBest(const Request& request, const AnswerRows& rows) {
  BestFacts facts;
  if (rows.answer != Answer::kWritten || rows.count == 0) return facts;
  facts.found = true;
  const PhaseOutput& nominal = rows.phases[0];
  const TimingCandidate record = OnlyRow(nominal);
  const OutputOptions& options = nominal.options;
  facts.tolerance = rows.paired ? rows.pairTolerance : RowTolerance(record, options);
  facts.longestBusM = LongestBus(RowLengths(record, options), options.clockKHz, options.bus.nodeDelayNs);
  // Shown with two decimals: a tolerance below 0.005% reads as none at all.
  if (ToleranceHundredths(facts.tolerance) == 0)
    facts.warnings.push_back({BestWarningKind::kToleranceZero, facts.longestBusM, 0});
  if (facts.longestBusM < request.bus.busLengthM)
    facts.warnings.push_back({BestWarningKind::kBusShorterThanAsked, facts.longestBusM, request.bus.busLengthM});
  const int64_t reference = ReferenceBusLength(request.targetRate);
  if (reference >= 0 && facts.longestBusM < reference)
    facts.warnings.push_back({BestWarningKind::kBusBelowReference, facts.longestBusM, reference});
  return facts;
}

const char* BestWarningName(BestWarningKind kind) {
  switch (kind) {
    case BestWarningKind::kToleranceZero: return "tolerance-zero";
    case BestWarningKind::kBusShorterThanAsked: return "bus-shorter-than-asked";
    case BestWarningKind::kBusBelowReference: return "bus-below-reference";
  }
  return "";
}
