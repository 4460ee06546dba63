#include "web/setting_code.h"

#include "answers/answer.h"
#include "answers/request/code_forms.h"
#include "answers/rows/phase_search.h"
#include "calc/timing.h"

namespace {

bool Within(int32_t value, const FieldRange& range) { return value >= range.first && value <= range.last; }

// Whether the phase can hold the setting: every length within its limits, on the
// prescaler's step, and an SJW of its own no wider than the rules allow (WidestSjw).
bool Holds(const ControllerEntry& entry, Phase phase, const BitTimingLengths& setting) {
  const PhaseLimits& limits = PhaseLimitsOf(entry, phase == Phase::kData);
  if (!Within(setting.prescaler, limits.prescaler) || (setting.prescaler - limits.prescaler.first) % limits.prescalerStep != 0 ||
      !Within(setting.seg1, limits.seg1) || !Within(setting.seg2, limits.seg2))
    return false;
  const int32_t widest = WidestSjw(limits, setting.seg1, setting.seg2);
  return widest > 0 && (setting.sjw == 0 || (setting.sjw >= limits.sjw.first && setting.sjw <= widest));
}

// The phase's row for setting, with the options it was listed with and its own SJW.
PhaseOutput SettingRow(const Request& request, Phase phase, const BitTimingLengths& setting, TimingCandidate& record) {
  const PhaseSearch listed = ControllerPhase(request, *request.controller, phase);
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
  if (data != nullptr && entry.fd && !request.dataPhase) return RequestStatus::kDataOptionWithoutDataRate;
  if (!Holds(entry, Phase::kNominal, nominal) || (data != nullptr && (!entry.fd || !Holds(entry, Phase::kData, *data))))
    return RequestStatus::kSettingOutsideRanges;
  AnswerRows rows;
  TimingCandidate nominalRecord{};
  rows.phases[rows.count++] = SettingRow(request, Phase::kNominal, nominal, nominalRecord);
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
