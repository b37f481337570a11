#include "app/app_settings.h"

#include <gtest/gtest.h>

#include <string>

#include "core/platform.h"
#include "tests/support/test_support.h"

namespace vesko {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

class AppSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetOutputFolder(); }
  void TearDown() override { ResetOutputFolder(); }
  std::string IniPath() const { return settings.File(kAppSettingsFile); }

  TempDir settings;
};

// Windows' fallback, the root of drive c:, is checked with the Windows-only tests.
TEST_F(AppSettingsTest, StartUpReadsFirstFieldOfFirstLineOrFallsBackSilently) {
  const struct {
    const char* content;  // nullptr: no file
    const char* folder;   // nullptr: the fallback
  } rows[] = {
      {nullptr, nullptr},
      {"", nullptr},
      {"\r\n", ""},                                  // an empty first line is a folder too
      {"D:\\scan,old\r\n", "D:\\scan"},              // a bare comma ends the field
      {"   C:\\data\\may   \r\n", "C:\\data\\may"},  // bare edge blanks are dropped
      {"/srv/data\r\nsecond line\r\n", "/srv/data"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.content ? row.content : "no file");
    ResetOutputFolder();
    ASSERT_TRUE(!row.content || WriteFileBytes(IniPath(), row.content));
    const StartUpResult result = StartUp(settings.path());
    const std::string folder = row.folder ? row.folder : FallbackOutputFolder();
    EXPECT_EQ(result.settingsRead, row.folder != nullptr);
    EXPECT_EQ(result.outputFolder, folder);
    EXPECT_EQ(OutputFolder(), folder);
    EXPECT_EQ(test::ListFolder(settings.path()).size(), row.content ? 1u : 0u);
  }
}

TEST_F(AppSettingsTest, ReadStoredOutputFolderLeavesOutputFolderAlone) {
  ASSERT_TRUE(WriteFileBytes(IniPath(), "D:\\stored\r\n"));
  SetOutputFolder("E:\\current");
  EXPECT_EQ(ReadStoredOutputFolder(settings.path()).outputFolder, "D:\\stored");
  EXPECT_EQ(OutputFolder(), "E:\\current");
  SetOutputFolder(std::string("/data\0/elsewhere", 16));  // a NUL ends the folder
  EXPECT_EQ(OutputFolder(), "/data");
}

// The quoting itself is the settings file's; an older, longer file is replaced, not overwritten in place.
TEST_F(AppSettingsTest, ShutDownWritesOneLineThatStartUpReadsBack) {
  ASSERT_TRUE(WriteFileBytes(IniPath(), "C:\\a\\much\\longer\\old\\folder\r\nextra\r\n"));
  SetOutputFolder("D:\\scan,old");
  ASSERT_EQ(ShutDown(settings.path()), std::nullopt);
  EXPECT_EQ(ReadFileBytes(IniPath()), "\"D:\\scan,old\"\r\n");
  ResetOutputFolder();
  EXPECT_TRUE(StartUp(settings.path()).settingsRead);
  EXPECT_EQ(OutputFolder(), "D:\\scan,old");
  EXPECT_EQ(test::ListFolder(settings.path()), std::vector<std::string>{kAppSettingsFile});
}

TEST_F(AppSettingsTest, DefaultSettingsFolderIsWritable) {
  EXPECT_TRUE(IsWritableFolder(DefaultSettingsFolder()));
  if (IsWritableFolder(ExecutableFolder())) {  // the program's own folder first, as a build folder is
    EXPECT_EQ(DefaultSettingsFolder(), ExecutableFolder());
  }
}

}  // namespace
}  // namespace vesko
