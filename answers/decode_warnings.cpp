#include "answers/decode_warnings.h"

#include "answers/register_text.h"
#include "calc/bxcan_register.h"
#include "calc/fdcan_timing.h"

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

}  // namespace

std::vector<std::string> CanBtrWarnings(const BitTimingLengths& lengths) {
  const int32_t bs1 = lengths.seg1;
  const int32_t bs2 = lengths.seg2;
  std::vector<std::string> broken;
  Rule(broken, lengths.sjw > bs1, SjwExceeds(lengths.sjw, "BS1", bs1) + " (--sjw leaves such settings out)");
  Rule(broken, lengths.sjw > bs2, SjwExceeds(lengths.sjw, "BS2", bs2) + " (--sjw leaves such settings out)");
  return broken;
}

// The Bosch M_CAN manual gives NTSEG1 1 to 255 and NTSEG2 1 to 127 as the valid field
// values: a nominal seg1 or seg2 of one quantum is no setting the peripheral takes.
std::vector<std::string> NbtpWarnings(const BitTimingLengths& nominal) {
  std::vector<std::string> broken;
  Rule(broken, nominal.seg1 < 2, "NTSEG1 is 0 (seg1 1 tq): the M_CAN takes 1 to 255 (seg1 2 to 256 tq)");
  Rule(broken, nominal.seg2 < 2, "NTSEG2 is 0 (seg2 1 tq): the M_CAN takes 1 to 127 (seg2 2 to 128 tq)");
  Rule(broken, nominal.sjw > nominal.seg1, SjwExceeds(nominal.sjw, "seg1", nominal.seg1));
  Rule(broken, nominal.sjw > nominal.seg2, SjwExceeds(nominal.sjw, "seg2", nominal.seg2));
  return broken;
}

std::vector<std::string> DbtpWarnings(const BitTimingLengths& data) {
  std::vector<std::string> broken;
  Rule(broken, data.sjw > data.seg1, SjwExceeds(data.sjw, "seg1", data.seg1));
  Rule(broken, data.sjw > data.seg2, SjwExceeds(data.sjw, "seg2", data.seg2));
  return broken;
}

std::vector<std::string> ControllerWarnings(const ControllerEntry& controller, const PhaseLimits& limits,
                                            const BitTimingLengths& lengths) {
  const bool split = limits.prop.first <= limits.prop.last;
  std::vector<std::string> broken;
  Rule(broken, lengths.sjw > (split ? lengths.phase1 : lengths.seg1),
       SjwExceeds(lengths.sjw, split ? "phase1" : "seg1", split ? lengths.phase1 : lengths.seg1));
  Rule(broken, lengths.sjw > lengths.seg2, SjwExceeds(lengths.sjw, "seg2", lengths.seg2));
  const std::string name = controller.name;
  Rule(broken, (limits.rules & kRuleSjwBelowSeg2) != 0 && lengths.sjw >= lengths.seg2,
       "SJW " + std::to_string(lengths.sjw) + " tq is not below seg2 " + std::to_string(lengths.seg2) + " tq: " + name +
           " needs seg2 above the SJW");
  Rule(broken, (limits.rules & kRuleSeg1AtLeastSeg2) != 0 && lengths.seg1 < lengths.seg2,
       "seg1 " + std::to_string(lengths.seg1) + " tq is below seg2 " + std::to_string(lengths.seg2) + " tq: " + name +
           " needs prop + phase1 at least seg2");
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
  if (!KeepsOlderForm(controller)) {
    const struct {
      bool given;
      const PhaseLimits& limits;
      const uint32_t* values;
    } phases[] = {{request.decode, controller.nominal, request.decodeValues},
                  {request.decodeData, controller.data, request.decodeDataValues}};
    for (const auto& phase : phases) {
      if (!phase.given) continue;
      const BitTimingLengths lengths = DecodeRegisterSet(phase.values, phase.limits.registers, phase.limits.registerCount);
      AddLines(lines, RegistersNamed(phase.limits, phase.values), ControllerWarnings(controller, phase.limits, lengths));
    }
    return lines;
  }
  if (request.controller == &BxCanController()) {
    if (request.decode)
      AddLines(lines, "CAN_BTR " + RegisterText(request.decodeValue),
               CanBtrWarnings(DecodeBxCanBitTiming(request.decodeValue).lengths));
    return lines;
  }
  if (request.decode)
    AddLines(lines, "NBTP " + RegisterText(request.decodeValue),
             NbtpWarnings(DecodeNominalBitTiming(request.decodeValue).timing));
  if (request.decodeData)
    AddLines(lines, "DBTP " + RegisterText(request.decodeDataValue),
             DbtpWarnings(DecodeDataBitTiming(request.decodeDataValue).timing));
  return lines;
}

std::vector<std::string> DecodeWarnings(const Request& request) {
  std::vector<std::string> lines = DecodeWarningTexts(request);
  for (std::string& line : lines) line = "quillmere-cli: warning: " + line;
  return lines;
}
