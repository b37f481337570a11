// Hostile inputs to the readers (settings files, result files) and the writer (read-only files, long
// names, names with control characters, interrupts). Each case runs in a child process with a time
// limit: a case that hangs or crashes fails instead of stopping the test run.

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/break_analysis.h"
#include "app/app_settings.h"
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

constexpr auto kTimeLimit = std::chrono::seconds(20);
constexpr const char* kOld = "old content\r\n";

// How a child process ended: in time or not, its wait status and what it wrote to the pipe.
struct ChildEnd {
  bool inTime = false;
  int status = 0;
  std::string text;
  bool Exited(int code) const { return inTime && WIFEXITED(status) && WEXITSTATUS(status) == code; }
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

// Runs `body` in a child process; what it returns comes back as the text.
ChildEnd InChild(const std::function<std::string()>& body) {
  int fds[2];
  EXPECT_EQ(pipe(fds), 0);
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    const std::string text = body();
    [[maybe_unused]] const ssize_t written = write(fds[1], text.data(), text.size());
    _exit(0);
  }
  close(fds[1]);
  return Collect(pid, fds[0], Clock::now() + kTimeLimit);
}

// A regular file of `bytes` zero bytes that takes no room on disk and has no line end.
void MakeSparse(const std::string& path, off_t bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(ftruncate(fd, bytes), 0);
  close(fd);
}

// A literal with its NUL characters.
template <std::size_t N>
std::string Raw(const char (&text)[N]) {
  return std::string(text, N - 1);
}

std::string Joined(const std::vector<std::string>& fields) {
  std::string text;
  for (const std::string& field : fields) {
    text += "[" + field + "]";
  }
  return text;
}

// What lies at the settings file's place (or the result file's): made by `make` in `dir` at `path`.
struct HostileFile {
  const char* name;
  std::function<void(const std::string& path)> make;
};

const HostileFile kDevZero{"link to /dev/zero",
                           [](const std::string& p) { ASSERT_EQ(symlink("/dev/zero", p.c_str()), 0); }};
const HostileFile kFifo{"FIFO", [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0644), 0); }};
const HostileFile kFolder{"folder", [](const std::string& p) { ASSERT_TRUE(MakeFolders(p)); }};
const HostileFile kHugeNoLineEnd{"2 GiB without a line end",
                                 [](const std::string& p) { MakeSparse(p, off_t{1} << 31); }};

HostileFile Bytes(const char* name, std::string bytes) {
  return {name, [bytes](const std::string& p) { ASSERT_TRUE(WriteFileBytes(p, bytes)); }};
}

TEST(HostileSettingsFile, ReadsWhatItCanAndStopsInTime) {
  const std::string longField(70000, 'a');
  const struct {
    HostileFile file;
    std::string fields;  // as Joined gives them
  } rows[] = {
      {kDevZero, ""},  // not a regular file: as if missing
      {kFifo, ""},
      {kFolder, ""},
      {kHugeNoLineEnd, ""},  // its first field is too long
      {Bytes("long field", "1\r\n" + longField + "\r\n5\r\n"), "[1]"},
      {Bytes("long quoted field", "1\r\n\"" + longField + "\"\r\n"), "[1]"},
      {Bytes("long rest after a quote", "1\r\n\"a\"" + longField + "\r\n"), "[1]"},
      {Bytes("long blanks", "1\r\n" + std::string(70000, ' ') + "x\r\n"), "[1]"},
      {Bytes("NUL in fields", Raw("1\r\nru\0n.tcl\r\n\"o\0ut\"\r\n\0\r\n")), "[1][ru][o][]"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.file.name);
    TempDir dir;
    const std::string path = dir.File("4DSlitScan.ini");
    row.file.make(path);
    const ChildEnd end = InChild([&] { return Joined(LoadSettings(path, 6)); });
    EXPECT_TRUE(end.Exited(0)) << "crashed or late";
    EXPECT_EQ(end.text, row.fields);
  }
}

// A NUL in the stored output folder: the folder is what precedes it, for the file and in the script.
TEST(HostileSettingsFile, NulCutsTheStoredOutputFolder) {
  TempDir dir;
  ASSERT_TRUE(WriteFileBytes(dir.File(kAppSettingsFile), dir.File("o") + Raw("\0ut\r\n")));
  EXPECT_EQ(ReadStoredOutputFolder(dir.path()).outputFolder, dir.File("o"));
  SetOutputFolder(Raw("/data\0/elsewhere"));
  EXPECT_EQ(OutputFolder(), "/data");
  ResetOutputFolder();
}

TEST(HostileResultFile, ReadsWhatItCanAndStopsInTime) {
  const std::string rows = "h\r\n1,1,10\r\n2,2,20\r\n";
  const std::string longRow = std::string(70000, '1') + ",1,1\r\n";
  const struct {
    HostileFile file;
    const char* reason;  // of "Cannot read <file>: <reason>"; empty when read
    std::size_t rows;
  } table[] = {
      {kDevZero, "not a regular file", 0},
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
    const ChildEnd end = InChild([&] {
      const BreakAnalysis run = AnalyseResultFile(path, "2.0");
      return run.readError + "|" + std::to_string(run.rows.x.size());
    });
    EXPECT_TRUE(end.Exited(0)) << "crashed or late";
    const std::string shownPath = dir.File("run\\x1B[2J.dat");
    EXPECT_EQ(end.text, (*row.reason ? "Cannot read " + shownPath + ": " + row.reason : "") + "|" +
                            std::to_string(row.rows));
  }
}

// The writer replaces a file or says why not, in one line, and leaves the old file as it was.
TEST(HostileWriteTarget, ReplacesOrRefusesAndKeepsTheOldFile) {
  const struct {
    const char* name;
    std::string folder;  // below the test's folder; "" is the folder itself
    std::string file;
    bool readOnly;
    std::string message;  // "<path>" stands for the shown path; empty: replaced
  } rows[] = {
      {"read-only file", "", "run.tcl", true, "Cannot write <path>: the file is read-only"},
      {"name of 255 bytes", "", std::string(251, 'n') + ".tcl", false, ""},
      {"name of 232 bytes", "", std::string(228, 'n') + ".tcl", false, ""},
      {"folder with a line feed and ESC", "a\nFAKE: line\x1B[31m", "run.tcl", false,
       "Cannot write <path>: No such file or directory"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TempDir dir;
    const std::string folder = row.folder.empty() ? dir.path() : dir.File(row.folder);
    const std::string path = JoinPath(folder, row.file);
    const bool exists = row.folder.empty();
    if (exists) {
      ASSERT_TRUE(WriteFileBytes(path, kOld));
      ASSERT_EQ(chmod(path.c_str(), row.readOnly ? 0444 : 0644), 0);
    }
    const ChildEnd end = InChild([&] {
      const std::optional<IoError> error = ReplaceFileLines(path, {"new"});
      return error ? error->Message() : std::string();
    });
    EXPECT_TRUE(end.Exited(0)) << "crashed or late";
    std::string expected = row.message;
    if (const std::size_t at = expected.find("<path>"); at != std::string::npos) {
      std::string shown = path;
      for (const auto& [raw, escaped] : {std::pair{"\n", "\\n"}, std::pair{"\x1B", "\\x1B"}}) {
        for (std::size_t k = 0; (k = shown.find(raw, k)) != std::string::npos; k += std::strlen(escaped)) {
          shown.replace(k, 1, escaped);
        }
      }
      expected.replace(at, 6, shown);
    }
    EXPECT_EQ(end.text, expected);
    if (exists) {
      EXPECT_EQ(ReadFileBytes(path), expected.empty() ? "new\r\n" : kOld);
      EXPECT_EQ(ListFolder(dir.path()), Names{row.file});  // no temporary file left
    }
  }
}

// Starts vesko-script writing a long slit scan of `repeat` passes into `out` (or, with `stdoutFull`,
// on a standard output that is a full device) with standard error on a pipe; `limit` bytes, when not
// 0, is the file-size limit it runs under.
pid_t StartLongScript(const std::string& out, const std::string& settings, rlim_t limit, int& errFd,
                      const char* repeat = "200", bool stdoutFull = false) {
  int fds[2];
  EXPECT_EQ(pipe(fds), 0);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(fds[1], STDERR_FILENO);
    if (stdoutFull) {
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
    std::vector<std::string> args = {
        VESKO_SCRIPT_PROGRAM, "slit-scan", "--axis",          "y", "--slit-width",   "0.1",
        "--scan-center",      "0",         "--scan-width",    "1", "--division",     "32767",
        "--repeat",           repeat,      "--output-folder", out, "--settings-dir", settings};
    if (stdoutFull) {
      args.emplace_back("--stdout");
    }
    std::vector<char*> argv;
    for (const std::string& arg : args) {
      argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
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

// An interrupt or the file-size limit while the script is written: the old script stays, the
// temporary file goes, and standard error says what happened.
TEST(InterruptedWrite, RemovesTheTemporaryFileAndSaysSo) {
  const struct {
    int signal;  // sent once the temporary file is being written; 0: none
    rlim_t limit;
    const char* message;  // "<path>" stands for the script's path
  } rows[] = {
      {SIGINT, 0, "Interrupted by SIGINT: <path> was left as it was."},
      {SIGTERM, 0, "Interrupted by SIGTERM: <path> was left as it was."},
      {SIGHUP, 0, "Interrupted by SIGHUP: <path> was left as it was."},
      {SIGQUIT, 0, "Interrupted by SIGQUIT: <path> was left as it was."},
      {0, 1 << 20, "Cannot write <path>: File too large"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.message);
    TempDir out, settings;
    const std::string script = out.File("4DSlit1DScan.tcl");
    ASSERT_TRUE(WriteFileBytes(script, kOld));
    int errFd = -1;
    const pid_t pid = StartLongScript(out.path(), settings.path(), row.limit, errFd);
    const Clock::time_point deadline = Clock::now() + kTimeLimit;
    if (row.signal != 0) {
      ASSERT_TRUE(WaitForTempFile(out.path(), deadline)) << "the script was not started";
      kill(pid, row.signal);
    }
    const ChildEnd end = Collect(pid, errFd, deadline);
    ASSERT_TRUE(end.inTime) << "still running";
    if (row.signal != 0) {
      EXPECT_TRUE(WIFSIGNALED(end.status) && WTERMSIG(end.status) == row.signal) << end.status;
    } else {
      EXPECT_TRUE(end.Exited(3)) << end.status;  // a file could not be written
    }
    std::string expected = row.message;
    expected.replace(expected.find("<path>"), 6, script);
    EXPECT_EQ(end.text, expected + "\n");
    EXPECT_EQ(ReadFileBytes(script), kOld);
    EXPECT_EQ(ListFolder(out.path()), Names{"4DSlit1DScan.tcl"});
    EXPECT_EQ(ListFolder(settings.path()), Names{});
  }
}

// A script of 16 GB into a file under a 1 MiB file-size limit, or to a full standard output: the first
// failed write ends the program, which says why at once and leaves the old script as it was.
TEST(FailedWrite, EndsTheScriptAtOnce) {
  const struct {
    bool toStdout;
    const char* message;  // "<path>" stands for the script's path
  } rows[] = {
      {false, "Cannot write <path>: File too large"},
      {true, "Cannot write standard output: No space left on device"},
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
    const pid_t pid =
        StartLongScript(out.path(), settings.path(), row.toStdout ? 0 : 1 << 20, errFd, "2000", row.toStdout);
    const ChildEnd end = Collect(pid, errFd, start + kTimeLimit);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("16 GB slit scan %s: failure reported after %.3f s\n",
                row.toStdout ? "to a full standard output" : "under a 1 MiB file-size limit", seconds);
    EXPECT_TRUE(end.Exited(3)) << end.status;
    EXPECT_LT(seconds, 3.0) << "the script ran on after the failed write";
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
