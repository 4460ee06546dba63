// One bit-timing search for every CAN controller: the controller's ranges are data.
//
// A setting is a prescaler and two segments, seg1 and seg2, in time quanta; one bit
// lasts 1 + seg1 + seg2 quanta. The arithmetic, the rounding and the acceptance rule
// are those of BitTimingSearch (timing.h), for every controller alike. Call it under
// the floating-point environment of fp_environment.h.
#pragma once

#include "calc/registers_st.h"
#include "calc/search_arithmetic.h"
#include "calc/timing_setting.h"

#include <cstdint>

// Which seg1/seg2 pairs a controller takes beyond its ranges (its split of seg1 into
// two fields, its rules, the SJW asked for): fits(context, seg1, seg2). A null fits
// takes every pair. The pair decides alone, so the prescaler loop stays as it is.
struct PairFilter {
  bool (*fits)(const void* context, int32_t seg1, int32_t seg2) = nullptr;
  const void* context = nullptr;
};

// The settings one controller can take, and the SJW it accepts. The prescalers are
// prescaler.first, first + prescalerStep, ... up to prescaler.last (the MCP2515 and
// SJA1000 count pairs of oscillator periods: 2, 4, ..., 128).
struct TimingRanges {
  FieldRange prescaler;
  FieldRange seg1;
  FieldRange seg2;
  FieldRange sjw;
  int32_t prescalerStep = 1;
  PairFilter filter;
};

// bxCAN takes every setting its register can hold.
constexpr TimingRanges kBxCanRanges{LengthRange(kCanBtr, FieldRole::kPrescaler), LengthRange(kCanBtr, FieldRole::kSeg1),
                                    LengthRange(kCanBtr, FieldRole::kSeg2), LengthRange(kCanBtr, FieldRole::kSjw), 1, PairFilter{}};

// How a setting's rate is held against the tolerance.
enum class ToleranceTest {
  // The setting's exact rate, clockKHz / (quanta x prescaler), within
  // toleranceHundredths of the float target, in whole numbers: a setting exactly at the tolerance passes.
  // A target that is not finite or not above 0 takes the window's test instead.
  kExact,
  // The window's table's test, kept as it was: the float rate against the target in
  // double with 1e-7 Kbps of slack (rate_window.h), so a setting at the tolerance
  // whose float rate lies a hair beyond it is left out.
  kWindowFloat,
};

// The question. Rows whose seg2 is shorter than minSeg2 quanta are left out: pass the
// SJW, since the resynchronisation jump may not exceed phase segment 2; 1 leaves
// nothing out.
struct TimingRequest {
  int32_t clockKHz;
  float targetRate;  // Kbps
  // Hundredths of a percent: 110 is 1.1%. 64 bits, so that the window's whole percent,
  // any int32_t, converts without overflow.
  int64_t toleranceHundredths;
  float minSamplePoint;  // fraction of the bit
  int32_t minSeg2;
  ToleranceTest toleranceTest = ToleranceTest::kExact;
};

// The exact test: whether clockKHz / perBit Kbps (perBit the clock periods of one bit,
// quanta x prescaler, above 0) lies within toleranceHundredths (hundredths of a
// percent, 0 to 10000) of target, that is (10000 - toleranceHundredths) x target x
// perBit <= 10000 x clockKHz <= (10000 + toleranceHundredths) x target x perBit, in
// 128-bit whole numbers. target finite and above 0; perBit below 2^62. Cannot fail.
bool RateWithinTolerance(int32_t clockKHz, int64_t perBit, float target, int32_t toleranceHundredths);

enum class PrescalerScan {
  kEvery,       // the plain enumeration: every prescaler of every seg1/seg2 pair
  kRateWindow,  // per pair, only the prescalers whose rate can pass the rate test
};

// Where accepted records go: take() receives them in listing order, a chunk of 1 to
// kTimingChunk records at a time, each chunk valid only during the call (bs1Code and
// bs2Code hold seg1 - 1 and seg2 - 1). Returning false ends the search there.
struct TimingSink {
  bool (*take)(void* context, const TimingCandidate* records, int32_t count);
  void* context;
};
constexpr int32_t kTimingChunk = 1024;

// Tries the settings of ranges in listing order, seg2 outermost, then seg1, then the
// prescaler, each ascending (by prescalerStep), skipping the pairs ranges.filter
// refuses, and hands every accepted one (its rate by request.toleranceTest) to sink. Both scans list exactly the same
// records. Returns false when the sink ended the search, true when every setting was
// tried. Allocates nothing.
bool ListSettings(const TimingRanges& ranges, const TimingRequest& request, PrescalerScan scan,
                  const TimingSink& sink);

// The same search in one named arithmetic (search_arithmetic.h): ListSettings uses
// the build's; x86 builds have both, so they can be compared.
bool ListSettingsPortable(const TimingRanges& ranges, const TimingRequest& request, PrescalerScan scan,
                          const TimingSink& sink);
#if QUILLMERE_HAS_X87
bool ListSettingsX87(const TimingRanges& ranges, const TimingRequest& request, PrescalerScan scan,
                     const TimingSink& sink);
#endif

// The build's arithmetic: "x87" or "portable".
const char* SearchArithmeticName();

// The search's error of a rate against the target, in percent: the quotient, its
// difference from 1 and the product rounded to double, the result to float.
float ErrorPercent(float actualRate, double target);

// The SJW a listed record gets when none is asked for: the shorter of seg1 and seg2
// (the jump may exceed neither phase segment), at most ranges.sjw.last.
int32_t DefaultSyncJumpWidth(const TimingCandidate& record, const TimingRanges& ranges);
