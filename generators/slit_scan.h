#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/line_sink.h"
#include "core/result.h"
#include "core/safe_file.h"
#include "generators/form_fields.h"

namespace vesko {

/// The texts and states of the 4D slit one-dimensional scan window, as typed.
struct SlitScanForm {
  bool axisY = false;  // opt4DAxis_0 "y1 and y2"
  bool axisZ = false;  // opt4DAxis_1 "z1 and z2"
  std::string slitWidth;
  std::string scanCenter;
  std::string scanWidth;
  std::string division;
  std::string outputFileName = "4DSlit1DScan.tcl";
  bool repeatActive = false;
  std::string repeatTimes = "2";
};

/// Inputs of one 4D slit one-dimensional scan, already checked and converted.
struct SlitScanParams {
  std::int16_t Axis = 0;  // 0: blades slit_y1/slit_y2, 1: slit_z1/slit_z2
  float SlitWidth = 0;
  float ScanCenter = 0;
  float ScanWidth = 0;
  std::int16_t Division = 0;
  std::string OutputFileName;
  std::string ResultBase;
  bool RepeatActive = false;
  std::int16_t RepeatTimes = 0;
};

inline constexpr const char* kSlitScanSettingsFile = "4DSlitScan.ini";

/// Checks the window's texts in their fixed order; the first failure gives its message
/// ("Setting Error!", or "Repeat Times Error" for the repeat count, which is checked last).
Result<SlitScanParams> Validate(const SlitScanForm& form);

/// Writes the script, line by line, into `out`; result files are named inside `outputFolder`.
void BuildScript(const SlitScanParams& p, const std::string& outputFolder, LineSink& out);

/// Fills `form` from the settings file in its field order, stopping silently at the first failure.
void LoadSettings(const std::string& path, SlitScanForm& form);

/// The combined window's reader of the same file: a blade-pair field that is not a number chooses
/// neither pair and the other fields are still read; missing fields keep their texts.
void LoadCombinedSettings(const std::string& path, SlitScanForm& form);

/// Stores the inputs of a complete script in the settings file.
std::optional<IoError> SaveSettings(const std::string& path, const SlitScanParams& p);

}  // namespace vesko
