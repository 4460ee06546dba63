#include "cli/result_output.h"

#include "calc/candidate_cells.h"
#include "cli/console_utf8.h"

#include <cstring>

namespace {

constexpr int kColumnCount = kResultColumnCount + 1;  // the table's six and CAN_BTR
constexpr const char* kRegisterTitle = "CAN_BTR";

void Hex32(uint32_t value, CandidateText& cell) {
  static const char kDigits[] = "0123456789ABCDEF";
  cell.bytes[0] = '0';
  cell.bytes[1] = 'x';
  for (int i = 0; i < 8; ++i) cell.bytes[2 + i] = kDigits[(value >> (28 - 4 * i)) & 15];
  cell.bytes[10] = 0;
  cell.length = 10;
}

// The texts of one listed row, left to right: the window's six cells (column 4, the
// rate, by the float rule the table writes it with) and CAN_BTR.
struct RowColumns {
  CandidateCells cells;
  CandidateText rate;
  CandidateText btr;
  const CandidateText* text[kColumnCount] = {&cells.bs1,         &cells.bs2, &cells.prescaler, &cells.samplePoint,
                                             &rate, &cells.errorPercent, &btr};

  RowColumns() = default;
  RowColumns(const RowColumns&) = delete;
  RowColumns& operator=(const RowColumns&) = delete;

  void Make(const TimingCandidate& record) {
    MakeCandidateCells(record, cells);
    FormatRateCell(cells.actualRate, rate);
    Hex32(BitTimingRegister(record), btr);
  }
};

// The titles in GBK: the table's six and CAN_BTR.
const char* GbkTitle(int column) { return column < kResultColumnCount ? kResultColumnTitles[column] : kRegisterTitle; }

// How the tsv, csv and table forms lay out their lines.
struct TextLayout {
  int columns;            // how many of the row's columns are written
  bool header;            // a line of titles first
  const char* separator;  // between two columns
  const char* lineEnd;
  bool quoted;            // RFC 4180 quoting where a field needs it
  bool aligned;           // padded to the widest text of each column
};

constexpr TextLayout kTsvLayout = {kResultColumnCount, false, "\t", "\n", false, false};
// Lines end in CR LF, as RFC 4180 has it.
constexpr TextLayout kCsvLayout = {kColumnCount, true, ",", "\r\n", true, false};
constexpr TextLayout kTableLayout = {kColumnCount, true, "  ", "\n", false, true};

// Numbers to the right, names and the register to the left.
constexpr bool kRightAligned[kColumnCount] = {false, false, true, true, true, true, false};

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

// One field of a line. An aligned field is padded to its column's width by display
// width: a GBK double-byte character takes two terminal columns, so a GBK text's
// display width is its byte count (the cells are ASCII). The last column is not
// padded on the right: no trailing blanks.
void PutField(OutputSink& sink, const TextLayout& layout, const int32_t* widths, int column, const char* bytes,
              std::size_t length, int32_t displayWidth) {
  if (column > 0) Put(sink, layout.separator);
  if (layout.quoted) return PutCsvField(sink, bytes, length);
  if (!layout.aligned) return Put(sink, bytes, length);
  const bool right = kRightAligned[column];
  const bool last = column == layout.columns - 1;
  const int32_t padTo = last && !right ? displayWidth : widths[column];
  const std::size_t padding = static_cast<std::size_t>(padTo - displayWidth);
  if (right) PutBlanks(sink, padding);
  Put(sink, bytes, length);
  if (!right) PutBlanks(sink, padding);
}

// The one row loop of the tsv, csv and table forms. The table needs its column widths
// before its first line, so it runs the rows twice and makes their cells twice.
void WriteTextRows(const RowSource& rows, const TextLayout& layout, OutputSink& sink) {
  int32_t widths[kColumnCount];
  for (int c = 0; c < kColumnCount; ++c) widths[c] = static_cast<int32_t>(std::strlen(GbkTitle(c)));
  RowColumns row;
  if (layout.aligned) {
    rows([&](const TimingCandidate& record) {
      row.Make(record);
      for (int c = 0; c < layout.columns; ++c) {
        if (row.text[c]->length > widths[c]) widths[c] = row.text[c]->length;
      }
      return true;
    });
  }
  if (layout.header) {
    for (int c = 0; c < layout.columns; ++c) {
      const std::string title = GbkToUtf8(GbkTitle(c));
      PutField(sink, layout, widths, c, title.c_str(), title.size(), static_cast<int32_t>(std::strlen(GbkTitle(c))));
    }
    Put(sink, layout.lineEnd);
  }
  rows([&](const TimingCandidate& record) {
    row.Make(record);
    for (int c = 0; c < layout.columns; ++c) {
      const CandidateText& cell = *row.text[c];
      PutField(sink, layout, widths, c, cell.bytes, static_cast<std::size_t>(cell.length), cell.length);
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

// A number as its shown text; null where the text is no JSON number.
void PutJsonNumber(OutputSink& sink, const char* bytes, int32_t length) {
  if (IsJsonNumber(bytes, bytes + length))
    Put(sink, bytes, static_cast<std::size_t>(length));
  else
    Put(sink, "null", 4);
}

void PutInteger(OutputSink& sink, int64_t value) { Put(sink, std::to_string(value)); }

void PutJsonField(OutputSink& sink, const char* name, int64_t value) {
  Put(sink, name);
  PutInteger(sink, value);
}

void WriteJson(const RowSource& rows, OutputSink& sink) {
  RowColumns row;
  bool first = true;
  rows([&](const TimingCandidate& record) {
    row.Make(record);
    Put(sink, first ? "[\n  {" : ",\n  {");
    first = false;
    PutJsonField(sink, "\"bs1\": ", int64_t{record.bs1Code} + 1);
    PutJsonField(sink, ", \"bs2\": ", int64_t{record.bs2Code} + 1);
    PutJsonField(sink, ", \"prescaler\": ", record.prescaler);
    Put(sink, ", \"samplePoint\": ");  // the cut percent as shown, without its "%"
    PutJsonNumber(sink, row.cells.samplePoint.bytes, row.cells.samplePoint.length - 1);
    Put(sink, ", \"actualRate\": ");
    PutJsonNumber(sink, row.rate.bytes, row.rate.length);
    Put(sink, ", \"errorPercent\": ");
    PutJsonNumber(sink, row.cells.errorPercent.bytes, row.cells.errorPercent.length - 1);
    PutJsonField(sink, ", \"btr\": ", BitTimingRegister(record));
    Put(sink, '}');
    return sink.error == 0;
  });
  Put(sink, first ? "[]\n" : "\n]\n");
}

}  // namespace

uint32_t BitTimingRegister(const TimingCandidate& record) {
  // TS2 is bits 22:20, TS1 bits 19:16, BRP bits 9:0.
  return (static_cast<uint32_t>(record.bs2Code) & 0x7u) << 20 | (static_cast<uint32_t>(record.bs1Code) & 0xFu) << 16 |
         (static_cast<uint32_t>(record.prescaler - 1) & 0x3FFu);
}

RowSource StoreRows(const CandidateList& store) {
  return [&store](const RowVisitor& visit) {
    for (const TimingCandidate& record : store.records) {
      if (!visit(record)) return;
    }
  };
}

void WriteResult(const RowSource& rows, OutputFormat format, OutputSink& sink) {
  switch (format) {
    case OutputFormat::kTable: WriteTextRows(rows, kTableLayout, sink); break;
    case OutputFormat::kTsv: WriteTextRows(rows, kTsvLayout, sink); break;
    case OutputFormat::kCsv: WriteTextRows(rows, kCsvLayout, sink); break;
    case OutputFormat::kJson: WriteJson(rows, sink); break;
  }
}
