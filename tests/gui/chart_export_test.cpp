// kestrum --export-charts on a fresh conversion of the sample: the nine pictures (each the
// chart alone, titled with the run and its data), the sector table against the final file,
// the default interim directory, and the failures.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QtTest>

#include "chart/chart_picture.h"
#include "config/settings.h"
#include "gui_test_support.h"
#include "review_test_support.h"

using namespace kestrum;

class ChartExportTest : public QObject {
  Q_OBJECT

 private slots:
  void writesTheNinePicturesAndTheSectorTable();
  void takesTheInterimDirectoryOfTheSettingsFile();
  void failuresEndWithOneMessage();
};

namespace {

struct Result {
  int status = -1;
  QString out, err;
};

// Runs program (the built kestrum by default) without a display or a chosen platform.
Result Run(const QStringList& arguments, const QString& program = QString()) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove(QStringLiteral("QT_QPA_PLATFORM"));
  env.remove(QStringLiteral("DISPLAY"));
  env.remove(QStringLiteral("WAYLAND_DISPLAY"));
  p.setProcessEnvironment(env);
  p.start(program.isEmpty() ? QStringLiteral(KESTRUM_BIN_DIR "/kestrum") : program, arguments);
  p.waitForFinished(60000);
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
          QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

struct Picture {
  const char* name;
  const char* title;  // the picture's title text
};
const Picture kPictures[] = {
    {"overview-temperature-final",
     "Ambient Drybulb and Dewpoint Temperatures - Golden: final data"},
    {"overview-solar-final",
     "Global Horizontal and Direct Normal Solar Radiation - Golden: final data"},
    {"overview-wind-final", "Wind Speed and Direction - Golden: final data"},
    {"overview-temperature-original",
     "Ambient Drybulb and Dewpoint Temperatures - Golden: original data"},
    {"overview-solar-original", "Global Horizontal Solar Radiation - Golden: original data"},
    {"overview-wind-original", "Wind Speed and Direction - Golden: original data"},
    {"detail-drybulb-comparison",
     "Comparison of Dry Bulb Temperature - Golden: original and final data"},
    {"detail-solar-comparison",
     "Comparison of Horizontal Solar Radiation - Golden: original and final data"},
    {"wind-rose", "Wind Direction Profile: Golden (final data)"}};

}  // namespace

void ChartExportTest::writesTheNinePicturesAndTheSectorTable() {
  const test::SampleRun& run = test::SampleReviewRun();
  test::ProgramDir dir;
  const QString to = dir.file(QStringLiteral("charts"));  // made when missing
  const Result r = Run({QStringLiteral("--export-charts"), run.base, QStringLiteral("--interim"),
                        run.interimDir, QStringLiteral("--to"), to});
  QVERIFY2(r.status == 0, qPrintable(r.err));
  QCOMPARE(r.err, QString());
  QSize overview;
  for (const Picture& p : kPictures) {
    const QString path = to + QStringLiteral("/Golden-") + QLatin1String(p.name) + QStringLiteral(".png");
    const QImage picture(path);
    QVERIFY2(!picture.isNull(), qPrintable(path));
    QVERIFY2(r.out.contains(path), qPrintable(r.out));
    // The chart alone, titled with what it shows, the run and its data.
    QCOMPARE(picture.text(QString::fromLatin1(chart::kPictureTitleKey)), QString::fromLatin1(p.title));
    if (overview.isEmpty()) overview = picture.size();
    if (QByteArray(p.name).startsWith("overview")) QCOMPARE(picture.size(), overview);
  }
  QCOMPARE(QImage(to + QStringLiteral("/Golden-wind-rose.png")).width(), 454);
  QVERIFY(QImage(to + QStringLiteral("/Golden-detail-solar-comparison.png")).width() > 700);

  // The sector table agrees with the final file's wind directions (whole degrees: d + 11.25
  // rounds to d + 11).
  int expected[16] = {};
  for (double d : test::ColumnOf(run.finalFile(), 12)) {
    if (d >= 0 && d <= 360) ++expected[(static_cast<int>(d) + 11) * 10 / 225 % 16];
  }
  const QList<QByteArray> lines =
      test::ReadFileBytes(to + QStringLiteral("/Golden-wind-sectors.csv")).split('\n');
  QCOMPARE(lines.size(), 18);  // header, sixteen sectors, nothing after the last line end
  QCOMPARE(lines[0], QByteArray("Sector,Hours,Percent\r"));
  const char* names[16] = {"North", "NNE", "NE", "ENE", "East", "ESE", "SE", "SSE",
                           "South", "SSW", "SW", "WSW", "West", "WNW", "NW", "NNW"};
  for (int k = 0; k < 16; ++k) {
    const QList<QByteArray> f = lines[k + 1].trimmed().split(',');
    QCOMPARE(f.value(0), QByteArray(names[k]));
    QCOMPARE(f.value(1).toInt(), expected[k]);
    QCOMPARE(f.value(2), QString::number(expected[k] / 8760.0 * 100.0, 'f', 2).toLatin1());
  }
}

void ChartExportTest::takesTheInterimDirectoryOfTheSettingsFile() {
  // A copy of the program beside its own settings file.
  test::ProgramDir dir;
  const QString program = dir.file(QStringLiteral("kestrum"));
  QVERIFY(QFile::copy(QStringLiteral(KESTRUM_BIN_DIR "/kestrum"), program));
  dir.writeSettings({test::ProgramDir::section(kSetUpSection),
                     QStringLiteral("InterimPath=") + test::SampleReviewRun().interimDir});
  const QString to = dir.makeDir(QStringLiteral("charts"));
  const Result r = Run({QStringLiteral("--export-charts"), QStringLiteral("Golden"),
                        QStringLiteral("--to"), to}, program);
  QVERIFY2(r.status == 0, qPrintable(r.err));
  QVERIFY(QFile::exists(to + QStringLiteral("/Golden-wind-rose.png")));
}

void ChartExportTest::failuresEndWithOneMessage() {
  const test::SampleRun& run = test::SampleReviewRun();
  test::ProgramDir dir;
  Result r = Run({QStringLiteral("--export-charts"), QStringLiteral("Nowhere"),
                  QStringLiteral("--interim"), run.interimDir, QStringLiteral("--to"), dir.path()});
  QCOMPARE(r.status, 1);
  QCOMPARE(r.err.count(QLatin1Char('\n')), 1);
  QVERIFY2(r.err.startsWith(QStringLiteral("kestrum: ")) && r.err.contains(QStringLiteral("Nowhere-orig.csv")),
           qPrintable(r.err));
  QVERIFY(QDir(dir.path()).entryList(QStringList(QStringLiteral("*.png"))).isEmpty());

  const QString file = dir.file(QStringLiteral("plain"));
  test::WriteFileBytes(file, "x");
  r = Run({QStringLiteral("--export-charts"), run.base, QStringLiteral("--interim"), run.interimDir,
           QStringLiteral("--to"), file + QStringLiteral("/below")});
  QCOMPARE(r.status, 1);
  QCOMPARE(r.err.count(QLatin1Char('\n')), 1);
  QVERIFY2(r.err.contains(QStringLiteral("Cannot write")), qPrintable(r.err));

  r = Run({QStringLiteral("--export-charts")});
  QCOMPARE(r.status, 1);
}

KESTRUM_GUI_TEST(ChartExportTest);
#include "chart_export_test.moc"
