#include "answers/setting_code.h"

#include "answers/code_output.h"
#include "answers/phase_search.h"
#include "answers/result_output.h"
#include "calc/fdcan_timing.h"
#include "calc/timing.h"

namespace {

bool Within(int32_t value, const FieldRange& range) { return value >= range.first && value <= range.last; }

// The phase's own ranges, not the listing's (which start the segments at a given SJW):
// a setting with an SJW of its own is checked against that SJW below.
const TimingRanges& RangesOf(Phase phase) {
  if (phase == Phase::kNominal) return kFdcanNominalRanges;
  return phase == Phase::kData ? kFdcanDataRanges : kBxCanRanges;
}

PhaseSearch ListedPhase(const Request& request, Phase phase) {
  if (phase == Phase::kNominal) return NominalPhase(request);
  return phase == Phase::kData ? DataPhase(request) : BxCanPhase(request);
}

}  // namespace

bool WriteSettingCode(const Request& request, Phase phase, const BitTimingLengths& setting, OutputSink& sink) {
  const TimingRanges& ranges = RangesOf(phase);
  if (!Within(setting.prescaler, ranges.prescaler) || !Within(setting.seg1, ranges.seg1) ||
      !Within(setting.seg2, ranges.seg2))
    return false;
  // An SJW of its own may exceed neither phase segment, as in the listing.
  if (setting.sjw != 0 &&
      (!Within(setting.sjw, ranges.sjw) || setting.sjw > setting.seg1 || setting.sjw > setting.seg2))
    return false;
  const PhaseSearch listed = ListedPhase(request, phase);
  OutputOptions options = listed.options;
  if (setting.sjw != 0) options.sjw = setting.sjw;
  // The search's own record for the setting: every digit of the comment is the
  // listing's, the error against the rate the listing was asked for.
  const TimingCandidate record =
      ComputedSetting(request.clockKHz, setting.seg1, setting.seg2, setting.prescaler, listed.request.targetRate);
  return WriteCode(SingleRow(record), options, sink);
}
