#include "answers/code/code_output.h"

#include "answers/columns/row_columns.h"
#include "answers/request/code_forms.h"
#include "answers/text/register_text.h"
#include "calc/bus_tolerance.h"
#include "calc/bxcan_register.h"
#include "calc/candidate_cells.h"
#include "calc/fdcan_timing.h"
#include "calc/registers.h"
#include "calc/text.h"

#include <string>

namespace {

// ---- One row as the forms read it ----

struct CodeRow {
  const TimingCandidate& record;
  const OutputOptions& options;
  const CandidateCells& cells;
};

const ControllerEntry& EntryOf(const OutputOptions& options) { return *options.controller; }

bool IsData(const OutputOptions& options) { return options.phase == Phase::kData; }

// A length as text.
std::string N(int64_t value) { return std::to_string(value); }

// The setting in whole numbers: the typed clock in Hz, the bit's quanta.
struct SettingNumbers {
  BitTimingLengths lengths;
  int64_t clockHz;
  int32_t quanta;  // 1 + seg1 + seg2
};

SettingNumbers NumbersOf(const CodeRow& row) {
  const BitTimingLengths lengths = RowLengths(row.record, row.options);
  return SettingNumbers{lengths, int64_t{row.options.clockKHz} * 1000, 1 + lengths.seg1 + lengths.seg2};
}

// The bit rate in whole bit/s, rounded to nearest (ties up).
int64_t RateBps(const SettingNumbers& n) {
  const int64_t perBit = int64_t{n.lengths.prescaler} * n.quanta;
  return (2 * n.clockHz + perBit) / (2 * perBit);
}

// The sample point in per mille: cut ("at most", as the kernel reads it) or rounded.
int64_t SamplePointPerMille(const SettingNumbers& n, bool rounded) {
  const int64_t scaled = int64_t{1 + n.lengths.seg1} * 1000;
  return rounded ? (2 * scaled + n.quanta) / (2 * n.quanta) : scaled / n.quanta;
}

// "0.875", "0.8", "0.857" for ip's sample-point.
std::string Fraction(int64_t perMille) { return ToFixedText(perMille, 3, 1).get(); }

// ---- The comment that opens a block ----

struct CommentMarks {
  const char* open;
  const char* close;
};
constexpr CommentMarks kCComment{"/* ", " */"};
constexpr CommentMarks kHashComment{"# ", ""};

void PutCommentLine(OutputSink& sink, const CommentMarks& marks, const std::string& text) {
  Put(sink, marks.open);
  Put(sink, text);
  Put(sink, marks.close);
  Put(sink, '\n');
}

// The columns that have a place there, in its order: "500 Kbps, sample point 85.7%,
// error 0%, CAN_BTR 0x001A0005, oscillator tolerance 0.36%". The forms that write the
// register values themselves leave the register out.
std::string CommentText(const CodeRow& row, bool withRegister) {
  CandidateText scratch;
  std::string text;
  const RowContext context{row.record, row.cells, row.options};
  for (int place = 1; place <= kColumnCount; ++place) {
    for (int c = 0; c < kColumnCount; ++c) {
      const Column& column = kColumns[c];
      if (column.codePlace != place || !InRow(column, row.options)) continue;
      if (!withRegister && std::string(column.key) == "register") continue;
      if (!text.empty()) text += ", ";
      const char* label = FaceOf(column, row.options).codeLabel;
      text += label;
      if (*label != 0) text += ' ';
      text += column.text(context, scratch).bytes;
      if (column.codeUnit != nullptr) text += column.codeUnit;
    }
  }
  return text;
}

// ---- hal and spl: ST's libraries ----

// The spellings of one block: the two bxCAN libraries', and HAL's for FDCAN's phases.
struct LibraryDialect {
  const char* prescaler;  // the field names, up to " = "
  const char* sjw;
  const char* bs1;
  const char* bs2;
  const char* mode;       // null: no mode field
  const char* quanta;     // the constants' "tq", as the library writes it; null: plain numbers
  const char* modes[4];   // normal, loop-back, silent, both
};

constexpr LibraryDialect kHal = {"hcan.Init.Prescaler",    "hcan.Init.SyncJumpWidth", "hcan.Init.TimeSeg1",
                                 "hcan.Init.TimeSeg2",     "hcan.Init.Mode",          "TQ",
                                 {"CAN_MODE_NORMAL", "CAN_MODE_LOOPBACK", "CAN_MODE_SILENT", "CAN_MODE_SILENT_LOOPBACK"}};
constexpr LibraryDialect kSpl = {"CAN_InitStructure.CAN_Prescaler", "CAN_InitStructure.CAN_SJW",
                                 "CAN_InitStructure.CAN_BS1",       "CAN_InitStructure.CAN_BS2",
                                 "CAN_InitStructure.CAN_Mode",      "tq",
                                 {"CAN_Mode_Normal", "CAN_Mode_LoopBack", "CAN_Mode_Silent", "CAN_Mode_Silent_LoopBack"}};
// HAL takes FDCAN's lengths as plain numbers of quanta.
constexpr LibraryDialect kHalNominal = {"hfdcan.Init.NominalPrescaler", "hfdcan.Init.NominalSyncJumpWidth",
                                        "hfdcan.Init.NominalTimeSeg1", "hfdcan.Init.NominalTimeSeg2",
                                        nullptr, nullptr, {}};
constexpr LibraryDialect kHalData = {"hfdcan.Init.DataPrescaler", "hfdcan.Init.DataSyncJumpWidth",
                                     "hfdcan.Init.DataTimeSeg1", "hfdcan.Init.DataTimeSeg2",
                                     nullptr, nullptr, {}};

// The libraries' constants for a controller whose rows name its segments so (bxCAN),
// HAL's plain numbers by phase for the others (FDCAN).
const LibraryDialect& LibraryDialectOf(const OutputOptions& options) {
  if (!NamesInQuanta(options)) return options.format == OutputFormat::kSpl ? kSpl : kHal;
  return IsData(options) ? kHalData : kHalNominal;
}

void PutAssignment(OutputSink& sink, const char* field, const std::string& value) {
  Put(sink, field);
  Put(sink, " = ");
  Put(sink, value);
  Put(sink, ";\n");
}

// A segment's value from its cell: FDCAN's plain length; for bxCAN its constant,
// "CAN_BS1_11tq", the library's own name in the spl form; the hal form writes "TQ".
std::string SegmentValue(const CandidateText& cell, const LibraryDialect& dialect) {
  if (dialect.quanta == nullptr) return cell.bytes;
  return std::string(cell.bytes, static_cast<std::size_t>(cell.length - 2)) + dialect.quanta;
}

// Why an advised TDC (TdcConvention::advised) does not apply, as a comment; "" where
// it does.
std::string NoTdcReason(const TdcOffset& tdc, const ControllerEntry& entry, const BitTimingLengths& data) {
  switch (tdc.verdict) {
    case TdcVerdict::kApplies: return "";
    case TdcVerdict::kPrescalerAboveTwo:
      return "/* no TDC: ISO 11898-1 allows it only with a data prescaler of 1 or 2, this one is " +
             N(data.prescaler) + " */\n";
    default:
      return "/* no TDC: its offset DataPrescaler x DataTimeSeg1 = " + N(tdc.offset) + " exceeds TDCO's " +
             N(entry.tdc.offset.last) + " */\n";
  }
}

// Whether the data row sets TDC as its vendor advises: a decoded DBTP only where its TDC
// bit is set.
bool WritesAdvisedTdc(const OutputOptions& options) {
  return EntryOf(options).tdc.advised && IsData(options) && (!options.decoded || options.modeBits != 0);
}

void PutLibraryBlock(OutputSink& sink, const CodeRow& row) {
  const LibraryDialect& dialect = LibraryDialectOf(row.options);
  PutCommentLine(sink, kCComment, CommentText(row, true));
  const std::string sjw = N(RowSjw(row.record, row.options));
  PutAssignment(sink, dialect.prescaler, row.cells.prescaler.bytes);
  PutAssignment(sink, dialect.sjw, dialect.quanta == nullptr ? sjw : "CAN_SJW_" + sjw + dialect.quanta);
  PutAssignment(sink, dialect.bs1, SegmentValue(row.cells.bs1, dialect));
  PutAssignment(sink, dialect.bs2, SegmentValue(row.cells.bs2, dialect));
  if (row.options.modeBits != 0 && dialect.mode != nullptr) {
    const uint32_t bits = row.options.modeBits;
    const int mode = ((bits & kLoopBackBit) != 0 ? 1 : 0) + ((bits & kSilentBit) != 0 ? 2 : 0);
    PutAssignment(sink, dialect.mode, dialect.modes[mode]);
  }
  // The data phase's transmitter delay compensation: the offset ST recommends with
  // filter 0, or why there is none.
  if (!WritesAdvisedTdc(row.options)) return;
  const BitTimingLengths data = RowLengths(row.record, row.options);
  const TdcOffset tdc = TdcOffsetRule(EntryOf(row.options), data);
  if (tdc.verdict != TdcVerdict::kApplies) return Put(sink, NoTdcReason(tdc, EntryOf(row.options), data));
  Put(sink, "HAL_FDCAN_ConfigTxDelayCompensation(&hfdcan, " + N(tdc.offset) + ", 0);\n");
  Put(sink, "HAL_FDCAN_EnableTxDelayCompensation(&hfdcan);\n");
}

// ---- A decoded row's flags ----

// The flags a decoded row's registers set that the linux, zephyr and python-can forms
// do not write ("LBKM (loop-back), SILM (silent)" of a CAN_BTR, "SMP, CLKSRC" of a
// CTRL1), in register order; "" for none. TDC is left out: those forms write it, or say
// what the driver does, on their own.
std::string UnwrittenFlags(const OutputOptions& options) {
  std::string names;
  const auto add = [&names](const std::string& name) { names += (names.empty() ? "" : ", ") + name; };
  if (OlderForm(options)) {
    if ((options.modeBits & kLoopBackBit) != 0) add("LBKM (loop-back)");
    if ((options.modeBits & kSilentBit) != 0) add("SILM (silent)");
    return names;
  }
  const std::string flags = RowFlagNames(options, ",");
  std::size_t start = 0;
  while (start < flags.size()) {
    std::size_t end = flags.find(',', start);
    if (end == std::string::npos) end = flags.size();
    const std::string name = flags.substr(start, end - start);
    if (name != "TDC" && name != "TDC_EN") add(name);
    start = end + 1;
  }
  return names;
}

// A comment after a form's line naming what of the decoded value it leaves out, so that
// nobody takes the line for the whole value.
void PutUnwrittenFlags(OutputSink& sink, const CommentMarks& marks, const CodeRow& row, const char* what) {
  const std::string names = UnwrittenFlags(row.options);
  if (names.empty()) return;
  const bool several = names.find(", ") != std::string::npos;
  PutCommentLine(sink, marks,
                 "the decoded registers also set " + names + ", which " + what + " does not carry: set " +
                     (several ? "them" : "it") + " where the driver or library sets such modes");
}

// ---- registers: the values in C by the manual's names ----

// The bits that hold the setting (its lengths and fixed fields), which a
// read-modify-write replaces.
uint32_t SettingBits(const Register& reg) {
  uint32_t bits = 0;
  for (int i = 0; i < reg.fieldCount; ++i) {
    const FieldRole role = reg.fields[i].role;
    if (role != FieldRole::kFlag && role != FieldRole::kTdcOffset) bits |= FieldMask(reg.fields[i]);
  }
  return bits;
}

// Where the register keeps other bits (FlexCAN's CTRL1), a read-modify-write replaces
// the setting's bits; a decoded value (decoded) is written as given, its flags cleared
// or set as it has them, so the mask takes in every flag field too.
void PutRegister(OutputSink& sink, const RegisterSpelling& spelling, const char* name, const Register& reg,
                 uint32_t value, bool decoded = false) {
  const std::string lvalue = std::string(spelling.prefix) + name + spelling.suffix;
  if (!spelling.keepOtherBits) return PutAssignment(sink, lvalue.c_str(), RegisterText(value, reg.bits));
  const uint32_t mask = SettingBits(reg) | (decoded ? FlagBits(reg) : 0u);
  PutAssignment(sink, lvalue.c_str(), "(" + lvalue + " & ~" + RegisterText(mask, reg.bits) + ") | " + RegisterText(value, reg.bits));
}

void PutRegistersBlock(OutputSink& sink, const CodeRow& row) {
  PutCommentLine(sink, kCComment, CommentText(row, false));
  const ControllerEntry& entry = EntryOf(row.options);
  const RegisterSpelling spelling = RegisterSpellingOf(entry);
  if (OlderForm(row.options)) {
    // bxCAN's CAN_BTR, FDCAN's NBTP or DBTP; FDCAN's data phase with TDC as ST advises it.
    const Register& reg = RegisterOf(row.options);
    uint32_t value = RowRegister(row.record, row.options);
    const char* name = spelling.firstName != nullptr ? spelling.firstName : reg.name;
    if (!WritesAdvisedTdc(row.options)) return PutRegister(sink, spelling, name, reg, value);
    const BitTimingLengths data = RowLengths(row.record, row.options);
    const TdcOffset tdc = TdcOffsetRule(entry, data);
    if (tdc.verdict == TdcVerdict::kApplies) value |= kTdcBit;
    PutRegister(sink, spelling, name, reg, value);
    if (tdc.verdict != TdcVerdict::kApplies) return Put(sink, NoTdcReason(tdc, entry, data));
    // TDCR (kTdcr): the offset in TDCO, the filter window TDCF 0.
    return PutAssignment(sink, (std::string(spelling.prefix) + kTdcr.name + spelling.suffix).c_str(),
                         RegisterText(EncodeTdcOffset(tdc.offset, kTdcr), kTdcr.bits));
  }
  uint32_t values[kMaxPhaseRegisters] = {};
  const int32_t count = RowRegisters(row.record, row.options, values);
  const PhaseLimits& limits = LimitsOf(row.options);
  // The data phase's TDC where the rule applies: each register's enable flag ("TDC",
  // Xilinx's "TDC_EN") and offset field set, and the separate offset register (TDCR,
  // CiTDC) written after them; a comment where the offset has no register modelled.
  const bool hasTdc = IsData(row.options) && entry.tdc.count != TdcCount::kNone;
  const int32_t offset = hasTdc ? TdcOffsetOf(entry, RowLengths(row.record, row.options)) : -1;
  bool offsetWritten = false;
  for (int32_t i = 0; i < count; ++i) {
    const Register& reg = *limits.registers[i];
    const char* name = i == 0 && spelling.firstName != nullptr ? spelling.firstName : reg.name;
    uint32_t value = values[i];
    if (offset >= 0) {
      const uint32_t flags = FlagMask(reg, "TDC") | FlagMask(reg, "TDC_EN");
      const uint32_t withOffset = EncodeTdcOffset(offset, reg);
      offsetWritten = offsetWritten || withOffset != FixedBits(reg) || flags != 0;
      value |= flags | withOffset;
    }
    PutRegister(sink, spelling, name, reg, value, row.options.decoded);
  }
  if (!hasTdc) return;
  if (offset < 0)
    return PutCommentLine(sink, kCComment,
                          "no TDC: it needs a data prescaler of 1 or 2 and an offset the register holds");
  if (entry.tdc.offsetRegister != nullptr)
    return PutRegister(sink, spelling, entry.tdc.offsetRegister->name, *entry.tdc.offsetRegister,
                       EncodeTdcOffset(offset, *entry.tdc.offsetRegister));
  if (!offsetWritten)
    PutCommentLine(sink, kCComment,
                   "TDC offset " + N(offset) + " (" + entry.tdc.text + ") in the controller's TDC register");
}

// ---- linux: ip link ----

// The kernel's prescaler for a tq (drivers/net/can/dev/bittiming.c can_fixup_bittiming):
// brp = clock x tq / 1e9 rounded, an exact half down, in steps of brpInc.
int64_t KernelPrescaler(int64_t kernelClockHz, int64_t tqNs, int64_t brpInc) {
  int64_t brp = kernelClockHz * tqNs;
  if (brpInc > 1) brp /= brpInc;
  brp = (brp + 500000000 - 1) / 1000000000;
  if (brpInc > 1) brp *= brpInc;
  return brp;
}

// The tq in whole ns, nearest to the exact quantum, that the kernel's rounding turns
// back into prescaler; 0 when none does (a clock above 1 GHz could skip one).
int64_t KernelTq(int64_t kernelClockHz, int64_t prescaler, int64_t brpInc) {
  const int64_t exact = prescaler * 1000000000 / kernelClockHz;  // cut
  // 1. The candidates around the exact quantum, nearest first (cut, one up, ...).
  const int64_t tries[] = {exact, exact + 1, exact - 1, exact + 2, exact - 2};
  for (const int64_t tq : tries)
    if (tq > 0 && tq <= 0xFFFFFFFF && KernelPrescaler(kernelClockHz, tq, brpInc) == prescaler) return tq;
  return 0;
}

// The lengths as the kernel takes them: prop-seg and phase-seg1 are the controller's
// fields where it has two; where it has one, the kernel's own split (prop = seg1 / 2),
// with phase-seg1 raised to the SJW, which the kernel checks against phase-seg1 alone.
struct KernelLengths {
  int64_t prescaler;  // in the kernel's clock
  int32_t prop;
  int32_t phase1;
  int32_t phase2;
  int32_t sjw;
};

KernelLengths KernelLengthsOf(const ControllerEntry& entry, const BitTimingLengths& l, bool split) {
  KernelLengths k{l.prescaler / CoreClockDivisor(entry), l.prop, l.phase1, l.seg2, l.sjw};
  if (!split) {
    k.phase1 = l.seg1 - l.seg1 / 2;
    if (k.phase1 < l.sjw) k.phase1 = l.sjw;
    k.prop = l.seg1 - k.phase1;
  }
  return k;
}


// The ip options of one phase ("tq 125 prop-seg 6 ..."; the data phase's with "d"), or
// why there are none, in problem.
std::string LinuxPhaseOptions(const CodeRow& row, std::string& problem) {
  const ControllerEntry& entry = EntryOf(row.options);
  const SettingNumbers n = NumbersOf(row);
  const int32_t divisor = CoreClockDivisor(entry);
  const int64_t kernelClockHz = n.clockHz / divisor;
  const PhaseLimits& limits = IsData(row.options) ? entry.data : entry.nominal;
  const int64_t brpInc = limits.prescalerStep / divisor > 1 ? limits.prescalerStep / divisor : 1;
  const KernelLengths k = KernelLengthsOf(entry, n.lengths, IsSplit(LimitsOf(row.options)));
  const char* d = IsData(row.options) ? "d" : "";
  if (!IsData(row.options) && LinuxSeg1First(entry) > n.lengths.seg1) {
    problem = "the kernel's driver takes prop-seg + phase-seg1 from " + N(LinuxSeg1First(entry)) + ", not " +
              N(n.lengths.seg1) + ": no ip line sets this setting";
    return "";
  }
  const int64_t tq = KernelTq(kernelClockHz, k.prescaler, brpInc);
  if (tq == 0) {
    problem = "no tq in whole ns gives the kernel's prescaler " + N(k.prescaler) + " at its clock of " +
              N(kernelClockHz) + " Hz: no ip line sets this setting";
    return "";
  }
  return std::string(d) + "tq " + N(tq) + " " + d + "prop-seg " + N(k.prop) + " " + d + "phase-seg1 " + N(k.phase1) +
         " " + d + "phase-seg2 " + N(k.phase2) + " " + d + "sjw " + N(k.sjw);
}

// The data phase's TDC options for a driver that takes them, as the kernel counts the
// offset (clock periods from the start of the bit, sync segment included, at most the
// driver's largest; calc_bittiming.c can_calc_tdco); "" for a controller without TDC or
// a driver that sets TDC itself (LinuxDriverTdcNote says what it does).
std::string LinuxTdcOptions(const CodeRow& row) {
  const ControllerEntry& entry = EntryOf(row.options);
  if (entry.tdc.count == TdcCount::kNone || entry.code.linuxTdc != LinuxTdc::kOptions) return "";
  const BitTimingLengths l = RowLengths(row.record, row.options);
  int64_t tdco = int64_t{l.prescaler} * (1 + l.seg1);
  if (tdco > entry.tdc.offset.last) tdco = entry.tdc.offset.last;
  if (l.prescaler > 2 || tdco < entry.tdc.offset.first) return " tdc-mode off";
  return " tdc-mode auto tdco " + N(tdco);
}

// " fd-non-iso on" where the driver requires it with fd on (M_CAN 3.0/3.1), else "".
std::string LinuxFdModes(const CodeRow& data) {
  return EntryOf(data.options).code.linuxFdNonIso ? " fd-non-iso on" : "";
}

// What a driver that sets TDC itself will do at the data row's setting, by its own rule,
// for a comment line; "" where the driver takes tdc-mode options. The offset is named
// with its convention, and beside the listing's where the listing counts another way
// (ST's dbrp x dseg1), so the line and the table never show two offsets unnamed.
std::string LinuxDriverTdcNote(const CodeRow& data) {
  const ControllerEntry& entry = EntryOf(data.options);
  if (entry.code.linuxTdc == LinuxTdc::kOptions) return "";
  const SettingNumbers n = NumbersOf(data);
  const int64_t brp = n.lengths.prescaler / CoreClockDivisor(entry);
  const int64_t clockHz = n.clockHz / CoreClockDivisor(entry);
  std::string listing;
  if (entry.tdc.count == TdcCount::kSeg1Quanta) {
    const TdcOffset rule = TdcOffsetRule(entry, n.lengths);
    listing = "; the listing's TDC offset, " + (rule.verdict == TdcVerdict::kApplies ? N(rule.offset) : std::string("-")) +
              ", counts " + entry.tdc.text;
  }
  if (entry.code.linuxTdc == LinuxTdc::kFlexcanRule) {
    // flexcan_set_bittiming_cbt: TDCEN and TDCOFF ((phase_seg1 - 1) + prop_seg + 2) x
    // ((brp - 1) + 1) through FIELD_PREP into FDCTRL[12:8], whenever FD is on (not in
    // loop-back mode).
    const int64_t offset = (1 + n.lengths.seg1) * brp;
    const int64_t kept = offset & 0x1F;
    return "flexcan takes no tdc-mode option and sets TDC itself whenever fd is on: TDCOFF = (1 + dseg1) x dbrp = " +
           N(offset) + (kept != offset ? ", which its 5-bit field cuts to " + N(kept) : std::string()) +
           " clock periods from the start of the bit" + listing;
  }
  if (entry.code.linuxTdc == LinuxTdc::kEsdFirmwareAuto)
    return "esd_usb takes no tdc-mode option: it asks the adapter's firmware for its automatic TDC at every "
           "setting (ESD_USB_3_TDC_MODE_AUTO)" + listing;
  if (entry.code.linuxTdc == LinuxTdc::kIfiRule) {
    // ifi_canfd_set_bittiming: TDELAY_EN and dbt->brp x (prop_seg + phase_seg1), masked
    // with IFI_CANFD_TDELAY_MASK, on every start.
    const int64_t offset = n.lengths.seg1 * brp;
    const int64_t kept = offset & 0x3FFF;
    return "ifi_canfd takes no tdc-mode option and always sets the transmitter delay itself: TDELAY = dseg1 x dbrp = " +
           N(offset) + (kept != offset ? ", which its 14-bit field cuts to " + N(kept) : std::string()) +
           " clock periods, the sync segment left out" + listing;
  }
  // m_can_set_bittiming (and ctucan_set_secondary_sample_point, above 1 Mbit/s), with the
  // kernel's bitrate and sample point of the setting (can_fixup_bittiming: clock / (brp x
  // quanta) and (1 + tseg1) x 1000 / quanta, cut).
  const bool ctucan = entry.code.linuxTdc == LinuxTdc::kCtucanRule;
  const char* driver = ctucan ? "ctucanfd" : "m_can";
  const char* what = ctucan ? "its secondary sample point" : "TDC";
  const char* offsetName = ctucan ? "SSP offset" : "TDCO";
  const int64_t threshold = ctucan ? 1000000 : 2500000;
  const char* thresholdText = ctucan ? "1 Mbit/s" : "2.5 Mbit/s";
  const int64_t bitrate = clockHz / (brp * n.quanta);
  const int64_t samplePoint = SamplePointPerMille(n, false);
  if (bitrate <= threshold)
    return std::string(driver) + " takes no tdc-mode option and sets " + what + " itself above " + thresholdText +
           " only: at " + N(bitrate) + " bit/s it leaves " + (ctucan ? "it" : "TDC") + " off" + listing;
  const int64_t tdco = clockHz / 1000 * samplePoint / bitrate;
  return std::string(driver) + " takes no tdc-mode option and sets " + what + " itself above " + thresholdText + ": " +
         offsetName + " = clock kHz x sample point / bit rate = " + N(clockHz / 1000) + " x " + N(samplePoint) + " / " +
         N(bitrate) + " = " + N(tdco) + (tdco > 127 ? ", which it clamps to 127" : std::string()) +
         " clock periods from the start of the bit" + listing;
}

// "bitrate 500000 sample-point 0.875" (data: dbitrate, dsample-point).
std::string LinuxShortOptions(const CodeRow& row) {
  const SettingNumbers n = NumbersOf(row);
  const char* d = IsData(row.options) ? "d" : "";
  return std::string(d) + "bitrate " + N(RateBps(n)) + " " + d + "sample-point " + Fraction(SamplePointPerMille(n, false));
}

const char kIpLink[] = "ip link set can0 type can ";
// The kernel's own algorithm (can_calc_bittiming) is not run here: say so.
const char kShortNote[] = " (the kernel then picks prescaler and segments itself, maybe others)";

std::string KernelClockNote(const CodeRow& row) {
  const ControllerEntry& entry = EntryOf(row.options);
  if (CoreClockDivisor(entry) == 1) return "";
  return "the kernel counts tq in its clock, half the typed one: " + N(NumbersOf(row).clockHz / 2) + " Hz";
}

void PutLinuxBlock(OutputSink& sink, const CodeRow& row) {
  PutCommentLine(sink, kHashComment, CommentText(row, false));
  const std::string note = KernelClockNote(row);
  if (!note.empty()) PutCommentLine(sink, kHashComment, note);
  std::string problem;
  const std::string options = LinuxPhaseOptions(row, problem);
  if (!problem.empty()) {
    PutCommentLine(sink, kHashComment, problem);
  } else if (IsData(row.options)) {
    // The data phase alone: the options to add to a nominal block's line.
    PutCommentLine(sink, kHashComment,
                   "data phase, to add to a nominal line: fd on" + LinuxFdModes(row) + " " + options + LinuxTdcOptions(row));
    const std::string note = LinuxDriverTdcNote(row);
    if (!note.empty()) PutCommentLine(sink, kHashComment, note);
  } else {
    const char* overlay = EntryOf(row.options).code.raspberryPiOverlay;
    // A chip on a Raspberry Pi's SPI: its overlay with this clock first (a wrong
    // oscillator= is the usual cause of a wrong rate), the interface up last.
    if (overlay != nullptr)
      PutCommentLine(sink, kHashComment,
                     std::string("on a Raspberry Pi, config.txt: dtoverlay=") + overlay + ",oscillator=" +
                         N(NumbersOf(row).clockHz) + ",interrupt=25 (interrupt: the GPIO its INT pin is wired to)");
    Put(sink, kIpLink + options + "\n");
  }
  PutUnwrittenFlags(sink, kHashComment, row, "this line");
  PutCommentLine(sink, kHashComment, std::string("shorter: ") + (IsData(row.options) ? "fd on" + LinuxFdModes(row) + " " : "") +
                                         LinuxShortOptions(row) + kShortNote);
  if (problem.empty() && !IsData(row.options) && EntryOf(row.options).code.raspberryPiOverlay != nullptr)
    Put(sink, "ip link set can0 up\n");
}

void PutLinuxPair(OutputSink& sink, const CodeRow& nominal, const CodeRow& data) {
  PutCommentLine(sink, kHashComment, "nominal: " + CommentText(nominal, false));
  PutCommentLine(sink, kHashComment, "data: " + CommentText(data, false));
  std::string problem;
  const std::string nominalOptions = LinuxPhaseOptions(nominal, problem);
  const std::string dataOptions = problem.empty() ? LinuxPhaseOptions(data, problem) : "";
  if (!problem.empty()) {
    PutCommentLine(sink, kHashComment, problem);
  } else {
    Put(sink, kIpLink + nominalOptions + " " + dataOptions + " fd on" + LinuxFdModes(data) + LinuxTdcOptions(data) + "\n");
    const std::string note = LinuxDriverTdcNote(data);
    if (!note.empty()) PutCommentLine(sink, kHashComment, note);
  }
  PutCommentLine(sink, kHashComment, "shorter: " + LinuxShortOptions(nominal) + " " + LinuxShortOptions(data) +
                                         " fd on" + LinuxFdModes(data) + kShortNote);
}

// ---- zephyr: struct can_timing ----

void PutZephyrBlock(OutputSink& sink, const CodeRow& row) {
  PutCommentLine(sink, kCComment, CommentText(row, false));
  const ControllerEntry& entry = EntryOf(row.options);
  const SettingNumbers n = NumbersOf(row);
  const int32_t divisor = CoreClockDivisor(entry);
  const bool data = IsData(row.options);
  const char* note = ZephyrDriverNote(entry);
  PutCommentLine(sink, kCComment,
                 std::string(note != nullptr ? note : "core clock") + " (" + N(n.clockHz / divisor) +
                     " Hz); devicetree: " + (data ? "bitrate-data = <" : "bitrate = <") + N(RateBps(n)) + ">; " +
                     (data ? "sample-point-data = <" : "sample-point = <") + N(SamplePointPerMille(n, true)) + ">;");
  // Where the controller keeps seg1 in one field, Zephyr's drivers take it all as
  // phase_seg1 (prop_seg 0).
  const bool split = IsSplit(LimitsOf(row.options));
  const BitTimingLengths& l = n.lengths;
  const char* name = data ? "timing_data" : "timing";
  Put(sink, std::string("const struct can_timing ") + name + " = {.sjw = " + N(l.sjw) + ", .prop_seg = " +
                N(split ? l.prop : 0) + ", .phase_seg1 = " + N(split ? l.phase1 : l.seg1) + ", .phase_seg2 = " +
                N(l.seg2) + ", .prescaler = " + N(l.prescaler / divisor) + "};\n");
  Put(sink, std::string(data ? "can_set_timing_data(dev, &" : "can_set_timing(dev, &") + name + ");\n");
  PutUnwrittenFlags(sink, kCComment, row, "struct can_timing");
}

// ---- python-can: can.BitTiming, can.BitTimingFd ----

// The SJA1000-sized values can.BitTiming accepts (bit_timing.py _validate), or why not.
std::string PythonCanProblem(const SettingNumbers& n, int32_t divisor) {
  const BitTimingLengths& l = n.lengths;
  const int64_t brp = l.prescaler / divisor;
  if (brp > 64) return "brp " + N(brp) + " is above its 64";
  if (l.seg1 > 16) return "tseg1 " + N(l.seg1) + " is above its 16";
  if (l.seg2 > 8) return "tseg2 " + N(l.seg2) + " is above its 8";
  if (l.sjw > 4) return "sjw " + N(l.sjw) + " is above its 4";
  if (2 * (1 + l.seg1) < n.quanta) return "it takes no sample point below 50%";
  return "";
}

std::string PythonPhaseArguments(const CodeRow& row, const char* prefix) {
  const SettingNumbers n = NumbersOf(row);
  const BitTimingLengths& l = n.lengths;
  const std::string p = prefix;
  return p + "brp=" + N(l.prescaler / CoreClockDivisor(EntryOf(row.options))) + ", " + p + "tseg1=" + N(l.seg1) +
         ", " + p + "tseg2=" + N(l.seg2) + ", " + p + "sjw=" + N(l.sjw);
}

std::string FClock(const CodeRow& row) {
  return "f_clock=" + N(NumbersOf(row).clockHz / CoreClockDivisor(EntryOf(row.options)));
}

void PutPythonNote(OutputSink& sink, const CodeRow& row) {
  if (CoreClockDivisor(EntryOf(row.options)) == 1) return;
  PutCommentLine(sink, kHashComment, "f_clock is half the typed clock: brp counts pairs of its periods, as the register's BRP does");
}

void PutPythonBlock(OutputSink& sink, const CodeRow& row) {
  PutCommentLine(sink, kHashComment, CommentText(row, false));
  PutPythonNote(sink, row);
  if (InPhases(row.options)) {
    // One phase of an FD controller: BitTimingFd's arguments for it.
    const bool data = IsData(row.options);
    PutCommentLine(sink, kHashComment,
                   std::string(data ? "data" : "nominal") + " phase for can.BitTimingFd: " +
                       (data ? "" : FClock(row) + ", ") + PythonPhaseArguments(row, data ? "data_" : "nom_"));
    return PutUnwrittenFlags(sink, kHashComment, row, "can.BitTimingFd");
  }
  const std::string problem = PythonCanProblem(NumbersOf(row), CoreClockDivisor(EntryOf(row.options)));
  if (!problem.empty()) return PutCommentLine(sink, kHashComment, "python-can's BitTiming cannot hold it: " + problem);
  Put(sink, "timing = can.BitTiming(" + FClock(row) + ", " + PythonPhaseArguments(row, "") + ")\n");
  PutUnwrittenFlags(sink, kHashComment, row, "can.BitTiming");
}

void PutPythonPair(OutputSink& sink, const CodeRow& nominal, const CodeRow& data) {
  PutCommentLine(sink, kHashComment, "nominal: " + CommentText(nominal, false));
  PutCommentLine(sink, kHashComment, "data: " + CommentText(data, false));
  PutPythonNote(sink, nominal);
  // bit_timing.py BitTimingFd._validate: both sample points at least 50%, the data
  // rate not below the nominal one.
  const SettingNumbers a = NumbersOf(nominal);
  const SettingNumbers b = NumbersOf(data);
  std::string problem;
  if (2 * (1 + a.lengths.seg1) < a.quanta) problem = "it takes no nominal sample point below 50%";
  else if (2 * (1 + b.lengths.seg1) < b.quanta) problem = "it takes no data sample point below 50%";
  else if (int64_t{b.lengths.prescaler} * b.quanta > int64_t{a.lengths.prescaler} * a.quanta)
    problem = "its data rate must not be below the nominal one";
  if (!problem.empty()) return PutCommentLine(sink, kHashComment, "python-can's BitTimingFd cannot hold it: " + problem);
  Put(sink, "timing = can.BitTimingFd(" + FClock(nominal) + ", " + PythonPhaseArguments(nominal, "nom_") + ", " +
                PythonPhaseArguments(data, "data_") + ")\n");
}

// ---- esp-idf: twai_timing_config_t ----

// ESP-IDF's brp is the APB divider itself (twai_types.h "Baudrate prescaler (i.e., APB
// clock divider)"), the typed clock's prescaler; in ESP-IDF 5 a .quanta_resolution_hz
// left 0 leaves .brp in charge.
void PutEspIdfBlock(OutputSink& sink, const CodeRow& row) {
  PutCommentLine(sink, kCComment, CommentText(row, false));
  const BitTimingLengths l = RowLengths(row.record, row.options);
  // A decoded TWAI_BUS_TIMING_1_REG with its SAM bit samples three times: kept.
  const bool triple = RowFlagNames(row.options, ",") == "SAM";
  Put(sink, "twai_timing_config_t t_config = {.brp = " + N(l.prescaler) + ", .tseg_1 = " + N(l.seg1) +
                ", .tseg_2 = " + N(l.seg2) + ", .sjw = " + N(l.sjw) + ", .triple_sampling = " +
                (triple ? "true" : "false") + "};\n");
}

// ---- sdk: the vendor's own library ----

// A length as the library names it: "CAN_BT_BS1_6TQ", "CAN_TIME_SEGMENT1_6", or the
// number where the library takes it as it is.
std::string LibraryValue(const LibraryConstant& constant, int32_t quanta) {
  if (constant.prefix == nullptr) return N(quanta);
  return constant.prefix + N(quanta) + constant.suffix;
}

// Whether the decoded registers set the flag field named name.
bool SetsFlag(const OutputOptions& options, const char* name) {
  const std::string flags = "," + RowFlagNames(options, ",") + ",";
  return flags.find("," + std::string(name) + ",") != std::string::npos;
}

// The init structure's fields as the library's examples write them; a decoded value's
// loop-back and silent bits as the library's test mode.
void PutVendorLibraryBlock(OutputSink& sink, const CodeRow& row) {
  const VendorLibrary& library = *EntryOf(row.options).code.library;
  PutCommentLine(sink, kCComment, CommentText(row, true));
  const BitTimingLengths l = RowLengths(row.record, row.options);
  PutAssignment(sink, library.prescaler, N(l.prescaler));
  PutAssignment(sink, library.sjw, LibraryValue(library.sjwValue, l.sjw));
  PutAssignment(sink, library.seg1, LibraryValue(library.seg1Value, l.seg1));
  PutAssignment(sink, library.seg2, LibraryValue(library.seg2Value, l.seg2));
  const int mode = (SetsFlag(row.options, library.loopBackFlag) ? 1 : 0) + (SetsFlag(row.options, library.silentFlag) ? 2 : 0);
  if (mode != 0) PutAssignment(sink, library.mode, library.modes[mode]);
}

// ---- The forms ----

struct CodeForm {
  OutputFormat format;
  const CommentMarks* marks;  // for the pair's last comment
  void (*block)(OutputSink& sink, const CodeRow& row);
  // A best FD pair as one block; null: the phases' blocks one after the other.
  void (*pair)(OutputSink& sink, const CodeRow& nominal, const CodeRow& data);
};

constexpr CodeForm kCodeForms[] = {
    {OutputFormat::kHal, &kCComment, PutLibraryBlock, nullptr},
    {OutputFormat::kSpl, &kCComment, PutLibraryBlock, nullptr},
    {OutputFormat::kRegisters, &kCComment, PutRegistersBlock, nullptr},
    {OutputFormat::kLinux, &kHashComment, PutLinuxBlock, PutLinuxPair},
    {OutputFormat::kZephyr, &kCComment, PutZephyrBlock, nullptr},
    {OutputFormat::kPythonCan, &kHashComment, PutPythonBlock, PutPythonPair},
    {OutputFormat::kEspIdf, &kCComment, PutEspIdfBlock, nullptr},
    {OutputFormat::kSdk, &kCComment, PutVendorLibraryBlock, nullptr},
};

// One writer for each code format of the format table (calc/output_formats.h).
static_assert(sizeof kCodeForms / sizeof kCodeForms[0] ==
                  [] {
                    int count = 0;
                    for (const FormatRow& row : kFormats) count += row.code ? 1 : 0;
                    return count;
                  }(),
              "every code format has its writer");

const CodeForm& FormOf(OutputFormat format) {
  for (const CodeForm& form : kCodeForms)
    if (form.format == format) return form;
  return kCodeForms[0];
}


}  // namespace

bool WriteCode(const RowSource& rows, const OutputOptions& options, OutputSink& sink) {
  const CodeForm& form = FormOf(options.format);
  bool first = true;
  RowCells run;
  rows([&](const TimingCandidate& record) {
    if (!first || options.continued) Put(sink, '\n');
    first = false;
    form.block(sink, CodeRow{record, options, CellsOf(run, record, options)});
    return sink.error == 0;
  });
  return !first;
}

void WriteCodePhases(const PhaseOutput* phases, int count, const Tolerance* pairTolerance, OutputSink& sink) {
  if (count == 0) return;
  const CodeForm& form = FormOf(phases[0].options.format);
  TimingCandidate nominal{};
  TimingCandidate data{};
  if (form.pair != nullptr && pairTolerance != nullptr && count == 2 && FirstRow(phases[0].rows, nominal) &&
      FirstRow(phases[1].rows, data)) {
    RowCells nominalRun;
    RowCells dataRun;
    form.pair(sink, CodeRow{nominal, phases[0].options, CellsOf(nominalRun, nominal, phases[0].options)},
              CodeRow{data, phases[1].options, CellsOf(dataRun, data, phases[1].options)});
  } else {
    bool anyRow = false;
    for (int i = 0; i < count; ++i) {
      OutputOptions options = phases[i].options;
      // Blocks are set off by a blank line only where one came before.
      options.continued = i > 0 && anyRow;
      anyRow = WriteCode(phases[i].rows, options, sink) || anyRow;
    }
  }
  if (pairTolerance != nullptr) {
    Put(sink, '\n');
    PutCommentLine(sink, *form.marks, "both phases together: oscillator tolerance " + PercentText(*pairTolerance));
  }
}

bool WriteSettingForm(OutputFormat form, const TimingCandidate& nominal, const OutputOptions& nominalOptions,
                      const TimingCandidate* data, const OutputOptions* dataOptions, OutputSink& sink) {
  if (!IsCodeFormat(form) || !HasForm(EntryOf(nominalOptions), form)) return false;
  PhaseOutput phases[2] = {{SingleRow(nominal), nominalOptions}, {}};
  phases[0].options.format = form;
  int count = 1;
  Tolerance pair{0, 1};
  if (data != nullptr && dataOptions != nullptr) {
    phases[count++] = PhaseOutput{SingleRow(*data), *dataOptions};
    phases[1].options.format = form;
    pair = PairTolerance(RowLengths(nominal, nominalOptions), RowLengths(*data, *dataOptions), nominalOptions.clockKHz,
                         nominalOptions.bus);
  }
  WriteCodePhases(phases, count, count == 2 ? &pair : nullptr, sink);
  return true;
}
