#include <cfloat>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

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
  // Part of a longer text is read on its own: the exponent mark just past its end is not its own.
  EXPECT_EQ(ToSingle(std::string_view("15e3").substr(0, 2)), 15.0f);
}

TEST(NumberTest, DecimalTextIsRoundedOnce) {
  EXPECT_EQ(ToSingle("3.4028235e38"), FLT_MAX);
  // Past the quick exact path: 20 digits overflow 64 bits; a mantissa above 2^53 needs two roundings.
  EXPECT_EQ(ToDouble("18446744073709551617"), 18446744073709551617.0);
  EXPECT_EQ(ToDouble("9007199254740993e-22"), 9007199254740993e-22);
  // Just below and just above a halfway point between two floats, but within a double's precision of it:
  // a conversion through double lands on the halfway point and then rounds to even.
  EXPECT_EQ(ToSingle("1.00000017881393432617187499"), std::nextafter(1.0f, 2.0f));
  EXPECT_EQ(ToSingle("1.00000005960464477539062501"), std::nextafter(1.0f, 2.0f));
  EXPECT_EQ(ToSingle("1.00000005960464477539062499"), 1.0f);
}

TEST(NumberTest, ToSingleOverflowIsRefusedAndUnderflowIsZero) {
  for (const char* text :
       {"3.4028236e38", "1e39", "-1e39", "1e999999999", "1e99999999999999999999", "abc", ""}) {
    EXPECT_EQ(ToSingle(text), std::nullopt) << text;
  }
  for (const char* text : {"1e-46", "0.0000e-99999999", "0e999999999", "-1e-999999999"}) {
    const std::optional<float> zero = ToSingle(text);
    EXPECT_EQ(zero, 0.0f) << text;
    EXPECT_EQ(std::signbit(zero.value_or(1.0f)), text[0] == '-') << text;
  }
  EXPECT_EQ(ToSingle("1e-45"), std::numeric_limits<float>::denorm_min());
}

// "2.5000…1" and "2.4999…9" differ from 2.5 beyond a double's precision; 65536 does not wrap to 0.
TEST(NumberTest, ToInteger16RoundsTiesToEvenWithinRange) {
  const struct {
    const char* text;
    int expected;
  } rows[] = {
      {"2.5", 2},           {"3.5", 4},          {"-2.5", -2},       {"0.5", 0},
      {"25e-1", 2},         {"  7  ", 7},        {"32767.4", 32767}, {"-32768", -32768},
      {"-32768.5", -32768}, {"1e-999999999", 0}, {"0e999999999", 0}, {"12e2", 1200},  // zeros past the digits
  };
  for (const auto& row : rows) {
    EXPECT_EQ(ToInteger16(row.text), row.expected) << '"' << row.text << '"';
  }
  EXPECT_EQ(ToInteger16("2.5000000000000000000001"), 3);
  EXPECT_EQ(ToInteger16("2.4999999999999999999999"), 2);
  for (const char* text : {"32767.5", "65536", "-32768.5000001", "1e999999999", "abc", ""}) {
    EXPECT_EQ(ToInteger16(text), std::nullopt) << '"' << text << '"';
  }
}

}  // namespace
}  // namespace vesko
