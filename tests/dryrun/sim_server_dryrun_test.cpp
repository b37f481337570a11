// The simulated control server itself: what it refuses must stay refused, or the dry runs of the
// generators would prove nothing.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/dryrun/dryrun_fixture.h"

namespace vesko::test {
namespace {

using SimServer = DryRunTest;

TEST_F(SimServer, RefusesFilesProgramsUnknownCommandsAndMalformedRequests) {
  const std::vector<std::string> refused = {
      "exec ls",
      "file delete x",
      "load x",
      "interp invokehidden {} exec ls",
      "TclSrv_Optics:Mirror {m1 move 1.0}",
      "TclSrv_Optics:4DSlit {slit_x1 move 1.0}",
      "TclSrv_Optics:Collimator {col_y move}",
      "TclSrv_Optics:Collimator {col_y move 1.0} extra",
      "TclSrv_Optics:Lens {lens_y goto 1.0}",
      "TclSrv_Optics:Lens {lens_rx move 1.0}",
      "TclSrv_GStand {gonio_z move 1.0}",
      "TclSrv_GStage {stage_y move 1.0}",
      "TclSrv_GStage {y move {1.0 2.0}}",
      "TclSrv_Gonio {omega move abc}",
      "TclSrv_Optics:Shutter half",
      "TclSrv_Optics:BeamStop out",
      "TclSrv_ORTEC994:MeasureCountsWithTimer 1.0 1",
      "TclSrv_ORTEC994:MeasureCountsWithTimer 1.0",
      "set c $_ORTEC994(counterA)",
  };
  const std::string timer = "TclSrv_ORTEC994:MeasureCounts:ConfigureTimer 1.0\r\n";
  for (const std::string& command : refused) {
    SCOPED_TRACE(command);
    const DryRunReport report = RunScript(timer + command + "\r\n");
    EXPECT_FALSE(report.ok);
  }
  // Counting needs the timer.
  EXPECT_FALSE(RunScript("TclSrv_ORTEC994:MeasureCountsWithTimer 1.0 0\r\n").ok);
  const DryRunReport counted = RunScript(timer + "TclSrv_ORTEC994:MeasureCountsWithTimer 1.0 0\r\n");
  EXPECT_TRUE(counted.ok) << counted.message;
}

TEST_F(SimServer, KeepsResultFilesInTheSandboxAndCountsUnclosedChannels) {
  const DryRunReport report = RunScript("set a [open x w+]\r\nset b [open y w]\r\nclose $b\r\nputs $a 1\r\n");
  EXPECT_TRUE(report.ok) << report.message;
  EXPECT_EQ(report.facts.at("unclosed"), "1");
  EXPECT_EQ(ListFolder(sandbox_.path()), (std::vector<std::string>{"dryrun-report.txt", "dryrun-stderr.txt",
                                                                   "result-1.dat", "result-2.dat"}));
}

}  // namespace
}  // namespace vesko::test
