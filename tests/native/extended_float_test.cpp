// The integer arithmetic against the x87 it stands in for, operation by operation on
// random and hand-picked operands, and the search in both arithmetics side by side.
// On a processor without the x87, only the two integer division paths are compared.
#include "calc/bit_timing_search.h"
#include "calc/extended_float.h"
#include "calc/fdcan_timing.h"
#include "calc/fp_environment.h"
#include "calc/timing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

uint64_t BitsOf(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// A random double of any exponent, subnormals included; now and then a zero.
double AnyDouble(std::mt19937_64& random) {
  const uint64_t bits = random();
  double value;
  std::memcpy(&value, &bits, sizeof value);
  if (!std::isfinite(value) || random() % 16 == 0) return random() % 2 ? 0.0 : -0.0;
  return value;
}

// The fast per-prescaler division against the general one, for every divisor of the
// table and a few beyond it, on random significands and on quotients that fall on or
// next to a tie of the rounding to double.
TEST(ExtendedFloat, ReciprocalDivisionEqualsTheGeneralOne) {
  std::mt19937_64 random(20261209);
  for (uint32_t divisor = 1; divisor <= kReciprocalCount + 64; ++divisor) {
    for (int i = 0; i < 200; ++i) {
      ExtendedFloat value = ExtendedQuotient(static_cast<int64_t>(random() >> (random() % 63)) - 1000 * (i % 2),
                                             static_cast<uint32_t>(1 + random() % 400));
      if (i < 90) {
        // significand = quotient * divisor - 1, + 0 or + 1, where the quotient is an odd
        // number of 54 bits (a tie of the rounding to double) or an odd number of 25
        // bits followed by 29 zeros (a tie of the rounding to float), with their
        // neighbours. Below divisor 1024 it fits in 64 bits; above, a 53-bit quotient
        // is exact.
        const uint64_t odd = i < 45 ? (uint64_t{1} << 53) | (random() >> 11) | 1
                                    : ((uint64_t{1} << 24) | (random() >> 40) | 1) << 29;
        const uint64_t quotient = odd >> (divisor < 1024 ? 0 : 1);
        const uint64_t significand = quotient * divisor + static_cast<uint64_t>(i % 3) - 1;
        int32_t zeros = 0;
        while ((significand << zeros) >> 63 == 0) ++zeros;
        value = ExtendedFloat{significand << zeros, -zeros - static_cast<int32_t>(random() % 200), i % 2 == 0,
                              ExtendedKind::kFinite};
      }
      const double fast = ExtendedDivideToDouble(value, divisor);
      const double general = ExtendedToDouble(ExtendedDivide(value, divisor));
      ASSERT_EQ(BitsOf(fast), BitsOf(general)) << "divisor " << divisor << " significand " << value.significand;
      const float estimated = ExtendedDivideToFloat(PrepareDividend(value), divisor);
      const float exact = static_cast<float>(general);
      ASSERT_EQ(std::memcmp(&estimated, &exact, sizeof exact), 0)
          << "divisor " << divisor << " significand " << value.significand;
    }
  }
}

#if QUILLMERE_HAS_X87

// An ExtendedFloat holds the x87 value when sign, significand and exponent agree.
bool SameAsX87(const ExtendedFloat& value, long double x87) {
  if (std::isnan(x87)) return value.kind == ExtendedKind::kNotANumber;
  if (value.negative != std::signbit(x87)) return false;
  if (std::isinf(x87)) return value.kind == ExtendedKind::kInfinity;
  if (value.kind != ExtendedKind::kFinite) return false;
  if (x87 == 0) return value.significand == 0;
  int exponent = 0;
  const long double fraction = std::frexp(std::fabs(x87), &exponent);  // in [0.5, 1)
  const auto significand = static_cast<uint64_t>(std::ldexp(fraction, 64));
  return value.significand == significand && value.exponent == exponent - 64;
}

TEST(ExtendedFloat, QuotientsAndDivisionsAreTheX87s) {
  SetFloatEnvironment();
  std::mt19937_64 random(15);
  const int64_t numerators[] = {0, 1, -1, 42000, -2147483648LL, 2147483647, INT64_MAX, INT64_MIN, 3, 1LL << 62};
  std::vector<int64_t> many(std::begin(numerators), std::end(numerators));
  for (int i = 0; i < 20000; ++i) many.push_back(static_cast<int64_t>(random()) >> (random() % 64));
  for (int64_t numerator : many) {
    for (uint32_t denominator : {1u, 2u, 3u, 7u, 385u, 1024u, 4294967295u, static_cast<uint32_t>(1 + random())}) {
      const ExtendedFloat quotient = ExtendedQuotient(numerator, denominator);
      const long double x87 = static_cast<long double>(numerator) / static_cast<long double>(denominator);
      ASSERT_TRUE(SameAsX87(quotient, x87)) << numerator << " / " << denominator;
      const auto prescaler = static_cast<uint32_t>(1 + random() % 2048);
      const long double x87Rate = x87 / prescaler;
      ASSERT_TRUE(SameAsX87(ExtendedDivide(quotient, prescaler), x87Rate)) << numerator << " / " << prescaler;
      ASSERT_EQ(BitsOf(ExtendedDivideToDouble(quotient, prescaler)), BitsOf(static_cast<double>(x87Rate)))
          << numerator << " / " << denominator << " / " << prescaler;
    }
  }
}

TEST(ExtendedFloat, DifferencesAndComparisonsAreTheX87s) {
  SetFloatEnvironment();
  std::mt19937_64 random(11898);
  const double specials[] = {0.0, -0.0, kInf, -kInf, kNaN, 1e-7, std::nextafter(1e-7, 1.0), 5e-324, -5e-324,
                             2.2250738585072014e-308, 1.7976931348623157e308, -1.7976931348623157e308, 500.0, 1.0};
  std::vector<std::pair<double, double>> pairs;
  for (double a : specials)
    for (double b : specials) pairs.emplace_back(a, b);
  for (int i = 0; i < 200000; ++i) {
    const double a = AnyDouble(random);
    // b near a's scale, up to 140 binary places away, either sign: every shift and
    // cancellation of the aligned subtraction.
    const double b = std::ldexp(AnyDouble(random) / std::pow(2.0, std::ilogb(AnyDouble(random)) + 0.0) / 2,
                                std::ilogb(a == 0 ? 1.0 : a) - static_cast<int>(random() % 141));
    pairs.emplace_back(a, std::isfinite(b) ? b : 0.0);
    pairs.emplace_back(a, std::nextafter(a, random() % 2 ? kInf : -kInf));
  }
  for (const auto& [a, b] : pairs) {
    const long double x87 = static_cast<long double>(a) - static_cast<long double>(b);
    const ExtendedFloat difference = ExtendedDifference(a, b);
    ASSERT_TRUE(SameAsX87(difference, x87)) << a << " - " << b;
    ASSERT_EQ(BitsOf(ExtendedToDouble(difference)) & ~(uint64_t{1} << 63) * std::isnan(x87),
              BitsOf(static_cast<double>(x87)) & ~(uint64_t{1} << 63) * std::isnan(x87))
        << a << " - " << b;
    for (double limit : {1e-7, b, a, 0.0, -kInf, kInf, kNaN})
      ASSERT_EQ(ExtendedGreater(difference, limit), x87 > static_cast<long double>(limit)) << a << " - " << b;
  }
}

struct Request {
  int32_t clockKHz;
  float target;
  int32_t tolerance;
  float minSamplePoint;
};

bool Append(void* context, const TimingCandidate* records, int32_t count) {
  auto* out = static_cast<std::vector<TimingCandidate>*>(context);
  out->insert(out->end(), records, records + count);
  return true;
}

std::vector<TimingCandidate> Listing(bool portable, const TimingRanges& ranges, const Request& r, PrescalerScan scan) {
  std::vector<TimingCandidate> out;
  const TimingRequest request{r.clockKHz, r.target, r.tolerance * 100, r.minSamplePoint, 1};
  const TimingSink sink{Append, &out};
  if (portable) {
    ListSettingsPortable(ranges, request, scan, sink);
  } else {
    ListSettingsX87(ranges, request, scan, sink);
  }
  return out;
}

void ExpectSameListings(const TimingRanges& ranges, const Request& r, PrescalerScan scan) {
  const std::vector<TimingCandidate> x87 = Listing(false, ranges, r, scan);
  const std::vector<TimingCandidate> portable = Listing(true, ranges, r, scan);
  ASSERT_EQ(x87.size(), portable.size()) << r.clockKHz << " kHz " << r.target << " Kbps " << r.tolerance << "%";
  if (!x87.empty()) {
    ASSERT_EQ(std::memcmp(x87.data(), portable.data(), x87.size() * sizeof(TimingCandidate)), 0)
        << r.clockKHz << " kHz " << r.target << " Kbps " << r.tolerance << "%";
  }
}

// Every whole clock from 1 to 200 MHz at common rates, and odd kHz clocks.
TEST(SearchArithmetics, EveryClockUpTo200MHzListsTheSameRecords) {
  SetFloatEnvironment();
  for (int32_t mhz = 1; mhz <= 200; ++mhz) {
    for (float rate : {10.0f, 33.3f, 125.0f, 500.0f, 1000.0f}) {
      for (int32_t tolerance : {0, 1, 10}) ExpectSameListings(kBxCanRanges, {mhz * 1000, rate, tolerance, 0.3f},
                                                              PrescalerScan::kEvery);
    }
    ExpectSameListings(kBxCanRanges, {mhz * 1000 + 333, 500.0f, 3, 0.5f}, PrescalerScan::kEvery);
  }
}

// Random inputs of every kind, special values, and the FDCAN ranges with skipping.
TEST(SearchArithmetics, RandomAndSpecialRequestsListTheSameRecords) {
  SetFloatEnvironment();
  const float inf = std::numeric_limits<float>::infinity();
  std::vector<Request> requests = {
      {0, 0.0f, 0, 0.0f},          {0, inf, 0, 0.3f},          {42000, inf, 5, 0.3f},       {42000, -inf, 0, 0.3f},
      {42000, -inf, 3, 0.3f},      {42000, NAN, 0, 0.3f},      {-42000, -500.0f, 10, 0.3f}, {INT32_MIN, -1e6f, 1, 0.0f},
      {INT32_MAX, 3.4e38f, 100, 0.0f}, {1, 1e-45f, 0, 0.0f}, {1, 1e-40f, 100, 0.0f},      {42000, 500.0f, -5, 0.0f},
      {42000, 500.0f, INT32_MAX, 0.0f}, {42000, 500.0f, 0, 0.4f}};
  std::mt19937_64 random(2026);
  for (int i = 0; i < 300; ++i) {
    float target;
    const uint32_t bits = static_cast<uint32_t>(random());
    std::memcpy(&target, &bits, sizeof target);
    if (i % 2 == 0) target = static_cast<float>(random() % 2000000) / 1000.0f;
    const auto clock = static_cast<int32_t>(i % 3 == 0 ? random() : random() % 200000);
    requests.push_back({clock, target, static_cast<int32_t>(random() % 12), static_cast<float>(random() % 100) / 100.0f});
  }
  for (const Request& r : requests) {
    ExpectSameListings(kBxCanRanges, r, PrescalerScan::kEvery);
    ExpectSameListings(kFdcanDataRanges, r, PrescalerScan::kRateWindow);
  }
  for (int i = 0; i < 4; ++i) ExpectSameListings(kFdcanNominalRanges, requests[random() % requests.size()],
                                                  PrescalerScan::kRateWindow);
}

#endif

}  // namespace
