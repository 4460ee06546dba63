#include "answers/request/request_check.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The page's requests (kRefuse): an empty field is refused as the window refuses it,
// a decode needs only the clock, and a decoded value's reserved bits come back as bits.
TEST(RequestCheck, ThePagesStatusesInTheirOrder) {
  const struct {
    const char* name;
    bool clock, rate, decode, decodeData;
    const ControllerEntry* controller;
    uint32_t value, dataValue;
    RequestStatus status;
    uint32_t bits;
  } cases[] = {
      {"all given", true, true, false, false, FindController("bxcan"), 0, 0, RequestStatus::kReady, 0},
      {"no clock", false, true, false, false, FindController("bxcan"), 0, 0, RequestStatus::kClockMissing, 0},
      {"neither", false, false, false, false, FindController("bxcan"), 0, 0, RequestStatus::kClockMissing, 0},
      {"no rate", true, false, false, false, FindController("fdcan"), 0, 0, RequestStatus::kRateMissing, 0},
      {"decode, no rate", true, false, true, false, FindController("bxcan"), 0x001C0001, 0, RequestStatus::kReady, 0},
      {"decode, no clock", false, false, true, false, FindController("bxcan"), 0, 0, RequestStatus::kClockMissing, 0},
      {"CAN_BTR bit 10", true, false, true, false, FindController("bxcan"), 0x400, 0, RequestStatus::kReservedBits, 0x400},
      {"NBTP bit 7", true, false, true, false, FindController("fdcan"), 0x80, 0, RequestStatus::kReservedBits, 0x80},
      {"CAN_BTR bit 7 is a field", true, false, true, false, FindController("bxcan"), 0x80, 0, RequestStatus::kReady, 0},
      {"DBTP bits 13, 31", true, false, false, true, FindController("fdcan"), 0, 0x80002000u,
       RequestStatus::kDataReservedBits, 0x80002000u},
      {"both: NBTP first", true, false, true, true, FindController("fdcan"), 0x80, 0x2000, RequestStatus::kReservedBits,
       0x80},
  };
  for (const auto& c : cases) {
    Request request;
    request.controller = c.controller;
    request.clockGiven = c.clock;
    request.rateGiven = c.rate && !c.decodeData;
    request.decode = c.decode;
    request.decodeValues[0] = c.value;
    request.decodeData = c.decodeData;
    request.decodeDataValues[0] = c.dataValue;
    const RequestCheck check = CheckRequest(request, MissingInput::kRefuse);
    EXPECT_EQ(check.status, c.status) << c.name;
    EXPECT_EQ(check.bits, c.bits) << c.name;
  }
}

TEST(RequestCheck, TheCompanionTakesTheDefaultsAndTheDataPhaseTheNominalOnes) {
  Request request;
  request.controller = FindController("fdcan");
  request.minSamplePoint = 0.75f;
  request.toleranceHundredths = 300;
  request.dataPhase = true;
  request.dataRate = 2000.0f;
  EXPECT_EQ(CheckRequest(request, MissingInput::kTakeDefault).status, RequestStatus::kReady);
  EXPECT_EQ(request.dataMinSamplePoint, 0.75f);
  EXPECT_EQ(request.dataToleranceHundredths, 300);

  Request given = request;
  given.dataSamplePointGiven = true;
  given.dataMinSamplePoint = 0.6f;
  given.dataToleranceGiven = true;
  given.dataToleranceHundredths = 0;
  EXPECT_EQ(CheckRequest(given, MissingInput::kTakeDefault).status, RequestStatus::kReady);
  EXPECT_EQ(given.dataMinSamplePoint, 0.6f);
  EXPECT_EQ(given.dataToleranceHundredths, 0);

  // Refused: the request is left as it was.
  Request refused = request;
  refused.dataMinSamplePoint = 0.0f;
  refused.format = OutputFormat::kSpl;
  const RequestCheck check = CheckRequest(refused, MissingInput::kTakeDefault);
  EXPECT_EQ(check.status, RequestStatus::kSplWithFdcan);
  EXPECT_EQ(refused.dataMinSamplePoint, 0.0f);
  EXPECT_EQ(RefusalLine(check),
            "--format spl has no FDCAN form: the Standard Peripheral Library predates FDCAN (use hal)");
}

TEST(RequestCheck, ReservedBitsAreNamed) {
  EXPECT_EQ(ReservedBitsText(0x400), "reserved bit 10 is set");
  EXPECT_EQ(ReservedBitsText(0xC00), "reserved bits 10, 11 are set");
}

}  // namespace
