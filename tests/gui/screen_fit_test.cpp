// Where windows go: the rectangle arithmetic of ui/screen_fit.h on the screens analysts
// use (1024x768, 1366x768, 1600x1000), frames measured on a desktop with a 20-pixel title bar.
#include <QtTest>

#include "gui_test_support.h"
#include "ui/screen_fit.h"

using namespace kestrum;
using ui::Side;

Q_DECLARE_METATYPE(ui::Side)

namespace {

const QRect k1024(0, 0, 1024, 768);
const QRect k1366(0, 0, 1366, 768);
const QRect k1600(0, 0, 1600, 1000);
// The main window at Left=100, Top=100, and its Convert button and completion label.
const QRect kMain(100, 100, 553, 555);
const QRect kKeep(121, 356, 511, 112);
// The field window's frame as it would like to be and as small as it gets.
const QSize kFieldPreferred(680, 378);
const QSize kFieldLeast(485, 204);
const QSize kPreviewComfortable(560, 260);
const QSize kPreviewLeast(320, 200);

bool Inside(const QRect& frame, const QRect& area) { return area.contains(frame); }

}  // namespace

class ScreenFitTest : public QObject {
  Q_OBJECT

 private slots:
  void fitToWorkArea_data();
  void fitToWorkArea();
  void besideTheMainWindow_data();
  void besideTheMainWindow();
  void previewWhereThereIsRoom_data();
  void previewWhereThereIsRoom();
  void snapMakesRoom_data();
  void snapMakesRoom();
};

void ScreenFitTest::fitToWorkArea_data() {
  QTest::addColumn<QRect>("frame");
  QTest::addColumn<QRect>("workArea");
  QTest::addColumn<QRect>("fitted");
  QTest::newRow("inside: unchanged") << kMain << k1024 << kMain;
  QTest::newRow("off right and bottom") << QRect(1200, 700, 553, 555) << k1366 << QRect(813, 213, 553, 555);
  QTest::newRow("left of and above the screen") << QRect(-50, -20, 300, 200) << k1024 << QRect(0, 0, 300, 200);
  QTest::newRow("larger than the screen: shrunk")
      << QRect(10, 10, 2000, 900) << k1366 << QRect(0, 0, 1366, 768);
  QTest::newRow("under a top panel")
      << QRect(100, 0, 553, 555) << QRect(0, 24, 1366, 704) << QRect(100, 24, 553, 555);
  QTest::newRow("above a bottom panel")
      << QRect(100, 200, 553, 555) << QRect(0, 0, 1366, 728) << QRect(100, 173, 553, 555);
  QTest::newRow("left on a second screen")
      << QRect(100, 100, 553, 555) << QRect(1366, 0, 1600, 1000) << QRect(1366, 100, 553, 555);
  QTest::newRow("no work area known: unchanged") << kMain << QRect() << kMain;
}

void ScreenFitTest::fitToWorkArea() {
  QFETCH(QRect, frame);
  QFETCH(QRect, workArea);
  QFETCH(QRect, fitted);
  QCOMPARE(ui::FitToWorkArea(frame, workArea), fitted);
}

void ScreenFitTest::besideTheMainWindow_data() {
  QTest::addColumn<QRect>("main");
  QTest::addColumn<QSize>("preferred");
  QTest::addColumn<QRect>("workArea");
  QTest::addColumn<QRect>("placed");
  QTest::newRow("1600x1000: right of it") << kMain << kFieldPreferred << k1600 << QRect(653, 100, 680, 378);
  QTest::newRow("1366x768: right of it") << kMain << kFieldPreferred << k1366 << QRect(653, 100, 680, 378);
  QTest::newRow("1366x768, a wider window: shrunk to the room at the right")
      << kMain << QSize(760, 378) << k1366 << QRect(653, 100, 713, 378);
  QTest::newRow("1366x768, main window at the right edge: left of it")
      << QRect(813, 100, 553, 555) << kFieldPreferred << k1366 << QRect(133, 100, 680, 378);
  QTest::newRow("1600x1000, main window at the right edge, top: below it")
      << QRect(1047, 0, 553, 555) << kFieldPreferred << k1600 << QRect(920, 555, 680, 378);
  // No room beside the main window: above its Convert button and label, where the most fits.
  QTest::newRow("1024x768: above the watched controls")
      << kMain << kFieldPreferred << k1024 << QRect(121, 0, 680, 356);
}

void ScreenFitTest::besideTheMainWindow() {
  QFETCH(QRect, main);
  QFETCH(QSize, preferred);
  QFETCH(QRect, workArea);
  QFETCH(QRect, placed);
  const QRect keep = kKeep.translated(main.topLeft() - kMain.topLeft());
  const QRect frame = ui::PlaceBesideMainWindow(main, keep, preferred, kFieldLeast, workArea);
  QCOMPARE(frame, placed);
  QVERIFY(Inside(frame, workArea));
  QVERIFY(!frame.intersects(keep));
}

void ScreenFitTest::previewWhereThereIsRoom_data() {
  QTest::addColumn<QRect>("opener");
  QTest::addColumn<QRect>("workArea");
  QTest::addColumn<QRect>("placed");
  // Right of the field window as long as the screen has room there.
  QTest::newRow("1600x1000, field window at the left: right of it")
      << QRect(0, 0, 680, 378) << k1600 << QRect(680, 0, 920, 378);
  // Otherwise below it, as wide as the rest of the screen, clear of the main window.
  QTest::newRow("1366x768: below the field window")
      << QRect(653, 100, 680, 378) << k1366 << QRect(653, 478, 713, 290);
  // Below the Convert button and label, as the field window stands above them.
  QTest::newRow("1024x768: below the watched controls")
      << QRect(121, 0, 680, 356) << k1024 << QRect(121, 468, 903, 300);
  // The find button's preview: beside the main window, or beside its watched controls.
  QTest::newRow("1366x768, the main window's own: right of it")
      << kMain << k1366 << QRect(653, 100, 713, 555);
  QTest::newRow("800x600, the main window's own: above the watched controls")
      << kMain << QRect(0, 0, 800, 600) << QRect(121, 0, 511, 356);
}

void ScreenFitTest::previewWhereThereIsRoom() {
  QFETCH(QRect, opener);
  QFETCH(QRect, workArea);
  QFETCH(QRect, placed);
  const QRect frame =
      ui::PlacePreview(opener, kMain, kKeep, kPreviewComfortable, kPreviewLeast, workArea);
  QCOMPARE(frame, placed);
  QVERIFY(Inside(frame, workArea));
  QVERIFY(!frame.intersects(kKeep));
  if (opener != kMain) QVERIFY(!frame.intersects(opener));
}

void ScreenFitTest::snapMakesRoom_data() {
  QTest::addColumn<QRect>("opener");
  QTest::addColumn<Side>("side");
  QTest::addColumn<QRect>("workArea");
  QTest::addColumn<QRect>("openerAfter");
  QTest::addColumn<QRect>("preview");
  QTest::newRow("right, room enough") << QRect(100, 20, 600, 380) << Side::Right << k1600
                                      << QRect(100, 20, 600, 380) << QRect(700, 20, 900, 380);
  QTest::newRow("below, room enough") << QRect(100, 20, 600, 380) << Side::Below << k1366
                                      << QRect(100, 20, 600, 380) << QRect(100, 400, 600, 368);
  QTest::newRow("right, 1024x768: the window moves left")
      << QRect(121, 0, 680, 356) << Side::Right << k1024 << QRect(24, 0, 680, 356)
      << QRect(704, 0, 320, 356);
  QTest::newRow("right, a window as wide as the screen: it narrows")
      << QRect(0, 0, 900, 356) << Side::Right << k1024 << QRect(0, 0, 704, 356)
      << QRect(704, 0, 320, 356);
  // The preview never reaches past the work area, so it never slides over the window's buttons.
  QTest::newRow("below, window near the bottom: it moves up")
      << QRect(100, 500, 680, 378) << Side::Below << k1366 << QRect(100, 190, 680, 378)
      << QRect(100, 568, 680, 200);
  QTest::newRow("below, a window as high as the screen: it gets lower")
      << QRect(0, 0, 680, 700) << Side::Below << k1024 << QRect(0, 0, 680, 568)
      << QRect(0, 568, 680, 200);
  QTest::newRow("below, above a bottom panel")
      << QRect(100, 300, 680, 378) << Side::Below << QRect(0, 0, 1366, 728)
      << QRect(100, 150, 680, 378) << QRect(100, 528, 680, 200);
}

void ScreenFitTest::snapMakesRoom() {
  QFETCH(QRect, opener);
  QFETCH(Side, side);
  QFETCH(QRect, workArea);
  QFETCH(QRect, openerAfter);
  QFETCH(QRect, preview);
  const ui::SnapPlacement snap = ui::SnapPreview(opener, kFieldLeast, side, kPreviewLeast, workArea);
  QCOMPARE(snap.opener, openerAfter);
  QCOMPARE(snap.preview, preview);
  QVERIFY(Inside(snap.opener, workArea) && Inside(snap.preview, workArea));
  QVERIFY(!snap.preview.intersects(snap.opener));
}

KESTRUM_GUI_TEST(ScreenFitTest);
#include "screen_fit_test.moc"
