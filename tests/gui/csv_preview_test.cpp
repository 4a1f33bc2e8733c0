// The preview grid of a CSV file: its shape, the fields exactly as the reader splits them,
// and files it must refuse or bound (missing, a directory, a pipe, a device, a huge line).
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

#include "csv/csv_lines.h"
#include "csv/csv_preview.h"
#include "csv/xls_preview_window.h"
#include "gui_test_support.h"
#include "run/run_error.h"
#include "ui/qt_text.h"

using namespace kestrum;

class CsvPreviewTest : public QObject {
  Q_OBJECT

 private slots:
  void cellsHoldTheFieldsTheReaderSees_data();
  void cellsHoldTheFieldsTheReaderSees();
  void linesEndWhereTheReaderEndsThem();
  void gridShapeOnTheSampleFile();
  void filesThatCannotBeShownAreRefused_data();
  void filesThatCannotBeShownAreRefused();
  void aHugeLineIsCutAndTheNextLineStillShown();
};

namespace {

QString Cell(const TXLSform& preview, int line, int column) {
  const QTableWidgetItem* item = preview.sgXLS->item(line - 1, column - 1);
  return item != nullptr ? item->text() : QString();
}

}  // namespace

void CsvPreviewTest::cellsHoldTheFieldsTheReaderSees_data() {
  QTest::addColumn<QByteArray>("content");
  QTest::addColumn<int>("line");
  QTest::addColumn<int>("column");
  QTest::addColumn<QString>("shown");
  QByteArray tenLines;
  for (int i = 1; i <= 10; ++i) tenLines += QByteArray::number(i) + "\n";
  QTest::newRow("line 10 of 10") << tenLines << 10 << 1 << "10";
  QTest::newRow("line 11 of 10") << tenLines << 11 << 1 << "";
  QByteArray seventy;
  for (int i = 1; i <= 70; ++i) seventy += "f" + QByteArray::number(i) + ",";
  QTest::newRow("field 63 of 70") << seventy << 1 << 63 << "f63";
  const QByteArray quoted = "a,\"b,c\",d\n";
  QTest::newRow("quoted: upper case, comma kept") << quoted << 1 << 2 << "B,C";
  QTest::newRow("quoted: the delimiter after it") << quoted << 1 << 3 << "";
  QTest::newRow("quoted: d moves to 4") << quoted << 1 << 4 << "d";
  QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBFx,y\n") << 1 << 1 << "x";
  QTest::newRow("CR LF") << QByteArray("a,b\r\nc,d\r\n") << 2 << 2 << "d";
  QTest::newRow("CR only") << QByteArray("a\rb\rc") << 3 << 1 << "c";
  QTest::newRow("empty line") << QByteArray("a\n\nb\n") << 3 << 1 << "b";
  QTest::newRow("tab") << QByteArray("a\tb\n") << 1 << 2 << "b";
  QTest::newRow("blank before comma") << QByteArray("12 ,5\n") << 1 << 1 << "12 ";
  QTest::newRow("8-bit text") << QByteArray("caf\xe9,1\n") << 1 << 1 << QString::fromLatin1("caf\xe9");
  QTest::newRow("binary") << QByteArray("\x01\xff\xfe,z\n", 7) << 1 << 2 << "z";
}

void CsvPreviewTest::cellsHoldTheFieldsTheReaderSees() {
  QFETCH(QByteArray, content);
  QFETCH(int, line);
  QFETCH(int, column);
  QFETCH(QString, shown);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("data.csv"));
  test::WriteFileBytes(path, content);
  TXLSform preview;
  preview.LoadFile(ui::ToStd(path));
  QCOMPARE(Cell(preview, line, column), shown);
}

void CsvPreviewTest::linesEndWhereTheReaderEndsThem() {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("ends.csv"));
  for (const QByteArray& content :
       {QByteArray("a\r\r\nb"), QByteArray("\xEF\xBB\xBF" "a\rb\r"), QByteArray("\r\n\n\r"),
        QByteArray("a,\"b\rc\"\nd\r\n"), QByteArray("x\n\r\ny\r\rz\n")}) {
    test::WriteFileBytes(path, content);
    std::vector<std::string> read;
    CsvLineReader reader(ui::ToStd(path));
    for (std::string line; reader.Next(line);) read.push_back(line);
    QVERIFY2(ReadPreviewLines(ui::ToStd(path)) == read, content.toPercentEncoding().constData());
  }
}

void CsvPreviewTest::gridShapeOnTheSampleFile() {
  TXLSform preview;
  preview.LoadFile(ui::ToStd(test::SampleCsv()));
  QCOMPARE(preview.windowTitle(), QStringLiteral("723170TYA.CSV"));
  QTableWidget* grid = preview.sgXLS;
  QCOMPARE(grid->rowCount(), 127);
  QCOMPARE(grid->columnCount(), 63);
  QCOMPARE(grid->verticalHeaderItem(126)->text(), QStringLiteral("127"));
  QCOMPARE(grid->horizontalHeaderItem(62)->text(), QStringLiteral("63"));
  QCOMPARE(grid->verticalHeader()->width(), kPreviewHeaderWidth);
  QCOMPARE(grid->columnWidth(10), kPreviewColumnWidth);
  QCOMPARE(grid->rowHeight(10), kPreviewRowHeight);
  // Line 1 holds a quoted station name: the reader's column numbers shift by one after it.
  QCOMPARE(Cell(preview, 1, 2), QStringLiteral("GREENSBORO PIEDMONT TRIAD INT"));
  QCOMPARE(Cell(preview, 1, 4), QStringLiteral("NC"));
  QCOMPARE(Cell(preview, 2, 32), QStringLiteral("Dry-bulb (C)"));
  QCOMPARE(Cell(preview, 127, 2), QStringLiteral("05:00"));  // line 127: 6 January, 5:00
}

void CsvPreviewTest::filesThatCannotBeShownAreRefused_data() {
  QTest::addColumn<QString>("kind");
  QTest::newRow("missing") << "missing";
  QTest::newRow("directory") << "directory";
  QTest::newRow("named pipe, which would block") << "pipe";
  QTest::newRow("endless device") << "device";
}

void CsvPreviewTest::filesThatCannotBeShownAreRefused() {
  QFETCH(QString, kind);
  QTemporaryDir dir;
  QString path = dir.filePath(QStringLiteral("x.csv"));
  if (kind == QStringLiteral("directory")) QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("x.csv")));
  if (kind == QStringLiteral("pipe")) QCOMPARE(::mkfifo(path.toLocal8Bit().constData(), 0600), 0);
  if (kind == QStringLiteral("device")) path = QStringLiteral("/dev/zero");
  TXLSform preview;
  try {
    preview.LoadFile(ui::ToStd(path));
    QFAIL("no error");
  } catch (const InputError& e) {
    QVERIFY2(QString::fromStdString(e.what()).contains(path), e.what());
  }
  QCOMPARE(preview.sgXLS->item(0, 0), nullptr);
}

void CsvPreviewTest::aHugeLineIsCutAndTheNextLineStillShown() {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("long.csv"));
  test::WriteFileBytes(path, QByteArray(3 << 20, 'x') + "\nnext,2\n");
  TXLSform preview;
  preview.LoadFile(ui::ToStd(path));
  QCOMPARE(Cell(preview, 1, 1).size(), qsizetype{1} << 20);
  QCOMPARE(Cell(preview, 2, 2), QStringLiteral("2"));
}

KESTRUM_GUI_TEST(CsvPreviewTest);
#include "csv_preview_test.moc"
