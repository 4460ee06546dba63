// The controller table. Each entry cites where its numbers come from: a Linux driver
// constant (struct can_bittiming_const: tseg1 = seg1, tseg2 = seg2, brp = prescaler in
// the kernel's clock), a vendor document, or "not checked against the manual" where a
// number has not yet been read in one.
#include "calc/controllers.h"

#include "calc/registers.h"
#include "calc/fdcan_timing.h"

#include <cstring>

namespace {

#define QUILLMERE_REGISTERS(id, ...) inline constexpr const Register* id[] = {__VA_ARGS__}
#define QUILLMERE_COUNT(id) static_cast<int32_t>(sizeof id / sizeof id[0])

QUILLMERE_REGISTERS(kBxCanRegs, &kCanBtr);
QUILLMERE_REGISTERS(kNbtpRegs, &kNbtp);
QUILLMERE_REGISTERS(kDbtpRegs, &kDbtp);
QUILLMERE_REGISTERS(kSamRevBDbtpRegs, &kSamRevBDbtp);
QUILLMERE_REGISTERS(kMcan30Nominal, &kMcan30Btp);
QUILLMERE_REGISTERS(kMcan30Data, &kMcan30Fbtp);
QUILLMERE_REGISTERS(kCcanRegs, &kCcanBtr, &kCcanBrpr);
QUILLMERE_REGISTERS(kSja1000Regs, &kSja1000Btr0, &kSja1000Btr1);
QUILLMERE_REGISTERS(kFlexcanRegs, &kFlexcanCtrl1);
QUILLMERE_REGISTERS(kFlexcanFdNominal, &kFlexcanCbt);
QUILLMERE_REGISTERS(kFlexcanFdData, &kFlexcanFdcbt);
QUILLMERE_REGISTERS(kLpcRegs, &kLpcBtr);
QUILLMERE_REGISTERS(kMcp2515Regs, &kMcp2515Cnf1, &kMcp2515Cnf2, &kMcp2515Cnf3);
QUILLMERE_REGISTERS(kMcp2518Nominal, &kMcp2518Nbtcfg);
QUILLMERE_REGISTERS(kMcp2518Data, &kMcp2518Dbtcfg);
QUILLMERE_REGISTERS(kAt91Regs, &kAt91Br);
QUILLMERE_REGISTERS(kEsp32Regs, &kEsp32Btr0, &kEsp32Btr1);
QUILLMERE_REGISTERS(kEsp32s3Regs, &kEsp32s3Btr0, &kEsp32Btr1);
QUILLMERE_REGISTERS(kEsp32s2Regs, &kEsp32s2Btr0, &kEsp32Btr1);
QUILLMERE_REGISTERS(kHeccRegs, &kHeccCanbtc);
QUILLMERE_REGISTERS(kRcarRegs, &kRcarBcr);
QUILLMERE_REGISTERS(kRcarfdGen3Nominal, &kRcarfdGen3Ncfg);
QUILLMERE_REGISTERS(kRcarfdGen3Data, &kRcarfdGen3Dcfg);
QUILLMERE_REGISTERS(kRcarfdGen4Nominal, &kRcarfdGen4Ncfg);
QUILLMERE_REGISTERS(kRcarfdGen4Data, &kRcarfdGen4Dcfg);
QUILLMERE_REGISTERS(kXcanRegs, &kXcanBrpr, &kXcanBtr);
QUILLMERE_REGISTERS(kXcanfdNominal, &kXcanBrpr, &kXcanfdBtr);
QUILLMERE_REGISTERS(kXcanfdData, &kXcanfdFbrpr, &kXcanfdFbtr);
QUILLMERE_REGISTERS(kMulticanRegs, &kMulticanNbtr);
QUILLMERE_REGISTERS(kGd32Regs, &kGd32CanBt);
QUILLMERE_REGISTERS(kGd32FdNominal, &kGd32FdCanBt);
QUILLMERE_REGISTERS(kGd32FdData, &kGd32FdCanDbt);
QUILLMERE_REGISTERS(kGd32h7Nominal, &kGd32h7CanBt);
QUILLMERE_REGISTERS(kGd32h7Data, &kGd32h7CanFdbt);
QUILLMERE_REGISTERS(kAt32Regs, &kAt32CanBtmg);
QUILLMERE_REGISTERS(kCh32Regs, &kCh32CanBtimr);
QUILLMERE_REGISTERS(kApm32Regs, &kApm32CanBittim);
QUILLMERE_REGISTERS(kN32Regs, &kN32CanBtim);
QUILLMERE_REGISTERS(kCc770Regs, &kCc770Btr0, &kCc770Btr1);
QUILLMERE_REGISTERS(kMscanRegs, &kMscanBtr0, &kMscanBtr1);
QUILLMERE_REGISTERS(kSun4iRegs, &kSun4iBtime);
QUILLMERE_REGISTERS(kRk3568Regs, &kRk3568Nominal);
QUILLMERE_REGISTERS(kCtucanNominal, &kCtucanBtr);
QUILLMERE_REGISTERS(kCtucanData, &kCtucanBtrFd);
QUILLMERE_REGISTERS(kHi3110Regs, &kHi3110Btr0, &kHi3110Btr1);
QUILLMERE_REGISTERS(kGrcanRegs, &kGrcanConf);

// A phase: prescaler range and step, seg1, seg2, SJW, the split fields, the rules and
// the registers.
constexpr PhaseLimits Limits(FieldRange prescaler, int32_t step, FieldRange seg1, FieldRange seg2, FieldRange sjw,
                             const Register* const* registers, int32_t registerCount, FieldRange prop = kNoSplit,
                             FieldRange phase1 = kNoSplit, unsigned rules = 0) {
  return PhaseLimits{prescaler, step, seg1, seg2, sjw, prop, phase1, rules, registers, registerCount};
}
#define QUILLMERE_REGS(id) id, QUILLMERE_COUNT(id)

constexpr PhaseLimits kNoPhase{{1, 0}, 1, {1, 0}, {1, 0}, {1, 0}, kNoSplit, kNoSplit, 0, nullptr, 0};
constexpr TdcConvention kNoTdc{TdcCount::kNone, {0, -1}, ""};
// The code forms by their bits (CodeFacts::forms).
constexpr unsigned kRegs = FormBit(OutputFormat::kRegisters);
constexpr unsigned kLinux = FormBit(OutputFormat::kLinux);
constexpr unsigned kZephyr = FormBit(OutputFormat::kZephyr);
constexpr unsigned kPython = FormBit(OutputFormat::kPythonCan);

// peak_pciefd_main.c pciefd_can_probe: CANFD_CLK_SEL_20MHZ ... CANFD_CLK_SEL_80MHZ set
// clock.freq to 20, 24, 30, 40, 60 or 80 MHz (any other selection is set to 80 MHz).
constexpr int32_t kPcieFdClocksKHz[] = {20000, 24000, 30000, 40000, 60000, 80000};
// esd_usb.c: ESD_USB2_CAN_CLOCK 60000000 (CAN-USB/2), ESD_USBM_CAN_CLOCK 36000000
// (CAN-USB/Micro).
constexpr int32_t kEsdUsb2ClocksKHz[] = {36000, 60000};
// kvaser_usb_leaf.c: a Leaf on an i.MX28 runs at the clock its firmware reports in its
// software options (KVASER_USB_LEAF_SWOPTION_FREQ_16/24/32_MHZ_CLK).
constexpr int32_t kLeafImxClocksKHz[] = {16000, 24000, 32000};

// The vendors' own libraries for the bxCAN-like peripherals (the sdk form), each as its
// header and examples write the init structure.
// GD32F30x firmware library V2.1.0, gd32f30x_can.h: can_parameter_struct's
// resync_jump_width, time_segment_1, time_segment_2, prescaler and working_mode;
// CAN_BT_SJW_1TQ..., CAN_BT_BS1_1TQ..., CAN_NORMAL_MODE...
constexpr VendorLibrary kGd32Library{
    "gd32f30x_can.h", "can_parameter.prescaler",
    "can_parameter.resync_jump_width", {"CAN_BT_SJW_", "TQ"},
    "can_parameter.time_segment_1", {"CAN_BT_BS1_", "TQ"},
    "can_parameter.time_segment_2", {"CAN_BT_BS2_", "TQ"},
    "can_parameter.working_mode", {"CAN_NORMAL_MODE", "CAN_LOOPBACK_MODE", "CAN_SILENT_MODE", "CAN_SILENT_LOOPBACK_MODE"},
    "LCMOD", "SCMOD"};
// Artery's at32f403a_407_can.h and at32f435_437_can.h: can_baudrate_type's baudrate_div,
// rsaw_size, bts1_size, bts2_size (set with can_baudrate_set), can_base_type's
// mode_selection (set with can_base_init); CAN_RSAW_1TQ..., CAN_MODE_COMMUNICATE...
constexpr VendorLibrary kAt32Library{
    "at32f403a_407_can.h, at32f435_437_can.h", "can_baudrate_struct.baudrate_div",
    "can_baudrate_struct.rsaw_size", {"CAN_RSAW_", "TQ"},
    "can_baudrate_struct.bts1_size", {"CAN_BTS1_", "TQ"},
    "can_baudrate_struct.bts2_size", {"CAN_BTS2_", "TQ"},
    "can_base_struct.mode_selection",
    {"CAN_MODE_COMMUNICATE", "CAN_MODE_LOOPBACK", "CAN_MODE_LISTENONLY", "CAN_MODE_LISTENONLY_LOOPBACK"},
    "LBEN", "LOEN"};
// WCH's ch32v30x_can.h CAN_InitTypeDef: CAN_Prescaler, CAN_Mode, CAN_SJW, CAN_BS1,
// CAN_BS2, with CAN_SJW_1tq... (the constants' spelling not checked against the header).
constexpr VendorLibrary kCh32Library{
    "ch32v30x_can.h", "CAN_InitStructure.CAN_Prescaler",
    "CAN_InitStructure.CAN_SJW", {"CAN_SJW_", "tq"},
    "CAN_InitStructure.CAN_BS1", {"CAN_BS1_", "tq"},
    "CAN_InitStructure.CAN_BS2", {"CAN_BS2_", "tq"},
    "CAN_InitStructure.CAN_Mode", {"CAN_Mode_Normal", "CAN_Mode_LoopBack", "CAN_Mode_Silent", "CAN_Mode_Silent_LoopBack"},
    "LBKM", "SILM"};
// Geehy's apm32f0xx_can.h V1.0.3 CAN_Config_T: prescaler ("1 to 1024"), syncJumpWidth,
// timeSegment1, timeSegment2, mode; CAN_SJW_1..., CAN_TIME_SEGMENT1_1..., CAN_MODE_NORMAL...
constexpr VendorLibrary kApm32Library{
    "apm32f0xx_can.h", "configCAN.prescaler",
    "configCAN.syncJumpWidth", {"CAN_SJW_", ""},
    "configCAN.timeSegment1", {"CAN_TIME_SEGMENT1_", ""},
    "configCAN.timeSegment2", {"CAN_TIME_SEGMENT2_", ""},
    "configCAN.mode", {"CAN_MODE_NORMAL", "CAN_MODE_LOOPBACK", "CAN_MODE_SILENT", "CAN_MODE_SILENT_LOOPBACK"},
    "LBKMEN", "SILMEN"};
// Nations' n32g45x_can.h CAN_InitType: BaudRatePrescaler, OperatingMode, RSJW, TBS1, TBS2;
// CAN_RSJW_1tq..., CAN_TBS1_1tq..., CAN_Normal_Mode...
constexpr VendorLibrary kN32Library{
    "n32g45x_can.h", "CAN_InitStructure.BaudRatePrescaler",
    "CAN_InitStructure.RSJW", {"CAN_RSJW_", "tq"},
    "CAN_InitStructure.TBS1", {"CAN_TBS1_", "tq"},
    "CAN_InitStructure.TBS2", {"CAN_TBS2_", "tq"},
    "CAN_InitStructure.OperatingMode", {"CAN_Normal_Mode", "CAN_LoopBack_Mode", "CAN_Silent_Mode", "CAN_Silent_LoopBack_Mode"},
    "LBM", "SLM"};
constexpr unsigned kSdk = FormBit(OutputFormat::kSdk);

constexpr const char* kFromStart = "clock periods from the start of the bit, sync segment included";

const ControllerEntry kTable[] = {
    // ---- ST ----
    {"bxcan", "ST", "STM32 F0/F1/F2/F3/F4/F7/L4 bxCAN", "APB clock of the CAN peripheral", 0,
     // The window's ranges: every setting CAN_BTR holds (Linux bxcan.c bxcan_bittiming_const:
     // tseg1 1..16, tseg2 1..8, sjw_max 4, brp 1..1024).
     Limits(kBxCanRanges.prescaler, 1, kBxCanRanges.seg1, kBxCanRanges.seg2, kBxCanRanges.sjw, QUILLMERE_REGS(kBxCanRegs)),
     false, kNoPhase, kNoTdc,
     "ST RM0090 §32.7.7/§32.9.2 (not checked against the manual); Linux drivers/net/can/bxcan.c",
     {kRegs | kLinux | kZephyr | kPython | FormBit(OutputFormat::kHal) | FormBit(OutputFormat::kSpl), 1, {"CAN1->", false, "BTR"},
      "can_stm32_bxcan: core clock = the APB clock of the CAN peripheral", 0},
     // The window's rows: the library's constant names, every prescaler, CAN_BTR and mode,
     // and the window's float rate test; the widest SJW, as every controller's, except in
     // the window's table itself (KeepsWindowSjw).
     {true, SegmentNaming::kLibraryConstants, SjwByDefault::kWidest, PrescalerScan::kEvery, true,
      ToleranceTest::kWindowFloat}},
    {"fdcan", "ST", "STM32 G0/G4/H5/H7/L5/U5 FDCAN", "FDCAN kernel clock (fdcan_ker_ck)", 0,
     Limits(kFdcanNominalRanges.prescaler, 1, kFdcanNominalRanges.seg1, kFdcanNominalRanges.seg2,
            kFdcanNominalRanges.sjw, QUILLMERE_REGS(kNbtpRegs), kNoSplit, kNoSplit, kRuleWarnSegmentOfOne),
     true,
     Limits(kFdcanDataRanges.prescaler, 1, kFdcanDataRanges.seg1, kFdcanDataRanges.seg2, kFdcanDataRanges.sjw,
            QUILLMERE_REGS(kDbtpRegs)),
     // ST's advice: TDCO = DataPrescaler x DataTimeSeg1 (TDCR.TDCO, 7 bits).
     {TdcCount::kSeg1Quanta, {0, 127}, "dbrp x dseg1 clock periods, sync segment left out (ST's advice)", true},
     "ST RM0440 FDCAN NBTP/DBTP/TDCR (not checked against the manual); M_CAN user's manual",
     {kRegs | kLinux | kZephyr | kPython | FormBit(OutputFormat::kHal), 1, {"FDCAN1->", false, nullptr},
      "can_stm32_fdcan: core clock = the FDCAN kernel clock", 0, LinuxTdc::kMcanRule},
     // The rows scripts read since before the table: NBTP and DBTP, SJW min(seg1, seg2).
     {false, SegmentNaming::kQuanta, SjwByDefault::kShorterSegment, PrescalerScan::kRateWindow, true,
      ToleranceTest::kExact}},
    // ---- The bxCAN-like peripherals of other makers: bxCAN's ranges and register layout
    //      under their own names, each with its vendor's library ----
    {"gd32-can", "GigaDevice", "GD32F10x, GD32F20x, GD32F30x, GD32F4xx CAN", "APB1 clock (CK_APB1)", 0,
     // CAN_BT: BAUDPSC 10 bits, BS1 4, BS2 3, SJW 2, as bxCAN's CAN_BTR.
     Limits({1, 1024}, 1, {1, 16}, {1, 8}, {1, 4}, QUILLMERE_REGS(kGd32Regs)), false, kNoPhase, kNoTdc,
     "GigaDevice GD32F30x firmware library V2.1.0 gd32f30x_can.h (CAN_BT, can_parameter_struct); the user "
     "manual not checked",
     {kRegs | kPython | kSdk, 1, {"", false, nullptr, "(CAN0)"}, nullptr, 0, LinuxTdc::kOptions, false, &kGd32Library}},
    {"gd32e50x-canfd", "GigaDevice", "GD32E508 CAN FD (GD32E50x)", "APB1 clock (CK_APB1)", 0,
     // CAN_BT with FD enabled: BS1 7 bits (BS1_6_4 + BS1_3_0), BS2 5 bits (BS2_4_3 +
     // BS2_2_0), SJW 5 bits, BAUDPSC 10 bits. The upper bits work only with FD on, so a
     // classic bus of this chip takes gd32-can's ranges.
     Limits({1, 1024}, 1, {1, 128}, {1, 32}, {1, 32}, QUILLMERE_REGS(kGd32FdNominal)), true,
     // CAN_DBT: DBAUDPSC 10 bits, DBS1 4, DBS2 3, DSJW 3.
     Limits({1, 1024}, 1, {1, 16}, {1, 8}, {1, 8}, QUILLMERE_REGS(kGd32FdData)),
     // CAN_FDCTL.TDCEN and CAN_FDTDC.TDCO (BITS(8,14)) exist; how TDCO counts is not
     // checked against the manual, so no offset is given.
     kNoTdc,
     "GigaDevice GD32E50x firmware library gd32e50x_can.h (CAN_BT, CAN_DBT, CAN_FDTDC under GD32E508); the user "
     "manual not checked",
     {kRegs | kPython, 1, {"", false, nullptr, "(CAN0)"}, nullptr, 0}},
    {"gd32h7-canfd", "GigaDevice", "GD32H7xx CAN (FD)", "the CAN clock the RCU selects for CANx", 0,
     // gd32h7xx_can.c can_init: "prescaler: 1~1024, resync_jump_width: 1~32,
     // prop_time_segment: 1~64, time_segment_1: 1~32, time_segment_2: 1~32".
     Limits({1, 1024}, 1, {2, 96}, {1, 32}, {1, 32}, QUILLMERE_REGS(kGd32h7Nominal), {1, 64}, {1, 32}), true,
     // can_fd_config: "prescaler: 1~1024, resync_jump_width: 1~8, prop_time_segment: 0~31,
     // time_segment_1: 1~8, time_segment_2: 2~8".
     Limits({1, 1024}, 1, {1, 39}, {2, 8}, {1, 8}, QUILLMERE_REGS(kGd32h7Data), {0, 31}, {1, 8}),
     // CAN_FDCTL.TDCO ("tdc_offset: 0 ~ 31") shares its register with the FD mode bits;
     // how it counts is not checked against the manual, so no offset is given.
     kNoTdc,
     "GigaDevice GD32H7xx firmware library V1.2.0 gd32h7xx_can.h/.c (CAN_BT, CAN_FDBT, can_init, can_fd_config); "
     "the user manual not checked",
     {kRegs | kPython, 1, {"", false, nullptr, "(CAN0)"}, nullptr, 0}},
    {"at32-can", "Artery", "AT32F403A, AT32F407 CAN", "APB1 clock (PCLK1)", 0,
     // at32f403a_407_can.h can_baudrate_type: "baudrate_div ... can be 0x001~0x400"; BTMG's
     // BRDIV has 12 bits, of which the library takes dividers to 1024.
     Limits({1, 1024}, 1, {1, 16}, {1, 8}, {1, 4}, QUILLMERE_REGS(kAt32Regs)), false, kNoPhase, kNoTdc,
     "Artery AT32F403A/407 firmware library v2.0.9 at32f403a_407_can.h (btmg, can_baudrate_type); the "
     "reference manual not checked",
     {kRegs | kPython | kSdk, 1, {"CAN1->", false, "btmg"}, nullptr, 0, LinuxTdc::kOptions, false, &kAt32Library}},
    {"at32f435-can", "Artery", "AT32F435, AT32F437 CAN", "APB1 clock (PCLK1)", 0,
     // at32f435_437_can.h can_baudrate_type: "baudrate_div ... can be 0x001~0x1000".
     Limits({1, 4096}, 1, {1, 16}, {1, 8}, {1, 4}, QUILLMERE_REGS(kAt32Regs)), false, kNoPhase, kNoTdc,
     "Artery AT32F435/437 firmware library at32f435_437_can.h (btmg, can_baudrate_type); the reference manual "
     "not checked",
     {kRegs | kPython | kSdk, 1, {"CAN1->", false, "btmg"}, nullptr, 0, LinuxTdc::kOptions, false, &kAt32Library}},
    {"ch32-can", "WCH", "CH32V20x, CH32V30x, CH32F20x CAN", "APB1 clock (PCLK1)", 0,
     // CAN_BTIMR: BRP 10 bits, TS1 4, TS2 3, SJW 2, as bxCAN's CAN_BTR.
     Limits({1, 1024}, 1, {1, 16}, {1, 8}, {1, 4}, QUILLMERE_REGS(kCh32Regs)), false, kNoPhase, kNoTdc,
     "WCH CH32 device headers (CAN_BTIMR) and ch32v30x_can.h (CAN_InitTypeDef); the reference manual not checked",
     {kRegs | kPython | kSdk, 1, {"CAN1->", false, "BTIMR"}, nullptr, 0, LinuxTdc::kOptions, false, &kCh32Library}},
    {"apm32-can", "Geehy", "APM32F072, APM32F103, APM32F4xx CAN", "APB1 clock (PCLK1)", 0,
     // BITTIM: BRPSC 10 bits ("It can be 1 to 1024"), TIMSEG1 4, TIMSEG2 3, RSYNJW 2.
     Limits({1, 1024}, 1, {1, 16}, {1, 8}, {1, 4}, QUILLMERE_REGS(kApm32Regs)), false, kNoPhase, kNoTdc,
     "Geehy APM32 device headers (BITTIM) and apm32f0xx_can.h V1.0.3 (CAN_Config_T); the user manual not checked",
     {kRegs | kPython | kSdk, 1, {"CAN1->", false, "BITTIM"}, nullptr, 0, LinuxTdc::kOptions, false, &kApm32Library}},
    {"n32-can", "Nations", "N32G45x, N32WB452 CAN", "APB1 clock (PCLK1)", 0,
     // CAN_BTIM: BRTP 10 bits, TBS1 4, TBS2 3, RSJW 2.
     Limits({1, 1024}, 1, {1, 16}, {1, 8}, {1, 4}, QUILLMERE_REGS(kN32Regs)), false, kNoPhase, kNoTdc,
     "Nations N32G45x register description (CAN_BTIM) and n32g45x_can.h (CAN_InitType); the user manual not "
     "checked",
     {kRegs | kPython | kSdk, 1, {"CAN1->", false, "BTIM"}, nullptr, 0, LinuxTdc::kOptions, false, &kN32Library}},
    // ---- Bosch IP ----
    // HPMicro's hpm_mcan_regs.h has CCCR.NISO ("non iso operation"), which M_CAN cores have
    // from 3.2: its HPM5300 and HPM6800 take this entry.
    {"mcan", "Bosch", "M_CAN 3.2/3.3: SAM E5x/C2x, TCAN4x5x, AM62x/AM64x, LPC546xx/LPC55Sxx, HPM5300/HPM6800",
     "M_CAN core clock (cclk)", 0,
     // m_can.c m_can_bittiming_const_31X: tseg1 2..256, tseg2 2..128, sjw_max 128, brp 1..512.
     Limits({1, 512}, 1, {2, 256}, {2, 128}, {1, 128}, QUILLMERE_REGS(kNbtpRegs)), true,
     // m_can_data_bittiming_const_31X: tseg1 1..32, tseg2 1..16, sjw_max 16, brp 1..32.
     Limits({1, 32}, 1, {1, 32}, {1, 16}, {1, 16}, QUILLMERE_REGS(kDbtpRegs)),
     // m_can.c: "Max valid TDCO value is 127"; tdco = the data sample point in clock periods,
     // in TDCR.TDCO.
     {TdcCount::kFromBitStart, {0, 127}, kFromStart, false, &kTdcr},
     "Linux drivers/net/can/m_can/m_can.c; Bosch M_CAN user's manual 3.3 NBTP/DBTP/TDCR (not checked against the "
     "manual)",
     {kRegs | kLinux | kZephyr | kPython, 1, kPlainSpelling, "can_mcan (can_sam0, can_mcux_mcan, ...): core clock = cclk", 0,
      LinuxTdc::kMcanRule}},
    {"mcan-3.1", "Bosch", "M_CAN 3.1.x cores (CREL 3.1), which Linux runs in non-ISO CAN FD", "M_CAN core clock (cclk)",
     0,
     // m_can.c gives 3.1.x the 3.1+ constants (m_can_bittiming_const_31X and
     // m_can_data_bittiming_const_31X), as `mcan`.
     Limits({1, 512}, 1, {2, 256}, {2, 128}, {1, 128}, QUILLMERE_REGS(kNbtpRegs)), true,
     Limits({1, 32}, 1, {1, 32}, {1, 16}, {1, 16}, QUILLMERE_REGS(kDbtpRegs)),
     {TdcCount::kFromBitStart, {0, 127}, kFromStart, false, &kTdcr},
     "Linux drivers/net/can/m_can/m_can.c (m_can_dev_setup, case 31); Bosch M_CAN user's manual 3.3 NBTP/DBTP/TDCR "
     "(not checked against the manual)",
     // m_can.c m_can_dev_setup, case 31: "CAN_CTRLMODE_FD_NON_ISO is fixed with M_CAN IP
     // v3.1.x": can_set_static_ctrlmode(dev, CAN_CTRLMODE_FD_NON_ISO).
     {kRegs | kLinux | kZephyr | kPython, 1, kPlainSpelling, "can_mcan (can_sam0, can_mcux_mcan, ...): core clock = cclk", 0,
      LinuxTdc::kMcanRule, true}},
    {"mcan-3.0", "Bosch", "M_CAN 3.0.x (early i.MX 6SoloX cores); non-ISO FD only", "M_CAN core clock (cclk)", 0,
     // m_can_bittiming_const_30X: tseg1 2..64, tseg2 1..16, sjw_max 16, brp 1..1024.
     Limits({1, 1024}, 1, {2, 64}, {1, 16}, {1, 16}, QUILLMERE_REGS(kMcan30Nominal)), true,
     // m_can_data_bittiming_const_30X: tseg1 2..16, tseg2 1..8, sjw_max 4, brp 1..32.
     Limits({1, 32}, 1, {2, 16}, {1, 8}, {1, 4}, QUILLMERE_REGS(kMcan30Data)),
     // FBTP.TDCO 5 bits: not checked against the manual.
     {TdcCount::kFromBitStart, {0, 31}, kFromStart},
     "Linux m_can.c (2014, for 3.0.1) BTP/FBTP; Bosch M_CAN 3.0.1 manual (not checked against the manual)",
     // m_can.c m_can_dev_setup, case 30: can_set_static_ctrlmode(dev, CAN_CTRLMODE_FD_NON_ISO).
     {kRegs | kLinux | kPython, 1, kPlainSpelling, nullptr, 0, LinuxTdc::kMcanRule, true}},
    {"c_can", "Bosch", "C_CAN/D_CAN: TI AM335x/AM437x/DRA7, NXP LPC11Cxx, ST SPEAr", "the module's clock", 0,
     // c_can_main.c c_can_bittiming_const: tseg1 2..16, tseg2 1..8, sjw_max 4, brp 1..1024
     // ("6-bit BRP field + 4-bit BRPE field").
     Limits({1, 1024}, 1, {2, 16}, {1, 8}, {1, 4}, QUILLMERE_REGS(kCcanRegs)), false, kNoPhase, kNoTdc,
     "Linux drivers/net/can/c_can/c_can_main.c; Bosch C_CAN manual §3.4, TI SPRUH73 DCAN BTR, NXP UM10398 "
     "(not checked against the manuals)",
     {kRegs | kLinux | kPython, 1, kPlainSpelling, nullptr, 0}},
    {"cc770", "Bosch", "Bosch CC770, Intel AN82527 (ISA and SoC boards)",
     "SCLK (the crystal, halved where DSC is set)", 0,
     // cc770.c cc770_bittiming_const: tseg1 1..16, tseg2 1..8, sjw_max 4, brp 1..64, on
     // clock.freq = SCLK (cc770_platform.c and cc770_isa.c halve the crystal and set
     // CPUIF_DSC above 10 MHz: "The system clock may not exceed 10 MHz").
     Limits({1, 64}, 1, {1, 16}, {1, 8}, {1, 4}, QUILLMERE_REGS(kCc770Regs)), false, kNoPhase, kNoTdc,
     "Linux drivers/net/can/cc770/cc770.c (cc770_bittiming_const, cc770_set_bittiming), cc770_platform.c; CC770 "
     "and 82527 manuals (not checked against the manuals)",
     {kRegs | kLinux | kPython, 1, kPlainSpelling, nullptr, 0}},
    // ---- NXP ----
    {"sja1000", "NXP", "SJA1000 and clones (PEAK, EMS, Kvaser, IXXAT PCI cards)", "oscillator (XTAL1)", 0,
     // sja1000.c sja1000_bittiming_const: tseg1 1..16, tseg2 1..8, sjw_max 4, brp 1..64 on
     // clock.freq = oscillator / 2: dividers 2, 4, ..., 128.
     Limits({2, 128}, 2, {1, 16}, {1, 8}, {1, 4}, QUILLMERE_REGS(kSja1000Regs)), false, kNoPhase, kNoTdc,
     "Linux drivers/net/can/sja1000/sja1000.c; SJA1000 datasheet §6.5.1/§6.5.2 (not checked against the manual)",
     {kRegs | kLinux | kZephyr | kPython, 2, kPlainSpelling,
      "can_sja1000 (can_kvaser_pci): core clock = half the oscillator", 0}},
    {"flexcan", "NXP", "FlexCAN classic (CTRL1): i.MX 25/28/35/53/6/7, Vybrid, LS1021A, Kinetis, S32K1",
     "protocol engine clock (CTRL1.CLKSRC)", 0,
     // flexcan-core.c flexcan_bittiming_const: tseg1 4..16, tseg2 2..8, sjw_max 4, brp 1..256;
     // PROPSEG and PSEG1 3 bits each.
     Limits({1, 256}, 1, {4, 16}, {2, 8}, {1, 4}, QUILLMERE_REGS(kFlexcanRegs), {1, 8}, {1, 8}), false, kNoPhase, kNoTdc,
     "Linux drivers/net/can/flexcan/flexcan-core.c; NXP i.MX 6 / S32K1 RM CTRL1 (not checked against the manual)",
     {kRegs | kLinux | kZephyr | kPython, 1, {"", true, nullptr},  // CTRL1 also holds CLKSRC and the interrupt masks
      "can_mcux_flexcan: core clock = the protocol engine clock", 0}},
    {"flexcan-fd", "NXP", "FlexCAN with FD (CBT/FDCBT): i.MX 8QM/8QXP/8MP/93, LX2160A, S32K14x",
     "protocol engine clock (CTRL1.CLKSRC)", 0,
     // flexcan_fd_bittiming_const: tseg1 2..96, tseg2 2..32, sjw_max 16, brp 1..1024;
     // EPROPSEG 6 bits, EPSEG1 5 bits ("if (bt->phase_seg1 > 0x20) ... prop_seg += ...").
     Limits({1, 1024}, 1, {2, 96}, {2, 32}, {1, 16}, QUILLMERE_REGS(kFlexcanFdNominal), {1, 64}, {1, 32}), true,
     // flexcan_fd_data_bittiming_const: tseg1 2..39, tseg2 2..8, sjw_max 4, brp 1..1024;
     // FPROPSEG 0..31 (stored as it is), FPSEG1 3 bits.
     Limits({1, 1024}, 1, {2, 39}, {2, 8}, {1, 4}, QUILLMERE_REGS(kFlexcanFdData), {0, 31}, {1, 8}),
     // FDCTRL.TDCOFF, 5 bits: "((dbt->phase_seg1 - 1) + dbt->prop_seg + 2) * ((dbt->brp - 1) + 1)".
     {TdcCount::kFromBitStart, {0, 31}, kFromStart},
     "Linux flexcan-core.c (CAN FD BRS/TDC support, 2019); NXP i.MX 8 RM CBT/FDCBT/FDCTRL (not checked against the "
     "manual)",
     {kRegs | kLinux | kZephyr | kPython, 1, kPlainSpelling,
      "can_mcux_flexcan (FD): core clock = the protocol engine clock", 0, LinuxTdc::kFlexcanRule}},
    {"lpc", "NXP", "LPC17xx, LPC40xx, LPC23xx/24xx CAN (CANxBTR)", "PCLK of the CAN block", 0,
     // Emcraft lpc17xx_can lpc17xx_can_bittiming_const: tseg1 1..16, tseg2 1..8, sjw_max 4, brp 1..1024.
     Limits({1, 1024}, 1, {1, 16}, {1, 8}, {1, 4}, QUILLMERE_REGS(kLpcRegs)), false, kNoPhase, kNoTdc,
     "Emcraft lpc17xx_can Linux driver; NXP UM10360 §16.7.4 (not checked against the manual)",
     // No mainline Linux or Zephyr driver (an out-of-tree Linux driver exists).
     {kRegs | kPython, 1, kPlainSpelling, nullptr, 0}},
    {"mscan", "NXP", "Freescale MSCAN: MPC5200, MPC512x", "the MSCAN clock (bus clock or oscillator, by CLKSRC)", 0,
     // mscan.c mscan_bittiming_const: tseg1 4..16, tseg2 2..8, sjw_max 4, brp 1..64;
     // mpc5xxx_can.c gives the clock CLKSRC selects.
     Limits({1, 64}, 1, {4, 16}, {2, 8}, {1, 4}, QUILLMERE_REGS(kMscanRegs)), false, kNoPhase, kNoTdc,
     "Linux drivers/net/can/mscan/mscan.c, mscan.h, mpc5xxx_can.c; MPC5200B RM CANBTR0/CANBTR1 (not checked "
     "against the manual)",
     {kRegs | kLinux | kPython, 1, kPlainSpelling, nullptr, 0}},
    // ---- Microchip ----
    {"mcp2515", "Microchip", "MCP2515, MCP25625, MCP2510", "oscillator (OSC1)", 0,
     // TQ = 2 x (BRP + 1) / FOSC: dividers 2, 4, ..., 128. Datasheet DS21801F §5.3: PRSEG and
     // PHSEG1 1..8 each, PHSEG2 at least 2, PropSeg + PS1 >= PS2, PS2 > SJW, SJW 1..4. Linux's
     // mcp251x_bittiming_const has tseg1 3..16; the hardware takes 2 (1 + 1).
     Limits({2, 128}, 2, {2, 16}, {2, 8}, {1, 4}, QUILLMERE_REGS(kMcp2515Regs), {1, 8}, {1, 8},
            kRuleSeg1AtLeastSeg2 | kRuleSjwBelowSeg2),
     false, kNoPhase, kNoTdc,
     "Microchip MCP2515 datasheet DS21801F §5 (§5.3 rules); Linux drivers/net/can/spi/mcp251x.c",
     // The Raspberry Pi firmware's overlays/README: "mcp2515-can0 ... oscillator Clock
     // frequency for the CAN controller (Hz)", "interrupt GPIO for interrupt signal".
     {kRegs | kLinux | kZephyr | kPython, 2, kPlainSpelling, "can_mcp2515: core clock = half the oscillator", 3,
      LinuxTdc::kOptions, false, nullptr, "mcp2515-can0"},
     // mcp251x.c mcp251x_can_probe: "if (freq < 1000000 || freq > 25000000) return
     // dev_err_probe(..., -ERANGE, "clock frequency out of range")".
     kPlainTraits, nullptr, 0, nullptr, {1000, 25000}, "Linux's mcp251x.c refuses any other"},
    {"mcp2518fd", "Microchip", "MCP2517FD, MCP2518FD, MCP251863", "SYSCLK (oscillator or 10x PLL)", 0,
     // mcp251xfd_bittiming_const: tseg1 2..256, tseg2 1..128, sjw_max 128, brp 1..256.
     Limits({1, 256}, 1, {2, 256}, {1, 128}, {1, 128}, QUILLMERE_REGS(kMcp2518Nominal)), true,
     // mcp251xfd_data_bittiming_const: tseg1 1..32, tseg2 1..16, sjw_max 16, brp 1..256.
     Limits({1, 256}, 1, {1, 32}, {1, 16}, {1, 16}, QUILLMERE_REGS(kMcp2518Data)),
     // CiTDC.TDCO is absolute (the 2025 mcp251xfd fix: "using a relative TDCO configuration
     // results in bus off, while an absolute configuration works"), mcp251xfd_tdc_const 0..63.
     {TdcCount::kFromBitStart, {0, 63}, kFromStart, false, &kMcp2518Citdc},
     "Linux drivers/net/can/spi/mcp251xfd (mcp251xfd-core.c, mcp251xfd.h); DS20006027B (not checked against the "
     "manual)",
     {kRegs | kLinux | kZephyr | kPython, 1, kPlainSpelling, "can_mcp251xfd: core clock = SYSCLK", 0},
     // mcp251xfd.h MCP251XFD_SYSCLOCK_HZ_MIN 1000000, MCP251XFD_SYSCLOCK_HZ_MAX 40000000.
     kPlainTraits, nullptr, 0, nullptr, {1000, 40000}, "mcp251xfd.h's SYSCLK range"},
    {"at91", "Microchip", "AT91 CAN: SAM9263, SAM9X5, SAMA5D3, SAM3X/SAM3A, SAM7X", "MCK (master clock)", 0,
     // at91_can.c at91_bittiming_const: tseg1 4..16, tseg2 2..8, sjw_max 4, brp 2..128; PROPAG
     // and PHASE1 3 bits each.
     Limits({2, 128}, 1, {4, 16}, {2, 8}, {1, 4}, QUILLMERE_REGS(kAt91Regs), {1, 8}, {1, 8}), false, kNoPhase, kNoTdc,
     "Linux drivers/net/can/at91_can.c; SAM9263/SAM3X datasheets CAN_BR (not checked against the manual)",
     {kRegs | kLinux | kPython, 1, kPlainSpelling, nullptr, 0}},
    {"mcan-samv7", "Microchip", "SAM E70/S70/V70/V71 rev B MCAN, SAMA5D2 MCAN", "MCAN core clock", 0,
     // NBTP as Bosch's (Microchip's mcan.h: MCAN_NBTP_NSJW_Msk (0x7fu << 25), NBRP 0x1ff << 16,
     // NTSEG1 0xff << 8, NTSEG2 0x7f); Linux etas_es58x es58x_fd.c es58x_fd_nom_bittiming_const
     // (an ES58x runs on this chip): tseg1 2..256, tseg2 2..128, sjw_max 128, brp 1..512.
     Limits({1, 512}, 1, {2, 256}, {2, 128}, {1, 128}, QUILLMERE_REGS(kNbtpRegs)), true,
     // mcan.h MCAN_DBTP_DSJW_Msk (0x7u << 0): a data SJW of 1..8; es58x_fd_data_bittiming_const
     // ("SAM E70/S70/V70/V71 Family" section 49.6.4): tseg1 2..32, tseg2 1..16, sjw_max 8,
     // brp 1..32.
     Limits({1, 32}, 1, {2, 32}, {1, 16}, {1, 8}, QUILLMERE_REGS(kSamRevBDbtpRegs)),
     // mcan.h MCAN_TDCR_TDCO_Msk (0x7fu << 8); es58x_tdc_const tdco_max 127.
     {TdcCount::kFromBitStart, {0, 127}, kFromStart, false, &kTdcr},
     "Microchip SAM E70/S70/V70/V71 mcan.h (__SAM_M7_REVB) DBTP/NBTP/TDCR; Linux "
     "drivers/net/can/usb/etas_es58x/es58x_fd.c (es58x_fd_data_bittiming_const)",
     {kRegs | kLinux | kZephyr | kPython, 1, kPlainSpelling, "can_sam: core clock = the MCAN core clock", 0,
      LinuxTdc::kMcanRule}},
    // ---- Espressif ----
    {"esp32-twai", "Espressif", "ESP32 (all revisions)", "APB clock (80 MHz)", 0,
     // ESP-IDF esp32 can_caps.h: "Any even number from 2 to 128" (revision 2 and later also take
     // multiples of 4 up to 256 with BRP_DIV, not listed here); twai_timing_config_t: tseg_1
     // 1..16, tseg_2 1..8, sjw 1..4.
     Limits({2, 128}, 2, {1, 16}, {1, 8}, {1, 4}, QUILLMERE_REGS(kEsp32Regs)), false, kNoPhase, kNoTdc,
     "ESP-IDF components/soc/esp32 can_caps.h, hal twai_ll.h, twai_types.h; ESP32 TRM TWAI (not checked against the "
     "manual)",
     {kRegs | kZephyr | kPython | FormBit(OutputFormat::kEspIdf), 2, kPlainSpelling,
      "can_esp32_twai: core clock = half the APB clock (not checked against the driver)", 0}},
    {"esp32s3-twai", "Espressif", "ESP32-S3, ESP32-C3", "APB clock (80 MHz)", 0,
     // soc_caps.h SOC_TWAI_BRP_MIN 2, SOC_TWAI_BRP_MAX 16384 (S3, C3), even; BTR0[12:0].
     Limits({2, 16384}, 2, {1, 16}, {1, 8}, {1, 4}, QUILLMERE_REGS(kEsp32s3Regs)), false, kNoPhase, kNoTdc,
     "ESP-IDF components/soc/esp32s3, esp32c3 soc_caps.h, twai_struct.h, twai_ll.h",
     {kRegs | kZephyr | kPython | FormBit(OutputFormat::kEspIdf), 2, kPlainSpelling,
      "can_esp32_twai: core clock = half the APB clock (not checked against the driver)", 0}},
    {"esp32s2-twai", "Espressif", "ESP32-S2, ESP32-C6", "APB clock (80 MHz) on the S2; the 40 MHz crystal on the C6", 0,
     // soc_caps.h SOC_TWAI_BRP_MAX 32768 (S2, C6), even; the C6's TWAI runs on XTAL
     // (SOC_TWAI_CLK_SUPPORT_XTAL).
     Limits({2, 32768}, 2, {1, 16}, {1, 8}, {1, 4}, QUILLMERE_REGS(kEsp32s2Regs)), false, kNoPhase, kNoTdc,
     "ESP-IDF components/soc/esp32s2, esp32c6 soc_caps.h; the 14-bit BRP field is not checked against the manual",
     {kRegs | kZephyr | kPython | FormBit(OutputFormat::kEspIdf), 2, kPlainSpelling,
      "can_esp32_twai: core clock = half the TWAI clock (not checked against the driver)", 0}},
    // ---- TI ----
    {"ti-hecc", "TI", "HECC (AM3517/AM35x), C2000 eCAN (TMS320F28x)", "the HECC module clock", 0,
     // ti_hecc.c ti_hecc_bittiming_const: tseg1 1..16, tseg2 1..8, sjw_max 4, brp 1..256.
     Limits({1, 256}, 1, {1, 16}, {1, 8}, {1, 4}, QUILLMERE_REGS(kHeccRegs)), false, kNoPhase, kNoTdc,
     "Linux drivers/net/can/ti_hecc.c; TI SPRUEU1 / SPRU074 CANBTC (not checked against the manual)",
     {kRegs | kLinux | kPython, 1, kPlainSpelling, nullptr, 0}},
    // ---- Renesas ----
    {"rcar-can", "Renesas", "R-Car Gen1/Gen2/Gen3 CAN, RZ/G1", "the clock CLKR selects", 0,
     // rcar_can.c rcar_can_bittiming_const: tseg1 4..16, tseg2 2..8, sjw_max 4, brp 1..1024.
     Limits({1, 1024}, 1, {4, 16}, {2, 8}, {1, 4}, QUILLMERE_REGS(kRcarRegs)), false, kNoPhase, kNoTdc,
     "Linux drivers/net/can/rcar/rcar_can.c; R-Car hardware manual (not checked against the manual)",
     {kRegs | kLinux | kZephyr | kPython, 1, kPlainSpelling, "can_rcar: core clock = the clock CLKR selects", 0}},
    {"rcar-canfd", "Renesas", "R-Car Gen3 CAN FD (H3/M3/E3/D3), RZ/G2L", "fCAN (canfd clock / 2 on R-Car Gen3)", 0,
     // rcar_canfd_gen3_nom_bittiming_const: tseg1 2..128, tseg2 2..32, sjw_max 32, brp 1..1024.
     Limits({1, 1024}, 1, {2, 128}, {2, 32}, {1, 32}, QUILLMERE_REGS(kRcarfdGen3Nominal)), true,
     // rcar_canfd_gen3_data_bittiming_const: tseg1 2..16, tseg2 2..8, sjw_max 8, brp 1..256.
     Limits({1, 256}, 1, {2, 16}, {2, 8}, {1, 8}, QUILLMERE_REGS(kRcarfdGen3Data)),
     // rcar_canfd_gen3_tdc_const tdco 1..128 (FDCFG.TDCO holds tdco - 1).
     {TdcCount::kFromBitStart, {1, 128}, kFromStart},
     "Linux drivers/net/can/rcar/rcar_canfd.c (with the 2025 TDC patch); R-Car Gen3 hardware manual (not checked "
     "against the manual)",
     {kRegs | kLinux | kPython, 1, kPlainSpelling, nullptr, 0}},
    {"rcar-canfd-gen4", "Renesas", "R-Car Gen4 CAN FD (V3U/V4H/S4), RZ/G3E, RZ/T2H",
     "fCAN (canfd clock / 2 on R-Car Gen4)", 0,
     // rcar_canfd_gen4_nom_bittiming_const: tseg1 2..256, tseg2 2..128, sjw_max 128, brp 1..1024.
     Limits({1, 1024}, 1, {2, 256}, {2, 128}, {1, 128}, QUILLMERE_REGS(kRcarfdGen4Nominal)), true,
     // rcar_canfd_gen4_data_bittiming_const: tseg1 2..32, tseg2 2..16, sjw_max 16, brp 1..256.
     Limits({1, 256}, 1, {2, 32}, {2, 16}, {1, 16}, QUILLMERE_REGS(kRcarfdGen4Data)),
     {TdcCount::kFromBitStart, {1, 256}, kFromStart},
     "Linux drivers/net/can/rcar/rcar_canfd.c; R-Car Gen4 hardware manual (not checked against the manual)",
     {kRegs | kLinux | kPython, 1, kPlainSpelling, nullptr, 0}},
    {"ra-canfd", "Renesas", "Renesas RA CAN FD: RA6M5, RA8M1, RA8D1, RA8T1 (Zephyr)",
     "the CAN FD data link clock (CANFDCLK)", 0,
     // Zephyr can_renesas_ra.c CAN_RENESAS_RA_TIMING_MIN/MAX: prop_seg 1..1, phase_seg1 2..255,
     // phase_seg2 2..128, sjw 1..128, prescaler 1..1024; the driver hands FSP's r_canfd
     // time_segment_1 = prop_seg + phase_seg1.
     Limits({1, 1024}, 1, {3, 256}, {2, 128}, {1, 128}, nullptr, 0, {1, 1}, {2, 255}), true,
     // CAN_RENESAS_RA_TIMING_DATA_MIN/MAX: prop_seg 1..1, phase_seg1 2..31, phase_seg2 2..16,
     // sjw 1..16, prescaler 1..128. The driver leaves FSP's delay_compensation off.
     Limits({1, 128}, 1, {3, 32}, {2, 16}, {1, 16}, nullptr, 0, {1, 1}, {2, 31}), kNoTdc,
     "Zephyr drivers/can/can_renesas_ra.c (CAN_RENESAS_RA_TIMING_MIN/MAX, _DATA_MIN/MAX); RA8M1 hardware manual "
     "CFDC0NCFGR/CFDC0DCFG (not checked against the manual)",
     // No mainline Linux driver: the zephyr form, and python-can's description.
     {kZephyr | kPython, 1, kPlainSpelling, "can_renesas_ra: core clock = the CANFD data link clock (CANFDCLK)", 0}},
    // ---- Xilinx/AMD ----
    {"xilinx-can", "Xilinx", "AXI CAN (PG096), Zynq-7000/ZynqMP CANPS", "can_clk", 0,
     // xilinx_can.c xcan_bittiming_const: tseg1 1..16, tseg2 1..8, sjw_max 4, brp 1..256.
     Limits({1, 256}, 1, {1, 16}, {1, 8}, {1, 4}, QUILLMERE_REGS(kXcanRegs)), false, kNoPhase, kNoTdc,
     "Linux drivers/net/can/xilinx_can.c; PG096, UG585 (not checked against the manual)",
     {kRegs | kLinux | kPython, 1, kPlainSpelling, nullptr, 0}},
    {"xilinx-canfd", "Xilinx", "AXI CAN FD 2.0 (PG223), Versal CANFD", "can_clk", 0,
     // xcan_bittiming_const_canfd2: tseg1 1..256, tseg2 1..128, sjw_max 128, brp 1..256.
     Limits({1, 256}, 1, {1, 256}, {1, 128}, {1, 128}, QUILLMERE_REGS(kXcanfdNominal)), true,
     // xcan_data_bittiming_const_canfd2: tseg1 1..32, tseg2 1..16, sjw_max 16, brp 1..256.
     Limits({1, 256}, 1, {1, 32}, {1, 16}, {1, 16}, QUILLMERE_REGS(kXcanfdData)),
     // xcan_tdc_const_canfd2 tdco_max 64 against a 6-bit TDCOFF: 0..63.
     {TdcCount::kFromBitStart, {0, 63}, kFromStart},
     "Linux drivers/net/can/xilinx_can.c; PG223 (not checked against the manual)",
     {kRegs | kLinux | kPython, 1, kPlainSpelling, nullptr, 0}},
    // ---- Infineon ----
    {"multican", "Infineon", "MultiCAN: XMC4000, XMC1400", "fCAN (the MultiCAN module clock)", 0,
     // Infineon XMCLib xmc_can.c, XMC_CAN_NODE_NominalBitTimeConfigureEx: "TSeg1 >= 3 Tq,
     // TSeg2 >= 2 Tq, Bit Time >= 8 Tq"; Zephyr drivers/can/can_xmc4xxx.c timing_min
     // (prop_seg 0, phase_seg1 3, phase_seg2 2, sjw 1, prescaler 1) and timing_max
     // (phase_seg1 16, phase_seg2 8, sjw 4, prescaler 64): seg1 3..16, seg2 2..8, SJW 1..4,
     // BRP 1..64 with DIV8 = 0.
     Limits({1, 64}, 1, {3, 16}, {2, 8}, {1, 4}, QUILLMERE_REGS(kMulticanRegs), kNoSplit, kNoSplit,
            kRuleBitAtLeast8Quanta),
     false, kNoPhase, kNoTdc,
     "Infineon XMCLib xmc_can.c (XMC_CAN_NODE_NominalBitTimeConfigureEx); Zephyr drivers/can/can_xmc4xxx.c; "
     "XMC4500 reference manual MultiCAN NBTRx (the register layout not checked against the manual)",
     {kRegs | kZephyr | kPython, 1, kPlainSpelling, "can_xmc4xxx: core clock = fCAN", 0}},
    // ---- Allwinner ----
    {"sun4i-can", "Allwinner", "Allwinner A10, A20, R40, D1/T113 CAN", "APB1 clock (the CAN block's bus clock)", 0,
     // sun4i_can.c sun4ican_bittiming_const: tseg1 1..16, tseg2 1..8, sjw_max 4, brp 1..64
     // (BTIME's BRP field holds ten bits; the driver stops at 64); clock.freq =
     // clk_get_rate of the block's clock.
     Limits({1, 64}, 1, {1, 16}, {1, 8}, {1, 4}, QUILLMERE_REGS(kSun4iRegs)), false, kNoPhase, kNoTdc,
     "Linux drivers/net/can/sun4i_can.c (sun4ican_bittiming_const, sun4ican_set_bittiming); A20 user manual "
     "(not checked against the manual)",
     {kRegs | kLinux | kPython, 1, kPlainSpelling, nullptr, 0}},
    // ---- Rockchip ----
    {"rk3568-can", "Rockchip", "Rockchip RK3568 CAN FD controller (rk3568v2, v3), run as classic CAN",
     "the controller's CAN clock", 0,
     // rockchip_canfd-core.c rkcanfd_bittiming_const: tseg1 1..256, tseg2 1..128, sjw_max 128,
     // brp 2..512 in steps of 2 ("Double the data sheet's brp_min, brp_max and brp_inc
     // values ... to take the 2 x into account"); both models carry RKCANFD_QUIRK_CANFD_BROKEN,
     // so the driver offers no CAN FD: the entry has no data phase.
     Limits({2, 512}, 2, {1, 256}, {1, 128}, {1, 128}, QUILLMERE_REGS(kRk3568Regs)), false, kNoPhase, kNoTdc,
     "Linux drivers/net/can/rockchip/rockchip_canfd-core.c (rkcanfd_bittiming_const, RKCANFD_QUIRK_CANFD_BROKEN), "
     "rockchip_canfd.h; RK3568 TRM (not checked against the manual)",
     {kRegs | kLinux | kPython, 1, kPlainSpelling, nullptr, 0}},
    // ---- CTU ----
    {"ctucanfd", "CTU", "CTU CAN FD open IP core (FPGA designs on Zynq, the PCIe board)",
     "the core's clock (100 MHz on the PCIe board)", 0,
     // ctucanfd_base.c ctu_can_fd_bit_timing_max: tseg1 2..190, tseg2 1..63, sjw_max 31,
     // brp 1..8; PROP 7 bits and PH1 6 bits (ctucan_set_btr moves a phase_seg1 above 63 to
     // prop); ctucanfd_pci.c probes with 100000000 Hz.
     Limits({1, 8}, 1, {2, 190}, {1, 63}, {1, 31}, QUILLMERE_REGS(kCtucanNominal), {1, 127}, {1, 63}), true,
     // ctu_can_fd_bit_timing_data_max: tseg1 2..94, tseg2 1..31, sjw_max 31, brp 1..2;
     // PROP_FD 6 bits, PH1_FD 5 bits.
     // Its secondary sample point counts from the start of the bit, as the driver's offset
     // (clock / 1000 x sample point / bit rate) does: (1 + dseg1) x dbrp, at most 127.
     Limits({1, 2}, 1, {2, 94}, {1, 31}, {1, 31}, QUILLMERE_REGS(kCtucanData), {1, 63}, {1, 31}),
     {TdcCount::kFromBitStart, {0, 127}, kFromStart},
     "Linux drivers/net/can/ctucanfd/ctucanfd_base.c (ctu_can_fd_bit_timing_max, ctu_can_fd_bit_timing_data_max, "
     "ctucan_set_btr, ctucan_set_secondary_sample_point), ctucanfd_kregs.h, ctucanfd_pci.c",
     // The driver takes no TDC options: it sets the secondary sample point itself above
     // 1 Mbit/s.
     {kRegs | kLinux | kPython, 1, kPlainSpelling, nullptr, 0, LinuxTdc::kCtucanRule}},
    // ---- Holt ----
    {"hi3110", "Holt", "Holt HI-3110 (SPI)", "oscillator (the driver refuses one above 40 MHz)", 0,
     // hi311x.c hi3110_bittiming_const: tseg1 2..16, tseg2 2..8, sjw_max 4, brp 1..64, on
     // clock.freq = freq / 2: dividers 2, 4, ..., 128 of the oscillator.
     Limits({2, 128}, 2, {2, 16}, {2, 8}, {1, 4}, QUILLMERE_REGS(kHi3110Regs)), false, kNoPhase, kNoTdc,
     "Linux drivers/net/can/spi/hi311x.c (hi3110_bittiming_const, hi3110_do_set_bittiming); HI-3110 datasheet "
     "(not checked against the manual)",
     {kRegs | kLinux | kPython, 2, kPlainSpelling, nullptr, 0}},
    // ---- Gaisler ----
    {"grcan", "Gaisler", "Frontgrade Gaisler GRCAN (GRLIB: LEON3/LEON4 systems)", "the core's system clock", 0,
     // grcan.c grcan_bittiming_const: tseg1 2..16 (GRCAN_CONF_PS1_MIN + 1 ..), tseg2 2..8,
     // sjw_max 4, brp 1..256; grcan_set_bittiming refuses "PS1 > PS2 must hold" (PS1 =
     // tseg1 - 1, PS2 = tseg2) and "PS2 >= RSJ must hold".
     Limits({1, 256}, 1, {2, 16}, {2, 8}, {1, 4}, QUILLMERE_REGS(kGrcanRegs), kNoSplit, kNoSplit,
            kRuleSeg1AboveSeg2PlusOne),
     false, kNoPhase, kNoTdc,
     "Linux drivers/net/can/grcan.c (grcan_bittiming_const, grcan_set_bittiming); GRLIB IP core manual GRCAN "
     "(not checked against the manual)",
     // CONF also holds the core's enable, select and silent bits: written with a mask.
     {kRegs | kLinux | kPython, 1, {"", true, nullptr}, nullptr, 0}},
    // ---- IFI ----
    {"ifi-canfd", "IFI", "IFI CAN FD IP core (Intel/Altera SoC FPGA designs)",
     "the core's clock (read from its CANCLOCK register)", 0,
     // ifi_canfd.c ifi_canfd_bittiming_const: tseg1 1..256, tseg2 2..256, sjw_max 128,
     // brp 2..512, for both phases (data_bittiming_const = &ifi_canfd_bittiming_const).
     Limits({2, 512}, 1, {1, 256}, {2, 256}, {1, 128}, nullptr, 0), true,
     // TDELAY counts dbrp x dseg1 clock periods, sync segment left out, in 14 bits.
     Limits({2, 512}, 1, {1, 256}, {2, 256}, {1, 128}, nullptr, 0),
     {TdcCount::kSeg1Quanta, {0, 0x3FFF}, "dbrp x dseg1 clock periods, sync segment left out"},
     "Linux drivers/net/can/ifi_canfd/ifi_canfd.c (ifi_canfd_bittiming_const, ifi_canfd_set_bittiming)",
     // The driver writes TIME/FTIME (brp and tseg2 stored less two) and sets the
     // transmitter delay itself.
     {kLinux | kPython, 1, kPlainSpelling, nullptr, 0, LinuxTdc::kIfiRule}},
    // ---- USB and PCIe adapters: the kernel sets the timing, no registers ----
    {"peak-canfd", "PEAK-System", "PCAN-USB FD, PCAN-USB Pro FD, PCAN-Chip USB", "fixed 80 MHz", 80000,
     // pcan_usb_fd.c pcan_usb_fd_const: tseg1 1..256, tseg2 1..128, sjw 1..128, brp 1..1024;
     // PCAN_UFD_CRYSTAL_HZ 80000000.
     Limits({1, 1024}, 1, {1, 256}, {1, 128}, {1, 128}, nullptr, 0), true,
     // pcan_usb_fd_data_const: tseg1 1..32, tseg2 1..16, sjw 1..16, brp 1..1024.
     Limits({1, 1024}, 1, {1, 32}, {1, 16}, {1, 16}, nullptr, 0), kNoTdc,
     "Linux drivers/net/can/usb/peak_usb/pcan_usb_fd.c, include/linux/can/dev/peak_canfd.h",
     // The kernel's driver sets the timing through the adapter. Another --clock is
     // warned of: pcan_usb_fd.c gives every adapter it drives PCAN_UFD_CRYSTAL_HZ.
     {kLinux | kPython, 1, kPlainSpelling, nullptr, 0}, kPlainTraits, nullptr, 0, "PCAN-USB FD's crystal"},
    {"peak-pciefd", "PEAK-System", "PCAN-PCIe FD cards", "the card's CAN clock (20, 24, 30, 40, 60 or 80 MHz)", 0,
     // peak_canfd.c peak_canfd_nominal_const: tseg1 1..(1 << PUCAN_TSLOW_TSGEG1_BITS) = 256,
     // tseg2 1..128, sjw_max 128, brp 1..1024 (peak_canfd.h's TSLOW bits).
     Limits({1, 1024}, 1, {1, 256}, {1, 128}, {1, 128}, nullptr, 0), true,
     // peak_canfd_data_const: tseg1 1..32, tseg2 1..16, sjw_max 16, brp 1..1024 (TFAST bits).
     Limits({1, 1024}, 1, {1, 32}, {1, 16}, {1, 16}, nullptr, 0), kNoTdc,
     "Linux drivers/net/can/peak_canfd/peak_pciefd_main.c (CANFD_CLK_SEL_*), peak_canfd.c, "
     "include/linux/can/dev/peak_canfd.h",
     // The kernel's driver sets the timing through the card's command port.
     {kLinux | kPython, 1, kPlainSpelling, nullptr, 0}, kPlainTraits, kPcieFdClocksKHz, 6},
    {"pcan-usb", "PEAK-System", "PCAN-USB (classic CAN)", "fixed 16 MHz (its SJA1000's crystal)", 16000,
     // pcan_usb.c pcan_usb_const: tseg1 1..16, tseg2 1..8, sjw_max 4, brp 1..64, on
     // .clock.freq = PCAN_USB_CRYSTAL_HZ / 2 (16000000 / 2): the SJA1000's pairs of crystal
     // periods, 2, 4, ..., 128.
     Limits({2, 128}, 2, {1, 16}, {1, 8}, {1, 4}, nullptr, 0), false, kNoPhase, kNoTdc,
     "Linux drivers/net/can/usb/peak_usb/pcan_usb.c (pcan_usb_const, PCAN_USB_CRYSTAL_HZ)",
     {kLinux | kPython, 2, kPlainSpelling, nullptr, 0}, kPlainTraits, nullptr, 0, "PCAN-USB's crystal"},
    {"pcan-usb-pro", "PEAK-System", "PCAN-USB Pro (classic CAN, two channels)", "fixed 56 MHz", 56000,
     // pcan_usb_pro.c pcan_usb_pro_const: tseg1 1..16, tseg2 1..8, sjw_max 4, brp 1..1024,
     // on .clock.freq = PCAN_USBPRO_CRYSTAL_HZ 56000000.
     Limits({1, 1024}, 1, {1, 16}, {1, 8}, {1, 4}, nullptr, 0), false, kNoPhase, kNoTdc,
     "Linux drivers/net/can/usb/peak_usb/pcan_usb_pro.c (pcan_usb_pro_const, PCAN_USBPRO_CRYSTAL_HZ)",
     {kLinux | kPython, 1, kPlainSpelling, nullptr, 0}, kPlainTraits, nullptr, 0, "PCAN-USB Pro's crystal"},
    {"gs-usb", "candleLight", "gs_usb devices with bxCAN firmware: candleLight, CANable, cantact",
     "fixed 48 MHz (STM32F042/F072)", 48000,
     // The device reports its limits (gs_usb.c, GS_USB_BREQ_BT_CONST); candleLight_fw
     // src/can/bxcan.c CAN_btconst reports bxCAN's: tseg1 1..16, tseg2 1..8, sjw_max 4,
     // brp 1..1024, with .fclk_can = CAN_CLOCK_SPEED.
     Limits({1, 1024}, 1, {1, 16}, {1, 8}, {1, 4}, nullptr, 0), false, kNoPhase, kNoTdc,
     "Linux drivers/net/can/usb/gs_usb.c; candleLight_fw src/can/bxcan.c (CAN_btconst), include/config.h "
     "(CAN_CLOCK_SPEED 48000000)",
     // The kernel's driver sets the timing through the adapter. Another --clock is
     // warned of: candleLight's firmware runs the STM32F042/F072's bxCAN from its 48 MHz
     // system clock (config.h: CAN_CLOCK_SPEED 48000000; the device reports it as fclk_can).
     {kLinux | kPython, 1, kPlainSpelling, nullptr, 0}, kPlainTraits, nullptr, 0, "candleLight's STM32 bxCAN clock"},
    {"kvaser-pciefd", "Kvaser", "Kvaser PCIe FD cards (KCAN core: PCIEcan 4xHS, 2xHS v2, M.2, mini PCIe)",
     "the card's CAN clock (the driver reads it from the card)", 0,
     // kvaser_pciefd.c kvaser_pciefd_bittiming_const: tseg1 1..512, tseg2 1..32, sjw_max 16,
     // brp 1..8192; the same constants for the data phase (data_bittiming_const =
     // &kvaser_pciefd_bittiming_const); can.clock.freq = pcie->freq, the card's own.
     Limits({1, 8192}, 1, {1, 512}, {1, 32}, {1, 16}, nullptr, 0), true,
     Limits({1, 8192}, 1, {1, 512}, {1, 32}, {1, 16}, nullptr, 0), kNoTdc,
     "Linux drivers/net/can/kvaser_pciefd.c (kvaser_pciefd_bittiming_const, pcie->freq)",
     // The kernel's driver writes the timing to the card's KCAN core itself.
     {kLinux | kPython, 1, kPlainSpelling, nullptr, 0}},
    {"kvaser-usbcan2", "Kvaser", "Kvaser USBcan II, USBcan rev B, Memorator, VCI2 (M16C)", "fixed 8 MHz", 8000,
     // kvaser_usb_leaf.c kvaser_usb_leaf_m16c_bittiming_const ("kvaser_usb_ucii"): tseg1 4..16,
     // tseg2 2..8, sjw_max 4, brp 1..16; kvaser_usb_leaf_usbcan_dev_cfg .freq = 8 * MEGA.
     Limits({1, 16}, 1, {4, 16}, {2, 8}, {1, 4}, nullptr, 0), false, kNoPhase, kNoTdc,
     "Linux drivers/net/can/usb/kvaser_usb/kvaser_usb_leaf.c (kvaser_usb_leaf_m16c_bittiming_const, "
     "kvaser_usb_leaf_usbcan_dev_cfg)",
     {kLinux | kPython, 1, kPlainSpelling, nullptr, 0}, kPlainTraits, nullptr, 0, "kvaser_usb_leaf.c's 8 MHz"},
    {"kvaser-leaf", "Kvaser", "Kvaser Leaf (M32C): Leaf Light/Pro/SemiPro, Memorator II, USBcan Pro, BlackBird",
     "fixed 16 MHz", 16000,
     // kvaser_usb_leaf_m32c_bittiming_const ("kvaser_usb_leaf"): tseg1 3..16, tseg2 2..8,
     // sjw_max 4, brp 2..128 in steps of 2; kvaser_usb_leaf_m32c_dev_cfg .freq = 16 * MEGA:
     // "Firmware expects bittiming parameters calculated for 16MHz clock, regardless of
     // the actual clock" (KVASER_USB_QUIRK_IGNORE_CLK_FREQ).
     Limits({2, 128}, 2, {3, 16}, {2, 8}, {1, 4}, nullptr, 0), false, kNoPhase, kNoTdc,
     "Linux drivers/net/can/usb/kvaser_usb/kvaser_usb_leaf.c (kvaser_usb_leaf_m32c_bittiming_const, "
     "kvaser_usb_leaf_m32c_dev_cfg), kvaser_usb_core.c (the Leaf M32C product IDs)",
     {kLinux | kPython, 1, kPlainSpelling, nullptr, 0}, kPlainTraits, nullptr, 0,
     "kvaser_usb_leaf.c's 16 MHz, which the M32C firmware expects"},
    {"kvaser-leaf-imx", "Kvaser", "Kvaser Leaf (i.MX28): Leaf Lite v2, Leaf Light HS v2, USBcan Light 2xHS, USBcan R v2",
     "the clock the firmware reports (16, 24 or 32 MHz)", 0,
     // kvaser_usb_hydra.c kvaser_usb_flexc_bittiming_const ("kvaser_usb_flex"): tseg1 4..16,
     // tseg2 2..8, sjw_max 4, brp 1..256; kvaser_usb_leaf_imx_dev_cfg_16mhz/_24mhz/_32mhz.
     Limits({1, 256}, 1, {4, 16}, {2, 8}, {1, 4}, nullptr, 0), false, kNoPhase, kNoTdc,
     "Linux drivers/net/can/usb/kvaser_usb/kvaser_usb_leaf.c (kvaser_usb_leaf_imx_dev_cfg_*, "
     "KVASER_USB_LEAF_SWOPTION_FREQ_*), kvaser_usb_hydra.c (kvaser_usb_flexc_bittiming_const)",
     {kLinux | kPython, 1, kPlainSpelling, nullptr, 0}, kPlainTraits, kLeafImxClocksKHz, 3},
    {"kvaser-hydra", "Kvaser", "Kvaser USB hydra devices on the 80 MHz KCAN core (ip -details shows kvaser_usb_kcan)",
     "fixed 80 MHz", 80000,
     // kvaser_usb_hydra.c kvaser_usb_hydra_kcan_bittiming_c ("kvaser_usb_kcan"): tseg1 1..255,
     // tseg2 1..32, sjw_max 16, brp 1..8192, for both phases; kvaser_usb_hydra_dev_cfg_kcan
     // .freq = 80 * MEGA, chosen when the firmware sets KVASER_USB_HYDRA_SW_FLAG_FREQ_80M.
     Limits({1, 8192}, 1, {1, 255}, {1, 32}, {1, 16}, nullptr, 0), true,
     Limits({1, 8192}, 1, {1, 255}, {1, 32}, {1, 16}, nullptr, 0), kNoTdc,
     "Linux drivers/net/can/usb/kvaser_usb/kvaser_usb_hydra.c (kvaser_usb_hydra_kcan_bittiming_c, "
     "kvaser_usb_hydra_dev_cfg_kcan, kvaser_usb_hydra_get_software_details)",
     {kLinux | kPython, 1, kPlainSpelling, nullptr, 0}, kPlainTraits, nullptr, 0, "kvaser_usb_hydra.c's 80 MHz KCAN"},
    {"ems-usb", "EMS", "EMS Wuensche CPC-USB/ARM7", "fixed 16 MHz (SJA1000 settings)", 16000,
     // ems_usb.c: "uses a 16 MHz clock to generate the CAN clock but expects SJA1000 bit
     // settings based on 8MHz"; ems_usb_bittiming_const tseg1 1..16, tseg2 1..8, sjw_max 4,
     // brp 1..64 on EMS_USB_ARM7_CLOCK 8000000: pairs of 16 MHz periods, 2, 4, ..., 128.
     Limits({2, 128}, 2, {1, 16}, {1, 8}, {1, 4}, nullptr, 0), false, kNoPhase, kNoTdc,
     "Linux drivers/net/can/usb/ems_usb.c (ems_usb_bittiming_const, EMS_USB_ARM7_CLOCK)",
     {kLinux | kPython, 2, kPlainSpelling, nullptr, 0}, kPlainTraits, nullptr, 0, "ems_usb.c's 16 MHz clock"},
    {"esd-usb2", "esd", "esd CAN-USB/2 (60 MHz), CAN-USB/Micro (36 MHz)", "the adapter's clock (60 or 36 MHz)", 0,
     // esd_usb.c esd_usb_2_bittiming_const: tseg1 1..16, tseg2 1..8, sjw_max 4, brp 1..1024
     // (ESD_USB2_*), the clock.freq its adapter has.
     Limits({1, 1024}, 1, {1, 16}, {1, 8}, {1, 4}, nullptr, 0), false, kNoPhase, kNoTdc,
     "Linux drivers/net/can/usb/esd_usb.c (esd_usb_2_bittiming_const, ESD_USB2_CAN_CLOCK, ESD_USBM_CAN_CLOCK)",
     {kLinux | kPython, 1, kPlainSpelling, nullptr, 0}, kPlainTraits, kEsdUsb2ClocksKHz, 2},
    {"esd-usb3", "esd", "esd CAN-USB/3 (CAN FD)", "fixed 80 MHz", 80000,
     // esd_usb.c esd_usb_3_nom_bittiming_const: tseg1 2..256, tseg2 2..128, sjw_max 128,
     // brp 1..512; esd_usb_3_data_bittiming_const: tseg1 2..32, tseg2 1..16, sjw_max 8,
     // brp 1..32 ("Microchip SAM E70/S70/V70/V71 ... MCAN"); ESD_USB_3_CAN_CLOCK 80 MHz.
     Limits({1, 512}, 1, {2, 256}, {2, 128}, {1, 128}, nullptr, 0), true,
     // The firmware's automatic TDC (ESD_USB_3_TDC_MODE_AUTO) on the adapter's MCAN: the
     // listing gives the M_CAN offset, from the start of the bit, 0 to 127.
     Limits({1, 32}, 1, {2, 32}, {1, 16}, {1, 8}, nullptr, 0), {TdcCount::kFromBitStart, {0, 127}, kFromStart},
     "Linux drivers/net/can/usb/esd_usb.c, linux-can tree (esd_usb_3_nom_bittiming_const, "
     "esd_usb_3_data_bittiming_const, ESD_USB_3_CAN_CLOCK, ESD_USB_3_TDC_MODE_AUTO)",
     // No TDC options: the driver asks the firmware for its automatic TDC.
     {kLinux | kPython, 1, kPlainSpelling, nullptr, 0, LinuxTdc::kEsdFirmwareAuto}, kPlainTraits, nullptr, 0,
     "esd_usb.c's ESD_USB_3_CAN_CLOCK"},
    {"esdacc", "esd", "esd CAN-PCI/402, CAN-PCIe/402 family (esdACC core, classic CAN)",
     "the core's clock (the driver reads it from the FPGA)", 0,
     // esd_402_pci-core.c pci402_bittiming_const ("esd_402"): tseg1 1..16, tseg2 1..8,
     // sjw_max 4, brp 1..512; clock.freq = the FPGA's ACC_OV_OF_CANCORE_FREQ, halved on
     // cores without the NEW_PSC feature.
     Limits({1, 512}, 1, {1, 16}, {1, 8}, {1, 4}, nullptr, 0), false, kNoPhase, kNoTdc,
     "Linux drivers/net/can/esd/esd_402_pci-core.c (pci402_bittiming_const), esdacc.c (core_frequency)",
     {kLinux | kPython, 1, kPlainSpelling, nullptr, 0}},
    {"es581.4", "ETAS", "ETAS ES581.4", "fixed 50 MHz", 50000,
     // es581_4.c es581_4_bittiming_const ("as specified in the microcontroller datasheet:
     // Stellaris(R) LM3S5B91 ... table 17-4"): tseg1 1..8, tseg2 1..8, sjw_max 4, brp 1..128;
     // es581_4_param .clock.freq 50 MHz, .bitrate_max 1 Mbit/s.
     Limits({1, 128}, 1, {1, 8}, {1, 8}, {1, 4}, nullptr, 0), false, kNoPhase, kNoTdc,
     "Linux drivers/net/can/usb/etas_es58x/es581_4.c (es581_4_bittiming_const, es581_4_param)",
     {kLinux | kPython, 1, kPlainSpelling, nullptr, 0}, kPlainTraits, nullptr, 0, "es581_4.c's 50 MHz clock"},
    {"es58x-fd", "ETAS", "ETAS ES582.1, ES584.1 (CAN FD, on a SAM E70's MCAN)", "fixed 80 MHz", 80000,
     // es58x_fd.c es58x_fd_nom_bittiming_const: tseg1 2..256, tseg2 2..128, sjw_max 128,
     // brp 1..512; es58x_fd_data_bittiming_const: tseg1 2..32, tseg2 1..16, sjw_max 8,
     // brp 1..32; es58x_tdc_const tdco 0..127 with CAN_CTRLMODE_TDC_AUTO; es58x_fd_param
     // .clock.freq 80 MHz.
     Limits({1, 512}, 1, {2, 256}, {2, 128}, {1, 128}, nullptr, 0), true,
     Limits({1, 32}, 1, {2, 32}, {1, 16}, {1, 8}, nullptr, 0),
     {TdcCount::kFromBitStart, {0, 127}, kFromStart},
     "Linux drivers/net/can/usb/etas_es58x/es58x_fd.c (es58x_fd_nom_bittiming_const, "
     "es58x_fd_data_bittiming_const, es58x_tdc_const, es58x_fd_param)",
     {kLinux | kPython, 1, kPlainSpelling, nullptr, 0}, kPlainTraits, nullptr, 0, "es58x_fd.c's 80 MHz clock"},
    {"usb2can", "8devices", "8devices USB2CAN (usb_8dev)", "fixed 32 MHz", 32000,
     // usb_8dev.c usb_8dev_bittiming_const: tseg1 1..16, tseg2 1..8, sjw_max 4, brp 1..1024;
     // clock.freq = USB_8DEV_ABP_CLOCK 32000000.
     Limits({1, 1024}, 1, {1, 16}, {1, 8}, {1, 4}, nullptr, 0), false, kNoPhase, kNoTdc,
     "Linux drivers/net/can/usb/usb_8dev.c (usb_8dev_bittiming_const, USB_8DEV_ABP_CLOCK)",
     // The kernel's driver sends the setting to the adapter's firmware.
     {kLinux | kPython, 1, kPlainSpelling, nullptr, 0}, kPlainTraits, nullptr, 0, "usb_8dev.c's USB_8DEV_ABP_CLOCK"},
    {"f81604", "Fintek", "Fintek F81604 USB to 2 CAN", "fixed 24 MHz (the crystal of its SJA1000-like core)", 24000,
     // f81604.c f81604_bittiming_const: tseg1 1..16, tseg2 1..8, sjw_max 4, brp 1..64, on
     // clock.freq = F81604_CAN_CLOCK (24 * MEGA / 2, later written 12 * MEGA): as the
     // SJA1000's, the prescaler counts pairs of crystal periods, 2, 4, ..., 128.
     Limits({2, 128}, 2, {1, 16}, {1, 8}, {1, 4}, nullptr, 0), false, kNoPhase, kNoTdc,
     "Linux drivers/net/can/usb/f81604.c (f81604_bittiming_const, F81604_CAN_CLOCK)",
     {kLinux | kPython, 2, kPlainSpelling, nullptr, 0}, kPlainTraits, nullptr, 0, "f81604.c's 24 MHz crystal"},
};

#undef QUILLMERE_REGISTERS
#undef QUILLMERE_COUNT
#undef QUILLMERE_REGS

constexpr int32_t kTableCount = static_cast<int32_t>(sizeof kTable / sizeof kTable[0]);

bool InRange(int32_t value, FieldRange range) { return value >= range.first && value <= range.last; }
bool PairFits(const void* context, int32_t seg1, int32_t seg2) {
  const PhaseQuestion& question = *static_cast<const PhaseQuestion*>(context);
  const int32_t widest = WidestSjw(*question.limits, seg1, seg2);
  return widest >= 1 && widest >= question.sjw;
}

}  // namespace

int32_t ControllerCount() { return kTableCount; }
const ControllerEntry& ControllerAt(int32_t index) { return kTable[index]; }

const ControllerEntry* FindController(const char* name) {
  for (const ControllerEntry& entry : kTable)
    if (std::strcmp(entry.name, name) == 0) return &entry;
  return nullptr;
}

const ControllerEntry& DefaultController() {
  for (const ControllerEntry& entry : kTable)
    if (entry.traits.isDefault) return entry;
  return kTable[0];  // not reached: the table's test checks that one entry is the default
}

const PhaseLimits& PhaseLimitsOf(const ControllerEntry& entry, bool data) { return data ? entry.data : entry.nominal; }

bool IsSplit(const PhaseLimits& limits) { return limits.prop.first <= limits.prop.last; }

bool SplitSeg1(const PhaseLimits& limits, int32_t seg1, int32_t& prop, int32_t& phase1) {
  if (!IsSplit(limits)) {
    prop = 0;
    phase1 = 0;
    return true;
  }
  // 1. Linux's split (can_calc_bittiming): prop the lower half, phase1 the rest.
  prop = seg1 / 2;
  phase1 = seg1 - prop;
  // 2. A phase1 above its field gives the excess to prop (flexcan_set_bittiming_cbt);
  //    a prop above its field gives it to phase1.
  if (phase1 > limits.phase1.last) prop += phase1 - limits.phase1.last, phase1 = limits.phase1.last;
  if (prop > limits.prop.last) phase1 += prop - limits.prop.last, prop = limits.prop.last;
  // 3. One below its field takes from the other.
  if (prop < limits.prop.first) phase1 -= limits.prop.first - prop, prop = limits.prop.first;
  if (phase1 < limits.phase1.first) prop -= limits.phase1.first - phase1, phase1 = limits.phase1.first;
  return InRange(prop, limits.prop) && InRange(phase1, limits.phase1);
}

int32_t WidestSjw(const PhaseLimits& limits, int32_t seg1, int32_t seg2) {
  int32_t prop = 0;
  int32_t phase1 = 0;
  if (!SplitSeg1(limits, seg1, prop, phase1)) return 0;
  if ((limits.rules & kRuleSeg1AtLeastSeg2) != 0 && seg1 < seg2) return 0;
  if ((limits.rules & kRuleBitAtLeast8Quanta) != 0 && 1 + seg1 + seg2 < kLeastQuantaPerBit) return 0;
  if ((limits.rules & kRuleSeg1AboveSeg2PlusOne) != 0 && seg1 - 1 <= seg2) return 0;
  // The jump may exceed neither phase segment (ISO 11898-1).
  int32_t widest = limits.sjw.last;
  const int32_t beforeSample = IsSplit(limits) ? phase1 : seg1;
  if (widest > beforeSample) widest = beforeSample;
  if (widest > seg2) widest = seg2;
  if ((limits.rules & kRuleSjwBelowSeg2) != 0 && widest > seg2 - 1) widest = seg2 - 1;
  return widest >= limits.sjw.first ? widest : 0;
}

TimingRanges SearchRanges(const PhaseQuestion& question) {
  const PhaseLimits& limits = *question.limits;
  return TimingRanges{limits.prescaler, limits.seg1,          limits.seg2,
                      limits.sjw,       limits.prescalerStep, PairFilter{PairFits, &question}};
}

SettingFit FitOfSetting(const PhaseQuestion& question, int32_t prescaler, int32_t seg1, int32_t seg2) {
  const TimingRanges ranges = SearchRanges(question);
  // The search steps the prescaler from the range's first: a value off that step is
  // never walked.
  if (!InRange(prescaler, ranges.prescaler) || (prescaler - ranges.prescaler.first) % ranges.prescalerStep != 0)
    return SettingFit::kPrescaler;
  if (!InRange(seg1, ranges.seg1)) return SettingFit::kSeg1;
  if (!InRange(seg2, ranges.seg2)) return SettingFit::kSeg2;
  if (ranges.filter.fits(ranges.filter.context, seg1, seg2)) return SettingFit::kFits;
  return WidestSjw(*question.limits, seg1, seg2) >= 1 ? SettingFit::kSjw : SettingFit::kRules;
}

BitTimingLengths ControllerLengths(const PhaseLimits& limits, const TimingCandidate& record, int32_t sjw) {
  BitTimingLengths lengths{record.prescaler, record.bs1Code + 1, record.bs2Code + 1, sjw};
  SplitSeg1(limits, lengths.seg1, lengths.prop, lengths.phase1);
  return lengths;
}

void EncodePhaseRegisters(const PhaseLimits& limits, const BitTimingLengths& lengths, uint32_t* values) {
  for (int32_t i = 0; i < limits.registerCount && i < kMaxPhaseRegisters; ++i)
    values[i] = EncodeLengths(lengths, *limits.registers[i]);
}

int32_t DefaultSjw(const ControllerEntry& entry, const PhaseLimits& limits, const TimingCandidate& record) {
  switch (entry.traits.sjwByDefault) {
    case SjwByDefault::kShorterSegment:
      return DefaultSyncJumpWidth(record, TimingRanges{limits.prescaler, limits.seg1, limits.seg2, limits.sjw,
                                                       limits.prescalerStep, PairFilter{}});
    default: return WidestSjw(limits, record.bs1Code + 1, record.bs2Code + 1);
  }
}

TdcOffset TdcOffsetRule(const ControllerEntry& entry, const BitTimingLengths& data) {
  if (entry.tdc.count == TdcCount::kNone) return TdcOffset{TdcVerdict::kNoTdc, -1};
  const int32_t quanta = entry.tdc.count == TdcCount::kSeg1Quanta ? data.seg1 : 1 + data.seg1;
  const int32_t offset = data.prescaler * quanta;
  if (data.prescaler > 2) return TdcOffset{TdcVerdict::kPrescalerAboveTwo, offset};
  if (!InRange(offset, entry.tdc.offset)) return TdcOffset{TdcVerdict::kOffsetOutOfRange, offset};
  return TdcOffset{TdcVerdict::kApplies, offset};
}

int32_t TdcOffsetOf(const ControllerEntry& entry, const BitTimingLengths& data) {
  const TdcOffset rule = TdcOffsetRule(entry, data);
  return rule.verdict == TdcVerdict::kApplies ? rule.offset : -1;
}

// tq = prescaler / clock, so the test in whole numbers is
// delay x clock < (1 + seg1) x prescaler x 10^6 (ns x kHz).
bool BitReturnsBeforeSamplePoint(const BitTimingLengths& data, int32_t clockKHz, int32_t nodeDelayNs) {
  return int64_t{nodeDelayNs} * clockKHz < int64_t{1 + data.seg1} * data.prescaler * 1000000;
}

bool ChecksOwnBits(const ControllerEntry& entry, const BitTimingLengths& data, int32_t clockKHz, float dataRate,
                   int32_t nodeDelayNs) {
  if (dataRate < 1000.0f) return true;
  if (entry.tdc.count != TdcCount::kNone) return TdcOffsetOf(entry, data) >= 0;
  return BitReturnsBeforeSamplePoint(data, clockKHz, nodeDelayNs);
}
