#include "answers/writers/text_forms.h"

#include "answers/columns/row_columns.h"
#include "answers/text/display_width.h"
#include "answers/text/gbk_to_utf8.h"
#include "answers/writers/json_output.h"
#include "calc/candidate_cells.h"

#include <cstring>
#include <string>

namespace {

// How the tsv, csv and table forms lay out their lines.
struct TextLayout {
  unsigned form;          // kInTsv, kInCsv or kInTable: which columns the lines have
  bool header;            // a line of titles first
  const char* separator;  // between two columns
  const char* lineEnd;
  bool quoted;            // RFC 4180 quoting where a field needs it
  bool aligned;           // padded to the widest text of each column
  bool sharedByPhases;    // FDCAN's phases share one run of lines (else: a table each)
};

constexpr TextLayout kTsvLayout = {kInTsv, false, "\t", "\n", false, false, true};
// Lines end in CR LF, as RFC 4180 has it.
constexpr TextLayout kCsvLayout = {kInCsv, true, ",", "\r\n", true, false, true};
constexpr TextLayout kTableLayout = {kInTable, true, "  ", "\n", false, true, false};
// The tsv lines as the window's clipboard has its rows: CR LF between them.
constexpr TextLayout kGridLayout = {kInTsv, false, "\t", "\r\n", false, false, true};

const TextLayout& LayoutOf(OutputFormat format) {
  if (format == OutputFormat::kTsv) return kTsvLayout;
  return format == OutputFormat::kCsv ? kCsvLayout : kTableLayout;
}

constexpr int kMaxColumns = 32;

// The columns of a run of lines, left to right: those that any of its phases has in
// the form, so every line of the run has the same fields. A phase without one of
// them writes "-" there.
struct Line {
  const TextLayout& layout;
  int columns[kMaxColumns];
  const char* titles[kMaxColumns];  // GBK
  int count;
  int32_t widths[kMaxColumns];
};

void ChooseColumns(Line& line, const OutputOptions* phases, int phaseCount) {
  line.count = 0;
  const bool shared = line.layout.sharedByPhases && NamesInQuanta(phases[0]);
  for (int c = 0; c < kColumnCount; ++c) {
    const char* title = nullptr;
    for (int p = 0; p < phaseCount && title == nullptr; ++p) {
      if (InTextForm(kColumns[c], phases[p], line.layout.form)) title = FaceOf(kColumns[c], phases[p]).title;
    }
    if (title == nullptr) continue;
    if (shared && kColumns[c].sharedTitle != nullptr) title = kColumns[c].sharedTitle;
    line.titles[line.count] = title;
    line.widths[line.count] = static_cast<int32_t>(DisplayWidth(GbkToUtf8(title)));
    line.columns[line.count++] = c;
  }
}

// A column's text in a row, or "-" where the row's phase has no such column.
const CandidateText& FieldText(const Column& column, const RowContext& row, unsigned form, CandidateText& scratch) {
  if (InTextForm(column, row.options, form)) return column.text(row, scratch);
  scratch.length = 1;
  std::memcpy(scratch.bytes, "-", 2);
  return scratch;
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

// The field at position i of a line (UTF-8). An aligned field is padded to its
// column's width by its display width (answers/text/display_width.h). The last column is
// not padded on the right: no trailing blanks.
void PutField(OutputSink& sink, const Line& line, const OutputOptions& options, int i, const char* bytes,
              std::size_t length, int32_t displayWidth) {
  if (i > 0) Put(sink, line.layout.separator);
  if (line.layout.quoted) return PutCsvField(sink, bytes, length);
  if (!line.layout.aligned) return Put(sink, bytes, length);
  const bool right = FaceOf(kColumns[line.columns[i]], options).rightAligned;
  const int32_t padTo = i == line.count - 1 && !right ? displayWidth : line.widths[i];
  const std::size_t padding = static_cast<std::size_t>(padTo - displayWidth);
  if (right) PutBlanks(sink, padding);
  Put(sink, bytes, length);
  if (!right) PutBlanks(sink, padding);
}

void PutHeader(OutputSink& sink, const Line& line, const OutputOptions& options) {
  for (int i = 0; i < line.count; ++i) {
    const std::string title = GbkToUtf8(line.titles[i]);
    PutField(sink, line, options, i, title.c_str(), title.size(), static_cast<int32_t>(DisplayWidth(title)));
  }
  Put(sink, line.layout.lineEnd);
}

// The one row loop of the tsv, csv and table forms. The table needs its column widths
// before its first line, so it runs the rows twice and makes their cells twice. A
// continued csv has its header already; a continued table is set off by a blank line.
bool WriteTextRows(const RowSource& rows, Line& line, const OutputOptions& options, OutputSink& sink) {
  const TextLayout& layout = line.layout;
  CandidateText scratch;
  if (layout.aligned) {
    RowCells run;
    rows([&](const TimingCandidate& record) {
      const RowContext row{record, CellsOf(run, record, options), options};
      for (int i = 0; i < line.count; ++i) {
        const CandidateText& text = FieldText(kColumns[line.columns[i]], row, layout.form, scratch);
        const int32_t width = static_cast<int32_t>(DisplayWidth(text.bytes, static_cast<std::size_t>(text.length)));
        if (width > line.widths[i]) line.widths[i] = width;
      }
      return true;
    });
  }
  if (options.continued && layout.aligned) Put(sink, '\n');
  if (layout.header && !(options.continued && !layout.aligned)) PutHeader(sink, line, options);
  bool any = false;
  RowCells run;
  rows([&](const TimingCandidate& record) {
    any = true;
    const RowContext row{record, CellsOf(run, record, options), options};
    for (int i = 0; i < line.count; ++i) {
      const CandidateText& text = FieldText(kColumns[line.columns[i]], row, layout.form, scratch);
      PutField(sink, line, options, i, text.bytes, static_cast<std::size_t>(text.length),
               static_cast<int32_t>(DisplayWidth(text.bytes, static_cast<std::size_t>(text.length))));
    }
    Put(sink, layout.lineEnd);
    return sink.error == 0;
  });
  return any;
}

bool IsText(OutputFormat format) {
  return format == OutputFormat::kTable || format == OutputFormat::kTsv || format == OutputFormat::kCsv;
}

// One phase in its form, a text form on the given columns.
bool WritePhase(const RowSource& rows, const OutputOptions& options, Line* line, OutputSink& sink) {
  switch (options.format) {
    case OutputFormat::kTable:
    case OutputFormat::kTsv:
    case OutputFormat::kCsv: return WriteTextRows(rows, *line, options, sink);
    case OutputFormat::kJson: {
      const bool any = WriteJsonArray(rows, options, sink);
      if (!InPhases(options)) Put(sink, '\n');
      return any;
    }
    default: return false;  // a code form: answers/code/code_output.h
  }
}

}  // namespace

bool IsTextForm(OutputFormat format) { return IsText(format) || format == OutputFormat::kJson; }

bool WriteTextForm(const RowSource& rows, const OutputOptions& options, OutputSink& sink) {
  Line line{LayoutOf(options.format), {}, {}, 0, {}};
  if (IsText(options.format)) ChooseColumns(line, &options, 1);
  return WritePhase(rows, options, &line, sink);
}

bool WriteGridRows(const RowSource& rows, const OutputOptions& options, OutputSink& sink) {
  const PhaseOutput phase{rows, options};
  return WriteGridRows(&phase, 1, sink);
}

bool WriteGridRows(const PhaseOutput* phases, int count, OutputSink& sink) {
  OutputOptions all[2];
  if (count > 2) count = 2;
  for (int i = 0; i < count; ++i) all[i] = phases[i].options;
  Line line{kGridLayout, {}, {}, 0, {}};
  if (count > 0) ChooseColumns(line, all, count);
  bool any = false;
  for (int i = 0; i < count && sink.error == 0; ++i) any = WriteTextRows(phases[i].rows, line, all[i], sink) || any;
  return any;
}

void WriteTextPhases(const PhaseOutput* phases, int count, const Tolerance* pairTolerance, OutputSink& sink) {
  if (count == 0) return;
  const OutputFormat format = phases[0].options.format;
  if (!IsTextForm(format)) return;
  const bool json = format == OutputFormat::kJson;
  // The tsv and csv lines of every phase share one set of columns; each table has
  // its own.
  OutputOptions all[2];
  for (int i = 0; i < count && i < 2; ++i) all[i] = phases[i].options;
  Line shared{LayoutOf(format), {}, {}, 0, {}};
  if (IsText(format) && shared.layout.sharedByPhases) ChooseColumns(shared, all, count < 2 ? count : 2);
  if (json) Put(sink, "{\n");
  bool anyRow = false;
  for (int i = 0; i < count; ++i) {
    OutputOptions options = phases[i].options;
    options.continued = i > 0;
    if (json) {
      Put(sink, i > 0 ? ",\n  \"" : "  \"");
      Put(sink, PhaseName(options));
      Put(sink, "\": ");
    }
    Line own{LayoutOf(format), {}, {}, 0, {}};
    if (IsText(format) && !own.layout.sharedByPhases) ChooseColumns(own, &options, 1);
    anyRow = WritePhase(phases[i].rows, options, own.layout.sharedByPhases ? &shared : &own, sink) || anyRow;
  }
  if (json && pairTolerance != nullptr) {
    Put(sink, ",\n  \"oscillatorTolerance\": ");
    Put(sink, JsonPercent(*pairTolerance));
  }
  if (json) Put(sink, "\n}\n");
}
