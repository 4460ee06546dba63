#include "cli/decode_warnings.h"

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
  for (const std::string& rule : rules) lines.push_back("quillmere-cli: warning: " + what + ": " + rule);
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

std::vector<std::string> DecodeWarnings(const Request& request) {
  std::vector<std::string> lines;
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
