// Faults injected into "File Create" of every generator: each failure names the file and the system's
// reason, leaves every file as it was and no temporary file.

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/file_create.h"
#include "core/platform.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/generator_samples.h"
#include "tests/support/test_support.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vesko {
namespace {

using test::FileSizeLimit;
using test::GeneratorSample;
using test::GeneratorSamples;
using test::TempDir;
using Texts = std::vector<std::string>;

constexpr const char* kOldScript = "previous script\r\n";
constexpr const char* kOldSettings = "previous,settings\r\n";

// Sets or clears the immutable attribute, which refuses new entries even to the superuser (who
// ignores permission bits); false when this process may not.
bool SetImmutable(const std::string& folder, bool immutable) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  int flags = 0;
  bool done = fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  flags = immutable ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
  done = done && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  if (fd >= 0) {
    close(fd);
  }
  return done;
}

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
const char* const kFaultNames[] = {"FolderMissing", "FolderIsAFile", "FileIsAFolder", "FolderReadOnly",
                                   "DiskFullPartWay"};
constexpr int kFaultCount = 5;

// One fault made ready for the file `name` that is to go into `folder` (which holds its old version):
// the folder to hand to the code under test and the errno its message must give (0: not possible here).
struct Arranged {
  Arranged(Fault fault, const TempDir& dir, const std::string& folder, const std::string& name)
      : folder(folder), diskFull(fault == Fault::DiskFullPartWay) {
    const std::string file = JoinPath(folder, name);
    if (fault == Fault::FolderMissing) {
      this->folder = dir.File("missing");
      expectedErrno = ENOENT;
    } else if (fault == Fault::FolderIsAFile) {
      this->folder = JoinPath(folder, "plain.txt");
      EXPECT_TRUE(test::WriteFileBytes(this->folder, "a file, not a folder"));
      expectedErrno = ENOTDIR;
    } else if (fault == Fault::FileIsAFolder) {
      std::filesystem::remove(file);
      EXPECT_TRUE(MakeFolders(file) && test::WriteFileBytes(JoinPath(file, "inside"), "kept"));
      expectedErrno = EISDIR;
    } else if (fault == Fault::FolderReadOnly) {
      immutable = SetImmutable(folder, true);
      readOnly = immutable || (geteuid() != 0 && chmod(folder.c_str(), 0555) == 0);
      expectedErrno = immutable ? EPERM : readOnly ? EACCES : 0;
    } else {
      expectedErrno = EFBIG;
    }
    // A folder that refuses new files is named itself: no name put there could be written.
    const std::string named = fault == Fault::FolderReadOnly ? this->folder : JoinPath(this->folder, name);
    message = "Cannot write " + named + ": " + std::strerror(expectedErrno);
  }
  ~Arranged() { Lift(); }

  // Makes a read-only folder writable again.
  void Lift() {
    if (immutable) {
      SetImmutable(folder, false);
    } else if (readOnly) {
      chmod(folder.c_str(), 0700);
    }
    immutable = readOnly = false;
  }

  std::string folder;
  bool diskFull;
  bool immutable = false;
  bool readOnly = false;
  int expectedErrno = 0;
  std::string message;
};

// One row of the table: a generator sample, the file that fails (script or settings) and the fault.
struct FaultRow {
  const GeneratorSample& gen;
  bool script;
  Fault fault;
  explicit FaultRow(int index)
      : gen(GeneratorSamples()[static_cast<std::size_t>(index / (2 * kFaultCount))]),
        script(index / kFaultCount % 2 == 0),
        fault(static_cast<Fault>(index % kFaultCount)) {}
};

class FileCreateFaultTest : public ::testing::TestWithParam<int> {};

TEST_P(FileCreateFaultTest, FailureNamesTheFileAndChangesNothing) {
  const FaultRow row(GetParam());
  const GeneratorSample& gen = row.gen;
  TempDir dir;
  const std::string out = dir.File("out"), settings = dir.File("settings");
  ASSERT_TRUE(MakeFolders(out) && MakeFolders(settings));
  ASSERT_TRUE(test::WriteFileBytes(JoinPath(out, gen.scriptFile), kOldScript));
  ASSERT_TRUE(test::WriteFileBytes(JoinPath(settings, gen.settingsFile), kOldSettings));

  Arranged a(row.fault, dir, row.script ? out : settings, row.script ? gen.scriptFile : gen.settingsFile);
  if (a.expectedErrno == 0) {
    GTEST_SKIP() << "no way to make a folder read-only for this process";
  }
  const std::map<std::string, std::string> before = Snapshot(dir.path());
  const std::string scriptFolder = row.script ? a.folder : out;
  FileCreateJob job = gen.Job(scriptFolder, row.script ? settings : a.folder);
  std::optional<FileSizeLimit> limit;
  if (a.diskFull && row.script) {
    limit.emplace(gen.Script(scriptFolder).size() / 2);
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
  a.Lift();

  EXPECT_EQ(outcome.kind, FileCreateOutcome::Kind::IoFailed);
  EXPECT_EQ(outcome.message, row.script ? a.message
                                        : JoinPath(out, gen.scriptFile) +
                                              " was written; its settings could not be saved: " + a.message);
  std::map<std::string, std::string> expected = before;
  if (row.script) {
    EXPECT_EQ(statuses, Texts{kStatusOutputStart});  // never "Done"
  } else {
    // The script was complete and is in place; only the settings file failed.
    EXPECT_EQ(statuses, (Texts{kStatusOutputStart, kStatusDone}));
    expected[JoinPath(out, gen.scriptFile)] = gen.Script(out);
  }
  EXPECT_EQ(Snapshot(dir.path()), expected);  // old files byte-identical, no temporary file anywhere
}

INSTANTIATE_TEST_SUITE_P(AllGenerators, FileCreateFaultTest,
                         ::testing::Range(0, static_cast<int>(GeneratorSamples().size()) * 2 * kFaultCount),
                         [](const ::testing::TestParamInfo<int>& info) {
                           const FaultRow row(info.param);
                           return row.gen.name + (row.script ? "_Script_" : "_Settings_") +
                                  kFaultNames[static_cast<int>(row.fault)];
                         });

}  // namespace
}  // namespace vesko
