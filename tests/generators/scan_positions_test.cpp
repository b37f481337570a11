#include "generators/scan_positions.h"

#include <cstdint>
#include <optional>

#include <gtest/gtest.h>

namespace vesko {
namespace {

TEST(ScanPositionsTest, DivisionIsTheFloatValueRoundedHalfToEven) {
  const struct {
    const char* text;
    int division;
  } cases[] = {
      {"2.5", 2},
      {"3.5", 4},
      {"-2.5", -2},
      {"0.5", 0},
      {"1.5", 2},
      {" 7 ", 7},
      {"4.4999", 4},
      {"0", 0},
      {"-3", -3},
      {"32767", 32767},
      {"32767.4", 32767},
      {"-32766.5", -32766},
      {"1e2", 100},
      // 2.5000001 is 2.5 as a 32-bit float, a tie that goes to 2 (the exact decimal would give 3).
      {"2.5000001", 2},
  };
  for (const auto& c : cases) {
    const std::optional<std::int16_t> division = TakeScanDivision(c.text, 0.0f, 1.0f);
    ASSERT_TRUE(division.has_value()) << c.text;
    EXPECT_EQ(*division, c.division) << c.text;
  }
}

TEST(ScanPositionsTest, DivisionRefusals) {
  const char* refused[] = {
      "",         "abc",   "1,5",    "1.2.3",
      "1",                                             // one point: no step between the edges
      "1.4",                                           // rounds to 1
      "0.6",                                           // rounds to 1
      "-32768",                                        // no last index in 16 bits
      "-32767.5",                                      // a tie that goes to -32768
      "32767.5",  "32768", "-32769", "1e5",   "1e39",  // outside 16 bits, or no 32-bit float at all
  };
  for (const char* text : refused) {
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
