#include "gui_test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "format/outside_libraries.h"
#include "ui/qt_text.h"
#include "ui/window_placement.h"

namespace kestrum::test {

ProgramDir::ProgramDir() {
  const std::string dir = ui::ToStd(dir_.path());
  paths_ = ResolveProgramPaths(dir + "/kestrum", dir + "/config", dir + "/data");
}

QString ProgramDir::makeDir(const QString& name) const {
  QDir(dir_.path()).mkpath(name);
  return dir_.filePath(name);
}

void ProgramDir::writeSettings(const QStringList& lines) const {
  WriteFileBytes(ui::ToQ(paths_.settingsFile), (lines.join(QStringLiteral("\r\n")) +
                                                 QStringLiteral("\r\n")).toUtf8());
}

void ProgramDir::addHelpPage() const {
  WriteFileBytes(file(QStringLiteral("Tavorin-Zenfold.html")),
                 "<html><body id=\"CSVtop\"><p id=\"CSVfld\">help</p></body></html>");
}

ui::DialogHooks DialogRecorder::hooks() {
  ui::DialogHooks h;
  h.notice = [this](const QString& m) { notices.append(m); };
  h.error = [this](const QString& m) { errors.append(m); };
  h.question = [this](const QString& m) {
    questions.append(m);
    if (questionAnswers.empty()) return false;
    const bool answer = questionAnswers.front();
    questionAnswers.erase(questionAnswers.begin());
    return answer;
  };
  h.saveFailed = [this](const QString& m) {
    saveFailures.append(m);
    if (saveAnswers.empty()) return ui::SaveFailedChoice::Cancel;
    const ui::SaveFailedChoice answer = saveAnswers.front();
    saveAnswers.erase(saveAnswers.begin());
    return answer;
  };
  h.quit = [this](int status) { quitStatus = status; };
  h.windowsSeen = [this] { return windowsSeen; };
  return h;
}

OutsideLibraries* Libraries() {
  static std::unique_ptr<OutsideLibraries> libraries = OutsideLibraries::Load(KESTRUM_BIN_DIR);
  return libraries.get();
}

std::unique_ptr<ui::TForm1> MakeWindow(const ProgramDir& dir, DialogRecorder& recorder,
                                       const QStringList& arguments) {
  ui::WindowStart start;
  start.paths = dir.paths();
  start.arguments = arguments;
  start.libraries = Libraries();
  start.dialogs = recorder.hooks();
  return std::make_unique<ui::TForm1>(std::move(start));
}

QByteArray ReadFileBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

void WriteFileBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
}

QString SampleEpw() {
  return QStringLiteral(KESTRUM_SAMPLE_DATA "/USA_CO_Golden-NREL.724666_TMY3.epw");
}

QString SampleCsv() { return QStringLiteral(KESTRUM_SAMPLE_DATA "/723170TYA.CSV"); }

QString TenByTen(const ProgramDir& dir) {
  QByteArray text;
  for (int r = 1; r <= 10; ++r) {
    for (int c = 1; c <= 10; ++c) text += "r" + QByteArray::number(r) + "c" + QByteArray::number(c) + ",";
    text += "\r\n";
  }
  const QString path = dir.file(QStringLiteral("small.csv"));
  WriteFileBytes(path, text);
  return path;
}

QStringList Tmy3Settings(const QString& out) {
  return {ProgramDir::section(kCsvSection), "CSVFileName=" + SampleCsv(), "CSVBinDir=" + out,
          "CSVdesc=GREENSBORO", "CSVlat=36.1", "CSVlong=-79.95", "CSVtz=-5", "CSVelev=273",
          "DateInd=2", "MoistInd=0", "SolarInd=1", "FirstRow=3", "DBTunits=1", "MoistUnits=1",
          "WindUnits=2", "CSVgridCol1=32", "CSVgridCol2=35", "CSVgridCol3=5", "CSVgridCol4=8",
          "CSVgridCol5=47", "CSVgridCol6=44"};
}

void DoubleClickCell(TXLSform& preview, int line, int column) {
  QTableWidget* grid = preview.sgXLS;
  const QModelIndex index = grid->model()->index(line - 1, column - 1);
  grid->scrollTo(index);
  const QPoint at = grid->visualRect(index).center();
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

void SpecifyTmy3(TfrmFieldSpecs& window) {
  window.dateChoice->button(kDateNone)->click();
  window.moistureChoice->button(0)->click();  // dew point
  window.solarChoice->button(kSolarGlobalAndDirect)->click();
  window.cbDBTunits2->setCurrentIndex(1);    // deg C
  window.cbMoistUnits2->setCurrentIndex(1);  // deg C
  window.cbSolarUnits2->setCurrentIndex(0);  // W/m2
  window.cbVelUnits2->setCurrentIndex(2);    // m/s
  // DBTemp, DewPtT, SolarHor, SolarDN, WindSpd, WindDir: the target moves on by itself.
  window.SelectSlot(0);
  for (int column : {32, 35, 5, 8, 47, 44}) DoubleClickCell(*window.preview(), 2, column);
  window.btnFirstRow->click();
  DoubleClickCell(*window.preview(), 3, 1);
}

QString BrokenEpw(const QString& dir, int lineNumber) {
  QList<QByteArray> lines = ReadFileBytes(SampleEpw()).split('\n');
  QList<QByteArray> fields = lines[lineNumber - 1].split(',');
  fields[6] = "x1y";  // the dry bulb
  lines[lineNumber - 1] = fields.join(',');
  const QString path = dir + QStringLiteral("/Broken.epw");
  WriteFileBytes(path, lines.join('\n'));
  return path;
}

WorkAreaScope::WorkAreaScope(const QRect& area) { ui::SetWorkAreaForTests(area); }

WorkAreaScope::~WorkAreaScope() { ui::SetWorkAreaForTests(std::nullopt); }

namespace {
std::vector<MakeTest>& Registry(bool screenTests) {
  static std::vector<MakeTest> tests[2];
  return tests[screenTests ? 1 : 0];
}
}  // namespace

void RegisterGuiTest(MakeTest make, bool screenTest) {
  Registry(screenTest).push_back(std::move(make));
}

const std::vector<MakeTest>& GuiTests() { return Registry(false); }

const std::vector<MakeTest>& ScreenTests() { return Registry(true); }

}  // namespace kestrum::test
