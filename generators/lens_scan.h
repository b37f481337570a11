#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/line_sink.h"
#include "core/result.h"
#include "core/safe_file.h"
#include "generators/form_fields.h"

namespace vesko {

/// The texts and states of the lens scan window, as typed.
struct LensScanForm {
  std::array<bool, 4> axis{};  // optLenzAxis_0 ... _3: lens_y, lens_z, lens_ry, lens_rz
  std::string scanCenter;      // txtLenzScanCenter
  std::string scanWidth;       // txtLenzScanWidth
  std::string division;        // txtLenzScanDivision
  std::string outputFileName = "Lens1DScan.tcl";
};

/// Inputs of one lens scan, already checked and converted.
struct LensScanParams {
  std::int16_t Axis = 0;  // 0 lens_y, 1 lens_z, 2 lens_ry, 3 lens_rz
  float ScanCenter = 0;
  float ScanWidth = 0;
  std::int16_t Division = 0;
  std::string OutputFileName;
  std::string ResultBase;
};

inline constexpr const char* kLensScanSettingsFile = "LensScan.ini";

/// The lens axis names, by `Axis`.
inline constexpr std::array<const char*, 4> kLensAxisNames = {"lens_y", "lens_z", "lens_ry", "lens_rz"};

/// Checks the window's texts in their fixed order; any failure gives "Setting Error!".
Result<LensScanParams> Validate(const LensScanForm& form);

/// Writes the script, line by line, into `out`; the result file is named inside `outputFolder`.
void BuildScript(const LensScanParams& p, const std::string& outputFolder, LineSink& out);

/// Fills `form` from the settings file, stopping silently at the first failure; an axis number outside
/// 0 ... 3 selects no option and the other fields are still read.
void LoadSettings(const std::string& path, LensScanForm& form);

/// The combined window's reader of the same file: an axis field that is not a number selects no option
/// and the other fields are still read; missing fields keep their texts.
void LoadCombinedSettings(const std::string& path, LensScanForm& form);

/// Stores the inputs of a complete script in the settings file.
std::optional<IoError> SaveSettings(const std::string& path, const LensScanParams& p);

}  // namespace vesko
