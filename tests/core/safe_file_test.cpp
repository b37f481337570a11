#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#include "core/os_file.h"
#include "core/safe_file.h"
#include "tests/support/test_support.h"

// The writer's failures (a missing folder, a folder in the file's place, a full disk, read-only files and
// folders) are checked on Linux by the reliability tests; held and read-only files also on Windows.
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

#ifndef _WIN32
// A temporary file that is forgotten frees its slot (POSIX keeps them for the interrupt handler): an
// interrupt later names only unfinished files.
TEST(SafeFileTest, ForgottenTemporaryFilesFreeTheirSlot) {
  const int slot = os::RememberTempFile("t.tmp", "t");
  ASSERT_GE(slot, 0);
  os::ForgetTempFile(slot);
  const int again = os::RememberTempFile("t.tmp", "t");
  EXPECT_EQ(again, slot);
  os::ForgetTempFile(again);
}

// A backslash is part of a POSIX file name: the temporary file stays short beside the longest name.
// No file stays open afterwards.
TEST(SafeFileTest, LongPosixNameIsReplacedAndNoFileStaysOpen) {
  const auto openFiles = [] {
    const std::filesystem::directory_iterator fds("/dev/fd");
    return std::distance(std::filesystem::begin(fds), std::filesystem::end(fds));
  };
  TempDir dir;
  const std::string name = std::string(250, 'x') + "\\.tcl";
  ASSERT_TRUE(WriteFileBytes(dir.File(name), kOldContent));
  const auto openBefore = openFiles();
  EXPECT_EQ(ReplaceFileLines(dir.File(name), {"a"}), std::nullopt);
  EXPECT_EQ(ReadFileBytes(dir.File(name)), "a\r\n");
  EXPECT_EQ(openFiles(), openBefore);
}

// Without standard input the new file may get descriptor 0, which is a file like any other.
TEST(SafeFileTest, WritesWithStandardInputClosed) {
  TempDir dir;
  const int input = dup(STDIN_FILENO);
  close(STDIN_FILENO);
  const std::optional<IoError> error = ReplaceFileLines(dir.File("a.tcl"), {"a"});
  const bool leftClosed = fcntl(STDIN_FILENO, F_GETFD) == -1;  // nothing kept open there
  dup2(input, STDIN_FILENO);
  close(input);
  EXPECT_EQ(error, std::nullopt);
  EXPECT_TRUE(leftClosed);
  EXPECT_EQ(ReadFileBytes(dir.File("a.tcl")), "a\r\n");
}
#endif

}  // namespace
}  // namespace vesko
