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

#include "chart/axis_scale.h"

namespace kestrum::chart {

namespace {

constexpr double kMargin = 14.0;     // between the rose's outer circle and the chart's edge
constexpr double kPickPixels = 7.0;  // a press this close to a point picks it
constexpr double kSquareSize = 8.0;
constexpr double kHeadroom = 1.06;   // radial range beyond the largest value
constexpr int kRings = 4;            // at most, besides the centre
const QColor kRingColour(185, 185, 185);

// Decimals of a ring's label.
int RingDecimals(double step) { return DecimalsForStep(step); }

}  // namespace

WindRoseView::WindRoseView(QWidget* parent) : QChartView(new QPolarChart(), parent) {
  auto* polar = static_cast<QPolarChart*>(chart());
  polar->legend()->setVisible(false);
  // Room for the compass points around the outer circle; the plot is square and centred.
  const int margin = static_cast<int>(kMargin);
  polar->setMargins(QMargins(margin, margin, margin, margin));
  polar->setBackgroundRoundness(0);
  angular_ = new QValueAxis(polar);
  angular_->setRange(0.0, 360.0);
  radial_ = new QValueAxis(polar);
  polar->addAxis(angular_, QPolarChart::PolarOrientationAngular);
  polar->addAxis(radial_, QPolarChart::PolarOrientationRadial);
  // Spokes every 45 degrees inside an outer circle; no angle labels (the compass points
  // name the directions).
  angular_->setTickCount(9);
  angular_->setLabelsVisible(false);
  angular_->setLinePen(QPen(kRingColour, 1));
  angular_->setGridLinePen(QPen(kRingColour, 1, Qt::DotLine));
  // Rings, each labelled with its value as a percentage along the spoke to the north-east.
  radial_->setLineVisible(false);
  radial_->setLabelsVisible(false);
  radial_->setGridLinePen(QPen(kRingColour, 1));

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
  connect(polar, &QChart::plotAreaChanged, this, [this] { placeLabels(); });
  placeLabels();
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
  // Rings at even steps; the outermost point stays inside the last ring, its square whole.
  const double step = NiceStep(top > 0.0 ? top * kHeadroom : 1.0, kRings);
  const int rings = std::max(1, static_cast<int>(std::ceil(top * kHeadroom / step - 1e-9)));
  radial_->setRange(0.0, rings * step);
  radial_->setTickCount(rings + 1);
  while (ringLabels_.size() > rings) delete ringLabels_.takeLast();
  while (ringLabels_.size() < rings) {
    auto* label = new QGraphicsSimpleTextItem(chart());
    QFont font = label->font();
    font.setPixelSize(10);
    label->setFont(font);
    label->setBrush(QColor(90, 90, 90));
    label->setZValue(1000.0);  // over the outline
    ringLabels_.append(label);
  }
  for (int i = 0; i < rings; ++i) {
    ringLabels_[i]->setText(QString::number((i + 1) * step, 'f', RingDecimals(step)) +
                            QLatin1Char('%'));
  }
  placeLabels();
  squares_->replace(points);
  for (int k = 0; k < n; ++k) {
    squares_->setPointConfiguration(k, QXYSeries::PointConfiguration::Color, pointColors_[k]);
  }
  if (!points.isEmpty()) points.append(QPointF(360.0, points.first().y()));  // closed outline
  outline_->replace(points);
}

void WindRoseView::placeLabels() {
  const QRectF plot = chart()->plotArea();
  const QPointF c = plot.center();
  // The four compass points just outside the outer circle.
  const double r = plot.width() / 2.0 + kMargin / 2.0;
  const QPointF at[4] = {{c.x(), c.y() - r}, {c.x() + r, c.y()}, {c.x(), c.y() + r}, {c.x() - r, c.y()}};
  for (int i = 0; i < 4; ++i) {
    const QRectF box = compass_[i]->boundingRect();
    compass_[i]->setPos(at[i] - QPointF(box.width() / 2.0, box.height() / 2.0));
  }
  // Each ring's value just outside the ring, on the spoke to the north-east.
  const int n = static_cast<int>(ringLabels_.size());
  const double diagonal = std::sqrt(0.5);
  for (int i = 0; i < n; ++i) {
    const double ringRadius = plot.width() / 2.0 * (i + 1) / n;
    ringLabels_[i]->setPos(c + QPointF(ringRadius * diagonal + 1.0,
                                       -ringRadius * diagonal - ringLabels_[i]->boundingRect().height()));
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

QList<double> WindRoseView::rings() const {
  QList<double> values;
  const int n = radial_->tickCount() - 1;
  for (int i = 1; i <= n; ++i) values.append(radial_->max() * i / n);
  return values;
}

QStringList WindRoseView::ringLabels() const {
  QStringList labels;
  for (const QGraphicsSimpleTextItem* label : ringLabels_) labels.append(label->text());
  return labels;
}

QMenu* WindRoseView::makeContextMenu() {
  PictureMaker make = pictureMaker_;
  if (!make) make = [this] { return ScenePicture(*this, QString()); };
  return MakePictureMenu(make, this, chooser_);
}

void WindRoseView::resizeEvent(QResizeEvent* event) {
  QChartView::resizeEvent(event);
  placeLabels();
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
