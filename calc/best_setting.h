// One setting out of a listing, of any controller: the answer to "which one should I
// use?". Records are offered one by one in listing order; the best so far is kept.
//
// The rule, step by step, each step deciding only between records that tie on the
// ones before:
//   1. the smallest errorPercent (a not-a-number error ranks after every number);
//   1a. when a preferred prescaler is given, a record with that prescaler (the data
//      phase's, to share the nominal phase's time quantum where that costs no error);
//   2. the sample point, as a float widened to double, closest to the advice for the
//      wanted rate: 0.875 up to 500 Kbps, 0.8 above 500 and up to 800, 0.75 above 800;
//   3. the most quanta per bit (1 + seg1 + seg2), for finer resynchronisation;
//   4. the first offered.
#pragma once

#include "calc/bit_timing_search.h"

#include <cstdint>

struct BestSetting {
  double advice;               // step 2's sample point
  int32_t preferredPrescaler;  // step 1a's prescaler; 0 skips step 1a
  bool found;                  // false until a record is offered
  TimingCandidate best;        // valid when found
};

// Step 2's advice as exact fractions: the sample point numerator / denominator for a
// rate up to upToKbps (7/8 up to 500 Kbps, 4/5 above 500 and up to 800), the last
// row's (3/4) for every rate above the others, its upToKbps unused. The one home of
// these figures: the window's advice text, the page's and the bus planner (which ranks
// by the fraction itself) read it.
struct SamplePointAdvice {
  int64_t numerator;
  int64_t denominator;
  float upToKbps;
};
constexpr SamplePointAdvice kSamplePointAdvice[] = {{7, 8, 500.0f}, {4, 5, 800.0f}, {3, 4, 0.0f}};
constexpr int kSamplePointAdviceCount = sizeof(kSamplePointAdvice) / sizeof(kSamplePointAdvice[0]);

// Step 2's advice for a wanted rate in Kbps: kSamplePointAdvice's row for it.
SamplePointAdvice SamplePointAdviceFor(float targetRate);
// The same advice as a double: correctly rounded (4 / 5 is the double nearest 0.8, as
// the literal is).
double AdvisedSamplePoint(float targetRate);
// The state before any record; preferredPrescaler 0 for none.
BestSetting StartBestSetting(float targetRate, int32_t preferredPrescaler);
// Keeps record when it is better than the best so far by the rule above.
void OfferBestSetting(BestSetting& state, const TimingCandidate& record);
