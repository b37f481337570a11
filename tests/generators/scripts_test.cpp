// The scripts each generator writes, byte for byte, for its worked examples and its edge cases, and the
// scan positions they share.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "generators/coll_scan.h"
#include "generators/gonio_stage_scan.h"
#include "generators/gonio_y_scan.h"
#include "generators/lens_scan.h"
#include "generators/scan_positions.h"
#include "generators/slit_dec_scan.h"
#include "generators/slit_move.h"
#include "generators/slit_scan.h"
#include "tests/support/generator_checks.h"
#include "tests/support/generator_samples.h"

namespace vesko {
namespace {

using test::Crlf;
using test::SameText;
using test::ScriptOf;
using test::SplitLines;

// Script pieces with LF ends; Crlf gives the bytes the generators write.
const std::string kTimer = "set exptime 1.0\nTclSrv_ORTEC994:MeasureCounts:ConfigureTimer $exptime\n";
const std::string kBeamStopIn = "TclSrv_Optics:BeamStop in null\n";
const std::string kBeamStopOut = "TclSrv_Optics:BeamStop out null\n";
const std::string kShutterOpen = "TclSrv_Optics:Shutter open\n";
const std::string kShutterClose = "TclSrv_Optics:Shutter close\n";

// The head of every two-counter script: the Seikika procedure and the timer set-up.
const std::string kSeikikaHead = R"(proc Seikika {strArg} {
scan $strArg "%f %f" counterA counterB
if {$counterA == 0} {
set c 0
} else {
set c [expr $counterB / $counterA]
}
return [list $counterA, $counterB, $c]
}
)" + kTimer;

// A panel's 4D slit set before its scan: widths 0.5 (y) and 0.3 (z) around the centres 0.1 and -0.05,
// each blade move followed by a count.
const std::string kSlitSetBlock = R"(TclSrv_Optics:4DSlit {slit_y1 move 0.350}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
TclSrv_Optics:4DSlit {slit_y2 move 0.150}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
TclSrv_Optics:4DSlit {slit_z1 move 0.100}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
TclSrv_Optics:4DSlit {slit_z2 move 0.200}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
)";

// `moves`, the one-channel count and the result row `row` written into `fp`.
std::string Counted(const std::string& moves, const std::string& fp, const std::string& row) {
  return moves + "TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0\nset cnt $_ORTEC994(counterA)\nputs $" +
         fp + " \"" + row + ", $cnt\"\n";
}

std::string Blades(const std::string& pair, const std::string& blade1, const std::string& blade2) {
  return "TclSrv_Optics:4DSlit {slit_" + pair + "1 move " + blade1 + "}\nTclSrv_Optics:4DSlit {slit_" + pair +
         "2 move " + blade2 + "}\n";
}

// Each point of a two-counter scan: `mover` + " move " + position + "}", the two-channel count, Seikika and
// the result row into `fp`.
std::string TwoCounterRows(const std::string& mover, const std::string& fp,
                           const std::vector<std::string>& positions) {
  std::string text;
  for (const std::string& p : positions) {
    text += mover + " move " + p + "}\nset counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]\n" +
            "set strBuff2 [Seikika $counts]\nputs $" + fp + " \"" + p + ", $strBuff2\"\n";
  }
  return text;
}

SlitScanForm SlitForm(bool zPair, std::string slitWidth, std::string scanCenter, std::string scanWidth,
                      std::string division) {
  return {
      !zPair, zPair, std::move(slitWidth), std::move(scanCenter), std::move(scanWidth), std::move(division)};
}

const std::string kSlitOpenOne = "set fp [open C:\\\\data\\\\4DSlit1DScan.dat w+]\n";

// One point of a slit scan of `pair` into `fp`.
std::string SlitPoint(const std::string& fp, const std::string& pair, const std::string& blade1,
                      const std::string& blade2, const std::string& centre) {
  return Counted(Blades(pair, blade1, blade2), fp, blade1 + ", " + blade2 + ", " + centre);
}

TEST(SlitScanScript, WorkedExamples) {
  const std::string head = kTimer + kBeamStopIn + kShutterOpen + kSlitOpenOne;
  EXPECT_TRUE(SameText(Crlf(head + "puts $fp \"slit_y1, slit_y2, slit_center, Intensity\"\n" +
                            SlitPoint("fp", "y", "-0.450", "0.550", "-0.500") +
                            SlitPoint("fp", "y", "-0.200", "0.300", "-0.250") +
                            SlitPoint("fp", "y", "0.050", "0.050", "0.000") +
                            SlitPoint("fp", "y", "0.300", "-0.200", "0.250") +
                            SlitPoint("fp", "y", "0.550", "-0.450", "0.500") +
                            SlitPoint("fp", "y", "0.050", "0.050", "0.000") + "close $fp\n" + kShutterClose),
                       ScriptOf(SlitForm(false, "0.1", "0", "1", "5"))));
  EXPECT_TRUE(SameText(Crlf(head + "puts $fp \"slit_z1, slit_z2, slit_center, Intensity\"\n" +
                            SlitPoint("fp", "z", "2.600", "-2.400", "2.500") +
                            SlitPoint("fp", "z", "1.600", "-1.400", "1.500") +
                            SlitPoint("fp", "z", "0.600", "-0.400", "0.500") +
                            SlitPoint("fp", "z", "1.600", "-1.400", "1.500") + "close $fp\n" + kShutterClose),
                       ScriptOf(SlitForm(true, "0.2", "1.5", "2", "3"))));
  // No point blocks for a division of 0 or less: the head, the header(s), the centre block and the tail.
  const std::string single =
      Crlf(head + "puts $fp \"slit_y1, slit_y2, slit_center, Intensity\"\n" +
           SlitPoint("fp", "y", "0.750", "-0.250", "0.500") + "close $fp\n" + kShutterClose);
  const std::string repeated =
      Crlf(kTimer + kBeamStopIn + kShutterOpen +
           "set fp1 [open C:\\\\data\\\\4DSlit1DScan_Repeat.dat w+]\n"
           "set fp2 [open C:\\\\data\\\\4DSlit1DScan_Average.dat w+]\n"
           "puts $fp1 \"slit_y1,slit_y2,slit_center,Intensity(Repeat00)\"\n"
           "puts $fp1 \"slit_y1,slit_y2,slit_center,Intensity(Repeat01)\"\n"
           "puts $fp2 \"slit_y1,slit_y2,slit_center,Intensity(Average)\"\n" +
           SlitPoint("fp2", "y", "0.750", "-0.250", "0.500") + "close $fp1\nclose $fp2\n" + kShutterClose);
  for (const char* division : {"0", "-32767"}) {
    SlitScanForm form = SlitForm(false, "0.5", "0.5", "3", division);
    EXPECT_TRUE(SameText(single, ScriptOf(form))) << division;
    form.repeatActive = true;
    EXPECT_TRUE(SameText(repeated, ScriptOf(form))) << division;
  }
}

// Far from zero the blade targets lie on a 2^-10 grid and their difference on a 2^-9 grid: the centre
// column must come from the 32-bit difference, not from the exact one. Blade 2 starts from
// HalfSpan - ScanCenter already rounded to 32 bits.
TEST(SlitScanScript, CentreColumnAndBladeTwoUse32BitValues) {
  const std::vector<std::string> lines = SplitLines(ScriptOf(SlitForm(false, "0.001", "10000", "0.01", "2")));
  EXPECT_EQ(R"(puts $fp "9999.995, -9999.994, 9999.994, $cnt")", lines.at(10));
  EXPECT_EQ(R"(puts $fp "10000.006, -10000.005, 10000.006, $cnt")", lines.at(15));
  EXPECT_EQ(R"(puts $fp "10000.001, -9999.999, 10000.000, $cnt")", lines.at(20));
}

SlitDecScanForm DecForm(std::string start, std::string end, std::string center, std::string step) {
  return {true, false, std::move(start), std::move(end), std::move(center), std::move(step)};
}

// One opening of the y pair into `fp`.
std::string DecPoint(const std::string& fp, const std::string& blade1, const std::string& blade2) {
  return Counted(Blades("y", blade1, blade2), fp, blade1 + "," + blade2);
}

// The opening narrows by the step from the start width to the end width around the centre; with the end
// above the start there is no point. Repeated: two passes from the widest opening down, then the averages
// in the same order.
TEST(SlitDecScanScript, WorkedExamples) {
  const std::string head = kTimer + "set fp [open C:\\\\data\\\\4DSlitDec1DScan.dat w+]\n" + kBeamStopIn +
                           kShutterOpen + "puts $fp \"slit_y1,slit_y2,Intensity\"\n";
  EXPECT_TRUE(SameText(Crlf(head + DecPoint("fp", "0.600", "0.400") + DecPoint("fp", "0.475", "0.275") +
                            DecPoint("fp", "0.350", "0.150") + "close $fp\n" + kShutterClose),
                       ScriptOf(DecForm("1.0", "0.5", "0.1", "0.25"))));
  EXPECT_TRUE(
      SameText(Crlf(head + "close $fp\n" + kShutterClose), ScriptOf(DecForm("0.5", "1.0", "0", "0.25"))));

  SlitDecScanForm form = DecForm("1.0", "0.5", "0.0", "0.5");
  form.repeatActive = true;
  std::string expected = kTimer +
                         "set fp1 [open C:\\\\data\\\\4DSlitDec1DScan_Repeat.dat w+]\n"
                         "set fp2 [open C:\\\\data\\\\4DSlitDec1DScan_Average.dat w+]\n" +
                         kBeamStopIn + kShutterOpen + "set cnt00 0\nset cnt01 0\n";
  for (const std::string pass : {"00", "01"}) {
    expected += "puts $fp1 \"slit_y1,slit_y2,Intensity(Repeat" + pass + ")\"\n" +
                DecPoint("fp1", "0.500", "0.500") + "set cnt00 [expr $cnt00 + $cnt]\n" +
                DecPoint("fp1", "0.250", "0.250") + "set cnt01 [expr $cnt01 + $cnt]\n";
  }
  expected +=
      "puts $fp2 \"slit_y1,slit_y2,Intensity(Average)\"\nset cnt [expr $cnt00 / 2]\nputs $fp2 \"0.500,0.500, "
      "$cnt\"\nset cnt [expr $cnt01 / 2]\nputs $fp2 \"0.250,0.250, $cnt\"\nclose $fp1\nclose $fp2\n" +
      kShutterClose;
  EXPECT_TRUE(SameText(Crlf(expected), ScriptOf(form)));
}

TEST(SlitDecScanScript, PointCountOnSinglePrecisionInputs) {
  const struct {
    const char *start, *end, *step;
    float count;
  } cases[] = {
      {"1.0", "0.1", "0.1", 9.0f},    // (1.0 - 0.1) / 0.1 lies just below 9 in single precision
      {"0.5", "1.0", "-0.25", 3.0f},  // negative step widens the opening
  };
  for (const auto& c : cases) {
    const auto p = Validate(DecForm(c.start, c.end, "0", c.step));
    ASSERT_TRUE(p.ok()) << c.start << " " << c.end << " " << c.step;
    EXPECT_EQ(PointCount(*p), c.count) << c.start << " " << c.end << " " << c.step;
  }
}

// The command file and the blade report.
TEST(SlitMoveScript, WorkedExampleAndBladeReport) {
  const auto p = Validate(SlitMoveForm{"0.2", "0.4", "0.0", "0.1"});
  ASSERT_TRUE(p.ok());
  StringSink sink;
  BuildScript(*p, sink);
  EXPECT_TRUE(SameText(Crlf(Blades("y", "0.100", "0.100") + Blades("z", "0.300", "0.100")), sink.text()));
  EXPECT_EQ(MoveReport(*p),
            "y1=0.100,y2=0.100,z1=0.300,z2=0.100,ファイルネーム=4DSlitMove.comで作成しました。");
}

// The whole script of a collimator scan of `axis` through `positions`, the slit set first when `slitBlock`
// says so.
std::string CollScript(const std::string& axis, const std::vector<std::string>& positions,
                       const std::string& slitBlock = "") {
  return Crlf(kSeikikaHead + "set fp [open C:\\\\data\\\\Coll1DScan.dat w+]\n" + kBeamStopOut + slitBlock +
              kShutterOpen + "puts $fp \"" + axis + ", Io, I, I/Io\"\n" +
              TwoCounterRows("TclSrv_Optics:Collimator {" + axis, "fp", positions) + "close $fp\n" +
              kShutterClose + kBeamStopIn);
}

// The y panel runs from the high edge down, then returns to the centre; the z panel runs upward. The slit
// is set only when ticked.
TEST(CollScanScript, WorkedExampleAndTheSlitSetOnlyWhenTicked) {
  const std::vector<std::string> y = {"1.000", "0.750", "0.500", "0.250", "0.000", "0.500"};
  CollScanForm form{0, "0.5", "1.0", "5", "Coll1DScan.com", false, "0.5", "0.3", "0.1", "-0.05"};
  EXPECT_TRUE(SameText(CollScript("col_y", y), ScriptOf(form)));
  form.move4DSlit = true;
  EXPECT_TRUE(SameText(CollScript("col_y", y, kSlitSetBlock), ScriptOf(form)));
  EXPECT_TRUE(
      SameText(CollScript("col_z", {"1.500", "2.500", "2.000"}),
               ScriptOf(CollScanForm{1, "2", "1", "2", "Coll1DScan.com", false, "0", "0", "0", "0"})));
}

// The axis runs from the high edge down, then returns to the centre.
TEST(LensScanScript, WorkedExample) {
  std::string expected = kTimer + "set fp [open C:\\\\data\\\\Lens1DScan.dat w+]\n" + kBeamStopIn +
                         kShutterOpen + "puts $fp \"lens_y, Io\"\n";
  for (const std::string x : {"0.150", "0.050", "-0.050", "-0.150", "0.000"}) {
    expected += Counted("TclSrv_Optics:Lens {lens_y move " + x + "}\n", "fp", x);
  }
  EXPECT_TRUE(SameText(Crlf(expected + "close $fp\n" + kShutterClose),
                       ScriptOf(LensScanForm{{true, false, false, false}, "0.0", "0.3", "4"})));
}

const std::string kGonioEnd = kShutterClose + kBeamStopIn;

const std::string kGonioY = "TclSrv_GStand {gonio_y";

// Generator B turns omega to each ticked angle, counts once, scans there into that angle's file, and
// turns omega back to 0 at the end; a grey box turns no angle. Generator A ignores the angles; the result
// files take the name before its first dot.
TEST(GonioYScanScript, WorkedExamples) {
  GonioYScanForm form{"0", "1", "3"};
  form.useOmega = {0, 1};
  EXPECT_TRUE(
      SameText(Crlf(kSeikikaHead + "set fp2 [open C:\\\\data\\\\GonioYScan_2.dat w+]\n" + kBeamStopOut +
                    kShutterOpen + "puts $fp2 \"GonioY,Io,I,I/Io\"\nTclSrv_Gonio {omega move -5.000}\n" +
                    "set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]\n" +
                    TwoCounterRows(kGonioY, "fp2", {"-0.500", "0.000", "0.500", "0.000"}) +
                    "close $fp2\nTclSrv_Gonio {omega move 0.000}\n" + kGonioEnd),
               test::GonioYScriptOf(form, GonioYGenerator::B)));
  form.useOmega = {2, 0};
  EXPECT_TRUE(SameText(
      Crlf(kSeikikaHead + kBeamStopOut + kShutterOpen + "TclSrv_Gonio {omega move 0.000}\n" + kGonioEnd),
      test::GonioYScriptOf(form, GonioYGenerator::B)));

  form = {"0.5", "1", "5", " run.1.tcl "};
  form.useOmega = {1, 1};
  EXPECT_TRUE(
      SameText(Crlf(kSeikikaHead + "set fp [open C:\\\\data\\\\run.dat w+]\n" + kBeamStopOut + kShutterOpen +
                    "puts $fp \"GonioY,Io,I,I/Io\"\n" +
                    TwoCounterRows(kGonioY, "fp", {"0.000", "0.250", "0.500", "0.750", "1.000", "0.500"}) +
                    "close $fp\n" + kGonioEnd),
               test::GonioYScriptOf(form, GonioYGenerator::A)));
}

// Generator A repeated: each pass adds its counts to per-point sums, the averages go to the second file with
// the integer count of passes, and only the averages' file gets the return to the centre.
TEST(GonioYScanScript, RepeatedPassesAndTheirAverages) {
  GonioYScanForm form{"0", "1", "2"};
  form.repeatActive = true;
  std::string expected = kSeikikaHead + "set fp1 [open C:\\\\data\\\\GonioYScan_Repeat.dat w+]\n" +
                         "set fp2 [open C:\\\\data\\\\GonioYScan_Average.dat w+]\n" + kBeamStopOut +
                         kShutterOpen +
                         "set counterA00 0\nset counterB00 0\nset counterA01 0\nset counterB01 0\n";
  const std::vector<std::string> x = {"-0.500", "0.500"};
  for (const std::string pass : {"00", "01"}) {
    expected +=
        "puts $fp1 \"GonioY,Io(Repeat" + pass + "),I(Repeat" + pass + "),I/Io(Repeat" + pass + ")\"\n";
    for (const std::string i : {"00", "01"}) {
      expected += TwoCounterRows(kGonioY, "fp1", {x[i == "01"]}) +
                  "scan $counts \"%f %f\" counterA counterB\n" + "set counterA" + i + " [expr $counterA" + i +
                  " + $counterA]\nset counterB" + i + " [expr $counterB" + i + " + $counterB]\n";
    }
  }
  expected += "puts $fp2 \"GonioY,Io(Average),I(Average),I/Io(Average)\"\n";
  for (const std::string i : {"00", "01"}) {
    expected += "set counterA" + i + " [expr $counterA" + i + " / 2]\nset counterB" + i + " [expr $counterB" +
                i + " / 2]\nset strBuff2 [Seikika \"$counterA" + i + " $counterB" + i + "\"]\nputs $fp2 \"" +
                x[i == "01"] + ", $strBuff2\"\n";
  }
  expected += TwoCounterRows(kGonioY, "fp2", {"0.000"}) + "close $fp1\nclose $fp2\n" + kGonioEnd;
  EXPECT_TRUE(SameText(Crlf(expected), test::GonioYScriptOf(form, GonioYGenerator::A)));
}

// The whole script of a gonio stage scan through `steps` (the slit set first when `slitBlock` says so): a
// step is a move, a count and a result row; "~x" is an approach move and a count without a row.
std::string StageScript(const std::string& axis, const std::vector<std::string>& steps,
                        const std::string& slitBlock = "") {
  std::string text = kSeikikaHead + "set fp [open C:\\\\data\\\\Gonio1DScan.dat w+]\n" + kBeamStopOut +
                     slitBlock + kShutterOpen + "puts $fp \"gonio_stage_" + axis + ",Io,I,I/Io\"\n";
  for (const std::string& s : steps) {
    const bool approach = s[0] == '~';
    text += "TclSrv_GStage {" + axis + " move " + s.substr(approach ? 1 : 0) + "}\n";
    text += "set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]\n";
    if (!approach) {
      text += "set strBuff2 [Seikika $counts]\nputs $fp \"" + s + ", $strBuff2\"\n";
    }
  }
  return Crlf(text + "close $fp\n" + kGonioEnd);
}

// The y stage is approached from 0.02 below before the first point and before the return to the
// centre; the z stage is not. All four blades are placed before the shutter opens; a grey box places none.
TEST(GonioStageScanScript, WorkedExamples) {
  GonioStageScan2Form form{0, 1, "0.5", "0.3", "0.1", "-0.05", "1.0", "0.4", "3"};
  EXPECT_TRUE(
      SameText(StageScript("y", {"~0.780", "0.800", "1.000", "1.200", "~0.980", "1.000"}, kSlitSetBlock),
               ScriptOf(form)));
  form.panel = 1;
  form.move4DSlit = 2;
  EXPECT_TRUE(SameText(StageScript("z", {"0.800", "1.000", "1.200", "1.000"}), ScriptOf(form)));
}

// The division is the 32-bit float value rounded half to even: 2.5000001 is the float 2.5, a tie that
// goes to 2 (the exact decimal would give 3). Refused: one point (no step between the edges), -32768 (no
// last index in 16 bits), and a point beyond a float: edges at 1.5e38 +- 1.5e38 fit, 3e38 + 1.5e38 does not.
TEST(ScanPositionsTest, DivisionIsTheFloatValueRoundedHalfToEven) {
  const struct {
    const char* text;
    float center, width;
    std::optional<std::int16_t> division;
  } cases[] = {
      {"2.5", 0, 1, 2},         {"3.5", 0, 1, 4},           {"-2.5", 0, 1, -2},    {"2.5000001", 0, 1, 2},
      {"32767.4", 0, 1, 32767}, {"-32766.5", 0, 1, -32766}, {"1.4", 0, 1, {}},     {"-32768", 0, 1, {}},
      {"32767.5", 0, 1, {}},    {"1e39", 0, 1, {}},         {"", 0, 1, {}},        {"3", 1.5e38f, 3e38f, 3},
      {"3", 3e38f, 3e38f, {}},  {"3", -3e38f, -3e38f, {}},  {"0", 3e38f, 3e38f, 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(TakeScanDivision(c.text, c.center, c.width), c.division) << c.text << " " << c.center;
  }
}

}  // namespace
}  // namespace vesko
