#include "calc/window_inputs.h"

#include "calc/text.h"

namespace {

// "请输入AHB1时钟频率"
const char* const kClockMissing = "\xC7\xEB\xCA\xE4\xC8\xEB" "AHB1" "\xCA\xB1\xD6\xD3\xC6\xB5\xC2\xCA";
// "请输入CAN波特率"
const char* const kRateMissing = "\xC7\xEB\xCA\xE4\xC8\xEB" "CAN" "\xB2\xA8\xCC\xD8\xC2\xCA";

}  // namespace

SearchArguments SearchArgumentsFor(const char* clockText, const char* rateText,
                                   int samplePointIndex, int toleranceIndex) {
  SearchArguments arguments;
  // The clock is checked first: with both fields empty only its message shows.
  if (CompareTexts(clockText, "") == 0) {
    arguments.check = InputCheck::kClockMissing;
    return arguments;
  }
  if (CompareTexts(rateText, "") == 0) {
    arguments.check = InputCheck::kRateMissing;
    return arguments;
  }
  arguments.clockKHz = ClockKHzFromMHz(ToInt(clockText));
  arguments.targetRate = ToFloat(rateText);
  arguments.minSamplePoint = MinSamplePointForIndex(samplePointIndex);
  arguments.tolerancePercent = toleranceIndex;
  return arguments;
}

const char* MissingInputMessage(InputCheck check) {
  switch (check) {
    case InputCheck::kClockMissing: return kClockMissing;
    case InputCheck::kRateMissing: return kRateMissing;
    case InputCheck::kReady: break;
  }
  return nullptr;
}

int32_t ClockKHzFromMHz(int32_t clockMHz) {
  // |clockMHz| * 1000 stays below 2^41, so the product is exact and the cast to 64 bits
  // always defined; the wrap to 32 bits is the intended conversion.
  const int64_t kHz = static_cast<int64_t>(static_cast<double>(clockMHz) * 1000.0);
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(kHz)));
}

float MinSamplePointForIndex(int index) {
  return static_cast<float>((static_cast<double>(index) + 4.0) / 10.0);
}
