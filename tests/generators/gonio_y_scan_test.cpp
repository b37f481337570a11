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

}  // namespace
}  // namespace vesko
