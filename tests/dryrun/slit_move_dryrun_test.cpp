// 4D slit move files run in a real Tcl interpreter against a simulated control server.

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "core/line_sink.h"
#include "generators/slit_move.h"
#include "tests/dryrun/dryrun_fixture.h"

namespace vesko::test {
namespace {

using SlitMoveDryRun = DryRunTest;

TEST_F(SlitMoveDryRun, MovesTheFourBladesAndNothingElse) {
  const struct {
    SlitMoveForm form;
    std::array<std::string, 4> blades;  // slit_y1, slit_y2, slit_z1, slit_z2
  } cases[] = {
      {{"0.2", "0.4", "0.0", "0.1"}, {"0.100", "0.100", "0.300", "0.100"}},
      // A centre beyond half the width puts blade 2 on the far side of zero.
      {{"0.2", "1", "0.3", "-0.25"}, {"0.400", "-0.200", "0.250", "0.750"}},
  };
  const std::array<std::string, 4> names = {"slit_y1", "slit_y2", "slit_z1", "slit_z2"};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.blades[0] + " " + c.blades[1] + " " + c.blades[2] + " " + c.blades[3]);
    const Result<SlitMoveParams> params = Validate(c.form);
    ASSERT_TRUE(params.ok()) << params.message();
    StringSink sink;
    BuildScript(*params, sink);
    const DryRunReport report = RunScript(sink.text());

    EXPECT_TRUE(report.ok) << report.message;
    EXPECT_EQ(report.crlfLineEnds, 4);
    EXPECT_EQ(report.bareLfLineEnds, 0);
    // No timer, no beam stop, no shutter, no count and no file: four blade moves only.
    ASSERT_EQ(report.calls.size(), 4u);
    for (std::size_t k = 0; k < names.size(); ++k) {
      EXPECT_EQ(report.calls[k].name, "TclSrv_Optics:4DSlit");
      EXPECT_EQ(report.calls[k].args, "{" + names[k] + " move " + c.blades[k] + "}");
      EXPECT_EQ(report.positions.at(names[k]), c.blades[k]);
    }
    EXPECT_TRUE(report.opens.empty());
    EXPECT_TRUE(report.measures.empty());
    EXPECT_EQ(report.timer, "-");
    EXPECT_EQ(report.beamStop, "unknown");
  }
}

}  // namespace
}  // namespace vesko::test
