#include "answers/rows/decode_warnings.h"

#include "answers/text/register_text.h"

namespace {

// Adds the rule's text when the rule is broken.
void Rule(std::vector<std::string>& broken, bool isBroken, const std::string& text) {
  if (isBroken) broken.push_back(text);
}

// The resynchronisation rule of ISO 11898-1: the jump may not be longer than either
// phase segment.
std::string SjwExceeds(int32_t sjw, const char* segment, int32_t quanta) {
  return "SJW " + std::to_string(sjw) + " tq exceeds " + segment + " " + std::to_string(quanta) +
         " tq: the SJW is at most the shorter phase segment";
}

void AddLines(std::vector<std::string>& lines, const std::string& what, const std::vector<std::string>& rules) {
  for (const std::string& rule : rules) lines.push_back(what + ": " + rule);
}

// The name of limits' field for role in its first register that has one ("NTSEG1").
const char* FieldNameOf(const PhaseLimits& limits, FieldRole role) {
  for (int32_t i = 0; i < limits.registerCount; ++i)
    for (int k = 0; k < limits.registers[i]->fieldCount; ++k)
      if (limits.registers[i]->fields[k].role == role) return limits.registers[i]->fields[k].name;
  return "";
}

// kRuleWarnSegmentOfOne: a segment of one quantum, its field 0, against the valid
// field values of the M_CAN manual (the limits' range less one).
std::string SegmentOfOne(const PhaseLimits& limits, FieldRole role) {
  const bool seg1 = role == FieldRole::kSeg1;
  const FieldRange range = seg1 ? limits.seg1 : limits.seg2;
  const std::string name = seg1 ? "seg1" : "seg2";
  return std::string(FieldNameOf(limits, role)) + " is 0 (" + name + " 1 tq): the M_CAN takes " +
         std::to_string(range.first - 1) + " to " + std::to_string(range.last - 1) + " (" + name + " " +
         std::to_string(range.first) + " to " + std::to_string(range.last) + " tq)";
}

}  // namespace

std::vector<std::string> ControllerWarnings(const ControllerEntry& controller, const PhaseLimits& limits,
                                            const BitTimingLengths& lengths) {
  std::vector<std::string> broken;
  if ((limits.rules & kRuleWarnSegmentOfOne) != 0) {
    Rule(broken, lengths.seg1 < 2, SegmentOfOne(limits, FieldRole::kSeg1));
    Rule(broken, lengths.seg2 < 2, SegmentOfOne(limits, FieldRole::kSeg2));
  }
  // The segments as the rows name them: the library's BS1 and BS2 where they are its
  // constants, phase1 where seg1 is two fields.
  const bool library = controller.traits.segmentNames == SegmentNaming::kLibraryConstants;
  const bool split = IsSplit(limits);
  const int32_t before = split ? lengths.phase1 : lengths.seg1;
  const std::string note = library ? " (--sjw leaves such settings out)" : "";
  Rule(broken, lengths.sjw > before,
       SjwExceeds(lengths.sjw, library ? "BS1" : split ? "phase1" : "seg1", before) + note);
  Rule(broken, lengths.sjw > lengths.seg2, SjwExceeds(lengths.sjw, library ? "BS2" : "seg2", lengths.seg2) + note);
  const std::string name = controller.name;
  Rule(broken, (limits.rules & kRuleSjwBelowSeg2) != 0 && lengths.sjw >= lengths.seg2,
       "SJW " + std::to_string(lengths.sjw) + " tq is not below seg2 " + std::to_string(lengths.seg2) + " tq: " + name +
           " needs seg2 above the SJW");
  Rule(broken, (limits.rules & kRuleSeg1AtLeastSeg2) != 0 && lengths.seg1 < lengths.seg2,
       "seg1 " + std::to_string(lengths.seg1) + " tq is below seg2 " + std::to_string(lengths.seg2) + " tq: " + name +
           " needs prop + phase1 at least seg2");
  Rule(broken, (limits.rules & kRuleSeg1AboveSeg2PlusOne) != 0 && lengths.seg1 - 1 <= lengths.seg2,
       "PS1 " + std::to_string(lengths.seg1 - 1) + " (seg1 - 1) is not above PS2 " + std::to_string(lengths.seg2) +
           " (seg2): " + name + " needs PS1 > PS2");
  const int32_t quanta = 1 + lengths.seg1 + lengths.seg2;
  Rule(broken, (limits.rules & kRuleBitAtLeast8Quanta) != 0 && quanta < kLeastQuantaPerBit,
       "a bit of " + std::to_string(quanta) + " tq is below " + std::to_string(kLeastQuantaPerBit) + " tq: " + name +
           " needs at least " + std::to_string(kLeastQuantaPerBit) + " quanta a bit");
  return broken;
}

namespace {

// "CNF1=0x04 CNF2=0xB5 CNF3=0x01", each value with as many hex digits as its register
// has bits.
std::string RegistersNamed(const PhaseLimits& limits, const uint32_t* values) {
  std::string text;
  for (int32_t i = 0; i < limits.registerCount && i < kMaxPhaseRegisters; ++i) {
    const Register& reg = *limits.registers[i];
    text += (i > 0 ? " " : "") + std::string(reg.name) + "=" + RegisterText(values[i], reg.bits);
  }
  return text;
}

}  // namespace

std::vector<std::string> DecodeWarningTexts(const Request& request) {
  std::vector<std::string> lines;
  const ControllerEntry& controller = *request.controller;
  const struct {
    bool given;
    const PhaseLimits& limits;
    const uint32_t* values;
  } phases[] = {{request.decode, controller.nominal, request.decodeValues},
                {request.decodeData && controller.fd, controller.data, request.decodeDataValues}};
  for (const auto& phase : phases) {
    if (!phase.given) continue;
    const BitTimingLengths lengths = DecodeRegisterSet(phase.values, phase.limits.registers, phase.limits.registerCount);
    // The older form names its one register before the value: "CAN_BTR 0x001A0005".
    const std::string what = controller.traits.olderForm
                                 ? std::string(phase.limits.registers[0]->name) + " " + RegisterText(phase.values[0])
                                 : RegistersNamed(phase.limits, phase.values);
    AddLines(lines, what, ControllerWarnings(controller, phase.limits, lengths));
  }
  return lines;
}

std::vector<std::string> DecodeWarnings(const Request& request) {
  std::vector<std::string> lines = DecodeWarningTexts(request);
  for (std::string& line : lines) line = "quillmere-cli: warning: " + line;
  return lines;
}
