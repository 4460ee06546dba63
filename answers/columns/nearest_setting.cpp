#include "answers/columns/nearest_setting.h"

#include <cmath>

#include "answers/columns/row_columns.h"
#include "calc/candidate_cells.h"
#include "calc/text.h"
#include "calc/timing.h"

namespace {

// Whether the phase's own test (its tolerance test, the minimum sample point) lists
// the one setting at the given tolerance: the search itself over that setting.
bool Lists(const PhaseSearch& phase, int32_t seg1, int32_t seg2, int32_t prescaler, int64_t hundredths) {
  const TimingRanges one{{prescaler, prescaler}, {seg1, seg1}, {seg2, seg2}, {1, 1}, 1, PairFilter{}};
  TimingRequest request = phase.request;
  request.toleranceHundredths = hundredths;
  request.minSeg2 = 1;
  bool listed = false;
  auto take = [](void* context, const TimingCandidate*, int32_t) { return *static_cast<bool*>(context) = true; };
  ListSettings(one, request, PrescalerScan::kEvery, TimingSink{take, &listed});
  return listed;
}

// The prescalers on the phase's grid nearest to wanted (below and above it).
void NearPrescalers(double wanted, const TimingRanges& ranges, int32_t out[2]) {
  const FieldRange range = ranges.prescaler;
  const int32_t step = ranges.prescalerStep > 0 ? ranges.prescalerStep : 1;
  double steps = std::floor((wanted - range.first) / step);
  const double most = static_cast<double>(range.last - range.first) / step;
  if (!(steps >= 0.0)) steps = 0.0;
  if (steps > most) steps = std::floor(most);
  const int32_t below = range.first + static_cast<int32_t>(steps) * step;
  out[0] = below;
  out[1] = below + step <= range.last ? below + step : below;
}

// "0.11" for 11 hundredths.
std::string HundredthsText(int64_t hundredths) { return ToFixedText(hundredths, 2, 0).get(); }

// Whether a number is spoken with "an" before it: 8..., 11 and 18 (and 11.5, 18.432).
bool AnBefore(const std::string& number) {
  if (!number.empty() && number[0] == '8') return true;
  const bool elevenOrEighteen = number.compare(0, 2, "11") == 0 || number.compare(0, 2, "18") == 0;
  return elevenOrEighteen && (number.size() == 2 || number[2] == '.');
}

std::string FloatText(float value) { return ToText(value).get(); }

const char* PhasePrefix(const PhaseSearch& phase) { return phase.options.phase == Phase::kData ? "data-" : ""; }

}  // namespace

NearestSetting NearestOfPhase(const PhaseSearch& phase) {
  NearestSetting nearest;
  TimingRanges ranges = phase.ranges;
  ranges.filter.context = &phase.question;
  const double clock = static_cast<double>(phase.request.clockKHz);
  const double target = static_cast<double>(phase.request.targetRate);
  if (!(clock > 0.0) || !(target > 0.0) || !std::isfinite(target)) return nearest;
  double bestDistance = 0.0;
  int32_t bestSeg1 = 0, bestSeg2 = 0, bestPrescaler = 0;
  const int32_t firstSeg2 = phase.request.minSeg2 > ranges.seg2.first ? phase.request.minSeg2 : ranges.seg2.first;
  // 1. Every pair the rules allow, in listing order; each pair's rate is nearest the
  //    target at the prescaler just below or just above clock / (quanta x target).
  for (int32_t seg2 = firstSeg2; seg2 <= ranges.seg2.last; ++seg2) {
    for (int32_t seg1 = ranges.seg1.first; seg1 <= ranges.seg1.last; ++seg1) {
      if (ranges.filter.fits != nullptr && !ranges.filter.fits(ranges.filter.context, seg1, seg2)) continue;
      const int32_t quanta = 1 + seg1 + seg2;
      const double fastest = clock / (static_cast<double>(quanta) * ranges.prescaler.first);
      if (fastest > nearest.fastestKbps) nearest.fastestKbps = fastest;
      // The sample point as the search forms it.
      const float samplePoint = static_cast<float>(static_cast<double>(seg1 + 1) / quanta);
      if (!(samplePoint >= phase.request.minSamplePoint)) continue;
      int32_t prescalers[2];
      NearPrescalers(clock / (static_cast<double>(quanta) * target), ranges, prescalers);
      for (const int32_t prescaler : prescalers) {
        const double distance = std::fabs(clock / (static_cast<double>(quanta) * prescaler) - target);
        if (nearest.found && !(distance < bestDistance)) continue;
        nearest.found = true;
        bestDistance = distance;
        bestSeg1 = seg1;
        bestSeg2 = seg2;
        bestPrescaler = prescaler;
      }
    }
  }
  if (!nearest.found) return nearest;
  nearest.row = ComputedSetting(phase.request.clockKHz, bestSeg1, bestSeg2, bestPrescaler, phase.request.targetRate);
  // 2. The least tolerance that lists it by the phase's own test: the distance in
  //    hundredths rounded up, tried from one below to two above (the float tests and
  //    the rounding of the double distance differ by less than that); four searches
  //    of one setting at most. Beyond 100% none is tried.
  const double needed = std::ceil(bestDistance / target * 10000.0);
  nearest.toleranceHundredths = 10001;
  if (!(needed <= 10000.0)) return nearest;
  for (int64_t hundredths = static_cast<int64_t>(needed) - 1; hundredths <= static_cast<int64_t>(needed) + 2;
       ++hundredths) {
    if (hundredths < 0 || hundredths > 10000 || !Lists(phase, bestSeg1, bestSeg2, bestPrescaler, hundredths)) continue;
    nearest.toleranceHundredths = hundredths;
    break;
  }
  return nearest;
}

bool PhaseHasRows(const PhaseSearch& phase) {
  bool any = false;
  SearchRows(phase)([&any](const TimingCandidate&) { return !(any = true); });
  return any;
}

bool ToleranceCanHelp(const PhaseSearch& phase) {
  const NearestSetting nearest = NearestOfPhase(phase);
  // Past 100% (a rate below the slowest setting) no tolerance the companion takes lists it.
  if (nearest.found && nearest.toleranceHundredths > 10000) return false;
  return !(nearest.fastestKbps > 0.0 && static_cast<double>(phase.request.targetRate) > nearest.fastestKbps);
}

std::vector<std::string> NoSettingLines(const Request& request, const PhaseSearch& phase) {
  std::vector<std::string> lines;
  if (phase.minTolerance >= 0) return lines;
  const NearestSetting nearest = NearestOfPhase(phase);
  const bool data = phase.options.phase == Phase::kData;
  const float target = phase.request.targetRate;
  if (nearest.fastestKbps > 0.0 && static_cast<double>(target) > nearest.fastestKbps) {
    // Beyond the fastest setting no tolerance can help: the clock limits the rate.
    const std::string clock = ToFixedText(request.clockKHz, 3, 0).get();
    lines.push_back(std::string(AnBefore(clock) ? "an " : "a ") + clock + " MHz " + phase.options.controller->name + " reaches at most " +
                    FloatText(static_cast<float>(nearest.fastestKbps)) + " Kbps" +
                    (data ? " in the data phase" : ""));
    // Bit/s typed as Kbps: a rate above every CAN's (20 Mbit/s) whose thousandth the
    // controller reaches.
    const float perThousand = static_cast<float>(static_cast<double>(target) / 1000.0);
    if (target > 20000.0f && static_cast<double>(perThousand) <= nearest.fastestKbps)
      lines.push_back(std::string("did you mean --") + PhasePrefix(phase) + "rate " + FloatText(perThousand) + "?");
    return lines;
  }
  if (!nearest.found) return lines;
  const TimingCandidate& row = nearest.row;
  CandidateText rate;
  FormatRateCell(row.actualRate, rate);
  // The error as the listing writes it, signed by the side of the target it lies on.
  const std::string error = FloatText(row.errorPercent);
  const bool above = static_cast<double>(row.actualRate) > static_cast<double>(target);
  const char* sign = error == "0" ? "" : above ? "+" : "-";
  std::string line = "the nearest: " + std::string(rate.bytes, static_cast<std::size_t>(rate.length)) + " Kbps, " +
                     sign + error + "%, prescaler " +
                     std::to_string(row.prescaler) + ", seg1 " + std::to_string(row.bs1Code + 1) + ", seg2 " +
                     std::to_string(row.bs2Code + 1) + ", sample point " + SamplePointPercent(row) + ": ";
  if (nearest.toleranceHundredths <= 10000)
    line += std::string("--") + PhasePrefix(phase) + "tolerance " + HundredthsText(nearest.toleranceHundredths) +
            " lists it";
  else
    line += "no tolerance up to 100% lists it";
  lines.push_back(line);
  // MHz typed where kHz were meant: no CAN controller runs from a clock of 1 GHz or
  // more, and a thousandth of it, where that is a whole kHz below 1 GHz, is the clock
  // likely meant.
  if (!data && request.clockKHz >= 1000000 && request.clockKHz % 1000 == 0 && request.clockKHz < 1000000000)
    lines.push_back(std::string("did you mean --clock ") + ToFixedText(request.clockKHz / 1000, 3, 0).get() + "?");
  return lines;
}
