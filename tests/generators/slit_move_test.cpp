#include "generators/slit_move.h"

#include <string>

#include <gtest/gtest.h>

#include "core/platform.h"
#include "tests/support/generator_checks.h"

namespace vesko {
namespace {

TEST(SlitMoveTest, WorkedExampleFileAndReport) {
  const auto p = Validate(SlitMoveForm{"0.2", "0.4", "0.0", "0.1"});
  ASSERT_TRUE(p.ok());
  StringSink sink;
  BuildScript(*p, sink);
  EXPECT_TRUE(test::SameText(
      test::Lines({"TclSrv_Optics:4DSlit {slit_y1 move 0.100}", "TclSrv_Optics:4DSlit {slit_y2 move 0.100}",
                   "TclSrv_Optics:4DSlit {slit_z1 move 0.300}", "TclSrv_Optics:4DSlit {slit_z2 move 0.100}"}),
      sink.text()));
  EXPECT_EQ(MoveReport(*p),
            "y1=0.100,y2=0.100,z1=0.300,z2=0.100,ファイルネーム=4DSlitMove.comで作成しました。");
}

TEST(SlitMoveTest, BladePositions) {
  const struct {
    const char *width, *center, *blades;
  } cases[] = {
      {"1.23456", "0", "y1=0.617,y2=0.617"},
      {"-1", "0.25", "y1=-0.250,y2=-0.750"},
  };
  for (const auto& c : cases) {
    const SlitMoveForm form{c.width, "0", c.center, "0", "a.b.com"};
    const auto p = Validate(form);
    ASSERT_TRUE(p.ok()) << c.width;
    EXPECT_EQ(MoveReport(*p),
              std::string(c.blades) + ",z1=0.000,z2=0.000,ファイルネーム=a.b.comで作成しました。");
  }
}

}  // namespace
}  // namespace vesko
