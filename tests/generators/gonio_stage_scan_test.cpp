#include "generators/gonio_stage_scan.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/platform.h"
#include "tests/support/generator_checks.h"

namespace vesko {
namespace {

using test::SameText;
using test::ScriptOf;
using test::WriteFileBytes;

// A panel with the slit fields 0.5, 0.3, 0.1 and -0.05, not set.
GonioStageScan2Form Form(std::int16_t panel, std::string center, std::string width, std::string division) {
  return {panel, 0, "0.5", "0.3", "0.1", "-0.05", std::move(center), std::move(width), std::move(division)};
}

// The whole script of a scan through `steps` (the slit set first when `slitBlock` says so): a step is
// a move, a count and a result row; "~x" is an approach move and a count without a row.
std::string Expected(const std::string& axis, const std::vector<std::string>& steps,
                     const std::string& slitBlock = "") {
  std::string text = std::string(test::kSeikikaHead) +
                     "set fp [open C:\\\\data\\\\Gonio1DScan.dat w+]\nTclSrv_Optics:BeamStop out null\n" +
                     slitBlock + "TclSrv_Optics:Shutter open\nputs $fp \"gonio_stage_" + axis +
                     ",Io,I,I/Io\"\n";
  for (const std::string& s : steps) {
    const bool approach = s[0] == '~';
    text += "TclSrv_GStage {" + axis + " move " + s.substr(approach ? 1 : 0) + "}\n";
    text += "set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]\n";
    if (!approach) {
      text += "set strBuff2 [Seikika $counts]\nputs $fp \"" + s + ", $strBuff2\"\n";
    }
  }
  return test::Crlf(text + "close $fp\nTclSrv_Optics:Shutter close\nTclSrv_Optics:BeamStop in null\n");
}

// The y stage is approached from 0.02 below before the first point and before the return to the
// centre. All four blades are placed before the shutter opens, whichever axis is scanned; a grey box
// places none.
TEST(GonioStageScanTest, WorkedExamples) {
  const std::vector<std::string> steps[] = {{"~0.780", "0.800", "1.000", "1.200", "~0.980", "1.000"},
                                            {"0.800", "1.000", "1.200", "1.000"}};
  for (std::int16_t panel : {0, 1}) {
    const std::string axis = panel == 0 ? "y" : "z";
    GonioStageScan2Form form = Form(panel, "1.0", "0.4", "3");
    EXPECT_TRUE(SameText(Expected(axis, steps[panel]), ScriptOf(form)));
    form.move4DSlit = 1;
    EXPECT_TRUE(SameText(Expected(axis, steps[panel], test::kSlitSetBlock), ScriptOf(form)));
    form.move4DSlit = 2;
    EXPECT_TRUE(SameText(Expected(axis, steps[panel]), ScriptOf(form)));
  }
  // Without a point only the centre is approached; a negative width approaches its high end first.
  EXPECT_TRUE(SameText(Expected("y", {"~0.980", "1.000"}), ScriptOf(Form(0, "1", "0.4", "0"))));
  EXPECT_TRUE(SameText(Expected("y", {"~1.180", "1.200", "1.000", "0.800", "~0.980", "1.000"}),
                       ScriptOf(Form(0, "1", "-0.4", "3"))));
}

}  // namespace
}  // namespace vesko
