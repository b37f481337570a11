#pragma once

#include <optional>
#include <string>

#include "core/safe_file.h"

namespace vesko {

inline constexpr const char* kAppSettingsFile = "VeskoScriptCreator.ini";

/// The application-wide output folder: every script goes there. Empty until start-up.
const std::string& OutputFolder();
/// Replaces the application-wide output folder, as given up to its first NUL (no separator added or
/// removed).
void SetOutputFolder(std::string folder);
/// Empties the output folder again, as before start-up (for tests).
void ResetOutputFolder();

/// The folder used when the application settings file cannot be read: "c:\" on Windows,
/// the user's home folder elsewhere.
std::string FallbackOutputFolder();

/// Where settings files live: beside the executable when that folder is writable, otherwise the
/// per-user configuration folder of the application (created when missing).
std::string DefaultSettingsFolder();

/// What start-up found in the application settings file.
struct StartUpResult {
  std::string outputFolder;
  /// False when the file could not be read (missing, empty) and the fallback folder is used.
  bool settingsRead = false;
};

/// Reads the first field of VeskoScriptCreator.ini in `settingsFolder` into OutputFolder, or sets
/// the fallback folder when it cannot be read. No message either way.
StartUpResult StartUp(const std::string& settingsFolder);

/// Reads the stored output folder without changing OutputFolder (for the command line).
StartUpResult ReadStoredOutputFolder(const std::string& settingsFolder);

/// Writes OutputFolder as the single line of VeskoScriptCreator.ini, replacing the file safely.
std::optional<IoError> ShutDown(const std::string& settingsFolder);

}  // namespace vesko
