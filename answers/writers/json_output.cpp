#include "answers/writers/json_output.h"

#include "answers/columns/row_columns.h"
#include "calc/candidate_cells.h"

namespace {

// One object on one line: every column the row has in json, in the table's order.
void PutJsonRow(OutputSink& sink, const TimingCandidate& record, const OutputOptions& options, RowCells& run) {
  const RowContext row{record, CellsOf(run, record, options), options};
  CandidateText value;
  bool first = true;
  for (int c = 0; c < kColumnCount; ++c) {
    const Column& column = kColumns[c];
    if (!InJson(column, options)) continue;
    Put(sink, first ? "{\"" : ", \"");
    first = false;
    Put(sink, FaceOf(column, options).jsonKey);
    Put(sink, "\": ");
    column.json(row, value);
    Put(sink, value.bytes, static_cast<std::size_t>(value.length));
  }
  Put(sink, '}');
}

}  // namespace

bool WriteJsonArray(const RowSource& rows, const OutputOptions& options, OutputSink& sink) {
  const char* const indent = InPhases(options) ? "  " : "";
  bool first = true;
  RowCells run;
  rows([&](const TimingCandidate& record) {
    Put(sink, first ? "[\n  " : ",\n  ");
    Put(sink, indent);
    first = false;
    PutJsonRow(sink, record, options, run);
    return sink.error == 0;
  });
  if (first) {
    Put(sink, "[]");
    return false;
  }
  Put(sink, '\n');
  Put(sink, indent);
  Put(sink, ']');
  return true;
}
