#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/platform.h"
#include "core/safe_file.h"
#include "tests/support/test_support.h"

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#endif

namespace vesko {
namespace {

using test::ListFolder;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;
using Names = std::vector<std::string>;

constexpr const char* kOldContent = "old script\r\n";

TEST(SafeFileTest, ReplacesTheFileWithCrLfLines) {
  TempDir dir;
  const std::string path = dir.File("run.tcl");
  ASSERT_TRUE(WriteFileBytes(path, kOldContent));
  SafeFileWriter writer(path);
  writer.WriteLine("set exptime 1.0");
  writer.WriteLine("");
  EXPECT_EQ(ReadFileBytes(path), kOldContent);  // untouched until committed
  EXPECT_EQ(writer.Commit(), std::nullopt);
  EXPECT_EQ(ReadFileBytes(path), "set exptime 1.0\r\n\r\n");
  EXPECT_EQ(ListFolder(dir.path()), Names{"run.tcl"});
}

TEST(SafeFileTest, LongOutputIsWrittenWhole) {
  TempDir dir;
  const std::string path = dir.File("long.tcl");
  std::string expected;
  SafeFileWriter writer(path);
  for (int i = 0; i < 20000; ++i) {
    const std::string line = "puts $fp \"" + std::to_string(i) + "\"";
    writer.WriteLine(line);
    expected += line + "\r\n";
  }
  ASSERT_EQ(writer.Commit(), std::nullopt);
  EXPECT_TRUE(test::SameText(expected, ReadFileBytes(path)));
}

TEST(SafeFileTest, WriterNotCommittedLeavesTheOldFile) {
  TempDir dir;
  const std::string path = dir.File("run.tcl");
  ASSERT_TRUE(WriteFileBytes(path, kOldContent));
  {
    SafeFileWriter writer(path);
    writer.WriteLine("half");
  }
  EXPECT_EQ(ReadFileBytes(path), kOldContent);
  EXPECT_EQ(ListFolder(dir.path()), Names{"run.tcl"});
}

TEST(SafeFileTest, MissingFolderNamesTheFileAndItsReason) {
  TempDir dir;
  const std::string path = JoinPath(dir.File("no such folder"), "run.tcl");
  SafeFileWriter writer(path);
  EXPECT_FALSE(writer.ok());
  writer.WriteLine("x");
  const std::optional<IoError> error = writer.Commit();
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->path, path);
  EXPECT_EQ(error->Message(), "Cannot write " + path + ": " + error->reason);
  EXPECT_FALSE(error->reason.empty());
  EXPECT_EQ(ListFolder(dir.path()), Names{});
}

TEST(SafeFileTest, ADirectoryIsNotReplaced) {
  TempDir dir;
  const std::string path = dir.File("run.tcl");
  ASSERT_TRUE(MakeFolders(path));
  ASSERT_TRUE(WriteFileBytes(JoinPath(path, "inside"), "keep"));
  const std::optional<IoError> error = ReplaceFileLines(path, {"x"});
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->path, path);
  EXPECT_EQ(ReadFileBytes(JoinPath(path, "inside")), "keep");
  EXPECT_EQ(ListFolder(dir.path()), Names{"run.tcl"});
}

#ifndef _WIN32

TEST(SafeFileTest, ReplacingKeepsThePermissions) {
  TempDir dir;
  const std::string path = dir.File("run.tcl");
  ASSERT_TRUE(WriteFileBytes(path, kOldContent));
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  ASSERT_EQ(ReplaceFileLines(path, {"new"}), std::nullopt);
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(ReadFileBytes(path), "new\r\n");
}

TEST(SafeFileTest, AWriteFailingPartWayKeepsTheOldFile) {
  TempDir dir;
  const std::string path = dir.File("run.tcl");
  ASSERT_TRUE(WriteFileBytes(path, kOldContent));
  // Limit the size of files this process may write, so the temporary file fills up like a full disk.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limited = saved;
  limited.rlim_cur = 100000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  std::optional<IoError> error;
  {
    SafeFileWriter writer(path);
    for (int i = 0; i < 20000 && writer.ok(); ++i) {
      writer.WriteLine("puts $fp \"a line of the script that is long enough\"");
    }
    error = writer.Commit();
    writer.WriteLine("after the failure");
    const std::optional<IoError> again = writer.Commit();  // the first failure stays
    ASSERT_TRUE(again.has_value() && error.has_value());
    EXPECT_EQ(again->Message(), error->Message());
  }
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->path, path);
  EXPECT_EQ(ReadFileBytes(path), kOldContent);
  EXPECT_EQ(ListFolder(dir.path()), Names{"run.tcl"});
}

#endif

}  // namespace
}  // namespace vesko
