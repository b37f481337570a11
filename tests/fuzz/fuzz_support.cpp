#include "tests/fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include <unistd.h>

namespace vesko::fuzz {

void Require(bool condition, std::string_view what, std::string_view detail) {
  if (condition) {
    return;
  }
  std::fprintf(stderr, "fuzz finding: %.*s\n", static_cast<int>(what.size()), what.data());
  if (!detail.empty()) {
    std::fprintf(stderr, "  at: %.*s\n", static_cast<int>(detail.size()), detail.data());
  }
  std::abort();
}

std::vector<std::string> SplitFields(std::string_view input, std::size_t count) {
  std::vector<std::string> fields(count);
  for (std::size_t k = 0; k < count && !input.empty(); ++k) {
    const std::size_t nul = k + 1 < count ? input.find('\0') : std::string_view::npos;
    fields[k] = std::string(input.substr(0, nul));
    input = nul == std::string_view::npos ? std::string_view() : input.substr(nul + 1);
  }
  return fields;
}

std::string ScratchPath(std::string_view name) {
  // The scratch folder of this process, removed when the process ends normally.
  static const struct Folder {
    Folder() {
      std::error_code ec;
      path =
          std::filesystem::is_directory("/dev/shm", ec) ? "/dev/shm" : std::filesystem::temp_directory_path();
      path /= "vesko-fuzz-" + std::to_string(getpid());
      std::filesystem::create_directories(path);
    }
    ~Folder() {
      std::error_code ec;
      std::filesystem::remove_all(path, ec);
    }
    std::filesystem::path path;
  } folder;
  return (folder.path / name).string();
}

void WriteScratch(const std::string& path, std::string_view bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  Require(file != nullptr, "cannot write the scratch file", path);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

}  // namespace vesko::fuzz
