// The arithmetic of the chart's horizontal range: pans stop at the data's ends, wheel zooms
// keep the pointer's hour in place within the data, the lowest value in view.
#include <QtTest>
#include <limits>

#include "chart/view_range.h"
#include "gui_test_support.h"

using namespace kestrum::chart;

class ViewRangeTest : public QObject {
  Q_OBJECT

 private slots:
  void pansStopAtTheEndsOfTheData();
  void wheelZoomKeepsThePointerHourInPlace();
  void lowestValueInView();
};

void ViewRangeTest::pansStopAtTheEndsOfTheData() {
  const Span year{0, 8759};
  struct Case {
    Span view;
    double by;
    Span expected;
  };
  const Case cases[] = {
      {{1000, 2000}, 500, {1500, 2500}},     // inside: moves as asked
      {{1000, 2000}, -14000, {0, 1000}},     // stops at the first hour
      {{8000, 8500}, 1000, {8259, 8759}},    // stops at the last
      {{0, 1000}, -1, {0, 1000}},            // already at the end
      {{0, 8759}, 300, {0, 8759}},           // the whole year: nothing to move
      {{-10, 9000}, -50, {-10, 9000}},       // wider than the data: stays
  };
  for (const Case& c : cases) {
    const Span got = PannedWithin(c.view, c.by, year);
    QCOMPARE(got.min, c.expected.min);
    QCOMPARE(got.max, c.expected.max);
  }
}

void ViewRangeTest::wheelZoomKeepsThePointerHourInPlace() {
  const Span year{0, 8759};
  struct Case {
    Span view;
    double x, factor;
    Span expected;
  };
  const Case cases[] = {
      {{0, 8759}, 0, 0.8, {0, 7007.2}},                // at the first hour: it stays first
      {{1000, 2000}, 1500, 0.5, {1250, 1750}},         // about the middle
      {{1000, 2000}, 1250, 0.5, {1125, 1625}},         // a quarter in stays a quarter in
      {{1000, 1010}, 1005, 0.1, {1002, 1008}},         // never narrower than 6 hours
      {{8000, 8759}, 8700, 2.0, {7241, 8759}},         // out, held at the last hour
      {{100, 200}, 150, 1000.0, {0, 8759}},            // out past the year: the year
  };
  for (const Case& c : cases) {
    const Span got = ZoomedAbout(c.view, c.x, c.factor, year, 6.0);
    QCOMPARE(got.min, c.expected.min);
    QCOMPARE(got.max, c.expected.max);
  }
}

void ViewRangeTest::lowestValueInView() {
  const std::vector<double> xs{0, 1, 2, 3, 4, 5};
  const std::vector<double> ys{5, -3, 4, 1, -9, 2};
  QCOMPARE(LowestInView(xs, ys, 0, 5), std::optional<double>(-9));
  QCOMPARE(LowestInView(xs, ys, 0.5, 3.5), std::optional<double>(-3));
  QCOMPARE(LowestInView(xs, ys, 2, 3), std::optional<double>(1));   // both ends count
  QCOMPARE(LowestInView(xs, ys, 2.2, 2.8), std::optional<double>());  // between two points
  QCOMPARE(LowestInView({}, {}, 0, 10), std::optional<double>());
}

KESTRUM_GUI_TEST(ViewRangeTest);
#include "view_range_test.moc"
