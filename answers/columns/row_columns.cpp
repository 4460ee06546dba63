// The column table. Each text and json value is made by a small function of the row;
// the writers only walk the table.
#include "answers/columns/row_columns.h"

#include "answers/text/gbk_to_utf8.h"
#include "answers/text/json_string.h"
#include "answers/text/register_text.h"
#include "calc/bus_tolerance.h"
#include "calc/bxcan_register.h"
#include "calc/controllers.h"
#include "calc/registers.h"
#include "calc/text.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void SetText(CandidateText& cell, const char* bytes, std::size_t length) {
  cell.length = static_cast<int32_t>(length);
  std::memcpy(cell.bytes, bytes, length);
  cell.bytes[length] = 0;
}

void SetText(CandidateText& cell, const std::string& text) { SetText(cell, text.data(), text.size()); }

// True when the bytes form a JSON number: -? digits (. digits)? ([eE] [+-]? digits)?
// (a leading zero alone before the point). The non-finite texts ("1.#INF") are not.
bool IsJsonNumber(const char* p, const char* end) {
  auto digits = [&](bool leadingZeroRule) {
    const char* start = p;
    while (p < end && *p >= '0' && *p <= '9') ++p;
    if (p == start) return false;
    return !(leadingZeroRule && *start == '0' && p - start > 1);
  };
  if (p < end && *p == '-') ++p;
  if (!digits(true)) return false;
  if (p < end && *p == '.') {
    ++p;
    if (!digits(false)) return false;
  }
  if (p < end && (*p == 'e' || *p == 'E')) {
    ++p;
    if (p < end && (*p == '+' || *p == '-')) ++p;
    if (!digits(false)) return false;
  }
  return p == end;
}

// A number by its shown text, the first length bytes. A text that is no JSON number,
// the window's "1.#INF" of a value that is not finite, is written as a string (it holds
// no quote or backslash); null is kept for no text at all: an error without a rate to
// measure it against.
void ShownNumber(const CandidateText& shown, int32_t length, CandidateText& out) {
  if (length > 0 && IsJsonNumber(shown.bytes, shown.bytes + length)) {
    SetText(out, shown.bytes, static_cast<std::size_t>(length));
  } else if (length > 0) {
    SetText(out, "\"" + std::string(shown.bytes, static_cast<std::size_t>(length)) + "\"");
  } else {
    SetText(out, "null", 4);
  }
}

void Flag(bool set, CandidateText& out) { set ? SetText(out, "true", 4) : SetText(out, "false", 5); }

// ---- texts and values, column by column ----

const CandidateText& PhaseText(const RowContext& row, CandidateText& scratch) {
  SetText(scratch, PhaseName(row.options));
  return scratch;
}

const CandidateText& Seg1Text(const RowContext& row, CandidateText&) { return row.cells.bs1; }
void Seg1Json(const RowContext& row, CandidateText& out) { SetText(out, std::to_string(int64_t{row.record.bs1Code} + 1)); }

const CandidateText& Seg2Text(const RowContext& row, CandidateText&) { return row.cells.bs2; }
void Seg2Json(const RowContext& row, CandidateText& out) { SetText(out, std::to_string(int64_t{row.record.bs2Code} + 1)); }

const CandidateText& PrescalerText(const RowContext& row, CandidateText&) { return row.cells.prescaler; }
void PrescalerJson(const RowContext& row, CandidateText& out) { SetText(out, std::to_string(row.record.prescaler)); }

// The window's face in the text forms is the window's table: its cut percent, "89.9%"
// for 9/10. Every other row (every other controller's, a code form's comment) is
// rounded to 0.1 points.
bool ShowsWindowCut(const OutputOptions& options) {
  return FaceIndex(options) == 0 && (options.format == OutputFormat::kTable || options.format == OutputFormat::kTsv ||
                                     options.format == OutputFormat::kCsv);
}
const CandidateText& SamplePointText(const RowContext& row, CandidateText& scratch) {
  if (ShowsWindowCut(row.options)) return row.cells.samplePoint;
  SetText(scratch, SamplePointPercent(row.record));
  return scratch;
}
// Hundredths as a json number without trailing zeros: 9000 "90", 8750 "87.5".
std::string Hundredths(int64_t hundredths) { return ToFixedText(hundredths, 2, 0).get(); }

// Json's is the exact ratio (1 + seg1) / (1 + seg1 + seg2) in percent, two decimals,
// ties up: 9/10 gives 90, where the text forms show the window's cut "89.9%".
void SamplePointJson(const RowContext& row, CandidateText& out) {
  const int64_t before = int64_t{row.record.bs1Code} + 2;
  const int64_t bit = before + row.record.bs2Code + 1;
  SetText(out, Hundredths((before * 20000 + bit) / (2 * bit)));
}

// The rate by the float rule the table writes it with.
const CandidateText& RateText(const RowContext& row, CandidateText& scratch) {
  FormatRateCell(row.cells.actualRate, scratch);
  return scratch;
}
void RateJson(const RowContext& row, CandidateText& out) {
  CandidateText shown;
  FormatRateCell(row.cells.actualRate, shown);
  ShownNumber(shown, shown.length, out);
}

// "-" (json null) when no rate was given to measure the error against.
const CandidateText& ErrorText(const RowContext& row, CandidateText& scratch) {
  if (row.options.errorKnown) return row.cells.errorPercent;
  SetText(scratch, "-", 1);
  return scratch;
}
void ErrorJson(const RowContext& row, CandidateText& out) {
  ShownNumber(row.cells.errorPercent, row.options.errorKnown ? row.cells.errorPercent.length - 1 : 0, out);
}

const CandidateText& RegisterCell(const RowContext& row, CandidateText& scratch) {
  SetText(scratch, RegisterText(RowRegister(row.record, row.options)));
  return scratch;
}
void RegisterJson(const RowContext& row, CandidateText& out) {
  SetText(out, std::to_string(RowRegister(row.record, row.options)));
}

// bxCAN's constant name, FDCAN's number of quanta.
const CandidateText& SjwText(const RowContext& row, CandidateText& scratch) {
  const std::string quanta = std::to_string(RowSjw(row.record, row.options));
  SetText(scratch, NamesInQuanta(row.options) ? quanta : "CAN_SJW_" + quanta + "tq");
  return scratch;
}
void SjwJson(const RowContext& row, CandidateText& out) { SetText(out, std::to_string(RowSjw(row.record, row.options))); }

const CandidateText& ModeText(const RowContext& row, CandidateText& scratch) {
  SetText(scratch, ModeName(row.options.modeBits));
  return scratch;
}
void LoopBackJson(const RowContext& row, CandidateText& out) { Flag((row.options.modeBits & kLoopBackBit) != 0, out); }
void SilentJson(const RowContext& row, CandidateText& out) { Flag((row.options.modeBits & kSilentBit) != 0, out); }

// DBTP's TDC bit as decoded.
const CandidateText& TdcText(const RowContext& row, CandidateText& scratch) {
  row.options.modeBits != 0 ? SetText(scratch, "on", 2) : SetText(scratch, "off", 3);
  return scratch;
}
void TdcJson(const RowContext& row, CandidateText& out) { Flag(row.options.modeBits != 0, out); }

const CandidateText& ToleranceText(const RowContext& row, CandidateText& scratch) {
  SetText(scratch, PercentText(RowTolerance(row.record, row.options)));
  return scratch;
}
void ToleranceJson(const RowContext& row, CandidateText& out) {
  SetText(out, JsonPercent(RowTolerance(row.record, row.options)));
}

// The data phase sets no bus length: none there.
int64_t RowLongestBus(const RowContext& row) {
  if (row.options.phase == Phase::kData) return -1;
  return LongestBus(RowLengths(row.record, row.options), row.options.clockKHz, row.options.bus.nodeDelayNs);
}
const CandidateText& BusText(const RowContext& row, CandidateText& scratch) {
  const int64_t metres = RowLongestBus(row);
  SetText(scratch, metres < 0 ? std::string("-") : std::to_string(metres) + " m");
  return scratch;
}
void BusJson(const RowContext& row, CandidateText& out) {
  const int64_t metres = RowLongestBus(row);
  SetText(out, metres < 0 ? std::string("null") : std::to_string(metres));
}

// The offset where TDC applies to the data setting, else none.
int32_t RowTdcOffset(const RowContext& row) {
  return TdcOffsetOf(*row.options.controller, RowLengths(row.record, row.options));
}
const CandidateText& TdcOffsetText(const RowContext& row, CandidateText& scratch) {
  const int32_t offset = RowTdcOffset(row);
  SetText(scratch, offset < 0 ? std::string("-") : std::to_string(offset));
  return scratch;
}
void TdcOffsetJson(const RowContext& row, CandidateText& out) {
  const int32_t offset = RowTdcOffset(row);
  SetText(out, offset < 0 ? std::string("null") : std::to_string(offset));
}

// ---- the table controllers' columns ----

bool PlainForm(const OutputOptions& options) { return !OlderForm(options); }
// The time quantum: the plain form's rows always, the older forms' on the page only,
// whose companion forms keep the columns scripts already read.
bool ShowsTq(const OutputOptions& options) { return PlainForm(options) || options.page; }
bool ShowsSplit(const OutputOptions& options) { return PlainForm(options) && IsSplit(LimitsOf(options)); }
bool HasRegisters(const OutputOptions& options) { return PlainForm(options) && LimitsOf(options).registerCount > 0; }
// FDCAN's phase column, and every FD controller's.
bool ShowsPhase(const OutputOptions& options) { return InPhases(options); }

const CandidateText& PropText(const RowContext& row, CandidateText& scratch) {
  SetText(scratch, std::to_string(RowLengths(row.record, row.options).prop));
  return scratch;
}
void PropJson(const RowContext& row, CandidateText& out) { PropText(row, out); }
const CandidateText& Phase1Text(const RowContext& row, CandidateText& scratch) {
  SetText(scratch, std::to_string(RowLengths(row.record, row.options).phase1));
  return scratch;
}
void Phase1Json(const RowContext& row, CandidateText& out) { Phase1Text(row, out); }

const CandidateText& QuantaSjwText(const RowContext& row, CandidateText& scratch) {
  SetText(scratch, std::to_string(RowSjw(row.record, row.options)));
  return scratch;
}
void QuantaSjwJson(const RowContext& row, CandidateText& out) { QuantaSjwText(row, out); }

// The time quantum in ns, prescaler x 10^6 / clockKHz, to three decimals, ties up,
// trailing zeros dropped: 42 MHz and prescaler 1 give 23.81, 40 MHz 25.
std::string TqNsText(const RowContext& row) {
  const int64_t clock = row.options.clockKHz;
  if (clock <= 0) return "-";
  const int64_t thousandths = (int64_t{row.record.prescaler} * 2000000000 + clock) / (2 * clock);
  return ToFixedText(thousandths, 3, 0).get();
}
const CandidateText& TqText(const RowContext& row, CandidateText& scratch) {
  SetText(scratch, TqNsText(row));
  return scratch;
}
void TqJson(const RowContext& row, CandidateText& out) {
  const std::string text = TqNsText(row);
  SetText(out, text == "-" ? std::string("null") : text);
}

// The text forms: "CNF1=0xC4 CNF2=0xA3 CNF3=0x05"; json: {"CNF1": 196, ...}.
std::string RegistersText(const RowContext& row, bool json) {
  uint32_t values[kMaxPhaseRegisters];
  const int32_t count = RowRegisters(row.record, row.options, values);
  const PhaseLimits& limits = LimitsOf(row.options);
  std::string text = json ? "{" : "";
  for (int32_t i = 0; i < count; ++i) {
    const Register& reg = *limits.registers[i];
    if (i > 0) text += json ? ", " : " ";
    text += json ? "\"" + std::string(reg.name) + "\": " + std::to_string(values[i])
                 : std::string(reg.name) + "=" + RegisterText(values[i], reg.bits);
  }
  return json ? text + "}" : text;
}
void SetClipped(CandidateText& cell, const std::string& text) {
  SetText(cell, text.data(), text.size() < kCellTextSize - 1 ? text.size() : kCellTextSize - 1);
}
const CandidateText& RegistersCell(const RowContext& row, CandidateText& scratch) {
  SetClipped(scratch, RegistersText(row, false));
  return scratch;
}
void RegistersJson(const RowContext& row, CandidateText& out) { SetClipped(out, RegistersText(row, true)); }

// A decoded row's flags by their register names: "SAM", "LPB,SMP", "-" for none;
// json: ["SAM"], [].
const CandidateText& FlagsText(const RowContext& row, CandidateText& scratch) {
  const std::string names = RowFlagNames(row.options, ",");
  SetClipped(scratch, names.empty() ? std::string("-") : names);
  return scratch;
}
void FlagsJson(const RowContext& row, CandidateText& out) {
  const std::string names = RowFlagNames(row.options, "\", \"");
  SetClipped(out, names.empty() ? std::string("[]") : "[\"" + names + "\"]");
}

const CandidateText& NoText(const RowContext&, CandidateText& scratch) {
  SetText(scratch, "", 0);
  return scratch;
}

float RateNumber(const RowContext& row) { return row.cells.actualRate; }

constexpr ColumnFace kNone{nullptr, nullptr, nullptr, false, nullptr};
constexpr unsigned kText = kInTsv | kInCsv | kInTable;
constexpr unsigned kWindowText = kText | kInWindow;

// The window's Chinese titles (GBK), and what the page shows in English instead.
constexpr const char* kPrescalerTitle = "\xB7\xD6\xC6\xB5\xCF\xB5\xCA\xFD";             // 分频系数
constexpr const char* kSamplePointTitle = "\xB2\xC9\xBC\xAF\xB5\xE3";                    // 采集点
constexpr const char* kRateTitle = "\xCA\xB5\xBC\xCA\xB2\xA8\xCC\xD8\xC2\xCA";           // 实际波特率
constexpr const char* kErrorTitle = "\xCE\xF3\xB2\xEE";                                  // 误差

}  // namespace

// The six of the window's table first; bxCAN names its segments as the library does,
// FDCAN by their number of quanta. Json-only columns stand where their key goes. A
// face's English title is null where it is its title (an ASCII one).
const Column kColumns[] = {
    // FDCAN's tsv and csv lines open with their phase.
    {"phase", {kNone, {"Phase", nullptr, nullptr, false, nullptr}, {"Phase", nullptr, nullptr, false, nullptr}},
     nullptr, kInTsv | kInCsv, 0, false, 0, nullptr, PhaseText, nullptr, nullptr, ShowsPhase},
    {"seg1",
     {{"BS1", nullptr, "bs1", false, nullptr}, {"Seg1", nullptr, "seg1", true, nullptr}, {"Seg1", nullptr, "seg1", true, nullptr}},
     nullptr, kWindowText, 0, false, 0, nullptr, Seg1Text, Seg1Json, nullptr},
    {"seg2",
     {{"BS2", nullptr, "bs2", false, nullptr}, {"Seg2", nullptr, "seg2", true, nullptr}, {"Seg2", nullptr, "seg2", true, nullptr}},
     nullptr, kWindowText, 0, false, 0, nullptr, Seg2Text, Seg2Json, nullptr},
    // A table controller's split of seg1 into its two fields.
    {"prop", {kNone, {"Prop", nullptr, "prop", true, nullptr}, {"Prop", nullptr, "prop", true, nullptr}}, nullptr, kText, 0,
     false, 0, nullptr, PropText, PropJson, nullptr, ShowsSplit},
    {"phase1", {kNone, {"Phase1", nullptr, "phase1", true, nullptr}, {"Phase1", nullptr, "phase1", true, nullptr}},
     nullptr, kText, 0, false, 0, nullptr, Phase1Text, Phase1Json, nullptr, ShowsSplit},
    {"prescaler",
     {{kPrescalerTitle, "Prescaler", "prescaler", true, nullptr},
      {kPrescalerTitle, "Prescaler", "prescaler", true, nullptr},
      {kPrescalerTitle, "Prescaler", "prescaler", true, nullptr}},
     nullptr, kWindowText, 0, false, 0, nullptr, PrescalerText, PrescalerJson, nullptr},
    // A table controller's rows always carry their SJW and time quantum; the page's
    // grid shows every controller's quantum (ShowsTq), never in the window's table.
    {"sjw", {kNone, {"SJW", nullptr, "sjw", true, nullptr}, {"SJW", nullptr, "sjw", true, nullptr}}, nullptr, kText, 0,
     false, 0, nullptr, QuantaSjwText, QuantaSjwJson, nullptr, PlainForm},
    {"tqNs",
     {{"Tq (ns)", nullptr, "tqNs", true, nullptr}, {"Tq (ns)", nullptr, "tqNs", true, nullptr},
      {"Tq (ns)", nullptr, "tqNs", true, nullptr}},
     nullptr, kText, 0, false, 0, nullptr, TqText, TqJson, nullptr, ShowsTq},
    {"samplePoint",
     {{kSamplePointTitle, "Sample point", "samplePoint", true, "sample point"},
      {kSamplePointTitle, "Sample point", "samplePoint", true, "sample point"},
      {kSamplePointTitle, "Sample point", "samplePoint", true, "sample point"}},
     nullptr, kWindowText, 0, false, 2, nullptr, SamplePointText, SamplePointJson, nullptr},
    {"actualRate",
     {{kRateTitle, "Actual rate", "actualRate", true, ""},
      {kRateTitle, "Actual rate", "actualRate", true, ""},
      {kRateTitle, "Actual rate", "actualRate", true, ""}},
     nullptr, kWindowText, 0, false, 1, " Kbps", RateText, RateJson, RateNumber},
    {"errorPercent",
     {{kErrorTitle, "Error", "errorPercent", true, "error"},
      {kErrorTitle, "Error", "errorPercent", true, "error"},
      {kErrorTitle, "Error", "errorPercent", true, "error"}},
     nullptr, kWindowText, 0, false, 3, nullptr, ErrorText, ErrorJson, nullptr},
    // bxCAN's CAN_BTR: not in its tsv, which keeps the window's six columns.
    {"register", {{kCanBtr.name, nullptr, "btr", false, kCanBtr.name}, kNone, kNone}, nullptr, kInCsv | kInTable, kInTsv,
     false, 4, nullptr, RegisterCell, RegisterJson, nullptr},
    // FDCAN's NBTP or DBTP, in every form; one "Register" column where the phases share lines.
    {"register", {kNone, {kNbtp.name, nullptr, "nbtp", false, kNbtp.name}, {kDbtp.name, nullptr, "dbtp", false, kDbtp.name}},
     "Register", kText, 0, false, 4, nullptr, RegisterCell, RegisterJson, nullptr, OlderForm},
    // A table controller's registers by name: in the table always, in tsv and csv with --wide.
    {"registers",
     {kNone, {"Registers", nullptr, "registers", false, nullptr}, {"Registers", nullptr, "registers", false, nullptr}},
     nullptr, kInTable, kInTsv | kInCsv, false, 0, nullptr, RegistersCell, RegistersJson, nullptr, HasRegisters},
    // A table controller's decoded registers: the flags they set beside the setting.
    {"flags", {kNone, {"Flags", nullptr, "flags", false, nullptr}, {"Flags", nullptr, "flags", false, nullptr}}, nullptr,
     kText, 0, true, 0, nullptr, FlagsText, FlagsJson, nullptr, HasRegisters},
    {"sjw",
     {{"SJW", nullptr, "sjw", false, nullptr}, {"SJW", nullptr, "sjw", true, nullptr}, {"SJW", nullptr, "sjw", true, nullptr}},
     nullptr, kText, 0, true, 0, nullptr, SjwText, SjwJson, nullptr, OlderForm},
    {"mode", {{"Mode", nullptr, nullptr, false, nullptr}, kNone, kNone}, nullptr, kText, 0, true, 0, nullptr, ModeText,
     nullptr, nullptr},
    {"loopBack", {{"", nullptr, "loopBack", false, nullptr}, kNone, kNone}, nullptr, 0, 0, true, 0, nullptr, NoText,
     LoopBackJson, nullptr},
    {"silent", {{"", nullptr, "silent", false, nullptr}, kNone, kNone}, nullptr, 0, 0, true, 0, nullptr, NoText,
     SilentJson, nullptr},
    {"tdc", {kNone, kNone, {"TDC", nullptr, "tdc", false, nullptr}}, nullptr, kText, 0, true, 0, nullptr, TdcText,
     TdcJson, nullptr, OlderForm},
    // What the setting allows on a real bus: in the table always, in tsv and csv with
    // --wide, so that their columns stay the window's for the scripts that read them.
    {"oscillatorTolerance",
     {{"Tolerance", nullptr, "oscillatorTolerance", true, "oscillator tolerance"},
      {"Tolerance", nullptr, "oscillatorTolerance", true, "oscillator tolerance"},
      {"Tolerance", nullptr, "oscillatorTolerance", true, "oscillator tolerance"}},
     nullptr, kInTable, kInTsv | kInCsv, false, 5, nullptr, ToleranceText, ToleranceJson, nullptr},
    {"maxBusLength",
     {{"Max bus", nullptr, "maxBusLength", true, nullptr},
      {"Max bus", nullptr, "maxBusLength", true, nullptr},
      {"Max bus", nullptr, "maxBusLength", true, nullptr}},
     nullptr, kInTable, kInTsv | kInCsv, false, 0, nullptr, BusText, BusJson, nullptr},
    {"tdcOffset", {kNone, kNone, {"TDC offset", nullptr, "tdcOffset", true, nullptr}}, nullptr, kInTable,
     kInTsv | kInCsv, false, 0, nullptr, TdcOffsetText, TdcOffsetJson, nullptr},
};
const int kColumnCount = static_cast<int>(sizeof kColumns / sizeof kColumns[0]);

const ColumnFace& FaceOf(const Column& column, const OutputOptions& options) {
  return column.faces[FaceIndex(options)];
}

bool InRow(const Column& column, const OutputOptions& options) {
  if (column.present != nullptr && !column.present(options)) return false;
  return FaceOf(column, options).title != nullptr && (!column.decodedOnly || options.decoded);
}

bool InTextForm(const Column& column, const OutputOptions& options, unsigned form) {
  const unsigned forms = column.forms | (options.wide ? column.wideForms : 0u);
  return InRow(column, options) && (forms & form) != 0;
}

std::string SamplePointPercent(const TimingCandidate& record) {
  char digits[kMaxNumberText];
  const int64_t before = int64_t{record.bs1Code} + 2;
  const int length = FormatTenthsPercent(before, before + record.bs2Code + 1, digits);
  return std::string(digits, static_cast<std::size_t>(length)) + "%";
}

std::string PercentText(const Tolerance& tolerance) {
  return ToFixedText(ToleranceHundredths(tolerance), 2, 2).get() + std::string("%");
}

#if defined(__EMSCRIPTEN__)
// emscripten 3.1.6's libc++ has no floating-point std::to_chars. The same text, as the
// standard defines it: the fewest significant digits that read back as the value, in
// fixed form unless the scientific form ("1e+20", "1.5e-07") is shorter.
static std::string ShortestText(double value) {
  char scientific[40];
  for (int precision = 1; precision <= 17; ++precision) {
    std::snprintf(scientific, sizeof scientific, "%.*e", precision - 1, value);
    if (std::strtod(scientific, nullptr) == value) break;
  }
  // scientific is "-d.ddde±XX": its digits and decimal exponent.
  std::string text(scientific);
  const std::size_t e = text.find('e');
  const bool negative = text[0] == '-';
  std::string digits;
  for (std::size_t i = negative ? 1 : 0; i < e; ++i)
    if (text[i] != '.') digits += text[i];
  const int exponent = std::atoi(text.c_str() + e + 1);
  std::string mantissa = digits.substr(0, 1) + (digits.size() > 1 ? "." + digits.substr(1) : "");
  char exponentText[16];
  std::snprintf(exponentText, sizeof exponentText, "e%c%02d", exponent < 0 ? '-' : '+', exponent < 0 ? -exponent : exponent);
  const std::string sci = (negative ? "-" : "") + mantissa + exponentText;
  std::string fixed;
  const int digitCount = static_cast<int>(digits.size());
  if (exponent < 0) {
    fixed = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  } else if (exponent + 1 >= digitCount) {
    // A whole number: its exact digits, as many as the shortest digits and their zeros.
    char whole[320];
    std::snprintf(whole, sizeof whole, "%.0f", negative ? -value : value);
    fixed = whole;
  } else {
    fixed = digits.substr(0, static_cast<std::size_t>(exponent + 1)) + "." + digits.substr(static_cast<std::size_t>(exponent + 1));
  }
  if (negative) fixed = "-" + fixed;
  return fixed.size() <= sci.size() ? fixed : sci;
}
#endif

std::string JsonPercent(const Tolerance& tolerance) {
#if defined(__EMSCRIPTEN__)
  return ShortestText(TolerancePercent(tolerance));
#else
  char digits[64];
  const std::to_chars_result written = std::to_chars(digits, digits + sizeof digits, TolerancePercent(tolerance));
  return std::string(digits, written.ptr);
#endif
}

bool InJson(const Column& column, const OutputOptions& options) {
  return InRow(column, options) && FaceOf(column, options).jsonKey != nullptr;
}

namespace {

// The window's columns, found once: those with kInWindow, in the table's order.
struct WindowColumns {
  const Column* columns[kResultColumnCount];
  int32_t count = 0;
};

const WindowColumns& TheWindowColumns() {
  static const WindowColumns window = [] {
    WindowColumns found{};
    for (int c = 0; c < kColumnCount && found.count < kResultColumnCount; ++c)
      if ((kColumns[c].forms & kInWindow) != 0) found.columns[found.count++] = &kColumns[c];
    return found;
  }();
  return window;
}

// What the page says of a column beside its title (a tooltip, and the legend under
// the grid): what it holds and its unit, in both languages (UTF-8), by column key;
// and the page's Chinese title of a column the window lacks, whose title elsewhere is
// English (the companion's table keeps that).
struct ColumnHelp {
  const char* key;
  const char* zh;
  const char* en;
  const char* zhTitle = nullptr;  // null: the column's own title
};
constexpr ColumnHelp kColumnHelp[] = {
    {"phase", "相位：nominal 为仲裁段，data 为数据段", "Phase: nominal (arbitration) or data", "相位"},
    {"seg1", "时间段 1（传播段 + 相位段 1），单位 tq；bxCAN 为库常量名",
     "Time segment 1 (propagation + phase 1), in time quanta (tq); bxCAN: the library constant"},
    {"seg2", "时间段 2（相位段 2），单位 tq", "Time segment 2 (phase 2), in tq"},
    {"prop", "传播段，单位 tq", "Propagation segment, in tq"},
    {"phase1", "相位段 1，单位 tq", "Phase segment 1, in tq"},
    {"prescaler", "分频系数：每个时间量子（tq）的时钟周期数", "Prescaler: clock periods per time quantum (tq)"},
    {"sjw", "同步跳转宽度，单位 tq", "Resynchronisation jump width, in tq"},
    {"tqNs", "时间量子（tq）长度：分频系数 ÷ 时钟，单位 ns", "Length of one time quantum (tq): prescaler / clock, in ns"},
    {"samplePoint", "采集点：在位内读取电平的位置，%", "Sample point: where in the bit the level is read, %"},
    {"actualRate", "实际得到的波特率，Kbps", "Bit rate obtained, Kbps"},
    {"errorPercent", "与所求波特率之差，%", "Difference from the bit rate asked for, %"},
    {"register", "寄存器值（CAN_BTR、NBTP 或 DBTP），十六进制", "Register value (CAN_BTR, NBTP or DBTP), hex"},
    {"registers", "控制器的各寄存器值，十六进制", "The controller's register values, hex", "寄存器"},
    {"flags", "寄存器值中置位的标志", "Flags the register values set", "标志"},
    {"mode", "bxCAN 的模式（回环、静默）", "bxCAN's mode (loop back, silent)", "模式"},
    {"tdc", "发送延迟补偿位", "Transmitter delay compensation bit"},
    {"oscillatorTolerance", "该设置允许的振荡器偏差（ISO 11898-1 的条件），%",
     "Oscillator tolerance the setting allows (the conditions of ISO 11898-1), %", "振荡器容差"},
    {"maxBusLength", "在所给节点延迟下的最长总线，单位 m", "Longest bus at the node delay given, in metres", "最长总线"},
    {"tdcOffset", "数据段的发送延迟补偿偏移，单位为时钟周期", "Transmitter delay compensation offset of the data phase, in clock periods", "TDC 偏移"},
};

const ColumnHelp* HelpOf(const char* key) {
  for (const ColumnHelp& help : kColumnHelp)
    if (std::strcmp(help.key, key) == 0) return &help;
  return nullptr;
}

// The page's columns for a run of phases: the tsv lines' columns, as ChooseColumns
// picks them for the companion.
void PutPageColumns(std::string& out, const OutputOptions* phases, int phaseCount) {
  out += '[';
  bool first = true;
  for (int c = 0; c < kColumnCount; ++c) {
    const Column& column = kColumns[c];
    const ColumnFace* face = nullptr;
    for (int p = 0; p < phaseCount && face == nullptr; ++p) {
      if (InTextForm(column, phases[p], kInTsv)) face = &FaceOf(column, phases[p]);
    }
    if (face == nullptr) continue;
    const bool shared = NamesInQuanta(phases[0]) && column.sharedTitle != nullptr;
    const char* title = shared ? column.sharedTitle : face->title;
    const char* english = shared ? column.sharedTitle : face->english != nullptr ? face->english : face->title;
    out += first ? "\n    {\"key\": " : ",\n    {\"key\": ";
    first = false;
    PutJsonString(out, column.key);
    const ColumnHelp* help = HelpOf(column.key);
    out += ", \"zh\": ";
    PutJsonString(out, help != nullptr && help->zhTitle != nullptr ? std::string(help->zhTitle) : GbkToUtf8(title));
    out += ", \"en\": ";
    PutJsonString(out, english);
    out += face->rightAligned ? ", \"align\": \"right\"" : ", \"align\": \"left\"";
    if (help != nullptr) {
      out += ", \"zhHelp\": ";
      PutJsonString(out, help->zh);
      out += ", \"enHelp\": ";
      PutJsonString(out, help->en);
    }
    out += '}';
  }
  out += "\n  ]";
}

}  // namespace

const Column& WindowColumn(int32_t k) { return *TheWindowColumns().columns[k]; }

const char* WindowColumnTitle(int32_t k) { return WindowColumn(k).faces[0].title; }

std::string PageColumnsJson(const OutputOptions* phases, int phaseCount) {
  std::string json;
  PutPageColumns(json, phases, phaseCount);
  return json;
}

int ListingOptions(const ControllerEntry& entry, bool dataPhase, OutputOptions* phases) {
  int count = 0;
  phases[count].phase = Phase::kNominal;
  phases[count].controller = &entry;
  phases[count].page = true;
  phases[count++].wide = true;
  if (entry.fd && dataPhase) {
    phases[count].phase = Phase::kData;
    phases[count].controller = &entry;
    phases[count].page = true;
    phases[count++].wide = true;
  }
  return count;
}

std::string PageColumnsJson() {
  std::string json = "{";
  for (int32_t i = 0; i < ControllerCount(); ++i) {
    const ControllerEntry& entry = ControllerAt(i);
    OutputOptions phases[2];
    const int count = ListingOptions(entry, true, phases);
    json += i == 0 ? "\n  " : ",\n  ";
    PutJsonString(json, entry.name);
    json += ": ";
    PutPageColumns(json, phases, count);
  }
  json += "\n}\n";
  return json;
}
