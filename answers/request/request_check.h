// The one check of a request, for every face: what does not go together is refused,
// what is missing is refused or takes its default, and the data phase takes the nominal
// phase's sample point and tolerance unless they were given.
#pragma once

#include <cstdint>
#include <string>

#include "answers/request/refusals.h"
#include "answers/request/request.h"

// How a missing clock or rate is taken: the companion has defaults (42 MHz, 500 Kbps),
// the page's empty fields are refused as the window refuses them.
enum class MissingInput { kTakeDefault, kRefuse };

// Checks the request in this order: the clock, then a listing's rate (with kRefuse
// only); the reserved bits of the decoded values, and a table controller's decoded
// registers (each value by name: known, once, within its bits, no reserved bit; then
// every register there; then the fixed fields and the lengths within the limits),
// which fill decodeValues and decodeDataValues; then the options that do not go
// together. On kReady the data phase's defaults are filled in, and a controller's
// fixed clock (USB adapters) when no clock was given; otherwise the request is left as
// it was. --controller list goes with anything and is always ready.
RequestCheck CheckRequest(Request& request, MissingInput missing);

// The bits of a register value that hold no field: CAN_BTR's for bxCAN, NBTP's for
// FDCAN (data: DBTP's, FDCAN only).
uint32_t ReservedBitsOf(const ControllerEntry* controller, bool data, uint32_t value);

// The clock in MHz with at most three decimals to whole kHz, exactly ("0.125" is 125):
// null, or why the text is not a clock ("not a decimal number", "more than three
// decimals", "the clock must be above 0 MHz", "the clock must be below 2147483.648 MHz").
const char* ClockProblem(const char* text, int32_t& kHz);

// The rate in Kbps, the digits to the nearest double, then to the nearest float, as
// the window rounds its field: null, or why the text is not a rate ("not a number",
// "too small to store as a float (...)", "the rate must be above 0 Kbps", "the rate is
// too large for a float").
const char* RateProblem(const char* text, float& rate);
