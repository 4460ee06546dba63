// The columns of the answers, as data: one table that every writer reads (the tsv,
// csv and table forms, json, and the comment of each code block). A column says, per
// phase, its title, json key and alignment; in which text forms it stands; and how a
// row's text and its json value are made.
#pragma once

#include <cstdint>
#include <string>

#include "answers/output_options.h"
#include "calc/candidate_cells.h"

// What a column reads from one row.
struct RowContext {
  const TimingCandidate& record;
  const CandidateCells& cells;  // the window's cells of the row, segments named by phase
  const OutputOptions& options;
};

// A column as one phase shows it. A null title: the phase has no such column.
struct ColumnFace {
  const char* title;      // GBK
  const char* jsonKey;    // null: not in json
  bool rightAligned;      // numbers to the right, names and registers to the left
  const char* codeLabel;  // before the text in a code block's comment
};

// The text forms, as bits of Column::forms.
constexpr unsigned kInTsv = 1;
constexpr unsigned kInCsv = 2;
constexpr unsigned kInTable = 4;

struct Column {
  ColumnFace faces[3];      // by Phase: bxCAN, FDCAN nominal, FDCAN data
  const char* sharedTitle;  // where FDCAN's phases share the lines (tsv, csv); null: the face's
  unsigned forms;           // the text forms that have it (kInTsv | ...)
  unsigned wideForms;       // the text forms that have it with --wide
  bool decodedOnly;         // only for a decoded value
  int codePlace;            // its place in a code block's comment, from 1; 0: not there
  const char* codeUnit;     // after the text in the comment, or null
  // The row's text: one of the window's cells, or made into scratch.
  const CandidateText& (*text)(const RowContext& row, CandidateText& scratch);
  // The row's json value (a number, true, false or null), written into scratch.
  void (*json)(const RowContext& row, CandidateText& scratch);
};

// Every column, left to right (json keys in the same order).
extern const Column kColumns[];
extern const int kColumnCount;

// The face of column for the phase the options give.
const ColumnFace& FaceOf(const Column& column, const OutputOptions& options);
// A tolerance as the text forms show it, two decimals and "%": "0.36%".
std::string PercentText(const Tolerance& tolerance);
// A tolerance in percent as a json number: the double's shortest exact digits.
std::string JsonPercent(const Tolerance& tolerance);

// Whether a row written with options has the column at all.
bool InRow(const Column& column, const OutputOptions& options);
// Whether a row written with options has the column in the text form (one of kInTsv,
// kInCsv, kInTable).
bool InTextForm(const Column& column, const OutputOptions& options, unsigned form);
// Whether a row written with options has the column in json.
bool InJson(const Column& column, const OutputOptions& options);
