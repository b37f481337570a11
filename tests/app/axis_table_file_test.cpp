#include "app/axis_table_file.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/test_support.h"

namespace vesko {
namespace {

using test::TempDir;
using test::WriteFileBytes;

constexpr const char* kExample =
    "# Soft limits in the axis' units, speed in units per second, settle in seconds after each move.\n"
    "[axis.slit_y1]\nlower = -5.0\nupper = 5.0\nspeed = 0.5\nsettle = 0.2\n\n"
    "[counting]\noverhead = 0.05  # beyond the exposure\nshutter = 1\n";

TEST(AxisTableFileTest, GoodTablesAndMissingKeys) {
  AxisTableFile file = ParseAxisTable(kExample);
  ASSERT_TRUE(file.read.table) << file.read.problem;
  EXPECT_EQ(file.read.table->axes, (std::vector<AxisEntry>{{"slit_y1", -5.0, 5.0, 0.5, 0.2}}));
  EXPECT_EQ(file.read.table->overhead, 0.05);
  EXPECT_EQ(file.read.table->shutter, 1.0);  // an integer is a number too
  EXPECT_TRUE(file.holdsMore);               // comments

  // Every key is optional; axes come in their fixed order whatever the file's; other tables are kept aside.
  file = ParseAxisTable("[axis.omega]\nspeed = 2\n[axis.col_y]\nupper = 1.5\n[beamline]\nname = \"x\"\n");
  ASSERT_TRUE(file.read.table) << file.read.problem;
  EXPECT_EQ(file.read.table->axes,
            (std::vector<AxisEntry>{{"col_y", {}, 1.5, {}, {}}, {"omega", {}, {}, 2.0, {}}}));
  EXPECT_FALSE(file.read.table->overhead || file.read.table->shutter);
  EXPECT_TRUE(file.holdsMore);
  file = ParseAxisTable("[axis.col_y]\nupper = 1.5\n[counting]\nshutter = 1\n");
  EXPECT_FALSE(file.holdsMore);  // nothing but what the window shows
}

// A syntax error, with the parser's own reason, is checked with the windows.
TEST(AxisTableFileTest, FaultsNameTheirLine) {
  const struct {
    const char* text;
    const char* problem;
  } rows[] = {
      {"[axis.slit_y1]\nlower = -5\nupper = \"5\"\n",
       "Axes.toml line 3: upper is not a number; limits not checked"},
      {"[axis.col_z]\nspeed = inf\n", "Axes.toml line 2: speed is not a finite number; limits not checked"},
      {"[axis.col_z]\nlower = 1\nupper = 1\n",
       "Axes.toml line 3: axis.col_z: lower must be below upper; limits not checked"},
      {"[axis.slit_yl]\nlower = 1\n", "Axes.toml line 1: unknown axis 'slit_yl'; limits not checked"},
      {"[axis.col_y]\nuper = 1\n", "Axes.toml line 2: unknown key 'uper' in axis.col_y; limits not checked"},
      {"axis = 3\n", "Axes.toml line 1: axis is not a table; limits not checked"},
      {"[counting]\nshutter = -1\n",
       "Axes.toml line 2: counting shutter must not be negative; limits not checked"},
  };
  for (const auto& row : rows) {
    const AxisTableFile file = ParseAxisTable(row.text);
    EXPECT_FALSE(file.read.table) << row.text;
    EXPECT_EQ(file.read.problem, row.problem) << row.text;
  }
}

TEST(AxisTableFileTest, ReadsOnlyASmallRegularFile) {
  TempDir folder;
  EXPECT_FALSE(LoadAxisTableFile(folder.path()).exists);
  EXPECT_EQ(ReadAxisTable(folder.path()).problem, "");

  ASSERT_TRUE(WriteFileBytes(folder.File("Axes.toml"), std::string(kMaxAxisTableBytes + 1, '\n')));
  EXPECT_EQ(ReadAxisTable(folder.path()).problem, "Axes.toml: larger than 256 KiB; limits not checked");

  std::filesystem::remove(folder.File("Axes.toml"));
  std::filesystem::create_directory(folder.File("Axes.toml"));
  const AxisTableRead folderRead = ReadAxisTable(folder.path());
  EXPECT_FALSE(folderRead.table);
  EXPECT_TRUE(folderRead.problem.starts_with("Axes.toml: ")) << folderRead.problem;
}

}  // namespace
}  // namespace vesko
