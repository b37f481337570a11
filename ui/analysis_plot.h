#pragma once

#include <QChartView>

class QValueAxis;

namespace vesko {

struct BreakAnalysis;

/// Intensity against blade-1 position for one analysis run, drawn as the window computed it.
class AnalysisPlot final : public QChartView {
  Q_OBJECT

 public:
  explicit AnalysisPlot(QWidget* parent = nullptr);

  /// Draws the run's points (those of the line, the break and those of the level told apart), the
  /// fitted line, the level and the crossing with its x; a run stopped at the gate leaves it empty.
  void showRun(const BreakAnalysis& run);
  /// Removes every series; the axes stay.
  void clear();

 private:
  QValueAxis* axisX_;
  QValueAxis* axisY_;
};

}  // namespace vesko
