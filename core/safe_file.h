#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/line_sink.h"
#include "core/os_file.h"

namespace vesko {

/// A file operation that failed: the file (or the folder that refused it) and the system's reason.
struct IoError {
  std::string path;
  std::string reason;
  /// One line for a message box or standard error: "Cannot write <path>: <reason>", control
  /// characters of the path shown escaped.
  std::string Message() const;
};

/// Replaces a file safely: lines go to a temporary file, with a short name of its own, created
/// exclusively in the same folder; Commit() flushes, syncs, copies the old file's permissions and
/// renames it over `path`. Until then (and after any failure) the old file stays byte-identical; a
/// writer that is not committed removes its temporary file. A read-only file is not replaced.
/// Line ends are CR LF; text goes through ToFileText.
class SafeFileWriter final : public BufferedSink {
 public:
  explicit SafeFileWriter(std::string path);
  ~SafeFileWriter() override;
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  /// False once anything has failed (the temporary file could not be made, a write failed).
  bool ok() const override { return !error_.has_value(); }
  /// Takes `bytes` as they are: no line end, no text conversion (a picture, say).
  void WriteBytes(std::string_view bytes);
  /// Finishes the file; empty on success, else the first failure (nothing replaced).
  std::optional<IoError> Commit();
  /// Drops the temporary file; the old file stays as it was.
  void Abort();

 private:
  void Emit(std::string_view bytes) override;
  void Fail(const os::OsError& error);
  // Closes and removes the temporary file, if any, and drops what is buffered.
  void DropTempFile();

  std::string path_;
  std::string tempPath_;
  os::OutputFile file_;
  int interruptSlot_ = -1;
  std::optional<IoError> error_;
  bool done_ = false;
};

/// Writes `lines` as the whole new content of `path`, safely replaced as above.
std::optional<IoError> ReplaceFileLines(const std::string& path, const std::vector<std::string>& lines);

/// Writes `bytes`, as they are, as the whole new content of `path`, safely replaced as above.
std::optional<IoError> ReplaceFileBytes(const std::string& path, std::string_view bytes);

/// From now on an interrupt (SIGINT, SIGTERM, SIGHUP, SIGQUIT) removes the temporary files of
/// unfinished writers and says on standard error which files were left as they were, then ends the
/// program as the signal would; a write beyond the file-size limit fails as on a full disk. For the
/// command line; does nothing on Windows.
void InstallInterruptCleanup();

}  // namespace vesko
