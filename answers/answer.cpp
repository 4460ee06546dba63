#include "answers/answer.h"

#include "answers/phase_search.h"
#include "answers/result_output.h"
#include "calc/bxcan_register.h"
#include "calc/fdcan_timing.h"

namespace {

// How a decoded value's row is written: its own SJW, mode or TDC bit.
OutputOptions DecodedOptions(const Request& request, Phase phase, int32_t sjw, uint32_t modeBits, bool errorKnown) {
  OutputOptions options = (phase == Phase::kBxCan ? BxCanPhase(request) : NominalPhase(request)).options;
  options.phase = phase;
  options.sjw = sjw;
  options.decoded = true;
  options.modeBits = modeBits;
  options.errorKnown = errorKnown;
  return options;
}

// A decoded CAN_BTR as its row: the setting at the clock, its error against the rate
// when one is given, its SJW and mode.
void WriteDecodedBxCan(const Request& request, OutputSink& out) {
  const DecodedLengths decoded = DecodeBxCanBitTiming(request.decodeValue);
  const BitTimingLengths& t = decoded.lengths;
  const OutputOptions options = DecodedOptions(request, Phase::kBxCan, t.sjw, decoded.flagBits, request.rateGiven);
  WriteResult(SingleRow(ComputedSetting(request.clockKHz, t.seg1, t.seg2, t.prescaler, request.targetRate)), options,
              out);
}

// One decoded FDCAN value as its phase's row: the setting at the clock, its error
// against the phase's rate when one is given.
PhaseOutput DecodedPhase(const Request& request, Phase phase) {
  const bool data = phase == Phase::kData;
  const DecodedBitTiming decoded =
      data ? DecodeDataBitTiming(request.decodeDataValue) : DecodeNominalBitTiming(request.decodeValue);
  const FdcanBitTiming& t = decoded.timing;
  const uint32_t modeBits = data && decoded.transceiverDelayCompensation ? kTdcBit : 0u;
  const OutputOptions options =
      DecodedOptions(request, phase, t.sjw, modeBits, data ? request.dataPhase : request.rateGiven);
  const float rate = data ? request.dataRate : request.targetRate;
  return PhaseOutput{SingleRow(ComputedSetting(request.clockKHz, t.seg1, t.seg2, t.prescaler, rate)), options};
}

// FDCAN's answer: its phases one after the other.
Answer WriteFdcan(const Request& request, OutputSink& out) {
  PhaseOutput phases[2];
  int count = 0;
  if (request.decode || request.decodeData) {
    if (request.decode) phases[count++] = DecodedPhase(request, Phase::kNominal);
    if (request.decodeData) phases[count++] = DecodedPhase(request, Phase::kData);
    WritePhases(phases, count, nullptr, out);
    return Answer::kWritten;
  }
  const PhaseSearch nominal = NominalPhase(request);
  const PhaseSearch data = DataPhase(request);
  if (!request.best) {
    phases[count++] = PhaseOutput{SearchRows(nominal), nominal.options};
    if (request.dataPhase) phases[count++] = PhaseOutput{SearchRows(data), data.options};
    WritePhases(phases, count, nullptr, out);
    return Answer::kWritten;
  }
  const BestSetting nominalBest = BestOfPhase(nominal, 0);
  if (!nominalBest.found) return Answer::kNoSetting;
  phases[count++] = PhaseOutput{SingleRow(nominalBest.best), nominal.options};
  if (!request.dataPhase) {
    WritePhases(phases, count, nullptr, out);
    return Answer::kWritten;
  }
  // One time quantum for both phases where the data phase allows it at no cost in
  // error.
  const BestSetting dataBest = BestOfPhase(data, nominalBest.best.prescaler);
  if (!dataBest.found) return Answer::kNoDataSetting;
  phases[count++] = PhaseOutput{SingleRow(dataBest.best), data.options};
  const Tolerance pair = PairTolerance(RowLengths(nominalBest.best, nominal.options),
                                       RowLengths(dataBest.best, data.options), request.clockKHz, request.bus);
  WritePhases(phases, count, &pair, out);
  return Answer::kWritten;
}

// A table controller's answer: one listing (or best row) for a classic controller;
// for an FD controller its phases as FDCAN's, the data phase's best preferring the
// nominal best's prescaler.
Answer WriteTableController(const Request& request, const ControllerEntry& entry, OutputSink& out) {
  const PhaseSearch nominal = ControllerPhase(request, entry, Phase::kNominal);
  if (!entry.fd) {
    if (!request.best) {
      WriteResult(SearchRows(nominal), nominal.options, out);
      return Answer::kWritten;
    }
    const BestSetting best = BestOfPhase(nominal, 0);
    if (!best.found) return Answer::kNoSetting;
    WriteResult(SingleRow(best.best), nominal.options, out);
    return Answer::kWritten;
  }
  const PhaseSearch data = ControllerPhase(request, entry, Phase::kData);
  PhaseOutput phases[2];
  int count = 0;
  if (!request.best) {
    phases[count++] = PhaseOutput{SearchRows(nominal), nominal.options};
    if (request.dataPhase) phases[count++] = PhaseOutput{SearchRows(data), data.options};
    WritePhases(phases, count, nullptr, out);
    return Answer::kWritten;
  }
  const BestSetting nominalBest = BestOfPhase(nominal, 0);
  if (!nominalBest.found) return Answer::kNoSetting;
  phases[count++] = PhaseOutput{SingleRow(nominalBest.best), nominal.options};
  if (!request.dataPhase) {
    WritePhases(phases, count, nullptr, out);
    return Answer::kWritten;
  }
  const BestSetting dataBest = BestOfPhase(data, nominalBest.best.prescaler);
  if (!dataBest.found) return Answer::kNoDataSetting;
  phases[count++] = PhaseOutput{SingleRow(dataBest.best), data.options};
  const Tolerance pair = PairTolerance(RowLengths(nominalBest.best, nominal.options),
                                       RowLengths(dataBest.best, data.options), request.clockKHz, request.bus);
  WritePhases(phases, count, &pair, out);
  return Answer::kWritten;
}

}  // namespace

Answer WriteAnswer(const Request& request, OutputSink& out) {
  if (!KeepsOlderForm(*request.controller)) return WriteTableController(request, *request.controller, out);
  if (request.controller == &FdcanController()) return WriteFdcan(request, out);
  if (request.decode) {
    WriteDecodedBxCan(request, out);
    return Answer::kWritten;
  }
  const PhaseSearch phase = BxCanPhase(request);
  if (!request.best) {
    WriteResult(SearchRows(phase), phase.options, out);
    return Answer::kWritten;
  }
  const BestSetting best = BestOfPhase(phase, 0);
  if (!best.found) return Answer::kNoSetting;
  WriteResult(SingleRow(best.best), phase.options, out);
  return Answer::kWritten;
}
