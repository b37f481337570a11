// End to end: a decreasing-width scan written by the generator runs against a simulated slit whose
// scale zero is off, and the analysis of its result file finds where the slit really closes.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "analysis/break_analysis.h"
#include "generators/slit_dec_scan.h"
#include "tests/dryrun/dryrun_fixture.h"
#include "tests/support/generator_checks.h"

namespace vesko::test {
namespace {

using BreakAnalysisDryRun = DryRunTest;

TEST_F(BreakAnalysisDryRun, FindsTheRealZeroOfAnOffsetSlit) {
  // The blades' scale zero lies kOffset outside the real one on each side, so the real opening is
  // blade 1 + blade 2 - 2 * kOffset. The counts rise with the real opening above a flat background
  // (a closed slit lets none of the beam through), with a little deterministic noise; blade 1 then
  // stands at centre + kOffset where the slit really closes.
  const double kOffset = 0.137;
  const struct {
    bool zPair;
    const char* center;
    double realZero;  // blade 1 position at which the slit closes
  } cases[] = {{false, "0.0", 0.137}, {true, "0.05", 0.187}};
  for (const auto& c : cases) {
    const std::string b1 = c.zPair ? "slit_z1" : "slit_y1";
    const std::string b2 = c.zPair ? "slit_z2" : "slit_y2";
    SCOPED_TRACE(b1);
    SlitDecScanForm form;
    form.axisY = !c.zPair;
    form.axisZ = c.zPair;
    form.startSlitWidth = "1.0";
    form.endSlitWidth = "0.0";
    form.scanCenter = c.center;
    form.decStep = "0.05";
    const std::string model = "{seq pos} {expr {500 + 10000 * max(0.0, [dict get $pos " + b1 +
                              "] + [dict get $pos " + b2 + "] - 2 * " + std::to_string(kOffset) +
                              ") + ($seq * 37) % 11 - 5}}";
    const DryRunReport report = RunClean(ScriptOf(form), model);
    ASSERT_EQ(report.opens.size(), 1u);

    const BreakAnalysis analysis =
        AnalyseResultFile(report.opens[0].sandboxFile.string(), kDefaultThresholdText);
    EXPECT_TRUE(analysis.readError.empty()) << analysis.readError;
    EXPECT_TRUE(analysis.messages.empty()) << analysis.messages.front();
    // Widths 1.0 down to 0.05: the line holds while the real opening is open (widths 0.30 and up),
    // and the first step without a fall comes after the width 0.25.
    EXPECT_EQ(analysis.rows.x.size(), 20u);
    EXPECT_EQ(analysis.breakIndex, 15u);
    ASSERT_TRUE(analysis.crossX.has_value());
    const double blade1Step = 0.05 / 2;
    EXPECT_NEAR(*analysis.crossX, c.realZero, blade1Step);
    EXPECT_NEAR(analysis.level, 500, 5);
  }
}

}  // namespace
}  // namespace vesko::test
