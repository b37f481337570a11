#pragma once

#include <QChartView>
#include <QList>
#include <initializer_list>

class QAbstractSeries;
class QLineSeries;
class QValueAxis;

namespace vesko {

struct BreakAnalysis;
struct ResultRows;

/// Intensity against blade-1 position for one analysis run, drawn as the window computed it.
class AnalysisPlot final : public QChartView {
  Q_OBJECT

 public:
  explicit AnalysisPlot(QWidget* parent = nullptr);

  /// Draws the run's points (those of the line, the break and those of the level told apart), the
  /// fitted line, the level and the crossing with its x; a run stopped at the gate shows its points alone.
  void showRun(const BreakAnalysis& run);
  /// Removes every series; the axes stay.
  void clear();

 private:
  void showRefused(const ResultRows& rows);
  /// Adds `drawn` over the given ranges; the `guides` stay out of the legend.
  void draw(const QList<QAbstractSeries*>& drawn, std::initializer_list<QLineSeries*> guides, double xLow,
            double xHigh, double yLow, double yHigh);

  QValueAxis* axisX_;
  QValueAxis* axisY_;
};

}  // namespace vesko
