// The page's clock and rate fields read as the companion reads --clock and --rate, with
// what a person types around the number: full-width forms (folded as the window folds
// them), blanks before and after, and the field's unit after the number ("36MHz",
// "500 kbps", either case).
#pragma once

#include "answers/request.h"
#include "answers/request_check.h"

// Reads the fields' texts (GBK; null counts as empty; dataRateText null: no data phase
// is asked for) into request: the clock in MHz with at most three decimals, the rates
// in Kbps, the data rate at least the smallest normal float. An empty field is left not given, for CheckRequest to refuse as missing,
// except the clock, which is refused here first, as the window refuses it. A text that
// is no value gives kClockUnreadable, kRateUnreadable or kDataRateUnreadable (in that
// order) with detail saying why; the request is then left as it was.
RequestCheck ReadPageFields(const char* clockText, const char* rateText, const char* dataRateText, Request& request);
