#include "tests/fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <unistd.h>

namespace vesko::fuzz {

void Require(bool condition, std::string_view what, std::string_view detail) {
  if (!condition) {
    std::fprintf(stderr, "fuzz finding: %.*s\n  at: %.*s\n", static_cast<int>(what.size()), what.data(),
                 static_cast<int>(detail.size()), detail.data());
    std::abort();
  }
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
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  Require(out.flush().good(), "cannot write the scratch file", path);
}

}  // namespace vesko::fuzz

#ifdef VESKO_FUZZ_REPLAY

// Without libFuzzer: runs the target once on every file of the folders (or files) given, so that the
// seed corpus and the inputs of past findings stay checked in every build.
int main(int argc, char** argv) {
  std::vector<std::filesystem::path> inputs;
  for (int k = 1; k < argc; ++k) {
    if (std::filesystem::is_directory(argv[k])) {
      for (const auto& entry : std::filesystem::directory_iterator(argv[k])) {
        if (entry.is_regular_file()) {
          inputs.push_back(entry.path());
        }
      }
    } else {
      inputs.emplace_back(argv[k]);
    }
  }
  if (inputs.empty()) {
    std::fprintf(stderr, "usage: %s CORPUS_FOLDER_OR_FILE...\n", argv[0]);
    return 2;
  }
  for (const std::filesystem::path& input : inputs) {
    std::ifstream in(input, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  std::printf("%zu inputs ran without a finding\n", inputs.size());
  return 0;
}
#endif
