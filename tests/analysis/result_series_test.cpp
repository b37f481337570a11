#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/result_file.h"
#include "analysis/result_series.h"
#include "analysis/scan_figures.h"
#include "core/format.h"
#include "core/numbers.h"
#include "tests/support/test_support.h"

namespace vesko {
namespace {

using test::Lines;
using test::TempDir;
using test::WriteFileBytes;

// "key=value" of every figure, joined by blanks.
std::string Joined(const std::vector<std::pair<std::string, std::string>>& texts) {
  std::string joined;
  for (const auto& [key, value] : texts) {
    joined += (joined.empty() ? "" : " ") + key + "=" + value;
  }
  return joined;
}

TEST(ScanFigures, HandComputedSeries) {
  struct Row {
    const char* name;
    std::vector<double> x;
    std::vector<double> y;
    const char* expected;
  };
  const Row rows[] = {
      {"triangle peak, steepest edge tied (the first wins)",
       {0, 1, 2, 3, 4},
       {0, 4, 10, 6, 0},
       "points=5 max_x=2.00000 max_y=10.00000 min_x=0.00000 min_y=0.00000 com=2.10000 half_left=1.16667 "
       "half_right=3.16667 fwhm=2.00000 cen=2.16667 edge_x=1.50000 edge_slope=6.00000"},
      {"plateau falling at an edge: no half-maximum crossing before the peak",
       {0, 0.1, 0.2, 0.3, 0.4, 0.5},
       {100, 100, 100, 20, 0, 0},
       "points=6 max_x=0.00000 max_y=100.00000 min_x=0.40000 min_y=0.00000 com=0.11250 half_left=none "
       "half_right=0.26250 fwhm=none cen=none edge_x=0.25000 edge_slope=-800.00000"},
      {"the triangle scanned from high to low x",
       {4, 3, 2, 1, 0},
       {0, 4, 10, 6, 0},
       "points=5 max_x=2.00000 max_y=10.00000 min_x=4.00000 min_y=0.00000 com=1.90000 half_left=2.83333 "
       "half_right=0.83333 fwhm=2.00000 cen=1.83333 edge_x=2.50000 edge_slope=-6.00000"},
      {"flat",
       {1, 2, 3},
       {7, 7, 7},
       "points=3 max_x=1.00000 max_y=7.00000 min_x=1.00000 min_y=7.00000 com=none half_left=none "
       "half_right=none fwhm=none cen=none edge_x=1.50000 edge_slope=0.00000"},
      {"one point",
       {2},
       {-3},
       "points=1 max_x=2.00000 max_y=-3.00000 min_x=2.00000 min_y=-3.00000 com=none half_left=none "
       "half_right=none fwhm=none cen=none edge_x=none edge_slope=none"},
      {"repeated positions have no slope",
       {1, 1, 2},
       {0, 9, 5},
       "points=3 max_x=1.00000 max_y=9.00000 min_x=1.00000 min_y=0.00000 com=1.35714 half_left=1.00000 "
       "half_right=none fwhm=none cen=none edge_x=1.50000 edge_slope=-4.00000"},
      {"no points",
       {},
       {},
       "points=0 max_x=none max_y=none min_x=none min_y=none com=none half_left=none half_right=none "
       "fwhm=none cen=none edge_x=none edge_slope=none"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.expected, Joined(FigureTexts(FiguresOf(row.x, row.y))));
  }
}

// "name:points@x0,y0" of every series, "+r@x,y" for a return row set aside, joined by blanks.
std::string Shape(const ResultSet& set) {
  std::string shape(LayoutName(set.layout));
  shape += " " + set.xName + "/" + set.yName;
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

TEST(ResultSet, EveryLayoutSplitsItsSeriesAndSetsAsideItsReturnRow) {
  struct Row {
    const char* name;
    std::vector<std::string> lines;
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
      {"repeated slit scan, passes without return rows",
       {"slit_y1,slit_y2,slit_center,Intensity(Repeat00)", "-0.200, 0.300, -0.250, 3",
        "0.050, 0.050, 0.000, 9", "0.300, -0.200, 0.250, 4",
        "slit_y1,slit_y2,slit_center,Intensity(Repeat01)", "-0.200, 0.300, -0.250, 5",
        "0.050, 0.050, 0.000, 7", "0.300, -0.200, 0.250, 1"},
       "slit-scan slit_center/Intensity Repeat00:3@-0.250,3.000 Repeat01:3@-0.250,5.000"},
      {"average of a slit scan, ended by its return row",
       {"slit_y1,slit_y2,slit_center,Intensity(Average)", "-0.200,0.300, -0.250, 4", "0.050,0.050, 0.000, 8",
        "0.300,-0.200, 0.250, 2", "0.050, 0.050, 0.000, 9"},
       "slit-scan slit_center/Intensity Average:3@-0.250,4.000+r@0.000,9.000"},
      {"decreasing width: no return row even at the middle position",
       {"slit_y1,slit_y2,Intensity", "0.600,0.400, 100", "0.475,0.275, 60", "0.350,0.150, 50",
        "0.475,0.275, 55"},
       "slit-dec-scan slit_y1/Intensity data:4@0.600,100.000"},
      {"repeated decreasing width",
       {"slit_z1,slit_z2,Intensity(Repeat00)", "0.500,0.500, 9", "slit_z1,slit_z2,Intensity(Repeat01)",
        "0.500,0.500, 7", "slit_z1,slit_z2,Intensity(Average)"},
       "slit-dec-scan slit_z1/Intensity Repeat00:1@0.500,9.000 Repeat01:1@0.500,7.000 Average:0"},
      {"collimator: I/Io plotted, Io and I kept",
       {"col_y, Io, I, I/Io", "1.000, 100.0, 50.0, 0.5", "0.500, 100.0, 80.0, 0.8", "0.000, 0.0, 3.0, 0",
        "0.500, 100.0, 79.0, 0.79"},
       "coll-scan col_y/I/Io data:3@1.000,0.500+r@0.500,0.790 io=100.000 i=50.000"},
      {"lens",
       {"lens_rz, Io", "0.150, 7", "0.050, 9", "-0.050, 8", "-0.150, 2", "0.000, 10"},
       "lens-scan lens_rz/Io data:4@0.150,7.000+r@0.000,10.000"},
      {"repeated GonioY scan",
       {"GonioY,Io(Repeat00),I(Repeat00),I/Io(Repeat00)", "-0.500, 10.0, 5.0, 0.5", "0.500, 10.0, 6.0, 0.6",
        "GonioY,Io(Average),I(Average),I/Io(Average)", "-0.500, 10.0, 5.0, 0.5", "0.500, 10.0, 6.0, 0.6",
        "0.000, 10.0, 7.0, 0.7"},
       "gonio-y-scan GonioY/I/Io Repeat00:2@-0.500,0.500 io=10.000 i=5.000 "
       "Average:2@-0.500,0.500+r@0.000,0.700 "
       "io=10.000 i=5.000"},
      {"gonio stage",
       {"gonio_stage_z,Io,I,I/Io", "0.800, 4.0, 1.0, 0.25", "1.000, 4.0, 2.0, 0.5", "1.200, 4.0, 1.0, 0.25",
        "1.000, 4.0, 3.0, 0.75"},
       "gonio-stage-scan gonio_stage_z/I/Io data:3@0.800,0.250+r@1.000,0.750 io=4.000 i=1.000"},
      {"generic: first column against the last; a text row ends it",
       {"time, temperature, counts", "1, 20.5, 100", "2, 20.7, 90", "3, 20.6, 95", "end", "4, 1, 1"},
       "generic time/counts generic:3@1.000,100.000"},
      {"a single column is no series", {"counts", "1", "2"}, "generic /"},
  };
  TempDir dir;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ASSERT_TRUE(WriteFileBytes(dir.File("r.dat"), Lines(row.lines)));
    const Result<ResultSet> set = ReadResultSet(dir.File("r.dat"));
    ASSERT_TRUE(set) << set.message();
    EXPECT_EQ(row.shape, Shape(*set));
  }
}

// The quick reading of plain decimals gives exactly what the general conversion gives, and leaves
// every other field to it.
TEST(ResultRow, EveryFieldReadsAsToDoubleReadsIt) {
  const char* const fields[] = {"0.500",
                                "-0.000",
                                " 12 ",
                                "1e3",
                                "\"4\"",
                                "+.5",
                                "5.",
                                "0.1",
                                "1.2.3",
                                "-",
                                "",
                                " . ",
                                "99999999999999999999",
                                "9007199254740993",
                                "123456789.123456789",
                                "0.30000000000000004"};
  for (const char* field : fields) {
    SCOPED_TRACE(field);
    double read[2] = {0, 0};
    const bool ok = ReadRowNumbers(std::string(field) + ",7", read);
    const std::string unquoted = field[0] == '"' ? "4" : field;
    const std::optional<double> expected = ToDouble(unquoted);
    ASSERT_EQ(expected.has_value(), ok);
    if (ok) {
      EXPECT_EQ(*expected, read[0]);
      EXPECT_EQ(std::signbit(*expected), std::signbit(read[0]));
      EXPECT_EQ(7.0, read[1]);
    }
  }
}

TEST(ResultSet, UnreadableFilesAndOverlongLines) {
  TempDir dir;
  EXPECT_EQ("Cannot read " + dir.File("none.dat") + ": No such file or directory",
            ReadResultSet(dir.File("none.dat")).message());
  EXPECT_EQ(0u, ReadResultSet(dir.path()).message().find("Cannot read " + dir.path() + ": "));
  // A line past the limit ends the data without being held; the rows before it count.
  const std::string longLine(kMaxResultLine + 1, '7');
  ASSERT_TRUE(WriteFileBytes(dir.File("long.dat"), Lines({"a,b", "1,2", longLine, "3,4"})));
  const Result<ResultSet> set = ReadResultSet(dir.File("long.dat"));
  ASSERT_TRUE(set);
  EXPECT_EQ("generic a/b generic:1@1.000,2.000", Shape(*set));
  // A line of just the limit is kept, also when its CR ends a read piece (the second read here ends
  // right after the CR of the third line).
  ASSERT_TRUE(WriteFileBytes(dir.File("limit.dat"), Lines({"h,x", std::string(65533, 'c'),
                                                           std::string(kMaxResultLine, 'b'), "1,2"})));
  ResultLines lines(dir.File("limit.dat"));
  std::vector<std::size_t> sizes;
  while (const std::optional<std::string_view> line = lines.Next()) {
    sizes.push_back(line->size());
  }
  EXPECT_EQ((std::vector<std::size_t>{3, 65533, kMaxResultLine, 3}), sizes);
}

TEST(FigureBlocks, DecreasingWidthSeriesAlsoGetTheCrossing) {
  TempDir dir;
  ASSERT_TRUE(WriteFileBytes(
      dir.File("d.dat"),
      Lines({"slit_y1,slit_y2,Intensity", "2.000,2.000, 100", "1.500,1.500, 80", "1.000,1.000, 60",
             "0.500,0.500, 40", "0.000,0.000, 39", "-0.500,-0.500, 40", "-1.000,-1.000, 40"})));
  Result<ResultSet> set = ReadResultSet(dir.File("d.dat"));
  ASSERT_TRUE(set);
  const std::vector<FigureBlock> blocks = FigureBlocksOf(set.value());
  ASSERT_EQ(1u, blocks.size());
  const std::string text = Joined(blocks[0].texts);
  EXPECT_EQ(0u, text.find("series=data points=7 max_x=2.00000")) << text;
  EXPECT_NE(std::string::npos, text.find("cross_x=0.49167 a0=20.00000 a1=40.00000 b0=39.66667")) << text;
  EXPECT_EQ(7u, set->series[0].x.size());  // the columns came back from the crossing analysis
}

}  // namespace
}  // namespace vesko
