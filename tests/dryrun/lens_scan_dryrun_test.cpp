// Lens scans run in a real Tcl interpreter against a simulated control server.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "generators/lens_scan.h"
#include "tests/dryrun/dryrun_fixture.h"

namespace vesko::test {
namespace {

using LensScanDryRun = DryRunTest;

TEST_F(LensScanDryRun, EveryAxisScansFromTheHighEdgeDownThenCountsAtTheCentre) {
  // Scanned from the high edge down, then once more at the centre.
  const std::vector<std::string> positions = {"0.150", "0.050", "-0.050", "-0.150", "0.000"};
  for (std::size_t axis = 0; axis < kLensAxisNames.size(); ++axis) {
    const std::string name = kLensAxisNames[axis];
    SCOPED_TRACE(name);
    LensScanForm form;
    form.axis[axis] = true;
    form.scanCenter = "0.0";
    form.scanWidth = "0.3";
    form.division = "4";
    const DryRunReport report = RunScript(ScriptFor(form, "C:\\data"));
    ExpectCleanRun(report);
    ASSERT_EQ(report.opens.size(), 1u);
    EXPECT_EQ(report.opens[0].requestedPath, "C:\\data\\Lens1DScan.dat");

    const std::vector<std::string> lines = ResultLines(report, 0);
    ASSERT_EQ(report.measures.size(), positions.size());
    ASSERT_EQ(lines.size(), positions.size() + 1);
    EXPECT_EQ(lines[0], name + ", Io");
    for (std::size_t k = 0; k < positions.size(); ++k) {
      const DryRunMeasure& m = report.measures[k];
      EXPECT_EQ(m.mode, 0);
      EXPECT_EQ(m.At(name), positions[k]) << "measurement " << k + 1;
      EXPECT_EQ(m.shutter, "open");
      EXPECT_EQ(m.beamStop, "in");
      EXPECT_EQ(lines[k + 1],
                positions[k] + ", " + std::to_string(DefaultCountA(static_cast<long long>(k) + 1)));
    }
    // Only the chosen axis moved.
    EXPECT_EQ(report.moves, static_cast<int>(positions.size()));
  }
}

}  // namespace
}  // namespace vesko::test
