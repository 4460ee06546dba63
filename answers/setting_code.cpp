#include "answers/setting_code.h"

#include "answers/answer.h"
#include "answers/code_forms.h"
#include "answers/phase_search.h"
#include "answers/result_output.h"
#include "calc/fdcan_timing.h"
#include "calc/timing.h"

namespace {

bool Within(int32_t value, const FieldRange& range) { return value >= range.first && value <= range.last; }

// bxCAN's and FDCAN's own ranges, not the listing's (which start the segments at a
// given SJW): a setting with an SJW of its own is checked against that SJW below.
const TimingRanges& OlderRangesOf(Phase phase) {
  if (phase == Phase::kNominal) return kFdcanNominalRanges;
  return phase == Phase::kData ? kFdcanDataRanges : kBxCanRanges;
}

// Whether the phase can hold the setting: every length within its ranges, and an SJW
// of its own no longer than either phase segment (a table controller's: no wider than
// its rules allow, WidestSjw).
bool Holds(const ControllerEntry& entry, Phase phase, const BitTimingLengths& setting) {
  if (KeepsOlderForm(entry)) {
    const TimingRanges& ranges = OlderRangesOf(phase);
    if (!Within(setting.prescaler, ranges.prescaler) || !Within(setting.seg1, ranges.seg1) ||
        !Within(setting.seg2, ranges.seg2))
      return false;
    return setting.sjw == 0 ||
           (Within(setting.sjw, ranges.sjw) && setting.sjw <= setting.seg1 && setting.sjw <= setting.seg2);
  }
  const PhaseLimits& limits = phase == Phase::kData ? entry.data : entry.nominal;
  if (!Within(setting.prescaler, limits.prescaler) || (setting.prescaler - limits.prescaler.first) % limits.prescalerStep != 0 ||
      !Within(setting.seg1, limits.seg1) || !Within(setting.seg2, limits.seg2))
    return false;
  const int32_t widest = WidestSjw(limits, setting.seg1, setting.seg2);
  return widest > 0 && (setting.sjw == 0 || (setting.sjw >= limits.sjw.first && setting.sjw <= widest));
}

PhaseSearch ListedPhase(const Request& request, Phase phase) {
  const ControllerEntry& entry = *request.controller;
  if (!KeepsOlderForm(entry)) return ControllerPhase(request, entry, phase);
  if (phase == Phase::kNominal) return NominalPhase(request);
  return phase == Phase::kData ? DataPhase(request) : BxCanPhase(request);
}

// The phase's row for setting, with the options it was listed with and its own SJW.
PhaseOutput SettingRow(const Request& request, Phase phase, const BitTimingLengths& setting, TimingCandidate& record) {
  const PhaseSearch listed = ListedPhase(request, phase);
  OutputOptions options = listed.options;
  options.format = request.format;
  if (setting.sjw != 0) options.sjw = setting.sjw;
  // The search's own record for the setting: every digit of the comment is the
  // listing's, the error against the rate the listing was asked for.
  record = ComputedSetting(request.clockKHz, setting.seg1, setting.seg2, setting.prescaler, listed.request.targetRate);
  return PhaseOutput{SingleRow(record), options};
}

}  // namespace

RequestStatus WriteSettingCode(const Request& request, const BitTimingLengths& nominal, const BitTimingLengths* data,
                               OutputSink& sink) {
  const ControllerEntry& entry = *request.controller;
  if (!HasForm(entry, request.format)) return RequestStatus::kFormNotForController;
  const Phase first = &entry == &BxCanController() ? Phase::kBxCan : Phase::kNominal;
  if (data != nullptr && entry.fd && !request.dataPhase) return RequestStatus::kDataOptionWithoutDataRate;
  if (!Holds(entry, first, nominal) || (data != nullptr && (!entry.fd || !Holds(entry, Phase::kData, *data))))
    return RequestStatus::kSettingOutsideRanges;
  AnswerRows rows;
  TimingCandidate nominalRecord{};
  rows.phases[rows.count++] = SettingRow(request, first, nominal, nominalRecord);
  if (data != nullptr) {
    TimingCandidate dataRecord{};
    rows.phases[rows.count++] = SettingRow(request, Phase::kData, *data, dataRecord);
    // The pair's tolerance as --best computes it for its pair.
    rows.paired = true;
    rows.pairTolerance = PairTolerance(RowLengths(nominalRecord, rows.phases[0].options),
                                       RowLengths(dataRecord, rows.phases[1].options), request.clockKHz, request.bus);
  }
  WriteAnswerRows(rows, sink);
  return RequestStatus::kReady;
}
