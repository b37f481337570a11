#include "core/platform.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <climits>
#endif

namespace vesko {
namespace {

std::filesystem::path PathFromUtf8(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// A name no other scratch file of this or another process uses at the same moment.
std::string ScratchName() {
  static std::atomic<unsigned> counter{0};
  const auto ticks =
      static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
#ifdef _WIN32
  const unsigned long pid = GetCurrentProcessId();
#else
  const auto pid = static_cast<unsigned long>(getpid());
#endif
  return ".vesko-write-test-" + std::to_string(pid) + "-" + std::to_string(counter++) + "-" +
         std::to_string(ticks % 1000000007ULL);
}

#ifdef _WIN32

std::wstring Widen(std::string_view text, UINT codePage) {
  if (text.empty()) {
    return {};
  }
  const int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0) {
    return {};
  }
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::string Narrow(std::wstring_view wide, UINT codePage) {
  if (wide.empty()) {
    return {};
  }
  const int length = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                         nullptr, nullptr);
  if (length <= 0) {
    return {};
  }
  std::string text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length, nullptr,
                      nullptr);
  return text;
}

std::string EnvironmentUtf8(const wchar_t* name) {
  const DWORD length = GetEnvironmentVariableW(name, nullptr, 0);
  if (length == 0) {
    return {};
  }
  std::wstring value(length, L'\0');
  const DWORD written = GetEnvironmentVariableW(name, value.data(), length);
  if (written == 0 || written >= length) {
    return {};
  }
  value.resize(written);
  return Narrow(value, CP_UTF8);
}

#else

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

#endif

}  // namespace

#ifdef _WIN32

std::string_view PathSeparator() {
  return "\\";
}

std::string ToFileText(std::string_view utf8) {
  return Narrow(Widen(utf8, CP_UTF8), CP_ACP);
}

std::string FromFileText(std::string_view fileText) {
  return Narrow(Widen(fileText, CP_ACP), CP_UTF8);
}

void AppendFileText(std::string& out, std::string_view utf8) {
  // Plain ASCII reads the same in every code page: the common script line needs no conversion.
  for (const char c : utf8) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      out += ToFileText(utf8);
      return;
    }
  }
  out.append(utf8);
}

std::string ExecutableFolder() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) {
      return {};
    }
    if (length < buffer.size()) {
      buffer.resize(length);
      break;
    }
    if (buffer.size() >= 32768) {
      return {};
    }
    buffer.resize(buffer.size() * 2);
  }
  const std::size_t slash = buffer.find_last_of(L"\\/");
  if (slash == std::wstring::npos) {
    return {};
  }
  return Narrow(std::wstring_view(buffer).substr(0, slash), CP_UTF8);
}

std::string HomeFolder() {
  return EnvironmentUtf8(L"USERPROFILE");
}

std::string UserConfigFolder() {
  std::string base = EnvironmentUtf8(L"APPDATA");
  if (base.empty()) {
    return {};
  }
  return JoinPath(base, "VeskoScriptCreator");
}

bool IsWritableFolder(const std::string& folder) {
  const std::wstring path = Widen(JoinPath(folder, ScratchName()), CP_UTF8);
  HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    return false;
  }
  CloseHandle(handle);
  return true;
}

#else

std::string_view PathSeparator() {
  return "/";
}

std::string ToFileText(std::string_view utf8) {
  return std::string(utf8);
}

std::string FromFileText(std::string_view fileText) {
  return std::string(fileText);
}

void AppendFileText(std::string& out, std::string_view utf8) {
  out.append(utf8);
}

std::string ExecutableFolder() {
  std::string buffer(PATH_MAX, '\0');
  const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size()) {
    return {};
  }
  buffer.resize(static_cast<std::size_t>(length));
  const std::size_t slash = buffer.rfind('/');
  if (slash == std::string::npos) {
    return {};
  }
  return slash == 0 ? std::string("/") : buffer.substr(0, slash);
}

std::string HomeFolder() {
  std::string home = Environment("HOME");
  if (!home.empty()) {
    return home;
  }
  const passwd* entry = getpwuid(getuid());
  return entry != nullptr && entry->pw_dir != nullptr ? std::string(entry->pw_dir) : std::string();
}

std::string UserConfigFolder() {
  std::string base = Environment("XDG_CONFIG_HOME");
  if (base.empty() || base.front() != '/') {
    const std::string home = HomeFolder();
    if (home.empty()) {
      return {};
    }
    base = JoinPath(home, ".config");
  }
  return JoinPath(base, "VeskoScriptCreator");
}

bool IsWritableFolder(const std::string& folder) {
  const std::string path = JoinPath(folder, ScratchName());
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) {
    return false;
  }
  close(fd);
  unlink(path.c_str());
  return true;
}

#endif

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  path += PathSeparator();
  path += name;
  return path;
}

bool MakeFolders(const std::string& folder) {
  if (folder.empty()) {
    return false;
  }
  std::error_code ec;
  const std::filesystem::path path = PathFromUtf8(folder);
  std::filesystem::create_directories(path, ec);
  return std::filesystem::is_directory(path, ec);
}

}  // namespace vesko
