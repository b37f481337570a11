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

/// The texts and states of the GonioY scan window, as typed.
struct GonioYScanForm {
  std::string scanCenter;  // txtGonioYScanCenter
  std::string scanWidth;   // txtGonioYScanWidth
  std::string division;    // txtGonioYScanDivision
  std::string outputFileName = "GonioYScan.tcl";
  // chkGonioYUseOmega_0 "ω1" and _1 "ω2": 0 unticked, 1 ticked, 2 grey (only ever loaded from a file).
  std::array<int, 2> useOmega{};
  std::array<std::string, 2> omega = {"5.000", "-5.000"};  // txtGonioYOmega_0, _1
  bool repeatActive = false;                               // chkGonioYRepeatActive
  std::string repeatTimes = "2";                           // txtGonioYRepeatTimes
};

/// Inputs of one GonioY scan, already checked and converted.
struct GonioYScanParams {
  float ScanCenter = 0;
  float ScanWidth = 0;
  std::int16_t Division = 0;
  std::array<float, 2> Omega{};
  std::array<bool, 2> UseOmega{};  // the box holds exactly 1; a grey box does not turn omega
  std::string OutputFileName;
  std::string ResultBase;
  bool RepeatActive = false;  // generator A only
  std::int16_t RepeatTimes = 0;
};

inline constexpr const char* kGonioYScanSettingsFile = "GonioYScan.ini";

/// The two scripts of the window: A scans at the current omega (optionally repeated), B once per
/// ticked omega angle.
enum class GonioYGenerator { A, B };

/// What the omega boxes decide: whose "File Create" button shows and whether the repeat controls
/// (frame, "Active", times box and its label) are enabled.
struct OmegaRuleState {
  GonioYGenerator generator = GonioYGenerator::A;
  bool repeatControlsEnabled = true;
};

/// The omega rule for two box values: generator A with the repeat controls enabled while both are 0,
/// otherwise generator B with them disabled (a grey box counts as ticked here).
OmegaRuleState OmegaRuleFor(const std::array<int, 2>& useOmega);

/// Applies the omega rule to `form` (generator B unticks "Active") and returns it.
OmegaRuleState ApplyOmegaRule(GonioYScanForm& form);

/// Checks the window's texts in their fixed order for `generator`; the first failure gives its message
/// ("Setting Error!", "Omega0 Setting Error!", "Omega1 Setting Error!", and for generator A last
/// "Repeat Times Error"). Both omega texts are checked whether or not their boxes are ticked.
Result<GonioYScanParams> Validate(const GonioYScanForm& form, GonioYGenerator generator);

/// Writes generator A's script (one scan, or repeated passes with their averages) into `out`.
void BuildScriptA(const GonioYScanParams& p, const std::string& outputFolder, LineSink& out);

/// Writes generator B's script (one scan per omega angle in use, omega back to 0 at the end) into `out`.
void BuildScriptB(const GonioYScanParams& p, const std::string& outputFolder, LineSink& out);

/// Fills `form` from the settings file, stopping silently at the first failure; a loaded box value
/// (0, 1 or 2) applies the omega rule.
void LoadSettings(const std::string& path, GonioYScanForm& form);

/// The combined window's reader of the same file: a field that cannot be taken is skipped (its
/// control keeps its state) and reading goes on with the next.
void LoadCombinedSettings(const std::string& path, GonioYScanForm& form);

/// Stores the inputs of a complete script of either generator: 0, F(ScanCenter), F(ScanWidth), Division,
/// OutputFileName, then for each omega box 0 or 1 (UseOmega) and F(Omega).
std::optional<IoError> SaveSettings(const std::string& path, const GonioYScanParams& p);

}  // namespace vesko
