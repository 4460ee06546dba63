#include "web/best_facts.h"

#include "answers/rows/output_options.h"
#include "answers/text/json_string.h"
#include "calc/bus_tolerance.h"

namespace {

const char* TdcReason(const BestWarning& warning) {
  if (warning.kind != BestWarningKind::kTdcUnusable) return "";
  return warning.verdict == TdcVerdict::kPrescalerAboveTwo ? "prescaler" : "offset";
}

}  // namespace

BestFacts FactsOfBest(const Request& request, const AnswerRows& rows) {
  BestFacts facts;
  if (rows.answer != Answer::kWritten || rows.count == 0) return facts;
  facts.found = true;
  const PhaseOutput& nominal = rows.phases[0];
  TimingCandidate record{};
  FirstRow(nominal.rows, record);
  const OutputOptions& options = nominal.options;
  facts.tolerance = rows.paired ? rows.pairTolerance : RowTolerance(record, options);
  facts.longestBusM = LongestBus(RowLengths(record, options), options.clockKHz, options.bus.nodeDelayNs);
  facts.warnings = BestWarnings(request, rows.phases, rows.count, rows.paired ? &rows.pairTolerance : nullptr);
  return facts;
}

std::string BestWarningJson(const BestWarning& warning) {
  return std::string("{\"name\": ") + JsonString(BestWarningName(warning.kind)) +
         ", \"phase\": " + JsonString(WarnedPhaseName(warning.phase)) +
         ", \"longest\": " + std::to_string(warning.longestM) + ", \"asked\": " + std::to_string(warning.askedM) +
         ", \"error\": " + JsonString(warning.errorText) + ", \"tolerance\": " + JsonString(warning.toleranceText) +
         ", \"quanta\": " + std::to_string(warning.quanta) + ", \"dataRate\": " + JsonString(warning.dataRateText) +
         ", \"delay\": " + std::to_string(warning.nodeDelayNs) + ", \"controller\": " +
         JsonString(warning.controller) + ", \"tdc\": " + JsonString(TdcReason(warning)) +
         ", \"offset\": " + std::to_string(warning.tdcOffset) + "}";
}
