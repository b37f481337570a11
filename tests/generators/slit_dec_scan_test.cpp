#include "generators/slit_dec_scan.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/platform.h"
#include "tests/support/generator_checks.h"

namespace vesko {
namespace {

using test::Crlf;
using test::SameText;
using test::ScriptOf;

SlitDecScanForm YForm(std::string start, std::string end, std::string center, std::string step) {
  return {true, false, std::move(start), std::move(end), std::move(center), std::move(step)};
}

const std::string kHead = "set exptime 1.0\nTclSrv_ORTEC994:MeasureCounts:ConfigureTimer $exptime\n";
const std::string kOpenOne = "set fp [open C:\\\\data\\\\4DSlitDec1DScan.dat w+]\n";
const std::string kShutterOpen = "TclSrv_Optics:BeamStop in null\nTclSrv_Optics:Shutter open\n";

// Both blades of the y pair, the count and the result row of one opening, written into `fp`.
std::string Point(const std::string& fp, const std::string& blade1, const std::string& blade2) {
  return "TclSrv_Optics:4DSlit {slit_y1 move " + blade1 + "}\nTclSrv_Optics:4DSlit {slit_y2 move " + blade2 +
         "}\nTclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0\nset cnt $_ORTEC994(counterA)\nputs $" + fp +
         " \"" + blade1 + "," + blade2 + ", $cnt\"\n";
}

// The opening narrows by the step from the start width to the end width around the centre.
TEST(SlitDecScanTest, SingleScanWorkedExample) {
  EXPECT_TRUE(SameText(Crlf(kHead + kOpenOne + kShutterOpen + "puts $fp \"slit_y1,slit_y2,Intensity\"\n" +
                            Point("fp", "0.600", "0.400") + Point("fp", "0.475", "0.275") +
                            Point("fp", "0.350", "0.150") + "close $fp\nTclSrv_Optics:Shutter close\n"),
                       ScriptOf(YForm("1.0", "0.5", "0.1", "0.25"))));
  // End above start: no point lines.
  EXPECT_TRUE(
      SameText(Crlf(kHead + kOpenOne + kShutterOpen +
                    "puts $fp \"slit_y1,slit_y2,Intensity\"\nclose $fp\nTclSrv_Optics:Shutter close\n"),
               ScriptOf(YForm("0.5", "1.0", "0", "0.25"))));
}

// Two passes from the widest opening down, then the averages in the same order; 42 lines.
TEST(SlitDecScanTest, RepeatedWorkedExample) {
  SlitDecScanForm form = YForm("1.0", "0.5", "0.0", "0.5");
  form.repeatActive = true;
  std::string expected = kHead +
                         "set fp1 [open C:\\\\data\\\\4DSlitDec1DScan_Repeat.dat w+]\n"
                         "set fp2 [open C:\\\\data\\\\4DSlitDec1DScan_Average.dat w+]\n" +
                         kShutterOpen + "set cnt00 0\nset cnt01 0\n";
  for (const std::string pass : {"00", "01"}) {
    expected += "puts $fp1 \"slit_y1,slit_y2,Intensity(Repeat" + pass + ")\"\n" +
                Point("fp1", "0.500", "0.500") + "set cnt00 [expr $cnt00 + $cnt]\n" +
                Point("fp1", "0.250", "0.250") + "set cnt01 [expr $cnt01 + $cnt]\n";
  }
  expected +=
      "puts $fp2 \"slit_y1,slit_y2,Intensity(Average)\"\nset cnt [expr $cnt00 / 2]\nputs $fp2 \"0.500,0.500, "
      "$cnt\"\n"
      "set cnt [expr $cnt01 / 2]\nputs $fp2 \"0.250,0.250, $cnt\"\nclose $fp1\nclose "
      "$fp2\nTclSrv_Optics:Shutter close\n";
  EXPECT_EQ(42u, test::SplitLines(Crlf(expected)).size());
  EXPECT_TRUE(SameText(Crlf(expected), ScriptOf(form)));
}

TEST(SlitDecScanTest, PointCountOnSinglePrecisionInputs) {
  const struct {
    const char *start, *end, *step;
    float count;
  } cases[] = {
      {"1.0", "0.1", "0.1", 9.0f},    // (1.0 - 0.1) / 0.1 lies just below 9 in single precision
      {"1.0", "0.0", "0.1", 10.0f},   //
      {"2.0", "0.0", "0.5", 5.0f},    //
      {"0.5", "1.0", "0.25", -1.0f},  // end above start: no point
      {"0.5", "1.0", "-0.25", 3.0f},  // negative step widens the opening
  };
  for (const auto& c : cases) {
    const auto p = Validate(YForm(c.start, c.end, "0", c.step));
    ASSERT_TRUE(p.ok()) << c.start << " " << c.end << " " << c.step;
    EXPECT_EQ(PointCount(*p), c.count) << c.start << " " << c.end << " " << c.step;
  }
}

// A negative step widens the opening; the z pair takes the blades of its own header.
TEST(SlitDecScanTest, NegativeStepOpensUpwardOnZPair) {
  SlitDecScanForm form = YForm("0.2", "0.4", "0.05", "-0.1");
  std::swap(form.axisY, form.axisZ);
  const std::string script = ScriptOf(form);
  for (const char* part : {"puts $fp \"slit_z1,slit_z2,Intensity\"\r\n",
                           "{slit_z1 move 0.150}\r\nTclSrv_Optics:4DSlit {slit_z2 move 0.050}",
                           "{slit_z1 move 0.250}\r\nTclSrv_Optics:4DSlit {slit_z2 move 0.150}"}) {
    EXPECT_NE(script.find(part), std::string::npos) << part;
  }
  EXPECT_EQ(script.find("slit_y"), std::string::npos);
}

}  // namespace
}  // namespace vesko
