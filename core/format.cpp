#include "core/format.h"

#include <charconv>
#include <cmath>
#include <string>

namespace vesko {
namespace {

// Fixed-point text of the exact binary value rounded to `decimals` places, halves away from zero.
std::string FormatFixed(double value, int decimals) {
  if (std::isnan(value)) {
    return "NaN";
  }
  if (std::isinf(value)) {
    return value < 0 ? "-Infinity" : "Infinity";
  }
  // A value lies exactly halfway at `decimals` places when value * 2^(decimals+1) is an odd integer;
  // to_chars rounds those to even, every other value it rounds exactly to nearest.
  const double scaled = std::ldexp(value, decimals + 1);
  const bool tie = std::isfinite(scaled) && std::trunc(scaled) == scaled && std::fmod(scaled, 2.0) != 0.0;

  char buffer[400];  // enough for the largest double in fixed form
  const int precision = tie ? decimals + 1 : decimals;
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
  if (ec != std::errc()) {
    return "NaN";
  }
  std::string text(buffer, end);
  if (tie) {
    // The exact text ends in "5": drop it and round the magnitude up.
    text.pop_back();
    std::size_t i = text.size();
    bool carry = true;
    while (carry && i > 0) {
      --i;
      char& c = text[i];
      if (c == '.' || c == '-') {
        continue;
      }
      if (c == '9') {
        c = '0';
      } else {
        ++c;
        carry = false;
      }
    }
    if (carry) {
      const std::size_t firstDigit = text.front() == '-' ? 1 : 0;
      text.insert(text.begin() + static_cast<std::ptrdiff_t>(firstDigit), '1');
    }
  }
  if (text.front() == '-' && text.find_first_not_of("0.", 1) == std::string::npos) {
    text.erase(0, 1);  // a value that rounds to zero carries no sign
  }
  return text;
}

}  // namespace

std::string FormatF(double value) {
  return FormatFixed(value, 3);
}

std::string FormatF5(double value) {
  return FormatFixed(value, 5);
}

std::string FormatI(int value) {
  std::string digits = std::to_string(value < 0 ? -static_cast<long long>(value) : value);
  if (digits.size() < 2) {
    digits.insert(0, 1, '0');
  }
  return value < 0 ? "-" + digits : digits;
}

std::string FormatPlain(int value) {
  return std::to_string(value);
}

}  // namespace vesko
