#include "generators/gonio_stage_scan.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/line_sink.h"
#include "core/platform.h"
#include "tests/support/test_support.h"

namespace vesko {
namespace {

using test::ReadFileBytes;
using test::SameText;
using test::TempDir;
using test::WriteFileBytes;

// Golden texts are written with plain line feeds; scripts and settings end lines in CR LF.
std::string Crlf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') {
      out += '\r';
    }
    out += c;
  }
  return out;
}

GonioStageScan2Form Form(std::int16_t panel, std::string center, std::string width, std::string division) {
  GonioStageScan2Form f;
  f.panel = panel;
  f.scanCenter = std::move(center);
  f.scanWidth = std::move(width);
  f.division = std::move(division);
  f.slitWidthY = "0.5";
  f.slitCenterY = "0.1";
  f.slitWidthZ = "0.3";
  f.slitCenterZ = "-0.05";
  return f;
}

std::string Script(const GonioStageScan2Form& form) {
  const Result<GonioStageScan2Params> p = Validate(form);
  EXPECT_TRUE(p.ok()) << p.message();
  if (!p.ok()) {
    return {};
  }
  StringSink sink;
  BuildScript(*p, "C:\\data", sink);
  return sink.text();
}

const char* const kHead = R"(proc Seikika {strArg} {
scan $strArg "%f %f" counterA counterB
if {$counterA == 0} {
set c 0
} else {
set c [expr $counterB / $counterA]
}
return [list $counterA, $counterB, $c]
}
set exptime 1.0
TclSrv_ORTEC994:MeasureCounts:ConfigureTimer $exptime
set fp [open C:\\data\\Gonio1DScan.dat w+]
TclSrv_Optics:BeamStop out null
)";

const char* const kTail = R"(close $fp
TclSrv_Optics:Shutter close
TclSrv_Optics:BeamStop in null
)";

const char* const kSlitBlades = R"(TclSrv_Optics:4DSlit {slit_y1 move 0.350}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
TclSrv_Optics:4DSlit {slit_y2 move 0.150}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
TclSrv_Optics:4DSlit {slit_z1 move 0.100}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
TclSrv_Optics:4DSlit {slit_z2 move 0.200}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
)";

const char* const kWorkedExampleY = R"(TclSrv_Optics:Shutter open
puts $fp "gonio_stage_y,Io,I,I/Io"
TclSrv_GStage {y move 0.780}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
TclSrv_GStage {y move 0.800}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
set strBuff2 [Seikika $counts]
puts $fp "0.800, $strBuff2"
TclSrv_GStage {y move 1.000}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
set strBuff2 [Seikika $counts]
puts $fp "1.000, $strBuff2"
TclSrv_GStage {y move 1.200}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
set strBuff2 [Seikika $counts]
puts $fp "1.200, $strBuff2"
TclSrv_GStage {y move 0.980}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
TclSrv_GStage {y move 1.000}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
set strBuff2 [Seikika $counts]
puts $fp "1.000, $strBuff2"
)";

const char* const kWorkedExampleZ = R"(TclSrv_Optics:Shutter open
puts $fp "gonio_stage_z,Io,I,I/Io"
TclSrv_GStage {z move 0.800}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
set strBuff2 [Seikika $counts]
puts $fp "0.800, $strBuff2"
TclSrv_GStage {z move 1.000}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
set strBuff2 [Seikika $counts]
puts $fp "1.000, $strBuff2"
TclSrv_GStage {z move 1.200}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
set strBuff2 [Seikika $counts]
puts $fp "1.200, $strBuff2"
TclSrv_GStage {z move 1.000}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
set strBuff2 [Seikika $counts]
puts $fp "1.000, $strBuff2"
)";

TEST(GonioStageScanTest, WorkedExamples) {
  EXPECT_TRUE(
      SameText(Crlf(std::string(kHead) + kWorkedExampleY + kTail), Script(Form(0, "1.0", "0.4", "3"))));
  EXPECT_TRUE(
      SameText(Crlf(std::string(kHead) + kWorkedExampleZ + kTail), Script(Form(1, "1.0", "0.4", "3"))));
  // All four blades are placed before the shutter opens, whichever axis is scanned.
  for (std::int16_t panel : {0, 1}) {
    GonioStageScan2Form form = Form(panel, "1.0", "0.4", "3");
    form.move4DSlit = 1;
    EXPECT_TRUE(SameText(
        Crlf(kHead + std::string(kSlitBlades) + (panel == 0 ? kWorkedExampleY : kWorkedExampleZ) + kTail),
        Script(form)));
    form.move4DSlit = 2;  // a grey box does not place the slit
    EXPECT_TRUE(SameText(Crlf(std::string(kHead) + (panel == 0 ? kWorkedExampleY : kWorkedExampleZ) + kTail),
                         Script(form)));
  }
}

// The measured rows of a body: move, count, Seikika, row; "~x" is an approach move followed by a count.
std::string Body(const std::string& axis, const std::vector<std::string>& steps) {
  std::string text = "TclSrv_Optics:Shutter open\nputs $fp \"gonio_stage_" + axis + ",Io,I,I/Io\"\n";
  for (const std::string& s : steps) {
    const bool approach = s[0] == '~';
    text += "TclSrv_GStage {" + axis + " move " + s.substr(approach ? 1 : 0) + "}\n";
    text += "set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]\n";
    if (!approach) {
      text += "set strBuff2 [Seikika $counts]\nputs $fp \"" + s + ", $strBuff2\"\n";
    }
  }
  return text;
}

TEST(GonioStageScanTest, PointCounts) {
  const struct {
    std::int16_t panel;
    const char *width, *division;
    std::vector<std::string> steps;
  } cases[] = {
      {0, "0.4", "2", {"~0.780", "0.800", "1.200", "~0.980", "1.000"}},
      {1, "0.4", "2", {"0.800", "1.200", "1.000"}},
      {0, "0.4", "0", {"~0.980", "1.000"}},  // no point, only the return to the centre
      {1, "0.4", "-5", {"1.000"}},
      {0, "0", "2", {"~0.980", "1.000", "1.000", "~0.980", "1.000"}},
      {0, "-0.4", "3", {"~1.180", "1.200", "1.000", "0.800", "~0.980", "1.000"}},  // high end first
      {1, "0.4", "2.5", {"0.800", "1.200", "1.000"}},                              // 2.5 points are 2
      {1, "0.4", "3.5", {"0.800", "0.933", "1.067", "1.200", "1.000"}},            // 3.5 points are 4
  };
  for (const auto& c : cases) {
    const std::string axis = c.panel == 0 ? "y" : "z";
    EXPECT_TRUE(
        SameText(Crlf(kHead + Body(axis, c.steps) + kTail), Script(Form(c.panel, "1", c.width, c.division))))
        << axis << " width " << c.width << " division " << c.division;
  }
}

TEST(GonioStageScanTest, RefusedInputsInCheckOrder) {
  const GonioStageScan2Form good = Form(1, "1", "0.4", "3");
  ASSERT_TRUE(Validate(good).ok());
  const struct {
    std::string GonioStageScan2Form::*field;
    const char* text;
    const char* message;
  } cases[] = {
      {&GonioStageScan2Form::scanCenter, "", "Scan Center Error!"},
      {&GonioStageScan2Form::scanCenter, "4e38", "Scan Center Error!"},
      {&GonioStageScan2Form::scanWidth, "abc", "Scan Width Error!"},
      {&GonioStageScan2Form::division, "1", "Scan Division Error!"},
      {&GonioStageScan2Form::division, "-32768", "Scan Division Error!"},
      {&GonioStageScan2Form::division, "1e5", "Scan Division Error!"},
      {&GonioStageScan2Form::slitWidthY, "", "SlitWidthY Error!"},
      {&GonioStageScan2Form::slitWidthZ, "1,5", "SlitWidthZ Error!"},
      {&GonioStageScan2Form::slitCenterY, "-", "SlitCenterY Error!"},
      {&GonioStageScan2Form::slitCenterZ, "1e", "SlitCenterZ Error!"},
      {&GonioStageScan2Form::outputFileName, " ", "FileName Error!"},
      {&GonioStageScan2Form::outputFileName, ".tcl", "FileName Error!"},
      {&GonioStageScan2Form::outputFileName, "Gonio1DScan", "FileName Error!"},
  };
  for (const auto& c : cases) {
    GonioStageScan2Form form = good;
    form.*c.field = c.text;
    EXPECT_EQ(Validate(form).message(), c.message) << "'" << c.text << "'";
  }
  // Each check wins over the later ones; the unticked slit's fields are still checked.
  GonioStageScan2Form form = good;
  form.outputFileName = "";
  form.slitCenterZ = "";
  EXPECT_EQ(Validate(form).message(), "SlitCenterZ Error!");
  form.slitWidthY = "";
  EXPECT_EQ(Validate(form).message(), "SlitWidthY Error!");
  form.division = "x";
  EXPECT_EQ(Validate(form).message(), "Scan Division Error!");
  form.scanWidth = "x";
  EXPECT_EQ(Validate(form).message(), "Scan Width Error!");
  form.scanCenter = "x";
  EXPECT_EQ(Validate(form).message(), "Scan Center Error!");
}

class GonioStageScanSettingsTest : public ::testing::Test {
 protected:
  std::string Path(std::int16_t panel) const {
    return JoinPath(dir_.path(), GonioStageScanSettingsFile(panel));
  }
  TempDir dir_;
};

TEST_F(GonioStageScanSettingsTest, StoresConvertedValuesAndLoadsThemBack) {
  GonioStageScan2Form typed = Form(0, "0.12345", "-2", "10.5");
  typed.move4DSlit = 1;
  typed.outputFileName = " s,1.tcl ";
  const Result<GonioStageScan2Params> p = Validate(typed);
  ASSERT_TRUE(p.ok()) << p.message();
  ASSERT_FALSE(SaveSettings(Path(0), *p).has_value());
  EXPECT_EQ(ReadFileBytes(Path(0)),
            "1\r\n0.500\r\n0.300\r\n0.100\r\n-0.050\r\n0.123\r\n-2.000\r\n10\r\n\"s,1.tcl\"\r\n");

  GonioStageScan2Form loaded;
  EXPECT_TRUE(LoadSettings(Path(0), loaded));
  EXPECT_EQ(loaded.move4DSlit, 1);
  EXPECT_EQ(loaded.slitWidthY, "0.500");
  EXPECT_EQ(loaded.slitWidthZ, "0.300");
  EXPECT_EQ(loaded.slitCenterY, "0.100");
  EXPECT_EQ(loaded.slitCenterZ, "-0.050");
  EXPECT_EQ(loaded.scanCenter, "0.123");
  EXPECT_EQ(loaded.scanWidth, "-2.000");
  EXPECT_EQ(loaded.division, "10");
  EXPECT_EQ(loaded.outputFileName, "s,1.tcl");

  typed.move4DSlit = 2;  // a grey box is stored unticked
  ASSERT_FALSE(SaveSettings(Path(1), *Validate(typed)).has_value());
  EXPECT_EQ(ReadFileBytes(Path(1)).substr(0, 3), "0\r\n");
}

TEST_F(GonioStageScanSettingsTest, OneFailureRuleOverBothFiles) {
  const std::string zFile = "0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\nz.tcl\r\n";
  ASSERT_TRUE(WriteFileBytes(Path(1), zFile));

  GonioStageScan2Form y, z;
  LoadPanelSettings(dir_.path(), y, z);  // no y file: neither panel is filled
  EXPECT_EQ(z.slitWidthY, "");
  EXPECT_EQ(z.outputFileName, "Gonio1DScan.tcl");

  ASSERT_TRUE(WriteFileBytes(Path(0), "2\r\n9\r\n8\r\n"));  // cut short
  LoadPanelSettings(dir_.path(), y, z);
  EXPECT_EQ(y.move4DSlit, 2);
  EXPECT_EQ(y.slitWidthZ, "8");
  EXPECT_EQ(y.slitCenterY, "");
  EXPECT_EQ(z.slitWidthY, "");

  ASSERT_TRUE(
      WriteFileBytes(Path(0), "3\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\ny.tcl\r\n"));  // not a box value
  GonioStageScan2Form y2, z2;
  LoadPanelSettings(dir_.path(), y2, z2);
  EXPECT_EQ(y2.slitWidthY, "");
  EXPECT_EQ(z2.slitWidthY, "");
  GonioStageScan2Form combined;
  LoadCombinedSettings(Path(0), combined);
  EXPECT_EQ(combined.move4DSlit, 0);
  EXPECT_EQ(combined.slitWidthY, "1");
  EXPECT_EQ(combined.outputFileName, "y.tcl");

  ASSERT_TRUE(WriteFileBytes(Path(0), "1\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\ny.tcl\r\n"));
  GonioStageScan2Form y3, z3;
  LoadPanelSettings(dir_.path(), y3, z3);
  EXPECT_EQ(y3.outputFileName, "y.tcl");
  EXPECT_EQ(z3.slitWidthY, "1");
  EXPECT_EQ(z3.division, "7");
  EXPECT_EQ(z3.outputFileName, "z.tcl");
}

}  // namespace
}  // namespace vesko
