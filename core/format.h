#pragma once

#include <string>

namespace vesko {

/// "#0.000": the exact binary value rounded to three decimals, halves away from zero,
/// no grouping, "." as the point; a value that rounds to zero is "0.000" (no minus sign).
std::string FormatF(double value);

/// "###0.00000": as FormatF with five decimals.
std::string FormatF5(double value);

/// "00": at least two digits, zero-filled on the left (7 -> "07", 100 -> "100", -5 -> "-05").
std::string FormatI(int value);

/// Plain integer: digits with a leading "-" when negative.
std::string FormatPlain(int value);

}  // namespace vesko
