#include "generators/scan_positions.h"

#include <cmath>
#include <cstdint>

#include "core/numbers.h"

namespace vesko {
namespace {

// The float's value rounded to an integer, halves to the even neighbour.
double RoundHalfEven(float value) {
  const double v = value;
  const double below = std::floor(v);
  const double fraction = v - below;
  if (fraction > 0.5) {
    return below + 1;
  }
  if (fraction < 0.5) {
    return below;
  }
  return std::fmod(below, 2.0) == 0.0 ? below : below + 1;
}

}  // namespace

ScanPositions::ScanPositions(float scanCenter, float scanWidth, std::int16_t division)
    : center_(scanCenter), lastIndex_(division - 1) {
  const double n = static_cast<float>(lastIndex_);
  step_ = scanWidth / n;
  halfSpan_ = ((n / 2) * scanWidth) / n;
}

float ScanPositions::At(int i) const {
  return static_cast<float>(static_cast<double>(i) * step_ + (center_ - halfSpan_));
}

bool ScanPositions::AllFinite() const {
  if (lastIndex_ < 0) {
    return true;
  }
  // The points grow (or fall) with i, so the two edges bound all the others.
  return std::isfinite(At(0)) && std::isfinite(At(lastIndex_));
}

std::optional<std::int16_t> TakeScanDivision(std::string_view text, float scanCenter, float scanWidth) {
  const std::optional<float> value = ToSingle(text);
  if (!value) {
    return std::nullopt;
  }
  const double rounded = RoundHalfEven(*value);
  // One point leaves no step between the edges; -32768 points leave no last index in 16 bits.
  if (rounded < INT16_MIN + 1 || rounded > INT16_MAX || rounded == 1) {
    return std::nullopt;
  }
  const auto division = static_cast<std::int16_t>(rounded);
  if (!ScanPositions(scanCenter, scanWidth, division).AllFinite()) {
    return std::nullopt;
  }
  return division;
}

}  // namespace vesko
