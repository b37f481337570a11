#include "analysis/result_file.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string_view>
#include <system_error>

#include "core/numbers.h"
#include "core/settings_file.h"

namespace vesko {
namespace {

// The next line of `content` from `pos` (without its CR, LF or CR LF); `pos` moves past the line end.
std::string_view NextLine(std::string_view content, std::size_t& pos) {
  const std::size_t end = std::min(content.find_first_of("\r\n", pos), content.size());
  const std::string_view line = content.substr(pos, end - pos);
  pos = end;
  if (pos < content.size()) {
    pos += content[pos] == '\r' && pos + 1 < content.size() && content[pos + 1] == '\n' ? 2 : 1;
  }
  return line;
}

ResultRows ParseRows(std::string_view content) {
  ResultRows rows;
  std::size_t pos = 0;
  NextLine(content, pos);  // header
  std::istringstream fields;
  while (pos < content.size()) {
    const std::string_view line = NextLine(content, pos);
    // Each line gets its own stream, so a short row cannot take fields from the next one.
    fields.str(std::string(line));
    fields.clear();
    double values[3];
    for (double& value : values) {
      const std::optional<std::string> field = ReadSettingsField(fields);
      const std::optional<double> number = field ? ToDouble(*field) : std::nullopt;
      if (!number) {
        return rows;
      }
      value = *number;
    }
    rows.x.push_back(values[0]);
    rows.y.push_back(values[2]);
  }
  return rows;
}

Result<ResultRows> Refuse(const std::string& path, std::error_code code) {
  return Result<ResultRows>::Refused("Cannot read " + path + ": " + code.message());
}

}  // namespace

Result<ResultRows> ReadResultFile(const std::string& path) {
  const std::filesystem::path file(std::u8string(path.begin(), path.end()));
  std::error_code code;
  if (std::filesystem::is_directory(file, code)) {
    return Refuse(path, std::make_error_code(std::errc::is_a_directory));
  }
  std::string content;
  {
    errno = 0;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
      return Refuse(path, errno != 0 ? std::error_code(errno, std::generic_category())
                                     : std::make_error_code(std::errc::io_error));
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) {
      return Refuse(path, std::make_error_code(std::errc::io_error));
    }
    content = std::move(bytes).str();
  }  // closed before anything is parsed or shown
  return ParseRows(content);
}

}  // namespace vesko
