#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "core/numbers.h"

namespace vesko {
namespace {

TEST(NumberTest, IsNumericTextAcceptsOnlyTheLenientForm) {
  for (const char* text :
       {"1.5", "  1.5  ", "\t-2\t", "-2", "+3", "1e2", "1E+2", "-1.5e-03", ".5", "5.", "007", "0", "-.5E7"}) {
    EXPECT_TRUE(IsNumericText(text)) << '"' << text << '"';
  }
  for (const char* text :
       {"",      "   ", "abc",   "1.2.3", ".",    "+",  "-",    "+-1", "1e", "1e+",   "e5",
        "1e2.5", "1 5", "1,000", "0x10",  "&H10", "$5", "1.5x", "\n1", "1-", "1e2e3", "1d2"}) {
    EXPECT_FALSE(IsNumericText(text)) << '"' << text << '"';
  }
}

TEST(NumberTest, ToSingleRoundsTheDecimalTextDirectly) {
  const float one = 1.0f;
  const float oneUp = std::nextafter(one, 2.0f);
  EXPECT_EQ(ToSingle("0.1"), 0.1f);
  EXPECT_EQ(ToSingle(" +3 "), 3.0f);
  EXPECT_EQ(ToSingle("-2.5e-1"), -0.25f);
  EXPECT_EQ(ToSingle("3.4028235e38"), FLT_MAX);

  // Just below and just above a halfway point between two floats, but within a double's precision
  // of it: a conversion through double lands on the halfway point and then rounds to even.
  struct Row {
    const char* text;
    float expected;
  };
  for (const Row& row :
       {Row{"1.00000017881393432617187499", oneUp}, Row{"1.00000005960464477539062501", oneUp}}) {
    const float throughDouble = static_cast<float>(std::strtod(row.text, nullptr));
    ASSERT_NE(throughDouble, row.expected) << row.text << " does not tell the two roundings apart";
    EXPECT_EQ(ToSingle(row.text), row.expected) << row.text;
  }
  EXPECT_EQ(ToSingle("1.00000005960464477539062499"), one);
}

TEST(NumberTest, ToSingleOverflowIsRefusedAndUnderflowIsZero) {
  for (const char* text :
       {"3.4028236e38", "1e39", "-1e39", "1e999999999", "1e99999999999999999999", "abc", ""}) {
    EXPECT_EQ(ToSingle(text), std::nullopt) << text;
  }
  const std::optional<float> tiny = ToSingle("1e-46");
  ASSERT_TRUE(tiny.has_value());
  EXPECT_EQ(*tiny, 0.0f);
  EXPECT_FALSE(std::signbit(*tiny));
  const std::optional<float> negativeTiny = ToSingle("-1e-999999999");
  ASSERT_TRUE(negativeTiny.has_value());
  EXPECT_EQ(*negativeTiny, 0.0f);
  EXPECT_TRUE(std::signbit(*negativeTiny));
  EXPECT_EQ(ToSingle("1e-45"), std::numeric_limits<float>::denorm_min());
  EXPECT_EQ(ToSingle("0.0000e-99999999"), 0.0f);
  EXPECT_EQ(ToSingle("0e999999999"), 0.0f);
}

TEST(NumberTest, ToDoubleUsesFullPrecision) {
  EXPECT_EQ(ToDouble("0.1"), 0.1);
  EXPECT_EQ(ToDouble(" -1e-400 "), 0.0);
  EXPECT_EQ(ToDouble("1e39"), 1e39);
  EXPECT_EQ(ToDouble("1e309"), std::nullopt);
  EXPECT_EQ(ToDouble("1.2.3"), std::nullopt);
}

TEST(NumberTest, ToInteger16RoundsTiesToEvenWithinRange) {
  struct Row {
    const char* text;
    std::optional<int> expected;
  };
  const Row rows[] = {
      {"2.5", 2},
      {"3.5", 4},
      {"-2.5", -2},
      {"0.5", 0},
      {"2.5000000000000000000001", 3},  // beyond a double's precision
      {"2.4999999999999999999999", 2},
      {"25e-1", 2},
      {"  7  ", 7},
      {"32767.4", 32767},
      {"32767.5", std::nullopt},
      {"65536", std::nullopt},  // no wrap to 0
      {"-32768", -32768},
      {"-32768.5", -32768},
      {"-32768.5000001", std::nullopt},
      {"1e999999999", std::nullopt},
      {"1e-999999999", 0},
      {"0e999999999", 0},
      {"abc", std::nullopt},
      {"", std::nullopt},
  };
  for (const Row& row : rows) {
    const std::optional<std::int16_t> value = ToInteger16(row.text);
    const std::optional<int> actual = value ? std::optional<int>(*value) : std::nullopt;
    EXPECT_EQ(actual, row.expected) << '"' << row.text << '"';
  }
}

}  // namespace
}  // namespace vesko
