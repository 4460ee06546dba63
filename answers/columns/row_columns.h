// The columns of the answers, as data: one table that every face reads (the window's
// result table, the companion's tsv, csv and table forms, json and the comment of each
// code block, and the page's grid). A column says, per phase, its titles (Chinese and
// English), json key and alignment; in which forms it stands; and how a row's text,
// its json value and, for the window, its number are made.
#pragma once

#include <cstdint>
#include <string>

#include "answers/rows/output_options.h"
#include "calc/candidate_cells.h"

// What a column reads from one row.
struct RowContext {
  const TimingCandidate& record;
  const CandidateCells& cells;  // the window's cells of the row, segments named by phase
  const OutputOptions& options;
};

// A column as one phase shows it. A null title: the phase has no such column.
struct ColumnFace {
  const char* title;      // GBK: the window's Chinese where it has one
  const char* english;    // the page's English title
  const char* jsonKey;    // null: not in json
  bool rightAligned;      // numbers to the right, names and registers to the left
  const char* codeLabel;  // before the text in a code block's comment
};

// The forms, as bits of Column::forms. The page's grid shows the tsv columns.
constexpr unsigned kInTsv = 1;
constexpr unsigned kInCsv = 2;
constexpr unsigned kInTable = 4;
constexpr unsigned kInWindow = 8;  // the window's result table (bxCAN's face)

struct Column {
  const char* key;          // what the column holds, one word for every face: "seg1", "register"
  ColumnFace faces[3];      // by FaceIndex: the window's (bxCAN's), a nominal phase's, a data phase's
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
  // Null, or the number the window hands its table for the cell, which the table
  // writes by its float rule (the same text as text()).
  float (*number)(const RowContext& row);
  // Null, or whether a row written with these options has the column at all: the
  // older forms' columns (bxCAN's and FDCAN's register, SJW, TDC bit) and the plain
  // form's (SJW, tq, registers, prop and phase1 where seg1 is split).
  bool (*present)(const OutputOptions& options) = nullptr;
};

// Every column, left to right (json keys in the same order).
extern const Column kColumns[];
extern const int kColumnCount;

// The face of column for the phase the options give.
const ColumnFace& FaceOf(const Column& column, const OutputOptions& options);
// A tolerance as the text forms show it, two decimals rounded down and "%": "0.35%"
// for 1/280 (0.357…%); a limit a person relies on never shows above what it is.
std::string PercentText(const Tolerance& tolerance);
// A tolerance in percent as a json number: the double's shortest exact digits.
std::string JsonPercent(const Tolerance& tolerance);

// The sample point of a row wherever it is not the window's table: the exact
// (1 + seg1) / (1 + seg1 + seg2) by FormatTenthsPercent (calc/text.h), and "%":
// "90.0%" for 9/10, where the window's cut shows "89.9%"; "75%", "87.5%".
std::string SamplePointPercent(const TimingCandidate& record);

// Whether a row written with options has the column at all.
bool InRow(const Column& column, const OutputOptions& options);
// Whether a row written with options has the column in the text form (one of kInTsv,
// kInCsv, kInTable).
bool InTextForm(const Column& column, const OutputOptions& options, unsigned form);
// Whether a row written with options has the column in json.
bool InJson(const Column& column, const OutputOptions& options);

// The window's result table: its columns, left to right (kResultColumnCount of them).
const Column& WindowColumn(int32_t k);
// The window's title of column k (GBK), as its header row shows it.
const char* WindowColumnTitle(int32_t k);

// The columns of the tsv lines of a run of phases (at most two), as the companion's
// tsv writer picks them, as one JSON array (UTF-8) of {"key", "zh", "en", "align":
// "left" or "right", "zhHelp", "enHelp"}: the titles and what the column holds, with
// its unit.
std::string PageColumnsJson(const OutputOptions* phases, int phaseCount);
// The options of a controller's listing on the page (--wide, and page: its own
// columns), phase by phase (its data phase with dataPhase, an FD controller's only),
// into phases (room for two); the count.
int ListingOptions(const ControllerEntry& entry, bool dataPhase, OutputOptions* phases);
// Every controller's columns for its whole listing on the page (an FD controller's
// with its data phase), as one JSON object by the companion's --controller name:
// {"bxcan": [column...], "fdcan": [column...], "mcp2515": [...], ...}.
std::string PageColumnsJson();
