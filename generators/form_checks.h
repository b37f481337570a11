#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vesko {

// Checks shared by the generator windows: each takes one field's text as typed. Then the readers of
// the settings-file fields that several windows share.

inline constexpr const char* kSettingError = "Setting Error!";
inline constexpr const char* kRepeatTimesError = "Repeat Times Error";

/// The 32-bit float value of a numeric text into `target`; false (target untouched) when the text is
/// not numeric or its value overflows.
bool TakeSingle(std::string_view text, float& target);

/// The file name box trimmed, and its part before the first "." (the result files' base); false when
/// the name is empty, nothing stands before its first dot, or it holds "/", "\\" or a double quote.
bool TakeOutputFileName(std::string_view boxText, std::string& outputFileName, std::string& resultBase);

/// The repeat settings of a scan: `repeatActive` as ticked and, when ticked, the pass count, which must
/// be numeric, within 16 bits and above 1; false (nothing set) when it is not.
bool TakeRepeat(bool active, std::string_view timesText, bool& repeatActive, std::int16_t& repeatTimes);

/// A check box value stored in a settings file: 0 unticked, 1 ticked, 2 grey; empty for anything else.
std::optional<int> CheckBoxValue(std::string_view field);

/// The three fields of an evenly spaced scan, as typed.
struct ScanRangeTexts {
  std::string_view center, width, division;
};

/// Takes ScanCenter, ScanWidth and then Division (as TakeScanDivision takes it); empty when all hold,
/// else the message of the first that fails ("Scan Center Error!", "Scan Width Error!",
/// "Scan Division Error!").
std::optional<std::string> TakeScanRange(const ScanRangeTexts& texts, float& scanCenter, float& scanWidth,
                                         std::int16_t& division);

/// The slit fields of a panel that may set the 4D slit before its scan, as typed.
struct SlitSettingTexts {
  std::string_view widthY, widthZ, centerY, centerZ;
};

/// Takes the four slit fields in their check order; empty when all hold, else the message of the
/// first that fails ("SlitWidthY Error!" ... "SlitCenterZ Error!"). The fields must be numbers even
/// when the slit is not set; a slit that is set must also give finite blade targets.
std::optional<std::string> TakeSlitSetting(const SlitSettingTexts& texts, bool moveSlit, float& widthY,
                                           float& widthZ, float& centerY, float& centerZ);

/// Puts the settings fields from index `first` on into `boxes`, in order, as far as fields were read.
void FillBoxes(const std::vector<std::string>& fields, std::size_t first,
               std::initializer_list<std::string*> boxes);

/// Reads a 4D slit scan window's settings file: the blade pair (0 for y1 and y2, any other number for
/// z1 and z2), then `boxes` in order. A pair field that is not a number ends the reading; with
/// `skipFailures` it chooses neither pair instead and the reading goes on.
void ReadBladePairSettings(const std::string& path, bool skipFailures, bool& axisY, bool& axisZ,
                           std::initializer_list<std::string*> boxes);

}  // namespace vesko
