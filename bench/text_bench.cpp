// Time of ToText and of the non-allocating FormatDouble/FormatFloat on the values the
// program shows (sample points, rates, errors) and on extreme exponents.
#include "calc/text.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

const double kDoubles[] = {83.33333134651, 600.0 / 7.0, 500.0, 1e-5, 80.00000119209, 0.3125, 87.5, 69.99999880791};
const float kFloats[] = {83.33333f, 600.0f / 7.0f, 500.0f, 1e-5f, 0.01953125f, 87.5f, 1234567.0f, 0.1f};
const double kExtremeDoubles[] = {1e-300, 4.9e-324, 1.7976931348623157e308, 1e200, 2.5e-100, 1e-20};

void BM_ToTextDouble(benchmark::State& state) {
  size_t i = 0;
  for (auto _ : state) {
    Text text = ToText(kDoubles[i++ % 8]);
    benchmark::DoNotOptimize(text.get());
  }
}
BENCHMARK(BM_ToTextDouble);

void BM_ToTextFloat(benchmark::State& state) {
  size_t i = 0;
  for (auto _ : state) {
    Text text = ToText(kFloats[i++ % 8]);
    benchmark::DoNotOptimize(text.get());
  }
}
BENCHMARK(BM_ToTextFloat);

void BM_FormatDouble(benchmark::State& state) {
  char buffer[kMaxNumberText];
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(FormatDouble(kDoubles[i++ % 8], buffer));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FormatDouble);

void BM_FormatFloat(benchmark::State& state) {
  char buffer[kMaxNumberText];
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(FormatFloat(kFloats[i++ % 8], buffer));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FormatFloat);

void BM_FormatDoubleExtremeExponent(benchmark::State& state) {
  char buffer[kMaxNumberText];
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(FormatDouble(kExtremeDoubles[i++ % 6], buffer));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FormatDoubleExtremeExponent);

void BM_ToFloat(benchmark::State& state) {
  const char* texts[] = {"500", "125.5", "42", "0.1", "\xA3\xB1\xA3\xB2\xA3\xB5", "1e3"};
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(ToFloat(texts[i++ % 6]));
}
BENCHMARK(BM_ToFloat);

void BM_ToFloatLongDigits(benchmark::State& state) {
  static char text[1200];
  std::memset(text, '7', 1100);
  text[1] = '.';
  text[1100] = 0;
  for (auto _ : state) benchmark::DoNotOptimize(ToFloat(text));
}
BENCHMARK(BM_ToFloatLongDigits);

}  // namespace
