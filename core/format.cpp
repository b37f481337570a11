#include "core/format.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

namespace vesko {
namespace {

// 10^0 ... 10^19: every power of ten that 64 bits hold.
constexpr std::array<std::uint64_t, 20> kPowersOfTen = [] {
  std::array<std::uint64_t, 20> powers{};
  powers[0] = 1;
  for (std::size_t k = 1; k < powers.size(); ++k) {
    powers[k] = powers[k - 1] * 10;
  }
  return powers;
}();

// "00", "01", ... "99": two digits per table look-up halve the divisions.
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Number of decimal digits of `value`, at least one.
int DigitCount(std::uint64_t value) {
  std::size_t count = 1;
  while (count < kPowersOfTen.size() && value >= kPowersOfTen[count]) {
    ++count;
  }
  return static_cast<int>(count);
}

// Writes the last `width` decimal digits of `value` (zero-filled on the left) at `out`; returns the end.
char* WriteDigits(char* out, std::uint64_t value, int width) {
  char* const end = out + width;
  char* at = end;
  for (; width >= 2; width -= 2) {
    at -= 2;
    std::memcpy(at, kDigitPairs + 2 * (value % 100), 2);
    value /= 100;
  }
  if (width == 1) {
    *--at = static_cast<char>('0' + value % 10);
  }
  return end;
}

// The integer text of a magnitude with at least `minDigits` digits, after a minus sign when `negative`.
char* WriteInteger(char* out, std::uint64_t magnitude, bool negative, int minDigits) {
  if (negative) {
    *out++ = '-';
  }
  return WriteDigits(out, magnitude, std::max(DigitCount(magnitude), minDigits));
}

// The common case without a detour through decimal strings: value = ±m * 2^e exactly, so the
// value times 10^decimals is the integer m * 10^decimals shifted by e, and its rounding to an
// integer (halves away from zero) is exact. False when that product does not fit in 64 bits.
template <int kDecimals>
bool ScaledMagnitude(double value, std::uint64_t& scaled) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  const auto biased = static_cast<int>((bits >> 52) & 0x7FF);
  if (biased == 0x7FF) {
    return false;  // NaN and the infinities
  }
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  int exponent = -1074;
  if (biased != 0) {
    mantissa |= std::uint64_t{1} << 52;
    exponent = biased - 1075;
  }
  scaled = 0;
  if (mantissa == 0) {
    return true;
  }
  const int zeros = std::countr_zero(mantissa);
  mantissa >>= zeros;
  exponent += zeros;
  constexpr std::uint64_t pow10 = kPowersOfTen[kDecimals];
  if (mantissa > UINT64_MAX / pow10) {
    return false;
  }
  const std::uint64_t product = mantissa * pow10;
  if (exponent >= 0) {
    if (exponent >= 64 || product > (UINT64_MAX >> exponent)) {
      return false;
    }
    scaled = product << exponent;
    return true;
  }
  if (exponent > -64) {
    const int shift = -exponent;
    const std::uint64_t remainder = product & ((std::uint64_t{1} << shift) - 1);
    scaled = (product >> shift) + (remainder >= (std::uint64_t{1} << (shift - 1)) ? 1 : 0);
  } else if (exponent == -64) {
    scaled = product >= (std::uint64_t{1} << 63) ? 1 : 0;
  }  // below 2^-64 the product is less than a half
  return true;
}

// The text of `scaled` / 10^kDecimals with all its decimals, after a minus sign when `negative`.
template <int kDecimals>
char* WriteScaled(char* out, std::uint64_t scaled, bool negative) {
  constexpr std::uint64_t pow10 = kPowersOfTen[kDecimals];
  out = WriteInteger(out, scaled / pow10, negative, 1);
  *out++ = '.';
  return WriteDigits(out, scaled % pow10, kDecimals);
}

// Fixed-point text of the exact binary value rounded to `decimals` places, halves away from zero,
// for the values whose scaled integer does not fit in 64 bits (and NaN and the infinities).
void AppendFixedLarge(std::string& out, double value, int decimals) {
  if (std::isnan(value)) {
    out += "NaN";
    return;
  }
  if (std::isinf(value)) {
    out += value < 0 ? "-Infinity" : "Infinity";
    return;
  }
  // A value lies exactly halfway at `decimals` places when value * 2^(decimals+1) is an odd integer;
  // to_chars rounds those to even, every other value it rounds exactly to nearest.
  const double scaled = std::ldexp(value, decimals + 1);
  const bool tie = std::isfinite(scaled) && std::trunc(scaled) == scaled && std::fmod(scaled, 2.0) != 0.0;

  char buffer[400];  // enough for the largest double in fixed form
  const int precision = tie ? decimals + 1 : decimals;
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
  if (ec != std::errc()) {
    out += "NaN";
    return;
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
  out += text;
}

// The number of decimals is a constant of each format, so that the divisions by its power of ten
// compile to multiplications.
template <int kDecimals>
char* WriteFixed(char* out, double value) {
  std::uint64_t scaled = 0;
  if (ScaledMagnitude<kDecimals>(value, scaled)) {
    // A value that rounds to zero carries no sign.
    return WriteScaled<kDecimals>(out, scaled, std::signbit(value) && scaled != 0);
  }
  std::string text;
  AppendFixedLarge(text, value, kDecimals);
  return std::copy(text.begin(), text.end(), out);
}

std::uint64_t Magnitude(int value) {
  return value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
}

}  // namespace

char* WriteF(char* out, double value) {
  return WriteFixed<3>(out, value);
}

std::string FormatF(double value) {
  char buffer[kMaxFormattedLength];
  return std::string(buffer, WriteF(buffer, value));
}

std::string FormatF5(double value) {
  char buffer[kMaxFormattedLength];
  return std::string(buffer, WriteFixed<5>(buffer, value));
}

char* WriteI(char* out, int value) {
  return WriteInteger(out, Magnitude(value), value < 0, 2);
}

std::string FormatI(int value) {
  char buffer[kMaxFormattedLength];
  return std::string(buffer, WriteI(buffer, value));
}

char* WritePlain(char* out, int value) {
  return WriteInteger(out, Magnitude(value), value < 0, 1);
}

NumberText NumberText::F(double value) {
  NumberText text;
  text.size_ = static_cast<std::size_t>(WriteF(text.chars_, value) - text.chars_);
  return text;
}

NumberText NumberText::I(int value) {
  NumberText text;
  text.size_ = static_cast<std::size_t>(WriteI(text.chars_, value) - text.chars_);
  return text;
}

std::string FormatPlain(int value) {
  char buffer[kMaxFormattedLength];
  return std::string(buffer, WritePlain(buffer, value));
}

}  // namespace vesko
