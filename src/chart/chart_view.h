// The line chart of the chart component, over Qt Charts: a title of several lines, a left,
// a right and a bottom value axis with titles, a legend below the plot or over its top
// right corner, line series tied to either value axis, rectangle zoom and panning
// (horizontal or both ways), un-zoom, notifications of both, a fixed axis minimum under an
// automatic maximum, the hovered point's label, and a context menu that saves or copies
// the picture.
#pragma once

#include <QChartView>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "chart/chart_picture.h"

class QAction;
class QRubberBand;
class QScatterSeries;
class QValueAxis;
class QVariantAnimation;

namespace kestrum::chart {

class LineSeries;

enum class Axis { Left = 0, Right = 1, Bottom = 2 };
enum class Directions { None, Horizontal, Both };
enum class LegendPlace { Below, TopRightOverPlot };

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
  // Every axis follows the data again.
  void setAutomaticScaling();
  bool isAutomatic(Axis which) const;
  // The range the axis shows now.
  double axisMin(Axis which) const;
  double axisMax(Axis which) const;
  // The labels of an axis: printf format of their numbers (default: as the step needs),
  // minor ticks between them.
  void setAxisLabelFormat(Axis which, const QString& format);

  // Legend.
  void setLegendVisible(bool visible);
  bool legendVisible() const;
  void setLegendPlace(LegendPlace place);

  // Series.
  LineSeries* addSeries(const QString& objectName, const QColor& color);
  void tieToAxis(LineSeries* series, Axis side);
  Axis axisOf(const LineSeries* series) const;
  const std::vector<LineSeries*>& series() const { return series_; }
  // Square marks at points (x, y) of the given value axis, with a legend text; an empty
  // list removes them.
  void setMarks(const QList<QPointF>& points, const QString& title, Axis side);
  int markCount() const;

  // Zoom and panning. A drag of at least the minimum size with the left button zooms into
  // the dragged rectangle (a drag from right to left un-zooms); the right button drags
  // the view; a right click opens the context menu.
  void setZoomDirections(Directions directions) { zoomDirections_ = directions; }
  Directions zoomDirections() const { return zoomDirections_; }
  void setPanDirections(Directions directions) { panDirections_ = directions; }
  Directions panDirections() const { return panDirections_; }
  void setMinimumDrag(int pixels) { minimumDrag_ = pixels; }
  void setZoomAnimated(bool animated) { zoomAnimated_ = animated; }
  // Zooms as a drag over rect (view pixels) does; false when the rectangle is too small.
  bool zoomToPixels(const QRectF& rect);
  // Moves the view by delta pixels, in the pan directions.
  void panByPixels(QPointF delta);
  void unZoom();
  bool isZoomed() const { return zoomed_; }
  bool isZoomAnimating() const;

  // The label of the point under the mouse: labeller(x) and the series' title and value.
  void setHoverLabeller(std::function<QString(double x)> labeller) { labeller_ = std::move(labeller); }
  QString hoverText(QPointF viewPos) const;

  // The context menu: "Save as PNG...", "Copy" and the actions added here.
  void addContextAction(QAction* action);
  QMenu* makeContextMenu();
  void setSavePathChooser(SavePathChooser chooser) { chooser_ = std::move(chooser); }
  // The widget whose picture the menu saves (default: this view).
  void setPictureSource(QWidget* source) { pictureSource_ = source; }

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

 private:
  struct AxisState {
    std::optional<double> fixedMin, fixedMax;
    QString labelFormat;  // empty: from the step
  };
  struct Range {
    double min = 0, max = 1;
  };
  void applyRange(Axis which, double min, double max, double step, int decimals);
  void drawSeries();
  void placeLegend();
  void updateLegendMarkers();
  void setRanges(const std::array<Range, 3>& ranges);
  std::array<Range, 3> currentRanges() const;
  void finishZoom(const std::array<Range, 3>& target, const std::array<bool, 3>& changed);

  std::array<QValueAxis*, 3> axes_{};
  std::array<AxisState, 3> state_{};
  std::vector<LineSeries*> series_;
  std::vector<Axis> seriesAxis_;
  QScatterSeries* marks_ = nullptr;
  Axis marksAxis_ = Axis::Left;
  QStringList titleLines_;
  LegendPlace legendPlace_ = LegendPlace::Below;
  bool legendVisible_ = true;
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
  QWidget* pictureSource_ = nullptr;
};

}  // namespace kestrum::chart
