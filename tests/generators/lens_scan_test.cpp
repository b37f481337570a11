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

LensScanForm Form(int axis, std::string center, std::string width, std::string division) {
  LensScanForm f;
  f.axis[static_cast<std::size_t>(axis)] = true;
  f.scanCenter = std::move(center);
  f.scanWidth = std::move(width);
  f.division = std::move(division);
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

// Every axis runs from the high edge down, then returns to the centre.
TEST(LensScanTest, WorkedExampleAndEveryAxis) {
  EXPECT_TRUE(SameText(Expected("lens_y", {"0.150", "0.050", "-0.050", "-0.150", "0.000"}),
                       ScriptOf(Form(0, "0.0", "0.3", "4"))));
  const struct {
    std::size_t axis;
    const char *width, *division;
    std::vector<std::string> points;
  } cases[] = {
      {1, "2", "2", {"2.000", "0.000", "1.000"}},
      {2, "-2", "2.5", {"0.000", "2.000", "1.000"}},  // a negative width runs upward
      {3, "2", "0", {"1.000"}},                       // no point, only the centre
      {0, "0", "3.5", {"1.000", "1.000", "1.000", "1.000", "1.000"}},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(SameText(Expected(kLensAxisNames[c.axis], c.points),
                         ScriptOf(Form(static_cast<int>(c.axis), "1", c.width, c.division))))
        << c.axis << " width " << c.width << " division " << c.division;
  }
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

TEST_F(LensScanSettingsTest, AxisFieldOutsideTheOptions) {
  for (const char* axis : {"4", "-1", "9999"}) {
    ASSERT_TRUE(WriteFileBytes(path_, std::string(axis) + "\r\n1\r\n2\r\n3\r\nx.tcl\r\n"));
    LensScanForm loaded;
    LoadSettings(path_, loaded);
    EXPECT_EQ(loaded.axis, (std::array<bool, 4>{})) << axis;
    EXPECT_EQ(loaded.scanCenter, "1") << axis;
    EXPECT_EQ(loaded.outputFileName, "x.tcl") << axis;
    EXPECT_EQ(Validate(loaded).message(), "Setting Error!") << "no option selected";
  }

  ASSERT_TRUE(WriteFileBytes(path_, "lens_y\r\n1\r\n2\r\n3\r\nx.tcl\r\n"));  // not a number: nothing loaded
  LensScanForm loaded;
  LoadSettings(path_, loaded);
  EXPECT_EQ(loaded.scanCenter, "");
  EXPECT_EQ(loaded.outputFileName, "Lens1DScan.tcl");

  ASSERT_TRUE(WriteFileBytes(path_, "1.5\r\n4\r\n"));  // 1.5 rounds to 2; the file ends early
  LoadSettings(path_, loaded);
  EXPECT_EQ(loaded.axis, (std::array<bool, 4>{false, false, true, false}));
  EXPECT_EQ(loaded.scanCenter, "4");
  EXPECT_EQ(loaded.scanWidth, "");
}

}  // namespace
}  // namespace vesko
