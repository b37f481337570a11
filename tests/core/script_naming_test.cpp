#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "core/platform.h"
#include "core/script_naming.h"

namespace vesko {
namespace {

// The file name loses its surrounding spaces only; the result base is the part before the first dot.
TEST(ScriptNamingTest, FileNameResultBaseAndScriptPath) {
  EXPECT_EQ(OutputFileNameOf("  run.tcl  "), "run.tcl");
  EXPECT_EQ(OutputFileNameOf("\trun.tcl"), "\trun.tcl");
  EXPECT_EQ(OutputFileNameOf("a b.tcl"), "a b.tcl");
  EXPECT_EQ(OutputFileNameOf("   "), "");
  EXPECT_EQ(ResultBaseOf("run1.tcl"), "run1");
  EXPECT_EQ(ResultBaseOf("a.b.c"), "a");
  EXPECT_EQ(ResultBaseOf("x."), "x");
  for (const char* name : {".tcl", "run", ""}) {
    EXPECT_EQ(ResultBaseOf(name), std::nullopt) << name;
  }
  const std::string sep(PathSeparator());
  EXPECT_EQ(ScriptPath("C:\\data\\may", "run1.tcl"), "C:\\data\\may" + sep + "run1.tcl");
  EXPECT_EQ(ScriptPath("", "run1.tcl"), sep + "run1.tcl");
}

TEST(ScriptNamingTest, FoldersThatTclOpenWouldMisreadAreRefused) {
  EXPECT_EQ(CheckOutputFolderForScript("|x"),
            "Output Folder Error! \"|x\" cannot be used in a script (a leading | or ~ has a special meaning "
            "for Tcl's open).");
  EXPECT_TRUE(CheckOutputFolderForScript("~x").has_value());
  for (const char* folder : {"C:\\data", "", "x|y", "a~", "/tmp"}) {
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
