#include "generators/gonio_y_scan.h"

#include <array>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/platform.h"
#include "tests/support/generator_checks.h"
#include "tests/support/generator_samples.h"

namespace vesko {
namespace {

using test::Crlf;
using test::kSeikikaHead;
using test::SameText;

using test::GonioYScriptOf;

std::string Rows(const std::string& file, const std::vector<std::string>& positions) {
  return test::TwoCounterRows("TclSrv_GStand {gonio_y", file, positions);
}

const std::string kShutterOpen = "TclSrv_Optics:BeamStop out null\nTclSrv_Optics:Shutter open\n";
const std::string kEnd = "TclSrv_Optics:Shutter close\nTclSrv_Optics:BeamStop in null\n";

// Generator B turns omega to each ticked angle, counts once, scans there into that angle's file, and
// turns omega back to 0 at the end; a grey box chooses generator B but turns no angle.
TEST(GonioYScanTest, GeneratorBWorkedExampleAndGreyBox) {
  GonioYScanForm form{"0", "1", "3"};
  form.useOmega = {0, 1};
  EXPECT_TRUE(
      SameText(Crlf(kSeikikaHead + std::string("set fp2 [open C:\\\\data\\\\GonioYScan_2.dat w+]\n") +
                    kShutterOpen + "puts $fp2 \"GonioY,Io,I,I/Io\"\nTclSrv_Gonio {omega move -5.000}\n" +
                    "set counts [TclSrv_ORTEC994:MeasureCountsWithTimer $exptime -1]\n" +
                    Rows("fp2", {"-0.500", "0.000", "0.500", "0.000"}) +
                    "close $fp2\nTclSrv_Gonio {omega move 0.000}\n" + kEnd),
               GonioYScriptOf(form, GonioYGenerator::B)));
  form.useOmega = {2, 0};
  EXPECT_EQ(OmegaRuleFor(form.useOmega).generator, GonioYGenerator::B);
  EXPECT_TRUE(SameText(Crlf(kSeikikaHead + kShutterOpen + "TclSrv_Gonio {omega move 0.000}\n" + kEnd),
                       GonioYScriptOf(form, GonioYGenerator::B)));
}

// Generator A ignores the angles; the result files take the name before its first dot.
TEST(GonioYScanTest, GeneratorASingleScan) {
  GonioYScanForm form{"0.5", "1", "5", " run.1.tcl "};
  form.useOmega = {1, 1};
  EXPECT_TRUE(SameText(
      Crlf(kSeikikaHead + std::string("set fp [open C:\\\\data\\\\run.dat w+]\n") + kShutterOpen +
           "puts $fp \"GonioY,Io,I,I/Io\"\n" +
           Rows("fp", {"0.000", "0.250", "0.500", "0.750", "1.000", "0.500"}) + "close $fp\n" + kEnd),
      GonioYScriptOf(form, GonioYGenerator::A)));
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

// The omega texts are checked by both generators even when their box is not ticked, after the scan
// fields and before the file name; the repeat count comes last of all, and only for generator A.
TEST(GonioYScanTest, RefusedInputsInCheckOrder) {
  GonioYScanForm good{"0", "1", "3"};
  good.repeatActive = true;
  for (GonioYGenerator generator : {GonioYGenerator::A, GonioYGenerator::B}) {
    for (std::string GonioYScanForm::*field : {&GonioYScanForm::scanCenter, &GonioYScanForm::scanWidth}) {
      GonioYScanForm form = good;
      form.*field = "1.2.3";
      EXPECT_EQ(Validate(form, generator).message(), "Setting Error!");
    }
    GonioYScanForm form = good;
    form.repeatTimes = "1";
    EXPECT_EQ(Validate(form, generator).message(),
              generator == GonioYGenerator::A ? "Repeat Times Error" : "");
    form.outputFileName = "";
    EXPECT_EQ(Validate(form, generator).message(), "Setting Error!");
    form.omega = {"5", "x"};
    EXPECT_EQ(Validate(form, generator).message(), "Omega1 Setting Error!");
    form.omega[0] = "-1e39";
    EXPECT_EQ(Validate(form, generator).message(), "Omega0 Setting Error!");
    form.division = "1";
    EXPECT_EQ(Validate(form, generator).message(), "Setting Error!");
  }
}

class GonioYScanSettingsTest : public ::testing::Test {
 protected:
  test::TempDir dir_;
  std::string path_ = JoinPath(dir_.path(), kGonioYScanSettingsFile);
};

TEST_F(GonioYScanSettingsTest, StoresConvertedValuesAndLoadsThemBack) {
  GonioYScanForm typed{"0.12345", "-2", "10.5", " y,old.tcl "};
  typed.useOmega = {2, 1};
  typed.omega = {"1e-4", "7"};
  // The grey box did not turn omega and is stored unticked.
  const std::string bytes = "0\r\n0.123\r\n-2.000\r\n10\r\n\"y,old.tcl\"\r\n0\r\n0.000\r\n1\r\n7.000\r\n";
  ASSERT_FALSE(SaveSettings(path_, *Validate(typed, GonioYGenerator::B)).has_value());
  EXPECT_EQ(test::ReadFileBytes(path_), bytes);
  GonioYScanForm loaded;
  loaded.repeatActive = true;
  LoadSettings(path_, loaded);
  EXPECT_FALSE(loaded.repeatActive) << "a ticked box loaded applies the omega rule";
  const Result<GonioYScanParams> again = Validate(loaded, GonioYGenerator::B);
  ASSERT_TRUE(again.ok()) << again.message();
  ASSERT_FALSE(SaveSettings(path_, *again).has_value());
  EXPECT_EQ(test::ReadFileBytes(path_), bytes);
}

// A grey box loads as grey and turns no angle; a box value other than 0, 1 or 2 stops the window's
// reader, while the combined window's reader skips it and goes on.
TEST_F(GonioYScanSettingsTest, GreyBoxLoadsAndABadBoxLineStops) {
  ASSERT_TRUE(test::WriteFileBytes(path_, "7\r\n1\r\n2\r\n3\r\na.tcl\r\n2\r\n4\r\n3\r\n-4\r\n"));
  GonioYScanForm form, combined;
  LoadSettings(path_, form);
  EXPECT_EQ(form.outputFileName, "a.tcl");
  EXPECT_EQ(form.useOmega, (std::array<int, 2>{2, 0}));
  EXPECT_EQ(form.omega, (std::array<std::string, 2>{"4", "-5.000"}));
  const Result<GonioYScanParams> p = Validate(form, GonioYGenerator::B);
  ASSERT_TRUE(p.ok());
  EXPECT_EQ(p->UseOmega, (std::array<bool, 2>{false, false}));
  LoadCombinedSettings(path_, combined);
  EXPECT_EQ(combined.useOmega, (std::array<int, 2>{2, 0}));
  EXPECT_EQ(combined.omega, (std::array<std::string, 2>{"4", "-4"}));
}

}  // namespace
}  // namespace vesko
