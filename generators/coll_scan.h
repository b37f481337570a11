#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/line_sink.h"
#include "core/result.h"
#include "core/safe_file.h"
#include "generators/form_fields.h"

namespace vesko {

/// The texts and states of one collimator panel, as typed; element `panel` of the control arrays.
struct CollScanForm {
  std::int16_t panel = 0;  // 0: collimator_y (col_y), 1: collimator_z (col_z)
  std::string scanCenter;  // txtColliScanCenter_n
  std::string scanWidth;   // txtColliScanWidth_n
  std::string division;    // txtColliScanDivision_n
  std::string outputFileName = "Coll1DScan.com";
  bool move4DSlit = false;  // chkCollimatorMove4DSlit_n
  std::string slitWidthY;   // txtCollimatorSlitWidthY_n
  std::string slitWidthZ;
  std::string slitCenterY;
  std::string slitCenterZ;
};

/// Inputs of one collimator scan, already checked and converted.
struct CollScanParams {
  std::int16_t Panel = 0;  // 0: axis col_y, scanned from the high edge down; 1: col_z, from the low edge up
  float ScanCenter = 0;
  float ScanWidth = 0;
  std::int16_t Division = 0;
  float SlitWidthY = 0;
  float SlitWidthZ = 0;
  float SlitCenterY = 0;
  float SlitCenterZ = 0;
  bool Move4DSlit = false;
  std::string OutputFileName;
  std::string ResultBase;
};

inline constexpr const char* kCollScanSettingsFileY = "ColliScan_y.ini";
inline constexpr const char* kCollScanSettingsFileZ = "ColliScan_z.ini";

/// The settings file of a panel: ColliScan_y.ini for panel 0, ColliScan_z.ini for panel 1.
const char* CollScanSettingsFile(std::int16_t panel);

/// Checks the panel's texts in their fixed order; the first failure gives its message ("Setting Error!",
/// or "SlitWidthY Error!" ... "SlitCenterZ Error!" for the slit fields, checked even when unused).
Result<CollScanParams> Validate(const CollScanForm& form);

/// Writes the two-counter script, line by line, into `out`; the result file is named inside `outputFolder`.
void BuildScript(const CollScanParams& p, const std::string& outputFolder, LineSink& out);

/// Fills `form` from one panel's settings file, in the four-line or the nine-line layout (told apart by
/// the number of fields), stopping silently at the first failure.
void LoadSettings(const std::string& path, CollScanForm& form);

/// The collimator window's load: panel 0 from ColliScan_y.ini, then panel 1 from ColliScan_z.ini, under
/// one failure rule: panel 1 is filled only when ColliScan_y.ini was read whole.
void LoadPanelSettings(const std::string& settingsFolder, CollScanForm& panel0, CollScanForm& panel1);

/// The combined window's reader of one panel's file, in either layout: a field that cannot be taken is
/// skipped (its control keeps its text) and reading goes on with the next.
void LoadCombinedSettings(const std::string& path, CollScanForm& form);

/// Stores a complete script's inputs in the collimator window's four-line layout:
/// F(ScanCenter), F(ScanWidth), Division, OutputFileName.
std::optional<IoError> SaveSettings(const std::string& path, const CollScanParams& p);

/// Stores them in the combined window's nine-line layout: check box value (0 or 1), F(SlitWidthY),
/// F(SlitWidthZ), F(SlitCenterY), F(SlitCenterZ), F(ScanCenter), F(ScanWidth), Division, OutputFileName.
std::optional<IoError> SaveCombinedSettings(const std::string& path, const CollScanParams& p);

}  // namespace vesko
