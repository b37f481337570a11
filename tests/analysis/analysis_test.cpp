#include <algorithm>
#include <bit>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/break_analysis.h"
#include "analysis/result_series.h"
#include "analysis/scan_figures.h"
#include "core/format.h"
#include "tests/support/test_support.h"

namespace vesko {
namespace {

using Strings = std::vector<std::string>;

constexpr const char* kHeader = "slit_y1,slit_y2,Intensity\r\n";

std::string Gate(int breakIndex) {
  return std::to_string(breakIndex) + std::string(kGateStopText);
}

// y as result rows whose x falls by 1 per row from the row count down.
std::string RowsOf(const std::vector<double>& y) {
  std::string text;
  for (std::size_t i = 0; i < y.size(); ++i) {
    const std::string x = FormatF(static_cast<double>(y.size() - i));
    text += x + "," + x + ", " + FormatF(y[i]) + "\r\n";
  }
  return text;
}

class Analysis : public ::testing::Test {
 protected:
  BreakAnalysis Run(const std::string& content, const std::string& threshold = "2.0") {
    EXPECT_TRUE(test::WriteFileBytes(file_, content));
    return AnalyseResultFile(file_, threshold);
  }
  test::TempDir dir_;
  std::string file_ = dir_.File("4DSlitDec1DScan.dat");
};

// Rows (x, blade 2, y) of a scan whose intensity falls by 20 per step, then levels off at step 3.
TEST_F(Analysis, WorkedExampleGivesLineLevelAndCrossing) {
  const std::string rows =
      "2.000,2.000, 100\r\n1.500,1.500, 80\r\n1.000,1.000, 60\r\n0.500,0.500, 40\r\n"
      "0.000,0.000, 39\r\n-0.500,-0.500, 40\r\n-1.000,-1.000, 40\r\n";
  const BreakAnalysis run = Run("9,9,1000\r\n" + rows);  // the first line is a header whatever it holds
  EXPECT_TRUE(run.messages.empty());
  EXPECT_EQ(3u, run.breakIndex);
  ASSERT_TRUE(run.crossX);
  EXPECT_EQ("0.49167 20.00000 40.00000 39.66667", FormatF5(*run.crossX) + " " + FormatF5(run.line.a0) + " " +
                                                      FormatF5(run.line.a1) + " " + FormatF5(run.level));
  EXPECT_EQ((std::vector<double>{2, 1.5, 1, 0.5, 0, -0.5, -1}), run.rows.x);
}

// Each way a run stops short says why; a negative threshold looks for a rise instead of a fall.
TEST_F(Analysis, StopsSayWhy) {
  const auto flat = [](const char* x0, const char* x1, const char* x2) {
    return std::string(x0) + ",0,100\r\n" + x1 + ",0,80\r\n" + x2 +
           ",0,60\r\n0.5,0,40\r\n0,0,39\r\n-0.5,0,40\r\n";
  };
  const Strings noCrossing = {std::string(kNoCrossingMessage)};
  const struct {
    const char* name;
    std::string rows, threshold;
    std::size_t breakIndex;
    bool passed;
    Strings messages;
  } rows[] = {
      {"steady fall, no break", RowsOf({100, 90, 80, 70, 60, 50}), "2.0", 0, false, {Gate(0)}},
      {"break at 1", RowsOf({100, 60, 59, 58, 57, 56}), "2.0", 1, false, {Gate(1)}},
      {"no rows", "", "2.0", 0, false, {Gate(0)}},
      {"unusable threshold",
       RowsOf({100, 90, 80, 70}),
       "abc",
       0,
       false,
       {std::string(kThresholdResetMessage), Gate(0)}},
      // Mean fall 50/6: at -2 only a rise of more than 25/6 is a break.
      {"negative threshold", RowsOf({100, 80, 78, 60, 40, 50, 50}), "-2", 4, true, {}},
      // 0.3 three times gives a determinant of rounding noise; 1, 5, 1 a line of slope 0.
      {"singular fit", flat("0.3", "0.3", "0.3"), "2.0", 3, true, noCrossing},
      {"flat fit", flat("1", "5", "1"), "2.0", 3, true, noCrossing},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const BreakAnalysis run = Run(kHeader + row.rows, row.threshold);
    EXPECT_EQ(row.breakIndex, run.breakIndex);
    EXPECT_EQ(row.passed, run.passedGate);
    EXPECT_EQ(row.messages, run.messages);
  }
  // Mean fall 6, limit 3: the fall of exactly 3 at step 2 is not a break, the flat step 4 is.
  EXPECT_EQ(4u, FindBreakIndex(std::vector<double>{50, 40, 30, 27, 20, 20}, 2.0));
  const std::string missing = dir_.File("missing.dat");
  EXPECT_EQ("Cannot read " + missing + ": No such file or directory", ReadResultSet(missing).message());
  EXPECT_EQ(ReadResultSet(missing).message(), AnalyseResultFile(missing, "2").readError);
}

// Whole numbers take a shorter way to the total fall; it is bit for bit the sum step by step.
TEST(BreakIndex, TotalFallIsTheSumStepByStep) {
  std::mt19937 random(18);
  const double big = 4503599627370496.0;  // 2^52
  const std::vector<double> starts = {0, -0.0, 7, -3, big, -big, big - 1, 2 * big, 0.1};
  for (int round = 0; round < 4000; ++round) {
    std::vector<double> y = {starts[round % starts.size()]};
    for (std::size_t n = 1 + random() % 12; n > 0; --n) {
      const double step = static_cast<double>(random() % 9) - 2;
      y.push_back(round % 5 == 0 ? y.back() - step * (big / 2 + 1) : y.back() - step);
    }
    if (round % 7 == 0) {
      y[random() % y.size()] += 0.1;
    }
    y.back() = round % 11 == 0 ? 0.0 : y.back();
    double fall = 0;
    for (std::size_t i = 0; i + 1 < y.size(); ++i) {
      fall = fall + y[i] - y[i + 1];
    }
    EXPECT_EQ(std::bit_cast<std::uint64_t>(fall), std::bit_cast<std::uint64_t>(TotalFall(y))) << round;
  }
  EXPECT_EQ(0.0, TotalFall(std::vector<double>{5}));
  // Whole numbers past 2^52 whose first step rounds: 2^53 - 2 step by step, not 2^53 - 1.
  EXPECT_EQ(2 * big - 2, TotalFall(std::vector<double>{2 * big - 1, -big - 2, 0}));
}

// "name:points@x0,y0" of every series, "+r@x,y" for a return row set aside, joined by blanks.
std::string Shape(const ResultSet& set) {
  std::string shape = std::string(LayoutName(set.layout)) + " " + set.xName + "/" + set.yName;
  for (const ResultSeries& s : set.series) {
    shape += " " + s.name + ":" + std::to_string(s.x.size());
    if (!s.x.empty()) {
      shape += "@" + FormatF(s.x[0]) + "," + FormatF(s.y[0]);
    }
    if (s.returnRow) {
      shape += "+r@" + FormatF(s.returnRow->x) + "," + FormatF(s.returnRow->y);
    }
    if (!s.io.empty()) {
      shape += " io=" + FormatF(s.io[0]) + " i=" + FormatF(s.i[0]);
    }
  }
  return shape;
}

// Figures worked out by hand: ties, a plateau at an edge, a scan from high to low x, repeated positions.
TEST(ScanFigures, HandComputedSeries) {
  const struct {
    std::vector<double> x, y;
    const char* figures;
  } rows[] = {
      {{0, 1, 2, 3, 4},
       {0, 4, 10, 6, 0},
       "5 2.00000 10.00000 0.00000 0.00000 2.10000 1.16667 3.16667 2.00000 2.16667 1.50000 6.00000"},
      {{0, 0.1, 0.2, 0.3, 0.4, 0.5},
       {100, 100, 100, 20, 0, 0},
       "6 0.00000 100.00000 0.40000 0.00000 0.11250 none 0.26250 none none 0.25000 -800.00000"},
      {{4, 3, 2, 1, 0},
       {0, 4, 10, 6, 0},
       "5 2.00000 10.00000 4.00000 0.00000 1.90000 2.83333 0.83333 2.00000 1.83333 2.50000 -6.00000"},
      {{1, 1, 2},
       {0, 9, 5},
       "3 1.00000 9.00000 1.00000 0.00000 1.35714 1.00000 none none none 1.50000 -4.00000"},
  };
  for (const auto& row : rows) {
    std::string values;
    for (const auto& [key, value] : FigureTexts(FiguresOf(row.x, row.y))) {
      values += (values.empty() ? "" : " ") + value;
    }
    EXPECT_EQ(row.figures, values) << row.x.size() << " points from x = " << (row.x.empty() ? 0 : row.x[0]);
  }
}

// The figures of a decreasing-width series end with the crossing of its rows analysed alone, found by a
// second thread for a long series; the columns come back whole.
TEST(ScanFigures, DecreasingWidthSeriesCarriesItsCrossing) {
  for (const int n : {50, 100000}) {
    ResultSeries s;
    s.name = "data";
    for (int i = 0; i < n; ++i) {  // falls by 20 per step, then levels off
      s.x.push_back(n - i);
      s.y.push_back(100000 - 20 * std::min(i, std::min(n / 5, 1000)));
    }
    const BreakAnalysis alone = AnalyseRows({s.x, s.y}, kDefaultThresholdText);
    ASSERT_TRUE(alone.crossX);
    ResultSet set{ResultLayout::SlitDecScan, "slit_y1", "Intensity", {s}};
    const std::vector<FigureBlock> blocks = FigureBlocksOf(set);
    ASSERT_EQ(1u, blocks.size());
    const std::vector<std::pair<std::string, std::string>> crossing = {{"cross_x", FigureText(alone.crossX)},
                                                                       {"a0", FigureText(alone.line.a0)},
                                                                       {"a1", FigureText(alone.line.a1)},
                                                                       {"b0", FigureText(alone.level)}};
    EXPECT_TRUE(std::equal(crossing.begin(), crossing.end(), blocks[0].texts.end() - 4)) << n;
    EXPECT_EQ(s.x, set.series[0].x);
  }
}

TEST(ResultSet, EveryLayoutSplitsItsSeriesAndSetsAsideItsReturnRow) {
  struct Row {
    const char* name;
    Strings lines;
    const char* shape;
  };
  const Row rows[] = {
      {"slit scan",
       {"slit_y1, slit_y2, slit_center, Intensity", "-0.450, 0.550, -0.500, 10", "-0.200, 0.300, -0.250, 30",
        "0.050, 0.050, 0.000, 90", "0.300, -0.200, 0.250, 40", "0.550, -0.450, 0.500, 5",
        "0.050, 0.050, 0.000, 88"},
       "slit-scan slit_center/Intensity data:5@-0.500,10.000+r@0.000,88.000"},
      {"slit scan still running: its newest point is no return row",
       {"slit_z1, slit_z2, slit_center, Intensity", "2.600, -2.400, 2.500, 1", "1.600, -1.400, 1.500, 2"},
       "slit-scan slit_center/Intensity data:2@2.500,1.000"},
      {"decreasing width: no return row even at the middle position",
       {"slit_y1,slit_y2,Intensity", "0.600,0.400, 100", "0.475,0.275, 60", "0.350,0.150, 50",
        "0.475,0.275, 55"},
       "slit-dec-scan slit_y1/Intensity data:4@0.600,100.000"},
      {"collimator: I/Io plotted, Io and I kept",
       {"col_y, Io, I, I/Io", "1.000, 100.0, 50.0, 0.5", "0.500, 100.0, 80.0, 0.8", "0.000, 0.0, 3.0, 0",
        "0.500, 100.0, 79.0, 0.79"},
       "coll-scan col_y/I/Io data:3@1.000,0.500+r@0.500,0.790 io=100.000 i=50.000"},
      {"repeated GonioY scan",
       {"GonioY,Io(Repeat00),I(Repeat00),I/Io(Repeat00)", "-0.500, 10.0, 5.0, 0.5", "0.500, 10.0, 6.0, 0.6",
        "GonioY,Io(Average),I(Average),I/Io(Average)", "-0.500, 10.0, 5.0, 0.5", "0.500, 10.0, 6.0, 0.6",
        "0.000, 10.0, 7.0, 0.7"},
       "gonio-y-scan GonioY/I/Io Repeat00:2@-0.500,0.500 io=10.000 i=5.000 "
       "Average:2@-0.500,0.500+r@0.000,0.700 io=10.000 i=5.000"},
      {"gonio stage",
       {"gonio_stage_z,Io,I,I/Io", "0.800, 4.0, 1.0, 0.25", "1.000, 4.0, 2.0, 0.5", "1.200, 4.0, 1.0, 0.25",
        "1.000, 4.0, 3.0, 0.75"},
       "gonio-stage-scan gonio_stage_z/I/Io data:3@0.800,0.250+r@1.000,0.750 io=4.000 i=1.000"},
      {"generic: first column against the last; a text row ends it",
       {"time, temperature, counts", "1, 20.5, 100", "2, 20.7, 90", "3, 20.6, 95", "end", "4, 1, 1"},
       "generic time/counts generic:3@1.000,100.000"},
      {"a line past the length limit ends the data without being held",
       {"a,b", "1,2", std::string(kMaxResultLine + 1, '7'), "3,4"},
       "generic a/b generic:1@1.000,2.000"},
      {"a single column is no series", {"counts", "1", "2"}, "generic /"},
      {"an unclosed bracket names no known layout",
       {"slit_y1,slit_y2,slit_center,Intensity(Repeat0", "1,2,3,4"},
       "generic slit_y1/Intensity(Repeat0 generic:1@1.000,4.000"},
      {"far from zero the return row may lie a little further from the middle",
       {"lens_rz, Io", "0.000, 1", "10000.001, 2", "5000.004, 3"},
       "lens-scan lens_rz/Io data:2@0.000,1.000+r@5000.004,3.000"},
      {"every point at the centre, then a text row: one return row only",
       {"lens_rz, Io", "0.000, 7", "0.000, 9", "0.000, 10", "end"},
       "lens-scan lens_rz/Io data:2@0.000,7.000+r@0.000,10.000"},
  };
  test::TempDir dir;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ASSERT_TRUE(test::WriteFileBytes(dir.File("r.dat"), test::Lines(row.lines)));
    const Result<ResultSet> set = ReadResultSet(dir.File("r.dat"));
    ASSERT_TRUE(set) << set.message();
    EXPECT_EQ(row.shape, Shape(*set));
  }
}

}  // namespace
}  // namespace vesko
