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
  const FormatRow rows[] = {
      {0.0625, "0.063"},  // exactly halfway: away from zero, not to even
      {-0.0625, "-0.063"},   {0.1875, "0.188"},
      {2.0625, "2.063"},     {12.3456, "12.346"},
      {0.0005, "0.001"},  // the double lies just above 0.0005
      {1.0005, "1.000"},  // the double lies just below 1.0005 ...
      {2.0005, "2.001"},  // ... and this one just above
      {1.2345, "1.234"},     {-0.25, "-0.250"},
      {3, "3.000"},          {1234.5, "1234.500"},
      {0.1, "0.100"},        {static_cast<double>(0.1f), "0.100"},
      {-0.0004, "0.000"},  // rounds to zero: no minus sign
      {-0.0, "0.000"},       {0, "0.000"},
      {-12.3456, "-12.346"}, {1e30, "1000000000000000019884624838656.000"},
  };
  for (const FormatRow& row : rows) {
    EXPECT_EQ(FormatF(row.value), row.expected) << row.value;
  }
  const FormatRow fiveDecimals[] = {
      {0.015625, "0.01563"},  // halfway at five decimals
      {-0.015625, "-0.01563"}, {1.23456789, "1.23457"}, {-0.000004, "0.00000"}, {42, "42.00000"},
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

TEST(FormatTest, IntegerFormats) {
  struct Row {
    int value;
    const char* twoDigits;
    const char* plain;
  };
  const Row rows[] = {
      {0, "00", "0"}, {5, "05", "5"}, {100, "100", "100"}, {-5, "-05", "-5"}, {-32768, "-32768", "-32768"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(FormatI(row.value), row.twoDigits) << row.value;
    EXPECT_EQ(FormatPlain(row.value), row.plain) << row.value;
  }
}

}  // namespace
}  // namespace vesko
