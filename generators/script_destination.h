#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vesko {

struct SlitScanForm;
struct SlitDecScanForm;
struct SlitMoveForm;
struct CollScanForm;
struct LensScanForm;
struct GonioYScanForm;
struct GonioStageScan2Form;

/// Where "File Create" would put a script now, judged from the name box and the choices that decide the
/// result files alone (the other fields are not checked).
struct ScriptDestination {
  /// The script's full path; empty when the name box holds no usable name.
  std::string script;
  /// The result files the script opens, as the control server names them.
  std::vector<std::string> resultFiles;
};

/// The suffixes of the result files each window's script opens (before ".dat"), in the order it opens
/// them: "" for one file, "_Repeat" and "_Average" for repeated passes, "_1"/"_2" per omega angle.
std::vector<std::string_view> ResultSuffixes(const SlitScanForm& form);
std::vector<std::string_view> ResultSuffixes(const SlitDecScanForm& form);
std::vector<std::string_view> ResultSuffixes(const SlitMoveForm& form);
std::vector<std::string_view> ResultSuffixes(const CollScanForm& form);
std::vector<std::string_view> ResultSuffixes(const LensScanForm& form);
std::vector<std::string_view> ResultSuffixes(const GonioStageScan2Form& form);
/// The GonioY window's script is the one its omega boxes choose.
std::vector<std::string_view> ResultSuffixes(const GonioYScanForm& form);

/// The script and result files for the name box `fileNameBox` in `outputFolder`.
ScriptDestination DestinationOf(std::string_view fileNameBox, const std::vector<std::string_view>& suffixes,
                                std::string_view outputFolder);

/// The destination of a window's form in `outputFolder`.
template <typename Form>
ScriptDestination DestinationOf(const Form& form, std::string_view outputFolder) {
  return DestinationOf(form.outputFileName, ResultSuffixes(form), outputFolder);
}

}  // namespace vesko
