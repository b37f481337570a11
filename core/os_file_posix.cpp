#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>

#include "core/os_file.h"
#include "core/safe_file.h"
#include "core/shown_text.h"

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

OutputFile::~OutputFile() {
  Close();
}

OutputFile::OutputFile(OutputFile&& other) noexcept : handle_(other.handle_) {
  other.handle_ = kClosed;
}

OutputFile& OutputFile::operator=(OutputFile&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = other.handle_;
    other.handle_ = kClosed;
  }
  return *this;
}

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

InputFile::~InputFile() {
  if (IsOpen()) {
    close(Fd(handle_));
  }
}

InputFile::InputFile(InputFile&& other) noexcept : handle_(other.handle_), size_(other.size_) {
  other.handle_ = kClosed;
}

InputFile& InputFile::operator=(InputFile&& other) noexcept {
  if (this != &other) {
    if (IsOpen()) {
      close(Fd(handle_));
    }
    handle_ = other.handle_;
    size_ = other.size_;
    other.handle_ = kClosed;
  }
  return *this;
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

std::optional<OsError> ReplaceFile(const std::string& from, const std::string& to) {
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

// Temporary files being written, for the interrupt handler. A slot is claimed (free -> filling),
// filled, then published (-> used); the handler reads only published slots. Fixed arrays: the
// handler may neither allocate nor lock.
namespace {

constexpr int kSlots = 8;
constexpr std::size_t kPathBytes = 4096;
constexpr std::size_t kShownBytes = 1024;
enum SlotState : int { kFree, kFilling, kUsed };

struct TempSlot {
  std::atomic<int> state{kFree};
  char temp[kPathBytes];
  char shown[kShownBytes];  // the target as a message shows it, cut to fit
};
TempSlot tempSlots[kSlots];

void CopyCut(char* to, std::size_t room, std::string_view from) {
  const std::size_t length = std::min(from.size(), room - 1);
  std::memcpy(to, from.data(), length);
  to[length] = '\0';
}

void Say(const char* text) {
  const std::size_t length = std::strlen(text);
  [[maybe_unused]] const ssize_t ignored = write(STDERR_FILENO, text, length);
}

const char* SignalName(int signal) {
  switch (signal) {
    case SIGINT:
      return "SIGINT";
    case SIGTERM:
      return "SIGTERM";
    case SIGHUP:
      return "SIGHUP";
    case SIGQUIT:
      return "SIGQUIT";
    default:
      return "a signal";
  }
}

// Removes every published temporary file, says so on standard error, then ends the program as the
// signal would have.
extern "C" void OnInterrupt(int signal) {
  const int savedErrno = errno;
  bool named = false;
  for (TempSlot& slot : tempSlots) {
    if (slot.state.load() == kUsed) {
      unlink(slot.temp);
      Say(named ? "; " : "Interrupted by ");
      if (!named) {
        Say(SignalName(signal));
        Say(": ");
      }
      Say(slot.shown);
      Say(" was left as it was");
      named = true;
    }
  }
  if (!named) {
    Say("Interrupted by ");
    Say(SignalName(signal));
  }
  Say(".\n");
  errno = savedErrno;
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

}  // namespace

int RememberTempFile(const std::string& tempPath, const std::string& target) {
  if (tempPath.size() >= kPathBytes) {
    return -1;
  }
  const std::string shown = ShownText(target);
  for (int k = 0; k < kSlots; ++k) {
    int expected = kFree;
    if (tempSlots[k].state.compare_exchange_strong(expected, kFilling)) {
      CopyCut(tempSlots[k].temp, kPathBytes, tempPath);
      CopyCut(tempSlots[k].shown, kShownBytes, shown);
      tempSlots[k].state.store(kUsed);
      return k;
    }
  }
  return -1;
}

void ForgetTempFile(int slot) {
  if (slot >= 0 && slot < kSlots) {
    tempSlots[slot].state.store(kFree);
  }
}

}  // namespace vesko::os

namespace vesko {

void InstallInterruptCleanup() {
  struct sigaction action {};
  action.sa_handler = os::OnInterrupt;
  sigemptyset(&action.sa_mask);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
    sigaddset(&action.sa_mask, signal);
  }
  for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
    // A signal the caller ignores (nohup) stays ignored.
    struct sigaction old {};
    if (sigaction(signal, nullptr, &old) == 0 && old.sa_handler != SIG_IGN) {
      sigaction(signal, &action, nullptr);
    }
  }
  // Beyond the file-size limit a write then fails with EFBIG, which the writer reports and cleans up
  // like a full disk, instead of the signal ending the program silently.
  std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace vesko
