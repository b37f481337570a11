#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/line_sink.h"

namespace vesko {

/// A file operation that failed: the file and the system's reason.
struct IoError {
  std::string path;
  std::string reason;
  /// One line for a message box or standard error: "Cannot write <path>: <reason>".
  std::string Message() const;
};

/// Replaces a file safely: lines go to a temporary file created exclusively in the same folder;
/// Commit() flushes, syncs, copies the old file's permissions and renames it over `path`.
/// Until then (and after any failure) the old file stays byte-identical; a writer that is not
/// committed removes its temporary file. Line ends are CR LF; text goes through ToFileText.
class SafeFileWriter final : public LineSink {
 public:
  explicit SafeFileWriter(std::string path);
  ~SafeFileWriter() override;
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  /// False once anything has failed (the temporary file could not be made, a write failed).
  bool ok() const { return !error_.has_value(); }
  void WriteLine(std::string_view line) override;
  void WriteLines(std::string_view lines) override;
  /// Finishes the file; empty on success, else the first failure (nothing replaced).
  std::optional<IoError> Commit();
  /// Drops the temporary file; the old file stays as it was.
  void Abort();

 private:
  struct Impl;
  void Fail(std::string reason);
  // Closes and removes the temporary file, if any, and drops what is buffered.
  void DropTempFile();
  void FlushBuffer();

  std::string path_;
  std::string tempPath_;
  std::string buffer_;
  std::optional<IoError> error_;
  std::unique_ptr<Impl> impl_;
  bool done_ = false;
};

/// Writes `lines` as the whole new content of `path`, safely replaced as above.
std::optional<IoError> ReplaceFileLines(const std::string& path, const std::vector<std::string>& lines);

}  // namespace vesko
