#include "answers/rows/best_warnings.h"

#include <cmath>

#include "answers/rows/output_options.h"
#include "calc/bus_tolerance.h"
#include "calc/text.h"

namespace {

std::string HundredthsText(int64_t hundredths) { return ToFixedText(hundredths, 2, 2).get(); }

// The error is a float percent and the tolerance an exact fraction of the clock:
// |error| / 100 > numerator / denominator, in doubles, whose products here are exact
// enough that only a float error within rounding of the tolerance could tip.
bool ErrorAbove(float errorPercent, const Tolerance& tolerance) {
  return std::fabs(static_cast<double>(errorPercent)) * static_cast<double>(tolerance.denominator) >
         100.0 * static_cast<double>(tolerance.numerator);
}

// "the", "the nominal phase's", ...: the sentence's subject for the phase.
std::string Whose(WarnedPhase phase) {
  switch (phase) {
    case WarnedPhase::kOnly: return "the";
    case WarnedPhase::kNominal: return "the nominal phase's";
    case WarnedPhase::kData: return "the data phase's";
    case WarnedPhase::kPair: return "the pair's";
  }
  return "the";
}

BestWarning Warning(BestWarningKind kind, WarnedPhase phase) {
  BestWarning warning;
  warning.kind = kind;
  warning.phase = phase;
  return warning;
}

}  // namespace

std::vector<BestWarning> BestWarnings(const Request& request, const PhaseOutput* phases, int count,
                                      const Tolerance* pairTolerance) {
  std::vector<BestWarning> warnings;
  if (!request.best || request.decode || request.decodeData) return warnings;
  const bool paired = pairTolerance != nullptr;
  for (int i = 0; i < count && i < 2; ++i) {
    const PhaseOutput& phase = phases[i];
    const OutputOptions& options = phase.options;
    const bool data = options.phase == Phase::kData;
    const WarnedPhase whose = data ? WarnedPhase::kData : InPhases(options) ? WarnedPhase::kNominal : WarnedPhase::kOnly;
    TimingCandidate record{};
    FirstRow(phase.rows, record);
    const BitTimingLengths lengths = RowLengths(record, options);
    const Tolerance tolerance = paired ? *pairTolerance : RowTolerance(record, options);
    // Rounded down, as it is shown: what the reader sees is what is warned of.
    const int64_t hundredths = ToleranceHundredths(tolerance);
    if (hundredths == 0 && !(paired && data)) {
      BestWarning zero = Warning(BestWarningKind::kToleranceZero, paired ? WarnedPhase::kPair : whose);
      zero.toleranceText = HundredthsText(0);
      warnings.push_back(zero);
    }
    if (!data) {
      const int64_t longest = LongestBus(lengths, options.clockKHz, options.bus.nodeDelayNs);
      if (longest < request.bus.busLengthM) {
        BestWarning shorter = Warning(BestWarningKind::kBusShorterThanAsked, whose);
        shorter.longestM = longest;
        shorter.askedM = request.bus.busLengthM;
        warnings.push_back(shorter);
      }
    }
    if (hundredths > 0 && ErrorAbove(record.errorPercent, tolerance)) {
      BestWarning above = Warning(BestWarningKind::kErrorAboveTolerance, whose);
      above.errorText = ToText(std::fabs(record.errorPercent)).get();
      above.toleranceText = HundredthsText(hundredths);
      warnings.push_back(above);
    }
    const int32_t quanta = 1 + lengths.seg1 + lengths.seg2;
    if (quanta < 8) {
      BestWarning few = Warning(BestWarningKind::kFewQuanta, whose);
      few.quanta = quanta;
      warnings.push_back(few);
    }
    const ControllerEntry& entry = *options.controller;
    // A setting whose bit is back before its sample point checks it without TDC, even
    // where the controller has TDC and the setting cannot use it (a plan still asks
    // for TDC there: at 1000 Kbps and above it keeps the sample point free to move).
    const TdcOffset tdc = TdcOffsetRule(entry, lengths);
    if (data && request.dataRate >= 1000.0f && tdc.verdict != TdcVerdict::kApplies &&
        !BitReturnsBeforeSamplePoint(lengths, options.clockKHz, options.bus.nodeDelayNs)) {
      BestWarning unchecked =
          Warning(tdc.verdict == TdcVerdict::kNoTdc ? BestWarningKind::kNoTdc : BestWarningKind::kTdcUnusable, whose);
      unchecked.dataRateText = ToText(request.dataRate).get();
      unchecked.nodeDelayNs = options.bus.nodeDelayNs;
      unchecked.controller = entry.name;
      unchecked.verdict = tdc.verdict;
      unchecked.tdcOffset = tdc.offset;
      warnings.push_back(unchecked);
    }
  }
  return warnings;
}

std::vector<TargetSamplePointNote> TargetSamplePointNoteFacts(const Request& request, const PhaseOutput* phases,
                                                              int count) {
  std::vector<TargetSamplePointNote> notes;
  if (!request.best) return notes;
  for (int i = 0; i < count && i < 2; ++i) {
    const bool data = phases[i].options.phase == Phase::kData;
    const int64_t target = data ? request.dataTargetSamplePoint : request.targetSamplePoint;
    if (target < 0) continue;
    TimingCandidate record{};
    FirstRow(phases[i].rows, record);
    const BitTimingLengths lengths = RowLengths(record, phases[i].options);
    // target / 10^8 = (1 + seg1) / (1 + seg1 + seg2), in whole numbers.
    const int64_t quanta = 1 + int64_t{lengths.seg1} + lengths.seg2;
    if (target * quanta == (1 + int64_t{lengths.seg1}) * 100000000) continue;
    // As the rows show it: rounded to 0.1 points (calc/text.h).
    char shown[kMaxNumberText];
    const int length = FormatTenthsPercent(1 + int64_t{lengths.seg1}, quanta, shown);
    notes.push_back(
        TargetSamplePointNote{data, ToFixedText(target, 6, 0).get(), std::string(shown, static_cast<std::size_t>(length))});
  }
  return notes;
}

std::vector<std::string> TargetSamplePointNotes(const Request& request, const PhaseOutput* phases, int count) {
  std::vector<std::string> lines;
  for (const TargetSamplePointNote& note : TargetSamplePointNoteFacts(request, phases, count))
    lines.push_back(std::string("the sample point nearest ") +
                    (note.data ? "--data-target-sample-point " : "--target-sample-point ") + note.targetText +
                    " among the settings with the smallest error is " + note.nearestText + "%");
  return lines;
}

std::string BestWarningText(const BestWarning& warning) {
  switch (warning.kind) {
    case BestWarningKind::kToleranceZero:
      if (warning.phase == WarnedPhase::kPair)
        return "the oscillator tolerance of both phases together is 0.00%: the nodes' clocks may not differ at all";
      return Whose(warning.phase) + " oscillator tolerance is 0.00%: the nodes' clocks may not differ at all";
    case BestWarningKind::kBusShorterThanAsked:
      if (warning.longestM < 0)
        return "the setting reaches no bus at all (its propagation segment leaves no phase 1); --bus-length asks for " +
               std::to_string(warning.askedM) + " m";
      return "the longest bus is " + std::to_string(warning.longestM) + " m, shorter than the " +
             std::to_string(warning.askedM) + " m --bus-length asks for";
    case BestWarningKind::kErrorAboveTolerance:
      return Whose(warning.phase) + " rate error " + warning.errorText +
             "% is larger than the oscillator tolerance it leaves, " + warning.toleranceText + "%";
    case BestWarningKind::kFewQuanta:
      return Whose(warning.phase) + " bit has " + std::to_string(warning.quanta) +
             " quanta, fewer than 8: resynchronisation is coarse";
    case BestWarningKind::kNoTdc:
      return "the data phase at " + warning.dataRateText + " Kbps cannot check its own bits: " + warning.controller +
             " has no TDC, and at a " + std::to_string(warning.nodeDelayNs) +
             " ns node delay its sample point comes before its bits return";
    case BestWarningKind::kTdcUnusable:
      return "the data phase at " + warning.dataRateText + " Kbps cannot check its own bits: at a " +
             std::to_string(warning.nodeDelayNs) + " ns node delay its sample point comes before its bits return, and " +
             "it cannot use " + warning.controller + "'s TDC: " +
             (warning.verdict == TdcVerdict::kPrescalerAboveTwo
                  ? std::string("its data prescaler is above 2")
                  : "its TDC offset " + std::to_string(warning.tdcOffset) + " is out of the register's range");
  }
  return "";
}

const char* BestWarningName(BestWarningKind kind) {
  switch (kind) {
    case BestWarningKind::kToleranceZero: return "tolerance-zero";
    case BestWarningKind::kBusShorterThanAsked: return "bus-shorter-than-asked";
    case BestWarningKind::kErrorAboveTolerance: return "error-above-tolerance";
    case BestWarningKind::kFewQuanta: return "few-quanta";
    case BestWarningKind::kNoTdc: return "no-tdc";
    case BestWarningKind::kTdcUnusable: return "tdc-unusable";
  }
  return "";
}

const char* WarnedPhaseName(WarnedPhase phase) {
  switch (phase) {
    case WarnedPhase::kOnly: return "";
    case WarnedPhase::kNominal: return "nominal";
    case WarnedPhase::kData: return "data";
    case WarnedPhase::kPair: return "pair";
  }
  return "";
}
