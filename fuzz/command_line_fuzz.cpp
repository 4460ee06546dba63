// The companion's command line on arbitrary arguments (the input split at zero bytes):
// it must accept only values in range, and refuse everything else with one short
// line of valid UTF-8, however long or odd the arguments.
#include "cli/command_line.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// Well-formed UTF-8 without control characters (the message is one line).
bool IsPrintableUtf8(const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      if (lead < 0x20 || lead == 0x7F) return false;
      ++i;
      continue;
    }
    int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || i + length > text.size()) return false;
    for (int k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> arguments(1, "quillmere-cli");
  std::string current;
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      arguments.push_back(current);
      current.clear();
    } else {
      current += static_cast<char>(data[i]);
    }
  }
  arguments.push_back(current);
  std::vector<const char*> argv;
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());

  Request request;
  std::string error;
  const CliAction action = ParseCommandLine(static_cast<int>(argv.size()), argv.data(), request, error);
  if (action == CliAction::kError) {
    // The refusal, and at most one "did you mean" line after it (a clock typed in Hz).
    const std::size_t end = error.find('\n');
    const std::string refusal = error.substr(0, end);
    Check(refusal.rfind("quillmere-cli: ", 0) == 0);
    Check(IsPrintableUtf8(refusal));
    // Each echoed value is at most 40 characters of 4 bytes; a line echoes two at most
    // (a custom: refusal, the value and its part), plus the words.
    Check(refusal.size() < 500);
    if (end != std::string::npos) {
      const std::string hint = error.substr(end + 1);
      Check(hint.rfind("quillmere-cli: did you mean ", 0) == 0);
      Check(IsPrintableUtf8(hint) && hint.size() < 100);
    }
    return 0;
  }
  Check(error.empty());
  // --help and --version end the reading where they stand: what was read before them
  // is never used, nor checked.
  if (action != CliAction::kRun) return 0;
  Check(request.clockKHz > 0);
  Check(request.targetRate > 0.0f && std::isfinite(request.targetRate));
  Check(request.minSamplePoint >= 0.0f && request.minSamplePoint <= 1.0f);
  Check(request.toleranceHundredths >= 0 && request.toleranceHundredths <= 10000);
  const ControllerEntry& controller = *request.controller;
  Check(request.sjw >= 1 && request.sjw <= controller.nominal.sjw.last);
  Check(!((request.decode || request.decodeData) && request.best));
  // A decode takes none of the options that only narrow a search.
  Check(!(request.decode || request.decodeData) ||
        !(request.samplePointGiven || request.toleranceGiven || request.minTolerance >= 0 ||
          request.dataSamplePointGiven || request.dataToleranceGiven));
  // A rate given with a decode is its own phase's reference: never one that goes unused.
  Check(!(request.decode || request.decodeData) || !(request.dataPhase && !request.decodeData));
  Check(!(request.decode || request.decodeData) || !(request.rateGiven && !request.decode));
  {
    // The decoded registers: every one of the phase given, each within its bits and
    // without reserved bits (an older form's bare value too).
    const struct {
      bool given;
      const PhaseLimits& limits;
      const uint32_t* values;
    } phases[] = {{request.decode, controller.nominal, request.decodeValues},
                  {request.decodeData, controller.data, request.decodeDataValues}};
    for (const auto& phase : phases) {
      if (!phase.given) continue;
      Check(phase.limits.registerCount > 0);
      for (int32_t i = 0; i < phase.limits.registerCount; ++i) {
        const Register& reg = *phase.limits.registers[i];
        Check(reg.bits == 32 || (phase.values[i] >> reg.bits) == 0);
        Check((phase.values[i] & ReservedBits(reg)) == 0);
      }
    }
  }
  // The data phase exists only for FD controllers, within their own ranges (a plan's
  // data rate is its FD nodes', checked below).
  Check(controller.fd || !((request.dataPhase && !request.plan) || request.decodeData || request.dataSjwGiven));
  Check(!controller.fd || (request.dataSjw >= 1 && request.dataSjw <= controller.data.sjw.last));
  Check(!request.dataPhase || (request.dataRate > 0.0f && std::isfinite(request.dataRate)));
  Check(request.dataMinSamplePoint >= 0.0f && request.dataMinSamplePoint <= 1.0f);
  Check(request.dataToleranceHundredths >= 0 && request.dataToleranceHundredths <= 10000);
  // A plan: two nodes at least, each named by letters, digits, - and _ once, with a
  // controller and a clock above 0; on an FD bus FD controllers only; never tsv or csv.
  // Without --plan, no node and no spread.
  Check(request.plan || (request.nodeTexts.empty() && request.nodes.empty() && !request.spreadGiven));
  if (request.plan) {
    Check(request.nodes.size() >= 2 && request.nodes.size() == request.nodeTexts.size());
    Check(request.samplePointSpread >= 0);
    Check(request.format != OutputFormat::kTsv && request.format != OutputFormat::kCsv);
    for (std::size_t n = 0; n < request.nodes.size(); ++n) {
      const PlanNode& node = request.nodes[n];
      Check(!node.name.empty() && node.controller != nullptr && node.clockKHz > 0);
      Check(!request.dataPhase || node.controller->fd);
      for (char c : node.name) {
        Check((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_');
      }
      for (std::size_t m = 0; m < n; ++m) Check(request.nodes[m].name != node.name);
    }
  }
  return 0;
}
