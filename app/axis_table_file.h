#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/safe_file.h"
#include "generators/axis_table.h"

namespace vesko {

/// The beamline's axis table in the settings folder: soft limits, speeds and settle times per axis,
/// and the counting overheads. Optional: without it nothing is checked or timed.
inline constexpr const char* kAxisTableFile = "Axes.toml";

/// A larger axis table is not read: fourteen axes take a few hundred bytes.
inline constexpr std::size_t kMaxAxisTableBytes = 256 * 1024;

/// The axis table file as found, with what a save from the axis window would not keep.
struct AxisTableFile {
  AxisTableRead read;
  bool exists = false;
  /// The file holds comments or keys the table does not use (or cannot be read at all).
  bool holdsMore = false;
};

/// Reads the text of an axis table (UTF-8): "[axis.<name>]" tables with the numbers lower, upper, speed
/// and settle, and a "[counting]" table with overhead and shutter. Unknown axes and unknown keys inside
/// those tables are faults (a misspelt key would leave a limit unchecked); other tables are ignored.
AxisTableFile ParseAxisTable(std::string_view text);

/// The axis table of `settingsFolder`, read as a regular file of at most kMaxAxisTableBytes; no file
/// gives neither a table nor a problem.
AxisTableFile LoadAxisTableFile(const std::string& settingsFolder);

/// LoadAxisTableFile's table, or why there is none.
inline AxisTableRead ReadAxisTable(const std::string& settingsFolder) {
  return LoadAxisTableFile(settingsFolder).read;
}

/// A number as the table writes it: the shortest text that reads back to the same double ("0.05",
/// "5.0").
std::string AxisNumberText(double value);

/// The table as the text of its file: one "[axis.<name>]" table per axis, then "[counting]".
std::string AxisTableText(const AxisTable& table);

/// Writes the table into `settingsFolder`, replacing its file safely.
std::optional<IoError> SaveAxisTable(const std::string& settingsFolder, const AxisTable& table);

/// Why `axis` cannot stand in a table: which of its figures (0 lower, 1 upper, 2 speed, 3 settle) and
/// the reason ("lower must be below upper"); none when it can.
struct AxisEntryFault {
  int field = 0;
  std::string reason;
};
std::optional<AxisEntryFault> CheckAxisEntry(const AxisEntry& axis);

/// The names of an axis' figures, in the order of AxisEntryFault::field.
inline constexpr const char* kAxisFieldNames[4] = {"lower", "upper", "speed", "settle"};

}  // namespace vesko
