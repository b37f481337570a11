#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/result_file.h"

namespace vesko {

/// Initial text of the threshold box.
inline constexpr const char* kDefaultThresholdText = "2.0";
/// Shown when the threshold text is unusable and 2.0 is taken instead.
inline constexpr std::string_view kThresholdResetMessage = "閾値を2.0にしました";
/// Follows the break index in the message that stops a run whose break comes too early.
inline constexpr std::string_view kGateStopText = "条件にかかりませんでした。処理を停止します。";
/// Shown instead of results when the fitted line cannot meet the level.
inline constexpr std::string_view kNoCrossingMessage = "No crossing point: the fitted line is flat.";

/// The threshold to use for a typed text, and whether it had to fall back to 2.0.
struct ThresholdChoice {
  double value = 2.0;
  bool reset = false;
};

/// The text's 64-bit value, or 2.0 with `reset` when it is not numeric, too large or zero.
ThresholdChoice ReadThreshold(std::string_view text);

/// The falls y[i] - y[i+1] of neighbouring points summed in file order, each step rounded; 0 for
/// fewer than two points.
double TotalFall(std::span<const double> y);

/// First step i (in rising order) whose fall y[i] - y[i+1] is less than the mean fall per step over
/// the whole scan divided by `threshold`; 0 when no step qualifies or there are fewer than two points.
std::size_t FindBreakIndex(std::span<const double> y, double threshold);

/// A least-squares line y = a0 + a1 x.
struct FittedLine {
  double a0 = 0;
  double a1 = 0;
  /// The points do not fix a line (fewer than two distinct x); a0 and a1 are then 0.
  bool singular = false;
};

/// The least-squares line through the points (x[i], y[i]); both spans have the same length.
FittedLine LinearFit(std::span<const double> x, std::span<const double> y);

/// Everything one analysis run produced, for a window, a plot or the command line.
struct BreakAnalysis {
  /// The points read: x[i] blade-1 position, y[i] intensity.
  ResultRows rows;
  /// "Cannot read <path>: <reason>" when the file could not be read (there are no rows then).
  std::string readError;
  double threshold = 2.0;
  /// Points 0 .. breakIndex-1 make the falling line, breakIndex+1 .. n-1 the level; the point at
  /// breakIndex belongs to neither. Meaningful for that split only when `passedGate`.
  std::size_t breakIndex = 0;
  /// The break came late enough to fit: `line` and `level` hold values.
  bool passedGate = false;
  FittedLine line;
  /// Mean intensity after the break (B0); 0 when no point follows it.
  double level = 0;
  /// Where the line meets the level; set exactly when the four results are to be shown.
  std::optional<double> crossX;
  /// The messages to show, in order.
  std::vector<std::string> messages;
};

/// Finds the break, fits the line before it and the level after it, and where they meet.
BreakAnalysis AnalyseRows(ResultRows rows, std::string_view thresholdText);

/// Reads the result file at `path` once, then analyses it as AnalyseRows does; a file that cannot
/// be read gives no rows (and so the stop at break 0) and fills `readError`.
BreakAnalysis AnalyseResultFile(const std::string& path, std::string_view thresholdText);

}  // namespace vesko
