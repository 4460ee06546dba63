#include "cli/phase_search.h"

#include "calc/fdcan_timing.h"

#include <cmath>
#include <limits>

namespace {

bool SearchBxCan(const TimingRequest& request, const TimingSink& sink) {
  return SearchBitTimings(kBxCanRanges, request, PrescalerScan::kEvery, sink);
}

bool VisitChunk(void* context, const TimingCandidate* records, int32_t count) {
  const RowVisitor& visit = *static_cast<const RowVisitor*>(context);
  for (int32_t i = 0; i < count; ++i) {
    if (!visit(records[i])) return false;
  }
  return true;
}

}  // namespace

PhaseSearch BxCanPhase(const CliRequest& request) {
  return PhaseSearch{SearchBxCan,
                     {request.clockKHz, request.targetRate, request.tolerancePercent, request.minSamplePoint, request.sjw}};
}

PhaseSearch NominalPhase(const CliRequest& request) {
  return PhaseSearch{FdcanNominalSearch,
                     {request.clockKHz, request.targetRate, request.tolerancePercent, request.minSamplePoint,
                      request.sjwGiven ? request.sjw : 1}};
}

PhaseSearch DataPhase(const CliRequest& request) {
  return PhaseSearch{FdcanDataSearch,
                     {request.clockKHz, request.dataRate, request.dataTolerancePercent, request.dataMinSamplePoint,
                      request.dataSjwGiven ? request.dataSjw : 1}};
}

RowSource SearchRows(const PhaseSearch& phase) {
  return [phase](const RowVisitor& visit) {
    // The sink's context is untyped; VisitChunk only reads through it.
    phase.search(phase.request, TimingSink{VisitChunk, const_cast<void*>(static_cast<const void*>(&visit))});
  };
}

BestSetting BestOfPhase(const PhaseSearch& phase, int32_t preferredPrescaler) {
  BestSetting state = StartBestSetting(phase.request.targetRate, preferredPrescaler);
  phase.search(phase.request, OfferToBestSetting(state));
  return state;
}

TimingCandidate ComputedSetting(int32_t clockKHz, int32_t seg1, int32_t seg2, int32_t prescaler, float targetRate) {
  // An infinite target lets the setting through the rate test (the difference is not
  // a number) and a minimum of 0 any sample point.
  const TimingRanges one{{prescaler, prescaler}, {seg1, seg1}, {seg2, seg2}, {1, 1}};
  const TimingRequest request{clockKHz, std::numeric_limits<float>::infinity(), 0, 0.0f, 1};
  CandidateList found;
  SearchBitTimings(one, request, PrescalerScan::kEvery, AppendToStore(found));
  TimingCandidate setting = found.records.front();
  // The search's error step, against the rate asked for: the quotient, the difference
  // from 1 and the product rounded to double, the result to float.
  const double ratio = static_cast<double>(setting.actualRate) / static_cast<double>(targetRate);
  const double deviation = std::fabs(1.0 - ratio);
  setting.errorPercent = static_cast<float>(deviation * 100.0);
  return setting;
}
