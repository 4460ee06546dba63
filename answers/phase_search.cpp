#include "answers/phase_search.h"

#include "calc/fdcan_timing.h"

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

// The searched ranges: both segments at least the SJW.
TimingRanges WithSjw(TimingRanges ranges, int32_t sjw) {
  if (ranges.seg1.first < sjw) ranges.seg1.first = sjw;
  if (ranges.seg2.first < sjw) ranges.seg2.first = sjw;
  return ranges;
}

PhaseSearch MakePhase(const Request& request, Phase phase, const TimingRanges& ranges, PrescalerScan scan,
                      const TimingRequest& question, int32_t sjw, bool sjwGiven) {
  PhaseSearch search{WithSjw(ranges, sjwGiven ? sjw : 1), PhaseQuestion{nullptr, 0}, scan, question, OutputOptions{},
                     request.minTolerance};
  OutputOptions& options = search.options;
  options.format = request.format;
  options.phase = phase;
  options.sjw = sjwGiven ? sjw : 0;  // FDCAN without --sjw (--data-sjw): each row's own
  options.wide = request.wide;
  options.page = request.page;
  options.clockKHz = request.clockKHz;
  options.bus = request.bus;
  return search;
}

}  // namespace

PhaseSearch BxCanPhase(const Request& request) {
  return MakePhase(request, Phase::kBxCan, kBxCanRanges, PrescalerScan::kEvery,
                   {request.clockKHz, request.targetRate, request.tolerancePercent, request.minSamplePoint, 1},
                   request.sjw, true);
}

PhaseSearch NominalPhase(const Request& request) {
  return MakePhase(request, Phase::kNominal, kFdcanNominalRanges, PrescalerScan::kRateWindow,
                   {request.clockKHz, request.targetRate, request.tolerancePercent, request.minSamplePoint, 1},
                   request.sjw, request.sjwGiven);
}

PhaseSearch DataPhase(const Request& request) {
  return MakePhase(request, Phase::kData, kFdcanDataRanges, PrescalerScan::kRateWindow,
                   {request.clockKHz, request.dataRate, request.dataTolerancePercent, request.dataMinSamplePoint, 1},
                   request.dataSjw, request.dataSjwGiven);
}

PhaseSearch ControllerPhase(const Request& request, const ControllerEntry& entry, Phase phase) {
  const bool data = phase == Phase::kData;
  const PhaseLimits& limits = data ? entry.data : entry.nominal;
  const TimingRequest question =
      data ? TimingRequest{request.clockKHz, request.dataRate, request.dataTolerancePercent, request.dataMinSamplePoint, 1}
           : TimingRequest{request.clockKHz, request.targetRate, request.tolerancePercent, request.minSamplePoint, 1};
  const bool sjwGiven = data ? request.dataSjwGiven : request.sjwGiven;
  const int32_t sjw = data ? request.dataSjw : request.sjw;
  PhaseSearch search = MakePhase(request, phase, TimingRanges{}, PrescalerScan::kRateWindow, question, sjw, sjwGiven);
  search.question = PhaseQuestion{&limits, sjwGiven ? sjw : 0};
  search.ranges = SearchRanges(search.question);  // its filter is pointed at the running copy in Run
  search.options.controller = &entry;
  return search;
}

namespace {

// One run of the search over a phase. A table controller's pair filter reads the
// question of this very copy of the phase.
void Run(const PhaseSearch& phase, Filtered& to) {
  TimingRanges ranges = phase.ranges;
  if (phase.question.limits != nullptr) ranges.filter.context = &phase.question;
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
  Filtered to{&phase, nullptr, &state};
  Run(phase, to);
  return state;
}
