#include "chart/chart_view.h"

#include <QAction>
#include <QChart>
#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMenu>
#include <QMouseEvent>
#include <QRubberBand>
#include <QScatterSeries>
#include <QToolTip>
#include <QValueAxis>
#include <QVariantAnimation>
#include <algorithm>
#include <cmath>

#include "chart/axis_scale.h"
#include "chart/line_series.h"

namespace kestrum::chart {

namespace {

constexpr int kBottom = static_cast<int>(Axis::Bottom);
constexpr int kHoverPixels = 10;
constexpr int kZoomAnimationMs = 250;

int Index(Axis a) { return static_cast<int>(a); }

// The labelled steps that fit into a length of pixels.
int StepsFor(double pixels, double pixelsPerStep, int fallback) {
  return pixels > 40.0 ? std::max(2, static_cast<int>(pixels / pixelsPerStep)) : fallback;
}

}  // namespace

ChartView::ChartView(QWidget* parent) : QChartView(new QChart(), parent) {
  QChart* c = chart();
  c->setMargins(QMargins(4, 4, 4, 4));
  c->legend()->setAlignment(Qt::AlignBottom);
  const Qt::Alignment places[3] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignBottom};
  for (int i = 0; i < 3; ++i) {
    axes_[i] = new QValueAxis(c);
    axes_[i]->setTickType(QValueAxis::TicksDynamic);
    axes_[i]->setTickAnchor(0.0);
    c->addAxis(axes_[i], places[i]);
  }
  axes_[Index(Axis::Right)]->setVisible(false);
  setRenderHint(QPainter::Antialiasing, false);
  setFrameShape(QFrame::NoFrame);  // chart pixels are the widget's pixels
  setRubberBand(QChartView::NoRubberBand);
  setMouseTracking(true);
  viewport()->setMouseTracking(true);
  band_ = new QRubberBand(QRubberBand::Rectangle, viewport());
  animation_ = new QVariantAnimation(this);
  animation_->setDuration(kZoomAnimationMs);
  animation_->setEasingCurve(QEasingCurve::OutCubic);
  animation_->setStartValue(0.0);
  animation_->setEndValue(1.0);
  connect(c, &QChart::plotAreaChanged, this, [this] {
    if (refreshing_) return;
    drawSeries();
    placeLegend();
  });
  refresh();
}

ChartView::~ChartView() = default;

void ChartView::clearTitle() {
  titleLines_.clear();
  chart()->setTitle(QString());
}

void ChartView::addTitleLine(const QString& line) {
  titleLines_.append(line);
  QStringList escaped;
  for (const QString& l : titleLines_) escaped.append(l.toHtmlEscaped());
  // The title is shown as rich text: lines are broken with <br>.
  chart()->setTitle(escaped.join(QStringLiteral("<br>")));
}

void ChartView::setTitleFont(const QFont& font, const QColor& color) {
  chart()->setTitleFont(font);
  chart()->setTitleBrush(QBrush(color));
}

void ChartView::setAxisTitle(Axis which, const QString& title) { axis(which)->setTitleText(title); }

QString ChartView::axisTitle(Axis which) const { return axis(which)->titleText(); }

void ChartView::setRightAxisVisible(bool visible) { axis(Axis::Right)->setVisible(visible); }

bool ChartView::rightAxisVisible() const { return axis(Axis::Right)->isVisible(); }

void ChartView::setAxisMinimum(Axis which, double minimum) {
  state_[Index(which)].fixedMin = minimum;
  refresh();
}

void ChartView::setAutomaticScaling() {
  for (AxisState& s : state_) {
    s.fixedMin.reset();
    s.fixedMax.reset();
  }
  refresh();
}

bool ChartView::isAutomatic(Axis which) const {
  const AxisState& s = state_[Index(which)];
  return !s.fixedMin && !s.fixedMax;
}

double ChartView::axisMin(Axis which) const { return axis(which)->min(); }

double ChartView::axisMax(Axis which) const { return axis(which)->max(); }

void ChartView::setAxisLabelFormat(Axis which, const QString& format) {
  state_[Index(which)].labelFormat = format;
  refresh();
}

void ChartView::setLegendVisible(bool visible) {
  legendVisible_ = visible;
  chart()->legend()->setVisible(visible);
  placeLegend();
}

bool ChartView::legendVisible() const { return legendVisible_; }

void ChartView::setLegendPlace(LegendPlace place) {
  legendPlace_ = place;
  QLegend* legend = chart()->legend();
  if (place == LegendPlace::TopRightOverPlot) {
    legend->setAlignment(Qt::AlignRight);  // markers one below the other
    legend->detachFromChart();
    legend->setBackgroundVisible(true);
    legend->setBrush(QBrush(QColor(255, 255, 255, 230)));
    legend->setPen(QPen(QColor(160, 160, 160)));
  } else {
    legend->attachToChart();
    legend->setAlignment(Qt::AlignBottom);
    legend->setBackgroundVisible(false);
  }
  legend->setVisible(legendVisible_);
  placeLegend();
}

void ChartView::placeLegend() {
  if (legendPlace_ != LegendPlace::TopRightOverPlot || !legendVisible_) return;
  QLegend* legend = chart()->legend();
  const QFontMetricsF metrics(legend->font());
  double width = 0.0;
  int rows = 0;
  for (QLegendMarker* marker : legend->markers()) {
    if (!marker->isVisible()) continue;
    width = std::max(width, metrics.horizontalAdvance(marker->label()));
    ++rows;
  }
  if (rows == 0) return;
  // A marker row is its label with the colour box and Qt's spacing around both.
  const QSizeF size(width + 46.0, rows * (metrics.height() + 11.0) + 17.0);
  const QRectF plot = chart()->plotArea();
  legend->setGeometry(QRectF(plot.right() - size.width() - 6.0, plot.top() + 6.0, size.width(),
                             size.height()));
  legend->update();
}

void ChartView::updateLegendMarkers() {
  QLegend* legend = chart()->legend();
  for (LineSeries* s : series_) {
    for (QLegendMarker* m : legend->markers(s->qtSeries())) m->setVisible(!s->isEmpty());
  }
  if (marks_ != nullptr) {
    for (QLegendMarker* m : legend->markers(marks_)) m->setVisible(marks_->count() > 0);
  }
  placeLegend();
}

LineSeries* ChartView::addSeries(const QString& objectName, const QColor& color) {
  auto* line = new QLineSeries();
  line->setObjectName(objectName);
  line->setUseOpenGL(openGL_);
  chart()->addSeries(line);
  line->attachAxis(axis(Axis::Bottom));
  line->attachAxis(axis(Axis::Left));
  auto* series = new LineSeries(line, this);
  series->setObjectName(objectName);
  series->setColor(color);
  series_.push_back(series);
  seriesAxis_.push_back(Axis::Left);
  connect(series, &LineSeries::dataChanged, this, [this] { refresh(); });
  refresh();
  return series;
}

void ChartView::setUseOpenGL(bool on) {
  openGL_ = on;
  for (LineSeries* s : series_) s->qtSeries()->setUseOpenGL(on);
}

void ChartView::tieToAxis(LineSeries* series, Axis side) {
  const auto it = std::find(series_.begin(), series_.end(), series);
  if (it == series_.end() || side == Axis::Bottom) return;
  QLineSeries* line = series->qtSeries();
  for (Axis a : {Axis::Left, Axis::Right}) {
    if (line->attachedAxes().contains(axis(a))) line->detachAxis(axis(a));
  }
  line->attachAxis(axis(side));
  seriesAxis_[static_cast<size_t>(it - series_.begin())] = side;
  refresh();
}

Axis ChartView::axisOf(const LineSeries* series) const {
  const auto it = std::find(series_.begin(), series_.end(), series);
  return it == series_.end() ? Axis::Left : seriesAxis_[static_cast<size_t>(it - series_.begin())];
}

void ChartView::setMarks(const QList<QPointF>& points, const QString& title, Axis side) {
  if (marks_ == nullptr) {
    marks_ = new QScatterSeries();
    marks_->setObjectName(QStringLiteral("marks"));
    marks_->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    marks_->setMarkerSize(6.0);
    marks_->setColor(QColor(0, 90, 255));
    marks_->setBorderColor(QColor(0, 40, 160));
    chart()->addSeries(marks_);
    marks_->attachAxis(axis(Axis::Bottom));
    marks_->attachAxis(axis(Axis::Left));
  }
  if (side != marksAxis_ && side != Axis::Bottom) {
    marks_->detachAxis(axis(marksAxis_));
    marks_->attachAxis(axis(side));
    marksAxis_ = side;
  }
  marks_->replace(points);
  marks_->setName(title);
  updateLegendMarkers();
}

int ChartView::markCount() const { return marks_ == nullptr ? 0 : marks_->count(); }

QRectF ChartView::plotArea() const {
  return mapFromScene(chart()->mapToScene(chart()->plotArea())).boundingRect();
}

QPointF ChartView::valueAt(QPointF viewPos, Axis side) const {
  const QRectF p = plotArea();
  const QValueAxis* x = axis(Axis::Bottom);
  const QValueAxis* y = axis(side);
  if (p.width() <= 0 || p.height() <= 0) return {x->min(), y->min()};
  return {x->min() + (viewPos.x() - p.left()) / p.width() * (x->max() - x->min()),
          y->min() + (p.bottom() - viewPos.y()) / p.height() * (y->max() - y->min())};
}

QPointF ChartView::pixelOf(QPointF value, Axis side) const {
  const QRectF p = plotArea();
  const QValueAxis* x = axis(Axis::Bottom);
  const QValueAxis* y = axis(side);
  const double xs = x->max() - x->min();
  const double ys = y->max() - y->min();
  return {p.left() + (xs > 0 ? (value.x() - x->min()) / xs * p.width() : 0.0),
          p.bottom() - (ys > 0 ? (value.y() - y->min()) / ys * p.height() : 0.0)};
}

void ChartView::applyRange(Axis which, double min, double max, double step, int decimals) {
  QValueAxis* a = axis(which);
  if (!(max > min)) max = min + 1.0;
  // Never more labels than the axis can show, whatever the range.
  if (!(step > 0.0) || (max - min) / step > 200.0) step = NiceStep(max - min, 10);
  // Qt lays the labels out at once: the step and the range change in the order that never
  // puts more labels on the axis than either the old or the new scale has.
  if (step > a->tickInterval()) {
    a->setTickInterval(step);
    a->setRange(min, max);
  } else {
    a->setRange(min, max);
    a->setTickInterval(step);
  }
  const QString& format = state_[Index(which)].labelFormat;
  a->setLabelFormat(format.isEmpty() ? QStringLiteral("%.%1f").arg(decimals) : format);
}

void ChartView::refresh() {
  if (refreshing_) return;
  refreshing_ = true;
  const QRectF plot = chart()->plotArea();
  const int xSteps = StepsFor(plot.width(), 80.0, 8);
  const int ySteps = StepsFor(plot.height(), 40.0, 6);

  // Data bounds per value axis and of the hours.
  struct Bounds {
    double lo = INFINITY, hi = -INFINITY;
    void add(double v) {
      lo = std::min(lo, v);
      hi = std::max(hi, v);
    }
    bool any() const { return lo <= hi; }
  };
  std::array<Bounds, 3> bounds;
  for (size_t i = 0; i < series_.size(); ++i) {
    const LineSeries* s = series_[i];
    if (s->isEmpty()) continue;
    const auto [ylo, yhi] = std::minmax_element(s->ys().begin(), s->ys().end());
    Bounds& b = bounds[Index(seriesAxis_[i])];
    b.add(*ylo);
    b.add(*yhi);
    const auto [xlo, xhi] = std::minmax_element(s->xs().begin(), s->xs().end());
    bounds[kBottom].add(*xlo);
    bounds[kBottom].add(*xhi);
  }

  for (Axis which : {Axis::Bottom, Axis::Left, Axis::Right}) {
    const int i = Index(which);
    const bool bottom = which == Axis::Bottom;
    const int steps = bottom ? xSteps : ySteps;
    const AxisState& st = state_[i];
    double lo = bounds[i].any() ? bounds[i].lo : 0.0;
    double hi = bounds[i].any() ? bounds[i].hi : 1.0;
    AxisScale scale;
    if (st.fixedMin && st.fixedMax) {
      scale = AutoScale(*st.fixedMin, *st.fixedMax, steps, false);
    } else if (st.fixedMin) {
      hi = std::max(hi, *st.fixedMin);
      scale = AutoScale(*st.fixedMin, hi, steps, !bottom);
      scale.min = *st.fixedMin;
      if (!(scale.max > scale.min)) scale.max = scale.min + scale.step;
    } else if (st.fixedMax) {
      lo = std::min(lo, *st.fixedMax);
      scale = AutoScale(lo, *st.fixedMax, steps, !bottom);
      scale.max = *st.fixedMax;
      if (!(scale.max > scale.min)) scale.min = scale.max - scale.step;
    } else {
      scale = AutoScale(lo, hi, steps, !bottom);
    }
    applyRange(which, scale.min, scale.max, scale.step, scale.decimals);
  }
  updateLegendMarkers();
  refreshing_ = false;
  drawSeries();
}

void ChartView::drawSeries() {
  const QValueAxis* x = axis(Axis::Bottom);
  const double width = chart()->plotArea().width();
  const int columns = width >= 1.0 ? static_cast<int>(std::ceil(width)) : 2000;
  for (LineSeries* s : series_) s->draw(x->min(), x->max(), columns);
}

std::array<ChartView::Range, 3> ChartView::currentRanges() const {
  std::array<Range, 3> r;
  for (int i = 0; i < 3; ++i) r[i] = {axes_[i]->min(), axes_[i]->max()};
  return r;
}

void ChartView::setRanges(const std::array<Range, 3>& ranges) {
  for (int i = 0; i < 3; ++i) axes_[i]->setRange(ranges[i].min, ranges[i].max);
  drawSeries();
}

bool ChartView::zoomToPixels(const QRectF& rect) {
  if (zoomDirections_ == Directions::None) return false;
  const QRectF plot = plotArea();
  QRectF r = rect.normalized();
  if (zoomDirections_ == Directions::Horizontal) {
    r.setTop(plot.top());
    r.setBottom(plot.bottom());
  }
  if (r.width() < minimumDrag_) return false;
  if (zoomDirections_ == Directions::Both && r.height() < minimumDrag_) return false;
  r = r.intersected(plot);
  if (r.width() <= 0 || r.height() <= 0) return false;

  const std::array<Range, 3> start = currentRanges();
  std::array<Range, 3> target = start;
  std::array<bool, 3> changed{false, false, false};
  target[kBottom] = {valueAt(r.bottomLeft(), Axis::Left).x(), valueAt(r.topRight(), Axis::Left).x()};
  changed[kBottom] = true;
  if (zoomDirections_ == Directions::Both) {
    for (Axis side : {Axis::Left, Axis::Right}) {
      target[Index(side)] = {valueAt(r.bottomLeft(), side).y(), valueAt(r.topRight(), side).y()};
      changed[Index(side)] = true;
    }
  }
  if (!zoomAnimated_) {
    finishZoom(target, changed);
    return true;
  }
  animation_->stop();
  animation_->disconnect(this);
  connect(animation_, &QVariantAnimation::valueChanged, this, [this, start, target](const QVariant& v) {
    const double t = v.toDouble();
    std::array<Range, 3> now;
    for (int i = 0; i < 3; ++i) {
      now[i] = {start[i].min + (target[i].min - start[i].min) * t,
                start[i].max + (target[i].max - start[i].max) * t};
    }
    setRanges(now);
  });
  connect(animation_, &QVariantAnimation::finished, this,
          [this, target, changed] { finishZoom(target, changed); });
  animation_->start();
  return true;
}

bool ChartView::isZoomAnimating() const {
  return animation_->state() == QAbstractAnimation::Running;
}

void ChartView::finishZoom(const std::array<Range, 3>& target, const std::array<bool, 3>& changed) {
  for (int i = 0; i < 3; ++i) {
    if (!changed[i]) continue;
    state_[i].fixedMin = target[i].min;
    state_[i].fixedMax = target[i].max;
  }
  zoomed_ = true;
  refresh();
  emit zoomed();
}

void ChartView::panByPixels(QPointF delta) {
  if (panDirections_ == Directions::None) return;
  const QRectF plot = plotArea();
  if (plot.width() <= 0 || plot.height() <= 0) return;
  const std::array<Range, 3> now = currentRanges();
  auto shift = [this, &now](Axis which, double by) {
    const int i = Index(which);
    state_[i].fixedMin = now[i].min + by;
    state_[i].fixedMax = now[i].max + by;
  };
  shift(Axis::Bottom, -delta.x() / plot.width() * (now[kBottom].max - now[kBottom].min));
  if (panDirections_ == Directions::Both) {
    for (Axis side : {Axis::Left, Axis::Right}) {
      const Range& r = now[Index(side)];
      shift(side, delta.y() / plot.height() * (r.max - r.min));
    }
  }
  refresh();
}

void ChartView::unZoom() {
  animation_->stop();
  animation_->disconnect(this);
  zoomed_ = false;
  setAutomaticScaling();
  emit unZoomed();
}

QString ChartView::hoverText(QPointF viewPos) const {
  if (!labeller_ || !plotArea().contains(viewPos)) return {};
  const LineSeries* best = nullptr;
  size_t bestIndex = 0;
  double bestDistance = kHoverPixels;
  for (size_t k = 0; k < series_.size(); ++k) {
    const LineSeries* s = series_[k];
    if (s->isEmpty() || !s->ascending()) continue;
    const Axis side = seriesAxis_[k];
    if (side == Axis::Right && !rightAxisVisible()) continue;
    const double x = valueAt(viewPos, side).x();
    const std::vector<double>& xs = s->xs();
    size_t i = static_cast<size_t>(std::lower_bound(xs.begin(), xs.end(), x) - xs.begin());
    if (i == xs.size() || (i > 0 && x - xs[i - 1] < xs[i] - x)) --i;
    const QPointF p = pixelOf({xs[i], s->ys()[i]}, side);
    const double d = std::hypot(p.x() - viewPos.x(), p.y() - viewPos.y());
    if (d <= bestDistance) {
      best = s;
      bestIndex = i;
      bestDistance = d;
    }
  }
  if (best == nullptr) return {};
  const QString value = QString::number(best->ys()[bestIndex], 'g', 6);
  const QString title = best->title();
  return labeller_(best->xs()[bestIndex]) + QLatin1Char('\n') +
         (title.isEmpty() ? value : title + QStringLiteral(": ") + value);
}

void ChartView::addContextAction(QAction* action) { extraActions_.append(action); }

QMenu* ChartView::makeContextMenu() {
  QWidget& source = pictureSource_ != nullptr ? *pictureSource_ : *this;
  QMenu* menu = MakePictureMenu(source, this, chooser_);
  if (!extraActions_.isEmpty()) {
    menu->addSeparator();
    menu->addActions(extraActions_);
  }
  return menu;
}

void ChartView::resizeEvent(QResizeEvent* event) {
  QChartView::resizeEvent(event);
  refresh();
}

void ChartView::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (event->button() == Qt::LeftButton && zoomDirections_ != Directions::None &&
      plotArea().contains(pos)) {
    zoomDrag_ = true;
    dragStart_ = pos;
    band_->setGeometry(QRect(pos, pos));
    band_->show();
    event->accept();
    return;
  }
  if (event->button() == Qt::RightButton) {
    panDrag_ = true;
    panMoved_ = false;
    dragStart_ = lastPan_ = pos;
    event->accept();
    return;
  }
  QChartView::mousePressEvent(event);
}

void ChartView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (zoomDrag_) {
    const QRect plot = plotArea().toRect();
    QRect r = QRect(dragStart_, pos).normalized();
    if (zoomDirections_ == Directions::Horizontal) {
      r.setTop(plot.top());
      r.setBottom(plot.bottom());
    }
    band_->setGeometry(r);
    return;
  }
  if (panDrag_) {
    if ((pos - dragStart_).manhattanLength() >= minimumDrag_) panMoved_ = true;
    if (panMoved_) {
      panByPixels(pos - lastPan_);
      lastPan_ = pos;
    }
    return;
  }
  if (event->buttons() == Qt::NoButton && labeller_) {
    const QString text = hoverText(pos);
    if (text.isEmpty()) {
      QToolTip::hideText();
    } else {
      QToolTip::showText(event->globalPosition().toPoint(), text, this);
    }
  }
  QChartView::mouseMoveEvent(event);
}

void ChartView::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (zoomDrag_ && event->button() == Qt::LeftButton) {
    zoomDrag_ = false;
    band_->hide();
    if (pos.x() - dragStart_.x() <= -minimumDrag_) {
      unZoom();  // a drag from right to left
    } else {
      zoomToPixels(QRectF(QPointF(dragStart_), QPointF(pos)));
    }
    event->accept();
    return;
  }
  if (panDrag_ && event->button() == Qt::RightButton) {
    panDrag_ = false;
    if (!panMoved_) makeContextMenu()->popup(event->globalPosition().toPoint());
    event->accept();
    return;
  }
  QChartView::mouseReleaseEvent(event);
}

void ChartView::contextMenuEvent(QContextMenuEvent* event) {
  // A right click opens the menu when it is released without dragging; the keyboard's menu
  // key opens it at once.
  if (event->reason() != QContextMenuEvent::Mouse) makeContextMenu()->popup(event->globalPos());
  event->accept();
}

}  // namespace kestrum::chart
