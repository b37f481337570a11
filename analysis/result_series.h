#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"

namespace vesko {

/// The kind of scan that wrote a result file, told by its header line.
enum class ResultLayout {
  SlitScan,     // slit_y1, slit_y2, slit_center, Intensity: intensity against slit_center
  SlitDecScan,  // slit_y1,slit_y2,Intensity: intensity against blade 1
  CollScan,     // col_y, Io, I, I/Io
  LensScan,     // lens_y, Io (and the other lens axes)
  GonioYScan,   // GonioY,Io,I,I/Io
  GonioStage,   // gonio_stage_y,Io,I,I/Io
  Generic,      // any other comma-separated file: first column against last
};

/// A short name of the layout for listings ("slit-scan", "generic", ...).
std::string_view LayoutName(ResultLayout layout);

/// One measured point outside the scan.
struct ResultPoint {
  double x = 0;
  double y = 0;
  /// Io and I of a two-counter scan; 0 for the others.
  double io = 0;
  double i = 0;
};

/// The points of one series in file order, the return-to-centre row left out.
struct ResultSeries {
  /// "data", "RepeatNN", "Average" or "generic".
  std::string name;
  std::vector<double> x;
  /// The plotted intensity: I/Io for the two-counter scans.
  std::vector<double> y;
  /// Io and I of the two-counter scans (empty for the others), point for point with x.
  std::vector<double> io;
  std::vector<double> i;
  /// The row measured once more at the scan centre after the points, where the scan writes one.
  std::optional<ResultPoint> returnRow;
};

/// Everything read from one result file.
struct ResultSet {
  ResultLayout layout = ResultLayout::Generic;
  /// Column names of the position and the intensity, as the header gives them.
  std::string xName;
  std::string yName;
  std::vector<ResultSeries> series;
};

/// What a file without any series is told apart by, naming `path`.
std::string NoSeriesMessage(const std::string& path);

/// Reads a result file in one pass. Its first line names the layout; each following line is one
/// row of comma-separated numbers. The first line that is not a row ends a series: when it is a
/// header of the same layout ("(RepeatNN)" or "(Average)" after the column names), a new series
/// starts, otherwise the reading ends. A file without lines has no series. Refused with
/// "Cannot read <path>: <reason>" when the file cannot be read. With `wholeLinesOnly` a last line
/// without its line end, one still being written, is not read.
Result<ResultSet> ReadResultSet(const std::string& path, bool wholeLinesOnly = false);

/// The intensity columns a set offers: "I/Io", "Io" and "I" for the two-counter scans, the one
/// intensity column for the others.
std::vector<std::string> IntensityColumns(const ResultSet& set);

/// Makes `column` (one of IntensityColumns) the intensity of every series, the return rows
/// included; false, with the set unchanged, when the set has no such column.
bool UseIntensityColumn(ResultSet& set, const std::string& column);

}  // namespace vesko
