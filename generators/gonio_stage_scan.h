#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/line_sink.h"
#include "core/result.h"
#include "core/safe_file.h"
#include "generators/form_fields.h"

namespace vesko {

/// The texts and states of one gonio stage panel, as typed; element `panel` of the control arrays.
struct GonioStageScan2Form {
  std::int16_t panel = 0;  // 0: gonio_stage_y, 1: gonio_stage_z
  int move4DSlit = 0;      // chkGonioStageMove4DSlit_n: 0 unticked, 1 ticked, 2 grey (only from a file)
  std::string slitWidthY;  // txtGonioStageSlitWidthY_n
  std::string slitWidthZ;
  std::string slitCenterY;
  std::string slitCenterZ;
  std::string scanCenter;  // txtGonioStageScanCenter_n
  std::string scanWidth;   // txtGonioStageScanWidth_n
  std::string division;    // txtGonioStageScanDivision_n
  std::string outputFileName = "Gonio1DScan.tcl";
};

/// Inputs of one gonio stage scan, already checked and converted.
struct GonioStageScan2Params {
  std::int16_t Panel = 0;  // 0: stage y, approached from below; 1: stage z
  float ScanCenter = 0;
  float ScanWidth = 0;
  std::int16_t Division = 0;
  float SlitWidthY = 0;
  float SlitWidthZ = 0;
  float SlitCenterY = 0;
  float SlitCenterZ = 0;
  std::string OutputFileName;
  std::string ResultBase;
  bool Move4DSlit = false;  // the box holds exactly 1
};

inline constexpr const char* kGonioStageScanSettingsFileY = "GonioStageScan2_y.ini";
inline constexpr const char* kGonioStageScanSettingsFileZ = "GonioStageScan2_z.ini";

/// The settings file of a panel: GonioStageScan2_y.ini for panel 0, GonioStageScan2_z.ini for panel 1.
const char* GonioStageScanSettingsFile(std::int16_t panel);

/// Checks the panel's texts in their fixed order; the first failure gives its message ("Scan Center Error!",
/// "Scan Width Error!", "Scan Division Error!", "SlitWidthY Error!" ... "SlitCenterZ Error!" (checked
/// even when the slit is not set), "FileName Error!").
Result<GonioStageScan2Params> Validate(const GonioStageScan2Form& form);

/// Writes the stage scan script of the record's panel, line by line, into `out`.
void BuildScript(const GonioStageScan2Params& p, const std::string& outputFolder, LineSink& out);

/// Fills `form` from one panel's settings file, stopping silently at the first failure; true when all
/// nine fields were taken.
bool LoadSettings(const std::string& path, GonioStageScan2Form& form);

/// The window's load: panel 0 from GonioStageScan2_y.ini, then panel 1 from GonioStageScan2_z.ini, under
/// one failure rule: panel 1 is filled only when the first file was read whole.
void LoadPanelSettings(const std::string& settingsFolder, GonioStageScan2Form& panel0,
                       GonioStageScan2Form& panel1);

/// The combined window's reader of one panel's file: a field that cannot be taken is skipped (its
/// control keeps its state) and reading goes on with the next.
void LoadCombinedSettings(const std::string& path, GonioStageScan2Form& form);

/// Stores a complete script's inputs: check box value (0 or 1), F(SlitWidthY), F(SlitWidthZ),
/// F(SlitCenterY), F(SlitCenterZ), F(ScanCenter), F(ScanWidth), Division, OutputFileName.
std::optional<IoError> SaveSettings(const std::string& path, const GonioStageScan2Params& p);

}  // namespace vesko
