#include "generators/axis_check.h"

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "generators/coll_scan.h"
#include "generators/gonio_stage_scan.h"
#include "generators/gonio_y_scan.h"
#include "generators/lens_scan.h"
#include "generators/script_summary.h"
#include "generators/slit_move.h"
#include "generators/slit_scan.h"

namespace vesko {
namespace {

using Lines = std::vector<std::string>;

AxisTable Limits(std::vector<AxisEntry> axes) {
  return {std::move(axes), std::nullopt, std::nullopt};
}

template <typename Build>
ScriptSummary Checked(const AxisTable& table, Build build) {
  SummarySink sink(nullptr, {table, {}});
  build(sink);
  return sink.Summary({});
}

// One scan of every move family, each against limits it leaves. "Point N" is the count the move is for.
TEST(AxisCheckTest, LimitNotesOfEveryMoveFamily) {
  const auto scan = [](const auto& p) { return [p](LineSink& out) { BuildScript(p, "C:\\data", out); }; };
  const struct {
    const char* name;
    AxisTable table;
    std::function<void(LineSink&)> build;
    Lines notes;
  } rows[] = {
      {"4D slit: both blades of the y pair",
       Limits({{"slit_y1", {}, 0.5, {}, {}}, {"slit_y2", -0.3, {}, {}, {}}}),
       scan(SlitScanParams{0, 0.1f, 0, 1, 5, "s.tcl", "s", false, 0}),
       {"slit_y1 goes to 0.550, above its upper limit 0.500 (first at point 5)",
        "slit_y2 goes to -0.450, below its lower limit -0.300 (first at point 5)"}},
      {"collimator: above first, then below; the farthest target named",
       Limits({{"col_y", 0.1, 0.9, {}, {}}}),
       scan(CollScanParams{0, 0.5f, 1.0f, 5, 0, 0, 0, 0, false, "c.com", "c"}),
       {"col_y goes to 1.000, above its upper limit 0.900 (first at point 1)",
        "col_y goes to 0.000, below its lower limit 0.100 (first at point 5)"}},
      {"lens",
       Limits({{"lens_y", -0.1, {}, {}, {}}}),
       scan(LensScanParams{0, 0, 0.3f, 4, "l.tcl", "l"}),
       {"lens_y goes to -0.150, below its lower limit -0.100 (first at point 4)"}},
      {"gonio y and omega; omega's last move comes after the last count",
       Limits({{"gonio_y", {}, 0.4, {}, {}}, {"omega", -4, -1, {}, {}}}),
       [](LineSink& out) {
         BuildScriptB(GonioYScanParams{0, 1, 3, {5, -5}, {false, true}, "g.tcl", "g", false, 0}, "C:\\data",
                      out);
       },
       {"omega goes to -5.000, below its lower limit -4.000 (first at point 1)",
        "omega goes to 0.000, above its upper limit -1.000 (first after point 5)",
        "gonio_y goes to 0.500, above its upper limit 0.400 (first at point 4)"}},
      {"gonio stage: the table's stage_y; four slit counts come first",
       Limits({{"stage_y", {}, 1.1, {}, {}}, {"slit_y1", -1, 1, {}, {}}}),
       scan(GonioStageScan2Params{0, 1.0f, 0.4f, 3, 0.5f, 0.3f, 0.1f, -0.05f, "g.tcl", "g", true}),
       {"stage_y goes to 1.200, above its upper limit 1.100 (first at point 8)"}},
      {"slit move: no count at all",
       Limits({{"slit_z1", {}, 0.2, {}, {}}}),
       [](LineSink& out) {
         BuildScript(SlitMoveParams{0.2f, 0.4f, 0, 0.1f, "m.com"}, out);
       },
       {"slit_z1 goes to 0.300, above its upper limit 0.200 (first at move 3)"}},
      {"a target on its limit is within it",
       Limits({{"lens_y", -0.15, 0.15, {}, {}}}),
       scan(LensScanParams{0, 0, 0.3f, 4, "l.tcl", "l"}),
       {}},
  };
  for (const auto& row : rows) {
    const ScriptSummary summary = Checked(row.table, row.build);
    ASSERT_TRUE(summary.axisReport) << row.name;
    EXPECT_EQ(summary.axisReport->limitNotes, row.notes) << row.name;
  }
}

// Lens scan 0.150, 0.050, -0.050, -0.150, 0.000 at 0.1 per second, 0.5 s settle, limits -1 and 1: the
// first move comes from -1 (1.15 away), then 0.1, 0.1, 0.1 and 0.15: 16 s of travel and 2.5 s settle.
// Five counts of 1 s plus 0.2 s; BeamStop in, Shutter open and Shutter close at 2 s each.
TEST(AxisCheckTest, EstimateOfALensScan) {
  AxisTable table = Limits({{"lens_y", -1, 1, 0.1, 0.5}});
  table.overhead = 0.2;
  table.shutter = 2;
  const ScriptSummary summary = Checked(table, [](LineSink& out) {
    BuildScript(LensScanParams{0, 0, 0.3f, 4, "l.tcl", "l"}, "C:\\data", out);
  });
  ASSERT_TRUE(summary.axisReport);
  EXPECT_NEAR(summary.axisReport->moveSeconds, 18.5, 1e-9);
  EXPECT_NEAR(summary.axisReport->countingSeconds, 6.0, 1e-9);
  EXPECT_NEAR(summary.axisReport->shutterSeconds, 6.0, 1e-9);
  const Lines text = SummaryText(summary);
  EXPECT_EQ(
      Lines(text.begin() + 2, text.begin() + 4),
      (Lines{"Estimated run time 0:00:31 (counting 0:00:06, moves 0:00:19, shutter and beam stop 0:00:06)",
             "Moves: first move of each axis counted from its farther limit"}));

  // Without a speed only the settle counts, and the axis is named; an axis without limits starts at once.
  table.axes = {{"lens_y", {}, {}, 0.1, 0.5}};
  const auto untimedOrUnlimited = [](const AxisTable& t) {
    return Checked(t,
                   [](LineSink& out) {
                     BuildScript(LensScanParams{0, 0, 0.3f, 4, "l.tcl", "l"}, "C:\\data", out);
                   })
        .axisReport;
  };
  EXPECT_NEAR(untimedOrUnlimited(table)->moveSeconds, 4.5 + 2.5, 1e-9);
  table.axes = {{"lens_y", -1, 1, {}, 0.5}};
  EXPECT_NEAR(untimedOrUnlimited(table)->moveSeconds, 2.5, 1e-9);
  EXPECT_EQ(untimedOrUnlimited(table)->untimed, Lines{"lens_y"});
  table.axes = {};
  ScriptSummary notTimed;
  notTimed.axisReport = untimedOrUnlimited(table);
  EXPECT_EQ(SummaryText(notTimed).at(2), "Moves not timed (no speed in the axis table): lens_y");
}

// The chart's series: each axis' targets against the script's move number, with its limits.
TEST(AxisCheckTest, ChartSeriesOfASlitScan) {
  const ScriptSummary summary = Checked(Limits({{"slit_y1", -0.4, 0.5, {}, {}}}), [](LineSink& out) {
    BuildScript(SlitScanParams{0, 0.1f, 0, 1, 5, "s.tcl", "s", false, 0}, "C:\\data", out);
  });
  ASSERT_TRUE(summary.axisReport);
  const std::vector<AxisPath>& paths = summary.axisReport->paths;
  ASSERT_EQ(paths.size(), 2u);
  EXPECT_EQ(paths[0].axis, "slit_y1");
  EXPECT_EQ(paths[0].lower, -0.4);
  EXPECT_EQ(paths[0].upper, 0.5);
  using Points = std::vector<std::pair<std::uint64_t, double>>;
  EXPECT_EQ(paths[0].points, (Points{{1, -0.45}, {3, -0.2}, {5, 0.05}, {7, 0.3}, {9, 0.55}, {11, 0.05}}));
  EXPECT_EQ(paths[1].axis, "slit_y2");
  EXPECT_FALSE(paths[1].lower || paths[1].upper);
  EXPECT_EQ(paths[1].points, (Points{{2, 0.55}, {4, 0.3}, {6, 0.05}, {8, -0.2}, {10, -0.45}, {12, 0.05}}));
}

// A long path is thinned evenly and stays bounded; the notes still see every move.
TEST(AxisCheckTest, LongPathsAreThinnedForTheChart) {
  AxisCheck check(Limits({{"col_y", {}, 100000, {}, {}}}));
  constexpr std::uint64_t kMoves = 5 * kChartPointsPerAxis + 3;
  for (std::uint64_t k = 0; k < kMoves; ++k) {
    const bool last = k == kMoves - 1;
    check.Move("TclSrv_Optics:Collimator", "col_y", last ? "200000.000" : "1.000", last ? 200000 : 1);
    check.Measure(1, 1);
  }
  const AxisReport report = check.Report();
  const auto& points = report.paths.at(0).points;
  EXPECT_LE(points.size(), kChartPointsPerAxis);
  EXPECT_GE(points.size(), kChartPointsPerAxis / 2);
  EXPECT_EQ(points.front().first, 1u);
  EXPECT_EQ(points[1].first - points[0].first, points.back().first - points[points.size() - 2].first);
  EXPECT_EQ(report.limitNotes,
            Lines{"col_y goes to 200000.000, above its upper limit 100000.000 (first at point 10003)"});
}

}  // namespace
}  // namespace vesko
