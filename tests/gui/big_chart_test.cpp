// The detailed chart window on review files of a real conversion: its selections with and
// without comparison, the option panels, the zoom and un-zoom effects, the hovered point's
// date, marking repaired hours and the context menu.
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QValueAxis>
#include <QtTest>

#include "chart/axis_scale.h"
#include "chart/chart_view.h"
#include "chart/downsample.h"
#include "chart/line_series.h"
#include "gui_test_support.h"
#include "review/big_chart_window.h"
#include "review_test_support.h"

using namespace kestrum;

class BigChartTest : public QObject {
  Q_OBJECT

 private slots:
  void opensOnTheFinalTemperatures();
  void checkingOriginalComparesWithTheLatestMoistureKind();
  void originalAloneHidesTheOptions();
  void zoomAndUnZoomEffects();
  void draggingZoomsOnlyBeyondTheMinimumSize();
  void hoveredPointShowsItsDate();
  void marksTheHoursWhoseValuesDiffer();
  void contextMenuSavesAndCopiesThePicture();
  void drawsAtMostFourPointsPerPixelColumn();
};

namespace {

std::unique_ptr<TfrmBigChart> Open(const QString& dir, const QString& base, int moistureKind,
                                   QStringList* errors) {
  BigChartInputs in;
  in.interimDir = dir;
  in.baseName = base;
  in.moistureKind = moistureKind;
  in.error = [errors](const QString& m) { errors->append(m); };
  auto w = std::make_unique<TfrmBigChart>(std::move(in));
  w->BigChart->setZoomAnimated(false);
  w->show();
  return w;
}

std::vector<double> Column(bool final, int column) {
  const test::SampleRun& run = test::SampleReviewRun();
  return test::ColumnOf(final ? run.finalFile() : run.originalFile(), column);
}

}  // namespace

void BigChartTest::opensOnTheFinalTemperatures() {
  QStringList errors;
  const test::SampleRun& run = test::SampleReviewRun();
  auto w = Open(run.interimDir, run.base, 0, &errors);
  QCOMPARE(w->windowTitle(), QStringLiteral("Varnell-Kestrum Data Plot: Golden"));
  QCOMPARE(w->size(), QSize(795, 593));
  QCOMPARE(w->minimumSize(), QSize(500, 300));
  QCOMPARE(w->BigChart->titleLines(), QStringList(QStringLiteral("Ambient Drybulb and Wetbulb Temperatures")));
  QVERIFY(w->Series1->ys() == Column(true, 4));
  QVERIFY(w->Series2->ys() == Column(true, 5));
  QCOMPARE(w->Series2->title(), QStringLiteral("Wet Bulb Temp"));
  QVERIFY(w->BigChart->legendVisible());
  QVERIFY(w->panMoist->isVisible() && !w->panSolarOpt->isVisible() && !w->gbCompareOpt->isVisible());
  QCOMPARE(w->BigChart->axisTitle(chart::Axis::Bottom), QStringLiteral("Hour"));
  QCOMPARE(w->BigChart->zoomDirections(), chart::Directions::Horizontal);

  w->rbSolar->click();
  QVERIFY(!w->panMoist->isVisible() && w->panSolarOpt->isVisible());
  QVERIFY(w->Series1->ys() == Column(true, 9));
  QVERIFY(w->Series2->isEmpty());
  QVERIFY(!w->BigChart->legendVisible());
  w->rbTemp->click();
  w->rbRH->click();
  QVERIFY(w->BigChart->rightAxisVisible());
  QCOMPARE(w->BigChart->axisTitle(chart::Axis::Right), QStringLiteral("% RH"));
  QCOMPARE(w->BigChart->axisOf(w->Series2), chart::Axis::Right);
  QVERIFY(errors.isEmpty());
}

void BigChartTest::checkingOriginalComparesWithTheLatestMoistureKind() {
  QStringList errors;
  const test::SampleRun& run = test::SampleReviewRun();
  auto w = Open(run.interimDir, run.base, 1, &errors);  // the latest run had a dew point
  w->cbShowOrig->click();
  QVERIFY(w->selection().comparison);
  QVERIFY(w->rbDPT->isChecked());
  QVERIFY(w->gbCompareOpt->isVisible() && !w->panMoist->isVisible());
  QCOMPARE(w->rbCompFirst->text(), QStringLiteral("Dry Bulb"));
  QCOMPARE(w->rbCompSecond->text(), QStringLiteral("Dew Point"));
  QCOMPARE(w->BigChart->titleLines(), QStringList(QStringLiteral("Comparison of Dry Bulb Temperature")));
  QCOMPARE(w->Series1->title(), QStringLiteral("Original Data"));
  QCOMPARE(w->Series2->title(), QStringLiteral("Final Data"));
  QVERIFY(w->Series1->ys() == Column(false, 4));
  QVERIFY(w->Series2->ys() == Column(true, 4));
  QVERIFY(w->BigChart->legendVisible());
  QVERIFY(!w->BigChart->rightAxisVisible());

  w->rbCompSecond->click();
  QVERIFY(w->Series1->ys() == Column(false, 5));
  QVERIFY(w->Series2->ys() == Column(true, 6));
  w->rbSolar->click();  // always the global horizontal, no options
  QVERIFY(!w->gbCompareOpt->isVisible());
  QVERIFY(w->Series1->ys() == Column(false, 6));
  QVERIFY(w->Series2->ys() == Column(true, 9));
  w->rbWind->click();
  QCOMPARE(w->rbCompSecond->text(), QStringLiteral("Direction"));
  QVERIFY(w->Series2->ys() == Column(true, 12));

  // Before any conversion the moisture option stays as chosen.
  auto fresh = Open(run.interimDir, run.base, 0, &errors);
  fresh->rbRH->click();
  fresh->cbShowOrig->click();
  QVERIFY(fresh->rbRH->isChecked());
  QCOMPARE(fresh->rbCompSecond->text(), QStringLiteral("Rel Hum"));
  QVERIFY(errors.isEmpty());
}

void BigChartTest::originalAloneHidesTheOptions() {
  QStringList errors;
  const test::SampleRun& run = test::SampleReviewRun();
  auto w = Open(run.interimDir, run.base, 1, &errors);
  w->cbShowOrig->click();
  w->cbShowFinal->click();
  QVERIFY(!w->selection().comparison);
  QVERIFY(!w->panMoist->isVisible() && !w->panSolarOpt->isVisible() && !w->gbCompareOpt->isVisible());
  QCOMPARE(w->BigChart->titleLines(), QStringList(QStringLiteral("Ambient Drybulb and Dew Point Temperatures")));
  QVERIFY(w->Series1->ys() == Column(false, 4));
  QVERIFY(w->Series2->ys() == Column(false, 5));
  QVERIFY(errors.isEmpty());
}

void BigChartTest::zoomAndUnZoomEffects() {
  QStringList errors;
  const test::SampleRun& run = test::SampleReviewRun();
  auto w = Open(run.interimDir, run.base, 1, &errors);
  chart::ChartView& c = *w->BigChart;
  w->cbShowOrig->click();
  QSignalSpy zooms(&c, &chart::ChartView::zoomed);
  QSignalSpy unZooms(&c, &chart::ChartView::unZoomed);
  const double fullMax = c.axisMax(chart::Axis::Bottom);
  const QRectF plot = c.plotArea();
  QVERIFY(c.zoomToPixels(QRectF(plot.left() + 100, plot.top() + 10, 80, 30)));
  QCOMPARE(zooms.size(), 1);
  QVERIFY(c.axisMax(chart::Axis::Bottom) < fullMax / 2);
  QCOMPARE(c.axisMin(chart::Axis::Left), 0.0);
  QVERIFY(!c.isAutomatic(chart::Axis::Left));
  QCOMPARE(w->Series1->penStyle(), Qt::DotLine);
  QCOMPARE(w->Series1->penWidth(), 4);

  w->Button1->click();
  QCOMPARE(unZooms.size(), 1);
  QCOMPARE(w->Series1->penStyle(), Qt::SolidLine);
  QCOMPARE(w->Series1->penWidth(), 1);
  QVERIFY(c.isAutomatic(chart::Axis::Left) && c.isAutomatic(chart::Axis::Bottom));
  QVERIFY(c.axisMin(chart::Axis::Left) < 0.0);  // the sample has frost
  QCOMPARE(c.axisMax(chart::Axis::Bottom), fullMax);

  // Outside comparison the original stays solid; a right axis in use starts at 0 too.
  w->cbShowOrig->click();
  w->rbWind->click();
  const int undone = unZooms.size();
  QVERIFY(c.zoomToPixels(QRectF(plot.left() + 10, plot.top(), 50, 5)));
  QCOMPARE(c.axisMin(chart::Axis::Right), 0.0);
  QCOMPARE(w->Series1->penStyle(), Qt::SolidLine);
  w->rbSolar->click();  // every selection change un-zooms
  QCOMPARE(unZooms.size(), undone + 1);
  QVERIFY(!c.isZoomed());

  // "Y-axis Pan/Zoom": both directions.
  w->CheckBox1->click();
  QCOMPARE(c.zoomDirections(), chart::Directions::Both);
  QCOMPARE(c.panDirections(), chart::Directions::Both);
  QVERIFY(!c.zoomToPixels(QRectF(plot.left() + 10, plot.top() + 10, 50, 3)));  // too flat
  QVERIFY(c.zoomToPixels(QRectF(plot.left() + 10, plot.center().y(), 50, 50)));
  QVERIFY(c.axisMax(chart::Axis::Left) < 700.0);
  QVERIFY(errors.isEmpty());
}

void BigChartTest::draggingZoomsOnlyBeyondTheMinimumSize() {
  QStringList errors;
  const test::SampleRun& run = test::SampleReviewRun();
  auto w = Open(run.interimDir, run.base, 1, &errors);
  chart::ChartView& c = *w->BigChart;
  c.setZoomAnimated(true);
  const QPoint start = c.plotArea().center().toPoint();
  QWidget* vp = c.viewport();
  QTest::mousePress(vp, Qt::LeftButton, {}, start);
  QTest::mouseMove(vp, start + QPoint(3, 0));
  QTest::mouseRelease(vp, Qt::LeftButton, {}, start + QPoint(3, 0));
  QVERIFY(!c.isZoomed() && !c.isZoomAnimating());
  QTest::mousePress(vp, Qt::LeftButton, {}, start);
  QTest::mouseMove(vp, start + QPoint(120, 20));
  QTest::mouseRelease(vp, Qt::LeftButton, {}, start + QPoint(120, 20));
  QVERIFY(c.isZoomAnimating());
  QTRY_VERIFY(c.isZoomed());
  const double zoomedMin = c.axisMin(chart::Axis::Bottom);
  // The right button drags the view sideways.
  QTest::mousePress(vp, Qt::RightButton, {}, start);
  QTest::mouseMove(vp, start + QPoint(40, 0));
  QTest::mouseRelease(vp, Qt::RightButton, {}, start + QPoint(40, 0));
  QVERIFY(c.axisMin(chart::Axis::Bottom) < zoomedMin);
  // A drag from right to left un-zooms.
  QTest::mousePress(vp, Qt::LeftButton, {}, start);
  QTest::mouseMove(vp, start - QPoint(50, 0));
  QTest::mouseRelease(vp, Qt::LeftButton, {}, start - QPoint(50, 0));
  QVERIFY(!c.isZoomed());
}

void BigChartTest::hoveredPointShowsItsDate() {
  QStringList errors;
  const test::SampleRun& run = test::SampleReviewRun();
  auto w = Open(run.interimDir, run.base, 1, &errors);
  chart::ChartView& c = *w->BigChart;
  const double value = Column(true, 5)[4670];
  const QPointF at = c.pixelOf(QPointF(4670, value), c.axisOf(w->Series2));
  QVERIFY(c.zoomToPixels(QRectF(at.x() - 20, 0, 40, 10)));  // hour by hour
  const QPointF p = c.pixelOf(QPointF(4670, value), c.axisOf(w->Series2));
  QCOMPARE(c.hoverText(p), QStringLiteral("Jul 14 15:00\nWet Bulb Temp: ") + QString::number(value, 'g', 6));
  QCOMPARE(c.hoverText(QPointF(1, 1)), QString());  // outside the plot
}

void BigChartTest::marksTheHoursWhoseValuesDiffer() {
  // A run whose cleaning replaced hours 100 to 102 and 5000.
  test::ProgramDir program;
  const QString dir = program.makeDir(QStringLiteral("interim"));
  test::CopySampleRun(dir, QStringLiteral("Fixed"));
  const QString original = dir + QStringLiteral("/Fixed-orig.csv");
  QList<QByteArray> lines = test::ReadFileBytes(original).split('\n');
  for (int row : {100, 101, 102, 5000}) {
    QList<QByteArray> fields = lines[row + 2].split(',');
    fields[3] = " -1766.20";
    lines[row + 2] = fields.join(',');
  }
  test::WriteFileBytes(original, lines.join('\n'));
  QStringList errors;
  auto w = Open(dir, QStringLiteral("Fixed"), 1, &errors);
  QVERIFY(!w->actMarkRepaired->isVisible());
  w->cbShowOrig->click();
  QVERIFY(w->actMarkRepaired->isVisible() && w->actMarkRepaired->isEnabled());
  w->actMarkRepaired->setChecked(true);
  QCOMPARE(w->BigChart->markCount(), 4);
  w->rbCompSecond->click();  // dew point: nothing was replaced
  QCOMPARE(w->BigChart->markCount(), 0);
  w->rbCompFirst->click();
  QCOMPARE(w->BigChart->markCount(), 4);
  w->actMarkRepaired->setChecked(false);
  QCOMPARE(w->BigChart->markCount(), 0);
  QVERIFY(errors.isEmpty());
}

void BigChartTest::contextMenuSavesAndCopiesThePicture() {
  QStringList errors;
  const test::SampleRun& run = test::SampleReviewRun();
  auto w = Open(run.interimDir, run.base, 1, &errors);
  test::ProgramDir program;
  const QString png = program.file(QStringLiteral("chart.png"));
  w->BigChart->setSavePathChooser([png](QWidget*) { return png; });
  std::unique_ptr<QMenu> menu(w->BigChart->makeContextMenu());
  menu->setAttribute(Qt::WA_DeleteOnClose, false);
  QStringList texts;
  for (QAction* a : menu->actions()) {
    if (!a->isSeparator()) texts.append(a->text());
  }
  QCOMPARE(texts, (QStringList{QStringLiteral("Save as PNG..."), QStringLiteral("Copy"),
                               QStringLiteral("Mark repaired hours")}));
  menu->actions()[0]->trigger();
  const QImage saved(png);
  QCOMPARE(saved.size(), w->BigChart->size() * w->BigChart->devicePixelRatio());
  menu->actions()[1]->trigger();
  QCOMPARE(QGuiApplication::clipboard()->image().size(), saved.size());
}

void BigChartTest::drawsAtMostFourPointsPerPixelColumn() {
  std::vector<double> xs(8760), ys(8760);
  for (size_t i = 0; i < xs.size(); ++i) {
    xs[i] = static_cast<double>(i);
    ys[i] = static_cast<double>((i * 7919) % 101);
  }
  const std::vector<size_t> drawn = chart::PointsToDraw(xs, ys, 0, 8759, 500);
  QVERIFY(drawn.size() <= 4 * 500 + 4);
  QVERIFY(std::is_sorted(drawn.begin(), drawn.end()));
  // Every column keeps its extremes: the drawn line spans what the data span.
  double lo = 1e9, hi = -1e9;
  for (size_t i : drawn) lo = std::min(lo, ys[i]), hi = std::max(hi, ys[i]);
  QCOMPARE(lo, 0.0);
  QCOMPARE(hi, 100.0);
  // A zoomed range draws its points and the nearest one outside each end.
  QCOMPARE(chart::PointsToDraw(xs, ys, 100.5, 110.5, 500).front(), size_t(100));
  QCOMPARE(chart::PointsToDraw(xs, ys, 100.5, 110.5, 500).back(), size_t(111));
  const chart::AxisScale s = chart::AutoScale(-13.2, 98.6, 6, true);
  QCOMPARE(s.step, 20.0);
  QCOMPARE(s.min, -20.0);
  QCOMPARE(s.max, 100.0);
  QCOMPARE(chart::DecimalsForStep(0.002), 3);
}

KESTRUM_GUI_TEST(BigChartTest);
#include "big_chart_test.moc"
