// Every refusal of a request, each once: its status, the name the page knows it by,
// the page's field it belongs to, the companion's option it concerns and how its line
// is made. Adding a refusal is adding a status and its row (answers/request/refusals.cpp).
#pragma once

#include <cstdint>
#include <string>

#include "calc/controllers.h"
#include "calc/output_formats.h"

// What CheckRequest (answers/request/request_check.h) finds. The page knows a status
// by its name (StatusName), which stays as it is; the numbers stay inside the C++.
enum class RequestStatus {
  kReady = 0,             // the answer may be written
  kClockMissing = 1,      // the page's clock field is empty
  kRateMissing = 2,       // the page's rate field is empty (a decode needs none)
  kReservedBits = 3,      // CAN_BTR or NBTP sets bits that hold no field
  kDataReservedBits = 4,  // DBTP does
  kBestWithDecode,
  kSjwWithDecode,         // --sjw or --data-sjw
  kDataRateWithoutDecodeData,
  kRateWithoutDecode,     // only DBTP is decoded
  kSplWithFdcan,          // FDCAN's own line for spl, older than the form check's
  kDataOptionWithoutDataRate,
  kSearchOptionWithDecode,     // a sample point, tolerance or least oscillator tolerance,
                               // which only a search uses
  kSettingOutsideRanges,       // the page's code for a setting that the phase cannot hold
  kFormNotForController,       // a code form the controller has not (answers/request/code_forms.h)
  kDecodeWithoutRegisters,     // --decode (--decode-data) of a controller that has no
                               // registers (USB adapters, custom:)
  kUnknownRegister,            // a name the phase has no register by
  kRegisterTwice,              // one register given twice
  kMissingRegister,            // a register of the phase not given
  kBareValueWithRegisters,     // one value for several registers
  kRegisterTooWide,            // a value beyond the register's bits
  kRegisterReservedBits,       // a table controller's register value sets bits that hold
                               // no field
  kFieldOutOfRange,            // a field that holds a length outside the controller's
                               // limits, or a fixed field another value
  // A bus plan's request (--plan, --node):
  kPlanFewNodes,               // fewer than two nodes
  kPlanManyNodes,              // more than kMaxPlanNodes (detail: how many were given)
  kNodeWithoutPlan,            // --node or --sample-point-spread alone
  kNodeMalformed,              // not NAME=CONTROLLER@MHZ
  kNodeName,                   // a name with other characters than A-Z a-z 0-9 - _
  kNodeRepeated,               // a name given twice
  kNodeController,             // an unknown controller, or a custom: that does not read
  kNodeClock,                  // a clock that does not read or is out of range
  kPlanClassicNode,            // a classic controller on a bus with --data-rate
  kPlanOption,                 // an option that a plan does not take
  kPlanFormat,                 // tsv or csv, which do not hold a plan
  kStrictWithoutBest,          // --strict without --best or --plan, whose warnings it fails on
  kTargetWithoutBest,          // a target sample point without --best or --plan
  // A page's field that holds text but not a value (web/page_fields.h); detail
  // says why, as the companion's line for the same value would:
  kClockUnreadable,
  kRateUnreadable,
  kDataRateUnreadable,
  kSjwUnreadable,
  kDataSjwUnreadable,
  kNodeDelayUnreadable,
  kBusLengthUnreadable,
  kMinToleranceUnreadable,
  kDecodeUnreadable,           // the page's register value (--decode's)
  kDecodeDataUnreadable,       // its data registers (--decode-data's)
  kSpreadUnreadable,           // a plan's spread (--sample-point-spread's)
  kClockAccuracyUnreadable,    // a plan's clock accuracy (--clock-accuracy's)
  kTargetSamplePointUnreadable,      // a plan's target (--target-sample-point's)
  kDataTargetSamplePointUnreadable,  // its data target (--data-target-sample-point's)
  kToleranceUnreadable,        // the page's rate error (--tolerance's)
  // --controller list with an option that asks for another answer (detail: the
  // option, or "--format NAME" for a form the list is not written in).
  kListWithOption,
};

// The statuses are 0 to kRequestStatusCount - 1, each with one row.
constexpr int kRequestStatusCount = static_cast<int>(RequestStatus::kListWithOption) + 1;

// What a check found: the status, and the pieces its line is made of
// (answers/request/request_check.h makes it, RefusalLine below writes it).
struct RequestCheck {
  RequestStatus status = RequestStatus::kReady;
  const char* option = nullptr;  // the option that is refused, where one is (--sjw, ...)
  const char* decodeOption = nullptr;  // with a decode: --decode, or --decode-data alone
  uint32_t bits = 0;             // kReservedBits, kDataReservedBits: the reserved bits set
  int nodeIndex = -1;            // a node's refusal: which of request.nodeTexts
  std::string detail;            // what is wrong with it, or the node's name and controller
  std::string echoedValue;       // the node's text as the face echoes it; filled by the face
  // kNodeController: the piece of the node's text the line names (the controller, or
  // the part of a custom: that does not read), as typed, and as the face echoes it
  // (filled by the face; empty: shown as typed). The line is detailLead, the piece,
  // then detail.
  std::string nodePart;
  std::string echoedPart;
  std::string detailLead;
  // kFormNotForController: the controller and the form asked for.
  const ControllerEntry* controller = nullptr;
  OutputFormat format = OutputFormat::kTable;
  // The refusals of a table controller's registers: the controller's name (with "'s data
  // phase" where the data registers are meant), the register value as the companion
  // echoed it ("\"CNF2=0x35\"") or the register's name; detail says what is wrong with it.
  std::string controllerName;
  std::string subject;
};

// "reserved bit 10 is set", "reserved bits 10, 11 are set": bits must not be 0.
std::string ReservedBitsText(uint32_t bits);

// What a refusal finds in the text of its page field: nothing (kNotRead: the refusal
// is not of the text), an empty field, or a text that holds no value, for which the
// companion's line for the same text is "invalid value TEXT for OPTION: " and the line.
enum class FieldText { kNotRead, kEmpty, kNoValue };

struct Refusal {
  RequestStatus status;
  const char* name;    // stable, lower case and "-": what the page and its messages key on
  const char* field;   // the page's field ("clock", "nodes", "decode-value", ...); null:
                       // that of the option the check names where the row names none,
                       // else no field
  const char* option;  // the companion's option it concerns; null: the check names it
                       // (check.option), or none does
  FieldText text;      // where the refusal is of the field's own text: empty, or no value
  // The line, without "quillmere-cli: " and the line feed: each {piece} is the check's
  // (RefusalLine says which), the rest is written as it stands.
  const char* line;
};

// The table's rows, in the order of the statuses: count of them.
const Refusal* Refusals(int& count);

// The row of a status; null for a number that is none.
const Refusal* RefusalOf(RequestStatus status);

// The status's name (above); "unknown" for a number that is no status.
const char* StatusName(int status);

// The page's field of an option ("--sjw": "sjw", "--decode": "decode-value"), as the
// rows that name both give it; null for an option that fills no field.
const char* FieldOfOption(const char* option);

// The companion's line for a refusal: its row's line with the pieces filled from
// check: {option}, {decodeOption}, {detail}, {subject}, {controllerName}, {detailLead},
// {echoedValue}, {nodePart} (echoedPart where the face filled it), {bits}
// (ReservedBitsText), {format}, {controller} and {controllerForms} (the form asked for,
// the controller's name and its forms). A null text is empty; "" for kReady.
std::string RefusalLine(const RequestCheck& check);
