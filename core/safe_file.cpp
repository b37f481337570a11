#include "core/safe_file.h"

#include <string>

#include "core/platform.h"
#include "core/shown_text.h"

namespace vesko {
namespace {

constexpr int kCreateAttempts = 100;

// The folder part of `path` (up to its last separator), "." when it has none.
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of(PathSeparator() == "/" ? "/" : "\\/");
  return slash == std::string::npos ? "." : slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

// Beside the target and hidden; its length does not depend on the target's name, so that any name
// the file system takes can be replaced.
std::string TempPathFor(const std::string& path) {
  const std::size_t slash = path.find_last_of(PathSeparator() == "/" ? "/" : "\\/");
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  return path.substr(0, nameStart) + os::UniqueFileName(".vesko-") + ".tmp";
}

}  // namespace

std::string IoError::Message() const {
  return "Cannot write " + ShownText(path) + ": " + reason;
}

SafeFileWriter::SafeFileWriter(std::string path) : path_(std::move(path)) {
  if (const std::optional<os::OsError> readOnly = os::CheckReplaceable(path_)) {
    Fail(*readOnly);
    return;
  }
  std::optional<os::OsError> error;
  for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
    const std::string temp = TempPathFor(path_);
    file_ = os::OutputFile::CreateNew(temp, error);
    if (file_.IsOpen()) {
      tempPath_ = temp;
      interruptSlot_ = os::RememberTempFile(tempPath_, path_);
      return;
    }
    if (error->kind != os::OsError::Kind::Exists) {
      if (error->kind == os::OsError::Kind::Denied) {
        // The folder forbids new files, whatever the file: the message names the folder.
        error_ = IoError{FolderOf(path_), error->reason};
      }
      Fail(*error);
      return;
    }
  }
  Fail({os::OsError::Kind::Other, "no unused temporary file name"});
}

SafeFileWriter::~SafeFileWriter() {
  if (!done_) {
    Abort();
  }
}

void SafeFileWriter::Emit(std::string_view bytes) {
  if (ok() && !done_) {
    if (const std::optional<os::OsError> error = file_.WriteAll(bytes)) {
      Fail(*error);
    }
  }
}

void SafeFileWriter::WriteBytes(std::string_view bytes) {
  FlushBuffer();
  Emit(bytes);
}

std::optional<IoError> SafeFileWriter::Commit() {
  if (done_ || !ok()) {
    return error_;
  }
  FlushBuffer();
  std::optional<os::OsError> error;
  if (ok() && !(error = file_.Sync()) && !(error = file_.TakePermissionsOf(path_)) &&
      !(error = file_.Close()) && !(error = os::CheckReplaceable(path_)) &&
      !(error = os::RenameOver(tempPath_, path_))) {
    os::ForgetTempFile(interruptSlot_);
    tempPath_.clear();
    done_ = true;
    return std::nullopt;
  }
  if (error) {
    Fail(*error);
  }
  return error_;
}

void SafeFileWriter::Abort() {
  DropTempFile();
  done_ = true;
}

void SafeFileWriter::Fail(const os::OsError& error) {
  if (!error_) {
    error_ = IoError{path_, error.reason};
  }
  // The old file stays; the half-written temporary file goes at once.
  DropTempFile();
}

void SafeFileWriter::DropTempFile() {
  file_.Close();
  if (!tempPath_.empty()) {
    os::RemoveFile(tempPath_);
    os::ForgetTempFile(interruptSlot_);
    interruptSlot_ = -1;
    tempPath_.clear();
  }
  DropBuffer();
}

std::optional<IoError> ReplaceFileLines(const std::string& path, const std::vector<std::string>& lines) {
  SafeFileWriter writer(path);
  for (const std::string& line : lines) {
    writer.WriteLine(line);
  }
  return writer.Commit();
}

std::optional<IoError> ReplaceFileBytes(const std::string& path, std::string_view bytes) {
  SafeFileWriter writer(path);
  writer.WriteBytes(bytes);
  return writer.Commit();
}

}  // namespace vesko
