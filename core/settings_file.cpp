#include "core/settings_file.h"

#include <algorithm>
#include <cstdint>
#include <sstream>

#include "core/os_file.h"
#include "core/platform.h"
#include "core/tcl_path.h"

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
  // Every byte this field takes, blanks and skipped rest included; a field that would take more fails.
  std::size_t taken = 0;
  const auto next = [&in, &taken]() { return ++taken > kMaxSettingsFieldBytes ? Traits::eof() : in.get(); };
  int c = in.peek();
  if (c == Traits::eof()) {
    return std::nullopt;
  }
  while (IsBlank(c) && taken < kMaxSettingsFieldBytes) {
    next();
    c = in.peek();
  }
  std::string field;
  if (c == '"') {
    next();
    // An unterminated quote runs to the end of the file.
    while ((c = next()) != Traits::eof() && c != '"') {
      field += static_cast<char>(c);
    }
    if (c == '"') {
      while ((c = next()) != Traits::eof() && c != ',' && c != '\r' && c != '\n') {
      }
      ConsumeLineEnd(in, c);
    }
    in.clear(in.rdstate() & ~std::ios::failbit);
    return taken > kMaxSettingsFieldBytes ? std::nullopt : std::optional<std::string>(field);
  }
  while ((c = next()) != Traits::eof() && c != ',' && c != '\r' && c != '\n') {
    field += static_cast<char>(c);
  }
  ConsumeLineEnd(in, c);
  in.clear(in.rdstate() & ~std::ios::failbit);
  if (taken > kMaxSettingsFieldBytes) {
    return std::nullopt;
  }
  while (!field.empty() && IsBlank(field.back())) {
    field.pop_back();
  }
  return field;
}

std::vector<std::string> LoadSettings(const std::string& path, std::size_t maxFields) {
  std::vector<std::string> fields;
  // What is not a regular file (a FIFO, a device) counts as missing; no more is read than the fields
  // can take, so an endless file ends at the first field that is too long.
  std::optional<os::OsError> error;
  os::InputFile file = os::InputFile::OpenRegular(path, error);
  if (!file.IsOpen()) {
    return fields;
  }
  constexpr std::size_t kMostPerField = kMaxSettingsFieldBytes + 2;
  const std::size_t limit = maxFields < SIZE_MAX / kMostPerField ? maxFields * kMostPerField
                                                                 : SIZE_MAX / kMostPerField * kMostPerField;
  std::string text(static_cast<std::size_t>(std::min<std::uint64_t>(file.size(), limit)), '\0');
  std::size_t filled = 0;
  while (filled < limit) {
    if (filled == text.size()) {
      text.resize(std::min(limit, std::max<std::size_t>(2 * text.size(), 4096)));
    }
    const std::optional<std::size_t> count = file.Read(text.data() + filled, text.size() - filled);
    if (!count || *count == 0) {
      break;
    }
    filled += *count;
  }
  text.resize(filled);
  std::istringstream in(std::move(text));
  while (fields.size() < maxFields) {
    std::optional<std::string> field = ReadSettingsField(in);
    if (!field) {
      break;
    }
    // A NUL ends a text where the program that wrote it saw its end.
    fields.push_back(StripAtNul(FromFileText(*field)));
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
