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
  /// The file saveSettings writes: a script of that name in that folder is refused. Empty without one.
  std::string settingsPath;
  /// Scan points over all passes (each one measurement), for judging a script's size from its start.
  std::uint64_t points = 0;
  /// False for command files that never name the output folder (no result file is opened).
  bool namesFolderInScript = true;
  /// Told the number of lines written so far, now and then while the script is written (every
  /// kProgressInterval lines or so); returning false cancels: the old script and settings stay as they
  /// were. May be empty.
  std::function<bool(std::uint64_t linesWritten)> progress;
  /// True when MeasureRoom has already judged this job, so that RunFileCreate need not do it again.
  bool roomMeasured = false;
};

/// Thrown through a generator (which knows nothing of it) by a sink that stops the script part-way: the
/// operator cancelled, or the script will not fit. The one who gave the sink catches it.
struct ScriptCancelled {};

/// Passes lines on to a file or stream and stops the script (ScriptCancelled) at the first line after one
/// of its writes failed: a full disk or a closed stream is reported at once, not after the whole script.
/// The one who catches it finds the failure in the sink.
class FailFastSink final : public LineSink {
 public:
  explicit FailFastSink(BufferedSink& next) : next_(next) {}
  void WriteLine(std::string_view line) override {
    next_.WriteLine(line);
    StopIfFailed();
  }
  void WriteLines(std::string_view lines) override {
    next_.WriteLines(lines);
    StopIfFailed();
  }

 private:
  void StopIfFailed() const {
    if (!next_.ok()) {
      throw ScriptCancelled{};
    }
  }
  BufferedSink& next_;
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

/// The refusal of an output folder that has not been chosen (empty).
inline constexpr const char* kNoOutputFolder =
    "Output Folder Error! No output folder is chosen: choose an output folder.";

/// A relative folder taken against the current folder, so that the script's result files name the folder
/// the script is written to; an absolute or empty folder as given.
std::string AbsoluteFolder(const std::string& folder);

/// A script measured in a dry pass before it is written.
struct ScriptRoom {
  std::uint64_t lines = 0;
  /// "<file> needs N GB, M GB are free" when the script would not fit on the target's file system (the
  /// pass then stops early and `lines` counts only what it saw); empty when it fits or the room is unknown.
  std::optional<std::string> refusal;
};

/// Measures the job's script against the free room of the output folder's file system.
[[nodiscard]] ScriptRoom MeasureRoom(const FileCreateJob& job);

/// Why the job's script cannot be written where it would go: no folder, a folder the script cannot name,
/// the job's own settings file; empty when it can.
[[nodiscard]] std::optional<std::string> PlaceRefusal(const FileCreateJob& job);

/// Checks the place (PlaceRefusal) and the room on the target's file system (MeasureRoom), reports
/// "Output Start", writes the script safely, reports "Done", then saves the settings. A failure or a cancel
/// leaves the old script and settings files as they were; settings that cannot be saved after a complete
/// script are reported with the script named as written.
[[nodiscard]] FileCreateOutcome RunFileCreate(const FileCreateJob& job, const StatusCallback& status);

}  // namespace vesko
