// The window's search as the tests run it: the floating-point environment of start-up,
// then BitTimingSearch into a store of its own.
#pragma once

#include <cstdint>

#include "calc/fp_environment.h"
#include "calc/timing.h"

inline CandidateList Search(int32_t clockKHz, float targetRate, int32_t tolerancePercent, float minSamplePoint) {
  SetFloatEnvironment();
  CandidateList store;
  BitTimingSearch(store, clockKHz, targetRate, tolerancePercent, minSamplePoint);
  return store;
}
