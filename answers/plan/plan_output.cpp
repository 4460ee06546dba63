#include "answers/plan/plan_output.h"

#include "answers/code/code_output.h"
#include "answers/columns/row_columns.h"
#include "answers/request/code_forms.h"
#include "answers/text/gbk_to_utf8.h"
#include "answers/text/json_string.h"

#include <cstring>

namespace {

// The column with this key that a row written with options has, or null.
const Column* ColumnOf(const char* key, const OutputOptions& options) {
  for (int c = 0; c < kColumnCount; ++c) {
    if (std::strcmp(kColumns[c].key, key) == 0 && InRow(kColumns[c], options)) return &kColumns[c];
  }
  return nullptr;
}

// The column's own text for the row; "-" where the row has no such column. The time
// quantum is shown for every node, bxCAN's and FDCAN's too (their listings leave it out).
std::string ColumnText(const char* key, const TimingCandidate& record, const OutputOptions& options) {
  const Column* column = ColumnOf(key, options);
  for (int c = 0; column == nullptr && std::strcmp(key, "tqNs") == 0 && c < kColumnCount; ++c) {
    if (std::strcmp(kColumns[c].key, key) == 0) column = &kColumns[c];
  }
  if (column == nullptr) return "-";
  RowCells run;
  const RowContext row{record, CellsOf(run, record, options), options};
  CandidateText scratch;
  const CandidateText& text = column->text(row, scratch);
  return std::string(text.bytes, static_cast<std::size_t>(text.length));
}

std::string ColumnJson(const Column& column, const TimingCandidate& record, const OutputOptions& options) {
  RowCells run;
  const RowContext row{record, CellsOf(run, record, options), options};
  CandidateText value;
  column.json(row, value);
  return std::string(value.bytes, static_cast<std::size_t>(value.length));
}

// The register columns: a table controller's "registers", bxCAN's and FDCAN's one
// register.
std::string RegistersOf(const TimingCandidate& record, const OutputOptions& options) {
  return ColumnOf("registers", options) != nullptr ? ColumnText("registers", record, options)
                                                   : ColumnText("register", record, options);
}

// The error with its sign: "-" when the rate falls short of the target, "+" above it.
std::string SignOf(const TimingCandidate& record, float target) {
  if (record.errorPercent == 0.0f) return "";
  return record.actualRate < target ? "-" : "+";
}

// The title FDCAN's nominal rows give a column (UTF-8), or fallback.
std::string TitleOf(const char* key, const char* fallback) {
  for (int c = 0; c < kColumnCount; ++c) {
    const ColumnFace& face = kColumns[c].faces[1];
    if (std::strcmp(kColumns[c].key, key) == 0 && face.title != nullptr) return GbkToUtf8(face.title);
  }
  return fallback;
}

// One phase's cells of a node, seg1 to registers.
std::vector<std::string> PhaseCells(const TimingCandidate& record, const OutputOptions& options, float target) {
  const BitTimingLengths lengths = RowLengths(record, options);
  return {std::to_string(lengths.seg1),
          std::to_string(lengths.seg2),
          std::to_string(record.prescaler),
          std::to_string(RowSjw(record, options)),
          ColumnText("tqNs", record, options),
          SamplePointPercent(record),
          ColumnText("actualRate", record, options),
          SignOf(record, target) + ColumnText("errorPercent", record, options),
          RegistersOf(record, options)};
}

AlignedTable PhaseTable(bool data) {
  AlignedTable table;
  table.titles = {"Node"};
  table.right = {false};
  if (!data) {
    table.titles.insert(table.titles.end(), {"Controller", "Clock (MHz)"});
    table.right.insert(table.right.end(), {false, true});
  }
  const char* keys[] = {"seg1", "seg2", "prescaler", "sjw", "tqNs", "samplePoint", "actualRate", "errorPercent", "registers"};
  const char* fallbacks[] = {"Seg1", "Seg2", "Prescaler", "SJW", "Tq (ns)", "Sample point", "Rate", "Error", "Registers"};
  for (int k = 0; k < 9; ++k) {
    table.titles.push_back(TitleOf(keys[k], fallbacks[k]));
    table.right.push_back(k < 8);
  }
  table.titles.push_back(data ? "TDC offset" : "Tolerance");
  table.right.push_back(true);
  return table;
}

// The lowest and highest sample point of the plan's rows in one phase, as shown.
std::string RangeText(const BusPlan& plan, bool data, int64_t spread) {
  const PlannedNode* low = &plan.nodes[0];
  const PlannedNode* high = &plan.nodes[0];
  auto point = [data](const PlannedNode& n) { return (data ? n.data : n.nominal).samplePoint; };
  for (const PlannedNode& node : plan.nodes) {
    if (point(node) < point(*low)) low = &node;
    if (point(node) > point(*high)) high = &node;
  }
  auto shown = [data](const PlannedNode& n) { return SamplePointPercent(data ? n.data : n.nominal); };
  return shown(*low) + " to " + shown(*high) + " (spread " + SpreadPointsText(spread) + " points)";
}

void WriteTable(const BusPlan& plan, const Request& request, OutputSink& out) {
  PutAlignedTable(out, PlanPhaseTable(plan, request, false));
  if (plan.fd) {
    Put(out, "\n");
    PutAlignedTable(out, PlanPhaseTable(plan, request, true));
  }
  Put(out, "\n");
  Put(out, "Sample points: " + RangeText(plan, false, plan.spread) + "\n");
  if (plan.fd) Put(out, "Data sample points: " + RangeText(plan, true, plan.dataSpread) + "\n");
  Put(out, "Margin: " + MarginText(plan.margin) +
               " (the smallest node tolerance less the largest rate error, left for the oscillators)\n");
  Put(out, "Longest bus: " + (plan.maxBusLength < 0 ? std::string("-") : std::to_string(plan.maxBusLength) + " m") + "\n");
  for (const std::string& line : PlanLimitLines(plan)) Put(out, "Limit: " + line + "\n");
  for (const std::string& line : PlanFixedLines(plan)) Put(out, "Fixed: " + line + "\n");
}

// One row as its listing's json writes it, with its signed error after its error.
std::string JsonRow(const TimingCandidate& record, const OutputOptions& options, float target) {
  std::string text = "{";
  bool first = true;
  for (int c = 0; c < kColumnCount; ++c) {
    const Column& column = kColumns[c];
    if (!InJson(column, options)) continue;
    text += first ? "\"" : ", \"";
    first = false;
    const std::string value = ColumnJson(column, record, options);
    text += std::string(FaceOf(column, options).jsonKey) + "\": " + value;
    if (std::strcmp(column.key, "errorPercent") == 0) {
      const std::string sign = SignOf(record, target) == "-" ? "-" : "";
      text += ", \"signedErrorPercent\": " + (value == "0" ? value : sign + value);
    }
  }
  return text + "}";
}

void WriteJson(const BusPlan& plan, const Request& request, OutputSink& out) {
  Put(out, "{\"nodes\": [\n");
  for (std::size_t n = 0; n < plan.nodes.size(); ++n) {
    const PlannedNode& node = plan.nodes[n];
    std::string text = "  {\"name\": " + JsonString(node.node->name) + ", \"controller\": " +
                       JsonString(node.node->controller->name) + ", \"clock\": " + ClockMHzText(node.node->clockKHz) +
                       ",\n   \"nominal\": " + JsonRow(node.nominal, node.nominalOptions, request.targetRate);
    if (plan.fd) {
      text += ",\n   \"data\": " + JsonRow(node.data, node.dataOptions, request.dataRate);
      text += ",\n   \"oscillatorTolerance\": " + JsonPercent(node.tolerance);
    }
    // Only a node with a fixed setting has the key: the phases it keeps as given.
    const bool fixed = node.node->setting.fixed;
    const bool dataFixed = node.node->dataSetting.fixed;
    if (fixed || dataFixed)
      text += std::string(",\n   \"fixed\": [") + (fixed ? "\"nominal\"" : "") + (fixed && dataFixed ? ", " : "") +
              (dataFixed ? "\"data\"" : "") + "]";
    Put(out, text + "}" + (n + 1 < plan.nodes.size() ? ",\n" : "\n"));
  }
  std::string margin = MarginText(plan.margin);
  margin.pop_back();  // the "%"
  Put(out, "], \"samplePointSpread\": " + SpreadPointsText(plan.spread) + ", \"dataSamplePointSpread\": " +
               (plan.fd ? SpreadPointsText(plan.dataSpread) : std::string("null")) + ", \"margin\": " + margin +
               ", \"maxBusLength\": " +
               (plan.maxBusLength < 0 ? std::string("null") : std::to_string(plan.maxBusLength)) + ", \"limits\": {");
  const std::vector<std::string> limits = PlanLimitLines(plan);
  // PlanLimitLines' order: the sample point, the data's on an FD bus, the margin, the
  // longest bus where there is one.
  std::vector<const char*> keys = {"samplePoint"};
  if (plan.fd) keys.push_back("dataSamplePoint");
  keys.insert(keys.end(), {"margin", "longestBus"});
  for (std::size_t i = 0; i < limits.size(); ++i)
    Put(out, std::string(i > 0 ? ", \"" : "\"") + keys[i] + "\": " + JsonString(limits[i]));
  Put(out, "}}\n");
}

// The comment marks of a form: "#" where the block is a shell or Python line.
std::string CommentLine(OutputFormat form, const std::string& text) {
  if (form == OutputFormat::kLinux || form == OutputFormat::kPythonCan) return "# " + text + "\n";
  return "/* " + text + " */\n";
}

// One node's block in the asked form, or where its controller lacks that form its
// registers form, and where it has no registers (USB adapters, custom:) its linux
// form; every controller has one of the three. Returns whether a block was written.
bool WriteNodeCode(const PlannedNode& node, bool fd, OutputFormat asked, OutputSink& out) {
  const OutputFormat forms[] = {asked, OutputFormat::kRegisters, OutputFormat::kLinux};
  const std::string heading = node.node->name + ": " + node.node->controller->name + " at " +
                              ClockMHzText(node.node->clockKHz) + " MHz";
  for (const OutputFormat form : forms) {
    if (!HasForm(*node.node->controller, form)) continue;
    std::string line = heading;
    if (form != asked) {
      line += std::string("; ") + node.node->controller->name + " has no " + FormatName(asked) + " form: its " +
              FormatName(form) + " form instead";
    }
    // The heading goes first, so the block is gathered aside until the writer says
    // it had the form.
    std::string block;
    OutputSink text = TextOutput(block);
    if (!WriteSettingForm(form, node.nominal, node.nominalOptions, fd ? &node.data : nullptr,
                          fd ? &node.dataOptions : nullptr, text))
      continue;
    FlushOutput(text);
    Put(out, CommentLine(form, line));
    Put(out, block);
    return true;
  }
  return false;
}

// One block per node in the request's code form, separated by a blank line.
void WriteCodeBlocks(const BusPlan& plan, const Request& request, OutputSink& out) {
  for (std::size_t n = 0; n < plan.nodes.size(); ++n) {
    if (n > 0) Put(out, "\n");
    // A node's own form=, where it gives one, in place of --format's.
    const PlanNode& node = *plan.nodes[n].node;
    WriteNodeCode(plan.nodes[n], plan.fd, node.formGiven ? node.form : request.format, out);
  }
}

}  // namespace

AlignedTable PlanPhaseTable(const BusPlan& plan, const Request& request, bool data) {
  AlignedTable table = PhaseTable(data);
  for (const PlannedNode& node : plan.nodes) {
    std::vector<std::string> row = {node.node->name};
    if (!data) row.insert(row.end(), {node.node->controller->name, ClockMHzText(node.node->clockKHz)});
    const std::vector<std::string> cells = data ? PhaseCells(node.data, node.dataOptions, request.dataRate)
                                                : PhaseCells(node.nominal, node.nominalOptions, request.targetRate);
    row.insert(row.end(), cells.begin(), cells.end());
    row.push_back(data ? ColumnText("tdcOffset", node.data, node.dataOptions) : PercentText(node.tolerance));
    table.rows.push_back(row);
  }
  return table;
}

void WriteBusPlan(const BusPlan& plan, const Request& request, OutputSink& out) {
  if (IsCodeFormat(request.format)) {
    WriteCodeBlocks(plan, request, out);
    return;
  }
  if (request.format == OutputFormat::kJson) {
    WriteJson(plan, request, out);
    return;
  }
  WriteTable(plan, request, out);
}
