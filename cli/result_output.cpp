#include "cli/result_output.h"

#include "calc/candidate_cells.h"
#include "cli/console_utf8.h"
#include "calc/candidate_cells.h"

#include <cstring>

namespace {

constexpr int kColumnCount = kResultColumnCount + 1;  // the table's six and CAN_BTR
constexpr const char* kRegisterTitle = "CAN_BTR";

// One row: the window's six cells as texts (column 4 by the float rule) and CAN_BTR.
struct RowTexts {
  CandidateCells cells;
  CandidateText rate;
  CandidateText btr;
};

void Hex32(uint32_t value, CandidateText& cell) {
  static const char kDigits[] = "0123456789ABCDEF";
  cell.bytes[0] = '0';
  cell.bytes[1] = 'x';
  for (int i = 0; i < 8; ++i) cell.bytes[2 + i] = kDigits[(value >> (28 - 4 * i)) & 15];
  cell.bytes[10] = 0;
  cell.length = 10;
}

void MakeRow(const TimingCandidate& record, RowTexts& row) {
  MakeCandidateCells(record, row.cells);
  FormatRateCell(row.cells.actualRate, row.rate);
  Hex32(BitTimingRegister(record), row.btr);
}

// The seven texts of a row, left to right.
void RowColumns(const RowTexts& row, const CandidateText* columns[kColumnCount]) {
  columns[0] = &row.cells.bs1;
  columns[1] = &row.cells.bs2;
  columns[2] = &row.cells.prescaler;
  columns[3] = &row.cells.samplePoint;
  columns[4] = &row.rate;
  columns[5] = &row.cells.errorPercent;
  columns[6] = &row.btr;
}

void Append(std::string& out, const CandidateText& cell) { out.append(cell.bytes, static_cast<std::size_t>(cell.length)); }

// The titles in GBK: the table's six and CAN_BTR.
const char* GbkTitle(int column) { return column < kResultColumnCount ? kResultColumnTitles[column] : kRegisterTitle; }

void WriteTsv(const CandidateList& store, std::string& out) {
  RowTexts row;
  const CandidateText* columns[kColumnCount];
  for (const TimingCandidate& record : store.records) {
    MakeRow(record, row);
    RowColumns(row, columns);
    for (int c = 0; c < kResultColumnCount; ++c) {
      if (c > 0) out += '\t';
      Append(out, *columns[c]);
    }
    out += '\n';
  }
}

// Pads to a display width. A GBK double-byte character takes two terminal columns,
// so a GBK text's display width is its byte count; cells are ASCII.
void AppendPadded(std::string& out, const std::string& text, int32_t displayWidth, int32_t width, bool right) {
  const std::size_t padding = static_cast<std::size_t>(width - displayWidth);
  if (right) out.append(padding, ' ');
  out += text;
  if (!right) out.append(padding, ' ');
}

void WriteTable(const CandidateList& store, std::string& out) {
  // Numbers to the right, names and the register to the left.
  const bool kRight[kColumnCount] = {false, false, true, true, true, true, false};
  int32_t width[kColumnCount];
  for (int c = 0; c < kColumnCount; ++c) width[c] = static_cast<int32_t>(std::strlen(GbkTitle(c)));
  RowTexts row;
  const CandidateText* columns[kColumnCount];
  for (const TimingCandidate& record : store.records) {
    MakeRow(record, row);
    RowColumns(row, columns);
    for (int c = 0; c < kColumnCount; ++c) {
      if (columns[c]->length > width[c]) width[c] = columns[c]->length;
    }
  }

  const char* kGap = "  ";
  for (int c = 0; c < kColumnCount; ++c) {
    if (c > 0) out += kGap;
    const int32_t titleWidth = static_cast<int32_t>(std::strlen(GbkTitle(c)));
    // The last column is not padded on the right: no trailing blanks.
    const int32_t padTo = c == kColumnCount - 1 && !kRight[c] ? titleWidth : width[c];
    AppendPadded(out, GbkToUtf8(GbkTitle(c)), titleWidth, padTo, kRight[c]);
  }
  out += '\n';
  for (const TimingCandidate& record : store.records) {
    MakeRow(record, row);
    RowColumns(row, columns);
    for (int c = 0; c < kColumnCount; ++c) {
      if (c > 0) out += kGap;
      const CandidateText& cell = *columns[c];
      const int32_t padTo = c == kColumnCount - 1 && !kRight[c] ? cell.length : width[c];
      if (kRight[c]) out.append(static_cast<std::size_t>(padTo - cell.length), ' ');
      Append(out, cell);
      if (!kRight[c]) out.append(static_cast<std::size_t>(padTo - cell.length), ' ');
    }
    out += '\n';
  }
}

// RFC 4180: a field with a comma, a quote or a line break is quoted, its quotes doubled.
void AppendCsvField(std::string& out, const char* bytes, std::size_t length) {
  if (std::strpbrk(bytes, ",\"\r\n") == nullptr) {
    out.append(bytes, length);
    return;
  }
  out += '"';
  for (std::size_t i = 0; i < length; ++i) {
    if (bytes[i] == '"') out += '"';
    out += bytes[i];
  }
  out += '"';
}

// Lines end in CR LF, as RFC 4180 has it.
void WriteCsv(const CandidateList& store, std::string& out) {
  for (int c = 0; c < kColumnCount; ++c) {
    if (c > 0) out += ',';
    const std::string title = GbkToUtf8(GbkTitle(c));
    AppendCsvField(out, title.c_str(), title.size());
  }
  out += "\r\n";
  RowTexts row;
  const CandidateText* columns[kColumnCount];
  for (const TimingCandidate& record : store.records) {
    MakeRow(record, row);
    RowColumns(row, columns);
    for (int c = 0; c < kColumnCount; ++c) {
      if (c > 0) out += ',';
      AppendCsvField(out, columns[c]->bytes, static_cast<std::size_t>(columns[c]->length));
    }
    out += "\r\n";
  }
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
void AppendJsonNumber(std::string& out, const char* bytes, int32_t length) {
  if (IsJsonNumber(bytes, bytes + length))
    out.append(bytes, static_cast<std::size_t>(length));
  else
    out += "null";
}

void AppendInteger(std::string& out, int64_t value) {
  char digits[24];
  int count = 0;
  const bool negative = value < 0;
  uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  do {
    digits[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (negative) out += '-';
  while (count > 0) out += digits[--count];
}

void WriteJson(const CandidateList& store, std::string& out) {
  if (store.records.empty()) {
    out += "[]\n";
    return;
  }
  out += "[\n";
  RowTexts row;
  bool first = true;
  for (const TimingCandidate& record : store.records) {
    MakeRow(record, row);
    out += first ? "  {" : ",\n  {";
    first = false;
    out += "\"bs1\": ";
    AppendInteger(out, int64_t{record.bs1Code} + 1);
    out += ", \"bs2\": ";
    AppendInteger(out, int64_t{record.bs2Code} + 1);
    out += ", \"prescaler\": ";
    AppendInteger(out, record.prescaler);
    out += ", \"samplePoint\": ";  // the cut percent as shown, without its "%"
    AppendJsonNumber(out, row.cells.samplePoint.bytes, row.cells.samplePoint.length - 1);
    out += ", \"actualRate\": ";
    AppendJsonNumber(out, row.rate.bytes, row.rate.length);
    out += ", \"errorPercent\": ";
    AppendJsonNumber(out, row.cells.errorPercent.bytes, row.cells.errorPercent.length - 1);
    out += ", \"btr\": ";
    AppendInteger(out, BitTimingRegister(record));
    out += '}';
  }
  out += "\n]\n";
}

}  // namespace

uint32_t BitTimingRegister(const TimingCandidate& record) {
  // TS2 is bits 22:20, TS1 bits 19:16, BRP bits 9:0.
  return (static_cast<uint32_t>(record.bs2Code) & 0x7u) << 20 | (static_cast<uint32_t>(record.bs1Code) & 0xFu) << 16 |
         (static_cast<uint32_t>(record.prescaler - 1) & 0x3FFu);
}

void WriteResult(const CandidateList& store, OutputFormat format, std::string& out) {
  // Room for a typical row of each format, so that the text grows once or twice.
  out.reserve(out.size() + store.records.size() * 96 + 256);
  switch (format) {
    case OutputFormat::kTable: WriteTable(store, out); break;
    case OutputFormat::kTsv: WriteTsv(store, out); break;
    case OutputFormat::kCsv: WriteCsv(store, out); break;
    case OutputFormat::kJson: WriteJson(store, out); break;
  }
}
