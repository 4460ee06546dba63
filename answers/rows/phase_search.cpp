#include "answers/rows/phase_search.h"

namespace {

struct Filtered {
  const PhaseSearch* phase;
  const RowVisitor* visit;     // a listing's, or null
  BestSetting* best;           // or the best setting's
};

bool Passes(const PhaseSearch& phase, const TimingCandidate& record) {
  return phase.minTolerance < 0 || ToleranceAtLeast(RowTolerance(record, phase.options), phase.minTolerance);
}

bool TakeChunk(void* context, const TimingCandidate* records, int32_t count) {
  const Filtered& to = *static_cast<const Filtered*>(context);
  for (int32_t i = 0; i < count; ++i) {
    if (!Passes(*to.phase, records[i])) continue;
    if (to.best != nullptr)
      OfferBestSetting(*to.best, records[i]);
    else if (!(*to.visit)(records[i]))
      return false;
  }
  return true;
}

}  // namespace

PhaseSearch ControllerPhase(const Request& request, const ControllerEntry& entry, Phase phase) {
  const bool data = phase == Phase::kData;
  const TimingRequest question =
      data ? TimingRequest{request.clockKHz, request.dataRate, request.dataToleranceHundredths, request.dataMinSamplePoint, 1,
                           entry.traits.toleranceTest}
           : TimingRequest{request.clockKHz, request.targetRate, request.toleranceHundredths, request.minSamplePoint, 1,
                           entry.traits.toleranceTest};
  const bool sjwGiven = data ? request.dataSjwGiven : request.sjwGiven;
  const int32_t sjw = sjwGiven ? (data ? request.dataSjw : request.sjw) : 0;
  PhaseSearch search{TimingRanges{}, PhaseQuestion{&PhaseLimitsOf(entry, data), sjw}, entry.traits.scan, question,
                     OutputOptions{}, request.minTolerance};
  search.ranges = SearchRanges(search.question);  // its filter is pointed at the running copy in Run
  search.targetSamplePoint = data ? request.dataTargetSamplePoint : request.targetSamplePoint;
  OutputOptions& options = search.options;
  options.format = request.format;
  options.phase = phase;
  options.sjw = sjw;  // 0: each row's default
  options.wide = request.wide;
  options.page = request.page;
  options.clockKHz = request.clockKHz;
  options.bus = request.bus;
  options.controller = &entry;
  return search;
}

namespace {

// One run of the search over a phase. A table controller's pair filter reads the
// question of this very copy of the phase.
void Run(const PhaseSearch& phase, Filtered& to) {
  TimingRanges ranges = phase.ranges;
  ranges.filter.context = &phase.question;
  ListSettings(ranges, phase.request, phase.scan, TimingSink{TakeChunk, &to});
}

}  // namespace

RowSource SearchRows(const PhaseSearch& phase) {
  return [phase](const RowVisitor& visit) {
    Filtered to{&phase, &visit, nullptr};
    Run(phase, to);
  };
}

BestSetting BestOfPhase(const PhaseSearch& phase, int32_t preferredPrescaler) {
  BestSetting state = StartBestSetting(phase.request.targetRate, preferredPrescaler);
  // Millionths of a percent to the fraction, in one rounding: 87.5 is 0.875 exactly.
  if (phase.targetSamplePoint >= 0) state.advice = static_cast<double>(phase.targetSamplePoint) / 1e8;
  // The least tolerance is held to the row as --best writes it (its SJW the widest).
  PhaseSearch asBest = phase;
  asBest.options.best = true;
  Filtered to{&asBest, nullptr, &state};
  Run(asBest, to);
  return state;
}
