#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "core/platform.h"
#include "core/script_naming.h"
#include "core/tcl_lines.h"

namespace vesko {
namespace {

TEST(ScriptNamingTest, OutputFileNameLosesSurroundingSpacesOnly) {
  EXPECT_EQ(OutputFileNameOf("  run.tcl  "), "run.tcl");
  EXPECT_EQ(OutputFileNameOf("\trun.tcl"), "\trun.tcl");
  EXPECT_EQ(OutputFileNameOf("a b.tcl"), "a b.tcl");
  EXPECT_EQ(OutputFileNameOf("   "), "");
}

TEST(ScriptNamingTest, ResultBaseIsThePartBeforeTheFirstDot) {
  EXPECT_EQ(ResultBaseOf("run1.tcl"), "run1");
  EXPECT_EQ(ResultBaseOf("a.b.c"), "a");
  EXPECT_EQ(ResultBaseOf("x."), "x");
  for (const char* name : {".tcl", "run", ""}) {
    EXPECT_EQ(ResultBaseOf(name), std::nullopt) << name;
  }
}

TEST(ScriptNamingTest, ScriptPathAddsOneSeparator) {
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

TEST(ScriptNamingTest, OpenLinesOfTheWorkedExamples) {
  EXPECT_EQ(tcl::OpenLine("fp", "C:\\data\\may", "run1", ""),
            "set fp [open C:\\\\data\\\\may\\\\run1.dat w+]");
  EXPECT_EQ(tcl::OpenLine("fp", "c:\\", "run1", ""), "set fp [open c:\\\\\\\\run1.dat w+]");
  EXPECT_EQ(tcl::OpenLine("fp1", "C:\\d", "scan", "_Repeat"), "set fp1 [open C:\\\\d\\\\scan_Repeat.dat w+]");
  EXPECT_EQ(tcl::OpenLine("fp2", "C:\\d", "scan", "_Average"),
            "set fp2 [open C:\\\\d\\\\scan_Average.dat w+]");
}

TEST(ScriptNamingTest, HostileFolderAndNameStayOneWord) {
  EXPECT_EQ(ResultFileWord("C:\\Users\\Beam Line", "a[exec del x]", ""),
            "C:\\\\Users\\\\Beam\\ Line\\\\a\\[exec\\ del\\ x\\].dat");
  // A backslash in the name is doubled like the folder's.
  EXPECT_EQ(ResultFileWord("C:\\d", "a\\b", ""), "C:\\\\d\\\\a\\\\b.dat");
  EXPECT_EQ(ResultFileWord("C:\\d", "$x;#", "_Average"), "C:\\\\d\\\\\\$x\\;\\#_Average.dat");
}

TEST(ScriptNamingTest, PosixFoldersUseASlashOutsideWindows) {
  const std::string expected =
      PathSeparator() == "/" ? "/home/op/scans/run1.dat" : "/home/op/scans\\\\run1.dat";
  EXPECT_EQ(ResultFileWord("/home/op/scans", "run1", ""), expected);
  EXPECT_EQ(ResultFileWord("scans", "run1", ""), "scans\\\\run1.dat");
}

TEST(ScriptNamingTest, RepeatBuildingBlocks) {
  EXPECT_EQ(tcl::PutsLine("fp", "text"), "puts $fp \"text\"");
  EXPECT_EQ(tcl::CloseLine("fp2"), "close $fp2");
  EXPECT_EQ(tcl::AccumulatorInitLine(3), "set cnt03 0");
  EXPECT_EQ(tcl::AccumulateLine(12), "set cnt12 [expr $cnt12 + $cnt]");
  EXPECT_EQ(tcl::AccumulateLine(100), "set cnt100 [expr $cnt100 + $cnt]");
  EXPECT_EQ(tcl::AverageLine(0, 3), "set cnt [expr $cnt00 / 3]");
  EXPECT_EQ(tcl::RepeatHeaderText("Pos Cnt", 1), "Pos Cnt(Repeat01)");
  EXPECT_EQ(tcl::AverageHeaderText("Pos Cnt"), "Pos Cnt(Average)");
}

}  // namespace
}  // namespace vesko
