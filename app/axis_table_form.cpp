#include "app/axis_table_form.h"

#include <charconv>
#include <cmath>
#include <string_view>
#include <system_error>

#include "app/axis_table_file.h"

namespace vesko {
namespace {

// A number typed into a cell, blanks around it taken off; an empty cell is no number and no fault.
bool ReadCell(std::string_view text, std::optional<double>& value) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
    text.remove_prefix(1);
  }
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
    text.remove_suffix(1);
  }
  value.reset();
  if (text.empty()) {
    return true;
  }
  // from_chars takes no leading '+'; a typed "+1" is still a number.
  if (text.front() == '+' && text.size() > 1 && text[1] != '-') {
    text.remove_prefix(1);
  }
  double number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(number)) {
    return false;
  }
  value = number;
  return true;
}

}  // namespace

AxisTableForm FormOf(const AxisTable& table) {
  AxisTableForm form;
  for (const AxisEntry& axis : table.axes) {
    for (std::size_t row = 0; row < kTableAxisNames.size(); ++row) {
      if (axis.name == kTableAxisNames[row]) {
        const std::optional<double> figures[4] = {axis.lower, axis.upper, axis.speed, axis.settle};
        for (std::size_t k = 0; k < 4; ++k) {
          form.rows[row][k] = figures[k] ? AxisNumberText(*figures[k]) : std::string();
        }
      }
    }
  }
  form.overhead = table.overhead ? AxisNumberText(*table.overhead) : std::string();
  form.shutter = table.shutter ? AxisNumberText(*table.shutter) : std::string();
  return form;
}

AxisFormCheck CheckAxisForm(const AxisTableForm& form) {
  AxisFormCheck check;
  for (std::size_t row = 0; row < kTableAxisNames.size(); ++row) {
    AxisEntry axis;
    axis.name = kTableAxisNames[row];
    std::optional<double>* figures[4] = {&axis.lower, &axis.upper, &axis.speed, &axis.settle};
    for (int k = 0; k < 4; ++k) {
      if (!ReadCell(form.rows[row][static_cast<std::size_t>(k)], *figures[k])) {
        check.fault = AxisFormFault{static_cast<int>(row), k,
                                    axis.name + " " + kAxisFieldNames[k] + ": \"" +
                                        form.rows[row][static_cast<std::size_t>(k)] + "\" is not a number."};
        return check;
      }
    }
    if (const std::optional<AxisEntryFault> fault = CheckAxisEntry(axis)) {
      check.fault =
          AxisFormFault{static_cast<int>(row), fault->field, axis.name + ": " + fault->reason + "."};
      return check;
    }
    if (axis.lower || axis.upper || axis.speed || axis.settle) {
      check.table.axes.push_back(std::move(axis));
    }
  }
  const std::pair<const std::string*, std::optional<double>*> counting[2] = {
      {&form.overhead, &check.table.overhead}, {&form.shutter, &check.table.shutter}};
  for (int k = 0; k < 2; ++k) {
    const std::string name = k == 0 ? "overhead" : "shutter";
    if (!ReadCell(*counting[k].first, *counting[k].second)) {
      check.fault = AxisFormFault{kCountingRow, k,
                                  "Counting " + name + ": \"" + *counting[k].first + "\" is not a number."};
      return check;
    }
    if (*counting[k].second && **counting[k].second < 0) {
      check.fault = AxisFormFault{kCountingRow, k, "Counting " + name + " must not be negative."};
      return check;
    }
  }
  return check;
}

}  // namespace vesko
