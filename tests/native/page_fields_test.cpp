// The page's clock and rate fields read as the companion reads --clock and --rate,
// with full-width forms, blanks and the field's unit around the number.
#include "answers/page_fields.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct FieldCase {
  const char* clock;
  const char* rate;
  const char* dataRate;  // null: no data phase asked for
  RequestStatus status;
  const char* detail;    // the reason, for a refusal
  int32_t clockKHz;      // when ready
  float rate_;
  float dataRate_;
};

// Full-width "４２.５" and "５００" in GBK: A3 B4 A3 B2 A3 AE A3 B5, A3 B5 A3 B0 A3 B0.
const char kFullWidthClock[] = "\xA3\xB4\xA3\xB2\xA3\xAE\xA3\xB5";
const char kFullWidthRate[] = "\xA3\xB5\xA3\xB0\xA3\xB0\xA3\xCB\xA3\xE2\xA3\xF0\xA3\xF3";  // ５００Ｋｂｐｓ

TEST(PageFields, ReadAsTheCompanionReadsTheOptions) {
  const FieldCase cases[] = {
      {"42", "500", nullptr, RequestStatus::kReady, "", 42000, 500.0f, 0.0f},
      {"42.5", "500", nullptr, RequestStatus::kReady, "", 42500, 500.0f, 0.0f},
      {"8.192", "83.333", nullptr, RequestStatus::kReady, "", 8192, 83.333f, 0.0f},
      {"36MHz", "500 kbps", nullptr, RequestStatus::kReady, "", 36000, 500.0f, 0.0f},
      {" 36 mhz ", "500KBPS", nullptr, RequestStatus::kReady, "", 36000, 500.0f, 0.0f},
      {kFullWidthClock, kFullWidthRate, nullptr, RequestStatus::kReady, "", 42500, 500.0f, 0.0f},
      {"+8", "5e2", nullptr, RequestStatus::kReady, "", 8000, 500.0f, 0.0f},
      {"80", "500", "2000", RequestStatus::kReady, "", 80000, 500.0f, 2000.0f},
      {"42", "1.4e-45", nullptr, RequestStatus::kReady, "", 42000, 1.4e-45f, 0.0f},  // as the window reads it
      {"", "500", nullptr, RequestStatus::kClockMissing, "the clock is missing", 0, 0, 0},
      {nullptr, nullptr, nullptr, RequestStatus::kClockMissing, "the clock is missing", 0, 0, 0},
      {"abc", "", nullptr, RequestStatus::kClockUnreadable, "not a decimal number", 0, 0, 0},
      {" ", "500", nullptr, RequestStatus::kClockUnreadable, "not a decimal number", 0, 0, 0},
      {"MHz", "500", nullptr, RequestStatus::kClockUnreadable, "not a decimal number", 0, 0, 0},
      {"42kbps", "500", nullptr, RequestStatus::kClockUnreadable, "not a decimal number", 0, 0, 0},
      {"42.1234", "500", nullptr, RequestStatus::kClockUnreadable, "more than three decimals", 0, 0, 0},
      {"0", "0", nullptr, RequestStatus::kClockUnreadable, "the clock must be above 0 MHz", 0, 0, 0},
      {"-42", "500", nullptr, RequestStatus::kClockUnreadable, "the clock must be above 0 MHz", 0, 0, 0},
      {"2147483.648", "500", nullptr, RequestStatus::kClockUnreadable, "the clock must be below 2147483.648 MHz", 0, 0, 0},
      {"42", "abc", nullptr, RequestStatus::kRateUnreadable, "not a number", 0, 0, 0},
      {"42", "33.3abc", nullptr, RequestStatus::kRateUnreadable, "not a number", 0, 0, 0},
      {"42", "500MHz", nullptr, RequestStatus::kRateUnreadable, "not a number", 0, 0, 0},
      {"42", "0", nullptr, RequestStatus::kRateUnreadable, "the rate must be above 0 Kbps", 0, 0, 0},
      {"42", "-500", nullptr, RequestStatus::kRateUnreadable, "the rate must be above 0 Kbps", 0, 0, 0},
      {"42", "1e-50", nullptr, RequestStatus::kRateUnreadable,
       "too small to store as a float (the smallest rate is 1.4e-45 Kbps)", 0, 0, 0},
      {"42", "1e39", nullptr, RequestStatus::kRateUnreadable, "the rate is too large for a float", 0, 0, 0},
      {"80", "500", "abc", RequestStatus::kDataRateUnreadable, "not a number", 0, 0, 0},
      {"80", "500", "0", RequestStatus::kDataRateUnreadable, "the rate must be above 0 Kbps", 0, 0, 0},
      {"80", "500", "-42", RequestStatus::kDataRateUnreadable, "the rate must be above 0 Kbps", 0, 0, 0},
      {"80", "500", "1e-45", RequestStatus::kDataRateUnreadable, "the rate must be at least 1.17549e-38 Kbps", 0, 0, 0},
      {"80", "abc", "abc", RequestStatus::kRateUnreadable, "not a number", 0, 0, 0},  // the rate first
  };
  for (const FieldCase& c : cases) {
    const std::string label = std::string(c.clock ? c.clock : "(null)") + " / " + (c.rate ? c.rate : "(null)") +
                              " / " + (c.dataRate ? c.dataRate : "(null)");
    Request request;
    const RequestCheck check = ReadPageFields(c.clock, c.rate, c.dataRate, request);
    EXPECT_EQ(StatusName(static_cast<int>(check.status)), std::string(StatusName(static_cast<int>(c.status)))) << label;
    if (c.status != RequestStatus::kReady) {
      EXPECT_EQ(check.detail, c.detail) << label;
      EXPECT_FALSE(request.clockGiven) << label;  // left as it was
      continue;
    }
    EXPECT_TRUE(request.clockGiven) << label;
    EXPECT_EQ(request.clockKHz, c.clockKHz) << label;
    EXPECT_TRUE(request.rateGiven) << label;
    EXPECT_EQ(request.targetRate, c.rate_) << label;
    EXPECT_EQ(request.dataPhase, c.dataRate != nullptr) << label;
    EXPECT_EQ(request.dataRate, c.dataRate_) << label;
  }
}

// An empty rate is left not given, for the request check to refuse (a decode needs none).
TEST(PageFields, AnEmptyRateIsNotGiven) {
  Request request;
  EXPECT_EQ(ReadPageFields("42", "", "", request).status, RequestStatus::kReady);
  EXPECT_TRUE(request.clockGiven);
  EXPECT_FALSE(request.rateGiven);
  EXPECT_FALSE(request.dataPhase);
}

}  // namespace
