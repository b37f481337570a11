#pragma once

// Files as the operating system hands them out: small owning handles that close themselves, and
// the few file operations the safe writer and the readers need. One implementation per system
// (os_file_posix.cpp, os_file_windows.cpp); nothing above this layer sees a descriptor or a HANDLE.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace vesko::os {

/// Why a file operation failed: the system's reason as text, and what kind of failure it was.
struct OsError {
  enum class Kind {
    Other,
    /// The name is taken (an exclusive create met an existing file).
    Exists,
    /// The folder refuses new entries (no permission, read-only file system).
    Denied,
  };
  Kind kind = Kind::Other;
  std::string reason;
};

/// A file opened for writing; closed (and left where it is) when the handle goes.
class OutputFile {
 public:
  OutputFile() = default;
  ~OutputFile() { Close(); }
  OutputFile(OutputFile&& other) noexcept : handle_(std::exchange(other.handle_, kClosed)) {}
  OutputFile& operator=(OutputFile&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = std::exchange(other.handle_, kClosed);
    }
    return *this;
  }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  bool IsOpen() const { return handle_ != kClosed; }
  /// Writes all of `bytes`, or reports why not.
  std::optional<OsError> WriteAll(std::string_view bytes);
  /// Gives the file the permission bits of the regular file at `path`, if there is one (POSIX only).
  std::optional<OsError> TakePermissionsOf(const std::string& path);
  /// Writes the file's data through to the disk.
  std::optional<OsError> Sync();
  /// Closes the file, reporting a failure of the close itself.
  std::optional<OsError> Close();

  /// Creates `path`, which must not exist yet.
  static OutputFile CreateNew(const std::string& path, std::optional<OsError>& error);

 private:
  static constexpr std::intptr_t kClosed = -1;
  explicit OutputFile(std::intptr_t handle) : handle_(handle) {}
  std::intptr_t handle_ = kClosed;
};

/// A regular file opened for reading; closed when the handle goes.
class InputFile {
 public:
  InputFile() = default;
  ~InputFile() { Release(); }
  InputFile(InputFile&& other) noexcept
      : handle_(std::exchange(other.handle_, kClosed)), size_(other.size_) {}
  InputFile& operator=(InputFile&& other) noexcept {
    if (this != &other) {
      Release();
      handle_ = std::exchange(other.handle_, kClosed);
      size_ = other.size_;
    }
    return *this;
  }
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  bool IsOpen() const { return handle_ != kClosed; }
  /// Reads up to `size` bytes; 0 at the end of the file, nothing when the read failed.
  std::optional<std::size_t> Read(char* data, std::size_t size);
  /// The file's size when it was opened.
  std::uint64_t size() const { return size_; }
  /// Makes the next read start `offset` bytes into the file; false when that failed.
  bool Seek(std::uint64_t offset);
  /// True when both are open on the same file (not merely on the same name).
  bool IsSameFile(const InputFile& other) const;

  /// Opens `path` for reading. What is not a regular file (a folder, a FIFO, a device) is refused
  /// before it is opened, so that nothing blocks or reads without end.
  static InputFile OpenRegular(const std::string& path, std::optional<OsError>& error);

 private:
  static constexpr std::intptr_t kClosed = -1;
  InputFile(std::intptr_t handle, std::uint64_t size) : handle_(handle), size_(size) {}
  /// Closes the file if it is open (a read-only file has nothing to report on closing).
  void Release() noexcept;
  std::intptr_t handle_ = kClosed;
  std::uint64_t size_ = 0;
};

/// The reason given for a file that exists but is not a regular file.
inline constexpr const char* kNotRegularReason = "not a regular file";
/// The reason given for replacing a file its user may not write.
inline constexpr const char* kReadOnlyReason = "the file is read-only";

/// Moves `from` over `to` in one step (both in the same folder), making the change durable.
std::optional<OsError> RenameOver(const std::string& from, const std::string& to);

/// Refuses when `path` is an existing file its user may not write (read-only).
std::optional<OsError> CheckReplaceable(const std::string& path);

/// Removes the file at `path`; a failure is ignored.
void RemoveFile(const std::string& path);

/// This process's id.
unsigned long ProcessId();

/// A short file name, starting with `stem`, that no other file made by this or another running
/// program takes at the same moment (with an exclusive create, a clash is simply tried again).
std::string UniqueFileName(std::string_view stem);

/// Tells the interrupt handler (InstallInterruptCleanup) about a temporary file being written for
/// `target`; returns a slot for ForgetTempFile, or -1 when none is free (the file is then not removed
/// on an interrupt).
int RememberTempFile(const std::string& tempPath, const std::string& target);
/// The temporary file of `slot` is gone or in its place.
void ForgetTempFile(int slot);

}  // namespace vesko::os
