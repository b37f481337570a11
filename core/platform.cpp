#include "core/platform.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include "core/os_file.h"

// What every system shares; the rest is in platform_posix.cpp and platform_windows.cpp.
namespace vesko {

namespace os {

std::string UniqueFileName(std::string_view stem) {
  static std::atomic<unsigned> counter{0};
  static const unsigned long long salt =
      std::random_device{}() ^
      static_cast<unsigned long long>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
  const unsigned long long tag = (salt + counter++ * 0x9E3779B97F4A7C15ULL) % 0xFFFFFFFFULL;
  return std::string(stem) + std::to_string(ProcessId()) + "-" + std::to_string(tag);
}

}  // namespace os

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  path += PathSeparator();
  path += name;
  return path;
}

bool IsWritableFolder(const std::string& folder) {
  const std::string path = JoinPath(folder, os::UniqueFileName(".vesko-write-test-"));
  std::optional<os::OsError> error;
  os::OutputFile scratch = os::OutputFile::CreateNew(path, error);
  if (!scratch.IsOpen()) {
    return false;
  }
  scratch.Close();
  os::RemoveFile(path);
  return true;
}

bool MakeFolders(const std::string& folder) {
  if (folder.empty()) {
    return false;
  }
  std::error_code ec;
  const std::filesystem::path path(std::u8string(folder.begin(), folder.end()));
  std::filesystem::create_directories(path, ec);
  return std::filesystem::is_directory(path, ec);
}

}  // namespace vesko
