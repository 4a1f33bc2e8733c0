#include "chart/line_series.h"

#include <QLineSeries>
#include <QList>
#include <QPointF>
#include <algorithm>
#include <numeric>

#include "chart/downsample.h"
#include "review/review_files.h"

namespace kestrum::chart {

LineSeries::LineSeries(QLineSeries* line, QObject* parent)
    : QObject(parent), line_(line), pen_(line->pen()) {
  pen_.setWidth(1);
  pen_.setStyle(Qt::SolidLine);
  pen_.setCosmetic(true);
  line_->setPen(pen_);
}

QString LineSeries::title() const { return line_->name(); }

void LineSeries::setTitle(const QString& title) { line_->setName(title); }

void LineSeries::setColor(const QColor& color) {
  pen_.setColor(color);
  line_->setPen(pen_);
}

void LineSeries::setPenStyle(Qt::PenStyle style) {
  pen_.setStyle(style);
  line_->setPen(pen_);
}

void LineSeries::setPenWidth(int width) {
  pen_.setWidth(width);
  line_->setPen(pen_);
}

void LineSeries::clear() {
  xs_.clear();
  ys_.clear();
  ascending_ = true;
  line_->clear();
  emit dataChanged();
}

void LineSeries::setValues(std::vector<double> ys) {
  ys_ = std::move(ys);
  xs_.resize(ys_.size());
  std::iota(xs_.begin(), xs_.end(), 0.0);
  ascending_ = true;
  emit dataChanged();
}

void LineSeries::addPoint(double x, double y) {
  if (!xs_.empty() && x < xs_.back()) ascending_ = false;
  xs_.push_back(x);
  ys_.push_back(y);
  emit dataChanged();
}

void LineSeries::fillFromColumn(const std::string& path, int column) {
  std::vector<double> values;
  values.reserve(8760);
  try {
    ReadReviewColumn(path, column, values);
  } catch (...) {
    setValues(std::move(values));
    throw;
  }
  setValues(std::move(values));
}

void LineSeries::swapLines(LineSeries& other) {
  const QString mine = title();
  const QString theirs = other.title();
  const QString myName = line_->objectName();
  const QString theirName = other.line_->objectName();
  std::swap(line_, other.line_);
  for (LineSeries* s : {this, &other}) s->line_->setPen(s->pen_);
  setTitle(mine);
  other.setTitle(theirs);
  line_->setObjectName(myName);
  other.line_->setObjectName(theirName);
}

int LineSeries::draw(double x0, double x1, int columns) {
  QList<QPointF> points;
  if (ascending_) {
    // A line n pixels wide shows no more than one column of detail per n pixels: the
    // points of a wide (dotted) line are picked over that many columns.
    const int detail = std::max(1, columns / std::max(1, pen_.width()));
    const std::vector<size_t> picked = PointsToDraw(xs_, ys_, x0, x1, detail);
    points.reserve(static_cast<qsizetype>(picked.size()));
    for (size_t i : picked) points.append(QPointF(xs_[i], ys_[i]));
  } else {
    points.reserve(static_cast<qsizetype>(xs_.size()));
    for (size_t i = 0; i < xs_.size(); ++i) points.append(QPointF(xs_[i], ys_[i]));
  }
  line_->replace(points);
  return static_cast<int>(points.size());
}

}  // namespace kestrum::chart
