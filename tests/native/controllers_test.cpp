// The controller table: a setting worked by hand from each controller's manual or
// driver per entry, every listed row within its limits and rules with registers that
// decode back to it, the listing against a plain loop over the limits, and custom:.
#include "answers/rows/phase_search.h"
#include "calc/controllers.h"
#include "calc/custom_controller.h"
#include "calc/fp_environment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

struct Worked {
  const char* controller;
  int32_t clockKHz;
  float rate;  // Kbps
  int32_t prescaler, seg1, seg2;
  int32_t widestSjw;
  int32_t prop, phase1;  // 0 where seg1 is one field
  std::vector<uint32_t> registers;  // written with the widest SJW
};

// Each value worked by hand from the layout the comment names.
const Worked kWorked[] = {
    // RM0090 §32.9.2 CAN_BTR (not checked against the manual): the preset's best row.
    {"bxcan", 42000, 500.0f, 6, 11, 2, 2, 0, 0, {0x011A0005}},
    // The bxCAN-like peripherals, from their headers' field positions: SJW at bit 24,
    // seg2 at 20, seg1 at 16, the prescaler from 0, each one less.
    // gd32f30x_can.h CAN_BT: SJW 3 << 24, BS2 3 << 20, BS1 12 << 16, BAUDPSC 3.
    {"gd32-can", 36000, 500.0f, 4, 13, 4, 4, 0, 0, {0x033C0003}},
    // gd32e50x_can.h (GD32E508) CAN_BT: seg1 104 stores 103 = 0b110'0111, BS1_3_0 7 << 16
    // and BS1_6_4 6 << 10; seg2 15 stores 14 = 0b01'110, BS2_2_0 6 << 20 and BS2_4_3 1
    // << 13; SJW 14 << 24.
    {"gd32e50x-canfd", 60000, 500.0f, 1, 104, 15, 15, 0, 0, {0x0E673800}},
    // gd32h7xx_can.h CAN_BT: BAUDPSC 4 << 21, SJW 4 << 16, PTS 16 << 10, PBS1 16 << 5, PBS2 4.
    {"gd32h7-canfd", 100000, 500.0f, 5, 34, 5, 5, 17, 17, {0x00844204}},
    // at32f403a_407_can.h btmg: RSAW 3, BTS2 3, BTS1 12, BRDIV 3.
    {"at32-can", 72000, 1000.0f, 4, 13, 4, 4, 0, 0, {0x033C0003}},
    // at32f435_437_can.h: BRDIV 1799 = 0x707 needs the 12-bit field's upper bits.
    {"at32f435-can", 144000, 5.0f, 1800, 13, 2, 2, 0, 0, {0x011C0707}},
    // CH32 CAN_BTIMR: BRP 7.
    {"ch32-can", 72000, 500.0f, 8, 13, 4, 4, 0, 0, {0x033C0007}},
    // APM32 BITTIM: RSYNJW 1, TIMSEG2 1, TIMSEG1 12, BRPSC 11.
    {"apm32-can", 48000, 250.0f, 12, 13, 2, 2, 0, 0, {0x011C000B}},
    // N32 CAN_BTIM: RSJW 1, TBS2 1, TBS1 12, BRTP 17.
    {"n32-can", 36000, 125.0f, 18, 13, 2, 2, 0, 0, {0x011C0011}},
    // RM0440 NBTP: NSJW 1, NBRP 9, NTSEG1 12, NTSEG2 1.
    {"fdcan", 80000, 500.0f, 10, 13, 2, 2, 0, 0, {0x02090C01}},
    {"mcan", 80000, 500.0f, 10, 13, 2, 2, 0, 0, {0x02090C01}},
    {"mcan-3.1", 80000, 500.0f, 10, 13, 2, 2, 0, 0, {0x02090C01}},
    // Linux m_can.c (2014) BTP: BRP 4 << 16, TSEG1 12 << 8, TSEG2 1 << 4, SJW 1.
    {"mcan-3.0", 40000, 500.0f, 5, 13, 2, 2, 0, 0, {0x00040C11}},
    // c_can.c: prescaler 150 - 1 = 0x95: BRP 0x15, BRPE 2.
    {"c_can", 24000, 10.0f, 150, 13, 2, 2, 0, 0, {0x1C55, 0x0002}},
    {"c_can", 24000, 500.0f, 3, 13, 2, 2, 0, 0, {0x1C42, 0x0000}},
    // The SJA1000 application note's 16 MHz / 500 kbit/s BTR1 0x1C; SJW 2 gives BTR0 0x40.
    {"sja1000", 16000, 500.0f, 2, 13, 2, 2, 0, 0, {0x40, 0x1C}},
    // flexcan-core.c CTRL1: PRESDIV 1, RJW 2, PSEG1 3, PSEG2 2, PROPSEG 3.
    {"flexcan", 24000, 1000.0f, 2, 8, 3, 3, 4, 4, {0x019A0003}},
    // flexcan_set_bittiming_cbt: phase1 35 above 32 gives 3 to prop (37 + 32); BTF set.
    {"flexcan-fd", 40000, 500.0f, 1, 69, 10, 10, 37, 32, {0x800993E9}},
    // UM10360 §16.7.4 (not checked against the manual): BRP 8, SJW 1, TESG1 12, TESG2 1.
    {"lpc", 18000, 125.0f, 9, 13, 2, 2, 0, 0, {0x001C4008}},
    // MCP2515 datasheet §5.3's example: 20 MHz, BRP 4 (TQ 500 ns), 16 TQ, PS2 6, "SJW could
    // be a maximum of 4". Linux's split gives PRSEG 4 + PHSEG1 5 for the datasheet's 2 + 7.
    {"mcp2515", 20000, 125.0f, 10, 9, 6, 4, 4, 5, {0xC4, 0xA3, 0x05}},
    // mcp251xfd.h CiNBTCFG: BRP 0, TSEG1 62, TSEG2 15, SJW 15.
    {"mcp2518fd", 40000, 500.0f, 1, 63, 16, 16, 0, 0, {0x003E0F0F}},
    // at91_can.c CAN_BR: BRP 9, SJW 3, PROPAG 6, PHASE1 7, PHASE2 3.
    {"at91", 100000, 500.0f, 10, 15, 4, 4, 7, 8, {0x00093673}},
    // ESP-IDF's 500 kbit/s: brp 8, tseg_1 15, tseg_2 4 (its macro's sjw 3; the widest is 4).
    {"esp32-twai", 80000, 500.0f, 8, 15, 4, 4, 0, 0, {0xC3, 0x3E}},
    // soc_caps.h 16384: divider 8000 stores 3999 = 0xF9F in BTR0[12:0].
    {"esp32s3-twai", 80000, 1.0f, 8000, 7, 2, 2, 0, 0, {0x4F9F, 0x16}},
    // soc_caps.h 32768: divider 32000 stores 15999 = 0x3E7F, beyond the S3's 13 bits.
    {"esp32s2-twai", 80000, 0.5f, 32000, 3, 1, 1, 0, 0, {0x3E7F, 0x02}},
    // ti_hecc.c CANBTC: BRP 1 << 16, SJW 2 << 8, TSEG1 7 << 3, TSEG2 2.
    {"ti-hecc", 24000, 1000.0f, 2, 8, 3, 3, 0, 0, {0x0001023A}},
    // rcar_can.c BCR: TSEG1 12 << 20, BRP 4 << 8, SJW 1 << 4, TSEG2 1.
    {"rcar-can", 40000, 500.0f, 5, 13, 2, 2, 0, 0, {0x00C00411}},
    // rcar_canfd.c Gen3 shifts: NTSEG2 15 << 24, NTSEG1 62 << 16, NSJW 15 << 11.
    {"rcar-canfd", 40000, 500.0f, 1, 63, 16, 16, 0, 0, {0x0F3E7800}},
    // Gen4 shifts: NTSEG2 15 << 25, NTSEG1 62 << 17, NSJW 15 << 10.
    {"rcar-canfd-gen4", 40000, 500.0f, 1, 63, 16, 16, 0, 0, {0x1E7C3C00}},
    // xilinx_can.c: BRPR 1; BTR SJW 2 << 7, TS2 2 << 4, TS1 7.
    {"xilinx-can", 24000, 1000.0f, 2, 8, 3, 3, 0, 0, {0x01, 0x127}},
    // CANFD 2.0 BTR: SJW 15 << 16, TS2 15 << 8, TS1 62.
    {"xilinx-canfd", 80000, 1000.0f, 1, 63, 16, 16, 0, 0, {0x00, 0x000F0F3E}},
    // XMCLib's NBTR positions: BRP 14, SJW 1 << 6, TSEG1 12 << 8, TSEG2 1 << 12.
    {"multican", 120000, 500.0f, 15, 13, 2, 2, 0, 0, {0x1C4E}},
    // pcan_usb_fd.c: 80 MHz, no registers.
    {"peak-canfd", 80000, 500.0f, 1, 139, 20, 20, 0, 0, {}},
    // gs_usb with candleLight's bxCAN firmware at 48 MHz, no registers.
    {"gs-usb", 48000, 500.0f, 6, 13, 2, 2, 0, 0, {}},
    // pcan_usb.c at 16 MHz (the kernel's 8 MHz): brp 1 is a prescaler of 2, 16 quanta.
    {"pcan-usb", 16000, 500.0f, 2, 13, 2, 2, 0, 0, {}},
    // pcan_usb_pro.c at 56 MHz: brp 7, 16 quanta.
    {"pcan-usb-pro", 56000, 500.0f, 7, 13, 2, 2, 0, 0, {}},
    // ems_usb.c at 16 MHz (the kernel's 8 MHz): brp 1 is a prescaler of 2, 16 quanta.
    {"ems-usb", 16000, 500.0f, 2, 13, 2, 2, 0, 0, {}},
    // esd_usb.c at the CAN-USB/2's 60 MHz: brp 8, 15 quanta.
    {"esd-usb2", 60000, 500.0f, 8, 12, 2, 2, 0, 0, {}},
    // kvaser_pciefd.c at an 80 MHz card clock: brp 1, 160 quanta (tseg1 to 512).
    {"kvaser-pciefd", 80000, 500.0f, 1, 139, 20, 16, 0, 0, {}},
    // es58x_fd.c at 80 MHz, 500 Kbps: brp 1, 160 quanta.
    {"es58x-fd", 80000, 500.0f, 1, 139, 20, 20, 0, 0, {}},
    // es581_4.c at 50 MHz: brp 10, 10 quanta (its tseg1 stops at 8).
    {"es581.4", 50000, 500.0f, 10, 7, 2, 2, 0, 0, {}},
    // usb_8dev.c at USB_8DEV_ABP_CLOCK 32 MHz: brp 4, 16 quanta, no registers.
    {"usb2can", 32000, 500.0f, 4, 13, 2, 2, 0, 0, {}},
    // f81604.c at 24 MHz: the kernel's brp 3 on 12 MHz is a prescaler of 6, 8 quanta.
    {"f81604", 24000, 500.0f, 6, 6, 1, 1, 0, 0, {}},
    // can_renesas_ra.c at 80 MHz: prescaler 1, 160 quanta, prop_seg fixed at 1 (phase_seg1 138).
    {"ra-canfd", 80000, 500.0f, 1, 139, 20, 20, 1, 138, {}},
    // cc770.c: BTR0 (brp - 1) | (sjw - 1) << 6, BTR1 (tseg1 - 1) | (tseg2 - 1) << 4 on SCLK
    // itself: 8 MHz, brp 1.
    {"cc770", 8000, 500.0f, 1, 13, 2, 2, 0, 0, {0x40, 0x1C}},
    // mscan.c at 32 MHz: BRP 3, SJW 1 << 6; TSEG1 12, TSEG2 1 << 4.
    {"mscan", 32000, 500.0f, 4, 13, 2, 2, 0, 0, {0x43, 0x1C}},
    // sun4ican_set_bittiming at 24 MHz: brp - 1 = 2, (sjw - 1) << 14, 12 << 16, 1 << 20.
    {"sun4i-can", 24000, 500.0f, 3, 13, 2, 2, 0, 0, {0x001C4002}},
    // rkcanfd_set_bittiming at 100 MHz: TSEG1 14, TSEG2 3 << 8, (10 / 2 - 1) << 16, 3 << 24.
    {"rk3568-can", 100000, 500.0f, 10, 15, 4, 4, 0, 0, {0x0304030E}},
    // ctucan_set_btr on the PCIe board's 100 MHz: PROP 42, PH1 42 << 7, PH2 15 << 13,
    // BRP 2 << 19, SJW 15 << 27, none less one.
    {"ctucanfd", 100000, 500.0f, 2, 84, 15, 15, 42, 42, {0x7811F52A}},
    // hi3110_do_set_bittiming at 16 MHz (the kernel's 8 MHz): brp 1, the SJA1000's bytes.
    {"hi3110", 16000, 500.0f, 2, 13, 2, 2, 0, 0, {0x40, 0x1C}},
    // grcan_set_bittiming at 40 MHz: RSJ 2 << 12, PS2 2 << 16, PS1 12 << 20, SCALER 4 << 24.
    {"grcan", 40000, 500.0f, 5, 13, 2, 2, 0, 0, {0x04C22000}},
    // ifi_canfd.c at 80 MHz: brp 10, 16 quanta (its brp starts at 2), no registers.
    {"ifi-canfd", 80000, 500.0f, 10, 13, 2, 2, 0, 0, {}},
    // kvaser_usb_leaf.c, USBcan II at 8 MHz: brp 1, 16 quanta (tseg1 from 4).
    {"kvaser-usbcan2", 8000, 500.0f, 1, 13, 2, 2, 0, 0, {}},
    // The M32C Leaf's 16 MHz: brp 2 (its brp steps by 2), 16 quanta.
    {"kvaser-leaf", 16000, 500.0f, 2, 13, 2, 2, 0, 0, {}},
    // The i.MX28 Leaf at 24 MHz: brp 3, 16 quanta.
    {"kvaser-leaf-imx", 24000, 500.0f, 3, 13, 2, 2, 0, 0, {}},
    // kvaser_usb_hydra.c KCAN at 80 MHz: brp 1, 160 quanta, SJW to 16.
    {"kvaser-hydra", 80000, 500.0f, 1, 139, 20, 16, 0, 0, {}},
    // esd_usb.c CAN-USB/3 at 80 MHz: brp 1, 160 quanta.
    {"esd-usb3", 80000, 500.0f, 1, 139, 20, 20, 0, 0, {}},
    // esd_402_pci-core.c at a 40 MHz core: brp 5, 16 quanta.
    {"esdacc", 40000, 500.0f, 5, 13, 2, 2, 0, 0, {}},
};

// The data phases worked by hand, with their TDC offsets.
struct WorkedData {
  const char* controller;
  int32_t clockKHz;
  float rate;
  int32_t prescaler, seg1, seg2, widestSjw;
  std::vector<uint32_t> registers;
  int32_t tdcOffset;
};
const WorkedData kWorkedData[] = {
    // The mcp251xfd TDC fix's example: 40 MHz, 4 Mbit/s, dprop 3 + dphase1 3, dphase2 3,
    // dbrp 1: "tdco 7". CiDBTCFG: TSEG1 5 << 16, TSEG2 2 << 8, SJW 2.
    {"mcp2518fd", 40000, 4000.0f, 1, 6, 3, 3, {0x00050202}, 7},
    // FDCBT: FRJW 3 << 16, FPROPSEG 7 << 10 (stored as it is), FPSEG1 6 << 5, FPSEG2 4;
    // TDCOFF = (1 + 14) x 1.
    {"flexcan-fd", 40000, 2000.0f, 1, 14, 5, 4, {0x00031CC4}, 15},
    {"rcar-canfd", 40000, 2000.0f, 1, 14, 5, 5, {0x044D0000}, 15},
    {"rcar-canfd-gen4", 40000, 2000.0f, 1, 14, 5, 5, {0x04040D00}, 15},
    {"xilinx-canfd", 80000, 5000.0f, 1, 11, 4, 4, {0x00, 0x0003030A}, 12},
    // Microchip's mcan.h (rev B) DBTP: DSJW 7 (three bits), DTSEG2 7 << 4, DTSEG1 30 << 8;
    // the widest SJW is DSJW's 8, where Bosch's DBTP would take seg2's 8 too.
    {"mcan-samv7", 40000, 1000.0f, 1, 31, 8, 8, {0x00001E77}, 32},
    // gd32e50x_can.h CAN_DBT: DSJW 3 << 24, DBS2 3 << 20, DBS1 9 << 16, DBAUDPSC 1; no TDC
    // offset given (how CAN_FDTDC.TDCO counts is not checked).
    {"gd32e50x-canfd", 60000, 2000.0f, 2, 10, 4, 4, {0x03390001}, -1},
    // gd32h7xx_can.h CAN_FDBT: DBAUDPSC 4 << 20, DSJW 1 << 16, DPTS 3 << 10 (as it is), DPBS1
    // 3 << 5, DPBS2 1.
    {"gd32h7-canfd", 100000, 2000.0f, 5, 7, 2, 2, {0x00410C61}, -1},
    // es58x_fd.c at 80 MHz, 2000 Kbps with brp 2: 20 quanta, seg1 14, seg2 5, SJW 5 (its
    // data SJW goes to 8); TDC offset 2 x (1 + 14) = 30 from the bit's start.
    {"es58x-fd", 80000, 2000.0f, 2, 14, 5, 5, {}, 30},
    // kvaser_pciefd.c's data phase, the nominal constants: 80 MHz, 5000 Kbps, brp 1, 16
    // quanta; no TDC offset given.
    {"kvaser-pciefd", 80000, 5000.0f, 1, 11, 4, 4, {}, -1},
    // ctucan_set_btr's BTR_FD at 100 MHz, 2000 Kbps: PROP_FD 18, PH1_FD 19 << 7, PH2_FD 12
    // << 13, BRP_FD 1 << 19, SJW_FD 12 << 27; the driver's SSP offset 100000 x 760 /
    // 2000000 = 38 is (1 + 37) x 1 from the bit's start.
    {"ctucanfd", 100000, 2000.0f, 1, 37, 12, 12, {0x60098992}, 38},
    // ifi_canfd_set_bittiming at 80 MHz, 4000 Kbps: TDELAY = brp 1 x (prop + phase1) 15.
    {"ifi-canfd", 80000, 4000.0f, 1, 15, 4, 4, {}, 15},
    // esd_usb.c CAN-USB/3 at 80 MHz, 2000 Kbps: its MCAN's offset from the bit's start,
    // (1 + 29) x 1, which the firmware's automatic TDC sets.
    {"esd-usb3", 80000, 2000.0f, 1, 29, 10, 8, {}, 30},
    // A data prescaler of 3: no TDC (ISO 11898-1 §11.3.3).
    {"mcan", 60000, 2000.0f, 3, 6, 3, 3, {0x00020522}, -1},
};

struct Row {
  int32_t prescaler, seg1, seg2;
  bool operator==(const Row& other) const {
    return prescaler == other.prescaler && seg1 == other.seg1 && seg2 == other.seg2;
  }
};

std::vector<TimingCandidate> Listing(const PhaseSearch& phase) {
  std::vector<TimingCandidate> rows;
  SearchRows(phase)([&](const TimingCandidate& record) {
    rows.push_back(record);
    return true;
  });
  return rows;
}

Request RequestFor(const ControllerEntry& entry, int32_t clockKHz, float rate, int32_t tolerance, float minSample) {
  Request request;
  request.controller = &entry;
  request.clockKHz = clockKHz;
  request.targetRate = rate;
  request.toleranceHundredths = tolerance * 100;
  request.minSamplePoint = minSample;
  request.dataPhase = entry.fd;
  request.dataRate = rate * 4;
  request.dataToleranceHundredths = tolerance * 100;
  request.dataMinSamplePoint = minSample;
  return request;
}

}  // namespace

// Every entry is found by its name, which no other entry has, and says where its
// numbers come from. (docs/controllers.md's sections, checked against the table in
// register_table_test.cpp, make a lost or added entry fail there.)
TEST(Controllers, TableHasEveryEntryOnce) {
  std::set<std::string> names;
  for (int32_t k = 0; k < ControllerCount(); ++k) {
    const ControllerEntry& entry = ControllerAt(k);
    EXPECT_TRUE(names.insert(entry.name).second) << entry.name;
    EXPECT_EQ(FindController(entry.name), &entry) << entry.name;
    EXPECT_STRNE(entry.source, "") << entry.name;
  }
  EXPECT_GE(ControllerCount(), 24);
  EXPECT_EQ(FindController("custom"), nullptr);
  EXPECT_NE(std::strstr(FindController("c_can")->chips, "LPC11C"), nullptr);
  EXPECT_EQ(FindController("peak-canfd")->fixedClockKHz, 80000);
}

// A vendor's entries stand together: the list reads by vendor, and the page's selector,
// one group per vendor in the table's order, shows them in the table's order.
TEST(Controllers, AVendorsEntriesStandTogether) {
  std::set<std::string> closed;  // vendors whose run of entries has ended
  for (int32_t k = 1; k < ControllerCount(); ++k) {
    const std::string before = ControllerAt(k - 1).vendor, vendor = ControllerAt(k).vendor;
    if (vendor == before) continue;
    closed.insert(before);
    EXPECT_EQ(closed.count(vendor), 0u) << ControllerAt(k).name << " stands apart from the other " << vendor;
  }
}

// The traits: one default entry, found by its trait; every entry but bxCAN and FDCAN
// in the plain form; an older form has one register a phase (the one its rows show);
// an advised TDC counts seg1 quanta, as ST's advice does.
TEST(Controllers, TraitsAreTheOnlyWayAnEntryLooksOlder) {
  int defaults = 0;
  std::vector<std::string> older;
  for (int32_t k = 0; k < ControllerCount(); ++k) {
    const ControllerEntry& entry = ControllerAt(k);
    defaults += entry.traits.isDefault ? 1 : 0;
    if (entry.traits.olderForm) {
      older.push_back(entry.name);
      EXPECT_EQ(entry.nominal.registerCount, 1) << entry.name;
      if (entry.fd) EXPECT_EQ(entry.data.registerCount, 1) << entry.name;
    }
    if (entry.tdc.advised) EXPECT_EQ(entry.tdc.count, TdcCount::kSeg1Quanta) << entry.name;
    if (entry.traits.segmentNames == SegmentNaming::kLibraryConstants) EXPECT_FALSE(entry.fd) << entry.name;
  }
  EXPECT_EQ(defaults, 1);
  EXPECT_STREQ(DefaultController().name, "bxcan");
  EXPECT_EQ(older, (std::vector<std::string>{"bxcan", "fdcan"}));
  // A custom: entry takes the plain traits.
  ControllerEntry custom{};
  ASSERT_EQ(ParseCustomController("custom:seg1=1-16,seg2=1-8,sjw=4,prescaler=1-64", custom).problem, CustomProblem::kNone);
  EXPECT_FALSE(custom.traits.isDefault);
  EXPECT_FALSE(custom.traits.olderForm);
  EXPECT_EQ(custom.traits.sjwByDefault, SjwByDefault::kWidest);
}

// Every fact a face needs is in the entry itself: a missing one fails here rather than
// make the controller look "custom" or write a form it cannot fill. Each table entry
// and a custom: one.
TEST(Controllers, EveryEntryHasTheFactsItsFormsNeed) {
  std::vector<ControllerEntry> entries;
  for (int32_t k = 0; k < ControllerCount(); ++k) entries.push_back(ControllerAt(k));
  ControllerEntry custom{};
  ASSERT_EQ(ParseCustomController("custom:seg1=1-16,seg2=1-8,sjw=4,prescaler=2-128/2", custom).problem,
            CustomProblem::kNone);
  entries.push_back(custom);
  for (const ControllerEntry& entry : entries) {
    const CodeFacts& code = entry.code;
    const auto has = [&](OutputFormat format) { return (code.forms & FormBit(format)) != 0; };
    // Only code forms are listed; python-can describes any setting.
    for (const FormatRow& row : kFormats)
      if (!row.code) EXPECT_FALSE(has(row.format)) << entry.name << " " << row.name;
    EXPECT_TRUE(has(OutputFormat::kPythonCan)) << entry.name;
    // The kernel's, Zephyr's and python-can's clock: a whole divisor of every prescaler.
    ASSERT_GE(code.coreClockDivisor, 1) << entry.name;
    EXPECT_EQ(entry.nominal.prescalerStep % code.coreClockDivisor, 0) << entry.name;
    // The registers form exactly where there are registers, and a spelling for them.
    const bool registers = entry.nominal.registerCount > 0 && (!entry.fd || entry.data.registerCount > 0);
    EXPECT_EQ(has(OutputFormat::kRegisters), registers) << entry.name;
    if (registers) EXPECT_NE(code.spelling.prefix, nullptr) << entry.name;
    // The vendor's library exactly with the sdk form, its modes set by flag fields of
    // the entry's register.
    EXPECT_EQ(has(OutputFormat::kSdk), code.library != nullptr) << entry.name;
    if (code.library != nullptr) {
      ASSERT_EQ(entry.nominal.registerCount, 1) << entry.name;
      const Register& reg = *entry.nominal.registers[0];
      for (const char* flag : {code.library->loopBackFlag, code.library->silentFlag}) {
        bool found = false;
        for (int i = 0; i < reg.fieldCount; ++i)
          found = found || (reg.fields[i].role == FieldRole::kFlag && std::strcmp(reg.fields[i].name, flag) == 0);
        EXPECT_TRUE(found) << entry.name << " " << flag;
      }
    }
    // A Zephyr driver note exactly with the zephyr form.
    EXPECT_EQ(has(OutputFormat::kZephyr), code.zephyrDriver != nullptr) << entry.name;
    EXPECT_TRUE(code.linuxSeg1First == 0 || (has(OutputFormat::kLinux) && code.linuxSeg1First > entry.nominal.seg1.first &&
                                             code.linuxSeg1First <= entry.nominal.seg1.last))
        << entry.name;
    // ST's libraries write one register's fields by the older form's dialect; SPL's
    // constants are the library's names; ESP-IDF's brp counts the halved clock.
    if (has(OutputFormat::kHal)) EXPECT_TRUE(entry.traits.olderForm) << entry.name;
    if (has(OutputFormat::kSpl))
      EXPECT_EQ(entry.traits.segmentNames, SegmentNaming::kLibraryConstants) << entry.name;
    if (has(OutputFormat::kEspIdf)) EXPECT_EQ(code.coreClockDivisor, 2) << entry.name;
  }
}

// The SJW a row takes without --sjw, by each trait.
TEST(Controllers, DefaultSjwByTrait) {
  const TimingCandidate record{12, 1, 4, 0.8f, 0.0f, 500.0f};  // seg1 13, seg2 2
  EXPECT_EQ(DefaultSjw(*FindController("bxcan"), FindController("bxcan")->nominal, record), 2);
  EXPECT_EQ(DefaultSjw(*FindController("fdcan"), FindController("fdcan")->nominal, record), 2);
  EXPECT_EQ(DefaultSjw(*FindController("mcp2515"), FindController("mcp2515")->nominal, record), 1);  // below seg2
  const TimingCandidate wide{39, 19, 1, 0.8f, 0.0f, 500.0f};  // seg1 40, seg2 20
  EXPECT_EQ(DefaultSjw(*FindController("fdcan"), FindController("fdcan")->data, TimingCandidate{31, 15, 1, 0.8f, 0, 0}), 16);
  EXPECT_EQ(DefaultSjw(*FindController("mcan"), FindController("mcan")->nominal, wide), 20);
}

TEST(Controllers, WorkedByHand) {
  SetFloatEnvironment();
  for (const Worked& c : kWorked) {
    const ControllerEntry& entry = *FindController(c.controller);
    const PhaseLimits& limits = entry.nominal;
    EXPECT_EQ(WidestSjw(limits, c.seg1, c.seg2), c.widestSjw) << c.controller;
    const BitTimingLengths lengths =
        ControllerLengths(limits, TimingCandidate{c.seg1 - 1, c.seg2 - 1, c.prescaler, 0, 0, 0}, c.widestSjw);
    EXPECT_EQ(lengths.prop, c.prop) << c.controller;
    EXPECT_EQ(lengths.phase1, c.phase1) << c.controller;
    ASSERT_EQ(limits.registerCount, static_cast<int32_t>(c.registers.size())) << c.controller;
    uint32_t values[kMaxPhaseRegisters] = {};
    EncodePhaseRegisters(limits, lengths, values);
    for (std::size_t i = 0; i < c.registers.size(); ++i)
      EXPECT_EQ(values[i], c.registers[i]) << c.controller << " " << limits.registers[i]->name;
    // The listing at the request holds the setting.
    const Request request = RequestFor(entry, c.clockKHz, c.rate, 0, 0.0f);
    const std::vector<TimingCandidate> rows = Listing(ControllerPhase(request, entry, Phase::kNominal));
    bool found = false;
    for (const TimingCandidate& r : rows)
      found = found || (r.prescaler == c.prescaler && r.bs1Code + 1 == c.seg1 && r.bs2Code + 1 == c.seg2);
    EXPECT_TRUE(found) << c.controller;
  }
}

TEST(Controllers, DataPhasesWorkedByHand) {
  for (const WorkedData& c : kWorkedData) {
    const ControllerEntry& entry = *FindController(c.controller);
    ASSERT_TRUE(entry.fd) << c.controller;
    EXPECT_EQ(WidestSjw(entry.data, c.seg1, c.seg2), c.widestSjw) << c.controller;
    const BitTimingLengths lengths =
        ControllerLengths(entry.data, TimingCandidate{c.seg1 - 1, c.seg2 - 1, c.prescaler, 0, 0, 0}, c.widestSjw);
    uint32_t values[kMaxPhaseRegisters] = {};
    EncodePhaseRegisters(entry.data, lengths, values);
    ASSERT_EQ(entry.data.registerCount, static_cast<int32_t>(c.registers.size())) << c.controller;
    for (std::size_t i = 0; i < c.registers.size(); ++i) EXPECT_EQ(values[i], c.registers[i]) << c.controller;
    EXPECT_EQ(TdcOffsetOf(entry, lengths), c.tdcOffset) << c.controller;
  }
}

// The SAM E70/S70/V70/V71 rev B and SAMA5D2 MCAN: Bosch's M_CAN with a three-bit data
// SJW (mcan.h MCAN_DBTP_DSJW_Msk (0x7u << 0)) and data seg1 from 2 (es58x_fd.c), an entry
// of its own; mcan no longer names the chips.
TEST(Controllers, SamRevBMcanHasItsOwnDataLimits) {
  const ControllerEntry& samv7 = *FindController("mcan-samv7");
  const ControllerEntry& mcan = *FindController("mcan");
  EXPECT_EQ(std::strstr(mcan.chips, "V7"), nullptr);
  EXPECT_NE(std::strstr(samv7.chips, "V70/V71"), nullptr);
  EXPECT_NE(std::strstr(samv7.chips, "SAMA5D2"), nullptr);
  EXPECT_EQ(WidestSjw(samv7.data, 31, 10), 8);
  EXPECT_EQ(WidestSjw(mcan.data, 31, 10), 10);
  EXPECT_EQ(FitOfSetting(PhaseQuestion{&samv7.data, 0}, 1, 1, 4), SettingFit::kSeg1);
  EXPECT_EQ(FitOfSetting(PhaseQuestion{&mcan.data, 0}, 1, 1, 4), SettingFit::kFits);
  EXPECT_EQ(FitOfSetting(PhaseQuestion{&samv7.data, 9}, 1, 31, 10), SettingFit::kSjw);
  // DSJW's bit 3 is reserved: a DBTP with it set does not decode as a setting.
  EXPECT_EQ(ReservedBits(*samv7.data.registers[0]) & 0x8u, 0x8u);
  EXPECT_EQ(ReservedBits(*mcan.data.registers[0]) & 0x8u, 0u);
}

// The datasheet's own CNF values read back to its setting: PRSEG 2, PHSEG1 7.
TEST(Controllers, Mcp2515DatasheetValuesDecode) {
  const PhaseLimits& limits = FindController("mcp2515")->nominal;
  const uint32_t values[] = {0xC4, 0xB1, 0x05};
  const BitTimingLengths lengths = DecodeRegisterSet(values, limits.registers, limits.registerCount);
  EXPECT_EQ(lengths.prescaler, 10);
  EXPECT_EQ(lengths.prop, 2);
  EXPECT_EQ(lengths.phase1, 7);
  EXPECT_EQ(lengths.seg1, 9);
  EXPECT_EQ(lengths.seg2, 6);
  EXPECT_EQ(lengths.sjw, 4);
}

// The MCP2515's rules, one pair each: seg1 >= seg2, SJW < seg2.
TEST(Controllers, Mcp2515Rules) {
  const PhaseLimits& limits = FindController("mcp2515")->nominal;
  EXPECT_EQ(WidestSjw(limits, 2, 2), 1);  // SJW below PS2 = 2
  EXPECT_EQ(WidestSjw(limits, 3, 4), 0);  // PRSEG + PS1 < PS2
  EXPECT_EQ(WidestSjw(limits, 4, 4), 2);  // phase1 2 (prop 2) caps it
  EXPECT_EQ(WidestSjw(limits, 16, 8), 4);
}

// MultiCAN's minimums, from XMCLib ("TSeg1 >= 3 Tq, TSeg2 >= 2 Tq, Bit Time >= 8 Tq")
// and Zephyr's can_xmc4xxx.c (phase_seg1 from 3, phase_seg2 from 2): the shortest
// segments alone make a bit of 6 quanta, which the bit's rule leaves out.
TEST(Controllers, MulticanMinimums) {
  const PhaseLimits& limits = FindController("multican")->nominal;
  EXPECT_EQ(limits.seg1.first, 3);
  EXPECT_EQ(limits.seg2.first, 2);
  EXPECT_EQ(WidestSjw(limits, 4, 2), 0);  // 7 quanta
  EXPECT_EQ(WidestSjw(limits, 3, 3), 0);  // 7 quanta
  EXPECT_EQ(WidestSjw(limits, 5, 2), 2);  // 8 quanta
  EXPECT_EQ(WidestSjw(limits, 3, 4), 3);  // 8 quanta, SJW at most seg1
  const PhaseQuestion question{&limits, 0};
  EXPECT_EQ(FitOfSetting(question, 1, 2, 5), SettingFit::kSeg1);
  EXPECT_EQ(FitOfSetting(question, 1, 6, 1), SettingFit::kSeg2);
  EXPECT_EQ(FitOfSetting(question, 1, 4, 2), SettingFit::kRules);
  EXPECT_EQ(FitOfSetting(question, 1, 5, 2), SettingFit::kFits);
  // 16 MHz at 2000 Kbps would be 8 quanta of one period: 1 + 5 + 2 is listed, and no
  // shorter bit at a faster rate is.
  SetFloatEnvironment();
  const ControllerEntry& entry = *FindController("multican");
  for (const float rate : {2000.0f, 2285.71f, 2666.67f}) {
    const Request request = RequestFor(entry, 16000, rate, 1, 0.0f);
    for (const TimingCandidate& r : Listing(ControllerPhase(request, entry, Phase::kNominal)))
      EXPECT_GE(1 + (r.bs1Code + 1) + (r.bs2Code + 1), 8) << rate;
  }
}

// Every listed row of a few requests: within the limits and rules, its registers free
// of reserved bits, holding their fixed fields, and decoding back to the row.
TEST(Controllers, ListedRowsDecodeBackWithinLimits) {
  SetFloatEnvironment();
  const struct {
    int32_t clockKHz;
    float rate;
    int32_t tolerance;
  } requests[] = {{16000, 500.0f, 0}, {20000, 125.0f, 1}, {40000, 1000.0f, 0}, {80000, 250.0f, 2}};
  for (int32_t k = 0; k < ControllerCount(); ++k) {
    const ControllerEntry& entry = ControllerAt(k);
    for (const auto& q : requests) {
      const Request request = RequestFor(entry, q.clockKHz, q.rate, q.tolerance, 0.5f);
      for (Phase phase : {Phase::kNominal, Phase::kData}) {
        if (phase == Phase::kData && !entry.fd) continue;
        const PhaseSearch search = ControllerPhase(request, entry, phase);
        const PhaseLimits& limits = phase == Phase::kData ? entry.data : entry.nominal;
        for (const TimingCandidate& r : Listing(search)) {
          const BitTimingLengths row = RowLengths(r, search.options);
          EXPECT_GE(row.prescaler, limits.prescaler.first) << entry.name;
          EXPECT_LE(row.prescaler, limits.prescaler.last) << entry.name;
          EXPECT_EQ((row.prescaler - limits.prescaler.first) % limits.prescalerStep, 0) << entry.name;
          EXPECT_TRUE(row.seg1 >= limits.seg1.first && row.seg1 <= limits.seg1.last) << entry.name;
          EXPECT_TRUE(row.seg2 >= limits.seg2.first && row.seg2 <= limits.seg2.last) << entry.name;
          EXPECT_TRUE(row.sjw >= 1 && row.sjw <= limits.sjw.last && row.sjw <= row.seg2) << entry.name;
          if ((limits.rules & kRuleSjwBelowSeg2) != 0) EXPECT_LT(row.sjw, row.seg2) << entry.name;
          if ((limits.rules & kRuleSeg1AtLeastSeg2) != 0) EXPECT_GE(row.seg1, row.seg2) << entry.name;
          if ((limits.rules & kRuleBitAtLeast8Quanta) != 0) EXPECT_GE(1 + row.seg1 + row.seg2, 8) << entry.name;
          if ((limits.rules & kRuleSeg1AboveSeg2PlusOne) != 0) EXPECT_GT(row.seg1 - 1, row.seg2) << entry.name;
          if (limits.prop.first <= limits.prop.last) {
            EXPECT_EQ(row.prop + row.phase1, row.seg1) << entry.name;
            EXPECT_LE(row.sjw, row.phase1) << entry.name;
          }
          if (limits.registerCount == 0) continue;
          uint32_t values[kMaxPhaseRegisters] = {};
          ASSERT_EQ(RowRegisters(r, search.options, values), limits.registerCount);
          for (int32_t i = 0; i < limits.registerCount; ++i) {
            EXPECT_EQ(values[i] & ReservedBits(*limits.registers[i]), 0u) << entry.name;
            const uint32_t fixed = FixedBits(*limits.registers[i]);
            EXPECT_EQ(values[i] & fixed, fixed) << entry.name;
          }
          const BitTimingLengths back = DecodeRegisterSet(values, limits.registers, limits.registerCount);
          EXPECT_EQ(back.prescaler, row.prescaler) << entry.name;
          EXPECT_EQ(back.seg1, row.seg1) << entry.name;
          EXPECT_EQ(back.seg2, row.seg2) << entry.name;
          EXPECT_EQ(back.sjw, row.sjw) << entry.name;
          EXPECT_EQ(back.prop, row.prop) << entry.name;
          EXPECT_EQ(back.phase1, row.phase1) << entry.name;
        }
      }
    }
  }
}

namespace {

// The plain loop: every setting of the limits, written out here, each put to the
// search alone with no filter (the rate and sample-point test is ListSettings' own,
// checked against a plain search elsewhere).
bool Accepted(int32_t clockKHz, float rate, int32_t tolerance, float minSample, int32_t p, int32_t s1, int32_t s2) {
  const TimingRanges one{{p, p}, {s1, s1}, {s2, s2}, {1, 1}, 1, PairFilter{}};
  const TimingRequest question{clockKHz, rate, tolerance * 100, minSample, 1};
  bool any = false;
  auto take = [](void* context, const TimingCandidate*, int32_t) { return *static_cast<bool*>(context) = true; };
  ListSettings(one, question, PrescalerScan::kEvery, TimingSink{take, &any});
  return any;
}

// The split and rules written plainly from the controllers' documents: Linux's split
// moved into the fields, SJW at most phase 1 (seg1 unsplit) and seg2, MCP2515's rules,
// MultiCAN's bit of at least 8 quanta.
bool PlainFits(const PhaseLimits& l, int32_t s1, int32_t s2) {
  int32_t sjw = l.sjw.last < s2 ? l.sjw.last : s2;
  if (l.prop.first <= l.prop.last) {
    int32_t prop = s1 / 2;
    int32_t phase1 = s1 - prop;
    while (phase1 > l.phase1.last) --phase1, ++prop;
    while (prop > l.prop.last) --prop, ++phase1;
    while (prop < l.prop.first) ++prop, --phase1;
    while (phase1 < l.phase1.first) ++phase1, --prop;
    if (prop < l.prop.first || prop > l.prop.last || phase1 < l.phase1.first || phase1 > l.phase1.last) return false;
    if (sjw > phase1) sjw = phase1;
  } else if (sjw > s1) {
    sjw = s1;
  }
  if ((l.rules & kRuleSeg1AtLeastSeg2) != 0 && s1 < s2) return false;
  if ((l.rules & kRuleBitAtLeast8Quanta) != 0 && 1 + s1 + s2 < 8) return false;
  if ((l.rules & kRuleSeg1AboveSeg2PlusOne) != 0 && s1 - 1 <= s2) return false;
  if ((l.rules & kRuleSjwBelowSeg2) != 0 && sjw >= s2) sjw = s2 - 1;
  return sjw >= 1;
}

}  // namespace

TEST(Controllers, ListingEqualsPlainLoopOverLimits) {
  SetFloatEnvironment();
  const struct {
    int32_t clockKHz;
    float rate;
    int32_t tolerance;
  } requests[] = {{16000, 500.0f, 0}, {20000, 125.0f, 1}};
  for (int32_t k = 0; k < ControllerCount(); ++k) {
    const ControllerEntry& entry = ControllerAt(k);
    const PhaseLimits& l = entry.nominal;
    // The widest segments make a plain loop slow: the FD controllers' nominal phases
    // are tried at one rate only.
    for (const auto& q : requests) {
      if (entry.fd && q.rate != 500.0f) continue;
      const Request request = RequestFor(entry, q.clockKHz, q.rate, q.tolerance, 0.0f);
      std::vector<Row> listed;
      for (const TimingCandidate& r : Listing(ControllerPhase(request, entry, Phase::kNominal)))
        listed.push_back(Row{r.prescaler, r.bs1Code + 1, r.bs2Code + 1});
      std::vector<Row> plain;
      for (int32_t s2 = l.seg2.first; s2 <= l.seg2.last; ++s2)
        for (int32_t s1 = l.seg1.first; s1 <= l.seg1.last; ++s1) {
          if (!PlainFits(l, s1, s2)) continue;
          // Only dividers that can give the rate within 2%, to keep the loop short.
          const double perBit = static_cast<double>(q.clockKHz) / (1 + s1 + s2) / q.rate;
          for (int32_t p = l.prescaler.first; p <= l.prescaler.last; p += l.prescalerStep) {
            if (p < perBit * 0.95 || p > perBit * 1.05) continue;
            if (Accepted(q.clockKHz, q.rate, q.tolerance, 0.0f, p, s1, s2)) plain.push_back(Row{p, s1, s2});
          }
        }
      EXPECT_TRUE(listed == plain) << entry.name << " " << q.clockKHz << " " << listed.size() << " " << plain.size();
    }
  }
}

TEST(Controllers, CustomParses) {
  ControllerEntry entry{};
  const char* text = "custom:seg1=1-16,seg2=1-8,sjw=4,prescaler=2-128/2";
  ASSERT_EQ(ParseCustomController(text, entry).problem, CustomProblem::kNone);
  EXPECT_EQ(entry.name, text);
  EXPECT_EQ(entry.nominal.seg1.first, 1);
  EXPECT_EQ(entry.nominal.seg1.last, 16);
  EXPECT_EQ(entry.nominal.seg2.last, 8);
  EXPECT_EQ(entry.nominal.sjw.first, 1);
  EXPECT_EQ(entry.nominal.sjw.last, 4);
  EXPECT_EQ(entry.nominal.prescaler.first, 2);
  EXPECT_EQ(entry.nominal.prescaler.last, 128);
  EXPECT_EQ(entry.nominal.prescalerStep, 2);
  EXPECT_EQ(entry.nominal.registerCount, 0);
  // The last prescaler is rounded down onto the grid.
  ASSERT_EQ(ParseCustomController("custom:seg1=4,seg2=2-8,sjw=1-2,prescaler=3-100/4", entry).problem,
            CustomProblem::kNone);
  EXPECT_EQ(entry.nominal.prescaler.last, 99);
  EXPECT_EQ(entry.nominal.seg1.first, 4);
  EXPECT_EQ(entry.nominal.seg1.last, 4);
}

TEST(Controllers, CustomRefusalsNameThePart) {
  const struct {
    const char* text;
    CustomProblem problem;
    const char* part;
  } cases[] = {
      {"custom:seg1=,seg2=1-8,sjw=4,prescaler=1-64", CustomProblem::kEmptyRange, "seg1="},
      {"custom:seg1=1-16,,seg2=1-8,sjw=4,prescaler=1-64", CustomProblem::kEmptyRange, ""},
      {"custom:seg1=1-16,seg2=1-x,sjw=4,prescaler=1-64", CustomProblem::kMalformedRange, "seg2=1-x"},
      {"custom:seg1=1-16,seg2=8-1,sjw=4,prescaler=1-64", CustomProblem::kMinAboveMax, "seg2=8-1"},
      {"custom:seg1=1-16,seg2=1-8,sjw=4,prescaler=2-128/0", CustomProblem::kZeroStep, "prescaler=2-128/0"},
      {"custom:seg1=1-16/2,seg2=1-8,sjw=4,prescaler=1-64", CustomProblem::kStepNotPrescaler, "seg1=1-16/2"},
      {"custom:seg1=1-16,seg2=1-8,sjw=4,prescaler=1-64,tq=5", CustomProblem::kUnknownKey, "tq=5"},
      {"custom:seg1=1-16,seg1=1-8,sjw=4,prescaler=1-64", CustomProblem::kRepeatedKey, "seg1=1-8"},
      {"custom:seg1=1-16,seg2=1-8,prescaler=1-64", CustomProblem::kMissingKey, "sjw"},
      {"custom:seg1=0-16,seg2=1-8,sjw=4,prescaler=1-64", CustomProblem::kBelowOne, "seg1=0-16"},
      {"custom:seg1=1-2000,seg2=1-8,sjw=4,prescaler=1-64", CustomProblem::kTooLarge, "seg1=1-2000"},
      {"custom:", CustomProblem::kEmptyRange, ""},
  };
  for (const auto& c : cases) {
    ControllerEntry entry{};
    entry.name = "untouched";
    const CustomParse parse = ParseCustomController(c.text, entry);
    EXPECT_EQ(parse.problem, c.problem) << c.text;
    EXPECT_EQ(std::string(parse.part, static_cast<std::size_t>(parse.partLength)), c.part) << c.text;
    EXPECT_STREQ(entry.name, "untouched") << c.text;
  }
}

// A fixed setting (a plan's setting=) is checked by FitOfSetting, which reads the
// search's own ranges and filter: it agrees with the limits and the plain rules above
// on every seg1/seg2 pair of every phase, one past each edge included, and on the
// prescalers at the edges of the range and its step.
TEST(Controllers, FitOfSettingAgreesWithThePlainRules) {
  for (int32_t k = 0; k < ControllerCount(); ++k) {
    const ControllerEntry& entry = ControllerAt(k);
    for (const bool data : {false, true}) {
      if (data && !entry.fd) continue;
      const PhaseLimits& l = PhaseLimitsOf(entry, data);
      const PhaseQuestion question{&l, 0};
      const int32_t step = l.prescalerStep;
      const int32_t prescalers[] = {l.prescaler.first - 1, l.prescaler.first, l.prescaler.first + 1,
                                    l.prescaler.first + step, l.prescaler.last, l.prescaler.last + 1};
      for (const int32_t p : prescalers) {
        const bool prescalerFits = p >= l.prescaler.first && p <= l.prescaler.last && (p - l.prescaler.first) % step == 0;
        for (int32_t s2 = l.seg2.first - 1; s2 <= l.seg2.last + 1; ++s2) {
          for (int32_t s1 = l.seg1.first - 1; s1 <= l.seg1.last + 1; ++s1) {
            const SettingFit expected = !prescalerFits                              ? SettingFit::kPrescaler
                                        : s1 < l.seg1.first || s1 > l.seg1.last   ? SettingFit::kSeg1
                                        : s2 < l.seg2.first || s2 > l.seg2.last   ? SettingFit::kSeg2
                                        : PlainFits(l, s1, s2)                    ? SettingFit::kFits
                                                                                  : SettingFit::kRules;
            const SettingFit fit = FitOfSetting(question, p, s1, s2);
            if (fit != expected) {
              ADD_FAILURE() << entry.name << (data ? " data " : " ") << p << "/" << s1 << "/" << s2;
              return;
            }
          }
        }
      }
    }
  }
  // The SJW asked for: bxCAN's seg2 of 1 keeps the rules but takes no SJW of 2.
  const PhaseLimits& bxcan = FindController("bxcan")->nominal;
  EXPECT_EQ(FitOfSetting(PhaseQuestion{&bxcan, 2}, 6, 11, 1), SettingFit::kSjw);
  EXPECT_EQ(FitOfSetting(PhaseQuestion{&bxcan, 2}, 6, 11, 2), SettingFit::kFits);
  // The MCP2515's SJW stays below seg2: seg2 2 takes SJW 1 only.
  const PhaseLimits& mcp2515 = FindController("mcp2515")->nominal;
  EXPECT_EQ(FitOfSetting(PhaseQuestion{&mcp2515, 2}, 2, 13, 2), SettingFit::kSjw);
  EXPECT_EQ(FitOfSetting(PhaseQuestion{&mcp2515, 1}, 2, 13, 2), SettingFit::kFits);
}
