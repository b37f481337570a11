#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/line_sink.h"
#include "generators/axis_check.h"
#include "generators/axis_table.h"

namespace vesko {

struct SlitScanParams;
struct SlitDecScanParams;
struct SlitMoveParams;
struct CollScanParams;
struct LensScanParams;
struct GonioYScanParams;
struct GonioStageScan2Params;
enum class GonioYGenerator;

/// What the inputs of a scan say before any line is written.
struct ScanOutline {
  /// The scanned axis or blades as the script names them: "slit_y1 and slit_y2", "col_z".
  std::string scanned;
  /// Scan points of one pass (the centre and approach moves not counted).
  std::int64_t points = 0;
  /// Passes over the points: the repeat count, or the number of omega angles; 1 otherwise.
  std::int64_t passes = 1;
  /// Warnings that do not stop the script: a scan width of 0, a slit wider than the scan.
  std::vector<std::string> notes;
};

/// The positions one axis is moved to, as the script writes them.
struct AxisTravel {
  std::string axis;  // "slit_y1", "col_y", "gonio_y", "omega"
  std::uint64_t moves = 0;
  std::string first, last;      // the first and the last target, "#0.000" text as written
  std::string lowest, highest;  // the smallest and the largest target
};

/// Everything a preview shows above the script text.
struct ScriptSummary {
  ScanOutline outline;
  std::uint64_t lines = 0;
  /// Calls of MeasureCountsWithTimer.
  std::uint64_t measurements = 0;
  /// The script's "set exptime" value in seconds (0 when it sets none).
  double exposureSeconds = 0;
  /// Moved axes in the order of their first move.
  std::vector<AxisTravel> axes;
  /// The result files the script opens, as the control server will name them (Tcl escapes undone).
  std::vector<std::string> resultFiles;
  /// The outline's notes, then what the lines show: blades crossing, more than 10,000 lines.
  std::vector<std::string> notes;
  /// The moves, counts and shutter commands against the axis table; none without a table.
  std::optional<AxisReport> axisReport;
  /// Why the axis table could not be used; empty when there is a table or no file.
  std::string axisTableProblem;
};

/// The summary's line when the settings folder holds no axis table.
inline constexpr const char* kNoAxisTableLine = "No axis table: limits not checked, moves not timed.";

/// More lines than this get a note: a script this long is seldom meant.
inline constexpr std::uint64_t kLongScriptLines = 10000;

/// Reads a script as it is written and keeps only the figures of its summary; lines are also passed
/// on to `next` when one is given. Memory stays flat however long the script.
class SummarySink final : public LineSink {
 public:
  explicit SummarySink(LineSink* next = nullptr, AxisTableRead axes = {});
  void WriteLine(std::string_view line) override;
  void WriteLines(std::string_view lines) override;
  /// The summary of the lines so far, with `outline` and its notes in front.
  ScriptSummary Summary(const ScanOutline& outline) const;

 private:
  // An axis's travel, with its lowest and highest target as numbers.
  struct Travel {
    AxisTravel shown;
    double lowest = 0;
    double highest = 0;
  };
  // A blade pair of the 4D slit; its opening is blade 1 + blade 2 (blade 2 counts outward on the
  // other side). The pair is judged once its moves in a row are over, while the blades stand still.
  struct BladePair {
    const char* names = "";
    double blade[2] = {0, 0};
    bool known[2] = {false, false};
    bool moving = false;
    bool noted = false;
  };
  void Read(std::string_view line);
  bool ReadMove(std::string_view line);
  void Settle(BladePair& pair);
  static bool Crosses(const BladePair& pair);
  static std::string CrossingNote(const BladePair& pair);

  LineSink* next_;
  std::unique_ptr<AxisCheck> check_;  // with an axis table only
  std::string axisTableProblem_;
  std::uint64_t lines_ = 0;
  std::uint64_t measurements_ = 0;
  double exposureSeconds_ = 0;
  std::vector<Travel> axes_;
  std::vector<std::string> resultFiles_;
  BladePair pairs_[2] = {{.names = "slit_y1 and slit_y2"}, {.names = "slit_z1 and slit_z2"}};
  std::vector<std::string> crossings_;  // one note per blade pair, from its first crossing
};

/// The outline of each generator's inputs.
ScanOutline OutlineOf(const SlitScanParams& p);
ScanOutline OutlineOf(const SlitDecScanParams& p);
ScanOutline OutlineOf(const SlitMoveParams& p);
ScanOutline OutlineOf(const CollScanParams& p);
ScanOutline OutlineOf(const LensScanParams& p);
ScanOutline OutlineOf(const GonioYScanParams& p, GonioYGenerator generator);
ScanOutline OutlineOf(const GonioStageScan2Params& p);

/// Seconds as hours, minutes and seconds: 64 gives "0:01:04", 3600 "1:00:00"; rounded up to a second.
std::string DurationText(double seconds);

/// The summary's lines on time: with an axis table the run-time estimate (the total and its parts, then
/// how moves were counted); without one the counting time and why moves are not timed.
std::vector<std::string> TimeText(const ScriptSummary& summary);

/// The summary as lines of text, for the preview and for `vesko-script … --summary`.
std::vector<std::string> SummaryText(const ScriptSummary& summary);

}  // namespace vesko
