// One case per step of the bus rule (answers/plan/bus_plan.h), each built so that the step
// decides it: without the step the next one picks another plan. The nodes are custom:
// controllers with a few rows each, on a bus of no length and no loop delay, so every
// tolerance is min(SJW / (20 nbt), min(seg1, seg2) / (2 (13 nbt - seg2))) by hand.
#include "answers/plan/bus_plan.h"
#include "answers/request/request_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct RuleCase {
  const char* step;
  std::vector<std::string> nodes;
  float rate;
  int64_t spreadMillionths;
  std::vector<int32_t> nominalIndex;  // the plan: each node's place in its listing
};

// At 8 MHz and 500 Kbps: A's rows seg1 1 + seg2 2 at prescaler 4 (50%, 1.00%) and 5 + 2
// at 2 (75%, 0.63%); B's one row 2 + 1 at 4 (75%, 0.98%).
const char* const kFarA = "a=custom:seg1=1-5,seg2=2,sjw=1,prescaler=2-4@8";
const char* const kNearB = "b=custom:seg1=2,seg2=1,sjw=1,prescaler=4@8";

const RuleCase kRuleCases[] = {
    // 1. A at 50% would give the margin 0.98%, but 25 points apart; within 2 points
    //    only A at 75% (margin 0.63%).
    {"1 spread", {kFarA, kNearB}, 500.0f, 2000000, {1, 0}},
    // 2. The same bus with room for any spread: the margin takes A at 50%, though the
    //    spread (step 3) would take 75%.
    {"2 margin", {kFarA, kNearB}, 500.0f, 100000000, {0, 0}},
    // 3. B alone at 50% (7 + 8 at 1: 0.31%, every plan's margin); A at 87.5%, 75% or
    //    62.5% (6 + 1, 5 + 2, 4 + 3 at prescaler 2). The smallest spread is 62.5%,
    //    though the mean nearest 87.5% (step 4) would be A at 87.5%.
    {"3 smaller spread",
     {"a=custom:seg1=4-6,seg2=1-3,sjw=1,prescaler=2@8", "b=custom:seg1=7,seg2=8,sjw=1,prescaler=1@8"},
     500.0f,
     100000000,
     {2, 0}},
    // 4. A and B each at 87.5% (6 + 1 at 2, 8 quanta) or 75% (11 + 4 at 1, 16 quanta);
    //    C alone at 81.25% (12 + 3 at 1, 0.31%, the margin) halfway, so both plans
    //    spread 6.25 points; the mean nearest the advice 87.5% is A and B at 87.5%,
    //    though the quanta (step 6) would take 75%.
    {"4 mean nearest the advice",
     {"a=custom:seg1=6-11,seg2=1-4,sjw=1,prescaler=1-2@8", "b=custom:seg1=6-11,seg2=1-4,sjw=1,prescaler=1-2@8",
      "c=custom:seg1=12,seg2=3,sjw=1,prescaler=1@8"},
     500.0f,
     100000000,
     {0, 0, 0}},
    // 6. 1000 Kbps at 16 MHz (advice 75%): A and B each at 87.5% (6 + 1 at 2, 8 quanta)
    //    or 62.5% (9 + 6 at 1, 16 quanta, 0.3125%); C alone at 75% (11 + 4 at 1,
    //    0.3125%, the margin). Both plans spread 12.5 points and their means lie 8.33
    //    points either side of 75%, exactly: no node's own choice decides it, the sum
    //    of quanta over the nodes does (48 against 32), though listing order (step 7)
    //    would take 87.5%.
    {"6 most quanta summed",
     {"a=custom:seg1=6-9,seg2=1-6,sjw=1,prescaler=1-2@16", "b=custom:seg1=6-9,seg2=1-6,sjw=1,prescaler=1-2@16",
      "c=custom:seg1=11,seg2=4,sjw=1,prescaler=1@16"},
     1000.0f,
     100000000,
     {1, 1, 0}},
};

TEST(BusPlanRule, OneCasePerStep) {
  for (const RuleCase& rule : kRuleCases) {
    Request request;
    request.plan = true;
    request.nodeTexts = rule.nodes;
    request.targetRate = rule.rate;
    request.toleranceHundredths = 0;
    request.samplePointSpread = rule.spreadMillionths;
    request.bus = BusConditions{0, 0};
    const RequestCheck check = CheckRequest(request, MissingInput::kTakeDefault);
    ASSERT_EQ(check.status, RequestStatus::kReady) << rule.step << ": " << RefusalLine(check);
    const BusPlan plan = PlanBus(request);
    ASSERT_EQ(plan.status, PlanStatus::kFound) << rule.step;
    ASSERT_EQ(plan.nodes.size(), rule.nominalIndex.size()) << rule.step;
    for (std::size_t n = 0; n < plan.nodes.size(); ++n)
      EXPECT_EQ(plan.nodes[n].nominalIndex, rule.nominalIndex[n]) << rule.step << ", node " << n;
  }
}

// A custom: node's controller is named by the text it was read from, after the check.
TEST(BusPlanRule, CustomNodeKeepsItsName) {
  Request request;
  request.plan = true;
  request.nodeTexts = {kFarA, kNearB};
  ASSERT_EQ(CheckRequest(request, MissingInput::kTakeDefault).status, RequestStatus::kReady);
  const BusPlan plan = PlanBus(request);
  ASSERT_EQ(plan.status, PlanStatus::kFound);
  EXPECT_STREQ(plan.nodes[0].node->controller->name, "custom:seg1=1-5,seg2=2,sjw=1,prescaler=2-4");
  EXPECT_STREQ(plan.nodes[1].node->controller->name, "custom:seg1=2,seg2=1,sjw=1,prescaler=4");
}

}  // namespace
