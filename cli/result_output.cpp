#include "cli/result_output.h"

#include "calc/candidate_cells.h"
#include "cli/code_output.h"
#include "cli/console_utf8.h"

#include <cstring>
#include <string>

namespace {

// The columns a row can have: the table's six, CAN_BTR, and for a decoded value its
// SJW and mode.
constexpr int kRegisterColumn = kResultColumnCount;
constexpr int kSjwColumn = kResultColumnCount + 1;
constexpr int kModeColumn = kResultColumnCount + 2;
constexpr int kMaxColumns = kResultColumnCount + 3;

// The titles in GBK.
const char* GbkTitle(int column) {
  static const char* const kExtraTitles[] = {"CAN_BTR", "SJW", "Mode"};
  return column < kResultColumnCount ? kResultColumnTitles[column] : kExtraTitles[column - kResultColumnCount];
}

// Numbers to the right, names and the register to the left.
bool IsRightAligned(int column) { return column >= 2 && column <= 5; }

void SetText(CandidateText& cell, const std::string& text) {
  cell.length = static_cast<int32_t>(text.size());
  std::memcpy(cell.bytes, text.c_str(), text.size() + 1);
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
    case kSjwColumn: SetText(scratch, "CAN_SJW_" + std::to_string(options.sjw) + "tq"); return scratch;
    default: SetText(scratch, ModeName(options.modeBits)); return scratch;
  }
}

// How the tsv, csv and table forms lay out their lines.
struct TextLayout {
  bool withRegister;      // the CAN_BTR column
  bool header;            // a line of titles first
  const char* separator;  // between two columns
  const char* lineEnd;
  bool quoted;            // RFC 4180 quoting where a field needs it
  bool aligned;           // padded to the widest text of each column
};

constexpr TextLayout kTsvLayout = {false, false, "\t", "\n", false, false};
// Lines end in CR LF, as RFC 4180 has it.
constexpr TextLayout kCsvLayout = {true, true, ",", "\r\n", true, false};
constexpr TextLayout kTableLayout = {true, true, "  ", "\n", false, true};

// The columns of a line, left to right; returns their number.
int LineColumns(const TextLayout& layout, const OutputOptions& options, int columns[kMaxColumns]) {
  int count = 0;
  for (int c = 0; c < kResultColumnCount; ++c) columns[count++] = c;
  if (layout.withRegister) columns[count++] = kRegisterColumn;
  if (options.decoded) {
    columns[count++] = kSjwColumn;
    columns[count++] = kModeColumn;
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
  const bool right = IsRightAligned(line.columns[i]);
  const int32_t padTo = i == line.count - 1 && !right ? displayWidth : line.widths[i];
  const std::size_t padding = static_cast<std::size_t>(padTo - displayWidth);
  if (right) PutBlanks(sink, padding);
  Put(sink, bytes, length);
  if (!right) PutBlanks(sink, padding);
}

// The one row loop of the tsv, csv and table forms. The table needs its column widths
// before its first line, so it runs the rows twice and makes their cells twice.
void WriteTextRows(const RowSource& rows, const TextLayout& layout, const OutputOptions& options, OutputSink& sink) {
  Line line{layout, {}, 0, {}};
  line.count = LineColumns(layout, options, line.columns);
  for (int i = 0; i < line.count; ++i) line.widths[i] = static_cast<int32_t>(std::strlen(GbkTitle(line.columns[i])));
  CandidateCells cells;
  CandidateText scratch;
  if (layout.aligned) {
    rows([&](const TimingCandidate& record) {
      MakeCandidateCells(record, cells);
      for (int i = 0; i < line.count; ++i) {
        const int32_t length = ColumnText(line.columns[i], record, cells, options, scratch).length;
        if (length > line.widths[i]) line.widths[i] = length;
      }
      return true;
    });
  }
  if (layout.header) {
    for (int i = 0; i < line.count; ++i) {
      const char* gbk = GbkTitle(line.columns[i]);
      const std::string title = GbkToUtf8(gbk);
      PutField(sink, line, i, title.c_str(), title.size(), static_cast<int32_t>(std::strlen(gbk)));
    }
    Put(sink, layout.lineEnd);
  }
  rows([&](const TimingCandidate& record) {
    MakeCandidateCells(record, cells);
    for (int i = 0; i < line.count; ++i) {
      const CandidateText& text = ColumnText(line.columns[i], record, cells, options, scratch);
      PutField(sink, line, i, text.bytes, static_cast<std::size_t>(text.length), text.length);
    }
    Put(sink, layout.lineEnd);
    return sink.error == 0;
  });
}

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

// A number by its shown text; null where the text is no JSON number.
void PutJsonNumber(OutputSink& sink, const char* name, const char* bytes, int32_t length) {
  Put(sink, name);
  if (IsJsonNumber(bytes, bytes + length))
    Put(sink, bytes, static_cast<std::size_t>(length));
  else
    Put(sink, "null");
}

void PutJsonField(OutputSink& sink, const char* name, const std::string& value) {
  Put(sink, name);
  Put(sink, value);
}

void WriteJson(const RowSource& rows, const OutputOptions& options, OutputSink& sink) {
  CandidateCells cells;
  CandidateText rate;
  bool first = true;
  rows([&](const TimingCandidate& record) {
    MakeCandidateCells(record, cells);
    FormatRateCell(cells.actualRate, rate);
    Put(sink, first ? "[\n  {" : ",\n  {");
    first = false;
    PutJsonField(sink, "\"bs1\": ", std::to_string(int64_t{record.bs1Code} + 1));
    PutJsonField(sink, ", \"bs2\": ", std::to_string(int64_t{record.bs2Code} + 1));
    PutJsonField(sink, ", \"prescaler\": ", std::to_string(record.prescaler));
    // The cut percent and the error as shown, without their "%".
    PutJsonNumber(sink, ", \"samplePoint\": ", cells.samplePoint.bytes, cells.samplePoint.length - 1);
    PutJsonNumber(sink, ", \"actualRate\": ", rate.bytes, rate.length);
    const int32_t errorLength = options.errorKnown ? cells.errorPercent.length - 1 : 0;
    PutJsonNumber(sink, ", \"errorPercent\": ", cells.errorPercent.bytes, errorLength);
    PutJsonField(sink, ", \"btr\": ", std::to_string(RowRegister(record, options)));
    if (options.decoded) {
      PutJsonField(sink, ", \"sjw\": ", std::to_string(options.sjw));
      PutJsonField(sink, ", \"loopBack\": ", (options.modeBits & kLoopBackBit) != 0 ? "true" : "false");
      PutJsonField(sink, ", \"silent\": ", (options.modeBits & kSilentBit) != 0 ? "true" : "false");
    }
    Put(sink, '}');
    return sink.error == 0;
  });
  Put(sink, first ? "[]\n" : "\n]\n");
}

}  // namespace

RowSource SingleRow(const TimingCandidate& record) {
  return [record](const RowVisitor& visit) { visit(record); };
}

void WriteResult(const RowSource& rows, const OutputOptions& options, OutputSink& sink) {
  switch (options.format) {
    case OutputFormat::kTable: WriteTextRows(rows, kTableLayout, options, sink); break;
    case OutputFormat::kTsv: WriteTextRows(rows, kTsvLayout, options, sink); break;
    case OutputFormat::kCsv: WriteTextRows(rows, kCsvLayout, options, sink); break;
    case OutputFormat::kJson: WriteJson(rows, options, sink); break;
    case OutputFormat::kHal:
    case OutputFormat::kSpl: WriteCode(rows, options, sink); break;
  }
}
