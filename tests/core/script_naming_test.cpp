#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "core/platform.h"
#include "core/script_naming.h"

namespace vesko {
namespace {

// A folder with a leading | or ~ would make Tcl's open run a command or read a home folder. Hostile folders
// and names are run through Tcl by the dry runs; a relative folder is kept as typed, with a backslash.
TEST(ScriptNamingTest, ScriptPathAndFolder) {
  EXPECT_EQ(ResultFileWord("scans", "run1", ""), "scans\\\\run1.dat");
  EXPECT_EQ(ScriptPath("", "run1.tcl"), std::string(PathSeparator()) + "run1.tcl");
  EXPECT_TRUE(CheckOutputFolderForScript("~x").has_value());
  for (const char* folder : {"C:\\data", "", "x|y", "a~"}) {
    EXPECT_EQ(CheckOutputFolderForScript(folder), std::nullopt) << folder;
  }
}

}  // namespace
}  // namespace vesko
