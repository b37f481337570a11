#include "generators/scan_positions.h"

#include <cstdint>
#include <optional>

#include <gtest/gtest.h>

namespace vesko {
namespace {

// The division is the 32-bit float value rounded half to even: 2.5000001 is the float 2.5, a tie that
// goes to 2 (the exact decimal would give 3).
TEST(ScanPositionsTest, DivisionIsTheFloatValueRoundedHalfToEven) {
  const struct {
    const char* text;
    int division;
  } cases[] = {{"2.5", 2}, {"3.5", 4}, {"-2.5", -2},       {"2.5000001", 2},
               {"0", 0},   {"-3", -3}, {"32767.4", 32767}, {"-32766.5", -32766}};
  for (const auto& c : cases) {
    EXPECT_EQ(TakeScanDivision(c.text, 0.0f, 1.0f), std::optional<std::int16_t>(c.division)) << c.text;
  }
  // One point has no step between the edges; -32768 has no last index in 16 bits.
  for (const char* text : {"", "1", "1.4", "-32768", "-32767.5", "32767.5", "-32769", "1e39"}) {
    EXPECT_FALSE(TakeScanDivision(text, 0.0f, 1.0f).has_value()) << text;
  }
}

TEST(ScanPositionsTest, DivisionRefusedWhenAPointOverflows) {
  // Edges at 1.5e38 +- 1.5e38 fit; 3e38 + 1.5e38 does not.
  EXPECT_TRUE(TakeScanDivision("3", 1.5e38f, 3e38f).has_value());
  EXPECT_FALSE(TakeScanDivision("3", 3e38f, 3e38f).has_value());
  EXPECT_FALSE(TakeScanDivision("3", -3e38f, -3e38f).has_value());
  // With no point at all nothing can overflow.
  EXPECT_TRUE(TakeScanDivision("0", 3e38f, 3e38f).has_value());
  EXPECT_TRUE(TakeScanDivision("3", 3e38f, 0.0f).has_value());
}

TEST(ScanPositionsTest, PointsRunFromEdgeToEdge) {
  const ScanPositions five(0.5f, 1.0f, 5);
  EXPECT_EQ(five.LastIndex(), 4);
  const float expected[] = {0.0f, 0.25f, 0.5f, 0.75f, 1.0f};
  for (int i = 0; i <= 4; ++i) {
    EXPECT_EQ(five.At(i), expected[i]) << i;
  }

  EXPECT_EQ(ScanPositions(0.0f, 1.0f, 0).LastIndex(), -1);
  EXPECT_EQ(ScanPositions(0.0f, 1.0f, -4).LastIndex(), -5);
}

TEST(ScanPositionsTest, EachPointIsRoundedOnceTo32Bits) {
  // Exact points 16777214.5, 16777216 and 16777217.5. Rounded once: 16777214 (tie to even below 2^24)
  // and 16777218 (nearest above 2^24, where the spacing is 2). Summing in 32-bit floats instead would
  // round the start first and end on 16777216.
  const ScanPositions p(16777216.0f, 3.0f, 3);
  EXPECT_EQ(p.At(0), 16777214.0f);
  EXPECT_EQ(p.At(1), 16777216.0f);
  EXPECT_EQ(p.At(2), 16777218.0f);
}

}  // namespace
}  // namespace vesko
