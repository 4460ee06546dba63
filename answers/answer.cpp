#include "answers/answer.h"

#include "answers/code/code_output.h"
#include "answers/request/code_forms.h"
#include "answers/columns/nearest_setting.h"
#include "answers/rows/phase_search.h"
#include "answers/writers/text_forms.h"

namespace {

// A controller's decoded registers as their phase's row: the setting at the clock,
// made as a listing's row is, its error against the phase's rate when one is given;
// its own SJW, split of seg1 and flags (an older form's flags as its mode or TDC bit).
PhaseOutput DecodedControllerPhase(const Request& request, Phase phase) {
  const bool data = phase == Phase::kData;
  const ControllerEntry& entry = *request.controller;
  const PhaseLimits& limits = PhaseLimitsOf(entry, data);
  const uint32_t* values = data ? request.decodeDataValues : request.decodeValues;
  OutputOptions options = ControllerPhase(request, entry, phase).options;
  const BitTimingLengths t = DecodeRegisterSet(values, limits.registers, limits.registerCount);
  options.sjw = t.sjw;
  options.decoded = true;
  options.errorKnown = data ? request.dataPhase : request.rateGiven;
  for (int32_t i = 0; i < limits.registerCount && i < kMaxPhaseRegisters; ++i) options.decodedRegisters[i] = values[i];
  options.decodedLengths = t;
  if (entry.traits.olderForm) options.modeBits = DecodeLengths(values[0], *limits.registers[0]).flagBits;
  const float rate = data ? request.dataRate : request.targetRate;
  return PhaseOutput{SingleRow(ComputedSetting(request.clockKHz, t.seg1, t.seg2, t.prescaler, rate)), options};
}

// How a phase's best row is written: as its listing's rows, but as --best's.
OutputOptions BestOptions(OutputOptions options) {
  options.best = true;
  return options;
}

// Why a phase has no best: --min-tolerance alone where the phase without it has one
// (the message then names it, not --tolerance), else the request as a whole.
Answer NoBest(const PhaseSearch& phase, Answer plain, Answer atMinTolerance) {
  if (phase.minTolerance < 0) return plain;
  PhaseSearch unfiltered = phase;
  unfiltered.minTolerance = -1;
  return BestOfPhase(unfiltered, 0).found ? atMinTolerance : plain;
}

// An FD controller's phases: each listed, or its best row, the data phase's best
// preferring the nominal best's prescaler.
void PairRows(const Request& request, const PhaseSearch& nominal, const PhaseSearch& data, AnswerRows& rows) {
  if (!request.best) {
    rows.phases[rows.count++] = PhaseOutput{SearchRows(nominal), nominal.options};
    if (request.dataPhase) rows.phases[rows.count++] = PhaseOutput{SearchRows(data), data.options};
    return;
  }
  const BestSetting nominalBest = BestOfPhase(nominal, 0);
  if (!nominalBest.found) {
    rows.answer = NoBest(nominal, Answer::kNoSetting, Answer::kNoSettingAtMinTolerance);
    return;
  }
  rows.phases[rows.count++] = PhaseOutput{SingleRow(nominalBest.best), BestOptions(nominal.options)};
  if (!request.dataPhase) return;
  // One time quantum for both phases where the data phase allows it at no cost in
  // error.
  const BestSetting dataBest = BestOfPhase(data, nominalBest.best.prescaler);
  if (!dataBest.found) {
    rows.answer = NoBest(data, Answer::kNoDataSetting, Answer::kNoDataSettingAtMinTolerance);
    rows.count = 0;
    return;
  }
  rows.phases[rows.count++] = PhaseOutput{SingleRow(dataBest.best), BestOptions(data.options)};
  rows.paired = true;
  rows.pairTolerance = PairTolerance(RowLengths(nominalBest.best, nominal.options),
                                     RowLengths(dataBest.best, data.options), request.clockKHz, request.bus);
}

}  // namespace

AnswerRows RowsOfAnswer(const Request& request) {
  AnswerRows rows;
  const ControllerEntry& entry = *request.controller;
  if (request.decode || request.decodeData) {
    if (request.decode) rows.phases[rows.count++] = DecodedControllerPhase(request, Phase::kNominal);
    if (request.decodeData) rows.phases[rows.count++] = DecodedControllerPhase(request, Phase::kData);
    return rows;
  }
  if (entry.fd) {
    PairRows(request, ControllerPhase(request, entry, Phase::kNominal), ControllerPhase(request, entry, Phase::kData),
             rows);
    return rows;
  }
  const PhaseSearch phase = ControllerPhase(request, entry, Phase::kNominal);
  if (!request.best) {
    rows.phases[rows.count++] = PhaseOutput{SearchRows(phase), phase.options};
    return rows;
  }
  const BestSetting best = BestOfPhase(phase, 0);
  if (!best.found) {
    rows.answer = NoBest(phase, Answer::kNoSetting, Answer::kNoSettingAtMinTolerance);
    return rows;
  }
  rows.phases[rows.count++] = PhaseOutput{SingleRow(best.best), BestOptions(phase.options)};
  return rows;
}

bool WriteResult(const RowSource& rows, const OutputOptions& options, OutputSink& sink) {
  if (IsCodeFormat(options.format)) return WriteCode(rows, options, sink);
  return WriteTextForm(rows, options, sink);
}

void WritePhases(const PhaseOutput* phases, int count, const Tolerance* pairTolerance, OutputSink& sink) {
  if (count == 0) return;
  if (IsCodeFormat(phases[0].options.format)) return WriteCodePhases(phases, count, pairTolerance, sink);
  WriteTextPhases(phases, count, pairTolerance, sink);
}

void WriteAnswerRows(const AnswerRows& rows, OutputSink& out) {
  if (rows.answer != Answer::kWritten || rows.count == 0) return;
  if (!InPhases(rows.phases[0].options)) {
    WriteResult(rows.phases[0].rows, rows.phases[0].options, out);
    return;
  }
  WritePhases(rows.phases, rows.count, rows.paired ? &rows.pairTolerance : nullptr, out);
}

Answer WriteAnswer(const Request& request, OutputSink& out) {
  const AnswerRows rows = RowsOfAnswer(request);
  WriteAnswerRows(rows, out);
  return rows.answer;
}

namespace {

bool IsSearch(const Request& request) {
  return !request.decode && !request.decodeData && !request.plan && !request.listControllers;
}

}  // namespace

std::vector<std::string> NoSettingNotes(const Request& request, Answer answer) {
  std::vector<std::string> lines;
  if (!IsSearch(request)) return lines;
  const ControllerEntry& entry = *request.controller;
  const PhaseSearch nominal = ControllerPhase(request, entry, Phase::kNominal);
  if (request.best) {
    if (answer == Answer::kNoSetting) return NoSettingLines(request, nominal);
    if (answer == Answer::kNoDataSetting) return NoSettingLines(request, ControllerPhase(request, entry, Phase::kData));
    return lines;
  }
  if (!PhaseHasRows(nominal)) lines = NoSettingLines(request, nominal);
  if (entry.fd && request.dataPhase) {
    const PhaseSearch data = ControllerPhase(request, entry, Phase::kData);
    if (!PhaseHasRows(data))
      for (const std::string& line : NoSettingLines(request, data)) lines.push_back(line);
  }
  return lines;
}

bool ToleranceCouldHelp(const Request& request, Answer answer) {
  const Phase phase = answer == Answer::kNoDataSetting ? Phase::kData : Phase::kNominal;
  return ToleranceCanHelp(ControllerPhase(request, *request.controller, phase));
}
