#include "app/axis_table_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <system_error>
#include <vector>

#include "core/os_file.h"
#include "core/platform.h"

// The parser is used in this file alone, whole in its header; faults come back as values.
#define TOML_EXCEPTIONS 0
#define TOML_HEADER_ONLY 1
#include <toml++/toml.h>

namespace vesko {
namespace {

constexpr const char* kLimitsNotChecked = "; limits not checked";

// "Axes.toml line N: <reason>; limits not checked".
std::string Problem(std::uint32_t line, std::string_view reason) {
  return std::string(kAxisTableFile) + " line " + std::to_string(line) + ": " + std::string(reason) +
         kLimitsNotChecked;
}

// A fault in the table: the line it stands on and why.
struct Fault {
  std::uint32_t line;
  std::string reason;
};

std::uint32_t LineOf(const toml::node& node) {
  return node.source().begin.line;
}

// Reads the number at `key` of `table` into `to`; a key that is not a finite number is a fault.
std::optional<Fault> ReadNumber(const toml::table& table, std::string_view key, std::optional<double>& to) {
  const toml::node* node = table.get(key);
  if (node == nullptr) {
    return std::nullopt;
  }
  if (!node->is_number()) {
    return Fault{LineOf(*node), std::string(key) + " is not a number"};
  }
  const double value = *node->value<double>();
  if (!std::isfinite(value)) {
    return Fault{LineOf(*node), std::string(key) + " is not a finite number"};
  }
  to = value;
  return std::nullopt;
}

// Every key of `table` must be one of `known`.
std::optional<Fault> OnlyKnownKeys(const toml::table& table, std::string_view where,
                                   std::initializer_list<std::string_view> known) {
  for (const auto& [key, node] : table) {
    if (std::find(known.begin(), known.end(), std::string_view(key.str())) == known.end()) {
      return Fault{LineOf(node), "unknown key '" + std::string(key.str()) + "' in " + std::string(where)};
    }
  }
  return std::nullopt;
}

std::optional<Fault> ReadAxis(std::string_view name, const toml::node& node, AxisEntry& axis) {
  const toml::table* table = node.as_table();
  if (table == nullptr) {
    return Fault{LineOf(node), "axis." + std::string(name) + " is not a table"};
  }
  const std::string where = "axis." + std::string(name);
  if (auto fault = OnlyKnownKeys(*table, where, {"lower", "upper", "speed", "settle"})) {
    return fault;
  }
  axis.name = name;
  std::optional<double>* figures[4] = {&axis.lower, &axis.upper, &axis.speed, &axis.settle};
  for (int k = 0; k < 4; ++k) {
    if (auto fault = ReadNumber(*table, kAxisFieldNames[k], *figures[k])) {
      return fault;
    }
  }
  if (const std::optional<AxisEntryFault> fault = CheckAxisEntry(axis)) {
    const toml::node* at = table->get(kAxisFieldNames[fault->field]);
    return Fault{at != nullptr ? LineOf(*at) : LineOf(node), where + ": " + fault->reason};
  }
  return std::nullopt;
}

std::optional<Fault> ReadTable(const toml::table& root, AxisTable& table, bool& holdsMore) {
  if (const toml::node* axes = root.get("axis")) {
    const toml::table* byName = axes->as_table();
    if (byName == nullptr) {
      return Fault{LineOf(*axes), "axis is not a table"};
    }
    // The table keeps the axes in their fixed order, whatever the file's order.
    for (const auto& [key, node] : *byName) {
      if (std::find(kTableAxisNames.begin(), kTableAxisNames.end(), std::string_view(key.str())) ==
          kTableAxisNames.end()) {
        return Fault{LineOf(node), "unknown axis '" + std::string(key.str()) + "'"};
      }
    }
    for (const char* name : kTableAxisNames) {
      if (const toml::node* node = byName->get(name)) {
        AxisEntry axis;
        if (auto fault = ReadAxis(name, *node, axis)) {
          return fault;
        }
        table.axes.push_back(std::move(axis));
      }
    }
  }
  if (const toml::node* counting = root.get("counting")) {
    const toml::table* keys = counting->as_table();
    if (keys == nullptr) {
      return Fault{LineOf(*counting), "counting is not a table"};
    }
    if (auto fault = OnlyKnownKeys(*keys, "counting", {"overhead", "shutter"})) {
      return fault;
    }
    for (auto [key, to] : {std::pair{"overhead", &table.overhead}, std::pair{"shutter", &table.shutter}}) {
      if (auto fault = ReadNumber(*keys, key, *to)) {
        return fault;
      }
      if (*to && **to < 0) {
        return Fault{LineOf(*keys->get(key)), std::string("counting ") + key + " must not be negative"};
      }
    }
  }
  for (const auto& [key, node] : root) {
    holdsMore = holdsMore || (key != "axis" && key != "counting");
  }
  return std::nullopt;
}

std::filesystem::path PathOf(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace

std::optional<AxisEntryFault> CheckAxisEntry(const AxisEntry& axis) {
  if (axis.lower && axis.upper && !(*axis.lower < *axis.upper)) {
    return AxisEntryFault{1, "lower must be below upper"};
  }
  if (axis.speed && !(*axis.speed > 0)) {
    return AxisEntryFault{2, "speed must be above 0"};
  }
  if (axis.settle && *axis.settle < 0) {
    return AxisEntryFault{3, "settle must not be negative"};
  }
  return std::nullopt;
}

AxisTableFile ParseAxisTable(std::string_view text) {
  AxisTableFile file;
  file.exists = true;
  // A comment is a '#' outside a string; one inside a string only makes the save warning cautious.
  file.holdsMore = text.find('#') != std::string_view::npos;
  toml::parse_result parsed = toml::parse(text, std::string_view(kAxisTableFile));
  if (!parsed) {
    file.read.problem = Problem(parsed.error().source().begin.line, parsed.error().description());
    file.holdsMore = true;
    return file;
  }
  AxisTable table;
  if (const std::optional<Fault> fault = ReadTable(parsed.table(), table, file.holdsMore)) {
    file.read.problem = Problem(fault->line, fault->reason);
    file.holdsMore = true;
    return file;
  }
  file.read.table = std::move(table);
  return file;
}

AxisTableFile LoadAxisTableFile(const std::string& settingsFolder) {
  const std::string path = JoinPath(settingsFolder, kAxisTableFile);
  std::error_code error;
  if (std::filesystem::symlink_status(PathOf(path), error).type() == std::filesystem::file_type::not_found) {
    return {};
  }
  AxisTableFile file;
  file.exists = true;
  file.holdsMore = true;
  const auto unread = [&file](const std::string& reason) {
    file.read.problem = std::string(kAxisTableFile) + ": " + reason + kLimitsNotChecked;
    return file;
  };
  std::optional<os::OsError> openError;
  os::InputFile input = os::InputFile::OpenRegular(path, openError);
  if (!input.IsOpen()) {
    return unread(openError ? openError->reason : "cannot be read");
  }
  if (input.size() > kMaxAxisTableBytes) {
    return unread("larger than " + std::to_string(kMaxAxisTableBytes / 1024) + " KiB");
  }
  // One byte more than allowed tells a file that has grown since it was opened.
  std::string text(kMaxAxisTableBytes + 1, '\0');
  std::size_t filled = 0;
  while (filled < text.size()) {
    const std::optional<std::size_t> count = input.Read(text.data() + filled, text.size() - filled);
    if (!count) {
      return unread("cannot be read");
    }
    if (*count == 0) {
      break;
    }
    filled += *count;
  }
  if (filled > kMaxAxisTableBytes) {
    return unread("larger than " + std::to_string(kMaxAxisTableBytes / 1024) + " KiB");
  }
  text.resize(filled);
  return ParseAxisTable(FromFileText(text));
}

std::string AxisNumberText(double value) {
  char text[64];
  const auto [end, error] = std::to_chars(text, text + sizeof text, value);
  std::string shown(text, error == std::errc() ? end : text);
  // TOML reads "5" as an integer; the table's figures are floats.
  if (shown.find_first_of(".eEn") == std::string::npos) {
    shown += ".0";
  }
  return shown;
}

std::string AxisTableText(const AxisTable& table) {
  std::string text;
  for (const AxisEntry& axis : table.axes) {
    text += (text.empty() ? "[axis." : "\n[axis.") + axis.name + "]\n";
    const std::optional<double> figures[4] = {axis.lower, axis.upper, axis.speed, axis.settle};
    for (int k = 0; k < 4; ++k) {
      if (figures[k]) {
        text += std::string(kAxisFieldNames[k]) + " = " + AxisNumberText(*figures[k]) + "\n";
      }
    }
  }
  if (table.overhead || table.shutter) {
    text += text.empty() ? "[counting]\n" : "\n[counting]\n";
    for (auto [key, value] : {std::pair{"overhead", table.overhead}, std::pair{"shutter", table.shutter}}) {
      if (value) {
        text += std::string(key) + " = " + AxisNumberText(*value) + "\n";
      }
    }
  }
  return text;
}

std::optional<IoError> SaveAxisTable(const std::string& settingsFolder, const AxisTable& table) {
  std::vector<std::string> lines;
  const std::string text = AxisTableText(table);
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return ReplaceFileLines(JoinPath(settingsFolder, kAxisTableFile), lines);
}

}  // namespace vesko
