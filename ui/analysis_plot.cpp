#include "ui/analysis_plot.h"

#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QList>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <limits>

#include "analysis/break_analysis.h"
#include "core/format.h"
#include "ui/panel_support.h"

namespace vesko {

namespace {

const QColor kLineColour(31, 119, 180);
const QColor kBreakColour(214, 39, 40);
const QColor kLevelColour(44, 160, 44);
const QColor kCrossColour(40, 40, 40);

// The smallest interval holding every value taken.
struct Span {
  double lo = std::numeric_limits<double>::infinity();
  double hi = -std::numeric_limits<double>::infinity();
  void Take(double value) {
    lo = std::min(lo, value);
    hi = std::max(hi, value);
  }
};

// Room around the drawn values, so no point sits on the frame.
Span Padded(const Span& span) {
  const double room = span.hi > span.lo ? (span.hi - span.lo) * 0.08 : 1.0;
  return {span.lo - room, span.hi + room};
}

QScatterSeries* Points(const char* objectName, const QString& name, QScatterSeries::MarkerShape shape,
                       qreal size, const QColor& colour) {
  auto* series = Named(new QScatterSeries, objectName);
  series->setName(name);
  series->setMarkerShape(shape);
  series->setMarkerSize(size);
  series->setColor(colour);
  series->setBorderColor(colour);
  return series;
}

QLineSeries* Line(const char* objectName, const QString& name, const QPen& pen) {
  auto* series = Named(new QLineSeries, objectName);
  series->setName(name);
  series->setPen(pen);
  return series;
}

}  // namespace

AnalysisPlot::AnalysisPlot(QWidget* parent)
    : QChartView(parent), axisX_(new QValueAxis), axisY_(new QValueAxis) {
  setObjectName(QStringLiteral("chtGraph"));
  setRenderHint(QPainter::Antialiasing);
  setMinimumSize(600, 400);
  axisX_->setTitleText(QStringLiteral("Blade 1 position"));
  axisY_->setTitleText(QStringLiteral("Intensity"));
  chart()->addAxis(axisX_, Qt::AlignBottom);
  chart()->addAxis(axisY_, Qt::AlignLeft);
  chart()->legend()->setAlignment(Qt::AlignBottom);
}

void AnalysisPlot::clear() {
  chart()->removeAllSeries();
}

void AnalysisPlot::showRun(const BreakAnalysis& run) {
  clear();
  if (!run.passedGate) {
    showRefused(run.rows);
    return;
  }
  const std::vector<double>& x = run.rows.x;
  const std::vector<double>& y = run.rows.y;

  // The scan in file order, then each point in the part of the model it went to.
  auto* measured = Line("measuredCurve", QStringLiteral("Measured"), QPen(Qt::gray, 1));
  auto* linePoints =
      Points("linePoints", QStringLiteral("Line points"), QScatterSeries::MarkerShapeCircle, 9, kLineColour);
  auto* breakPoint = Points("breakPoint", QStringLiteral("Break"),
                            QScatterSeries::MarkerShapeRotatedRectangle, 15, kBreakColour);
  auto* levelPoints = Points("levelPoints", QStringLiteral("Level points"),
                             QScatterSeries::MarkerShapeRectangle, 8, kLevelColour);
  Span xs;
  Span ys;
  Span lineXs;
  Span levelXs;
  for (std::size_t i = 0; i < x.size(); ++i) {
    measured->append(x[i], y[i]);
    xs.Take(x[i]);
    ys.Take(y[i]);
    if (i < run.breakIndex) {
      linePoints->append(x[i], y[i]);
      lineXs.Take(x[i]);
    } else if (i == run.breakIndex) {
      breakPoint->append(x[i], y[i]);
    } else {
      levelPoints->append(x[i], y[i]);
      levelXs.Take(x[i]);
    }
  }
  QList<QAbstractSeries*> drawn{measured, linePoints, breakPoint, levelPoints};

  // The line spans its own points and the level its own, each reaching as far as the crossing.
  if (run.crossX) {
    xs.Take(*run.crossX);
    lineXs.Take(*run.crossX);
    levelXs.Take(*run.crossX);
  }
  if (!run.line.singular) {
    auto* fitted = Line("fittedLine", QStringLiteral("Fitted line"), QPen(kLineColour, 2));
    for (const double at : {lineXs.lo, lineXs.hi}) {
      const double value = run.line.a0 + run.line.a1 * at;
      fitted->append(at, value);
      ys.Take(value);
    }
    drawn.append(fitted);
  }
  auto* level = Line("levelLine", QStringLiteral("Level"), QPen(kLevelColour, 2));
  level->append(levelXs.lo, run.level);
  level->append(levelXs.hi, run.level);
  ys.Take(run.level);
  drawn.append(level);

  const Span xAxis = Padded(xs);
  const Span yAxis = Padded(ys);
  QLineSeries* drop = nullptr;
  if (run.crossX) {
    const QString text = QStringLiteral("x = ") + ToQt(FormatF5(*run.crossX));
    // A dashed drop from the crossing to the position axis, where its x can be read off.
    drop = Line("crossDrop", QString(), QPen(kCrossColour, 1, Qt::DashLine));
    drop->append(*run.crossX, yAxis.lo);  // moved onto the axis once its range is settled
    drop->append(*run.crossX, run.level);
    auto* cross =
        Points("crossPoint", QStringLiteral("Crossing"), QScatterSeries::MarkerShapeStar, 18, kCrossColour);
    // Hollow, so a measured point under it stays visible.
    cross->setColor(Qt::transparent);
    cross->append(*run.crossX, run.level);
    cross->setPointLabelsFormat(text);
    cross->setPointLabelsVisible(true);
    cross->setPointLabelsClipping(false);
    drawn.append(drop);
    drawn.append(cross);
  }

  draw(drawn, {measured, drop}, xAxis.lo, xAxis.hi, yAxis.lo, yAxis.hi);
  if (drop) {
    drop->replace(0, QPointF(*run.crossX, axisY_->min()));
  }
}

void AnalysisPlot::showRefused(const ResultRows& rows) {
  // No model was fitted: the points alone show why no break was found.
  if (rows.x.empty()) {
    return;
  }
  auto* measured = Line("measuredCurve", QStringLiteral("Measured"), QPen(Qt::gray, 1));
  auto* points =
      Points("measuredPoints", QStringLiteral("Points"), QScatterSeries::MarkerShapeCircle, 9, kLineColour);
  Span xs;
  Span ys;
  for (std::size_t i = 0; i < rows.x.size(); ++i) {
    measured->append(rows.x[i], rows.y[i]);
    points->append(rows.x[i], rows.y[i]);
    xs.Take(rows.x[i]);
    ys.Take(rows.y[i]);
  }
  const Span xAxis = Padded(xs);
  const Span yAxis = Padded(ys);
  draw({measured, points}, {measured}, xAxis.lo, xAxis.hi, yAxis.lo, yAxis.hi);
}

void AnalysisPlot::draw(const QList<QAbstractSeries*>& drawn, std::initializer_list<QLineSeries*> guides,
                        double xLow, double xHigh, double yLow, double yHigh) {
  for (QAbstractSeries* series : drawn) {
    chart()->addSeries(series);
    series->attachAxis(axisX_);
    series->attachAxis(axisY_);
  }
  // Connecting curves and drops are guides, not results: they stay out of the legend.
  for (QLineSeries* guide : guides) {
    if (!guide) {
      continue;  // markers(nullptr) would be every marker
    }
    for (QLegendMarker* marker : chart()->legend()->markers(guide)) {
      marker->setVisible(false);
    }
  }
  axisX_->setRange(xLow, xHigh);
  axisY_->setRange(yLow, yHigh);
  axisX_->applyNiceNumbers();
  axisY_->applyNiceNumbers();
}

}  // namespace vesko
