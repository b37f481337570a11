// Faults injected into "File Create" of every generator and into the shutdown's settings file: each
// failure names the file and the system's reason, leaves every file as it was and no temporary file.

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "app/app_settings.h"
#include "core/file_create.h"
#include "core/line_sink.h"
#include "core/platform.h"
#include "tests/reliability/generator_jobs.h"
#include "tests/support/test_support.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vesko {
namespace {

using test::GeneratorJob;
using test::GeneratorJobs;
using test::TempDir;
using Texts = std::vector<std::string>;

constexpr const char* kOldScript = "previous script\r\n";
constexpr const char* kOldSettings = "previous,settings\r\n";

// A folder that refuses new entries even for the superuser (who ignores permission bits): the
// immutable attribute when the process may set it, the permission bits otherwise.
class ReadOnlyFolder {
 public:
  explicit ReadOnlyFolder(std::string folder) : folder_(std::move(folder)) {
    const int fd = open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    int flags = 0;
    if (fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
      flags |= FS_IMMUTABLE_FL;
      if (ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0) {
        immutable_ = true;
        expectedErrno_ = EPERM;
      }
    }
    if (fd >= 0) {
      close(fd);
    }
    if (!immutable_ && geteuid() != 0 && chmod(folder_.c_str(), 0555) == 0) {
      expectedErrno_ = EACCES;
    }
  }
  ~ReadOnlyFolder() { Lift(); }
  ReadOnlyFolder(const ReadOnlyFolder&) = delete;
  ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

  /// 0 when the folder could not be made read-only here.
  int expectedErrno() const { return expectedErrno_; }

  void Lift() {
    if (immutable_) {
      const int fd = open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      int flags = 0;
      if (fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
        flags &= ~FS_IMMUTABLE_FL;
        ioctl(fd, FS_IOC_SETFLAGS, &flags);
      }
      if (fd >= 0) {
        close(fd);
      }
    } else if (expectedErrno_ != 0) {
      chmod(folder_.c_str(), 0700);
    }
    immutable_ = false;
    expectedErrno_ = 0;
  }

 private:
  std::string folder_;
  bool immutable_ = false;
  int expectedErrno_ = 0;
};

// Limits the size of the files this process writes: a write beyond it stops part-way (EFBIG), as
// on a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved_;
    limited.rlim_cur = bytes;
    active_ = setrlimit(RLIMIT_FSIZE, &limited) == 0;
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, oldHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  bool active() const { return active_; }

 private:
  rlimit saved_{};
  void (*oldHandler_)(int) = SIG_DFL;
  bool active_ = false;
};

// Counts the bytes a script would take on disk, keeping nothing.
class CountingSink final : public LineSink {
 public:
  void WriteLine(std::string_view line) override { bytes += line.size() + 2; }
  std::size_t bytes = 0;
};

// Every file and folder below `root` with its bytes ("<folder>" for a folder).
std::map<std::string, std::string> Snapshot(const std::string& root) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    const std::string path = entry.path().string();
    entries[path] = entry.is_directory() ? "<folder>" : test::ReadFileBytes(path);
  }
  return entries;
}

enum class Fault { FolderMissing, FolderIsAFile, FileIsAFolder, FolderReadOnly, DiskFullPartWay };

struct FaultCase {
  const char* name;
  Fault fault;
};

const FaultCase kFaults[] = {{"FolderMissing", Fault::FolderMissing},
                             {"FolderIsAFile", Fault::FolderIsAFile},
                             {"FileIsAFolder", Fault::FileIsAFolder},
                             {"FolderReadOnly", Fault::FolderReadOnly},
                             {"DiskFullPartWay", Fault::DiskFullPartWay}};

// One fault made ready for the file `name` that is to go into `folder` (which holds its old version).
struct Arranged {
  std::string folder;  // the folder to hand to the code under test
  std::string path;    // the file the message must name
  int expectedErrno = 0;
  std::unique_ptr<ReadOnlyFolder> readOnly;
  bool diskFull = false;
};

Arranged Arrange(Fault fault, const TempDir& dir, const std::string& folder, const std::string& name) {
  Arranged a;
  a.folder = folder;
  switch (fault) {
    case Fault::FolderMissing:
      a.folder = dir.File("missing");
      a.expectedErrno = ENOENT;
      break;
    case Fault::FolderIsAFile:
      a.folder = JoinPath(folder, "plain.txt");
      EXPECT_TRUE(test::WriteFileBytes(a.folder, "a file, not a folder"));
      a.expectedErrno = ENOTDIR;
      break;
    case Fault::FileIsAFolder:
      std::filesystem::remove(JoinPath(folder, name));
      EXPECT_TRUE(MakeFolders(JoinPath(folder, name)));
      EXPECT_TRUE(test::WriteFileBytes(JoinPath(JoinPath(folder, name), "inside"), "kept"));
      a.expectedErrno = EISDIR;
      break;
    case Fault::FolderReadOnly:
      a.readOnly = std::make_unique<ReadOnlyFolder>(folder);
      a.expectedErrno = a.readOnly->expectedErrno();
      break;
    case Fault::DiskFullPartWay:
      a.diskFull = true;
      a.expectedErrno = EFBIG;
      break;
  }
  a.path = JoinPath(a.folder, name);
  return a;
}

std::string ExpectedMessage(const Arranged& a) {
  return "Cannot write " + a.path + ": " + std::strerror(a.expectedErrno);
}

enum class Target { Script, Settings };

// Names instead of bytes in the test list.
void PrintTo(const FaultCase& c, std::ostream* os) {
  *os << c.name;
}
void PrintTo(Target t, std::ostream* os) {
  *os << (t == Target::Script ? "script" : "settings");
}

using FaultParam = std::tuple<std::size_t, Target, FaultCase>;

class FileCreateFaultTest : public ::testing::TestWithParam<FaultParam> {};

TEST_P(FileCreateFaultTest, FailureNamesTheFileAndChangesNothing) {
  const auto& [row, target, faultCase] = GetParam();
  const GeneratorJob& gen = GeneratorJobs()[row];
  TempDir dir;
  const std::string out = dir.File("out");
  const std::string settings = dir.File("settings");
  ASSERT_TRUE(MakeFolders(out) && MakeFolders(settings));
  ASSERT_TRUE(test::WriteFileBytes(JoinPath(out, gen.scriptFile), kOldScript));
  ASSERT_TRUE(test::WriteFileBytes(JoinPath(settings, gen.settingsFile), kOldSettings));

  Arranged a = target == Target::Script ? Arrange(faultCase.fault, dir, out, gen.scriptFile)
                                        : Arrange(faultCase.fault, dir, settings, gen.settingsFile);
  if (a.expectedErrno == 0) {
    GTEST_SKIP() << "no way to make a folder read-only for this process";
  }
  const std::map<std::string, std::string> before = Snapshot(dir.path());

  StringSink expectedScript;
  gen.writeScript(target == Target::Script ? a.folder : out, expectedScript);
  FileCreateJob job =
      gen.Job(target == Target::Script ? a.folder : out, target == Target::Settings ? a.folder : settings);
  std::optional<FileSizeLimit> limit;
  if (a.diskFull && target == Target::Script) {
    ASSERT_GT(expectedScript.text().size(), 2u);
    limit.emplace(expectedScript.text().size() / 2);
  } else if (a.diskFull) {
    job.saveSettings = [save = job.saveSettings, &limit] {
      limit.emplace(8);
      std::optional<IoError> error = save();
      limit.reset();
      return error;
    };
  }
  Texts statuses;
  const FileCreateOutcome outcome =
      RunFileCreate(job, [&statuses](const std::string& status) { statuses.push_back(status); });
  limit.reset();
  if (a.readOnly) {
    a.readOnly->Lift();
  }

  EXPECT_EQ(outcome.kind, FileCreateOutcome::Kind::IoFailed);
  EXPECT_EQ(outcome.message, ExpectedMessage(a));
  std::map<std::string, std::string> expected = before;
  if (target == Target::Script) {
    EXPECT_EQ(statuses, Texts{kStatusOutputStart});  // never "Done"
  } else {
    // The script was complete and is in place; only the settings file failed.
    EXPECT_EQ(statuses, (Texts{kStatusOutputStart, kStatusDone}));
    expected[JoinPath(out, gen.scriptFile)] = expectedScript.text();
  }
  EXPECT_EQ(Snapshot(dir.path()), expected);  // old files byte-identical, no temporary file anywhere
}

std::string FaultParamName(const ::testing::TestParamInfo<FaultParam>& info) {
  const auto& [row, target, faultCase] = info.param;
  return GeneratorJobs()[row].name + (target == Target::Script ? "_Script_" : "_Settings_") + faultCase.name;
}

INSTANTIATE_TEST_SUITE_P(AllGenerators, FileCreateFaultTest,
                         ::testing::Combine(::testing::Range<std::size_t>(0, GeneratorJobs().size()),
                                            ::testing::Values(Target::Script, Target::Settings),
                                            ::testing::ValuesIn(kFaults)),
                         FaultParamName);

class ShutDownFaultTest : public ::testing::TestWithParam<FaultCase> {
 protected:
  void TearDown() override { ResetOutputFolder(); }
};

TEST_P(ShutDownFaultTest, FailureNamesTheFileAndKeepsTheOldOne) {
  TempDir dir;
  const std::string settings = dir.File("settings");
  ASSERT_TRUE(MakeFolders(settings));
  ASSERT_TRUE(test::WriteFileBytes(JoinPath(settings, kAppSettingsFile), kOldSettings));
  Arranged a = Arrange(GetParam().fault, dir, settings, kAppSettingsFile);
  if (a.expectedErrno == 0) {
    GTEST_SKIP() << "no way to make a folder read-only for this process";
  }
  const std::map<std::string, std::string> before = Snapshot(dir.path());
  SetOutputFolder("/data/a folder name long enough to fail part-way");
  std::optional<IoError> error;
  {
    std::optional<FileSizeLimit> limit;
    if (a.diskFull) {
      limit.emplace(8);
    }
    error = ShutDown(a.folder);
  }
  if (a.readOnly) {
    a.readOnly->Lift();
  }
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->Message(), ExpectedMessage(a));
  EXPECT_EQ(Snapshot(dir.path()), before);
}

INSTANTIATE_TEST_SUITE_P(AllFaults, ShutDownFaultTest, ::testing::ValuesIn(kFaults),
                         [](const ::testing::TestParamInfo<FaultCase>& info) { return info.param.name; });

// The command line's --stdout sink on a full device: every generator's script reports the failure.
TEST(StdoutFaultTest, FullDeviceIsReported) {
  for (const GeneratorJob& gen : GeneratorJobs()) {
    std::FILE* full = std::fopen("/dev/full", "w");
    if (full == nullptr) {
      GTEST_SKIP() << "no /dev/full here";
    }
    {
      StreamSink sink(full);
      gen.writeScript("/data", sink);
      EXPECT_FALSE(sink.Flush()) << gen.name;
    }
    std::fclose(full);
  }
}

}  // namespace
}  // namespace vesko
