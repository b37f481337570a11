#pragma once

#include <array>
#include <optional>
#include <string>

#include "generators/axis_table.h"

namespace vesko {

/// The axis table as the axis window shows it: the texts of one row per axis of kTableAxisNames
/// (lower, upper, speed, settle), then the counting keys. An empty text leaves its key out.
struct AxisTableForm {
  std::array<std::array<std::string, 4>, kTableAxisNames.size()> rows;
  std::string overhead;
  std::string shutter;
};

/// The row of the counting keys in AxisFormFault: column 0 overhead, 1 shutter.
inline constexpr int kCountingRow = static_cast<int>(kTableAxisNames.size());

/// The first text of a form that cannot stand in the table: its row and column and the message.
struct AxisFormFault {
  int row = 0;
  int column = 0;
  std::string message;
};

/// The texts of `table`, numbers as the file writes them.
AxisTableForm FormOf(const AxisTable& table);

/// Checks the texts row by row, each left to right (numbers; lower < upper; speed > 0; settle ≥ 0;
/// overhead and shutter ≥ 0): the table, or the first fault. Blanks around a number are taken off.
struct AxisFormCheck {
  AxisTable table;
  std::optional<AxisFormFault> fault;
};
AxisFormCheck CheckAxisForm(const AxisTableForm& form);

}  // namespace vesko
