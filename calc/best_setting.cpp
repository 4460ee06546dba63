// The best-setting rule, as a comparison of a new record with the best so far.
#include "calc/best_setting.h"

#include <cmath>

namespace {

// -1 when a ranks first, +1 when b does, 0 on a tie.
int CompareErrors(float a, float b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) == std::isnan(b) ? 0 : (std::isnan(a) ? 1 : -1);
  return a < b ? -1 : (b < a ? 1 : 0);
}

bool Better(const TimingCandidate& a, const TimingCandidate& b, const BestSetting& state) {
  const int error = CompareErrors(a.errorPercent, b.errorPercent);
  if (error != 0) return error < 0;
  if (state.preferredPrescaler != 0) {
    const bool aPreferred = a.prescaler == state.preferredPrescaler;
    if (aPreferred != (b.prescaler == state.preferredPrescaler)) return aPreferred;
  }
  const double distanceA = std::fabs(static_cast<double>(a.samplePoint) - state.advice);
  const double distanceB = std::fabs(static_cast<double>(b.samplePoint) - state.advice);
  if (distanceA != distanceB) return distanceA < distanceB;
  // 1 + seg1 + seg2 = bs1Code + bs2Code + 3; in 64 bits, as codes are not checked here.
  return int64_t{a.bs1Code} + a.bs2Code > int64_t{b.bs1Code} + b.bs2Code;
}

}  // namespace

SamplePointAdvice SamplePointAdviceFor(float targetRate) {
  int row = 0;
  while (row + 1 < kSamplePointAdviceCount && !(targetRate <= kSamplePointAdvice[row].upToKbps)) ++row;
  return kSamplePointAdvice[row];
}

double AdvisedSamplePoint(float targetRate) {
  const SamplePointAdvice advice = SamplePointAdviceFor(targetRate);
  return static_cast<double>(advice.numerator) / static_cast<double>(advice.denominator);
}

BestSetting StartBestSetting(float targetRate, int32_t preferredPrescaler) {
  BestSetting state{};
  state.advice = AdvisedSamplePoint(targetRate);
  state.preferredPrescaler = preferredPrescaler;
  state.found = false;
  return state;
}

void OfferBestSetting(BestSetting& state, const TimingCandidate& record) {
  if (state.found && !Better(record, state.best, state)) return;
  state.best = record;
  state.found = true;
}
