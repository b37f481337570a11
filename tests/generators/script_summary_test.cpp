#include "generators/script_summary.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "generators/coll_scan.h"
#include "generators/gonio_stage_scan.h"
#include "generators/gonio_y_scan.h"
#include "generators/lens_scan.h"
#include "generators/slit_dec_scan.h"
#include "generators/slit_move.h"
#include "generators/slit_scan.h"
#include "tests/support/test_support.h"

namespace vesko {
namespace {

using Lines = std::vector<std::string>;

template <typename Params>
ScriptSummary SummaryOf(const Params& p) {
  SummarySink sink;
  BuildScript(p, "C:\\data", sink);
  return sink.Summary(OutlineOf(p));
}

ScriptSummary SummaryOf(const SlitMoveParams& p) {
  SummarySink sink;
  BuildScript(p, sink);
  return sink.Summary(OutlineOf(p));
}

// Generator B: one scan per omega angle in use.
ScriptSummary SummaryOf(const GonioYScanParams& p) {
  SummarySink sink;
  BuildScriptB(p, "C:\\data", sink);
  return sink.Summary(OutlineOf(p, GonioYGenerator::B));
}

SlitDecScanParams DecScan(float start, float end, float step, float center, bool repeat) {
  return {0, start, end, center, step, "4DSlitDec1DScan.tcl", "4DSlitDec1DScan", repeat, 2};
}

CollScanParams CollScan(bool move, float slitWidthY) {
  return {0, 0.5f, 1.0f, 5, slitWidthY, 0.1f, 0, 0, move, "Coll1DScan.com", "Coll1DScan"};
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
       SummaryOf(SlitScanParams{0, 0.1f, 0, 1, 5, "4DSlit1DScan.tcl", "4DSlit1DScan", false, 0}),
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
       SummaryOf(SlitMoveParams{0.2f, 0.4f, 0, 0.1f, "4DSlitMove.com"}),
       {"Scan: slit_y1, slit_y2, slit_z1 and slit_z2, 0 points, 1 pass",
        "slit_y1: 1 move, first 0.100, last 0.100, range 0.100 to 0.100",
        "slit_y2: 1 move, first 0.100, last 0.100, range 0.100 to 0.100",
        "slit_z1: 1 move, first 0.300, last 0.300, range 0.300 to 0.300",
        "slit_z2: 1 move, first 0.100, last 0.100, range 0.100 to 0.100", "Count measurements: 0",
        kNoAxisTableLine, "Script lines: 4"}},
      {"collimator",
       SummaryOf(CollScan(false, 0)),
       {"Scan: col_y, 5 points, 1 pass", "col_y: 6 moves, first 1.000, last 0.500, range 0.000 to 1.000",
        "Count measurements: 6", Time(6), kNoAxisTableLine, "Result file: C:\\data\\Coll1DScan.dat",
        "Script lines: 42"}},
      // The count after the omega move is thrown away, but it takes its time.
      {"GonioY, second omega angle",
       SummaryOf(GonioYScanParams{0, 1, 3, {5, -5}, {false, true}, "GonioYScan.tcl", "GonioYScan", false, 0}),
       {"Scan: gonio_y, 3 points, 1 pass", "omega: 2 moves, first -5.000, last 0.000, range -5.000 to 0.000",
        "gonio_y: 4 moves, first -0.500, last 0.000, range -0.500 to 0.500", "Count measurements: 5", Time(5),
        kNoAxisTableLine, "Result file: C:\\data\\GonioYScan_2.dat", "Script lines: 37"}},
      {"gonio stage y, slit set first",
       SummaryOf(GonioStageScan2Params{0, 1.0f, 0.4f, 3, 0.5f, 0.3f, 0.1f, -0.05f, "Gonio1DScan.tcl",
                                       "Gonio1DScan", true}),
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
}

// A script passed on arrives unchanged, and its summary does not depend on how its lines were handed over.
TEST(ScriptSummaryTest, LinesOneByOneOrInBlocks) {
  const SlitDecScanParams p = DecScan(1.0f, -0.5f, 0.5f, 0, true);
  StringSink passedOn;
  SummarySink blocks(&passedOn);
  BuildScript(p, "C:\\data", blocks);
  StringSink direct;
  BuildScript(p, "C:\\data", direct);
  EXPECT_EQ(passedOn.text(), direct.text());

  SummarySink oneByOne;
  for (const std::string& line : test::SplitLines(direct.text())) {
    oneByOne.WriteLine(line);
  }
  SummarySink inOne;
  inOne.WriteLines(direct.text());
  const Lines expected = SummaryText(blocks.Summary(OutlineOf(p)));
  EXPECT_EQ(SummaryText(oneByOne.Summary(OutlineOf(p))), expected);
  EXPECT_EQ(SummaryText(inOne.Summary(OutlineOf(p))), expected);
  EXPECT_EQ(blocks.Summary({}).notes.size(), 1u);
}

TEST(ScriptSummaryTest, DurationText) {
  const struct {
    double seconds;
    const char* text;
  } rows[] = {{0, "0:00:00"},    {-3, "0:00:00"},   {0.2, "0:00:01"},       {64, "0:01:04"},
              {59.5, "0:01:00"}, {3600, "1:00:00"}, {100 * 1.1, "0:01:50"}, {360000, "100:00:00"}};
  for (const auto& row : rows) {
    EXPECT_EQ(DurationText(row.seconds), row.text) << row.seconds;
  }
}

}  // namespace
}  // namespace vesko
