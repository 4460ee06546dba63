// A controller given on the command line, for the long tail of controllers the table
// lacks: "custom:seg1=1-16,seg2=1-8,sjw=4,prescaler=1-64". No registers and no data
// phase; the prescaler is the divider of the typed clock and may take a step
// ("prescaler=2-128/2" for a controller that counts pairs of periods).
#pragma once

#include "calc/controllers.h"

#include <cstdint>

// What is wrong with a custom text, if anything.
enum class CustomProblem {
  kNone,
  kNotCustom,       // the text does not start with "custom:"
  kUnknownKey,      // a key other than seg1, seg2, sjw, prescaler
  kRepeatedKey,     // a key given twice
  kMissingKey,      // seg1, seg2, sjw or prescaler not given (part: the key)
  kEmptyRange,      // "seg1=" or an empty part between commas
  kMalformedRange,  // not N, N-M or (prescaler) N-M/S in decimal digits
  kMinAboveMax,     // "seg1=16-1"
  kZeroStep,        // "prescaler=2-128/0"
  kStepNotPrescaler,  // a step on a key other than prescaler
  kBelowOne,        // a length or prescaler of 0
  kTooLarge,        // above kCustomLengthLast (segments, SJW) or kCustomPrescalerLast
};

constexpr int32_t kCustomLengthLast = 1024;
constexpr int32_t kCustomPrescalerLast = 1 << 20;

struct CustomParse {
  CustomProblem problem;
  const char* part;    // where in the text the problem is (the key=value, or the key missing)
  int32_t partLength;  // its length in bytes
};

// Reads text into entry: keys seg1, seg2, sjw, prescaler, each once, comma separated;
// each value N (seg1, seg2, prescaler: exactly N; sjw: 1 to N) or N-M, the prescaler
// also N-M/S (N, N + S, ... up to M, M rounded down onto the grid). entry.name points
// into text, which must outlive entry. On a problem entry is left as it was.
CustomParse ParseCustomController(const char* text, ControllerEntry& entry);
// What the problem is, in a few words: "unknown key (seg1, seg2, sjw, prescaler)".
const char* CustomProblemText(CustomProblem problem);
