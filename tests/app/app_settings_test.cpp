#include "app/app_settings.h"

#include <gtest/gtest.h>

#include <string>

#include "core/platform.h"
#include "tests/support/test_support.h"

namespace vesko {
namespace {

using test::TempDir;
using test::WriteFileBytes;

// The shut-down's line is what the start-up reads; a file of no line, or none, falls back silently.
// Windows' fallback, the root of drive c:, is checked with the Windows-only tests.
TEST(AppSettingsTest, StartUpReadsWhatShutDownWrote) {
  TempDir settings;
  const std::string ini = settings.File(kAppSettingsFile);
  ASSERT_TRUE(WriteFileBytes(ini, "C:\\a\\much\\longer\\old\\folder\r\nextra\r\n"));
  SetOutputFolder(std::string("D:\\scan,old\0/elsewhere", 22));  // a NUL ends the folder
  ASSERT_EQ(ShutDown(settings.path()), std::nullopt);
  EXPECT_EQ(test::ReadFileBytes(ini), "\"D:\\scan,old\"\r\n");  // replaced, not overwritten in place
  ResetOutputFolder();
  EXPECT_TRUE(StartUp(settings.path()).settingsRead);
  EXPECT_EQ(OutputFolder(), "D:\\scan,old");
  ASSERT_TRUE(WriteFileBytes(ini, "   C:\\data\\may   ,old\r\n"));  // bare edge blanks are dropped
  EXPECT_EQ(ReadStoredOutputFolder(settings.path()).outputFolder, "C:\\data\\may");
  EXPECT_EQ(OutputFolder(), "D:\\scan,old");  // only read, not taken
  ASSERT_TRUE(WriteFileBytes(ini, ""));
  EXPECT_FALSE(StartUp(settings.path()).settingsRead);
  EXPECT_EQ(OutputFolder(), FallbackOutputFolder());
  ResetOutputFolder();
}

TEST(AppSettingsTest, DefaultSettingsFolderIsWritable) {
  EXPECT_TRUE(IsWritableFolder(DefaultSettingsFolder()));
  if (IsWritableFolder(ExecutableFolder())) {  // the program's own folder first, as a build folder is
    EXPECT_EQ(DefaultSettingsFolder(), ExecutableFolder());
  }
}

}  // namespace
}  // namespace vesko
