// The number texts of every field: the three conversions agree with the number test and with each
// other, and blanks around a text change nothing.

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "core/numbers.h"
#include "tests/fuzz/fuzz_support.h"

using vesko::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 512) {
    return 0;
  }
  const std::string text(reinterpret_cast<const char*>(data), size);
  const bool numeric = vesko::IsNumericText(text);
  const std::optional<float> single = vesko::ToSingle(text);
  const std::optional<double> dbl = vesko::ToDouble(text);
  const std::optional<std::int16_t> int16 = vesko::ToInteger16(text);

  Require(numeric || (!single && !dbl && !int16), "a conversion took a text that is not a number", text);
  Require(!single || std::isfinite(*single), "ToSingle gave an infinite or NaN value", text);
  Require(!dbl || std::isfinite(*dbl), "ToDouble gave an infinite or NaN value", text);

  // Blanks around a number are allowed and change nothing.
  const std::string padded = " " + text + " ";
  Require(vesko::IsNumericText(padded) == numeric, "blanks around the text change the number test", text);
  Require(vesko::ToSingle(padded) == single, "blanks around the text change ToSingle", text);
  Require(vesko::ToInteger16(padded) == int16, "blanks around the text change ToInteger16", text);

  if (!numeric) {
    return 0;
  }
  if (!dbl) {
    // Only a value beyond the 64-bit range has no double; it has no float and no 16-bit integer either.
    Require(!single && !int16, "a value too large for a double was converted", text);
    return 0;
  }
  const double d = *dbl;
  // The float is the decimal value rounded once; rounding through the double may differ by one step.
  if (std::fabs(d) <= 3.4e38) {
    Require(single.has_value(), "a value within the float range was refused", text);
    const float viaDouble = static_cast<float>(d);
    Require(*single == viaDouble || std::nextafter(*single, viaDouble) == viaDouble,
            "ToSingle is more than one step from the value", text);
  } else if (std::fabs(d) >= 3.41e38) {
    Require(!single, "a value beyond the float range gave a float", text);
  }
  // The 16-bit integer is the value rounded to the nearest integer.
  if (int16) {
    Require(std::fabs(d - *int16) <= 0.5 + 1e-9, "ToInteger16 is not the nearest integer", text);
  } else {
    Require(d < -32768.5 + 1e-9 || d > 32767.5 - 1e-9, "a value within 16 bits was refused", text);
  }
  return 0;
}
