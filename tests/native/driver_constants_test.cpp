// Each entry's limits against the constants of the driver it cites: the kernel's (or
// Zephyr's) struct can_bittiming_const as read in the file and commit named beside it.
// A difference the entry means (the MCP2515's seg1 from 2, where mcp251x.c says 3) is
// named in the row, with the entry's own account of it.
#include "calc/controllers.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A driver's struct can_bittiming_const, as it is written: tseg1, tseg2, sjw_max, brp
// and brp_inc, counted in the driver's clock.
struct DriverConst {
  int32_t tseg1Min, tseg1Max, tseg2Min, tseg2Max, sjwMax, brpMin, brpMax, brpInc;
};
constexpr DriverConst kNoConst{0, -1, 0, -1, 0, 0, -1, 0};

struct DriverRow {
  const char* controller;
  const char* file;    // the driver's file, from the root of its tree
  const char* commit;  // the tree's commit the constants were read at
  DriverConst nominal;
  DriverConst data;    // kNoConst for a classic controller
  int32_t tdcoMin, tdcoMax;  // the driver's can_tdc_const; 0, -1 where it declares none
  // How many periods of the typed clock make one period of the driver's clock (2 where
  // the driver counts in half the oscillator); the entry's prescaler is brp x this.
  int32_t clockDivisor;
  // A deliberate difference of the entry from the driver, and why; null: none.
  const char* deliberate;
};

const DriverRow kDriverRows[] = {
    {"bxcan", "drivers/net/can/bxcan.c", "torvalds/linux 06a104d55d56aae199ebac1078ca19f0f45202bc", {1, 16, 1, 8, 4, 1, 1024, 1}, kNoConst, 0, -1, 1,
     nullptr},
    {"pcan-usb", "drivers/net/can/usb/peak_usb/pcan_usb.c", "torvalds/linux f33e46a0c6bddd341d0989484a2546bba7ac4a3c",
     {1, 16, 1, 8, 4, 1, 64, 1}, kNoConst, 0, -1, 2, nullptr},
    {"pcan-usb-pro", "drivers/net/can/usb/peak_usb/pcan_usb_pro.c",
     "torvalds/linux cad4bab399358cbcfe3c73f9da69bc05456ffa12", {1, 16, 1, 8, 4, 1, 1024, 1}, kNoConst, 0, -1, 1, nullptr},
    {"kvaser-pciefd", "drivers/net/can/kvaser_pciefd.c", "torvalds/linux 4cee0fb9cc4b5477637fdeb2e965f5fc7d624622",
     {1, 512, 1, 32, 16, 1, 8192, 1}, {1, 512, 1, 32, 16, 1, 8192, 1}, 0, -1, 1, nullptr},
    {"ems-usb", "drivers/net/can/usb/ems_usb.c", "torvalds/linux e644dae645e167d154c0526358940986682a72b0",
     {1, 16, 1, 8, 4, 1, 64, 1}, kNoConst, 0, -1, 2, nullptr},
    {"esd-usb2", "drivers/net/can/usb/esd_usb.c", "torvalds/linux 617e407cef5b7841de9deafd682b4f4676712067",
     {1, 16, 1, 8, 4, 1, 1024, 1}, kNoConst, 0, -1, 1, nullptr},
    {"es581.4", "drivers/net/can/usb/etas_es58x/es581_4.c", "torvalds/linux 762f99f4f3cb41a775b5157dd761217beba65873",
     {1, 8, 1, 8, 4, 1, 128, 1}, kNoConst, 0, -1, 1, nullptr},
    {"es58x-fd", "drivers/net/can/usb/etas_es58x/es58x_fd.c", "torvalds/linux d5984d29afdb201ecc0500a2bb3b61d7fc6b7c03",
     {2, 256, 2, 128, 128, 1, 512, 1}, {2, 32, 1, 16, 8, 1, 32, 1}, 0, 127, 1, nullptr},
    {"usb2can", "drivers/net/can/usb/usb_8dev.c", "torvalds/linux 9c3a0f285248899dfa81585bc5d5bc9ebdb8fead",
     {1, 16, 1, 8, 4, 1, 1024, 1}, kNoConst, 0, -1, 1, nullptr},
    {"f81604", "drivers/net/can/usb/f81604.c", "torvalds/linux 5338a96c974654e226665b2f412fad2f82d4b701",
     {1, 16, 1, 8, 4, 1, 64, 1}, kNoConst, 0, -1, 2, nullptr},
};

void ExpectPhase(const char* controller, const char* phase, const PhaseLimits& limits, const DriverConst& driver,
                 int32_t divisor, bool seg1Deliberate) {
  SCOPED_TRACE(std::string(controller) + " " + phase);
  if (!seg1Deliberate) EXPECT_EQ(limits.seg1.first, driver.tseg1Min);
  EXPECT_EQ(limits.seg1.last, driver.tseg1Max);
  EXPECT_EQ(limits.seg2.first, driver.tseg2Min);
  EXPECT_EQ(limits.seg2.last, driver.tseg2Max);
  EXPECT_EQ(limits.sjw.last, driver.sjwMax);
  EXPECT_EQ(limits.prescaler.first, driver.brpMin * divisor);
  EXPECT_EQ(limits.prescaler.last, driver.brpMax * divisor);
  EXPECT_EQ(limits.prescalerStep, driver.brpInc * divisor);
}

}  // namespace

TEST(DriverConstants, EveryEntryHoldsItsDriversLimits) {
  for (const DriverRow& row : kDriverRows) {
    const ControllerEntry* entry = FindController(row.controller);
    ASSERT_NE(entry, nullptr) << row.controller;
    EXPECT_EQ(entry->code.coreClockDivisor, row.clockDivisor) << row.controller;
    // The one deliberate kind so far: a seg1 the hardware takes below the driver's
    // tseg1_min, which the entry keeps as linuxSeg1First for the linux form.
    const bool seg1Deliberate = row.deliberate != nullptr && entry->code.linuxSeg1First == row.nominal.tseg1Min;
    ExpectPhase(row.controller, "nominal", entry->nominal, row.nominal, row.clockDivisor, seg1Deliberate);
    ASSERT_EQ(entry->fd, row.data.tseg1Max >= 0) << row.controller;
    if (entry->fd) ExpectPhase(row.controller, "data", entry->data, row.data, row.clockDivisor, false);
    if (row.tdcoMax >= 0) {
      EXPECT_EQ(entry->tdc.offset.first, row.tdcoMin) << row.controller;
      EXPECT_EQ(entry->tdc.offset.last, row.tdcoMax) << row.controller;
    }
  }
}
