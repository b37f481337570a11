#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/platform.h"
#include "core/safe_file.h"
#include "tests/support/test_support.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

// Failures part-way through a write (a full disk) and read-only folders are injected into every
// generator's "File Create" by the reliability tests; these cases also run on Windows.
namespace vesko {
namespace {

using test::ListFolder;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;
using Names = std::vector<std::string>;

constexpr const char* kOldContent = "old script\r\n";

TEST(SafeFileTest, ReplacesTheFileWithCrLfLinesOnlyWhenCommitted) {
  TempDir dir;
  const std::string path = dir.File("run.tcl");
  ASSERT_TRUE(WriteFileBytes(path, kOldContent));
  {
    SafeFileWriter dropped(path);
    dropped.WriteLine("half");
  }
  EXPECT_EQ(ReadFileBytes(path), kOldContent);
  SafeFileWriter writer(path);
  writer.WriteLine("set exptime 1.0");
  writer.WriteLine("");
  EXPECT_EQ(ReadFileBytes(path), kOldContent);
  EXPECT_EQ(writer.Commit(), std::nullopt);
  EXPECT_EQ(ReadFileBytes(path), "set exptime 1.0\r\n\r\n");
  EXPECT_EQ(ListFolder(dir.path()), Names{"run.tcl"});
}

// A missing folder, or a folder where the file should be: the error names the file and its reason.
TEST(SafeFileTest, FailureNamesTheFileAndChangesNothing) {
  TempDir dir;
  const std::string folder = dir.File("run.tcl");
  ASSERT_TRUE(MakeFolders(folder));
  ASSERT_TRUE(WriteFileBytes(JoinPath(folder, "inside"), "keep"));
  for (const std::string& path : {JoinPath(dir.File("no such folder"), "run.tcl"), folder}) {
    SCOPED_TRACE(path);
    SafeFileWriter writer(path);
    writer.WriteLine("x");
    const std::optional<IoError> error = writer.Commit();
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->path, path);
    EXPECT_FALSE(error->reason.empty());
    EXPECT_EQ(error->Message(), "Cannot write " + path + ": " + error->reason);
    EXPECT_EQ(ReadFileBytes(JoinPath(folder, "inside")), "keep");
    EXPECT_EQ(ListFolder(dir.path()), Names{"run.tcl"});
  }
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
#endif

}  // namespace
}  // namespace vesko
