// The detailed chart window on review files of real conversions: its selections with and
// without comparison, the moisture quantity its original file names, the option panels, the
// zoom, wheel and pan effects (a cold winter's values stay in view), the hovered hour's
// read-out, marking repaired hours, the context menu and the picture of the chart alone,
// and its layout at the smallest size.
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QValueAxis>
#include <QtTest>

#include "chart/axis_scale.h"
#include "chart/chart_picture.h"
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
  void checkingOriginalComparesTheMoistureItsFileNames();
  void moistureOfTheOriginalFileDecidesInAFreshWindow_data();
  void moistureOfTheOriginalFileDecidesInAFreshWindow();
  void originalAloneHidesTheOptions();
  void zoomAndUnZoomEffects();
  void zoomOverColdHoursKeepsThemInView();
  void draggingZoomsOnlyBeyondTheMinimumSize();
  void panningStopsAtTheEndsOfTheYear();
  void wheelZoomsTheHoursAboutThePointer();
  void hoverReadsTheNearestHourOfEverySeries();
  void marksTheHoursWhoseValuesDiffer();
  void contextMenuSavesAndCopiesThePicture();
  void pictureShowsTheChartAloneWithItsRun();
  void windSpeedIsDrawnOverTheDirection();
  void nothingOverlapsAtTheDefaultAndTheSmallestSize();
  void drawsAtMostFourPointsPerPixelColumn();
};

namespace {

std::unique_ptr<TfrmBigChart> Open(const QString& dir, const QString& base, QStringList* errors) {
  BigChartInputs in;
  in.interimDir = dir;
  in.baseName = base;
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

// Lets the layouts of nested widgets follow a change, level by level.
void Settle() {
  for (int i = 0; i < 4; ++i) QApplication::processEvents();
}

// The view pixel of hour x on the bottom axis.
double PixelOfHour(const chart::ChartView& c, double x) {
  return c.pixelOf(QPointF(x, 0), chart::Axis::Left).x();
}

// Zooms the bottom axis into hours [from, to] as a drag does.
bool ZoomHours(chart::ChartView& c, double from, double to) {
  const double left = PixelOfHour(c, from);
  return c.zoomToPixels(QRectF(left, c.plotArea().top(), PixelOfHour(c, to) - left, 20));
}

// The lowest value of the points in hours [from, to].
double LowestIn(const chart::LineSeries& s, double from, double to) {
  double lowest = 1e300;
  for (int i = 0; i < s.count(); ++i) {
    if (s.xs()[i] >= from && s.xs()[i] <= to) lowest = std::min(lowest, s.ys()[i]);
  }
  return lowest;
}

// Where the chart's title is drawn, in view pixels (empty when no title item shows it).
QRectF TitleArea(const chart::ChartView& c) {
  const QString start = c.titleLines().value(0).left(12);
  for (QGraphicsItem* item : c.scene()->items()) {
    const auto* text = dynamic_cast<const QGraphicsTextItem*>(item);
    if (text != nullptr && text->isVisible() && text->toPlainText().startsWith(start)) {
      return c.mapFromScene(text->sceneBoundingRect()).boundingRect();
    }
  }
  return {};
}

// Every selection the option groups offer, without and with comparison.
void ForEverySelection(TfrmBigChart& w, const std::function<void()>& check) {
  for (QCheckBox* original : {static_cast<QCheckBox*>(nullptr), w.cbShowOrig}) {
    if (original != nullptr) original->click();
    for (QRadioButton* type : {w.rbTemp, w.rbSolar, w.rbWind}) {
      type->click();
      QList<QRadioButton*> options = {nullptr};
      if (w.gbCompareOpt->isVisible()) options = {w.rbCompFirst, w.rbCompSecond};
      if (w.panMoist->isVisible()) options = {w.rbWBT, w.rbDPT, w.rbRH, w.rbHR};
      if (w.panSolarOpt->isVisible()) options = {w.rbSolHor, w.rbSolDN, w.rbSolBoth};
      for (QRadioButton* option : options) {
        if (option != nullptr) option->click();
        check();
      }
    }
  }
}

}  // namespace

void BigChartTest::opensOnTheFinalTemperatures() {
  QStringList errors;
  const test::SampleRun& run = test::SampleReviewRun();
  auto w = Open(run.interimDir, run.base, &errors);
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
  // Month names along the hour axis, at the first day of each month.
  QCOMPARE(w->BigChart->bottomMarksInView(),
           (QStringList{"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct",
                        "Nov", "Dec"}));

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

void BigChartTest::checkingOriginalComparesTheMoistureItsFileNames() {
  QStringList errors;
  const test::SampleRun& run = test::SampleReviewRun();  // its original file says DewPtT
  auto w = Open(run.interimDir, run.base, &errors);
  QCOMPARE(w->originalMoisture(), std::optional<int>(1));
  w->rbRH->click();  // a choice the original data cannot follow
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
  QCOMPARE(w->BigChart->titleLines(), QStringList(QStringLiteral("Comparison of Dew Point Temperatures")));
  QVERIFY(w->Series1->ys() == Column(false, 5));
  QVERIFY(w->Series2->ys() == Column(true, 6));
  // The dew point as read against the dew point as converted: only repaired hours differ.
  w->actMarkRepaired->setChecked(true);
  QVERIFY(w->BigChart->markCount() < 100);
  w->actMarkRepaired->setChecked(false);
  w->rbSolar->click();  // always the global horizontal, no options
  QVERIFY(!w->gbCompareOpt->isVisible());
  QVERIFY(w->Series1->ys() == Column(false, 6));
  QVERIFY(w->Series2->ys() == Column(true, 9));
  w->rbWind->click();
  QCOMPARE(w->rbCompSecond->text(), QStringLiteral("Direction"));
  QVERIFY(w->Series2->ys() == Column(true, 12));
  QVERIFY(errors.isEmpty());
}

void BigChartTest::moistureOfTheOriginalFileDecidesInAFreshWindow_data() {
  QTest::addColumn<QByteArray>("field");    // the fifth field of the original file's header
  QTest::addColumn<QString>("option");      // the moisture option checking "Original" picks
  QTest::addColumn<int>("finalColumn");     // compared with the original file's column 5
  QTest::addColumn<QString>("title");
  QTest::newRow("dew point") << QByteArray("DewPtT") << "rbDPT" << 6
                             << "Comparison of Dew Point Temperatures";
  QTest::newRow("wet bulb") << QByteArray("WetBulbT") << "rbWBT" << 5
                            << "Comparison of Wetbulb Temperatures";
  QTest::newRow("relative humidity") << QByteArray("RelHum") << "rbRH" << 7
                                     << "Comparison of Relative Humidity";
  QTest::newRow("short name") << QByteArray("rh") << "rbRH" << 7 << "Comparison of Relative Humidity";
  QTest::newRow("unknown: as the review tab, wet bulb")
      << QByteArray("Humid") << "rbWBT" << 5 << "Comparison of Wetbulb Temperatures";
}

void BigChartTest::moistureOfTheOriginalFileDecidesInAFreshWindow() {
  QFETCH(QByteArray, field);
  QFETCH(QString, option);
  QFETCH(int, finalColumn);
  QFETCH(QString, title);
  test::ProgramDir program;
  const QString dir = program.makeDir(QStringLiteral("interim"));
  test::CopySampleRun(dir, QStringLiteral("Other"));
  const QString original = dir + QStringLiteral("/Other-orig.csv");
  test::WriteFileBytes(original, test::ReadFileBytes(original).replace("DewPtT", field));
  QStringList errors;
  auto w = Open(dir, QStringLiteral("Other"), &errors);
  w->rbHR->click();
  w->cbShowOrig->click();
  QVERIFY(w->findChild<QRadioButton*>(option)->isChecked());
  w->rbCompSecond->click();
  QCOMPARE(w->BigChart->titleLines(), QStringList(title));
  QVERIFY(w->Series1->ys() == test::ColumnOf(original, 5));
  QVERIFY(w->Series2->ys() == test::ColumnOf(dir + QStringLiteral("/Other-final.csv"), finalColumn));
  // The original data alone keep that quantity.
  w->cbShowFinal->click();
  QVERIFY(w->Series2->ys() == test::ColumnOf(original, 5));
  QVERIFY(errors.isEmpty());
}

void BigChartTest::originalAloneHidesTheOptions() {
  QStringList errors;
  const test::SampleRun& run = test::SampleReviewRun();
  auto w = Open(run.interimDir, run.base, &errors);
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
  auto w = Open(run.interimDir, run.base, &errors);
  chart::ChartView& c = *w->BigChart;
  w->cbShowOrig->click();
  QSignalSpy zooms(&c, &chart::ChartView::zoomed);
  QSignalSpy unZooms(&c, &chart::ChartView::unZoomed);
  const double fullMax = c.axisMax(chart::Axis::Bottom);
  const QRectF plot = c.plotArea();
  QVERIFY(ZoomHours(c, 4400, 4800));  // July: nothing below 0
  QCOMPARE(zooms.size(), 1);
  QVERIFY(c.axisMax(chart::Axis::Bottom) - c.axisMin(chart::Axis::Bottom) < fullMax / 10);
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
  const QPointF top = c.valueAt(plot.center(), chart::Axis::Left);
  const QPointF bottom = c.valueAt(plot.center() + QPointF(0, 50), chart::Axis::Left);
  QVERIFY(c.zoomToPixels(QRectF(plot.left() + 10, plot.center().y(), 50, 50)));
  // The value range dragged stays: it does not start at 0.
  QCOMPARE(c.axisMin(chart::Axis::Left), bottom.y());
  QCOMPARE(c.axisMax(chart::Axis::Left), top.y());
  QVERIFY(errors.isEmpty());
}

void BigChartTest::zoomOverColdHoursKeepsThemInView() {
  QStringList errors;
  const test::ColdRun& run = test::ColdReviewRun();
  auto w = Open(run.interimDir, run.base, &errors);
  chart::ChartView& c = *w->BigChart;
  w->cbShowOrig->click();  // the dry bulb as read against as converted
  QVERIFY(ZoomHours(c, 0, 700));  // January
  const double coldest = LowestIn(*w->Series1, c.axisMin(chart::Axis::Bottom),
                                  c.axisMax(chart::Axis::Bottom));
  QVERIFY2(coldest < -5.0, qPrintable(QString::number(coldest)));
  // The axis reaches down to the coldest hour in view, a whole step below it at most.
  const double step = c.axis(chart::Axis::Left)->tickInterval();
  QVERIFY(c.axisMin(chart::Axis::Left) <= coldest);
  QVERIFY(c.axisMin(chart::Axis::Left) > coldest - step);
  // Moved on to July, the view starts at 0 again.
  c.panByPixels(QPointF(PixelOfHour(c, 0) - PixelOfHour(c, 4400), 0));
  QVERIFY(c.axisMin(chart::Axis::Bottom) > 4000);
  QCOMPARE(c.axisMin(chart::Axis::Left), 0.0);
  // The wheel zooms too: back in January, the cold stays in view.
  w->Button1->click();
  c.wheelZoom(PixelOfHour(c, 300), 8);
  QVERIFY(c.isZoomed());
  QVERIFY(c.axisMin(chart::Axis::Left) < 0.0);
  QVERIFY(errors.isEmpty());
}

void BigChartTest::draggingZoomsOnlyBeyondTheMinimumSize() {
  QStringList errors;
  const test::SampleRun& run = test::SampleReviewRun();
  auto w = Open(run.interimDir, run.base, &errors);
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

void BigChartTest::panningStopsAtTheEndsOfTheYear() {
  QStringList errors;
  const test::SampleRun& run = test::SampleReviewRun();
  auto w = Open(run.interimDir, run.base, &errors);
  chart::ChartView& c = *w->BigChart;
  c.panByPixels(QPointF(300, 0));  // the whole year in view: nothing to move
  QCOMPARE(c.axisMin(chart::Axis::Bottom), 0.0);
  QCOMPARE(c.axisMax(chart::Axis::Bottom), 8759.0);
  QVERIFY(ZoomHours(c, 4000, 4500));
  const double width = c.axisMax(chart::Axis::Bottom) - c.axisMin(chart::Axis::Bottom);
  c.panByPixels(QPointF(100000, 0));  // towards January, far beyond it
  QCOMPARE(c.axisMin(chart::Axis::Bottom), 0.0);
  QCOMPARE(c.axisMax(chart::Axis::Bottom), width);
  c.panByPixels(QPointF(-100000, 0));
  QCOMPARE(c.axisMax(chart::Axis::Bottom), 8759.0);
  QCOMPARE(c.axisMin(chart::Axis::Bottom), 8759.0 - width);
  // By the mouse: the right button drags the view.
  QWidget* vp = c.viewport();
  const QPoint start = c.plotArea().center().toPoint();
  QTest::mousePress(vp, Qt::RightButton, {}, start);
  QTest::mouseMove(vp, start - QPoint(300, 0));
  QTest::mouseRelease(vp, Qt::RightButton, {}, start - QPoint(300, 0));
  QCOMPARE(c.axisMax(chart::Axis::Bottom), 8759.0);
  QVERIFY(errors.isEmpty());
}

void BigChartTest::wheelZoomsTheHoursAboutThePointer() {
  QStringList errors;
  const test::SampleRun& run = test::SampleReviewRun();
  auto w = Open(run.interimDir, run.base, &errors);
  chart::ChartView& c = *w->BigChart;
  w->rbSolar->click();  // never below 0
  QSignalSpy zooms(&c, &chart::ChartView::zoomed);
  QSignalSpy unZooms(&c, &chart::ChartView::unZoomed);
  const double x = PixelOfHour(c, 2000);
  auto wheel = [&](int delta) {
    const QPointF at(x, c.plotArea().center().y());
    QWheelEvent event(at, c.viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(c.viewport(), &event);
  };
  wheel(120);  // one notch in: 4/5 of the hours, hour 2000 where it was
  QCOMPARE(zooms.size(), 1);
  QVERIFY(c.isZoomed());
  QCOMPARE(c.axisMax(chart::Axis::Bottom) - c.axisMin(chart::Axis::Bottom), 8759.0 * 0.8);
  QVERIFY(std::fabs(PixelOfHour(c, 2000) - x) < 0.01);
  QCOMPARE(c.axisMin(chart::Axis::Left), 0.0);  // the zoom's effects, as after a drag
  for (int i = 0; i < 40; ++i) wheel(120);
  QCOMPARE(c.axisMax(chart::Axis::Bottom) - c.axisMin(chart::Axis::Bottom),
           chart::ChartView::kMinimumZoomWidth);
  wheel(-120 * 60);  // all the way out: the whole year, un-zoomed
  QCOMPARE(unZooms.size(), 1);
  QVERIFY(!c.isZoomed());
  QCOMPARE(c.axisMax(chart::Axis::Bottom), 8759.0);
  QVERIFY(errors.isEmpty());
}

void BigChartTest::hoverReadsTheNearestHourOfEverySeries() {
  QStringList errors;
  const test::SampleRun& run = test::SampleReviewRun();
  auto w = Open(run.interimDir, run.base, &errors);
  chart::ChartView& c = *w->BigChart;
  const QRectF plot = c.plotArea();
  // The whole year (more hours than pixels) and hour by hour: anywhere in the plot the
  // read-out is the hour nearest to the pointer, whatever the distance to the lines.
  for (bool zoomed : {false, true}) {
    if (zoomed) QVERIFY(ZoomHours(c, 4000, 5000) && ZoomHours(c, 4660, 4680));
    const QPointF between(PixelOfHour(c, 4670.3), plot.bottom() - 2);
    QCOMPARE(c.hoverText(between),
             QStringLiteral("Jul 14 15:00\nDry Bulb Temp: %1\nWet Bulb Temp: %2")
                 .arg(Column(true, 4)[4670], 0, 'g', 6)
                 .arg(Column(true, 5)[4670], 0, 'g', 6));
  }
  QCOMPARE(c.hoverText(QPointF(1, 1)), QString());  // outside the plot
  // In comparison: the original and the final value.
  w->cbShowOrig->click();
  QCOMPARE(c.hoverText(QPointF(PixelOfHour(c, 0.4), c.plotArea().top() + 2)),
           QStringLiteral("Jan 1 01:00\nOriginal Data: %1\nFinal Data: %2")
               .arg(Column(false, 4)[0], 0, 'g', 6)
               .arg(Column(true, 4)[0], 0, 'g', 6));
  QVERIFY(errors.isEmpty());
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
  auto w = Open(dir, QStringLiteral("Fixed"), &errors);
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
  auto w = Open(run.interimDir, run.base, &errors);
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
  // The chart under a band that names the run.
  QCOMPARE(saved.size(), (w->BigChart->size() + QSize(0, chart::CaptionBandHeight())) *
                             w->BigChart->devicePixelRatio());
  QCOMPARE(saved.text(QString::fromLatin1(chart::kPictureTitleKey)),
           QStringLiteral("Ambient Drybulb and Wetbulb Temperatures - Golden: final data"));
  menu->actions()[1]->trigger();
  QCOMPARE(QGuiApplication::clipboard()->image().size(), saved.size());
}

void BigChartTest::pictureShowsTheChartAloneWithItsRun() {
  QStringList errors;
  const test::SampleRun& run = test::SampleReviewRun();
  auto w = Open(run.interimDir, run.base, &errors);
  chart::ChartView& c = *w->BigChart;
  QVERIFY(QTest::qWaitForWindowExposed(w.get()));
  QVERIFY(w->Button1->isVisible() && w->CheckBox1->isVisible());
  // The buttons over the chart are no part of its picture: it is the same without them.
  const QImage withButtons = c.picture();
  w->panChartButtons->hide();
  QCOMPARE(c.picture(), withButtons);
  QVERIFY(c.grab().toImage() != withButtons);  // (the widget itself does show them)
  w->panChartButtons->show();

  struct Case {
    QCheckBox* click;
    const char* caption;
  };
  for (const Case& k : {Case{w->cbShowOrig, "Golden: original and final data"},
                        Case{w->cbShowFinal, "Golden: original data"},
                        Case{w->cbShowOrig, "Golden: original data"},  // neither: the original
                        Case{w->cbShowFinal, "Golden: final data"}}) {
    k.click->click();
    QCOMPARE(c.pictureCaption(), QString::fromLatin1(k.caption));
    QCOMPARE(c.picture().text(QString::fromLatin1(chart::kPictureTitleKey)),
             c.titleLines().join(QStringLiteral(" - ")) + QStringLiteral(" - ") + k.caption);
  }
  QVERIFY(errors.isEmpty());
}

void BigChartTest::windSpeedIsDrawnOverTheDirection() {
  QStringList errors;
  const test::SampleRun& run = test::SampleReviewRun();
  auto w = Open(run.interimDir, run.base, &errors);
  chart::ChartView& c = *w->BigChart;
  QCOMPARE(c.drawingOrder().back(), w->Series2);
  w->rbWind->click();
  QCOMPARE(c.drawingOrder().back(), w->Series1);
  QCOMPARE(w->Series1->title(), QStringLiteral("Speed"));
  QVERIFY(w->Series1->ys() == Column(true, 11));  // still filled and tied as before
  QCOMPARE(c.axisOf(w->Series2), chart::Axis::Right);
  w->rbTemp->click();
  QCOMPARE(c.drawingOrder().back(), w->Series2);
  QVERIFY(errors.isEmpty());
}

void BigChartTest::nothingOverlapsAtTheDefaultAndTheSmallestSize() {
  QStringList errors;
  const test::SampleRun& run = test::SampleReviewRun();
  for (const QSize size : {QSize(795, 593), QSize(500, 300)}) {
    auto w = Open(run.interimDir, run.base, &errors);
    w->resize(size);
    Settle();
    QCOMPARE(w->size(), size);
    QCOMPARE(w->bandRows(), size.width() < 700 ? 2 : 1);
    chart::ChartView& c = *w->BigChart;
    const QRect buttons = w->panChartButtons->geometry();
    ForEverySelection(*w, [&] {
      Settle();
      const QByteArray what = c.titleLines().value(0).toLatin1() + " at " +
                              QByteArray::number(size.width());
      // Every option shows its caption whole, inside the window.
      for (QAbstractButton* b : w->findChildren<QAbstractButton*>()) {
        if (!b->isVisibleTo(w.get())) continue;
        const QRect at(b->mapTo(w.get(), QPoint(0, 0)), b->size());
        QVERIFY2(b->width() >= b->sizeHint().width(), what + " " + b->objectName().toLatin1());
        QVERIFY2(w->rect().contains(at), what + " " + b->objectName().toLatin1());
      }
      // "Y-axis Pan/Zoom" and "Un-Zoom" leave the title free; the legend hides no data.
      const QRectF title = TitleArea(c);
      QVERIFY2(!title.isEmpty(), what);
      QVERIFY2(!title.intersects(buttons), what);
      const QRectF legend = c.legendArea();
      if (c.legendVisible()) {
        // Every drawn series' title, whole, in one row.
        QStringList expected, shown;
        for (const chart::LineSeries* s : c.drawingOrder()) {
          if (!s->isEmpty()) expected.append(s->title());
        }
        const QList<test::LegendLabel> labels = test::LegendLabels(c);
        for (const test::LegendLabel& l : labels) shown.append(l.text);
        QVERIFY2(shown == expected, what + " " + shown.join(QLatin1Char('|')).toLatin1());
        for (const test::LegendLabel& l : labels) {
          QVERIFY2(l.area.top() == labels[0].area.top(), what);
          QVERIFY2(!l.area.intersects(c.plotArea()), what);
        }
        QVERIFY2(!legend.isEmpty(), what);
        QVERIFY2(!legend.intersects(c.plotArea()), what);
        QVERIFY2(!legend.intersects(buttons), what);
        QVERIFY2(!legend.intersects(title), what);
      }
    });
  }
  QVERIFY(errors.isEmpty());
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
