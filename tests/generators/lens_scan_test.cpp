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

// No axis, then one row a field check; the first selected option, counted from index 0, gives the axis.
TEST(LensScanTest, RefusedInputs) {
  const LensScanForm good = Form(2, "0", "1", "3");
  LensScanForm form = good;
  form.axis = {};
  EXPECT_EQ(test::RefusalOf(form), "Setting Error!");
  test::ExpectRefusals<LensScanForm>(good, {{&LensScanForm::scanCenter, "3e40", "Setting Error!"},
                                            {&LensScanForm::scanWidth, "1 2", "Setting Error!"},
                                            {&LensScanForm::division, "1", "Setting Error!"},
                                            {&LensScanForm::outputFileName, "lens", "Setting Error!"}});
  form = good;
  form.axis[1] = true;
  ASSERT_TRUE(Validate(form).ok());
  EXPECT_EQ(Validate(form)->Axis, 1);
}

class LensScanSettingsTest : public ::testing::Test {
 protected:
  test::TempDir dir_;
  std::string path_ = JoinPath(dir_.path(), kLensScanSettingsFile);
};

TEST_F(LensScanSettingsTest, RoundTrip) {
  LensScanForm typed = Form(3, "0.12345", "-1", "2.5");
  typed.outputFileName = " l.tcl ";
  test::ExpectSettingsRoundTrip(typed, path_, "3\r\n0.123\r\n-1.000\r\n2\r\nl.tcl\r\n");
}

// An axis field that is a number outside the options selects none and reading goes on; one that is
// not a number stops the reading there.
TEST_F(LensScanSettingsTest, AxisFieldOutsideTheOptions) {
  const struct {
    const char* content;
    std::array<bool, 4> axis;
    const char *scanCenter, *outputFileName;
  } rows[] = {
      {"4\r\n1\r\n2\r\n3\r\nx.tcl\r\n", {}, "1", "x.tcl"},
      {"-1\r\n1\r\n2\r\n3\r\nx.tcl\r\n", {}, "1", "x.tcl"},
      {"lens_y\r\n1\r\n2\r\n3\r\nx.tcl\r\n", {}, "", "Lens1DScan.tcl"},
      {"1.5\r\n4\r\n", {false, false, true, false}, "4", "Lens1DScan.tcl"},  // 1.5 rounds to 2
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.content);
    ASSERT_TRUE(WriteFileBytes(path_, row.content));
    LensScanForm loaded;
    LoadSettings(path_, loaded);
    EXPECT_EQ(loaded.axis, row.axis);
    EXPECT_EQ(loaded.scanCenter, row.scanCenter);
    EXPECT_EQ(loaded.outputFileName, row.outputFileName);
  }
}

}  // namespace
}  // namespace vesko
