// The CAN controllers Quillmere knows, as data: one entry per controller, read by one
// search (bit_timing_search.h) and one register model (register_layout.h). An entry is
// everything the product knows of its controller: limits, registers, rules, TDC and
// clock conventions, the code forms' facts, and the traits that keep bxCAN's and
// FDCAN's older answers as they were. No code asks which controller an entry is.
//
// Adding a controller touches:
//   1. its entry in the table in controllers.cpp (the plain traits, kPlainTraits, unless
//      it keeps an older form), with its CodeFacts;
//   2. its registers' rows (calc/registers_<vendor>.h) where it has registers;
//   3. its section in docs/controllers.md.
// A new convention (a way of naming segments, a default SJW, a TDC count) is a new
// trait or rule here and the code that reads it, not a test of the entry's name.
// Controllers.EveryEntryHasTheFactsItsFormsNeed fails while a fact a face needs is
// missing.
//
// Every number counts in the clock the user types for that controller (the entry's
// `clock`): the prescaler is the divider of that clock per time quantum, so the
// MCP2515's and SJA1000's, which count pairs of oscillator periods, are 2, 4, ..., 128.
#pragma once

#include "calc/bit_timing_search.h"
#include "calc/output_formats.h"
#include "calc/register_layout.h"

#include <cstdint>

// Rules beyond the ranges, as bits of PhaseLimits::rules.
constexpr unsigned kRuleSeg1AtLeastSeg2 = 1;  // prop + phase1 >= phase2 (MCP2515 datasheet §5.3)
constexpr unsigned kRuleSjwBelowSeg2 = 2;     // phase2 > SJW, strictly (MCP2515 datasheet §5.3)
// A decoded seg1 or seg2 of one quantum is warned of although its register holds it:
// the M_CAN manual gives NTSEG1 1 to 255 and NTSEG2 1 to 127 as the valid field values
// (ST's FDCAN takes 0). No bearing on the search, whose seg1 and seg2 start at 2.
constexpr unsigned kRuleWarnSegmentOfOne = 4;
// A bit of at least 8 quanta, 1 + seg1 + seg2 >= 8 (Infineon XMCLib xmc_can.c,
// XMC_CAN_NODE_NominalBitTimeConfigureEx: "TSeg1 >= 3 Tq, TSeg2 >= 2 Tq, Bit Time >= 8 Tq").
constexpr unsigned kRuleBitAtLeast8Quanta = 8;
constexpr int32_t kLeastQuantaPerBit = 8;
// Phase segment 1 longer than phase segment 2 as GRLIB's GRCAN counts them, seg1 - 1 >
// seg2 (Linux grcan.c grcan_set_bittiming refuses "PS1 > PS2 must hold", PS1 = tseg1 -
// 1, PS2 = tseg2).
constexpr unsigned kRuleSeg1AboveSeg2PlusOne = 16;

// One phase of a controller (the nominal phase, or an FD controller's data phase).
struct PhaseLimits {
  FieldRange prescaler;   // the divider of the typed clock per quantum
  int32_t prescalerStep;  // 2 where the divider counts pairs of periods
  FieldRange seg1;        // prop + phase1
  FieldRange seg2;
  FieldRange sjw;
  // Where seg1 is kept in two fields, their ranges; prop.first > prop.last (an empty
  // range) where seg1 is one field.
  FieldRange prop;
  FieldRange phase1;
  unsigned rules;  // kRule... bits
  const Register* const* registers;  // the registers that hold the setting; null: none
  int32_t registerCount;
};

constexpr FieldRange kNoSplit{1, 0};

// How an FD controller's transmitter delay compensation offset counts.
enum class TdcCount {
  kNone,          // no TDC offset to set (classic controllers, USB adapters)
  kSeg1Quanta,    // dbrp x dseg1 clock periods, sync segment left out (ST's FDCAN advice)
  kFromBitStart,  // dbrp x (1 + dseg1) clock periods: absolute, sync segment included
};

struct TdcConvention {
  TdcCount count;
  FieldRange offset;  // the offsets the register takes
  const char* text;   // what the offset counts, for the listing of controllers
  // The code forms set TDC as the vendor advises it (FDCAN: DBTP.TDC, TDCR.TDCO and
  // HAL_FDCAN_ConfigTxDelayCompensation) and say why where it does not apply; false:
  // they name the offset in a comment.
  bool advised = false;
  // The register that holds the offset apart from the phase's registers (Bosch's TDCR,
  // the MCP2518FD's CiTDC), written by the registers form beside them; null: the offset
  // is a field of a phase register (M_CAN 3.0's FBTP, Xilinx's F_BRPR), or not modelled.
  const Register* offsetRegister = nullptr;
};

// How a row names seg1 and seg2: by their number of quanta ("4"), or by the constants
// of ST's libraries ("CAN_BS1_4tq"), as the window's table and bxCAN's code have them.
enum class SegmentNaming { kQuanta, kLibraryConstants };
// The SJW of a row where none is asked for.
// (The window's table, bxCAN's listing in the companion's table form, keeps the
// window's SJW of 1: answers/rows/output_options.h, KeepsWindowSjw.)
enum class SjwByDefault {
  kWidest,          // the widest the rules allow (WidestSjw)
  kShorterSegment,  // min(seg1, seg2) within the SJW's range (DefaultSyncJumpWidth)
};

// What the registers form writes before a register's name ("CAN1->" for bxCAN), and
// whether the register keeps bits beside the timing that the form must leave alone
// (FlexCAN's CTRL1 holds the clock select and interrupt masks): then it is written
// with a read-modify-write.
struct RegisterSpelling {
  const char* prefix;
  bool keepOtherBits;
  const char* firstName;  // the C name of the first register where it differs from the
                          // manual's (bxCAN's CAN_BTR is CAN1->BTR); null: the manual's
  // What follows every register's name: GigaDevice's library names its registers by
  // macros of the peripheral, CAN_BT(CAN0).
  const char* suffix = "";
};
constexpr RegisterSpelling kPlainSpelling{"", false, nullptr};

// How the controller's Linux driver treats the data phase's transmitter delay
// compensation, for the linux form: ip takes tdc-mode options only for a driver that
// declares TDC constants; the others refuse them ("Operation not supported") and set
// TDC themselves, by their own rule.
enum class LinuxTdc {
  kOptions,   // mcp251xfd, rcar_canfd, xilinx_can: tdc-mode auto tdco N, or tdc-mode off
  kMcanRule,  // m_can.c m_can_set_bittiming: above 2.5 Mbit/s, TDCO = clock / 1000 x
              // sample point (per mille) / bit rate, at most 127; else no TDC
  kFlexcanRule,  // flexcan-core.c flexcan_set_bittiming_cbt: whenever FD is on, TDCOFF =
                 // (phase_seg1 - 1 + prop_seg + 2) x brp, cut to its 5 bits
  kCtucanRule,   // ctucanfd_base.c ctucan_set_secondary_sample_point: above 1 Mbit/s, SSP
                 // offset = clock / 1000 x sample point (per mille) / bit rate, at most 127
  kIfiRule,      // ifi_canfd.c ifi_canfd_set_bittiming: always, TDELAY = brp x (prop_seg +
                 // phase_seg1), cut to IFI_CANFD_TDELAY_MASK 0x3fff
  kEsdFirmwareAuto,  // esd_usb.c: the CAN-USB/3's firmware in its automatic TDC mode
                     // (ESD_USB_3_TDC_MODE_AUTO), whatever the setting
};

// A length as a vendor library's header names it: prefix, the number of quanta, suffix
// ("CAN_BT_BS1_" 6 "TQ"); a null prefix: the number itself.
struct LibraryConstant {
  const char* prefix;
  const char* suffix;
};

// The init structure of a vendor's own library, for the sdk form: each field as the C
// lvalue an example of the library writes, the constants its header names for the
// lengths, and the test modes it names for the register's loop-back and silent bits.
struct VendorLibrary {
  const char* header;  // the header that names them: "gd32f30x_can.h"
  const char* prescaler;
  const char* sjw;
  LibraryConstant sjwValue;
  const char* seg1;
  LibraryConstant seg1Value;
  const char* seg2;
  LibraryConstant seg2Value;
  const char* mode;      // the field of the test mode
  const char* modes[4];  // normal, loop-back, silent, both
  const char* loopBackFlag;  // the register's flag fields the modes set
  const char* silentFlag;
};

// What the code forms (answers/code/code_output.h) need of a controller beyond its limits.
struct CodeFacts {
  // The code forms it has (FormBit of each): registers where it has registers, linux
  // with a mainline kernel driver, zephyr with a Zephyr driver, python-can always (its
  // BitTiming describes a setting, not a driver), hal and spl with ST's libraries,
  // esp-idf with Espressif's, sdk with its vendor's own (library).
  unsigned forms;
  // How many periods of the typed clock make one period of the clock the kernel, Zephyr
  // and python-can count the prescaler in: 2 where the prescaler counts pairs of
  // oscillator periods (SJA1000, MCP2515, the ESP32s' TWAI), else 1.
  int32_t coreClockDivisor;
  RegisterSpelling spelling;
  // Zephyr's driver and the clock its prescaler counts, for the zephyr form's comment:
  // "can_mcp2515: core clock = half the oscillator"; null without the zephyr form.
  const char* zephyrDriver;
  // The least prop-seg + phase-seg1 the kernel's driver takes where it is above the
  // controller's own (Linux mcp251x.c has tseg1_min 3, the MCP2515 takes 2); else 0.
  int32_t linuxSeg1First;
  LinuxTdc linuxTdc = LinuxTdc::kOptions;
  // The driver requires fd-non-iso on with fd on: m_can.c makes CAN_CTRLMODE_FD_NON_ISO a
  // static mode of M_CAN 3.0 and 3.1 cores, and the kernel refuses a line without it.
  bool linuxFdNonIso = false;
  // The vendor's library for the sdk form; null without it.
  const VendorLibrary* library = nullptr;
  // The Raspberry Pi device-tree overlay that loads the kernel's driver for a chip on
  // the Pi's SPI, for the linux form ("mcp2515-can0": dtoverlay=mcp2515-can0,oscillator=
  // <the typed clock in Hz>,interrupt=<GPIO>); null: none.
  const char* raspberryPiOverlay = nullptr;
};

// What makes an entry's answers look as they do where they differ from the plain form
// every new entry takes (kPlainTraits): the conventions bxCAN and FDCAN kept from before
// the table, which scripts and the window read.
struct ControllerTraits {
  bool isDefault;             // the request's controller when none is named
  SegmentNaming segmentNames;
  SjwByDefault sjwByDefault;
  PrescalerScan scan;         // kEvery: every prescaler of every pair, as the window's table
  // The older form of the rows: one register column (the phase's only register, CAN_BTR,
  // NBTP or DBTP) with the SJW, mode and TDC bit columns, in place of the registers, flags,
  // prop and phase1 columns; a bare decoded value checked for reserved bits as it is
  // read, and a decoded value's warnings after "<REGISTER> <value>".
  bool olderForm;
  // How a setting's rate is held against the tolerance: exactly, unless the rows are
  // the window's table, whose float test with its slack they keep.
  ToleranceTest toleranceTest = ToleranceTest::kExact;
};
constexpr ControllerTraits kPlainTraits{false, SegmentNaming::kQuanta, SjwByDefault::kWidest, PrescalerScan::kRateWindow,
                                        false, ToleranceTest::kExact};

struct ControllerEntry {
  const char* name;    // --controller's: "mcp2515"
  const char* vendor;  // for grouping: "Microchip"
  const char* chips;   // "MCP2515, MCP25625"
  const char* clock;   // the clock the user types: "oscillator (OSC1)"
  int32_t fixedClockKHz;  // a clock the controller always has (USB adapters); 0: none
  PhaseLimits nominal;
  bool fd;             // has a data phase
  PhaseLimits data;    // valid when fd
  TdcConvention tdc;
  const char* source;  // where the numbers come from
  CodeFacts code;
  ControllerTraits traits = kPlainTraits;
  // The only clocks its chips run at, where they are a few (PEAK's PCIe FD cards select
  // one of six), ascending; null: any clock. Another clock is warned of, not refused.
  const int32_t* clockChoicesKHz = nullptr;
  int32_t clockChoiceCount = 0;
  // Where fixedClockKHz comes from, for the warning a typed other clock gets: "PCAN-USB
  // FD's crystal". Null where fixedClockKHz is 0.
  const char* fixedClockSource = nullptr;
  // The clocks its chips run at, where a source bounds them (the MCP2515's 1 to 25 MHz,
  // which Linux's mcp251x.c refuses to leave), and that source; an empty range: none.
  // Another clock is warned of, not refused.
  FieldRange clockRangeKHz = {1, 0};
  const char* clockRangeSource = nullptr;
};

// The table, in the order --controller list prints it.
int32_t ControllerCount();
const ControllerEntry& ControllerAt(int32_t index);
// The entry named name, or null.
const ControllerEntry* FindController(const char* name);
// The entry whose traits say isDefault: the request's controller when none is named.
const ControllerEntry& DefaultController();
// The limits of entry's nominal phase, or with data its data phase.
const PhaseLimits& PhaseLimitsOf(const ControllerEntry& entry, bool data);
// Whether limits keep seg1 in two fields (prop and phase1).
bool IsSplit(const PhaseLimits& limits);

// Linux's split of seg1 (prop = seg1 / 2 rounded down, phase1 the rest), then moved
// into the fields' ranges (a phase1 above its range gives its excess to prop, as the
// FlexCAN driver does, and the other way round). False when no split fits; where seg1
// is one field, prop and phase1 are 0 and it always fits.
bool SplitSeg1(const PhaseLimits& limits, int32_t seg1, int32_t& prop, int32_t& phase1);
// The widest SJW the phase's rules allow for seg1/seg2: at most sjw.last, seg2 and
// phase1 (seg1 where it is one field), below seg2 with kRuleSjwBelowSeg2. 0 when the
// pair breaks a rule (seg1 below seg2 with kRuleSeg1AtLeastSeg2, a bit of fewer than 8
// quanta with kRuleBitAtLeast8Quanta, seg1 - 1 not above seg2 with
// kRuleSeg1AboveSeg2PlusOne) or no split fits: then no SJW makes it a setting.
int32_t WidestSjw(const PhaseLimits& limits, int32_t seg1, int32_t seg2);

// The question one phase puts to the search: its limits, and the SJW asked for (0:
// each row takes WidestSjw). Lives as long as the ranges made from it.
struct PhaseQuestion {
  const PhaseLimits* limits;
  int32_t sjw;
};
// The ranges the search walks for question: the limits, with a filter that leaves out
// each seg1/seg2 pair whose split does not fit, that breaks a rule, or whose widest SJW
// is below the one asked for.
TimingRanges SearchRanges(const PhaseQuestion& question);

// Whether the search for question walks one setting (the prescaler, seg1 and seg2 in
// quanta), read from the very ranges and pair filter SearchRanges gives it: the prescaler
// in its range on its step, seg1 and seg2 in theirs, the pair through the filter (its
// split, the rules, the SJW asked for). kSjw: the pair keeps the rules but its widest
// SJW is below the one asked for. The rate and sample point are the listing's to judge.
enum class SettingFit { kFits, kPrescaler, kSeg1, kSeg2, kRules, kSjw };
SettingFit FitOfSetting(const PhaseQuestion& question, int32_t prescaler, int32_t seg1, int32_t seg2);

// A listed record's lengths in limits: its SJW, and prop and phase1 by SplitSeg1.
BitTimingLengths ControllerLengths(const PhaseLimits& limits, const TimingCandidate& record, int32_t sjw);
// The phase's register values of lengths, values[i] for limits.registers[i] (at most
// kMaxPhaseRegisters).
constexpr int32_t kMaxPhaseRegisters = 4;
void EncodePhaseRegisters(const PhaseLimits& limits, const BitTimingLengths& lengths, uint32_t* values);

// The SJW a row of limits takes where none is asked for, by entry's sjwByDefault.
int32_t DefaultSjw(const ControllerEntry& entry, const PhaseLimits& limits, const TimingCandidate& record);

// The TDC offset rule: a data setting's offset by the controller's convention, and
// whether it applies: a data prescaler of 1 or 2 (ISO 11898-1 §11.3.3) and an offset
// within tdc.offset. offset is -1 for a controller without TDC.
enum class TdcVerdict { kApplies, kNoTdc, kPrescalerAboveTwo, kOffsetOutOfRange };
struct TdcOffset {
  TdcVerdict verdict;
  int32_t offset;  // what the convention counts, whether or not it applies
};
TdcOffset TdcOffsetRule(const ControllerEntry& entry, const BitTimingLengths& data);
// The offset where the rule applies, else -1.
int32_t TdcOffsetOf(const ControllerEntry& entry, const BitTimingLengths& data);
// Whether a data setting's own bit has come back through the node delay (the loop of
// transceiver and wiring) before its sample point: delay < (1 + seg1) x tq.
bool BitReturnsBeforeSamplePoint(const BitTimingLengths& data, int32_t clockKHz, int32_t nodeDelayNs);
// Whether a data setting checks its own bits at the node delay, as a plan requires: below 1000 Kbps always;
// at 1000 Kbps and above by TDC where the controller has it (the rule applies), and
// without TDC only when its bits have come back before the sample point:
// delay < (1 + seg1) x tq.
bool ChecksOwnBits(const ControllerEntry& entry, const BitTimingLengths& data, int32_t clockKHz, float dataRate,
                   int32_t nodeDelayNs);
