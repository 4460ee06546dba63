#include "cli/best_setting.h"

#include <cmath>
#include <limits>

double AdvisedSamplePoint(float targetRate) {
  if (targetRate <= 500.0f) return 0.875;
  if (targetRate <= 800.0f) return 0.8;
  return 0.75;
}

bool IsBetterSetting(const TimingCandidate& a, const TimingCandidate& b, double advice) {
  // An error that is not a number (no checked input gives one) ranks last.
  const float infinity = std::numeric_limits<float>::infinity();
  const float errorA = std::isnan(a.errorPercent) ? infinity : a.errorPercent;
  const float errorB = std::isnan(b.errorPercent) ? infinity : b.errorPercent;
  if (errorA != errorB) return errorA < errorB;
  const double distanceA = std::fabs(static_cast<double>(a.samplePoint) - advice);
  const double distanceB = std::fabs(static_cast<double>(b.samplePoint) - advice);
  if (distanceA != distanceB) return distanceA < distanceB;
  return a.bs1Code + a.bs2Code > b.bs1Code + b.bs2Code;
}

bool FindBestSetting(const RowSource& rows, float targetRate, TimingCandidate& best) {
  const double advice = AdvisedSamplePoint(targetRate);
  bool found = false;
  rows([&](const TimingCandidate& record) {
    if (!found || IsBetterSetting(record, best, advice)) best = record;
    found = true;
    return true;
  });
  return found;
}
