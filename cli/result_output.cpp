#include "cli/result_output.h"

#include "calc/candidate_cells.h"
#include "cli/bit_timing_register.h"
#include "cli/code_output.h"
#include "cli/console_utf8.h"
#include "cli/json_output.h"

#include <cstring>
#include <string>

namespace {

// The columns a row can have: the table's six, the register, for a decoded value its
// SJW and bxCAN's mode or DBTP's TDC, and FDCAN's phase.
constexpr int kRegisterColumn = kResultColumnCount;
constexpr int kSjwColumn = kResultColumnCount + 1;
constexpr int kModeColumn = kResultColumnCount + 2;
constexpr int kTdcColumn = kResultColumnCount + 3;
constexpr int kPhaseColumn = kResultColumnCount + 4;
constexpr int kMaxColumns = kResultColumnCount + 5;

// How the tsv, csv and table forms lay out their lines.
struct TextLayout {
  bool withRegister;      // the CAN_BTR column (FDCAN's register is in every form)
  bool phaseColumn;       // FDCAN's rows open with their phase
  bool header;            // a line of titles first
  const char* separator;  // between two columns
  const char* lineEnd;
  bool quoted;            // RFC 4180 quoting where a field needs it
  bool aligned;           // padded to the widest text of each column
};

constexpr TextLayout kTsvLayout = {false, true, false, "\t", "\n", false, false};
// Lines end in CR LF, as RFC 4180 has it.
constexpr TextLayout kCsvLayout = {true, true, true, ",", "\r\n", true, false};
constexpr TextLayout kTableLayout = {true, false, true, "  ", "\n", false, true};

// The titles in GBK. Under a phase column, FDCAN's register column holds NBTP and
// DBTP values alike.
const char* GbkTitle(int column, const TextLayout& layout, const OutputOptions& options) {
  static const char* const kExtraTitles[] = {"CAN_BTR", "SJW", "Mode", "TDC", "Phase"};
  if (column <= 1 && IsFdcan(options)) return column == 0 ? "Seg1" : "Seg2";
  if (column == kRegisterColumn && IsFdcan(options))
    return layout.phaseColumn ? "Register" : (options.phase == Phase::kNominal ? "NBTP" : "DBTP");
  return column < kResultColumnCount ? kResultColumnTitles[column] : kExtraTitles[column - kResultColumnCount];
}

// Numbers to the right, names and registers to the left.
bool IsRightAligned(int column, const OutputOptions& options) {
  if (IsFdcan(options) && (column <= 1 || column == kSjwColumn)) return true;
  return column >= 2 && column <= 5;
}

void SetText(CandidateText& cell, const std::string& text) {
  cell.length = static_cast<int32_t>(text.size());
  std::memcpy(cell.bytes, text.c_str(), text.size() + 1);
}

// The SJW column: bxCAN's constant name, FDCAN's number of quanta.
std::string SjwText(const TimingCandidate& record, const OutputOptions& options) {
  const std::string quanta = std::to_string(RowSjw(record, options));
  return IsFdcan(options) ? quanta : "CAN_SJW_" + quanta + "tq";
}

// The text of one column of a row whose cells are made: the window's cells as they
// are (column 4, the rate, by the float rule the table writes it with), the others
// made into scratch.
const CandidateText& ColumnText(int column, const TimingCandidate& record, const CandidateCells& cells,
                                const OutputOptions& options, CandidateText& scratch) {
  switch (column) {
    case 0: return cells.bs1;
    case 1: return cells.bs2;
    case 2: return cells.prescaler;
    case 3: return cells.samplePoint;
    case 4: FormatRateCell(cells.actualRate, scratch); return scratch;
    case 5:
      if (options.errorKnown) return cells.errorPercent;
      SetText(scratch, "-");
      return scratch;
    case kRegisterColumn: SetText(scratch, RegisterText(RowRegister(record, options))); return scratch;
    case kSjwColumn: SetText(scratch, SjwText(record, options)); return scratch;
    case kModeColumn: SetText(scratch, ModeName(options.modeBits)); return scratch;
    case kTdcColumn: SetText(scratch, options.modeBits != 0 ? "on" : "off"); return scratch;
    default: SetText(scratch, PhaseName(options)); return scratch;
  }
}

// The columns of a line, left to right; returns their number.
int LineColumns(const TextLayout& layout, const OutputOptions& options, int columns[kMaxColumns]) {
  int count = 0;
  if (layout.phaseColumn && IsFdcan(options)) columns[count++] = kPhaseColumn;
  for (int c = 0; c < kResultColumnCount; ++c) columns[count++] = c;
  if (layout.withRegister || IsFdcan(options)) columns[count++] = kRegisterColumn;
  if (options.decoded) {
    columns[count++] = kSjwColumn;
    if (options.phase == Phase::kBxCan) columns[count++] = kModeColumn;
    if (options.phase == Phase::kData) columns[count++] = kTdcColumn;
  }
  return count;
}

// RFC 4180: a field with a comma, a quote or a line break is quoted, its quotes doubled.
void PutCsvField(OutputSink& sink, const char* bytes, std::size_t length) {
  if (std::strpbrk(bytes, ",\"\r\n") == nullptr) return Put(sink, bytes, length);
  Put(sink, '"');
  for (std::size_t i = 0; i < length; ++i) {
    if (bytes[i] == '"') Put(sink, '"');
    Put(sink, bytes[i]);
  }
  Put(sink, '"');
}

struct Line {
  const TextLayout& layout;
  const OutputOptions& options;
  int columns[kMaxColumns];
  int count;
  int32_t widths[kMaxColumns];
};

// The field at position i of a line. An aligned field is padded to its column's
// width by display width: a GBK double-byte character takes two terminal columns, so
// a GBK text's display width is its byte count (the cells are ASCII). The last
// column is not padded on the right: no trailing blanks.
void PutField(OutputSink& sink, const Line& line, int i, const char* bytes, std::size_t length, int32_t displayWidth) {
  if (i > 0) Put(sink, line.layout.separator);
  if (line.layout.quoted) return PutCsvField(sink, bytes, length);
  if (!line.layout.aligned) return Put(sink, bytes, length);
  const bool right = IsRightAligned(line.columns[i], line.options);
  const int32_t padTo = i == line.count - 1 && !right ? displayWidth : line.widths[i];
  const std::size_t padding = static_cast<std::size_t>(padTo - displayWidth);
  if (right) PutBlanks(sink, padding);
  Put(sink, bytes, length);
  if (!right) PutBlanks(sink, padding);
}

void PutHeader(OutputSink& sink, const Line& line) {
  for (int i = 0; i < line.count; ++i) {
    const char* gbk = GbkTitle(line.columns[i], line.layout, line.options);
    const std::string title = GbkToUtf8(gbk);
    PutField(sink, line, i, title.c_str(), title.size(), static_cast<int32_t>(std::strlen(gbk)));
  }
  Put(sink, line.layout.lineEnd);
}

// The one row loop of the tsv, csv and table forms. The table needs its column widths
// before its first line, so it runs the rows twice and makes their cells twice. A
// continued csv has its header already; a continued table is set off by a blank line.
bool WriteTextRows(const RowSource& rows, const TextLayout& layout, const OutputOptions& options, OutputSink& sink) {
  Line line{layout, options, {}, 0, {}};
  line.count = LineColumns(layout, options, line.columns);
  for (int i = 0; i < line.count; ++i)
    line.widths[i] = static_cast<int32_t>(std::strlen(GbkTitle(line.columns[i], layout, options)));
  CandidateText scratch;
  if (layout.aligned) {
    RowCells run;
    rows([&](const TimingCandidate& record) {
      const CandidateCells& cells = CellsOf(run, record, options);
      for (int i = 0; i < line.count; ++i) {
        const int32_t length = ColumnText(line.columns[i], record, cells, options, scratch).length;
        if (length > line.widths[i]) line.widths[i] = length;
      }
      return true;
    });
  }
  if (options.continued && layout.aligned) Put(sink, '\n');
  if (layout.header && !(options.continued && !layout.aligned)) PutHeader(sink, line);
  bool any = false;
  RowCells run;
  rows([&](const TimingCandidate& record) {
    any = true;
    const CandidateCells& cells = CellsOf(run, record, options);
    for (int i = 0; i < line.count; ++i) {
      const CandidateText& text = ColumnText(line.columns[i], record, cells, options, scratch);
      PutField(sink, line, i, text.bytes, static_cast<std::size_t>(text.length), text.length);
    }
    Put(sink, layout.lineEnd);
    return sink.error == 0;
  });
  return any;
}

}  // namespace

RowSource SingleRow(const TimingCandidate& record) {
  return [record](const RowVisitor& visit) { visit(record); };
}

bool WriteResult(const RowSource& rows, const OutputOptions& options, OutputSink& sink) {
  switch (options.format) {
    case OutputFormat::kTable: return WriteTextRows(rows, kTableLayout, options, sink);
    case OutputFormat::kTsv: return WriteTextRows(rows, kTsvLayout, options, sink);
    case OutputFormat::kCsv: return WriteTextRows(rows, kCsvLayout, options, sink);
    case OutputFormat::kJson: {
      const bool any = WriteJsonArray(rows, options, sink);
      if (!IsFdcan(options)) Put(sink, '\n');
      return any;
    }
    default: return WriteCode(rows, options, sink);
  }
}

void WritePhases(const PhaseOutput* phases, int count, OutputSink& sink) {
  const bool json = count > 0 && phases[0].options.format == OutputFormat::kJson;
  if (json) Put(sink, "{\n");
  bool anyRow = false;
  for (int i = 0; i < count; ++i) {
    OutputOptions options = phases[i].options;
    // Code blocks are set off by a blank line only where one came before.
    const bool code = options.format == OutputFormat::kHal || options.format == OutputFormat::kSpl;
    options.continued = i > 0 && (!code || anyRow);
    if (json) {
      Put(sink, i > 0 ? ",\n  \"" : "  \"");
      Put(sink, PhaseName(options));
      Put(sink, "\": ");
    }
    anyRow = WriteResult(phases[i].rows, options, sink) || anyRow;
  }
  if (json) Put(sink, "\n}\n");
}
