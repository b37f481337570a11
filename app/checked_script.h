#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/file_create.h"
#include "core/line_sink.h"
#include "core/result.h"
#include "core/safe_file.h"
#include "generators/coll_scan.h"
#include "generators/gonio_stage_scan.h"
#include "generators/gonio_y_scan.h"
#include "generators/lens_scan.h"
#include "generators/script_summary.h"
#include "generators/slit_dec_scan.h"
#include "generators/slit_move.h"
#include "generators/slit_scan.h"

namespace vesko {

/// A press of "File Create" or "Preview" whose inputs passed their checks: the script it writes, where its
/// inputs are stored and what the summary says. It owns copies of the checked inputs.
struct CheckedScript {
  std::string outputFileName;
  /// Writes the script's lines; result files are named inside `outputFolder`.
  std::function<void(const std::string& outputFolder, LineSink& out)> write;
  /// The generator's settings file and how the inputs are stored there.
  std::string settingsPath;
  std::function<std::optional<IoError>(const std::string& settingsPath)> save;
  /// False for command files that never name the output folder (no result file is opened).
  bool namesFolderInScript = true;
  /// Told once the file is written: the blade targets of the slit move; empty for the scans.
  std::string report;
  ScanOutline outline;

  /// The "File Create" of this script into `outputFolder`.
  FileCreateJob Job(std::string outputFolder) const;
};

/// The checked script of a window's texts, its settings file in `settingsFolder`, or the window's message.
[[nodiscard]] Result<CheckedScript> CheckScript(const SlitScanForm& form, const std::string& settingsFolder);
[[nodiscard]] Result<CheckedScript> CheckScript(const SlitDecScanForm& form,
                                                const std::string& settingsFolder);
[[nodiscard]] Result<CheckedScript> CheckScript(const SlitMoveForm& form, const std::string& settingsFolder);
[[nodiscard]] Result<CheckedScript> CheckScript(const LensScanForm& form, const std::string& settingsFolder);
[[nodiscard]] Result<CheckedScript> CheckScript(const GonioStageScan2Form& form,
                                                const std::string& settingsFolder);
/// The collimator panel stores its inputs in the combined window's layout when `combinedLayout` is set.
[[nodiscard]] Result<CheckedScript> CheckScript(const CollScanForm& form, const std::string& settingsFolder,
                                                bool combinedLayout = false);
/// The GonioY window writes the script of its button `generator`.
[[nodiscard]] Result<CheckedScript> CheckScript(const GonioYScanForm& form, GonioYGenerator generator,
                                                const std::string& settingsFolder);

/// Why the script cannot be shown or printed for `outputFolder` (a folder it names but cannot use); empty
/// when it can. Writing the file has more to check: PlaceRefusal.
[[nodiscard]] std::optional<std::string> ShownFolderRefusal(const CheckedScript& script,
                                                            const std::string& outputFolder);

}  // namespace vesko
