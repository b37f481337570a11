#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "core/os_file.h"

namespace vesko::os {
namespace {

OsError ErrorOf(int code) {
  const OsError::Kind kind = code == EEXIST                                     ? OsError::Kind::Exists
                             : code == EACCES || code == EPERM || code == EROFS ? OsError::Kind::Denied
                                                                                : OsError::Kind::Other;
  return {kind, std::strerror(code)};
}

int Fd(std::intptr_t handle) {
  return static_cast<int>(handle);
}

// Makes a rename in the folder of `path` durable; a folder that cannot be synced changes nothing.
void SyncFolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    fsync(fd);
    close(fd);
  }
}

}  // namespace

OutputFile OutputFile::CreateNew(const std::string& path, std::optional<OsError>& error) {
  for (;;) {
    // 0666 lets the umask decide, as for any newly created file.
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      error.reset();
      return OutputFile(fd);
    }
    if (errno != EINTR) {
      error = ErrorOf(errno);
      return {};
    }
  }
}

std::optional<OsError> OutputFile::WriteAll(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t count = write(Fd(handle_), bytes.data(), bytes.size());
    if (count < 0) {
      if (errno == EINTR) {
        continue;
      }
      return ErrorOf(errno);
    }
    if (count == 0) {
      return ErrorOf(ENOSPC);
    }
    bytes.remove_prefix(static_cast<std::size_t>(count));
  }
  return std::nullopt;
}

std::optional<OsError> OutputFile::TakePermissionsOf(const std::string& path) {
  struct stat old {};
  if (stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode) &&
      fchmod(Fd(handle_), old.st_mode & 07777) != 0) {
    return ErrorOf(errno);
  }
  return std::nullopt;
}

std::optional<OsError> OutputFile::Sync() {
  int result;
  do {
    result = fsync(Fd(handle_));
  } while (result != 0 && errno == EINTR);
  return result == 0 ? std::nullopt : std::optional<OsError>(ErrorOf(errno));
}

std::optional<OsError> OutputFile::Close() {
  if (!IsOpen()) {
    return std::nullopt;
  }
  const int fd = Fd(handle_);
  handle_ = kClosed;
  if (close(fd) != 0 && errno != EINTR) {
    return ErrorOf(errno);
  }
  return std::nullopt;
}

void InputFile::Release() noexcept {
  if (IsOpen()) {
    close(Fd(handle_));
    handle_ = kClosed;
  }
}

InputFile InputFile::OpenRegular(const std::string& path, std::optional<OsError>& error) {
  error.reset();
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) {
    error = ErrorOf(errno);
    return {};
  }
  if (S_ISDIR(info.st_mode)) {
    error = ErrorOf(EISDIR);
    return {};
  }
  if (!S_ISREG(info.st_mode)) {
    error = OsError{OsError::Kind::Other, kNotRegularReason};
    return {};
  }
  // O_NONBLOCK: should the name have become a FIFO since, the open still returns at once.
  int fd;
  do {
    fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    error = ErrorOf(errno);
    return {};
  }
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    error = OsError{OsError::Kind::Other, kNotRegularReason};
    return {};
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return InputFile(fd, static_cast<std::uint64_t>(info.st_size));
}

std::optional<std::size_t> InputFile::Read(char* data, std::size_t size) {
  for (;;) {
    const ssize_t count = read(Fd(handle_), data, size);
    if (count >= 0) {
      return static_cast<std::size_t>(count);
    }
    if (errno != EINTR) {
      return std::nullopt;
    }
  }
}

bool InputFile::Seek(std::uint64_t offset) {
  return lseek(Fd(handle_), static_cast<off_t>(offset), SEEK_SET) >= 0;
}

bool InputFile::IsSameFile(const InputFile& other) const {
  struct stat mine {};
  struct stat theirs {};
  return IsOpen() && other.IsOpen() && fstat(Fd(handle_), &mine) == 0 &&
         fstat(Fd(other.handle_), &theirs) == 0 && mine.st_dev == theirs.st_dev &&
         mine.st_ino == theirs.st_ino;
}

std::optional<OsError> RenameOver(const std::string& from, const std::string& to) {
  if (rename(from.c_str(), to.c_str()) != 0) {
    return ErrorOf(errno);
  }
  SyncFolderOf(to);
  return std::nullopt;
}

std::optional<OsError> CheckReplaceable(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return std::nullopt;  // nothing to keep, or a failure the replacement itself will report
  }
  // The superuser may write anything: a file without any write permission is still kept.
  if ((access(path.c_str(), W_OK) != 0 && errno == EACCES) || (info.st_mode & 0222) == 0) {
    return OsError{OsError::Kind::Other, kReadOnlyReason};
  }
  return std::nullopt;
}

void RemoveFile(const std::string& path) {
  unlink(path.c_str());
}

unsigned long ProcessId() {
  return static_cast<unsigned long>(getpid());
}

}  // namespace vesko::os
