// The page's clock and rate fields read as the companion reads --clock and --rate,
// with full-width forms, blanks and the field's unit around the number.
#include "web/page_fields.h"

#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// Every field of the form read by one reader: the companion's readers of --sjw,
// --data-sjw, --node-delay, --bus-length and --min-tolerance, with the field's unit
// cut, and a refusal that names its field.
struct AllFieldsCase {
  const char* controller;
  const char* sjw;
  const char* dataSjw;
  const char* nodeDelay;
  const char* busLength;
  const char* minTolerance;
  RequestStatus status;
  const char* field;   // PageFieldOf, null when ready
  const char* detail;  // the reason, for a refusal
  const char* controllerName;  // when ready
  int32_t sjwRead;             // when ready: 0 not given
  int32_t dataSjwRead;
  int32_t nodeDelayNs;
  int32_t busLengthM;
  int64_t minToleranceRead;
};

TEST(PageFields, EveryFieldReadAsTheCompanionReadsItsOption) {
  const AllFieldsCase cases[] = {
      {"bxcan", "", "", "", "", "", RequestStatus::kReady, nullptr, "", "bxcan", 0, 0, 250, 10, -1},
      {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, RequestStatus::kReady, nullptr, "", "bxcan", 0, 0, 250, 10,
       -1},
      {"no-such", "", "", "", "", "", RequestStatus::kReady, nullptr, "", "bxcan", 0, 0, 250, 10, -1},
      {"mcp2515", "2", "", "210", "40", "0.5", RequestStatus::kReady, nullptr, "", "mcp2515", 2, 0, 210, 40, 500000},
      {"mcp2515", " +04 tq", "", "210 ns", "40m", "0.125 %", RequestStatus::kReady, nullptr, "", "mcp2515", 4, 0, 210,
       40, 125000},
      {"fdcan", "128", "16", "0", "0", "100", RequestStatus::kReady, nullptr, "", "fdcan", 128, 16, 0, 0, 100000000},
      // A classic controller has no data SJW: the field goes unread.
      {"bxcan", "4", "99", "", "", "", RequestStatus::kReady, nullptr, "", "bxcan", 4, 0, 250, 10, -1},
      {"bxcan", "5", "", "", "", "", RequestStatus::kSjwUnreadable, "sjw", "not a whole number of quanta from 1 to 4",
       nullptr, 0, 0, 0, 0, 0},
      {"fdcan", "0", "", "", "", "", RequestStatus::kSjwUnreadable, "sjw", "not a whole number of quanta from 1 to 128",
       nullptr, 0, 0, 0, 0, 0},
      {"fdcan", "", "17", "", "", "", RequestStatus::kDataSjwUnreadable, "data-sjw",
       "not a whole number of quanta from 1 to 16", nullptr, 0, 0, 0, 0, 0},
      {"bxcan", "", "", "-1", "", "", RequestStatus::kNodeDelayUnreadable, "node-delay",
       "not a whole number of nanoseconds from 0 to 10000", nullptr, 0, 0, 0, 0, 0},
      {"bxcan", "", "", "10001", "", "", RequestStatus::kNodeDelayUnreadable, "node-delay",
       "not a whole number of nanoseconds from 0 to 10000", nullptr, 0, 0, 0, 0, 0},
      {"bxcan", "", "", "", "1.5", "", RequestStatus::kBusLengthUnreadable, "bus-length",
       "not a whole number of metres from 0 to 100000", nullptr, 0, 0, 0, 0, 0},
      {"bxcan", "", "", "", "", "0.0000001", RequestStatus::kMinToleranceUnreadable, "min-tolerance",
       "not a percent from 0 to 100 with at most six decimals", nullptr, 0, 0, 0, 0, 0},
      {"bxcan", "", "", "", "", "101", RequestStatus::kMinToleranceUnreadable, "min-tolerance",
       "not a percent from 0 to 100 with at most six decimals", nullptr, 0, 0, 0, 0, 0},
      {"bxcan", "", "", "", "", "-0", RequestStatus::kMinToleranceUnreadable, "min-tolerance",
       "not a percent from 0 to 100 with at most six decimals", nullptr, 0, 0, 0, 0, 0},
  };
  for (const AllFieldsCase& c : cases) {
    PageFieldTexts texts;
    texts.controller = c.controller;
    texts.clock = "16";
    texts.rate = "500";
    texts.sjw = c.sjw;
    texts.dataSjw = c.dataSjw;
    texts.nodeDelay = c.nodeDelay;
    texts.busLength = c.busLength;
    texts.minTolerance = c.minTolerance;
    Request request;
    const RequestCheck check = ReadAllPageFields(texts, request);
    const std::string where = std::string(c.controller ? c.controller : "(null)") + " " + (c.sjw ? c.sjw : "");
    EXPECT_EQ(check.status, c.status) << where;
    EXPECT_EQ(check.detail, c.detail) << where;
    const char* field = PageFieldOf(check);
    EXPECT_EQ(std::string(field ? field : "(none)"), std::string(c.field ? c.field : "(none)")) << where;
    if (c.status != RequestStatus::kReady) continue;
    EXPECT_STREQ(request.controller->name, c.controllerName) << where;
    EXPECT_EQ(request.sjwGiven, c.sjwRead != 0) << where;
    if (c.sjwRead != 0) EXPECT_EQ(request.sjw, c.sjwRead) << where;
    EXPECT_EQ(request.dataSjwGiven, c.dataSjwRead != 0) << where;
    if (c.dataSjwRead != 0) EXPECT_EQ(request.dataSjw, c.dataSjwRead) << where;
    EXPECT_EQ(request.bus.nodeDelayNs, c.nodeDelayNs) << where;
    EXPECT_EQ(request.bus.busLengthM, c.busLengthM) << where;
    EXPECT_EQ(request.minTolerance, c.minToleranceRead) << where;
    EXPECT_TRUE(request.wide) << where;
    EXPECT_EQ(request.format, OutputFormat::kTsv) << where;
  }
}

// A refusal of the request check names the option; the page shows it beside its field.
TEST(PageFields, CheckRefusalsNameTheirField) {
  const struct {
    const char* option;
    const char* field;
  } cases[] = {{"--data-sjw", "data-sjw"}, {"--sjw", "sjw"}, {"--min-tolerance", "min-tolerance"},
               {"--format", nullptr}, {nullptr, nullptr}};
  for (const auto& c : cases) {
    RequestCheck check;
    check.status = RequestStatus::kDataOptionWithoutDataRate;
    check.option = c.option;
    const char* field = PageFieldOf(check);
    EXPECT_EQ(std::string(field ? field : "(none)"), std::string(c.field ? c.field : "(none)"));
  }
}

// A plan's fields: no controller, clock or SJW read (each node gives its own), the data
// rate whenever given, the spread in percentage points and the nodes one a piece; a
// refusal comes with the companion's line for the same text.
TEST(PageFields, APlanReadsItsOwnFields) {
  struct PlanCase {
    const char* rate;
    const char* dataRate;
    const char* spread;
    const char* nodes;
    const char* nodeDelay;
    RequestStatus status;
    const char* field;
    const char* line;             // PageFieldLine
    int64_t spreadRead;           // when ready
    bool spreadGiven;
    std::vector<std::string> nodeTexts;
  };
  const PlanCase cases[] = {
      {"500", "", "", "a=bxcan@42;b=mcp2515@16", "", RequestStatus::kReady, nullptr, "", 2000000, false,
       {"a=bxcan@42", "b=mcp2515@16"}},
      {"500", "2000", "5", "h7=fdcan@80;;imx=flexcan-fd@40;", "120", RequestStatus::kReady, nullptr, "", 5000000, true,
       {"h7=fdcan@80", "imx=flexcan-fd@40"}},
      // Full-width and a unit, as every page field: "２.５ %".
      {"500", "", "\xA3\xB2\xA3\xAE\xA3\xB5 %", "a=bxcan@42", "", RequestStatus::kReady, nullptr, "", 2500000, true,
       {"a=bxcan@42"}},
      {"500", "", "0", "", "", RequestStatus::kReady, nullptr, "", 0, true, {}},
      {"abc", "", "", "a=bxcan@42", "", RequestStatus::kRateUnreadable, "rate",
       "invalid value \"abc\" for --rate: not a number", 0, false, {}},
      {"500", "-2", "", "a=bxcan@42", "", RequestStatus::kDataRateUnreadable, "data-rate",
       "invalid value \"-2\" for --data-rate: the rate must be above 0 Kbps", 0, false, {}},
      {"500", "", "", "a=bxcan@42", "abc", RequestStatus::kNodeDelayUnreadable, "node-delay",
       "invalid value \"abc\" for --node-delay: not a whole number of nanoseconds from 0 to 10000", 0, false, {}},
      {"500", "", "1.0000001", "a=bxcan@42", "", RequestStatus::kSpreadUnreadable, "spread",
       "invalid value \"1.0000001\" for --sample-point-spread: not a percent from 0 to 100 with at most six decimals",
       0, false, {}},
      {"500", "", "-1", "a=bxcan@42", "", RequestStatus::kSpreadUnreadable, "spread",
       "invalid value \"-1\" for --sample-point-spread: not a percent from 0 to 100 with at most six decimals", 0,
       false, {}},
      {"500", "", "101", "a=bxcan@42", "", RequestStatus::kSpreadUnreadable, "spread",
       "invalid value \"101\" for --sample-point-spread: not a percent from 0 to 100 with at most six decimals", 0,
       false, {}},
  };
  for (const PlanCase& c : cases) {
    PageFieldTexts texts;
    texts.plan = true;
    // Fields a plan does not take: read, the companion would refuse them with --plan.
    texts.controller = "mcp2515";
    texts.clock = "abc";
    texts.sjw = "99";
    texts.rate = c.rate;
    texts.dataRate = c.dataRate;
    texts.spread = c.spread;
    texts.nodes = c.nodes;
    texts.nodeDelay = c.nodeDelay;
    Request request;
    const RequestCheck check = ReadAllPageFields(texts, request);
    const std::string where = std::string(c.spread) + " / " + c.nodes;
    EXPECT_EQ(check.status, c.status) << where;
    const char* field = PageFieldOf(check);
    EXPECT_EQ(std::string(field ? field : "(none)"), std::string(c.field ? c.field : "(none)")) << where;
    EXPECT_EQ(PageFieldLine(check, texts), c.line) << where;
    if (c.status != RequestStatus::kReady) continue;
    EXPECT_TRUE(request.plan) << where;
    EXPECT_FALSE(request.clockGiven) << where;
    EXPECT_FALSE(request.sjwGiven) << where;
    EXPECT_FALSE(request.wide) << where;
    EXPECT_FALSE(request.page) << where;
    EXPECT_EQ(request.controller, FindController("bxcan")) << where;
    EXPECT_EQ(request.format, OutputFormat::kJson) << where;
    EXPECT_EQ(request.dataPhase, *c.dataRate != 0) << where;
    EXPECT_EQ(request.samplePointSpread, c.spreadRead) << where;
    EXPECT_EQ(request.spreadGiven, c.spreadGiven) << where;
    EXPECT_EQ(request.nodeTexts, c.nodeTexts) << where;
  }
}

// A plan's clock accuracy and target sample points: the companion's values for the
// same text, and where it refuses one, its line (the page's field named beside it).
TEST(PageFields, APlanReadsItsAccuracyAndTargetsAsTheCompanionDoes) {
  struct TargetCase {
    const char* accuracy;
    const char* target;
    const char* dataTarget;
    RequestStatus status;
    const char* field;
    const char* option;  // the companion's option for the field refused
    const char* typed;   // that field's text
    int32_t ppm;         // when ready
    int64_t targetRead;
    int64_t dataTargetRead;
  };
  const TargetCase cases[] = {
      {"", "", "", RequestStatus::kReady, nullptr, nullptr, nullptr, 100, -1, -1},
      {"50", "87.5", "75", RequestStatus::kReady, nullptr, nullptr, nullptr, 50, 87500000, 75000000},
      {"0", "50", "100", RequestStatus::kReady, nullptr, nullptr, nullptr, 0, 50000000, 100000000},
      {"100000", "80.123456", "", RequestStatus::kReady, nullptr, nullptr, nullptr, 100000, 80123456, -1},
      // The unit after the number, as every page field takes it.
      {"250 ppm", "87.5%", "80 %", RequestStatus::kReady, nullptr, nullptr, nullptr, 250, 87500000, 80000000},
      {"100001", "", "", RequestStatus::kClockAccuracyUnreadable, "clock-accuracy", "--clock-accuracy", "100001", 0, 0,
       0},
      {"1.5", "", "", RequestStatus::kClockAccuracyUnreadable, "clock-accuracy", "--clock-accuracy", "1.5", 0, 0, 0},
      {"-1", "", "", RequestStatus::kClockAccuracyUnreadable, "clock-accuracy", "--clock-accuracy", "-1", 0, 0, 0},
      {"", "49.999999", "", RequestStatus::kTargetSamplePointUnreadable, "target-sample-point",
       "--target-sample-point", "49.999999", 0, 0, 0},
      {"", "100.5", "", RequestStatus::kTargetSamplePointUnreadable, "target-sample-point", "--target-sample-point",
       "100.5", 0, 0, 0},
      {"", "abc", "", RequestStatus::kTargetSamplePointUnreadable, "target-sample-point", "--target-sample-point",
       "abc", 0, 0, 0},
      {"", "80", "0", RequestStatus::kDataTargetSamplePointUnreadable, "data-target-sample-point",
       "--data-target-sample-point", "0", 0, 0, 0},
      {"", "80", "87.1234567", RequestStatus::kDataTargetSamplePointUnreadable, "data-target-sample-point",
       "--data-target-sample-point", "87.1234567", 0, 0, 0},
  };
  for (const TargetCase& c : cases) {
    PageFieldTexts texts;
    texts.plan = true;
    texts.rate = "500";
    texts.dataRate = "2000";
    texts.nodes = "a=fdcan@80;b=mcp2518fd@40";
    texts.clockAccuracy = c.accuracy;
    texts.targetSamplePoint = c.target;
    texts.dataTargetSamplePoint = c.dataTarget;
    Request request;
    const RequestCheck check = ReadAllPageFields(texts, request);
    const std::string where = std::string(c.accuracy) + " / " + c.target + " / " + c.dataTarget;
    EXPECT_EQ(check.status, c.status) << where;
    const char* field = PageFieldOf(check);
    EXPECT_EQ(std::string(field ? field : "(none)"), std::string(c.field ? c.field : "(none)")) << where;
    if (c.status != RequestStatus::kReady) {
      Request companion;
      std::string error;
      const char* arguments[] = {"quillmere-cli", "--plan", c.option, c.typed};
      EXPECT_EQ(ParseCommandLine(4, arguments, companion, error), CliAction::kError) << where;
      EXPECT_EQ("quillmere-cli: " + PageFieldLine(check, texts), error) << where;
      continue;
    }
    EXPECT_EQ(request.clockAccuracyPpm, c.ppm) << where;
    EXPECT_EQ(request.clockAccuracyGiven, *c.accuracy != 0) << where;
    EXPECT_EQ(request.targetSamplePoint, c.targetRead) << where;
    EXPECT_EQ(request.dataTargetSamplePoint, c.dataTargetRead) << where;
  }
}

// A listing's request never reads the spread or the nodes, which are a plan's; its
// request carries the page's own columns.
TEST(PageFields, AListingLeavesThePlanFieldsUnread) {
  PageFieldTexts texts;
  texts.clock = "42";
  texts.rate = "500";
  texts.spread = "abc";
  texts.nodes = "a=bxcan@42;b=mcp2515@16";
  Request request;
  EXPECT_EQ(ReadAllPageFields(texts, request).status, RequestStatus::kReady);
  EXPECT_FALSE(request.plan);
  EXPECT_FALSE(request.spreadGiven);
  EXPECT_TRUE(request.nodeTexts.empty());
  EXPECT_TRUE(request.page);
}

// The companion's line for each field's refusal, the text as typed.
TEST(PageFields, RefusalLinesAreTheCompanionsForTheSameText) {
  const struct {
    const char* clock;
    const char* sjw;
    const char* busLength;
    const char* line;
  } cases[] = {
      {"", "", "", "the clock is missing"},
      {"42.1234", "", "", "invalid value \"42.1234\" for --clock: more than three decimals"},
      {"16", "5", "", "invalid value \"5\" for --sjw: not a whole number of quanta from 1 to 4"},
      {"16", "", "12 km", "invalid value \"12 km\" for --bus-length: not a whole number of metres from 0 to 100000"},
      {"16", "", "", ""},
  };
  for (const auto& c : cases) {
    PageFieldTexts texts;
    texts.clock = c.clock;
    texts.rate = "500";
    texts.sjw = c.sjw;
    texts.busLength = c.busLength;
    Request request;
    EXPECT_EQ(PageFieldLine(ReadAllPageFields(texts, request), texts), c.line) << c.clock << c.sjw << c.busLength;
  }
}

// A listing's rate error and its best's target sample point, read as the companion
// reads --tolerance and --target-sample-point: an empty rate error is 0 (the window's
// first choice), a whole percent is the window's selector's, and two decimals are the
// most; a refusal names its field and comes with the companion's line for the text.
TEST(PageFields, AListingReadsItsToleranceAndTargetAsTheCompanionDoes) {
  struct ToleranceCase {
    const char* tolerance;
    const char* target;
    const char* sjw;
    RequestStatus status;
    const char* field;
    const char* option;  // the companion's option for the field refused
    const char* typed;   // that field's text
    int32_t hundredths;  // when ready
    int64_t targetRead;
  };
  const ToleranceCase cases[] = {
      {"", "", "", RequestStatus::kReady, nullptr, nullptr, nullptr, 0, -1},
      {nullptr, nullptr, nullptr, RequestStatus::kReady, nullptr, nullptr, nullptr, 0, -1},
      {"1", "", "", RequestStatus::kReady, nullptr, nullptr, nullptr, 100, -1},
      {"10", "", "", RequestStatus::kReady, nullptr, nullptr, nullptr, 1000, -1},
      {"0.25", "75", "", RequestStatus::kReady, nullptr, nullptr, nullptr, 25, 75000000},
      {" 0.5 %", "87.5 %", "", RequestStatus::kReady, nullptr, nullptr, nullptr, 50, 87500000},
      {"+05", "100", "", RequestStatus::kReady, nullptr, nullptr, nullptr, 500, 100000000},
      {"100", "50", "", RequestStatus::kReady, nullptr, nullptr, nullptr, 10000, 50000000},
      {"0.125", "", "", RequestStatus::kToleranceUnreadable, "tolerance", "--tolerance", "0.125", 0, 0},
      {"100.01", "", "", RequestStatus::kToleranceUnreadable, "tolerance", "--tolerance", "100.01", 0, 0},
      {"-1", "", "", RequestStatus::kToleranceUnreadable, "tolerance", "--tolerance", "-1", 0, 0},
      {"abc", "", "", RequestStatus::kToleranceUnreadable, "tolerance", "--tolerance", "abc", 0, 0},
      // The rate error comes before the SJW in the form, so it is refused first.
      {"1.5.", "", "9", RequestStatus::kToleranceUnreadable, "tolerance", "--tolerance", "1.5.", 0, 0},
      {"1", "49.9", "", RequestStatus::kTargetSamplePointUnreadable, "target-sample-point", "--target-sample-point",
       "49.9", 0, 0},
      {"1", "87.1234567", "", RequestStatus::kTargetSamplePointUnreadable, "target-sample-point",
       "--target-sample-point", "87.1234567", 0, 0},
  };
  for (const ToleranceCase& c : cases) {
    PageFieldTexts texts;
    texts.clock = "42";
    texts.rate = "500";
    texts.tolerance = c.tolerance;
    texts.targetSamplePoint = c.target;
    texts.sjw = c.sjw;
    Request request;
    const RequestCheck check = ReadAllPageFields(texts, request);
    const std::string where = std::string(c.tolerance ? c.tolerance : "(null)") + " / " + (c.target ? c.target : "");
    EXPECT_EQ(check.status, c.status) << where;
    const char* field = PageFieldOf(check);
    EXPECT_EQ(std::string(field ? field : "(none)"), std::string(c.field ? c.field : "(none)")) << where;
    if (c.status != RequestStatus::kReady) {
      Request companion;
      std::string error;
      const char* arguments[] = {"quillmere-cli", "--best", c.option, c.typed};
      EXPECT_EQ(ParseCommandLine(4, arguments, companion, error), CliAction::kError) << where;
      EXPECT_EQ("quillmere-cli: " + PageFieldLine(check, texts), error) << where;
      continue;
    }
    EXPECT_EQ(request.toleranceHundredths, c.hundredths) << where;
    // Not given: the data phase takes it, as --data-tolerance takes --tolerance's.
    EXPECT_FALSE(request.toleranceGiven) << where;
    EXPECT_EQ(request.targetSamplePoint, c.targetRead) << where;
  }
}
