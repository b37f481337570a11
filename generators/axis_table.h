#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vesko {

/// The axes a script can move, named as the beamline keeps them in its axis table. The gonio stage's
/// "y" and "z" are "stage_y" and "stage_z" there.
inline constexpr std::array<const char*, 14> kTableAxisNames = {
    "slit_y1", "slit_y2", "slit_z1", "slit_z2", "col_y",   "col_z",   "lens_y",
    "lens_z",  "lens_ry", "lens_rz", "stage_y", "stage_z", "gonio_y", "omega"};

/// One axis of the table; every figure is optional. Limits in the axis' units, speed in units per
/// second, settle in seconds after each move.
struct AxisEntry {
  std::string name;
  std::optional<double> lower;
  std::optional<double> upper;
  std::optional<double> speed;
  std::optional<double> settle;

  bool operator==(const AxisEntry&) const = default;
};

/// The beamline's soft limits and timings, as checked when read: lower < upper, speed > 0, settle,
/// overhead and shutter not negative.
struct AxisTable {
  /// In the order of kTableAxisNames; only the axes the table names.
  std::vector<AxisEntry> axes;
  /// Seconds added to every count measurement beyond its exposure.
  std::optional<double> overhead;
  /// Seconds per shutter or beam-stop command.
  std::optional<double> shutter;

  /// The entry of `name`, or null.
  const AxisEntry* Find(std::string_view name) const {
    for (const AxisEntry& axis : axes) {
      if (axis.name == name) {
        return &axis;
      }
    }
    return nullptr;
  }
};

/// The settings folder's axis table as found: a table, no file, or a file that could not be used.
struct AxisTableRead {
  std::optional<AxisTable> table;
  /// "Axes.toml line N: <reason>; limits not checked" when the file is there but cannot be used.
  std::string problem;
};

}  // namespace vesko
