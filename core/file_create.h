#pragma once

#include <cstdint>
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
  /// Told the number of lines written so far, now and then while the script is written (every
  /// kProgressInterval lines or so); returning false cancels: the old script and settings stay as they
  /// were. May be empty.
  std::function<bool(std::uint64_t linesWritten)> progress;
};

/// About how many lines pass between two calls of FileCreateJob::progress.
inline constexpr std::uint64_t kProgressInterval = 65536;

/// Receives the status texts of a "File Create" ("Output Start", "Done").
using StatusCallback = std::function<void(const std::string&)>;

/// How a "File Create" ended.
struct FileCreateOutcome {
  enum class Kind { Done, Refused, IoFailed, Cancelled };
  Kind kind = Kind::Done;
  /// Message for the operator: the refusal, "Cannot write <file>: <reason>" or, when cancelled,
  /// "File Create cancelled: <file> was left as it was."; empty when done.
  std::string message;
};

inline constexpr const char* kStatusOutputStart = "Output Start";
inline constexpr const char* kStatusDone = "Done";

/// Checks the folder (when the script names it), reports "Output Start", writes the script safely, reports
/// "Done", then saves the settings. A failure or a cancel leaves the old script and settings files as they
/// were.
FileCreateOutcome RunFileCreate(const FileCreateJob& job, const StatusCallback& status);

}  // namespace vesko
