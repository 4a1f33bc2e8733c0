#include "chart/wind_rose_view.h"

#include <QContextMenuEvent>
#include <QGraphicsSimpleTextItem>
#include <QLegend>
#include <QLineSeries>
#include <QMenu>
#include <QMouseEvent>
#include <QPolarChart>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace kestrum::chart {

namespace {

constexpr double kMargin = 14.0;     // between the rose's outer circle and the chart's edge
constexpr double kPickPixels = 7.0;  // a press this close to a point picks it
constexpr double kSquareSize = 8.0;
constexpr double kHeadroom = 1.06;   // radial range beyond the largest value

}  // namespace

WindRoseView::WindRoseView(QWidget* parent) : QChartView(new QPolarChart(), parent) {
  auto* polar = static_cast<QPolarChart*>(chart());
  polar->legend()->setVisible(false);
  polar->setMargins(QMargins(0, 0, 0, 0));
  polar->setBackgroundRoundness(0);
  angular_ = new QValueAxis(polar);
  angular_->setRange(0.0, 360.0);
  radial_ = new QValueAxis(polar);
  polar->addAxis(angular_, QPolarChart::PolarOrientationAngular);
  polar->addAxis(radial_, QPolarChart::PolarOrientationRadial);
  angular_->setVisible(false);
  radial_->setVisible(false);

  outline_ = new QLineSeries();
  squares_ = new QScatterSeries();
  squares_->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
  squares_->setMarkerSize(kSquareSize);
  squares_->setBorderColor(Qt::black);
  for (QXYSeries* s : std::initializer_list<QXYSeries*>{outline_, squares_}) {
    polar->addSeries(s);
    s->attachAxis(angular_);
    s->attachAxis(radial_);
  }
  const char* names[4] = {"N", "E", "S", "W"};
  for (int i = 0; i < 4; ++i) {
    compass_[i] = new QGraphicsSimpleTextItem(QString::fromLatin1(names[i]), polar);
    compass_[i]->setBrush(QColor(110, 110, 110));
  }
  setRenderHint(QPainter::Antialiasing, true);
  setFrameShape(QFrame::NoFrame);  // chart pixels are the widget's pixels
  setRubberBand(QChartView::NoRubberBand);
  setSeriesColor(color_);
  placePlot();
}

void WindRoseView::setValues(const QList<double>& values) {
  values_ = values;
  pointColors_ = QList<QColor>(values_.size(), color_);
  redraw();
}

void WindRoseView::setValue(int k, double value) {
  values_[k] = value;
  redraw();
}

void WindRoseView::setSeriesColor(const QColor& color) {
  color_ = color;
  outline_->setPen(QPen(color, 2));
  squares_->setColor(color);
  pointColors_.fill(color);
  redraw();
}

void WindRoseView::setPointColor(int k, const QColor& color) {
  pointColors_[k] = color;
  squares_->setPointConfiguration(k, QXYSeries::PointConfiguration::Color, color);
  chart()->update();
}

QColor WindRoseView::pointColor(int k) const { return pointColors_.at(k); }

void WindRoseView::redraw() {
  const int n = count();
  QList<QPointF> points;
  double top = 0.0;
  for (int k = 0; k < n; ++k) {
    points.append(QPointF(k * 360.0 / n, values_[k]));
    top = std::max(top, values_[k]);
  }
  // The outermost point stays inside the circle, its square whole.
  radial_->setRange(0.0, top > 0.0 ? top * kHeadroom : 1.0);
  squares_->replace(points);
  for (int k = 0; k < n; ++k) {
    squares_->setPointConfiguration(k, QXYSeries::PointConfiguration::Color, pointColors_[k]);
  }
  if (!points.isEmpty()) points.append(QPointF(360.0, points.first().y()));  // closed outline
  outline_->replace(points);
}

void WindRoseView::placePlot() {
  // A square plot centred in the chart: the rose's centre is the chart's centre.
  const double side = std::max(10.0, std::min(width(), height()) - 2.0 * kMargin);
  const QRectF plot((width() - side) / 2.0, (height() - side) / 2.0, side, side);
  chart()->setPlotArea(plot);
  // The four compass points just inside the chart's edge.
  const QPointF c = plot.center();
  const double r = side / 2.0 + kMargin / 2.0;
  const QPointF at[4] = {{c.x(), c.y() - r}, {c.x() + r, c.y()}, {c.x(), c.y() + r}, {c.x() - r, c.y()}};
  for (int i = 0; i < 4; ++i) {
    const QRectF box = compass_[i]->boundingRect();
    compass_[i]->setPos(at[i] - QPointF(box.width() / 2.0, box.height() / 2.0));
  }
}

QPointF WindRoseView::centre() const { return {width() / 2.0, height() / 2.0}; }

QPointF WindRoseView::pointPosition(int k) const {
  const QPointF scene = chart()->mapToPosition(QPointF(k * 360.0 / count(), values_[k]), squares_);
  return mapFromScene(chart()->mapToScene(scene));
}

int WindRoseView::pointAt(QPointF pixel) const {
  int best = -1;
  double bestDistance = kPickPixels;
  for (int k = 0; k < count(); ++k) {
    const QPointF p = pointPosition(k);
    const double d = std::hypot(p.x() - pixel.x(), p.y() - pixel.y());
    if (d <= bestDistance) {
      best = k;
      bestDistance = d;
    }
  }
  return best;
}

QMenu* WindRoseView::makeContextMenu() {
  return MakePictureMenu(pictureSource_ != nullptr ? *pictureSource_ : *this, this, chooser_);
}

void WindRoseView::resizeEvent(QResizeEvent* event) {
  QChartView::resizeEvent(event);
  placePlot();
}

void WindRoseView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    const QPoint pixel = event->position().toPoint();
    const int k = pointAt(pixel);
    if (k >= 0) emit pointPressed(k, pixel);
    event->accept();
    return;
  }
  QChartView::mousePressEvent(event);
}

void WindRoseView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    emit released(event->position().toPoint());
    event->accept();
    return;
  }
  if (event->button() == Qt::RightButton) {
    makeContextMenu()->popup(event->globalPosition().toPoint());
    event->accept();
    return;
  }
  QChartView::mouseReleaseEvent(event);
}

void WindRoseView::contextMenuEvent(QContextMenuEvent* event) {
  if (event->reason() != QContextMenuEvent::Mouse) makeContextMenu()->popup(event->globalPos());
  event->accept();
}

}  // namespace kestrum::chart
