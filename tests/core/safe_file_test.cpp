#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/platform.h"
#include "core/safe_file.h"
#include "tests/support/test_support.h"

// Failures part-way through a write (a full disk), read-only folders and kept permissions are checked on
// Linux by the reliability tests; these cases also run on Windows.
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

}  // namespace
}  // namespace vesko
