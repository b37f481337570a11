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

// One row a field check, each with its own message; the first failing check decides.
TEST(GonioStageScanTest, RefusedInputsInCheckOrder) {
  const GonioStageScan2Form good = Form(1, "1", "0.4", "3");
  using F = GonioStageScan2Form;
  test::ExpectRefusals<F>(good, {{&F::scanCenter, "4e38", "Scan Center Error!"},
                                 {&F::scanWidth, "abc", "Scan Width Error!"},
                                 {&F::division, "1", "Scan Division Error!"},
                                 {&F::slitWidthY, "", "SlitWidthY Error!"},
                                 {&F::slitCenterZ, "1e", "SlitCenterZ Error!"},
                                 {&F::outputFileName, ".tcl", "FileName Error!"}});
  GonioStageScan2Form form = good;
  form.outputFileName = form.slitCenterZ = "";
  EXPECT_EQ(test::RefusalOf(form), "SlitCenterZ Error!");
  form.division = "x";
  EXPECT_EQ(test::RefusalOf(form), "Scan Division Error!");
  form.scanWidth = "x";
  EXPECT_EQ(test::RefusalOf(form), "Scan Width Error!");
  form.scanCenter = "x";
  EXPECT_EQ(test::RefusalOf(form), "Scan Center Error!");
}

class GonioStageScanSettingsTest : public ::testing::Test {
 protected:
  std::string Path(std::int16_t panel) const {
    return JoinPath(dir_.path(), GonioStageScanSettingsFile(panel));
  }
  test::TempDir dir_;
};

TEST_F(GonioStageScanSettingsTest, StoresConvertedValuesAndLoadsThemBack) {
  GonioStageScan2Form typed = Form(0, "0.12345", "-2", "10.5");
  typed.move4DSlit = 1;
  typed.outputFileName = " s,1.tcl ";
  test::ExpectSettingsRoundTrip(
      typed, Path(0), "1\r\n0.500\r\n0.300\r\n0.100\r\n-0.050\r\n0.123\r\n-2.000\r\n10\r\n\"s,1.tcl\"\r\n");
  typed.move4DSlit = 2;  // a grey box is stored unticked
  ASSERT_FALSE(SaveSettings(Path(1), *Validate(typed)).has_value());
  EXPECT_EQ(test::ReadFileBytes(Path(1)).substr(0, 3), "0\r\n");
}

// The z panel is filled only when the y file was read whole; a box value other than 0, 1 or 2 stops the
// window's reader but not the combined window's.
TEST_F(GonioStageScanSettingsTest, OneFailureRuleOverBothFiles) {
  ASSERT_TRUE(WriteFileBytes(Path(1), "0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\nz.tcl\r\n"));
  const struct {
    const char* yFile;
    int yBox;
    const char *ySlitWidthZ, *zDivision;
  } rows[] = {
      {"2\r\n9\r\n8\r\n", 2, "8", ""},  // cut short
      {"3\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\ny.tcl\r\n", 0, "", ""},
      {"1\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\ny.tcl\r\n", 1, "2", "7"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.yFile);
    ASSERT_TRUE(WriteFileBytes(Path(0), row.yFile));
    GonioStageScan2Form y, z;
    LoadPanelSettings(dir_.path(), y, z);
    EXPECT_EQ(y.move4DSlit, row.yBox);
    EXPECT_EQ(y.slitWidthZ, row.ySlitWidthZ);
    EXPECT_EQ(z.division, row.zDivision);
  }
  GonioStageScan2Form combined;
  ASSERT_TRUE(WriteFileBytes(Path(0), rows[1].yFile));
  LoadCombinedSettings(Path(0), combined);
  EXPECT_EQ(combined.move4DSlit, 0);
  EXPECT_EQ(combined.slitWidthY, "1");
  EXPECT_EQ(combined.outputFileName, "y.tcl");
}

}  // namespace
}  // namespace vesko
