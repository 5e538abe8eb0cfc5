#include "common/dpi_scale.h"

#include <cstdint>
#include <initializer_list>

namespace ls {

namespace {

int mulDivRounded(int value, int numerator, int denominator) {
  std::int64_t product = static_cast<std::int64_t>(value) * numerator;
  std::int64_t half = denominator / 2;
  return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

int validDpi(int dpi) { return dpi >= 1 ? dpi : kBaseDpi; }

}  // namespace

int scaleToDpi(int value, int dpi) { return mulDivRounded(value, validDpi(dpi), kBaseDpi); }

int scaleFromDpi(int value, int dpi) { return mulDivRounded(value, kBaseDpi, validDpi(dpi)); }

int listIconSize(int dpi) {
  const int wanted = scaleToDpi(16, dpi);
  int size = 16;
  for (int candidate : {20, 24, 32})
    if (candidate <= wanted) size = candidate;
  return size;
}

}  // namespace ls
