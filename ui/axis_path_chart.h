#pragma once

#include <QChartView>
#include <vector>

#include "generators/axis_check.h"

class QValueAxis;

namespace vesko {

/// A small chart of every moved axis' targets against the script's move number, one line per axis, with
/// its limits from the axis table as dashed horizontal lines of the same colour.
class AxisPathChart final : public QChartView {
  Q_OBJECT

 public:
  explicit AxisPathChart(QWidget* parent = nullptr);
  /// Shows `paths` in place of what was shown.
  void showPaths(const std::vector<AxisPath>& paths);

 private:
  QValueAxis* axisX_;
  QValueAxis* axisY_;
};

}  // namespace vesko
