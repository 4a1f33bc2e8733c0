// Pictures of the review charts after the window converted the sample: the review tab for
// Temperature, Solar and Wind, the detailed chart comparing dry bulb after a zoom, and the
// wind direction profile with its numbers.
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>
#include <cstdio>

#include "chart/chart_view.h"
#include "review/big_chart_window.h"
#include "review/review_page_window.h"
#include "review/wind_rose_window.h"
#include "ui/main_window.h"

namespace {

bool Save(QWidget& widget, const QString& directory, const char* name) {
  QTest::qWait(150);
  const QString path = QDir(directory).filePath(QString::fromLatin1(name));
  if (widget.grab().save(path)) return true;
  std::fprintf(stderr, "cannot save %s\n", qPrintable(path));
  return false;
}

}  // namespace

bool TakeReviewScreenshots(kestrum::ui::TForm1& window, const QString& directory) {
  using namespace kestrum;
  window.tabs->setCurrentWidget(window.review.page);
  window.review.rbSolar->click();
  if (!Save(window, directory, "review-solar.png")) return false;
  window.review.rbWind->click();
  if (!Save(window, directory, "review-wind.png")) return false;

  BigChartInputs inputs;
  inputs.interimDir = window.setup.edInterimPath->text();
  inputs.baseName = window.reviewPage().baseName();
  TfrmBigChart detail(std::move(inputs), &window);
  detail.show();
  QTest::qWait(100);
  detail.cbShowOrig->click();
  // Three weeks of July.
  chart::ChartView& c = *detail.BigChart;
  const double left = c.pixelOf(QPointF(4344, 0), chart::Axis::Left).x();
  const double right = c.pixelOf(QPointF(4848, 0), chart::Axis::Left).x();
  c.zoomToPixels(QRectF(left, c.plotArea().top(), right - left, 20));
  for (int waited = 0; !c.isZoomed() && waited < 2000; waited += 50) QTest::qWait(50);
  if (!Save(detail, directory, "detailed-chart-zoomed.png")) return false;
  detail.close();

  TfrmWindRose rose(window.reviewPage().windSectorCounts(),
                    {window.reviewPage().baseName(), QStringLiteral("final data")}, &window);
  rose.show();
  rose.btnShowWindNumsClick();
  return Save(rose, directory, "wind-rose.png");
}
