#include "ui/dpi_scale.h"

namespace {

// value * numerator / denominator rounded half away from zero (denominator > 0). In 64
// bits the product cannot overflow; the half is added on the value's side of zero, so
// -16.5 gives -17 as 16.5 gives 17.
int MultiplyDivide(int value, int numerator, int denominator) {
  const int64_t product = int64_t{value} * numerator;
  const int64_t half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator
                                       : (product - half) / denominator);
}

}  // namespace

int ScaleForDpi(int value, int dpi) { return MultiplyDivide(value, dpi, kBaseDpi); }

int RescaleForDpi(int value, int fromDpi, int toDpi) {
  return ScaleForDpi(MultiplyDivide(value, kBaseDpi, fromDpi), toDpi);
}
