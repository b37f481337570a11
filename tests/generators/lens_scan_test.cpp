#include "generators/lens_scan.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/platform.h"
#include "tests/support/generator_checks.h"

namespace vesko {
namespace {

using test::Crlf;
using test::SameText;
using test::ScriptOf;
using test::WriteFileBytes;

LensScanForm Form(std::size_t axis, std::string center, std::string width, std::string division) {
  LensScanForm f{{}, std::move(center), std::move(width), std::move(division)};
  f.axis[axis] = true;
  return f;
}

// The whole script of a scan of `axis` through `points` (the return to the centre last).
std::string Expected(const std::string& axis, const std::vector<std::string>& points) {
  std::string text =
      "set exptime 1.0\nTclSrv_ORTEC994:MeasureCounts:ConfigureTimer $exptime\n"
      "set fp [open C:\\\\data\\\\Lens1DScan.dat w+]\nTclSrv_Optics:BeamStop in null\nTclSrv_Optics:Shutter "
      "open\n"
      "puts $fp \"" +
      axis + ", Io\"\n";
  for (const std::string& x : points) {
    text +=
        "TclSrv_Optics:Lens {" + axis + " move " + x +
        "}\nTclSrv_ORTEC994:MeasureCountsWithTimer $exptime 0\nset cnt $_ORTEC994(counterA)\nputs $fp \"" +
        x + ", $cnt\"\n";
  }
  return Crlf(text + "close $fp\nTclSrv_Optics:Shutter close\n");
}

// The axis runs from the high edge down, then returns to the centre.
TEST(LensScanTest, WorkedExample) {
  EXPECT_TRUE(SameText(Expected("lens_y", {"0.150", "0.050", "-0.050", "-0.150", "0.000"}),
                       ScriptOf(Form(0, "0.0", "0.3", "4"))));
}

}  // namespace
}  // namespace vesko
