#include "chart/chart_view.h"

#include <QAction>
#include <QCategoryAxis>
#include <QChart>
#include <QContextMenuEvent>
#include <QLegend>
#include <QLineSeries>
#include <QMenu>
#include <QMouseEvent>
#include <QRubberBand>
#include <QScatterSeries>
#include <QToolTip>
#include <QValueAxis>
#include <QVariantAnimation>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "chart/axis_scale.h"
#include "chart/line_series.h"
#include "chart/view_range.h"

namespace kestrum::chart {

namespace {

constexpr int kBottom = static_cast<int>(Axis::Bottom);
constexpr int kZoomAnimationMs = 250;
constexpr double kWheelNotch = 120.0;  // angle delta of one notch of the wheel
constexpr double kWheelZoomIn = 0.8;   // the share of the hours one notch in keeps

int Index(Axis a) { return static_cast<int>(a); }

// The labelled steps that fit into a length of pixels.
int StepsFor(double pixels, double pixelsPerStep, int fallback) {
  return pixels > 40.0 ? std::max(3, static_cast<int>(pixels / pixelsPerStep)) : fallback;
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

void ChartView::setAxisTitle(Axis which, const QString& title) {
  if (which == Axis::Bottom) {
    bottomTitle_ = title;
    // Below the numbers and the names of the marks, whichever axis is the outer one.
    axis(which)->setTitleText(namesAxis_ == nullptr ? title : QString());
    if (namesAxis_ != nullptr) namesAxis_->setTitleText(title);
    return;
  }
  axis(which)->setTitleText(title);
}

QString ChartView::axisTitle(Axis which) const {
  return which == Axis::Bottom ? bottomTitle_ : axis(which)->titleText();
}

void ChartView::setRightAxisVisible(bool visible) { axis(Axis::Right)->setVisible(visible); }

bool ChartView::rightAxisVisible() const { return axis(Axis::Right)->isVisible(); }

void ChartView::setAxisMinimum(Axis which, double minimum) {
  state_[Index(which)].fixedMin = minimum;
  refresh();
}

void ChartView::setAxisFloor(Axis which, double floor) {
  state_[Index(which)].floor = floor;
  refresh();
}

void ChartView::setAutomaticScaling() {
  for (AxisState& s : state_) {
    s.fixedMin.reset();
    s.fixedMax.reset();
    s.floor.reset();
  }
  refresh();
}

bool ChartView::isAutomatic(Axis which) const {
  const AxisState& s = state_[Index(which)];
  return !s.fixedMin && !s.fixedMax && !s.floor;
}

bool ChartView::isRangeFixed(Axis which) const {
  const AxisState& s = state_[Index(which)];
  return s.fixedMin && s.fixedMax;
}

double ChartView::axisMin(Axis which) const { return axis(which)->min(); }

double ChartView::axisMax(Axis which) const { return axis(which)->max(); }

void ChartView::setAxisLabelFormat(Axis which, const QString& format) {
  state_[Index(which)].labelFormat = format;
  refresh();
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

void ChartView::raiseSeries(LineSeries* series) {
  // Series are drawn in the order they were added. Removing and adding one again would
  // unsettle the legend, so the series on top trades its line with this one instead.
  const std::vector<const LineSeries*> order = drawingOrder();
  if (order.empty() || order.back() == series) return;
  const auto index = [this](const LineSeries* s) {
    return static_cast<size_t>(std::find(series_.begin(), series_.end(), s) - series_.begin());
  };
  LineSeries* top = series_[index(order.back())];
  series->swapLines(*top);
  for (LineSeries* s : {series, top}) {
    QLineSeries* line = s->qtSeries();
    for (QAbstractAxis* a : line->attachedAxes()) {
      if (a != axis(Axis::Bottom)) line->detachAxis(a);
    }
    line->attachAxis(axis(seriesAxis_[index(s)]));
  }
  updateLegendMarkers();
  drawSeries();
}

std::vector<const LineSeries*> ChartView::drawingOrder() const {
  std::vector<const LineSeries*> order;
  for (QAbstractSeries* s : chart()->series()) {
    for (const LineSeries* ours : series_) {
      if (ours->qtSeries() == s) order.push_back(ours);
    }
  }
  return order;
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
  if (side != marksSide_ && side != Axis::Bottom) {
    marks_->detachAxis(axis(marksSide_));
    marks_->attachAxis(axis(side));
    marksSide_ = side;
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
  // Whole-number labels step by whole numbers ("0 0 0 0 0 1" says nothing).
  const QString& format = state_[Index(which)].labelFormat;
  if (format.endsWith(QLatin1Char('d')) && step < 1.0) {
    step = 1.0;
    max = std::max(max, min + 1.0);
  }
  // Qt lays the labels out at once: the step and the range change in the order that never
  // puts more labels on the axis than either the old or the new scale has.
  if (step > a->tickInterval()) {
    a->setTickInterval(step);
    a->setRange(min, max);
  } else {
    a->setRange(min, max);
    a->setTickInterval(step);
  }
  a->setLabelFormat(format.isEmpty() ? QStringLiteral("%.%1f").arg(decimals) : format);
  if (which == Axis::Bottom) syncNamesAxis();
}

std::optional<double> ChartView::lowestInView(Axis side) const {
  const QValueAxis* x = axis(Axis::Bottom);
  std::optional<double> lowest;
  for (size_t i = 0; i < series_.size(); ++i) {
    const LineSeries* s = series_[i];
    if (seriesAxis_[i] != side || s->isEmpty() || !s->ascending()) continue;
    const std::optional<double> low = LowestInView(s->xs(), s->ys(), x->min(), x->max());
    if (low && (!lowest || *low < *lowest)) lowest = low;
  }
  return lowest;
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
  hasData_ = bounds[kBottom].any();
  if (hasData_) xData_ = {bounds[kBottom].lo, bounds[kBottom].hi};

  for (Axis which : {Axis::Bottom, Axis::Left, Axis::Right}) {
    const int i = Index(which);
    const bool bottom = which == Axis::Bottom;
    const int steps = bottom ? xSteps : ySteps;
    const AxisState& st = state_[i];
    double lo = bounds[i].any() ? bounds[i].lo : 0.0;
    double hi = bounds[i].any() ? bounds[i].hi : 1.0;
    AxisScale scale;
    // The bottom axis is set first: a floor looks at the data in its range.
    std::optional<double> fixedMin = st.fixedMin;
    if (st.floor && !st.fixedMin && !bottom) {
      const std::optional<double> low = lowestInView(which);
      if (!low || *low >= *st.floor) {
        fixedMin = *st.floor;
      } else {
        // Down to a whole step below the lowest value in view, up to the data's maximum.
        scale = AutoScale(*low, std::max(hi, *st.floor), steps, true);
        applyRange(which, scale.min, scale.max, scale.step, scale.decimals);
        continue;
      }
    }
    if (fixedMin && st.fixedMax) {
      scale = AutoScale(*fixedMin, *st.fixedMax, steps, false);
    } else if (fixedMin) {
      hi = std::max(hi, *fixedMin);
      scale = AutoScale(*fixedMin, hi, steps, !bottom);
      scale.min = *fixedMin;
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
  syncNamesAxis();
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
  // Sideways the view stops at the first and the last point.
  const Range& x = now[kBottom];
  const Span moved = PannedWithin({x.min, x.max}, -delta.x() / plot.width() * (x.max - x.min),
                                  {xData_.min, xData_.max});
  if (moved.min != x.min) {
    state_[kBottom].fixedMin = moved.min;
    state_[kBottom].fixedMax = moved.max;
  }
  if (panDirections_ == Directions::Both) {
    for (Axis side : {Axis::Left, Axis::Right}) {
      const Range& r = now[Index(side)];
      shift(side, delta.y() / plot.height() * (r.max - r.min));
    }
  }
  refresh();
}

void ChartView::wheelZoom(double viewX, double notches) {
  if (zoomDirections_ == Directions::None || notches == 0.0) return;
  const QRectF plot = plotArea();
  if (plot.width() <= 0) return;
  animation_->stop();
  animation_->disconnect(this);
  const QValueAxis* x = axis(Axis::Bottom);
  const Span view{x->min(), x->max()};
  const Span data{xData_.min, xData_.max};
  const double at = view.min + (viewX - plot.left()) / plot.width() * view.width();
  const Span next =
      ZoomedAbout(view, at, std::pow(kWheelZoomIn, notches), data, kMinimumZoomWidth);
  if (next.width() >= data.width()) {
    if (zoomed_) unZoom();
    return;
  }
  state_[kBottom].fixedMin = next.min;
  state_[kBottom].fixedMax = next.max;
  zoomed_ = true;
  refresh();
  emit zoomed();
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
  // The hour under the pointer, whatever the zoom: the point nearest to it on the bottom
  // axis, then the value of every drawn series at that point.
  const double x = valueAt(viewPos, Axis::Left).x();
  std::optional<double> nearest;
  QStringList lines;
  for (const LineSeries* s : series_) {
    if (s->isEmpty() || !s->ascending()) continue;
    const std::vector<double>& xs = s->xs();
    size_t i = static_cast<size_t>(std::lower_bound(xs.begin(), xs.end(), x) - xs.begin());
    if (i == xs.size() || (i > 0 && x - xs[i - 1] <= xs[i] - x)) --i;
    if (!nearest) nearest = xs[i];
    if (xs[i] != *nearest) continue;  // a series without that hour
    const QString value = QString::number(s->ys()[i], 'g', 6);
    lines.append(s->title().isEmpty() ? value : s->title() + QStringLiteral(": ") + value);
  }
  if (!nearest) return {};
  lines.prepend(labeller_(*nearest));
  return lines.join(QLatin1Char('\n'));
}

QImage ChartView::picture() {
  QStringList title = titleLines_;
  if (!pictureCaption_.isEmpty()) title.append(pictureCaption_);
  return ScenePicture(*this, pictureCaption_, title.join(QStringLiteral(" - ")));
}

void ChartView::addContextAction(QAction* action) { extraActions_.append(action); }

QMenu* ChartView::makeContextMenu() {
  QMenu* menu = MakePictureMenu([this] { return picture(); }, this, chooser_);
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

void ChartView::wheelEvent(QWheelEvent* event) {
  const QPointF pos = event->position();
  if (zoomDirections_ == Directions::None || !plotArea().contains(pos)) {
    QChartView::wheelEvent(event);
    return;
  }
  wheelZoom(pos.x(), event->angleDelta().y() / kWheelNotch);
  event->accept();
}

void ChartView::contextMenuEvent(QContextMenuEvent* event) {
  // A right click opens the menu when it is released without dragging; the keyboard's menu
  // key opens it at once.
  if (event->reason() != QContextMenuEvent::Mouse) makeContextMenu()->popup(event->globalPos());
  event->accept();
}

}  // namespace kestrum::chart
