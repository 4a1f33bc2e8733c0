// The chart's decorations around the plot: the legend (below the plot, or in the row above
// the title) and the named marks along the hour axis.
#include <QCategoryAxis>
#include <QChart>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "chart/chart_view.h"
#include "chart/line_series.h"

namespace kestrum::chart {

namespace {

constexpr double kLeftMarkRoom = 0.08;   // share of the view a mark's name needs at the left
constexpr int kHeaderGap = 4;            // around the header row
constexpr double kLegendPadding = 16.0;  // of a legend laid out in one row
constexpr double kMarkerSpacing = 18.0;  // between a legend marker's box, label and the next

}  // namespace

void ChartView::setBottomMarks(const QList<AxisMark>& marks) {
  bottomMarks_ = marks;
  if (marks.isEmpty()) {
    if (namesAxis_ != nullptr) {
      chart()->removeAxis(namesAxis_);
      delete namesAxis_;
      namesAxis_ = nullptr;
      setAxisTitle(Axis::Bottom, bottomTitle_);
      axis(Axis::Bottom)->setMinorGridLineVisible(true);
    }
    return;
  }
  if (namesAxis_ == nullptr) {
    namesAxis_ = new QCategoryAxis(chart());
    namesAxis_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    namesAxis_->setGridLinePen(QPen(QColor(190, 198, 228), 1));
    namesAxis_->setLineVisible(false);
    namesAxis_->setTitleFont(axis(Axis::Bottom)->titleFont());
    chart()->addAxis(namesAxis_, Qt::AlignBottom);
    // The marks' grid lines stand in for the minor ones (the minor ticks stay).
    axis(Axis::Bottom)->setMinorGridLineVisible(false);
    setAxisTitle(Axis::Bottom, bottomTitle_);
  }
  syncNamesAxis();
}

void ChartView::syncNamesAxis() {
  if (namesAxis_ == nullptr) return;
  const QValueAxis* x = axis(Axis::Bottom);
  // A category axis draws a label at the end of each category: one category per mark in
  // view, each ending at its mark.
  for (const QString& label : namesAxis_->categoriesLabels()) namesAxis_->remove(label);
  namesAxis_->setStartValue(x->min() - 1.0);
  const double span = x->max() - x->min();
  const AxisMark* current = nullptr;  // the mark in force at the left end of the view
  bool nearLeft = false;
  for (const AxisMark& m : hasData_ ? bottomMarks_ : QList<AxisMark>()) {
    if (m.at <= x->min()) current = &m;
    if (m.at >= x->min() && m.at < x->min() + kLeftMarkRoom * span) nearLeft = true;
  }
  // A view that begins between two marks names the one it begins in, at its left end,
  // unless a mark of its own is close by.
  if (current != nullptr && current->at < x->min() && !nearLeft) {
    namesAxis_->append(current->label, x->min());
  }
  for (const AxisMark& m : hasData_ ? bottomMarks_ : QList<AxisMark>()) {
    if (m.at >= x->min() && m.at <= x->max()) namesAxis_->append(m.label, m.at);
  }
  namesAxis_->setRange(x->min(), x->max());
}

QStringList ChartView::bottomMarksInView() const {
  return namesAxis_ == nullptr ? QStringList() : namesAxis_->categoriesLabels();
}

void ChartView::setLegendVisible(bool visible) {
  legendVisible_ = visible;
  chart()->legend()->setVisible(visible);
  placeLegend();
}

void ChartView::setHeaderRow(int reservedWidth, int height) {
  headerReserved_ = reservedWidth;
  headerHeight_ = height;
  QMargins margins = chart()->margins();
  margins.setTop(kHeaderGap + height);
  chart()->setMargins(margins);
  placeLegend();
}

void ChartView::placeLegend() {
  if (headerReserved_ < 0) return;
  QLegend* legend = chart()->legend();
  // The legend's width laid out in one row: each marker is its colour box and its label
  // with Qt's spacing around both.
  const QFontMetricsF metrics(legend->font());
  double width = kLegendPadding;
  double widest = 0.0;
  int markers = 0;
  auto add = [&](const QString& label) {
    const double marker = metrics.horizontalAdvance(label) + metrics.height() + kMarkerSpacing;
    width += marker;
    widest = std::max(widest, marker);
    ++markers;
  };
  for (const LineSeries* s : series_) {
    if (!s->isEmpty()) add(s->title());
  }
  if (marks_ != nullptr && marks_->count() > 0) add(marks_->name());
  const double room = chart()->size().width() - headerReserved_ - 2.0 * kHeaderGap;
  if (markers == 0) return;  // the series are being filled: the legend keeps its place
  const bool inHeader = legendVisible_ && width <= room;
  double rowHeight = headerHeight_;
  if (inHeader) {
    if (!legendInHeader_) {
      legend->detachFromChart();
      qreal l = 0, t = 0, r = 0, b = 0;
      legend->layout()->getContentsMargins(&l, &t, &r, &b);
      belowMargins_ = QMarginsF(l, t, r, b);
      legend->layout()->setContentsMargins(0, 0, 0, 0);  // the row is its frame
    }
    legend->setAlignment(Qt::AlignTop);  // one row of markers
    rowHeight = std::max(rowHeight, legend->effectiveSizeHint(Qt::MinimumSize).height());
    // A legend of its own place starts a new row where the next marker might not fit, by
    // the width of the one before: it gets one marker's width to spare beyond its right end.
    legend->setGeometry(QRectF(chart()->size().width() - width - kHeaderGap, kHeaderGap / 2.0,
                               width + widest, rowHeight));
    legend->update();
  } else if (legendInHeader_) {
    legend->layout()->setContentsMargins(belowMargins_.left(), belowMargins_.top(),
                                         belowMargins_.right(), belowMargins_.bottom());
    legend->attachToChart();
    legend->setAlignment(Qt::AlignBottom);
  }
  legendInHeader_ = inHeader;
  QMargins margins = chart()->margins();
  const int top = kHeaderGap + static_cast<int>(std::ceil(rowHeight));
  if (margins.top() != top) {
    margins.setTop(top);
    chart()->setMargins(margins);
  }
}

QRectF ChartView::legendArea() const {
  const QLegend* legend = chart()->legend();
  if (!legendVisible_ || !legend->isVisible()) return {};
  return mapFromScene(legend->mapToScene(legend->rect())).boundingRect();
}

bool ChartView::legendVisible() const { return legendVisible_; }

void ChartView::updateLegendMarkers() {
  QLegend* legend = chart()->legend();
  for (LineSeries* s : series_) {
    for (QLegendMarker* m : legend->markers(s->qtSeries())) m->setVisible(!s->isEmpty());
  }
  if (marks_ != nullptr) {
    for (QLegendMarker* m : legend->markers(marks_)) m->setVisible(marks_->count() > 0);
  }
  placeLegend();
  // Markers shown again keep the place and the shortened label of their last layout, which
  // may have been made for a chart not yet shown at its size: they are laid out anew.
  legend->layout()->invalidate();
}

}  // namespace kestrum::chart
