// The page's clock and rate fields read as the companion reads --clock and --rate, with
// what a person types around the number: full-width forms (folded as the window folds
// them), blanks before and after, and the field's unit after the number ("36MHz",
// "500 kbps", either case).
#pragma once

#include "answers/request/request.h"
#include "answers/request/request_check.h"

#include <string>

// Reads the fields' texts (GBK; null counts as empty; dataRateText null: no data phase
// is asked for) into request: the clock in MHz with at most three decimals, the rates
// in Kbps, the data rate at least the smallest normal float. An empty field is left not given, for CheckRequest to refuse as missing,
// except the clock, which is refused here first, as the window refuses it. A text that
// is no value gives kClockUnreadable, kRateUnreadable or kDataRateUnreadable (in that
// order) with detail saying why; the request is then left as it was.
RequestCheck ReadPageFields(const char* clockText, const char* rateText, const char* dataRateText, Request& request);

// The texts of every field of the page's form, as typed (GBK; null counts as empty,
// and an empty field is not given: the companion's default), and the index of its
// sample point selector (-1: none selected), as the window reads it.
struct PageFieldTexts {
  // A bus plan (the companion's --plan): each node names its controller and clock, so
  // the controller, clock and SJW fields go unread; the data rate is read whenever
  // given, and the spread and nodes are read.
  bool plan = false;
  const char* controller = nullptr;  // the companion's --controller name; unknown: bxcan
  const char* clock = nullptr;
  const char* rate = nullptr;
  const char* dataRate = nullptr;    // an FD controller's only
  const char* sjw = nullptr;
  const char* dataSjw = nullptr;     // an FD controller's only
  const char* nodeDelay = nullptr;
  const char* busLength = nullptr;
  const char* minTolerance = nullptr;
  const char* spread = nullptr;      // a plan's only: percentage points
  const char* nodes = nullptr;       // a plan's only: "NAME=CONTROLLER@MHZ;..." (UTF-8,
                                     // as --node takes it; an empty piece is no node)
  const char* clockAccuracy = nullptr;          // a plan's only: ppm
  // Percent: a plan's target, or a listing's for its best setting (the page's field
  // beside the sample point; --target-sample-point with --best).
  const char* targetSamplePoint = nullptr;
  // Percent, the data phase's: a plan's, or an FD controller's listing's for its best.
  const char* dataTargetSamplePoint = nullptr;
  // The rate error in percent (--tolerance's text, both phases': the page has one
  // field; empty: 0, as the window's first choice).
  const char* tolerance = nullptr;
  int samplePointIndex = 0;
};

// Reads every field into request, as the companion reads --controller, --clock,
// --rate, --data-rate (ReadPageFields), --tolerance, --sjw, --data-sjw, --node-delay,
// --bus-length, --min-tolerance, a listing's --target-sample-point and (an FD
// controller's) --data-target-sample-point (kept for a best setting to use: the caller
// clears them for anything else), and a plan's --sample-point-spread, --clock-accuracy,
// --target-sample-point and --data-target-sample-point (answers/request/option_text.h), each number
// folded from full width with the blanks around it and its unit ("ns", "m", "%") cut,
// and --node, one a piece of the nodes text as typed; the sample point selector as the
// window's. The fields are read in the form's order; the first that holds no value is
// refused (clock-unreadable, ..., tolerance-unreadable, sjw-unreadable, ...,
// min-tolerance-unreadable, target-sample-point-unreadable,
// data-target-sample-point-unreadable, spread-unreadable,
// clock-accuracy-unreadable, target-sample-point-unreadable,
// data-target-sample-point-unreadable) with
// detail saying why, and the request is then left half read. A listing's request is
// tsv, wide, with the page's own columns (page); a plan's is json, plan set.
RequestCheck ReadAllPageFields(const PageFieldTexts& texts, Request& request);

// The companion's line for a field's refusal by ReadAllPageFields, for the same text
// as an argument: "invalid value \"abc\" for --node-delay: not a whole number of ...",
// the text shown as typed (GBK in UTF-8 where the answers know the characters);
// "the clock is missing" for an empty clock; "" for a refusal of no field.
std::string PageFieldLine(const RequestCheck& check, const PageFieldTexts& texts);

// The page's field a refusal concerns, from its row of the refusal table
// (answers/request/refusals.h): "clock", "rate", "data-rate", "tolerance", "sjw", "data-sjw", "node-delay",
// "bus-length", "min-tolerance", "spread", "clock-accuracy", "target-sample-point",
// "data-target-sample-point", "nodes" for a plan's node refusals,
// "decode-value", "decode-data"; where the row leaves the option to the check, the
// field of that option; null when it is no field's.
const char* PageFieldOf(const RequestCheck& check);
