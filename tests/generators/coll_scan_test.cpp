#include "generators/coll_scan.h"

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

CollScanForm Form(std::int16_t panel, std::string center, std::string width, std::string division) {
  CollScanForm f;
  f.panel = panel;
  f.scanCenter = std::move(center);
  f.scanWidth = std::move(width);
  f.division = std::move(division);
  f.slitWidthY = f.slitWidthZ = f.slitCenterY = f.slitCenterZ = "0";
  return f;
}

std::string Script(const CollScanForm& form) {
  const Result<CollScanParams> p = Validate(form);
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
set fp [open C:\\data\\Coll1DScan.dat w+]
TclSrv_Optics:BeamStop out null
)";

const char* const kTail = R"(close $fp
TclSrv_Optics:Shutter close
TclSrv_Optics:BeamStop in null
)";

// The move, the two-channel count, Seikika and the result row of each position, in order.
std::string Rows(const std::string& axis, const std::vector<std::string>& positions) {
  std::string text;
  for (const std::string& p : positions) {
    text += "TclSrv_Optics:Collimator {" + axis + " move " + p + "}\n";
    text += "set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]\n";
    text += "set strBuff2 [Seikika $counts]\n";
    text += "puts $fp \"" + p + ", $strBuff2\"\n";
  }
  return text;
}

std::string Expected(const std::string& axis, const std::vector<std::string>& positions,
                     const std::string& slitBlock = "") {
  return Crlf(std::string(kHead) + slitBlock + "TclSrv_Optics:Shutter open\n" + "puts $fp \"" + axis +
              ", Io, I, I/Io\"\n" + Rows(axis, positions) + kTail);
}

TEST(CollScanTest, WorkedExampleYPanel) {
  EXPECT_TRUE(SameText(Crlf(kHead + std::string(R"(TclSrv_Optics:Shutter open
puts $fp "col_y, Io, I, I/Io"
TclSrv_Optics:Collimator {col_y move 1.000}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
set strBuff2 [Seikika $counts]
puts $fp "1.000, $strBuff2"
TclSrv_Optics:Collimator {col_y move 0.750}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
set strBuff2 [Seikika $counts]
puts $fp "0.750, $strBuff2"
TclSrv_Optics:Collimator {col_y move 0.500}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
set strBuff2 [Seikika $counts]
puts $fp "0.500, $strBuff2"
TclSrv_Optics:Collimator {col_y move 0.250}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
set strBuff2 [Seikika $counts]
puts $fp "0.250, $strBuff2"
TclSrv_Optics:Collimator {col_y move 0.000}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
set strBuff2 [Seikika $counts]
puts $fp "0.000, $strBuff2"
TclSrv_Optics:Collimator {col_y move 0.500}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
set strBuff2 [Seikika $counts]
puts $fp "0.500, $strBuff2"
close $fp
TclSrv_Optics:Shutter close
TclSrv_Optics:BeamStop in null
)")),
                       Script(Form(0, "0.5", "1.0", "5"))));
}

TEST(CollScanTest, ZPanelRunsUpward) {
  EXPECT_TRUE(SameText(Expected("col_z", {"0.000", "0.250", "0.500", "0.750", "1.000", "0.500"}),
                       Script(Form(1, "0.5", "1.0", "5"))));
}

TEST(CollScanTest, SlitIsSetOnlyWhenTicked) {
  CollScanForm form = Form(0, "1", "0.4", "3");
  form.slitWidthY = "0.5";
  form.slitCenterY = "0.1";
  form.slitWidthZ = "0.3";
  form.slitCenterZ = "-0.05";
  const std::vector<std::string> rows = {"1.200", "1.000", "0.800", "1.000"};
  EXPECT_TRUE(SameText(Expected("col_y", rows), Script(form)));

  form.move4DSlit = true;
  const std::string count = "set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]\n";
  EXPECT_TRUE(SameText(Expected("col_y", rows,
                                "TclSrv_Optics:4DSlit {slit_y1 move 0.350}\n" + count +
                                    "TclSrv_Optics:4DSlit {slit_y2 move 0.150}\n" + count +
                                    "TclSrv_Optics:4DSlit {slit_z1 move 0.100}\n" + count +
                                    "TclSrv_Optics:4DSlit {slit_z2 move 0.200}\n" + count),
                       Script(form)));
}

TEST(CollScanTest, PointCounts) {
  const struct {
    std::int16_t panel;
    const char *width, *division;
    std::vector<std::string> rows;
  } cases[] = {
      {0, "1", "2", {"2.500", "1.500", "2.000"}},  // the two edges and the centre
      {1, "1", "2", {"1.500", "2.500", "2.000"}},
      {0, "1", "0", {"2.000"}},  // no scan point, only the return to the centre
      {1, "1", "-3", {"2.000"}},
      {0, "0", "3", {"2.000", "2.000", "2.000", "2.000"}},
      {0, "-1", "3", {"1.500", "2.000", "2.500", "2.000"}},  // a negative width reverses the travel
      {1, "-1", "3", {"2.500", "2.000", "1.500", "2.000"}},
      {0, "1", "2.5", {"2.500", "1.500", "2.000"}},                    // 2.5 points are 2
      {0, "1", "3.5", {"2.500", "2.167", "1.833", "1.500", "2.000"}},  // 3.5 points are 4
  };
  for (const auto& c : cases) {
    const std::string axis = c.panel == 0 ? "col_y" : "col_z";
    EXPECT_TRUE(SameText(Expected(axis, c.rows), Script(Form(c.panel, "2", c.width, c.division))))
        << axis << " width " << c.width << " division " << c.division;
  }
}

TEST(CollScanTest, RefusedInputsInCheckOrder) {
  const CollScanForm good = Form(0, "0.5", "1", "5");
  ASSERT_TRUE(Validate(good).ok());
  const struct {
    std::string CollScanForm::*field;
    const char* text;
    const char* message;
  } cases[] = {
      {&CollScanForm::scanCenter, "", "Setting Error!"},
      {&CollScanForm::scanCenter, "1e39", "Setting Error!"},
      {&CollScanForm::scanWidth, "x", "Setting Error!"},
      {&CollScanForm::division, "1", "Setting Error!"},
      {&CollScanForm::division, "40000", "Setting Error!"},
      {&CollScanForm::slitWidthY, "", "SlitWidthY Error!"},
      {&CollScanForm::slitWidthZ, "1.2.3", "SlitWidthZ Error!"},
      {&CollScanForm::slitCenterY, "-1e39", "SlitCenterY Error!"},
      {&CollScanForm::slitCenterZ, "abc", "SlitCenterZ Error!"},
      {&CollScanForm::outputFileName, "   ", "Setting Error!"},
      {&CollScanForm::outputFileName, ".com", "Setting Error!"},
      {&CollScanForm::outputFileName, "Coll1DScan", "Setting Error!"},
  };
  for (const auto& c : cases) {
    CollScanForm form = good;
    form.*c.field = c.text;
    EXPECT_EQ(Validate(form).message(), c.message) << "'" << c.text << "'";
  }

  // Unticked slit with empty slit fields: the first slit field is reported.
  CollScanForm unused = good;
  unused.slitWidthY = unused.slitWidthZ = unused.slitCenterY = unused.slitCenterZ = "";
  EXPECT_EQ(Validate(unused).message(), "SlitWidthY Error!");
  // The earlier check wins: a bad division is reported before the bad slit fields.
  unused.division = "x";
  EXPECT_EQ(Validate(unused).message(), "Setting Error!");
  // The slit fields come before the file name.
  CollScanForm late = good;
  late.slitCenterZ = "";
  late.outputFileName = "";
  EXPECT_EQ(Validate(late).message(), "SlitCenterZ Error!");
}

TEST(CollScanTest, BladesThatOverflowAreRefusedOnlyWhenTheSlitIsSet) {
  CollScanForm form = Form(1, "0", "1", "3");
  form.slitWidthY = "3e38";
  form.slitCenterY = "3e38";
  EXPECT_TRUE(Validate(form).ok());
  form.move4DSlit = true;
  EXPECT_EQ(Validate(form).message(), "SlitCenterY Error!");
  form.slitCenterY = "0";
  form.slitWidthZ = "-3e38";
  form.slitCenterZ = "3e38";
  EXPECT_EQ(Validate(form).message(), "SlitCenterZ Error!");
}

class CollScanSettingsTest : public ::testing::Test {
 protected:
  std::string Path(const char* name) const { return JoinPath(dir_.path(), name); }
  TempDir dir_;
};

CollScanParams TypedParams(std::int16_t panel) {
  CollScanForm form = Form(panel, "0.12345", "-2", "3.5");
  form.move4DSlit = true;
  form.slitWidthY = "0.5";
  form.slitWidthZ = "0.25";
  form.slitCenterY = "-0.0004";
  form.slitCenterZ = "1";
  form.outputFileName = " scan,old.com ";
  const Result<CollScanParams> p = Validate(form);
  EXPECT_TRUE(p.ok()) << p.message();
  return p.value();
}

TEST_F(CollScanSettingsTest, FourLineLayoutRoundTrip) {
  const std::string path = Path(kCollScanSettingsFileY);
  ASSERT_FALSE(SaveSettings(path, TypedParams(0)).has_value());
  EXPECT_EQ(ReadFileBytes(path), "0.123\r\n-2.000\r\n4\r\n\"scan,old.com\"\r\n");

  for (bool combined : {false, true}) {
    CollScanForm form;
    form.slitWidthY = "kept";
    combined ? LoadCombinedSettings(path, form) : LoadSettings(path, form);
    EXPECT_EQ(form.scanCenter, "0.123");
    EXPECT_EQ(form.scanWidth, "-2.000");
    EXPECT_EQ(form.division, "4");
    EXPECT_EQ(form.outputFileName, "scan,old.com");
    EXPECT_EQ(form.slitWidthY, "kept") << "a four-line file holds no slit field";
    EXPECT_FALSE(form.move4DSlit);
  }
}

TEST_F(CollScanSettingsTest, NineLineLayoutRoundTrip) {
  const std::string path = Path(kCollScanSettingsFileZ);
  ASSERT_FALSE(SaveCombinedSettings(path, TypedParams(1)).has_value());
  EXPECT_EQ(ReadFileBytes(path),
            "1\r\n0.500\r\n0.250\r\n0.000\r\n1.000\r\n0.123\r\n-2.000\r\n4\r\n\"scan,old.com\"\r\n");

  for (bool combined : {false, true}) {
    CollScanForm form;
    combined ? LoadCombinedSettings(path, form) : LoadSettings(path, form);
    EXPECT_TRUE(form.move4DSlit);
    EXPECT_EQ(form.slitWidthY, "0.500");
    EXPECT_EQ(form.slitWidthZ, "0.250");
    EXPECT_EQ(form.slitCenterY, "0.000");
    EXPECT_EQ(form.slitCenterZ, "1.000");
    EXPECT_EQ(form.scanCenter, "0.123");
    EXPECT_EQ(form.scanWidth, "-2.000");
    EXPECT_EQ(form.division, "4");
    EXPECT_EQ(form.outputFileName, "scan,old.com");
  }
}

TEST_F(CollScanSettingsTest, BadCheckBoxFieldStopsTheWindowButNotTheCombinedReader) {
  const std::string path = Path(kCollScanSettingsFileY);
  ASSERT_TRUE(WriteFileBytes(path, "2\r\n0.5\r\n0.25\r\n0\r\n1\r\n3\r\n4\r\n5\r\nc.com\r\n"));
  CollScanForm single;
  LoadSettings(path, single);
  EXPECT_EQ(single.slitWidthY, "");
  EXPECT_EQ(single.scanCenter, "");

  CollScanForm combined;
  combined.move4DSlit = true;
  LoadCombinedSettings(path, combined);
  EXPECT_TRUE(combined.move4DSlit) << "the refused value leaves the box as it was";
  EXPECT_EQ(combined.slitWidthY, "0.5");
  EXPECT_EQ(combined.scanCenter, "3");
  EXPECT_EQ(combined.outputFileName, "c.com");
}

TEST_F(CollScanSettingsTest, OneFailureRuleOverBothFiles) {
  const std::string four = "1\r\n2\r\n3\r\nz.com\r\n";
  ASSERT_TRUE(WriteFileBytes(Path(kCollScanSettingsFileZ), four));

  CollScanForm y, z;
  z.panel = 1;
  LoadPanelSettings(dir_.path(), y, z);  // no ColliScan_y.ini: neither panel is filled
  EXPECT_EQ(z.scanCenter, "");
  EXPECT_EQ(z.outputFileName, "Coll1DScan.com");

  ASSERT_TRUE(WriteFileBytes(Path(kCollScanSettingsFileY), "9\r\n8\r\n"));  // cut short
  LoadPanelSettings(dir_.path(), y, z);
  EXPECT_EQ(y.scanCenter, "9");
  EXPECT_EQ(y.scanWidth, "8");
  EXPECT_EQ(y.division, "");
  EXPECT_EQ(z.scanCenter, "");

  ASSERT_TRUE(
      WriteFileBytes(Path(kCollScanSettingsFileY), "0\r\n0\r\n0\r\n0\r\n0\r\n"));  // a cut nine-line file
  LoadPanelSettings(dir_.path(), y, z);
  EXPECT_EQ(y.slitCenterZ, "0");
  EXPECT_EQ(z.scanCenter, "");

  for (const char* yFile :
       {"7\r\n6\r\n5\r\ny.com\r\n", "0\r\n1\r\n1\r\n0\r\n0\r\n7\r\n6\r\n5\r\ny.com\r\n"}) {
    ASSERT_TRUE(WriteFileBytes(Path(kCollScanSettingsFileY), yFile));
    CollScanForm y2, z2;
    LoadPanelSettings(dir_.path(), y2, z2);
    EXPECT_EQ(y2.scanCenter, "7");
    EXPECT_EQ(y2.outputFileName, "y.com");
    EXPECT_EQ(z2.scanCenter, "1");
    EXPECT_EQ(z2.outputFileName, "z.com");
  }
}

}  // namespace
}  // namespace vesko
