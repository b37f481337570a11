// Gonio stage scans run in a real Tcl interpreter against a simulated control server.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "generators/gonio_stage_scan.h"
#include "tests/dryrun/dryrun_fixture.h"

namespace vesko::test {
namespace {

using GonioStageScanDryRun = DryRunTest;

TEST_F(GonioStageScanDryRun, BothPanelsSetTheSlitThenScanWithTheirOwnApproach) {
  const struct {
    std::int16_t panel;
    const char* axis;
    const char* header;
    std::vector<Reading> readings;
  } cases[] = {
      // The y stage reaches the first point and the centre from 0.02 below, counting there unreported.
      {0,
       "stage_y",
       "gonio_stage_y,Io,I,I/Io",
       {{"0.780", false}, {"0.800"}, {"1.000"}, {"1.200"}, {"0.980", false}, {"1.000"}}},
      {1, "stage_z", "gonio_stage_z,Io,I,I/Io", {{"0.800"}, {"1.000"}, {"1.200"}, {"1.000"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.axis);
    GonioStageScan2Form form;
    form.panel = c.panel;
    form.move4DSlit = 1;
    form.slitWidthY = "0.5";
    form.slitWidthZ = "0.3";
    form.slitCenterY = "0.1";
    form.slitCenterZ = "-0.05";
    form.scanCenter = "1.0";
    form.scanWidth = "0.4";
    form.division = "3";
    const DryRunReport report = RunScript(ScriptFor(form, "C:\\data"));
    ExpectCleanRun(report);
    ASSERT_EQ(report.opens.size(), 1u);
    EXPECT_EQ(report.opens[0].requestedPath, "C:\\data\\Gonio1DScan.dat");

    ExpectSlitPreset(report, {"0.350", "0.150", "0.100", "0.200"});
    const std::vector<std::string> lines = ResultLines(report, 0);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], c.header);
    std::size_t measure = 4;
    std::size_t line = 1;
    ExpectTwoCounterReadings(report, measure, c.axis, c.readings, lines, line);
    EXPECT_EQ(measure, report.measures.size());
    EXPECT_EQ(report.positions.at(c.panel == 0 ? "stage_z" : "stage_y"), "-");
  }
}

}  // namespace
}  // namespace vesko::test
