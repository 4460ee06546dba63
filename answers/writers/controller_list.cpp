#include "answers/writers/controller_list.h"

#include "answers/request/code_forms.h"
#include "answers/text/display_width.h"
#include "answers/text/json_string.h"
#include "answers/writers/aligned_table.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// A phase's register names as a json array: ["CNF1", "CNF2", "CNF3"].
void PutRegisterNames(std::string& out, const PhaseLimits& limits) {
  out += "[";
  for (int32_t i = 0; i < limits.registerCount; ++i) {
    if (i > 0) out += ", ";
    PutJsonString(out, limits.registers[i]->name);
  }
  out += "]";
}

std::string RegisterNames(const PhaseLimits& limits) {
  std::string names;
  for (int32_t i = 0; i < limits.registerCount; ++i) names += (i > 0 ? " " : "") + std::string(limits.registers[i]->name);
  return names.empty() ? "-" : names;
}

void PutJsonRange(std::string& out, const char* key, FieldRange range, int32_t step) {
  out += "\"" + std::string(key) + "\": {\"first\": " + std::to_string(range.first) + ", \"last\": " +
         std::to_string(range.last) + (step != 1 ? ", \"step\": " + std::to_string(step) : "") + "}";
}

// What an entry says of itself, as both lists open an entry's object: "name",
// "vendor", "chips", "clock" and "fixedClockKHz" (null: the clock is typed).
void PutEntryFacts(std::string& out, const ControllerEntry& entry) {
  out += "\"name\": ";
  PutJsonString(out, entry.name);
  out += ", \"vendor\": ";
  PutJsonString(out, entry.vendor);
  out += ", \"chips\": ";
  PutJsonString(out, entry.chips);
  out += ", \"clock\": ";
  PutJsonString(out, entry.clock);
  out += ", \"fixedClockKHz\": " + (entry.fixedClockKHz != 0 ? std::to_string(entry.fixedClockKHz) : "null");
}

void PutJsonLimits(std::string& out, const PhaseLimits& limits) {
  out += "{";
  PutJsonRange(out, "prescaler", limits.prescaler, limits.prescalerStep);
  out += ", ";
  PutJsonRange(out, "seg1", limits.seg1, 1);
  if (IsSplit(limits)) {
    out += ", ";
    PutJsonRange(out, "prop", limits.prop, 1);
    out += ", ";
    PutJsonRange(out, "phase1", limits.phase1, 1);
  }
  out += ", ";
  PutJsonRange(out, "seg2", limits.seg2, 1);
  out += ", ";
  PutJsonRange(out, "sjw", limits.sjw, 1);
  out += ", \"rules\": [";
  bool first = true;
  if ((limits.rules & kRuleSeg1AtLeastSeg2) != 0) out += "\"seg1 >= seg2\"", first = false;
  if ((limits.rules & kRuleSjwBelowSeg2) != 0) out += std::string(first ? "" : ", ") + "\"sjw < seg2\"", first = false;
  if ((limits.rules & kRuleBitAtLeast8Quanta) != 0) out += std::string(first ? "" : ", ") + "\"bit >= 8 tq\"", first = false;
  if ((limits.rules & kRuleSeg1AboveSeg2PlusOne) != 0) out += std::string(first ? "" : ", ") + "\"seg1 > seg2 + 1\"";
  out += "], \"registers\": ";
  PutRegisterNames(out, limits);
  out += "}";
}

}  // namespace

std::string RangeText(FieldRange range, int32_t step) {
  std::string text = range.first == range.last ? std::to_string(range.first)
                                               : std::to_string(range.first) + "-" + std::to_string(range.last);
  return step != 1 ? text + "/" + std::to_string(step) : text;
}

std::string LimitsText(const PhaseLimits& limits) {
  std::string text = "prescaler " + RangeText(limits.prescaler, limits.prescalerStep) + ", seg1 " +
                     RangeText(limits.seg1, 1);
  if (IsSplit(limits))
    text += " (prop " + RangeText(limits.prop, 1) + " + phase1 " + RangeText(limits.phase1, 1) + ")";
  text += ", seg2 " + RangeText(limits.seg2, 1) + ", sjw " + RangeText(limits.sjw, 1);
  if ((limits.rules & kRuleSeg1AtLeastSeg2) != 0) text += "; seg1 >= seg2";
  if ((limits.rules & kRuleSjwBelowSeg2) != 0) text += "; sjw < seg2";
  if ((limits.rules & kRuleBitAtLeast8Quanta) != 0) text += "; bit >= 8 tq";
  if ((limits.rules & kRuleSeg1AboveSeg2PlusOne) != 0) text += "; seg1 > seg2 + 1";
  return text;
}

namespace {

// text in lines of at most width columns, broken after a blank (a word longer than
// width stands alone on its line).
std::vector<std::string> WrappedLines(const std::string& text, std::size_t width) {
  std::vector<std::string> lines;
  std::string line;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(start, end - start);
    if (!line.empty() && DisplayWidth(line) + 1 + DisplayWidth(word) > width) {
      lines.push_back(line);
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
    start = end + 1;
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

// The list a person reads: name, vendor, FD and chips, the chips wrapped to fit.
void WriteShortControllerList(OutputSink& sink) {
  std::size_t nameWidth = 4, vendorWidth = 6;
  for (int32_t i = 0; i < ControllerCount(); ++i) {
    nameWidth = std::max(nameWidth, DisplayWidth(ControllerAt(i).name));
    vendorWidth = std::max(vendorWidth, DisplayWidth(ControllerAt(i).vendor));
  }
  // "Name  Vendor  FD  Chips": the columns two apart, FD two wide.
  const std::size_t chipsColumn = nameWidth + 2 + vendorWidth + 2 + 2 + 2;
  const std::size_t chipsWidth = kControllerListWidth - chipsColumn;
  AlignedTable table;
  table.titles = {"Name", "Vendor", "FD", "Chips"};
  for (int32_t i = 0; i < ControllerCount(); ++i) {
    const ControllerEntry& entry = ControllerAt(i);
    const std::vector<std::string> chips = WrappedLines(entry.chips, chipsWidth);
    for (std::size_t k = 0; k < chips.size(); ++k) {
      if (k == 0)
        table.rows.push_back({entry.name, entry.vendor, entry.fd ? "FD" : "-", chips[k]});
      else
        table.rows.push_back({"", "", "", chips[k]});
    }
  }
  PutAlignedTable(sink, table);
  Put(sink, "\nEach one's clock, limits, registers and source: --controller list --wide (one line\n"
            "each), --controller list --format json, or docs/controllers.md.\n");
}

}  // namespace

void WriteControllerList(OutputFormat format, bool wide, OutputSink& sink) {
  if (format == OutputFormat::kJson) {
    for (int32_t i = 0; i < ControllerCount() && sink.error == 0; ++i) {
      const ControllerEntry& entry = ControllerAt(i);
      std::string line = i == 0 ? "[\n  {" : ",\n  {";
      PutEntryFacts(line, entry);
      line += ", \"nominal\": ";
      PutJsonLimits(line, entry.nominal);
      line += ", \"data\": ";
      if (entry.fd)
        PutJsonLimits(line, entry.data);
      else
        line += "null";
      line += ", \"tdc\": ";
      if (entry.tdc.count == TdcCount::kNone) {
        line += "null";
      } else {
        line += "{\"offset\": {\"first\": " + std::to_string(entry.tdc.offset.first) + ", \"last\": " +
                std::to_string(entry.tdc.offset.last) + "}, \"counts\": ";
        PutJsonString(line, entry.tdc.text);
        line += "}";
      }
      line += ", \"source\": ";
      PutJsonString(line, entry.source);
      line += "}";
      Put(sink, line);
    }
    Put(sink, "\n]\n");
    return;
  }
  if (!wide) {
    WriteShortControllerList(sink);
    return;
  }
  AlignedTable table;
  table.titles = {"Name", "Vendor", "Chips", "Clock", "Nominal", "Data", "Registers", "Source"};
  for (int32_t i = 0; i < ControllerCount(); ++i) {
    const ControllerEntry& entry = ControllerAt(i);
    std::string registers = RegisterNames(entry.nominal);
    if (entry.fd && entry.data.registerCount > 0) registers += " / " + RegisterNames(entry.data);
    std::string data = entry.fd ? LimitsText(entry.data) : "-";
    if (entry.tdc.count != TdcCount::kNone)
      data += "; TDC offset " + RangeText(entry.tdc.offset, 1) + " (" + entry.tdc.text + ")";
    table.rows.push_back({entry.name, entry.vendor, entry.chips, entry.clock, LimitsText(entry.nominal), data,
                          registers, entry.source});
  }
  PutAlignedTable(sink, table);
}

std::string PageControllersJson() {
  std::string json = "[";
  for (int32_t i = 0; i < ControllerCount(); ++i) {
    const ControllerEntry& entry = ControllerAt(i);
    json += i == 0 ? "\n  {" : ",\n  {";
    PutEntryFacts(json, entry);
    json += entry.fd ? ", \"fd\": true" : ", \"fd\": false";
    json += ", \"forms\": [";
    bool first = true;
    for (const FormatRow& form : kFormats) {
      if (!form.code || !HasForm(entry, form.format)) continue;
      json += first ? "" : ", ";
      first = false;
      PutJsonString(json, form.name);
    }
    json += "], \"registers\": {\"nominal\": ";
    PutRegisterNames(json, entry.nominal);
    json += ", \"data\": ";
    if (entry.fd)
      PutRegisterNames(json, entry.data);
    else
      json += "null";
    json += "}, \"limits\": {\"nominal\": ";
    PutJsonString(json, LimitsText(entry.nominal).c_str());
    json += ", \"data\": ";
    if (entry.fd)
      PutJsonString(json, LimitsText(entry.data).c_str());
    else
      json += "null";
    json += ", \"tdc\": ";
    if (entry.tdc.count != TdcCount::kNone)
      PutJsonString(json, ("TDC offset " + RangeText(entry.tdc.offset, 1) + " (" + entry.tdc.text + ")").c_str());
    else
      json += "null";
    json += "}}";
  }
  json += "\n]\n";
  return json;
}
