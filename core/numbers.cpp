#include "core/numbers.h"

#include <charconv>
#include <cstdint>
#include <string>
#include <system_error>
#include <type_traits>

namespace vesko {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Exponents beyond this magnitude are kept at it: the value is then far outside every range we convert to.
constexpr std::int64_t kExponentCap = 1'000'000'000;

// A numeric text taken apart: sign, mantissa digits without the point, and where the point sits.
struct Decimal {
  bool negative = false;
  std::string_view body;      // the text without surrounding blanks
  bool zero = true;           // no significant digit: the value is zero
  std::string digits;         // mantissa digits, leading zeros removed; empty for zero (only if asked for)
  std::int64_t pointPos = 0;  // value = 0.<digits> x 10^pointPos
  // The significant digits as an integer while there are at most 19 of them (`mantissaDigits`);
  // then value = mantissa x 10^(pointPos - mantissaDigits).
  std::uint64_t mantissa = 0;
  int mantissaDigits = 0;
  bool mantissaWhole = true;
};

constexpr int kMaxMantissaDigits = 19;

// The powers of ten that a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The value when one exact multiplication or division rounds it correctly (a mantissa below 2^53 and
// a power of ten that a double holds exactly): most texts need no decimal-to-binary conversion.
// False when the text needs the full conversion.
bool ExactDouble(const Decimal& d, double& value) {
  if (!d.mantissaWhole || d.mantissa > (std::uint64_t{1} << 53)) {
    return false;
  }
  const std::int64_t power = d.pointPos - d.mantissaDigits;
  if (power < -22 || power > 22) {
    return false;
  }
  const auto m = static_cast<double>(d.mantissa);
  value = power < 0 ? m / kExactPowersOfTen[-power] : m * kExactPowersOfTen[power];
  if (d.negative) {
    value = -value;
  }
  return true;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

// Parses the lenient numeric form; false when the text is anything else. The mantissa digits are
// collected only with `keepDigits`: the conversions to floating point do not need them.
bool ParseDecimal(std::string_view text, Decimal& out, bool keepDigits) {
  std::string_view s = TrimBlanks(text);
  out.body = s;
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    out.negative = s[i] == '-';
    ++i;
  }
  std::int64_t integerDigits = 0;  // significant digits before the point
  std::int64_t leadingFractionZeros = 0;
  bool anyDigit = false;
  bool seenPoint = false;
  for (; i < s.size(); ++i) {
    char c = s[i];
    if (c == '.') {
      if (seenPoint) {
        return false;
      }
      seenPoint = true;
      continue;
    }
    if (!IsDigit(c)) {
      break;
    }
    anyDigit = true;
    if (out.zero && c == '0') {
      if (seenPoint) {
        ++leadingFractionZeros;
      }
      continue;
    }
    out.zero = false;
    if (keepDigits) {
      out.digits.push_back(c);
    }
    if (out.mantissaDigits < kMaxMantissaDigits) {
      out.mantissa = out.mantissa * 10 + static_cast<std::uint64_t>(c - '0');
      ++out.mantissaDigits;
    } else {
      out.mantissaWhole = false;
    }
    if (!seenPoint) {
      ++integerDigits;
    }
  }
  if (!anyDigit) {
    return false;
  }
  std::int64_t exponent = 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    bool expNegative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
      expNegative = s[i] == '-';
      ++i;
    }
    if (i >= s.size() || !IsDigit(s[i])) {
      return false;
    }
    for (; i < s.size() && IsDigit(s[i]); ++i) {
      if (exponent < kExponentCap) {
        exponent = exponent * 10 + (s[i] - '0');
      }
    }
    if (exponent > kExponentCap) {
      exponent = kExponentCap;
    }
    if (expNegative) {
      exponent = -exponent;
    }
  }
  if (i != s.size()) {
    return false;
  }
  out.pointPos = (integerDigits > 0 ? integerDigits : -leadingFractionZeros) + exponent;
  return true;
}

// The value of a numeric text in `value`; false when the text is not numeric or overflows.
// from_chars reports both overflow and underflow as out of range; the parsed magnitude tells which.
template <typename Float>
bool ToFloat(std::string_view text, Float& value) {
  Decimal d;
  if (!ParseDecimal(text, d, false)) {
    return false;
  }
  if (d.zero) {
    value = d.negative ? -Float(0) : Float(0);
    return true;
  }
  if constexpr (std::is_same_v<Float, double>) {
    if (ExactDouble(d, value)) {
      return true;
    }
  }
  std::string_view s = d.body;
  if (!s.empty() && s.front() == '+') {
    s.remove_prefix(1);
  }
  auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    if (d.pointPos > 0) {
      return false;  // |value| >= 1: overflow
    }
    value = d.negative ? -Float(0) : Float(0);
    return true;
  }
  return ec == std::errc() && ptr == s.data() + s.size();
}

}  // namespace

bool IsNumericText(std::string_view text) {
  Decimal d;
  return ParseDecimal(text, d, false);
}

std::optional<float> ToSingle(std::string_view text) {
  float value = 0;
  if (!ToFloat(text, value)) {
    return std::nullopt;
  }
  return value;
}

std::optional<double> ToDouble(std::string_view text) {
  double value = 0;
  if (!ToFloat(text, value)) {
    return std::nullopt;
  }
  return value;
}

std::optional<std::int16_t> ToInteger16(std::string_view text) {
  Decimal d;
  if (!ParseDecimal(text, d, true)) {
    return std::nullopt;
  }
  if (d.zero) {
    return std::int16_t{0};
  }
  if (d.pointPos > 6) {
    return std::nullopt;  // at least 10^6
  }
  // Integer part: the first pointPos digits (zero-padded); the rest is the fraction.
  std::int32_t magnitude = 0;
  const auto intCount = static_cast<std::size_t>(d.pointPos > 0 ? d.pointPos : 0);
  for (std::size_t k = 0; k < intCount; ++k) {
    magnitude = magnitude * 10 + (k < d.digits.size() ? d.digits[k] - '0' : 0);
  }
  // Fraction digits: pointPos < 0 means -pointPos implicit zeros come first.
  int firstFraction = 0;
  bool restNonZero = false;
  if (d.pointPos >= 0) {
    if (intCount < d.digits.size()) {
      firstFraction = d.digits[intCount] - '0';
      restNonZero = d.digits.find_first_not_of('0', intCount + 1) != std::string::npos;
    }
  } else {
    firstFraction = 0;  // value < 0.1
    restNonZero = true;
  }
  if (firstFraction > 5 || (firstFraction == 5 && (restNonZero || magnitude % 2 == 1))) {
    ++magnitude;
  }
  const std::int32_t value = d.negative ? -magnitude : magnitude;
  if (value < -32768 || value > 32767) {
    return std::nullopt;
  }
  return static_cast<std::int16_t>(value);
}

}  // namespace vesko
