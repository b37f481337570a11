#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vesko {

/// `Division` points spread evenly from `ScanCenter` - `ScanWidth`/2 to `ScanCenter` + `ScanWidth`/2,
/// both edges included: the points of the collimator, lens and goniometer scans.
class ScanPositions {
 public:
  /// The points of a scan of `division` points (LastIndex = division - 1).
  ScanPositions(float scanCenter, float scanWidth, std::int16_t division);

  /// `Division` - 1: the points are 0 ... LastIndex; below 0 there is none.
  int LastIndex() const { return lastIndex_; }

  /// Position of point i: i * (ScanWidth / N) + (ScanCenter - ((N / 2) * ScanWidth) / N) with N the last
  /// index as a 32-bit float, evaluated left to right in double precision and rounded once to 32 bits.
  float At(int i) const;

  /// True when every point 0 ... LastIndex is a finite 32-bit number.
  bool AllFinite() const;

 private:
  double center_;
  int lastIndex_;
  double step_ = 0;
  double halfSpan_ = 0;
};

/// `Division` as these scans take it, once `ScanCenter` and `ScanWidth` are known: the 32-bit float
/// value of the text rounded to an integer, ties to even (2.5 -> 2, 3.5 -> 4). Empty when the text is
/// not numeric or overflows, the count lies outside 16 bits, is 1 (no step between the edges) or
/// -32768 (no last index in 16 bits), or a point would overflow a 32-bit float.
std::optional<std::int16_t> TakeScanDivision(std::string_view text, float scanCenter, float scanWidth);

}  // namespace vesko
