#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "core/platform.h"
#include "core/script_naming.h"

namespace vesko {
namespace {

// A folder with a leading | or ~ would make Tcl's open run a command or read a home folder.
TEST(ScriptNamingTest, ScriptPathAndFolder) {
  EXPECT_EQ(ScriptPath("", "run1.tcl"), std::string(PathSeparator()) + "run1.tcl");
  EXPECT_TRUE(CheckOutputFolderForScript("~x").has_value());
  for (const char* folder : {"C:\\data", "", "x|y", "a~"}) {
    EXPECT_EQ(CheckOutputFolderForScript(folder), std::nullopt) << folder;
  }
}

TEST(ScriptNamingTest, HostileFolderAndNameStayOneWord) {
  EXPECT_EQ(ResultFileWord("C:\\Users\\Beam Line", "a[exec del x]", ""),
            "C:\\\\Users\\\\Beam\\ Line\\\\a\\[exec\\ del\\ x\\].dat");
  // A backslash in the name is doubled like the folder's.
  EXPECT_EQ(ResultFileWord("C:\\d", "a\\b", ""), "C:\\\\d\\\\a\\\\b.dat");
  // POSIX folders take a slash outside Windows.
  const std::string expected =
      PathSeparator() == "/" ? "/home/op/scans/run1.dat" : "/home/op/scans\\\\run1.dat";
  EXPECT_EQ(ResultFileWord("/home/op/scans", "run1", ""), expected);
  EXPECT_EQ(ResultFileWord("scans", "run1", ""), "scans\\\\run1.dat");
}

}  // namespace
}  // namespace vesko
