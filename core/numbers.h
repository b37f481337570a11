#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vesko {

/// True for blanks, optional sign, digits with at most one decimal point (at least one digit),
/// optional exponent (E/e, optional sign, at least one digit), blanks. Nothing else.
bool IsNumericText(std::string_view text);

/// The decimal value of a numeric text rounded directly to the nearest 32-bit float.
/// Empty when the text is not numeric or the value overflows to infinity (underflow gives ±0).
std::optional<float> ToSingle(std::string_view text);

/// The decimal value of a numeric text rounded to the nearest 64-bit float.
/// Empty when the text is not numeric or the value overflows (underflow gives ±0).
std::optional<double> ToDouble(std::string_view text);

/// The exact decimal value of a numeric text rounded to an integer, ties to even.
/// Empty when the text is not numeric or the result lies outside -32768 ... 32767.
std::optional<std::int16_t> ToInteger16(std::string_view text);

}  // namespace vesko
