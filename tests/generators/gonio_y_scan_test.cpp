#include "generators/gonio_y_scan.h"

#include <array>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/platform.h"
#include "tests/support/generator_checks.h"

namespace vesko {
namespace {

using test::Crlf;
using test::kSeikikaHead;
using test::ReadFileBytes;
using test::SameText;
using test::TempDir;
using test::WriteFileBytes;

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

std::string Rows(const std::string& file, const std::vector<std::string>& positions) {
  return test::TwoCounterRows("TclSrv_GStand {gonio_y", file, positions);
}

// Generator B turns omega to each ticked angle, scans there into that angle's file, and turns omega
// back to 0 at the end.
TEST(GonioYScanTest, WorkedExampleGeneratorBWithOmega2Only) {
  GonioYScanForm form = Form("0", "1", "3");
  form.useOmega = {0, 1};
  EXPECT_TRUE(SameText(
      Crlf(kSeikikaHead + std::string("set fp2 [open C:\\\\data\\\\GonioYScan_2.dat w+]\n") +
           "TclSrv_Optics:BeamStop out null\nTclSrv_Optics:Shutter open\nputs $fp2 \"GonioY,Io,I,I/Io\"\n" +
           "TclSrv_Gonio {omega move -5.000}\nset counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime "
           "-1]\n" +
           Rows("fp2", {"-0.500", "0.000", "0.500", "0.000"}) +
           "close $fp2\nTclSrv_Gonio {omega move 0.000}\n" +
           "TclSrv_Optics:Shutter close\nTclSrv_Optics:BeamStop in null\n"),
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
  // Division 0 or below: no point, only the centre.
  form.division = "0";
  EXPECT_NE(Script(form, GonioYGenerator::A)
                .find(Crlf("puts $fp \"GonioY,Io,I,I/Io\"\n" + Rows("fp", {"0.500"}) + "close $fp\n")),
            std::string::npos);
}

// Each pass adds both channels of every point; the averages of the pair go through Seikika, and the
// centre is measured once more into the average file.
TEST(GonioYScanTest, GeneratorARepeatedSumsBothChannelsAndAveragesThePair) {
  GonioYScanForm form = Form("0", "1", "2");
  form.outputFileName = "g.tcl";
  form.repeatActive = true;
  form.repeatTimes = "1.5";  // rounds to 2 passes
  const std::pair<std::string, std::string> points[] = {{"-0.500", "00"}, {"0.500", "01"}};
  std::string expected =
      kSeikikaHead + std::string("set fp1 [open C:\\\\data\\\\g_Repeat.dat w+]\n") +
      "set fp2 [open C:\\\\data\\\\g_Average.dat w+]\nTclSrv_Optics:BeamStop out null\n" +
      "TclSrv_Optics:Shutter open\nset counterA00 0\nset counterB00 0\nset counterA01 0\n" +
      "set counterB01 0\n";
  for (const std::string pass : {"00", "01"}) {
    expected +=
        "puts $fp1 \"GonioY,Io(Repeat" + pass + "),I(Repeat" + pass + "),I/Io(Repeat" + pass + ")\"\n";
    for (const auto& [x, i] : points) {
      expected += Rows("fp1", {x}) + "scan $counts \"%f %f\" counterA counterB\nset counterA" + i +
                  " [expr $counterA" + i + " + $counterA]\nset counterB" + i + " [expr $counterB" + i +
                  " + $counterB]\n";
    }
  }
  expected += "puts $fp2 \"GonioY,Io(Average),I(Average),I/Io(Average)\"\n";
  for (const auto& [x, i] : points) {
    expected += "set counterA" + i + " [expr $counterA" + i + " / 2]\nset counterB" + i + " [expr $counterB" +
                i + " / 2]\nset strBuff2 [Seikika \"$counterA" + i + " $counterB" + i + "\"]\nputs $fp2 \"" +
                x + ", $strBuff2\"\n";
  }
  expected += Rows("fp2", {"0.000"}) + "close $fp1\nclose $fp2\nTclSrv_Optics:Shutter close\n" +
              "TclSrv_Optics:BeamStop in null\n";
  EXPECT_TRUE(SameText(Crlf(expected), Script(form, GonioYGenerator::A)));
  // Generator B has no repeat: the same ticked box and times are not read.
  form.repeatTimes = "x";
  form.useOmega = {1, 0};
  ASSERT_TRUE(Validate(form, GonioYGenerator::B).ok());
  EXPECT_FALSE(Validate(form, GonioYGenerator::B)->RepeatActive);
}

// Any ticked (or grey) box chooses generator B, which disables the repeat controls and unticks Active;
// unticking again enables them but leaves Active unticked.
TEST(GonioYScanTest, OmegaRule) {
  for (const std::array<int, 2> boxes : {std::array{0, 0}, {1, 0}, {0, 1}, {1, 1}, {0, 2}}) {
    GonioYScanForm form;
    form.repeatActive = true;
    form.useOmega = boxes;
    const bool a = boxes[0] == 0 && boxes[1] == 0;
    const OmegaRuleState state = ApplyOmegaRule(form);
    EXPECT_EQ(state.generator, a ? GonioYGenerator::A : GonioYGenerator::B) << boxes[0] << boxes[1];
    EXPECT_EQ(state.repeatControlsEnabled, a);
    EXPECT_EQ(form.repeatActive, a);
    form.useOmega = {0, 0};
    EXPECT_TRUE(ApplyOmegaRule(form).repeatControlsEnabled);
    EXPECT_EQ(form.repeatActive, a);
  }
}

// One row a field check. The omega texts are checked by both generators even when their box is not
// ticked, after the scan fields and before the file name; the repeat count comes last of all.
TEST(GonioYScanTest, RefusedInputsInCheckOrder) {
  GonioYScanForm good = Form("0", "1", "3");
  good.repeatActive = true;
  const struct {
    std::string GonioYScanForm::*field;
    const char* text;
    const char* message;
  } cases[] = {
      {&GonioYScanForm::scanCenter, "", "Setting Error!"},
      {&GonioYScanForm::scanWidth, "1.2.3", "Setting Error!"},
      {&GonioYScanForm::division, "1", "Setting Error!"},
      {&GonioYScanForm::outputFileName, "scan", "Setting Error!"},
      {&GonioYScanForm::repeatTimes, "1", "Repeat Times Error"},
  };
  for (const auto& c : cases) {
    GonioYScanForm form = good;
    form.*c.field = c.text;
    EXPECT_EQ(Validate(form, GonioYGenerator::A).message(), c.message) << "'" << c.text << "'";
  }

  for (GonioYGenerator generator : {GonioYGenerator::A, GonioYGenerator::B}) {
    GonioYScanForm form = good;
    form.repeatTimes = "1";
    form.outputFileName = "";
    form.omega = {"5", "x"};
    EXPECT_EQ(Validate(form, generator).message(), "Omega1 Setting Error!");
    form.omega[0] = "-1e39";
    EXPECT_EQ(Validate(form, generator).message(), "Omega0 Setting Error!");
    form.division = "";
    EXPECT_EQ(Validate(form, generator).message(), "Setting Error!");
  }
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
  // The grey box did not turn omega and is stored unticked.
  const std::string bytes = "0\r\n0.123\r\n-2.000\r\n10\r\n\"y,old.tcl\"\r\n0\r\n0.000\r\n1\r\n7.000\r\n";
  const Result<GonioYScanParams> p = Validate(typed, GonioYGenerator::B);
  ASSERT_TRUE(p.ok()) << p.message();
  ASSERT_FALSE(SaveSettings(path_, *p).has_value());
  EXPECT_EQ(ReadFileBytes(path_), bytes);

  GonioYScanForm loaded;
  loaded.repeatActive = true;
  LoadSettings(path_, loaded);
  EXPECT_FALSE(loaded.repeatActive) << "a ticked box loaded applies the omega rule";
  const Result<GonioYScanParams> again = Validate(loaded, GonioYGenerator::B);
  ASSERT_TRUE(again.ok()) << again.message();
  ASSERT_FALSE(SaveSettings(path_, *again).has_value());
  EXPECT_EQ(ReadFileBytes(path_), bytes);
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
