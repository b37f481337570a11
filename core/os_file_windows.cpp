#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <system_error>

#include "core/os_file.h"
#include "core/safe_file.h"
#include "core/windows_text.h"

namespace vesko::os {
namespace {

std::string SystemMessage(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text = length > 0 && buffer != nullptr ? FromWide({buffer, length}, CP_UTF8) : std::string();
  if (buffer != nullptr) {
    LocalFree(buffer);
  }
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) {
    text.pop_back();
  }
  return text.empty() ? "system error " + std::to_string(code) : text;
}

OsError ErrorOf(DWORD code) {
  const OsError::Kind kind = code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS ? OsError::Kind::Exists
                             : code == ERROR_ACCESS_DENIED || code == ERROR_WRITE_PROTECT
                                 ? OsError::Kind::Denied
                                 : OsError::Kind::Other;
  return {kind, SystemMessage(code)};
}

OsError LastError() {
  return ErrorOf(GetLastError());
}

// The C runtime's reason, as the standard streams report it.
OsError CrtError(int code) {
  return {OsError::Kind::Other, std::generic_category().message(code)};
}

HANDLE Handle(std::intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

}  // namespace

OutputFile OutputFile::CreateNew(const std::string& path, std::optional<OsError>& error) {
  const HANDLE handle = CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    error = LastError();
    return {};
  }
  error.reset();
  return OutputFile(reinterpret_cast<std::intptr_t>(handle));
}

std::optional<OsError> OutputFile::WriteAll(std::string_view bytes) {
  while (!bytes.empty()) {
    const std::size_t chunk = std::min<std::size_t>(bytes.size(), 1u << 30);
    DWORD count = 0;
    if (!::WriteFile(Handle(handle_), bytes.data(), static_cast<DWORD>(chunk), &count, nullptr)) {
      return LastError();
    }
    if (count == 0) {
      return OsError{OsError::Kind::Other, "nothing could be written"};
    }
    bytes.remove_prefix(count);
  }
  return std::nullopt;
}

std::optional<OsError> OutputFile::TakePermissionsOf(const std::string&) {
  return std::nullopt;  // a new file takes the folder's permissions
}

std::optional<OsError> OutputFile::Sync() {
  return FlushFileBuffers(Handle(handle_)) ? std::nullopt : std::optional<OsError>(LastError());
}

std::optional<OsError> OutputFile::Close() {
  if (!IsOpen()) {
    return std::nullopt;
  }
  const HANDLE handle = Handle(handle_);
  handle_ = kClosed;
  return CloseHandle(handle) ? std::nullopt : std::optional<OsError>(LastError());
}

void InputFile::Release() noexcept {
  if (IsOpen()) {
    _close(static_cast<int>(handle_));
    handle_ = kClosed;
  }
}

InputFile InputFile::OpenRegular(const std::string& path, std::optional<OsError>& error) {
  error.reset();
  const std::wstring wide = WidePath(path);
  struct _stat64 info {};
  if (_wstat64(wide.c_str(), &info) != 0) {
    error = CrtError(errno);
    return {};
  }
  if ((info.st_mode & _S_IFMT) == _S_IFDIR) {
    error = CrtError(EISDIR);
    return {};
  }
  if ((info.st_mode & _S_IFMT) != _S_IFREG) {
    error = OsError{OsError::Kind::Other, kNotRegularReason};
    return {};
  }
  const int fd = _wopen(wide.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
  if (fd < 0) {
    error = CrtError(errno);
    return {};
  }
  // A device name ("CON") or a pipe may pass the first look: its handle tells.
  if (_fstat64(fd, &info) != 0 || (info.st_mode & _S_IFMT) != _S_IFREG ||
      GetFileType(reinterpret_cast<HANDLE>(_get_osfhandle(fd))) != FILE_TYPE_DISK) {
    _close(fd);
    error = OsError{OsError::Kind::Other, kNotRegularReason};
    return {};
  }
  return InputFile(fd, static_cast<std::uint64_t>(info.st_size));
}

std::optional<std::size_t> InputFile::Read(char* data, std::size_t size) {
  const int count =
      _read(static_cast<int>(handle_), data, static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30)));
  if (count < 0) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(count);
}

bool InputFile::Seek(std::uint64_t offset) {
  return _lseeki64(static_cast<int>(handle_), static_cast<__int64>(offset), SEEK_SET) >= 0;
}

bool InputFile::IsSameFile(const InputFile& other) const {
  BY_HANDLE_FILE_INFORMATION mine{};
  BY_HANDLE_FILE_INFORMATION theirs{};
  return IsOpen() && other.IsOpen() &&
         GetFileInformationByHandle(reinterpret_cast<HANDLE>(_get_osfhandle(static_cast<int>(handle_))),
                                    &mine) &&
         GetFileInformationByHandle(reinterpret_cast<HANDLE>(_get_osfhandle(static_cast<int>(other.handle_))),
                                    &theirs) &&
         mine.dwVolumeSerialNumber == theirs.dwVolumeSerialNumber &&
         mine.nFileIndexHigh == theirs.nFileIndexHigh && mine.nFileIndexLow == theirs.nFileIndexLow;
}

std::optional<OsError> CheckReplaceable(const std::string& path) {
  // Windows refuses to replace a read-only file anyway (Wine would rename over it): say so at once.
  const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
      (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    return OsError{OsError::Kind::Other, kReadOnlyReason};
  }
  return std::nullopt;
}

std::optional<OsError> RenameOver(const std::string& from, const std::string& to) {
  const std::wstring source = WidePath(from);
  const std::wstring target = WidePath(to);
  // A virus scanner or indexer may hold the old file for a moment: retry briefly.
  for (int attempt = 0;; ++attempt) {
    if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return std::nullopt;
    }
    const DWORD code = GetLastError();
    if (attempt >= 10 ||
        (code != ERROR_SHARING_VIOLATION && code != ERROR_ACCESS_DENIED && code != ERROR_LOCK_VIOLATION)) {
      return ErrorOf(code);
    }
    Sleep(50);
  }
}

void RemoveFile(const std::string& path) {
  DeleteFileW(WidePath(path).c_str());
}

unsigned long ProcessId() {
  return GetCurrentProcessId();
}

// A console interrupt ends the program from another thread while the file is still open; what is
// left is the hidden temporary file, found and removed by nothing. Not handled on Windows.
int RememberTempFile(const std::string&, const std::string&) {
  return -1;
}

void ForgetTempFile(int) {}

}  // namespace vesko::os

namespace vesko {

void InstallInterruptCleanup() {}

}  // namespace vesko
