#include "ui/axis_path_chart.h"

#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QValueAxis>
#include <algorithm>
#include <limits>

#include "ui/panel_support.h"

namespace vesko {

AxisPathChart::AxisPathChart(QWidget* parent)
    : QChartView(parent), axisX_(new QValueAxis), axisY_(new QValueAxis) {
  setObjectName(QStringLiteral("chtPreviewAxes"));
  setRenderHint(QPainter::Antialiasing);
  setMinimumHeight(200);
  chart()->addAxis(axisX_, Qt::AlignBottom);
  chart()->addAxis(axisY_, Qt::AlignLeft);
  axisX_->setTitleText(QStringLiteral("Move"));
  axisX_->setLabelFormat(QStringLiteral("%d"));
  axisY_->setTitleText(QStringLiteral("Target"));
  chart()->legend()->setAlignment(Qt::AlignRight);
  chart()->setMargins(QMargins(2, 2, 2, 2));
}

void AxisPathChart::showPaths(const std::vector<AxisPath>& paths) {
  chart()->removeAllSeries();
  double firstMove = std::numeric_limits<double>::infinity();
  double lastMove = -firstMove;
  double low = firstMove;
  double high = -firstMove;
  bool thinned = false;
  for (const AxisPath& path : paths) {
    for (const auto& [move, target] : path.points) {
      firstMove = std::min(firstMove, static_cast<double>(move));
      lastMove = std::max(lastMove, static_cast<double>(move));
      low = std::min(low, target);
      high = std::max(high, target);
    }
    for (const std::optional<double>& limit : {path.lower, path.upper}) {
      if (limit) {
        low = std::min(low, *limit);
        high = std::max(high, *limit);
      }
    }
    thinned = thinned || path.points.size() < path.moves;
  }
  if (!(firstMove <= lastMove)) {
    return;
  }
  for (const AxisPath& path : paths) {
    auto* series = new QLineSeries;
    series->setName(ToQt(path.axis));
    for (const auto& [move, target] : path.points) {
      series->append(static_cast<double>(move), target);
    }
    chart()->addSeries(series);
    series->attachAxis(axisX_);
    series->attachAxis(axisY_);
    const QColor colour = series->color();
    for (const auto& [limit, side] : {std::pair{path.lower, "lower"}, std::pair{path.upper, "upper"}}) {
      if (!limit) {
        continue;
      }
      auto* line = new QLineSeries;
      line->setName(ToQt(path.axis) + QLatin1Char(' ') + QLatin1String(side));
      line->append(firstMove, *limit);
      line->append(lastMove, *limit);
      line->setPen(QPen(colour, 1, Qt::DashLine));
      chart()->addSeries(line);
      line->attachAxis(axisX_);
      line->attachAxis(axisY_);
      chart()->legend()->markers(line).value(0)->setVisible(false);
    }
  }
  const double margin = high > low ? (high - low) * 0.05 : 0.5;
  axisX_->setRange(firstMove, std::max(lastMove, firstMove + 1));
  axisY_->setRange(low - margin, high + margin);
  chart()->setTitle(thinned ? QStringLiteral("Long paths thinned evenly: at most %1 points per axis")
                                  .arg(GroupedCount(kChartPointsPerAxis))
                            : QString());
}

}  // namespace vesko
