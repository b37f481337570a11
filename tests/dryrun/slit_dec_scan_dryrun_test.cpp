// Decreasing-width 4D slit scans run in a real Tcl interpreter against a simulated control server.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "generators/slit_dec_scan.h"
#include "tests/dryrun/dryrun_fixture.h"

namespace vesko::test {
namespace {

// The two blades of one opening, as the script writes them.
struct Opening {
  std::string pos1;
  std::string pos2;
};

SlitDecScanForm Form(bool zPair, std::string start, std::string end, std::string center, std::string step) {
  SlitDecScanForm form;
  form.axisY = !zPair;
  form.axisZ = zPair;
  form.startSlitWidth = std::move(start);
  form.endSlitWidth = std::move(end);
  form.scanCenter = std::move(center);
  form.decStep = std::move(step);
  return form;
}

std::string Row(const Opening& o, long long count) {
  return o.pos1 + "," + o.pos2 + ", " + std::to_string(count);
}

using SlitDecScanDryRun = DryRunTest;

TEST_F(SlitDecScanDryRun, SingleScanClosesTheYPairAroundItsCentre) {
  const DryRunReport report = RunScript(ScriptFor(Form(false, "1.0", "0.5", "0.1", "0.25"), "C:\\data"));
  ExpectCleanRun(report);
  ASSERT_EQ(report.opens.size(), 1u);
  EXPECT_EQ(report.opens[0].requestedPath, "C:\\data\\4DSlitDec1DScan.dat");

  const std::vector<Opening> openings = {{"0.600", "0.400"}, {"0.475", "0.275"}, {"0.350", "0.150"}};
  ASSERT_EQ(report.measures.size(), openings.size());
  EXPECT_EQ(report.moves, 2 * static_cast<int>(openings.size()));
  const std::vector<std::string> lines = ResultLines(report, 0);
  ASSERT_EQ(lines.size(), openings.size() + 1);
  EXPECT_EQ(lines[0], "slit_y1,slit_y2,Intensity");
  for (std::size_t k = 0; k < openings.size(); ++k) {
    const DryRunMeasure& m = report.measures[k];
    EXPECT_EQ(m.At("slit_y1"), openings[k].pos1) << "measurement " << k + 1;
    EXPECT_EQ(m.At("slit_y2"), openings[k].pos2) << "measurement " << k + 1;
    EXPECT_EQ(m.At("slit_z1"), "-");
    EXPECT_EQ(m.shutter, "open");
    EXPECT_EQ(m.count, DefaultCountA(static_cast<long long>(k) + 1));
    EXPECT_EQ(lines[k + 1], Row(openings[k], m.count));
  }
}

TEST_F(SlitDecScanDryRun, RepeatedZScanAveragesTheIntegerSumsOfItsPasses) {
  SlitDecScanForm form = Form(true, "1.0", "0.25", "-0.125", "0.25");
  form.repeatActive = true;
  form.repeatTimes = "3";
  // Counts that differ per pass and whose sums do not divide by 3, so the integer division shows.
  const DryRunReport report =
      RunScript(ScriptFor(form, "C:\\data"),
                "{seq pos} {expr {100 + $seq * $seq / 2 + 1000 * [dict get $pos slit_z1]}}");
  ExpectCleanRun(report);
  ASSERT_EQ(report.opens.size(), 2u);
  EXPECT_EQ(report.opens[0].requestedPath, "C:\\data\\4DSlitDec1DScan_Repeat.dat");
  EXPECT_EQ(report.opens[1].requestedPath, "C:\\data\\4DSlitDec1DScan_Average.dat");

  const std::vector<Opening> openings = {
      {"0.375", "0.625"}, {"0.250", "0.500"}, {"0.125", "0.375"}, {"0.000", "0.250"}};
  const int passes = 3;
  ASSERT_EQ(report.measures.size(), openings.size() * passes);

  const std::vector<std::string> repeat = ResultLines(report, 0);
  ASSERT_EQ(repeat.size(), (openings.size() + 1) * passes);
  std::vector<long long> sums(openings.size(), 0);
  long long seq = 0;
  for (int pass = 0; pass < passes; ++pass) {
    std::size_t line = pass * (openings.size() + 1);
    EXPECT_EQ(repeat[line], "slit_z1,slit_z2,Intensity(Repeat0" + std::to_string(pass) + ")");
    for (std::size_t i = 0; i < openings.size(); ++i) {
      const DryRunMeasure& m = report.measures[seq++];
      EXPECT_EQ(m.At("slit_z1"), openings[i].pos1);
      EXPECT_EQ(m.At("slit_z2"), openings[i].pos2);
      EXPECT_EQ(m.At("slit_y1"), "-");
      EXPECT_EQ(m.count, 100 + seq * seq / 2 + std::llround(1000 * std::stod(openings[i].pos1)));
      EXPECT_EQ(repeat[++line], Row(openings[i], m.count));
      sums[i] += m.count;
    }
  }

  const std::vector<std::string> average = ResultLines(report, 1);
  ASSERT_EQ(average.size(), openings.size() + 1);
  EXPECT_EQ(average[0], "slit_z1,slit_z2,Intensity(Average)");
  for (std::size_t i = 0; i < openings.size(); ++i) {
    EXPECT_NE(sums[i] % passes, 0) << "the sums should not divide evenly";
    EXPECT_EQ(average[i + 1], Row(openings[i], sums[i] / passes));
  }
}

}  // namespace
}  // namespace vesko::test
