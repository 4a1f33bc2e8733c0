// The wind direction profile: the rose and its percentages from a real run's final data,
// its rings and its caption, the 547 rule, rescaling a sector by dragging it, the ">>>"
// button, and the picture of the profile without the buttons.
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "chart/chart_picture.h"
#include "chart/wind_rose_view.h"
#include "gui_test_support.h"
#include "review/wind_rose_window.h"
#include "review_test_support.h"

using namespace kestrum;

class WindRoseTest : public QObject {
  Q_OBJECT

 private slots:
  void percentagesOfTheCountedHours();
  void noCountedHourShows547Everywhere();
  void draggingASectorOutRescalesIt();
  void numbersButtonWidensAndNarrows();
  void ringsCarryTheirPercentages();
  void captionAndPictureNameTheRun();
};

namespace {

QString Cell(const TfrmWindRose& w, int row, int column) {
  const QTableWidgetItem* item = w.sgWindDir->item(row, column);
  return item == nullptr ? QString() : item->text();
}

// The sector of a whole-degree direction: d + 11.25 rounds to d + 11.
WindSectorCounts CountFinalFile() {
  WindSectorCounts counts{};
  for (double d : test::ColumnOf(test::SampleReviewRun().finalFile(), 12)) {
    if (d >= 0 && d <= 360) ++counts[(static_cast<int>(d) + 11) * 10 / 225 % 16];
  }
  return counts;
}

}  // namespace

void WindRoseTest::percentagesOfTheCountedHours() {
  const WindSectorCounts counts = CountFinalFile();
  TfrmWindRose w(counts);
  w.show();
  QCOMPARE(w.windowTitle(), QStringLiteral("Wind Direction Profile"));
  QCOMPARE(Cell(w, 0, 0), QString());
  QCOMPARE(Cell(w, 0, 1), QStringLiteral("Percent"));
  QCOMPARE(Cell(w, 1, 0), QStringLiteral("North"));
  QCOMPARE(Cell(w, 5, 0), QStringLiteral("East"));
  QCOMPARE(Cell(w, 16, 0), QStringLiteral("NNW"));
  QCOMPARE(w.sgWindDir->columnWidth(0), 50);
  QCOMPARE(w.sgWindDir->columnWidth(1), 60);
  double total = 0;
  for (int c : counts) total += c;
  QCOMPARE(total, 8760.0);
  for (int k = 0; k < 16; ++k) {
    QCOMPARE(Cell(w, k + 1, 1), QString::number(counts[k] / total * 100.0, 'f', 2));
    QCOMPARE(w.Chart1->value(k), counts[k] / total * 100.0);
  }
  QCOMPARE(w.Chart1->pointColor(0), w.Chart1->seriesColor());
}

void WindRoseTest::noCountedHourShows547Everywhere() {
  TfrmWindRose w(WindSectorCounts{});
  for (int k = 1; k <= 16; ++k) QCOMPARE(Cell(w, k, 1), QStringLiteral("547.00"));
  // A release without a pick changes nothing.
  w.Chart1MouseUp(QPoint(10, 10));
  QCOMPARE(w.values()[0], 547.0);
  // A pick at the centre has no distance to scale by and is ignored.
  w.Series1Click(3, w.chartCentre());
  QVERIFY(!w.sectorSelected());
}

void WindRoseTest::draggingASectorOutRescalesIt() {
  WindSectorCounts counts{};
  counts[0] = 30;  // North
  counts[4] = 10;  // East
  TfrmWindRose w(counts);
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  // Halve North by dragging its square half-way to the centre.
  const QPoint c = w.chartCentre();
  const QPoint north = w.Chart1->pointPosition(0).toPoint();
  QCOMPARE(north.x(), c.x());
  QVERIFY(north.y() < c.y() - 50);
  QWidget* vp = w.Chart1->viewport();
  const QPoint half(c.x(), c.y() - (c.y() - north.y()) / 2);
  QTest::mousePress(vp, Qt::LeftButton, {}, north);
  QVERIFY(w.sectorSelected());
  QCOMPARE(w.Chart1->pointColor(0), QColor(0, 255, 255));
  QTest::mouseRelease(vp, Qt::LeftButton, {}, half);
  QVERIFY(!w.sectorSelected());
  QCOMPARE(w.Chart1->pointColor(0), QColor(0, 0, 255));
  const double expected = 75.0 * (c.y() - half.y()) / (c.y() - north.y());
  QCOMPARE(w.values()[0], expected);
  QCOMPARE(w.Chart1->value(0), expected);
  // The grid shows each sector's share of the new total.
  QCOMPARE(Cell(w, 1, 1), QString::number(expected / (expected + 25.0) * 100.0, 'f', 2));
  QCOMPARE(Cell(w, 5, 1), QString::number(25.0 / (expected + 25.0) * 100.0, 'f', 2));

  // East dragged to twice its distance doubles.
  const QPoint east = w.Chart1->pointPosition(4).toPoint();
  w.Series1Click(4, east);
  w.Chart1MouseUp(c + 2 * (east - c));
  QCOMPARE(w.values()[4], 50.0);
}

void WindRoseTest::numbersButtonWidensAndNarrows() {
  TfrmWindRose w(WindSectorCounts{});
  QCOMPARE(w.width(), 327);
  QCOMPARE(w.btnShowWindNums->text(), QStringLiteral(">>>"));
  w.btnShowWindNums->click();
  QCOMPARE(w.width(), 454);
  QCOMPARE(w.btnShowWindNums->text(), QStringLiteral("<<<"));
  w.btnShowWindNums->click();
  QCOMPARE(w.width(), 327);
  QCOMPARE(w.btnShowWindNums->text(), QStringLiteral(">>>"));
}

void WindRoseTest::ringsCarryTheirPercentages() {
  struct Case {
    int north, east;          // hours counted
    QStringList labels;       // of the rings, from the centre out
  };
  // 75% and 25%: rings every 20% up to the first past the largest sector with room for
  // its square; 547 everywhere: every 200; one hour in each of two sectors: 50% each.
  const Case cases[] = {
      {30, 10, {"20%", "40%", "60%", "80%"}},
      {0, 0, {"200%", "400%", "600%"}},
      {1, 1, {"20%", "40%", "60%"}},
  };
  for (const Case& c : cases) {
    WindSectorCounts counts{};
    counts[0] = c.north;
    counts[4] = c.east;
    TfrmWindRose w(counts);
    w.show();
    QCOMPARE(w.Chart1->ringLabels(), c.labels);
    const QList<double> rings = w.Chart1->rings();
    QCOMPARE(rings.size(), c.labels.size());
    // The outermost sector lies inside the last ring.
    double top = 0;
    for (int k = 0; k < 16; ++k) top = std::max(top, w.values()[k]);
    QVERIFY(rings.back() > top);
    QVERIFY(rings.size() < 2 || rings[rings.size() - 2] < top * 1.06);
  }
  // A sector dragged out beyond the last ring gets rings to its new size.
  WindSectorCounts counts{};
  counts[0] = 30;
  counts[4] = 10;
  TfrmWindRose w(counts);
  w.show();
  const QPoint c = w.chartCentre();
  const QPoint north = w.Chart1->pointPosition(0).toPoint();
  w.Series1Click(0, north);
  w.Chart1MouseUp(c + 2 * (north - c));
  QCOMPARE(w.values()[0], 150.0);
  QCOMPARE(w.Chart1->ringLabels(), (QStringList{"50%", "100%", "150%", "200%"}));
}

void WindRoseTest::captionAndPictureNameTheRun() {
  const WindSectorCounts counts = CountFinalFile();
  TfrmWindRose w(counts, {QStringLiteral("Golden"), QStringLiteral("final data")});
  w.show();
  QCOMPARE(w.windowTitle(), QStringLiteral("Wind Direction Profile: Golden"));
  QCOMPARE(w.lblRoseRun->text(), QStringLiteral("Golden: final data"));
  // A long name is shortened in its middle; the tip holds it whole.
  const QString longName = QStringLiteral("USA_CO_Golden-NREL.724666_TMY3_with_a_long_tail");
  TfrmWindRose named(counts, {longName, QStringLiteral("final data")});
  QVERIFY(named.lblRoseRun->text().endsWith(QStringLiteral("final data")));
  QVERIFY(named.lblRoseRun->fontMetrics().horizontalAdvance(named.lblRoseRun->text()) <=
          named.lblRoseRun->width());
  QCOMPARE(named.lblRoseRun->toolTip(), longName + QStringLiteral(": final data"));
  // The picture: the rose with its percentages, under a caption, whether or not the
  // numbers are shown on screen; none of the buttons.
  const QImage narrow = w.picture();
  w.btnShowWindNums->click();
  const QImage wide = w.picture();
  QCOMPARE(wide, narrow);
  QCOMPARE(wide.width(), 454);
  QCOMPARE(wide.text(QString::fromLatin1(chart::kPictureTitleKey)),
           QStringLiteral("Wind Direction Profile: Golden (final data)"));
  // The context menu of the rose saves that picture.
  test::ProgramDir dir;
  const QString png = dir.file(QStringLiteral("rose.png"));
  w.Chart1->setSavePathChooser([png](QWidget*) { return png; });
  std::unique_ptr<QMenu> menu(w.Chart1->makeContextMenu());
  menu->setAttribute(Qt::WA_DeleteOnClose, false);
  menu->actions()[0]->trigger();
  QCOMPARE(QImage(png).text(QString::fromLatin1(chart::kPictureTitleKey)),
           QStringLiteral("Wind Direction Profile: Golden (final data)"));
}

KESTRUM_GUI_TEST(WindRoseTest);
#include "wind_rose_test.moc"
