#include "answers/request/refusals.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "web/page_fields.h"
#include "answers/request/request_check.h"

namespace {

// The page knows a status by its name: the names it knows stay as they are, every
// status has one row and a name of its own, and a number that is no status is
// "unknown".
TEST(Refusals, EveryStatusHasOneRowAndItsOwnName) {
  const struct {
    int status;
    const char* name;
  } pageNames[] = {{0, "ready"},
                   {1, "clock-missing"},
                   {2, "rate-missing"},
                   {3, "reserved-bits"},
                   {4, "data-reserved-bits"},
                   {static_cast<int>(RequestStatus::kSettingOutsideRanges), "setting-outside-ranges"},
                   {static_cast<int>(RequestStatus::kClockUnreadable), "clock-unreadable"},
                   {static_cast<int>(RequestStatus::kRateUnreadable), "rate-unreadable"},
                   {static_cast<int>(RequestStatus::kDataRateUnreadable), "data-rate-unreadable"},
                   {static_cast<int>(RequestStatus::kSjwUnreadable), "sjw-unreadable"},
                   {static_cast<int>(RequestStatus::kDataSjwUnreadable), "data-sjw-unreadable"},
                   {static_cast<int>(RequestStatus::kNodeDelayUnreadable), "node-delay-unreadable"},
                   {static_cast<int>(RequestStatus::kBusLengthUnreadable), "bus-length-unreadable"},
                   {static_cast<int>(RequestStatus::kMinToleranceUnreadable), "min-tolerance-unreadable"},
                   {static_cast<int>(RequestStatus::kDecodeUnreadable), "decode-unreadable"},
                   {static_cast<int>(RequestStatus::kDecodeDataUnreadable), "decode-data-unreadable"},
                   {static_cast<int>(RequestStatus::kSpreadUnreadable), "spread-unreadable"},
                   {static_cast<int>(RequestStatus::kClockAccuracyUnreadable), "clock-accuracy-unreadable"},
                   {static_cast<int>(RequestStatus::kTargetSamplePointUnreadable), "target-sample-point-unreadable"},
                   {static_cast<int>(RequestStatus::kDataTargetSamplePointUnreadable),
                    "data-target-sample-point-unreadable"},
                   {static_cast<int>(RequestStatus::kToleranceUnreadable), "tolerance-unreadable"}};
  for (const auto& c : pageNames) EXPECT_STREQ(StatusName(c.status), c.name);

  int count = 0;
  const Refusal* rows = Refusals(count);
  EXPECT_EQ(count, kRequestStatusCount);
  std::map<int, int> rowsOf;
  std::set<std::string> names;
  for (int i = 0; i < count; ++i) {
    ++rowsOf[static_cast<int>(rows[i].status)];
    const std::string name = rows[i].name;
    EXPECT_TRUE(names.insert(name).second) << name << " twice";
    EXPECT_FALSE(name.empty());
    EXPECT_EQ(name.find_first_not_of("abcdefghijklmnopqrstuvwxyz-"), std::string::npos) << name;
  }
  for (int status = 0; status < kRequestStatusCount; ++status) EXPECT_EQ(rowsOf[status], 1) << status;
  EXPECT_EQ(static_cast<int>(rowsOf.size()), kRequestStatusCount);  // no row of another number
  EXPECT_STREQ(StatusName(kRequestStatusCount), "unknown");
  EXPECT_STREQ(StatusName(-1), "unknown");
}

// Every {piece} a line names is one the check fills: a misspelt one would stay in the
// line as written. Only kReady has no line.
TEST(Refusals, EveryLineFillsTheCheckPiecesItNames) {
  RequestCheck check;
  check.option = "--o";
  check.decodeOption = "--d";
  check.bits = 0x400;
  check.detail = "detail";
  check.echoedValue = "\"value\"";
  check.nodePart = "part";
  check.detailLead = "lead ";
  check.controller = FindController("mcan");
  check.format = OutputFormat::kHal;
  check.controllerName = "mcan's data phase";
  check.subject = "subject";
  for (int status = 0; status < kRequestStatusCount; ++status) {
    check.status = static_cast<RequestStatus>(status);
    const std::string line = RefusalLine(check);
    EXPECT_EQ(line.find_first_of("{}"), std::string::npos) << StatusName(status) << ": " << line;
    EXPECT_EQ(line.empty(), status == 0) << StatusName(status);
  }
}

// What the companion's tests do not reach: the page asks for a setting's code with no
// option in the check, and a node's controller is shown as typed until the face echoes it.
TEST(Refusals, LinesTakeTheirPiecesFromTheCheck) {
  const struct {
    RequestStatus status;
    const char* echoedPart;
    const char* line;
  } cases[] = {
      {RequestStatus::kDataOptionWithoutDataRate, "", " needs --data-rate"},
      {RequestStatus::kNodeController, "", "invalid value \"n=c@8\" for --node: unknown controller c (see list)"},
      {RequestStatus::kNodeController, "\"c\"", "invalid value \"n=c@8\" for --node: unknown controller \"c\" (see list)"},
  };
  for (const auto& c : cases) {
    RequestCheck check;
    check.status = c.status;
    check.echoedValue = "\"n=c@8\"";
    check.detailLead = "unknown controller ";
    check.nodePart = "c";
    check.echoedPart = c.echoedPart;
    check.detail = " (see list)";
    EXPECT_EQ(RefusalLine(check), c.line) << StatusName(static_cast<int>(c.status));
  }
}

// spl for FDCAN and for another controller that lacks it: two lines, both kept. The
// FDCAN line comes from the older check, which stands before the options that need
// --data-rate; the form check comes after them.
TEST(Refusals, SplKeepsFdcansOlderLine) {
  const struct {
    const char* controller;
    bool dataSjw;
    RequestStatus status;
    const char* line;
  } cases[] = {
      {"fdcan", false, RequestStatus::kSplWithFdcan,
       "--format spl has no FDCAN form: the Standard Peripheral Library predates FDCAN (use hal)"},
      {"fdcan", true, RequestStatus::kSplWithFdcan,
       "--format spl has no FDCAN form: the Standard Peripheral Library predates FDCAN (use hal)"},
      {"mcan", false, RequestStatus::kFormNotForController,
       "--format spl is no form of mcan: its forms are table, tsv, csv, json, registers, linux, zephyr, python-can"},
      {"mcan", true, RequestStatus::kDataOptionWithoutDataRate, "--data-sjw needs --data-rate"},
  };
  for (const auto& c : cases) {
    Request request;
    request.controller = FindController(c.controller);
    request.format = OutputFormat::kSpl;
    request.dataSjwGiven = c.dataSjw;
    const RequestCheck check = CheckRequest(request, MissingInput::kTakeDefault);
    EXPECT_EQ(check.status, c.status) << c.controller << c.dataSjw;
    EXPECT_EQ(RefusalLine(check), c.line) << c.controller << c.dataSjw;
  }
}

// An option fills at most one of the page's fields, so a row that leaves the option to
// the check finds its field by the option alone.
TEST(Refusals, AnOptionBelongsToOneField) {
  int count = 0;
  const Refusal* rows = Refusals(count);
  std::map<std::string, std::string> fieldOf;
  for (int i = 0; i < count; ++i) {
    if (rows[i].field == nullptr || rows[i].option == nullptr) continue;
    const auto known = fieldOf.emplace(rows[i].option, rows[i].field);
    EXPECT_EQ(known.first->second, rows[i].field) << rows[i].name;
  }
  const struct {
    const char* option;
    const char* field;
  } cases[] = {{"--clock", "clock"},           {"--rate", "rate"},          {"--data-rate", "data-rate"},
               {"--sjw", "sjw"},               {"--data-sjw", "data-sjw"},  {"--node-delay", "node-delay"},
               {"--bus-length", "bus-length"}, {"--min-tolerance", "min-tolerance"},
               {"--sample-point-spread", "spread"}, {"--decode", "decode-value"}, {"--decode-data", "decode-data"},
               {"--node", "nodes"},            {"--tolerance", "tolerance"}, {"--format", nullptr},       {"--best", nullptr},
               {"--sample-point", nullptr},    {"--controller", nullptr}};
  for (const auto& c : cases) {
    const char* field = FieldOfOption(c.option);
    EXPECT_STREQ(field != nullptr ? field : "(none)", c.field != nullptr ? c.field : "(none)") << c.option;
  }
}

// The page shows a refusal beside its field, which the module gives for every status:
// the row's own, or the field of the option the check names.
TEST(Refusals, ThePageFieldOfEveryKindOfRow) {
  const struct {
    RequestStatus status;
    const char* option;
    const char* field;
  } cases[] = {
      {RequestStatus::kReady, nullptr, nullptr},
      {RequestStatus::kClockMissing, nullptr, "clock"},
      {RequestStatus::kRateMissing, nullptr, "rate"},
      {RequestStatus::kReservedBits, nullptr, "decode-value"},
      {RequestStatus::kDataReservedBits, nullptr, "decode-data"},
      {RequestStatus::kRateWithoutDecode, "--rate", "rate"},
      {RequestStatus::kBestWithDecode, "--best", nullptr},
      {RequestStatus::kSplWithFdcan, "--format", nullptr},
      {RequestStatus::kPlanFewNodes, nullptr, "nodes"},
      {RequestStatus::kNodeClock, nullptr, "nodes"},
      {RequestStatus::kPlanClassicNode, nullptr, "nodes"},
      {RequestStatus::kNodeWithoutPlan, "--sample-point-spread", "spread"},
      {RequestStatus::kPlanOption, "--clock", "clock"},
      {RequestStatus::kPlanOption, "--controller", nullptr},
      {RequestStatus::kUnknownRegister, "--decode-data", "decode-data"},
      {RequestStatus::kSettingOutsideRanges, nullptr, nullptr},
      {RequestStatus::kSpreadUnreadable, nullptr, "spread"},
      {RequestStatus::kClockAccuracyUnreadable, nullptr, "clock-accuracy"},
      {RequestStatus::kNodeWithoutPlan, "--target-sample-point", "target-sample-point"},
      {RequestStatus::kDataOptionWithoutDataRate, "--data-target-sample-point", "data-target-sample-point"},
      {RequestStatus::kDecodeUnreadable, nullptr, "decode-value"},
  };
  for (const auto& c : cases) {
    RequestCheck check;
    check.status = c.status;
    check.option = c.option;
    const char* field = PageFieldOf(check);
    EXPECT_STREQ(field != nullptr ? field : "(none)", c.field != nullptr ? c.field : "(none)")
        << StatusName(static_cast<int>(c.status)) << " " << (c.option != nullptr ? c.option : "");
  }
}

}  // namespace
