// What the summary, the axis check and the destination line say about the scripts the generators write.

#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "generators/axis_check.h"
#include "generators/coll_scan.h"
#include "generators/gonio_stage_scan.h"
#include "generators/gonio_y_scan.h"
#include "generators/lens_scan.h"
#include "generators/script_summary.h"
#include "generators/slit_dec_scan.h"
#include "generators/slit_move.h"
#include "generators/slit_scan.h"

namespace vesko {
namespace {

using Lines = std::vector<std::string>;

CollScanParams CollScan(bool move, float slitWidthY) {
  return {0, 0.5f, 1.0f, 5, slitWidthY, 0.1f, 0, 0, move, "Coll1DScan.com", "Coll1DScan"};
}

// The worked examples' inputs.
const SlitScanParams kSlit{0, 0.1f, 0, 1, 5, "4DSlit1DScan.tcl", "4DSlit1DScan", false, 0};
const SlitMoveParams kMove{0.2f, 0.4f, 0, 0.1f, "4DSlitMove.com"};
const CollScanParams kColl = CollScan(false, 0);
const LensScanParams kLens{0, 0, 0.3f, 4, "l.tcl", "l"};
const GonioYScanParams kGonioY{0, 1, 3, {5, -5}, {false, true}, "GonioYScan.tcl", "GonioYScan", false, 0};
const GonioStageScan2Params kStage{
    0, 1.0f, 0.4f, 3, 0.5f, 0.3f, 0.1f, -0.05f, "Gonio1DScan.tcl", "Gonio1DScan", true};

// The summary of the script its window writes for `p` (the GonioY window's generator B: one scan per omega
// angle in use), its moves checked against `table` when there is one.
template <typename Params>
ScriptSummary SummaryOf(const Params& p, std::optional<AxisTable> table = std::nullopt) {
  SummarySink sink(nullptr, {std::move(table), {}});
  if constexpr (std::is_same_v<Params, SlitMoveParams>) {
    BuildScript(p, sink);
    return sink.Summary(OutlineOf(p));
  } else if constexpr (std::is_same_v<Params, GonioYScanParams>) {
    BuildScriptB(p, "C:\\data", sink);
    return sink.Summary(OutlineOf(p, GonioYGenerator::B));
  } else {
    BuildScript(p, "C:\\data", sink);
    return sink.Summary(OutlineOf(p));
  }
}

AxisTable Limits(std::vector<AxisEntry> axes) {
  return {std::move(axes), std::nullopt, std::nullopt};
}

SlitDecScanParams DecScan(float start, float end, float step, float center, bool repeat) {
  return {0, start, end, center, step, "4DSlitDec1DScan.tcl", "4DSlitDec1DScan", repeat, 2};
}

std::string Time(int seconds) {
  return "Counting time: at least 0:00:" + std::string(seconds < 10 ? "0" : "") + std::to_string(seconds) +
         " of counting; motor moves come on top";
}

// The figures of each worked example, counted from the lines the window writes (the lens scan's are in the
// command line's test). The y pair returns to the centre with blade 1 first: for a moment the blades
// overlap, but only the openings they stand at count.
TEST(ScriptSummaryTest, WorkedExamples) {
  const struct {
    const char* name;
    ScriptSummary summary;
    Lines expected;
  } rows[] = {
      {"slit scan, y pair",
       SummaryOf(kSlit),
       {"Scan: slit_y1 and slit_y2, 5 points, 1 pass",
        "slit_y1: 6 moves, first -0.450, last 0.050, range -0.450 to 0.550",
        "slit_y2: 6 moves, first 0.550, last 0.050, range -0.450 to 0.550", "Count measurements: 6", Time(6),
        kNoAxisTableLine, "Result file: C:\\data\\4DSlit1DScan.dat", "Script lines: 38"}},
      {"decreasing width, repeated",
       SummaryOf(DecScan(1.0f, 0.5f, 0.5f, 0, true)),
       {"Scan: slit_y1 and slit_y2, 2 points, 2 passes",
        "slit_y1: 4 moves, first 0.500, last 0.250, range 0.250 to 0.500",
        "slit_y2: 4 moves, first 0.500, last 0.250, range 0.250 to 0.500", "Count measurements: 4", Time(4),
        kNoAxisTableLine, "Result file: C:\\data\\4DSlitDec1DScan_Repeat.dat",
        "Result file: C:\\data\\4DSlitDec1DScan_Average.dat", "Script lines: 42"}},
      {"slit move",
       SummaryOf(kMove),
       {"Scan: slit_y1, slit_y2, slit_z1 and slit_z2, 0 points, 1 pass",
        "slit_y1: 1 move, first 0.100, last 0.100, range 0.100 to 0.100",
        "slit_y2: 1 move, first 0.100, last 0.100, range 0.100 to 0.100",
        "slit_z1: 1 move, first 0.300, last 0.300, range 0.300 to 0.300",
        "slit_z2: 1 move, first 0.100, last 0.100, range 0.100 to 0.100", "Count measurements: 0",
        kNoAxisTableLine, "Script lines: 4"}},
      {"collimator",
       SummaryOf(kColl),
       {"Scan: col_y, 5 points, 1 pass", "col_y: 6 moves, first 1.000, last 0.500, range 0.000 to 1.000",
        "Count measurements: 6", Time(6), kNoAxisTableLine, "Result file: C:\\data\\Coll1DScan.dat",
        "Script lines: 42"}},
      // The count after the omega move is thrown away, but it takes its time.
      {"GonioY, second omega angle",
       SummaryOf(kGonioY),
       {"Scan: gonio_y, 3 points, 1 pass", "omega: 2 moves, first -5.000, last 0.000, range -5.000 to 0.000",
        "gonio_y: 4 moves, first -0.500, last 0.000, range -0.500 to 0.500", "Count measurements: 5", Time(5),
        kNoAxisTableLine, "Result file: C:\\data\\GonioYScan_2.dat", "Script lines: 37"}},
      {"gonio stage y, slit set first",
       SummaryOf(kStage),
       {"Scan: gonio stage y, 3 points, 1 pass",
        "slit_y1: 1 move, first 0.350, last 0.350, range 0.350 to 0.350",
        "slit_y2: 1 move, first 0.150, last 0.150, range 0.150 to 0.150",
        "slit_z1: 1 move, first 0.100, last 0.100, range 0.100 to 0.100",
        "slit_z2: 1 move, first 0.200, last 0.200, range 0.200 to 0.200",
        "y: 6 moves, first 0.780, last 1.000, range 0.780 to 1.200", "Count measurements: 10", Time(10),
        kNoAxisTableLine, "Result file: C:\\data\\Gonio1DScan.dat", "Script lines: 46"}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(SummaryText(row.summary), row.expected) << row.name;
  }
  EXPECT_EQ(OutlineOf(DecScan(0.5f, 0.5f, 0.1f, 0, false)).points, 1);  // a width that stays is one point
}

TEST(ScriptSummaryTest, NotesThatDoNotBlock) {
  const struct {
    const char* name;
    ScriptSummary summary;
    Lines notes;
  } rows[] = {
      {"opening closes past zero: one note, at the first crossing",
       SummaryOf(DecScan(0.2f, -0.2f, 0.1f, 0, false)),
       {"Blades slit_y1 and slit_y2 cross: their opening is -0.100."}},
      {"negative slit width set before the scan",
       SummaryOf(CollScan(true, -0.2f)),
       {"Blades slit_y1 and slit_y2 cross: their opening is -0.200."}},
      {"crossing pair moved last",
       SummaryOf(SlitMoveParams{0.2f, -0.4f, 0, 0.1f, "m.com"}),
       {"Blades slit_z1 and slit_z2 cross: their opening is -0.400."}},
      {"zero width",
       SummaryOf(LensScanParams{2, 1, 0, 3, "l.tcl", "l"}),
       {"Scan Width is 0: every point is at the scan centre."}},
      {"slit wider than the scan",
       SummaryOf(SlitScanParams{0, 0.5f, 0, 0.3f, 3, "s.tcl", "s", false, 0}),
       {"Slit Width 0.500 is larger than Scan Width 0.300."}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(row.summary.notes, row.notes) << row.name;
  }
  for (const std::uint64_t lines : {10000, 10001}) {
    SummarySink sink;
    for (std::uint64_t k = 0; k < lines; ++k) {
      sink.WriteLine("puts $fp \"0.000, $cnt\"");
    }
    EXPECT_EQ(sink.Summary({}).notes,
              lines == 10000 ? Lines{} : Lines{"The script has 10001 lines, more than 10,000."});
  }
  // The other pair's move ends this pair's moves: the crossing counts though the pair opens again later.
  SummarySink sink;
  for (const char* axisMove :
       {"slit_y1 move -0.500", "slit_y2 move 0.000", "slit_z1 move 1.000", "slit_y1 move 0.500"}) {
    sink.WriteLine(std::string("TclSrv_Optics:Slit {") + axisMove + "}");
  }
  EXPECT_EQ(sink.Summary({}).notes, Lines{"Blades slit_y1 and slit_y2 cross: their opening is -0.500."});
}

// The move families against limits they leave (the slit scan's in the command line's test). "Point N" is
// the count the move is for.
TEST(AxisCheckTest, LimitNotesOfTheMoveFamilies) {
  const struct {
    const char* name;
    ScriptSummary summary;
    Lines notes;
  } rows[] = {
      {"gonio y and omega; omega's last move comes after the last count",
       SummaryOf(kGonioY, Limits({{"gonio_y", {}, 0.4, {}, {}}, {"omega", -4, -1, {}, {}}})),
       {"omega goes to -5.000, below its lower limit -4.000 (first at point 1)",
        "omega goes to 0.000, above its upper limit -1.000 (first after point 5)",
        "gonio_y goes to 0.500, above its upper limit 0.400 (first at point 4)"}},
      {"gonio stage: the table's stage_y; four slit counts come first",
       SummaryOf(kStage, Limits({{"stage_y", {}, 1.1, {}, {}}, {"slit_y1", -1, 1, {}, {}}})),
       {"stage_y goes to 1.200, above its upper limit 1.100 (first at point 8)"}},
      {"slit move: no count at all",
       SummaryOf(kMove, Limits({{"slit_z1", {}, 0.2, {}, {}}})),
       {"slit_z1 goes to 0.300, above its upper limit 0.200 (first at move 3)"}},
      {"a target on its limit is within it", SummaryOf(kLens, Limits({{"lens_y", -0.15, 0.15, {}, {}}})), {}},
  };
  for (const auto& row : rows) {
    ASSERT_TRUE(row.summary.axisReport) << row.name;
    EXPECT_EQ(row.summary.axisReport->limitNotes, row.notes) << row.name;
  }
}

// Lens scan 0.150, 0.050, -0.050, -0.150, 0.000 at 0.1 per second, 0.5 s settle, limits -1 and 1: the
// first move comes from -1 (1.15 away), then 0.1, 0.1, 0.1 and 0.15: 16 s of travel and 2.5 s settle.
// Five counts of 1 s plus 0.2 s; BeamStop in, Shutter open and Shutter close at 2 s each.
TEST(AxisCheckTest, EstimateOfALensScan) {
  AxisTable table = Limits({{"lens_y", -1, 1, 0.1, 0.5}});
  table.overhead = 0.2;
  table.shutter = 2;
  const ScriptSummary summary = SummaryOf(kLens, table);
  ASSERT_TRUE(summary.axisReport);
  EXPECT_NEAR(summary.axisReport->moveSeconds, 18.5, 1e-9);
  const Lines text = SummaryText(summary);
  EXPECT_EQ(
      Lines(text.begin() + 3, text.begin() + 5),
      (Lines{"Estimated run time 0:00:31 (counting 0:00:06, moves 0:00:19, shutter and beam stop 0:00:06)",
             "Moves: first move of each axis counted from its farther limit"}));

  // Without a speed only the settle counts, and the axis is named; an axis without limits starts at once.
  table.axes = {{"lens_y", {}, {}, 0.1, 0.5}};
  const auto untimedOrUnlimited = [](const AxisTable& t) { return SummaryOf(kLens, t).axisReport; };
  EXPECT_NEAR(untimedOrUnlimited(table)->moveSeconds, 4.5 + 2.5, 1e-9);
  table.axes = {{"lens_y", -1, 1, {}, 0.5}};
  EXPECT_NEAR(untimedOrUnlimited(table)->moveSeconds, 2.5, 1e-9);
  EXPECT_EQ(untimedOrUnlimited(table)->untimed, Lines{"lens_y"});
  table.axes = {};
  ScriptSummary notTimed;
  notTimed.axisReport = untimedOrUnlimited(table);
  EXPECT_EQ(SummaryText(notTimed).at(2), "Moves not timed (no speed in the axis table): lens_y");
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
  for (std::size_t k = 1; k < points.size(); ++k) {  // evenly spaced, across every thinning
    EXPECT_EQ(points[k].first - points[k - 1].first, points[1].first - points[0].first) << k;
  }
  EXPECT_EQ(report.limitNotes,
            Lines{"col_y goes to 200000.000, above its upper limit 100000.000 (first at point 10003)"});
}

}  // namespace
}  // namespace vesko
