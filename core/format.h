#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vesko {

/// Room for any text of the formats below (the largest double in fixed form needs about 330).
inline constexpr std::size_t kMaxFormattedLength = 400;

/// "#0.000": the exact binary value rounded to three decimals, halves away from zero,
/// no grouping, "." as the point; a value that rounds to zero is "0.000" (no minus sign).
std::string FormatF(double value);

/// Writes FormatF(value) at `out`, which has room for kMaxFormattedLength characters; returns its end.
char* WriteF(char* out, double value);

/// "###0.00000": as FormatF with five decimals.
std::string FormatF5(double value);

/// "00": at least two digits, zero-filled on the left (7 -> "07", 100 -> "100", -5 -> "-05").
std::string FormatI(int value);

/// Writes FormatI(value) at `out`, which has room for kMaxFormattedLength characters; returns its end.
char* WriteI(char* out, int value);

/// Plain integer: digits with a leading "-" when negative.
std::string FormatPlain(int value);

/// Writes FormatPlain(value) at `out`, which has room for kMaxFormattedLength characters; returns its end.
char* WritePlain(char* out, int value);

/// A number's text in one of the formats above, kept on the stack: for a number that a script
/// writes more than once, formatted once and without allocating.
class NumberText {
 public:
  /// FormatF(value).
  static NumberText F(double value);
  /// FormatI(value).
  static NumberText I(int value);
  operator std::string_view() const { return {chars_, size_}; }  // NOLINT(google-explicit-constructor)

 private:
  NumberText() = default;
  char chars_[kMaxFormattedLength];
  std::size_t size_ = 0;
};

}  // namespace vesko
