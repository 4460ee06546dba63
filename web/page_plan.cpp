// The page's bus plan and its picture of a bit: the plan for the page's fields (the
// companion's --plan with its --node list), written as the companion writes it (json,
// or a code form, one block per node), with the texts of its tables and the parts of
// every node's bit; and the parts of one setting's bit for the grid's selected row.
// Each replies in the module's one shape (web/page_reply.h); a refusal's text is the
// companion's line for the same values (without "quillmere-cli: ").
#include <emscripten/emscripten.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "answers/plan/bus_plan.h"
#include "answers/request/code_forms.h"
#include "answers/request/echoed_value.h"
#include "answers/rows/output_options.h"
#include "answers/text/json_string.h"
#include "web/page_fields.h"
#include "answers/columns/row_columns.h"
#include "answers/plan/plan_output.h"
#include "answers/request/request_check.h"
#include "calc/bus_tolerance.h"
#include "calc/controllers.h"
#include "calc/timing.h"
#include "web/page_hooks.h"
#include "web/page_reply.h"

namespace {

bool IsEmpty(const char* text) { return text == nullptr || *text == 0; }

// The refusal of a field as the page takes it: its status, its field and the
// companion's line for the same text.
PageReply FieldRefusal(const RequestCheck& check, const PageFieldTexts& texts) {
  const char* field = PageFieldOf(check);
  return RefusalReply(StatusName(static_cast<int>(check.status)), field != nullptr ? field : "",
                      PageFieldLine(check, texts));
}

// --- The parts of a bit ------------------------------------------------------------

// The column of the column table with this key, or null.
const Column* ColumnByKey(const char* key) {
  for (int c = 0; c < kColumnCount; ++c) {
    if (std::strcmp(kColumns[c].key, key) == 0) return &kColumns[c];
  }
  return nullptr;
}

// The column's text for the row as the table writes it.
std::string ColumnText(const char* key, const TimingCandidate& record, const OutputOptions& options) {
  const Column* column = ColumnByKey(key);
  if (column == nullptr) return "";
  RowCells run;
  const RowContext row{record, CellsOf(run, record, options), options};
  CandidateText scratch;
  const CandidateText& text = column->text(row, scratch);
  return std::string(text.bytes, static_cast<std::size_t>(text.length));
}

struct BitParts {
  int32_t prop = 0;
  int32_t phase1 = 0;
  int32_t phase2 = 0;
  bool split = false;     // prop and phase1 are the controller's own fields
  std::string tqNs;       // the Tq (ns) column's text
  std::string samplePoint;
  std::string bitNs;      // the whole bit, with the Tq column's rounding
  int64_t bitPs = 0;      // the bit in picoseconds, for the picture's scale only: nothing shows it
};

// The parts of record's bit (seg1 = bs1Code + 1, seg2 = bs2Code + 1) at clockKHz for
// a phase with limits:
//   1. sync: always 1 tq;
//   2. where the controller keeps seg1 as prop and phase1 fields, its own split of
//      seg1 (SplitSeg1, as its registers are written);
//   3. otherwise the nominal phase's prop is the propagation the bus needs, ceil(2 x
//      (node delay + 5 ns/m x bus length) / tq) (PropagationQuanta, as the tolerance
//      takes it), capped at seg1 - 1 so phase 1 keeps a quantum: beyond that the
//      setting cannot serve the bus (the longest-bus column says so), and the picture
//      shows the most the bit has room for; a data phase keeps no propagation
//      segment (transmitter delay compensation covers the loop), so prop is 0 there;
//   4. phase 1 is the rest of seg1, phase 2 is seg2.
BitParts PartsOf(const TimingCandidate& record, const PhaseLimits& limits, bool data, int32_t clockKHz,
                 const BusConditions& bus) {
  BitParts parts;
  const int32_t seg1 = record.bs1Code + 1;
  parts.phase2 = record.bs2Code + 1;
  int32_t prop = 0;
  int32_t phase1 = 0;
  if (IsSplit(limits) && SplitSeg1(limits, seg1, prop, phase1)) {
    parts.split = true;
  } else if (!data) {
    const int64_t needed = PropagationQuanta(clockKHz, record.prescaler, bus);
    prop = static_cast<int32_t>(needed < seg1 - 1 ? needed : seg1 - 1);
  }
  parts.prop = prop;
  parts.phase1 = seg1 - prop;
  OutputOptions options;
  options.clockKHz = clockKHz;
  parts.tqNs = ColumnText("tqNs", record, options);
  parts.samplePoint = SamplePointPercent(record);
  // The bit is nbt quanta of prescaler clock periods each: the Tq column's text of a
  // quantum nbt times as long is the bit time, rounded as a quantum is.
  const int32_t nbt = 1 + seg1 + parts.phase2;
  TimingCandidate whole = record;
  whole.prescaler = record.prescaler * nbt;
  parts.bitNs = ColumnText("tqNs", whole, options);
  const int64_t clock = clockKHz;
  parts.bitPs = (int64_t{whole.prescaler} * 2000000000 + clock) / (2 * clock);
  return parts;
}

std::string PartsJson(const BitParts& parts) {
  return "{\"sync\": 1, \"prop\": " + std::to_string(parts.prop) + ", \"phase1\": " + std::to_string(parts.phase1) +
         ", \"phase2\": " + std::to_string(parts.phase2) + ", \"split\": " + (parts.split ? "true" : "false") +
         ", \"tqNs\": " + JsonString(parts.tqNs) + ", \"samplePoint\": " + JsonString(parts.samplePoint) +
         ", \"bitNs\": " + JsonString(parts.bitNs) + ", \"scalePs\": " + std::to_string(parts.bitPs) + "}";
}

// The texts of one plan table, {"right": [...], "rows": [[...], ...]}.
std::string TableJson(const AlignedTable& table) {
  std::string text = "{\"right\": [";
  for (std::size_t c = 0; c < table.right.size(); ++c) text += std::string(c ? ", " : "") + (table.right[c] ? "true" : "false");
  text += "], \"rows\": [";
  for (std::size_t r = 0; r < table.rows.size(); ++r) {
    text += r ? ", [" : "[";
    for (std::size_t c = 0; c < table.rows[r].size(); ++c) text += (c ? ", " : "") + JsonString(table.rows[r][c]);
    text += "]";
  }
  return text + "]}";
}

// A fixed setting as the node's text gives it, PRESCALER/SEG1/SEG2; "" for none.
std::string FixedSettingText(const FixedSetting& setting) {
  if (!setting.fixed) return "";
  return std::to_string(setting.prescaler) + "/" + std::to_string(setting.seg1) + "/" + std::to_string(setting.seg2);
}

// A node of a plan as the page names it in its own words: {name, controller, clock,
// fixed} (the name and controller cut as echoed values are, the clock in MHz, fixed the
// phases it keeps as given, "nominal", "data", "both" or "", as the companion's node
// title says them); null for none.
std::string LimitNodeJson(const BusPlan& plan, int index) {
  if (index < 0) return "null";
  const PlanNode& node = *plan.nodes[static_cast<std::size_t>(index)].node;
  const char* fixed = node.setting.fixed ? (node.dataSetting.fixed ? "both" : "nominal")
                                         : (node.dataSetting.fixed ? "data" : "");
  return "{\"name\": " + JsonString(ShortenedName(node.name)) + ", \"controller\": " +
         JsonString(ShortenedName(node.controller->name)) + ", \"clock\": " + JsonString(ClockMHzText(node.clockKHz)) +
         ", \"fixed\": " + JsonString(fixed) + "}";
}

// The nodes that keep a fixed setting (the companion's Fixed: lines, PlanFixedLines),
// in the request's order: [{node, setting, dataSetting, registers, dataRegisters}], the
// settings as FixedSettingText writes them, the registers as typed where the setting
// came from them (their first 40 characters), else "".
std::string FixedJson(const BusPlan& plan) {
  std::string text = "[";
  for (std::size_t n = 0; n < plan.nodes.size(); ++n) {
    const PlanNode& node = *plan.nodes[n].node;
    if (!node.setting.fixed && !node.dataSetting.fixed) continue;
    text += text.size() > 1 ? ", " : "";
    text += "{\"node\": " + LimitNodeJson(plan, static_cast<int>(n)) + ", \"setting\": " +
            JsonString(FixedSettingText(node.setting)) + ", \"dataSetting\": " +
            JsonString(FixedSettingText(node.dataSetting)) + ", \"registers\": " +
            JsonString(ShortenedName(node.setting.registers)) + ", \"dataRegisters\": " +
            JsonString(ShortenedName(node.dataSetting.registers)) + "}";
  }
  return text + "]";
}

// The plan's limits as facts (PlanLimitFacts, the companion's Limit: lines), for the
// page to say in its language: [{kind, node, own, value, target, errorNode, error}],
// kind "samplePoint", "dataSamplePoint", "margin" or "longestBus", the nodes as
// LimitNodeJson writes them.
std::string LimitsJson(const BusPlan& plan) {
  static constexpr const char* kKindNames[] = {"samplePoint", "dataSamplePoint", "margin", "longestBus"};
  std::string text = "[";
  for (const PlanLimitFact& fact : PlanLimitFacts(plan)) {
    text += text.size() > 1 ? ", " : "";
    text += "{\"kind\": " + JsonString(kKindNames[static_cast<int>(fact.kind)]) + ", \"node\": " +
            LimitNodeJson(plan, fact.node) + ", \"own\": " + (fact.own ? "true" : "false") + ", \"value\": " +
            JsonString(fact.value) + ", \"target\": " + JsonString(fact.target) + ", \"errorNode\": " +
            LimitNodeJson(plan, fact.errorNode) + ", \"error\": " + JsonString(fact.error) + "}";
  }
  return text + "]";
}

// What the page shows beside the companion's json: the tables' texts, the margin and
// the longest bus as the table form writes them, what limits them (LimitsJson), the
// nodes kept at a fixed setting (FixedJson), and each node's bit parts.
std::string PlanShownJson(const BusPlan& plan, const Request& request) {
  std::string text = "{\"nominal\": " + TableJson(PlanPhaseTable(plan, request, false));
  text += ", \"data\": " + (plan.fd ? TableJson(PlanPhaseTable(plan, request, true)) : std::string("null"));
  text += ", \"margin\": " + JsonString(MarginText(plan.margin));
  text += ", \"longestBus\": " +
          JsonString(plan.maxBusLength < 0 ? std::string("-") : std::to_string(plan.maxBusLength) + " m");
  text += ", \"limits\": " + LimitsJson(plan);
  text += ", \"fixed\": " + FixedJson(plan);
  // The companion's warning: lines as facts (PlanWarningFacts): [{node, data, quanta}].
  text += ", \"warnings\": [";
  bool first = true;
  for (const PlanWarningFact& fact : PlanWarningFacts(plan)) {
    text += first ? "" : ", ";
    first = false;
    text += "{\"node\": " + LimitNodeJson(plan, fact.node) + ", \"data\": " + (fact.data ? "true" : "false") +
            ", \"quanta\": " + std::to_string(fact.quanta) + "}";
  }
  text += "]";
  text += ", \"bits\": [";
  for (std::size_t n = 0; n < plan.nodes.size(); ++n) {
    const PlannedNode& node = plan.nodes[n];
    const ControllerEntry& entry = *node.node->controller;
    text += n ? ", " : "";
    text += "{\"name\": " + JsonString(node.node->name) + ", \"nominal\": " +
            PartsJson(PartsOf(node.nominal, entry.nominal, false, node.node->clockKHz, request.bus));
    text += ", \"data\": " +
            (plan.fd ? PartsJson(PartsOf(node.data, entry.data, true, node.node->clockKHz, request.bus))
                     : std::string("null")) + "}";
  }
  return text + "]}";
}

OutputFormat FormNamed(const char* name) {
  OutputFormat named = OutputFormat::kJson;
  return FormatNamed(name, named) && IsCodeFormat(named) ? named : OutputFormat::kJson;
}

}  // namespace

extern "C" {

// The plan for the page's fields (texts: kPageFieldCount of them, web/page_hooks.h,
// read as a plan's: the controller, clock and SJWs unread), the sample point selector
// by index;
// form "" or "json" for json, else a code form's name. Replies (web/page_reply.h)
// ready with text the plan as the companion writes it and, for json, "shown": what
// the page shows beside it, {nominal, data, margin, longestBus, limits, fixed, warnings, bits}
// (PlanShownJson);
// or a refusal: a field's, a node's (field "nodes"), unknown-form, or the planner's
// (field "spread" for a spread too wide, else "nodes").
EMSCRIPTEN_KEEPALIVE void QuillmerePlan(const char* const* texts, int samplePointIndex, const char* formName) {
  PageFieldTexts fields = PageTextsAt(texts, samplePointIndex);
  fields.plan = true;
  Request request;
  const RequestCheck read = ReadAllPageFields(fields, request);
  if (read.status != RequestStatus::kReady) return KeepReply(FieldRefusal(read, fields));
  const bool json = IsEmpty(formName) || std::strcmp(formName, "json") == 0;
  request.format = json ? OutputFormat::kJson : FormNamed(formName);
  if (!json && request.format == OutputFormat::kJson)
    return KeepReply(RefusalReply("unknown-form", "plan-code-form", std::string("unknown code form ") + formName));
  // The page's empty rate is refused as its listing refuses it; the companion's would
  // be 500.
  if (!request.rateGiven) {
    RequestCheck missing;
    missing.status = RequestStatus::kRateMissing;
    return KeepReply(FieldRefusal(missing, fields));
  }
  // Missing: the clock, which a plan has none of (its nodes give theirs); the empty
  // rate was refused above.
  RequestCheck check = CheckRequest(request, MissingInput::kTakeDefault);
  if (check.status != RequestStatus::kReady) {
    if (check.nodeIndex >= 0)
      check.echoedValue = EchoedValue(request.nodeTexts[static_cast<std::size_t>(check.nodeIndex)].c_str());
    if (!check.nodePart.empty()) check.echoedPart = EchoedValue(check.nodePart.c_str());
    const char* field = PageFieldOf(check);
    return KeepReply(RefusalReply(StatusName(static_cast<int>(check.status)), field != nullptr ? field : "nodes",
                                  RefusalLine(check)));
  }
  const BusPlan plan = PlanBus(request);
  if (plan.status != PlanStatus::kFound) {
    const std::string name = PlanStatusName(plan);
    const bool spread = name == "spread-too-wide" || name == "data-spread-too-wide";
    std::string lines;
    for (const std::string& line : PlanRefusalLines(plan, request)) lines += (lines.empty() ? "" : "\n") + line;
    return KeepReply(RefusalReply(name.c_str(), spread ? "spread" : "nodes", lines));
  }
  std::string text;
  OutputSink sink = TextOutput(text);
  WriteBusPlan(plan, request, sink);
  FlushOutput(sink);
  PageReply reply;
  reply.text = text;
  if (json) AddMember(reply, "shown", PlanShownJson(plan, request));
  KeepReply(reply);
}

// The parts of one setting's bit (PartsOf) for the grid's selected row, for the
// page's fields (texts as QuillmerePlan's; the controller, clock and bus fields read,
// the rest unused): phase 0 bxCAN, 1 nominal, 2 data. Replies ready with "parts":
// {sync, prop, phase1, phase2, split, tqNs, samplePoint, bitNs, scalePs}, or a
// refusal (unknown-controller, a field's, setting-outside-ranges).
EMSCRIPTEN_KEEPALIVE void QuillmereBitParts(const char* const* texts, int phase, int32_t prescaler, int32_t seg1,
                                            int32_t seg2) {
  PageFieldTexts fields = PageTextsAt(texts, 0);
  const ControllerEntry* entry = FindController(fields.controller != nullptr ? fields.controller : "");
  const bool data = phase == 2;
  if (entry == nullptr || (data && !entry->fd))
    return KeepReply(RefusalReply("unknown-controller", "controller", "no such controller or phase"));
  // A setting's bit needs no rate, SJW, tolerance or target: those fields go unread.
  fields.rate = fields.dataRate = fields.sjw = fields.dataSjw = fields.minTolerance = nullptr;
  fields.tolerance = fields.targetSamplePoint = fields.dataTargetSamplePoint = nullptr;
  Request request;
  const RequestCheck read = ReadAllPageFields(fields, request);
  if (read.status != RequestStatus::kReady) return KeepReply(FieldRefusal(read, fields));
  const PhaseLimits& limits = data ? entry->data : entry->nominal;
  const bool within = prescaler >= limits.prescaler.first && prescaler <= limits.prescaler.last &&
                      seg1 >= limits.seg1.first && seg1 <= limits.seg1.last && seg2 >= limits.seg2.first &&
                      seg2 <= limits.seg2.last;
  if (!within) {
    RequestCheck outside;
    outside.status = RequestStatus::kSettingOutsideRanges;
    return KeepReply(RefusalReply(StatusName(static_cast<int>(outside.status)), "", RefusalLine(outside)));
  }
  // The search's own record of the setting: its sample point is the row's.
  const TimingCandidate record = ComputedSetting(request.clockKHz, seg1, seg2, prescaler, 1.0f);
  BitParts parts = PartsOf(record, limits, data, request.clockKHz, request.bus);
  // The grid's row shows its sample point as the grid does (bxCAN's: the window's cut,
  // "89.9%" for 9/10), and the picture says the row's.
  OutputOptions grid;
  grid.format = OutputFormat::kTsv;
  grid.page = true;
  grid.clockKHz = request.clockKHz;
  grid.controller = entry;
  grid.phase = data ? Phase::kData : Phase::kNominal;
  parts.samplePoint = ColumnText("samplePoint", record, grid);
  PageReply reply;
  AddMember(reply, "parts", PartsJson(parts));
  KeepReply(reply);
}

}  // extern "C"
