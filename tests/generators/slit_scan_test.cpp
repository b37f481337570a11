#include "generators/slit_scan.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/line_sink.h"
#include "tests/support/test_support.h"

namespace vesko {
namespace {

using test::ReadFileBytes;
using test::SameText;
using test::TempDir;
using test::WriteFileBytes;

// Golden scripts are written with plain line feeds for readability; files end lines in CR LF.
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

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

SlitScanForm Form(bool zPair, std::string slitWidth, std::string scanCenter, std::string scanWidth,
                  std::string division) {
  SlitScanForm f;
  f.axisY = !zPair;
  f.axisZ = zPair;
  f.slitWidth = std::move(slitWidth);
  f.scanCenter = std::move(scanCenter);
  f.scanWidth = std::move(scanWidth);
  f.division = std::move(division);
  return f;
}

std::string Script(const SlitScanForm& form, const std::string& outputFolder = "C:\\data") {
  const Result<SlitScanParams> p = Validate(form);
  EXPECT_TRUE(p.ok()) << p.message();
  if (!p.ok()) {
    return {};
  }
  StringSink sink;
  BuildScript(*p, outputFolder, sink);
  return sink.text();
}

const std::string kYPairExample = Crlf(R"TCL(set exptime 1.0
TclSrv_ORTEC994:MeasureCounts:ConfigureTimer $exptime
TclSrv_Optics:BeamStop in null
TclSrv_Optics:Shutter open
set fp [open C:\\data\\4DSlit1DScan.dat w+]
puts $fp "slit_y1, slit_y2, slit_center, Intensity"
TclSrv_Optics:4DSlit {slit_y1 move -0.450}
TclSrv_Optics:4DSlit {slit_y2 move 0.550}
TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0
set cnt $_ORTEC994(counterA)
puts $fp "-0.450, 0.550, -0.500, $cnt"
TclSrv_Optics:4DSlit {slit_y1 move -0.200}
TclSrv_Optics:4DSlit {slit_y2 move 0.300}
TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0
set cnt $_ORTEC994(counterA)
puts $fp "-0.200, 0.300, -0.250, $cnt"
TclSrv_Optics:4DSlit {slit_y1 move 0.050}
TclSrv_Optics:4DSlit {slit_y2 move 0.050}
TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0
set cnt $_ORTEC994(counterA)
puts $fp "0.050, 0.050, 0.000, $cnt"
TclSrv_Optics:4DSlit {slit_y1 move 0.300}
TclSrv_Optics:4DSlit {slit_y2 move -0.200}
TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0
set cnt $_ORTEC994(counterA)
puts $fp "0.300, -0.200, 0.250, $cnt"
TclSrv_Optics:4DSlit {slit_y1 move 0.550}
TclSrv_Optics:4DSlit {slit_y2 move -0.450}
TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0
set cnt $_ORTEC994(counterA)
puts $fp "0.550, -0.450, 0.500, $cnt"
TclSrv_Optics:4DSlit {slit_y1 move 0.050}
TclSrv_Optics:4DSlit {slit_y2 move 0.050}
TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0
set cnt $_ORTEC994(counterA)
puts $fp "0.050, 0.050, 0.000, $cnt"
close $fp
TclSrv_Optics:Shutter close
)TCL");

const std::string kZPairExample = Crlf(R"TCL(set exptime 1.0
TclSrv_ORTEC994:MeasureCounts:ConfigureTimer $exptime
TclSrv_Optics:BeamStop in null
TclSrv_Optics:Shutter open
set fp [open C:\\data\\4DSlit1DScan.dat w+]
puts $fp "slit_z1, slit_z2, slit_center, Intensity"
TclSrv_Optics:4DSlit {slit_z1 move 2.600}
TclSrv_Optics:4DSlit {slit_z2 move -2.400}
TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0
set cnt $_ORTEC994(counterA)
puts $fp "2.600, -2.400, 2.500, $cnt"
TclSrv_Optics:4DSlit {slit_z1 move 1.600}
TclSrv_Optics:4DSlit {slit_z2 move -1.400}
TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0
set cnt $_ORTEC994(counterA)
puts $fp "1.600, -1.400, 1.500, $cnt"
TclSrv_Optics:4DSlit {slit_z1 move 0.600}
TclSrv_Optics:4DSlit {slit_z2 move -0.400}
TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0
set cnt $_ORTEC994(counterA)
puts $fp "0.600, -0.400, 0.500, $cnt"
TclSrv_Optics:4DSlit {slit_z1 move 1.600}
TclSrv_Optics:4DSlit {slit_z2 move -1.400}
TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0
set cnt $_ORTEC994(counterA)
puts $fp "1.600, -1.400, 1.500, $cnt"
close $fp
TclSrv_Optics:Shutter close
)TCL");

// The z pair of the second example scanned twice: the passes run from the high end down, the
// averages from the low end up, and the first separator of an average line has no blank.
const std::string kZPairRepeated = Crlf(R"TCL(set exptime 1.0
TclSrv_ORTEC994:MeasureCounts:ConfigureTimer $exptime
TclSrv_Optics:BeamStop in null
TclSrv_Optics:Shutter open
set fp1 [open C:\\data\\4DSlit1DScan_Repeat.dat w+]
set fp2 [open C:\\data\\4DSlit1DScan_Average.dat w+]
set cnt00 0
set cnt01 0
set cnt02 0
puts $fp1 "slit_z1,slit_z2,slit_center,Intensity(Repeat00)"
TclSrv_Optics:4DSlit {slit_z1 move 2.600}
TclSrv_Optics:4DSlit {slit_z2 move -2.400}
TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0
set cnt $_ORTEC994(counterA)
puts $fp1 "2.600, -2.400, 2.500, $cnt"
set cnt02 [expr $cnt02 + $cnt]
TclSrv_Optics:4DSlit {slit_z1 move 1.600}
TclSrv_Optics:4DSlit {slit_z2 move -1.400}
TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0
set cnt $_ORTEC994(counterA)
puts $fp1 "1.600, -1.400, 1.500, $cnt"
set cnt01 [expr $cnt01 + $cnt]
TclSrv_Optics:4DSlit {slit_z1 move 0.600}
TclSrv_Optics:4DSlit {slit_z2 move -0.400}
TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0
set cnt $_ORTEC994(counterA)
puts $fp1 "0.600, -0.400, 0.500, $cnt"
set cnt00 [expr $cnt00 + $cnt]
puts $fp1 "slit_z1,slit_z2,slit_center,Intensity(Repeat01)"
TclSrv_Optics:4DSlit {slit_z1 move 2.600}
TclSrv_Optics:4DSlit {slit_z2 move -2.400}
TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0
set cnt $_ORTEC994(counterA)
puts $fp1 "2.600, -2.400, 2.500, $cnt"
set cnt02 [expr $cnt02 + $cnt]
TclSrv_Optics:4DSlit {slit_z1 move 1.600}
TclSrv_Optics:4DSlit {slit_z2 move -1.400}
TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0
set cnt $_ORTEC994(counterA)
puts $fp1 "1.600, -1.400, 1.500, $cnt"
set cnt01 [expr $cnt01 + $cnt]
TclSrv_Optics:4DSlit {slit_z1 move 0.600}
TclSrv_Optics:4DSlit {slit_z2 move -0.400}
TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0
set cnt $_ORTEC994(counterA)
puts $fp1 "0.600, -0.400, 0.500, $cnt"
set cnt00 [expr $cnt00 + $cnt]
puts $fp2 "slit_z1,slit_z2,slit_center,Intensity(Average)"
set cnt [expr $cnt00 / 2]
puts $fp2 "0.600,-0.400, 0.500, $cnt"
set cnt [expr $cnt01 / 2]
puts $fp2 "1.600,-1.400, 1.500, $cnt"
set cnt [expr $cnt02 / 2]
puts $fp2 "2.600,-2.400, 2.500, $cnt"
TclSrv_Optics:4DSlit {slit_z1 move 1.600}
TclSrv_Optics:4DSlit {slit_z2 move -1.400}
TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0
set cnt $_ORTEC994(counterA)
puts $fp2 "1.600, -1.400, 1.500, $cnt"
close $fp1
close $fp2
TclSrv_Optics:Shutter close
)TCL");

TEST(SlitScanScript, WorkedExampleYPair) {
  EXPECT_TRUE(SameText(kYPairExample, Script(Form(false, "0.1", "0", "1", "5"))));
}

TEST(SlitScanScript, WorkedExampleZPair) {
  EXPECT_TRUE(SameText(kZPairExample, Script(Form(true, "0.2", "1.5", "2", "3"))));
}

TEST(SlitScanScript, RepeatedZPairPassesDownwardAveragesUpward) {
  SlitScanForm form = Form(true, "0.2", "1.5", "2", "3");
  form.repeatActive = true;
  form.repeatTimes = "2";
  EXPECT_TRUE(SameText(kZPairRepeated, Script(form)));
}

// No point blocks: the head, the header(s), the centre block and the tail.
TEST(SlitScanScript, DivisionZeroOrNegativeWritesOnlyTheCentre) {
  const std::string single = Crlf(R"TCL(set exptime 1.0
TclSrv_ORTEC994:MeasureCounts:ConfigureTimer $exptime
TclSrv_Optics:BeamStop in null
TclSrv_Optics:Shutter open
set fp [open C:\\data\\4DSlit1DScan.dat w+]
puts $fp "slit_y1, slit_y2, slit_center, Intensity"
TclSrv_Optics:4DSlit {slit_y1 move 0.750}
TclSrv_Optics:4DSlit {slit_y2 move -0.250}
TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0
set cnt $_ORTEC994(counterA)
puts $fp "0.750, -0.250, 0.500, $cnt"
close $fp
TclSrv_Optics:Shutter close
)TCL");
  const std::string repeated = Crlf(R"TCL(set exptime 1.0
TclSrv_ORTEC994:MeasureCounts:ConfigureTimer $exptime
TclSrv_Optics:BeamStop in null
TclSrv_Optics:Shutter open
set fp1 [open C:\\data\\4DSlit1DScan_Repeat.dat w+]
set fp2 [open C:\\data\\4DSlit1DScan_Average.dat w+]
puts $fp1 "slit_y1,slit_y2,slit_center,Intensity(Repeat00)"
puts $fp1 "slit_y1,slit_y2,slit_center,Intensity(Repeat01)"
puts $fp2 "slit_y1,slit_y2,slit_center,Intensity(Average)"
TclSrv_Optics:4DSlit {slit_y1 move 0.750}
TclSrv_Optics:4DSlit {slit_y2 move -0.250}
TclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0
set cnt $_ORTEC994(counterA)
puts $fp2 "0.750, -0.250, 0.500, $cnt"
close $fp1
close $fp2
TclSrv_Optics:Shutter close
)TCL");
  for (const char* division : {"0", "0.5", "-1", "-32767"}) {
    SCOPED_TRACE(division);
    SlitScanForm form = Form(false, "0.5", "0.5", "3", division);
    EXPECT_TRUE(SameText(single, Script(form)));
    form.repeatActive = true;
    EXPECT_TRUE(SameText(repeated, Script(form)));
  }
}

TEST(SlitScanScript, MoreThanHundredPointsGetThreeDigitCounters) {
  SlitScanForm form = Form(true, "0.1", "0", "10.1", "102");
  form.repeatActive = true;
  form.repeatTimes = "2";
  const std::vector<std::string> lines = SplitLines(Script(form));
  auto count = [&](const std::string& wanted) { return std::count(lines.begin(), lines.end(), wanted); };
  EXPECT_EQ(1, count("set cnt99 0"));
  EXPECT_EQ(1, count("set cnt100 0"));
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

TEST(SlitScanScript, ScanWidthZeroSendsEveryPointToTheCentre) {
  const std::vector<std::string> lines = SplitLines(Script(Form(false, "0.1", "0.3", "0", "4")));
  int moves = 0;
  for (const std::string& line : lines) {
    if (line.find("slit_y1 move") != std::string::npos) {
      EXPECT_EQ("TclSrv_Optics:4DSlit {slit_y1 move 0.350}", line);
      ++moves;
    } else if (line.find("slit_y2 move") != std::string::npos) {
      EXPECT_EQ("TclSrv_Optics:4DSlit {slit_y2 move -0.250}", line);
    } else if (line.rfind("puts $fp \"0", 0) == 0) {
      EXPECT_EQ(R"L(puts $fp "0.350, -0.250, 0.300, $cnt")L", line);
    }
  }
  EXPECT_EQ(5, moves);
}

// Far from zero the blade targets lie on a 2^-10 grid and their difference on a 2^-9 grid: the
// centre column must come from the 32-bit difference, not from the exact one.
TEST(SlitScanScript, CentreColumnHalvesThe32BitDifference) {
  std::vector<std::string> data;
  for (const std::string& line : SplitLines(Script(Form(false, "0.001", "10000", "0.01", "2")))) {
    if (line.rfind("puts $fp \"1", 0) == 0 || line.rfind("puts $fp \"9", 0) == 0) {
      data.push_back(line);
    }
  }
  const std::vector<std::string> expected = {
      R"L(puts $fp "9999.995, -9999.994, 9999.994, $cnt")L",
      R"L(puts $fp "10000.006, -10000.005, 10000.006, $cnt")L",
      R"L(puts $fp "10000.001, -9999.999, 10000.000, $cnt")L",
  };
  EXPECT_EQ(expected, data);
}

// Blade 2 starts from HalfSpan - ScanCenter already rounded to 32 bits.
TEST(SlitScanScript, BladeTwoStartsFromTheRoundedOffset) {
  const std::vector<std::string> lines = SplitLines(Script(Form(false, "0.001", "10000", "0.3", "2")));
  EXPECT_EQ(R"L(puts $fp "9999.851, -9999.849, 9999.850, $cnt")L", lines.at(10));
  EXPECT_EQ(R"L(puts $fp "10000.150, -10000.149, 10000.150, $cnt")L", lines.at(15));
}

TEST(SlitScanScript, ResultFilesUseTheNameBeforeTheFirstDot) {
  SlitScanForm form = Form(false, "0.1", "0", "1", "2");
  form.outputFileName = "a.b.tcl";
  EXPECT_EQ("set fp [open C:\\\\data\\\\a.dat w+]", SplitLines(Script(form)).at(4));
  form.outputFileName = " scan.tcl ";
  form.repeatActive = true;
  const std::vector<std::string> lines = SplitLines(Script(form, "c:\\"));
  EXPECT_EQ("set fp1 [open c:\\\\\\\\scan_Repeat.dat w+]", lines.at(4));
  EXPECT_EQ("set fp2 [open c:\\\\\\\\scan_Average.dat w+]", lines.at(5));
}

// Each check in its order; every refusal of a field is "Setting Error!", and the repeat count is
// looked at only once every other field has passed.
TEST(SlitScanValidate, RefusedInputs) {
  struct Row {
    const char* what;
    void (*change)(SlitScanForm&);
    const char* message;
  };
  const Row rows[] = {
      {"no blade pair", [](SlitScanForm& f) { f.axisY = f.axisZ = false; }, "Setting Error!"},
      {"slit width empty", [](SlitScanForm& f) { f.slitWidth = ""; }, "Setting Error!"},
      {"slit width text", [](SlitScanForm& f) { f.slitWidth = "abc"; }, "Setting Error!"},
      {"slit width grouped", [](SlitScanForm& f) { f.slitWidth = "1,5"; }, "Setting Error!"},
      {"slit width overflows", [](SlitScanForm& f) { f.slitWidth = "1e39"; }, "Setting Error!"},
      {"scan center text", [](SlitScanForm& f) { f.scanCenter = "1.2.3"; }, "Setting Error!"},
      {"scan center overflows", [](SlitScanForm& f) { f.scanCenter = "-1e39"; }, "Setting Error!"},
      {"scan width blanks", [](SlitScanForm& f) { f.scanWidth = "   "; }, "Setting Error!"},
      {"scan width overflows", [](SlitScanForm& f) { f.scanWidth = "1e39"; }, "Setting Error!"},
      {"division empty", [](SlitScanForm& f) { f.division = ""; }, "Setting Error!"},
      {"division one point", [](SlitScanForm& f) { f.division = "1"; }, "Setting Error!"},
      {"division rounds to one", [](SlitScanForm& f) { f.division = "1.4"; }, "Setting Error!"},
      {"division lowest", [](SlitScanForm& f) { f.division = "-32768"; }, "Setting Error!"},
      {"division above 16 bits", [](SlitScanForm& f) { f.division = "40000"; }, "Setting Error!"},
      {"division below 16 bits", [](SlitScanForm& f) { f.division = "-40000"; }, "Setting Error!"},
      {"blade targets overflow",
       [](SlitScanForm& f) {
         f.slitWidth = "3e38";
         f.scanCenter = "3e38";
       },
       "Setting Error!"},
      {"file name empty", [](SlitScanForm& f) { f.outputFileName = ""; }, "Setting Error!"},
      {"file name blanks", [](SlitScanForm& f) { f.outputFileName = "   "; }, "Setting Error!"},
      {"file name without base", [](SlitScanForm& f) { f.outputFileName = ".tcl"; }, "Setting Error!"},
      {"file name without dot", [](SlitScanForm& f) { f.outputFileName = "run"; }, "Setting Error!"},
      {"repeat once", [](SlitScanForm& f) { f.repeatTimes = "1"; }, "Repeat Times Error"},
      {"repeat zero", [](SlitScanForm& f) { f.repeatTimes = "0"; }, "Repeat Times Error"},
      {"repeat negative", [](SlitScanForm& f) { f.repeatTimes = "-3"; }, "Repeat Times Error"},
      {"repeat text", [](SlitScanForm& f) { f.repeatTimes = "abc"; }, "Repeat Times Error"},
      {"repeat empty", [](SlitScanForm& f) { f.repeatTimes = ""; }, "Repeat Times Error"},
      {"repeat rounds to one", [](SlitScanForm& f) { f.repeatTimes = "1.4"; }, "Repeat Times Error"},
      {"repeat above 16 bits", [](SlitScanForm& f) { f.repeatTimes = "40000"; }, "Repeat Times Error"},
      {"repeat checked after division",
       [](SlitScanForm& f) {
         f.repeatTimes = "abc";
         f.division = "1";
       },
       "Setting Error!"},
      {"repeat checked after file name",
       [](SlitScanForm& f) {
         f.repeatTimes = "0";
         f.outputFileName = "run";
       },
       "Setting Error!"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    SlitScanForm form = Form(true, "0.1", "0", "1", "5");
    form.repeatActive = true;
    row.change(form);
    const Result<SlitScanParams> p = Validate(form);
    EXPECT_FALSE(p.ok());
    EXPECT_EQ(row.message, p.message());
  }
}

TEST(SlitScanValidate, ConvertsAcceptedInputs) {
  SlitScanForm form = Form(true, " 0.12345 ", "-1.5", "2e1", "4.5");
  form.outputFileName = "  a.b.tcl  ";
  form.repeatActive = true;
  form.repeatTimes = "1.5";
  Result<SlitScanParams> p = Validate(form);
  ASSERT_TRUE(p.ok()) << p.message();
  EXPECT_EQ(1, p->Axis);
  EXPECT_EQ(0.12345f, p->SlitWidth);
  EXPECT_EQ(-1.5f, p->ScanCenter);
  EXPECT_EQ(20.0f, p->ScanWidth);
  EXPECT_EQ(4, p->Division);  // ties to even
  EXPECT_EQ("a.b.tcl", p->OutputFileName);
  EXPECT_EQ("a", p->ResultBase);
  EXPECT_TRUE(p->RepeatActive);
  EXPECT_EQ(2, p->RepeatTimes);

  // An unticked repeat box is not read at all; y wins if both options were somehow set.
  form.repeatActive = false;
  form.repeatTimes = "abc";
  form.axisY = true;
  form.division = "2.5";
  p = Validate(form);
  ASSERT_TRUE(p.ok()) << p.message();
  EXPECT_FALSE(p->RepeatActive);
  EXPECT_EQ(0, p->Axis);
  EXPECT_EQ(2, p->Division);
}

class SlitScanSettings : public ::testing::Test {
 protected:
  TempDir dir_;
  std::string path_ = dir_.File("4DSlitScan.ini");
};

TEST_F(SlitScanSettings, SavesSixLinesAndLoadsThemBack) {
  SlitScanForm typed = Form(true, "0.1", "0", "1", "5");
  typed.repeatActive = true;
  typed.repeatTimes = "3";
  const Result<SlitScanParams> p = Validate(typed);
  ASSERT_TRUE(p.ok());
  ASSERT_FALSE(SaveSettings(path_, *p).has_value());
  EXPECT_EQ("1\r\n0.100\r\n0.000\r\n1.000\r\n5\r\n4DSlit1DScan.tcl\r\n", ReadFileBytes(path_));

  SlitScanForm loaded;
  LoadSettings(path_, loaded);
  EXPECT_FALSE(loaded.axisY);
  EXPECT_TRUE(loaded.axisZ);
  EXPECT_EQ("0.100", loaded.slitWidth);
  EXPECT_EQ("0.000", loaded.scanCenter);
  EXPECT_EQ("1.000", loaded.scanWidth);
  EXPECT_EQ("5", loaded.division);
  EXPECT_EQ("4DSlit1DScan.tcl", loaded.outputFileName);
  EXPECT_FALSE(loaded.repeatActive);
  EXPECT_EQ("2", loaded.repeatTimes);
}

TEST_F(SlitScanSettings, StoresTheConvertedValues) {
  SlitScanForm typed = Form(false, "0.12345", "-0.0004", "12.3456", "4.5");
  typed.outputFileName = " run,1.tcl ";
  const Result<SlitScanParams> p = Validate(typed);
  ASSERT_TRUE(p.ok());
  ASSERT_FALSE(SaveSettings(path_, *p).has_value());
  EXPECT_EQ("0\r\n0.123\r\n0.000\r\n12.346\r\n4\r\n\"run,1.tcl\"\r\n", ReadFileBytes(path_));
  SlitScanForm loaded;
  LoadSettings(path_, loaded);
  EXPECT_TRUE(loaded.axisY);
  EXPECT_EQ("run,1.tcl", loaded.outputFileName);
}

TEST_F(SlitScanSettings, PartialFilesFillWhatWasRead) {
  struct Row {
    const char* what;
    const char* content;  // nullptr: no file
    bool axisY, axisZ;
    const char* slitWidth;
    const char* scanCenter;
    const char* division;
    const char* outputFileName;
  };
  const Row rows[] = {
      {"missing file", nullptr, false, false, "", "", "", "4DSlit1DScan.tcl"},
      {"empty file", "", false, false, "", "", "", "4DSlit1DScan.tcl"},
      {"selector not a number", "abc\r\n0.500\r\n1.250\r\n1.000\r\n5\r\nx.tcl\r\n", false, false, "", "", "",
       "4DSlit1DScan.tcl"},
      {"three lines", "0\r\n0.500\r\n1.250\r\n", true, false, "0.500", "1.250", "", "4DSlit1DScan.tcl"},
      {"selector only, not zero", "2\r\n", false, true, "", "", "", "4DSlit1DScan.tcl"},
      {"selector rounds to zero", "  0.4  \r\n  2.5\r\n", true, false, "2.5", "", "", "4DSlit1DScan.tcl"},
      {"comma ends a field", "1\r\n0.1\r\n0\r\n1\r\n5\r\nrun,1.tcl\r\n", false, true, "0.1", "0", "5", "run"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    if (row.content != nullptr) {
      ASSERT_TRUE(WriteFileBytes(path_, row.content));
    }
    SlitScanForm form;
    LoadSettings(path_, form);
    EXPECT_EQ(row.axisY, form.axisY);
    EXPECT_EQ(row.axisZ, form.axisZ);
    EXPECT_EQ(row.slitWidth, form.slitWidth);
    EXPECT_EQ(row.scanCenter, form.scanCenter);
    EXPECT_EQ(row.division, form.division);
    EXPECT_EQ(row.outputFileName, form.outputFileName);
    EXPECT_FALSE(form.repeatActive);
    EXPECT_EQ("2", form.repeatTimes);
  }
}

}  // namespace
}  // namespace vesko
