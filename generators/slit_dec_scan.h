#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/line_sink.h"
#include "core/result.h"
#include "core/safe_file.h"
#include "generators/form_fields.h"

namespace vesko {

/// The texts and states of the 4D slit decreasing-width scan window, as typed.
struct SlitDecScanForm {
  bool axisY = false;  // opt4DDecAxis_0 "y1 and y2"
  bool axisZ = false;  // opt4DDecAxis_1 "z1 and z2"
  std::string startSlitWidth;
  std::string endSlitWidth;
  std::string scanCenter;
  std::string decStep;
  std::string outputFileName = "4DSlitDec1DScan.tcl";
  bool repeatActive = false;
  std::string repeatTimes = "2";
};

/// Inputs of one decreasing-width scan, already checked and converted.
struct SlitDecScanParams {
  std::int16_t Axis = 0;  // 0: blades slit_y1/slit_y2, 1: slit_z1/slit_z2
  float StartSlitWidth = 0;
  float EndSlitWidth = 0;
  float ScanCenter = 0;
  float DecStep = 0;
  std::string OutputFileName;
  std::string ResultBase;
  bool RepeatActive = false;
  std::int16_t RepeatTimes = 0;
};

inline constexpr const char* kSlitDecScanSettingsFile = "4DSlitDec1DScan.ini";

/// Number of openings: floor((start - end) / step) + 1 on the 32-bit inputs, kept as a 32-bit float.
float PointCount(const SlitDecScanParams& p);

/// Blade targets of point i: blade 1 at half the opening plus the centre, blade 2 at half the
/// opening minus the centre, both closing by half a step per point.
struct DecBladePositions {
  float pos1;
  float pos2;
};
DecBladePositions DecPointPositions(const SlitDecScanParams& p, int i);

/// Checks the window's texts in their fixed order; the first failure gives its message
/// ("Setting Error!", or "Repeat Times Error" for the repeat count, which is checked last).
Result<SlitDecScanParams> Validate(const SlitDecScanForm& form);

/// Writes the script, line by line, into `out`; result files are named inside `outputFolder`.
void BuildScript(const SlitDecScanParams& p, const std::string& outputFolder, LineSink& out);

/// Fills `form` from the settings file in its field order, stopping silently at the first failure.
void LoadSettings(const std::string& path, SlitDecScanForm& form);

/// The combined window's reader of the same file: a blade-pair field that is not a number chooses
/// neither pair and the other fields are still read; missing fields keep their texts.
void LoadCombinedSettings(const std::string& path, SlitDecScanForm& form);

/// Stores the inputs of a complete script in the settings file.
std::optional<IoError> SaveSettings(const std::string& path, const SlitDecScanParams& p);

}  // namespace vesko
