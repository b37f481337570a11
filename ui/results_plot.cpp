#include "ui/results_plot.h"

#include <QBuffer>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QList>
#include <QMouseEvent>
#include <QPainter>
#include <QScatterSeries>
#include <QSvgGenerator>
#include <QValueAxis>
#include <algorithm>
#include <limits>

#include "core/safe_file.h"
#include "ui/panel_support.h"

namespace vesko {

namespace {

// The smallest interval holding every value taken.
struct Span {
  double lo = std::numeric_limits<double>::infinity();
  double hi = -std::numeric_limits<double>::infinity();
  void Take(double value) {
    lo = std::min(lo, value);
    hi = std::max(hi, value);
  }
};

QScatterSeries* Marker(const char* objectName, QScatterSeries::MarkerShape shape, qreal size,
                       const QColor& colour) {
  auto* series = Named(new QScatterSeries, objectName);
  series->setMarkerShape(shape);
  series->setMarkerSize(size);
  series->setColor(colour);
  series->setBorderColor(colour.darker(150));
  return series;
}

qreal PenWidth(const std::string& series) {
  if (series == "Average") {
    return 3.5;
  }
  return series.rfind("Repeat", 0) == 0 ? 1.0 : 2.0;
}

QString FileName(const QString& path) {
  const qsizetype slash = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
  return path.mid(slash + 1);
}

}  // namespace

ResultsPlot::ResultsPlot(QWidget* parent)
    : QChartView(parent), axisX_(new QValueAxis), axisY_(new QValueAxis) {
  setObjectName(QStringLiteral("chtResults"));
  setRenderHint(QPainter::Antialiasing);
  setMinimumSize(560, 360);
  setRubberBand(QChartView::RectangleRubberBand);
  setMouseTracking(true);
  viewport()->setMouseTracking(true);
  chart()->addAxis(axisX_, Qt::AlignBottom);
  chart()->addAxis(axisY_, Qt::AlignLeft);
  chart()->legend()->setAlignment(Qt::AlignBottom);
}

void ResultsPlot::showResults(const std::vector<LoadedResults>& files, bool fit) {
  // A view the operator zoomed (its ranges no longer those that hold every point) stays as it is.
  const bool zoomed = axisX_->min() != fit_[0] || axisX_->max() != fit_[1] || axisY_->min() != fit_[2] ||
                      axisY_->max() != fit_[3];
  chart()->removeAllSeries();
  Span xs;
  Span ys;
  QList<QAbstractSeries*> markers;
  for (const LoadedResults& file : files) {
    for (std::size_t k = 0; k < file.set.series.size(); ++k) {
      const ResultSeries& s = file.set.series[k];
      auto* curve = Named(new QLineSeries, "curve");
      curve->setName(FileName(file.path) + QStringLiteral(": ") + ToQt(s.name));
      QList<QPointF> points;
      points.reserve(static_cast<qsizetype>(s.x.size()));
      for (std::size_t i = 0; i < s.x.size(); ++i) {
        points.append(QPointF(s.x[i], s.y[i]));
        xs.Take(s.x[i]);
        ys.Take(s.y[i]);
      }
      curve->replace(points);
      chart()->addSeries(curve);  // the chart's theme gives the curve its colour
      QPen pen(curve->color(), PenWidth(s.name));
      curve->setPen(pen);
      const QColor colour = curve->color();

      if (s.returnRow) {
        auto* back = Marker("returnRow", QScatterSeries::MarkerShapeRectangle, 11, Qt::white);
        back->setBorderColor(colour);
        back->append(s.returnRow->x, s.returnRow->y);
        xs.Take(s.returnRow->x);
        ys.Take(s.returnRow->y);
        markers.append(back);
      }
      const ScanFigures& f = file.blocks[k].figures;
      if (f.maxX && f.maxY) {
        auto* peak = Marker("peakMarker", QScatterSeries::MarkerShapeStar, 16, colour);
        peak->append(*f.maxX, *f.maxY);
        markers.append(peak);
      }
      if (f.halfLeft && f.halfRight && f.halfLevel) {
        auto* span = Named(new QLineSeries, "halfMaximumSpan");
        span->setPen(QPen(colour, 1.5, Qt::DashLine));
        span->append(*f.halfLeft, *f.halfLevel);
        span->append(*f.halfRight, *f.halfLevel);
        markers.append(span);
      }
      if (f.edgeX && f.edgeIndex) {
        auto* edge = Marker("edgeMarker", QScatterSeries::MarkerShapeTriangle, 13, colour);
        edge->append(*f.edgeX, (s.y[*f.edgeIndex] + s.y[*f.edgeIndex + 1]) / 2);
        markers.append(edge);
      }
    }
  }
  for (QAbstractSeries* series : chart()->series()) {
    series->attachAxis(axisX_);
    series->attachAxis(axisY_);
  }
  for (QAbstractSeries* marker : markers) {
    chart()->addSeries(marker);
    marker->attachAxis(axisX_);
    marker->attachAxis(axisY_);
    // Markers explain themselves in the figures table; the legend names the curves only.
    for (QLegendMarker* entry : chart()->legend()->markers(marker)) {
      entry->setVisible(false);
    }
  }
  if (!files.empty()) {
    axisX_->setTitleText(ToQt(files.front().set.xName));
    axisY_->setTitleText(ToQt(files.front().set.yName));
  }
  if (xs.lo > xs.hi) {
    xs = {0, 1};
    ys = {0, 1};
  }
  const double xRoom = xs.hi > xs.lo ? (xs.hi - xs.lo) * 0.04 : 1.0;
  const double yRoom = ys.hi > ys.lo ? (ys.hi - ys.lo) * 0.06 : 1.0;
  fit_[0] = xs.lo - xRoom;
  fit_[1] = xs.hi + xRoom;
  fit_[2] = ys.lo - yRoom;
  fit_[3] = ys.hi + yRoom;
  if (fit || !zoomed) {
    resetZoom();
  }
}

void ResultsPlot::resetZoom() {
  axisX_->setRange(fit_[0], fit_[1]);
  axisY_->setRange(fit_[2], fit_[3]);
}

bool ResultsPlot::exportTo(const QString& path) {
  QBuffer picture;
  picture.open(QIODevice::WriteOnly);
  if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
    QSvgGenerator svg;
    svg.setOutputDevice(&picture);
    svg.setSize(size());
    svg.setViewBox(rect());
    svg.setTitle(QStringLiteral("Results"));
    QPainter painter;
    if (!painter.begin(&svg)) {
      return false;
    }
    render(&painter);
    if (!painter.end()) {
      return false;
    }
  } else if (!grab().save(&picture, "PNG")) {
    return false;
  }
  // Replaced whole or not at all, as the scripts are.
  return !ReplaceFileBytes(path.toStdString(), picture.data().toStdString());
}

void ResultsPlot::mouseMoveEvent(QMouseEvent* event) {
  emit cursorMoved(chart()->mapToValue(event->position()));
  QChartView::mouseMoveEvent(event);
}

}  // namespace vesko
