#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "core/format.h"

namespace vesko {
namespace {

struct FormatRow {
  double value;
  const char* expected;
};

TEST(FormatTest, FixedFormatsRoundTheBinaryValueHalvesAwayFromZero) {
  // Values that the scripts' usual figures do not reach: halfway cases, doubles just beside a half,
  // a negative value that rounds to zero, and one beyond 64 bits.
  const FormatRow rows[] = {
      {0.0625, "0.063"},                                     // exactly halfway: away from zero, not to even
      {0.0005, "0.001"},                                     // the double lies just above 0.0005
      {1.0005, "1.000"},                                     // the double lies just below 1.0005
      {-0.0004, "0.000"},                                    // rounds to zero: no minus sign
      {18446744073709551616.0, "18446744073709551616.000"},  // 2^64: one shift too far for 64 bits
  };
  for (const FormatRow& row : rows) {
    EXPECT_EQ(FormatF(row.value), row.expected) << row.value;
  }
  const FormatRow fiveDecimals[] = {
      {0.015625, "0.01563"},                              // halfway at five decimals
      {std::ldexp(92233720368549.0, -64), "0.00001"},     // the smallest exponent that can round up
      {140737488355327.984375, "140737488355327.98438"},  // halfway beyond 64 bits: the carry
  };
  for (const FormatRow& row : fiveDecimals) {
    EXPECT_EQ(FormatF5(row.value), row.expected) << row.value;
  }
}

TEST(FormatTest, NonFiniteValuesGiveAWordNotACrash) {
  for (double value : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                       -std::numeric_limits<double>::infinity()}) {
    const std::string text = FormatF(value);
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(text.find_first_of("0123456789"), std::string::npos) << text;
  }
}

}  // namespace
}  // namespace vesko
