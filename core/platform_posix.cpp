#include <pwd.h>
#include <sys/resource.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "core/platform.h"

namespace vesko {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

}  // namespace

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

std::uintmax_t FileSizeLimit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
    return UINTMAX_MAX;
  }
  return static_cast<std::uintmax_t>(limit.rlim_cur);
}

}  // namespace vesko
