// The one check of a request, for every face: what does not go together is refused,
// what is missing is refused or takes its default, and the data phase takes the nominal
// phase's sample point and tolerance unless they were given.
#pragma once

#include <cstdint>
#include <string>

#include "answers/request.h"
#include "calc/window_inputs.h"

// What CheckRequest finds. The numbers of the first five cross the page's C interface
// (web/page_answers.cpp), so they keep their values; StatusName gives each its name.
enum class RequestStatus {
  kReady = 0,             // "ready": the answer may be written
  kClockMissing = 1,      // "clock-missing": the page's clock field is empty
  kRateMissing = 2,       // "rate-missing": the page's rate field is empty (a decode needs none)
  kReservedBits = 3,      // "reserved-bits": CAN_BTR or NBTP sets bits that hold no field
  kDataReservedBits = 4,  // "data-reserved-bits": DBTP does
  kBestWithDecode,        // "best-with-decode"
  kSjwWithDecode,         // "sjw-with-decode": --sjw or --data-sjw
  kDataRateWithoutDecodeData,  // "data-rate-without-decode-data"
  kRateWithoutDecode,     // "rate-without-decode": only DBTP is decoded
  kSplWithFdcan,          // "spl-with-fdcan"
  kDataOptionWithoutDataRate,  // "data-option-without-data-rate"
  kSearchOptionWithDecode,     // "search-option-with-decode": a sample point, tolerance or
                               // least oscillator tolerance, which only a search uses
  kSettingOutsideRanges,       // "setting-outside-ranges": the page's code for a setting
                               // that the phase cannot hold
  kFormWithController,         // "form-with-controller": hal or spl for a controller other
                               // than bxCAN and FDCAN
  kDecodeWithoutRegisters,     // "decode-without-registers": --decode (--decode-data) of a
                               // controller that has no registers (USB adapters, custom:)
  kUnknownRegister,            // "unknown-register": a name the phase has no register by
  kRegisterTwice,              // "register-twice": one register given twice
  kMissingRegister,            // "missing-register": a register of the phase not given
  kBareValueWithRegisters,     // "bare-value-with-registers": one value for several registers
  kRegisterTooWide,            // "register-too-wide": a value beyond the register's bits
  kRegisterReservedBits,       // "register-reserved-bits": a table controller's register
                               // value sets bits that hold no field
  kFieldOutOfRange,            // "field-out-of-range": a field that holds a length outside
                               // the controller's limits, or a fixed field another value
};

// How a missing clock or rate is taken: the companion has defaults (42 MHz, 500 Kbps),
// the page's empty fields are refused as the window refuses them.
enum class MissingInput { kTakeDefault, kRefuse };

struct RequestCheck {
  RequestStatus status = RequestStatus::kReady;
  const char* option = nullptr;  // the option that is refused, where one is (--sjw, ...)
  const char* decodeOption = nullptr;  // with a decode: --decode, or --decode-data alone
  uint32_t bits = 0;             // kReservedBits, kDataReservedBits: the reserved bits set
  // The refusals of a table controller's registers: the controller's name, the register
  // value as the companion echoed it ("\"CNF2=0x35\"") or the register's name, and what
  // is wrong with it (the registers it has, the field that is out of range).
  std::string controller;
  std::string subject;
  std::string detail;
};

// Checks the request in this order: the clock, then a listing's rate (with kRefuse
// only); the reserved bits of the decoded values, and a table controller's decoded
// registers (each value by name: known, once, within its bits, no reserved bit; then
// every register there; then the fixed fields and the lengths within the limits),
// which fill decodeValues and decodeDataValues; then the options that do not go
// together. On kReady the data phase's defaults are filled in, and a controller's
// fixed clock (USB adapters) when no clock was given; otherwise the request is left as
// it was. --controller list goes with anything and is always ready.
RequestCheck CheckRequest(Request& request, MissingInput missing);

// The companion's line for a refusal, without the "quillmere-cli: " in front of it and
// without a line feed; "" for kReady.
std::string RefusalLine(const RequestCheck& check);

// "reserved bit 10 is set", "reserved bits 10, 11 are set": bits must not be 0.
std::string ReservedBitsText(uint32_t bits);

// The bits of a register value that hold no field: CAN_BTR's for bxCAN, NBTP's for
// FDCAN (data: DBTP's, FDCAN only).
uint32_t ReservedBitsOf(const ControllerEntry* controller, bool data, uint32_t value);

// A stable lower-case name for each status (listed above); "unknown" for a number that
// is none of them.
const char* StatusName(int status);

// The window's input check as a status: kReady, kClockMissing, kRateMissing.
RequestStatus StatusOf(InputCheck check);
