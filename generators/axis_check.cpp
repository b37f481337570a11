#include "generators/axis_check.h"

#include <algorithm>
#include <cmath>

#include "core/format.h"
#include "generators/script_summary.h"

namespace vesko {

std::string TableAxisName(std::string_view command, std::string_view axis) {
  if (command == "TclSrv_GStage" && (axis == "y" || axis == "z")) {
    return "stage_" + std::string(axis);
  }
  return std::string(axis);
}

AxisCheck::AxisCheck(AxisTable table) : table_(std::move(table)) {}

void AxisCheck::Move(std::string_view command, std::string_view axis, std::string_view target, double value) {
  ++moves_;
  const std::string name = TableAxisName(command, axis);
  auto tracked =
      std::find_if(axes_.begin(), axes_.end(), [&](const Tracked& t) { return t.path.axis == name; });
  if (tracked == axes_.end()) {
    Tracked fresh;
    fresh.path.axis = name;
    fresh.entry = table_.Find(name);
    if (fresh.entry != nullptr) {
      fresh.path.lower = fresh.entry->lower;
      fresh.path.upper = fresh.entry->upper;
    }
    axes_.push_back(std::move(fresh));
    tracked = axes_.end() - 1;
  }
  Tracked& moved = *tracked;
  Time(moved, value);
  Keep(moved, value);
  ++moved.moves;
  moved.previous = value;

  // The target as the control server will read it, against each limit.
  const auto note = [&](Beyond& beyond, bool farther) {
    if (!beyond.found) {
      beyond = {true, value, std::string(target), measurements_ + 1, moves_};
    } else if (farther) {
      beyond.value = value;
      beyond.text.assign(target);
    }
  };
  if (moved.path.upper && value > *moved.path.upper) {
    note(moved.above, value > moved.above.value);
  }
  if (moved.path.lower && value < *moved.path.lower) {
    note(moved.below, value < moved.below.value);
  }
}

void AxisCheck::Time(Tracked& axis, double value) {
  if (axis.entry == nullptr) {
    return;
  }
  moveSeconds_ += axis.entry->settle.value_or(0);
  if (!axis.entry->speed) {
    return;
  }
  double distance = std::abs(value - axis.previous);
  if (axis.moves == 0) {
    // Where the axis stands before the script is unknown: the worst case is the farther limit.
    distance = 0;
    for (const std::optional<double>& limit : {axis.entry->lower, axis.entry->upper}) {
      if (limit) {
        distance = std::max(distance, std::abs(value - *limit));
      }
    }
  }
  moveSeconds_ += distance / *axis.entry->speed;
}

void AxisCheck::Keep(Tracked& axis, double value) const {
  if (axis.moves % axis.stride != 0) {
    return;
  }
  std::vector<std::pair<std::uint64_t, double>>& points = axis.path.points;
  if (points.size() == kChartPointsPerAxis) {
    // Every other kept point goes; from now on only every stride-th move of the axis is kept.
    std::size_t kept = 0;
    for (std::size_t k = 0; k < points.size(); k += 2) {
      points[kept++] = points[k];
    }
    points.resize(kept);
    axis.stride *= 2;
    if (axis.moves % axis.stride != 0) {
      return;
    }
  }
  points.emplace_back(moves_, value);
}

void AxisCheck::Measure(std::uint64_t calls, double exposureSeconds) {
  measurements_ += calls;
  countingSeconds_ += static_cast<double>(calls) * (exposureSeconds + table_.overhead.value_or(0));
}

void AxisCheck::Shutter() {
  shutterSeconds_ += table_.shutter.value_or(0);
}

std::string AxisCheck::Where(const Beyond& beyond) const {
  if (beyond.point <= measurements_) {
    return "at point " + std::to_string(beyond.point);
  }
  return measurements_ == 0 ? "at move " + std::to_string(beyond.move)
                            : "after point " + std::to_string(measurements_);
}

AxisReport AxisCheck::Report() const {
  AxisReport report;
  report.countingSeconds = countingSeconds_;
  report.moveSeconds = moveSeconds_;
  report.shutterSeconds = shutterSeconds_;
  for (const Tracked& axis : axes_) {
    const std::string& name = axis.path.axis;
    std::string notes[2];
    if (axis.above.found) {
      notes[0] = name + " goes to " + axis.above.text + ", above its upper limit " +
                 FormatF(*axis.path.upper) + " (first " + Where(axis.above) + ")";
    }
    if (axis.below.found) {
      notes[1] = name + " goes to " + axis.below.text + ", below its lower limit " +
                 FormatF(*axis.path.lower) + " (first " + Where(axis.below) + ")";
    }
    // The side the axis left its range on first comes first.
    if (axis.below.found && (!axis.above.found || axis.below.move < axis.above.move)) {
      std::swap(notes[0], notes[1]);
    }
    for (std::string& note : notes) {
      if (!note.empty()) {
        report.limitNotes.push_back(std::move(note));
      }
    }
    if (axis.entry == nullptr || !axis.entry->speed) {
      report.untimed.push_back(name);
    }
    report.paths.push_back(axis.path);
    report.paths.back().moves = axis.moves;
  }
  return report;
}

std::vector<std::string> TimeText(const ScriptSummary& summary) {
  if (!summary.axisReport) {
    std::vector<std::string> text;
    if (summary.measurements > 0) {
      text.push_back("Counting time: at least " +
                     DurationText(static_cast<double>(summary.measurements) * summary.exposureSeconds) +
                     " of counting; motor moves come on top");
    }
    text.push_back(summary.axisTableProblem.empty() ? kNoAxisTableLine : summary.axisTableProblem);
    return text;
  }
  const AxisReport& report = *summary.axisReport;
  const double total = report.countingSeconds + report.moveSeconds + report.shutterSeconds;
  std::vector<std::string> text = {"Estimated run time " + DurationText(total) + " (counting " +
                                   DurationText(report.countingSeconds) + ", moves " +
                                   DurationText(report.moveSeconds) + ", shutter and beam stop " +
                                   DurationText(report.shutterSeconds) + ")"};
  if (report.paths.size() > report.untimed.size()) {
    text.emplace_back("Moves: first move of each axis counted from its farther limit");
  }
  if (!report.untimed.empty()) {
    std::string names;
    for (const std::string& axis : report.untimed) {
      names += (names.empty() ? "" : ", ") + axis;
    }
    text.push_back("Moves not timed (no speed in the axis table): " + names);
  }
  return text;
}

}  // namespace vesko
