// A line series of the chart component: keeps every point, draws only what the plot's
// pixel columns can show, and is filled from a review file's column in one call.
#pragma once

#include <QColor>
#include <QObject>
#include <QPen>
#include <QString>
#include <string>
#include <vector>

class QLineSeries;

namespace kestrum::chart {

class LineSeries : public QObject {
  Q_OBJECT

 public:
  LineSeries(QLineSeries* line, QObject* parent);

  QLineSeries* qtSeries() const { return line_; }

  QString title() const;
  void setTitle(const QString& title);
  QColor color() const { return pen_.color(); }
  void setColor(const QColor& color);
  Qt::PenStyle penStyle() const { return pen_.style(); }
  void setPenStyle(Qt::PenStyle style);
  int penWidth() const { return pen_.width(); }
  void setPenWidth(int width);

  // Empties the series.
  void clear();
  // Replaces every point: y values at x = 0, 1, 2, ...
  void setValues(std::vector<double> ys);
  // Adds one point.
  void addPoint(double x, double y);
  // The numbers of one column (1-based) of a comma-separated review file, at x = 0, 1, ...
  // An error (file missing, a text that is no number) is raised after the values read
  // before it have been put in.
  void fillFromColumn(const std::string& path, int column);

  int count() const { return static_cast<int>(ys_.size()); }
  bool isEmpty() const { return ys_.empty(); }
  const std::vector<double>& xs() const { return xs_; }
  const std::vector<double>& ys() const { return ys_; }
  bool ascending() const { return ascending_; }

  // The points drawn for the x range [x0, x1] over `columns` pixel columns, replaced in one
  // call. Returns how many are drawn.
  int draw(double x0, double x1, int columns);

  // Trades the chart's line with other: each keeps its points, title, pen and name, drawn
  // at the other's place in the chart's order (the chart redraws both).
  void swapLines(LineSeries& other);

 signals:
  void dataChanged();

 private:
  QLineSeries* line_;
  QPen pen_;
  std::vector<double> xs_, ys_;
  bool ascending_ = true;
};

}  // namespace kestrum::chart
