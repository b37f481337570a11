#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "generators/axis_table.h"

namespace vesko {

/// At most this many targets of one axis are kept for a chart; a longer path is thinned evenly (every
/// 2nd, then every 4th, … move kept). The limit notes and the estimate still take every move.
inline constexpr std::size_t kChartPointsPerAxis = 2000;

/// One moved axis' targets for a chart, with its limits from the table.
struct AxisPath {
  std::string axis;  // as the table names it: "slit_y1", "stage_y"
  std::optional<double> lower;
  std::optional<double> upper;
  /// (move number, target): moves are counted over the whole script from 1, every axis together.
  std::vector<std::pair<std::uint64_t, double>> points;
  /// The axis' moves: more than `points` when the path was thinned.
  std::uint64_t moves = 0;
};

/// What the axis table says about one script.
struct AxisReport {
  /// One note per axis and side beyond a limit, in the order of the axes' first moves:
  /// "slit_y1 goes to 5.550, above its upper limit 5.000 (first at point 3)".
  std::vector<std::string> limitNotes;
  /// Exposure plus the table's overhead, for every count measurement.
  double countingSeconds = 0;
  double moveSeconds = 0;
  double shutterSeconds = 0;
  /// Moved axes whose travel is not timed (no speed in the table), in the order of their first moves.
  std::vector<std::string> untimed;
  /// The moved axes, in the order of their first moves.
  std::vector<AxisPath> paths;
};

/// Follows a script's moves, count measurements and shutter commands against an axis table.
///
/// "Point N" in a limit note is the count measurement the move is taken for: the first measurement
/// after it (so every move of scan point N says N, whatever moves and counts come before the scan).
/// A move that no measurement follows says "after point M" (M the script's last measurement), or in a
/// script without any measurement "at move K" (K counted over the whole script from 1).
class AxisCheck {
 public:
  explicit AxisCheck(AxisTable table);
  AxisCheck(const AxisCheck&) = delete;
  AxisCheck& operator=(const AxisCheck&) = delete;

  /// A move "<command> {<axis> move <target>}": `target` as written and read back as `value`.
  void Move(std::string_view command, std::string_view axis, std::string_view target, double value);
  /// `calls` count measurements at the script's exposure `exposureSeconds`.
  void Measure(std::uint64_t calls, double exposureSeconds);
  /// A shutter or beam-stop command.
  void Shutter();
  AxisReport Report() const;

 private:
  // The farthest target beyond one limit and the move that first went there.
  struct Beyond {
    bool found = false;
    double value = 0;
    std::string text;
    std::uint64_t point = 0;
    std::uint64_t move = 0;
  };
  struct Tracked {
    AxisPath path;
    const AxisEntry* entry = nullptr;
    double previous = 0;
    Beyond above;
    Beyond below;
    std::uint64_t moves = 0;
    std::uint64_t stride = 1;
  };
  void Time(Tracked& axis, double value);
  void Keep(Tracked& axis, double value) const;
  std::string Where(const Beyond& beyond) const;

  AxisTable table_;
  std::vector<Tracked> axes_;
  std::uint64_t moves_ = 0;
  std::uint64_t measurements_ = 0;
  double countingSeconds_ = 0;
  double moveSeconds_ = 0;
  double shutterSeconds_ = 0;
};

/// The table's name of an axis a script moves: the gonio stage's "y" and "z" are "stage_y" and
/// "stage_z"; every other axis keeps its name.
std::string TableAxisName(std::string_view command, std::string_view axis);

}  // namespace vesko
