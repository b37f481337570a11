#include "analysis/scan_figures.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <system_error>
#include <thread>

#include "analysis/break_analysis.h"
#include "analysis/result_series.h"
#include "core/format.h"

namespace vesko {
namespace {

// Series shorter than this are not worth a second thread.
constexpr std::size_t kParallelPoints = 100000;

std::optional<double> Finite(double value) {
  return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

}  // namespace

ScanFigures FiguresOf(std::span<const double> x, std::span<const double> y) {
  ScanFigures f;
  const std::size_t n = std::min(x.size(), y.size());
  f.points = n;
  if (n == 0) {
    return f;
  }
  std::size_t k = 0;
  std::size_t low = 0;
  double yMax = y[0];
  double yMin = y[0];
  for (std::size_t i = 1; i < n; ++i) {
    if (y[i] > yMax) {
      yMax = y[i];
      k = i;
    }
    if (y[i] < yMin) {
      yMin = y[i];
      low = i;
    }
  }
  f.maxIndex = k;
  f.minIndex = low;
  f.maxX = x[k];
  f.maxY = yMax;
  f.minX = x[low];
  f.minY = yMin;

  // The centre of mass and the steepest edge in one pass: their sums and comparisons then overlap.
  double moment = 0;
  double weight = 0;
  std::optional<double> steepest;
  for (std::size_t i = 0; i < n; ++i) {
    moment += x[i] * (y[i] - yMin);
    weight += y[i] - yMin;
    if (i + 1 == n || x[i + 1] == x[i]) {
      continue;
    }
    const double s = (y[i + 1] - y[i]) / (x[i + 1] - x[i]);
    if (!steepest || std::fabs(s) > std::fabs(*steepest)) {
      steepest = s;
      f.edgeIndex = i;
    }
  }
  if (weight != 0) {
    f.com = Finite(moment / weight);
  }

  const double h = yMin + (yMax - yMin) / 2;
  f.halfLevel = Finite(h);
  for (std::size_t j = k; j-- > 0;) {
    if (y[j] < h) {
      f.halfLeft = Finite(x[j] + (h - y[j]) * (x[j + 1] - x[j]) / (y[j + 1] - y[j]));
      break;
    }
  }
  for (std::size_t j = k + 1; j < n; ++j) {
    if (y[j] < h) {
      f.halfRight = Finite(x[j - 1] + (h - y[j - 1]) * (x[j] - x[j - 1]) / (y[j] - y[j - 1]));
      break;
    }
  }
  if (f.halfLeft && f.halfRight) {
    f.fwhm = Finite(std::fabs(*f.halfRight - *f.halfLeft));
    f.cen = Finite((*f.halfLeft + *f.halfRight) / 2);
  }

  if (f.edgeIndex) {
    f.edgeX = Finite((x[*f.edgeIndex] + x[*f.edgeIndex + 1]) / 2);
    f.edgeSlope = Finite(*steepest);
  }
  return f;
}

std::string FigureText(const std::optional<double>& value) {
  return value && std::isfinite(*value) ? FormatF5(*value) : std::string("none");
}

std::vector<std::pair<std::string, std::string>> FigureTexts(const ScanFigures& f) {
  return {{"points", std::to_string(f.points)},  {"max_x", FigureText(f.maxX)},
          {"max_y", FigureText(f.maxY)},         {"min_x", FigureText(f.minX)},
          {"min_y", FigureText(f.minY)},         {"com", FigureText(f.com)},
          {"half_left", FigureText(f.halfLeft)}, {"half_right", FigureText(f.halfRight)},
          {"fwhm", FigureText(f.fwhm)},          {"cen", FigureText(f.cen)},
          {"edge_x", FigureText(f.edgeX)},       {"edge_slope", FigureText(f.edgeSlope)}};
}

std::vector<FigureBlock> FigureBlocksOf(ResultSet& set) {
  std::vector<FigureBlock> blocks;
  for (ResultSeries& s : set.series) {
    FigureBlock block;
    const std::span<const double> x(s.x);
    const std::span<const double> y(s.y);
    std::optional<BreakAnalysis> run;
    if (set.layout == ResultLayout::SlitDecScan) {
      // The crossing of a long series is found by a second thread meanwhile. Both only read the
      // columns, which keep their place while they are lent.
      ResultRows rows{std::move(s.x), std::move(s.y)};
      std::thread crossing;
      std::exception_ptr failure;
      if (x.size() >= kParallelPoints) {
        try {
          crossing = std::thread([&run, &rows, &failure] {
            try {
              run = AnalyseRows(std::move(rows), kDefaultThresholdText);
            } catch (const std::exception&) {
              failure = std::current_exception();
            }
          });
        } catch (const std::system_error&) {
        }
      }
      block.figures = FiguresOf(x, y);
      if (crossing.joinable()) {
        crossing.join();
        if (failure) {
          std::rethrow_exception(failure);
        }
      } else {
        run = AnalyseRows(std::move(rows), kDefaultThresholdText);
      }
      s.x = std::move(run->rows.x);
      s.y = std::move(run->rows.y);
    } else {
      block.figures = FiguresOf(x, y);
    }
    block.texts.emplace_back("series", s.name);
    for (auto& text : FigureTexts(block.figures)) {
      block.texts.push_back(std::move(text));
    }
    if (run) {
      const bool shown = run->crossX.has_value();
      block.texts.emplace_back("cross_x", FigureText(run->crossX));
      block.texts.emplace_back("a0", shown ? FigureText(run->line.a0) : "none");
      block.texts.emplace_back("a1", shown ? FigureText(run->line.a1) : "none");
      block.texts.emplace_back("b0", shown ? FigureText(run->level) : "none");
    }
    blocks.push_back(std::move(block));
  }
  return blocks;
}

}  // namespace vesko
