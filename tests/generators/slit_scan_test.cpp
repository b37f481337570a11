#include "generators/slit_scan.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/generator_checks.h"

namespace vesko {
namespace {

using test::Crlf;
using test::SameText;
using test::ScriptOf;
using test::SplitLines;

SlitScanForm Form(bool zPair, std::string slitWidth, std::string scanCenter, std::string scanWidth,
                  std::string division) {
  return {
      !zPair, zPair, std::move(slitWidth), std::move(scanCenter), std::move(scanWidth), std::move(division)};
}

const std::string kHead =
    "set exptime 1.0\nTclSrv_ORTEC994:MeasureCounts:ConfigureTimer $exptime\nTclSrv_Optics:BeamStop in null\n"
    "TclSrv_Optics:Shutter open\n";
const std::string kOpenOne = "set fp [open C:\\\\data\\\\4DSlit1DScan.dat w+]\n";
const std::string kOpenTwo =
    "set fp1 [open C:\\\\data\\\\4DSlit1DScan_Repeat.dat w+]\nset fp2 [open "
    "C:\\\\data\\\\4DSlit1DScan_Average.dat w+]\n";
const std::string kTail = "close $fp\nTclSrv_Optics:Shutter close\n";

// The two blade moves of `pair`, the count and the result row of one point, written into `fp`.
std::string Point(const std::string& fp, const std::string& pair, const std::string& blade1,
                  const std::string& blade2, const std::string& centre) {
  return "TclSrv_Optics:4DSlit {slit_" + pair + "1 move " + blade1 + "}\nTclSrv_Optics:4DSlit {slit_" + pair +
         "2 move " + blade2 +
         "}\nTclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0\nset cnt $_ORTEC994(counterA)\n" + "puts $" +
         fp + " \"" + blade1 + ", " + blade2 + ", " + centre + ", $cnt\"\n";
}

TEST(SlitScanScript, WorkedExamples) {
  EXPECT_TRUE(SameText(
      Crlf(kHead + kOpenOne + "puts $fp \"slit_y1, slit_y2, slit_center, Intensity\"\n" +
           Point("fp", "y", "-0.450", "0.550", "-0.500") + Point("fp", "y", "-0.200", "0.300", "-0.250") +
           Point("fp", "y", "0.050", "0.050", "0.000") + Point("fp", "y", "0.300", "-0.200", "0.250") +
           Point("fp", "y", "0.550", "-0.450", "0.500") + Point("fp", "y", "0.050", "0.050", "0.000") +
           kTail),
      ScriptOf(Form(false, "0.1", "0", "1", "5"))));
  EXPECT_TRUE(SameText(
      Crlf(kHead + kOpenOne + "puts $fp \"slit_z1, slit_z2, slit_center, Intensity\"\n" +
           Point("fp", "z", "2.600", "-2.400", "2.500") + Point("fp", "z", "1.600", "-1.400", "1.500") +
           Point("fp", "z", "0.600", "-0.400", "0.500") + Point("fp", "z", "1.600", "-1.400", "1.500") +
           kTail),
      ScriptOf(Form(true, "0.2", "1.5", "2", "3"))));
}

// No point blocks: the head, the header(s), the centre block and the tail.
TEST(SlitScanScript, DivisionZeroOrNegativeWritesOnlyTheCentre) {
  const std::string single =
      Crlf(kHead + kOpenOne + "puts $fp \"slit_y1, slit_y2, slit_center, Intensity\"\n" +
           Point("fp", "y", "0.750", "-0.250", "0.500") + kTail);
  const std::string repeated = Crlf(kHead + kOpenTwo +
                                    "puts $fp1 \"slit_y1,slit_y2,slit_center,Intensity(Repeat00)\"\n"
                                    "puts $fp1 \"slit_y1,slit_y2,slit_center,Intensity(Repeat01)\"\n"
                                    "puts $fp2 \"slit_y1,slit_y2,slit_center,Intensity(Average)\"\n" +
                                    Point("fp2", "y", "0.750", "-0.250", "0.500") +
                                    "close $fp1\nclose $fp2\nTclSrv_Optics:Shutter close\n");
  for (const char* division : {"0", "-32767"}) {
    SlitScanForm form = Form(false, "0.5", "0.5", "3", division);
    EXPECT_TRUE(SameText(single, ScriptOf(form))) << division;
    form.repeatActive = true;
    EXPECT_TRUE(SameText(repeated, ScriptOf(form))) << division;
  }
}

TEST(SlitScanScript, MoreThanHundredPointsGetThreeDigitCounters) {
  SlitScanForm form = Form(true, "0.1", "0", "10.1", "102");
  form.repeatActive = true;
  const std::vector<std::string> lines = SplitLines(ScriptOf(form));
  auto count = [&](const std::string& wanted) { return std::count(lines.begin(), lines.end(), wanted); };
  EXPECT_EQ(1, count("set cnt99 0"));
  EXPECT_EQ(1, count("set cnt101 0"));
  EXPECT_EQ(0, count("set cnt102 0"));
  EXPECT_EQ(2, count("set cnt101 [expr $cnt101 + $cnt]"));
  EXPECT_EQ(1, count("set cnt [expr $cnt100 / 2]"));
  // The high end first in each z pass: 10.1 wide in 101 steps of 0.1.
  EXPECT_EQ("TclSrv_Optics:4DSlit {slit_z1 move 5.100}", lines[4 + 2 + 102 + 1]);
  // Head 4, opens 2, accumulators 102, two passes of a header and 102 six-line points,
  // the average header, 102 two-line averages, the centre block 5, closes 2, shutter 1.
  EXPECT_EQ(4u + 2 + 102 + 2 * (1 + 102 * 6) + 1 + 102 * 2 + 5 + 2 + 1, lines.size());
}

// Far from zero the blade targets lie on a 2^-10 grid and their difference on a 2^-9 grid: the centre
// column must come from the 32-bit difference, not from the exact one. Blade 2 starts from
// HalfSpan - ScanCenter already rounded to 32 bits.
TEST(SlitScanScript, CentreColumnAndBladeTwoUse32BitValues) {
  std::vector<std::string> lines = SplitLines(ScriptOf(Form(false, "0.001", "10000", "0.01", "2")));
  EXPECT_EQ(R"(puts $fp "9999.995, -9999.994, 9999.994, $cnt")", lines.at(10));
  EXPECT_EQ(R"(puts $fp "10000.006, -10000.005, 10000.006, $cnt")", lines.at(15));
  EXPECT_EQ(R"(puts $fp "10000.001, -9999.999, 10000.000, $cnt")", lines.at(20));
  lines = SplitLines(ScriptOf(Form(false, "0.001", "10000", "0.3", "2")));
  EXPECT_EQ(R"(puts $fp "9999.851, -9999.849, 9999.850, $cnt")", lines.at(10));
  EXPECT_EQ(R"(puts $fp "10000.150, -10000.149, 10000.150, $cnt")", lines.at(15));
}

}  // namespace
}  // namespace vesko
