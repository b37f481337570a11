#pragma once

#include <QChartView>
#include <QPointF>
#include <QString>
#include <vector>

#include "analysis/result_series.h"
#include "analysis/scan_figures.h"

class QValueAxis;

namespace vesko {

/// One result file as read, with the figures of each of its series.
struct LoadedResults {
  QString path;
  ResultSet set;
  std::vector<FigureBlock> blocks;
};

/// The series of the open result files against their position: passes thin, the average bold, the
/// return to the centre as its own marker, with markers for each series' peak, half-maximum span and
/// steepest edge. A rubber band zooms in; the position under the cursor is reported.
class ResultsPlot final : public QChartView {
  Q_OBJECT

 public:
  explicit ResultsPlot(QWidget* parent = nullptr);

  /// Draws `files` afresh; a zoomed view keeps its ranges unless `fit` is set.
  void showResults(const std::vector<LoadedResults>& files, bool fit);
  /// Back to the ranges that hold every point.
  void resetZoom();
  /// Writes the plot as a PNG or, for a name ending in ".svg", an SVG picture; false when it cannot.
  bool exportTo(const QString& path);

 signals:
  /// The position and intensity under the cursor, in the axes' units.
  void cursorMoved(QPointF value);

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  QValueAxis* axisX_;
  QValueAxis* axisY_;
  double fit_[4] = {0, 1, 0, 1};
};

}  // namespace vesko
