// The line chart of the chart component, over Qt Charts: a title of several lines, a left,
// a right and a bottom value axis with titles, named marks along the bottom axis, a legend
// below the plot, line series tied to either value axis, rectangle and wheel zoom and
// panning (horizontal or both ways) within the data, un-zoom, notifications of both, a
// fixed axis minimum or a floor under an automatic maximum, the hovered hour's values, and
// a context menu that saves or copies the picture of the chart alone.
#pragma once

#include <QChartView>
#include <QList>
#include <QMarginsF>
#include <QPointF>
#include <QRectF>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "chart/chart_picture.h"

class QAction;
class QCategoryAxis;
class QRubberBand;
class QScatterSeries;
class QValueAxis;
class QVariantAnimation;

namespace kestrum::chart {

class LineSeries;

enum class Axis { Left = 0, Right = 1, Bottom = 2 };
enum class Directions { None, Horizontal, Both };

// A named place along the bottom axis (the first hour of a month).
struct AxisMark {
  double at = 0.0;
  QString label;
};

class ChartView : public QChartView {
  Q_OBJECT

 public:
  explicit ChartView(QWidget* parent = nullptr);
  ~ChartView() override;

  // Title lines.
  void clearTitle();
  void addTitleLine(const QString& line);
  const QStringList& titleLines() const { return titleLines_; }
  void setTitleFont(const QFont& font, const QColor& color);

  // Axes.
  QValueAxis* axis(Axis which) const { return axes_[static_cast<int>(which)]; }
  void setAxisTitle(Axis which, const QString& title);
  QString axisTitle(Axis which) const;
  void setRightAxisVisible(bool visible);
  bool rightAxisVisible() const;
  // Fixes the axis minimum; the maximum keeps following the data (or the zoom).
  void setAxisMinimum(Axis which, double minimum);
  // The axis starts at floor, or lower where the data in view go below it (then at a step
  // below their lowest value); the maximum keeps following the data.
  void setAxisFloor(Axis which, double floor);
  // Every axis follows the data again.
  void setAutomaticScaling();
  bool isAutomatic(Axis which) const;
  // Both ends of the axis fixed (by a zoom or a pan in its direction).
  bool isRangeFixed(Axis which) const;
  // The range the axis shows now.
  double axisMin(Axis which) const;
  double axisMax(Axis which) const;
  // The labels of an axis: printf format of their numbers (default: as the step needs),
  // minor ticks between them.
  void setAxisLabelFormat(Axis which, const QString& format);
  // Names shown along the bottom axis, beside its numbers, each with a tick and a grid line
  // at its place; only those in view are drawn. An empty list removes them.
  void setBottomMarks(const QList<AxisMark>& marks);
  // The names of the marks in view.
  QStringList bottomMarksInView() const;

  // Legend, below the plot, or in the header row.
  void setLegendVisible(bool visible);
  bool legendVisible() const;
  // A row above the title, `height` pixels high: `reservedWidth` pixels at its left stay
  // free (for widgets laid over the chart) and the legend sits at its right when it fits
  // there; otherwise it goes below the plot. Either way it hides no data.
  void setHeaderRow(int reservedWidth, int height);
  bool legendInHeader() const { return legendInHeader_; }
  // The legend's place in view pixels (empty when hidden).
  QRectF legendArea() const;

  // Series.
  LineSeries* addSeries(const QString& objectName, const QColor& color);
  void tieToAxis(LineSeries* series, Axis side);
  Axis axisOf(const LineSeries* series) const;
  const std::vector<LineSeries*>& series() const { return series_; }
  // Draws series over every other series.
  void raiseSeries(LineSeries* series);
  // The series in the order they are drawn, the last on top.
  std::vector<const LineSeries*> drawingOrder() const;
  // Square marks at points (x, y) of the given value axis, with a legend text; an empty
  // list removes them.
  void setMarks(const QList<QPointF>& points, const QString& title, Axis side);
  int markCount() const;

  // Zoom and panning. A drag of at least the minimum size with the left button zooms into
  // the dragged rectangle (a drag from right to left un-zooms); the wheel zooms the bottom
  // axis about the pointer; the right button drags the view, which stops at the ends of
  // the data; a right click opens the context menu.
  void setZoomDirections(Directions directions) { zoomDirections_ = directions; }
  Directions zoomDirections() const { return zoomDirections_; }
  void setPanDirections(Directions directions) { panDirections_ = directions; }
  Directions panDirections() const { return panDirections_; }
  void setMinimumDrag(int pixels) { minimumDrag_ = pixels; }
  void setZoomAnimated(bool animated) { zoomAnimated_ = animated; }
  // Zooms as a drag over rect (view pixels) does; false when the rectangle is too small.
  bool zoomToPixels(const QRectF& rect);
  // Moves the view by delta pixels, in the pan directions; sideways no further than the
  // first and the last point.
  void panByPixels(QPointF delta);
  // Zooms the bottom axis about the view pixel x as the wheel does: each notch in (positive)
  // shows 4/5 of the hours, each notch out 5/4, never fewer than minimumZoomWidth.
  void wheelZoom(double viewX, double notches);
  static constexpr double kMinimumZoomWidth = 6.0;
  void unZoom();
  bool isZoomed() const { return zoomed_; }
  bool isZoomAnimating() const;

  // The read-out under the mouse: for the point nearest to the pointer's place on the bottom
  // axis, labeller(x), then each drawn series' title and value there, one per line.
  void setHoverLabeller(std::function<QString(double x)> labeller) { labeller_ = std::move(labeller); }
  QString hoverText(QPointF viewPos) const;

  // The picture of the chart alone (none of the widgets laid over it) under a band with
  // the caption; its title text is the caption after the chart's title lines.
  void setPictureCaption(const QString& caption) { pictureCaption_ = caption; }
  const QString& pictureCaption() const { return pictureCaption_; }
  QImage picture();

  // The context menu: "Save as PNG...", "Copy" and the actions added here.
  void addContextAction(QAction* action);
  QMenu* makeContextMenu();
  void setSavePathChooser(SavePathChooser chooser) { chooser_ = std::move(chooser); }

  // Draws the line series through OpenGL where the platform offers it (not offscreen).
  void setUseOpenGL(bool on);
  bool usesOpenGL() const { return openGL_; }

  // Recomputes the axis ranges and the drawn points now.
  void refresh();
  // The plot area in view pixels.
  QRectF plotArea() const;
  // Value at a view pixel and back, for the axes a series side uses.
  QPointF valueAt(QPointF viewPos, Axis side) const;
  QPointF pixelOf(QPointF value, Axis side) const;

 signals:
  void zoomed();
  void unZoomed();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  struct AxisState {
    std::optional<double> fixedMin, fixedMax;
    std::optional<double> floor;
    QString labelFormat;  // empty: from the step
  };
  struct Range {
    double min = 0, max = 1;
  };
  void applyRange(Axis which, double min, double max, double step, int decimals);
  void drawSeries();
  void updateLegendMarkers();
  void placeLegend();
  void syncNamesAxis();
  std::optional<double> lowestInView(Axis side) const;
  void setRanges(const std::array<Range, 3>& ranges);
  std::array<Range, 3> currentRanges() const;
  void finishZoom(const std::array<Range, 3>& target, const std::array<bool, 3>& changed);

  std::array<QValueAxis*, 3> axes_{};
  std::array<AxisState, 3> state_{};
  QCategoryAxis* namesAxis_ = nullptr;  // the named marks of the bottom axis
  QList<AxisMark> bottomMarks_;
  QString bottomTitle_;
  Range xData_;  // the first and the last point of the series
  bool hasData_ = false;
  std::vector<LineSeries*> series_;
  std::vector<Axis> seriesAxis_;
  QScatterSeries* marks_ = nullptr;
  Axis marksSide_ = Axis::Left;
  QStringList titleLines_;
  QString pictureCaption_;
  bool legendVisible_ = true;
  int headerReserved_ = -1;  // no header row
  int headerHeight_ = 0;
  bool legendInHeader_ = false;
  QMarginsF belowMargins_;  // of the legend's layout below the plot
  Directions zoomDirections_ = Directions::None;
  Directions panDirections_ = Directions::None;
  int minimumDrag_ = 4;
  bool zoomAnimated_ = false;
  bool zoomed_ = false;
  bool openGL_ = false;
  bool refreshing_ = false;
  QVariantAnimation* animation_ = nullptr;
  QRubberBand* band_ = nullptr;
  QPoint dragStart_;
  QPoint lastPan_;
  bool zoomDrag_ = false;
  bool panDrag_ = false;
  bool panMoved_ = false;
  std::function<QString(double)> labeller_;
  QList<QAction*> extraActions_;
  SavePathChooser chooser_;
};

}  // namespace kestrum::chart
