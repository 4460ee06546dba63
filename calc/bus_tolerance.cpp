#include "calc/bus_tolerance.h"

namespace {

// Every product below stays far inside 64 bits: clock < 2^31 kHz, delays and lengths
// below 2^20, quanta per bit below 2^9, prescalers below 2^11.
constexpr int64_t kNsPerMsTimesKHz = 1000000;  // tq = prescaler × 10^6 / clockKHz ns

// a < b for fractions with positive denominators.
bool Below(const Tolerance& a, const Tolerance& b) {
  return a.numerator * b.denominator < b.numerator * a.denominator;
}

Tolerance Smaller(const Tolerance& a, const Tolerance& b) { return Below(b, a) ? b : a; }

// A condition whose numerator may be negative: the tolerance is never below 0.
Tolerance AtLeastZero(const Tolerance& t) { return t.numerator < 0 ? Tolerance{0, 1} : t; }

int64_t Min(int64_t a, int64_t b) { return a < b ? a : b; }

struct NominalTerms {
  int64_t nbt;
  int64_t ps1;
  int64_t ps2;
};

NominalTerms TermsOf(const BitTimingLengths& s, int32_t clockKHz, const BusConditions& bus) {
  // A phase segment 1 below 0 gives a negative condition, whose tolerance is 0
  // whatever its size: -1 stands for all of them and keeps the products small.
  const int64_t ps1 = s.seg1 - PropagationQuanta(clockKHz, s.prescaler, bus);
  return NominalTerms{1 + int64_t{s.seg1} + s.seg2, ps1 < -1 ? -1 : ps1, s.seg2};
}

Tolerance ConditionOne(int64_t sjw, int64_t bitQuanta) { return Tolerance{sjw, 20 * bitQuanta}; }

Tolerance ConditionTwo(const NominalTerms& n) { return Tolerance{Min(n.ps1, n.ps2), 2 * (13 * n.nbt - n.ps2)}; }

}  // namespace

int64_t PropagationQuanta(int32_t clockKHz, int32_t prescaler, const BusConditions& bus) {
  // 2 × (d + 5L) / (prescaler × 10^6 / clock) = 2 × (d + 5L) × clock / (prescaler × 10^6).
  const int64_t numerator = 2 * (int64_t{bus.nodeDelayNs} + 5 * int64_t{bus.busLengthM}) * clockKHz;
  const int64_t denominator = int64_t{prescaler} * kNsPerMsTimesKHz;
  return (numerator + denominator - 1) / denominator;
}

Tolerance SettingTolerance(const BitTimingLengths& setting, int32_t clockKHz, const BusConditions& bus) {
  const NominalTerms n = TermsOf(setting, clockKHz, bus);
  return AtLeastZero(Smaller(ConditionOne(setting.sjw, n.nbt), ConditionTwo(n)));
}

Tolerance DataSettingTolerance(const BitTimingLengths& data) {
  return ConditionOne(data.sjw, 1 + int64_t{data.seg1} + data.seg2);
}

Tolerance PairTolerance(const BitTimingLengths& nominal, const BitTimingLengths& data, int32_t clockKHz,
                        const BusConditions& bus) {
  const NominalTerms n = TermsOf(nominal, clockKHz, bus);
  const int64_t dbt = 1 + int64_t{data.seg1} + data.seg2;
  const int64_t dps2 = data.seg2;
  const int64_t nbrp = nominal.prescaler;
  const int64_t dbrp = data.prescaler;
  // Conditions 4 and 5 with numerator and denominator multiplied by nbrp and by dbrp,
  // so that no quotient of the prescalers is formed.
  const Tolerance four{Min(n.ps1, n.ps2) * nbrp, 2 * ((6 * dbt - dps2) * dbrp + 7 * n.nbt * nbrp)};
  const int64_t slip = nbrp > dbrp ? nbrp - dbrp : 0;  // dbrp × max(0, nbrp / dbrp − 1)
  const Tolerance five{data.sjw * dbrp - slip, 2 * ((2 * n.nbt - n.ps2) * nbrp + (dps2 + 4 * dbt) * dbrp)};
  Tolerance t = Smaller(ConditionOne(nominal.sjw, n.nbt), ConditionTwo(n));
  t = Smaller(t, ConditionOne(data.sjw, dbt));
  t = Smaller(t, four);
  return AtLeastZero(Smaller(t, five));
}

double TolerancePercent(const Tolerance& tolerance) {
  return static_cast<double>(tolerance.numerator * 100) / static_cast<double>(tolerance.denominator);
}

int64_t ToleranceHundredths(const Tolerance& tolerance) {
  return tolerance.numerator * 10000 / tolerance.denominator;
}

bool ToleranceAtLeast(const Tolerance& tolerance, int64_t millionthsOfAPercent) {
  // numerator / denominator × 100 >= m / 10^6  <=>  numerator × 10^8 >= m × denominator.
  return tolerance.numerator * 100000000 >= millionthsOfAPercent * tolerance.denominator;
}

int64_t LongestBus(const BitTimingLengths& setting, int32_t clockKHz, int32_t nodeDelayNs) {
  // prop <= seg1 − 1  <=>  2 × (d + 5L) × clock <= (seg1 − 1) × prescaler × 10^6
  //                   <=>  L <= ((seg1 − 1) × prescaler × 10^6 − 2 × d × clock) / (10 × clock).
  const int64_t room = (int64_t{setting.seg1} - 1) * setting.prescaler * kNsPerMsTimesKHz -
                       2 * int64_t{nodeDelayNs} * clockKHz;
  if (room < 0) return -1;
  return room / (10 * int64_t{clockKHz});
}
