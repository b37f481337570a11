#include "generators/coll_scan.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/platform.h"
#include "tests/support/generator_checks.h"

namespace vesko {
namespace {

using test::ReadFileBytes;
using test::WriteFileBytes;

// A panel with the slit fields 0.5, 0.3, 0.1 and -0.05, set only when `move4DSlit`.
CollScanForm Form(std::int16_t panel, std::string center, std::string width, std::string division) {
  return {panel,
          std::move(center),
          std::move(width),
          std::move(division),
          "Coll1DScan.com",
          false,
          "0.5",
          "0.3",
          "0.1",
          "-0.05"};
}

// The whole script of a scan of `axis` through `positions`, the slit set first when `slitBlock` says so.
std::string Expected(const std::string& axis, const std::vector<std::string>& positions,
                     const std::string& slitBlock = "") {
  return test::Crlf(std::string(test::kSeikikaHead) + "set fp [open C:\\\\data\\\\Coll1DScan.dat w+]\n" +
                    "TclSrv_Optics:BeamStop out null\n" + slitBlock +
                    "TclSrv_Optics:Shutter open\nputs $fp \"" + axis + ", Io, I, I/Io\"\n" +
                    test::TwoCounterRows("TclSrv_Optics:Collimator {" + axis, "fp", positions) +
                    "close $fp\nTclSrv_Optics:Shutter close\nTclSrv_Optics:BeamStop in null\n");
}

// The y panel runs from the high edge down, then returns to the centre; the z panel runs upward.
TEST(CollScanTest, WorkedExampleAndTheSlitSetOnlyWhenTicked) {
  const std::vector<std::string> y = {"1.000", "0.750", "0.500", "0.250", "0.000", "0.500"};
  CollScanForm form = Form(0, "0.5", "1.0", "5");
  EXPECT_TRUE(test::SameText(Expected("col_y", y), test::ScriptOf(form)));
  form.move4DSlit = true;
  EXPECT_TRUE(test::SameText(Expected("col_y", y, test::kSlitSetBlock), test::ScriptOf(form)));
  EXPECT_TRUE(
      test::SameText(Expected("col_z", {"1.500", "2.500", "2.000"}), test::ScriptOf(Form(1, "2", "1", "2"))));
}

}  // namespace
}  // namespace vesko
