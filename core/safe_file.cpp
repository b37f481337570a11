#include "core/safe_file.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <random>
#include <string>

#include "core/platform.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vesko {
namespace {

// Large enough that the system call per buffer costs nothing next to the bytes it moves.
constexpr std::size_t kBufferSize = 256 * 1024;
constexpr int kCreateAttempts = 100;

// Where the temporary file goes: beside the target, hidden, named after it and this writer.
std::string TempPathFor(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  static const unsigned long long salt =
      std::random_device{}() ^
      static_cast<unsigned long long>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
#ifdef _WIN32
  const std::size_t slash = path.find_last_of("\\/");
  const unsigned long pid = GetCurrentProcessId();
#else
  const std::size_t slash = path.rfind('/');
  const auto pid = static_cast<unsigned long>(getpid());
#endif
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const unsigned long long tag = (salt + counter++ * 0x9E3779B97F4A7C15ULL) % 0xFFFFFFFFULL;
  return path.substr(0, nameStart) + "." + path.substr(nameStart) + ".tmp-" + std::to_string(pid) + "-" +
         std::to_string(tag);
}

#ifdef _WIN32

std::wstring WidePath(const std::string& utf8) {
  if (utf8.empty()) {
    return {};
  }
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0) {
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
  }
  return wide;
}

std::string SystemMessage(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text;
  if (length > 0 && buffer != nullptr) {
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, buffer, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    if (size > 0) {
      text.assign(static_cast<std::size_t>(size), '\0');
      WideCharToMultiByte(CP_UTF8, 0, buffer, static_cast<int>(length), text.data(), size, nullptr, nullptr);
    }
  }
  if (buffer != nullptr) {
    LocalFree(buffer);
  }
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) {
    text.pop_back();
  }
  return text.empty() ? "system error " + std::to_string(code) : text;
}

std::string LastErrorText() {
  return SystemMessage(GetLastError());
}

#else

std::string ErrnoText(int code) {
  return std::strerror(code);
}

// Makes the rename itself durable; a folder that cannot be synced changes nothing for the caller.
void SyncFolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    fsync(fd);
    close(fd);
  }
}

#endif

}  // namespace

#ifdef _WIN32
struct SafeFileWriter::Impl {
  HANDLE handle = INVALID_HANDLE_VALUE;
  void Close() {
    if (handle != INVALID_HANDLE_VALUE) {
      CloseHandle(handle);
      handle = INVALID_HANDLE_VALUE;
    }
  }
};
#else
struct SafeFileWriter::Impl {
  int fd = -1;
  void Close() {
    if (fd >= 0) {
      close(fd);
      fd = -1;
    }
  }
};
#endif

std::string IoError::Message() const {
  return "Cannot write " + path + ": " + reason;
}

SafeFileWriter::SafeFileWriter(std::string path) : path_(std::move(path)), impl_(std::make_unique<Impl>()) {
  for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
    tempPath_ = TempPathFor(path_);
#ifdef _WIN32
    impl_->handle = CreateFileW(WidePath(tempPath_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (impl_->handle != INVALID_HANDLE_VALUE) {
      return;
    }
    const DWORD code = GetLastError();
    if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) {
      tempPath_.clear();
      Fail(SystemMessage(code));
      return;
    }
#else
    // 0666 lets the umask decide, as for any newly created file.
    impl_->fd = open(tempPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (impl_->fd >= 0) {
      return;
    }
    const int code = errno;
    if (code != EEXIST && code != EINTR) {
      tempPath_.clear();
      Fail(ErrnoText(code));
      return;
    }
#endif
  }
  tempPath_.clear();
  Fail("no unused temporary file name");
}

SafeFileWriter::~SafeFileWriter() {
  if (!done_) {
    Abort();
  }
}

void SafeFileWriter::WriteLine(std::string_view line) {
  if (!ok() || done_) {
    return;
  }
  if (buffer_.size() + line.size() + 2 > kBufferSize) {
    FlushBuffer();
  }
  AppendFileText(buffer_, line);
  buffer_ += "\r\n";
}

void SafeFileWriter::WriteLines(std::string_view lines) {
  if (!ok() || done_) {
    return;
  }
  if (buffer_.size() + lines.size() > kBufferSize) {
    FlushBuffer();
  }
  AppendFileText(buffer_, lines);
}

void SafeFileWriter::FlushBuffer() {
  std::size_t written = 0;
  while (ok() && written < buffer_.size()) {
#ifdef _WIN32
    const std::size_t chunk = std::min<std::size_t>(buffer_.size() - written, 1u << 30);
    DWORD count = 0;
    if (!WriteFile(impl_->handle, buffer_.data() + written, static_cast<DWORD>(chunk), &count, nullptr)) {
      Fail(LastErrorText());
      break;
    }
    if (count == 0) {
      Fail("nothing could be written");
      break;
    }
    written += count;
#else
    const ssize_t count = write(impl_->fd, buffer_.data() + written, buffer_.size() - written);
    if (count < 0) {
      if (errno == EINTR) {
        continue;
      }
      Fail(ErrnoText(errno));
      break;
    }
    if (count == 0) {
      Fail(ErrnoText(ENOSPC));
      break;
    }
    written += static_cast<std::size_t>(count);
#endif
  }
  buffer_.clear();
}

std::optional<IoError> SafeFileWriter::Commit() {
  if (done_ || !ok()) {
    return error_;
  }
  FlushBuffer();
  if (!ok()) {
    return error_;
  }
#ifdef _WIN32
  if (!FlushFileBuffers(impl_->handle)) {
    Fail(LastErrorText());
    return error_;
  }
  const BOOL closed = CloseHandle(impl_->handle);
  impl_->handle = INVALID_HANDLE_VALUE;
  if (!closed) {
    Fail(LastErrorText());
    return error_;
  }
  const std::wstring from = WidePath(tempPath_);
  const std::wstring to = WidePath(path_);
  // A file marked read-only is kept and reported at once, as Windows refuses to replace it (Wine
  // would rename over it).
  const DWORD oldAttributes = GetFileAttributesW(to.c_str());
  if (oldAttributes != INVALID_FILE_ATTRIBUTES && (oldAttributes & FILE_ATTRIBUTE_READONLY) != 0 &&
      (oldAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    Fail(SystemMessage(ERROR_ACCESS_DENIED));
    return error_;
  }
  // A virus scanner or indexer may hold the old file for a moment: retry briefly.
  for (int attempt = 0;; ++attempt) {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      break;
    }
    const DWORD code = GetLastError();
    if (attempt >= 10 ||
        (code != ERROR_SHARING_VIOLATION && code != ERROR_ACCESS_DENIED && code != ERROR_LOCK_VIOLATION)) {
      Fail(SystemMessage(code));
      return error_;
    }
    Sleep(50);
  }
#else
  int result;
  do {
    result = fsync(impl_->fd);
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    Fail(ErrnoText(errno));
    return error_;
  }
  struct stat old {};
  if (stat(path_.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
    if (fchmod(impl_->fd, old.st_mode & 07777) != 0) {
      Fail(ErrnoText(errno));
      return error_;
    }
  }
  const int fd = impl_->fd;
  impl_->fd = -1;
  if (close(fd) != 0 && errno != EINTR) {
    Fail(ErrnoText(errno));
    return error_;
  }
  if (rename(tempPath_.c_str(), path_.c_str()) != 0) {
    Fail(ErrnoText(errno));
    return error_;
  }
  SyncFolderOf(path_);
#endif
  tempPath_.clear();
  done_ = true;
  return std::nullopt;
}

void SafeFileWriter::Abort() {
  DropTempFile();
  done_ = true;
}

void SafeFileWriter::Fail(std::string reason) {
  if (!error_) {
    error_ = IoError{path_, std::move(reason)};
  }
  // The old file stays; the half-written temporary file goes at once.
  DropTempFile();
}

void SafeFileWriter::DropTempFile() {
  impl_->Close();
  if (!tempPath_.empty()) {
#ifdef _WIN32
    DeleteFileW(WidePath(tempPath_).c_str());
#else
    unlink(tempPath_.c_str());
#endif
    tempPath_.clear();
  }
  buffer_.clear();
}

std::optional<IoError> ReplaceFileLines(const std::string& path, const std::vector<std::string>& lines) {
  SafeFileWriter writer(path);
  for (const std::string& line : lines) {
    writer.WriteLine(line);
  }
  return writer.Commit();
}

}  // namespace vesko
