#include "cli/command_line.h"

#include "answers/request/code_forms.h"
#include "answers/request/echoed_value.h"
#include "answers/request/request_check.h"
#include "cli/option_values.h"

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

struct OptionSpec {
  const char* name;
  // Null for a flag, which takes no value.
  bool (*parse)(const char* value, Request& request, std::string& error);
  bool afterController;  // its range depends on the controller: read once all are read
  bool dataPhase;        // FDCAN only
};

const OptionSpec kOptions[] = {
    {"--controller", ParseController, false, false},
    {"--clock", ParseClock, false, false},
    {"--rate", ParseRate, false, false},
    {"--sample-point", ParseSamplePoint, false, false},
    {"--tolerance", ParseTolerance, false, false},
    {"--format", ParseFormat, false, false},
    {"--sjw", ParseSjw, true, false},
    {"--data-rate", ParseDataRate, false, true},
    {"--data-sample-point", ParseDataSamplePoint, false, true},
    {"--data-tolerance", ParseDataTolerance, false, true},
    {"--data-sjw", ParseDataSjw, true, true},
    {"--decode", ParseDecode, true, false},
    {"--decode-data", ParseDecodeData, true, true},
    {"--node-delay", ParseNodeDelay, false, false},
    {"--bus-length", ParseBusLength, false, false},
    {"--min-tolerance", ParseMinTolerance, false, false},
    {"--best", nullptr, false, false},
    {"--strict", nullptr, false, false},
    {"--wide", nullptr, false, false},
    {"--plan", nullptr, false, false},
    {"--node", ParseNode, false, false},
    {"--sample-point-spread", ParseSamplePointSpread, false, false},
    {"--clock-accuracy", ParseClockAccuracy, false, false},
    {"--target-sample-point", ParseTargetSamplePoint, false, false},
    {"--data-target-sample-point", ParseDataTargetSamplePoint, false, true},
};

// The flags: what each sets.
bool& FlagOf(const OptionSpec& option, Request& request) {
  if (std::strcmp(option.name, "--wide") == 0) return request.wide;
  if (std::strcmp(option.name, "--plan") == 0) return request.plan;
  if (std::strcmp(option.name, "--strict") == 0) return request.strict;
  return request.best;
}

const OptionSpec* FindOption(const std::string& name) {
  for (const OptionSpec& option : kOptions) {
    if (name == option.name) return &option;
  }
  return nullptr;
}

bool Refuse(const std::string& line, std::string& error) {
  error = "quillmere-cli: " + line;
  return false;
}

// Reads one "--option value" or "--option=value" at argv[i], moving i past its value.
// Options read after the controller are set aside in deferred.
// other: the first option given that --controller list does not go with.
bool ReadOption(int argc, const char* const* argv, int& i, Request& request, std::string& error,
                std::vector<std::pair<const OptionSpec*, const char*>>& deferred, const char*& dataOption,
                std::string& other) {
  const char* argument = argv[i];
  std::string name = argument;
  const char* value = nullptr;
  const char* equals = std::strchr(argument, '=');
  if (argument[1] == '-' && equals != nullptr) {
    name.assign(argument, static_cast<std::size_t>(equals - argument));
    value = equals + 1;
  }
  // --help and --version alone stop the reading (ParseCommandLine); here they carry a value.
  if (name == "--help" || name == "--version") return Refuse(name + " takes no value", error);
  const OptionSpec* option = FindOption(name);
  if (option == nullptr)
    return Refuse(std::string("unknown option ") + EchoedValue(argument) + " (see --help)", error);
  if (option->dataPhase && dataOption == nullptr) dataOption = option->name;
  const bool listTakesIt =
      option->parse == ParseController || option->parse == ParseFormat || std::strcmp(option->name, "--wide") == 0;
  if (!listTakesIt && other.empty()) other = option->name;
  if (option->parse == nullptr) {
    if (value != nullptr) return Refuse(name + " takes no value", error);
    FlagOf(*option, request) = true;
    return true;
  }
  if (value == nullptr) {
    if (i + 1 >= argc) return Refuse("missing value for " + name, error);
    value = argv[++i];
  }
  if (option->afterController) {
    deferred.emplace_back(option, value);
    return true;
  }
  if (!option->parse(value, request, error)) return false;
  // The list is written as a table or as json; any other form would be another answer.
  const bool listForm = request.format == OutputFormat::kTable || request.format == OutputFormat::kJson;
  if (option->parse == ParseFormat && !listForm && other.empty()) other = std::string("--format ") + FormatName(request.format);
  return true;
}

}  // namespace

CliAction ParseCommandLine(int argc, const char* const* argv, Request& request, std::string& error) {
  std::vector<std::pair<const OptionSpec*, const char*>> deferred;
  const char* dataOption = nullptr;  // the first FDCAN-only option given
  std::string other;                 // the first option --controller list does not take
  for (int i = 1; i < argc; ++i) {
    const char* argument = argv[i];
    if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) return CliAction::kHelp;
    if (std::strcmp(argument, "--version") == 0) return CliAction::kVersion;
    if (argument[0] != '-' || argument[1] == 0) {
      error = std::string("quillmere-cli: unexpected argument ") + EchoedValue(argument) + " (see --help)";
      return CliAction::kError;
    }
    if (!ReadOption(argc, argv, i, request, error, deferred, dataOption, other)) return CliAction::kError;
  }
  // The list is the table alone: refused before anything else is weighed, so that
  // nothing of it is printed ahead of another answer's refusal.
  if (request.listControllers && !other.empty()) {
    RequestCheck check;
    check.status = RequestStatus::kListWithOption;
    check.detail = other;
    Refuse(RefusalLine(check), error);
    return CliAction::kError;
  }
  // A plan's nodes name their controllers; the request check weighs them. The default
  // controller, named by no option, points to the FD controller of the same vendor.
  if (dataOption != nullptr && !request.plan && request.controller->traits.isDefault) {
    Refuse(std::string(dataOption) + " needs --controller fdcan: bxCAN has no data phase", error);
    return CliAction::kError;
  }
  if (dataOption != nullptr && !request.plan && !request.controller->fd) {
    Refuse(std::string(dataOption) + " needs an FD controller: " + request.controller->name + " has no data phase", error);
    return CliAction::kError;
  }
  for (const auto& option : deferred) {
    if (!option.first->parse(option.second, request, error)) return CliAction::kError;
  }
  // The reserved bits were refused as each value was read, with the value in the line.
  RequestCheck check = CheckRequest(request, MissingInput::kTakeDefault);
  if (check.status == RequestStatus::kReady) return CliAction::kRun;
  if (check.nodeIndex >= 0) check.echoedValue = EchoedValue(request.nodeTexts[static_cast<std::size_t>(check.nodeIndex)].c_str());
  if (!check.nodePart.empty()) check.echoedPart = EchoedValue(check.nodePart.c_str());
  Refuse(RefusalLine(check), error);
  return CliAction::kError;
}

namespace {

// --controller's help: every entry of the table by vendor, in the table's order, and
// custom, wrapped to the help's width under its column.
std::string ControllerOptionText() {
  // A \1 is a space no line breaks at: a name stays with its "(default)" or its
  // vendor, "or" with what it offers.
  std::string words = "the CAN controller:";
  for (int32_t i = 0; i < ControllerCount(); ++i) {
    const ControllerEntry& entry = ControllerAt(i);
    const bool last = i + 1 == ControllerCount() || std::strcmp(ControllerAt(i + 1).vendor, entry.vendor) != 0;
    words += std::string(" ") + entry.name + (entry.traits.isDefault ? "\1(default)" : "");
    words += last ? std::string("\1(") + entry.vendor + ");" : std::string(",");
  }
  words += " or\1custom:seg1=A-B,seg2=A-B,sjw=N,prescaler=A-B[/STEP].";
  constexpr std::size_t kWidth = 88;
  const std::string indent(22, ' ');
  std::string text;
  std::size_t column = indent.size();
  std::size_t start = 0;
  while (start < words.size()) {
    std::size_t end = words.find(' ', start);
    if (end == std::string::npos) end = words.size();
    const std::size_t length = end - start;
    if (column > indent.size() && column + 1 + length > kWidth) {
      text += "\n" + indent;
      column = indent.size();
    } else if (column > indent.size()) {
      text += ' ';
      ++column;
    }
    text.append(words, start, length);
    column += length;
    start = end + 1;
  }
  for (char& c : text)
    if (c == '\1') c = ' ';
  return text + "\n";
}

}  // namespace

const char* UsageText() {
  // The count of controllers is the table's, so that a new entry needs no word here.
  static const std::string text = std::string("Usage: quillmere-cli [--clock MHZ] [--rate KBPS] [--sample-point PCT] [--tolerance PCT]\n"
         "                     [--sjw N] [--best [--strict]] [--format FORMAT] [--wide]\n"
         "                     [--node-delay NS] [--bus-length M] [--min-tolerance PCT]\n"
         "                     [--controller NAME]\n"
         "       quillmere-cli --decode CAN_BTR [--clock MHZ] [--rate KBPS] [--format FORMAT]\n"
         "       quillmere-cli --controller NAME [the options above] [--data-rate KBPS\n"
         "                     [--data-sample-point PCT] [--data-tolerance PCT] [--data-sjw N]]\n"
         "       quillmere-cli --controller fdcan [--decode NBTP] [--decode-data DBTP] [--clock MHZ]\n"
         "                     [--rate KBPS] [--data-rate KBPS] [--format FORMAT]\n"
         "       quillmere-cli --controller NAME --decode NAME=VALUE[,NAME=VALUE...] [--decode-data ...]\n"
         "                     [--clock MHZ] [--rate KBPS] [--format FORMAT]\n"
         "       quillmere-cli --controller list [--wide] [--format table|json]\n"
         "       quillmere-cli --plan --node NAME=CONTROLLER@MHZ --node ... [--rate KBPS]\n"
         "                     [--sample-point-spread PCT] [--data-rate KBPS ...] [--format FORMAT]\n"
         "       quillmere-cli --help | --version\n"
         "\n"
         "Lists every bit-timing setting of the chosen CAN controller (--controller: one of\n"
         "the ") + std::to_string(ControllerCount()) + std::string(" in the table, bxCAN by default, or custom: limits) whose bit rate and sample\n"
         "point meet the request, an FD controller's data phase after its nominal one\n"
         "(--data-rate); picks the best (--best), decodes register values (--decode), writes\n"
         "code to paste where the setting goes (--format) and plans one setting per node for a\n"
         "whole bus (--plan). bxCAN's rows (prescaler 1 to 1024, BS1 1 to 16 tq, BS2 1 to 8 tq)\n"
         "come in the order and with the texts of the Quillmere window's result table. FDCAN's\n"
         "nominal phase has prescaler 1 to 512, seg1 2 to 256 tq, seg2 2 to 128 tq; its data\n"
         "phase prescaler 1 to 32, seg1 1 to 32, seg2 1 to 16.\n"
         "\n"
         "  --controller NAME   ") + ControllerOptionText() + std::string(
         "                      --controller list shows each one's vendor and chips in 100\n"
         "                      columns, with --wide its clock, limits, registers and source too\n"
         "                      (docs/controllers.md: each in detail)\n"
         "  --clock MHZ         peripheral clock in MHz, above 0, at most three decimals (default 42)\n"
         "  --rate KBPS         wanted bit rate in Kbps, above 0 (default 500)\n"
         "  --sample-point PCT  lowest sample point in percent, 0 to 100 (default 40)\n"
         "  --tolerance PCT     allowed rate error in percent, 0 to 100, at most two decimals\n"
         "                      (0.11); default 0: exact\n"
         "  --sjw N             resynchronisation jump width in tq, written into the register:\n"
         "                      bxCAN 1 to 4, FDCAN's nominal phase 1 to 128 (default: the widest\n"
         "                      each row allows; bxCAN's table listing, the window's, keeps 1);\n"
         "                      settings whose BS1 or BS2 (seg1 or seg2) is shorter are left out:\n"
         "                      the jump may exceed neither\n"
         "  --data-rate KBPS    FDCAN: the data phase's bit rate; its listing follows the nominal one\n"
         "  --data-sample-point PCT, --data-tolerance PCT\n"
         "                      the data phase's minimum and allowed error (default: the nominal ones)\n"
         "  --data-sjw N        the data phase's SJW, 1 to 16 tq (default: each row's shorter segment)\n"
         "  --best              print only the best listed setting: the smallest error; then the\n"
         "                      sample point nearest --target-sample-point, else the advice (87.5%\n"
         "                      up to 500 Kbps, 80% up to 800 Kbps, 75% above); then the most\n"
         "                      quanta per bit; then the first.\n"
         "                      FDCAN's data phase: the smallest error; among equal errors the\n"
         "                      best nominal setting's prescaler (one time quantum for both\n"
         "                      phases); then the sample point, the quanta and the first\n"
         "                      Below the row, a \"warning:\" line on standard error for each risk:\n"
         "                      an oscillator tolerance of 0.00%, a longest bus below --bus-length,\n"
         "                      a rate error above the tolerance, fewer than 8 quanta per bit, a\n"
         "                      data phase at 1000 Kbps or more that cannot check its own bits\n"
         "  --strict            with --best or --plan: exit 4 when the answer has a warning (a\n"
         "                      plan's: a node with fewer than 8 quanta per bit)\n"
         "  --node-delay NS     transceiver and controller loop delay in whole ns, 0 to 10000\n"
         "                      (default 250)\n"
         "  --bus-length M      bus length in whole metres, 0 to 100000 (default 10)\n"
         "  --min-tolerance PCT leave out settings whose oscillator tolerance is below PCT percent\n"
         "                      (0 to 100, at most six decimals); --best picks among the rest\n"
         "  --decode VALUE      print the setting of a CAN_BTR value (FDCAN: NBTP; 0x hex or decimal)\n"
         "                      at the clock, with its SJW; the error is against --rate, or \"-\".\n"
         "                      Other controllers: their registers as NAME=VALUE pairs joined by\n"
         "                      commas (CNF1=0x01,CNF2=0xB5,CNF3=0x01), or one register's value alone\n"
         "  --decode-data DBTP  FD controllers: the data phase's registers the same way (FDCAN: a\n"
         "                      DBTP value); the error is against --data-rate, or \"-\"\n"
         "  --format FORMAT     table (default), tsv, csv, json, or code to paste where the setting\n"
         "                      goes: registers, linux, zephyr, python-can, hal, spl (ST), esp-idf\n"
         "                      (ESP32), sdk (the GD32's, AT32's, CH32's, APM32's, N32's own\n"
         "                      library); a form the controller lacks is refused with those it has\n"
         "  --wide              tsv and csv: add the register, tolerance, longest bus (and TDC\n"
         "                      offset) columns that the table and json always have;\n"
         "                      --controller list: every fact of each controller on its line\n"
         "  --plan              one setting per node for the whole bus (see Bus plan below)\n"
         "  --node NAME=CONTROLLER@MHZ[,sjw=N][,dsjw=N][,ppm=N][,form=FORM]\n"
         "       [,setting=PRESCALER/SEG1/SEG2][,dsetting=PRESCALER/SEG1/SEG2]\n"
         "       [,registers=VALUES][,dregisters=VALUES]\n"
         "                      a node of the plan, at least two: a name of letters, digits, - and _,\n"
         "                      a --controller name and its clock, e.g. pi=mcp2515@16; then, each\n"
         "                      at most once, its own SJW (sjw=), data SJW (dsjw=, FD controllers),\n"
         "                      clock accuracy in ppm (ppm=, 0 to 100000), code form (form=, one\n"
         "                      the controller has; it takes the place of a code --format for that\n"
         "                      node) and fixed setting for a device nobody can change (setting=,\n"
         "                      seg1 and seg2 in quanta as its listing shows them, a setting the\n"
         "                      controller takes; dsetting=, the data phase's, FD controllers with\n"
         "                      --data-rate), e.g. pi=mcp2515@16,sjw=1,form=linux or\n"
         "                      stm32=bxcan@42,setting=6/11/2; or its register values\n"
         "                      (registers=, dregisters=), as --decode reads them with / between\n"
         "                      the pairs, the SJW theirs: stm32=bxcan@42,registers=0x001A0005,\n"
         "                      pi=mcp2515@16,registers=CNF1=0x00/CNF2=0xB5/CNF3=0x01\n"
         "  --clock-accuracy PPM\n"
         "                      each node's oscillator accuracy in whole ppm, 0 to 100000 (default\n"
         "                      100, 0.01%); a plan's margin must be at least the largest\n"
         "  --target-sample-point PCT, --data-target-sample-point PCT\n"
         "                      the sample point a plan keeps its nodes nearest, and --best its\n"
         "                      setting among equal errors, 50 to 100 (default the advice for the\n"
         "                      phase's rate); --best says the nearest it found when none meets it\n"
         "  --sample-point-spread PCT\n"
         "                      the most the nodes' sample points may differ, in percentage\n"
         "                      points (default 2; the same for the data phase)\n"
         "  --help, -h          show this help\n"
         "  --version           show the version and the commit it was built from\n"
         "\n"
         "Oscillator tolerance: the largest clock deviation the setting survives, by the\n"
         "conditions of ISO 11898-1 as CiA 601-3 states them. prop = ceil(2 x (node delay +\n"
         "5 ns/m x bus length) / tq) quanta; ps1 = seg1 - prop, ps2 = seg2, nbt = 1 + seg1 + seg2;\n"
         "tolerance = min(SJW / (20 x nbt), min(ps1, ps2) / (2 x (13 x nbt - ps2))), never below 0.\n"
         "A data row has SJW / (20 x nbt) alone; a best FDCAN pair adds the phase-switch\n"
         "conditions. Example: the preset's best, BS1 11, BS2 2, prescaler 6: SJW 1 limits it\n"
         "to 0.35%; SJW 2, the widest its BS2 allows and --best's, lifts it to 0.55%. The\n"
         "longest bus keeps ps1 at 1 quantum at least\n"
         "(92 m there). The data phase's TDC offset is DataPrescaler x DataTimeSeg1 where TDC\n"
         "applies (data prescaler 1 or 2, offset at most 127); hal sets it.\n"
         "\n"
         "Bus plan: each node's setting is a row of its own listing for the request. A\n"
         "combination of the nodes' settings is a plan only if every node's rate is within the\n"
         "tolerance; every node reaches the bus (its longest bus at --node-delay is at least\n"
         "--bus-length: the propagation segment leaves phase 1 a quantum); the margin (the\n"
         "smallest node tolerance less the largest rate error of any node, either phase) is at\n"
         "least the largest clock accuracy of the nodes (--clock-accuracy, or a node's ppm=);\n"
         "every sample point is at least the minimum and within --sample-point-spread of the\n"
         "others; and on an FD bus the same holds for the data phase, where at a data rate of\n"
         "1000 Kbps and above every data setting checks its own bits at --node-delay: with TDC\n"
         "where the controller has it, else by sampling after the delay. Among plans, in this\n"
         "order: (a) the smallest largest rate error of any node, either phase; (b) the smallest\n"
         "largest distance of any node's sample point from --target-sample-point (default the\n"
         "advice for the rate: 87.5% up to 500 Kbps, 80% up to 800, 75% above); (c) on an FD bus\n"
         "the same for the data phase (--data-target-sample-point, default the advice for the\n"
         "data rate); (d) on an FD bus the most nodes with equal nominal and data prescalers;\n"
         "(e) the largest margin; (f) the most quanta summed over the nodes and phases; (g) each\n"
         "node's first setting in listing order, node by node. Every node takes the widest SJW\n"
         "its setting allows unless it gives its own (sjw=, dsjw=). A node that fixes its setting\n"
         "(setting=, dsetting=) has that one alone, if its listing has it, and the others are\n"
         "fitted around it.\n"
         "--format: table, json or a code form, one block per node; a node whose controller lacks\n"
         "the form gets its registers form (no registers: its linux form), its heading says so.\n"
         "tsv and csv are refused: they hold one listing, not a bus.\n"
         "A plan takes at most 64 nodes. A request whose nodes hold more than 250000 settings\n"
         "to weigh (an FD node's: its nominal/data pairs), or whose plans take more than\n"
         "400000000 steps to weigh, is refused as too large to answer (exit code 2).\n"
         "Exit code 3 when no plan exists, with one line per obstacle naming the condition and\n"
         "the node(s) that hold it. A plan's table ends with Limit: lines (json: \"limits\") that\n"
         "name the node holding each figure: the sample point, the margin, the longest bus.\n"
         "\n"
         "Options also take the form --option=value. Exit codes: 0 done; 1 the output could not\n"
         "be written; 2 a value is not accepted (one line on standard error says why);\n"
         "3 --best found no setting that meets the request; 4 --strict, and the best setting has\n"
         "a warning.\n");
  return text.c_str();
}
