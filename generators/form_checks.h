#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vesko {

// Checks shared by the generator windows: each takes one field's text as typed.

inline constexpr const char* kSettingError = "Setting Error!";
inline constexpr const char* kRepeatTimesError = "Repeat Times Error";

/// The 32-bit float value of a numeric text into `target`; false (target untouched) when the text is
/// not numeric or its value overflows.
bool TakeSingle(std::string_view text, float& target);

/// The file name box trimmed, and its part before the first "." (the result files' base); false when
/// the name is empty or nothing stands before its first dot.
bool TakeOutputFileName(std::string_view boxText, std::string& outputFileName, std::string& resultBase);

/// The pass count of a repeated scan: numeric, within 16 bits and above 1; empty otherwise.
std::optional<std::int16_t> TakeRepeatTimes(std::string_view text);

/// A check box value stored in a settings file: 0 unticked, 1 ticked, 2 grey; empty for anything else.
std::optional<int> CheckBoxValue(std::string_view field);

/// The slit fields of a panel that may set the 4D slit before its scan, as typed.
struct SlitSettingTexts {
  std::string_view widthY, widthZ, centerY, centerZ;
};

/// The slit fields as numbers.
struct SlitSetting {
  float widthY = 0, widthZ = 0, centerY = 0, centerZ = 0;
};

/// Takes the four slit fields in their check order; empty when all hold, else the message of the
/// first that fails ("SlitWidthY Error!" ... "SlitCenterZ Error!"). The fields must be numbers even
/// when the slit is not set; a slit that is set must also give finite blade targets.
std::optional<std::string> TakeSlitSetting(const SlitSettingTexts& texts, bool moveSlit, SlitSetting& out);

}  // namespace vesko
