#pragma once

#include <functional>
#include <optional>
#include <string>

#include "core/line_sink.h"
#include "core/safe_file.h"

namespace vesko {

/// What a "File Create" press has to do once its inputs are checked.
struct FileCreateJob {
  std::string outputFolder;
  std::string outputFileName;
  /// Writes the script's lines.
  std::function<void(LineSink&)> writeScript;
  /// Stores the inputs after a complete script; may be empty.
  std::function<std::optional<IoError>()> saveSettings;
  /// False for command files that never name the output folder (no result file is opened).
  bool namesFolderInScript = true;
};

/// Receives the status texts of a "File Create" ("Output Start", "Done").
using StatusCallback = std::function<void(const std::string&)>;

/// How a "File Create" ended.
struct FileCreateOutcome {
  enum class Kind { Done, Refused, IoFailed };
  Kind kind = Kind::Done;
  /// Message for the operator: the refusal or "Cannot write <file>: <reason>"; empty when done.
  std::string message;
};

inline constexpr const char* kStatusOutputStart = "Output Start";
inline constexpr const char* kStatusDone = "Done";

/// Checks the folder (when the script names it), reports "Output Start", writes the script safely, reports
/// "Done", then saves the settings. A failure leaves the old script and settings files as they were.
FileCreateOutcome RunFileCreate(const FileCreateJob& job, const StatusCallback& status);

}  // namespace vesko
