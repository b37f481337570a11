#include "core/format.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

namespace vesko {
namespace {

constexpr std::uint64_t kPowersOfTen[] = {1,
                                          10,
                                          100,
                                          1000,
                                          10000,
                                          100000,
                                          1000000,
                                          10000000,
                                          100000000,
                                          1000000000,
                                          10000000000,
                                          100000000000,
                                          1000000000000,
                                          10000000000000,
                                          100000000000000,
                                          1000000000000000,
                                          10000000000000000,
                                          100000000000000000,
                                          1000000000000000000,
                                          10000000000000000000u};

// "00", "01", ... "99": two digits per table look-up halve the divisions.
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Number of decimal digits of `value`, at least one.
int DigitCount(std::uint64_t value) {
  int count = 1;
  while (count < 20 && value >= kPowersOfTen[count]) {
    ++count;
  }
  return count;
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
// integer (halves away from zero) is exact. Empty when that product does not fit in 64 bits.
std::optional<std::uint64_t> ScaledMagnitude(double value, int decimals) {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  const auto biased = static_cast<int>((bits >> 52) & 0x7FF);
  if (biased == 0x7FF) {
    return std::nullopt;  // NaN and the infinities
  }
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  int exponent = -1074;
  if (biased != 0) {
    mantissa |= std::uint64_t{1} << 52;
    exponent = biased - 1075;
  }
  if (mantissa == 0) {
    return 0;
  }
  const int zeros = std::countr_zero(mantissa);
  mantissa >>= zeros;
  exponent += zeros;
  const std::uint64_t pow10 = kPowersOfTen[decimals];
  if (mantissa > UINT64_MAX / pow10) {
    return std::nullopt;
  }
  const std::uint64_t product = mantissa * pow10;
  if (exponent >= 0) {
    if (exponent >= 64 || product > (UINT64_MAX >> exponent)) {
      return std::nullopt;
    }
    return product << exponent;
  }
  if (exponent > -64) {
    const int shift = -exponent;
    const std::uint64_t remainder = product & ((std::uint64_t{1} << shift) - 1);
    return (product >> shift) + (remainder >= (std::uint64_t{1} << (shift - 1)) ? 1 : 0);
  }
  if (exponent == -64) {
    return product >= (std::uint64_t{1} << 63) ? 1 : 0;
  }
  return 0;  // below 2^-64 the product is less than a half
}

// The text of `scaled` / 10^decimals with all its decimals, after a minus sign when `negative`.
char* WriteScaled(char* out, std::uint64_t scaled, int decimals, bool negative) {
  const std::uint64_t pow10 = kPowersOfTen[decimals];
  out = WriteInteger(out, scaled / pow10, negative, 1);
  *out++ = '.';
  return WriteDigits(out, scaled % pow10, decimals);
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

char* WriteFixed(char* out, double value, int decimals) {
  if (const std::optional<std::uint64_t> scaled = ScaledMagnitude(value, decimals)) {
    // A value that rounds to zero carries no sign.
    return WriteScaled(out, *scaled, decimals, std::signbit(value) && *scaled != 0);
  }
  std::string text;
  AppendFixedLarge(text, value, decimals);
  return std::copy(text.begin(), text.end(), out);
}

std::uint64_t Magnitude(int value) {
  return value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
}

}  // namespace

char* WriteF(char* out, double value) {
  return WriteFixed(out, value, 3);
}

std::string FormatF(double value) {
  char buffer[kMaxFormattedLength];
  return std::string(buffer, WriteF(buffer, value));
}

std::string FormatF5(double value) {
  char buffer[kMaxFormattedLength];
  return std::string(buffer, WriteFixed(buffer, value, 5));
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

std::string FormatPlain(int value) {
  char buffer[kMaxFormattedLength];
  return std::string(buffer, WritePlain(buffer, value));
}

}  // namespace vesko
