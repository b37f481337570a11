#include "generators/lens_scan.h"

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

LensScanForm Form(int axis, std::string center, std::string width, std::string division) {
  LensScanForm f;
  f.axis[static_cast<std::size_t>(axis)] = true;
  f.scanCenter = std::move(center);
  f.scanWidth = std::move(width);
  f.division = std::move(division);
  return f;
}

std::string Script(const LensScanForm& form) {
  const Result<LensScanParams> p = Validate(form);
  EXPECT_TRUE(p.ok()) << p.message();
  if (!p.ok()) {
    return {};
  }
  StringSink sink;
  BuildScript(*p, "C:\\data", sink);
  return sink.text();
}

TEST(LensScanTest, WorkedExample) {
  EXPECT_TRUE(SameText(Crlf(R"(set exptime 1.0
TclSrv_ORTEC994:MeasureCounts:ConfigureTimer $exptime
set fp [open C:\\data\\Lens1DScan.dat w+]
TclSrv_Optics:BeamStop in null
TclSrv_Optics:Shutter open
puts $fp "lens_y, Io"
TclSrv_Optics:Lens {lens_y move 0.150}
TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0
set cnt $_ORTEC994(counterA)
puts $fp "0.150, $cnt"
TclSrv_Optics:Lens {lens_y move 0.050}
TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0
set cnt $_ORTEC994(counterA)
puts $fp "0.050, $cnt"
TclSrv_Optics:Lens {lens_y move -0.050}
TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0
set cnt $_ORTEC994(counterA)
puts $fp "-0.050, $cnt"
TclSrv_Optics:Lens {lens_y move -0.150}
TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0
set cnt $_ORTEC994(counterA)
puts $fp "-0.150, $cnt"
TclSrv_Optics:Lens {lens_y move 0.000}
TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0
set cnt $_ORTEC994(counterA)
puts $fp "0.000, $cnt"
close $fp
TclSrv_Optics:Shutter close
)"),
                       Script(Form(0, "0.0", "0.3", "4"))));
}

// The scanned part of a script: the header and the moves, in the order written.
std::vector<std::string> HeaderAndMoves(const std::string& script) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = script.find("\r\n", start)) != std::string::npos; start = end + 2) {
    const std::string line = script.substr(start, end - start);
    if (line.rfind("puts $fp \"lens", 0) == 0 || line.rfind("TclSrv_Optics:Lens", 0) == 0) {
      lines.push_back(line);
    }
  }
  return lines;
}

TEST(LensScanTest, EveryAxisFromTheHighEdgeDown) {
  const struct {
    int axis;
    const char *width, *division;
    std::vector<std::string> lines;
  } cases[] = {
      {1,
       "2",
       "2",
       {"puts $fp \"lens_z, Io\"", "TclSrv_Optics:Lens {lens_z move 2.000}",
        "TclSrv_Optics:Lens {lens_z move 0.000}", "TclSrv_Optics:Lens {lens_z move 1.000}"}},
      {2,
       "-2",
       "2.5",
       {"puts $fp \"lens_ry, Io\"", "TclSrv_Optics:Lens {lens_ry move 0.000}",
        "TclSrv_Optics:Lens {lens_ry move 2.000}", "TclSrv_Optics:Lens {lens_ry move 1.000}"}},
      {3, "2", "0", {"puts $fp \"lens_rz, Io\"", "TclSrv_Optics:Lens {lens_rz move 1.000}"}},
      {3, "2", "-7", {"puts $fp \"lens_rz, Io\"", "TclSrv_Optics:Lens {lens_rz move 1.000}"}},
      {0,
       "0",
       "3.5",
       {"puts $fp \"lens_y, Io\"", "TclSrv_Optics:Lens {lens_y move 1.000}",
        "TclSrv_Optics:Lens {lens_y move 1.000}", "TclSrv_Optics:Lens {lens_y move 1.000}",
        "TclSrv_Optics:Lens {lens_y move 1.000}", "TclSrv_Optics:Lens {lens_y move 1.000}"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HeaderAndMoves(Script(Form(c.axis, "1", c.width, c.division))), c.lines)
        << "axis " << c.axis << " width " << c.width << " division " << c.division;
  }
}

TEST(LensScanTest, RefusedInputs) {
  const LensScanForm good = Form(2, "0", "1", "3");
  ASSERT_TRUE(Validate(good).ok());
  LensScanForm none = good;
  none.axis = {};
  EXPECT_EQ(Validate(none).message(), "Setting Error!");

  const struct {
    std::string LensScanForm::*field;
    const char* text;
  } cases[] = {
      {&LensScanForm::scanCenter, ""},         {&LensScanForm::scanCenter, "3e40"},
      {&LensScanForm::scanWidth, "1 2"},       {&LensScanForm::division, "1"},
      {&LensScanForm::division, "-32768"},     {&LensScanForm::division, "32767.5"},
      {&LensScanForm::outputFileName, " "},    {&LensScanForm::outputFileName, ".tcl"},
      {&LensScanForm::outputFileName, "lens"},
  };
  for (const auto& c : cases) {
    LensScanForm form = good;
    form.*c.field = c.text;
    EXPECT_EQ(Validate(form).message(), "Setting Error!") << "'" << c.text << "'";
  }

  LensScanForm two = good;  // the first selected option, counted from index 0, gives the axis
  two.axis[1] = true;
  ASSERT_TRUE(Validate(two).ok());
  EXPECT_EQ(Validate(two)->Axis, 1);
}

class LensScanSettingsTest : public ::testing::Test {
 protected:
  TempDir dir_;
  std::string path_ = JoinPath(dir_.path(), kLensScanSettingsFile);
};

TEST_F(LensScanSettingsTest, RoundTrip) {
  LensScanForm typed = Form(3, "0.12345", "-1", "2.5");
  typed.outputFileName = " l.tcl ";
  const Result<LensScanParams> p = Validate(typed);
  ASSERT_TRUE(p.ok());
  ASSERT_FALSE(SaveSettings(path_, *p).has_value());
  EXPECT_EQ(ReadFileBytes(path_), "3\r\n0.123\r\n-1.000\r\n2\r\nl.tcl\r\n");

  LensScanForm loaded;
  LoadSettings(path_, loaded);
  EXPECT_EQ(loaded.axis, (std::array<bool, 4>{false, false, false, true}));
  EXPECT_EQ(loaded.scanCenter, "0.123");
  EXPECT_EQ(loaded.scanWidth, "-1.000");
  EXPECT_EQ(loaded.division, "2");
  EXPECT_EQ(loaded.outputFileName, "l.tcl");
}

TEST_F(LensScanSettingsTest, AxisFieldOutsideTheOptions) {
  for (const char* axis : {"4", "-1", "9999"}) {
    ASSERT_TRUE(WriteFileBytes(path_, std::string(axis) + "\r\n1\r\n2\r\n3\r\nx.tcl\r\n"));
    LensScanForm loaded;
    LoadSettings(path_, loaded);
    EXPECT_EQ(loaded.axis, (std::array<bool, 4>{})) << axis;
    EXPECT_EQ(loaded.scanCenter, "1") << axis;
    EXPECT_EQ(loaded.outputFileName, "x.tcl") << axis;
    EXPECT_EQ(Validate(loaded).message(), "Setting Error!") << "no option selected";
  }

  ASSERT_TRUE(WriteFileBytes(path_, "lens_y\r\n1\r\n2\r\n3\r\nx.tcl\r\n"));  // not a number: nothing loaded
  LensScanForm loaded;
  LoadSettings(path_, loaded);
  EXPECT_EQ(loaded.scanCenter, "");
  EXPECT_EQ(loaded.outputFileName, "Lens1DScan.tcl");

  ASSERT_TRUE(WriteFileBytes(path_, "1.5\r\n4\r\n"));  // 1.5 rounds to 2; the file ends early
  LoadSettings(path_, loaded);
  EXPECT_EQ(loaded.axis, (std::array<bool, 4>{false, false, true, false}));
  EXPECT_EQ(loaded.scanCenter, "4");
  EXPECT_EQ(loaded.scanWidth, "");
}

}  // namespace
}  // namespace vesko
