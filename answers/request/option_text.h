// The values of the companion's options that the page's fields share with it
// (--tolerance, --data-tolerance, --sjw,
// --data-sjw, --node-delay, --bus-length, --min-tolerance, --decode, --decode-data, and
// a plan's --clock-accuracy, --target-sample-point and --data-target-sample-point),
// read from their texts: one reader for both faces. Each returns "" when the text is
// a value (stored), else why it is none, as the companion's line for it ends; the
// companion puts the option and the echoed value in front.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "answers/request/request.h"

// A whole number from first to last, the whole text: an optional "+", then digits,
// leading zeros allowed ("+5" and "05" are 5). False (number untouched) otherwise.
bool ReadWholeNumber(const char* text, int32_t first, int32_t last, int32_t& number);
// A whole number of quanta from 1 to last: an optional "+", digits, leading zeros
// allowed ("+5" and "05" are 5).
std::string QuantaProblem(const char* text, int32_t last, int32_t& quanta);
// Whole nanoseconds from 0 to 10000 (--node-delay), whole metres from 0 to 100000
// (--bus-length): digits only.
std::string NodeDelayProblem(const char* text, int32_t& nanoseconds);
std::string BusLengthProblem(const char* text, int32_t& metres);
// A percent from 0 to 100 with at most two decimals, an optional "+" and leading zeros
// allowed ("+5", "05", "0.11"), to hundredths exactly (--tolerance, --data-tolerance).
std::string ToleranceProblem(const char* text, int32_t& hundredths);
// A percent from 0 to 100, digits with at most six decimals, to millionths exactly
// (--min-tolerance, --sample-point-spread).
std::string PercentMillionthsProblem(const char* text, int64_t& millionths);
// A plan's clock accuracy: whole ppm from 0 to kMaxClockAccuracyPpm, read as
// ReadWholeNumber reads (--clock-accuracy); ppm untouched when refused.
std::string ClockAccuracyProblem(const char* text, int32_t& ppm);
// A plan's target sample point: a percent from 50 to 100 with at most six decimals, to
// millionths (--target-sample-point, --data-target-sample-point); millionths untouched
// when refused.
std::string TargetSamplePointProblem(const char* text, int64_t& millionths);

// A decode's value for request.controller (data: the data phase's, --decode-data):
// an older form's bare value of a phase it has as it always was read (hex after 0x or
// decimal, 32 bits, no reserved bit), into decodeValues[0] (decodeDataValues[0]);
// anything else as
// NAME=VALUE pairs joined by commas, or one bare value, into decodeEntries
// (decodeDataEntries), for CheckRequest to match to the registers. Sets decode
// (decodeData) when read. reservedHere false leaves a bare value's reserved bits to
// CheckRequest, which refuses them by status with the bits (the page's way).
std::string DecodeTextProblem(const char* text, bool data, Request& request, bool reservedHere = true);
