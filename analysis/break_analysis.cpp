#include "analysis/break_analysis.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/numbers.h"

namespace vesko {
namespace {

// True when every value is a whole number of magnitude at most 2^52. Adding and taking away 2^52
// rounds such a magnitude to a whole number; the loop has no early exit, so that it runs in vectors.
bool AllWholeUpTo52Bits(std::span<const double> values) {
  constexpr double kTwo52 = 4503599627370496.0;
  bool whole = true;
  for (const double value : values) {
    const double magnitude = std::fabs(value);
    whole &= magnitude <= kTwo52 && (magnitude + kTwo52) - kTwo52 == magnitude;
  }
  return whole;
}

}  // namespace

ThresholdChoice ReadThreshold(std::string_view text) {
  const std::optional<double> value = ToDouble(text);
  if (!value || *value == 0) {
    return {2.0, true};
  }
  return {*value, false};
}

double TotalFall(std::span<const double> y) {
  // The sum telescopes to y[0] - y[n-1]; it is summed step by step all the same, unless every step is
  // exact: with whole numbers of at most 2^52 each partial sum is y[0] - y[i] exactly (whole and at
  // most 2^53), and the last step's result is that of the first step taken at once. No step gives
  // -0 either way.
  double fall = 0;
  if (y.size() >= 2 && AllWholeUpTo52Bits(y)) {
    return (fall + y.front()) - y.back();
  }
  for (std::size_t i = 0; i + 1 < y.size(); ++i) {
    fall = fall + y[i] - y[i + 1];
  }
  return fall;
}

std::size_t FindBreakIndex(std::span<const double> y, double threshold) {
  if (y.size() < 2) {
    return 0;
  }
  const double meanFall = TotalFall(y) / static_cast<double>(y.size() - 1);
  const double limit = meanFall / threshold;
  for (std::size_t i = 0; i + 1 < y.size(); ++i) {
    if (limit > y[i] - y[i + 1]) {
      return i;
    }
  }
  return 0;
}

FittedLine LinearFit(std::span<const double> x, std::span<const double> y) {
  const std::size_t count = std::min(x.size(), y.size());
  double sx = 0;
  double sy = 0;
  double sxy = 0;
  double sxx = 0;
  for (std::size_t i = 0; i < count; ++i) {
    sx += x[i];
    sy += y[i];
    sxy += x[i] * y[i];
    sxx += x[i] * x[i];
  }
  const double m = static_cast<double>(count);
  const double det = m * sxx - sx * sx;
  // Equal x give a determinant of rounding noise rather than exactly 0: no line either way.
  const bool sameX = std::all_of(x.begin(), x.begin() + static_cast<std::ptrdiff_t>(count),
                                 [&](double v) { return v == x[0]; });
  if (det == 0 || sameX) {
    return {0, 0, true};
  }
  const double reciprocal = 1 / det;
  return {(sy * sxx - sx * sxy) * reciprocal, (m * sxy - sx * sy) * reciprocal, false};
}

BreakAnalysis AnalyseRows(ResultRows rows, std::string_view thresholdText) {
  BreakAnalysis run;
  run.rows = std::move(rows);
  const ThresholdChoice threshold = ReadThreshold(thresholdText);
  run.threshold = threshold.value;
  if (threshold.reset) {
    run.messages.emplace_back(kThresholdResetMessage);
  }

  const std::vector<double>& x = run.rows.x;
  const std::vector<double>& y = run.rows.y;
  run.breakIndex = FindBreakIndex(y, run.threshold);
  // A line needs at least two points before the break.
  if (run.breakIndex < 2) {
    run.messages.push_back(std::to_string(run.breakIndex) + std::string(kGateStopText));
    return run;
  }
  run.passedGate = true;
  run.line = LinearFit(std::span(x).first(run.breakIndex), std::span(y).first(run.breakIndex));

  double sum = 0;
  for (std::size_t i = run.breakIndex + 1; i < y.size(); ++i) {
    sum += y[i];
  }
  const std::size_t levelCount = y.size() - std::min(y.size(), run.breakIndex + 1);
  run.level = levelCount > 0 ? sum / static_cast<double>(levelCount) : 0;

  if (!run.line.singular && run.line.a1 != 0) {
    const double crossX = (run.level - run.line.a0) / run.line.a1;
    if (std::isfinite(crossX)) {
      run.crossX = crossX;
    }
  }
  if (!run.crossX) {
    run.messages.emplace_back(kNoCrossingMessage);
  }
  return run;
}

BreakAnalysis AnalyseResultFile(const std::string& path, std::string_view thresholdText) {
  Result<ResultRows> rows = ReadResultFile(path);
  if (!rows) {
    BreakAnalysis run = AnalyseRows({}, thresholdText);
    run.readError = rows.message();
    return run;
  }
  return AnalyseRows(std::move(rows.value()), thresholdText);
}

}  // namespace vesko
