#pragma once

#include <optional>
#include <string>

#include "core/line_sink.h"
#include "core/result.h"
#include "core/safe_file.h"
#include "generators/form_fields.h"
#include "generators/slit_blades.h"

namespace vesko {

/// The five text boxes of the 4D slit move window, as typed.
struct SlitMoveForm {
  std::string slitWidthY;   // txtSlitWidth_0
  std::string slitWidthZ;   // txtSlitWidth_1
  std::string slitCenterY;  // txtSlitCenter_0
  std::string slitCenterZ;  // txtSlitCenter_1
  std::string outputFileName = "4DSlitMove.com";
};

/// Openings of both blade pairs, already checked and converted.
struct SlitMoveParams {
  float SlitWidthY = 0;
  float SlitWidthZ = 0;
  float SlitCenterY = 0;
  float SlitCenterZ = 0;
  std::string OutputFileName;
};

inline constexpr const char* kSlitMoveSettingsFile = "4DSlitMove.ini";

/// Targets of the four blades; blade 2 of a pair counts outward on the opposite side.
SlitOpening BladePositions(const SlitMoveParams& p);

/// Checks the five texts in their fixed order; any failure gives "Setting Error!". A pair whose
/// blade targets overflow 32 bits is refused at its centre.
Result<SlitMoveParams> Validate(const SlitMoveForm& form);

/// Writes the four blade moves into `out`.
void BuildScript(const SlitMoveParams& p, LineSink& out);

/// The report shown after the file is written: "y1=…,y2=…,z1=…,z2=…,ファイルネーム=…で作成しました。".
std::string MoveReport(const SlitMoveParams& p);

/// Fills `form` from the settings file in its field order, stopping silently at the first failure.
void LoadSettings(const std::string& path, SlitMoveForm& form);

/// Stores the inputs of a written command file in the settings file.
std::optional<IoError> SaveSettings(const std::string& path, const SlitMoveParams& p);

}  // namespace vesko
