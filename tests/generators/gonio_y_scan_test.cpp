#include "generators/gonio_y_scan.h"

#include <array>
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

GonioYScanForm Form(std::string center, std::string width, std::string division) {
  GonioYScanForm f;
  f.scanCenter = std::move(center);
  f.scanWidth = std::move(width);
  f.division = std::move(division);
  return f;
}

std::string Script(const GonioYScanForm& form, GonioYGenerator generator) {
  const Result<GonioYScanParams> p = Validate(form, generator);
  EXPECT_TRUE(p.ok()) << p.message();
  if (!p.ok()) {
    return {};
  }
  StringSink sink;
  (generator == GonioYGenerator::A ? BuildScriptA : BuildScriptB)(*p, "C:\\data", sink);
  return sink.text();
}

const char* const kSeikikaHead = R"(proc Seikika {strArg} {
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
)";

// Move, two-channel count, Seikika and result row into `file` for each position.
std::string Rows(const std::string& file, const std::vector<std::string>& positions) {
  std::string text;
  for (const std::string& p : positions) {
    text += "TclSrv_GStand {gonio_y move " + p + "}\n";
    text += "set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]\n";
    text += "set strBuff2 [Seikika $counts]\n";
    text += "puts $" + file + " \"" + p + ", $strBuff2\"\n";
  }
  return text;
}

TEST(GonioYScanTest, WorkedExampleGeneratorBWithOmega2Only) {
  GonioYScanForm form = Form("0", "1", "3");
  form.useOmega = {0, 1};
  EXPECT_TRUE(SameText(Crlf(kSeikikaHead + std::string(R"(set fp2 [open C:\\data\\GonioYScan_2.dat w+]
TclSrv_Optics:BeamStop out null
TclSrv_Optics:Shutter open
puts $fp2 "GonioY,Io,I,I/Io"
TclSrv_Gonio {omega move -5.000}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
TclSrv_GStand {gonio_y move -0.500}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
set strBuff2 [Seikika $counts]
puts $fp2 "-0.500, $strBuff2"
TclSrv_GStand {gonio_y move 0.000}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
set strBuff2 [Seikika $counts]
puts $fp2 "0.000, $strBuff2"
TclSrv_GStand {gonio_y move 0.500}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
set strBuff2 [Seikika $counts]
puts $fp2 "0.500, $strBuff2"
TclSrv_GStand {gonio_y move 0.000}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
set strBuff2 [Seikika $counts]
puts $fp2 "0.000, $strBuff2"
close $fp2
TclSrv_Gonio {omega move 0.000}
TclSrv_Optics:Shutter close
TclSrv_Optics:BeamStop in null
)")),
                       Script(form, GonioYGenerator::B)));
}

TEST(GonioYScanTest, GeneratorBWithBothAnglesOpensBothFilesFirst) {
  GonioYScanForm form = Form("1", "-2", "2");  // a negative width runs from the high edge down
  form.useOmega = {1, 1};
  form.omega = {" 2.5 ", "-0.0625"};
  const std::string count = "set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]\n";
  EXPECT_TRUE(SameText(
      Crlf(kSeikikaHead + std::string("set fp1 [open C:\\\\data\\\\GonioYScan_1.dat w+]\n") +
           "set fp2 [open C:\\\\data\\\\GonioYScan_2.dat w+]\n" +
           "TclSrv_Optics:BeamStop out null\nTclSrv_Optics:Shutter open\n" +
           "puts $fp1 \"GonioY,Io,I,I/Io\"\nTclSrv_Gonio {omega move 2.500}\n" + count +
           Rows("fp1", {"2.000", "0.000", "1.000"}) + "close $fp1\n" +
           "puts $fp2 \"GonioY,Io,I,I/Io\"\nTclSrv_Gonio {omega move -0.063}\n" + count +
           Rows("fp2", {"2.000", "0.000", "1.000"}) + "close $fp2\n" +
           "TclSrv_Gonio {omega move 0.000}\nTclSrv_Optics:Shutter close\nTclSrv_Optics:BeamStop in null\n"),
      Script(form, GonioYGenerator::B)));
}

TEST(GonioYScanTest, GreyBoxChoosesGeneratorBButTurnsNoAngle) {
  GonioYScanForm form = Form("0", "1", "3");
  form.useOmega = {2, 0};
  EXPECT_EQ(OmegaRuleFor(form.useOmega).generator, GonioYGenerator::B);
  EXPECT_TRUE(SameText(Crlf(kSeikikaHead + std::string(R"(TclSrv_Optics:BeamStop out null
TclSrv_Optics:Shutter open
TclSrv_Gonio {omega move 0.000}
TclSrv_Optics:Shutter close
TclSrv_Optics:BeamStop in null
)")),
                       Script(form, GonioYGenerator::B)));
}

TEST(GonioYScanTest, GeneratorASingleScanIgnoresTheAngles) {
  GonioYScanForm form = Form("0.5", "1", "5");
  form.outputFileName = " run.1.tcl ";
  EXPECT_TRUE(SameText(Crlf(kSeikikaHead + std::string("set fp [open C:\\\\data\\\\run.dat w+]\n") +
                            "TclSrv_Optics:BeamStop out null\nTclSrv_Optics:Shutter open\n" +
                            "puts $fp \"GonioY,Io,I,I/Io\"\n" +
                            Rows("fp", {"0.000", "0.250", "0.500", "0.750", "1.000", "0.500"}) +
                            "close $fp\nTclSrv_Optics:Shutter close\nTclSrv_Optics:BeamStop in null\n"),
                       Script(form, GonioYGenerator::A)));
  // Division 0 or below: no point, only the centre; 2.5000001 is the float 2.5, which rounds to 2.
  const std::string header = "puts $fp \"GonioY,Io,I,I/Io\"\n";
  form.division = "0";
  EXPECT_NE(Script(form, GonioYGenerator::A).find(Crlf(header + Rows("fp", {"0.500"}) + "close $fp\n")),
            std::string::npos);
  form.division = "2.5000001";
  EXPECT_NE(Script(form, GonioYGenerator::A)
                .find(Crlf(header + Rows("fp", {"0.000", "1.000", "0.500"}) + "close $fp\n")),
            std::string::npos);
}

TEST(GonioYScanTest, GeneratorARepeatedSumsBothChannelsAndAveragesThePair) {
  GonioYScanForm form = Form("0", "1", "2");
  form.outputFileName = "g.tcl";
  form.repeatActive = true;
  form.repeatTimes = "1.5";  // rounds to 2 passes
  EXPECT_TRUE(SameText(Crlf(kSeikikaHead + std::string(R"golden(set fp1 [open C:\\data\\g_Repeat.dat w+]
set fp2 [open C:\\data\\g_Average.dat w+]
TclSrv_Optics:BeamStop out null
TclSrv_Optics:Shutter open
set counterA00 0
set counterB00 0
set counterA01 0
set counterB01 0
puts $fp1 "GonioY,Io(Repeat00),I(Repeat00),I/Io(Repeat00)"
TclSrv_GStand {gonio_y move -0.500}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
set strBuff2 [Seikika $counts]
puts $fp1 "-0.500, $strBuff2"
scan $counts "%f %f" counterA counterB
set counterA00 [expr $counterA00 + $counterA]
set counterB00 [expr $counterB00 + $counterB]
TclSrv_GStand {gonio_y move 0.500}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
set strBuff2 [Seikika $counts]
puts $fp1 "0.500, $strBuff2"
scan $counts "%f %f" counterA counterB
set counterA01 [expr $counterA01 + $counterA]
set counterB01 [expr $counterB01 + $counterB]
puts $fp1 "GonioY,Io(Repeat01),I(Repeat01),I/Io(Repeat01)"
TclSrv_GStand {gonio_y move -0.500}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
set strBuff2 [Seikika $counts]
puts $fp1 "-0.500, $strBuff2"
scan $counts "%f %f" counterA counterB
set counterA00 [expr $counterA00 + $counterA]
set counterB00 [expr $counterB00 + $counterB]
TclSrv_GStand {gonio_y move 0.500}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
set strBuff2 [Seikika $counts]
puts $fp1 "0.500, $strBuff2"
scan $counts "%f %f" counterA counterB
set counterA01 [expr $counterA01 + $counterA]
set counterB01 [expr $counterB01 + $counterB]
puts $fp2 "GonioY,Io(Average),I(Average),I/Io(Average)"
set counterA00 [expr $counterA00 / 2]
set counterB00 [expr $counterB00 / 2]
set strBuff2 [Seikika "$counterA00 $counterB00"]
puts $fp2 "-0.500, $strBuff2"
set counterA01 [expr $counterA01 / 2]
set counterB01 [expr $counterB01 / 2]
set strBuff2 [Seikika "$counterA01 $counterB01"]
puts $fp2 "0.500, $strBuff2"
TclSrv_GStand {gonio_y move 0.000}
set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]
set strBuff2 [Seikika $counts]
puts $fp2 "0.000, $strBuff2"
close $fp1
close $fp2
TclSrv_Optics:Shutter close
TclSrv_Optics:BeamStop in null
)golden")),
                       Script(form, GonioYGenerator::A)));
  // Generator B has no repeat: the same ticked box and times are not read.
  form.repeatTimes = "x";
  form.useOmega = {1, 0};
  EXPECT_TRUE(Validate(form, GonioYGenerator::B).ok());
  EXPECT_FALSE(Validate(form, GonioYGenerator::B)->RepeatActive);
}

TEST(GonioYScanTest, OmegaRule) {
  const struct {
    std::array<int, 2> boxes;
    GonioYGenerator generator;
  } cases[] = {{{0, 0}, GonioYGenerator::A},
               {{1, 0}, GonioYGenerator::B},
               {{0, 1}, GonioYGenerator::B},
               {{1, 1}, GonioYGenerator::B},
               {{0, 2}, GonioYGenerator::B}};
  for (const auto& c : cases) {
    GonioYScanForm form;
    form.repeatActive = true;
    form.useOmega = c.boxes;
    const OmegaRuleState state = ApplyOmegaRule(form);
    const bool a = c.generator == GonioYGenerator::A;
    EXPECT_EQ(state.generator, c.generator) << c.boxes[0] << c.boxes[1];
    EXPECT_EQ(state.repeatControlsEnabled, a);
    EXPECT_EQ(form.repeatActive, a) << "generator B unticks Active";
  }
  // Unticking again enables the repeat controls but leaves Active unticked.
  GonioYScanForm form;
  form.repeatActive = true;
  form.useOmega = {1, 0};
  ApplyOmegaRule(form);
  form.useOmega = {0, 0};
  EXPECT_TRUE(ApplyOmegaRule(form).repeatControlsEnabled);
  EXPECT_FALSE(form.repeatActive);
}

TEST(GonioYScanTest, RefusedInputsInCheckOrder) {
  GonioYScanForm good = Form("0", "1", "3");
  good.repeatActive = true;
  ASSERT_TRUE(Validate(good, GonioYGenerator::A).ok());
  const struct {
    std::string GonioYScanForm::*field;
    const char* text;
    const char* message;
  } cases[] = {
      {&GonioYScanForm::scanCenter, "", "Setting Error!"},
      {&GonioYScanForm::scanCenter, "1e39", "Setting Error!"},
      {&GonioYScanForm::scanWidth, "1.2.3", "Setting Error!"},
      {&GonioYScanForm::division, "1", "Setting Error!"},
      {&GonioYScanForm::division, "-32768", "Setting Error!"},
      {&GonioYScanForm::division, "32767.5", "Setting Error!"},
      {&GonioYScanForm::outputFileName, "  ", "Setting Error!"},
      {&GonioYScanForm::outputFileName, ".tcl", "Setting Error!"},
      {&GonioYScanForm::outputFileName, "scan", "Setting Error!"},
      {&GonioYScanForm::repeatTimes, "1", "Repeat Times Error"},
      {&GonioYScanForm::repeatTimes, "0", "Repeat Times Error"},
      {&GonioYScanForm::repeatTimes, "abc", "Repeat Times Error"},
      {&GonioYScanForm::repeatTimes, "40000", "Repeat Times Error"},
  };
  for (const auto& c : cases) {
    GonioYScanForm form = good;
    form.*c.field = c.text;
    EXPECT_EQ(Validate(form, GonioYGenerator::A).message(), c.message) << "'" << c.text << "'";
  }

  // Unticked angles are checked too, by both generators, before the file name; the first box first.
  for (GonioYGenerator generator : {GonioYGenerator::A, GonioYGenerator::B}) {
    GonioYScanForm form = good;
    form.outputFileName = "";
    form.omega = {"5", "x"};
    EXPECT_EQ(Validate(form, generator).message(), "Omega1 Setting Error!");
    form.omega[0] = "-1e39";
    EXPECT_EQ(Validate(form, generator).message(), "Omega0 Setting Error!");
    form.division = "";
    EXPECT_EQ(Validate(form, generator).message(), "Setting Error!");
  }
  // The repeat count comes last of all.
  GonioYScanForm late = good;
  late.repeatTimes = "1";
  late.outputFileName = "noDot";
  EXPECT_EQ(Validate(late, GonioYGenerator::A).message(), "Setting Error!");
}

class GonioYScanSettingsTest : public ::testing::Test {
 protected:
  TempDir dir_;
  std::string path_ = JoinPath(dir_.path(), kGonioYScanSettingsFile);
};

TEST_F(GonioYScanSettingsTest, StoresConvertedValuesAndLoadsThemBack) {
  GonioYScanForm typed = Form("0.12345", "-2", "10.5");
  typed.outputFileName = " y,old.tcl ";
  typed.useOmega = {2, 1};
  typed.omega = {"1e-4", "7"};
  const Result<GonioYScanParams> p = Validate(typed, GonioYGenerator::B);
  ASSERT_TRUE(p.ok()) << p.message();
  ASSERT_FALSE(SaveSettings(path_, *p).has_value());
  // The grey box did not turn omega and is stored unticked.
  EXPECT_EQ(ReadFileBytes(path_),
            "0\r\n0.123\r\n-2.000\r\n10\r\n\"y,old.tcl\"\r\n0\r\n0.000\r\n1\r\n7.000\r\n");

  GonioYScanForm loaded;
  loaded.repeatActive = true;
  LoadSettings(path_, loaded);
  EXPECT_EQ(loaded.scanCenter, "0.123");
  EXPECT_EQ(loaded.scanWidth, "-2.000");
  EXPECT_EQ(loaded.division, "10");
  EXPECT_EQ(loaded.outputFileName, "y,old.tcl");
  EXPECT_EQ(loaded.useOmega, (std::array<int, 2>{0, 1}));
  EXPECT_EQ(loaded.omega, (std::array<std::string, 2>{"0.000", "7.000"}));
  EXPECT_FALSE(loaded.repeatActive) << "a ticked box loaded applies the omega rule";
}

TEST_F(GonioYScanSettingsTest, GreyBoxLoadsAndABadBoxLineStops) {
  ASSERT_TRUE(WriteFileBytes(path_, "7\r\n1\r\n2\r\n3\r\na.tcl\r\n2\r\n4\r\n3\r\n-4\r\n"));
  GonioYScanForm form;
  LoadSettings(path_, form);
  EXPECT_EQ(form.scanCenter, "1");
  EXPECT_EQ(form.outputFileName, "a.tcl");
  EXPECT_EQ(form.useOmega, (std::array<int, 2>{2, 0}));
  EXPECT_EQ(form.omega, (std::array<std::string, 2>{"4", "-5.000"})) << "stops at the box value 3";
  const Result<GonioYScanParams> p = Validate(form, GonioYGenerator::B);
  ASSERT_TRUE(p.ok());
  EXPECT_EQ(p->UseOmega, (std::array<bool, 2>{false, false}));

  GonioYScanForm combined;
  LoadCombinedSettings(path_, combined);
  EXPECT_EQ(combined.useOmega, (std::array<int, 2>{2, 0}));
  EXPECT_EQ(combined.omega, (std::array<std::string, 2>{"4", "-4"})) << "the combined reader goes on";

  GonioYScanForm missing;
  LoadSettings(JoinPath(dir_.path(), "none.ini"), missing);
  EXPECT_EQ(missing.outputFileName, "GonioYScan.tcl");
}

}  // namespace
}  // namespace vesko
