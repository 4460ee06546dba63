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
    {"fdcan", "drivers/net/can/m_can/m_can.c", "torvalds/linux 0410c6121529409b08e81a77ae3ee58c657e2243",
     {2, 256, 2, 128, 128, 1, 512, 1}, {1, 32, 1, 16, 16, 1, 32, 1}, 0, -1, 1, nullptr},
    {"mcan", "drivers/net/can/m_can/m_can.c", "torvalds/linux 0410c6121529409b08e81a77ae3ee58c657e2243",
     {2, 256, 2, 128, 128, 1, 512, 1}, {1, 32, 1, 16, 16, 1, 32, 1}, 0, -1, 1, nullptr},
    {"mcan-3.1", "drivers/net/can/m_can/m_can.c", "torvalds/linux 0410c6121529409b08e81a77ae3ee58c657e2243",
     {2, 256, 2, 128, 128, 1, 512, 1}, {1, 32, 1, 16, 16, 1, 32, 1}, 0, -1, 1, nullptr},
    {"c_can", "drivers/net/can/c_can/c_can_main.c", "torvalds/linux 67fa8c3578d8066bebd63ab86052303a7339d6dd",
     {2, 16, 1, 8, 4, 1, 1024, 1}, kNoConst, 0, -1, 1, nullptr},
    {"sja1000", "drivers/net/can/sja1000/sja1000.c", "torvalds/linux 215a004c61d2f12b130aeb2a9f609275ed6f61bb",
     {1, 16, 1, 8, 4, 1, 64, 1}, kNoConst, 0, -1, 2, nullptr},
    {"flexcan", "drivers/net/can/flexcan/flexcan-core.c", "torvalds/linux 5e696350d832c427008867b50b01b09baa746cfb",
     {4, 16, 2, 8, 4, 1, 256, 1}, kNoConst, 0, -1, 1, nullptr},
    {"flexcan-fd", "drivers/net/can/flexcan/flexcan-core.c", "torvalds/linux 5e696350d832c427008867b50b01b09baa746cfb",
     {2, 96, 2, 32, 16, 1, 1024, 1}, {2, 39, 2, 8, 4, 1, 1024, 1}, 0, -1, 1, nullptr},
    {"mcp2515", "drivers/net/can/spi/mcp251x.c", "torvalds/linux c13aca79ff3c4af5fd31a5b2743a90eba6e36a26",
     {3, 16, 2, 8, 4, 1, 64, 1}, kNoConst, 0, -1, 2,
     "the MCP2515 takes seg1 2 (PRSEG 1 + PHSEG1 1, datasheet §5.3); the linux form keeps the driver's 3"},
    {"mcp2518fd", "drivers/net/can/spi/mcp251xfd/mcp251xfd-core.c",
     "kernelorg-mirror/linux_kernel_git_mkl_linux-can 085eb39e46ae1b6f3934eb3785be2077aae73ac7",
     {2, 256, 1, 128, 128, 1, 256, 1},
     {1, 32, 1, 16, 16, 1, 256, 1}, 0, 63, 1, nullptr},
    {"at91", "drivers/net/can/at91_can.c", "torvalds/linux 8c285645ab3b05942124020b5f0b89d3b539823a",
     {4, 16, 2, 8, 4, 2, 128, 1}, kNoConst, 0, -1, 1, nullptr},
    {"ti-hecc", "drivers/net/can/ti_hecc.c", "torvalds/linux 183650e8b9da852c03e0b15c4e4b24af4b45fd40",
     {1, 16, 1, 8, 4, 1, 256, 1}, kNoConst, 0, -1, 1, nullptr},
    {"rcar-can", "drivers/net/can/rcar/rcar_can.c", "torvalds/linux 65e575744264b28811c1a82c2640b1257cabf22f",
     {4, 16, 2, 8, 4, 1, 1024, 1}, kNoConst, 0, -1, 1, nullptr},
    // rcar_canfd_nom_bittiming_const and rcar_canfd_data_bittiming_const, before Gen4 and TDC
    // support: the TDC offset 1..128 is the 2025 rcar_canfd_gen3_tdc_const's, unread here.
    {"rcar-canfd", "drivers/net/can/rcar/rcar_canfd.c", "torvalds/linux 386403a115f95997c2715691226e11a7b5cffcfd",
     {2, 128, 2, 32, 32, 1, 1024, 1}, {2, 16, 2, 8, 8, 1, 256, 1}, 0, -1, 1, nullptr},
    {"xilinx-can", "drivers/net/can/xilinx_can.c",
     "kernelorg-mirror/linux_kernel_git_mkl_linux-can 018e44cda6861d92af3316389b4566883297fde4",
     {1, 16, 1, 8, 4, 1, 256, 1}, kNoConst, 0, -1, 1, nullptr},
    {"xilinx-canfd", "drivers/net/can/xilinx_can.c",
     "kernelorg-mirror/linux_kernel_git_mkl_linux-can 018e44cda6861d92af3316389b4566883297fde4",
     {1, 256, 1, 128, 128, 1, 256, 1}, {1, 32, 1, 16, 16, 1, 256, 1}, 0, 64, 1,
     "xcan_tdc_const_canfd2 says tdco_max 64, but F_BRPR.TDCOFF holds six bits: the entry stops at 63"},
    {"peak-canfd", "drivers/net/can/usb/peak_usb/pcan_usb_fd.c", "torvalds/linux cd2d68f2d6b2e5cee0b49c13cef052baca8c0b76",
     {1, 256, 1, 128, 128, 1, 1024, 1}, {1, 32, 1, 16, 16, 1, 1024, 1}, 0, -1, 1, nullptr},
    {"peak-pciefd", "drivers/net/can/peak_canfd/peak_canfd.c", "torvalds/linux 27eaaeedf71658779764d3d746baeb3852a3f493",
     {1, 256, 1, 128, 128, 1, 1024, 1}, {1, 32, 1, 16, 16, 1, 1024, 1}, 0, -1, 1, nullptr},
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
    {"cc770", "drivers/net/can/cc770/cc770.c", "torvalds/linux 282f445a779ed76fca9884fe377bf56a3088b208",
     {1, 16, 1, 8, 4, 1, 64, 1}, kNoConst, 0, -1, 1, nullptr},
    {"mscan", "drivers/net/can/mscan/mscan.c", "torvalds/linux aabdfd6adb804d0aaba0188ade0f1afe42a52e31",
     {4, 16, 2, 8, 4, 1, 64, 1}, kNoConst, 0, -1, 1, nullptr},
    {"sun4i-can", "drivers/net/can/sun4i_can.c", "torvalds/linux 8abb95250ae6af2d51993da8fcae18da2ce24cc4",
     {1, 16, 1, 8, 4, 1, 64, 1}, kNoConst, 0, -1, 1, nullptr},
    {"rk3568-can", "drivers/net/can/rockchip/rockchip_canfd-core.c",
     "torvalds/linux 2670a39b1ea68fb0b9175e26e299f3fe974e0332", {1, 256, 1, 128, 128, 2, 512, 2}, kNoConst, 0, -1, 1,
     "RKCANFD_QUIRK_CANFD_BROKEN: the driver offers no data phase, rkcanfd_data_bittiming_const unused"},
    {"ctucanfd", "drivers/net/can/ctucanfd/ctucanfd_base.c", "torvalds/linux b4d90dbc4c1bc4bd3eb2d2989330af0eb95c98e8",
     {2, 190, 1, 63, 31, 1, 8, 1}, {2, 94, 1, 31, 31, 1, 2, 1}, 0, -1, 1, nullptr},
    {"hi3110", "drivers/net/can/spi/hi311x.c", "torvalds/linux 8cdf3792526ab681e1f4a0c202e779400b2b8177",
     {2, 16, 2, 8, 4, 1, 64, 1}, kNoConst, 0, -1, 2, nullptr},
    {"grcan", "drivers/net/can/grcan.c", "torvalds/linux 72d6e4871f0457dc9e498f8437ea344ee6b78075",
     {2, 16, 2, 8, 4, 1, 256, 1}, kNoConst, 0, -1, 1, nullptr},
    {"ifi-canfd", "drivers/net/can/ifi_canfd/ifi_canfd.c", "torvalds/linux 35bb28ece90dfb7f72b77ba529f25f79323d9581",
     {1, 256, 2, 256, 128, 2, 512, 1}, {1, 256, 2, 256, 128, 2, 512, 1}, 0, -1, 1, nullptr},
    {"kvaser-usbcan2", "drivers/net/can/usb/kvaser_usb/kvaser_usb_leaf.c",
     "torvalds/linux 3efaf503ab3f701d9579c6101dc8b07a40ce27ff", {4, 16, 2, 8, 4, 1, 16, 1}, kNoConst, 0, -1, 1, nullptr},
    {"kvaser-leaf", "drivers/net/can/usb/kvaser_usb/kvaser_usb_leaf.c",
     "torvalds/linux 3efaf503ab3f701d9579c6101dc8b07a40ce27ff", {3, 16, 2, 8, 4, 2, 128, 2}, kNoConst, 0, -1, 1, nullptr},
    {"kvaser-leaf-imx", "drivers/net/can/usb/kvaser_usb/kvaser_usb_hydra.c",
     "torvalds/linux 00e5786177649c1e3110f9454fdd34e336597265", {4, 16, 2, 8, 4, 1, 256, 1}, kNoConst, 0, -1, 1, nullptr},
    {"kvaser-hydra", "drivers/net/can/usb/kvaser_usb/kvaser_usb_hydra.c",
     "torvalds/linux 00e5786177649c1e3110f9454fdd34e336597265", {1, 255, 1, 32, 16, 1, 8192, 1},
     {1, 255, 1, 32, 16, 1, 8192, 1}, 0, -1, 1, nullptr},
    {"esd-usb3", "drivers/net/can/usb/esd_usb.c",
     "kernelorg-mirror/linux_kernel_git_mkl_linux-can 3eeb6387f097d6567905891cf18213e4ee6b1ba9",
     {2, 256, 2, 128, 128, 1, 512, 1}, {2, 32, 1, 16, 8, 1, 32, 1}, 0, -1, 1, nullptr},
    {"esdacc", "drivers/net/can/esd/esd_402_pci-core.c", "torvalds/linux 9721866f07e108f892c15ae0c03059e5221b5594",
     {1, 16, 1, 8, 4, 1, 512, 1}, kNoConst, 0, -1, 1, nullptr},
    // Zephyr gives each field's bounds: tseg1 is prop_seg 1..1 + phase_seg1 2..255 (data
    // 2..31).
    {"ra-canfd", "drivers/can/can_renesas_ra.c", "zephyrproject-rtos/zephyr 112ef111250a93a804742d478e90b8ec963379e4",
     {3, 256, 2, 128, 128, 1, 1024, 1}, {3, 32, 2, 16, 16, 1, 128, 1}, 0, -1, 1, nullptr},
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
    if (row.tdcoMax >= 0 && row.deliberate == nullptr) {
      EXPECT_EQ(entry->tdc.offset.first, row.tdcoMin) << row.controller;
      EXPECT_EQ(entry->tdc.offset.last, row.tdcoMax) << row.controller;
    } else if (row.tdcoMax >= 0) {
      // A deliberate difference only narrows what the driver takes.
      EXPECT_GE(entry->tdc.offset.first, row.tdcoMin) << row.controller;
      EXPECT_LE(entry->tdc.offset.last, row.tdcoMax) << row.controller;
    }
  }
}

// The entries whose linux form is written for a mainline driver, yet whose limits have
// no row above, each with why.
const struct {
  const char* controller;
  const char* why;
} kWithoutRow[] = {
    {"mcan-3.0", "the 2014 m_can.c for M_CAN 3.0.1, since rewritten: its BTP/FBTP constants have no current file"},
    {"mcan-samv7", "no driver of its own: its data limits are es58x_fd.c's, which runs on the chip"},
    {"rcar-canfd-gen4", "rcar_canfd_gen4_*_bittiming_const came with the Gen4 support, newer than every "
                        "rcar_canfd.c read here: the entry cites them, no commit of them was read"},
    {"gs-usb", "the device reports its constants (GS_USB_BREQ_BT_CONST): candleLight_fw's, not the kernel's"},
};

// Every entry with a linux form has its driver's constants recorded, or says why not:
// a new entry cannot leave its limits unchecked.
TEST(DriverConstants, EveryLinuxEntryHasARow) {
  for (int32_t k = 0; k < ControllerCount(); ++k) {
    const ControllerEntry& entry = ControllerAt(k);
    if ((entry.code.forms & FormBit(OutputFormat::kLinux)) == 0) continue;
    int found = 0;
    for (const DriverRow& row : kDriverRows) found += std::string(row.controller) == entry.name;
    for (const auto& without : kWithoutRow) found += std::string(without.controller) == entry.name;
    EXPECT_EQ(found, 1) << entry.name;
  }
}
