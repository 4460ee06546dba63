#include "answers/phase_search.h"

#include "calc/fdcan_timing.h"

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
