#include "app/app_settings.h"

#include <utility>

#include "core/platform.h"
#include "core/settings_file.h"
#include "core/tcl_path.h"

namespace vesko {

namespace {

// The one value shared by every window; nothing else in the application is global.
std::string& OutputFolderValue() {
  static std::string folder;
  return folder;
}

}  // namespace

const std::string& OutputFolder() {
  return OutputFolderValue();
}

void SetOutputFolder(std::string folder) {
  // A folder handed back by the system may hold a NUL; the file system sees the text before it.
  OutputFolderValue() = StripAtNul(folder);
}

void ResetOutputFolder() {
  OutputFolderValue().clear();
}

std::string FallbackOutputFolder() {
#ifdef _WIN32
  return "c:\\";
#else
  std::string home = HomeFolder();
  // Without a known home the file-system root is the only folder every user can name.
  return home.empty() ? std::string("/") : home;
#endif
}

std::string DefaultSettingsFolder() {
  const std::string programFolder = ExecutableFolder();
  if (!programFolder.empty() && IsWritableFolder(programFolder)) {
    return programFolder;
  }
  const std::string userFolder = UserConfigFolder();
  if (userFolder.empty()) {
    return programFolder;
  }
  MakeFolders(userFolder);
  return userFolder;
}

StartUpResult ReadStoredOutputFolder(const std::string& settingsFolder) {
  const std::vector<std::string> fields = LoadSettings(JoinPath(settingsFolder, kAppSettingsFile), 1);
  if (fields.empty()) {
    return {FallbackOutputFolder(), false};
  }
  return {fields.front(), true};
}

StartUpResult StartUp(const std::string& settingsFolder) {
  StartUpResult result = ReadStoredOutputFolder(settingsFolder);
  SetOutputFolder(result.outputFolder);
  return result;
}

std::optional<IoError> ShutDown(const std::string& settingsFolder) {
  return SaveSettings(JoinPath(settingsFolder, kAppSettingsFile), {OutputFolder()});
}

}  // namespace vesko
