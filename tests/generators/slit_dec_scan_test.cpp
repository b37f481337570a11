#include "generators/slit_dec_scan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/line_sink.h"
#include "core/platform.h"
#include "tests/support/test_support.h"

namespace vesko {
namespace {

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) {
    text += line + "\r\n";
  }
  return text;
}

SlitDecScanForm YForm(std::string start, std::string end, std::string center, std::string step) {
  SlitDecScanForm f;
  f.axisY = true;
  f.startSlitWidth = std::move(start);
  f.endSlitWidth = std::move(end);
  f.scanCenter = std::move(center);
  f.decStep = std::move(step);
  return f;
}

std::string Script(const SlitDecScanForm& form, const std::string& folder = "C:\\data") {
  const auto p = Validate(form);
  EXPECT_TRUE(p.ok()) << p.message();
  StringSink sink;
  BuildScript(*p, folder, sink);
  return sink.text();
}

TEST(SlitDecScanTest, SingleScanWorkedExample) {
  const std::string expected = Lines({
      "set exptime 1.0",
      "TclSrv_ORTEC994:MeasureCounts:ConfigureTimer $exptime",
      "set fp [open C:\\\\data\\\\4DSlitDec1DScan.dat w+]",
      "TclSrv_Optics:BeamStop in null",
      "TclSrv_Optics:Shutter open",
      "puts $fp \"slit_y1,slit_y2,Intensity\"",
      "TclSrv_Optics:4DSlit {slit_y1 move 0.600}",
      "TclSrv_Optics:4DSlit {slit_y2 move 0.400}",
      "TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0",
      "set cnt $_ORTEC994(counterA)",
      "puts $fp \"0.600,0.400, $cnt\"",
      "TclSrv_Optics:4DSlit {slit_y1 move 0.475}",
      "TclSrv_Optics:4DSlit {slit_y2 move 0.275}",
      "TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0",
      "set cnt $_ORTEC994(counterA)",
      "puts $fp \"0.475,0.275, $cnt\"",
      "TclSrv_Optics:4DSlit {slit_y1 move 0.350}",
      "TclSrv_Optics:4DSlit {slit_y2 move 0.150}",
      "TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0",
      "set cnt $_ORTEC994(counterA)",
      "puts $fp \"0.350,0.150, $cnt\"",
      "close $fp",
      "TclSrv_Optics:Shutter close",
  });
  EXPECT_TRUE(test::SameText(expected, Script(YForm("1.0", "0.5", "0.1", "0.25"))));
}

TEST(SlitDecScanTest, RepeatedWorkedExampleHas42Lines) {
  SlitDecScanForm form = YForm("1.0", "0.5", "0.0", "0.5");
  form.repeatActive = true;
  form.repeatTimes = "2";
  std::vector<std::string> lines = {
      "set exptime 1.0",
      "TclSrv_ORTEC994:MeasureCounts:ConfigureTimer $exptime",
      "set fp1 [open C:\\\\data\\\\4DSlitDec1DScan_Repeat.dat w+]",
      "set fp2 [open C:\\\\data\\\\4DSlitDec1DScan_Average.dat w+]",
      "TclSrv_Optics:BeamStop in null",
      "TclSrv_Optics:Shutter open",
      "set cnt00 0",
      "set cnt01 0",
  };
  for (const char* pass : {"00", "01"}) {
    lines.push_back(std::string("puts $fp1 \"slit_y1,slit_y2,Intensity(Repeat") + pass + ")\"");
    for (const auto& [pos, counter] : {std::pair{"0.500", "00"}, std::pair{"0.250", "01"}}) {
      lines.push_back(std::string("TclSrv_Optics:4DSlit {slit_y1 move ") + pos + "}");
      lines.push_back(std::string("TclSrv_Optics:4DSlit {slit_y2 move ") + pos + "}");
      lines.push_back("TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0");
      lines.push_back("set cnt $_ORTEC994(counterA)");
      lines.push_back(std::string("puts $fp1 \"") + pos + "," + pos + ", $cnt\"");
      lines.push_back(std::string("set cnt") + counter + " [expr $cnt" + counter + " + $cnt]");
    }
  }
  lines.push_back("puts $fp2 \"slit_y1,slit_y2,Intensity(Average)\"");
  lines.push_back("set cnt [expr $cnt00 / 2]");
  lines.push_back("puts $fp2 \"0.500,0.500, $cnt\"");
  lines.push_back("set cnt [expr $cnt01 / 2]");
  lines.push_back("puts $fp2 \"0.250,0.250, $cnt\"");
  lines.push_back("close $fp1");
  lines.push_back("close $fp2");
  lines.push_back("TclSrv_Optics:Shutter close");
  ASSERT_EQ(lines.size(), 42u);
  EXPECT_TRUE(test::SameText(Lines(lines), Script(form)));
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

TEST(SlitDecScanTest, EndAboveStartWritesNoPointLines) {
  const std::string expected = Lines({
      "set exptime 1.0",
      "TclSrv_ORTEC994:MeasureCounts:ConfigureTimer $exptime",
      "set fp [open C:\\\\data\\\\4DSlitDec1DScan.dat w+]",
      "TclSrv_Optics:BeamStop in null",
      "TclSrv_Optics:Shutter open",
      "puts $fp \"slit_y1,slit_y2,Intensity\"",
      "close $fp",
      "TclSrv_Optics:Shutter close",
  });
  EXPECT_TRUE(test::SameText(expected, Script(YForm("0.5", "1.0", "0", "0.25"))));
}

TEST(SlitDecScanTest, NegativeStepOpensUpwardOnZPair) {
  SlitDecScanForm form = YForm("0.2", "0.4", "0.05", "-0.1");
  form.axisY = false;
  form.axisZ = true;
  const std::string script = Script(form);
  EXPECT_NE(script.find("puts $fp \"slit_z1,slit_z2,Intensity\"\r\n"), std::string::npos);
  EXPECT_NE(script.find("{slit_z1 move 0.150}\r\nTclSrv_Optics:4DSlit {slit_z2 move 0.050}"),
            std::string::npos);
  EXPECT_NE(script.find("{slit_z1 move 0.250}\r\nTclSrv_Optics:4DSlit {slit_z2 move 0.150}"),
            std::string::npos);
  EXPECT_EQ(script.find("slit_y"), std::string::npos);
}

TEST(SlitDecScanTest, RepeatCountersGetThreeDigitsPastOneHundredPoints) {
  SlitDecScanForm form = YForm("10.2", "0", "0", "0.1");
  form.repeatActive = true;
  form.repeatTimes = "3";
  const std::string script = Script(form);
  EXPECT_NE(script.find("\r\nset cnt99 0\r\nset cnt100 0\r\n"), std::string::npos);
  EXPECT_NE(script.find("set cnt100 [expr $cnt100 + $cnt]"), std::string::npos);
  EXPECT_NE(script.find("set cnt [expr $cnt100 / 3]"), std::string::npos);
}

TEST(SlitDecScanTest, RefusedInputs) {
  const auto base = [] { return YForm("1", "0.5", "0", "0.1"); };
  const struct {
    const char* name;
    void (*change)(SlitDecScanForm&);
    const char* message;
  } cases[] = {
      {"no axis", [](SlitDecScanForm& f) { f.axisY = false; }, "Setting Error!"},
      {"start", [](SlitDecScanForm& f) { f.startSlitWidth = "abc"; }, "Setting Error!"},
      {"end", [](SlitDecScanForm& f) { f.endSlitWidth = ""; }, "Setting Error!"},
      {"center", [](SlitDecScanForm& f) { f.scanCenter = "1.2.3"; }, "Setting Error!"},
      {"step", [](SlitDecScanForm& f) { f.decStep = "x"; }, "Setting Error!"},
      {"overflowing start", [](SlitDecScanForm& f) { f.startSlitWidth = "1e39"; }, "Setting Error!"},
      {"zero step", [](SlitDecScanForm& f) { f.decStep = "0"; }, "Setting Error!"},
      {"too many points", [](SlitDecScanForm& f) { f.decStep = "0.00001"; }, "Setting Error!"},
      {"blade target beyond 32 bits",
       [](SlitDecScanForm& f) { f.startSlitWidth = f.endSlitWidth = "3e38", f.scanCenter = "3e38"; },
       "Setting Error!"},
      {"blank name", [](SlitDecScanForm& f) { f.outputFileName = "   "; }, "Setting Error!"},
      {"name without dot", [](SlitDecScanForm& f) { f.outputFileName = "run"; }, "Setting Error!"},
      {"name starting with dot", [](SlitDecScanForm& f) { f.outputFileName = ".tcl"; }, "Setting Error!"},
      {"repeat once", [](SlitDecScanForm& f) { f.repeatActive = true, f.repeatTimes = "1"; },
       "Repeat Times Error"},
      {"repeat zero", [](SlitDecScanForm& f) { f.repeatActive = true, f.repeatTimes = "0"; },
       "Repeat Times Error"},
      {"repeat text", [](SlitDecScanForm& f) { f.repeatActive = true, f.repeatTimes = "two"; },
       "Repeat Times Error"},
      {"repeat beyond 16 bits", [](SlitDecScanForm& f) { f.repeatActive = true, f.repeatTimes = "40000"; },
       "Repeat Times Error"},
      // The first failing check decides the message.
      {"start before repeat",
       [](SlitDecScanForm& f) { f.startSlitWidth = "", f.repeatActive = true, f.repeatTimes = "1"; },
       "Setting Error!"},
  };
  for (const auto& c : cases) {
    SlitDecScanForm form = base();
    c.change(form);
    const auto p = Validate(form);
    EXPECT_FALSE(p.ok()) << c.name;
    EXPECT_EQ(p.message(), c.message) << c.name;
  }
  SlitDecScanForm rounded = base();
  rounded.repeatActive = true;
  rounded.repeatTimes = "1.5";
  ASSERT_TRUE(Validate(rounded).ok());
  EXPECT_EQ(Validate(rounded)->RepeatTimes, 2);
}

TEST(SlitDecScanTest, SettingsRoundTripKeepsThreeDecimals) {
  test::TempDir dir;
  const std::string path = JoinPath(dir.path(), kSlitDecScanSettingsFile);
  SlitDecScanForm typed = YForm("1.23456", "0.5", "-0.1", "0.25");
  typed.axisY = false;
  typed.axisZ = true;
  typed.outputFileName = "  dec,1.tcl ";
  const auto p = Validate(typed);
  ASSERT_TRUE(p.ok());
  ASSERT_FALSE(SaveSettings(path, *p).has_value());
  EXPECT_EQ(test::ReadFileBytes(path), "1\r\n1.235\r\n0.500\r\n-0.100\r\n0.250\r\n\"dec,1.tcl\"\r\n");

  SlitDecScanForm loaded;
  LoadSettings(path, loaded);
  EXPECT_TRUE(loaded.axisZ);
  EXPECT_FALSE(loaded.axisY);
  EXPECT_EQ(loaded.startSlitWidth, "1.235");
  EXPECT_EQ(loaded.scanCenter, "-0.100");
  EXPECT_EQ(loaded.outputFileName, "dec,1.tcl");
  EXPECT_FALSE(loaded.repeatActive);
  EXPECT_EQ(loaded.repeatTimes, "2");
}

TEST(SlitDecScanTest, LoadStopsAtFirstFailure) {
  test::TempDir dir;
  const std::string path = JoinPath(dir.path(), kSlitDecScanSettingsFile);
  SlitDecScanForm form;
  LoadSettings(path, form);  // missing file
  EXPECT_FALSE(form.axisY || form.axisZ);
  EXPECT_EQ(form.outputFileName, "4DSlitDec1DScan.tcl");

  test::WriteFileBytes(path, "y\r\n1.000\r\n0.500\r\n");
  LoadSettings(path, form);
  EXPECT_FALSE(form.axisY || form.axisZ);
  EXPECT_EQ(form.startSlitWidth, "");

  test::WriteFileBytes(path, "0\r\n1.000\r\n0.500\r\n");
  LoadSettings(path, form);
  EXPECT_TRUE(form.axisY);
  EXPECT_EQ(form.startSlitWidth, "1.000");
  EXPECT_EQ(form.endSlitWidth, "0.500");
  EXPECT_EQ(form.scanCenter, "");
  EXPECT_EQ(form.outputFileName, "4DSlitDec1DScan.tcl");
}

}  // namespace
}  // namespace vesko
