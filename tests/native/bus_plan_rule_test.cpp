// A bus plan of custom: nodes (the rule's steps are checked one case each in
// bus_plan_test.cpp, against the plain planner with the step taken out).
#include "answers/plan/bus_plan.h"
#include "answers/request/request_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// At 8 MHz and 500 Kbps: A's rows seg1 1 + seg2 2 at prescaler 4 (50%) and 5 + 2 at 2
// (75%); B's one row 2 + 1 at 4 (75%).
const char* const kFarA = "a=custom:seg1=1-5,seg2=2,sjw=1,prescaler=2-4@8";
const char* const kNearB = "b=custom:seg1=2,seg2=1,sjw=1,prescaler=4@8";

// A custom: node's controller is named by the text it was read from, after the check.
TEST(BusPlanRule, CustomNodeKeepsItsName) {
  Request request;
  request.plan = true;
  request.nodeTexts = {kFarA, kNearB};
  request.bus = BusConditions{0, 0};
  ASSERT_EQ(CheckRequest(request, MissingInput::kTakeDefault).status, RequestStatus::kReady);
  const BusPlan plan = PlanBus(request);
  ASSERT_EQ(plan.status, PlanStatus::kFound);
  EXPECT_STREQ(plan.nodes[0].node->controller->name, "custom:seg1=1-5,seg2=2,sjw=1,prescaler=2-4");
  EXPECT_STREQ(plan.nodes[1].node->controller->name, "custom:seg1=2,seg2=1,sjw=1,prescaler=4");
}

}  // namespace
