// The polar wind-rose series of the chart component: equally spaced points clockwise from
// north at the top, drawn as small squares joined into a closed outline, with a colour per
// point, reporting which point the mouse was pressed on and where it was released, in
// chart pixels. Rings at even steps of the value carry their value as a percentage; spokes
// every 45 degrees and the four compass points; no legend.
#pragma once

#include <QChartView>
#include <QColor>
#include <QList>
#include <QPoint>
#include <QPointF>
#include <QStringList>

#include "chart/chart_picture.h"

class QGraphicsSimpleTextItem;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

namespace kestrum::chart {

class WindRoseView : public QChartView {
  Q_OBJECT

 public:
  explicit WindRoseView(QWidget* parent = nullptr);

  // Replaces the points: value k at bearing k * 360 / count degrees.
  void setValues(const QList<double>& values);
  int count() const { return static_cast<int>(values_.size()); }
  double value(int k) const { return values_.at(k); }
  const QList<double>& values() const { return values_; }
  void setValue(int k, double value);

  void setSeriesColor(const QColor& color);
  QColor seriesColor() const { return color_; }
  void setPointColor(int k, const QColor& color);
  QColor pointColor(int k) const;

  // Where point k is drawn, in chart pixels; the centre of the rose.
  QPointF pointPosition(int k) const;
  QPointF centre() const;
  // The point drawn at pixel, or -1.
  int pointAt(QPointF pixel) const;

  // The values of the rings, from the centre out, and their labels ("5%").
  QList<double> rings() const;
  QStringList ringLabels() const;

  void setSavePathChooser(SavePathChooser chooser) { chooser_ = std::move(chooser); }
  // What the context menu saves and copies (default: the rose alone).
  void setPictureMaker(PictureMaker make) { pictureMaker_ = std::move(make); }
  QMenu* makeContextMenu();

 signals:
  void pointPressed(int index, QPoint pixel);
  void released(QPoint pixel);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void redraw();
  void placeLabels();

  QList<double> values_;
  QList<QColor> pointColors_;
  QColor color_ = Qt::red;
  QLineSeries* outline_ = nullptr;
  QScatterSeries* squares_ = nullptr;
  QValueAxis* angular_ = nullptr;
  QValueAxis* radial_ = nullptr;
  QGraphicsSimpleTextItem* compass_[4] = {};
  QList<QGraphicsSimpleTextItem*> ringLabels_;
  SavePathChooser chooser_;
  PictureMaker pictureMaker_;
};

}  // namespace kestrum::chart
