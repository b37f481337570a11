#include "generators/slit_move.h"

#include <gtest/gtest.h>

#include "core/line_sink.h"
#include "core/platform.h"
#include "tests/support/test_support.h"

namespace vesko {
namespace {

SlitMoveForm Form(std::string wy, std::string wz, std::string cy, std::string cz) {
  SlitMoveForm f;
  f.slitWidthY = std::move(wy);
  f.slitWidthZ = std::move(wz);
  f.slitCenterY = std::move(cy);
  f.slitCenterZ = std::move(cz);
  return f;
}

TEST(SlitMoveTest, WorkedExampleFileAndReport) {
  const auto p = Validate(Form("0.2", "0.4", "0.0", "0.1"));
  ASSERT_TRUE(p.ok());
  StringSink sink;
  BuildScript(*p, sink);
  EXPECT_TRUE(
      test::SameText("TclSrv_Optics:4DSlit {slit_y1 move 0.100}\r\n"
                     "TclSrv_Optics:4DSlit {slit_y2 move 0.100}\r\n"
                     "TclSrv_Optics:4DSlit {slit_z1 move 0.300}\r\n"
                     "TclSrv_Optics:4DSlit {slit_z2 move 0.100}\r\n",
                     sink.text()));
  EXPECT_EQ(MoveReport(*p),
            "y1=0.100,y2=0.100,z1=0.300,z2=0.100,ファイルネーム=4DSlitMove.comで作成しました。");
}

TEST(SlitMoveTest, BladePositions) {
  const struct {
    const char *width, *center, *blade1, *blade2;
  } cases[] = {
      {"0", "0", "y1=0.000", "y2=0.000"},
      {"0.2", "0.3", "y1=0.400", "y2=-0.200"},  // centre beyond half the width: blade 2 negative
      {"1.23456", "0", "y1=0.617", "y2=0.617"},
      {"-1", "0.25", "y1=-0.250", "y2=-0.750"},
  };
  for (const auto& c : cases) {
    SlitMoveForm form = Form(c.width, "0", c.center, "0");
    form.outputFileName = "a.b.com";
    const auto p = Validate(form);
    ASSERT_TRUE(p.ok()) << c.width;
    const std::string report = MoveReport(*p);
    EXPECT_EQ(report.rfind(std::string(c.blade1) + "," + c.blade2 + ",z1=0.000,z2=0.000,", 0), 0u) << report;
    EXPECT_NE(report.find("=a.b.comで"), std::string::npos) << "the name is used whole";
  }
}

TEST(SlitMoveTest, RefusedInputs) {
  const struct {
    const char* name;
    SlitMoveForm form;
  } cases[] = {
      {"width y", Form("", "0.4", "0", "0")},
      {"width z", Form("0.2", "a", "0", "0")},
      {"center y", Form("0.2", "0.4", "+-1", "0")},
      {"center z", Form("0.2", "0.4", "0", "1e40")},
      {"blade target beyond 32 bits", Form("3e38", "0.4", "3e38", "0")},
  };
  for (const auto& c : cases) {
    const auto p = Validate(c.form);
    EXPECT_FALSE(p.ok()) << c.name;
    EXPECT_EQ(p.message(), "Setting Error!") << c.name;
  }
  for (const char* name : {"", "   ", "move", ".com"}) {
    SlitMoveForm form = Form("0.2", "0.4", "0", "0");
    form.outputFileName = name;
    EXPECT_EQ(Validate(form).message(), "Setting Error!") << "'" << name << "'";
  }
}

TEST(SlitMoveTest, SettingsRoundTrip) {
  test::TempDir dir;
  const std::string path = JoinPath(dir.path(), kSlitMoveSettingsFile);
  SlitMoveForm typed = Form("0.12345", "0.4", "-0.0004", "0.1");
  typed.outputFileName = " move.com ";
  const auto p = Validate(typed);
  ASSERT_TRUE(p.ok());
  ASSERT_FALSE(SaveSettings(path, *p).has_value());
  EXPECT_EQ(test::ReadFileBytes(path), "0.123\r\n0.400\r\n0.000\r\n0.100\r\nmove.com\r\n");

  SlitMoveForm loaded;
  LoadSettings(path, loaded);
  EXPECT_EQ(loaded.slitWidthY, "0.123");
  EXPECT_EQ(loaded.slitCenterY, "0.000");
  EXPECT_EQ(loaded.outputFileName, "move.com");

  test::WriteFileBytes(path, "0.5\r\n0.6\r\n");
  SlitMoveForm partial;
  LoadSettings(path, partial);
  EXPECT_EQ(partial.slitWidthY, "0.5");
  EXPECT_EQ(partial.slitWidthZ, "0.6");
  EXPECT_EQ(partial.slitCenterY, "");
  EXPECT_EQ(partial.outputFileName, "4DSlitMove.com");
}

}  // namespace
}  // namespace vesko
