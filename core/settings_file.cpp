#include "core/settings_file.h"

#include <filesystem>
#include <fstream>

#include "core/platform.h"

namespace vesko {
namespace {

bool IsBlank(int c) {
  return c == ' ' || c == '\t';
}

// Consumes a line end at the stream position: CR, LF or CR LF.
void ConsumeLineEnd(std::istream& in, int first) {
  if (first == '\r' && in.peek() == '\n') {
    in.get();
  }
}

}  // namespace

std::optional<std::string> ReadSettingsField(std::istream& in) {
  using Traits = std::istream::traits_type;
  int c = in.peek();
  if (c == Traits::eof()) {
    return std::nullopt;
  }
  while (IsBlank(c)) {
    in.get();
    c = in.peek();
  }
  std::string field;
  if (c == '"') {
    in.get();
    // An unterminated quote runs to the end of the file.
    while ((c = in.get()) != Traits::eof() && c != '"') {
      field += static_cast<char>(c);
    }
    if (c == '"') {
      while ((c = in.get()) != Traits::eof() && c != ',' && c != '\r' && c != '\n') {
      }
      ConsumeLineEnd(in, c);
    }
    in.clear(in.rdstate() & ~std::ios::failbit);
    return field;
  }
  while ((c = in.get()) != Traits::eof() && c != ',' && c != '\r' && c != '\n') {
    field += static_cast<char>(c);
  }
  ConsumeLineEnd(in, c);
  in.clear(in.rdstate() & ~std::ios::failbit);
  while (!field.empty() && IsBlank(field.back())) {
    field.pop_back();
  }
  return field;
}

std::vector<std::string> LoadSettings(const std::string& path, std::size_t maxFields) {
  std::vector<std::string> fields;
  std::ifstream in(std::filesystem::path(std::u8string(path.begin(), path.end())), std::ios::binary);
  if (!in) {
    return fields;
  }
  while (fields.size() < maxFields) {
    std::optional<std::string> field = ReadSettingsField(in);
    if (!field) {
      break;
    }
    fields.push_back(FromFileText(*field));
  }
  return fields;
}

std::string SettingsFieldText(const std::string& field) {
  // Line ends inside a field would split it as well; the quoted form keeps them.
  const bool quote = field.find_first_of(",\r\n") != std::string::npos ||
                     (!field.empty() && (IsBlank(field.front()) || IsBlank(field.back())));
  return quote ? "\"" + field + "\"" : field;
}

std::optional<IoError> SaveSettings(const std::string& path, const std::vector<std::string>& fields) {
  std::vector<std::string> lines;
  lines.reserve(fields.size());
  for (const std::string& field : fields) {
    lines.push_back(SettingsFieldText(field));
  }
  return ReplaceFileLines(path, lines);
}

}  // namespace vesko
