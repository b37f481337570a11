// Hostile inputs to the readers (settings files, result files) and the writer (read-only files,
// interrupts). A reader that hangs is ended by the test's timeout.

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/break_analysis.h"
#include "core/platform.h"
#include "core/safe_file.h"
#include "core/settings_file.h"
#include "tests/support/test_support.h"

namespace vesko {
namespace {

using test::ListFolder;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;
using Names = std::vector<std::string>;
using Clock = std::chrono::steady_clock;
using namespace std::string_literals;

constexpr auto kTimeLimit = std::chrono::seconds(20);
constexpr const char* kOld = "old content\r\n";

// How a child process ended: in time or not, its wait status and what it wrote to the pipe.
struct ChildEnd {
  bool inTime = false;
  int status = 0;
  std::string text;
};

// Reads `fd` until its end or the deadline, then waits for `pid` (killed when late).
ChildEnd Collect(pid_t pid, int fd, Clock::time_point deadline) {
  ChildEnd end;
  char buffer[4096];
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    pollfd p{fd, POLLIN, 0};
    if (left <= 0 || poll(&p, 1, static_cast<int>(left)) <= 0) {
      break;
    }
    const ssize_t count = read(fd, buffer, sizeof buffer);
    if (count <= 0) {
      end.inTime = true;
      break;
    }
    end.text.append(buffer, static_cast<std::size_t>(count));
  }
  close(fd);
  if (!end.inTime) {
    kill(pid, SIGKILL);
  }
  waitpid(pid, &end.status, 0);
  return end;
}

// What lies at the settings file's place (or the result file's): made by `make` in `dir` at `path`.
struct HostileFile {
  const char* name;
  std::function<void(const std::string& path)> make;
};

const HostileFile kFifo{"FIFO", [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0644), 0); }};
const HostileFile kFolder{"folder", [](const std::string& p) { ASSERT_TRUE(MakeFolders(p)); }};
const HostileFile kHugeNoLineEnd{"2 GiB without a line end",
                                 [](const std::string& p) {  // sparse: it takes no room on disk
                                   ASSERT_TRUE(WriteFileBytes(p, ""));
                                   std::filesystem::resize_file(p, std::uintmax_t{1} << 31);
                                 }};

HostileFile Bytes(const char* name, std::string bytes) {
  return {name, [bytes](const std::string& p) { ASSERT_TRUE(WriteFileBytes(p, bytes)); }};
}

TEST(HostileSettingsFile, ReadsWhatItCanAndStopsInTime) {
  const struct {
    HostileFile file;
    Names fields;
  } rows[] = {
      {kFifo, {}},           // not a regular file (which would block at its opening): as if missing
      {kHugeNoLineEnd, {}},  // its first field is too long
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.file.name);
    TempDir dir;
    const std::string path = dir.File("4DSlitScan.ini");
    row.file.make(path);
    EXPECT_EQ(LoadSettings(path, 6), row.fields);
  }
}

TEST(HostileResultFile, ReadsWhatItCanAndStopsInTime) {
  const std::string rows = "h\r\n1,1,10\r\n2,2,20\r\n";
  const std::string longRow = std::string(70000, '1') + ",1,1\r\n";
  const struct {
    HostileFile file;
    const char* reason;  // of "Cannot read <file>: <reason>"; empty when read
    std::size_t rows;
  } table[] = {
      {kFifo, "not a regular file", 0},
      {kFolder, "Is a directory", 0},
      {kHugeNoLineEnd, "", 0},
      {Bytes("long row", rows + longRow + "3,3,30\r\n"), "", 2},
      {Bytes("long header", std::string(70000, 'h') + "\r\n1,1,10\r\n"), "", 0},
      {Bytes("long row without a line end", rows + longRow.substr(0, 70000)), "", 2},
      {Bytes("row of 64 KiB", rows + std::string(65536 - 6, '0') + "3,3,30\r\n"), "", 3},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.file.name);
    TempDir dir;
    const std::string path = dir.File("run\x1B[2J.dat");
    row.file.make(path);
    const BreakAnalysis run = AnalyseResultFile(path, "2.0");
    const std::string shownPath = dir.File("run\\x1B[2J.dat");
    EXPECT_EQ(run.readError, *row.reason ? "Cannot read " + shownPath + ": " + row.reason : "");
    EXPECT_EQ(run.rows.x.size(), row.rows);
  }
}

// The writer keeps a replaced file's permissions and refuses a read-only one, which it leaves as it was.
TEST(HostileWriteTarget, KeepsThePermissionsOrRefusesAReadOnlyFile) {
  for (const mode_t mode : {0640, 0444}) {
    TempDir dir;
    const std::string path = dir.File("run.tcl");
    ASSERT_TRUE(WriteFileBytes(path, kOld));
    ASSERT_EQ(chmod(path.c_str(), mode), 0);
    const std::optional<IoError> error = ReplaceFileLines(path, {"new"});
    EXPECT_EQ(error ? error->Message() : "",
              mode == 0444 ? "Cannot write " + path + ": the file is read-only" : "");
    EXPECT_EQ(ReadFileBytes(path), mode == 0444 ? kOld : "new\r\n");
    EXPECT_EQ(ListFolder(dir.path()), Names{"run.tcl"});  // no temporary file left
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, mode);
  }
}

// Starts vesko-script writing a slit scan of `repeat` passes (50: 400 MB, 2000: 16 GB) into `out`, or
// with `toStdout` to a standard output that is a full device, with standard error on a pipe and, when
// `limit` is not 0, a file-size limit of `limit` bytes.
pid_t StartLongScript(const std::string& out, const std::string& settings, const char* repeat, rlim_t limit,
                      bool toStdout, int& errFd) {
  int fds[2];
  EXPECT_EQ(pipe(fds), 0);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(fds[1], STDERR_FILENO);
    if (toStdout) {
      dup2(open("/dev/full", O_WRONLY | O_CLOEXEC), STDOUT_FILENO);
    }
    close(fds[0]);
    close(fds[1]);
    if (limit != 0) {
      rlimit r{limit, limit};
      setrlimit(RLIMIT_FSIZE, &r);
    }
    rlimit noCore{0, 0};  // SIGQUIT would leave a core file
    setrlimit(RLIMIT_CORE, &noCore);
    // What the test runner ignores or blocks would pass on to the program.
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGXFSZ}) {
      std::signal(signal, SIG_DFL);
    }
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    const char* const stdoutOption = toStdout ? "--stdout" : nullptr;
    const char* const argv[] = {
        VESKO_SCRIPT_PROGRAM, "slit-scan", "--axis",          "y",         "--slit-width",   "0.1",
        "--scan-center",      "0",         "--scan-width",    "1",         "--division",     "32767",
        "--repeat",           repeat,      "--output-folder", out.c_str(), "--settings-dir", settings.c_str(),
        stdoutOption,         nullptr};
    execv(argv[0], const_cast<char* const*>(argv));
    _exit(127);
  }
  close(fds[1]);
  errFd = fds[0];
  return pid;
}

// True once a temporary file with some bytes in it lies in `folder`.
bool WaitForTempFile(const std::string& folder, Clock::time_point deadline) {
  while (Clock::now() < deadline) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      std::error_code code;
      if (entry.path().filename().string().rfind(".vesko-", 0) == 0 && entry.file_size(code) > 0) {
        return true;
      }
    }
    std::this_thread::yield();
  }
  return false;
}

// An interrupt while the script is written, or a failed write (the file-size limit, a full standard
// output): the old script stays, the temporary file goes, and standard error says what happened. The
// first failed write ends even a script of 16 GB at once.
TEST(InterruptedWrite, KeepsTheOldScriptAndSaysSo) {
  const struct {
    int signal;           // sent once the temporary file is being written; 0: a write fails instead
    bool toStdout;        // to a full device; otherwise into the file under a 1 MiB file-size limit
    const char* message;  // "<path>" stands for the script's path
  } rows[] = {
      {SIGINT, false, "Interrupted by SIGINT: <path> was left as it was."},
      {SIGTERM, false, "Interrupted by SIGTERM: <path> was left as it was."},
      {SIGHUP, false, "Interrupted by SIGHUP: <path> was left as it was."},
      {SIGQUIT, false, "Interrupted by SIGQUIT: <path> was left as it was."},
      {0, false, "Cannot write <path>: File too large"},
      {0, true, "Cannot write standard output: No space left on device"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.message);
    if (row.toStdout && access("/dev/full", W_OK) != 0) {
      continue;  // no full device here
    }
    TempDir out, settings;
    const std::string script = out.File("4DSlit1DScan.tcl");
    ASSERT_TRUE(WriteFileBytes(script, kOld));
    int errFd = -1;
    const Clock::time_point start = Clock::now();
    const pid_t pid = StartLongScript(out.path(), settings.path(), row.signal ? "50" : "2000",
                                      row.signal || row.toStdout ? 0 : 1 << 20, row.toStdout, errFd);
    if (row.signal != 0) {
      ASSERT_TRUE(WaitForTempFile(out.path(), start + kTimeLimit)) << "the script was not started";
      kill(pid, row.signal);
    }
    const ChildEnd end = Collect(pid, errFd, start + kTimeLimit);
    ASSERT_TRUE(end.inTime) << "still running";
    if (row.signal != 0) {
      EXPECT_TRUE(WIFSIGNALED(end.status) && WTERMSIG(end.status) == row.signal) << end.status;
    } else {
      // A file could not be written.
      EXPECT_TRUE(WIFEXITED(end.status) && WEXITSTATUS(end.status) == 3) << end.status;
      EXPECT_LT(std::chrono::duration<double>(Clock::now() - start).count(), 3.0)
          << "the script ran on after the failed write";
    }
    std::string expected = row.message;
    if (const std::size_t at = expected.find("<path>"); at != std::string::npos) {
      expected.replace(at, 6, script);
    }
    EXPECT_EQ(end.text, expected + "\n");
    EXPECT_EQ(ReadFileBytes(script), kOld);
    EXPECT_EQ(ListFolder(out.path()), Names{"4DSlit1DScan.tcl"});
    EXPECT_EQ(ListFolder(settings.path()), Names{});
  }
}

}  // namespace
}  // namespace vesko
