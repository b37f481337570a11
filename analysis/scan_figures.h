#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace vesko {

/// The figures of one series of points (x_i, y_i) in file order. Empty optionals are undefined.
struct ScanFigures {
  std::size_t points = 0;
  /// Index of the first row with the largest y, and of the first with the smallest.
  std::optional<std::size_t> maxIndex;
  std::optional<std::size_t> minIndex;
  std::optional<double> maxX, maxY, minX, minY;
  /// Centre of mass above the lowest intensity.
  std::optional<double> com;
  /// Where the intensity crosses half its height on either side of the peak, interpolated.
  std::optional<double> halfLeft, halfRight, fwhm, cen;
  /// Half-way between the two neighbours with the steepest slope, and that slope.
  std::optional<double> edgeX, edgeSlope;
  /// The first of those two neighbours.
  std::optional<std::size_t> edgeIndex;
  /// The half-maximum level y_min + (y_max - y_min) / 2.
  std::optional<double> halfLevel;
};

/// Peak, width and edge figures of the points (x[i], y[i]), computed in double precision in the
/// order their definitions give; a figure whose value is not finite is left undefined.
ScanFigures FiguresOf(std::span<const double> x, std::span<const double> y);

/// The figures as named texts in their fixed order: points, max_x, max_y, min_x, min_y, com,
/// half_left, half_right, fwhm, cen, edge_x, edge_slope; numbers in "###0.00000", "none" when
/// undefined.
std::vector<std::pair<std::string, std::string>> FigureTexts(const ScanFigures& figures);

/// A value in "###0.00000", or "none" when there is none.
std::string FigureText(const std::optional<double>& value);

struct ResultSet;

/// The figures of one series of a result file, with their texts as listed and shown.
struct FigureBlock {
  ScanFigures figures;
  /// "series" first, then the texts of FigureTexts; a decreasing-width scan adds cross_x, a0, a1 and
  /// b0 of its crossing analysis (threshold 2.0), all "none" when that analysis stops.
  std::vector<std::pair<std::string, std::string>> texts;
};

/// One block per series of `set`, in file order. The series' columns are lent to the crossing
/// analysis and given back unchanged.
std::vector<FigureBlock> FigureBlocksOf(ResultSet& set);

}  // namespace vesko
