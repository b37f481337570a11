// Collimator scans run in a real Tcl interpreter against a simulated control server.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "generators/coll_scan.h"
#include "tests/dryrun/dryrun_fixture.h"

namespace vesko::test {
namespace {

using CollScanDryRun = DryRunTest;

TEST_F(CollScanDryRun, BothPanelsSetTheSlitThenScanAndReturnToTheCentre) {
  const struct {
    std::int16_t panel;
    const char* axis;
    const char* header;
    std::vector<Reading> readings;
  } cases[] = {
      // col_y from the high edge down, col_z from the low edge up; both end at the centre.
      {0, "col_y", "col_y, Io, I, I/Io", {{"1.000"}, {"0.750"}, {"0.500"}, {"0.250"}, {"0.000"}, {"0.500"}}},
      {1, "col_z", "col_z, Io, I, I/Io", {{"0.000"}, {"0.250"}, {"0.500"}, {"0.750"}, {"1.000"}, {"0.500"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.axis);
    CollScanForm form;
    form.panel = c.panel;
    form.scanCenter = "0.5";
    form.scanWidth = "1.0";
    form.division = "5";
    form.move4DSlit = true;
    form.slitWidthY = "0.5";
    form.slitWidthZ = "0.3";
    form.slitCenterY = "0.1";
    form.slitCenterZ = "-0.05";
    const DryRunReport report = RunScript(ScriptFor(form, "C:\\data"));
    ExpectCleanRun(report);
    ASSERT_EQ(report.opens.size(), 1u);
    EXPECT_EQ(report.opens[0].requestedPath, "C:\\data\\Coll1DScan.dat");

    ExpectSlitPreset(report, {"0.350", "0.150", "0.100", "0.200"});
    const std::vector<std::string> lines = ResultLines(report, 0);
    ASSERT_EQ(lines.size(), c.readings.size() + 1);
    EXPECT_EQ(lines[0], c.header);
    std::size_t measure = 4;
    std::size_t line = 1;
    ExpectTwoCounterReadings(report, measure, c.axis, c.readings, lines, line);
    EXPECT_EQ(measure, report.measures.size());
    // The other collimator axis is never touched.
    EXPECT_EQ(report.positions.at(c.panel == 0 ? "col_z" : "col_y"), "-");
  }
}

}  // namespace
}  // namespace vesko::test
