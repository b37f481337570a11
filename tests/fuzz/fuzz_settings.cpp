// Settings files: any bytes read field by field end without trouble and read the same (cut at a NUL)
// through LoadSettings; any fields without double quotes written by SaveSettings read back whole.

#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/settings_file.h"
#include "core/tcl_path.h"
#include "tests/fuzz/fuzz_support.h"

using vesko::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kMaxFields = 64;
  if (size > 4096) {
    return 0;
  }
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  // Every field takes at least one byte, so the reading ends; LoadSettings reads the same fields.
  std::istringstream in(bytes);
  std::vector<std::string> fields;
  while (fields.size() < size + 2) {
    const std::optional<std::string> field = vesko::ReadSettingsField(in);
    if (!field) {
      break;
    }
    fields.push_back(vesko::StripAtNul(*field));  // loaded texts end at a NUL
  }
  Require(fields.size() <= size, "more fields than bytes: the reader does not advance", bytes);
  fields.resize(std::min(fields.size(), kMaxFields));
  const std::string path = vesko::fuzz::ScratchPath("read.ini");
  vesko::fuzz::WriteScratch(path, bytes);
  Require(vesko::LoadSettings(path, kMaxFields) == fields,
          "LoadSettings reads other fields than ReadSettingsField", bytes);

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
