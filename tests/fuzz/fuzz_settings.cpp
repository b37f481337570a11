// Settings files: any bytes load without trouble (a crash or a hang is the finding); any fields without
// double quotes written by SaveSettings read back whole.

#include <cstdint>
#include <string>
#include <vector>

#include "core/settings_file.h"
#include "tests/fuzz/fuzz_support.h"

using vesko::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kMaxFields = 64;
  if (size > 4096) {
    return 0;
  }
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string path = vesko::fuzz::ScratchPath("read.ini");
  vesko::fuzz::WriteScratch(path, bytes);
  vesko::LoadSettings(path, kMaxFields);

  // Round trip: the input's NUL-separated parts as fields (a double quote cannot be stored, and a
  // loaded text ends at a NUL).
  std::vector<std::string> stored = vesko::fuzz::SplitFields(bytes, 8);
  for (std::string& field : stored) {
    std::erase(field, '"');
    std::erase(field, '\0');
  }
  const std::string savedPath = vesko::fuzz::ScratchPath("saved.ini");
  Require(!vesko::SaveSettings(savedPath, stored).has_value(), "SaveSettings failed", savedPath);
  Require(vesko::LoadSettings(savedPath, kMaxFields) == stored, "a stored field does not read back whole",
          bytes);
  return 0;
}
